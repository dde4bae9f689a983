// Checked 32-bit arithmetic: a counter or hit-point sum that would overflow throws instead of
// wrapping.
#pragma once

#include <cstdint>
#include <stdexcept>

namespace pelmora {

inline std::int32_t CheckedAdd(std::int32_t a, std::int32_t b) {
  std::int32_t sum;
  if (__builtin_add_overflow(a, b, &sum)) throw std::overflow_error("integer overflow");
  return sum;
}

inline std::int32_t CheckedSub(std::int32_t a, std::int32_t b) {
  std::int32_t difference;
  if (__builtin_sub_overflow(a, b, &difference)) throw std::overflow_error("integer overflow");
  return difference;
}

inline std::int32_t CheckedMul(std::int32_t a, std::int32_t b) {
  std::int32_t product;
  if (__builtin_mul_overflow(a, b, &product)) throw std::overflow_error("integer overflow");
  return product;
}

inline void CheckedIncrement(std::int32_t& counter) { counter = CheckedAdd(counter, 1); }

}  // namespace pelmora
