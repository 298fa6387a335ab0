// The running viewer's topic tree seen from outside: a themed tree whose
// vertical bar lies over the system bar's place once the window is small
// enough for the topics to overflow, turns with the wheel, and whose items
// still read back through the standard tree messages.

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>

#include "tests/support/outside.h"

namespace hv::test {
namespace {

using namespace std::chrono_literals;

class TreeFromOutside : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    program_ = std::make_unique<TOutsideProgram>(HostPathToWindows(HV_VIEWER_EXE));
    if (program_->Started()) main_ = program_->WaitForTopWindow(L"TFrmMain", 60s);
  }
  static void TearDownTestSuite() { program_.reset(); }

  void SetUp() override {
    ASSERT_TRUE(program_->Started()) << "HelpViewer.exe did not start";
    ASSERT_NE(main_, nullptr) << "no visible TFrmMain window";
    std::vector<HWND> trees = DescendantsOfClass(main_, L"TTeThemeSTreeView");
    ASSERT_EQ(trees.size(), 1u);
    tree_ = trees[0];
  }

  // The visible in-place bar that lies over the tree's right edge.
  HWND VerticalBar() const {
    const RECT tree = WindowRectOf(tree_);
    for (HWND bar : DescendantsOfClass(main_, L"TTeInplaceScrollBar")) {
      const RECT r = WindowRectOf(bar);
      if (IsWindowVisible(bar) && r.right <= tree.right && r.right >= tree.right - 4 && r.top >= tree.top &&
          r.bottom <= tree.bottom && r.bottom - r.top > r.right - r.left)
        return bar;
    }
    return nullptr;
  }

  static std::unique_ptr<TOutsideProgram> program_;
  static HWND main_;
  HWND tree_ = nullptr;
};
std::unique_ptr<TOutsideProgram> TreeFromOutside::program_;
HWND TreeFromOutside::main_ = nullptr;

TEST_F(TreeFromOutside, EveryItemTextReadsBackThroughTheTreeMessages) {
  const std::vector<HTREEITEM> items = TreeItemsInOrder(tree_);
  ASSERT_GE(items.size(), 20u);
  EXPECT_EQ(TreeItemText(tree_, items.front()), L"Welcome");
  for (HTREEITEM item : items) EXPECT_FALSE(TreeItemText(tree_, item).empty());
}

TEST_F(TreeFromOutside, AClickOnATopicSelectsIt) {
  const std::vector<HTREEITEM> items = TreeItemsInOrder(tree_);
  ASSERT_GE(items.size(), 3u);
  SendMessageW(tree_, WM_VSCROLL, SB_TOP, 0);
  ASSERT_TRUE(WaitUntil(
      [&] { return reinterpret_cast<HTREEITEM>(SendMessageW(tree_, TVM_GETNEXTITEM, TVGN_FIRSTVISIBLE, 0)) == items[0]; },
      3s));
  // The second topic of the top level, whose row is its place in the
  // expanded tree; its label begins a little right of the tree's edge.
  const auto next = reinterpret_cast<HTREEITEM>(SendMessageW(tree_, TVM_GETNEXTITEM, TVGN_NEXT,
                                                             reinterpret_cast<LPARAM>(items[0])));
  ASSERT_NE(next, nullptr);
  const int row = static_cast<int>(std::find(items.begin(), items.end(), next) - items.begin());
  const int height = static_cast<int>(SendMessageW(tree_, TVM_GETITEMHEIGHT, 0, 0));
  ASSERT_GT(height, 0);
  if (TreeSelectedIndex(tree_) == row) {
    const POINT first = ClientToScreenPoint(tree_, 40, height / 2);
    MouseMoveTo(first);
    MouseLeftDown();
    MouseLeftUp();
    ASSERT_TRUE(WaitUntil([&] { return TreeSelectedIndex(tree_) == 0; }, 3s));
  }
  const POINT at = ClientToScreenPoint(tree_, 40, row * height + height / 2);
  MouseMoveTo(at);
  MouseLeftDown();
  MouseLeftUp();
  EXPECT_TRUE(WaitUntil([&] { return TreeSelectedIndex(tree_) == row; }, 3s))
      << "selected " << TreeSelectedIndex(tree_) << ", clicked row " << row;
}

TEST_F(TreeFromOutside, AnOverflowingTreeShowsAThemedBarThatTheWheelTurns) {
  // Small enough that the sample help's topics no longer fit.
  SetWindowPos(main_, nullptr, 40, 40, 640, 300, SWP_NOZORDER | SWP_NOACTIVATE);
  HWND bar = nullptr;
  ASSERT_TRUE(WaitUntil([&] { return (bar = VerticalBar()) != nullptr; }, 5s)) << "no themed vertical bar";
  // It lies where the system bar would: right of the tree's client area,
  // as wide as a system bar and as high as the client area (the system's
  // own rectangle, which the in-process tests compare exactly, is not
  // readable from another process).
  const RECT barRect = WindowRectOf(bar);
  const RECT client = ClientRectOnScreen(tree_);
  EXPECT_EQ(barRect.left, client.right);
  EXPECT_EQ(barRect.right - barRect.left, GetSystemMetrics(SM_CXVSCROLL));
  EXPECT_EQ(barRect.top, client.top);
  EXPECT_NEAR(barRect.bottom, client.bottom, 1);

  const auto firstVisible = [&] { return SendMessageW(tree_, TVM_GETNEXTITEM, TVGN_FIRSTVISIBLE, 0); };
  const LRESULT before = firstVisible();
  const TScreenShot thumbBefore = CaptureScreen(barRect);
  const RECT tree = ClientRectOnScreen(tree_);
  MouseMoveTo({(tree.left + tree.right) / 2, (tree.top + tree.bottom) / 2});
  INPUT wheel{};
  wheel.type = INPUT_MOUSE;
  wheel.mi.dwFlags = MOUSEEVENTF_WHEEL;
  wheel.mi.mouseData = static_cast<DWORD>(-WHEEL_DELTA);
  SendInput(1, &wheel, sizeof(wheel));
  EXPECT_TRUE(WaitUntil([&] { return firstVisible() != before; }, 3s)) << "the wheel did not scroll the tree";
  EXPECT_TRUE(WaitUntil([&] { return CountDifferentPixels(CaptureScreen(barRect), thumbBefore) > 0; }, 3s))
      << "the thumb did not move";
}

}  // namespace
}  // namespace hv::test
