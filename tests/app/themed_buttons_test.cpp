// The viewer's four navigation buttons as its stored layout makes them:
// themed speed buttons linked to the window's engine, hot under the mouse
// and plain without a style; and the window's painting, hovering and sizing
// leave no GDI or USER object behind.

#include <gtest/gtest.h>
#include <windows.h>

#include <memory>

#include "app/frmmain.h"
#include "app/startup.h"
#include "framework/graphics.h"
#include "tests/support/gui_objects.h"
#include "tests/support/win_test.h"
#include "theme/controls/speedbutton.h"
#include "theme/controls/themetreeview.h"
#include "theme/core/themeengine.h"
#include "theme/core/visualstyles.h"
#include "theme/frame/popupwindow.h"

namespace hv {
namespace {

unsigned ToRGB(COLORREF c) { return ((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF); }

struct ThemedButtons : ::testing::Test {
  static void SetUpTestSuite() { StartViewer(); }
  void SetUp() override {
    form = std::make_unique<TFrmMain>(nullptr);
    form->LoadFromLayout();
    form->Show();
    test::PumpMessages();
    for (int i = 0; i < 4; ++i) {
      buttons[i] = dynamic_cast<TTeThemeSpeedButton*>(form->FindComponent("TeThemeSpeedButton" + std::to_string(i + 1)));
      ASSERT_NE(buttons[i], nullptr);
    }
    bar = buttons[0]->Parent();
  }
  void TearDown() override {
    if (form) ShowWindow(form->Handle(), SW_HIDE);
    form.reset();
  }
  // The pixels of a button as its parent shows them, left to right, top to
  // bottom.
  std::vector<unsigned> ButtonPixels(int index) {
    TTeThemeSpeedButton* b = buttons[index];
    RedrawWindow(form->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    std::vector<unsigned> pixels;
    HDC dc = GetDC(bar->Handle());
    for (int y = b->Top(); y < b->Top() + b->Height(); ++y)
      for (int x = b->Left(); x < b->Left() + b->Width(); ++x) pixels.push_back(ToRGB(GetPixel(dc, x, y)));
    ReleaseDC(bar->Handle(), dc);
    return pixels;
  }
  void MoveOnBar(int x, int y) { SendMessageW(bar->Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(x, y)); }
  void Hover(int index) { MoveOnBar(buttons[index]->Left() + 20, buttons[index]->Top() + 12); }
  void Leave() { MoveOnBar(2, 2); }

  std::unique_ptr<TFrmMain> form;
  TTeThemeSpeedButton* buttons[4] = {};
  TWinControl* bar = nullptr;
};

TEST_F(ThemedButtons, TheStoredButtonsAreFlatSeeThroughAndLinkedToTheEngine) {
  auto* engine = form->FindComponent("TeThemeEngine1");
  const char* const captions[] = {"首页", "上页", "下页", "尾页"};
  for (int i = 0; i < 4; ++i) {
    SCOPED_TRACE(i);
    TTeThemeSpeedButton* b = buttons[i];
    EXPECT_EQ(b->BoundsRect(), Bounds(56 + 56 * i, 3, 49, 25));
    EXPECT_EQ(b->Caption(), captions[i]);
    EXPECT_TRUE(b->Flat());
    EXPECT_TRUE(b->Transparent());
    EXPECT_FALSE(b->BlackAndWhiteGlyph());
    EXPECT_EQ(b->Performance(), kspNoBuffer);
    EXPECT_FALSE(b->ParentFont());
    EXPECT_EQ(b->Font()->Name(), "宋体");
    EXPECT_EQ(b->Font()->Height(), -13);
    EXPECT_TRUE(b->Font()->Style().Contains(fsBold));
    EXPECT_EQ(b->Font()->Color(), clNavy);
    EXPECT_EQ(b->ThemeEngine(), engine);
    EXPECT_EQ(b->Version(), "3.1.5");
    EXPECT_TRUE(b->OnClick);
  }
}

TEST_F(ThemedButtons, AHoverLightsOnlyThatButtonAndLeavingPutsItBack) {
  const auto rest = ButtonPixels(2);
  const auto neighbour = ButtonPixels(1);
  Hover(2);
  EXPECT_TRUE(buttons[2]->MouseInControl());
  EXPECT_NE(ButtonPixels(2), rest);
  EXPECT_EQ(ButtonPixels(1), neighbour);
  Leave();
  EXPECT_FALSE(buttons[2]->MouseInControl());
  EXPECT_EQ(ButtonPixels(2), rest);
}

TEST_F(ThemedButtons, WithoutTheEngineTheButtonsPaintTheirPlainLook) {
  Hover(0);
  const auto themedHot = ButtonPixels(0);
  form->FindComponent("TeThemeEngine1")->Free();
  for (auto* b : buttons) EXPECT_EQ(b->ThemeEngine(), nullptr);
  Leave();
  Hover(0);
  const auto plainHot = ButtonPixels(0);
  EXPECT_NE(plainHot, themedHot);
  Leave();
  EXPECT_NE(ButtonPixels(0), plainHot) << "the plain look has a hot face too";
  if (!VisualStylesActive()) {
    // The classic raised frame of a hot flat button: light top-left,
    // shadow bottom-right.
    EXPECT_EQ(plainHot.front(), ToRGB(GetSysColor(COLOR_BTNHIGHLIGHT)));
    EXPECT_EQ(plainHot.back(), ToRGB(GetSysColor(COLOR_BTNSHADOW)));
  }
}

TEST_F(ThemedButtons, PaintingHoveringAndSizingTheWindowLeaveNoObjectBehind) {
  ASSERT_TRUE(test::InstallGuiObjectCounter());
  // The counter sees objects at all: one brush made is one more alive.
  const test::TGuiObjectCounts empty = test::LiveGuiObjects();
  {
    TBrushHandle brush(CreateSolidBrush(RGB(1, 2, 3)));
    EXPECT_EQ(test::LiveGuiObjects().Of(test::kgoBrush), empty.Of(test::kgoBrush) + 1);
  }
  HWND wnd = form->Handle();
  // A small window keeps the two thousand rounds quick; every control of
  // the top bar still shows.
  const int width = 420, height = 260;
  SetWindowPos(wnd, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  // Each round repaints the window's controls, moves the mouse over one
  // button and away, and opens and closes the window menu; every twentieth
  // also sizes the whole window and repaints all of it (sizing costs a Wine
  // window a hundred times more).
  auto* status = dynamic_cast<TWinControl*>(form->FindComponent("TeThemeStatusBar1"));
  ASSERT_NE(status, nullptr);
  // Each round also turns the tree a step down or up, so that its in-place
  // bars synchronise as they do when it scrolls.
  HWND tree = form->TrvMenu->Handle();
  auto round = [&](int i) {
    SendMessageW(tree, WM_VSCROLL, (i / 8) % 2 ? SB_LINEUP : SB_LINEDOWN, 0);
    RedrawWindow(tree, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_UPDATENOW);
    RedrawWindow(bar->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    RedrawWindow(status->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    Hover(i % 4);
    UpdateWindow(bar->Handle());
    Leave();
    UpdateWindow(bar->Handle());
    // The window menu opens and closes again, as Alt+Space and Escape do it.
    PostMessageW(wnd, WM_KEYDOWN, VK_ESCAPE, 0);
    SendMessageW(wnd, WM_SYSCOMMAND, SC_KEYMENU, ' ');
    if (i % 20 == 0) {
      const int delta = i % 40 ? 0 : 40;
      SetWindowPos(wnd, nullptr, 0, 0, width - delta, height - delta, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
      RedrawWindow(wnd, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    }
    test::PumpMessages();
  };
  // The first rounds make what lives as long as the program (caches).
  round(0);
  round(1);
  round(20);
  EXPECT_GE(IdlePopupWindows(), 1) << "the window menu opened: its window waits for the next time";
  const long madeBefore = test::GuiObjectsMade();
  const long failedBefore = test::FailedSelections();
  const test::TGuiObjectCounts before = test::LiveGuiObjects();
  for (int i = 0; i < 2000; ++i) round(i);
  const test::TGuiObjectCounts after = test::LiveGuiObjects();
  EXPECT_EQ(after, before) << "after: " << after.Describe() << "\nbefore: " << before.Describe();
  // The rounds did make and free objects, so equal counts mean something.
  EXPECT_GT(test::GuiObjectsMade(), madeBefore + 2000);
  EXPECT_EQ(test::FailedSelections(), failedBefore);
}

}  // namespace
}  // namespace hv
