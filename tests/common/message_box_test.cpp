// The message-box seam and its fallback on standard error.
#include "common/message_box.h"

#include <gtest/gtest.h>

#include "common/sjis_literal.h"
#include "tests/support/message_recorder.h"
#include "tests/support/system_can.h"

namespace pelmora {
namespace {

TEST(MessageBox, InstalledPresenterReceivesTheBytesInOrder) {
  testing::TMessageRecorder recorder;
  ShowMessageBox("名前ないエラー"_sj);
  ShowMessageBox("キャラクター解析エラー"_sj);
  ASSERT_EQ(recorder.Texts().size(), 2u);
  EXPECT_EQ(recorder.Texts()[0], "名前ないエラー"_sj);
  EXPECT_EQ(recorder.Texts()[1], "キャラクター解析エラー"_sj);
}

TEST(MessageBox, WithoutPresenterTheTextGoesToStandardErrorAsUtf8) {
  if (!testing::CanCaptureStandardError()) GTEST_SKIP() << testing::kNoStandardErrorCapture;
  ::testing::internal::CaptureStderr();
  ShowMessageBox("キャラクター.txt読み込み失敗"_sj);
  EXPECT_EQ(::testing::internal::GetCapturedStderr(), "キャラクター.txt読み込み失敗\n");
}

// The error box's text ends in a full stop unless its last character is at or below one.
TEST(MessageBox, ErrorBoxTextGetsAFullStop) {
  struct TCase {
    std::string_view Message;
    std::string_view Shown;
  };
  const TCase cases[] = {
      {"File access denied", "File access denied."},
      {"I/O error 28", "I/O error 28."},
      {"Ends with a stop.", "Ends with a stop."},
      {"Done!", "Done!"},
      {"In parentheses (x)", "In parentheses (x)"},
      {"dash-", "dash-"},
      {"slash/", "slash/."},
      {"エラー"_sj, "エラー."_sj},
      {"表"_sj, "表."_sj},  // its trail byte is "\"
      {"", "."},
  };
  for (const TCase& c : cases) EXPECT_EQ(ErrorBoxText(c.Message), c.Shown) << c.Message;
}

}  // namespace
}  // namespace pelmora
