// Text converted by Windows' own code pages, through UTF-16, refusing what they lack rather
// than guessing a look-alike.
#include "tests/support/system_text.h"

#include <windows.h>

#include <stdexcept>
#include <string_view>

namespace pelmora::testing {

namespace {

UINT CodePage(std::string_view name) {
  if (name == "UTF-8") return CP_UTF8;
  if (name == "CP932") return 932;
  throw std::invalid_argument("no code page named " + std::string(name));
}

[[noreturn]] void CannotConvert(const char* to, const char* from) {
  throw std::runtime_error(std::string("Windows cannot convert the text from ") + from + " to " + to);
}

}  // namespace

std::string ConvertBySystem(const char* to, const char* from, std::string_view text) {
  if (text.empty()) return {};
  const auto size = static_cast<int>(text.size());
  int wideSize = ::MultiByteToWideChar(CodePage(from), MB_ERR_INVALID_CHARS, text.data(), size, nullptr, 0);
  if (wideSize <= 0) CannotConvert(to, from);
  std::wstring wide(static_cast<std::size_t>(wideSize), L'\0');
  ::MultiByteToWideChar(CodePage(from), MB_ERR_INVALID_CHARS, text.data(), size, wide.data(), wideSize);
  const UINT toPage = CodePage(to);
  const DWORD flags = toPage == CP_UTF8 ? 0 : WC_NO_BEST_FIT_CHARS;
  BOOL usedDefault = FALSE;
  BOOL* usedDefaultOut = toPage == CP_UTF8 ? nullptr : &usedDefault;
  int outSize =
      ::WideCharToMultiByte(toPage, flags, wide.data(), wideSize, nullptr, 0, nullptr, usedDefaultOut);
  if (outSize <= 0 || usedDefault) CannotConvert(to, from);
  std::string out(static_cast<std::size_t>(outSize), '\0');
  ::WideCharToMultiByte(toPage, flags, wide.data(), wideSize, out.data(), outSize, nullptr, usedDefaultOut);
  return out;
}

}  // namespace pelmora::testing
