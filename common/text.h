// Text helpers over Shift_JIS byte strings: padding to byte widths and stepping over
// double-byte characters.
#pragma once

#include <cstddef>
#include <cstdint>
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

// Decimal text of n, with one space (or "0") in front when it is shorter than two bytes.
std::string PadLeft2Space(std::int32_t n);
std::string PadLeft2Zero(std::int32_t n);

// Appends the plain decimal text of n.
void AppendDecimal(std::string& text, std::int32_t n);

// Appends half-width spaces until the text is width bytes long; never cuts.
void PadRight(std::string& text, std::int32_t width);

// Appends half-width spaces to the shorter text until both are equally long in bytes.
void EqualizeLengths(std::string& a, std::string& b);

std::int32_t LongerLength(std::string_view a, std::string_view b);

// The byte length of a text as the 32-bit width the layouts compute with.
std::int32_t ByteLength(std::string_view text);

}  // namespace pelmora
