// The base window: a client size chosen in code, centred on the primary screen, deaf to the
// Alt and F10 keys, and one private message that a derived window may handle.
#pragma once

#include <QEvent>
#include <QPoint>
#include <QSize>
#include <QWidget>

#include <cstdint>
#include <functional>

namespace pelmora {

class TVeskForm;

// The private message: an event posted to the window, handed to its handler when it has one.
inline const QEvent::Type kPrivateMessageEvent = static_cast<QEvent::Type>(QEvent::User + 10);
using TPrivateMessageHandler = std::function<void(TVeskForm& window, QEvent& message)>;

// Where a window of the given outer size stands centred on a screen of the given size; the
// halves are truncated toward zero, also when the window is larger than the screen.
QPoint CentredPosition(QSize screen, QSize outerWindow);

class TVeskForm : public QWidget {
  Q_OBJECT

 public:
  explicit TVeskForm(QWidget* owner = nullptr);
  ~TVeskForm() override;

  // Stored before the layout is built and applied once, by ApplyRequestedClientSize.
  void RequestClientSize(std::int32_t width, std::int32_t height);

  // Places the panel over the whole client area and shows or hides it.
  void FitPanelToClient(QWidget* panel, bool visible);

  // True for the key events that the window swallows: Alt and F10, pressed or released.
  static bool FilterChildKey(QObject* control, QEvent* message);

  TPrivateMessageHandler PrivateMessageHandler;

 protected:
  // The second half of construction, after the derived window has built its stored layout:
  // the requested client size, fixed, then the window centred by its outer size.
  void ApplyRequestedClientSize();

  bool event(QEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void CentreOnScreen();

  std::int32_t requestedClientWidth_ = 0;
  std::int32_t requestedClientHeight_ = 0;
  QSize centredOuterSize_;
};

}  // namespace pelmora
