#include "app/win32/window_class.h"

namespace pelmora {

bool RegisterWindowClass(HINSTANCE instance, const wchar_t* name, WNDPROC windowProc, HBRUSH background) {
  WNDCLASSEXW windowClass{};
  if (GetClassInfoExW(instance, name, &windowClass)) return true;
  windowClass.cbSize = sizeof(windowClass);
  windowClass.lpfnWndProc = windowProc;
  windowClass.hInstance = instance;
  windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  windowClass.hbrBackground = background;
  windowClass.lpszClassName = name;
  return RegisterClassExW(&windowClass) != 0;
}

}  // namespace pelmora
