// The last section of the result report: the characters by wins.
#pragma once

#include "common/line_writer.h"

namespace pelmora {

// Writes "勝数順：" and one line per character in descending order of wins.
void WriteRanking(TLineWriter& out);

}  // namespace pelmora
