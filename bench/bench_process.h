// What the benchmark needs of its system, one file per system: each case measured in a
// process of its own, that process's peak memory, and a C file opened by its name.
#pragma once

#include <cstdio>
#include <filesystem>

namespace pelmora::bench {

// Measures case k in a process of its own and says whether it went through. On Windows the
// child is the program itself started again with kOneCaseOption, k and the repetitions.
using TMeasureCase = bool (*)(int k, int repetitions);
bool MeasureInOwnProcess(TMeasureCase measure, int k, int repetitions);

inline constexpr const char* kOneCaseOption = "--one-case";

// Holds this process to the first processor it may run on; false where the system refuses.
bool HoldToOneProcessor();

// The peak resident memory of this process in kilobytes.
long PeakRssKb();

// Opens a file for writing bytes as they are; nullptr when it cannot.
std::FILE* OpenForWriting(const std::filesystem::path& name);

}  // namespace pelmora::bench
