// What the benchmark needs of its system, one file per system: each case measured in a
// process of its own, that process's peak memory, and a C file opened by its name.
#pragma once

#include <cstdio>
#include <filesystem>
#include <vector>

namespace pelmora::bench {

// Measures case k in a process of its own and says whether it went through. On Windows the
// child is the program itself started again with kOneCaseOption, k and the repetitions.
using TMeasureCase = bool (*)(int k, int repetitions);
bool MeasureInOwnProcess(TMeasureCase measure, int k, int repetitions);

inline constexpr const char* kOneCaseOption = "--one-case";

// While it lives, the process (on Linux the calling thread, and the threads it starts) runs only
// on the processor the caller was on when it was made, where the system lets it be held; then it
// may run wherever it could before.
class THeldToProcessor {
 public:
  THeldToProcessor();
  ~THeldToProcessor();
  THeldToProcessor(const THeldToProcessor&) = delete;
  THeldToProcessor& operator=(const THeldToProcessor&) = delete;

  bool Held() const { return held_; }

 private:
  bool held_ = false;
  std::vector<unsigned char> before_;  // the system's set of the processors it could run on
};

// The peak resident memory of this process in kilobytes.
long PeakRssKb();

// Opens a file for writing bytes as they are; nullptr when it cannot.
std::FILE* OpenForWriting(const std::filesystem::path& name);

}  // namespace pelmora::bench
