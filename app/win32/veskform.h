// The base window: a client size chosen in code and laid out in 96-DPI units at the window's
// own pixels per inch, centred on the primary screen, deaf to the Alt and F10 keys, and one
// private message that a derived window may handle.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <type_traits>

namespace pelmora {

class TVeskForm;

// The private message, WM_USER + 10.
inline constexpr UINT kPrivateMessage = WM_USER + 10;
using TPrivateMessageHandler = std::function<void(TVeskForm& window, const MSG& message)>;

// Where a window of the given outer size stands centred on a screen of the given size; the
// halves are truncated toward zero, also when the window is larger than the screen.
POINT CentredPosition(SIZE screen, SIZE outerWindow);

class TVeskForm {
 public:
  TVeskForm() = default;
  virtual ~TVeskForm();
  TVeskForm(const TVeskForm&) = delete;
  TVeskForm& operator=(const TVeskForm&) = delete;

  // Stored before the window is built and applied once, by ApplyRequestedClientSize.
  void RequestClientSize(std::int32_t width, std::int32_t height);

  // Places the panel over the whole client area and shows or hides it.
  void FitPanelToClient(HWND panel, bool visible);

  // True for the keyboard messages that the window takes: key, character and dead-character
  // messages, plain or system, whose first parameter is Alt (18) or F10 (121).
  static bool FilterChildKey(HWND control, const MSG& message);

  // The message loop asks this before it translates and dispatches a queued message; true means
  // the message was for this window or one of its controls and the window took it.
  bool PreTranslateMessage(const MSG& message);

  HWND Handle() const { return handle_; }
  UINT Dpi() const { return dpi_; }
  // A length of the 96-DPI layout in this window's pixels.
  int Scale(int layoutPixels) const;

  TPrivateMessageHandler PrivateMessageHandler;

 protected:
  // The first half of construction: the window itself, hidden, with its caption and frame, at
  // the pixels per inch of the primary screen where it is about to stand.
  bool CreateForm(const wchar_t* caption, DWORD style, DWORD exStyle);

  // The second half, once the derived window has built its controls: the requested client size
  // at the window's pixels per inch, then the window centred by its outer size.
  void ApplyRequestedClientSize();

  // Called after the window moved to a monitor of other pixels per inch, once it has its new
  // size: the derived window lays its controls out again.
  virtual void ScaleControls() {}

  virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);

 private:
  static LRESULT CALLBACK DispatchWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  SIZE ScaledClientSize() const;
  SIZE OuterSizeForDpi(UINT dpi) const;
  void CorrectClientSize();
  void CentreOnScreen();
  void MoveToDpi(UINT dpi, const RECT& suggested);
  void ShowProgramIcon();

  HWND handle_ = nullptr;
  // The program's icon at the sizes of the title bar and of the taskbar for the window's DPI,
  // destroyed after the window.
  using TIconHandle = std::unique_ptr<std::remove_pointer_t<HICON>, decltype(&DestroyIcon)>;
  TIconHandle smallIcon_{nullptr, DestroyIcon};
  TIconHandle bigIcon_{nullptr, DestroyIcon};
  UINT dpi_ = 96;
  std::int32_t requestedClientWidth_ = 0;
  std::int32_t requestedClientHeight_ = 0;
};

}  // namespace pelmora
