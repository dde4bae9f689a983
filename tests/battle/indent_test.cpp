// The nesting prefixes of battle log lines.
#include "battle/indent.h"

#include <gtest/gtest.h>

#include "common/sjis_literal.h"
#include "tests/support/sjis_compare.h"
#include "tests/support/string_line_writer.h"

namespace pelmora {
namespace {

std::string Written(TIndent indent) {
  testing::TStringLineWriter out;
  out << indent;
  return out.Text();
}

struct TIndentCase {
  std::int32_t Depth;
  std::string_view Dot;
  std::string_view Arrow;
};

class IndentDepth : public ::testing::TestWithParam<TIndentCase> {};

TEST_P(IndentDepth, TwoSpacesPerLevelBelowTheFirstThenTheMark) {
  const TIndentCase& c = GetParam();
  EXPECT_SJIS_EQ(c.Dot, Written(DotIndent(c.Depth)));
  EXPECT_SJIS_EQ(c.Arrow, Written(ArrowIndent(c.Depth)));
}

INSTANTIATE_TEST_SUITE_P(Indent, IndentDepth,
                         ::testing::Values(TIndentCase{0, "・"_sj, "＞"_sj},  //
                                           TIndentCase{1, "・"_sj, "＞"_sj},
                                           TIndentCase{2, "  ・"_sj, "  ＞"_sj},
                                           TIndentCase{3, "    ・"_sj, "    ＞"_sj},
                                           TIndentCase{4, "      ・"_sj, "      ＞"_sj}));

}  // namespace
}  // namespace pelmora
