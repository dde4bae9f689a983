// Start-up: one main window and the message loop until it is closed.
#include <QApplication>

#include "app/error_box.h"
#include "app/unitform.h"

int main(int argc, char* argv[]) {
  // The layout is made in pixels and is not rescaled for the screen's pixel density.
  qputenv("QT_ENABLE_HIGHDPI_SCALING", "0");
  QApplication application(argc, argv);
  // Message boxes take the application's title as their caption, and it is empty.
  QApplication::setApplicationDisplayName(QString());
  pelmora::InstallMessageBoxPresenter();
  pelmora::TFormMain formMain;
  pelmora::FormMain = &formMain;
  formMain.show();
  int result = QApplication::exec();
  pelmora::FormMain = nullptr;
  return result;
}
