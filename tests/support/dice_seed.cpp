// Searching generator seeds for a wanted sequence of dice.
#include "tests/support/dice_seed.h"

#include <stdexcept>

namespace pelmora::testing {

namespace {

constexpr std::uint32_t kSearchLimit = 1u << 28;

std::int32_t NextDie(std::uint32_t& state) {
  state = state * 134775813u + 1u;
  return static_cast<std::int32_t>((std::uint64_t{state} * 6u) >> 32) + 1;
}

bool GivesDice(std::uint32_t seed, const std::vector<std::int32_t>& dice) {
  std::uint32_t state = seed;
  for (std::int32_t die : dice) {
    if (NextDie(state) != die) return false;
  }
  return true;
}

}  // namespace

std::uint32_t SeedForDice(const std::vector<std::int32_t>& dice) {
  for (std::uint32_t seed = 0; seed < kSearchLimit; ++seed) {
    if (GivesDice(seed, dice)) return seed;
  }
  throw std::runtime_error("no seed below the search limit gives these dice");
}

}  // namespace pelmora::testing
