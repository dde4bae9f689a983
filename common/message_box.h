// The message box: the core asks for one, the program decides how it is shown. The window
// installs a presenter that shows a modal box; tests install a recorder.
#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace pelmora {

// Receives the Shift_JIS text of one box and returns when the user has closed it.
using TMessageBoxPresenter = std::function<void(std::string_view text)>;

// Installs the presenter and returns the one it replaces; an empty one restores the default,
// which writes the text to standard error as UTF-8.
TMessageBoxPresenter SetMessageBoxPresenter(TMessageBoxPresenter presenter);

// Shows a modal box with the text and a single OK button.
void ShowMessageBox(std::string_view text);

// The text of the error box for an error's Shift_JIS text: a full stop appended unless the text
// already ends in a character at or below "." in code order (no trail byte of a double-byte
// character is that low).
std::string ErrorBoxText(std::string_view message);

}  // namespace pelmora
