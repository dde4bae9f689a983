// The model of the roster file. Its rules are restated here in a different shape from the line
// reader and the parser (the file is cut at its end mark first, then split and cleaned, and a line
// is split into characters before anything is looked at), and a roster saved as UTF-8 is decoded
// and converted by the system's own converter (glibc's iconv on Linux) rather than by the loader's
// table, so that a fault in either shows up as a disagreement.
#include "fuzz/roster_check.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "common/line_reader.h"
#include "common/message_box.h"
#include "common/sjis_literal.h"
#include "fuzz/fuzz_support.h"
#include "fuzz/model_codec.h"
#include "roster/chara.h"
#include "roster/roster_loader.h"

namespace pelmora::fuzz {

namespace {

constexpr std::size_t kLoaderSlots = 100;
constexpr std::size_t kSkillAreaChars = 10;
constexpr std::size_t kMaxNameChars = 999;
constexpr std::int32_t kRosterCountBeforeLoad = -1;  // what RosterCount is set to before every load

constexpr std::string_view kSkillError = "スキル解析エラー"_sj;
constexpr std::string_view kColonError = "：じゃないエラー"_sj;
constexpr std::string_view kNoNameError = "名前ないエラー"_sj;
constexpr std::string_view kCharaError = "キャラクター解析エラー"_sj;
constexpr std::string_view kMark = "■"_sj;
constexpr std::string_view kColon = "："_sj;
constexpr std::string_view kUntouchedName = "untouched";  // the first record's name before every load

// The file's lines: everything from a Ctrl-Z that opens a line is not part of the file; the rest
// is split at every LF, the empty piece after a final LF is no line, and every CR is dropped.
std::vector<std::string> ModelLines(std::string_view bytes) {
  for (std::size_t at = 0; at < bytes.size(); ++at) {
    if (bytes[at] == '\x1A' && (at == 0 || bytes[at - 1] == '\n')) {
      bytes = bytes.substr(0, at);
      break;
    }
  }
  std::vector<std::string> lines;
  while (!bytes.empty()) {
    std::size_t end = std::min(bytes.find('\n'), bytes.size());
    std::string line(bytes.substr(0, end));
    std::erase(line, '\r');
    lines.push_back(std::move(line));
    bytes.remove_prefix(std::min(end + 1, bytes.size()));
  }
  return lines;
}

// A lead byte (0x81-0x9F, 0xE0-0xFC) and the byte after it are one character; a lead byte that
// ends the line is a character by itself.
std::vector<std::string_view> ModelChars(std::string_view line) {
  std::vector<std::string_view> chars;
  for (std::size_t at = 0; at < line.size();) {
    auto byte = static_cast<unsigned char>(line[at]);
    bool lead = (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
    std::size_t length = lead && at + 1 < line.size() ? 2 : 1;
    chars.push_back(line.substr(at, length));
    at += length;
  }
  return chars;
}

// Lines that glibc all takes as UTF-8, with some byte beyond ASCII, are a roster saved as UTF-8.
// Their Shift_JIS form, without a byte-order mark at the start of the first line; or the message
// that names, by its line and code point, the first character that has none.
std::optional<std::string> ModelFromUtf8(std::vector<std::string>& lines) {
  std::vector<std::u32string> decoded;
  bool beyondAscii = false;
  for (const std::string& line : lines) {
    std::optional<std::u32string> codePoints = Utf8CodePoints(line);
    if (!codePoints) return std::nullopt;
    beyondAscii = beyondAscii ||
                  std::any_of(codePoints->begin(), codePoints->end(), [](char32_t cp) { return cp > 0x7F; });
    decoded.push_back(std::move(*codePoints));
  }
  if (!beyondAscii) return std::nullopt;
  if (!decoded.empty() && decoded[0].starts_with(U'\uFEFF')) decoded[0].erase(0, 1);
  for (std::size_t k = 0; k < decoded.size(); ++k) {
    lines[k].clear();
    for (char32_t codePoint : decoded[k]) {
      std::optional<std::string> bytes = Cp932Of(codePoint);
      if (bytes) {
        lines[k] += *bytes;
        continue;
      }
      char hex[16];
      std::snprintf(hex, sizeof hex, "%04X", static_cast<unsigned>(codePoint));
      return std::to_string(k + 1) + std::string("行目の「U+"_sj) + hex +
             std::string("」はShift_JISにない文字です"_sj);
    }
  }
  return std::nullopt;
}

struct TModelChara {
  std::string Name;
  std::int32_t Stamina = 0;
  std::vector<std::string_view> Skills;  // full names, in the order of their letters
};

std::optional<std::string_view> SkillNameOf(std::string_view letter) {
  for (const TSkillTableEntry& entry : kSkillTable) {
    if (entry.Letter == letter) return entry.Name;
  }
  return std::nullopt;
}

// The character a non-empty line describes, or the message that rejects it.
std::optional<std::string_view> ModelParse(std::string_view line, TModelChara& chara) {
  std::vector<std::string_view> chars = ModelChars(line);
  for (std::size_t position = 0; position < kSkillAreaChars; ++position) {
    std::string_view ch = position < chars.size() ? chars[position] : std::string_view();
    if (ch == kMark) {
      ++chara.Stamina;
    } else if (std::optional<std::string_view> skill = SkillNameOf(ch)) {
      chara.Skills.push_back(*skill);
    } else {
      return kSkillError;
    }
  }
  if (chars.size() <= kSkillAreaChars || chars[kSkillAreaChars] != kColon) return kColonError;
  std::size_t nameEnd = std::min(chars.size(), kSkillAreaChars + 1 + kMaxNameChars);
  for (std::size_t position = kSkillAreaChars + 1; position < nameEnd; ++position)
    chara.Name += chars[position];
  if (chara.Name.empty()) return kNoNameError;
  return std::nullopt;
}

std::string Quoted(std::string_view sjis) {
  return std::string("\"").append(Cp932ToUtf8ForTerminal(sjis)).append("\"");
}

void RequireMessages(const std::vector<std::string>& shown, const std::vector<std::string_view>& expected) {
  bool same = std::equal(shown.begin(), shown.end(), expected.begin(), expected.end());
  if (same) return;
  std::string what = "message boxes differ: shown";
  for (const std::string& text : shown) what.append(" ").append(Quoted(text));
  what += ", expected";
  for (std::string_view text : expected) what.append(" ").append(Quoted(text));
  Fail(what);
}

// What the line reader promises for a table of the given size: the lines up to the table's
// size, and success only when the file has no more.
void CheckLineReader(const std::vector<std::string>& model, std::size_t slots) {
  std::vector<std::string> table(slots);
  int count = -1;
  bool ok = ReadLinesFile(kRosterFileName, table, count);
  Require(ok == (model.size() <= slots), "ReadLinesFile succeeds exactly when the lines fit the table");
  Require(count >= 0 && static_cast<std::size_t>(count) <= slots, "count stays within the table");
  Require(static_cast<std::size_t>(count) == std::min(model.size(), slots), "count is the lines stored");
  for (std::size_t k = 0; k < static_cast<std::size_t>(count); ++k) {
    if (table[k] != model[k]) Fail("line " + std::to_string(k) + " differs from the file's line");
  }
}

// A loaded record against the model and against what every record promises.
void CheckRecord(const TChara& chara, const TModelChara& model, std::int32_t index) {
  auto require = [index](bool holds, const char* what) {
    if (!holds) Fail("record " + std::to_string(index) + ": " + what);
  };
  require(chara.Name == model.Name, "name differs from the line's");
  require(!chara.Name.empty() && ModelChars(chara.Name).size() <= kMaxNameChars,
          "name is empty or longer than 999 characters");
  require(chara.Stamina == model.Stamina, "stamina differs from the marks");
  require(chara.Stamina + chara.SkillCount == static_cast<std::int32_t>(kSkillAreaChars),
          "stamina and skills do not fill the skill area");
  require(chara.MaxHP == chara.Stamina * (chara.Stamina + 1) / 2, "MaxHP is not 1 + 2 + ... + stamina");
  require(chara.HP == chara.MaxHP, "HP differs from MaxHP");
  require(chara.SkillCount == static_cast<std::int32_t>(model.Skills.size()), "skill count differs");
  for (std::int32_t slot = 0; slot < chara.SkillCount; ++slot) {
    const TSkill& skill = chara.Skill(slot);
    require(skill.Name == model.Skills[static_cast<std::size_t>(slot)] && skill.Ready(),
            "a slot differs from its letter or is not ready");
  }
  require(chara.Wins == 0 && chara.Losses == 0, "wins or losses survive from an earlier load");
  require(
      std::all_of(chara.Results.begin(), chara.Results.end(), [](const std::string& r) { return r.empty(); }),
      "result marks survive from an earlier load");
}

}  // namespace

bool LoadAndCheckRoster(std::string_view bytes) {
  WriteFileBytes(kRosterFileName, bytes);
  std::vector<std::string> model = ModelLines(bytes);
  CheckLineReader(model, kLoaderSlots);
  CheckLineReader(model, bytes.size() % 4);  // small tables meet their limit on small inputs

  TakeMessages();
  RosterCount = kRosterCountBeforeLoad;
  RosterAt(0).Name = kUntouchedName;
  bool loaded = LoadRoster();
  std::vector<std::string> shown = TakeMessages();

  if (model.size() > kLoaderSlots) {
    Require(!loaded, "a file of more than 100 lines loaded");
    RequireMessages(shown, {kRosterReadFailedMessage});
    Require(RosterCount == kRosterCountBeforeLoad, "a failed read changed RosterCount");
    return false;
  }
  if (std::optional<std::string> noSjis = ModelFromUtf8(model)) {
    Require(!loaded, "a UTF-8 roster with a character Shift_JIS lacks loaded");
    RequireMessages(shown, {*noSjis, kCharaError});
    Require(RosterCount == kRosterCountBeforeLoad && RosterAt(0).Name == kUntouchedName,
            "a UTF-8 roster that cannot be converted changed the roster");
    return false;
  }
  std::vector<TModelChara> accepted;
  std::optional<std::string_view> rejection;
  for (const std::string& line : model) {
    if (line.empty()) continue;
    TModelChara chara;
    rejection = ModelParse(line, chara);
    if (rejection) break;
    accepted.push_back(std::move(chara));
  }
  auto acceptedCount = static_cast<std::int32_t>(accepted.size());
  if (rejection) {
    Require(!loaded, "a roster with a bad line loaded");
    RequireMessages(shown, {*rejection, kCharaError});
    Require(RosterCount == acceptedCount,
            "RosterCount is not the number of lines accepted before the bad one");
  } else {
    Require(loaded, "a good roster failed to load");
    RequireMessages(shown, {});
    Require(RosterCount == acceptedCount, "RosterCount is not the number of non-empty lines");
  }
  for (std::int32_t k = 0; k < acceptedCount; ++k)
    CheckRecord(RosterAt(k), accepted[static_cast<std::size_t>(k)], k);
  return loaded;
}

}  // namespace pelmora::fuzz
