// The main window: one panel that fills the client area and the run button on it.
#pragma once

#include <QColor>

#include "app/qt/veskform.h"

namespace Ui {
class TFormMain;
}

namespace pelmora {

inline constexpr int kFormClientWidth = 500;
inline constexpr int kFormClientHeight = 300;
inline const QColor kPanelColour(68, 68, 68);

class TFormMain : public TVeskForm {
  Q_OBJECT

 public:
  explicit TFormMain(QWidget* owner = nullptr);
  ~TFormMain() override;

  // The run command: seed, load and, when the roster loaded, the whole run.
  void Button1Click(QObject* sender);

 private:
  void ApplyLook();

  Ui::TFormMain* ui_;
};

// The application's main window, made at start-up.
extern TFormMain* FormMain;

}  // namespace pelmora
