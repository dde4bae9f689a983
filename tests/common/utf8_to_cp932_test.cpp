// The run-time UTF-8 to CP932 conversion, held against glibc's own iconv converters: the one the
// table behind the _sj literal was generated from, and its UTF-8 decoder.
#include "common/utf8_to_cp932.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "common/sjis_literal.h"
#include "tests/support/iconv.h"
#include "tests/support/system_can.h"

namespace pelmora {
namespace {

using testing::TIconv;

constexpr char32_t kLastCodePoint = 0x10FFFF;

// The UTF-8 form of a code point, by the encoding's definition.
std::string EncodeUtf8(char32_t cp) {
  auto byte = [](char32_t bits) { return static_cast<char>(bits); };
  if (cp < 0x80) return std::string(1, byte(cp));
  if (cp < 0x800) return {byte(0xC0 | (cp >> 6)), byte(0x80 | (cp & 0x3F))};
  if (cp < 0x10000)
    return {byte(0xE0 | (cp >> 12)), byte(0x80 | ((cp >> 6) & 0x3F)), byte(0x80 | (cp & 0x3F))};
  return {byte(0xF0 | (cp >> 18)), byte(0x80 | ((cp >> 12) & 0x3F)), byte(0x80 | ((cp >> 6) & 0x3F)),
          byte(0x80 | (cp & 0x3F))};
}

std::string Utf32Le(char32_t cp) {
  return {static_cast<char>(cp & 0xFF), static_cast<char>((cp >> 8) & 0xFF),
          static_cast<char>((cp >> 16) & 0xFF), static_cast<char>(cp >> 24)};
}

// Every code point converts exactly as glibc's CP932 converter converts it, or is named as
// missing exactly when glibc has no code for it or a code that reads back as another character
// (¥ as \, ‾ as ~); and both sides agree with the _sj literal.
TEST(Utf8ToCp932, AgreesWithGlibcForEveryCodePoint) {
  if (!testing::HasCp932Converter()) GTEST_SKIP() << testing::kNoCp932Converter;
  TIconv glibc("CP932", "UTF-32LE");
  ASSERT_TRUE(glibc.Opened());
  int disagreements = 0;
  std::size_t converted = 0;
  for (char32_t cp = 0; cp <= kLastCodePoint && disagreements < 10; ++cp) {
    if (cp >= 0xD800 && cp <= 0xDFFF) continue;
    std::optional<std::string> expected = glibc.Convert(Utf32Le(cp));
    // glibc drops the tag characters U+E0000 to U+E007F without a word; they have no code.
    if (expected && expected->empty()) expected.reset();
    if (expected && cp >= 0x80 && static_cast<unsigned char>(expected->front()) < 0x80) expected.reset();
    std::string out;
    std::optional<char32_t> missing = Utf8ToCp932(EncodeUtf8(cp), out);
    bool agrees = expected ? !missing && out == *expected : missing == cp;
    if (!agrees) {
      ADD_FAILURE() << "U+" << std::hex << static_cast<unsigned>(cp) << " converts unlike glibc's CP932";
      ++disagreements;
    }
    if (expected) ++converted;
  }
  EXPECT_EQ(converted, std::size(sjis_detail::kCp932Table));
  std::string out;
  EXPECT_FALSE(Utf8ToCp932("勝敗表：■炸ｱﾝ HP 7○×－⇒ソ", out));
  EXPECT_EQ(out, "勝敗表：■炸ｱﾝ HP 7○×－⇒ソ"_sj);
  EXPECT_EQ(Utf8ToCp932("a¥", out), U'¥');
  EXPECT_EQ(Utf8ToCp932("a‾", out), U'‾');
}

// Well-formed exactly when glibc's UTF-8 decoder takes the bytes: every one- and two-byte
// sequence, and every lead byte from 0xE0 on with every second byte and a good or a bad rest.
TEST(Utf8ToCp932, WellFormedExactlyWhenGlibcDecodes) {
  TIconv glibc("UTF-32LE", "UTF-8");
  ASSERT_TRUE(glibc.Opened());
  std::vector<std::string> inputs;
  for (int first = 0; first < 0x100; ++first) {
    inputs.push_back(std::string(1, static_cast<char>(first)));
    for (int second = 0; second < 0x100; ++second) {
      std::string pair{static_cast<char>(first), static_cast<char>(second)};
      inputs.push_back(pair);
      if (first < 0xE0) continue;
      for (std::string rest : {"\x80", "\xBF", "\x41", "\x80\x80", "\xBF\xBF", "\x80\x41", "\x80\x80\x80"})
        inputs.push_back(pair + rest);
    }
  }
  int disagreements = 0;
  for (const std::string& input : inputs) {
    bool glibcTakesIt = glibc.Convert(input).has_value();
    if (IsWellFormedUtf8(input) != glibcTakesIt && ++disagreements <= 10) {
      std::string hex;
      for (unsigned char byte : input) hex.append(" ").append(std::to_string(byte));
      ADD_FAILURE() << "bytes" << hex << (glibcTakesIt ? " are" : " are not") << " UTF-8 for glibc";
    }
  }
  EXPECT_EQ(disagreements, 0);
  std::string out;
  EXPECT_EQ(Utf8ToCp932("ab\xC3", out), U'\uFFFD');  // a cut sequence never passes as converted
}

}  // namespace
}  // namespace pelmora
