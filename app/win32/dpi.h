// Pixels per inch for a window that lays itself out in 96-DPI units: the newest interface the
// system offers, found at run time, so that the program also starts where it is missing.
#pragma once

#include <windows.h>

namespace pelmora {

// The layout's own pixels per inch.
inline constexpr UINT kLayoutDpi = 96;

// The window's pixels per inch: its monitor's where the system tracks that, the system's
// otherwise, the screen's LOGPIXELSY on the oldest systems.
UINT DpiForWindow(HWND window);

// A length of the layout in pixels at the given pixels per inch, rounded to the nearest pixel.
int ScaleToDpi(int layoutPixels, UINT dpi);

// A system metric (an icon's width, say) at the given pixels per inch.
int SystemMetricForDpi(int index, UINT dpi);

// Grows a client rectangle to the window rectangle of that style, with the frame and title bar
// of the given pixels per inch where the system can say them.
void AdjustWindowRectToDpi(RECT& rect, DWORD style, DWORD exStyle, UINT dpi);

}  // namespace pelmora
