// SHA-256 of a byte string, for comparing whole output files with committed digests.
#pragma once

#include <string>
#include <string_view>

namespace pelmora::testing {

// The digest as 64 lower-case hexadecimal digits.
std::string Sha256Hex(std::string_view bytes);

}  // namespace pelmora::testing
