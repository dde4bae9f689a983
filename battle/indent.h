// The prefixes that show in the battle log how one action caused another: two half-width spaces
// per level below the first, then "・" for an action or "＞" for a result.
#pragma once

#include <cstdint>
#include <string_view>

#include "common/line_writer.h"

namespace pelmora {

struct TIndent {
  std::int32_t Depth;
  std::string_view Mark;
};

TIndent ArrowIndent(std::int32_t depth);
TIndent DotIndent(std::int32_t depth);

TLineWriter& operator<<(TLineWriter& out, TIndent indent);

}  // namespace pelmora
