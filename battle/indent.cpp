// Indentation of battle log lines.
#include "battle/indent.h"

#include "common/sjis_literal.h"

namespace pelmora {

namespace {

constexpr std::size_t kSpacesPerLevel = 2;

}  // namespace

TIndent ArrowIndent(std::int32_t depth) { return {depth, "＞"_sj}; }

TIndent DotIndent(std::int32_t depth) { return {depth, "・"_sj}; }

TLineWriter& operator<<(TLineWriter& out, TIndent indent) {
  if (indent.Depth > 1) out.Spaces(kSpacesPerLevel * static_cast<std::size_t>(indent.Depth - 1));
  return out << indent.Mark;
}

}  // namespace pelmora
