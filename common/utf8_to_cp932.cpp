// UTF-8 turned into CP932 while the program runs, with the decoder and the table of the _sj literal.
#include "common/utf8_to_cp932.h"

#include <cstdint>

#include "common/sjis_literal.h"

namespace pelmora {

namespace {

constexpr char32_t kReplacementChar = 0xFFFD;

// Appends the CP932 code of the code point; false when the table has none.
bool AppendCp932(char32_t codePoint, std::string& out) {
  std::optional<std::uint16_t> code = sjis_detail::FindCp932(codePoint);
  if (!code) return false;
  if (*code > 0xFF) out.push_back(static_cast<char>(*code >> 8));
  out.push_back(static_cast<char>(*code & 0xFF));
  return true;
}

}  // namespace

bool IsWellFormedUtf8(std::string_view text) {
  char32_t codePoint = 0;
  for (std::size_t pos = 0; pos < text.size();) {
    if (!sjis_detail::DecodeUtf8Char(text, pos, codePoint)) return false;
  }
  return true;
}

std::optional<char32_t> Utf8ToCp932(std::string_view utf8, std::string& out) {
  out.clear();
  out.reserve(utf8.size());
  char32_t codePoint = 0;
  for (std::size_t pos = 0; pos < utf8.size();) {
    if (!sjis_detail::DecodeUtf8Char(utf8, pos, codePoint)) return kReplacementChar;
    if (!AppendCp932(codePoint, out)) return codePoint;
  }
  return std::nullopt;
}

}  // namespace pelmora
