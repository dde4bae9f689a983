// One turn: the summaries, the initiative roll, both sides' skills and the end-of-turn reset.
#include "battle/turn.h"

#include <gtest/gtest.h>

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

void ExpectNoSlotUsedThisTurn(const TChara& chara) {
  for (std::int32_t slot = 0; slot < chara.SkillCount; ++slot) {
    EXPECT_FALSE(chara.Skill(slot).UsedThisTurn) << chara.Skill(slot).Name << " in slot " << slot;
  }
}

// Nobody here has a skill that acts, so the turn is its summaries and its roll.
TEST(Turn, InitiativeTiesAreRolledAgainOnTheSameLines) {
  struct TCase {
    const char* Name;
    std::string_view A;
    std::string_view B;
    std::vector<std::int32_t> Dice;
    std::string_view Log;
  };
  // clang-format off
  const TCase cases[] = {
      // Dice 1, 2 (11 = 11), 2, 3 (12 = 12), 5, 1 (15 against 10).
      {"two-digit stamina pads the other line after every comma",
       "■■■■■■■■■■：カイ"_sj, "■■■■■■■■■霧：ミオ"_sj, {1, 2, 2, 3, 5, 1}, R"(カイ：HP55／55
ミオ：HP45／45、霧壁

カイ：体力10＋ダイス1＝11、体力10＋ダイス2＝12、体力10＋ダイス5＝15
ミオ：体力9＋ダイス2＝11、 体力9＋ダイス3＝12、 体力9＋ダイス1＝10
⇒カイの先攻

)"_sj},
      // Dice 3, 2 (12 = 12), 1, 5 (10 against 15).
      {"two-digit stamina on side B pads side A",
       "■■■■■■■■■霧：ミオ"_sj, "■■■■■■■■■■：カイ"_sj, {3, 2, 1, 5}, R"(ミオ：HP45／45、霧壁
カイ：HP55／55

ミオ：体力9＋ダイス3＝12、 体力9＋ダイス1＝10
カイ：体力10＋ダイス2＝12、体力10＋ダイス5＝15
⇒カイの先攻

)"_sj},
      // Dice 4, 3 (7 = 7), 6, 5 (9 = 9), 1, 2 (4 against 6).
      {"two ties with names of different length",
       "■■■報報報報報報報：アオイ"_sj, "■■■■霧霧霧霧霧霧：レン"_sj, {4, 3, 6, 5, 1, 2},
       R"(アオイ：HP 6／ 6、報復、報復、報復、報復、報復、報復、報復
レン  ：HP10／10、霧壁、霧壁、霧壁、霧壁、霧壁、霧壁

アオイ：体力3＋ダイス4＝7、体力3＋ダイス6＝9、体力3＋ダイス1＝4
レン  ：体力4＋ダイス3＝7、体力4＋ダイス5＝9、体力4＋ダイス2＝6
⇒レンの先攻

)"_sj},
  };
  // clang-format on
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    TChara a = MakeChara(c.A);
    TChara b = MakeChara(c.B);
    RandSeed = SeedForDice(c.Dice);
    testing::TStringLineWriter log;
    TMatchContext match{log};
    PlayTurn(match, a, b);
    EXPECT_SJIS_EQ(WithCrLf(c.Log), log.Text());
    EXPECT_FALSE(match.MatchOver);
  }
}

TEST(Turn, SecondSideWritesNothingOnceTheFirstEndsTheMatch) {
  TChara kai = MakeChara("■■■■■■■■斬炸：カイ"_sj);
  TChara mio = MakeChara("■■■■■■■■■炸：ミオ"_sj);
  mio.HP = 3;
  RandSeed = SeedForDice({6, 1});  // 14 against 10: カイ first
  testing::TStringLineWriter log;
  TMatchContext match{log};
  PlayTurn(match, kai, mio);
  // Neither カイ's own 炸撃 nor anything of ミオ's acts after the hit that ends the match.
  EXPECT_SJIS_EQ(WithCrLf(R"(カイ：HP36／36、斬撃、炸撃
ミオ：HP 3／45、炸撃

カイ：体力8＋ダイス6＝14
ミオ：体力9＋ダイス1＝10
⇒カイの先攻

・カイは斬撃を繰り出した。
  ＞ミオに3ダメージ（HP：3⇒0）

)"_sj),
                 log.Text());
  EXPECT_TRUE(match.MatchOver);
  EXPECT_EQ(kai.HP, 36);
  ExpectNoSlotUsedThisTurn(kai);
  ExpectNoSlotUsedThisTurn(mio);
}

TEST(Turn, EndResetClearsUsedThisTurnAndKeepsSpent) {
  TChara kai = MakeChara("■■■■■■■■斬楽：カイ"_sj);
  TChara mio = MakeChara("■■■■■■■■■空：ミオ"_sj);
  kai.HP = 1;
  RandSeed = SeedForDice({1, 1});  // 9 against 10: ミオ first
  testing::TStringLineWriter log;
  TMatchContext match{log};
  PlayTurn(match, kai, mio);
  // The 斬撃 that ミオ's 空圧 took does not act; the 楽園 does.
  EXPECT_SJIS_EQ(WithCrLf(R"(カイ：HP 1／36、斬撃、楽園
ミオ：HP45／45、空圧

カイ：体力8＋ダイス1＝9
ミオ：体力9＋ダイス1＝10
⇒ミオの先攻

・ミオは空圧を放った。
  ＞カイの斬撃を使用済にした。

・カイは楽園を自らに施した。
  ＞カイのHPが全快した。（1⇒36）

)"_sj),
                 log.Text());
  EXPECT_FALSE(match.MatchOver);
  ExpectNoSlotUsedThisTurn(kai);
  ExpectNoSlotUsedThisTurn(mio);
  EXPECT_FALSE(kai.Skill(0).Spent);
  EXPECT_TRUE(kai.Skill(1).Spent);
  EXPECT_EQ(kai.HP, 36);
}

TEST(Turn, LaterPassParadiseActsOnceHPHasFallenBelowHalf) {
  struct TCase {
    const char* Name;
    std::string_view Self;
    std::int32_t SelfHP;
    std::string_view Opponent;
    std::string_view Log;
    std::int32_t SelfHPAfter;
  };
  // clang-format off
  const TCase cases[] = {
      {"after the sword's self-hit", "■■■■■■■■楽イ：カイ"_sj, 19, "■■■■■■■■■■：ミオ"_sj,
       R"(・カイはイ剣を繰り出した。
  ＞ミオに5ダメージ（HP：55⇒50）

  ＞カイに2ダメージ（HP：19⇒17）

・カイは楽園を自らに施した。
  ＞カイのHPが全快した。（17⇒36）

)"_sj, 36},
      {"after the opponent's strike-back", "■■■■■■■■楽斬：カイ"_sj, 18, "■■■■■■■■■報：ソラ"_sj,
       R"(・カイは斬撃を繰り出した。
  ・ソラは報復で迎撃。
    ＞ダメージ軽減（3⇒0）
    ＞カイに1ダメージ（HP：18⇒17）

  ＞ソラに0ダメージ（HP：45⇒45）

・カイは楽園を自らに施した。
  ＞カイのHPが全快した。（17⇒36）

)"_sj, 36},
      // 18 of 36 is exactly half, which is not below it.
      {"not at exactly half", "■■■■■■■■楽イ：カイ"_sj, 20, "■■■■■■■■■■：ミオ"_sj,
       R"(・カイはイ剣を繰り出した。
  ＞ミオに5ダメージ（HP：55⇒50）

  ＞カイに2ダメージ（HP：20⇒18）

)"_sj, 18},
  };
  // clang-format on
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    TChara self = MakeChara(c.Self);
    TChara opponent = MakeChara(c.Opponent);
    self.HP = c.SelfHP;
    testing::TStringLineWriter log;
    TMatchContext match{log};
    ActSkills(match, self, opponent);
    EXPECT_SJIS_EQ(WithCrLf(c.Log), log.Text());
    EXPECT_EQ(self.HP, c.SelfHPAfter);
    EXPECT_FALSE(match.MatchOver);
  }
}

}  // namespace
}  // namespace pelmora
