// The round robin and the win/loss table.
#pragma once

#include "common/line_writer.h"

namespace pelmora {

// Plays every pair of roster positions i < j once, in increasing order of i, then j, with i
// as side A, narrating into the battle log.
void PlayRoundRobin(TLineWriter& log);

// Writes the "勝敗表：" section: every character's marks against every other, and its wins.
void WriteResultTable(TLineWriter& out);

}  // namespace pelmora
