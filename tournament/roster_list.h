// The first section of the result report: every character's summary, aligned on the longest name.
#pragma once

#include <cstdint>

#include "common/line_writer.h"

namespace pelmora {

// The longest name's byte length in this run's roster; the ranking reuses it.
extern std::int32_t NameColumnWidth;

// Writes "キャラクターリスト：" and one summary line per character; sets NameColumnWidth.
void WriteRosterList(TLineWriter& out);

}  // namespace pelmora
