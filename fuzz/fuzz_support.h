// What every fuzz harness needs around the core: a private working directory for the files of a
// run, message boxes that are recorded instead of shown, and a way to stop on a broken promise.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace pelmora::fuzz {

// Makes the harness's private working directory the working directory while it lives, and the
// previous one again afterwards, so that paths the fuzzing engine was given stay valid. The
// directory is made on first use, under /dev/shm where the machine has it (a run's files then
// never touch a disk), and removed when the process exits normally.
class TInPrivateWorkDir {
 public:
  TInPrivateWorkDir();
  ~TInPrivateWorkDir();
  TInPrivateWorkDir(const TInPrivateWorkDir&) = delete;
  TInPrivateWorkDir& operator=(const TInPrivateWorkDir&) = delete;
};

// Replaces a file of the working directory with these bytes.
void WriteFileBytes(const std::filesystem::path& file, std::string_view bytes);

// The whole content of a file of the working directory; a file that cannot be read fails.
std::string ReadFileBytes(const std::filesystem::path& file);

// The texts of the message boxes shown since the last call, oldest first. The first call installs
// the recording presenter.
std::vector<std::string> TakeMessages();

// Reports the broken promise on standard error and aborts, so the fuzzing engine keeps the input.
[[noreturn]] void Fail(std::string_view what);

inline void Require(bool holds, const char* what) {
  if (!holds) Fail(what);
}

}  // namespace pelmora::fuzz
