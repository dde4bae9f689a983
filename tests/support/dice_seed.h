// Generator seeds chosen by the dice they give, so a test can ask for the rolls it needs.
#pragma once

#include <cstdint>
#include <vector>

namespace pelmora::testing {

// The smallest seed from which the die rolls exactly these values first, in order. The dice
// are computed here from the generator's own definition, independently of RollDie: the state
// steps to state * 134775813 + 1 modulo 2^32 and the die is (state * 6 >> 32) + 1.
std::uint32_t SeedForDice(const std::vector<std::int32_t>& dice);

}  // namespace pelmora::testing
