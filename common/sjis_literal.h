// The _sj literal: text written in UTF-8 in the source, turned into Shift_JIS (CP932) bytes by the
// compiler, so "勝敗表："_sj reads naturally and costs nothing when the program runs.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

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

template <std::size_t N>
struct TUtf8Literal {
  char Text[N];
  constexpr TUtf8Literal(const char (&text)[N]) {
    for (std::size_t i = 0; i < N; ++i) Text[i] = text[i];
  }
  constexpr std::size_t Size() const { return N - 1; }  // without the terminating NUL
};

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

template <TUtf8Literal S>
constexpr auto EncodeCp932() {
  std::array<char, Cp932Length(S.Text, S.Size()) + 1> bytes{};
  std::size_t out = 0;
  for (std::size_t pos = 0; pos < S.Size();) {
    std::uint16_t code = Cp932Code(DecodeUtf8(S.Text, S.Size(), pos));
    if (code > 0xFF) bytes[out++] = static_cast<char>(code >> 8);
    bytes[out++] = static_cast<char>(code & 0xFF);
  }
  return bytes;
}

// One constant per distinct literal, so the views handed out never dangle.
template <TUtf8Literal S>
inline constexpr auto kCp932Bytes = EncodeCp932<S>();

}  // namespace sjis_detail

// Ordinary literals must reach the compiler as UTF-8 for the conversion to be right.
static_assert(sizeof("表") == 4, "ordinary string literals must be UTF-8");

template <sjis_detail::TUtf8Literal S>
consteval std::string_view operator""_sj() {
  return {sjis_detail::kCp932Bytes<S>.data(), sjis_detail::kCp932Bytes<S>.size() - 1};
}

}  // namespace pelmora
