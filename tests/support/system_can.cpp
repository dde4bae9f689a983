// What every system is asked the same way: threads and the capture of standard error.
#include "tests/support/system_can.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <system_error>
#include <thread>

namespace pelmora::testing {

bool CanStartThreads() {
  try {
    std::thread([] {}).join();
    return true;
  } catch (const std::system_error&) {
    return false;
  }
}

bool CanCaptureStandardError() {
  constexpr const char* kProbe = "probe\n";
  ::testing::internal::CaptureStderr();
  std::fputs(kProbe, stderr);
  std::fflush(stderr);
  return ::testing::internal::GetCapturedStderr() == kProbe;
}

}  // namespace pelmora::testing
