// The roster loader: reads キャラクター.txt and turns each non-empty line into the next record.
#pragma once

#include <cstdint>
#include <string_view>

#include "common/sjis_literal.h"
#include "common/text.h"
#include "roster/chara.h"

namespace pelmora {

// The roster file, in the working directory. Its name is UTF-8 for the file system.
inline constexpr std::u8string_view kRosterFileName = u8"キャラクター.txt";

// What the loader shows when the roster file cannot be read.
inline constexpr std::string_view kRosterReadFailedMessage = "キャラクター.txt読み込み失敗"_sj;

// The number of leading characters of a line that hold stamina marks and skill letters.
inline constexpr std::int32_t SkillAreaWidth = 10;

// Characters of a name that are kept; the rest of a longer name is dropped.
inline constexpr std::int32_t kMaxNameLength = 999;

// The encoding the roster file was saved in, as the last LoadRoster found it; a run writes its
// files in the same encoding.
extern TTextEncoding RosterEncoding;

// Loads the roster file of the working directory, saved as Shift_JIS or as UTF-8. False after
// the failure has been shown.
bool LoadRoster();

// Clears the record and fills it from one non-empty line. False after its own message.
bool ParseCharaLine(TChara& chara, std::string_view line);

// Fills a slot from a one-character letter; false when it is no skill letter.
bool SkillFromLetter(TSkill& slot, std::string_view letter);

}  // namespace pelmora
