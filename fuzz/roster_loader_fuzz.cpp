// Fuzz harness of the roster loader: any bytes as キャラクター.txt, loaded and checked against the
// model of the roster file, the line reader on its own included.
#include <cstddef>
#include <cstdint>
#include <exception>
#include <string>
#include <string_view>

#include "fuzz/fuzz_support.h"
#include "fuzz/roster_check.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace pelmora::fuzz;
  TInPrivateWorkDir inPrivateDir;
  try {
    LoadAndCheckRoster(std::string_view(reinterpret_cast<const char*>(data), size));
  } catch (const std::exception& error) {
    Fail(std::string("the loader threw: ") + error.what());
  }
  return 0;
}
