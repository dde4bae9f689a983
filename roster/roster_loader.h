// The roster loader: reads キャラクター.txt and turns each non-empty line into the next record.
#pragma once

#include <cstdint>
#include <string_view>

#include "roster/chara.h"

namespace pelmora {

// The number of leading characters of a line that hold stamina marks and skill letters.
inline constexpr std::int32_t SkillAreaWidth = 10;

// Characters of a name that are kept; the rest of a longer name is dropped.
inline constexpr std::int32_t kMaxNameLength = 999;

// Loads the roster file of the working directory, saved as Shift_JIS or as UTF-8. False after
// the failure has been shown.
bool LoadRoster();

// Clears the record and fills it from one non-empty line. False after its own message.
bool ParseCharaLine(TChara& chara, std::string_view line);

// Fills a slot from a one-character letter; false when it is no skill letter.
bool SkillFromLetter(TSkill& slot, std::string_view letter);

}  // namespace pelmora
