// The roster file and its line parser. Positions in a line count Shift_JIS characters.
#include "roster/roster_loader.h"

#include <filesystem>
#include <vector>

#include "common/checked.h"
#include "common/line_reader.h"
#include "common/message_box.h"
#include "common/text.h"

namespace pelmora {

namespace {

constexpr std::string_view kStaminaMark = "■"_sj;
constexpr std::string_view kNameColon = "："_sj;

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

}  // namespace

bool LoadRoster() {
  std::vector<std::string> lines(kRosterCapacity);
  int count = 0;
  if (!ReadLinesFile(std::filesystem::path(u8"キャラクター.txt"), lines, count)) {
    ShowMessageBox("キャラクター.txt読み込み失敗"_sj);
    return false;
  }
  RosterCount = 0;
  for (int index = 0; index < count; ++index) {
    const std::string& line = lines[static_cast<std::size_t>(index)];
    if (line.empty()) continue;
    if (!ParseCharaLine(RosterAt(RosterCount), line)) {
      ShowMessageBox("キャラクター解析エラー"_sj);
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
