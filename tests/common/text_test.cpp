// Padding and measuring by bytes, and stepping over double-byte characters.
#include "common/text.h"

#include <gtest/gtest.h>

#include "common/sjis_literal.h"

namespace pelmora {
namespace {

TEST(Text, NumbersInDecimal) {
  struct TCase {
    const char* Name;
    std::int32_t N;
    std::string_view Plain;
    std::string_view Space;
    std::string_view Zero;
  };
  const TCase cases[] = {
      {"zero", 0, "0", " 0", "00"},
      {"one digit", 7, "7", " 7", "07"},
      {"ten", 10, "10", "10", "10"},
      {"two digits", 12, "12", "12", "12"},
      {"a hundred", 100, "100", "100", "100"},
      {"three digits", 123, "123", "123", "123"},
      {"minus one", -1, "-1", "-1", "-1"},
      {"a negative digit", -3, "-3", "-3", "-3"},
      {"the lowest 32-bit value", INT32_MIN, "-2147483648", "-2147483648", "-2147483648"},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    EXPECT_EQ(std::string_view(Decimal(c.N)), c.Plain);
    EXPECT_EQ(std::string_view(PadLeft2Space(c.N)), c.Space);
    EXPECT_EQ(std::string_view(PadLeft2Zero(c.N)), c.Zero);
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
