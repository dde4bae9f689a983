// The _sj literal: text written in UTF-8 in the source, turned into Shift_JIS (CP932) bytes by the
// compiler, so "勝敗表："_sj reads naturally and costs nothing when the program runs.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>
#include <type_traits>

namespace pelmora {

namespace sjis_detail {

struct TCodePair {
  std::uint16_t Unicode;
  std::uint16_t Cp932;
  bool ReadsBack;  // the code is read back as this code point
};

// Sorted by code point; several code points may share one CP932 code, which is read back as
// exactly one of them.
inline constexpr TCodePair kCp932Table[] = {
#include "common/cp932_table.inc"
};

// Never defined as constexpr: reaching one of these while a literal is converted stops the
// compilation with the function's name in the message.
void CharacterHasNoCp932Code();
void SourceTextIsNotUtf8();

// Decodes the well-formed UTF-8 character at pos and steps past it; false when none starts there.
// The range allowed for the second byte depends on the lead byte: it is what rules out overlong
// forms (E0, F0), surrogates (ED) and code points above U+10FFFF (F4).
constexpr bool DecodeUtf8Char(std::string_view text, std::size_t& pos, char32_t& codePoint) {
  constexpr unsigned kContinuationLow = 0x80;
  constexpr unsigned kContinuationHigh = 0xBF;
  unsigned lead = static_cast<unsigned char>(text[pos]);
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
    unsigned byte = static_cast<unsigned char>(text[pos + k]);
    unsigned low = k == 1 ? secondLow : kContinuationLow;
    unsigned high = k == 1 ? secondHigh : kContinuationHigh;
    if (byte < low || byte > high) return false;
    value = (value << 6) | (byte & 0x3Fu);
  }
  codePoint = value;
  pos += length;
  return true;
}

// The CP932 code of the code point, or nothing when CP932 has none.
constexpr std::optional<std::uint16_t> FindCp932(char32_t codePoint) {
  std::size_t low = 0;
  std::size_t high = std::size(kCp932Table);
  while (low < high) {
    std::size_t mid = (low + high) / 2;
    if (kCp932Table[mid].Unicode < codePoint) {
      low = mid + 1;
    } else {
      high = mid;
    }
  }
  if (low == std::size(kCp932Table) || kCp932Table[low].Unicode != codePoint) return std::nullopt;
  return kCp932Table[low].Cp932;
}

// The CP932 code of the literal's character at pos, stepping past it.
constexpr std::uint16_t NextCp932Code(std::string_view text, std::size_t& pos) {
  char32_t codePoint = 0;
  if (!DecodeUtf8Char(text, pos, codePoint)) SourceTextIsNotUtf8();
  std::optional<std::uint16_t> code = FindCp932(codePoint);
  if (!code) CharacterHasNoCp932Code();
  return *code;
}

constexpr std::size_t Cp932Length(std::string_view text) {
  std::size_t length = 0;
  for (std::size_t pos = 0; pos < text.size();) length += NextCp932Code(text, pos) > 0xFF ? 2 : 1;
  return length;
}

// The literal's UTF-8 source text, NUL-terminated, and its CP932 bytes, keyed by the characters
// themselves: one constant per distinct literal, so the views handed out never dangle.
template <char... Utf8>
struct TCp932Literal {
  static constexpr char kUtf8[] = {Utf8..., '\0'};
  static constexpr std::string_view kText{kUtf8, sizeof...(Utf8)};

  static constexpr auto Encode() {
    std::array<char, Cp932Length(kText) + 1> bytes{};
    std::size_t out = 0;
    for (std::size_t pos = 0; pos < kText.size();) {
      std::uint16_t code = NextCp932Code(kText, pos);
      if (code > 0xFF) bytes[out++] = static_cast<char>(code >> 8);
      bytes[out++] = static_cast<char>(code & 0xFF);
    }
    return bytes;
  }

  static constexpr auto kBytes = Encode();
};

}  // namespace sjis_detail

// Ordinary literals must reach the compiler as UTF-8 for the conversion to be right.
static_assert(sizeof("表") == 4, "ordinary string literals must be UTF-8");

// The form of literal operator that takes the characters as a template pack: clang 14 cannot
// print the class-type form in its diagnostics and crashes on ordinary code that uses it.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wpedantic"
#if defined(__clang__)
#pragma clang diagnostic ignored "-Wgnu-string-literal-operator-template"
#endif
template <typename TChar, TChar... Utf8>
consteval std::string_view operator""_sj() {
  static_assert(std::is_same_v<TChar, char>, "_sj takes ordinary string literals");
  using TLiteral = sjis_detail::TCp932Literal<Utf8...>;
  return {TLiteral::kBytes.data(), TLiteral::kBytes.size() - 1};
}
#pragma GCC diagnostic pop

}  // namespace pelmora
