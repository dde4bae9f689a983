// What a click of the run button left behind, told in words that a test compares whole, so that
// a failure shows at once everything a run did: the error it stopped at, the boxes it showed,
// the descriptors it left open and where both output files stand.
#pragma once

#include <cstddef>
#include <filesystem>
#include <functional>
#include <initializer_list>
#include <string>
#include <string_view>

#include "tests/support/process_usage.h"

namespace pelmora::testing {

// Both output files of a run.
struct TRunFiles {
  std::string Report;
  std::string BattleLog;
};

// What an earlier run left in both files, so that a file a run leaves alone shows as such.
extern const TRunFiles kEarlierFiles;
void PutEarlierFiles();

// Runs the working directory's roster undisturbed; returns both files, which stay in place.
TRunFiles UndisturbedRun();

// Runs and tells what happened; both files are compared with kEarlierFiles and complete.
std::string DescribeRun(const std::function<void()>& run, const TRunFiles& complete);

// Writes the three characters of the worked example as the working directory's roster.
void WriteThreeCharacterRoster();

// The three characters run undisturbed, then over an earlier run's files with a fault in place,
// then again once it is removed; the last two runs are told in words, "next run:" between them.
std::string DescribeRunsAroundFault(const std::function<void()>& makeFault,
                                    const std::function<void()>& removeFault);

// A description as DescribeRun gives it, of a run that left no descriptor open. The messages are
// the boxes' Shift_JIS texts; error is "no error" or "error <code>: <message>".
std::string Outcome(std::string_view error, std::initializer_list<std::string_view> messages,
                    std::string_view report, std::string_view battleLog);

// A run that went through: no error, the closing message and both files complete.
std::string CompleteRun();

// "untouched" (it holds what it held before the run), "empty", "complete" (it holds what an
// undisturbed run writes), the complete file's first whole lines, or its beginning cut inside a
// line, "missing", "a directory", "a named pipe", "a link to ...", or its size when it is anything
// else.
std::string FileState(const std::filesystem::path& file, std::string_view earlier, std::string_view complete);

// Empty when every line of the text ends in CR LF, otherwise where it does not.
std::string LineEndFault(std::string_view text);

}  // namespace pelmora::testing
