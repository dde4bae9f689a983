// Fuzz harness of a whole run: any bytes as キャラクター.txt, checked as the loader harness checks
// them, and a roster that loads played through and its two files held to what every run promises.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <exception>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/sjis_literal.h"
#include "fuzz/fuzz_support.h"
#include "fuzz/roster_check.h"
#include "roster/chara.h"
#include "roster/roster_loader.h"
#include "tournament/output_files.h"
#include "tournament/run.h"

namespace pelmora::fuzz {

namespace {

constexpr std::string_view kMatchRule = "============================================================";
constexpr std::string_view kWinMark = "○"_sj;
constexpr std::string_view kLossMark = "×"_sj;
constexpr std::string_view kSelfMark = "－"_sj;

// The lines of a file whose every line ends in CR LF; a CR or LF anywhere else fails. Names
// cannot hold either byte, since the line reader has taken them out.
std::vector<std::string_view> CrLfLines(std::string_view text, const char* file) {
  std::vector<std::string_view> lines;
  while (!text.empty()) {
    std::size_t end = text.find_first_of("\r\n");
    if (end == std::string_view::npos) Fail(std::string(file) + " does not end with CR LF");
    if (text.substr(end, 2) != "\r\n") Fail(std::string(file) + " has a lone CR or LF");
    lines.push_back(text.substr(0, end));
    text.remove_prefix(end + 2);
  }
  return lines;
}

// The three sections, each its heading, its rows and an empty line; the ranking in order of wins
// and every character in it once.
void CheckReport(const std::vector<std::string_view>& lines, std::int32_t n) {
  auto at = [&](std::int32_t k) { return lines[static_cast<std::size_t>(k)]; };
  Require(static_cast<std::int32_t>(lines.size()) == 3 * n + 7, "the report does not have 3n + 7 lines");
  Require(at(0) == "キャラクターリスト："_sj && at(n + 1).empty(), "the roster list is out of shape");
  Require(at(n + 2) == "勝敗表："_sj && at(2 * n + 4).empty(), "the win/loss table is out of shape");
  Require(at(2 * n + 5) == "勝数順："_sj && at(3 * n + 6).empty(), "the ranking is out of shape");
  std::vector<bool> ranked(static_cast<std::size_t>(n), false);
  std::int32_t previousWins = n;
  for (std::int32_t row = 0; row < n; ++row) {
    std::string_view line = at(2 * n + 6 + row);
    std::int32_t position = 0;
    std::size_t digits = 0;
    for (; digits < line.size() && line[digits] >= '0' && line[digits] <= '9'; ++digits) {
      position = position * 10 + (line[digits] - '0');
    }
    Require(digits >= 2 && digits < line.size() && line[digits] == ' ' && position >= 1 && position <= n &&
                !ranked[static_cast<std::size_t>(position - 1)],
            "a ranking line does not start with a new roster position");
    ranked[static_cast<std::size_t>(position - 1)] = true;
    std::int32_t wins = RosterAt(position - 1).Wins;
    Require(wins <= previousWins, "the ranking is not in order of wins");
    previousWins = wins;
  }
}

// Every pair met once: the marks agree from both sides and the wins add up.
void CheckRecords(std::int32_t n) {
  std::int32_t totalWins = 0;
  for (std::int32_t i = 0; i < n; ++i) {
    const TChara& chara = RosterAt(i);
    Require(chara.Wins + chara.Losses == n - 1, "a character did not meet every other once");
    Require(chara.HP == chara.MaxHP, "a character is not back at full health after the run");
    for (std::int32_t slot = 0; slot < chara.SkillCount; ++slot) {
      Require(chara.Skill(slot).Ready(), "a skill slot is not ready again after the run");
    }
    totalWins += chara.Wins;
    Require(chara.Result(i) == kSelfMark, "a character's own mark is not －");
    for (std::int32_t j = 0; j < n; ++j) {
      if (j == i) continue;
      const std::string& mark = chara.Result(j);
      const std::string& answer = RosterAt(j).Result(i);
      Require((mark == kWinMark && answer == kLossMark) || (mark == kLossMark && answer == kWinMark),
              "the marks of a match do not agree");
    }
  }
  Require(totalWins == n * (n - 1) / 2, "the wins do not add up to the number of matches");
}

void CheckBattleLog(const std::vector<std::string_view>& lines, std::int32_t n) {
  auto rules = std::count(lines.begin(), lines.end(), kMatchRule);
  Require(rules == n * (n - 1), "the battle log does not frame every match");
}

struct TRunFiles {
  std::string Report;
  std::string BattleLog;
};

// A file of a run in Shift_JIS: a roster saved as UTF-8 gets its files in UTF-8, which the
// system's converter must read back whole.
std::string SjisFile(const char* fileName) {
  std::string bytes = ReadFileBytes(fileName);
  if (RosterEncoding == TTextEncoding::ShiftJis) return bytes;
  std::optional<std::string> sjis = Utf8ToCp932ByModel(bytes);
  if (!sjis) Fail(std::string(fileName) + " is not UTF-8 of Shift_JIS characters");
  return *sjis;
}

// A run as the run button starts it, which loads the roster again.
TRunFiles RunOnce() {
  TakeMessages();
  RunFromRosterFile();
  std::vector<std::string> shown = TakeMessages();
  Require(shown.size() == 1 && shown[0] == kClosingMessage, "the run did not end with its closing message");
  return {SjisFile(kResultFileName), SjisFile(kBattleLogFileName)};
}

void CheckWholeRun() {
  std::int32_t n = RosterCount;
  TRunFiles files = RunOnce();
  CheckReport(CrLfLines(files.Report, kResultFileName), n);
  CheckBattleLog(CrLfLines(files.BattleLog, kBattleLogFileName), n);
  Require(files.BattleLog.empty() == (n < 2), "the battle log is empty exactly when no match is played");
  CheckRecords(n);
  TRunFiles again = RunOnce();
  Require(again.Report == files.Report && again.BattleLog == files.BattleLog,
          "a second run wrote other files");
}

}  // namespace

}  // namespace pelmora::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace pelmora::fuzz;
  TInPrivateWorkDir inPrivateDir;
  try {
    if (LoadAndCheckRoster(std::string_view(reinterpret_cast<const char*>(data), size)) &&
        pelmora::RosterCount <= kMaxRunRoster) {
      CheckWholeRun();
    }
  } catch (const std::exception& error) {
    Fail(std::string("the run threw: ") + error.what());
  }
  return 0;
}
