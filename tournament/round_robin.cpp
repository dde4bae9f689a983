// The round robin and the win/loss table section.
#include "tournament/round_robin.h"

#include "battle/match.h"
#include "common/checked.h"
#include "common/sjis_literal.h"
#include "common/text.h"
#include "roster/chara.h"

namespace pelmora {

void PlayRoundRobin(TLineWriter& log) {
  for (std::int32_t i = 0; i < RosterCount; ++i) {
    RosterAt(i).Result(i) = "－"_sj;
    for (std::int32_t j = i + 1; j < RosterCount; ++j) PlayMatch(log, i, j, RosterAt(i), RosterAt(j));
  }
}

void WriteResultTable(TLineWriter& out) {
  out << "勝敗表："_sj;
  out.EndLine();
  out << "  ";
  for (std::int32_t k = 0; k < RosterCount; ++k) out << " " << PadLeft2Zero(CheckedAdd(k, 1));
  out << " 勝"_sj;
  out.EndLine();
  for (std::int32_t i = 0; i < RosterCount; ++i) {
    const TChara& chara = RosterAt(i);
    out << PadLeft2Zero(CheckedAdd(i, 1));
    for (std::int32_t j = 0; j < RosterCount; ++j) out << " " << chara.Result(j);
    out << " " << PadLeft2Zero(chara.Wins);
    out.EndLine();
  }
  out.EndLine();
}

}  // namespace pelmora
