// The signature run: a hundred characters through the run button's command in a temporary
// directory, and both output files copied into the folder named by PELMORA_SIGNATURE_DIR.
// check_signature.cmake runs this program and compares the files' SHA-256 digests with the
// committed ones in signature.sha256, so that any change to what a run writes is deliberate.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "roster/roster_loader.h"
#include "tests/support/message_recorder.h"
#include "tests/support/work_dir.h"
#include "tests/tournament/hundred_roster.h"
#include "tournament/output_files.h"
#include "tournament/run.h"

namespace pelmora {
namespace {

TEST(Signature, HundredCharacterRun) {
  const char* named = std::getenv("PELMORA_SIGNATURE_DIR");
  ASSERT_NE(named, nullptr) << "PELMORA_SIGNATURE_DIR names no folder for the two files";
  // Taken before the working directory changes, so that a relative name means the caller's folder.
  std::filesystem::path outputDir = std::filesystem::absolute(named);
  testing::TScopedWorkDir dir;
  testing::TMessageRecorder messages;
  testing::WriteFileBytes(kRosterFileName, testing::HundredCharacterRosterFile());
  RunFromRosterFile();
  ASSERT_EQ(messages.Texts(), std::vector<std::string>{std::string(kClosingMessage)})
      << "the run did not finish";
  for (const char* name : {kResultFileName, kBattleLogFileName}) {
    std::filesystem::copy_file(name, outputDir / name, std::filesystem::copy_options::overwrite_existing);
  }
}

}  // namespace
}  // namespace pelmora
