// The two output files on every system: CR LF lines.
#include "tournament/output_files.h"

#include <gtest/gtest.h>

#include <string>

#include "roster/roster_loader.h"
#include "tests/support/message_recorder.h"
#include "tests/support/run_outcome.h"
#include "tests/support/work_dir.h"
#include "tests/tournament/hundred_roster.h"
#include "tournament/io_error.h"
#include "tournament/run.h"

namespace pelmora {
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

}  // namespace
}  // namespace pelmora
