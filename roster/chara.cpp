// The roster table and the operations that clear, reset and summarise a character.
#include "roster/chara.h"

#include <algorithm>
#include <array>
#include <string_view>

#include "common/checked.h"
#include "common/text.h"

namespace pelmora {

std::array<TChara, kRosterCapacity> Roster;
std::int32_t RosterCount = 0;

TChara& RosterAt(std::int32_t position) { return Roster.at(static_cast<std::size_t>(position)); }

void ClearChara(TChara& chara) {
  chara.Name.clear();
  chara.Stamina = 0;
  chara.HP = 0;
  chara.MaxHP = 0;
  chara.SkillCount = 0;
  chara.Wins = 0;
  chara.Losses = 0;
  for (std::string& result : chara.Results) result.clear();
}

void ResetForMatch(TChara& chara) {
  chara.HP = chara.MaxHP;
  for (std::int32_t slot = 0; slot < chara.SkillCount; ++slot) {
    chara.Skill(slot).UsedThisTurn = false;
    chara.Skill(slot).Spent = false;
  }
}

void ResetForTurn(TChara& chara) {
  for (std::int32_t slot = 0; slot < chara.SkillCount; ++slot) chara.Skill(slot).UsedThisTurn = false;
}

void CharaSummary(TLineWriter& out, const TChara& chara, std::int32_t width) {
  // The name is padded on its own: the line may hold a roster number in front of it.
  std::int32_t nameStart = out.LineLength();
  out << chara.Name;
  out.PadRight(CheckedAdd(nameStart, width));
  out << "：HP"_sj << PadLeft2Space(chara.HP) << "／"_sj << PadLeft2Space(chara.MaxHP);
  AppendReadySkills(out, chara);
}

// The names of the slots that are not spent, each behind "、". Every turn writes two summaries, so
// names of the skill table's length are put together in place and appended at once.
void AppendReadySkills(TLineWriter& out, const TChara& chara) {
  constexpr std::string_view kSeparator = "、"_sj;
  constexpr std::size_t kEntry = kSeparator.size() + kSkillNameLength;
  std::array<char, kSkillSlotCount * kEntry> names;
  std::size_t size = 0;
  for (std::int32_t slot = 0; slot < chara.SkillCount; ++slot) {
    const TSkill& skill = chara.Skill(slot);
    if (skill.Spent) continue;
    if (skill.Name.size() != kSkillNameLength) {
      out << std::string_view(names.data(), size) << kSeparator << skill.Name;
      size = 0;
      continue;
    }
    std::copy(kSeparator.begin(), kSeparator.end(), names.data() + size);
    std::copy_n(skill.Name.data(), kSkillNameLength, names.data() + size + kSeparator.size());
    size += kEntry;
  }
  out << std::string_view(names.data(), size);
}

}  // namespace pelmora
