// The roster loader held against a model of the roster file worked out from the bytes alone.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace pelmora::fuzz {

// Characters of a roster that a whole run is asked to play: a round robin grows with the square
// of the roster, and a few characters already reach every part of a match.
inline constexpr int kMaxRunRoster = 12;

// Writes the bytes as the roster file of the working directory, loads it and checks what
// LoadRoster and ReadLinesFile made of it, the message boxes included; a broken promise aborts.
// Returns whether the roster loaded.
bool LoadAndCheckRoster(std::string_view bytes);

// UTF-8 text in Shift_JIS as the system's converter converts it, or nothing when it cannot
// convert all of it.
std::optional<std::string> Utf8ToCp932ByModel(std::string_view utf8);

}  // namespace pelmora::fuzz
