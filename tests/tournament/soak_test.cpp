// The soak run: a thousand runs of the sample roster in one process, as a window left open all day
// would make them. Every run writes the same files, leaves no descriptor open and keeps no memory.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "roster/roster_loader.h"
#include "tests/support/message_recorder.h"
#include "tests/support/process_usage.h"
#include "tests/support/run_outcome.h"
#include "tests/support/work_dir.h"
#include "tournament/output_files.h"
#include "tournament/run.h"

namespace pelmora {
namespace {

using testing::ReadFileBytes;

constexpr int kRuns = 1000;
#ifdef PELMORA_SANITIZED_BUILD
// The sanitizers' quarantine holds freed blocks back, so the resident set grows without a leak;
// their own leak check at exit stands in for the comparison.
constexpr bool kCompareResidentSet = false;
#else
constexpr bool kCompareResidentSet = true;
#endif
constexpr int kWarmUpRuns = 10;          // buffers and allocator pools have their size by then
constexpr long kRssGrowthBoundKb = 512;  // 990 runs that leak 600 bytes each exceed it

TEST(Soak, ThousandRunsOfTheSampleRoster) {
  testing::TScopedWorkDir dir;
  std::filesystem::copy_file(std::filesystem::path(PELMORA_EXAMPLE_ROSTER), kRosterFileName);
  testing::TMessageRecorder messages;
  RunFromRosterFile();
  ASSERT_EQ(messages.Texts(), std::vector<std::string>{std::string(kClosingMessage)});
  const std::string report = ReadFileBytes(kResultFileName);
  const std::string battleLog = ReadFileBytes(kBattleLogFileName);
  ASSERT_FALSE(battleLog.empty());
  const std::ptrdiff_t descriptors = testing::OpenDescriptorCount();

  long rssAfterWarmUp = 0;
  int differingRuns = 0;
  int runsWithoutClosingMessage = 0;
  int runsLeavingDescriptors = 0;
  for (int run = 2; run <= kRuns; ++run) {
    messages.Clear();
    RunFromRosterFile();
    if (messages.Texts() != std::vector<std::string>{std::string(kClosingMessage)})
      ++runsWithoutClosingMessage;
    if (ReadFileBytes(kResultFileName) != report || ReadFileBytes(kBattleLogFileName) != battleLog)
      ++differingRuns;
    if (testing::OpenDescriptorCount() != descriptors) ++runsLeavingDescriptors;
    if (run == kWarmUpRuns) rssAfterWarmUp = testing::ResidentKilobytes();
  }
  EXPECT_EQ(differingRuns, 0) << "runs whose files differ from the first run's";
  EXPECT_EQ(runsWithoutClosingMessage, 0);
  EXPECT_EQ(runsLeavingDescriptors, 0) << "runs after which more or fewer descriptors were open";
  if (kCompareResidentSet) {
    long growth = testing::ResidentKilobytes() - rssAfterWarmUp;
    EXPECT_LE(growth, kRssGrowthBoundKb)
        << "the resident set grew by " << growth << " kB from run " << kWarmUpRuns << " to run " << kRuns;
  }
}

}  // namespace
}  // namespace pelmora
