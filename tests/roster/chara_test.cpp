// The character record: clearing, the resets after a turn and a match, and the summary line.
#include "roster/chara.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

#include "common/sjis_literal.h"
#include "tests/support/roster_builder.h"
#include "tests/support/sjis_compare.h"
#include "tests/support/string_line_writer.h"

namespace pelmora {
namespace {

using testing::MakeChara;

// Every slot carries a name and both flags, the unused ones included.
TChara MarkedChara() {
  TChara chara = MakeChara("■■■■炸斬霧楽イ空：勇者"_sj);
  for (std::size_t slot = 0; slot < kSkillSlotCount; ++slot) {
    TSkill& skill = chara.Skills[slot];
    if (skill.Name.empty()) skill.Name = kMistWallSkill;
    skill.UsedThisTurn = true;
    skill.Spent = true;
  }
  chara.HP = 3;
  chara.Wins = 4;
  chara.Losses = 5;
  chara.Result(0) = "○"_sj;
  chara.Result(99) = "×"_sj;
  return chara;
}

TEST(Chara, ClearCharaEmptiesEverythingButTheSkills) {
  TChara chara = MarkedChara();
  const auto skills = chara.Skills;
  ClearChara(chara);
  EXPECT_EQ(chara.Name, "");
  EXPECT_EQ(chara.Stamina, 0);
  EXPECT_EQ(chara.HP, 0);
  EXPECT_EQ(chara.MaxHP, 0);
  EXPECT_EQ(chara.SkillCount, 0);
  EXPECT_EQ(chara.Wins, 0);
  EXPECT_EQ(chara.Losses, 0);
  for (const std::string& result : chara.Results) EXPECT_EQ(result, "");
  for (std::size_t slot = 0; slot < kSkillSlotCount; ++slot) {
    EXPECT_EQ(chara.Skills[slot].Name, skills[slot].Name) << slot;
    EXPECT_TRUE(chara.Skills[slot].UsedThisTurn) << slot;
    EXPECT_TRUE(chara.Skills[slot].Spent) << slot;
  }
}

TEST(Chara, ResetsTouchOnlyTheSlotsInUse) {
  TChara afterTurn = MarkedChara();
  ResetForTurn(afterTurn);
  TChara afterMatch = MarkedChara();
  ResetForMatch(afterMatch);
  for (std::int32_t slot = 0; slot < static_cast<std::int32_t>(kSkillSlotCount); ++slot) {
    bool inUse = slot < 6;
    EXPECT_EQ(afterTurn.Skill(slot).UsedThisTurn, !inUse) << slot;
    EXPECT_TRUE(afterTurn.Skill(slot).Spent) << slot;
    EXPECT_EQ(afterMatch.Skill(slot).UsedThisTurn, !inUse) << slot;
    EXPECT_EQ(afterMatch.Skill(slot).Spent, !inUse) << slot;
  }
  EXPECT_EQ(afterTurn.HP, 3);
  EXPECT_EQ(afterMatch.HP, 10);
  // The record of the run so far survives the match reset.
  EXPECT_EQ(afterMatch.Wins, 4);
  EXPECT_EQ(afterMatch.Losses, 5);
  EXPECT_EQ(afterMatch.Result(0), "○"_sj);
  EXPECT_EQ(afterMatch.Result(99), "×"_sj);
}

TEST(Chara, SummaryLine) {
  TChara worked = MakeChara("■■■■炸斬霧楽イ空：勇者"_sj);
  worked.HP = 7;
  worked.Skill(3).Spent = true;
  TChara used = MakeChara("■■■■■■■■炸斬：剣士"_sj);
  used.Skill(0).UsedThisTurn = true;
  TChara allSpent = MakeChara("■■■■■■■■■楽：僧"_sj);
  allSpent.Skill(0).Spent = true;
  // Names of the table's length are put together apart from others, which keep their place.
  TChara otherName = MakeChara("■■■■■■■炸斬霧：弓"_sj);
  otherName.Skill(1).Name = "長い技名"_sj;
  struct TCase {
    const char* Name;
    TChara Chara;
    std::int32_t Width;
    std::string_view Summary;
  };
  const TCase cases[] = {
      {"worked example", worked, 8, "勇者    ：HP 7／10、炸撃、斬撃、霧壁、イ剣、空圧"_sj},
      {"padded by bytes", MakeChara("■■■■■■■■■■：ab"_sj), 5, "ab   ：HP55／55"_sj},
      {"no skills", MakeChara("■■■■■■■■■■：戦士"_sj), 4, "戦士：HP55／55"_sj},
      {"no marks", MakeChara("炸斬イ報霧楽空炸斬イ：X"_sj), 1,
       "X：HP 0／ 0、炸撃、斬撃、イ剣、報復、霧壁、楽園、空圧、炸撃、斬撃、イ剣"_sj},
      {"longer name not cut", MakeChara("■■■■■■■■■■：魔法使い"_sj), 3, "魔法使い：HP55／55"_sj},
      {"width 0", MakeChara("■■■■■■■■■■：戦士"_sj), 0, "戦士：HP55／55"_sj},
      {"negative width", MakeChara("■■■■■■■■■■：戦士"_sj), -5, "戦士：HP55／55"_sj},
      {"used this turn is listed", used, 4, "剣士：HP36／36、炸撃、斬撃"_sj},
      {"only skill spent", allSpent, 4, "僧  ：HP45／45"_sj},
      {"duplicated letters", MakeChara("■■■■■■■炸炸炸：弓"_sj), 2, "弓：HP28／28、炸撃、炸撃、炸撃"_sj},
      {"a name of another length", otherName, 2, "弓：HP28／28、炸撃、長い技名、霧壁"_sj},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    testing::TStringLineWriter line;
    CharaSummary(line, c.Chara, c.Width);
    EXPECT_SJIS_EQ(c.Summary, line.Text());
  }
}

TEST(Chara, SummaryPadsTheNameNotTheWholeLine) {
  testing::TStringLineWriter line;
  line << "01 ";
  CharaSummary(line, MakeChara("■■■■■■■■■■：戦士"_sj), 8);
  EXPECT_SJIS_EQ("01 戦士    ：HP55／55"_sj, line.Text());
}

TEST(Chara, IndexesOutsideTheTablesThrow) {
  TChara chara;
  EXPECT_THROW(chara.Skill(10), std::out_of_range);
  EXPECT_THROW(chara.Skill(-1), std::out_of_range);
  EXPECT_THROW(chara.Result(100), std::out_of_range);
  EXPECT_THROW(chara.Result(-1), std::out_of_range);
  EXPECT_THROW(RosterAt(100), std::out_of_range);
  EXPECT_THROW(RosterAt(-1), std::out_of_range);
  EXPECT_NO_THROW(chara.Skill(9));
  EXPECT_NO_THROW(chara.Result(99));
  EXPECT_NO_THROW(RosterAt(99));
  // A slot count beyond the table is walked with checked indexes, not clamped.
  chara.SkillCount = 11;
  EXPECT_THROW(ResetForTurn(chara), std::out_of_range);
  EXPECT_THROW(ResetForMatch(chara), std::out_of_range);
  testing::TStringLineWriter line;
  EXPECT_THROW(CharaSummary(line, chara, 0), std::out_of_range);
}

}  // namespace
}  // namespace pelmora
