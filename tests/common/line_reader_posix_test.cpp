// The line reader on a POSIX system: a file that the user may not read.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "common/line_reader.h"
#include "tests/support/unprivileged.h"
#include "tests/support/work_dir.h"
#include "tests/support/system_can.h"

namespace pelmora {
namespace {

using namespace std::string_literals;

constexpr std::size_t kTableSlots = 100;  // what the roster loader passes

TEST(LineReader, FileThatTheUserMayNotRead) {
  if (!testing::CanStartChildProcesses()) GTEST_SKIP() << testing::kNoChildProcesses;
  testing::TScopedWorkDir dir;
  testing::WriteFileBytes("open.txt", "a\r\nb\r\n");
  testing::WriteFileBytes("closed.txt", "a\r\nb\r\n");
  std::filesystem::permissions("open.txt",
                               std::filesystem::perms::owner_read | std::filesystem::perms::others_read);
  std::filesystem::permissions("closed.txt", std::filesystem::perms::owner_read);
  auto readAsNobody = [](const char* file) {
    return testing::RunAsNobody([file] {
      std::vector<std::string> slots(kTableSlots);
      int count = -1;
      bool ok = ReadLinesFile(file, slots, count);
      return (ok ? "read "s : "failed "s) + std::to_string(count);
    });
  };
  // The readable file shows that the child gets as far as the file.
  EXPECT_EQ(readAsNobody("open.txt"), "read 2");
  EXPECT_EQ(readAsNobody("closed.txt").substr(0, 7), "failed ");
}

}  // namespace
}  // namespace pelmora
