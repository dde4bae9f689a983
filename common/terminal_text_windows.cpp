// Shift_JIS shown on a console, converted by Windows' own code page 932, one character at a time.
#include "common/message_box.h"

#include <windows.h>

#include <cstdio>

namespace pelmora {

namespace {

constexpr UINT kShiftJisCodePage = 932;

void AppendEscapedByte(std::string& out, unsigned char byte) {
  char escaped[8];
  std::snprintf(escaped, sizeof escaped, "\\x%02X", byte);
  out += escaped;
}

bool IsLeadByte(unsigned char byte) {
  return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}

// Appends the UTF-8 form of one CP932 character; false when the code page has no such character.
bool AppendCharacter(std::string& out, std::string_view bytes) {
  wchar_t wide[2];
  int wideLength = ::MultiByteToWideChar(kShiftJisCodePage, MB_ERR_INVALID_CHARS, bytes.data(),
                                         static_cast<int>(bytes.size()), wide, 2);
  if (wideLength <= 0) return false;
  char utf8[8];
  int length = ::WideCharToMultiByte(CP_UTF8, 0, wide, wideLength, utf8, sizeof utf8, nullptr, nullptr);
  if (length <= 0) return false;
  out.append(utf8, static_cast<std::size_t>(length));
  return true;
}

}  // namespace

// A byte that begins no character is shown as \xNN, and the text goes on after it.
std::string Cp932ToUtf8ForTerminal(std::string_view text) {
  std::string out;
  for (std::size_t at = 0; at < text.size();) {
    auto byte = static_cast<unsigned char>(text[at]);
    std::size_t length = IsLeadByte(byte) && at + 1 < text.size() ? 2 : 1;
    if (AppendCharacter(out, text.substr(at, length))) {
      at += length;
    } else {
      AppendEscapedByte(out, byte);
      ++at;
    }
  }
  return out;
}

}  // namespace pelmora
