// Shift_JIS to UTF-16 through the system's own code page 932, whatever the user's code page.
#include "app/win32/sjis_win32.h"

#include <windows.h>

#include <climits>

namespace pelmora {

namespace {

constexpr UINT kShiftJisCodePage = 932;

}  // namespace

std::wstring FromSjis(std::string_view text) {
  if (text.empty() || text.size() > INT_MAX) return {};
  int size = static_cast<int>(text.size());
  int wideSize = MultiByteToWideChar(kShiftJisCodePage, 0, text.data(), size, nullptr, 0);
  if (wideSize <= 0) return {};
  std::wstring wide(static_cast<std::size_t>(wideSize), L'\0');
  MultiByteToWideChar(kShiftJisCodePage, 0, text.data(), size, wide.data(), wideSize);
  return wide;
}

}  // namespace pelmora
