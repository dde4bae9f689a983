// The window's one conversion from the core's Shift_JIS text to the system's UTF-16.
#pragma once

#include <string>
#include <string_view>

namespace pelmora {

std::wstring FromSjis(std::string_view text);

}  // namespace pelmora
