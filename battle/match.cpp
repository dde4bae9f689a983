// The match: its layout in the battle log, its decision and the result marks.
#include "battle/match.h"

#include <string>
#include <string_view>

#include "battle/roll_lines.h"
#include "battle/turn.h"
#include "common/checked.h"
#include "common/random.h"
#include "common/sjis_literal.h"
#include "common/text.h"

namespace pelmora {

namespace {

constexpr std::string_view kMatchRule = "============================================================";  // 60
constexpr std::string_view kSectionRule = "==============================";  // 30
constexpr std::string_view kWinMark = "○"_sj;
constexpr std::string_view kLossMark = "×"_sj;

void WriteHeader(TLineWriter& log, std::string_view title) {
  log << kSectionRule;
  log.EndLine();
  log << title;
  log.EndLine();
  log << kSectionRule;
  log.EndLine();
}

void WriteTurnHeader(TLineWriter& log, std::int32_t turn) {
  log << kSectionRule;
  log.EndLine();
  log << "Turn " << turn;
  log.EndLine();
  log << kSectionRule;
  log.EndLine();
}

void RecordResult(TChara& winner, std::int32_t winnerPosition, TChara& loser, std::int32_t loserPosition) {
  winner.Result(loserPosition) = kWinMark;
  CheckedIncrement(winner.Wins);
  loser.Result(winnerPosition) = kLossMark;
  CheckedIncrement(loser.Losses);
}

}  // namespace

void PlayMatch(TLineWriter& log, std::int32_t i, std::int32_t j, TChara& a, TChara& b) {
  log << kMatchRule;
  log.EndLine();
  log << PadLeft2Zero(CheckedAdd(i, 1)) << " " << a.Name << " vs ";
  log << PadLeft2Zero(CheckedAdd(j, 1)) << " " << b.Name;
  log.EndLine();
  log << kMatchRule;
  log.EndLine();

  TMatchContext match{log};
  for (std::int32_t turn = 1; turn <= kTurnLimit; ++turn) {
    WriteTurnHeader(log, turn);
    match.MatchOver = false;
    PlayTurn(match, a, b);
    if (match.MatchOver) break;
  }

  WriteHeader(log, "結果"_sj);
  // Only the two HP values decide, however the turns ended.
  bool aWins = a.HP == b.HP ? TieBreakRoll(match, a, b) : a.HP > b.HP;
  TChara& winner = aWins ? a : b;
  log << winner.Name << "の勝利"_sj;
  log.EndLine();
  if (aWins) {
    RecordResult(a, i, b, j);
  } else {
    RecordResult(b, j, a, i);
  }
  ResetForMatch(a);
  ResetForMatch(b);
  log.EndLine();
}

bool TieBreakRoll(TMatchContext& match, const TChara& a, const TChara& b) {
  match.Log << "HPが同値なのでダイスロール"_sj;
  match.Log.EndLine();
  StartRollLines(match, a, b);
  while (true) {
    std::int32_t dieA = RollDie();
    std::int32_t dieB = RollDie();
    match.LineA += "ダイス"_sj;
    match.LineA += Decimal(dieA);
    match.LineB += "ダイス"_sj;
    match.LineB += Decimal(dieB);
    if (dieA != dieB) {
      WriteRollLines(match);
      match.Log.EndLine();
      return dieA > dieB;
    }
    SeparateRepeatedRoll(match);
  }
}

}  // namespace pelmora
