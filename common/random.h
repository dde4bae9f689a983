// The system's only source of chance: one 32-bit linear congruential generator and its die.
#pragma once

#include <cstdint>

namespace pelmora {

// The generator state. Every run sets it to kRunSeed first, so its files never depend on the clock.
extern std::uint32_t RandSeed;

inline constexpr std::uint32_t kRunSeed = 12345;

// Advances RandSeed, then scales it into 0..n-1 (n >= 1).
std::int32_t NextRandom(std::int32_t n);

// 1..6, one step of the generator.
std::int32_t RollDie();

// Sets RandSeed to the milliseconds since midnight UTC.
void SeedRandomFromClock();

}  // namespace pelmora
