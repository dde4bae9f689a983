// The roster model's own text conversion, by the system's converter rather than the loader's
// table: UTF-8 decoded into code points and one code point encoded in CP932.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace pelmora::fuzz {

// The code points of a line when the converter takes it as well-formed UTF-8 (nothing invalid,
// nothing cut short at its end).
std::optional<std::u32string> Utf8CodePoints(std::string_view line);

// The CP932 bytes of one code point as the converter maps it, or nothing when CP932 lacks it.
std::optional<std::string> Cp932Of(char32_t codePoint);

}  // namespace pelmora::fuzz
