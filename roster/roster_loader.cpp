// The roster file and its line parser. Positions in a line count Shift_JIS characters; a roster
// saved as UTF-8 is turned into Shift_JIS first.
#include "roster/roster_loader.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <span>
#include <vector>

#include "common/checked.h"
#include "common/line_reader.h"
#include "common/message_box.h"
#include "common/text.h"
#include "common/utf8_to_cp932.h"

namespace pelmora {

namespace {

constexpr std::string_view kStaminaMark = "■"_sj;
constexpr std::string_view kNameColon = "："_sj;
constexpr std::string_view kCharaError = "キャラクター解析エラー"_sj;
constexpr std::string_view kUtf8ByteOrderMark = "\xEF\xBB\xBF";

// Walks a line character by character; past its end every character is the empty text.
class TCharCursor {
 public:
  explicit TCharCursor(std::string_view line) : line_(line) {}

  std::string_view Next() {
    if (pos_ >= line_.size()) return {};
    std::string_view ch = line_.substr(pos_, SjisCharLength(line_, pos_));
    pos_ += ch.size();
    return ch;
  }

  // The rest of the line from here, at most maxChars characters of it.
  std::string_view Take(std::int32_t maxChars) {
    std::size_t start = pos_;
    for (std::int32_t n = 0; n < maxChars && pos_ < line_.size(); ++n) pos_ += SjisCharLength(line_, pos_);
    return line_.substr(start, pos_ - start);
  }

 private:
  std::string_view line_;
  std::size_t pos_ = 0;
};

// Every character line of a Shift_JIS roster begins with a byte that cannot begin a UTF-8
// sequence, so lines that are all well-formed UTF-8 and not plain ASCII were never a roster that
// loads: they are a roster saved as UTF-8. Each line is judged on its own, so a sequence cut by a
// line end makes the file Shift_JIS.
bool IsUtf8Roster(std::span<const std::string> lines) {
  bool beyondAscii = false;
  for (const std::string& line : lines) {
    if (!IsWellFormedUtf8(line)) return false;
    beyondAscii = beyondAscii || std::any_of(line.begin(), line.end(), [](char byte) {
                    return static_cast<unsigned char>(byte) >= 0x80;
                  });
  }
  return beyondAscii;
}

// The message for a character that Shift_JIS lacks. The box shows Shift_JIS text, so the
// character is named by its code point, on its 1-based line of the file.
std::string NoSjisCharMessage(int lineNumber, char32_t codePoint) {
  char codePointText[16];
  std::snprintf(codePointText, sizeof codePointText, "U+%04X", static_cast<unsigned>(codePoint));
  std::string message = std::to_string(lineNumber);
  message += "行目の「"_sj;
  message += codePointText;
  message += "」はShift_JISにない文字です"_sj;
  return message;
}

// Turns the lines of a roster saved as UTF-8 into the Shift_JIS lines the same roster would have,
// each character into one character, so positions and lengths count as they do in Shift_JIS. A
// byte-order mark counts only where it opens the file. Nothing is converted unless every
// character can be: false after the message that names the first one that cannot.
bool ConvertUtf8Roster(std::span<std::string> lines) {
  if (!lines.empty() && lines.front().starts_with(kUtf8ByteOrderMark))
    lines.front().erase(0, kUtf8ByteOrderMark.size());
  std::vector<std::string> converted(lines.size());
  for (std::size_t index = 0; index < lines.size(); ++index) {
    if (std::optional<char32_t> missing = Utf8ToCp932(lines[index], converted[index])) {
      ShowMessageBox(NoSjisCharMessage(static_cast<int>(index) + 1, *missing));
      return false;
    }
  }
  std::move(converted.begin(), converted.end(), lines.begin());
  return true;
}

}  // namespace

TTextEncoding RosterEncoding = TTextEncoding::ShiftJis;

bool LoadRoster() {
  std::vector<std::string> lines(kRosterCapacity);
  int count = 0;
  if (!ReadLinesFile(std::filesystem::path(kRosterFileName), lines, count)) {
    ShowMessageBox(kRosterReadFailedMessage);
    return false;
  }
  std::span<std::string> filled = std::span(lines).first(static_cast<std::size_t>(count));
  RosterEncoding = IsUtf8Roster(filled) ? TTextEncoding::Utf8 : TTextEncoding::ShiftJis;
  if (RosterEncoding == TTextEncoding::Utf8 && !ConvertUtf8Roster(filled)) {
    ShowMessageBox(kCharaError);
    return false;
  }
  RosterCount = 0;
  for (int index = 0; index < count; ++index) {
    const std::string& line = lines[static_cast<std::size_t>(index)];
    if (line.empty()) continue;
    if (!ParseCharaLine(RosterAt(RosterCount), line)) {
      ShowMessageBox(kCharaError);
      return false;
    }
    CheckedIncrement(RosterCount);
  }
  return true;
}

bool ParseCharaLine(TChara& chara, std::string_view line) {
  ClearChara(chara);
  TCharCursor cursor(line);
  for (std::int32_t position = 1; position <= SkillAreaWidth; ++position) {
    std::string_view ch = cursor.Next();
    if (ch == kStaminaMark) {
      CheckedIncrement(chara.Stamina);
      chara.MaxHP = CheckedAdd(chara.MaxHP, chara.Stamina);
      chara.HP = CheckedAdd(chara.HP, chara.Stamina);
    } else if (SkillFromLetter(chara.Skill(chara.SkillCount), ch)) {
      CheckedIncrement(chara.SkillCount);
    } else {
      ShowMessageBox("スキル解析エラー"_sj);
      return false;
    }
  }
  if (cursor.Next() != kNameColon) {
    ShowMessageBox("：じゃないエラー"_sj);
    return false;
  }
  chara.Name = cursor.Take(kMaxNameLength);
  if (chara.Name.empty()) {
    ShowMessageBox("名前ないエラー"_sj);
    return false;
  }
  return true;
}

bool SkillFromLetter(TSkill& slot, std::string_view letter) {
  slot.UsedThisTurn = false;
  slot.Spent = false;
  slot.Name.clear();
  for (const TSkillTableEntry& entry : kSkillTable) {
    if (letter == entry.Letter) slot.Name = entry.Name;
  }
  return !slot.Name.empty();
}

}  // namespace pelmora
