// The viewer's system menu seen from outside: a right click on the caption,
// Alt+Space and the menu's accelerators, as real input to a separately
// started viewer, found only by its window classes.

#include <gtest/gtest.h>

#include <memory>

#include "tests/support/outside.h"

namespace hv::test {
namespace {

using namespace std::chrono_literals;

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
  MouseRightClick();
  ASSERT_TRUE(WaitUntil([&] { return VisiblePopupMenu(pid) != nullptr; }, 5s)) << "no popup after a right click";
  HWND popup = VisiblePopupMenu(pid);
  EXPECT_EQ(WindowClassName(popup), L"TTeThemePopupWindow");
  const RECT at = WindowRectOf(popup);
  EXPECT_EQ(at.left, caption.x);
  EXPECT_EQ(at.top, caption.y);
  EXPECT_EQ(GetForegroundWindow(), main) << "the popup does not take the activation";

  PressKey(VK_ESCAPE);
  EXPECT_TRUE(WaitUntil([&] { return VisiblePopupMenu(pid) == nullptr; }, 5s)) << "Escape closes it";

  // Alt+Space opens it as well.
  KeyDown(VK_MENU);
  PressKey(VK_SPACE);
  KeyUp(VK_MENU);
  EXPECT_TRUE(WaitUntil([&] { return VisiblePopupMenu(pid) != nullptr; }, 5s)) << "no popup after Alt+Space";
  PressKey(VK_ESCAPE);
  EXPECT_TRUE(WaitUntil([&] { return VisiblePopupMenu(pid) == nullptr; }, 5s));

  // Its Minimize entry, by its accelerator.
  MouseMoveTo(caption);
  MouseRightClick();
  ASSERT_TRUE(WaitUntil([&] { return VisiblePopupMenu(pid) != nullptr; }, 5s));
  PressKey('N');
  EXPECT_TRUE(WaitUntil(
      [&] {
        const RECT r = WindowRectOf(main);
        return IsIconic(main) || !IsWindowVisible(main) || r.bottom - r.top < frame.bottom - frame.top;
      },
      5s))
      << "the main window is minimized";
  EXPECT_EQ(VisiblePopupMenu(pid), nullptr);
  EXPECT_TRUE(program.Running());
}

}  // namespace
}  // namespace hv::test
