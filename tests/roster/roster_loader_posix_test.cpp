// The roster loader on a POSIX system: a roster file that the user may not read.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "common/sjis_literal.h"
#include "roster/chara.h"
#include "roster/roster_loader.h"
#include "tests/support/message_recorder.h"
#include "tests/support/sjis_compare.h"
#include "tests/support/unprivileged.h"
#include "tests/support/work_dir.h"
#include "tests/support/system_can.h"

namespace pelmora {
namespace {

constexpr std::string_view kBrave = "■■■炸斬■霧楽イ空：勇者"_sj;

TEST(RosterFile, ThatTheUserMayNotRead) {
  if (!testing::CanStartChildProcesses()) GTEST_SKIP() << testing::kNoChildProcesses;
  testing::TScopedWorkDir dir;
  testing::WriteFileBytes(kRosterFileName, std::string(kBrave) + "\r\n" + std::string(kBrave) + "\r\n" +
                                               std::string(kBrave) + "\r\n");
  auto loadAsNobody = [] {
    return testing::RunAsNobody([] {
      testing::TMessageRecorder recorder;
      std::string outcome = LoadRoster() ? "loaded " : "failed ";
      outcome += std::to_string(RosterCount);
      for (const std::string& text : recorder.Texts()) outcome += " " + text;
      return outcome;
    });
  };
  // Readable for everyone first, so a failure below is the permission's.
  std::filesystem::permissions(kRosterFileName,
                               std::filesystem::perms::owner_read | std::filesystem::perms::others_read);
  EXPECT_EQ(loadAsNobody(), "loaded 3");
  std::filesystem::permissions(kRosterFileName, std::filesystem::perms::owner_read);
  RosterCount = 1;
  EXPECT_SJIS_EQ("failed 1 " + std::string(kRosterReadFailedMessage), loadAsNobody());
}

}  // namespace
}  // namespace pelmora
