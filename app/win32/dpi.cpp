// The DPI interfaces of newer systems, looked up in user32 at run time.
#include "app/win32/dpi.h"

namespace pelmora {

namespace {

using TGetDpiForWindow = UINT(WINAPI*)(HWND);
using TGetDpiForSystem = UINT(WINAPI*)();
using TAdjustWindowRectExForDpi = BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT);
using TGetSystemMetricsForDpi = int(WINAPI*)(int, UINT);

// user32 is loaded in every GUI process, so its handle stays valid for the program's life.
template <typename TFunction>
TFunction User32Function(const char* name) {
  HMODULE user32 = GetModuleHandleW(L"user32.dll");
  if (user32 == nullptr) return nullptr;
  return reinterpret_cast<TFunction>(reinterpret_cast<void*>(GetProcAddress(user32, name)));
}

UINT ScreenDpi() {
  HDC screen = GetDC(nullptr);
  if (screen == nullptr) return kLayoutDpi;
  int dpi = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  return dpi > 0 ? static_cast<UINT>(dpi) : kLayoutDpi;
}

}  // namespace

UINT DpiForWindow(HWND window) {
  static const auto getDpiForWindow = User32Function<TGetDpiForWindow>("GetDpiForWindow");
  static const auto getDpiForSystem = User32Function<TGetDpiForSystem>("GetDpiForSystem");
  if (getDpiForWindow != nullptr && window != nullptr) {
    if (UINT dpi = getDpiForWindow(window); dpi != 0) return dpi;
  }
  if (getDpiForSystem != nullptr) {
    if (UINT dpi = getDpiForSystem(); dpi != 0) return dpi;
  }
  return ScreenDpi();
}

int ScaleToDpi(int layoutPixels, UINT dpi) {
  return MulDiv(layoutPixels, static_cast<int>(dpi), static_cast<int>(kLayoutDpi));
}

int SystemMetricForDpi(int index, UINT dpi) {
  static const auto metricForDpi = User32Function<TGetSystemMetricsForDpi>("GetSystemMetricsForDpi");
  if (metricForDpi != nullptr) return metricForDpi(index, dpi);
  // The system's metrics are those of its own pixels per inch.
  return MulDiv(GetSystemMetrics(index), static_cast<int>(dpi), static_cast<int>(DpiForWindow(nullptr)));
}

void AdjustWindowRectToDpi(RECT& rect, DWORD style, DWORD exStyle, UINT dpi) {
  static const auto adjustForDpi = User32Function<TAdjustWindowRectExForDpi>("AdjustWindowRectExForDpi");
  if (adjustForDpi != nullptr && adjustForDpi(&rect, style, FALSE, exStyle, dpi)) return;
  AdjustWindowRectEx(&rect, style, FALSE, exStyle);
}

}  // namespace pelmora
