// Whole runs through the run button's command, on roster files in a temporary directory.
#include "tournament/run.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "common/message_box.h"
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

// What one click leaves behind: its boxes and both files, which hold an earlier run's stand-ins
// before it, so a file the click leaves alone shows as such.
struct TClickOutcome {
  std::vector<std::string> Messages;
  std::string Report;
  std::string Log;
};

TClickOutcome ClickOn(std::string_view rosterBytes) {
  testing::TScopedWorkDir dir;
  testing::TMessageRecorder messages;
  testing::WriteFileBytes(kRosterFileName, rosterBytes);
  testing::WriteFileBytes(kResultFileName, "an earlier report\r\n");
  testing::WriteFileBytes(kBattleLogFileName, "an earlier log\r\n");
  RunFromRosterFile();
  return {messages.Texts(), ReadFileBytes(kResultFileName), ReadFileBytes(kBattleLogFileName)};
}

// Every roster of the runs above and the sample roster, saved as UTF-8 with CR LF or LF line ends,
// with or without a byte-order mark, gives the boxes and the files of the Shift_JIS original;
// a bad line gives the boxes of the same line in Shift_JIS and touches no file.
TEST(Run, RostersSavedAsUtf8RunAsTheirShiftJisTwins) {
  const std::string sampleRoster = ReadFileBytes(std::filesystem::path(PELMORA_EXAMPLE_ROSTER));
  const std::string rosters[] = {
      WithCrLf(kThreeCharacterRoster),
      WithCrLf("\n\n"),
      WithCrLf("■■■■■炸炸報楽空：魔法使い\n"_sj),
      testing::HundredCharacterRosterFile(),
      sampleRoster,
      WithCrLf("■■■■炸斬報霧楽空：格闘家\n■■■■■■斬X霧空：剣士\n"_sj),
      WithCrLf("■■■■炸斬報霧楽空：\n"_sj),
      WithCrLf("■■■■炸斬報霧楽空：格闘家\n■■■■炸斬報霧楽空剣士\n"_sj),
  };
  for (const std::string& sjis : rosters) {
    const TClickOutcome expected = ClickOn(sjis);
    const std::string crLf = Cp932ToUtf8ForTerminal(sjis);
    std::string lf = crLf;
    std::erase(lf, '\r');
    const std::string bom = "\xEF\xBB\xBF";
    for (const std::string& utf8 : {crLf, lf, bom + crLf, bom + lf}) {
      SCOPED_TRACE(testing::Readable(utf8.substr(0, 80)));
      TClickOutcome got = ClickOn(utf8);
      EXPECT_EQ(got.Messages, expected.Messages);
      EXPECT_SJIS_EQ(expected.Report, got.Report);
      EXPECT_TRUE(got.Log == expected.Log) << "the battle logs differ";
    }
  }
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
