// The line writer: padding a line by bytes, and lines of any length handed on whole and in order.
#include "common/line_writer.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

#include "common/sjis_literal.h"
#include "tests/support/string_line_writer.h"

namespace pelmora {
namespace {

TEST(LineWriter, PadRightCountsTheLineInBytesAndNeverCuts) {
  testing::TStringLineWriter out;
  out << "ab";
  out.PadRight(5);
  out.EndLine();
  out << "abcdef";
  out.PadRight(3);
  out.EndLine();
  out << "勇者"_sj;
  out.PadRight(6);
  EXPECT_EQ(out.LineLength(), 6);
  out.EndLine();
  out << "x";
  out.PadRight(0);
  out.PadRight(-4);
  out.EndLine();
  out.PadRight(70);
  EXPECT_EQ(out.Text(),
            "ab   \r\nabcdef\r\n" + std::string("勇者"_sj) + "  \r\nx\r\n" + std::string(70, ' '));
}

// The destination sees only whole lines, however long a line is; the writer's buffer is a
// quarter of a megabyte.
class TChunkRecorder final : public TLineWriter {
 public:
  std::vector<std::string> Chunks;

 protected:
  void WriteOut(const char* bytes, std::size_t size) override { Chunks.emplace_back(bytes, size); }
};

TEST(LineWriter, HandsOnWholeLinesOnly) {
  const std::string longLine(600 * 1024, 'x');
  TChunkRecorder out;
  std::string expected;
  for (int k = 0; k < 100000; ++k) {
    std::string line = k == 50000 ? longLine : "line " + std::to_string(k);
    out << line;
    out.EndLine();
    expected += line + "\r\n";
  }
  out.Flush();
  std::string received;
  for (const std::string& chunk : out.Chunks) {
    EXPECT_TRUE(chunk.ends_with("\r\n")) << "a chunk of " << chunk.size() << " bytes ends inside a line";
    received += chunk;
  }
  EXPECT_GT(out.Chunks.size(), 1u);
  EXPECT_TRUE(received == expected) << "the lines did not arrive whole and in order";
}

}  // namespace
}  // namespace pelmora
