// A plain panel: a child window filled with one colour that passes its controls' notifications
// on to the window it sits in.
#pragma once

#include <windows.h>

namespace pelmora {

// Makes a hidden panel of the colour at the rectangle (in the parent's client pixels).
HWND CreatePanel(HWND parent, COLORREF colour, const RECT& rect);

}  // namespace pelmora
