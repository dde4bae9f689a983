// The skills: how a hit travels through the defender's reactions, and what each acting skill
// writes and changes.
#include "battle/skills.h"

#include <gtest/gtest.h>

#include <vector>

#include "common/sjis_literal.h"
#include "tests/support/roster_builder.h"
#include "tests/support/sjis_compare.h"
#include "tests/support/string_line_writer.h"

namespace pelmora {
namespace {

using testing::MakeChara;
using testing::WithCrLf;

using TAct = void (*)(TMatchContext&, TChara&, TChara&, TSkill&);

constexpr std::int32_t kFullHP = -1;

// The attacker acts with the skill in one of its slots against the defender.
struct TStep {
  TAct Act;
  std::int32_t Slot;
};

// The attacker is カイ or レン, the defender ミオ, アオイ or ゼロ; HP at the start is full unless given.
TEST(Skills, HitWritesTheReactionsAndTheDamage) {
  struct TCase {
    const char* Name;
    std::string_view Attacker;  // roster lines
    std::int32_t AttackerHP;    // at the start, or kFullHP
    std::string_view Defender;
    std::int32_t DefenderHP;
    std::vector<TStep> Steps;  // all in one turn
    std::string_view Log;
    bool MatchOver;
    std::int32_t AttackerHPAfter;
    std::int32_t DefenderHPAfter;
  };
  // clang-format off
  const TCase cases[] = {
      {"strike-back answered by the attacker's mist wall",
       "■■■■空炸炸炸斬霧：レン"_sj, kFullHP, "■■■イイ斬空楽イ報：アオイ"_sj, 3, {{ActSlash, 4}},
       R"(・レンは斬撃を繰り出した。
  ・アオイは報復で迎撃。
    ＞ダメージ軽減（3⇒0）
    ・レンは霧壁を展開。
      ＞ダメージ軽減（1⇒0）

    ＞レンに0ダメージ（HP：10⇒10）

  ＞アオイに0ダメージ（HP：3⇒3）

)"_sj, false, 10, 3},
      {"mist wall halves a blast to nothing",
       "■■■■■■■■■炸：カイ"_sj, kFullHP, "■■■■■■■■■霧：ミオ"_sj, kFullHP, {{ActBlast, 0}},
       R"(・カイは炸撃を繰り出した。
  ・ミオは霧壁を展開。
    ＞ダメージ軽減（1⇒0）

  ＞ミオに0ダメージ（HP：45⇒45）

)"_sj, false, 45, 45},
      {"mist wall halves a slash, rounding down",
       "■■■■■■■■■斬：カイ"_sj, kFullHP, "■■■■■■■■■霧：ミオ"_sj, kFullHP, {{ActSlash, 0}},
       R"(・カイは斬撃を繰り出した。
  ・ミオは霧壁を展開。
    ＞ダメージ軽減（3⇒1）

  ＞ミオに1ダメージ（HP：45⇒44）

)"_sj, false, 45, 44},
      {"mist wall halves the sword but not its self-hit",
       "■■■■■■■■■イ：カイ"_sj, kFullHP, "■■■■■■■■■霧：ミオ"_sj, kFullHP, {{ActSword, 0}},
       R"(・カイはイ剣を繰り出した。
  ・ミオは霧壁を展開。
    ＞ダメージ軽減（5⇒2）

  ＞ミオに2ダメージ（HP：45⇒43）

  ＞カイに2ダメージ（HP：45⇒43）

)"_sj, false, 43, 43},
      {"retaliation takes a slash to nothing and strikes back",
       "■■■■■■■■■斬：カイ"_sj, kFullHP, "■■■■■■■■■報：ミオ"_sj, kFullHP, {{ActSlash, 0}},
       R"(・カイは斬撃を繰り出した。
  ・ミオは報復で迎撃。
    ＞ダメージ軽減（3⇒0）
    ＞カイに1ダメージ（HP：45⇒44）

  ＞ミオに0ダメージ（HP：45⇒45）

)"_sj, false, 44, 45},
      {"retaliation lessens the sword and strikes back",
       "■■■■■■■■■イ：カイ"_sj, kFullHP, "■■■■■■■■■報：ミオ"_sj, kFullHP, {{ActSword, 0}},
       R"(・カイはイ剣を繰り出した。
  ・ミオは報復で迎撃。
    ＞ダメージ軽減（5⇒2）
    ＞カイに1ダメージ（HP：45⇒44）

  ＞ミオに2ダメージ（HP：45⇒43）

  ＞カイに2ダメージ（HP：44⇒42）

)"_sj, false, 42, 43},
      {"blast passes over retaliation for a later mist wall",
       "■■■■■■■■■炸：カイ"_sj, kFullHP, "■■■■■■■■報霧：ミオ"_sj, kFullHP, {{ActBlast, 0}},
       R"(・カイは炸撃を繰り出した。
  ・ミオは霧壁を展開。
    ＞ダメージ軽減（1⇒0）

  ＞ミオに0ダメージ（HP：36⇒36）

)"_sj, false, 45, 36},
      {"strike-back passes over the attacker's retaliation",
       "■■■■■■■斬報霧：カイ"_sj, kFullHP, "■■■■■■■■■報：ミオ"_sj, kFullHP, {{ActSlash, 0}},
       R"(・カイは斬撃を繰り出した。
  ・ミオは報復で迎撃。
    ＞ダメージ軽減（3⇒0）
    ・カイは霧壁を展開。
      ＞ダメージ軽減（1⇒0）

    ＞カイに0ダメージ（HP：28⇒28）

  ＞ミオに0ダメージ（HP：45⇒45）

)"_sj, false, 28, 45},
      {"ready attack slots do not hide a later mist wall",
       "■■■■■■■■■斬：カイ"_sj, kFullHP, "■■■■■■■斬炸霧：ミオ"_sj, kFullHP, {{ActSlash, 0}},
       R"(・カイは斬撃を繰り出した。
  ・ミオは霧壁を展開。
    ＞ダメージ軽減（3⇒1）

  ＞ミオに1ダメージ（HP：28⇒27）

)"_sj, false, 45, 27},
      // A reaction answers one hit a turn.
      {"mist wall answers one hit a turn",
       "■■■■■■■■炸炸：カイ"_sj, kFullHP, "■■■■■■■■■霧：ミオ"_sj, kFullHP, {{ActBlast, 0}, {ActBlast, 1}},
       R"(・カイは炸撃を繰り出した。
  ・ミオは霧壁を展開。
    ＞ダメージ軽減（1⇒0）

  ＞ミオに0ダメージ（HP：45⇒45）

・カイは炸撃を繰り出した。
  ＞ミオに1ダメージ（HP：45⇒44）

)"_sj, false, 36, 44},
      {"air pressure disables the reaction for the next hit",
       "■■■■■■■■空斬：カイ"_sj, kFullHP, "■■■■■■■■■霧：ミオ"_sj, kFullHP,
       {{ActAirPressure, 0}, {ActSlash, 1}},
       R"(・カイは空圧を放った。
  ＞ミオの霧壁を使用済にした。

・カイは斬撃を繰り出した。
  ＞ミオに3ダメージ（HP：45⇒42）

)"_sj, false, 36, 42},
      // The strike-back lands before the hit it answers; once it ends the match that hit, and the
      // sword's self-hit, are never dealt.
      {"strike-back that ends the match drops the hit",
       "■■■■■■■■■イ：カイ"_sj, 1, "■■■■■■■■■報：ミオ"_sj, kFullHP, {{ActSword, 0}},
       R"(・カイはイ剣を繰り出した。
  ・ミオは報復で迎撃。
    ＞ダメージ軽減（5⇒2）
    ＞カイに1ダメージ（HP：1⇒0）

)"_sj, true, 0, 45},
      // The user's ready 霧壁 would show a self-hit dealt after the match is over.
      {"sword that downs the opponent deals no self-hit",
       "■■■■■■■■イ霧：カイ"_sj, kFullHP, "■■■■■■■■■■：ミオ"_sj, 3, {{ActSword, 0}},
       R"(・カイはイ剣を繰り出した。
  ＞ミオに5ダメージ（HP：3⇒-2）

)"_sj, true, 36, -2},
      {"sword's self-hit answered by the user's retaliation",
       "■■■■■■■■イ報：カイ"_sj, kFullHP, "■■■■■■■■■■：ミオ"_sj, kFullHP, {{ActSword, 0}},
       R"(・カイはイ剣を繰り出した。
  ＞ミオに5ダメージ（HP：55⇒50）

  ・カイは報復で迎撃。
    ＞ダメージ軽減（2⇒0）
    ＞カイに1ダメージ（HP：36⇒35）

  ＞カイに0ダメージ（HP：35⇒35）

)"_sj, false, 35, 50},
      {"sword's self strike-back halved by the user's later mist wall",
       "■■■■■■■イ報霧：カイ"_sj, kFullHP, "■■■■■■■■■■：ミオ"_sj, kFullHP, {{ActSword, 0}},
       R"(・カイはイ剣を繰り出した。
  ＞ミオに5ダメージ（HP：55⇒50）

  ・カイは報復で迎撃。
    ＞ダメージ軽減（2⇒0）
    ・カイは霧壁を展開。
      ＞ダメージ軽減（1⇒0）

    ＞カイに0ダメージ（HP：28⇒28）

  ＞カイに0ダメージ（HP：28⇒28）

)"_sj, false, 28, 50},
      // Only the HP after the hit counts: a hit of 0 on a character without stamina ends it.
      {"hit of nothing on zero HP ends the match",
       "■■■■■■■■■炸：カイ"_sj, kFullHP, "霧霧霧霧霧霧霧霧霧霧：ゼロ"_sj, kFullHP, {{ActBlast, 0}},
       R"(・カイは炸撃を繰り出した。
  ・ゼロは霧壁を展開。
    ＞ダメージ軽減（1⇒0）

  ＞ゼロに0ダメージ（HP：0⇒0）

)"_sj, true, 45, 0},
  };
  // clang-format on
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    TChara attacker = MakeChara(c.Attacker);
    TChara defender = MakeChara(c.Defender);
    if (c.AttackerHP != kFullHP) attacker.HP = c.AttackerHP;
    if (c.DefenderHP != kFullHP) defender.HP = c.DefenderHP;
    testing::TStringLineWriter log;
    TMatchContext match{log};
    for (const TStep& step : c.Steps) step.Act(match, attacker, defender, attacker.Skill(step.Slot));
    EXPECT_SJIS_EQ(WithCrLf(c.Log), log.Text());
    EXPECT_EQ(match.MatchOver, c.MatchOver);
    EXPECT_EQ(attacker.HP, c.AttackerHPAfter);
    EXPECT_EQ(defender.HP, c.DefenderHPAfter);
  }
}

TEST(Skills, AirPressureDisablesTheFirstReadySlotOfAnyKind) {
  struct TCase {
    const char* Name;
    std::string_view Opponent;
    std::vector<std::int32_t> UsedSlots;
    std::vector<std::int32_t> SpentSlots;
    std::string_view Log;
    std::int32_t Target;  // the slot it disables, or -1
  };
  // clang-format off
  const TCase cases[] = {
      {"passes over a used slot and takes a paradise that is not due", "■■■■■■■霧楽斬：ミオ"_sj, {0}, {},
       R"(・カイは空圧を放った。
  ＞ミオの楽園を使用済にした。

)"_sj, 1},
      {"finds nothing when every slot is used or spent", "■■■■■■■■霧楽：ミオ"_sj, {0}, {1},
       R"(・カイは空圧を放った。
  ＞スカ

)"_sj, -1},
  };
  // clang-format on
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    TChara kai = MakeChara("■■■■■■■■■空：カイ"_sj);
    TChara opponent = MakeChara(c.Opponent);
    for (std::int32_t slot : c.UsedSlots) opponent.Skill(slot).UsedThisTurn = true;
    for (std::int32_t slot : c.SpentSlots) opponent.Skill(slot).Spent = true;
    TChara before = opponent;
    testing::TStringLineWriter log;
    TMatchContext match{log};
    ActAirPressure(match, kai, opponent, kai.Skill(0));
    EXPECT_SJIS_EQ(WithCrLf(c.Log), log.Text());
    EXPECT_TRUE(kai.Skill(0).UsedThisTurn);  // also when it found nothing
    for (std::int32_t slot = 0; slot < opponent.SkillCount; ++slot) {
      bool used = slot == c.Target || before.Skill(slot).UsedThisTurn;
      EXPECT_EQ(opponent.Skill(slot).UsedThisTurn, used) << slot;
      EXPECT_EQ(opponent.Skill(slot).Spent, before.Skill(slot).Spent) << slot;
    }
    EXPECT_EQ(opponent.HP, before.HP);
    EXPECT_FALSE(match.MatchOver);
  }
}

TEST(Skills, ParadiseHealsToFullAndIsSpent) {
  TChara mio = MakeChara("■■■■■■■■■楽：ミオ"_sj);
  mio.HP = 4;
  testing::TStringLineWriter log;
  TMatchContext match{log};
  ActParadise(match, mio, mio.Skill(0));
  EXPECT_SJIS_EQ(WithCrLf(R"(・ミオは楽園を自らに施した。
  ＞ミオのHPが全快した。（4⇒45）

)"_sj),
                 log.Text());
  EXPECT_EQ(mio.HP, 45);
  EXPECT_TRUE(mio.Skill(0).UsedThisTurn);
  EXPECT_TRUE(mio.Skill(0).Spent);
}

}  // namespace
}  // namespace pelmora
