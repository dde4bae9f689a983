// The output files on a POSIX system: the code a second writer meets, and a write that the
// system takes only part of.
#include <signal.h>
#include <sys/resource.h>

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <string>

#include "tests/support/run_outcome.h"
#include "tests/support/system_can.h"
#include "tests/support/unprivileged.h"
#include "tests/support/work_dir.h"
#include "tournament/io_error.h"
#include "tournament/output_files.h"

namespace pelmora {

extern const int kSecondWriterCode;
const int kSecondWriterCode = EWOULDBLOCK;  // the writers' lock is taken without waiting

namespace {

using testing::ReadFileBytes;

// A file size limit makes the system take part of a write and refuse the rest, as a disk that
// fills up does. Wherever the limit falls, inside a line, on a line's end or inside the line
// feed, the file keeps exactly the whole lines before it and the error is the system's, whether
// the run writes the file itself (Shift_JIS) or the system takes it behind the run (UTF-8; the
// lines are ASCII, the same in both).
TEST(OutputFile, RefusedWriteLeavesTheLastWholeLine) {
  if (!testing::CanStartChildProcesses()) GTEST_SKIP() << testing::kNoChildProcesses;
  const std::string line = "a line of forty bytes, line end included";
  ASSERT_EQ(line.size() + 2, 42u);
  struct TCase {
    const char* Name;
    std::size_t Limit;
  };
  const TCase cases[] = {
      {"inside a line of the first block", 100'000},
      {"inside a line of the second block", 1'100'000},
      {"on a line's end", 42 * 2000},
      {"between CR and LF", 42 * 2000 - 1},
      {"inside the first line", 41},
      {"before the first byte", 0},
  };
  for (TTextEncoding encoding : {TTextEncoding::ShiftJis, TTextEncoding::Utf8})
    for (const TCase& c : cases) {
      SCOPED_TRACE(std::string(c.Name) + (encoding == TTextEncoding::Utf8 ? ", UTF-8" : ", Shift_JIS"));
      const std::size_t limit = c.Limit;
      testing::TScopedWorkDir dir;
      std::string seen = testing::RunInChild([&] {
        ::signal(SIGXFSZ, SIG_IGN);
        rlimit fileSize{limit, limit};
        ::setrlimit(RLIMIT_FSIZE, &fileSize);
        std::string error = "no error";
        TOutputFile file;
        try {
          file.Open("out.txt", encoding);
          for (int k = 0; k < 30'000; ++k) {  // 1.26 megabytes: more than a block
            file << line;
            file.EndLine();
          }
          file.Close();
        } catch (const TIoError& thrown) {
          error = thrown.what();
        }
        return error + ", " + std::to_string(ReadFileBytes("out.txt").size()) + " bytes";
      });
      std::size_t wholeLines = limit / 42 * 42;
      EXPECT_EQ("I/O error " + std::to_string(EFBIG) + ", " + std::to_string(wholeLines) + " bytes", seen);
      std::string lines;
      while (lines.size() < wholeLines) lines += line + "\r\n";
      EXPECT_TRUE(ReadFileBytes(dir.Path() / "out.txt") == lines) << "the file is not the lines written";
    }
}

// The system takes a UTF-8 file's block while the next lines are built, so a refusal comes out
// of a later call, and may come out of the other file's. It must come out: here the report has nothing
// left to write when the log's block behind it is refused, and closing the report reports it.
TEST(OutputFile, ARefusalBehindTheRunReachesTheNextCloseOfEitherFile) {
  testing::TScopedWorkDir dir;
  std::filesystem::create_symlink("/dev/full", "log.txt");
  TOutputFile report;
  TOutputFile log;
  report.Open("report.txt", TTextEncoding::Utf8);
  log.Open("log.txt", TTextEncoding::Utf8);
  std::string error = "no error";
  try {
    for (int k = 0; k < 30'000; ++k) {  // 1.2 megabytes: more than a block
      log << "a line of forty bytes, line end included";
      log.EndLine();
    }
    report.Close();
  } catch (const TIoError& thrown) {
    error = thrown.what();
  }
  log.Abandon();
  EXPECT_EQ(error, "I/O error " + std::to_string(ENOSPC));
}

}  // namespace
}  // namespace pelmora
