// The three characters of the worked example: their roster, one line each, and the whole report
// that a run of it writes. Both are written with LF line ends; WithCrLf makes the files' bytes.
#pragma once

#include <string_view>

#include "common/sjis_literal.h"

namespace pelmora::testing {

inline constexpr std::string_view kThreeCharacterRoster = R"(■■■■炸斬報霧楽空：格闘家
■■■■■■斬イ霧空：剣士
■■■■■炸炸報楽空：魔法使い
)"_sj;

inline constexpr std::string_view kThreeCharacterReport = R"(キャラクターリスト：
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

)"_sj;

}  // namespace pelmora::testing
