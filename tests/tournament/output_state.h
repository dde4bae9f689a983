// Where the output files and the process's descriptors stand after a run, in words that a test
// compares whole, so that a failure shows everything a run did at once.
#pragma once

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>

namespace pelmora::testing {

// "untouched" (it holds what it held before the run), "empty", "complete" (it holds what an
// undisturbed run writes), "missing", "a directory", "a link to ...", or its size when it is
// anything else.
std::string FileState(const std::filesystem::path& file, std::string_view earlier, std::string_view complete);

// Empty when every line of the text ends in CR LF, otherwise where it does not.
std::string LineEndFault(std::string_view text);

// The descriptors the process has open now.
std::ptrdiff_t OpenDescriptorCount();

}  // namespace pelmora::testing
