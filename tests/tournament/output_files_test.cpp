// The two output files: the writers' lock, CR LF lines, and the faults that stop a run, each
// followed by a run that goes through once the fault is gone.
#include "tournament/output_files.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <numeric>
#include <sstream>

#include "common/sjis_literal.h"
#include "roster/chara.h"
#include "tests/support/message_recorder.h"
#include "tests/support/sjis_compare.h"
#include "tests/support/unprivileged.h"
#include "tests/support/work_dir.h"
#include "tests/tournament/hundred_roster.h"
#include "tests/tournament/output_state.h"
#include "tournament/io_error.h"
#include "tournament/run.h"

namespace pelmora {
namespace {

namespace fs = std::filesystem;
using testing::FileState;
using testing::LineEndFault;
using testing::OpenDescriptorCount;
using testing::ReadFileBytes;
using testing::WithCrLf;
using testing::WriteFileBytes;

constexpr std::string_view kEarlierReport = "what an earlier run left in the report\r\n";
constexpr std::string_view kEarlierLog = "what an earlier run left in the battle log\r\n";

std::string ThreeCharacterRosterFile() {
  return WithCrLf(R"(■■■■炸斬報霧楽空：格闘家
■■■■■■斬イ霧空：剣士
■■■■■炸炸報楽空：魔法使い
)"_sj);
}

TEST(OutputFile, OthersMayReadButNotWriteWhileItIsOpen) {
  testing::TScopedWorkDir dir;
  TOutputFile writer;
  writer.Open("out.txt");
  writer << "first";
  writer.EndLine();
  writer.Flush();
  EXPECT_EQ(ReadFileBytes("out.txt"), "first\r\n");

  TOutputFile second;
  try {
    second.Open("out.txt");
    ADD_FAILURE() << "a second writer opened the file";
  } catch (const TIoError& error) {
    EXPECT_EQ(error.Code(), EWOULDBLOCK);
    EXPECT_STREQ(error.what(), ("I/O error " + std::to_string(EWOULDBLOCK)).c_str());
  }
  EXPECT_FALSE(second.IsOpen());
  writer << "second";
  writer.EndLine();
  writer.Close();
  EXPECT_EQ(ReadFileBytes("out.txt"), "first\r\nsecond\r\n") << "the refused writer must not truncate it";
}

TEST(OutputFiles, EveryLineOfBothFilesEndsInCrLf) {
  testing::TScopedWorkDir dir;
  testing::TMessageRecorder messages;
  WriteFileBytes(testing::RosterFileName(), testing::HundredCharacterRosterFile());
  RunFromRosterFile();
  for (const char* name : {kResultFileName, kBattleLogFileName}) {
    std::string bytes = ReadFileBytes(name);
    EXPECT_FALSE(bytes.empty()) << name;
    EXPECT_EQ(LineEndFault(bytes), "") << name;
  }
}

// A descriptor that holds a file under another writer's lock while a run tries to open it.
int LockHolder = -1;

void HoldLock(const char* name) {
  LockHolder = ::open(name, O_WRONLY | O_CLOEXEC);
  ASSERT_GE(LockHolder, 0);
  ASSERT_EQ(::flock(LockHolder, LOCK_EX), 0);
}

void ReleaseLock() {
  ::close(LockHolder);
  LockHolder = -1;
}

// The limit on open descriptors that lets exactly one more file open.
rlimit SavedDescriptorLimit;

void LeaveRoomForOneFile() {
  ASSERT_EQ(::getrlimit(RLIMIT_NOFILE, &SavedDescriptorLimit), 0);
  int probe = ::open("/dev/null", O_RDONLY | O_CLOEXEC);  // the lowest free descriptor
  ASSERT_GE(probe, 0);
  ::close(probe);
  rlimit tight = SavedDescriptorLimit;
  tight.rlim_cur = static_cast<rlim_t>(probe) + 1;
  ASSERT_EQ(::setrlimit(RLIMIT_NOFILE, &tight), 0);
}

void MakeReportReadOnly() { fs::permissions(kResultFileName, fs::perms::owner_read); }
void MakeReportWritable() {
  fs::permissions(kResultFileName, fs::perms::owner_read | fs::perms::owner_write);
}
void LockReport() { HoldLock(kResultFileName); }
void LockBattleLog() { HoldLock(kBattleLogFileName); }
void RestoreDescriptorLimit() { ::setrlimit(RLIMIT_NOFILE, &SavedDescriptorLimit); }
void RemoveBattleLog() { fs::remove(kBattleLogFileName); }

void ReplaceBattleLogWithDirectory() {
  fs::remove(kBattleLogFileName);
  fs::create_directory(kBattleLogFileName);
}

// Three characters' log fits the writer's buffer, so the full disk is met when the log is
// closed, after the report has been closed complete.
void PutBattleLogOnFullDisk() {
  fs::remove(kBattleLogFileName);
  fs::create_symlink("/dev/full", kBattleLogFileName);
}

struct TFaultCase {
  const char* Name;
  bool AsNobody;  // the fault is a file mode, which only an unprivileged process meets
  void (*Make)();
  void (*Remove)();
  int Code;
  const char* Message;
  const char* ResultState;  // in the words of FileState
  const char* BattleLogState;
};

const TFaultCase kFaultCases[] = {
    {"read-only report", true, MakeReportReadOnly, MakeReportWritable, EACCES, "File access denied",
     "untouched", "untouched"},
    {"report locked by another writer", false, LockReport, ReleaseLock, EWOULDBLOCK, "I/O error 11",
     "untouched", "untouched"},
    {"battle log locked by another writer", false, LockBattleLog, ReleaseLock, EWOULDBLOCK, "I/O error 11",
     "empty", "untouched"},
    {"battle log is a directory", false, ReplaceBattleLogWithDirectory, RemoveBattleLog, EISDIR,
     "I/O error 21", "empty", "a directory"},
    {"no descriptor left for the battle log", false, LeaveRoomForOneFile, RestoreDescriptorLimit, EMFILE,
     "Too many open files", "empty", "untouched"},
    {"battle log on a full disk", false, PutBattleLogOnFullDisk, RemoveBattleLog, ENOSPC, "I/O error 28",
     "complete", "a link to /dev/full"},
};

// Runs the three-character roster undisturbed, then over an earlier run's files with the fault
// in place, then again without it, and tells in words what each run did.
std::string RunWithFault(const TFaultCase& fault) {
  testing::TMessageRecorder messages;
  WriteFileBytes(testing::RosterFileName(), ThreeCharacterRosterFile());
  RunFromRosterFile();
  std::string report = ReadFileBytes(kResultFileName);
  std::string log = ReadFileBytes(kBattleLogFileName);
  WriteFileBytes(kResultFileName, kEarlierReport);
  WriteFileBytes(kBattleLogFileName, kEarlierLog);

  fault.Make();
  messages.Clear();
  std::ptrdiff_t descriptors = OpenDescriptorCount();
  std::ostringstream seen;
  try {
    RunFromRosterFile();
    seen << "no error\n";
  } catch (const TIoError& error) {
    seen << "error " << error.Code() << ": " << error.what() << "\n";
  }
  seen << "closing messages: " << messages.Texts().size() << "\n"
       << "descriptors left open: " << OpenDescriptorCount() - descriptors << "\n"
       << "pelm_result.txt: " << FileState(kResultFileName, kEarlierReport, report) << "\n"
       << "pelm_battle.txt: " << FileState(kBattleLogFileName, kEarlierLog, log) << "\n";

  fault.Remove();
  messages.Clear();
  RunFromRosterFile();
  bool same = ReadFileBytes(kResultFileName) == report && ReadFileBytes(kBattleLogFileName) == log;
  seen << "next run: closing messages: " << messages.Texts().size() << ", "
       << (same ? "both files as undisturbed" : "files differ from an undisturbed run") << "\n";
  return seen.str();
}

TEST(OutputFiles, FaultStopsTheRunAndTheNextRunGoesThrough) {
  for (const TFaultCase& fault : kFaultCases) {
    SCOPED_TRACE(fault.Name);
    testing::TScopedWorkDir dir;
    std::ostringstream expected;
    expected << "error " << fault.Code << ": " << fault.Message << "\n"
             << "closing messages: 0\n"
             << "descriptors left open: 0\n"
             << "pelm_result.txt: " << fault.ResultState << "\n"
             << "pelm_battle.txt: " << fault.BattleLogState << "\n"
             << "next run: closing messages: 1, both files as undisturbed\n";
    std::string seen =
        fault.AsNobody ? testing::RunAsNobody([&] { return RunWithFault(fault); }) : RunWithFault(fault);
    EXPECT_EQ(expected.str(), seen);
  }
}

TEST(OutputFiles, FullDiskInTheRoundRobinStopsTheRunThere) {
  testing::TScopedWorkDir dir;
  testing::TMessageRecorder messages;
  WriteFileBytes(testing::RosterFileName(), testing::HundredCharacterRosterFile());
  fs::create_symlink("/dev/full", kBattleLogFileName);
  std::ptrdiff_t descriptors = OpenDescriptorCount();
  try {
    RunFromRosterFile();
    FAIL() << "the run went through";
  } catch (const TIoError& error) {
    EXPECT_EQ(error.Code(), ENOSPC);
    EXPECT_STREQ(error.what(), "I/O error 28");
  }
  EXPECT_EQ(messages.Texts().size(), 0u);
  EXPECT_EQ(OpenDescriptorCount(), descriptors);
  // The log of a hundred characters outgrows the writer's buffer long before the last match.
  std::int32_t wins = std::accumulate(Roster.begin(), Roster.begin() + RosterCount, 0,
                                      [](std::int32_t sum, const TChara& chara) { return sum + chara.Wins; });
  EXPECT_LT(wins, 100 * 99 / 2) << "every match was played";
  std::string stopped = ReadFileBytes(kResultFileName);

  fs::remove(kBattleLogFileName);
  RunFromRosterFile();
  ASSERT_EQ(messages.Texts().size(), 1u);
  std::string report = ReadFileBytes(kResultFileName);
  EXPECT_TRUE(report.starts_with(stopped)) << "the stopped run's report is not a beginning of the whole one";
  EXPECT_EQ(LineEndFault(stopped), "");
  EXPECT_EQ(stopped.find("勝敗表："_sj), std::string::npos) << "the table was written after the error";
}

}  // namespace
}  // namespace pelmora
