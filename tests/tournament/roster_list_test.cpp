// The roster list section and the name column width it leaves for the ranking.
#include "tournament/roster_list.h"

#include <gtest/gtest.h>

#include <string>

#include "common/sjis_literal.h"
#include "tests/support/roster_builder.h"
#include "tests/support/sjis_compare.h"
#include "tests/support/string_line_writer.h"
#include "tests/support/three_characters.h"

namespace pelmora {
namespace {

using testing::WithCrLf;

TEST(RosterList, SectionAndNameColumnWidth) {
  struct TCase {
    const char* Name;
    std::string_view Roster;  // roster lines, each ended by LF
    std::int32_t Width;
    std::string_view Section;
  };
  const TCase cases[] = {
      {"three characters, the longest name of 8 bytes", testing::kThreeCharacterRoster, 8,
       R"(キャラクターリスト：
01 格闘家  ：HP10／10、炸撃、斬撃、報復、霧壁、楽園、空圧
02 剣士    ：HP21／21、斬撃、イ剣、霧壁、空圧
03 魔法使い：HP15／15、炸撃、炸撃、報復、楽園、空圧

)"_sj},
      {"no character", "", 0, "キャラクターリスト：\n\n"_sj},
      {"half-width letters and katakana count one byte each",
       R"(■■■■■■■■■■：abc
炸斬イ報霧楽空炸斬イ：剣士
■■■■■■■■■炸：Zed零
■■■■■■■■■■：ﾊﾙｶｾﾞ
)"_sj,
       5,
       R"(キャラクターリスト：
01 abc  ：HP55／55
02 剣士 ：HP 0／ 0、炸撃、斬撃、イ剣、報復、霧壁、楽園、空圧、炸撃、斬撃、イ剣
03 Zed零：HP45／45、炸撃
04 ﾊﾙｶｾﾞ：HP55／55

)"_sj},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    testing::SetRoster(c.Roster);
    NameColumnWidth = 99;  // an earlier run's width must not survive
    EXPECT_SJIS_EQ(WithCrLf(c.Section), testing::WrittenBy(WriteRosterList));
    EXPECT_EQ(NameColumnWidth, c.Width);
  }
}

// The hundredth number takes three digits, so that line alone starts one byte wider.
TEST(RosterList, HundredthCharacterIsNumbered100) {
  RosterCount = 0;
  while (RosterCount < 100) RosterAt(RosterCount++) = testing::MakeChara("■■■■■■■■■炸：名前"_sj);
  std::string section = testing::WrittenBy(WriteRosterList);
  EXPECT_NE(section.find(WithCrLf("\n99 名前：HP45／45、炸撃\n100 名前：HP45／45、炸撃\n\n"_sj)),
            std::string::npos)
      << testing::Readable(section.substr(section.size() - 80));
  EXPECT_TRUE(section.starts_with(WithCrLf("キャラクターリスト：\n01 名前：HP45／45、炸撃\n"_sj)));
}

}  // namespace
}  // namespace pelmora
