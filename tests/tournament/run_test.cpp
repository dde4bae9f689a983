// Whole runs through the run button's command, on roster files in a temporary directory.
#include "tournament/run.h"

#include <gtest/gtest.h>

#include "common/sjis_literal.h"
#include "tests/support/message_recorder.h"
#include "tests/support/sjis_compare.h"
#include "tests/support/work_dir.h"

namespace pelmora {
namespace {

using testing::ReadFileBytes;
using testing::WithCrLf;

constexpr std::string_view kClosingMessage = "「pelm_result.txt」および「pelm_battle.txt」を出力しました。"_sj;

TEST(Run, ThreeCharacterReport) {
  testing::TScopedWorkDir dir;
  testing::TMessageRecorder messages;
  testing::WriteFileBytes(testing::RosterFileName(), WithCrLf(R"(■■■■炸斬報霧楽空：格闘家
■■■■■■斬イ霧空：剣士
■■■■■炸炸報楽空：魔法使い
)"_sj));
  RunFromRosterFile();
  EXPECT_SJIS_EQ(WithCrLf(R"(キャラクターリスト：
01 格闘家  ：HP10／10、炸撃、斬撃、報復、霧壁、楽園、空圧
02 剣士    ：HP21／21、斬撃、イ剣、霧壁、空圧
03 魔法使い：HP15／15、炸撃、炸撃、報復、楽園、空圧

勝敗表：
   01 02 03 勝
01 － ○ × 01
02 × － ○ 01
03 ○ × － 01

勝数順：
01 格闘家  ：■■■■炸斬報霧楽空： 1勝
02 剣士    ：■■■■■■斬イ霧空： 1勝
03 魔法使い：■■■■■炸炸報楽空： 1勝

)"_sj),
                 ReadFileBytes("pelm_result.txt"));
  ASSERT_EQ(messages.Texts().size(), 1u);
  EXPECT_EQ(messages.Texts()[0], kClosingMessage);
}

}  // namespace
}  // namespace pelmora
