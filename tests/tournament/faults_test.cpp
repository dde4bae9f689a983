// Faults around a whole run beyond those of the output files' own tests: a working directory that
// takes no new file, a report that is a directory, no descriptor left at all, a roster file that
// goes away between two runs and a roster of a hundred lines of a megabyte each. Every run is told
// in words (the error it stopped at, the boxes it showed, where both files stand), and every fault
// is followed by a run without it that must go through.
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <system_error>
#include <vector>

#include "common/message_box.h"
#include "common/random.h"
#include "common/sjis_literal.h"
#include "roster/roster_loader.h"
#include "tests/support/message_recorder.h"
#include "tests/support/sjis_compare.h"
#include "tests/support/unprivileged.h"
#include "tests/support/work_dir.h"
#include "tests/tournament/output_state.h"
#include "tournament/io_error.h"
#include "tournament/output_files.h"
#include "tournament/run.h"

namespace pelmora {
namespace {

namespace fs = std::filesystem;
using testing::ReadFileBytes;
using testing::RosterFileName;
using testing::WriteFileBytes;

constexpr std::string_view kThreeCharacterRoster = R"(■■■■炸斬報霧楽空：格闘家
■■■■■■斬イ霧空：剣士
■■■■■炸炸報楽空：魔法使い
)"_sj;

struct TRunFiles {
  std::string Report;
  std::string BattleLog;
};

const TRunFiles kEarlierFiles = {"what an earlier run left in the report\r\n",
                                 "what an earlier run left in the battle log\r\n"};

void PutEarlierFiles() {
  WriteFileBytes(kResultFileName, kEarlierFiles.Report);
  WriteFileBytes(kBattleLogFileName, kEarlierFiles.BattleLog);
}

// The files that an undisturbed run of the working directory's roster writes, left in place.
TRunFiles UndisturbedRun() {
  testing::TMessageRecorder messages;
  RunFromRosterFile();
  EXPECT_EQ(messages.Texts().size(), 1u) << "the undisturbed run did not finish";
  return {ReadFileBytes(kResultFileName), ReadFileBytes(kBattleLogFileName)};
}

// Runs and tells what happened, the boxes' texts as UTF-8; both files are compared with the earlier
// files and with the complete ones.
std::string DescribeRun(const std::function<void()>& run, const TRunFiles& complete) {
  testing::TMessageRecorder messages;
  std::ptrdiff_t descriptors = testing::OpenDescriptorCount();
  std::ostringstream seen;
  try {
    run();
    seen << "no error\n";
  } catch (const TIoError& error) {
    seen << "error " << error.Code() << ": " << error.what() << "\n";
  }
  seen << "messages:";
  for (const std::string& text : messages.Texts()) seen << " " << Cp932ToUtf8ForTerminal(text);
  seen << "\ndescriptors left open: " << testing::OpenDescriptorCount() - descriptors << "\n"
       << "pelm_result.txt: " << testing::FileState(kResultFileName, kEarlierFiles.Report, complete.Report)
       << "\n"
       << "pelm_battle.txt: "
       << testing::FileState(kBattleLogFileName, kEarlierFiles.BattleLog, complete.BattleLog) << "\n";
  return seen.str();
}

std::string Outcome(std::string_view error, std::string_view messages, std::string_view report,
                    std::string_view battleLog) {
  std::ostringstream text;
  text << error << "\nmessages:" << messages << "\ndescriptors left open: 0\n"
       << "pelm_result.txt: " << report << "\npelm_battle.txt: " << battleLog << "\n";
  return text.str();
}

const std::string kCompleteRun = Outcome(
    "no error", " 「pelm_result.txt」および「pelm_battle.txt」を出力しました。", "complete", "complete");

void RunButton() { RunFromRosterFile(); }

TEST(Faults, WorkingDirectoryThatTakesNoNewFile) {
  testing::TScopedWorkDir dir;
  WriteFileBytes(RosterFileName(), testing::WithCrLf(kThreeCharacterRoster));
  fs::permissions(RosterFileName(), fs::perms::owner_read | fs::perms::owner_write | fs::perms::others_read);
  TRunFiles complete = UndisturbedRun();
  fs::remove(kResultFileName);
  fs::remove(kBattleLogFileName);
  auto runAsNobody = [&] { return testing::RunAsNobody([&] { return DescribeRun(RunButton, complete); }); };

  fs::permissions(dir.Path(), fs::perms::owner_all | fs::perms::others_read | fs::perms::others_exec);
  EXPECT_EQ(Outcome("error 13: File access denied", "", "missing", "missing"), runAsNobody());

  fs::permissions(dir.Path(), fs::perms::all);
  EXPECT_EQ(kCompleteRun, runAsNobody());
}

TEST(Faults, ReportThatIsADirectory) {
  testing::TScopedWorkDir dir;
  WriteFileBytes(RosterFileName(), testing::WithCrLf(kThreeCharacterRoster));
  TRunFiles complete = UndisturbedRun();
  PutEarlierFiles();
  fs::remove(kResultFileName);
  fs::create_directory(kResultFileName);
  EXPECT_EQ(Outcome("error 21: I/O error 21", "", "a directory", "untouched"),
            DescribeRun(RunButton, complete));

  fs::remove(kResultFileName);
  EXPECT_EQ(kCompleteRun, DescribeRun(RunButton, complete));
}

// A named pipe or an endless device in a file's place must not freeze the run, and with it the
// window: nothing waits for the pipe's other end, and a roster must be a regular file. Each run
// is made in a child with an alarm, so that a run that does wait fails instead of hanging.
TEST(Faults, NamedPipesAndDevicesDoNotFreezeTheRun) {
  testing::TScopedWorkDir dir;
  WriteFileBytes(RosterFileName(), testing::WithCrLf(kThreeCharacterRoster));
  TRunFiles complete = UndisturbedRun();
  constexpr unsigned kSecondsBeforeGivingUp = 10;
  auto runInChild = [&] {
    return testing::RunInChild([&] {
      ::alarm(kSecondsBeforeGivingUp);
      return DescribeRun(RunButton, complete);
    });
  };

  PutEarlierFiles();
  fs::remove(kResultFileName);
  ASSERT_EQ(::mkfifo(kResultFileName, 0666), 0);
  EXPECT_EQ(Outcome("error 6: I/O error 6", "", "a named pipe", "untouched"), runInChild());
  fs::remove(kResultFileName);

  const std::string kReadFailure = " キャラクター.txt読み込み失敗";
  fs::rename(RosterFileName(), "roster.saved");
  ASSERT_EQ(::mkfifo(RosterFileName().c_str(), 0666), 0);
  PutEarlierFiles();
  EXPECT_EQ(Outcome("no error", kReadFailure, "untouched", "untouched"), runInChild());
  fs::remove(RosterFileName());
  fs::create_symlink("/dev/zero", RosterFileName());
  EXPECT_EQ(Outcome("no error", kReadFailure, "untouched", "untouched"), runInChild());

  fs::remove(RosterFileName());
  fs::rename("roster.saved", RosterFileName());
  EXPECT_EQ(kCompleteRun, DescribeRun(RunButton, complete));
}

// While it lives, the limit on open descriptors is the lowest free one, so that no file can open.
class TNoDescriptorLeft {
 public:
  TNoDescriptorLeft() {
    // UndefinedBehaviorSanitizer checks an object's type through a pipe the first time it meets the
    // type, and with no descriptor left that check would fail; so it meets the error type before.
    TIoError(EMFILE).Code();
    if (::getrlimit(RLIMIT_NOFILE, &saved_) != 0) throw std::system_error(errno, std::generic_category());
    int lowestFree = ::open("/dev/null", O_RDONLY | O_CLOEXEC);
    if (lowestFree < 0) throw std::system_error(errno, std::generic_category());
    ::close(lowestFree);
    rlimit tight = saved_;
    tight.rlim_cur = static_cast<rlim_t>(lowestFree);
    if (::setrlimit(RLIMIT_NOFILE, &tight) != 0) throw std::system_error(errno, std::generic_category());
  }
  ~TNoDescriptorLeft() { ::setrlimit(RLIMIT_NOFILE, &saved_); }
  TNoDescriptorLeft(const TNoDescriptorLeft&) = delete;
  TNoDescriptorLeft& operator=(const TNoDescriptorLeft&) = delete;

 private:
  rlimit saved_{};
};

// The limit is lowered in a child, where nothing else of the test needs a descriptor meanwhile.
// Without a descriptor the roster file cannot be read; with the roster loaded before the limit
// came down, the report cannot be opened.
TEST(Faults, NoDescriptorLeft) {
  testing::TScopedWorkDir dir;
  WriteFileBytes(RosterFileName(), testing::WithCrLf(kThreeCharacterRoster));
  TRunFiles complete = UndisturbedRun();
  PutEarlierFiles();
  std::string seen = testing::RunInChild([&] {
    std::string text = "the run button:\n";
    text += DescribeRun(
        [] {
          TNoDescriptorLeft noDescriptor;
          RunFromRosterFile();
        },
        complete);
    text += "the simulation after a load:\n";
    text += DescribeRun(
        [] {
          RandSeed = kRunSeed;
          if (!LoadRoster()) return;
          TNoDescriptorLeft noDescriptor;
          RunSimulation();
        },
        complete);
    text += "the run button with the limit back:\n";
    return text + DescribeRun(RunButton, complete);
  });
  EXPECT_EQ("the run button:\n" +
                Outcome("no error", " キャラクター.txt読み込み失敗", "untouched", "untouched") +
                "the simulation after a load:\n" +
                Outcome("error 24: Too many open files", "", "untouched", "untouched") +
                "the run button with the limit back:\n" + kCompleteRun,
            seen);
}

// The roster of the first run is still in memory when the second finds no file; nothing of it
// may reach the files.
TEST(Faults, RosterFileDeletedBetweenTwoRuns) {
  testing::TScopedWorkDir dir;
  WriteFileBytes(RosterFileName(), testing::WithCrLf(kThreeCharacterRoster));
  TRunFiles complete = UndisturbedRun();
  PutEarlierFiles();
  fs::remove(RosterFileName());
  EXPECT_EQ(Outcome("no error", " キャラクター.txt読み込み失敗", "untouched", "untouched"),
            DescribeRun(RunButton, complete));

  WriteFileBytes(RosterFileName(), testing::WithCrLf(kThreeCharacterRoster));
  EXPECT_EQ(kCompleteRun, DescribeRun(RunButton, complete));
}

constexpr std::size_t kMegabyte = 1024 * 1024;
constexpr int kHugeRosterLines = 100;

// Line k of the huge roster: ten blasts and no stamina, so that every match ends at the first hit
// and the battle log stays small, the colon, and a name of which a character keeps the first 999
// characters: k in three digits, then full- and half-width letters in turn. Filler follows them
// until the line is a megabyte long.
struct THugeLine {
  std::string Kept;
  std::string Whole;
};

THugeLine HugeRosterLine(int k) {
  std::string number = std::to_string(k);
  std::string kept = std::string("炸炸炸炸炸炸炸炸炸炸："_sj) + std::string(3 - number.size(), '0') + number;
  for (int pair = 0; pair < 498; ++pair) kept += "名x"_sj;
  std::string whole = kept;
  while (whole.size() < kMegabyte) whole += "長い名前の続き"_sj;
  return {kept, whole};
}

// A megabyte for each of a hundred lines is read whole, and each name is cut to its 999 characters,
// so the run writes what the roster of the cut lines writes. A hundred and first line makes the
// file unreadable, and a last line without its colon makes it a bad roster; neither touches a file.
TEST(Faults, HundredLinesOfAMegabyteEach) {
  testing::TScopedWorkDir dir;
  std::string kept;
  std::string whole;
  for (int k = 0; k < kHugeRosterLines; ++k) {
    THugeLine line = HugeRosterLine(k);
    kept += line.Kept + "\r\n";
    whole += line.Whole + "\r\n";
  }
  std::size_t lastLineStart = whole.size() - HugeRosterLine(kHugeRosterLines - 1).Whole.size() - 2;
  WriteFileBytes(RosterFileName(), kept);
  TRunFiles complete = UndisturbedRun();

  PutEarlierFiles();
  WriteFileBytes(RosterFileName(), whole);
  EXPECT_EQ(kCompleteRun, DescribeRun(RunButton, complete)) << "the run of the whole lines";

  PutEarlierFiles();
  std::ofstream(RosterFileName(), std::ios::binary | std::ios::app) << HugeRosterLine(kHugeRosterLines).Whole;
  EXPECT_EQ(Outcome("no error", " キャラクター.txt読み込み失敗", "untouched", "untouched"),
            DescribeRun(RunButton, complete))
      << "a hundred and first line";

  fs::resize_file(RosterFileName(), lastLineStart + std::string("炸炸炸炸炸炸炸炸炸炸"_sj).size());
  EXPECT_EQ(Outcome("no error", " ：じゃないエラー キャラクター解析エラー", "untouched", "untouched"),
            DescribeRun(RunButton, complete))
      << "a last line of the skill area alone";

  WriteFileBytes(RosterFileName(), whole);
  EXPECT_EQ(kCompleteRun, DescribeRun(RunButton, complete)) << "the whole lines again";
}

}  // namespace
}  // namespace pelmora
