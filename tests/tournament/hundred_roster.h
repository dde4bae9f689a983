// A roster file at the roster's limit of a hundred characters, built the same way every time.
#pragma once

#include <string>

#include "bench/roster_generator.h"

namespace pelmora::testing {

// The Shift_JIS bytes of a roster file of 100 lines with CR LF line ends: every stamina from 0 to
// 10, every skill, stamina marks before, after and between the skill letters, and names of
// full-width, half-width and mixed text, the longest of them on the last line.
inline std::string HundredCharacterRosterFile() { return GenerateRosterFile(100); }

}  // namespace pelmora::testing
