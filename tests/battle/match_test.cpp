// Whole matches: the layout of a match block, the decision and the bookkeeping.
#include "battle/match.h"

#include <gtest/gtest.h>

#include "common/random.h"
#include "common/sjis_literal.h"
#include "tests/support/roster_builder.h"
#include "tests/support/sjis_compare.h"
#include "tests/support/string_line_writer.h"

namespace pelmora {
namespace {

using testing::MakeChara;
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

}  // namespace
}  // namespace pelmora
