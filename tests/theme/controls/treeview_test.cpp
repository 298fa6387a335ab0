// The themed tree view on real windows: its in-place bars over the system
// bars, following the tree's own scrolling and scrolling it in turn, hiding
// with them; the border and background through the style, and what happens
// when the engine or the platform's scroll-bar information goes away.

#include "theme/controls/themetreeview.h"

#include <gtest/gtest.h>
#include <windows.h>
// After <windows.h>, which it needs.
#include <commctrl.h>

#include <string>

#include "tests/theme/controls/control_test_support.h"
#include "tests/theme/controls/solid_style.h"
#include "theme/controls/inplacescrollbar.h"
#include "theme/controls/scrollbar.h"
#include "theme/core/themeengine.h"
#include "theme/core/themelibrary.h"

namespace hv {
namespace {

using test::TSolidStyle;
using test::TTestForm;

struct TreeViewTest : ::testing::Test {
  static void SetUpTestSuite() { StartThemeLibrary(); }
  static void TearDownTestSuite() { FinishThemeLibrary(); }

  TTestForm host;
  TTeThemeEngine* engine = nullptr;
  TTeThemeSTreeView* tree = nullptr;
  TTreeNode* root = nullptr;

  // A tree of 150 x 160 at (20, 20) with one root holding 60 children:
  // more than fit.
  void SetUp() override {
    engine = TComponent::Create<TTeThemeEngine>(host.form.get());
    engine->SetTheme(std::make_unique<TSolidStyle>());
    tree = TComponent::Create<TTeThemeSTreeView>(host.form.get());
    tree->SetParent(host.form.get());
    tree->SetBounds(20, 20, 150, 160);
    tree->SetThemeEngine(engine);
    root = tree->Items()->Add("root");
    for (int i = 0; i < 60; ++i) tree->Items()->AddChild(root, "topic " + std::to_string(i));
    root->Expand(false);
    Settle();
  }
  HWND Tree() { return tree->Handle(); }
  TTeInplaceScrollBar* Vertical() { return tree->SubScrollBars()->VerticalBar(); }
  void Settle() {
    test::RepaintAll(host.Handle());
    test::PumpMessages();
  }
  int SystemPosition() {
    SCROLLINFO info{};
    info.cbSize = sizeof(info);
    info.fMask = SIF_POS;
    GetScrollInfo(Tree(), SB_VERT, &info);
    return info.nPos;
  }
  HTREEITEM FirstVisible() { return TreeView_GetFirstVisible(Tree()); }
  RECT SystemBarRect() {
    SCROLLBARINFO info{};
    info.cbSize = sizeof(info);
    EXPECT_TRUE(GetScrollBarInfo(Tree(), OBJID_VSCROLL, &info));
    MapWindowPoints(nullptr, host.Handle(), reinterpret_cast<POINT*>(&info.rcScrollBar), 2);
    return info.rcScrollBar;
  }
};

TEST_F(TreeViewTest, TheThemedBarCoversTheSystemBarExactly) {
  ASSERT_TRUE(Vertical()->Visible());
  ASSERT_TRUE(IsWindowVisible(Vertical()->Handle()));
  const RECT system = SystemBarRect();
  EXPECT_EQ(Vertical()->BoundsRect(), Rect(system.left, system.top, system.right, system.bottom));
  EXPECT_FALSE(tree->SubScrollBars()->HorizontalBar()->Visible());
  // What shows there is the style's bar: a button at the top, the thumb below it.
  const int x = (system.left + system.right) / 2;
  EXPECT_EQ(host.Pixel(x, system.top + 3), TSolidStyle::kFirstButtonRGB);
  EXPECT_EQ(host.Pixel(x, system.top + TSolidStyle::kBarSize + 2), TSolidStyle::kThumbRGB);
}

TEST_F(TreeViewTest, WheelAndKeyboardMoveTheThemedThumbAtTheNextPaint) {
  TTeCustomScrollBar* bar = Vertical()->Bar();
  const TRect before = bar->GetThumbRect();
  const HTREEITEM first = FirstVisible();
  RECT screen{};
  GetWindowRect(Tree(), &screen);
  SendMessageW(Tree(), WM_MOUSEWHEEL, MAKEWPARAM(0, -WHEEL_DELTA), MAKELPARAM(screen.left + 20, screen.top + 20));
  Settle();
  EXPECT_NE(FirstVisible(), first);
  EXPECT_GT(SystemPosition(), 0);
  EXPECT_EQ(bar->Position(), SystemPosition());
  EXPECT_GT(bar->GetThumbRect().top, before.top);

  tree->SetSelected(root);
  SendMessageW(Tree(), WM_KEYDOWN, VK_END, 0);
  Settle();
  EXPECT_GT(SystemPosition(), 3);
  EXPECT_EQ(bar->Position(), SystemPosition());
  EXPECT_EQ(bar->GetThumbRect().bottom, bar->GetTrackRect().bottom);
}

TEST_F(TreeViewTest, DraggingTheThemedThumbScrollsTheTreeThroughItsOwnMessages) {
  HWND barWnd = Vertical()->Handle();
  TTeCustomScrollBar* bar = Vertical()->Bar();
  const TRect thumb = bar->GetThumbRect();
  const int x = thumb.left + 4, y = thumb.top + 2;
  const HTREEITEM first = FirstVisible();
  SendMessageW(barWnd, WM_MOUSEMOVE, 0, MAKELPARAM(x, y));
  SendMessageW(barWnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
  SendMessageW(barWnd, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(x, y + 50));
  EXPECT_NE(FirstVisible(), first);  // the tree follows while the thumb is tracked
  SendMessageW(barWnd, WM_LBUTTONUP, 0, MAKELPARAM(x, y + 50));
  Settle();
  EXPECT_GT(SystemPosition(), 0);
  EXPECT_EQ(bar->Position(), SystemPosition());
}

TEST_F(TreeViewTest, TheBarsHideWithTheSystemBarAndWithTheTree) {
  root->Collapse(false);
  Settle();
  EXPECT_FALSE(IsWindowVisible(Vertical()->Handle()));
  root->Expand(false);
  Settle();
  EXPECT_TRUE(IsWindowVisible(Vertical()->Handle()));
  tree->Hide();
  test::PumpMessages();
  EXPECT_FALSE(IsWindowVisible(Vertical()->Handle()));
}

TEST_F(TreeViewTest, TheBarsStayAboveTheTreeWhateverTheSiblingOrder) {
  SetWindowPos(Tree(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  Settle();
  bool barAbove = false;
  for (HWND wnd = GetWindow(Vertical()->Handle(), GW_HWNDNEXT); wnd; wnd = GetWindow(wnd, GW_HWNDNEXT))
    barAbove = barAbove || wnd == Tree();
  EXPECT_TRUE(barAbove);
}

TEST_F(TreeViewTest, BorderAndBackgroundFollowTheStyle) {
  RECT window{};
  GetWindowRect(Tree(), &window);
  MapWindowPoints(nullptr, host.Handle(), reinterpret_cast<POINT*>(&window), 2);
  EXPECT_EQ(host.Pixel(window.left, window.top + 30), TSolidStyle::kListBorderRGB);
  EXPECT_EQ(tree->Color(), test::FromRGB(TSolidStyle::kWindowRGB));
  // A new colour from the style reaches the tree at its next non-client paint.
  static_cast<TSolidStyle*>(engine->Theme())->windowRGB = 0x102030;
  RedrawWindow(Tree(), nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
  EXPECT_EQ(tree->Color(), test::FromRGB(0x102030));

  tree->SetBorderStyle(TBorderStyle::bsNone);
  Settle();
  GetWindowRect(Tree(), &window);
  MapWindowPoints(nullptr, host.Handle(), reinterpret_cast<POINT*>(&window), 2);
  EXPECT_NE(host.Pixel(window.left, window.top + 30), TSolidStyle::kListBorderRGB);
}

TEST_F(TreeViewTest, AnEngineDestroyedUnderTheTreeIsForgottenByTreeAndBars) {
  engine->Free();
  EXPECT_EQ(tree->ThemeEngine(), nullptr);
  EXPECT_EQ(static_cast<TTeThemeScrollBar*>(Vertical()->Bar())->ThemeEngine(), nullptr);
  Settle();
  EXPECT_EQ(tree->Color(), clWindow);
  EXPECT_TRUE(test::TakeReportedExceptions().empty());
}

TEST_F(TreeViewTest, WithoutScrollBarInformationTheBarsStayHiddenAndTheTreeWorks) {
  void* entry = GetScrollBarInfoEntry();
  SetScrollBarInfoEntry(nullptr);
  tree->Hide();
  tree->Show();
  Settle();
  EXPECT_FALSE(IsWindowVisible(Vertical()->Handle()));
  tree->SetSelected(root);
  SendMessageW(Tree(), WM_KEYDOWN, VK_END, 0);
  Settle();
  EXPECT_GT(SystemPosition(), 0);
  SetScrollBarInfoEntry(entry);
}

}  // namespace
}  // namespace hv
