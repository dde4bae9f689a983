// The linear congruential generator, its die and its seeding from the clock.
#include "common/random.h"

#include <chrono>
#include <stdexcept>

namespace pelmora {

namespace {

constexpr std::uint32_t kMultiplier = 0x08088405;  // 134775813
constexpr std::int32_t kDieFaces = 6;

}  // namespace

std::uint32_t RandSeed = 0;

std::int32_t NextRandom(std::int32_t n) {
  if (n < 1) throw std::out_of_range("NextRandom needs n >= 1");
  RandSeed = RandSeed * kMultiplier + 1;  // modulo 2^32 by unsigned wrap-around
  return static_cast<std::int32_t>((std::uint64_t{RandSeed} * static_cast<std::uint64_t>(n)) >> 32);
}

std::int32_t RollDie() { return NextRandom(kDieFaces) + 1; }

void SeedRandomFromClock() {
  using namespace std::chrono;
  auto sinceEpoch = system_clock::now().time_since_epoch();
  auto sinceMidnight = duration_cast<milliseconds>(sinceEpoch - floor<days>(sinceEpoch));
  RandSeed = static_cast<std::uint32_t>(sinceMidnight.count());
}

}  // namespace pelmora
