// Whole runs of rosters saved as UTF-8: the same run as the Shift_JIS twin, written in UTF-8.
#include "tournament/run.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "common/sjis_literal.h"
#include "roster/roster_loader.h"
#include "tests/support/message_recorder.h"
#include "tests/support/sjis_compare.h"
#include "tests/support/system_text.h"
#include "tests/support/three_characters.h"
#include "tests/support/work_dir.h"
#include "tests/support/system_can.h"
#include "tests/tournament/hundred_roster.h"
#include "tournament/output_files.h"

namespace pelmora {
namespace {

using testing::ConvertBySystem;
using testing::ReadFileBytes;
using testing::WithCrLf;

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

// Both files of a UTF-8 run are those of the Shift_JIS run, as the system's converter converts
// them. A roster of
// nothing but ASCII is no different in either encoding, and its files stay Shift_JIS.
void ExpectUtf8TwinOf(const TClickOutcome& sjis, std::string_view utf8Roster, const TClickOutcome& utf8) {
  EXPECT_EQ(utf8.Messages, sjis.Messages);
  const bool written = sjis.Messages == std::vector<std::string>{std::string(kClosingMessage)};
  const bool inUtf8 = written && std::any_of(utf8Roster.begin(), utf8Roster.end(), [](char byte) {
                        return static_cast<unsigned char>(byte) >= 0x80;
                      });
  EXPECT_EQ(utf8.Report, inUtf8 ? ConvertBySystem("UTF-8", "CP932", sjis.Report) : sjis.Report);
  EXPECT_TRUE(utf8.Log == (inUtf8 ? ConvertBySystem("UTF-8", "CP932", sjis.Log) : sjis.Log))
      << "the UTF-8 run's battle log is not the Shift_JIS one" << (inUtf8 ? " converted" : "");
}

// Every roster of the runs above and the sample roster, saved as UTF-8 with CR LF or LF line ends,
// with or without a byte-order mark, gives the boxes of the Shift_JIS original and its files in
// UTF-8; a bad line gives the boxes of the same line in Shift_JIS and touches no file. Each
// Shift_JIS run between them is written in Shift_JIS again.
TEST(RunUtf8, RostersSavedAsUtf8GetTheirShiftJisTwinsFilesInUtf8) {
  if (!testing::HasCp932Converter()) GTEST_SKIP() << testing::kNoCp932Converter;
  const std::string sample = ReadFileBytes(std::filesystem::path(PELMORA_EXAMPLE_ROSTER));
  const std::string rosters[] = {
      WithCrLf(testing::kThreeCharacterRoster),
      WithCrLf("\n\n"),
      WithCrLf("■■■■■炸炸報楽空：魔法使い\n"_sj),
      testing::HundredCharacterRosterFile(),
      ConvertBySystem("CP932", "UTF-8", sample),
      WithCrLf("■■■■炸斬報霧楽空：格闘家\n■■■■■■斬X霧空：剣士\n"_sj),
      WithCrLf("■■■■炸斬報霧楽空：\n"_sj),
      WithCrLf("■■■■炸斬報霧楽空：格闘家\n■■■■炸斬報霧楽空剣士\n"_sj),
  };
  for (const std::string& sjis : rosters) {
    const TClickOutcome expected = ClickOn(sjis);
    const std::string crLf = ConvertBySystem("UTF-8", "CP932", sjis);
    std::string lf = crLf;
    std::erase(lf, '\r');
    const std::string bom = "\xEF\xBB\xBF";
    const std::pair<const char*, std::string> forms[] = {{"CR LF", crLf},
                                                         {"LF", lf},
                                                         {"byte-order mark, CR LF", bom + crLf},
                                                         {"byte-order mark, LF", bom + lf}};
    for (const auto& [form, utf8] : forms) {
      SCOPED_TRACE(testing::Readable(sjis.substr(0, 60)) + ", " + form);
      ExpectUtf8TwinOf(expected, utf8, ClickOn(utf8));
    }
  }
}

// Names with characters whose code reads back in another form, extension kanji and half-width
// katakana: the files show the forms the codes read as, and the rest as typed.
TEST(RunUtf8, NamesComeBackAsTheirCodesRead) {
  if (!testing::HasCp932Converter()) GTEST_SKIP() << testing::kNoCp932Converter;
  const std::string utf8 = WithCrLf(
      "■■■■炸斬報霧楽空：〜‖−¢£¬—\n"
      "■■■■■■斬イ霧空：髙﨑彅\n"
      "■■■■■炸炸報楽空：ﾊﾙｶ\n");
  const std::string sjis = WithCrLf(
      "■■■■炸斬報霧楽空：〜‖−¢£¬—\n"
      "■■■■■■斬イ霧空：髙﨑彅\n"
      "■■■■■炸炸報楽空：ﾊﾙｶ\n"_sj);
  const TClickOutcome got = ClickOn(utf8);
  ExpectUtf8TwinOf(ClickOn(sjis), utf8, got);
  EXPECT_NE(got.Report.find("01 ～∥－￠￡￢―：HP10／10"), std::string::npos) << got.Report;
  EXPECT_NE(got.Report.find("02 髙﨑彅        ：HP21／21"), std::string::npos) << got.Report;
  EXPECT_NE(got.Report.find("03 ﾊﾙｶ           ：HP15／15"), std::string::npos) << got.Report;
}

}  // namespace
}  // namespace pelmora
