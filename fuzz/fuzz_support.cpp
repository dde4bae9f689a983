// The fuzz harnesses' working directory, message recorder and failure report.
#include "fuzz/fuzz_support.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
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

void MakePrivateDir() {
  fs::path parent = fs::is_directory("/dev/shm") ? fs::path("/dev/shm") : fs::temp_directory_path();
  std::string pattern = (parent / "pelmora-fuzz-XXXXXX").string();
  if (mkdtemp(pattern.data()) == nullptr) Fail("cannot make the private working directory");
  PrivateDir() = pattern;
  std::atexit(RemovePrivateDir);
}

std::vector<std::string>& Messages() {
  static std::vector<std::string> messages;
  return messages;
}

}  // namespace

TInPrivateWorkDir::TInPrivateWorkDir() {
  if (PrivateDir().empty()) MakePrivateDir();
  PreviousDir = fs::current_path();
  if (::chdir(PrivateDir().c_str()) != 0) Fail("cannot enter the private working directory");
}

TInPrivateWorkDir::~TInPrivateWorkDir() {
  if (::chdir(PreviousDir.c_str()) != 0) Fail("cannot leave the private working directory");
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
  if (!PreviousDir.empty() && ::chdir(PreviousDir.c_str()) != 0) std::perror("chdir");
  std::fprintf(stderr, "broken promise: %.*s\n", static_cast<int>(what.size()), what.data());
  std::abort();
}

}  // namespace pelmora::fuzz
