// One turn of a match: both summaries, the initiative roll, both sides' skills, the reset.
#pragma once

#include "battle/match_context.h"
#include "roster/chara.h"

namespace pelmora {

// A is the side named first in the match header; it is shown first and rolls first.
void PlayTurn(TMatchContext& match, TChara& a, TChara& b);

// Lets self's ready skills act in slot order, pass after pass, until a pass makes none act.
void ActSkills(TMatchContext& match, TChara& self, TChara& opponent);

}  // namespace pelmora
