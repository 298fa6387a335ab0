// The running viewer seen from outside: a separate process that knows only
// its window classes and its stored layout, and reaches it through window
// messages and real mouse input.

#include <gtest/gtest.h>

#include <memory>

#include "tests/support/outside.h"

namespace hv::test {
namespace {

using namespace std::chrono_literals;

// The four navigation buttons as the layout stores them on the top bar.
constexpr int kButtonLeft[4] = {56, 112, 168, 224};
constexpr int kButtonTop = 3, kButtonWidth = 49, kButtonHeight = 25;

class ViewerFromOutside : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    program_ = std::make_unique<TOutsideProgram>(HostPathToWindows(HV_VIEWER_EXE));
    if (program_->Started()) main_ = program_->WaitForTopWindow(L"TFrmMain", 60s);
  }
  static void TearDownTestSuite() { program_.reset(); }

  void SetUp() override {
    ASSERT_TRUE(program_->Started()) << "HelpViewer.exe did not start";
    ASSERT_NE(main_, nullptr) << "no visible TFrmMain window";
  }

  static HWND One(const wchar_t* className) {
    std::vector<HWND> found = DescendantsOfClass(main_, className);
    return found.size() == 1 ? found[0] : nullptr;
  }
  static HWND TopBar() { return One(L"TTeThemeGroupBox"); }
  static HWND Tree() { return One(L"TTeThemeSTreeView"); }

  static RECT ButtonOnScreen(int index) {
    POINT p = ClientToScreenPoint(TopBar(), kButtonLeft[index], kButtonTop);
    return {p.x, p.y, p.x + kButtonWidth, p.y + kButtonHeight};
  }
  // A place on the top bar right of the buttons, where nothing reacts.
  static POINT Elsewhere() { return ClientToScreenPoint(TopBar(), 600, 16); }

  static void ClickButton(int index) {
    RECT r = ButtonOnScreen(index);
    MouseMoveTo({(r.left + r.right) / 2, (r.top + r.bottom) / 2});
    MouseLeftDown();
    MouseLeftUp();
  }
  // Clicks and waits for the selection to settle on `expected`.
  static int ClickAndRead(int index, int expected) {
    ClickButton(index);
    WaitUntil([&] { return TreeSelectedIndex(Tree()) == expected; }, 3s);
    return TreeSelectedIndex(Tree());
  }

  static std::unique_ptr<TOutsideProgram> program_;
  static HWND main_;
};
std::unique_ptr<TOutsideProgram> ViewerFromOutside::program_;
HWND ViewerFromOutside::main_ = nullptr;

TEST_F(ViewerFromOutside, TheTopBarIsAThemedGroupBoxAcrossTheWindow) {
  std::vector<HWND> bars = DescendantsOfClass(main_, L"TTeThemeGroupBox");
  ASSERT_EQ(bars.size(), 1u);
  EXPECT_EQ(GetParent(bars[0]), main_);
  RECT bar = ClientRectOnScreen(bars[0]);
  RECT client = ClientRectOnScreen(main_);
  EXPECT_EQ(bar.left, client.left);
  EXPECT_EQ(bar.top, client.top);
  EXPECT_EQ(bar.right, client.right) << "aligned to the top: as wide as the window";
  EXPECT_EQ(bar.bottom - bar.top, 32);
}

TEST_F(ViewerFromOutside, TheFourButtonsMoveTheTreesSelection) {
  HWND tree = Tree();
  ASSERT_NE(tree, nullptr);
  const int count = static_cast<int>(TreeItemsInOrder(tree).size());
  ASSERT_GE(count, 3) << "the sample help set beside the program has more topics";
  EXPECT_EQ(ClickAndRead(0, 0), 0) << "first";
  EXPECT_EQ(ClickAndRead(2, 1), 1) << "next";
  EXPECT_EQ(ClickAndRead(2, 2), 2) << "next again";
  EXPECT_EQ(ClickAndRead(1, 1), 1) << "previous";
  EXPECT_EQ(ClickAndRead(3, count - 1), count - 1) << "last";
  ClickButton(2);
  EXPECT_EQ(TreeSelectedIndex(tree), count - 1) << "next stays on the last topic";
  EXPECT_EQ(ClickAndRead(0, 0), 0) << "first";
  ClickButton(1);
  EXPECT_EQ(TreeSelectedIndex(tree), 0) << "previous stays on the first topic";
}

TEST_F(ViewerFromOutside, HoveringAButtonChangesItsPixelsAndLeavingRestoresThem) {
  MouseMoveTo(Elsewhere());
  const RECT button = ButtonOnScreen(2);
  TScreenShot before;
  // The button's resting face, once nothing is moving on it any more.
  WaitUntil(
      [&] {
        TScreenShot a = CaptureScreen(button);
        Sleep(100);
        before = CaptureScreen(button);
        return a == before;
      },
      3s);
  ASSERT_EQ(before.width, kButtonWidth);

  MouseMoveTo({button.left + 24, button.top + 12});
  TScreenShot hot;
  EXPECT_TRUE(WaitUntil(
      [&] {
        hot = CaptureScreen(button);
        return CountDifferentPixels(before, hot) > 0;
      },
      3s))
      << "the hot face shows";
  // The hot face is more than a changed caption: its edge rows change too.
  int edge = 0;
  for (int x = 0; x < kButtonWidth; ++x) edge += hot.At(x, 0) != before.At(x, 0) || hot.At(x, 24) != before.At(x, 24);
  EXPECT_GT(edge, kButtonWidth / 2);

  MouseMoveTo(Elsewhere());
  TScreenShot after;
  EXPECT_TRUE(WaitUntil(
      [&] {
        after = CaptureScreen(button);
        return after == before;
      },
      3s))
      << CountDifferentPixels(before, after) << " pixels still differ after the mouse left";
}

TEST_F(ViewerFromOutside, TheStatusBarIsThemedAndItsGripSizesTheWindow) {
  std::vector<HWND> bars = DescendantsOfClass(main_, L"TTeThemeStatusBar");
  ASSERT_EQ(bars.size(), 1u);
  HWND bar = bars[0];
  EXPECT_EQ(GetParent(bar), main_);
  RECT client = ClientRectOnScreen(bar);
  EXPECT_EQ(client.bottom, ClientRectOnScreen(main_).bottom) << "the status bar runs along the bottom";
  const RECT before = WindowRectOf(main_);
  // Six pixels in from the bar's bottom-right corner, inside its border,
  // lies on the grip.
  const POINT grip{client.right - 6, client.bottom - 6};
  MouseDrag(grip, {grip.x - 150, grip.y - 100});
  RECT after{};
  WaitUntil(
      [&] {
        after = WindowRectOf(main_);
        return after.right == before.right - 150 && after.bottom == before.bottom - 100;
      },
      5s);
  EXPECT_EQ(after.left, before.left);
  EXPECT_EQ(after.top, before.top);
  EXPECT_EQ(after.right, before.right - 150);
  EXPECT_EQ(after.bottom, before.bottom - 100);
  // The bar follows the window's new bottom edge.
  WaitUntil([&] { return ClientRectOnScreen(bar).bottom == ClientRectOnScreen(main_).bottom; }, 3s);
  EXPECT_EQ(ClientRectOnScreen(bar).bottom, ClientRectOnScreen(main_).bottom);
  EXPECT_EQ(ClientRectOnScreen(bar).right, ClientRectOnScreen(main_).right);
}

}  // namespace
}  // namespace hv::test
