// Faults that stop a run: output files that cannot be opened, written or closed, a roster file
// that cannot be read, no descriptor left and a disk that fills up. Every run is told in words
// (the error it stopped at, the boxes it showed, where both files stand), and every fault is
// followed by a run without it that must go through.
#include <fcntl.h>
#include <sched.h>
#include <sys/file.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <numeric>
#include <string>
#include <system_error>
#include <thread>

#include "common/random.h"
#include "common/sjis_literal.h"
#include "roster/chara.h"
#include "roster/roster_loader.h"
#include "tests/support/run_outcome.h"
#include "tests/support/sjis_compare.h"
#include "tests/support/three_characters.h"
#include "tests/support/unprivileged.h"
#include "tests/support/work_dir.h"
#include "tests/support/system_can.h"
#include "tests/tournament/hundred_roster.h"
#include "tournament/io_error.h"
#include "tournament/output_files.h"
#include "tournament/run.h"

namespace pelmora {
namespace {

// The system's code of a full disk, as the error box shows it (28 on Linux).
const std::string kDiskFull = "error " + std::to_string(ENOSPC) + ": I/O error " + std::to_string(ENOSPC);

namespace fs = std::filesystem;
using testing::CompleteRun;
using testing::DescribeRun;
using testing::Outcome;
using testing::ReadFileBytes;
using testing::WithCrLf;
using testing::WriteFileBytes;
using testing::WriteThreeCharacterRoster;

// A run that waits for something that never comes fails instead of hanging.
constexpr unsigned kSecondsBeforeGivingUp = 30;

void PutRosterBack() {
  fs::remove(kRosterFileName);
  WriteThreeCharacterRoster();
}

// Another writer's lock on a file, as a descriptor that holds it.
int LockHolder = -1;

void HoldLock(const char* name) {
  LockHolder = ::open(name, O_WRONLY | O_CLOEXEC);
  if (LockHolder < 0 || ::flock(LockHolder, LOCK_EX) != 0)
    throw std::system_error(errno, std::generic_category());
}

void ReleaseLock() { ::close(LockHolder); }

void MakeDirectory(const char* name) {
  fs::remove(name);
  fs::create_directory(name);
}

void MakeNamedPipe(const fs::path& name) {
  fs::remove(name);
  if (::mkfifo(name.c_str(), 0666) != 0) throw std::system_error(errno, std::generic_category());
}

void MakeLink(const fs::path& name, const char* target) {
  fs::remove(name);
  fs::create_symlink(target, name);
}

// Lowers the limit on open descriptors so that only room more files can open; returns the limit
// as it was.
rlimit LimitOpenFiles(int room) {
  // UndefinedBehaviorSanitizer checks an object's type through a pipe the first time it meets the
  // type, and with no descriptor to spare that check would fail; so the types that a stopped run
  // and its description meet are met before.
  TIoError(EMFILE).Code();
  testing::OpenDescriptorCount();
  rlimit saved{};
  int lowestFree = ::open("/dev/null", O_RDONLY | O_CLOEXEC);
  if (::getrlimit(RLIMIT_NOFILE, &saved) != 0 || lowestFree < 0)
    throw std::system_error(errno, std::generic_category());
  ::close(lowestFree);
  rlimit tight = saved;
  tight.rlim_cur = static_cast<rlim_t>(lowestFree + room);
  if (::setrlimit(RLIMIT_NOFILE, &tight) != 0) throw std::system_error(errno, std::generic_category());
  return saved;
}

rlimit SavedFileLimit;
void LeaveRoomForOneFile() { SavedFileLimit = LimitOpenFiles(1); }
void RestoreFileLimit() { ::setrlimit(RLIMIT_NOFILE, &SavedFileLimit); }

struct TFaultCase {
  const char* Name;
  bool AsNobody;  // a file mode, which only an unprivileged process meets
  void (*Make)();
  void (*Remove)();
  std::string Expected;
};

// Each case runs in a child of its own, so that a lock, a descriptor limit or a wait stays there;
// an unprivileged child works in a directory it owns.
TEST(Faults, EachFaultStopsTheRunAndTheNextRunGoesThrough) {
  if (!testing::CanStartChildProcesses()) GTEST_SKIP() << testing::kNoChildProcesses;
  const TFaultCase cases[] = {
      {"read-only report", true, [] { fs::permissions(kResultFileName, fs::perms::owner_read); },
       [] { fs::permissions(kResultFileName, fs::perms::owner_read | fs::perms::owner_write); },
       Outcome("error 13: File access denied", {}, "untouched", "untouched")},
      {"a working directory that takes no new file", true,
       [] {
         fs::remove(kResultFileName);
         fs::remove(kBattleLogFileName);
         fs::permissions(".", fs::perms::owner_read | fs::perms::owner_exec);
       },
       [] { fs::permissions(".", fs::perms::owner_all); },
       Outcome("error 13: File access denied", {}, "missing", "missing")},
      {"report locked by another writer", false, [] { HoldLock(kResultFileName); }, ReleaseLock,
       Outcome("error 11: I/O error 11", {}, "untouched", "untouched")},
      {"battle log locked by another writer", false, [] { HoldLock(kBattleLogFileName); }, ReleaseLock,
       Outcome("error 11: I/O error 11", {}, "empty", "untouched")},
      {"report is a directory", false, [] { MakeDirectory(kResultFileName); },
       [] { fs::remove(kResultFileName); },
       Outcome("error 21: I/O error 21", {}, "a directory", "untouched")},
      {"battle log is a directory", false, [] { MakeDirectory(kBattleLogFileName); },
       [] { fs::remove(kBattleLogFileName); }, Outcome("error 21: I/O error 21", {}, "empty", "a directory")},
      // Nothing waits for the pipe's other end.
      {"report is a named pipe", false, [] { MakeNamedPipe(kResultFileName); },
       [] { fs::remove(kResultFileName); }, Outcome("error 6: I/O error 6", {}, "a named pipe", "untouched")},
      {"no descriptor left for the battle log", false, LeaveRoomForOneFile, RestoreFileLimit,
       Outcome("error 24: Too many open files", {}, "empty", "untouched")},
      // Three characters' log fits the writer's buffer, so the full disk is met when the log is
      // closed, after the report has been closed complete.
      {"battle log on a full disk", false, [] { MakeLink(kBattleLogFileName, "/dev/full"); },
       [] { fs::remove(kBattleLogFileName); },
       Outcome(kDiskFull, {}, "complete", "a link to /dev/full")},
      // The roster of the first run is still in memory; nothing of it may reach the files.
      {"roster file deleted", false, [] { fs::remove(kRosterFileName); }, PutRosterBack,
       Outcome("no error", {kRosterReadFailedMessage}, "untouched", "untouched")},
      // A roster must be a regular file: neither waits for a writer nor reads without end.
      {"roster is a named pipe", false, [] { MakeNamedPipe(kRosterFileName); }, PutRosterBack,
       Outcome("no error", {kRosterReadFailedMessage}, "untouched", "untouched")},
      {"roster is a link to /dev/zero", false, [] { MakeLink(kRosterFileName, "/dev/zero"); }, PutRosterBack,
       Outcome("no error", {kRosterReadFailedMessage}, "untouched", "untouched")},
  };
  for (const TFaultCase& c : cases) {
    SCOPED_TRACE(c.Name);
    testing::TScopedWorkDir dir;
    auto body = [&] {
      ::alarm(kSecondsBeforeGivingUp);
      if (c.AsNobody) {
        fs::create_directory("unprivileged");
        fs::current_path("unprivileged");
      }
      return testing::DescribeRunsAroundFault(c.Make, c.Remove);
    };
    std::string seen = c.AsNobody ? testing::RunAsNobody(body) : testing::RunInChild(body);
    EXPECT_EQ(c.Expected + "next run:\n" + CompleteRun(), seen);
  }
}

// While it lives, the limit on open descriptors is the lowest free one, so that no file can open.
class TNoDescriptorLeft {
 public:
  TNoDescriptorLeft() : saved_(LimitOpenFiles(0)) {}
  ~TNoDescriptorLeft() { ::setrlimit(RLIMIT_NOFILE, &saved_); }
  TNoDescriptorLeft(const TNoDescriptorLeft&) = delete;
  TNoDescriptorLeft& operator=(const TNoDescriptorLeft&) = delete;

 private:
  rlimit saved_;
};

// Without a descriptor the roster file cannot be read; with the roster loaded before the limit
// came down, the report cannot be opened.
TEST(Faults, NoDescriptorLeft) {
  if (!testing::CanStartChildProcesses()) GTEST_SKIP() << testing::kNoChildProcesses;
  testing::TScopedWorkDir dir;
  WriteThreeCharacterRoster();
  testing::TRunFiles complete = testing::UndisturbedRun();
  testing::PutEarlierFiles();
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
    return text + DescribeRun(RunFromRosterFile, complete);
  });
  EXPECT_EQ("the run button:\n" + Outcome("no error", {kRosterReadFailedMessage}, "untouched", "untouched") +
                "the simulation after a load:\n" +
                Outcome("error 24: Too many open files", {}, "untouched", "untouched") +
                "the run button with the limit back:\n" + CompleteRun(),
            seen);
}

// A user's limit on processes counts threads too, so the system may give the run no thread to
// write behind it; the run then writes each block itself, and goes through. Only an unprivileged
// process meets the limit.
TEST(Faults, NoThreadLeftTheRunWritesItself) {
  if (!testing::CanStartChildProcesses()) GTEST_SKIP() << testing::kNoChildProcesses;
  testing::TScopedWorkDir dir;
  WriteFileBytes(kRosterFileName, testing::HundredCharacterRosterFile());
  testing::TRunFiles complete = testing::UndisturbedRun();
  std::string roster = ReadFileBytes(kRosterFileName);
  std::string seen = testing::RunAsNobody([&]() -> std::string {
    fs::create_directory("unprivileged");
    fs::current_path("unprivileged");
    WriteFileBytes(kRosterFileName, roster);
    rlimit noProcess{0, 0};
    ::setrlimit(RLIMIT_NPROC, &noProcess);
    try {
      std::thread([] {}).join();
      return "a thread started despite the limit";
    } catch (const std::system_error&) {
    }
    return DescribeRun(RunFromRosterFile, complete);
  });
  EXPECT_EQ(CompleteRun(), seen);
}

// The log of a hundred characters outgrows the writer's buffer long before the last match, so
// the full disk stops the round robin, and the report is never written.
TEST(Faults, FullDiskInTheRoundRobinStopsTheRunThere) {
  testing::TScopedWorkDir dir;
  WriteFileBytes(kRosterFileName, testing::HundredCharacterRosterFile());
  testing::TRunFiles complete = testing::UndisturbedRun();
  MakeLink(kBattleLogFileName, "/dev/full");
  EXPECT_EQ(Outcome(kDiskFull, {}, "empty", "a link to /dev/full"),
            DescribeRun(RunFromRosterFile, complete));
  std::int32_t wins = std::accumulate(Roster.begin(), Roster.begin() + RosterCount, 0,
                                      [](std::int32_t sum, const TChara& chara) { return sum + chara.Wins; });
  EXPECT_LT(wins, 100 * 99 / 2) << "every match was played";
}

// A small file system of its own for the working directory, in a mount namespace of a child:
// the child is root in it, or becomes root of a user namespace of its own. False where the
// machine allows neither.
bool MountSmallFileSystem(const fs::path& at, std::size_t bytes) {
  uid_t uid = ::getuid();
  gid_t gid = ::getgid();
  if (::unshare(CLONE_NEWNS) != 0) {
    if (::unshare(CLONE_NEWUSER | CLONE_NEWNS) != 0) return false;
    std::ofstream("/proc/self/setgroups") << "deny";
    std::ofstream("/proc/self/uid_map") << "0 " << uid << " 1";
    std::ofstream("/proc/self/gid_map") << "0 " << gid << " 1";
  }
  std::string options = "size=" + std::to_string(bytes);
  return ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0 &&
         ::mount("tmpfs", at.c_str(), "tmpfs", 0, options.c_str()) == 0;
}

// A disk that fills up during the round robin takes part of the log's last block and refuses the
// rest; the log keeps its last whole line and the report, never written out, is empty. Run on a
// real file system of a megabyte.
TEST(Faults, DiskThatFillsUpDuringTheRoundRobin) {
  if (!testing::CanStartChildProcesses()) GTEST_SKIP() << testing::kNoChildProcesses;
  constexpr std::size_t kDiskBytes = 1024 * 1024;
  testing::TScopedWorkDir dir;
  WriteFileBytes(kRosterFileName, testing::HundredCharacterRosterFile());
  testing::TRunFiles complete = testing::UndisturbedRun();
  ASSERT_GT(complete.BattleLog.size(), 4 * kDiskBytes);
  std::string roster = ReadFileBytes(kRosterFileName);

  std::string seen = testing::RunInChild([&]() -> std::string {
    fs::create_directory("disk");
    if (!MountSmallFileSystem(dir.Path() / "disk", kDiskBytes)) return "no file system can be mounted here";
    fs::current_path("disk");
    WriteFileBytes(kRosterFileName, roster);
    testing::PutEarlierFiles();
    return DescribeRun(RunFromRosterFile, complete);
  });
  if (seen == "no file system can be mounted here") GTEST_SKIP() << seen;
  EXPECT_EQ(Outcome(kDiskFull, {}, "empty", "the first whole lines of the complete file"),
            seen);
}

// A hundred lines of a megabyte each: k in three digits, then full- and half-width letters in turn
// up to the 999 characters a name keeps, then filler. Ten blasts and no stamina end every match at
// the first hit, so the battle log stays small.
struct THugeLine {
  std::string Kept;
  std::string Whole;
};

THugeLine HugeRosterLine(int k) {
  constexpr std::size_t kMegabyte = 1024 * 1024;
  std::string number = std::to_string(k);
  std::string kept = std::string("炸炸炸炸炸炸炸炸炸炸："_sj) + std::string(3 - number.size(), '0') + number;
  for (int pair = 0; pair < 498; ++pair) kept += "名x"_sj;
  std::string whole = kept;
  while (whole.size() < kMegabyte) whole += "長い名前の続き"_sj;
  return {kept, whole};
}

// Each line is read whole and each name cut to its 999 characters, so the run writes what the
// roster of the cut lines writes. A hundred and first line makes the file unreadable, and a last
// line without its colon makes it a bad roster; neither touches a file.
TEST(Faults, HundredLinesOfAMegabyteEach) {
  constexpr int kLines = 100;
  testing::TScopedWorkDir dir;
  std::string kept;
  std::string whole;
  for (int k = 0; k < kLines; ++k) {
    THugeLine line = HugeRosterLine(k);
    kept += line.Kept + "\r\n";
    whole += line.Whole + "\r\n";
  }
  std::size_t lastLineStart = whole.size() - HugeRosterLine(kLines - 1).Whole.size() - 2;
  WriteFileBytes(kRosterFileName, kept);
  testing::TRunFiles complete = testing::UndisturbedRun();

  testing::PutEarlierFiles();
  WriteFileBytes(kRosterFileName, whole);
  EXPECT_EQ(CompleteRun(), DescribeRun(RunFromRosterFile, complete)) << "the run of the whole lines";

  testing::PutEarlierFiles();
  std::ofstream(fs::path(kRosterFileName), std::ios::binary | std::ios::app) << HugeRosterLine(kLines).Whole;
  EXPECT_EQ(Outcome("no error", {kRosterReadFailedMessage}, "untouched", "untouched"),
            DescribeRun(RunFromRosterFile, complete))
      << "a hundred and first line";

  fs::resize_file(kRosterFileName, lastLineStart + std::string("炸炸炸炸炸炸炸炸炸炸"_sj).size());
  EXPECT_EQ(
      Outcome("no error", {"：じゃないエラー"_sj, "キャラクター解析エラー"_sj}, "untouched", "untouched"),
      DescribeRun(RunFromRosterFile, complete))
      << "a last line of the skill area alone";

  WriteFileBytes(kRosterFileName, whole);
  EXPECT_EQ(CompleteRun(), DescribeRun(RunFromRosterFile, complete)) << "the whole lines again";
}

}  // namespace
}  // namespace pelmora
