// Replays inputs through a fuzz harness without the fuzzing engine, so any compiler can build it:
// every file named on the command line, and every regular file below a directory named there,
// once each in name order. It replays the committed corpus in the tests and a reproducer by hand.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <system_error>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace {

namespace fs = std::filesystem;

// Absolute paths, since a harness may change the working directory while it runs.
std::vector<fs::path> InputsNamedBy(int argc, char** argv) {
  std::vector<fs::path> inputs;
  for (int arg = 1; arg < argc; ++arg) {
    fs::path named = fs::absolute(argv[arg]);
    if (!fs::is_directory(named)) {
      inputs.push_back(named);
      continue;
    }
    for (const fs::directory_entry& entry : fs::recursive_directory_iterator(named)) {
      if (entry.is_regular_file()) inputs.push_back(entry.path());
    }
  }
  std::sort(inputs.begin(), inputs.end());
  return inputs;
}

bool ReadInput(const fs::path& file, std::string& bytes) {
  std::ifstream in(file, std::ios::binary);
  if (!in) return false;
  bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  return !in.bad();
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<fs::path> inputs;
  try {
    inputs = InputsNamedBy(argc, argv);
  } catch (const fs::filesystem_error& error) {
    std::fprintf(stderr, "%s\n", error.what());
    return 2;
  }
  if (inputs.empty()) {
    std::fprintf(stderr, "usage: %s FILE_OR_DIRECTORY...: nothing to replay\n", argv[0]);
    return 2;
  }
  for (const fs::path& input : inputs) {
    std::string bytes;
    if (!ReadInput(input, bytes)) {
      std::fprintf(stderr, "cannot read %s\n", input.string().c_str());
      return 2;
    }
    std::fprintf(stderr, "Running: %s\n", input.string().c_str());
    // The bytes in a buffer of their own size, so that reading past the end is an overflow.
    std::vector<std::uint8_t> data(bytes.begin(), bytes.end());
    LLVMFuzzerTestOneInput(data.data(), data.size());
  }
  std::printf("replayed %zu inputs\n", inputs.size());
  return 0;
}
