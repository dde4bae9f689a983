// The fuzz harnesses' working directory, message recorder and failure report.
#include "fuzz/fuzz_support.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <system_error>

#include "common/message_box.h"

namespace pelmora::fuzz {

namespace {

namespace fs = std::filesystem;

fs::path PreviousDir;

fs::path& PrivateDir() {
  static fs::path dir;
  return dir;
}

void RemovePrivateDir() {
  std::error_code ignored;
  fs::remove_all(PrivateDir(), ignored);
}

// A directory of a new random name; creating it is the test that the name is free.
void MakePrivateDir() {
  constexpr int kAttempts = 100;
  fs::path parent = fs::is_directory("/dev/shm") ? fs::path("/dev/shm") : fs::temp_directory_path();
  std::random_device random;
  std::error_code error;
  for (int attempt = 0; attempt < kAttempts && PrivateDir().empty(); ++attempt) {
    fs::path dir = parent / ("pelmora-fuzz-" + std::to_string(random()));
    if (fs::create_directory(dir, error)) PrivateDir() = dir;
  }
  if (PrivateDir().empty()) Fail("cannot make the private working directory");
  std::atexit(RemovePrivateDir);
}

// Changes the working directory without throwing; false when it cannot.
bool EnterDir(const fs::path& dir) {
  std::error_code error;
  fs::current_path(dir, error);
  return !error;
}

std::vector<std::string>& Messages() {
  static std::vector<std::string> messages;
  return messages;
}

}  // namespace

TInPrivateWorkDir::TInPrivateWorkDir() {
  if (PrivateDir().empty()) MakePrivateDir();
  PreviousDir = fs::current_path();
  if (!EnterDir(PrivateDir())) Fail("cannot enter the private working directory");
}

TInPrivateWorkDir::~TInPrivateWorkDir() {
  if (!EnterDir(PreviousDir)) Fail("cannot leave the private working directory");
  PreviousDir.clear();
}

void WriteFileBytes(const fs::path& file, std::string_view bytes) {
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  out.close();
  Require(out.good(), "cannot write the input file");
}

std::string ReadFileBytes(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  if (!in) Fail("cannot read " + file.string());
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::vector<std::string> TakeMessages() {
  static bool installed = false;
  if (!installed) {
    SetMessageBoxPresenter([](std::string_view text) { Messages().emplace_back(text); });
    installed = true;
  }
  std::vector<std::string> taken;
  taken.swap(Messages());
  return taken;
}

void Fail(std::string_view what) {
  // Back in the directory the engine started in, so that it writes the reproducer there.
  if (!PreviousDir.empty() && !EnterDir(PreviousDir)) std::fputs("cannot go back to the directory\n", stderr);
  std::fprintf(stderr, "broken promise: %.*s\n", static_cast<int>(what.size()), what.data());
  std::abort();
}

}  // namespace pelmora::fuzz
