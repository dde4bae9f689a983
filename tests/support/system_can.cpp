// What every system is asked the same way: the capture of standard error.
#include "tests/support/system_can.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

namespace pelmora::testing {

bool CanCaptureStandardError() {
  constexpr const char* kProbe = "probe\n";
  ::testing::internal::CaptureStderr();
  std::fputs(kProbe, stderr);
  std::fflush(stderr);
  return ::testing::internal::GetCapturedStderr() == kProbe;
}

}  // namespace pelmora::testing
