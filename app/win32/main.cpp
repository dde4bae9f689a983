// Start-up: one main window and the message loop until it is closed.
#include <windows.h>

#include <commctrl.h>

#include <cstdlib>

#include "app/win32/error_box.h"
#include "app/win32/unitform.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int showCommand) {
  // The push button takes the system's current look from the common controls the manifest asks
  // for.
  INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&controls);
  pelmora::TFormMain formMain;
  if (formMain.Handle() == nullptr) return EXIT_FAILURE;
  pelmora::FormMain = &formMain;
  pelmora::InstallMessageBoxPresenter(formMain.Handle());
  ShowWindow(formMain.Handle(), showCommand);
  UpdateWindow(formMain.Handle());
  MSG message{};
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    if (formMain.PreTranslateMessage(message)) continue;
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  pelmora::FormMain = nullptr;
  return static_cast<int>(message.wParam);
}
