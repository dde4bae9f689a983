// The window's boxes: the modal message box behind ShowMessageBox, and the one error box for an
// error that leaves a command of the window. Both belong to the window, which they disable while
// they are up, and both have an empty caption: the application's title is empty.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <string_view>

namespace pelmora {

// Installs the modal box, owned by the window, as the core's message-box presenter.
void InstallMessageBoxPresenter(HWND owner);

// The modal box of ShowMessageBox: the text, an empty caption, no icon, one OK button.
void ShowModalMessage(HWND owner, std::string_view sjisText);

// The error box: the text with its full stop, an empty caption, an error icon, one OK button.
void ShowErrorBox(HWND owner, std::string_view sjisMessage);

// Runs a command of the window; an error that leaves it is shown in the error box here, before
// it could cross the system's code that called the window, and the window stays usable.
void RunGuarded(HWND owner, const std::function<void()>& command);

}  // namespace pelmora
