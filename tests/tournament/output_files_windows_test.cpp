// The output files on Windows: readers are let in while a run writes, a second writer is not.
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

}  // namespace
}  // namespace pelmora
