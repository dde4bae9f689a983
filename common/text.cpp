// Text helpers: every width is a byte count and the fill is the half-width space.
#include "common/text.h"

namespace pelmora {

std::string_view FirstSjisChar(std::string_view text) {
  return text.empty() ? text : text.substr(0, SjisCharLength(text, 0));
}

void EqualizeLengths(std::string& a, std::string& b) {
  if (a.size() > b.size()) {
    b.append(a.size() - b.size(), ' ');
  } else {
    a.append(b.size() - a.size(), ' ');
  }
}

std::int32_t LongerLength(std::string_view a, std::string_view b) {
  return ByteLength(a.size() > b.size() ? a : b);
}

}  // namespace pelmora
