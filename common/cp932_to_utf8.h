// CP932 text turned into UTF-8 while the program runs, through the table of the _sj literal: each
// code becomes the one character the platform's CP932 decoder reads it as.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace pelmora {

// The room Cp932ToUtf8 needs for size bytes: a half-width katakana byte becomes three bytes of
// UTF-8, and the conversion writes whole 32-bit words.
constexpr std::size_t Cp932ToUtf8Room(std::size_t size) { return size * 3 + 8; }

// Converts size CP932 bytes into UTF-8 at out, which has Cp932ToUtf8Room(size) bytes of room;
// returns the end of what it wrote. A byte or pair that is no CP932
// character becomes U+FFFD, the replacement character: text the program built from its own
// literals and from converted UTF-8 never holds one.
char* Cp932ToUtf8(const char* in, std::size_t size, char* out);

// The same for a whole text.
std::string Cp932ToUtf8(std::string_view text);

// The same for a whole text, where a byte or pair that is no CP932 character is kept visible as
// \xNN, for a terminal.
std::string Cp932ToUtf8ForTerminal(std::string_view text);

}  // namespace pelmora
