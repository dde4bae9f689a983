// The main window: one panel that fills the client area and the run button on it.
#pragma once

#include <windows.h>

#include "app/win32/veskform.h"

namespace pelmora {

// The window's layout in 96-DPI pixels.
inline constexpr int kFormClientWidth = 500;
inline constexpr int kFormClientHeight = 300;
inline constexpr COLORREF kPanelColour = RGB(68, 68, 68);  // #444444
inline constexpr RECT kPanelStoredRect = {24, 24, 24 + 500, 24 + 300};
inline constexpr RECT kButton1Rect = {210, 125, 210 + 80, 125 + 50};
inline constexpr int kFontPixelHeight = 12;  // character height, without internal leading

class TFormMain : public TVeskForm {
 public:
  TFormMain();
  ~TFormMain() override;

  // The run command: seed, load and, when the roster loaded, the whole run.
  void Button1Click(HWND sender);

  HWND PageMain() const { return pageMain_; }
  HWND Button1() const { return button1_; }

 protected:
  void ScaleControls() override;
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  void CreateControls();
  void ApplyFont();
  RECT ScaledRect(const RECT& layoutRect) const;

  HWND pageMain_ = nullptr;
  HWND button1_ = nullptr;
  HFONT font_ = nullptr;
};

// The application's main window, made at start-up.
extern TFormMain* FormMain;

}  // namespace pelmora
