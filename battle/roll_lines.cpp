// The side-by-side lines of a dice roll.
#include "battle/roll_lines.h"

#include "common/sjis_literal.h"
#include "common/text.h"

namespace pelmora {

void StartRollLines(TMatchContext& match, const TChara& a, const TChara& b) {
  match.LineA = a.Name;
  match.LineB = b.Name;
  EqualizeLengths(match.LineA, match.LineB);
  match.LineA += "："_sj;
  match.LineB += "："_sj;
}

void SeparateRepeatedRoll(TMatchContext& match) {
  match.LineA += "、"_sj;
  match.LineB += "、"_sj;
  EqualizeLengths(match.LineA, match.LineB);
}

void WriteRollLines(TMatchContext& match) {
  match.Log << match.LineA;
  match.Log.EndLine();
  match.Log << match.LineB;
  match.Log.EndLine();
}

}  // namespace pelmora
