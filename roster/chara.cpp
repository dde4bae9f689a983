// The roster table and the operations that clear, reset and summarise a character.
#include "roster/chara.h"

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
  for (std::int32_t slot = 0; slot < chara.SkillCount; ++slot) {
    const TSkill& skill = chara.Skill(slot);
    if (!skill.Spent) out << "、"_sj << skill.Name;
  }
}

}  // namespace pelmora
