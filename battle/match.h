// One whole match: header, up to ten turns, the decision and its bookkeeping.
#pragma once

#include <cstdint>

#include "battle/match_context.h"
#include "common/line_writer.h"
#include "roster/chara.h"

namespace pelmora {

inline constexpr std::int32_t kTurnLimit = 10;

// Plays roster positions i (side A) and j (side B) against each other, narrating into log,
// records the result in both records and leaves both at full health.
void PlayMatch(TLineWriter& log, std::int32_t i, std::int32_t j, TChara& a, TChara& b);

// The dice roll-off on equal HP; true when A wins it.
bool TieBreakRoll(TMatchContext& match, const TChara& a, const TChara& b);

}  // namespace pelmora
