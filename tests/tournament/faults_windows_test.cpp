// Faults that stop a run on Windows: output files that another program holds or that are
// folders, a read-only report, a roster that cannot be read, and a disk that fills up. Every run
// is told in words (the error with Windows' own code, the boxes, where both files stand), and
// every fault is followed by a run without it that must go through.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <stdexcept>
#include <string>

#include "roster/roster_loader.h"
#include "tests/support/run_outcome.h"
#include "tests/support/sjis_compare.h"
#include "tests/support/three_characters.h"
#include "tests/support/work_dir.h"
#include "tests/tournament/hundred_roster.h"
#include "tournament/io_error.h"
#include "tournament/output_files.h"
#include "tournament/run.h"

namespace pelmora {
namespace {

namespace fs = std::filesystem;
using testing::CompleteRun;
using testing::DescribeRun;
using testing::Outcome;
using testing::ReadFileBytes;
using testing::WithCrLf;
using testing::WriteFileBytes;
using testing::WriteThreeCharacterRoster;

void PutRosterBack() {
  fs::remove_all(kRosterFileName);
  WriteThreeCharacterRoster();
}

void MakeFolder(const fs::path& name) {
  fs::remove(name);
  fs::create_directory(name);
}

// Another program's handle on a file, opened with its own access and share mode.
HANDLE Holder = INVALID_HANDLE_VALUE;

void Hold(const fs::path& name, DWORD access, DWORD sharing) {
  Holder =
      ::CreateFileW(name.c_str(), access, sharing, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (Holder == INVALID_HANDLE_VALUE)
    throw std::runtime_error("cannot hold the file: error " + std::to_string(::GetLastError()));
}

void Release() {
  ::CloseHandle(Holder);
  Holder = INVALID_HANDLE_VALUE;
}

// A writer that lets others read, as a run opens its own files.
void HoldForWriting(const char* name) { Hold(name, GENERIC_WRITE, FILE_SHARE_READ); }

// The first exception that a process throws leaves two handles of Wine's own open; one thrown and
// caught before the runs are counted keeps them out of the count.
void ThrowOnceBeforeCounting() {
  try {
    throw TIoError(ERROR_SHARING_VIOLATION);
  } catch (const TIoError&) {
  }
}

struct TFaultCase {
  const char* Name;
  void (*Make)();
  void (*Remove)();
  std::string Expected;
};

// A second writer meets the sharing violation (32) before anything is emptied, and a folder
// refuses to open for writing (5).
TEST(WindowsFaults, EachFaultStopsTheRunAndTheNextRunGoesThrough) {
  const TFaultCase cases[] = {
      {"report held by another writer", [] { HoldForWriting(kResultFileName); }, Release,
       Outcome("error 32: I/O error 32", {}, "untouched", "untouched")},
      {"battle log held by another writer", [] { HoldForWriting(kBattleLogFileName); }, Release,
       Outcome("error 32: I/O error 32", {}, "empty", "untouched")},
      {"report is a folder", [] { MakeFolder(kResultFileName); }, [] { fs::remove(kResultFileName); },
       Outcome("error 5: File access denied", {}, "a directory", "untouched")},
      {"battle log is a folder", [] { MakeFolder(kBattleLogFileName); },
       [] { fs::remove(kBattleLogFileName); },
       Outcome("error 5: File access denied", {}, "empty", "a directory")},
      // The roster of the first run is still in memory; nothing of it may reach the files.
      {"roster file deleted", [] { fs::remove(kRosterFileName); }, PutRosterBack,
       Outcome("no error", {kRosterReadFailedMessage}, "untouched", "untouched")},
      {"roster is a folder", [] { MakeFolder(kRosterFileName); }, PutRosterBack,
       Outcome("no error", {kRosterReadFailedMessage}, "untouched", "untouched")},
      {"roster held by a program that lets nobody else read it",
       [] { Hold(fs::path(kRosterFileName), GENERIC_READ, 0); }, Release,
       Outcome("no error", {kRosterReadFailedMessage}, "untouched", "untouched")},
  };
  ThrowOnceBeforeCounting();
  for (const TFaultCase& c : cases) {
    SCOPED_TRACE(c.Name);
    testing::TScopedWorkDir dir;
    EXPECT_EQ(c.Expected + "next run:\n" + CompleteRun(), testing::DescribeRunsAroundFault(c.Make, c.Remove));
  }
}

// Whether this process writes through a read-only file, as root does under Wine.
bool WritesThroughReadOnlyFiles() {
  const fs::path probe = "read-only probe";
  WriteFileBytes(probe, "");
  ::SetFileAttributesW(probe.c_str(), FILE_ATTRIBUTE_READONLY);
  HANDLE handle = ::CreateFileW(probe.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  bool opened = handle != INVALID_HANDLE_VALUE;
  if (opened) ::CloseHandle(handle);
  ::SetFileAttributesW(probe.c_str(), FILE_ATTRIBUTE_NORMAL);
  fs::remove(probe);
  return opened;
}

// A read-only report stops the run at the first open, before either file is touched. Only an
// unprivileged user meets it; CTest runs this case again as one (windows_read_only_report).
TEST(WindowsFaults, ReadOnlyReport) {
  testing::TScopedWorkDir dir;
  if (WritesThroughReadOnlyFiles()) GTEST_SKIP() << "this user writes through read-only files";
  ThrowOnceBeforeCounting();
  WriteThreeCharacterRoster();
  testing::TRunFiles complete = testing::UndisturbedRun();
  testing::PutEarlierFiles();
  const fs::path report = kResultFileName;
  ASSERT_TRUE(::SetFileAttributesW(report.c_str(), FILE_ATTRIBUTE_READONLY));
  EXPECT_EQ(Outcome("error 5: File access denied", {}, "untouched", "untouched"),
            DescribeRun(RunFromRosterFile, complete));
  ASSERT_TRUE(::SetFileAttributesW(report.c_str(), FILE_ATTRIBUTE_NORMAL));
  EXPECT_EQ(CompleteRun(), DescribeRun(RunFromRosterFile, complete)) << "next run";
}

// A file system of a megabyte that tests/support/small_disk.sh mounts for this program alone
// and names in PELMORA_SMALL_DISK; CTest runs these cases there (windows_small_disk) and they
// are skipped anywhere else.
std::optional<fs::path> SmallDisk() {
  const char* disk = std::getenv("PELMORA_SMALL_DISK");
  if (disk == nullptr) return std::nullopt;
  return fs::path(disk);
}

std::uint64_t FreeBytes() {
  ULARGE_INTEGER free{};
  if (!::GetDiskFreeSpaceExW(L".", &free, nullptr, nullptr))
    throw std::runtime_error("no free space known: error " + std::to_string(::GetLastError()));
  return free.QuadPart;
}

// While it lives, the working directory is the small disk, emptied on the way out.
class TOnSmallDisk {
 public:
  explicit TOnSmallDisk(const fs::path& disk) : previous_(fs::current_path()), disk_(disk) {
    fs::current_path(disk_);
  }
  ~TOnSmallDisk() {
    fs::current_path(previous_);
    for (const fs::directory_entry& entry : fs::directory_iterator(disk_)) fs::remove_all(entry.path());
  }
  TOnSmallDisk(const TOnSmallDisk&) = delete;
  TOnSmallDisk& operator=(const TOnSmallDisk&) = delete;

 private:
  fs::path previous_;
  fs::path disk_;
};

// The disk takes part of a block and refuses the rest with ERROR_DISK_FULL (112), which may end
// inside a line; the file keeps exactly the whole lines that fitted.
TEST(WindowsSmallDisk, RefusedWriteKeepsTheLastWholeLine) {
  std::optional<fs::path> disk = SmallDisk();
  if (!disk) GTEST_SKIP() << "no small disk here";
  const std::string line = "a line of forty bytes, line end included";
  constexpr std::size_t kLineBytes = 42;
  TOnSmallDisk onDisk(*disk);
  const std::uint64_t free = FreeBytes();
  ASSERT_NE(free % kLineBytes, 0u) << "the disk must end inside a line";
  std::string error = "no error";
  TOutputFile file;
  try {
    file.Open("out.txt");
    for (std::uint64_t k = 0; k < free / kLineBytes + 1000; ++k) {
      file << line;
      file.EndLine();
    }
    file.Close();
  } catch (const TIoError& thrown) {
    error = thrown.what();
  }
  file.Abandon();
  std::string lines;
  while (lines.size() < free / kLineBytes * kLineBytes) lines += line + "\r\n";
  std::string written = ReadFileBytes("out.txt");
  EXPECT_EQ(error + ", " + std::to_string(written.size()) + " bytes",
            "I/O error 112, " + std::to_string(lines.size()) + " bytes");
  EXPECT_TRUE(written == lines) << "the file is not the lines written";
}

// The log of a hundred characters fills the disk during the round robin; the log keeps its last
// whole line and the report, never written out, is empty.
TEST(WindowsSmallDisk, DiskThatFillsUpDuringTheRoundRobin) {
  std::optional<fs::path> disk = SmallDisk();
  if (!disk) GTEST_SKIP() << "no small disk here";
  ThrowOnceBeforeCounting();
  testing::TScopedWorkDir dir;
  WriteFileBytes(kRosterFileName, testing::HundredCharacterRosterFile());
  testing::TRunFiles complete = testing::UndisturbedRun();
  TOnSmallDisk onDisk(*disk);
  ASSERT_GT(complete.BattleLog.size(), 4 * FreeBytes());
  WriteFileBytes(kRosterFileName, testing::HundredCharacterRosterFile());
  testing::PutEarlierFiles();
  EXPECT_EQ(Outcome("error 112: I/O error 112", {}, "empty", "the first whole lines of the complete file"),
            DescribeRun(RunFromRosterFile, complete));
}

}  // namespace
}  // namespace pelmora
