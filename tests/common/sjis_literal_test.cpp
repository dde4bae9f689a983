// The _sj literal and the table behind it.
#include "common/sjis_literal.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

namespace pelmora {
namespace {

std::string Bytes(std::initializer_list<int> bytes) {
  std::string text;
  for (int byte : bytes) text.push_back(static_cast<char>(byte));
  return text;
}

TEST(SjisLiteral, ConvertsFullWidthHalfWidthAndAscii) {
  EXPECT_EQ("勝敗表："_sj, Bytes({0x8F, 0x9F, 0x94, 0x73, 0x95, 0x5C, 0x81, 0x46}));
  EXPECT_EQ("イ"_sj, Bytes({0x83, 0x43}));
  EXPECT_EQ("ｱﾝ"_sj, Bytes({0xB1, 0xDD}));
  EXPECT_EQ("HP 7"_sj, "HP 7");
  EXPECT_EQ("○×－⇒"_sj, Bytes({0x81, 0x9B, 0x81, 0x7E, 0x81, 0x7C, 0x81, 0xCB}));
  EXPECT_EQ(""_sj, "");
}

TEST(SjisLiteral, RawLiteralsKeepTheirLineBreaks) {
  constexpr std::string_view text = R"(■
：)"_sj;
  EXPECT_EQ(text, Bytes({0x81, 0xA1, 0x0A, 0x81, 0x46}));
}

TEST(SjisLiteral, IsAConstantExpression) {
  constexpr std::string_view text = "表"_sj;
  static_assert(text.size() == 2 && text[0] == '\x95' && text[1] == '\x5C');
  SUCCEED();
}

TEST(SjisLiteral, TableIsSortedAndCoversTheCodeSpaces) {
  const auto& table = sjis_detail::kCp932Table;
  EXPECT_TRUE(std::is_sorted(std::begin(table), std::end(table),
                             [](auto a, auto b) { return a.Unicode < b.Unicode; }));
  auto count = [&](auto pred) { return std::count_if(std::begin(table), std::end(table), pred); };
  EXPECT_EQ(count([](auto p) { return p.Unicode < 0x80; }), 0x80);
  EXPECT_EQ(count([](auto p) { return p.Unicode >= 0xFF61 && p.Unicode <= 0xFF9F; }), 63);
  // JIS X 0208 kanji, NEC and IBM extensions, and the user-defined area all have codes.
  EXPECT_GT(std::size(table), 9000u);
}

}  // namespace
}  // namespace pelmora
