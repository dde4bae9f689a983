// Temporary working directories and whole-file reads and writes for tests.
#include "tests/support/work_dir.h"

#include <fstream>
#include <iterator>
#include <random>
#include <stdexcept>
#include <string>

namespace pelmora::testing {

namespace {

// A directory of a new random name in the temporary directory; creating it is the test that the
// name is free.
std::filesystem::path MakeTemporaryDirectory() {
  constexpr int kAttempts = 100;
  std::random_device random;
  for (int attempt = 0; attempt < kAttempts; ++attempt) {
    std::filesystem::path path =
        std::filesystem::temp_directory_path() / ("pelmora-test-" + std::to_string(random()));
    if (std::filesystem::create_directory(path)) return path;
  }
  throw std::runtime_error("no free name for a temporary directory");
}

}  // namespace

TScopedWorkDir::TScopedWorkDir() : previous_(std::filesystem::current_path()) {
  path_ = MakeTemporaryDirectory();
  // Wide enough for an unprivileged child to enter and work in it.
  std::filesystem::permissions(path_, std::filesystem::perms::all);
  std::filesystem::current_path(path_);
}

TScopedWorkDir::~TScopedWorkDir() {
  std::error_code ignored;
  std::filesystem::current_path(previous_, ignored);
  std::filesystem::permissions(path_, std::filesystem::perms::all, ignored);
  std::filesystem::remove_all(path_, ignored);
}

void WriteFileBytes(const std::filesystem::path& file, std::string_view bytes) {
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (!out) throw std::runtime_error("cannot write " + file.string());
}

std::string ReadFileBytes(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  if (!in) throw std::runtime_error("cannot read " + file.string());
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace pelmora::testing
