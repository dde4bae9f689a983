// The last section of the result report: the characters by wins.
#pragma once

namespace pelmora {

// Writes "勝数順：" and one line per character in descending order of wins.
void WriteRanking();

}  // namespace pelmora
