// Message box and error box.
#include "app/win32/error_box.h"

#include <exception>

#include "app/win32/sjis_win32.h"
#include "common/message_box.h"

namespace pelmora {

namespace {

constexpr wchar_t kApplicationTitle[] = L"";

}  // namespace

void InstallMessageBoxPresenter(HWND owner) {
  SetMessageBoxPresenter([owner](std::string_view text) { ShowModalMessage(owner, text); });
}

void ShowModalMessage(HWND owner, std::string_view sjisText) {
  MessageBoxW(owner, FromSjis(sjisText).c_str(), kApplicationTitle, MB_OK);
}

void ShowErrorBox(HWND owner, std::string_view sjisMessage) {
  MessageBoxW(owner, FromSjis(ErrorBoxText(sjisMessage)).c_str(), kApplicationTitle, MB_ICONERROR | MB_OK);
}

void RunGuarded(HWND owner, const std::function<void()>& command) {
  try {
    command();
  } catch (const std::exception& error) {
    // The core's error texts are Shift_JIS like all its text (in practice plain ASCII).
    ShowErrorBox(owner, error.what());
  } catch (...) {
    ShowErrorBox(owner, "Unknown error");
  }
}

}  // namespace pelmora
