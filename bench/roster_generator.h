// Rosters of any size for the signature test and the benchmark.
#pragma once

#include <cstdint>
#include <string>

namespace pelmora {

// The bytes of a roster file (Shift_JIS, CR LF) of count characters, always the same for the
// same count.
std::string GenerateRosterFile(std::int32_t count);

}  // namespace pelmora
