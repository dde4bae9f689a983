// The line reader: where lines end, what stays in them, and when a read fails.
#include "common/line_reader.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "tests/support/work_dir.h"

namespace pelmora {
namespace {

using namespace std::string_literals;

constexpr std::size_t kTableSlots = 100;   // what the roster loader passes
constexpr std::size_t kBlock = 64 * 1024;  // the reader's block size

struct TRead {
  bool Ok = false;
  int Count = -1;
  std::vector<std::string> Lines;
};

TRead ReadFile(const std::filesystem::path& file) {
  TRead read;
  std::vector<std::string> slots(kTableSlots);
  read.Ok = ReadLinesFile(file, slots, read.Count);
  if (read.Count >= 0) read.Lines.assign(slots.begin(), slots.begin() + read.Count);
  return read;
}

TRead ReadBytes(const std::string& bytes) {
  testing::WriteFileBytes("lines.txt", bytes);
  return ReadFile("lines.txt");
}

std::string ManyLines(int count) {
  std::string text;
  for (int i = 0; i < count; ++i) text += "line " + std::to_string(i) + "\r\n";
  return text;
}

TEST(LineReader, SplitsLinesAndKeepsTheirBytes) {
  struct TCase {
    const char* Name;
    std::string Bytes;
    std::vector<std::string> Lines;
  };
  const TCase cases[] = {
      {"CR LF between two lines", "a\r\nb", {"a", "b"}},
      {"a final line end adds no line", "a\r\n", {"a"}},
      {"LF alone ends a line", "a\n\nb", {"a", "", "b"}},
      {"a lone CR is dropped", "a\rb\r\n", {"ab"}},
      {"CR CR LF", "a\r\r\nb", {"a", "b"}},
      {"lone CR at the very end", "a\nb\r", {"a", "b"}},
      {"empty file", "", {}},
      {"Ctrl-Z starting the third line ends the file",
       "a\r\nb\r\n\x1A"
       "c\r\nd\r\n",
       {"a", "b"}},
      {"Ctrl-Z as the first byte",
       "\x1A"
       "a\r\n",
       {}},
      {"Ctrl-Z inside a line is text",
       "a\x1A"
       "b\r\nc",
       {"a\x1A"
        "b",
        "c"}},
      {"spaces are kept", "  a b  \r\n \r\n", {"  a b  ", " "}},
      {"a byte-order mark is part of the first line",
       "\xEF\xBB\xBF"
       "a\r\n",
       {"\xEF\xBB\xBF"
        "a"}},
      {"NUL and high bytes are kept", "a\0b\x81\r\n"s, {"a\0b\x81"s}},
  };
  testing::TScopedWorkDir dir;
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    TRead read = ReadBytes(c.Bytes);
    EXPECT_TRUE(read.Ok);
    EXPECT_EQ(read.Lines, c.Lines);
  }
}

TEST(LineReader, LineEndsAcrossReadBlocks) {
  const std::string x(kBlock - 1, 'x');
  struct TCase {
    const char* Name;
    std::string Bytes;
    std::vector<std::string> Lines;
  };
  const TCase cases[] = {
      {"CR last in a block, LF first in the next", x + "\r\ny", {x, "y"}},
      {"lone CR last in a block", x + "\ry", {x + "y"}},
      {"Ctrl-Z first in a block",
       x + "\n\x1A"
           "z",
       {x}},
      {"a file of exactly one block", x + "x", {x + "x"}},
  };
  testing::TScopedWorkDir dir;
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    TRead read = ReadBytes(c.Bytes);
    EXPECT_TRUE(read.Ok);
    ASSERT_EQ(read.Lines.size(), c.Lines.size());
    for (std::size_t i = 0; i < c.Lines.size(); ++i) EXPECT_TRUE(read.Lines[i] == c.Lines[i]) << "line " << i;
  }
}

TEST(LineReader, ReadsALongLineWhole) {
  std::string line;
  for (std::size_t i = 0; line.size() < 50'000'000; ++i) line += static_cast<char>('a' + i % 26);
  testing::TScopedWorkDir dir;
  TRead read = ReadBytes(line + "\r\nend");
  ASSERT_TRUE(read.Ok);
  ASSERT_EQ(read.Count, 2);
  EXPECT_EQ(read.Lines[0].size(), line.size());
  EXPECT_TRUE(read.Lines[0] == line);
  EXPECT_EQ(read.Lines[1], "end");
}

TEST(LineReader, TableOfOneHundredSlots) {
  struct TCase {
    const char* Name;
    std::string Bytes;
    bool Ok;
  };
  const TCase cases[] = {
      {"100 lines", ManyLines(100), true},
      {"100 lines, the last without a line end", ManyLines(99) + "last", true},
      {"100 lines and a Ctrl-Z",
       ManyLines(100) + "\x1A"
                        "more\r\n",
       true},
      {"101 lines", ManyLines(101), false},
      {"an empty 101st line", ManyLines(100) + "\r\n", false},
      {"an unterminated 101st line", ManyLines(100) + "x", false},
  };
  testing::TScopedWorkDir dir;
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    TRead read = ReadBytes(c.Bytes);
    EXPECT_EQ(read.Ok, c.Ok);
    // Also after a failure the lines read so far are in place.
    ASSERT_EQ(read.Count, 100);
    EXPECT_EQ(read.Lines[0], "line 0");
    EXPECT_EQ(read.Lines[98], "line 98");
  }
}

TEST(LineReader, FileThatCannotBeRead) {
  testing::TScopedWorkDir dir;
  std::vector<std::string> slots(kTableSlots);
  int count = 42;
  EXPECT_FALSE(ReadLinesFile("missing.txt", slots, count));
  EXPECT_EQ(count, 42);  // a file that was never opened leaves the count alone

  std::filesystem::create_directory("folder.txt");
  EXPECT_FALSE(ReadFile("folder.txt").Ok);
}

}  // namespace
}  // namespace pelmora
