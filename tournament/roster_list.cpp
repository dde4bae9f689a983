// The roster list section.
#include "tournament/roster_list.h"

#include "common/checked.h"
#include "common/sjis_literal.h"
#include "common/text.h"
#include "roster/chara.h"
#include "tournament/output_files.h"

namespace pelmora {

std::int32_t NameColumnWidth = 0;

void WriteRosterList() {
  ResultFile << "キャラクターリスト："_sj;
  ResultFile.EndLine();
  NameColumnWidth = 0;
  for (std::int32_t k = 0; k < RosterCount; ++k) {
    std::int32_t length = ByteLength(RosterAt(k).Name);
    if (length > NameColumnWidth) NameColumnWidth = length;
  }
  for (std::int32_t k = 0; k < RosterCount; ++k) {
    ResultFile.PadLeft2(CheckedAdd(k, 1), '0') << " ";
    WriteCharaSummary(ResultFile, RosterAt(k), NameColumnWidth);
    ResultFile.EndLine();
  }
  ResultFile.EndLine();
}

}  // namespace pelmora
