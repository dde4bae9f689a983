// The base window.
#include "app/qt/veskform.h"

#include <QApplication>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QScreen>

namespace pelmora {

QPoint CentredPosition(QSize screen, QSize outerWindow) {
  // C++ integer division truncates toward zero: a difference of -5 gives -2.
  return {(screen.width() - outerWindow.width()) / 2, (screen.height() - outerWindow.height()) / 2};
}

TVeskForm::TVeskForm(QWidget* owner) : QWidget(owner) { qApp->installEventFilter(this); }

TVeskForm::~TVeskForm() { qApp->removeEventFilter(this); }

void TVeskForm::RequestClientSize(std::int32_t width, std::int32_t height) {
  requestedClientWidth_ = width;
  requestedClientHeight_ = height;
}

void TVeskForm::FitPanelToClient(QWidget* panel, bool visible) {
  panel->move(0, 0);
  panel->resize(width(), height());
  panel->setVisible(visible);
}

bool TVeskForm::FilterChildKey(QObject*, QEvent* message) {
  switch (message->type()) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::ShortcutOverride: {
      int key = static_cast<QKeyEvent*>(message)->key();
      return key == Qt::Key_Alt || key == Qt::Key_F10;
    }
    default:
      return false;
  }
}

void TVeskForm::ApplyRequestedClientSize() {
  setFixedSize(requestedClientWidth_, requestedClientHeight_);
  CentreOnScreen();
}

void TVeskForm::CentreOnScreen() {
  QScreen* screen = QGuiApplication::primaryScreen();
  if (screen == nullptr) return;
  centredOuterSize_ = frameGeometry().size();
  move(CentredPosition(screen->geometry().size(), centredOuterSize_));
}

bool TVeskForm::event(QEvent* event) {
  if (event->type() == kPrivateMessageEvent) {
    if (PrivateMessageHandler) PrivateMessageHandler(*this, *event);
    return true;
  }
  bool handled = QWidget::event(event);
  // On X11 the frame is known only once the window manager has framed the mapped window; the
  // window cannot be resized, so a changed outer size means the frame arrived: centre again.
  switch (event->type()) {
    case QEvent::Show:
    case QEvent::Move:
    case QEvent::Resize:
      if (isVisible() && frameGeometry().size() != centredOuterSize_) CentreOnScreen();
      break;
    default:
      break;
  }
  return handled;
}

bool TVeskForm::eventFilter(QObject* watched, QEvent* event) {
  QWidget* widget = qobject_cast<QWidget*>(watched);
  bool mine = widget != nullptr && (widget == this || isAncestorOf(widget));
  if (mine && FilterChildKey(watched, event)) return true;
  return QWidget::eventFilter(watched, event);
}

}  // namespace pelmora
