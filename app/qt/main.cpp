// Start-up: one main window and the message loop until it is closed.
#include <QApplication>
#include <QByteArray>
#include <QIcon>
#include <QList>
#include <QString>
#include <QtGlobal>

#include <cstdio>
#include <cstdlib>

#include "app/qt/error_box.h"
#include "app/qt/unitform.h"

namespace {

struct TStartupMessage {
  QtMsgType type;
  QString text;
};

// What the toolkit said while it connected to the display.
QList<TStartupMessage> heldMessages;

QByteArray DisplayVariable(const char* name) {
  QByteArray value = qgetenv(name);
  return name + QByteArrayLiteral("=") + (value.isEmpty() ? QByteArrayLiteral("(unset)") : value);
}

// While the toolkit connects to the display, its messages are held back. When it cannot connect
// it stops the program with a fatal message and an abort; instead the user gets one line that
// says what is missing, and the exit status 1.
void HoldStartupMessage(QtMsgType type, const QMessageLogContext&, const QString& text) {
  if (type == QtFatalMsg) {
    std::fprintf(stderr,
                 "pelmora-simulator: cannot open a graphical display (%s, %s); it runs in an X11 or Wayland "
                 "desktop session\n",
                 DisplayVariable("DISPLAY").constData(), DisplayVariable("WAYLAND_DISPLAY").constData());
    std::fflush(stderr);
    std::_Exit(EXIT_FAILURE);
  }
  heldMessages.append({type, text});
}

// Hands the held messages to the toolkit's own output once the display is open.
void ReleaseStartupMessages() {
  qInstallMessageHandler(nullptr);
  for (const TStartupMessage& message : heldMessages) {
    qt_message_output(message.type, QMessageLogContext(), message.text);
  }
  heldMessages.clear();
}

}  // namespace

int main(int argc, char* argv[]) {
  // The layout is made for 96 pixels per inch in the toolkit's logical pixels; on a scaled
  // desktop the window and its boxes scale with it, as every other program does.
  qInstallMessageHandler(HoldStartupMessage);
  QApplication application(argc, argv);
  ReleaseStartupMessages();
  // Message boxes take the application's title as their caption, and it is empty.
  QApplication::setApplicationDisplayName(QString());
  // The installed desktop entry and icon share one name: a Wayland desktop matches the window
  // with its entry by it, and the window carries the icon where the icon theme has it.
  const QString desktopId = QStringLiteral(PELMORA_APP_ID);
  QGuiApplication::setDesktopFileName(desktopId);
  QApplication::setWindowIcon(QIcon::fromTheme(desktopId));
  pelmora::InstallMessageBoxPresenter();
  pelmora::TFormMain formMain;
  pelmora::FormMain = &formMain;
  formMain.show();
  int result = QApplication::exec();
  pelmora::FormMain = nullptr;
  return result;
}
