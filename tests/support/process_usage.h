// What the test process holds at a moment: its open files and its resident memory, each read the
// way its system tells them.
#pragma once

#include <cstddef>

namespace pelmora::testing {

// The descriptors (on Windows, the file handles) the process has open now.
std::ptrdiff_t OpenDescriptorCount();

// The process's resident set (on Windows, its working set) in kilobytes.
long ResidentKilobytes();

}  // namespace pelmora::testing
