// Open descriptors and resident memory, from /proc.
#include "tests/support/process_usage.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace pelmora::testing {

std::ptrdiff_t OpenDescriptorCount() {
  namespace fs = std::filesystem;
  return std::distance(fs::directory_iterator("/proc/self/fd"), fs::directory_iterator());
}

long ResidentKilobytes() {
  std::ifstream status("/proc/self/status");
  for (std::string line; std::getline(status, line);) {
    if (line.starts_with("VmRSS:")) return std::stol(line.substr(6));
  }
  ADD_FAILURE() << "no VmRSS in /proc/self/status";
  return 0;
}

}  // namespace pelmora::testing
