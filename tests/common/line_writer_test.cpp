// The line writer: padding a line by bytes, and lines of any length handed on whole and in order.
#include "common/line_writer.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <utility>
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
// mebibyte. A destination may still be taking the last blocks handed on while lines
// follow, so the writer must not build lines in any of them before then.
class TChunkRecorder final : public TLineWriter {
 public:
  std::vector<std::string> Chunks;
  int TouchedWhileTaken = 0;

 protected:
  void WriteOut(const char* bytes, std::size_t size, bool linesFollow) override {
    for (const auto& [chunk, taken] : beingTaken_) {
      if (std::string_view(taken, Chunks[chunk].size()) != Chunks[chunk]) ++TouchedWhileTaken;
    }
    Chunks.emplace_back(bytes, size);
    if (!linesFollow) {
      beingTaken_.clear();
      return;
    }
    beingTaken_.emplace_back(Chunks.size() - 1, bytes);
    if (beingTaken_.size() > kBlocksInFlight) beingTaken_.erase(beingTaken_.begin());
  }

 private:
  std::vector<std::pair<std::size_t, const char*>> beingTaken_;  // chunk number, bytes handed on
};

TEST(LineWriter, HandsOnWholeLinesOnly) {
  const std::string longLine(1536 * 1024, 'x');
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
  EXPECT_EQ(out.TouchedWhileTaken, 0) << "lines were built in a block the destination was still taking";
  EXPECT_TRUE(received == expected) << "the lines did not arrive whole and in order";
}

}  // namespace
}  // namespace pelmora
