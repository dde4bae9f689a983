// Identifiers of the program's resources, shared by the window code and the resource script.
#pragma once

// The program's icon: the first icon group, which Explorer, the Start menu and the title bar show.
#define PELMORA_PROGRAM_ICON 1
