// Characters for tests, made from roster lines exactly as the loader makes them.
#pragma once

#include <initializer_list>
#include <string_view>

#include "roster/chara.h"

namespace pelmora::testing {

// Parses one Shift_JIS roster line; a line the parser rejects fails the test.
TChara MakeChara(std::string_view line);

// Fills Roster and RosterCount from Shift_JIS roster lines.
void SetRoster(std::initializer_list<std::string_view> lines);

// Fills Roster and RosterCount from a Shift_JIS roster text of LF-ended lines.
void SetRoster(std::string_view roster);

}  // namespace pelmora::testing
