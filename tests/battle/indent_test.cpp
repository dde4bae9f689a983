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

TEST(Indent, TwoSpacesPerLevelBelowTheFirstThenTheMark) {
  struct TCase {
    const char* Name;
    std::int32_t Depth;
    std::string_view Dot;
    std::string_view Arrow;
  };
  const TCase cases[] = {
      {"depth 0 writes as the first level", 0, "・"_sj, "＞"_sj},
      {"first level", 1, "・"_sj, "＞"_sj},
      {"second level", 2, "  ・"_sj, "  ＞"_sj},
      {"third level", 3, "    ・"_sj, "    ＞"_sj},
      {"fourth level", 4, "      ・"_sj, "      ＞"_sj},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    EXPECT_SJIS_EQ(c.Dot, Written(DotIndent(c.Depth)));
    EXPECT_SJIS_EQ(c.Arrow, Written(ArrowIndent(c.Depth)));
  }
}

}  // namespace
}  // namespace pelmora
