// The main window and its run button.
#include "app/win32/unitform.h"

#include "app/win32/error_box.h"
#include "app/win32/panel.h"
#include "common/random.h"
#include "tournament/run.h"

namespace pelmora {

namespace {

constexpr wchar_t kCaption[] = L"Pelmora Simulator";
constexpr wchar_t kButton1Caption[] = L"実行";
// The Japanese proportional Gothic; where the system has no font of that name, the font mapper
// picks the nearest one that has the Shift_JIS character set.
constexpr wchar_t kFontFace[] = L"ＭＳ Ｐゴシック";
constexpr int kButton1Id = 1;

// A single fixed frame with the system menu and the minimise button: no maximise button and no
// sizing border.
constexpr DWORD kFormStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
constexpr DWORD kFormExStyle = WS_EX_CONTROLPARENT;

}  // namespace

TFormMain* FormMain = nullptr;

TFormMain::TFormMain() {
  RequestClientSize(kFormClientWidth, kFormClientHeight);
  if (!CreateForm(kCaption, kFormStyle, kFormExStyle)) return;
  CreateControls();
  ApplyRequestedClientSize();
  SeedRandomFromClock();
  FitPanelToClient(pageMain_, true);
}

TFormMain::~TFormMain() {
  // The controls go with the window; their font must outlive them.
  if (Handle() != nullptr) DestroyWindow(Handle());
  if (font_ != nullptr) DeleteObject(font_);
}

void TFormMain::Button1Click(HWND) { RunFromRosterFile(); }

RECT TFormMain::ScaledRect(const RECT& layoutRect) const {
  return {Scale(layoutRect.left), Scale(layoutRect.top), Scale(layoutRect.right), Scale(layoutRect.bottom)};
}

void TFormMain::CreateControls() {
  pageMain_ = CreatePanel(Handle(), kPanelColour, ScaledRect(kPanelStoredRect));
  RECT button = ScaledRect(kButton1Rect);
  button1_ = CreateWindowExW(
      0, L"BUTTON", kButton1Caption, WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, button.left,
      button.top, button.right - button.left, button.bottom - button.top, pageMain_,
      reinterpret_cast<HMENU>(static_cast<INT_PTR>(kButton1Id)), GetModuleHandleW(nullptr), nullptr);
  ApplyFont();
}

void TFormMain::ApplyFont() {
  HFONT old = font_;
  font_ = CreateFontW(-Scale(kFontPixelHeight), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, SHIFTJIS_CHARSET,
                      OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE,
                      kFontFace);
  SendMessageW(Handle(), WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
  SendMessageW(button1_, WM_SETFONT, reinterpret_cast<WPARAM>(font_), TRUE);
  if (old != nullptr) DeleteObject(old);
}

void TFormMain::ScaleControls() {
  // The panel's own visibility, not whether it can be seen: the window may be hidden.
  bool panelShown = (GetWindowLongPtrW(pageMain_, GWL_STYLE) & WS_VISIBLE) != 0;
  FitPanelToClient(pageMain_, panelShown);
  RECT button = ScaledRect(kButton1Rect);
  SetWindowPos(button1_, nullptr, button.left, button.top, button.right - button.left,
               button.bottom - button.top, SWP_NOZORDER | SWP_NOACTIVATE);
  ApplyFont();
}

LRESULT TFormMain::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND:
      if (LOWORD(wParam) == kButton1Id && HIWORD(wParam) == BN_CLICKED) {
        RunGuarded(Handle(), [this] { Button1Click(button1_); });
        return 0;
      }
      break;
    // The button takes the keyboard whenever the window is active, so Space presses it.
    case WM_SETFOCUS:
      if (button1_ != nullptr) SetFocus(button1_);
      return 0;
    default:
      break;
  }
  return TVeskForm::WindowProc(message, wParam, lParam);
}

}  // namespace pelmora
