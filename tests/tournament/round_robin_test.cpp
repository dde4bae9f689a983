// The round robin's pairings and bookkeeping, and the layout of the win/loss table.
#include "tournament/round_robin.h"

#include <gtest/gtest.h>

#include <sstream>
#include <utility>
#include <vector>

#include "common/random.h"
#include "common/sjis_literal.h"
#include "tests/support/roster_builder.h"
#include "tests/support/sjis_compare.h"
#include "tests/support/string_line_writer.h"
#include "tests/support/three_characters.h"

namespace pelmora {
namespace {

using testing::WithCrLf;

constexpr std::string_view kWin = "○"_sj;
constexpr std::string_view kLoss = "×"_sj;

// A roster of count characters that have met as the (winner, loser) pairs say, marked as the
// match marks them.
void SetOutcomes(std::int32_t count, const std::vector<std::pair<std::int32_t, std::int32_t>>& wins) {
  RosterCount = 0;
  while (RosterCount < count) RosterAt(RosterCount++) = testing::MakeChara("■■■■■炸炸報楽空：名"_sj);
  for (std::int32_t k = 0; k < count; ++k) RosterAt(k).Result(k) = "－"_sj;
  for (auto [winner, loser] : wins) {
    RosterAt(winner).Result(loser) = kWin;
    RosterAt(winner).Wins++;
    RosterAt(loser).Result(winner) = kLoss;
    RosterAt(loser).Losses++;
  }
}

std::string Repeated(std::string_view piece, int times) {
  std::string text;
  while (times-- > 0) text += piece;
  return text;
}

TEST(ResultTable, Layout) {
  struct TCase {
    const char* Name;
    std::int32_t Count;
    std::vector<std::pair<std::int32_t, std::int32_t>> Wins;
    std::string_view Section;
  };
  const TCase cases[] = {
      {"01 beat 02, 03 beat 01 and 02", 3, {{0, 1}, {2, 0}, {2, 1}}, R"(勝敗表：
   01 02 03 勝
01 － ○ × 01
02 × － × 00
03 ○ ○ － 02

)"_sj},
      {"no character", 0, {}, "勝敗表：\n   勝\n\n"_sj},
      {"one character", 1, {}, "勝敗表：\n   01 勝\n01 － 00\n\n"_sj},
      {"two characters, the second won", 2, {{1, 0}}, "勝敗表：\n   01 02 勝\n01 － × 00\n02 ○ － 01\n\n"_sj},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    SetOutcomes(c.Count, c.Wins);
    EXPECT_SJIS_EQ(WithCrLf(c.Section), testing::WrittenBy(WriteResultTable));
  }
}

// "100" is a cell of three bytes: the header's " 勝" and the whole hundredth row stand one byte
// further right than the other rows' cells.
TEST(ResultTable, HundredthNumberShiftsByOneByte) {
  std::vector<std::pair<std::int32_t, std::int32_t>> lowerWins;
  for (std::int32_t i = 0; i < 100; ++i) {
    for (std::int32_t j = i + 1; j < 100; ++j) lowerWins.emplace_back(i, j);
  }
  SetOutcomes(100, lowerWins);
  std::istringstream table(testing::WrittenBy(WriteResultTable));
  std::vector<std::string> lines;
  for (std::string line; std::getline(table, line);) lines.push_back(line);
  ASSERT_EQ(lines.size(), 103u);  // heading, header, 100 rows, empty line

  const std::string& header = lines[1];
  const std::string first = std::string("01 －"_sj) + Repeated(" ○"_sj, 99) + " 99\r";
  const std::string last = "100" + Repeated(" ×"_sj, 99) + std::string(" － 00\r"_sj);
  EXPECT_SJIS_EQ(first, lines[2]);
  EXPECT_SJIS_EQ("99" + Repeated(" ×"_sj, 98) + std::string(" － ○ 01\r"_sj), lines[100]);
  EXPECT_SJIS_EQ(last, lines[101]);
  EXPECT_TRUE(header.starts_with("   01 02 03 ")) << testing::Readable(header);
  EXPECT_TRUE(header.ends_with(" 98 99 100 勝\r"_sj)) << testing::Readable(header);
  // "勝" one byte right of the wins it heads; the last row one byte longer than the first.
  EXPECT_EQ(header.size(), first.size() + 1);
  EXPECT_EQ(header.find("勝"_sj), first.size() - 3 + 1);
  EXPECT_EQ(last.size(), first.size() + 1);
}

TEST(RoundRobin, EveryPairMeetsOnceInOrderWithTheLowerPositionFirst) {
  // The worked example's three characters and two more.
  std::string roster(testing::kThreeCharacterRoster);
  roster += "■■■イイ斬空楽イ報：アオイ\n■■■■空炸炸炸斬霧：Ren\n"_sj;
  testing::SetRoster(roster);
  RandSeed = kRunSeed;
  std::istringstream log(testing::WrittenBy(PlayRoundRobin));
  std::string headers;
  for (std::string line; std::getline(log, line);) {
    if (line.find(" vs ") != std::string::npos) headers += line + "\n";
  }
  EXPECT_SJIS_EQ(WithCrLf(R"(01 格闘家 vs 02 剣士
01 格闘家 vs 03 魔法使い
01 格闘家 vs 04 アオイ
01 格闘家 vs 05 Ren
02 剣士 vs 03 魔法使い
02 剣士 vs 04 アオイ
02 剣士 vs 05 Ren
03 魔法使い vs 04 アオイ
03 魔法使い vs 05 Ren
04 アオイ vs 05 Ren
)"_sj),
                 headers);

  for (std::int32_t i = 0; i < RosterCount; ++i) {
    SCOPED_TRACE(i);
    const TChara& chara = RosterAt(i);
    EXPECT_SJIS_EQ("－"_sj, chara.Result(i));
    std::int32_t wins = 0;
    std::int32_t losses = 0;
    for (std::int32_t j = 0; j < RosterCount; ++j) {
      if (j == i) continue;
      const std::string& mine = chara.Result(j);
      const std::string& theirs = RosterAt(j).Result(i);
      EXPECT_TRUE((mine == kWin && theirs == kLoss) || (mine == kLoss && theirs == kWin))
          << "against " << j << ": " << testing::Readable(mine) << " and " << testing::Readable(theirs);
      wins += mine == kWin;
      losses += mine == kLoss;
    }
    EXPECT_EQ(chara.Wins, wins);
    EXPECT_EQ(chara.Losses, losses);
  }
}

}  // namespace
}  // namespace pelmora
