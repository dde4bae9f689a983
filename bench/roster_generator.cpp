// Generated rosters: names from a few stems, skills walking round the skill table, every
// stamina from 0 to 10, and the longest name on the last line.
#include "bench/roster_generator.h"

#include <array>
#include <string_view>

#include "common/sjis_literal.h"
#include "roster/chara.h"
#include "roster/roster_loader.h"

namespace pelmora {

namespace {

constexpr std::int32_t kStaminaKinds = 11;  // 0 to 10 marks

// "表" and "ソ" end in the byte 0x5C; "ﾊﾙｶ" and "ｱﾙﾄ" are single-byte katakana.
constexpr std::array<std::string_view, 12> kNameStems = {
    "格闘家"_sj, "剣士"_sj,     "魔法使い"_sj, "Ken"_sj, "ﾊﾙｶ"_sj,     "表ソ"_sj,
    "Rx-7"_sj,   "竜Dragon"_sj, "ミオ"_sj,     "Z"_sj,   "騎士ｱﾙﾄ"_sj, "黒猫Kuro"_sj,
};
constexpr std::string_view kLongestName = "ながいながいなまえのキャラクター"_sj;

std::string NameAt(std::int32_t k, std::int32_t count) {
  if (k == count - 1) return std::string(kLongestName);
  std::string name(kNameStems[static_cast<std::size_t>(k) % kNameStems.size()]);
  if (k >= static_cast<std::int32_t>(kNameStems.size())) name += std::to_string(k / kNameStems.size() + 1);
  return name;
}

// Ten positions of marks and letters; where the marks stand varies from line to line.
std::string SkillAreaAt(std::int32_t k) {
  std::int32_t stamina = k % kStaminaKinds;
  std::string marks;
  for (std::int32_t n = 0; n < stamina; ++n) marks += "■"_sj;
  std::string letters;
  for (std::int32_t s = 0; s < SkillAreaWidth - stamina; ++s) {
    letters += kSkillTable[static_cast<std::size_t>(k + 3 * s) % kSkillTable.size()].Letter;
  }
  switch (k % 3) {
    case 0:
      return marks + letters;
    case 1:
      return letters + marks;
    default: {
      std::size_t half = marks.size() / 4 * 2;  // whole marks of two bytes each
      return marks.substr(0, half) + letters + marks.substr(half);
    }
  }
}

}  // namespace

std::string GenerateRosterFile(std::int32_t count) {
  std::string file;
  for (std::int32_t k = 0; k < count; ++k) {
    file += SkillAreaAt(k);
    file += "："_sj;
    file += NameAt(k, count);
    file += "\r\n";
  }
  return file;
}

}  // namespace pelmora
