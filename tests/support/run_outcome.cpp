// Runs told in words: the error, the boxes, the descriptors and the states of both files.
#include "tests/support/run_outcome.h"

#include <sstream>

#include "common/cp932_to_utf8.h"
#include "roster/roster_loader.h"
#include "tests/support/message_recorder.h"
#include "tests/support/sjis_compare.h"
#include "tests/support/three_characters.h"
#include "tests/support/work_dir.h"
#include "tournament/io_error.h"
#include "tournament/output_files.h"
#include "tournament/run.h"

namespace pelmora::testing {

namespace fs = std::filesystem;

const TRunFiles kEarlierFiles = {"what an earlier run left in the report\r\n",
                                 "what an earlier run left in the battle log\r\n"};

void PutEarlierFiles() {
  WriteFileBytes(kResultFileName, kEarlierFiles.Report);
  WriteFileBytes(kBattleLogFileName, kEarlierFiles.BattleLog);
}

void WriteThreeCharacterRoster() { WriteFileBytes(kRosterFileName, WithCrLf(kThreeCharacterRoster)); }

std::string DescribeRunsAroundFault(const std::function<void()>& makeFault,
                                    const std::function<void()>& removeFault) {
  WriteThreeCharacterRoster();
  TRunFiles complete = UndisturbedRun();
  PutEarlierFiles();
  makeFault();
  std::string seen = DescribeRun(RunFromRosterFile, complete);
  removeFault();
  return seen + "next run:\n" + DescribeRun(RunFromRosterFile, complete);
}

TRunFiles UndisturbedRun() {
  TMessageRecorder messages;
  RunFromRosterFile();
  if (messages.Texts().size() != 1) throw std::runtime_error("the undisturbed run did not finish");
  return {ReadFileBytes(kResultFileName), ReadFileBytes(kBattleLogFileName)};
}

namespace {

std::string Describe(std::string_view error, const std::vector<std::string>& messages,
                     std::ptrdiff_t descriptors, std::string_view report, std::string_view battleLog) {
  std::ostringstream text;
  text << error << "\nmessages:";
  for (const std::string& message : messages) text << " " << Cp932ToUtf8ForTerminal(message);
  text << "\ndescriptors left open: " << descriptors << "\n"
       << kResultFileName << ": " << report << "\n"
       << kBattleLogFileName << ": " << battleLog << "\n";
  return text.str();
}

}  // namespace

std::string DescribeRun(const std::function<void()>& run, const TRunFiles& complete) {
  TMessageRecorder messages;
  std::ptrdiff_t descriptors = OpenDescriptorCount();
  std::string error = "no error";
  try {
    run();
  } catch (const TIoError& thrown) {
    error = "error " + std::to_string(thrown.Code()) + ": " + thrown.what();
  }
  return Describe(error, messages.Texts(), OpenDescriptorCount() - descriptors,
                  FileState(kResultFileName, kEarlierFiles.Report, complete.Report),
                  FileState(kBattleLogFileName, kEarlierFiles.BattleLog, complete.BattleLog));
}

std::string Outcome(std::string_view error, std::initializer_list<std::string_view> messages,
                    std::string_view report, std::string_view battleLog) {
  return Describe(error, std::vector<std::string>(messages.begin(), messages.end()), 0, report, battleLog);
}

std::string CompleteRun() { return Outcome("no error", {kClosingMessage}, "complete", "complete"); }

std::string FileState(const fs::path& file, std::string_view earlier, std::string_view complete) {
  fs::file_status status = fs::symlink_status(file);
  if (fs::is_symlink(status)) return "a link to " + fs::read_symlink(file).string();
  if (fs::is_directory(status)) return "a directory";
  if (fs::is_fifo(status)) return "a named pipe";
  if (!fs::exists(status)) return "missing";
  std::string bytes = ReadFileBytes(file);
  if (bytes == earlier) return "untouched";
  if (bytes.empty()) return "empty";
  if (bytes == complete) return "complete";
  if (complete.starts_with(bytes)) {
    return LineEndFault(bytes).empty() ? "the first whole lines of the complete file"
                                       : "the complete file's beginning, cut inside a line";
  }
  return "changed, " + std::to_string(bytes.size()) + " bytes";
}

std::string LineEndFault(std::string_view text) {
  for (std::size_t at = 0; at < text.size(); ++at) {
    bool bareLf = text[at] == '\n' && (at == 0 || text[at - 1] != '\r');
    bool bareCr = text[at] == '\r' && (at + 1 == text.size() || text[at + 1] != '\n');
    if (bareLf || bareCr) return "lone line-end byte at " + std::to_string(at);
  }
  if (!text.empty() && !text.ends_with("\r\n")) return "the last line has no line end";
  return "";
}

}  // namespace pelmora::testing
