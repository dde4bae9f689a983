// Byte-for-byte comparison of Shift_JIS texts that reports a failure readably: the first line
// that differs, both sides shown as UTF-8, with line ends made visible.
#pragma once

#include <gtest/gtest.h>

#include <string_view>

namespace pelmora::testing {

::testing::AssertionResult SjisEqual(const char* expectedExpr, const char* actualExpr,
                                     std::string_view expected, std::string_view actual);

// Shift_JIS text with CR and LF shown as \r and \n, readable in a test's output.
std::string Readable(std::string_view sjis);

// Turns the "\n" line ends of a raw literal into the files' CR LF.
std::string WithCrLf(std::string_view text);

}  // namespace pelmora::testing

#define EXPECT_SJIS_EQ(expected, actual) \
  EXPECT_PRED_FORMAT2(::pelmora::testing::SjisEqual, expected, actual)
#define ASSERT_SJIS_EQ(expected, actual) \
  ASSERT_PRED_FORMAT2(::pelmora::testing::SjisEqual, expected, actual)
