// Shift_JIS shown on a terminal, converted by the C library's iconv.
#include "common/message_box.h"

#include <iconv.h>

#include <cerrno>
#include <cstdio>

namespace pelmora {

namespace {

// Appends the bytes the converter cannot take as \xNN and goes on after them.
void AppendEscapedByte(std::string& out, unsigned char byte) {
  char escaped[8];
  std::snprintf(escaped, sizeof escaped, "\\x%02X", byte);
  out += escaped;
}

}  // namespace

std::string Cp932ToUtf8ForTerminal(std::string_view text) {
  std::string out;
  iconv_t converter = iconv_open("UTF-8", "CP932");
  if (converter == reinterpret_cast<iconv_t>(-1)) {
    for (unsigned char byte : text) AppendEscapedByte(out, byte);
    return out;
  }
  char* in = const_cast<char*>(text.data());
  size_t inLeft = text.size();
  while (inLeft > 0) {
    char buffer[256];
    char* outPtr = buffer;
    size_t outLeft = sizeof buffer;
    size_t result = iconv(converter, &in, &inLeft, &outPtr, &outLeft);
    out.append(buffer, outPtr);
    if (result == static_cast<size_t>(-1) && errno != E2BIG) {
      AppendEscapedByte(out, static_cast<unsigned char>(*in));
      ++in;
      --inLeft;
      iconv(converter, nullptr, nullptr, nullptr, nullptr);
    }
  }
  iconv_close(converter);
  return out;
}

}  // namespace pelmora
