// The empty title of a box in the window system, for X11 (through xcb) and for Wayland
// (through the toplevel's xdg-shell proxy). Each runs only on its own platform.
#include "app/qt/native_title.h"

#include <qpa/qplatformnativeinterface.h>
#include <xcb/xcb.h>
#include <QEvent>
#include <QGuiApplication>
#include <QObject>
#include <QWidget>
#include <QWindow>

#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "xdg-shell-client-protocol.h"

namespace pelmora {

namespace {

bool OnWayland() { return QGuiApplication::platformName().startsWith(QLatin1String("wayland")); }

xcb_atom_t InternAtom(xcb_connection_t* connection, const char* name) {
  xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(
      connection, xcb_intern_atom(connection, 0, static_cast<std::uint16_t>(std::strlen(name)), name),
      nullptr);
  xcb_atom_t atom = reply ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
  std::free(reply);
  return atom;
}

// Qt has already written the program's name into the window's name properties by the time the
// window is shown; they are emptied after it.
void ClearX11Title(QWidget* window) {
  auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
  if (x11 == nullptr || x11->connection() == nullptr) return;
  xcb_connection_t* connection = x11->connection();
  auto id = static_cast<xcb_window_t>(window->winId());
  xcb_atom_t utf8String = InternAtom(connection, "UTF8_STRING");
  for (const char* property : {"_NET_WM_NAME", "_NET_WM_VISIBLE_NAME"}) {
    xcb_change_property(connection, XCB_PROP_MODE_REPLACE, id, InternAtom(connection, property), utf8String,
                        8, 0, nullptr);
  }
  xcb_change_property(connection, XCB_PROP_MODE_REPLACE, id, XCB_ATOM_WM_NAME, XCB_ATOM_STRING, 8, 0,
                      nullptr);
  xcb_flush(connection);
}

// The toplevel of the window's current Wayland surface, or null while it has none.
xdg_toplevel* WaylandToplevel(QWindow* window) {
  QPlatformNativeInterface* native = QGuiApplication::platformNativeInterface();
  if (native == nullptr) return nullptr;
  return static_cast<xdg_toplevel*>(
      native->nativeResourceForWindow(QByteArrayLiteral("xdg_toplevel"), window));
}

// Watches the widget for its showing and, on Wayland, its window for the first exposure of each
// toplevel. Qt creates the toplevel when the window is shown, sends the program's name as its
// title at once, and paints the window's first picture only when the compositor has configured
// it, which Qt passes on as an exposure: the empty title sent then precedes that picture.
class TEmptyNativeTitle : public QObject {
 public:
  explicit TEmptyNativeTitle(QWidget* window) : QObject(window), widget_(window) {}

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (watched == widget_ && event->type() == QEvent::Show) {
      if (!OnWayland()) ClearX11Title(widget_);
      if (QWindow* window = widget_->windowHandle()) window->installEventFilter(this);
    } else if (watched != widget_ && event->type() == QEvent::Expose) {
      if (OnWayland()) {
        ClearWaylandTitle(static_cast<QWindow*>(watched));
      } else {
        ClearX11TitleOnce();
      }
    }
    return false;
  }

 private:
  // On X11 the title is emptied as the window is shown and once more at its first exposure of
  // each native window: Qt may make the native window again after it is shown (and name it
  // again), which a busy machine shows as a title that comes back.
  void ClearX11TitleOnce() {
    WId id = widget_->winId();
    if (id == clearedX11Window_) return;
    ClearX11Title(widget_);
    clearedX11Window_ = id;
  }

  // Once for each toplevel: a window shown again gets a new one, with the program's name again.
  void ClearWaylandTitle(QWindow* window) {
    xdg_toplevel* toplevel = WaylandToplevel(window);
    if (toplevel == nullptr || toplevel == clearedToplevel_) return;
    xdg_toplevel_set_title(toplevel, "");
    clearedToplevel_ = toplevel;
  }

  QWidget* widget_;
  xdg_toplevel* clearedToplevel_ = nullptr;
  WId clearedX11Window_ = 0;
};

}  // namespace

void KeepNativeTitleEmpty(QWidget* window) {
  if (window == nullptr || !window->isWindow()) return;
  window->installEventFilter(new TEmptyNativeTitle(window));
}

}  // namespace pelmora
