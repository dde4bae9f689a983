// The window's boxes: the modal message box behind ShowMessageBox, and the one application-wide
// error box for an error that leaves a run.
#pragma once

#include <QString>

#include <exception>
#include <functional>
#include <string_view>

namespace pelmora {

// Installs the modal box as the core's message-box presenter.
void InstallMessageBoxPresenter();

// The modal box of ShowMessageBox: the text, an empty caption, no icon, one OK button.
void ShowModalMessage(std::string_view sjisText);

// The error box: the text with its full stop, an empty caption, an error icon, one OK button.
void ShowErrorBox(std::string_view sjisMessage);

// Runs a command of the window; an error that leaves it is shown in the error box here, before
// it could cross Qt's own code, and the window stays usable.
void RunGuarded(const std::function<void()>& command);

}  // namespace pelmora
