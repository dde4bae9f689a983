// Reads the program's window and its boxes as Windows itself sees them, from a second process on
// the same desktop, and prints what it found as UTF-8 lines for the end-to-end test:
//
//   window_probe window    caption, pixels per inch, screen, outer and client rectangles, frame
//                          buttons, the panel and the button
//   window_probe boxes     every message box the window owns: caption, icon, text
//   window_probe menu      whether the window's thread is in a menu loop
//   window_probe private   sends the window its private message and says whether it lives on
#include <windows.h>

#include <fcntl.h>
#include <io.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

constexpr wchar_t kCaption[] = L"Pelmora Simulator";
constexpr UINT kPrivateMessage = WM_USER + 10;
constexpr wchar_t kMessageBoxClass[] = L"#32770";

std::string Utf8(const std::wstring& text) {
  if (text.empty()) return {};
  int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr,
                                 nullptr);
  std::string utf8(static_cast<std::size_t>(size), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), utf8.data(), size, nullptr,
                      nullptr);
  return utf8;
}

void Print(const std::string& line) {
  std::fwrite(line.data(), 1, line.size(), stdout);
  std::fputc('\n', stdout);
}

// WM_GETTEXT is carried across processes by the system, unlike GetWindowText on another
// process's control.
std::wstring TextOf(HWND window) {
  auto length = SendMessageW(window, WM_GETTEXTLENGTH, 0, 0);
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  auto got = SendMessageW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()));
  text.resize(static_cast<std::size_t>(got));
  return text;
}

std::wstring ClassOf(HWND window) {
  wchar_t name[64] = {};
  GetClassNameW(window, name, 64);
  return name;
}

std::string RectText(const RECT& rect) {
  return std::to_string(rect.left) + "," + std::to_string(rect.top) + "," +
         std::to_string(rect.right - rect.left) + "x" + std::to_string(rect.bottom - rect.top);
}

// A child's rectangle in its parent's client coordinates.
RECT ChildRect(HWND child) {
  RECT rect{};
  GetWindowRect(child, &rect);
  MapWindowPoints(HWND_DESKTOP, GetParent(child), reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

// The probe must see physical pixels, as the program does.
void BecomeDpiAware() {
  using TSetContext = BOOL(WINAPI*)(HANDLE);
  HMODULE user32 = GetModuleHandleW(L"user32.dll");
  auto setContext = reinterpret_cast<TSetContext>(
      reinterpret_cast<void*>(GetProcAddress(user32, "SetProcessDpiAwarenessContext")));
  // DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2
  if (setContext == nullptr || !setContext(reinterpret_cast<HANDLE>(static_cast<INT_PTR>(-4))))
    SetProcessDPIAware();
}

UINT DpiOf(HWND window) {
  using TGetDpiForWindow = UINT(WINAPI*)(HWND);
  HMODULE user32 = GetModuleHandleW(L"user32.dll");
  auto getDpi =
      reinterpret_cast<TGetDpiForWindow>(reinterpret_cast<void*>(GetProcAddress(user32, "GetDpiForWindow")));
  return getDpi != nullptr ? getDpi(window) : 0;
}

int ReportWindow(HWND form) {
  Print("caption=" + Utf8(TextOf(form)));
  Print("dpi=" + std::to_string(DpiOf(form)));
  Print("screen=" + std::to_string(GetSystemMetrics(SM_CXSCREEN)) + "x" +
        std::to_string(GetSystemMetrics(SM_CYSCREEN)));
  RECT outer{};
  GetWindowRect(form, &outer);
  Print("outer=" + RectText(outer));
  RECT client{};
  GetClientRect(form, &client);
  MapWindowPoints(form, HWND_DESKTOP, reinterpret_cast<POINT*>(&client), 2);
  Print("client=" + RectText(client));
  auto style = static_cast<DWORD>(GetWindowLongPtrW(form, GWL_STYLE));
  Print("sizing=" + std::to_string((style & WS_THICKFRAME) != 0) +
        " maximize=" + std::to_string((style & WS_MAXIMIZEBOX) != 0) +
        " minimize=" + std::to_string((style & WS_MINIMIZEBOX) != 0) +
        " sysmenu=" + std::to_string((style & WS_SYSMENU) != 0));
  Print("enabled=" + std::to_string(IsWindowEnabled(form) != FALSE));
  for (HWND panel = GetWindow(form, GW_CHILD); panel != nullptr; panel = GetWindow(panel, GW_HWNDNEXT)) {
    Print("panel=" + RectText(ChildRect(panel)) +
          " visible=" + std::to_string(IsWindowVisible(panel) != FALSE));
    for (HWND control = GetWindow(panel, GW_CHILD); control != nullptr;
         control = GetWindow(control, GW_HWNDNEXT)) {
      Print("control=" + Utf8(ClassOf(control)) + " " + RectText(ChildRect(control)) +
            " text=" + Utf8(TextOf(control)));
    }
  }
  return 0;
}

struct TBoxSearch {
  HWND owner;
  std::vector<HWND> boxes;
};

BOOL CALLBACK CollectBox(HWND window, LPARAM search) {
  auto* found = reinterpret_cast<TBoxSearch*>(search);
  if (IsWindowVisible(window) && ClassOf(window) == kMessageBoxClass &&
      GetWindow(window, GW_OWNER) == found->owner) {
    found->boxes.push_back(window);
  }
  return TRUE;
}

// A box's icon is a static control showing an icon; its text is the static control with text.
void ReportBox(HWND box) {
  bool icon = false;
  std::wstring text;
  for (HWND control = GetWindow(box, GW_CHILD); control != nullptr;
       control = GetWindow(control, GW_HWNDNEXT)) {
    if (ClassOf(control) != L"Static" || !IsWindowVisible(control)) continue;
    auto style = static_cast<DWORD>(GetWindowLongPtrW(control, GWL_STYLE));
    if ((style & SS_TYPEMASK) == SS_ICON) {
      icon = icon || SendMessageW(control, STM_GETICON, 0, 0) != 0;
    } else if (std::wstring own = TextOf(control); !own.empty()) {
      text = own;
    }
  }
  Print("box caption=\"" + Utf8(TextOf(box)) + "\" icon=" + std::to_string(icon) + " text=" + Utf8(text));
}

int ReportBoxes(HWND form) {
  TBoxSearch search{form, {}};
  EnumWindows(CollectBox, reinterpret_cast<LPARAM>(&search));
  for (HWND box : search.boxes) ReportBox(box);
  return 0;
}

int ReportMenu(HWND form) {
  GUITHREADINFO info{};
  info.cbSize = sizeof(info);
  DWORD thread = GetWindowThreadProcessId(form, nullptr);
  if (!GetGUIThreadInfo(thread, &info)) return 1;
  DWORD menuModes = GUI_INMENUMODE | GUI_POPUPMENUMODE | GUI_SYSTEMMENUMODE;
  Print("menu=" + std::to_string((info.flags & menuModes) != 0));
  return 0;
}

int SendPrivate(HWND form) {
  DWORD_PTR result = 0;
  bool answered = SendMessageTimeoutW(form, kPrivateMessage, 0, 0, SMTO_ABORTIFHUNG, 5000, &result) != 0;
  Print("answered=" + std::to_string(answered) + " alive=" + std::to_string(IsWindow(form) != FALSE));
  return 0;
}

}  // namespace

int main(int argc, char* argv[]) {
  _setmode(_fileno(stdout), _O_BINARY);
  BecomeDpiAware();
  if (argc != 2) {
    std::fprintf(stderr, "usage: window_probe window|boxes|menu|private\n");
    return 2;
  }
  HWND form = FindWindowW(nullptr, kCaption);
  if (form == nullptr) {
    std::fprintf(stderr, "window_probe: no window \"Pelmora Simulator\"\n");
    return 1;
  }
  std::string command = argv[1];
  if (command == "window") return ReportWindow(form);
  if (command == "boxes") return ReportBoxes(form);
  if (command == "menu") return ReportMenu(form);
  if (command == "private") return SendPrivate(form);
  std::fprintf(stderr, "window_probe: unknown command %s\n", argv[1]);
  return 2;
}
