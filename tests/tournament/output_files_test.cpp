// The two output files on every system: CR LF lines, and readers but no second writer.
#include "tournament/output_files.h"

#include <gtest/gtest.h>

#include <string>

#include "roster/roster_loader.h"
#include "tests/support/message_recorder.h"
#include "tests/support/run_outcome.h"
#include "tests/support/work_dir.h"
#include "tests/support/system_can.h"
#include "tests/tournament/hundred_roster.h"
#include "tournament/io_error.h"
#include "tournament/run.h"

namespace pelmora {

// The system's code for a second writer, defined beside the system's own cases: the lock is held
// (POSIX) or the share mode refuses it (Windows, 32).
extern const int kSecondWriterCode;

namespace {

using testing::LineEndFault;
using testing::ReadFileBytes;
using testing::WriteFileBytes;

TEST(OutputFiles, EveryLineOfBothFilesEndsInCrLf) {
  testing::TScopedWorkDir dir;
  testing::TMessageRecorder messages;
  WriteFileBytes(kRosterFileName, testing::HundredCharacterRosterFile());
  RunFromRosterFile();
  for (const char* name : {kResultFileName, kBattleLogFileName}) {
    std::string bytes = ReadFileBytes(name);
    EXPECT_FALSE(bytes.empty()) << name;
    EXPECT_EQ(LineEndFault(bytes), "") << name;
  }
}

TEST(OutputFile, OthersMayReadButNotWriteWhileItIsOpen) {
  if (!testing::LocksOutSecondWriter()) GTEST_SKIP() << testing::kNoWriterLocks;
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
    EXPECT_EQ(error.Code(), kSecondWriterCode);
    EXPECT_STREQ(error.what(), ("I/O error " + std::to_string(kSecondWriterCode)).c_str());
  }
  EXPECT_FALSE(second.IsOpen());
  writer << "second";
  writer.EndLine();
  writer.Close();
  EXPECT_EQ(ReadFileBytes("out.txt"), "first\r\nsecond\r\n") << "the refused writer must not truncate it";
}

}  // namespace
}  // namespace pelmora
