// Indentation of battle log lines.
#include "battle/indent.h"

#include "common/checked.h"
#include "common/sjis_literal.h"

namespace pelmora {

namespace {

constexpr std::int32_t kSpacesPerLevel = 2;

}  // namespace

TIndent ArrowIndent(std::int32_t depth) { return {depth, "＞"_sj}; }

TIndent DotIndent(std::int32_t depth) { return {depth, "・"_sj}; }

// The indentation starts its line, so padding the line pads the indentation.
TLineWriter& operator<<(TLineWriter& out, TIndent indent) {
  out.PadRight(CheckedMul(kSpacesPerLevel, indent.Depth - 1));
  return out << indent.Mark;
}

}  // namespace pelmora
