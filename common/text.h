// Text helpers over Shift_JIS byte strings: numbers in decimal, padding to byte widths and
// stepping over double-byte characters.
#pragma once

#include <array>
#include <charconv>
#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>

namespace pelmora {

// A lead byte starts a double-byte character; the byte after it belongs to the same character.
constexpr bool IsSjisLeadByte(unsigned char byte) {
  return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}

// The byte length of the character that starts at pos: 2 for a lead byte with a byte after it,
// otherwise 1 (a lead byte at the very end of the text is a character on its own).
constexpr std::size_t SjisCharLength(std::string_view text, std::size_t pos) {
  return IsSjisLeadByte(static_cast<unsigned char>(text[pos])) && pos + 1 < text.size() ? 2 : 1;
}

// The first character of the text, or the empty text.
std::string_view FirstSjisChar(std::string_view text);

// The decimal text of a number, held in place so that writing a number allocates nothing. It
// reads as a std::string_view wherever text is appended.
struct TNumberText {
  std::array<char, 12> Bytes;  // "-2147483648" is the longest
  std::size_t Size = 0;

  operator std::string_view() const { return {Bytes.data(), Size}; }
};

// The plain decimal text of n: a minus sign for negative values, no leading zeros. Almost every
// number written (hit points, damage, dice, turns) is below a hundred, and takes the short way.
inline TNumberText Decimal(std::int32_t n) {
  TNumberText text;
  constexpr std::int32_t kTen = 10;
  if (n >= 0 && n < kTen * kTen) {
    text.Bytes[0] = static_cast<char>('0' + (n < kTen ? n : n / kTen));
    text.Bytes[1] = static_cast<char>('0' + n % kTen);
    text.Size = n < kTen ? 1 : 2;
    return text;
  }
  auto [end, error] = std::to_chars(text.Bytes.data(), text.Bytes.data() + text.Bytes.size(), n);
  text.Size = static_cast<std::size_t>(end - text.Bytes.data());
  return text;
}

// The decimal text of n, with fill in front when it is shorter than two bytes, which only the
// numbers 0 to 9 are; nothing is ever cut.
inline TNumberText PadLeft2(std::int32_t n, char fill) {
  TNumberText text = Decimal(n);
  if (text.Size < 2) {
    text.Bytes[1] = text.Bytes[0];
    text.Bytes[0] = fill;
    text.Size = 2;
  }
  return text;
}

// 7 gives " 7" ("07"), 12 "12", 123 "123" and -3 "-3".
inline TNumberText PadLeft2Space(std::int32_t n) { return PadLeft2(n, ' '); }
inline TNumberText PadLeft2Zero(std::int32_t n) { return PadLeft2(n, '0'); }

// Appends half-width spaces to the shorter text until both are equally long in bytes.
void EqualizeLengths(std::string& a, std::string& b);

std::int32_t LongerLength(std::string_view a, std::string_view b);

// How a text file is saved: Shift_JIS (CP932), the program's own encoding, or UTF-8.
enum class TTextEncoding { ShiftJis, Utf8 };

// The byte length of a text as the 32-bit width the layouts compute with.
inline std::int32_t ByteLength(std::string_view text) {
  if (text.size() > static_cast<std::size_t>(INT32_MAX)) throw std::overflow_error("text too long");
  return static_cast<std::int32_t>(text.size());
}

}  // namespace pelmora
