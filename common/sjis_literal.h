// The _sj literal: text written in UTF-8 in the source, turned into Shift_JIS (CP932) bytes by the
// compiler, so "勝敗表："_sj reads naturally and costs nothing when the program runs.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <type_traits>

namespace pelmora {

namespace sjis_detail {

struct TCodePair {
  std::uint16_t Unicode;
  std::uint16_t Cp932;
};

// Sorted by code point; several code points may share one CP932 code.
inline constexpr TCodePair kCp932Table[] = {
#include "common/cp932_table.inc"
};

// Never defined as constexpr: reaching one of these while a literal is converted stops the
// compilation with the function's name in the message.
void CharacterHasNoCp932Code();
void SourceTextIsNotUtf8();

constexpr unsigned ContinuationBits(const char* text, std::size_t size, std::size_t at) {
  if (at >= size || (static_cast<unsigned char>(text[at]) & 0xC0) != 0x80) SourceTextIsNotUtf8();
  return static_cast<unsigned char>(text[at]) & 0x3F;
}

// Decodes the code point at pos and steps pos past it.
constexpr char32_t DecodeUtf8(const char* text, std::size_t size, std::size_t& pos) {
  unsigned lead = static_cast<unsigned char>(text[pos]);
  if (lead < 0x80) {
    pos += 1;
    return lead;
  }
  if (lead >= 0xC2 && lead <= 0xDF) {
    char32_t cp = ((lead & 0x1F) << 6) | ContinuationBits(text, size, pos + 1);
    pos += 2;
    return cp;
  }
  if (lead >= 0xE0 && lead <= 0xEF) {
    char32_t cp = ((lead & 0x0F) << 12) | (ContinuationBits(text, size, pos + 1) << 6) |
                  ContinuationBits(text, size, pos + 2);
    if (cp < 0x800) SourceTextIsNotUtf8();
    pos += 3;
    return cp;
  }
  if (lead >= 0xF0 && lead <= 0xF4) {
    pos += 4;  // outside the Basic Multilingual Plane: CP932 has no code for any of these
    CharacterHasNoCp932Code();
  }
  SourceTextIsNotUtf8();
  return 0;
}

constexpr std::uint16_t Cp932Code(char32_t codePoint) {
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
  if (low == std::size(kCp932Table) || kCp932Table[low].Unicode != codePoint) CharacterHasNoCp932Code();
  return kCp932Table[low].Cp932;
}

constexpr std::size_t Cp932Length(const char* text, std::size_t size) {
  std::size_t length = 0;
  for (std::size_t pos = 0; pos < size;) length += Cp932Code(DecodeUtf8(text, size, pos)) > 0xFF ? 2 : 1;
  return length;
}

// The literal's UTF-8 source text, NUL-terminated, and its CP932 bytes, keyed by the characters
// themselves: one constant per distinct literal, so the views handed out never dangle.
template <char... Utf8>
struct TCp932Literal {
  static constexpr char kUtf8[] = {Utf8..., '\0'};
  static constexpr std::size_t kUtf8Size = sizeof...(Utf8);

  static constexpr auto Encode() {
    std::array<char, Cp932Length(kUtf8, kUtf8Size) + 1> bytes{};
    std::size_t out = 0;
    for (std::size_t pos = 0; pos < kUtf8Size;) {
      std::uint16_t code = Cp932Code(DecodeUtf8(kUtf8, kUtf8Size, pos));
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
