// The system's own text converters (glibc's iconv, Windows' code pages), the yardstick the
// program's files are held against.
#pragma once

#include <string>
#include <string_view>

namespace pelmora::testing {

// The whole text converted between "UTF-8" and "CP932" as `iconv -f FROM -t TO` converts it;
// throws when the system cannot convert all of it.
std::string ConvertBySystem(const char* to, const char* from, std::string_view text);

}  // namespace pelmora::testing
