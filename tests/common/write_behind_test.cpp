// Jobs written behind the caller: one at a time and in order, and a failure that reaches the
// caller once and keeps every later job from running.
#include "common/write_behind.h"
#include "tests/support/system_can.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <thread>
#include <vector>

namespace pelmora {
namespace {

TEST(WriteBehind, JobsRunInOrderAndAFailureStopsTheNextOne) {
  if (!testing::CanStartThreads()) GTEST_SKIP() << testing::kNoThreads;
  TWriteBehind writes(2);
  std::vector<int> ran;  // touched by one job at a time, each after the one before has finished
  const std::thread::id caller = std::this_thread::get_id();
  std::thread::id handedRanOn;
  std::thread::id runRanOn;

  writes.Hand([&] {
    handedRanOn = std::this_thread::get_id();
    ran.push_back(1);
  });
  writes.Hand([&] { ran.push_back(2); });
  writes.Hand([] { throw std::runtime_error("refused"); });
  // The failure comes out of one of the calls after it, once; none of their jobs runs.
  EXPECT_THROW(
      {
        writes.Hand([&] { ran.push_back(97); });
        writes.Hand([&] { ran.push_back(98); });
        writes.Run([&] { ran.push_back(99); });
      },
      std::runtime_error);
  writes.Run([&] {
    runRanOn = std::this_thread::get_id();
    ran.push_back(3);
  });
  writes.Hand([&] { ran.push_back(4); });
  writes.End();
  EXPECT_EQ(ran, (std::vector<int>{1, 2, 3, 4})) << "a job ran out of order or after a failure";
  EXPECT_NE(handedRanOn, caller) << "a job handed on ran on the caller's thread";
  EXPECT_EQ(runRanOn, caller);

  // A failure of the last job reaches End, once; EndQuietly forgets it. A thread ended starts
  // again with the next job.
  writes.Hand([] { throw std::runtime_error("refused"); });
  EXPECT_THROW(writes.End(), std::runtime_error);
  writes.End();
  writes.Hand([] { throw std::runtime_error("refused"); });
  writes.EndQuietly();
  writes.Hand([&] { ran.push_back(5); });
  writes.End();
  EXPECT_EQ(ran.back(), 5);
}

}  // namespace
}  // namespace pelmora
