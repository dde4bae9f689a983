// The base window.
#include "app/win32/veskform.h"

#include "app/win32/dpi.h"
#include "app/win32/resource_ids.h"
#include "app/win32/window_class.h"

#ifndef WM_DPICHANGED
#define WM_DPICHANGED 0x02E0
#endif
#ifndef WM_GETDPISCALEDSIZE
#define WM_GETDPISCALEDSIZE 0x02E4
#endif

namespace pelmora {

namespace {

constexpr wchar_t kFormClassName[] = L"PelmoraVeskForm";
constexpr WPARAM kAltKey = VK_MENU;  // 18
constexpr WPARAM kF10Key = VK_F10;   // 121

bool IsKeyboardMessage(UINT message) {
  switch (message) {
    case WM_KEYDOWN:
    case WM_KEYUP:
    case WM_CHAR:
    case WM_DEADCHAR:
    case WM_SYSKEYDOWN:
    case WM_SYSKEYUP:
    case WM_SYSCHAR:
    case WM_SYSDEADCHAR:
      return true;
    default:
      return false;
  }
}

}  // namespace

POINT CentredPosition(SIZE screen, SIZE outerWindow) {
  // C++ integer division truncates toward zero: a difference of -5 gives -2.
  return {(screen.cx - outerWindow.cx) / 2, (screen.cy - outerWindow.cy) / 2};
}

TVeskForm::~TVeskForm() {
  if (handle_ == nullptr) return;
  // The derived part is gone: the window must not call back into it while it is destroyed.
  SetWindowLongPtrW(handle_, GWLP_USERDATA, 0);
  DestroyWindow(handle_);
}

void TVeskForm::RequestClientSize(std::int32_t width, std::int32_t height) {
  requestedClientWidth_ = width;
  requestedClientHeight_ = height;
}

void TVeskForm::FitPanelToClient(HWND panel, bool visible) {
  RECT client{};
  GetClientRect(handle_, &client);
  SetWindowPos(panel, nullptr, 0, 0, client.right - client.left, client.bottom - client.top,
               SWP_NOZORDER | SWP_NOACTIVATE);
  ShowWindow(panel, visible ? SW_SHOWNA : SW_HIDE);
}

bool TVeskForm::FilterChildKey(HWND, const MSG& message) {
  return IsKeyboardMessage(message.message) && (message.wParam == kAltKey || message.wParam == kF10Key);
}

bool TVeskForm::PreTranslateMessage(const MSG& message) {
  if (handle_ == nullptr || !IsKeyboardMessage(message.message)) return false;
  bool mine = message.hwnd == handle_ || IsChild(handle_, message.hwnd);
  return mine && FilterChildKey(message.hwnd, message);
}

int TVeskForm::Scale(int layoutPixels) const { return ScaleToDpi(layoutPixels, dpi_); }

bool TVeskForm::CreateForm(const wchar_t* caption, DWORD style, DWORD exStyle) {
  HINSTANCE instance = GetModuleHandleW(nullptr);
  // The form's class: the system's button-face colour behind the client area.
  if (!RegisterWindowClass(instance, kFormClassName, DispatchWindowProc,
                           reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1))))
    return false;
  // The primary screen's top left corner is (0, 0): made there, the window takes the primary
  // screen's pixels per inch, which is where it is centred.
  CreateWindowExW(exStyle, kFormClassName, caption, style, 0, 0, 0, 0, nullptr, nullptr, instance, this);
  if (handle_ == nullptr) return false;
  dpi_ = DpiForWindow(handle_);
  ShowProgramIcon();
  return true;
}

SIZE TVeskForm::ScaledClientSize() const {
  return {Scale(requestedClientWidth_), Scale(requestedClientHeight_)};
}

SIZE TVeskForm::OuterSizeForDpi(UINT dpi) const {
  RECT rect{0, 0, ScaleToDpi(requestedClientWidth_, dpi), ScaleToDpi(requestedClientHeight_, dpi)};
  auto style = static_cast<DWORD>(GetWindowLongPtrW(handle_, GWL_STYLE));
  auto exStyle = static_cast<DWORD>(GetWindowLongPtrW(handle_, GWL_EXSTYLE));
  AdjustWindowRectToDpi(rect, style, exStyle, dpi);
  return {rect.right - rect.left, rect.bottom - rect.top};
}

void TVeskForm::ApplyRequestedClientSize() {
  SIZE outer = OuterSizeForDpi(dpi_);
  SetWindowPos(handle_, nullptr, 0, 0, outer.cx, outer.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  CorrectClientSize();
  CentreOnScreen();
}

void TVeskForm::CorrectClientSize() {
  // The frame the window really has can differ from the one computed for its style and pixels
  // per inch (a title bar that wraps, a frame still of the old monitor): grow or shrink the window
  // by what the client area lacks.
  SIZE wanted = ScaledClientSize();
  RECT client{};
  RECT window{};
  GetClientRect(handle_, &client);
  GetWindowRect(handle_, &window);
  int missingWidth = wanted.cx - (client.right - client.left);
  int missingHeight = wanted.cy - (client.bottom - client.top);
  if (missingWidth == 0 && missingHeight == 0) return;
  SetWindowPos(handle_, nullptr, 0, 0, window.right - window.left + missingWidth,
               window.bottom - window.top + missingHeight, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void TVeskForm::CentreOnScreen() {
  // The window's outer size as the system made it, frame and title bar included.
  RECT window{};
  GetWindowRect(handle_, &window);
  SIZE screen{GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  POINT at = CentredPosition(screen, {window.right - window.left, window.bottom - window.top});
  SetWindowPos(handle_, nullptr, at.x, at.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void TVeskForm::MoveToDpi(UINT dpi, const RECT& suggested) {
  dpi_ = dpi;
  // The suggested place, and the size that gives the requested client area exactly: a system
  // that does not ask WM_GETDPISCALEDSIZE suggests the old window scaled as a whole, frame and all.
  SIZE outer = OuterSizeForDpi(dpi);
  SetWindowPos(handle_, nullptr, suggested.left, suggested.top, outer.cx, outer.cy,
               SWP_NOZORDER | SWP_NOACTIVATE);
  CorrectClientSize();
  ScaleControls();
  ShowProgramIcon();
}

void TVeskForm::ShowProgramIcon() {
  // Loaded at the exact sizes of this DPI, the icon is drawn from its own image of that size
  // instead of being scaled from another. A program built without its icon keeps the system's.
  HINSTANCE instance = GetModuleHandleW(nullptr);
  auto load = [&](int widthMetric, int heightMetric) {
    return TIconHandle(static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(PELMORA_PROGRAM_ICON),
                                                     IMAGE_ICON, SystemMetricForDpi(widthMetric, dpi_),
                                                     SystemMetricForDpi(heightMetric, dpi_), 0)),
                       DestroyIcon);
  };
  TIconHandle small = load(SM_CXSMICON, SM_CYSMICON);
  TIconHandle big = load(SM_CXICON, SM_CYICON);
  if (small == nullptr || big == nullptr) return;
  SendMessageW(handle_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small.get()));
  SendMessageW(handle_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(big.get()));
  // The icons shown before are no longer the window's.
  smallIcon_ = std::move(small);
  bigIcon_ = std::move(big);
}

LRESULT TVeskForm::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case kPrivateMessage:
      if (PrivateMessageHandler) {
        MSG privateMessage{handle_, message, wParam, lParam, 0, {}};
        PrivateMessageHandler(*this, privateMessage);
      }
      return 0;
    case WM_GETDPISCALEDSIZE: {
      // The system would scale the whole window; the client area alone scales, the frame is
      // that of the new pixels per inch.
      *reinterpret_cast<SIZE*>(lParam) = OuterSizeForDpi(static_cast<UINT>(wParam));
      return TRUE;
    }
    case WM_DPICHANGED:
      MoveToDpi(HIWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
      return 0;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    default:
      return DefWindowProcW(handle_, message, wParam, lParam);
  }
}

LRESULT CALLBACK TVeskForm::DispatchWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* form = static_cast<TVeskForm*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    form->handle_ = window;
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(form));
  }
  auto* form = reinterpret_cast<TVeskForm*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (form == nullptr) return DefWindowProcW(window, message, wParam, lParam);
  if (message == WM_NCDESTROY) {
    SetWindowLongPtrW(window, GWLP_USERDATA, 0);
    form->handle_ = nullptr;
    return DefWindowProcW(window, message, wParam, lParam);
  }
  return form->WindowProc(message, wParam, lParam);
}

}  // namespace pelmora
