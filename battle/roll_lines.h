// The two lines of a dice roll, side A's above side B's: the initiative roll of a turn and the
// roll-off of a match both show every roll until the dice decide.
#pragma once

#include "battle/match_context.h"
#include "roster/chara.h"

namespace pelmora {

// Starts both lines with the names, the shorter padded to the longer, and "：".
void StartRollLines(TMatchContext& match, const TChara& a, const TChara& b);

// Sets off a repeated roll with "、"; after rolls of different digit counts the shorter line is
// padded after its "、", so the next roll starts in the same column on both lines.
void SeparateRepeatedRoll(TMatchContext& match);

// Writes line A, then line B.
void WriteRollLines(TMatchContext& match);

}  // namespace pelmora
