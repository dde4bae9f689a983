// Padding helpers: every width is a byte count and the fill is always the half-width space.
#include "common/text.h"

#include <charconv>
#include <stdexcept>

namespace pelmora {

namespace {

std::string PadLeft2(std::int32_t n, char fill) {
  char digits[16];
  auto [end, error] = std::to_chars(digits, digits + sizeof digits, n);
  std::string text(digits, end);
  if (text.size() < 2) text.insert(text.begin(), fill);
  return text;
}

}  // namespace

std::string_view FirstSjisChar(std::string_view text) {
  return text.empty() ? text : text.substr(0, SjisCharLength(text, 0));
}

void AppendDecimal(std::string& text, std::int32_t n) {
  char digits[12];
  auto [end, error] = std::to_chars(digits, digits + sizeof digits, n);
  text.append(digits, end);
}

std::string PadLeft2Space(std::int32_t n) { return PadLeft2(n, ' '); }

std::string PadLeft2Zero(std::int32_t n) { return PadLeft2(n, '0'); }

void PadRight(std::string& text, std::int32_t width) {
  if (width > ByteLength(text)) text.append(static_cast<std::size_t>(width) - text.size(), ' ');
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

std::int32_t ByteLength(std::string_view text) {
  if (text.size() > static_cast<std::size_t>(INT32_MAX)) throw std::overflow_error("text too long");
  return static_cast<std::int32_t>(text.size());
}

}  // namespace pelmora
