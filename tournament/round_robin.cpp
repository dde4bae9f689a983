// The round robin and the win/loss table section.
#include "tournament/round_robin.h"

#include "battle/match.h"
#include "common/checked.h"
#include "common/sjis_literal.h"
#include "common/text.h"
#include "roster/chara.h"
#include "tournament/output_files.h"

namespace pelmora {

void PlayRoundRobin() {
  for (std::int32_t i = 0; i < RosterCount; ++i) {
    RosterAt(i).Result(i) = "－"_sj;
    for (std::int32_t j = i + 1; j < RosterCount; ++j) PlayMatch(BattleLogFile, i, j, RosterAt(i), RosterAt(j));
  }
}

void WriteResultTable() {
  ResultFile << "勝敗表："_sj;
  ResultFile.EndLine();
  ResultFile << "  ";
  for (std::int32_t k = 0; k < RosterCount; ++k) ResultFile.Spaces(1).PadLeft2(CheckedAdd(k, 1), '0');
  ResultFile << " 勝"_sj;
  ResultFile.EndLine();
  for (std::int32_t i = 0; i < RosterCount; ++i) {
    const TChara& chara = RosterAt(i);
    ResultFile.PadLeft2(CheckedAdd(i, 1), '0');
    for (std::int32_t j = 0; j < RosterCount; ++j) ResultFile << " " << chara.Result(j);
    ResultFile.Spaces(1).PadLeft2(chara.Wins, '0');
    ResultFile.EndLine();
  }
  ResultFile.EndLine();
}

}  // namespace pelmora
