// The roster list section.
#include "tournament/roster_list.h"

#include "common/checked.h"
#include "common/sjis_literal.h"
#include "common/text.h"
#include "roster/chara.h"

namespace pelmora {

std::int32_t NameColumnWidth = 0;

void WriteRosterList(TLineWriter& out) {
  out << "キャラクターリスト："_sj;
  out.EndLine();
  NameColumnWidth = 0;
  for (std::int32_t k = 0; k < RosterCount; ++k) {
    std::int32_t length = ByteLength(RosterAt(k).Name);
    if (length > NameColumnWidth) NameColumnWidth = length;
  }
  for (std::int32_t k = 0; k < RosterCount; ++k) {
    out << PadLeft2Zero(CheckedAdd(k, 1)) << " ";
    CharaSummary(out, RosterAt(k), NameColumnWidth);
    out.EndLine();
  }
  out.EndLine();
}

}  // namespace pelmora
