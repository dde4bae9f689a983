// Whole runs through the run button's command, on roster files in a temporary directory.
#include "tournament/run.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "common/sjis_literal.h"
#include "roster/roster_loader.h"
#include "tests/support/message_recorder.h"
#include "tests/support/sjis_compare.h"
#include "tests/support/three_characters.h"
#include "tests/support/work_dir.h"
#include "tests/tournament/hundred_roster.h"
#include "tournament/output_files.h"

namespace pelmora {
namespace {

using testing::ReadFileBytes;
using testing::WithCrLf;

using testing::kThreeCharacterReport;
using testing::kThreeCharacterRoster;

TEST(Run, ThreeCharacterReport) {
  testing::TScopedWorkDir dir;
  testing::TMessageRecorder messages;
  testing::WriteFileBytes(kRosterFileName, WithCrLf(kThreeCharacterRoster));
  RunFromRosterFile();
  EXPECT_SJIS_EQ(WithCrLf(kThreeCharacterReport), ReadFileBytes(kResultFileName));
  ASSERT_EQ(messages.Texts().size(), 1u);
  EXPECT_EQ(messages.Texts()[0], kClosingMessage);
}

// Fewer than two characters play no match, yet every section is written and the run completes;
// whatever an earlier run left in the files is gone.
TEST(Run, RostersThatPlayNoMatch) {
  struct TCase {
    const char* Name;
    std::string_view Roster;
    std::string_view Report;
  };
  const TCase cases[] = {
      {"only empty lines", "\n\n", "キャラクターリスト：\n\n勝敗表：\n   勝\n\n勝数順：\n\n"_sj},
      {"one character", "■■■■■炸炸報楽空：魔法使い\n"_sj, R"(キャラクターリスト：
01 魔法使い：HP15／15、炸撃、炸撃、報復、楽園、空圧

勝敗表：
   01 勝
01 － 00

勝数順：
01 魔法使い：■■■■■炸炸報楽空： 0勝

)"_sj},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    testing::TScopedWorkDir dir;
    testing::TMessageRecorder messages;
    testing::WriteFileBytes(kRosterFileName, WithCrLf(c.Roster));
    testing::WriteFileBytes(kResultFileName, std::string(3000, 'r'));
    testing::WriteFileBytes(kBattleLogFileName, std::string(3000, 'b'));
    RunFromRosterFile();
    EXPECT_SJIS_EQ(WithCrLf(c.Report), ReadFileBytes(kResultFileName));
    EXPECT_EQ(ReadFileBytes(kBattleLogFileName), "");
    EXPECT_EQ(messages.Texts(), std::vector<std::string>{std::string(kClosingMessage)});
  }
}

// The seed is set again by every run and each run rewrites both files from nothing, so a run
// between two runs of the same roster changes neither.
TEST(Run, SameRosterTwiceGivesIdenticalFiles) {
  testing::TScopedWorkDir dir;
  testing::TMessageRecorder messages;
  testing::WriteFileBytes(kRosterFileName, testing::HundredCharacterRosterFile());
  RunFromRosterFile();
  std::string report = ReadFileBytes(kResultFileName);
  std::string log = ReadFileBytes(kBattleLogFileName);

  testing::WriteFileBytes(kRosterFileName, WithCrLf(kThreeCharacterRoster));
  RunFromRosterFile();
  EXPECT_SJIS_EQ(WithCrLf(kThreeCharacterReport), ReadFileBytes(kResultFileName));
  EXPECT_LT(ReadFileBytes(kBattleLogFileName).size(), log.size());

  testing::WriteFileBytes(kRosterFileName, testing::HundredCharacterRosterFile());
  RunFromRosterFile();
  EXPECT_SJIS_EQ(report, ReadFileBytes(kResultFileName));
  EXPECT_TRUE(ReadFileBytes(kBattleLogFileName) == log) << "the battle logs of the same roster differ";
  EXPECT_EQ(messages.Texts(), std::vector<std::string>(3, std::string(kClosingMessage)));
}

TEST(Run, FailedLoadTouchesNoOutputFile) {
  struct TCase {
    const char* Name;
    std::optional<std::string_view> Roster;  // none: no roster file
    std::vector<std::string> Messages;
  };
  const TCase cases[] = {
      {"no roster file", std::nullopt, {std::string(kRosterReadFailedMessage)}},
      {"a bad skill letter on the second line",
       "■■■■炸斬報霧楽空：格闘家\n■■■■■■斬X霧空：剣士\n"_sj,
       {std::string("スキル解析エラー"_sj), std::string("キャラクター解析エラー"_sj)}},
      {"a line without its name",
       "■■■■炸斬報霧楽空：\n"_sj,
       {std::string("名前ないエラー"_sj), std::string("キャラクター解析エラー"_sj)}},
      {"saved as UTF-8, with a name Shift_JIS cannot hold",
       "■■■■炸斬報霧楽空：格闘家\n\n■■■■■■斬イ霧空：Zoë\n",
       {std::string("3行目の「U+00EB」はShift_JISにない文字です"_sj),
        std::string("キャラクター解析エラー"_sj)}},
      // Their Shift_JIS codes read back as \ and ~: the name would change without a word.
      {"saved as UTF-8, with a yen sign",
       "■■■■炸斬報霧楽空：円¥\n",
       {std::string("1行目の「U+00A5」はShift_JISにない文字です"_sj),
        std::string("キャラクター解析エラー"_sj)}},
      {"saved as UTF-8, with an overline",
       "■■■■炸斬報霧楽空：格闘家\n■■■■■■斬イ霧空：‾\n",
       {std::string("2行目の「U+203E」はShift_JISにない文字です"_sj),
        std::string("キャラクター解析エラー"_sj)}},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    testing::TScopedWorkDir dir;
    testing::TMessageRecorder messages;
    if (c.Roster) testing::WriteFileBytes(kRosterFileName, WithCrLf(*c.Roster));
    testing::WriteFileBytes(kResultFileName, "an earlier report\r\n");
    RunFromRosterFile();
    EXPECT_EQ(messages.Texts(), c.Messages);
    EXPECT_EQ(ReadFileBytes(kResultFileName), "an earlier report\r\n");
    EXPECT_FALSE(std::filesystem::exists(kBattleLogFileName));
  }
}

}  // namespace
}  // namespace pelmora
