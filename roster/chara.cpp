// The roster table and the operations that clear, reset and summarise a character.
#include "roster/chara.h"

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

std::string CharaSummary(const TChara& chara, std::int32_t width) {
  std::string summary;
  AppendCharaSummary(summary, chara, width);
  return summary;
}

void AppendCharaSummary(std::string& out, const TChara& chara, std::int32_t width) {
  std::size_t nameStart = out.size();
  out += chara.Name;
  if (width > ByteLength(chara.Name)) out.append(nameStart + static_cast<std::size_t>(width) - out.size(), ' ');
  out += "：HP"_sj;
  out += PadLeft2Space(chara.HP);
  out += "／"_sj;
  out += PadLeft2Space(chara.MaxHP);
  for (std::int32_t slot = 0; slot < chara.SkillCount; ++slot) {
    const TSkill& skill = chara.Skill(slot);
    if (skill.Spent) continue;
    out += "、"_sj;
    out += skill.Name;
  }
}

}  // namespace pelmora
