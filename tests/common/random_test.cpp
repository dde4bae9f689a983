// The generator, the die and the clock seed.
#include "common/random.h"

#include <gtest/gtest.h>

#include <vector>

namespace pelmora {
namespace {

TEST(Random, DieSequenceAndStatesFromTheRunSeed) {
  RandSeed = kRunSeed;
  std::vector<std::uint32_t> states;
  std::vector<int> dice;
  for (int i = 0; i < 12; ++i) {
    dice.push_back(RollDie());
    states.push_back(RandSeed);
  }
  EXPECT_EQ(dice, (std::vector<int>{3, 2, 1, 4, 4, 3, 3, 1, 1, 6, 6, 2}));
  EXPECT_EQ(states[0], 1655067934u);
  EXPECT_EQ(states[1], 1242767767u);
  EXPECT_EQ(states[2], 342459380u);
}

TEST(Random, NextRandomScalesTheUpperBitsOfTheNewState) {
  RandSeed = 0xFFFFFFFFu;  // the next state is 0xFFFFFFFF * 134775813 + 1 modulo 2^32
  std::uint32_t next = 0xFFFFFFFFu * 134775813u + 1u;
  EXPECT_EQ(NextRandom(1000), static_cast<std::int32_t>((std::uint64_t{next} * 1000) >> 32));
  RandSeed = 0;
  EXPECT_EQ(NextRandom(1), 0);
  EXPECT_EQ(RandSeed, 1u);
  EXPECT_THROW(NextRandom(0), std::out_of_range);
}

TEST(Random, ClockSeedIsBelowOneDayOfMilliseconds) {
  SeedRandomFromClock();
  EXPECT_LT(RandSeed, 24u * 60 * 60 * 1000);
}

}  // namespace
}  // namespace pelmora
