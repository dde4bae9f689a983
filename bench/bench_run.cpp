// The benchmark of a whole run. For each roster size it times the run button's command on a
// generated roster and the floor: writing the same bytes through the same output files with no
// simulation. Each case runs in a child process of its own so that its peak memory is its own.
//
//   bench_run [repetitions]
//   bench_run --one-case K repetitions     (case K in this process: the child on Windows)
//
// The last lines are one per size: N=… run_ms=… floor_ms=… ratio=… bytes=… peak_rss_kb=…, each
// time the best of the runs and then the median, and one more for the largest roster saved as
// UTF-8, whose files are UTF-8 and whose floor writes those UTF-8 bytes (roster=utf-8). In both
// largest cases every run is followed by one held to the processor it ran on (cpus=1), so that
// the two see the same machine and what more processors gain or cost shows on the line after.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "bench/bench_process.h"
#include "bench/roster_generator.h"
#include "common/cp932_to_utf8.h"
#include "common/message_box.h"
#include "roster/roster_loader.h"
#include "tournament/output_files.h"
#include "tournament/run.h"

namespace {

using namespace pelmora;
using namespace pelmora::bench;
using TClock = std::chrono::steady_clock;

struct TBenchCase {
  int Count;
  TTextEncoding RosterEncoding;
  bool AlsoOneProcessor;  // each run followed by one held to the processor it ran on
};

constexpr TBenchCase kCases[] = {
    {10, TTextEncoding::ShiftJis, false}, {25, TTextEncoding::ShiftJis, false},
    {50, TTextEncoding::ShiftJis, false}, {100, TTextEncoding::ShiftJis, true},
    {100, TTextEncoding::Utf8, true},
};
constexpr int kDefaultRepetitions = 15;

std::string ReadFile(const char* name) {
  std::ifstream in(name, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// The best and the median time of a function's runs.
struct TTimes {
  double BestMs;
  double MedianMs;
};

TTimes BestAndMedian(std::vector<double> times) {
  std::sort(times.begin(), times.end());
  std::size_t middle = times.size() / 2;
  double median = times.size() % 2 == 1 ? times[middle] : (times[middle - 1] + times[middle]) / 2;
  return {times.front(), median};
}

template <class TFunction>
double Milliseconds(TFunction function) {
  auto start = TClock::now();
  function();
  return std::chrono::duration<double, std::milli>(TClock::now() - start).count();
}

// The times of a function's runs as the process is and, where asked, of as many runs each held
// to the processor the run before it ran on.
template <class TFunction>
std::pair<TTimes, TTimes> Measure(int repetitions, bool alsoOneProcessor, TFunction function) {
  std::vector<double> free;
  std::vector<double> held;
  for (int r = 0; r < repetitions; ++r) {
    free.push_back(Milliseconds(function));
    if (!alsoOneProcessor) continue;
    THeldToProcessor one;
    if (!one.Held()) throw std::runtime_error("cannot hold the process to one processor");
    held.push_back(Milliseconds(function));
  }
  return {BestAndMedian(free), alsoOneProcessor ? BestAndMedian(held) : TTimes{}};
}

void PrintLine(const TBenchCase& c, bool oneProcessor, TTimes run, TTimes floor, std::size_t bytes,
               long peakRssKb) {
  std::printf("N=%d%s%s run_ms=%.3f/%.3f floor_ms=%.3f/%.3f ratio=%.2f/%.2f bytes=%zu peak_rss_kb=%ld\n",
              c.Count, c.RosterEncoding == TTextEncoding::Utf8 ? " roster=utf-8" : "",
              oneProcessor ? " cpus=1" : "", run.BestMs, run.MedianMs, floor.BestMs, floor.MedianMs,
              run.BestMs / floor.BestMs, run.MedianMs / floor.MedianMs, bytes, peakRssKb);
}

// The generated roster, saved in the encoding given.
std::string RosterFile(const TBenchCase& c) {
  std::string sjis = GenerateRosterFile(c.Count);
  return c.RosterEncoding == TTextEncoding::Utf8 ? Cp932ToUtf8(sjis) : sjis;
}

// Writes the lines of text (CR LF ends) through the output file, as the run writes them.
void WriteLines(TOutputFile& file, std::string_view text) {
  for (std::size_t start = 0; start < text.size();) {
    std::size_t end = text.find("\r\n", start);
    file << text.substr(start, end - start);
    file.EndLine();
    start = end + 2;
  }
}

// Case k of kCases, in the current process: prints its line; false when a run did not go through.
bool MeasureCase(int k, int repetitions) {
  if (k < 0 || k >= static_cast<int>(std::size(kCases))) return false;
  const TBenchCase& c = kCases[k];
  const int count = c.Count;
  // Written through C's files: the streams' first use would count towards the peak memory.
  std::string roster = RosterFile(c);
  std::FILE* file = OpenForWriting(std::filesystem::path(kRosterFileName));
  if (file == nullptr || std::fwrite(roster.data(), 1, roster.size(), file) != roster.size() ||
      std::fclose(file) != 0) {
    std::fprintf(stderr, "N=%d: cannot write the roster\n", count);
    return false;
  }
  int finishedRuns = 0;
  SetMessageBoxPresenter([&finishedRuns](std::string_view text) { finishedRuns += text == kClosingMessage; });

  auto [run, heldRun] = Measure(repetitions, c.AlsoOneProcessor, RunFromRosterFile);
  long peakRssKb = PeakRssKb();
  int runs = c.AlsoOneProcessor ? 2 * repetitions : repetitions;
  if (finishedRuns != runs) {
    std::fprintf(stderr, "N=%d: %d of %d runs went through\n", count, finishedRuns, runs);
    return false;
  }

  std::string result = ReadFile(kResultFileName);
  std::string battle = ReadFile(kBattleLogFileName);
  // The floor writes the bytes as they are, whatever their encoding.
  auto [floor, heldFloor] = Measure(repetitions, c.AlsoOneProcessor, [&] {
    ResultFile.Open(kResultFileName);
    BattleLogFile.Open(kBattleLogFileName);
    WriteLines(ResultFile, result);
    WriteLines(BattleLogFile, battle);
    CloseOutputs();
  });
  PrintLine(c, false, run, floor, result.size() + battle.size(), peakRssKb);
  if (c.AlsoOneProcessor) PrintLine(c, true, heldRun, heldFloor, result.size() + battle.size(), peakRssKb);
  std::fflush(stdout);
  return true;
}

// A scratch directory of a new random name; empty when none can be made.
std::filesystem::path MakeScratchDir() {
  constexpr int kAttempts = 100;
  std::random_device random;
  std::error_code error;
  for (int attempt = 0; attempt < kAttempts; ++attempt) {
    std::filesystem::path dir =
        std::filesystem::temp_directory_path() / ("pelmora-bench-" + std::to_string(random()));
    if (std::filesystem::create_directory(dir, error)) return dir;
  }
  return {};
}

}  // namespace

int main(int argc, char* argv[]) {
  if (argc == 4 && std::string_view(argv[1]) == kOneCaseOption)
    return MeasureCase(std::atoi(argv[2]), std::max(1, std::atoi(argv[3]))) ? EXIT_SUCCESS : EXIT_FAILURE;
  int repetitions = argc > 1 ? std::max(1, std::atoi(argv[1])) : kDefaultRepetitions;
  std::filesystem::path scratch = MakeScratchDir();
  if (scratch.empty()) return EXIT_FAILURE;
  std::filesystem::current_path(scratch);
  std::printf(
      "whole run against the floor of writing its bytes; best/median of %d, each case in its own process\n",
      repetitions);
  std::fflush(stdout);
  int failures = 0;
  for (int k = 0; k < static_cast<int>(std::size(kCases)); ++k) {
    if (!MeasureInOwnProcess(MeasureCase, k, repetitions)) ++failures;
  }
  std::filesystem::current_path(scratch.parent_path());
  std::filesystem::remove_all(scratch);
  return failures == 0 ? EXIT_SUCCESS : EXIT_FAILURE;
}
