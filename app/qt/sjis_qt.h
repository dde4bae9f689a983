// The window's one conversion from the core's Shift_JIS text to Qt's text.
#pragma once

#include <QString>

#include <string_view>

namespace pelmora {

QString FromSjis(std::string_view text);

}  // namespace pelmora
