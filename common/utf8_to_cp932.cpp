// A strict UTF-8 decoder and the run-time lookup in the CP932 table of the _sj literal.
#include "common/utf8_to_cp932.h"

#include <algorithm>
#include <cstdint>
#include <iterator>

#include "common/sjis_literal.h"

namespace pelmora {

namespace {

constexpr unsigned kContinuationLow = 0x80;
constexpr unsigned kContinuationHigh = 0xBF;
constexpr char32_t kLastTableCodePoint = 0xFFFF;
constexpr char32_t kReplacementChar = 0xFFFD;

// Decodes the character at pos and steps past it; false when no well-formed sequence starts
// there. The range allowed for the second byte depends on the lead byte: it is what rules out
// overlong forms (E0, F0), surrogates (ED) and code points above U+10FFFF (F4).
bool DecodeChar(std::string_view text, std::size_t& pos, char32_t& codePoint) {
  auto byteAt = [&text](std::size_t at) { return static_cast<unsigned char>(text[at]); };
  unsigned lead = byteAt(pos);
  if (lead < 0x80) {
    codePoint = lead;
    ++pos;
    return true;
  }
  std::size_t length = 0;
  unsigned secondLow = kContinuationLow;
  unsigned secondHigh = kContinuationHigh;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    if (lead == 0xE0) secondLow = 0xA0;
    if (lead == 0xED) secondHigh = 0x9F;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    if (lead == 0xF0) secondLow = 0x90;
    if (lead == 0xF4) secondHigh = 0x8F;
  } else {
    return false;
  }
  if (text.size() - pos < length) return false;
  char32_t value = lead & (0x7Fu >> length);
  for (std::size_t k = 1; k < length; ++k) {
    unsigned byte = byteAt(pos + k);
    unsigned low = k == 1 ? secondLow : kContinuationLow;
    unsigned high = k == 1 ? secondHigh : kContinuationHigh;
    if (byte < low || byte > high) return false;
    value = (value << 6) | (byte & 0x3Fu);
  }
  codePoint = value;
  pos += length;
  return true;
}

// Appends the CP932 code of the code point; false when the table has none.
bool AppendCp932(char32_t codePoint, std::string& out) {
  if (codePoint > kLastTableCodePoint) return false;  // CP932 has nothing outside the BMP
  const auto& table = sjis_detail::kCp932Table;
  const auto* entry = std::lower_bound(std::begin(table), std::end(table), codePoint,
                                       [](const auto& pair, char32_t cp) { return pair.Unicode < cp; });
  if (entry == std::end(table) || entry->Unicode != codePoint) return false;
  if (entry->Cp932 > 0xFF) out.push_back(static_cast<char>(entry->Cp932 >> 8));
  out.push_back(static_cast<char>(entry->Cp932 & 0xFF));
  return true;
}

}  // namespace

bool IsWellFormedUtf8(std::string_view text) {
  char32_t codePoint = 0;
  for (std::size_t pos = 0; pos < text.size();) {
    if (!DecodeChar(text, pos, codePoint)) return false;
  }
  return true;
}

std::optional<char32_t> Utf8ToCp932(std::string_view utf8, std::string& out) {
  out.clear();
  out.reserve(utf8.size());
  char32_t codePoint = 0;
  for (std::size_t pos = 0; pos < utf8.size();) {
    if (!DecodeChar(utf8, pos, codePoint)) return kReplacementChar;
    if (!AppendCp932(codePoint, out)) return codePoint;
  }
  return std::nullopt;
}

}  // namespace pelmora
