// The output files on Windows: readers are let in while a run writes, a second writer is not, and
// a file that cannot be opened fails with Windows' own code and its message.
#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "tests/support/work_dir.h"
#include "tournament/io_error.h"
#include "tournament/output_files.h"

namespace pelmora {
namespace {

using testing::ReadFileBytes;

// What another program reads of the file while the writer holds it; it must let others write,
// as the writer is there first.
std::string ReadAsAnotherProgram(const std::filesystem::path& name) {
  HANDLE handle = ::CreateFileW(name.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return "cannot open: error " + std::to_string(::GetLastError());
  char bytes[256];
  DWORD got = 0;
  BOOL read = ::ReadFile(handle, bytes, sizeof bytes, &got, nullptr);
  ::CloseHandle(handle);
  return read ? std::string(bytes, got) : "cannot read: error " + std::to_string(::GetLastError());
}

TEST(OutputFile, OthersMayReadButNotWriteWhileItIsOpen) {
  testing::TScopedWorkDir dir;
  TOutputFile writer;
  writer.Open("out.txt");
  writer << "first";
  writer.EndLine();
  writer.Flush();
  EXPECT_EQ(ReadAsAnotherProgram("out.txt"), "first\r\n");

  TOutputFile second;
  try {
    second.Open("out.txt");
    ADD_FAILURE() << "a second writer opened the file";
  } catch (const TIoError& error) {
    EXPECT_EQ(error.Code(), ERROR_SHARING_VIOLATION);
    EXPECT_STREQ(error.what(), "I/O error 32");
  }
  EXPECT_FALSE(second.IsOpen());
  writer << "second";
  writer.EndLine();
  writer.Close();
  EXPECT_EQ(ReadFileBytes("out.txt"), "first\r\nsecond\r\n") << "the refused writer must not truncate it";
}

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
