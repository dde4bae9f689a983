// Message box, error box and the empty caption they share.
#include "app/error_box.h"

#include <QEvent>
#include <QGuiApplication>
#include <QApplication>
#include <QMessageBox>
#include <QObject>
#include <QWidget>
#include <xcb/xcb.h>

#include <cstdlib>
#include <cstring>

#include "app/sjis_qt.h"
#include "common/message_box.h"

namespace pelmora {

namespace {

xcb_atom_t InternAtom(xcb_connection_t* connection, const char* name) {
  xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(
      connection, xcb_intern_atom(connection, 0, static_cast<std::uint16_t>(std::strlen(name)), name), nullptr);
  xcb_atom_t atom = reply ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
  std::free(reply);
  return atom;
}

// Clears the title again each time the box is shown, after Qt has set its own.
class TEmptyTitleOnShow : public QObject {
 public:
  using QObject::QObject;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Show) ClearNativeTitle(static_cast<QWidget*>(watched));
    return false;
  }
};

void ExecBox(QMessageBox& box) {
  box.setWindowTitle(QString());
  box.setStandardButtons(QMessageBox::Ok);
  box.installEventFilter(new TEmptyTitleOnShow(&box));
  box.exec();
}

}  // namespace

void InstallMessageBoxPresenter() { SetMessageBoxPresenter(ShowModalMessage); }

void ShowModalMessage(std::string_view sjisText) {
  QMessageBox box(QMessageBox::NoIcon, QString(), FromSjis(sjisText), QMessageBox::Ok,
                  QApplication::activeWindow());
  ExecBox(box);
}

QString ErrorBoxText(const QString& message) {
  if (!message.isEmpty() && message.back() <= QLatin1Char('.')) return message;
  return message + QLatin1Char('.');
}

void ShowErrorBox(const QString& message) {
  QMessageBox box(QMessageBox::Critical, QString(), ErrorBoxText(message), QMessageBox::Ok,
                  QApplication::activeWindow());
  ExecBox(box);
}

void RunGuarded(const std::function<void()>& command) {
  try {
    command();
  } catch (const std::exception& error) {
    // The core's error texts are Shift_JIS like all its text (in practice plain ASCII).
    ShowErrorBox(FromSjis(error.what()));
  } catch (...) {
    ShowErrorBox(QStringLiteral("Unknown error"));
  }
}

void ClearNativeTitle(QWidget* window) {
  auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
  if (x11 == nullptr || x11->connection() == nullptr || window == nullptr || !window->isWindow()) return;
  xcb_connection_t* connection = x11->connection();
  auto id = static_cast<xcb_window_t>(window->winId());
  xcb_atom_t utf8String = InternAtom(connection, "UTF8_STRING");
  for (const char* property : {"_NET_WM_NAME", "_NET_WM_VISIBLE_NAME"}) {
    xcb_change_property(connection, XCB_PROP_MODE_REPLACE, id, InternAtom(connection, property), utf8String, 8, 0,
                        nullptr);
  }
  xcb_change_property(connection, XCB_PROP_MODE_REPLACE, id, XCB_ATOM_WM_NAME, XCB_ATOM_STRING, 8, 0, nullptr);
  xcb_flush(connection);
}

}  // namespace pelmora
