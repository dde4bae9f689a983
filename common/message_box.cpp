// The message-box seam and its fallback on standard error.
#include "common/message_box.h"

#include <cstdio>
#include <utility>

#include "common/cp932_to_utf8.h"

namespace pelmora {

namespace {

TMessageBoxPresenter& Presenter() {
  static TMessageBoxPresenter presenter;
  return presenter;
}

}  // namespace

TMessageBoxPresenter SetMessageBoxPresenter(TMessageBoxPresenter presenter) {
  return std::exchange(Presenter(), std::move(presenter));
}

void ShowMessageBox(std::string_view text) {
  if (Presenter()) {
    Presenter()(text);
    return;
  }
  std::string line = Cp932ToUtf8ForTerminal(text);
  line += '\n';
  std::fwrite(line.data(), 1, line.size(), stderr);
  std::fflush(stderr);
}

std::string ErrorBoxText(std::string_view message) {
  std::string text(message);
  if (text.empty() || text.back() > '.') text += '.';
  return text;
}

}  // namespace pelmora
