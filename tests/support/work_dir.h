// A fresh temporary directory that is the working directory for the life of the object.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace pelmora::testing {

class TScopedWorkDir {
 public:
  TScopedWorkDir();
  ~TScopedWorkDir();
  TScopedWorkDir(const TScopedWorkDir&) = delete;
  TScopedWorkDir& operator=(const TScopedWorkDir&) = delete;

  const std::filesystem::path& Path() const { return path_; }

 private:
  std::filesystem::path previous_;
  std::filesystem::path path_;
};

// Writes bytes to a file, replacing it.
void WriteFileBytes(const std::filesystem::path& file, std::string_view bytes);

// The whole content of a file; throws when it cannot be read.
std::string ReadFileBytes(const std::filesystem::path& file);

}  // namespace pelmora::testing
