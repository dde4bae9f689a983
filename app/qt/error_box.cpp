// Message box, error box and the empty caption they share.
#include "app/qt/error_box.h"

#include <QApplication>
#include <QMessageBox>

#include "app/qt/native_title.h"
#include "app/qt/sjis_qt.h"
#include "common/message_box.h"

namespace pelmora {

namespace {

void ExecBox(QMessageBox& box) {
  box.setWindowTitle(QString());
  box.setStandardButtons(QMessageBox::Ok);
  KeepNativeTitleEmpty(&box);
  box.exec();
}

}  // namespace

void InstallMessageBoxPresenter() { SetMessageBoxPresenter(ShowModalMessage); }

void ShowModalMessage(std::string_view sjisText) {
  QMessageBox box(QMessageBox::NoIcon, QString(), FromSjis(sjisText), QMessageBox::Ok,
                  QApplication::activeWindow());
  ExecBox(box);
}

void ShowErrorBox(std::string_view sjisMessage) {
  QMessageBox box(QMessageBox::Critical, QString(), FromSjis(ErrorBoxText(sjisMessage)), QMessageBox::Ok,
                  QApplication::activeWindow());
  ExecBox(box);
}

void RunGuarded(const std::function<void()>& command) {
  try {
    command();
  } catch (const std::exception& error) {
    // The core's error texts are Shift_JIS like all its text (in practice plain ASCII).
    ShowErrorBox(error.what());
  } catch (...) {
    ShowErrorBox("Unknown error");
  }
}

}  // namespace pelmora
