// The panel's class: its own brush, kept with the window and deleted with it.
#include "app/win32/panel.h"

#include "app/win32/window_class.h"

namespace pelmora {

namespace {

constexpr wchar_t kPanelClassName[] = L"PelmoraPanel";

HBRUSH PanelBrush(HWND panel) { return reinterpret_cast<HBRUSH>(GetWindowLongPtrW(panel, GWLP_USERDATA)); }

LRESULT CALLBACK PanelProc(HWND panel, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_ERASEBKGND: {
      RECT client{};
      GetClientRect(panel, &client);
      FillRect(reinterpret_cast<HDC>(wParam), &client, PanelBrush(panel));
      return TRUE;
    }
    // A themed push button paints its rounded corners in the colour its parent gives it.
    case WM_CTLCOLORBTN:
      return reinterpret_cast<LRESULT>(PanelBrush(panel));
    // The controls' notifications belong to the window, as if the controls sat on it directly.
    case WM_COMMAND:
    case WM_NOTIFY:
      return SendMessageW(GetParent(panel), message, wParam, lParam);
    case WM_NCDESTROY:
      DeleteObject(PanelBrush(panel));
      SetWindowLongPtrW(panel, GWLP_USERDATA, 0);
      break;
    default:
      break;
  }
  return DefWindowProcW(panel, message, wParam, lParam);
}

}  // namespace

HWND CreatePanel(HWND parent, COLORREF colour, const RECT& rect) {
  HINSTANCE instance = GetModuleHandleW(nullptr);
  if (!RegisterWindowClass(instance, kPanelClassName, PanelProc, nullptr)) return nullptr;
  HWND panel = CreateWindowExW(WS_EX_CONTROLPARENT, kPanelClassName, L"", WS_CHILD | WS_CLIPSIBLINGS,
                               rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, parent,
                               nullptr, instance, nullptr);
  if (panel != nullptr)
    SetWindowLongPtrW(panel, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(CreateSolidBrush(colour)));
  return panel;
}

}  // namespace pelmora
