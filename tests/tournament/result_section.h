// One writer of the result report run on its own, with ResultFile open on a scratch file.
#pragma once

#include <functional>
#include <string>

#include "tests/support/work_dir.h"
#include "tournament/output_files.h"

namespace pelmora::testing {

// What write put into the result report, in a temporary working directory of its own.
inline std::string WrittenToResultFile(const std::function<void()>& write) {
  TScopedWorkDir dir;
  ResultFile.Open(kResultFileName);
  write();
  ResultFile.Close();
  return ReadFileBytes(kResultFileName);
}

}  // namespace pelmora::testing
