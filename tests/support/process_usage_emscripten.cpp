// Open descriptors and memory of a WebAssembly test program under Node: the files it opens are
// Node's descriptors, listed in /proc; its memory is its linear memory, which grows and never
// shrinks, so a leak shows as growth just as in a native process's resident set (Node's own
// memory, its collector's heap included, is not the program's).
#include "tests/support/process_usage.h"

#include <filesystem>
#include <iterator>

namespace pelmora::testing {

std::ptrdiff_t OpenDescriptorCount() {
  namespace fs = std::filesystem;
  return std::distance(fs::directory_iterator("/proc/self/fd"), fs::directory_iterator());
}

long ResidentKilobytes() {
  constexpr long kPageKilobytes = 64;  // a WebAssembly page is 64 KiB
  return static_cast<long>(__builtin_wasm_memory_size(0)) * kPageKilobytes;
}

}  // namespace pelmora::testing
