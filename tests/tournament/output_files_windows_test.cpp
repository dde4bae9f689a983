// The output files on Windows: the code a second writer meets, and a file that cannot be opened
// fails with Windows' own code and its message.
#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "tests/support/work_dir.h"
#include "tournament/io_error.h"
#include "tournament/output_files.h"

namespace pelmora {

extern const int kSecondWriterCode;
const int kSecondWriterCode = ERROR_SHARING_VIOLATION;  // 32

namespace {

// Windows' codes have messages of their own: the four that have words, and any other as a number.
TEST(OutputFile, OpenFailsWithWindowsCodeAndMessage) {
  struct TCase {
    const char* Name;
    const char* File;
    std::string Expected;
  };
  const TCase cases[] = {
      {"a folder that does not exist", "no such folder/out.txt", "3: Invalid filename"},
      {"the working folder itself", ".", "5: File access denied"},
      {"a character that no Windows name may hold", "out?.txt", "123: I/O error 123"},
  };
  testing::TScopedWorkDir dir;
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    TOutputFile file;
    std::string seen = "opened";
    try {
      file.Open(c.File);
    } catch (const TIoError& error) {
      seen = std::to_string(error.Code()) + ": " + error.what();
    }
    EXPECT_EQ(seen, c.Expected);
    EXPECT_FALSE(file.IsOpen());
  }
  // Codes that no open here can meet; on Linux 4 would be an interrupted call, not a full table.
  EXPECT_EQ(IoErrorMessage(ERROR_FILE_NOT_FOUND), "File not found");
  EXPECT_EQ(IoErrorMessage(ERROR_TOO_MANY_OPEN_FILES), "Too many open files");
  EXPECT_EQ(IoErrorMessage(ERROR_DISK_FULL), "I/O error 112");
}

}  // namespace
}  // namespace pelmora
