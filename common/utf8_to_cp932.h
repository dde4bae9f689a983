// UTF-8 text turned into Shift_JIS (CP932) while the program runs, through the same table as the
// _sj literal, so a text converts exactly as the same text written in the source would.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace pelmora {

// True when the whole text is well-formed UTF-8: no stray continuation byte, no overlong form, no
// surrogate, nothing above U+10FFFF and no sequence cut short by the end of the text.
bool IsWellFormedUtf8(std::string_view text);

// Converts well-formed UTF-8 into CP932, each character into the one CP932 character of the same
// meaning. Returns the first code point that CP932 has no code for, and nothing when the whole
// text converted; out then holds the CP932 bytes. A byte that begins no well-formed sequence
// stops the conversion as U+FFFD, the replacement character, which CP932 lacks.
std::optional<char32_t> Utf8ToCp932(std::string_view utf8, std::string& out);

}  // namespace pelmora
