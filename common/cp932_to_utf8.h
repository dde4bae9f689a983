// CP932 text turned into UTF-8 while the program runs, through the table of the _sj literal: each
// code becomes the one character the platform's CP932 decoder reads it as.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace pelmora {

// The most UTF-8 bytes one CP932 byte can become: a half-width katakana byte takes three.
inline constexpr std::size_t kUtf8BytesPerCp932Byte = 3;

// Converts size CP932 bytes into UTF-8 at out, which has room for kUtf8BytesPerCp932Byte bytes
// per byte and one more; returns the end of what it wrote. A byte or pair that is no CP932
// character becomes U+FFFD, the replacement character: text the program built from its own
// literals and from converted UTF-8 never holds one.
char* Cp932ToUtf8(const char* in, std::size_t size, char* out);

// The same for a whole text. A byte or pair that is no CP932 character is kept visible as \xNN,
// for a terminal.
std::string Cp932ToUtf8ForTerminal(std::string_view text);

}  // namespace pelmora
