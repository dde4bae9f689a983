// Padding and measuring by bytes, and stepping over double-byte characters.
#include "common/text.h"

#include <gtest/gtest.h>

#include "common/sjis_literal.h"

namespace pelmora {
namespace {

TEST(Text, NumbersInDecimal) {
  struct Case {
    std::int32_t n;
    std::string_view plain;
    std::string_view space;
    std::string_view zero;
  };
  for (Case c : {Case{0, "0", " 0", "00"}, Case{7, "7", " 7", "07"}, Case{10, "10", "10", "10"},
                 Case{12, "12", "12", "12"}, Case{100, "100", "100", "100"}, Case{123, "123", "123", "123"},
                 Case{-1, "-1", "-1", "-1"}, Case{-3, "-3", "-3", "-3"},
                 Case{INT32_MIN, "-2147483648", "-2147483648", "-2147483648"}}) {
    EXPECT_EQ(std::string_view(Decimal(c.n)), c.plain) << c.n;
    EXPECT_EQ(std::string_view(PadLeft2Space(c.n)), c.space) << c.n;
    EXPECT_EQ(std::string_view(PadLeft2Zero(c.n)), c.zero) << c.n;
  }
}

TEST(Text, EqualizeLengthsExtendsOnlyTheShorter) {
  std::string a = "abc", b = "d";
  EqualizeLengths(a, b);
  EXPECT_EQ(a, "abc");
  EXPECT_EQ(b, "d  ");
  std::string wide(std::string("勇"_sj)), narrow = "ab";
  EqualizeLengths(wide, narrow);
  EXPECT_EQ(wide, "勇"_sj);
  EXPECT_EQ(narrow, "ab");
  std::string shortA = "", longB = "xyz";
  EqualizeLengths(shortA, longB);
  EXPECT_EQ(shortA, "   ");
}

TEST(Text, LongerLengthIsInBytes) {
  EXPECT_EQ(LongerLength("勇者"_sj, "abc"), 4);
  EXPECT_EQ(LongerLength("abc", "勇者"_sj), 4);
  EXPECT_EQ(LongerLength("", ""), 0);
}

TEST(Text, CharactersOfShiftJis) {
  // The trail byte of "表" is 0x5C, the backslash, and must not be taken for a character.
  std::string_view text = "表\\"_sj;
  EXPECT_EQ(SjisCharLength(text, 0), 2u);
  EXPECT_EQ(SjisCharLength(text, 2), 1u);
  EXPECT_EQ(FirstSjisChar("斬撃"_sj), "斬"_sj);
  EXPECT_EQ(FirstSjisChar("ｱ"_sj), "ｱ"_sj);
  EXPECT_EQ(FirstSjisChar(""), "");
  // A lead byte at the very end is a character on its own.
  EXPECT_EQ(SjisCharLength("\x81", 0), 1u);
  EXPECT_EQ(FirstSjisChar("\x81"), "\x81");
}

}  // namespace
}  // namespace pelmora
