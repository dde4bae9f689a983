// The turn and the skill dispatcher.
#include "battle/turn.h"

#include <algorithm>
#include <array>
#include <string>
#include <string_view>

#include "battle/roll_lines.h"
#include "battle/skills.h"
#include "common/checked.h"
#include "common/random.h"
#include "common/sjis_literal.h"
#include "common/text.h"

namespace pelmora {

namespace {

// The roll's text is put together in place and appended to its line at once: every roll of the
// round robin goes through here.
void AppendInitiativeRoll(std::string& line, std::int32_t stamina, std::int32_t die, std::int32_t total) {
  constexpr std::string_view kStamina = "体力"_sj;
  constexpr std::string_view kDie = "＋ダイス"_sj;
  constexpr std::string_view kEquals = "＝"_sj;
  const TNumberText numbers[] = {Decimal(stamina), Decimal(die), Decimal(total)};
  std::array<char, kStamina.size() + kDie.size() + kEquals.size() + 3 * sizeof(TNumberText::Bytes)> text;
  char* end = text.data();
  auto put = [&end](std::string_view piece) { end = std::copy(piece.begin(), piece.end(), end); };
  // A number's bytes are copied whole, which the next piece overwrites past its end.
  auto putNumber = [&end](const TNumberText& number) {
    std::copy(number.Bytes.begin(), number.Bytes.end(), end);
    end += number.Size;
  };
  put(kStamina);
  putNumber(numbers[0]);
  put(kDie);
  putNumber(numbers[1]);
  put(kEquals);
  putNumber(numbers[2]);
  line.append(text.data(), static_cast<std::size_t>(end - text.data()));
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
