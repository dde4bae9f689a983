// The roster model's conversion by Windows' own converters: UTF-8 through UTF-16, and code page
// 932 without its best-fit guesses, so that a character CP932 lacks is found lacking.
#include "fuzz/model_codec.h"

#include <windows.h>

namespace pelmora::fuzz {

namespace {

constexpr UINT kShiftJisCodePage = 932;

bool IsHighSurrogate(wchar_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }

std::u32string CodePointsOf(const std::wstring& utf16) {
  std::u32string out;
  for (std::size_t at = 0; at < utf16.size(); ++at) {
    char32_t unit = utf16[at];
    if (IsHighSurrogate(utf16[at]) && at + 1 < utf16.size()) {
      unit = 0x10000 + ((unit - 0xD800) << 10) + (static_cast<char32_t>(utf16[at + 1]) - 0xDC00);
      ++at;
    }
    out.push_back(unit);
  }
  return out;
}

std::wstring Utf16Of(char32_t codePoint) {
  if (codePoint < 0x10000) return std::wstring(1, static_cast<wchar_t>(codePoint));
  char32_t above = codePoint - 0x10000;
  return {static_cast<wchar_t>(0xD800 + (above >> 10)), static_cast<wchar_t>(0xDC00 + (above & 0x3FF))};
}

}  // namespace

std::optional<std::u32string> Utf8CodePoints(std::string_view line) {
  if (line.empty()) return std::u32string();
  const auto size = static_cast<int>(line.size());
  int length = ::MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, line.data(), size, nullptr, 0);
  if (length <= 0) return std::nullopt;
  std::wstring utf16(static_cast<std::size_t>(length), L'\0');
  ::MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, line.data(), size, utf16.data(), length);
  return CodePointsOf(utf16);
}

std::optional<std::string> Cp932Of(char32_t codePoint) {
  if (codePoint > 0x10FFFF) return std::nullopt;
  std::wstring utf16 = Utf16Of(codePoint);
  char bytes[8];
  BOOL usedDefault = FALSE;
  int length =
      ::WideCharToMultiByte(kShiftJisCodePage, WC_NO_BEST_FIT_CHARS, utf16.data(),
                            static_cast<int>(utf16.size()), bytes, sizeof bytes, nullptr, &usedDefault);
  if (length <= 0 || usedDefault) return std::nullopt;
  return std::string(bytes, static_cast<std::size_t>(length));
}

}  // namespace pelmora::fuzz
