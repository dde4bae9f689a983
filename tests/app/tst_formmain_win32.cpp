// The Windows main window in the test's own process: its layout at the system's pixels per inch
// and again after a move to a monitor of twice as many, the centring rule, the keys it takes from
// the message loop, its private message and the error box's full stop.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/win32/error_box.h"
#include "app/win32/unitform.h"

#ifndef WM_DPICHANGED
#define WM_DPICHANGED 0x02E0
#endif

using namespace pelmora;

namespace {

RECT ClientRectOf(HWND window) {
  RECT rect{};
  GetClientRect(window, &rect);
  return rect;
}

// A child's rectangle in its parent's client coordinates.
RECT ChildRect(HWND child) {
  RECT rect{};
  GetWindowRect(child, &rect);
  MapWindowPoints(HWND_DESKTOP, GetParent(child), reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

std::wstring TextOf(HWND window) {
  wchar_t text[64] = {};
  GetWindowTextW(window, text, 64);
  return text;
}

// Checks the layout at the window's pixels per inch: the client area, the panel over all of it
// and the button at its place.
void ExpectLayout(const TFormMain& form, int scale) {
  RECT client = ClientRectOf(form.Handle());
  EXPECT_EQ(client.right, 500 * scale);
  EXPECT_EQ(client.bottom, 300 * scale);
  RECT panel = ChildRect(form.PageMain());
  EXPECT_EQ(panel.left, 0);
  EXPECT_EQ(panel.top, 0);
  EXPECT_EQ(panel.right, 500 * scale);
  EXPECT_EQ(panel.bottom, 300 * scale);
  // Shown itself; the test never shows the window around it.
  EXPECT_NE(GetWindowLongPtrW(form.PageMain(), GWL_STYLE) & WS_VISIBLE, 0);
  RECT button = ChildRect(form.Button1());
  EXPECT_EQ(button.left, 210 * scale);
  EXPECT_EQ(button.top, 125 * scale);
  EXPECT_EQ(button.right - button.left, 80 * scale);
  EXPECT_EQ(button.bottom - button.top, 50 * scale);
  // The font's character height, without internal leading, is 12 pixels at 96 DPI.
  LOGFONTW font{};
  auto handle = reinterpret_cast<HFONT>(SendMessageW(form.Button1(), WM_GETFONT, 0, 0));
  ASSERT_NE(handle, nullptr);
  ASSERT_NE(GetObjectW(handle, sizeof(font), &font), 0);
  EXPECT_EQ(font.lfHeight, -12 * scale);
  EXPECT_EQ(font.lfCharSet, SHIFTJIS_CHARSET);
}

class FormMainWin32 : public ::testing::Test {
 protected:
  TFormMain form_;
};

}  // namespace

TEST_F(FormMainWin32, LayoutAtTheSystemDpi) {
  ASSERT_NE(form_.Handle(), nullptr);
  UINT dpi = form_.Dpi();
  ASSERT_EQ(dpi % 96, 0u) << "the test runs at 96 or 192 DPI";
  EXPECT_EQ(TextOf(form_.Handle()), L"Pelmora Simulator");
  EXPECT_EQ(TextOf(form_.Button1()), L"実行");
  auto style = static_cast<DWORD>(GetWindowLongPtrW(form_.Handle(), GWL_STYLE));
  EXPECT_EQ(style & (WS_THICKFRAME | WS_MAXIMIZEBOX), 0u) << "the frame is fixed and cannot be maximised";
  EXPECT_EQ(style & (WS_SYSMENU | WS_MINIMIZEBOX), static_cast<DWORD>(WS_SYSMENU | WS_MINIMIZEBOX));
  ExpectLayout(form_, static_cast<int>(dpi / 96));
}

TEST_F(FormMainWin32, LaysItselfOutAgainOnANewMonitorsDpi) {
  UINT dpi = form_.Dpi() * 2;
  RECT window{};
  GetWindowRect(form_.Handle(), &window);
  // What the system suggests: the same corner, the size for the new pixels per inch.
  RECT outer{0, 0, 500 * static_cast<LONG>(dpi) / 96, 300 * static_cast<LONG>(dpi) / 96};
  AdjustWindowRectEx(&outer, static_cast<DWORD>(GetWindowLongPtrW(form_.Handle(), GWL_STYLE)), FALSE,
                     static_cast<DWORD>(GetWindowLongPtrW(form_.Handle(), GWL_EXSTYLE)));
  RECT suggested{window.left, window.top, window.left + outer.right - outer.left,
                 window.top + outer.bottom - outer.top};
  SendMessageW(form_.Handle(), WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
  EXPECT_EQ(form_.Dpi(), dpi);
  RECT moved{};
  GetWindowRect(form_.Handle(), &moved);
  EXPECT_EQ(moved.left, suggested.left);
  EXPECT_EQ(moved.top, suggested.top);
  ExpectLayout(form_, static_cast<int>(dpi / 96));
}

TEST(CentredPosition, HalvesTruncateTowardZero) {
  struct TCase {
    SIZE screen, outer;
    POINT at;
  };
  const std::vector<TCase> cases = {
      {{1920, 1080}, {506, 326}, {707, 377}},
      {{1280, 1024}, {507, 329}, {386, 347}},
      {{1000, 600}, {1005, 607}, {-2, -3}},
  };
  for (const TCase& c : cases) {
    POINT at = CentredPosition(c.screen, c.outer);
    EXPECT_EQ(at.x, c.at.x) << c.screen.cx << " - " << c.outer.cx;
    EXPECT_EQ(at.y, c.at.y) << c.screen.cy << " - " << c.outer.cy;
  }
}

// Every kind of keyboard message with Alt or F10 in its first parameter is taken, for the window
// and for its controls, so the menu loop never starts; other keys and other windows' messages
// pass, and Alt with another key reaches the system as usual.
TEST_F(FormMainWin32, TakesAltAndF10FromTheMessageLoop) {
  const UINT kinds[] = {WM_KEYDOWN,    WM_KEYUP,    WM_CHAR,    WM_DEADCHAR,
                        WM_SYSKEYDOWN, WM_SYSKEYUP, WM_SYSCHAR, WM_SYSDEADCHAR};
  HWND other = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(other, nullptr);
  for (UINT kind : kinds) {
    for (HWND target : {form_.Handle(), form_.PageMain(), form_.Button1()}) {
      EXPECT_TRUE(form_.PreTranslateMessage(MSG{target, kind, VK_MENU, 0, 0, {}})) << kind;
      EXPECT_TRUE(form_.PreTranslateMessage(MSG{target, kind, VK_F10, 0, 0, {}})) << kind;
      EXPECT_FALSE(form_.PreTranslateMessage(MSG{target, kind, 'A', 0, 0, {}})) << kind;
      EXPECT_FALSE(form_.PreTranslateMessage(MSG{target, kind, VK_F4, 0, 0, {}})) << kind;
    }
    EXPECT_FALSE(form_.PreTranslateMessage(MSG{other, kind, VK_MENU, 0, 0, {}})) << kind;
  }
  // The character code 121 is the letter y: taken like F10.
  EXPECT_TRUE(form_.PreTranslateMessage(MSG{form_.Button1(), WM_CHAR, L'y', 0, 0, {}}));
  // Not a keyboard message, whatever its first parameter.
  EXPECT_FALSE(form_.PreTranslateMessage(MSG{form_.Button1(), WM_COMMAND, VK_MENU, 0, 0, {}}));
  EXPECT_FALSE(form_.PreTranslateMessage(MSG{form_.Handle(), WM_SYSCOMMAND, VK_F10, 0, 0, {}}));
  DestroyWindow(other);
}

TEST_F(FormMainWin32, PrivateMessageGoesToItsHandler) {
  // Without a handler the message is simply taken.
  EXPECT_EQ(SendMessageW(form_.Handle(), kPrivateMessage, 1, 2), 0);
  std::vector<MSG> seen;
  form_.PrivateMessageHandler = [&](TVeskForm& window, const MSG& message) {
    EXPECT_EQ(&window, &form_);
    seen.push_back(message);
  };
  SendMessageW(form_.Handle(), kPrivateMessage, 3, 4);
  SendMessageW(form_.Handle(), kPrivateMessage + 1, 5, 6);
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0].hwnd, form_.Handle());
  EXPECT_EQ(seen[0].message, 1034u);
  EXPECT_EQ(seen[0].wParam, 3u);
  EXPECT_EQ(seen[0].lParam, 4);
}
