// Registering the window classes of this program's own windows.
#pragma once

#include <windows.h>

namespace pelmora {

// Registers a class of the name, drawn by the procedure over the background brush (none: the
// procedure paints it), with the arrow cursor; true when it is registered, now or before.
bool RegisterWindowClass(HINSTANCE instance, const wchar_t* name, WNDPROC windowProc, HBRUSH background);

}  // namespace pelmora
