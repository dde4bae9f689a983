// The ranking section: the exchange sort's order and the layout of a ranking line.
#include "tournament/ranking.h"

#include <gtest/gtest.h>

#include <vector>

#include "common/sjis_literal.h"
#include "tests/support/roster_builder.h"
#include "tests/support/sjis_compare.h"
#include "tests/support/string_line_writer.h"
#include "tests/support/three_characters.h"
#include "tournament/roster_list.h"

namespace pelmora {
namespace {

using testing::WithCrLf;

struct TRankingCase {
  const char* Name;
  std::string_view Roster;  // roster lines, each ended by LF
  std::vector<std::int32_t> Wins;
  std::int32_t Width;  // NameColumnWidth as the roster list left it
  std::string_view Section;
};

void SetRanked(const TRankingCase& c) {
  testing::SetRoster(c.Roster);
  for (std::int32_t k = 0; k < RosterCount; ++k) RosterAt(k).Wins = c.Wins.at(static_cast<std::size_t>(k));
  NameColumnWidth = c.Width;
}

TEST(Ranking, OrderOfTheExchangeSort) {
  constexpr std::string_view kFour = R"(■■■■■炸斬イ報霧：一
■■■■■炸斬イ報霧：二
■■■■■炸斬イ報霧：三
■■■■■炸斬イ報霧：四
)"_sj;
  const TRankingCase cases[] = {
      // 01 and 03 exchange places; 02 then stays ahead of 01 although both have one win.
      {"wins 1, 1, 3, 1", kFour, {1, 1, 3, 1}, 2, R"(勝数順：
03 三：■■■■■炸斬イ報霧： 3勝
02 二：■■■■■炸斬イ報霧： 1勝
01 一：■■■■■炸斬イ報霧： 1勝
04 四：■■■■■炸斬イ報霧： 1勝

)"_sj},
      {"wins 1, 2, 1, 2", kFour, {1, 2, 1, 2}, 2, R"(勝数順：
02 二：■■■■■炸斬イ報霧： 2勝
04 四：■■■■■炸斬イ報霧： 2勝
03 三：■■■■■炸斬イ報霧： 1勝
01 一：■■■■■炸斬イ報霧： 1勝

)"_sj},
      {"equal wins keep the roster order",
       "■■■■■炸斬イ報霧：一\n■■■■■炸斬イ報霧：二\n■■■■■炸斬イ報霧：三\n"_sj,
       {1, 1, 1},
       2,
       R"(勝数順：
01 一：■■■■■炸斬イ報霧： 1勝
02 二：■■■■■炸斬イ報霧： 1勝
03 三：■■■■■炸斬イ報霧： 1勝

)"_sj},
      {"no character", "", {}, 0, "勝数順：\n\n"_sj},
  };
  for (const TRankingCase& c : cases) {
    SCOPED_TRACE(c.Name);
    SetRanked(c);
    EXPECT_SJIS_EQ(WithCrLf(c.Section), testing::WrittenBy(WriteRanking));
  }
}

TEST(Ranking, LineLayout) {
  const TRankingCase cases[] = {
      {"names padded to NameColumnWidth + 3 before the first colon",
       testing::kThreeCharacterRoster,
       {1, 0, 2},
       8,
       R"(勝数順：
03 魔法使い：■■■■■炸炸報楽空： 2勝
01 格闘家  ：■■■■炸斬報霧楽空： 1勝
02 剣士    ：■■■■■■斬イ霧空： 0勝

)"_sj},
      {"no skill, no stamina mark, half-width names, ten and more wins",
       "■■■■■■■■■■：Ken\n炸斬イ報霧楽空炸斬イ：ﾊﾙｶ零\n"_sj,
       {10, 12},
       5,
       R"(勝数順：
02 ﾊﾙｶ零：炸斬イ報霧楽空炸斬イ：12勝
01 Ken  ：■■■■■■■■■■：10勝

)"_sj},
      {"marks first, then the codes in slot order",
       "炸■報■■楽空■霧■：混\n"_sj,
       {0},
       2,
       "勝数順：\n01 混：■■■■■炸報楽空霧： 0勝\n\n"_sj},
  };
  for (const TRankingCase& c : cases) {
    SCOPED_TRACE(c.Name);
    SetRanked(c);
    EXPECT_SJIS_EQ(WithCrLf(c.Section), testing::WrittenBy(WriteRanking));
  }
}

// A match leaves spent slots and lost hit points behind only until it resets them; the ranking
// lists every slot whatever its flags say.
TEST(Ranking, ListsSpentAndUsedSkills) {
  testing::SetRoster({"■■■■楽楽斬空霧炸：勇者"_sj});
  TChara& hero = RosterAt(0);
  hero.Skill(0).Spent = true;
  hero.Skill(1).UsedThisTurn = true;
  hero.Skill(5).Spent = true;
  hero.HP = 1;
  NameColumnWidth = 4;
  EXPECT_SJIS_EQ(WithCrLf("勝数順：\n01 勇者：■■■■楽楽斬空霧炸： 0勝\n\n"_sj),
                 testing::WrittenBy(WriteRanking));
}

// Only the number "100" is three digits: with the longest name it leaves its line one byte
// wider in front; with a shorter name the padding still closes the gap.
TEST(Ranking, HundredthCharacterNumber) {
  struct TCase {
    const char* Name;
    std::string_view Hundredth;  // its roster line; the other 99 are named 名前
    std::int32_t Width;          // NameColumnWidth as the roster list left it
    std::string_view Ending;
    std::string_view First;  // the start of the first line
  };
  const TCase cases[] = {
      {"the hundredth has the longest name", "■■■■■■■■■■：長い名前"_sj, 8,
       "\r\n100 長い名前：■■■■■■■■■■： 0勝\r\n\r\n"_sj, "\r\n01 名前    ："_sj},
      {"a shorter name", "■■■■■■■■■■：名"_sj, 4, "\r\n100 名 ：■■■■■■■■■■： 0勝\r\n\r\n"_sj,
       "\r\n01 名前：■"_sj},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    RosterCount = 0;
    while (RosterCount < 99) RosterAt(RosterCount++) = testing::MakeChara("■■■■■■■■■■：名前"_sj);
    RosterAt(RosterCount++) = testing::MakeChara(c.Hundredth);
    NameColumnWidth = c.Width;
    std::string section = testing::WrittenBy(WriteRanking);
    EXPECT_TRUE(section.ends_with(c.Ending)) << testing::Readable(section.substr(section.size() - 120));
    EXPECT_NE(section.find(c.First), std::string::npos);
  }
}

}  // namespace
}  // namespace pelmora
