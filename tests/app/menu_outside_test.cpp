// The viewer's system menu seen from outside: a right click on the caption,
// Alt+Space and the menu's accelerators, as real input to a separately
// started viewer, found only by its window classes.

#include <gtest/gtest.h>

#include <memory>

#include "tests/support/outside.h"

namespace hv::test {
namespace {

using namespace std::chrono_literals;

void Key(WORD key, bool up) {
  INPUT input{};
  input.type = INPUT_KEYBOARD;
  input.ki.wVk = key;
  input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
  SendInput(1, &input, sizeof(input));
}
void Press(WORD key) {
  Key(key, false);
  Key(key, true);
}
void RightClick() {
  INPUT input[2] = {};
  input[0].type = input[1].type = INPUT_MOUSE;
  input[0].mi.dwFlags = MOUSEEVENTF_RIGHTDOWN;
  input[1].mi.dwFlags = MOUSEEVENTF_RIGHTUP;
  SendInput(2, input, sizeof(INPUT));
}

struct TFind {
  DWORD process;
  HWND found;
};

// A visible top-level window of the viewer's process whose class is the
// themed popup window's.
HWND OpenPopup(DWORD process) {
  TFind find{process, nullptr};
  EnumWindows(
      [](HWND wnd, LPARAM data) -> BOOL {
        auto* f = reinterpret_cast<TFind*>(data);
        DWORD pid = 0;
        GetWindowThreadProcessId(wnd, &pid);
        if (pid != f->process || !IsWindowVisible(wnd)) return TRUE;
        const std::wstring name = WindowClassName(wnd);
        if (name == L"TTeThemePopupWindow" || name == L"TTePopupWindow") {
          f->found = wnd;
          return FALSE;
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&find));
  return find.found;
}

TEST(ViewerSystemMenuFromOutside, OpensAtTheCaptionAndFromTheKeyboardAndMinimizesByItsAccelerator) {
  TOutsideProgram program(HostPathToWindows(HV_VIEWER_EXE));
  ASSERT_TRUE(program.Started());
  HWND main = program.WaitForTopWindow(L"TFrmMain", 60s);
  ASSERT_NE(main, nullptr);
  const DWORD pid = program.ProcessId();
  SetForegroundWindow(main);

  // A right click on the caption: the themed popup opens at the pointer.
  const RECT frame = WindowRectOf(main);
  const POINT caption{(frame.left + frame.right) / 2, frame.top + 8};
  MouseMoveTo(caption);
  RightClick();
  ASSERT_TRUE(WaitUntil([&] { return OpenPopup(pid) != nullptr; }, 5s)) << "no popup after a right click";
  HWND popup = OpenPopup(pid);
  EXPECT_EQ(WindowClassName(popup), L"TTeThemePopupWindow");
  const RECT at = WindowRectOf(popup);
  EXPECT_EQ(at.left, caption.x);
  EXPECT_EQ(at.top, caption.y);
  EXPECT_EQ(GetForegroundWindow(), main) << "the popup does not take the activation";

  Press(VK_ESCAPE);
  EXPECT_TRUE(WaitUntil([&] { return OpenPopup(pid) == nullptr; }, 5s)) << "Escape closes it";

  // Alt+Space opens it as well.
  Key(VK_MENU, false);
  Press(VK_SPACE);
  Key(VK_MENU, true);
  EXPECT_TRUE(WaitUntil([&] { return OpenPopup(pid) != nullptr; }, 5s)) << "no popup after Alt+Space";
  Press(VK_ESCAPE);
  EXPECT_TRUE(WaitUntil([&] { return OpenPopup(pid) == nullptr; }, 5s));

  // Its Minimize entry, by its accelerator.
  MouseMoveTo(caption);
  RightClick();
  ASSERT_TRUE(WaitUntil([&] { return OpenPopup(pid) != nullptr; }, 5s));
  Press('N');
  EXPECT_TRUE(WaitUntil(
      [&] {
        const RECT r = WindowRectOf(main);
        return IsIconic(main) || !IsWindowVisible(main) || r.bottom - r.top < frame.bottom - frame.top;
      },
      5s))
      << "the main window is minimized";
  EXPECT_EQ(OpenPopup(pid), nullptr);
  EXPECT_TRUE(program.Running());
}

}  // namespace
}  // namespace hv::test
