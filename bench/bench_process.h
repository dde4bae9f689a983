// What the benchmark needs of its system, one file per system: each roster size measured in a
// process of its own, that process's peak memory, and a C file opened by its name.
#pragma once

#include <cstdio>
#include <filesystem>

namespace pelmora::bench {

// Measures one size in a process of its own and says whether it went through. On Windows the
// child is the program itself started again with kOneSizeOption, the size and the repetitions.
using TMeasureSize = bool (*)(int count, int repetitions);
bool MeasureInOwnProcess(TMeasureSize measure, int count, int repetitions);

inline constexpr const char* kOneSizeOption = "--one-size";

// The peak resident memory of this process in kilobytes.
long PeakRssKb();

// Opens a file for writing bytes as they are; nullptr when it cannot.
std::FILE* OpenForWriting(const std::filesystem::path& name);

}  // namespace pelmora::bench
