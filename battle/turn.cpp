// The turn and the skill dispatcher.
#include "battle/turn.h"

#include <string>

#include "battle/roll_lines.h"
#include "battle/skills.h"
#include "common/checked.h"
#include "common/random.h"
#include "common/sjis_literal.h"
#include "common/text.h"

namespace pelmora {

namespace {

void AppendInitiativeRoll(std::string& line, std::int32_t stamina, std::int32_t die, std::int32_t total) {
  line += "体力"_sj;
  line += Decimal(stamina);
  line += "＋ダイス"_sj;
  line += Decimal(die);
  line += "＝"_sj;
  line += Decimal(total);
}

// Rolls A's die, then B's, until the totals differ; every roll stays on the lines. Returns
// true when A acts first.
bool RollInitiative(TMatchContext& match, const TChara& a, const TChara& b) {
  StartRollLines(match, a, b);
  while (true) {
    std::int32_t dieA = RollDie();
    std::int32_t dieB = RollDie();
    std::int32_t totalA = CheckedAdd(a.Stamina, dieA);
    std::int32_t totalB = CheckedAdd(b.Stamina, dieB);
    AppendInitiativeRoll(match.LineA, a.Stamina, dieA, totalA);
    AppendInitiativeRoll(match.LineB, b.Stamina, dieB, totalB);
    if (totalA != totalB) {
      WriteRollLines(match);
      return totalA > totalB;
    }
    SeparateRepeatedRoll(match);
  }
}

// Acts with one ready slot; false when the slot only reacts or its time has not come.
bool ActSlot(TMatchContext& match, TChara& self, TChara& opponent, TSkill& slot) {
  if (slot.Name == kBlastSkill) {
    ActBlast(match, self, opponent, slot);
  } else if (slot.Name == kSlashSkill) {
    ActSlash(match, self, opponent, slot);
  } else if (slot.Name == kSwordSkill) {
    ActSword(match, self, opponent, slot);
  } else if (slot.Name == kAirPressureSkill) {
    ActAirPressure(match, self, opponent, slot);
  } else if (slot.Name == kParadiseSkill && CheckedMul(self.HP, 2) < self.MaxHP) {
    ActParadise(match, self, slot);
  } else {
    return false;
  }
  return true;
}

}  // namespace

void PlayTurn(TMatchContext& match, TChara& a, TChara& b) {
  std::int32_t width = LongerLength(a.Name, b.Name);
  CharaSummary(match.Log, a, width);
  match.Log.EndLine();
  CharaSummary(match.Log, b, width);
  match.Log.EndLine();
  match.Log.EndLine();

  bool aFirst = RollInitiative(match, a, b);
  TChara& first = aFirst ? a : b;
  TChara& second = aFirst ? b : a;
  match.Log << "⇒"_sj << first.Name << "の先攻"_sj;
  match.Log.EndLine();
  match.Log.EndLine();

  ActSkills(match, first, second);
  if (!match.MatchOver) ActSkills(match, second, first);
  ResetForTurn(a);
  ResetForTurn(b);
}

void ActSkills(TMatchContext& match, TChara& self, TChara& opponent) {
  // Every skill that acts uses up its slot, so a later pass can only find a 楽園 whose owner
  // has meanwhile fallen below half HP.
  bool acted = true;
  while (acted) {
    acted = false;
    for (std::int32_t index = 0; index < self.SkillCount; ++index) {
      TSkill& slot = self.Skill(index);
      if (!slot.Ready()) continue;
      if (ActSlot(match, self, opponent, slot)) acted = true;
      if (match.MatchOver) return;
    }
  }
}

}  // namespace pelmora
