// Numbers in decimal and padding: every width is a byte count and the fill is the half-width
// space, or "0" for zero-filled numbers.
#include "common/text.h"

#include <charconv>
#include <stdexcept>

namespace pelmora {

namespace {

// Only the numbers 0 to 9 are shorter than two bytes.
TNumberText PadLeft2(std::int32_t n, char fill) {
  TNumberText text = Decimal(n);
  if (text.Size < 2) {
    text.Bytes[1] = text.Bytes[0];
    text.Bytes[0] = fill;
    text.Size = 2;
  }
  return text;
}

}  // namespace

std::string_view FirstSjisChar(std::string_view text) {
  return text.empty() ? text : text.substr(0, SjisCharLength(text, 0));
}

TNumberText Decimal(std::int32_t n) {
  TNumberText text;
  auto [end, error] = std::to_chars(text.Bytes.data(), text.Bytes.data() + text.Bytes.size(), n);
  text.Size = static_cast<std::size_t>(end - text.Bytes.data());
  return text;
}

TNumberText PadLeft2Space(std::int32_t n) { return PadLeft2(n, ' '); }

TNumberText PadLeft2Zero(std::int32_t n) { return PadLeft2(n, '0'); }

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

std::int32_t ByteLength(std::string_view text) {
  if (text.size() > static_cast<std::size_t>(INT32_MAX)) throw std::overflow_error("text too long");
  return static_cast<std::int32_t>(text.size());
}

}  // namespace pelmora
