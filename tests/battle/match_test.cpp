// Whole matches: the layout of a match block, the decision and the bookkeeping.
#include "battle/match.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "common/random.h"
#include "common/sjis_literal.h"
#include "tests/support/dice_seed.h"
#include "tests/support/roster_builder.h"
#include "tests/support/sjis_compare.h"
#include "tests/support/string_line_writer.h"

namespace pelmora {
namespace {

using testing::MakeChara;
using testing::SeedForDice;
using testing::WithCrLf;

std::string PlayFromRunSeed(TChara& a, TChara& b, std::int32_t i = 0, std::int32_t j = 1) {
  RandSeed = kRunSeed;
  testing::TStringLineWriter log;
  PlayMatch(log, i, j, a, b);
  return log.Text();
}

TEST(Match, TwoCharacterExampleFromTheRunSeed) {
  TChara aoi = MakeChara("■■■イイ斬空楽イ報：アオイ"_sj);
  TChara ren = MakeChara("■■■■空炸炸炸斬霧：レン"_sj);
  std::string log = PlayFromRunSeed(aoi, ren);
  EXPECT_SJIS_EQ(WithCrLf(R"(============================================================
01 アオイ vs 02 レン
============================================================
==============================
Turn 1
==============================
アオイ：HP 6／ 6、イ剣、イ剣、斬撃、空圧、楽園、イ剣、報復
レン  ：HP10／10、空圧、炸撃、炸撃、炸撃、斬撃、霧壁

アオイ：体力3＋ダイス3＝6、体力3＋ダイス1＝4
レン  ：体力4＋ダイス2＝6、体力4＋ダイス4＝8
⇒レンの先攻

・レンは空圧を放った。
  ＞アオイのイ剣を使用済にした。

・レンは炸撃を繰り出した。
  ＞アオイに1ダメージ（HP：6⇒5）

・レンは炸撃を繰り出した。
  ＞アオイに1ダメージ（HP：5⇒4）

・レンは炸撃を繰り出した。
  ＞アオイに1ダメージ（HP：4⇒3）

・レンは斬撃を繰り出した。
  ・アオイは報復で迎撃。
    ＞ダメージ軽減（3⇒0）
    ・レンは霧壁を展開。
      ＞ダメージ軽減（1⇒0）

    ＞レンに0ダメージ（HP：10⇒10）

  ＞アオイに0ダメージ（HP：3⇒3）

・アオイはイ剣を繰り出した。
  ＞レンに5ダメージ（HP：10⇒5）

  ＞アオイに2ダメージ（HP：3⇒1）

・アオイは斬撃を繰り出した。
  ＞レンに3ダメージ（HP：5⇒2）

・アオイは空圧を放った。
  ＞スカ

・アオイは楽園を自らに施した。
  ＞アオイのHPが全快した。（1⇒6）

・アオイはイ剣を繰り出した。
  ＞レンに5ダメージ（HP：2⇒-3）

==============================
結果
==============================
アオイの勝利

)"_sj),
                 log);
  EXPECT_EQ(aoi.Result(1), "○"_sj);
  EXPECT_EQ(ren.Result(0), "×"_sj);
  EXPECT_EQ(aoi.Wins, 1);
  EXPECT_EQ(aoi.Losses, 0);
  EXPECT_EQ(ren.Wins, 0);
  EXPECT_EQ(ren.Losses, 1);
  EXPECT_EQ(aoi.HP, 6);
  EXPECT_EQ(ren.HP, 10);
  for (const TChara* chara : {&aoi, &ren}) {
    for (std::int32_t slot = 0; slot < chara->SkillCount; ++slot) {
      EXPECT_TRUE(chara->Skill(slot).Ready()) << slot;
    }
  }
}

// The "Turn N" header lines of a log, in order.
std::vector<std::string> TurnHeaders(const std::string& log) {
  std::vector<std::string> headers;
  for (std::size_t start = 0; start < log.size();) {
    std::size_t end = std::min(log.find("\r\n", start), log.size());
    std::string line = log.substr(start, end - start);
    if (line.starts_with("Turn ")) headers.push_back(line);
    start = end + 2;
  }
  return headers;
}

std::string_view Tail(const std::string& log, std::size_t size) {
  return std::string_view(log).substr(log.size() > size ? log.size() - size : 0);
}

TEST(Match, HigherHPWinsAndEqualHPGoesToTheRollOff) {
  struct TCase {
    const char* Name;
    std::string_view A;
    std::string_view B;
    std::vector<std::int32_t> Dice;  // from the run seed when empty
    std::int32_t Turns;
    std::string_view Ending;  // the log's last lines
    bool AWins;
  };
  // clang-format off
  const TCase cases[] = {
      // Nobody can deal damage: ten turns, then the roll-off.
      {"ten turns, then the roll-off from the run seed",
       "■■■■■■■■■霧：ミオ"_sj, "■■■■■■■■■報：ソラ"_sj, {}, 10, R"(==============================
結果
==============================
HPが同値なのでダイスロール
ミオ：ダイス2
ソラ：ダイス1

ミオの勝利

)"_sj, true},
      // Ten turns without a hit: 1 HP beats 0 HP, and 0 HP alone never ends the match.
      {"1 HP beats 0 after ten turns",
       "■霧霧霧霧霧霧霧霧霧：イチ"_sj, "霧霧霧霧霧霧霧霧霧霧：ゼロ"_sj, {}, 10, R"(結果
==============================
イチの勝利

)"_sj, true},
      // ゼロ's first 斬撃 takes ミオ from 1 to -2; ゼロ wins with 0 HP.
      {"0 HP beats negative HP",
       "■楽楽楽楽楽楽楽楽楽：ミオ"_sj, "斬斬斬斬斬斬斬斬斬斬：ゼロ"_sj, {}, 1, R"(  ＞ミオに3ダメージ（HP：1⇒-2）

==============================
結果
==============================
ゼロの勝利

)"_sj, false},
      // Dice 1, 3: イチ first, with nothing to do; ゼロ's ten 炸撃 meet nine 霧壁 and the last one takes
      // イチ to 0, which ends the match at 0 against 0. Dice 5, 2 decide the roll-off.
      {"equal HP when the match is over goes to the roll-off",
       "炸炸炸炸炸炸炸炸炸炸：ゼロ"_sj, "■霧霧霧霧霧霧霧霧霧：イチ"_sj, {1, 3, 5, 2}, 1, R"(  ＞イチに1ダメージ（HP：1⇒0）

==============================
結果
==============================
HPが同値なのでダイスロール
ゼロ：ダイス5
イチ：ダイス2

ゼロの勝利

)"_sj, true},
  };
  // clang-format on
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    TChara a = MakeChara(c.A);
    TChara b = MakeChara(c.B);
    RandSeed = c.Dice.empty() ? kRunSeed : SeedForDice(c.Dice);
    testing::TStringLineWriter writer;
    PlayMatch(writer, 0, 1, a, b);
    const std::string& log = writer.Text();
    std::string ending = WithCrLf(c.Ending);
    EXPECT_SJIS_EQ(ending, Tail(log, ending.size()));
    std::vector<std::string> headers = TurnHeaders(log);
    ASSERT_EQ(headers.size(), static_cast<std::size_t>(c.Turns));
    EXPECT_EQ(headers.back(), "Turn " + std::to_string(c.Turns));
    EXPECT_EQ(a.Wins, c.AWins ? 1 : 0);
    EXPECT_EQ(b.Wins, c.AWins ? 0 : 1);
  }
}

// カイ's 斬撃 lands every turn and ミオ has nothing to answer it with, so カイ wins from either side.
TEST(Match, ResultMarksLandAtTheOpponentsPosition) {
  constexpr std::int32_t kI = 2;
  constexpr std::int32_t kJ = 5;
  const std::string rule(60, '=');
  struct TCase {
    const char* Name;
    bool KaiIsA;
  };
  const TCase cases[] = {
      {"カイ plays as A", true},
      {"カイ plays as B", false},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    TChara kai = MakeChara("■■■■■■■■■斬：カイ"_sj);
    TChara mio = MakeChara("■■■■■■■■■■：ミオ"_sj);
    std::string log = c.KaiIsA ? PlayFromRunSeed(kai, mio, kI, kJ) : PlayFromRunSeed(mio, kai, kI, kJ);
    std::string header = rule + "\r\n" +
                         std::string(c.KaiIsA ? "03 カイ vs 06 ミオ"_sj : "03 ミオ vs 06 カイ"_sj) + "\r\n" +
                         rule + "\r\n";
    EXPECT_SJIS_EQ(header, std::string_view(log).substr(0, header.size()));
    std::int32_t kaiPosition = c.KaiIsA ? kI : kJ;
    std::int32_t mioPosition = c.KaiIsA ? kJ : kI;
    for (std::int32_t position = 0; position < static_cast<std::int32_t>(kRosterCapacity); ++position) {
      EXPECT_EQ(kai.Result(position), position == mioPosition ? "○"_sj : "") << position;
      EXPECT_EQ(mio.Result(position), position == kaiPosition ? "×"_sj : "") << position;
    }
    EXPECT_EQ(kai.Wins, 1);
    EXPECT_EQ(kai.Losses, 0);
    EXPECT_EQ(mio.Wins, 0);
    EXPECT_EQ(mio.Losses, 1);
  }
}

TEST(Match, BothLeaveAtFullHealthWithEverySlotReadyEvenASpentParadise) {
  TChara kai = MakeChara("■■■■■■■■楽霧：カイ"_sj);
  TChara mio = MakeChara("■■■■■■■■■斬：ミオ"_sj);
  // カイ enters hurt, so its 楽園 is spent in the first turn; ミオ's 斬撃 then wears カイ down.
  kai.HP = 3;
  std::string log = PlayFromRunSeed(kai, mio);
  std::string_view healed = "カイは楽園を自らに施した。"_sj;
  std::size_t first = log.find(healed);
  ASSERT_NE(first, std::string::npos);
  EXPECT_EQ(log.find(healed, first + 1), std::string::npos);
  EXPECT_EQ(mio.Wins, 1);
  EXPECT_EQ(kai.HP, 36);
  EXPECT_EQ(mio.HP, 45);
  for (const TChara* chara : {&kai, &mio}) {
    for (std::int32_t slot = 0; slot < chara->SkillCount; ++slot) {
      EXPECT_FALSE(chara->Skill(slot).UsedThisTurn) << slot;
      EXPECT_FALSE(chara->Skill(slot).Spent) << slot;
    }
  }
}

TEST(Match, EqualDiceAreRolledAgainOnTheSameLines) {
  struct TCase {
    const char* Name;
    std::string_view A;
    std::string_view B;
    std::vector<std::int32_t> Dice;
    std::string_view Log;
    bool AWins;
  };
  // clang-format off
  const TCase cases[] = {
      {"two equal rolls, then B wins",
       "■■■■■■■■■霧：ミオ"_sj, "■■■■■■■■■報：ソラ"_sj, {4, 4, 2, 2, 1, 6}, R"(HPが同値なのでダイスロール
ミオ：ダイス4、ダイス2、ダイス1
ソラ：ダイス4、ダイス2、ダイス6

)"_sj, false},
      {"names of different length, then A wins",
       "■■■イイ斬空楽イ報：アオイ"_sj, "■■■■空炸炸炸斬霧：レン"_sj, {6, 6, 5, 3}, R"(HPが同値なのでダイスロール
アオイ：ダイス6、ダイス5
レン  ：ダイス6、ダイス3

)"_sj, true},
  };
  // clang-format on
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    TChara a = MakeChara(c.A);
    TChara b = MakeChara(c.B);
    RandSeed = SeedForDice(c.Dice);
    testing::TStringLineWriter log;
    TMatchContext match{log};
    EXPECT_EQ(TieBreakRoll(match, a, b), c.AWins);
    EXPECT_SJIS_EQ(WithCrLf(c.Log), log.Text());
  }
}

}  // namespace
}  // namespace pelmora
