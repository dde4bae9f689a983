// CP932 read back as UTF-8, held against glibc's own CP932 decoder.
#include "common/cp932_to_utf8.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <string>

#include "common/sjis_literal.h"
#include "common/utf8_to_cp932.h"
#include "tests/support/iconv.h"
#include "tests/support/system_can.h"

namespace pelmora {
namespace {

std::string CodeBytes(std::uint16_t code) {
  if (code <= 0xFF) return std::string(1, static_cast<char>(code));
  return {static_cast<char>(code >> 8), static_cast<char>(code & 0xFF)};
}

// Every code the table holds reads as glibc's decoder reads it, alone and in one long text, and
// the code point the table marks as read back is that character.
TEST(Cp932ToUtf8, ReadsEveryCodeAsGlibcDoes) {
  if (!testing::HasCp932Converter()) GTEST_SKIP() << testing::kNoCp932Converter;
  testing::TIconv glibc("UTF-8", "CP932");
  testing::TIconv utf8ToUtf32("UTF-32LE", "UTF-8");
  ASSERT_TRUE(glibc.Opened() && utf8ToUtf32.Opened());
  std::string all;
  int disagreements = 0;
  for (const sjis_detail::TCodePair& pair : sjis_detail::kCp932Table) {
    const std::string code = CodeBytes(pair.Cp932);
    all += code;
    std::optional<std::string> expected = glibc.Convert(code);
    std::string got = Cp932ToUtf8(code);
    bool agrees = expected && got == *expected;
    if (agrees && pair.ReadsBack) {
      std::optional<std::string> utf32 = utf8ToUtf32.Convert(got);
      agrees = utf32 && utf32->size() == 4 &&
               static_cast<std::uint16_t>(static_cast<unsigned char>((*utf32)[0]) |
                                          static_cast<unsigned char>((*utf32)[1]) << 8) == pair.Unicode;
    }
    if (!agrees && ++disagreements <= 10)
      ADD_FAILURE() << "CP932 code 0x" << std::hex << pair.Cp932 << " (U+" << pair.Unicode
                    << ") reads unlike glibc";
  }
  EXPECT_EQ(disagreements, 0);
  EXPECT_EQ(Cp932ToUtf8(all), glibc.Convert(all).value_or("glibc cannot read the table's codes"));
}

// Characters that share a code come back in the form the code reads as; extension kanji and
// half-width katakana come back as they went in; CR LF and ASCII stay as they are.
TEST(Cp932ToUtf8, RoundTripsOfUtf8Text) {
  struct TCase {
    const char* Name;
    const char* Utf8;
    const char* ReadBack;
  };
  const TCase cases[] = {
      {"variants folded into one code", "〜‖−¢£¬—", "～∥－￠￡￢―"},
      {"CP932's own forms of them", "～∥－￠￡￢―", "～∥－￠￡￢―"},
      {"NEC and IBM extension kanji", "髙﨑彅", "髙﨑彅"},
      {"half-width katakana", "ﾊﾙｶ ｱｲｳｴｵﾞﾟ｡", "ﾊﾙｶ ｱｲｳｴｵﾞﾟ｡"},
      {"a line of the battle log", "  ・格闘家の炸撃！　剣士に1ダメージ\r\n",
       "  ・格闘家の炸撃！　剣士に1ダメージ\r\n"},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    std::string cp932;
    ASSERT_FALSE(Utf8ToCp932(c.Utf8, cp932));
    EXPECT_EQ(Cp932ToUtf8(cp932), c.ReadBack);
  }
}

// Bytes that are no character become U+FFFD in files and \xNN on a terminal; neither conversion
// runs past the end of the text for a lead byte left alone there.
TEST(Cp932ToUtf8, BytesThatAreNoCharacter) {
  struct TCase {
    const char* Name;
    std::string Cp932;
    const char* File;
    const char* Terminal;
  };
  const TCase cases[] = {
      {"a byte no code starts",
       "a\xA0"
       "b",
       "a\uFFFD"
       "b",
       "a\\xA0b"},
      {"a lead byte at the end", std::string("表"_sj) + "\x81", "表\uFFFD", "表\\x81"},
      {"an unassigned pair",
       "\x85\x40"
       "c",
       "\uFFFD"
       "c",
       "\\x85@c"},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    EXPECT_EQ(Cp932ToUtf8(c.Cp932), c.File);
    EXPECT_EQ(Cp932ToUtf8ForTerminal(c.Cp932), c.Terminal);
  }
}

// Long texts are converted 64 bytes at a time: wherever characters fall against those blocks
// (a pair across two, runs of lead bytes, bytes that are no character, a lead byte left alone
// at the end), a text reads as its characters read one by one.
TEST(Cp932ToUtf8, LongTextReadsAsItsCharactersOneByOne) {
  // The characters a text is made of: ASCII with CR and LF; a lead byte of either range and any
  // second byte (some pairs are no character); half-width katakana and 0xA0, no character; and
  // the other bytes that are no character.
  struct TKind {
    int FirstLow, FirstHigh, SecondLow, SecondHigh;  // no second byte where SecondHigh is 0
  };
  const TKind kinds[] = {{0x0A, 0x7E, 0, 0}, {0x81, 0x9F, 0x40, 0xFC}, {0xE0, 0xFC, 0x40, 0xFC},
                         {0xA0, 0xDF, 0, 0}, {0xFD, 0xFF, 0, 0},       {0x80, 0x80, 0, 0}};
  std::mt19937 random(932);
  auto byte = [&random](int low, int high) {
    return static_cast<char>(std::uniform_int_distribution<int>(low, high)(random));
  };
  int mismatches = 0;
  for (int text = 0; text < 300; ++text) {
    std::string whole;
    std::string oneByOne;
    const std::size_t length = std::uniform_int_distribution<std::size_t>(0, 700)(random);
    while (whole.size() < length) {
      const TKind& kind = kinds[std::uniform_int_distribution<std::size_t>(0, std::size(kinds) - 1)(random)];
      std::string character(1, byte(kind.FirstLow, kind.FirstHigh));
      if (kind.SecondHigh != 0) character += byte(kind.SecondLow, kind.SecondHigh);
      whole += character;
      oneByOne += Cp932ToUtf8(character);
    }
    if (text % 2 == 1) {
      const std::string leadAlone(1, byte(0x81, 0x9F));
      whole += leadAlone;
      oneByOne += Cp932ToUtf8(leadAlone);
    }
    if (Cp932ToUtf8(whole) != oneByOne && ++mismatches <= 3)
      ADD_FAILURE() << "a text of " << whole.size() << " bytes reads unlike its characters one by one";
  }
  EXPECT_EQ(mismatches, 0);
}

}  // namespace
}  // namespace pelmora
