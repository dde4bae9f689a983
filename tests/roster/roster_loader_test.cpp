// The roster loader, always through a real roster file in a temporary working directory.
#include "roster/roster_loader.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "common/sjis_literal.h"
#include "tests/support/message_recorder.h"
#include "tests/support/sjis_compare.h"
#include "tests/support/work_dir.h"

namespace pelmora {
namespace {

using testing::WithCrLf;
using testing::WriteFileBytes;

constexpr std::string_view kSkillError = "スキル解析エラー"_sj;
constexpr std::string_view kColonError = "：じゃないエラー"_sj;
constexpr std::string_view kNoNameError = "名前ないエラー"_sj;
constexpr std::string_view kCharaError = "キャラクター解析エラー"_sj;

constexpr std::string_view kBrave = "■■■炸斬■霧楽イ空：勇者"_sj;
constexpr std::string_view kWarrior = "■■■■■■■■■■：戦士"_sj;
constexpr std::string_view kTenLetters = "炸斬イ報霧楽空炸斬イ"_sj;
constexpr std::int32_t kUntouched = 77;  // a roster count no file here produces

std::string Repeat(std::string_view text, std::size_t times) {
  std::string out;
  out.reserve(text.size() * times);
  for (std::size_t i = 0; i < times; ++i) out += text;
  return out;
}

std::string Lines(std::string_view line, int count) { return Repeat(std::string(line) + "\r\n", count); }

class RosterLoader : public ::testing::Test {
 protected:
  // Loads the roster file as it stands and returns the texts of the boxes shown.
  std::vector<std::string> Load(bool expectOk) {
    testing::TMessageRecorder recorder;
    EXPECT_EQ(LoadRoster(), expectOk);
    return recorder.Texts();
  }

  std::vector<std::string> Load(const std::string& bytes, bool expectOk) {
    WriteFileBytes(kRosterFileName, bytes);
    return Load(expectOk);
  }

  testing::TScopedWorkDir dir_;
};

TEST_F(RosterLoader, WorkedExampleFillsAClearedRecord) {
  TChara& first = RosterAt(0);
  first.Wins = 3;
  first.Result(5) = "○"_sj;
  for (TSkill& skill : first.Skills) skill.UsedThisTurn = skill.Spent = true;
  EXPECT_TRUE(Load(WithCrLf(std::string(kBrave) + "\n"), true).empty());
  ASSERT_EQ(RosterCount, 1);
  EXPECT_SJIS_EQ("勇者"_sj, first.Name);
  EXPECT_EQ(first.Stamina, 4);
  EXPECT_EQ(first.HP, 10);
  EXPECT_EQ(first.MaxHP, 10);
  EXPECT_EQ(first.Wins, 0);
  EXPECT_EQ(first.Losses, 0);
  EXPECT_EQ(first.Result(5), "");
  ASSERT_EQ(first.SkillCount, 6);
  const std::string_view names[] = {kBlastSkill,    kSlashSkill, kMistWallSkill,
                                    kParadiseSkill, kSwordSkill, kAirPressureSkill};
  for (std::int32_t slot = 0; slot < 6; ++slot) {
    EXPECT_EQ(first.Skill(slot).Name, names[slot]) << slot;
    EXPECT_TRUE(first.Skill(slot).Ready()) << slot;
  }
}

TEST_F(RosterLoader, WhatALineYields) {
  const std::string tenMarks(std::string("■■■■■■■■■■："_sj));
  const std::string longName = Repeat("名"_sj, 1005);
  const std::string mixedName = Repeat("名a"_sj, 600);
  struct TCase {
    const char* Name;
    std::string Line;
    std::int32_t Stamina;
    std::int32_t HP;
    std::int32_t SkillCount;
    std::string CharaName;
  };
  const TCase cases[] = {
      {"ten marks", std::string(kWarrior), 10, 55, 0, std::string("戦士"_sj)},
      {"ten letters", std::string("炸斬イ報霧楽空炸斬イ：X"_sj), 0, 0, 10, "X"},
      {"1005 full-width characters", tenMarks + longName, 10, 55, 0, longName.substr(0, 2 * 999)},
      {"mixed widths", tenMarks + mixedName, 10, 55, 0, mixedName.substr(0, 500 * 2 + 499)},
      {"lead byte ends a 999-character name", tenMarks + longName.substr(0, 2 * 998) + "\x81", 10, 55, 0,
       longName.substr(0, 2 * 998) + "\x81"},
      {"lead byte after 999 characters", tenMarks + longName.substr(0, 2 * 999) + "\x81", 10, 55, 0,
       longName.substr(0, 2 * 999)},
      {"lead byte alone", tenMarks + "\x81", 10, 55, 0, "\x81"},
      {"spaces, colons and marks", std::string("■■■■■■■■■■： 勇 者：■ ： ■ "_sj), 10, 55, 0,
       std::string(" 勇 者：■ ： ■ "_sj)},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    Load(c.Line + "\r\n", true);
    ASSERT_EQ(RosterCount, 1);
    const TChara& chara = RosterAt(0);
    EXPECT_EQ(chara.Stamina, c.Stamina);
    EXPECT_EQ(chara.HP, c.HP);
    EXPECT_EQ(chara.MaxHP, c.HP);
    EXPECT_EQ(chara.SkillCount, c.SkillCount);
    EXPECT_SJIS_EQ(c.CharaName, chara.Name);
  }
  const std::string_view tenNames[] = {kBlastSkill,    kSlashSkill,    kSwordSkill,       kRetaliationSkill,
                                       kMistWallSkill, kParadiseSkill, kAirPressureSkill, kBlastSkill,
                                       kSlashSkill,    kSwordSkill};
  Load(std::string("炸斬イ報霧楽空炸斬イ：X"_sj), true);
  for (std::int32_t slot = 0; slot < 10; ++slot)
    EXPECT_EQ(RosterAt(0).Skill(slot).Name, tenNames[slot]) << slot;
}

TEST_F(RosterLoader, EmptyLinesTakeNoPlace) {
  EXPECT_TRUE(Load("", true).empty());
  EXPECT_EQ(RosterCount, 0);
  EXPECT_TRUE(Load("\r\n\r\n\n", true).empty());
  EXPECT_EQ(RosterCount, 0);
  Load(WithCrLf("\n" + std::string(kBrave) + "\n\n\n" + std::string(kWarrior) + "\n\n"), true);
  ASSERT_EQ(RosterCount, 2);
  EXPECT_SJIS_EQ("勇者"_sj, RosterAt(0).Name);
  EXPECT_SJIS_EQ("戦士"_sj, RosterAt(1).Name);
  Load(Lines(kWarrior, 60) + Lines("", 40), true);
  EXPECT_EQ(RosterCount, 60);
}

TEST_F(RosterLoader, OneHundredCharacters) {
  std::string file;
  for (int i = 0; i < 100; ++i) file += std::string(kWarrior) + std::to_string(i) + "\r\n";
  EXPECT_TRUE(Load(file, true).empty());
  ASSERT_EQ(RosterCount, 100);
  EXPECT_SJIS_EQ(std::string("戦士99"_sj), RosterAt(99).Name);
}

TEST_F(RosterLoader, FailuresAndTheirMessages) {
  const std::string good = Lines(kBrave, 1) + Lines(kWarrior, 1);
  struct TCase {
    const char* Name;
    std::optional<std::string> File;  // no roster file at all when empty
    std::vector<std::string_view> Messages;
    std::int32_t RosterCount;
  };
  const TCase cases[] = {
      {"missing file", std::nullopt, {kRosterReadFailedMessage}, kUntouched},
      {"101 lines", Lines(kWarrior, 101), {kRosterReadFailedMessage}, kUntouched},
      {"101st line empty", Lines(kWarrior, 100) + "\r\n", {kRosterReadFailedMessage}, kUntouched},
      {"shorter than 10", Lines("■■■炸斬"_sj, 1), {kSkillError, kCharaError}, 0},
      {"spaces only", Lines("   ", 1), {kSkillError, kCharaError}, 0},
      {"three marks and the colon", Lines("■■■：勇者"_sj, 1), {kSkillError, kCharaError}, 0},
      {"ten characters only", Lines(kTenLetters, 1), {kColonError, kCharaError}, 0},
      {"half-width colon", Lines(std::string(kTenLetters) + ":X", 1), {kColonError, kCharaError}, 0},
      {"eleven letters", Lines("炸斬イ報霧楽空炸斬イ炸：X"_sj, 1), {kColonError, kCharaError}, 0},
      {"nothing after the colon", Lines("炸斬イ報霧楽空炸斬イ："_sj, 1), {kNoNameError, kCharaError}, 0},
      // Saved as UTF-8: nothing is loaded when a character has no Shift_JIS form, wherever it is.
      {"UTF-8, e with diaeresis on the third line",
       Lines("■■■炸斬■霧楽イ空：勇者", 1) + "\r\n" + Lines("■■■■■■■■■■：Zoë", 1),
       {"3行目の「U+00EB」はShift_JISにない文字です"_sj, kCharaError},
       kUntouched},
      {"UTF-8, an emoji after a bad line",
       "   \n■■■■■■■■■■：勇😀者",
       {"2行目の「U+1F600」はShift_JISにない文字です"_sj, kCharaError},
       kUntouched},
      {"UTF-8, a byte-order mark opening the second line",
       "\xEF\xBB\xBF" + Lines("■■■炸斬■霧楽イ空：勇者", 1) + "\xEF\xBB\xBF" + Lines("■■■■■■■■■■：戦士", 1),
       {"2行目の「U+FEFF」はShift_JISにない文字です"_sj, kCharaError},
       kUntouched},
      // Not well-formed UTF-8, so read as Shift_JIS like any other bytes.
      {"UTF-8 with a surrogate", Lines("■■■■■■■■■■：\xED\xA0\x80", 1), {kSkillError, kCharaError}, 0},
      {"UTF-8 with an overlong slash", Lines("■■■■■■■■■■：\xC0\xAF", 1), {kSkillError, kCharaError}, 0},
      {"UTF-8 beyond U+10FFFF", Lines("■■■■■■■■■■：\xF4\x90\x80\x80", 1), {kSkillError, kCharaError}, 0},
      {"UTF-8 cut at a line end",
       Lines("■■■■■■■■■■：\xE5\x8B", 1) + Lines("\x87", 1),
       {kSkillError, kCharaError},
       0},
      {"binary garbage",
       std::string("\x00\xFF\x80\xA0\x7F\x01\xFE\xFD\x1B\x02\xE0", 11),
       {kSkillError, kCharaError},
       0},
      {"third line bad",
       good + Lines("■■■■■■■■■■ X"_sj, 1) + Lines(kBrave, 1),
       {kColonError, kCharaError},
       2},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    std::filesystem::remove(kRosterFileName);
    if (c.File) WriteFileBytes(kRosterFileName, *c.File);
    RosterCount = kUntouched;
    RosterAt(0).Name = "untouched";
    std::vector<std::string> shown = Load(false);
    ASSERT_EQ(shown.size(), c.Messages.size());
    for (std::size_t i = 0; i < shown.size(); ++i) EXPECT_SJIS_EQ(c.Messages[i], shown[i]);
    EXPECT_EQ(RosterCount, c.RosterCount);
    if (c.RosterCount == kUntouched) {
      EXPECT_EQ(RosterAt(0).Name, "untouched");
    }
  }
}

// A roster saved as UTF-8 loads exactly as the same roster saved as Shift_JIS: the same records
// or the same boxes. Positions and the name's limit count characters in either encoding.
TEST_F(RosterLoader, Utf8RostersLoadAsTheirShiftJisTwins) {
  const std::string bom = "\xEF\xBB\xBF";
  const std::string marks = "■■■■■■■■■■：";
  const std::string sjisMarks(std::string("■■■■■■■■■■："_sj));
  struct TCase {
    const char* Name;
    std::string Utf8;
    std::string Sjis;
  };
  const TCase cases[] = {
      {"byte-order mark only", bom, ""},
      {"byte-order mark and LF line ends", bom + "■■■炸斬■霧楽イ空：勇者\n\n炸斬イ報霧楽空炸斬イ：X",
       std::string("■■■炸斬■霧楽イ空：勇者\r\n\r\n炸斬イ報霧楽空炸斬イ：X"_sj)},
      {"byte-order mark on an empty first line", bom + "\r\n" + marks + "戦士\r\n",
       "\r\n" + sjisMarks + std::string("戦士\r\n"_sj)},
      {"1005 full-width characters", marks + Repeat("名", 1005), sjisMarks + Repeat("名"_sj, 1005)},
      {"1005 half-width katakana", marks + Repeat("ﾃ", 1005), sjisMarks + Repeat("ﾃ"_sj, 1005)},
      {"second bytes 0x5C and mixed widths", marks + "ソ表a ｱ：■", sjisMarks + std::string("ソ表a ｱ：■"_sj)},
      {"end mark on the third line", Lines(marks + "勇者", 2) + "\x1A\xFF",
       Lines(sjisMarks + std::string("勇者"_sj), 2) + "\x1A\xFF"},
      {"100 lines", bom + Lines(marks + "戦士", 100), Lines(sjisMarks + std::string("戦士"_sj), 100)},
      {"101 lines", bom + Lines(marks + "戦士", 101), Lines(sjisMarks + std::string("戦士"_sj), 101)},
      {"short skill area", "■■■：勇者\r\n", std::string("■■■：勇者\r\n"_sj)},
      {"ten characters only", bom + "炸斬イ報霧楽空炸斬イ", std::string("炸斬イ報霧楽空炸斬イ"_sj)},
      {"half-width colon", Lines(marks + "勇者", 1) + "■■■■■■■■■■:勇者",
       Lines(sjisMarks + std::string("勇者"_sj), 1) + std::string("■■■■■■■■■■:勇者"_sj)},
      {"nothing after the colon", "\n" + marks + "\n", "\n" + sjisMarks + "\n"},
  };
  // The roster as loaded, with every box shown, in one comparable text.
  auto loadAndDescribe = [](const std::string& bytes) {
    std::filesystem::remove(kRosterFileName);
    WriteFileBytes(kRosterFileName, bytes);
    testing::TMessageRecorder recorder;
    RosterCount = kUntouched;
    bool loaded = LoadRoster();
    std::string outcome = loaded ? "loaded " : "failed ";
    for (const std::string& text : recorder.Texts()) outcome += "[" + text + "] ";
    outcome += std::to_string(RosterCount);
    for (std::int32_t k = 0; loaded && k < RosterCount; ++k) {
      const TChara& chara = RosterAt(k);
      outcome += "\n" + chara.Name + " " + std::to_string(chara.Stamina) + " " + std::to_string(chara.HP);
      for (std::int32_t slot = 0; slot < chara.SkillCount; ++slot) outcome += " " + chara.Skill(slot).Name;
    }
    return outcome;
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    EXPECT_SJIS_EQ(loadAndDescribe(c.Sjis), loadAndDescribe(c.Utf8));
  }
}

TEST_F(RosterLoader, RosterFileThatCannotBeRead) {
  Load(Lines(kBrave, 3), true);
  std::filesystem::remove(kRosterFileName);
  std::filesystem::create_directory(kRosterFileName);
  std::vector<std::string> shown = Load(false);
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_SJIS_EQ(kRosterReadFailedMessage, shown[0]);
  EXPECT_EQ(RosterCount, 3);  // a failed read leaves the earlier roster's count
}

TEST_F(RosterLoader, FiftyMegabyteLine) {
  const std::string garbage(50'000'000, 'x');
  std::vector<std::string> shown = Load(garbage + "\r\n", false);
  ASSERT_EQ(shown.size(), 2u);
  EXPECT_SJIS_EQ(kSkillError, shown[0]);
  EXPECT_SJIS_EQ(kCharaError, shown[1]);

  const std::string name = Repeat("名"_sj, 25'000'000);
  EXPECT_TRUE(Load(std::string("■■■炸斬■霧楽イ空："_sj) + name + "\r\n", true).empty());
  ASSERT_EQ(RosterCount, 1);
  EXPECT_EQ(RosterAt(0).Stamina, 4);
  EXPECT_SJIS_EQ(name.substr(0, 2 * 999), RosterAt(0).Name);
}

}  // namespace
}  // namespace pelmora
