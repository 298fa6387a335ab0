// The splitter and the status bar on real windows, driven by real messages:
// dragging resizes the neighbour within its limits and draws the line over
// the parent, panels land where their layout puts them and paint their
// frames, the grip sizes the window through the themed frame, and both fall
// back to their plain look when their engine goes.

#include <gtest/gtest.h>
#include <windows.h>

#include <memory>

#include "framework/extctrls.h"
#include "framework/sysutils.h"
#include "tests/theme/controls/control_test_support.h"
#include "theme/controls/splitter.h"
#include "theme/controls/statusbar.h"
#include "theme/core/themeengine.h"
#include "theme/frame/themeform.h"
#include "theme/styles/luna.h"

namespace hv {
namespace {

using test::FromRGB;
using test::ReadClientPixels;
using test::TTestForm;

constexpr unsigned kFaceRGB = 0xC0C0C0;  // the neighbours' colour

unsigned SysRGB(int index) { return test::ToRGB(GetSysColor(index)); }

class BarsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    // Neighbour, splitter and the rest, laid out left to right.
    tree = Add<TPanel>(Bounds(0, 0, 150, 200));
    tree->SetAlign(TAlign::alLeft);
    tree->SetColor(FromRGB(kFaceRGB));
    tree->SetBevelOuter(TBevelCut::bvNone);
    splitter = TComponent::Create<TTeThemeSplitter>(&form());
    splitter->SetParent(&form());
    splitter->SetBounds(150, 0, 4, 200);
    splitter->SetColor(clBtnFace);
    rest = Add<TPanel>(Bounds(154, 0, 166, 200));
    rest->SetAlign(TAlign::alClient);
    rest->SetColor(FromRGB(kFaceRGB));
    rest->SetBevelOuter(TBevelCut::bvNone);
    test::PumpMessages();
  }
  TForm& form() { return *host.form; }
  template <class T>
  T* Add(TRect bounds) {
    T* control = TComponent::Create<T>(&form());
    control->SetParent(&form());
    control->SetBoundsRect(bounds);
    return control;
  }
  // A press on the splitter, moves with the button held, and a release,
  // all in the form's client coordinates.
  void Press(int x, int y) { SendMessageW(host.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y)); }
  void MoveHeld(int x, int y) { SendMessageW(host.Handle(), WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(x, y)); }
  void Release(int x, int y) { SendMessageW(host.Handle(), WM_LBUTTONUP, 0, MAKELPARAM(x, y)); }
  void Drag(int fromX, int toX) {
    Press(fromX, 100);
    MoveHeld(toX, 100);
    Release(toX, 100);
    test::PumpMessages();
  }

  TTestForm host;
  TPanel* tree = nullptr;
  TTeThemeSplitter* splitter = nullptr;
  TPanel* rest = nullptr;
};

TEST_F(BarsTest, DraggingTheSplitterResizesTheTreeAndStopsAtTheMinimum) {
  int moved = 0;
  splitter->OnMoved = [&](TObject*) { ++moved; };
  splitter->SetAutoSnap(false);
  Drag(151, 101);
  EXPECT_EQ(tree->Width(), 100);
  EXPECT_EQ(splitter->Left(), 100) << "the splitter follows the tree's edge";
  EXPECT_EQ(rest->Left(), 104);
  EXPECT_EQ(moved, 2) << "once when the size is applied, once when sizing stops";

  // Far to the left it stops at the minimum, far to the right where the
  // rest keeps its minimum: 320 - 30 - (100 + 4) + 100.
  Drag(101, -400);
  EXPECT_EQ(tree->Width(), 30);
  Drag(31, 1000);
  EXPECT_EQ(tree->Width(), 286);
  EXPECT_EQ(rest->Width(), 30);

  // With the snap on, the minimum collapses the tree; a collapsed tree is
  // still found and dragged open again.
  splitter->SetAutoSnap(true);
  Drag(287, 10);
  EXPECT_EQ(tree->Width(), 0);
  EXPECT_EQ(splitter->Left(), 0);
  Drag(1, 80);
  EXPECT_EQ(tree->Width(), 79);

  // OnCanResize may refuse a size: the tree keeps the last one accepted.
  splitter->OnCanResize = [](TObject*, int& size, bool& accept) { accept = size <= 120; };
  Drag(80, 200);
  EXPECT_EQ(tree->Width(), 79);
  EXPECT_EQ(splitter->SizedControl(), nullptr);
}

TEST_F(BarsTest, TheLineIsInvertedOverTheParentWhileDraggingAndGoneAfter) {
  splitter->SetResizeStyle(rsPattern);
  const TRect line = Bounds(100, 0, 4, 200);
  const test::TClientPixels before = ReadClientPixels(host.Handle(), line);
  Press(151, 100);
  MoveHeld(101, 100);
  EXPECT_TRUE(splitter->LineVisible());
  EXPECT_EQ(tree->Width(), 150) << "the pattern line does not resize before the release";
  const test::TClientPixels during = ReadClientPixels(host.Handle(), line);
  // A halftone: of every two neighbouring pixels one is inverted.
  for (int y = 10; y < 12; ++y)
    for (int x = 0; x < 4; ++x) {
      const bool inverted = during.At(x, y) == (before.At(x, y) ^ 0xFFFFFF);
      EXPECT_TRUE(inverted || during.At(x, y) == before.At(x, y)) << x << "," << y;
      EXPECT_NE(inverted, during.At(x ^ 1, y) == (before.At(x ^ 1, y) ^ 0xFFFFFF)) << x << "," << y;
    }
  Release(101, 100);
  test::PumpMessages();
  EXPECT_FALSE(splitter->LineVisible());
  EXPECT_EQ(tree->Width(), 100);
  // Where the line was now lies the splitter's own face.
  EXPECT_EQ(ReadClientPixels(host.Handle(), Bounds(100, 50, 1, 1)).At(0, 0), SysRGB(COLOR_BTNFACE));
  EXPECT_EQ(ReadClientPixels(host.Handle(), Bounds(99, 50, 1, 1)).At(0, 0), kFaceRGB);
}

TEST_F(BarsTest, WithUpdateTheTreeFollowsTheMouseAndEscapeLeavesItAlone) {
  splitter->SetResizeStyle(rsUpdate);
  Press(151, 100);
  MoveHeld(171, 100);
  EXPECT_EQ(tree->Width(), 170);
  MoveHeld(131, 100);
  EXPECT_EQ(tree->Width(), 130);
  Release(131, 100);
  EXPECT_EQ(splitter->SizedControl(), nullptr);

  // Escape in the focused control ends a pattern drag without a size.
  auto* edit = Add<TPanel>(Bounds(200, 10, 50, 20));
  edit->SetParent(rest);
  edit->SetTabStop(true);
  int keys = 0;
  edit->OnKeyDown = [&](TObject*, uint16_t&, TShiftState) { ++keys; };
  form().SetActiveControl(edit);
  splitter->SetResizeStyle(rsPattern);
  int moved = 0;
  splitter->OnMoved = [&](TObject*) { ++moved; };
  Press(131, 100);
  MoveHeld(61, 100);
  SendMessageW(edit->Handle(), WM_KEYDOWN, 'A', 0);
  EXPECT_EQ(keys, 1) << "other keys reach the control's own handler";
  SendMessageW(edit->Handle(), WM_KEYDOWN, VK_ESCAPE, 0);
  EXPECT_EQ(moved, 1);
  EXPECT_EQ(splitter->SizedControl(), nullptr);
  EXPECT_FALSE(splitter->LineVisible());
  Release(61, 100);
  EXPECT_EQ(tree->Width(), 130);
  SendMessageW(edit->Handle(), WM_KEYDOWN, 'B', 0);
  EXPECT_EQ(keys, 2) << "the handler is given back";
}

TEST_F(BarsTest, ASplitterWithoutANeighbourIgnoresTheMouse) {
  tree->SetVisible(false);
  splitter->SetAlign(TAlign::alNone);
  splitter->SetBounds(150, 0, 4, 200);
  splitter->SetAlign(TAlign::alLeft);
  test::PumpMessages();
  const int left = splitter->Left();
  Press(left + 1, 100);
  EXPECT_EQ(splitter->SizedControl(), nullptr);
  Release(left + 1, 100);
}

TEST_F(BarsTest, TheSplitterPaintsItsColourBevelAndThroughTheStyle) {
  const HWND wnd = host.Handle();
  auto at = [&](int x, int y) { return ReadClientPixels(wnd, Bounds(x, y, 1, 1)).At(0, 0); };
  test::RepaintAll(wnd);
  EXPECT_EQ(at(151, 50), SysRGB(COLOR_BTNFACE));
  splitter->SetWidth(6);
  splitter->SetBeveled(true);
  test::RepaintAll(wnd);
  // The bevel: a highlight outline moved one pixel down and right, a shadow
  // outline one pixel up and left over it.
  EXPECT_EQ(at(150, 50), SysRGB(COLOR_BTNSHADOW));
  EXPECT_EQ(at(151, 50), SysRGB(COLOR_BTNFACE));
  EXPECT_EQ(at(152, 50), SysRGB(COLOR_BTNHIGHLIGHT));
  EXPECT_EQ(at(153, 50), SysRGB(COLOR_BTNSHADOW));
  EXPECT_EQ(at(154, 50), SysRGB(COLOR_BTNFACE));
  EXPECT_EQ(at(155, 50), SysRGB(COLOR_BTNHIGHLIGHT));

  auto* engine = TComponent::Create<TTeThemeEngine>(&form());
  engine->SetColorAutoChanging(false);
  engine->SetTheme(std::make_unique<TTeThemeLuna>());
  splitter->SetThemeEngine(engine);
  const unsigned face = test::ToRGB(ColorToRGB(engine->Theme()->GetColor(ktcFace)));
  const unsigned hot = test::ToRGB(ColorToRGB(engine->Theme()->GetColor(ktcHotFace)));
  ASSERT_NE(face, hot);
  test::RepaintAll(wnd);
  EXPECT_EQ(at(150, 50), face);
  EXPECT_EQ(at(154, 50), face);
  SendMessageW(wnd, WM_MOUSEMOVE, 0, MAKELPARAM(152, 50));
  EXPECT_TRUE(splitter->MouseInControl());
  EXPECT_EQ(at(152, 50), hot);
  SendMessageW(wnd, WM_MOUSEMOVE, 0, MAKELPARAM(250, 50));
  EXPECT_EQ(at(152, 50), face);

  // The engine goes: the plain look again.
  delete engine;
  EXPECT_EQ(splitter->ThemeEngine(), nullptr);
  test::RepaintAll(wnd);
  EXPECT_EQ(at(150, 50), SysRGB(COLOR_BTNSHADOW));
  EXPECT_EQ(splitter->Version(), "3.1.5");
}

// --- the status bar ------------------------------------------------------------------

class StatusBarTest : public ::testing::Test {
 protected:
  void SetUp() override {
    bar = TComponent::Create<TTeThemeStatusBar>(&form());
    bar->SetParent(&form());
    bar->SetColor(clBtnFace);
    bar->Panels()->Add();
    bar->Panels()->Add();
    test::PumpMessages();
  }
  TForm& form() { return *host.form; }
  unsigned BarPixel(int x, int y) {
    test::RepaintAll(host.Handle());
    return ReadClientPixels(bar->Handle(), Bounds(x, y, 1, 1)).At(0, 0);
  }

  TTestForm host;
  TTeThemeStatusBar* bar = nullptr;
};

TEST_F(StatusBarTest, PanelsLieSideBySideInsideTheBorderWithTheirFrames) {
  ASSERT_EQ(bar->Align(), TAlign::alBottom);
  EXPECT_EQ(bar->BoundsRect(), Bounds(0, 178, 320, 22));
  EXPECT_EQ(bar->ClientRect(), Rect(2, 2, 318, 20));
  TTeStatusPanel* first = bar->Panels()->Items(0);
  TTeStatusPanel* second = bar->Panels()->Items(1);
  EXPECT_EQ(first->PanelLeft(), 2);
  EXPECT_EQ(first->PanelRight(), 52);
  EXPECT_EQ(second->PanelLeft(), 52);
  EXPECT_EQ(second->PanelRight(), 102);

  // Sunken frames: shadow top and left, highlight bottom and right.
  const unsigned shadow = SysRGB(COLOR_BTNSHADOW), light = SysRGB(COLOR_BTNHIGHLIGHT), face = SysRGB(COLOR_BTNFACE);
  EXPECT_EQ(BarPixel(2, 10), shadow);
  EXPECT_EQ(BarPixel(20, 2), shadow);
  EXPECT_EQ(BarPixel(51, 10), light);
  EXPECT_EQ(BarPixel(20, 19), light);
  EXPECT_EQ(BarPixel(52, 10), shadow);
  EXPECT_EQ(BarPixel(101, 10), light);
  EXPECT_EQ(BarPixel(20, 10), face);
  // Beyond the panels the background, and the border around it all.
  EXPECT_EQ(BarPixel(150, 2), face);
  EXPECT_EQ(BarPixel(0, 0), face);
  EXPECT_EQ(BarPixel(1, 10), face);

  second->SetFramed(false);
  EXPECT_EQ(BarPixel(52, 10), face);
  EXPECT_EQ(BarPixel(101, 10), face);
  second->SetStretchPriority(1);
  EXPECT_EQ(second->PanelRight(), 318) << "a stretching last panel reaches the right edge";
}

TEST_F(StatusBarTest, PanelWidthsAreClampedAndTheirControlsChecked) {
  TTeStatusPanel* panel = bar->Panels()->Items(0);
  panel->SetWidth(-5);
  EXPECT_EQ(panel->Width(), 0);
  panel->SetWidth(20000);
  EXPECT_EQ(panel->Width(), 10000);
  panel->SetMaxWidth(300);
  EXPECT_EQ(panel->Width(), 300);
  EXPECT_EQ(bar->Panels()->Items(1)->PanelLeft(), 302);
  panel->SetWidth(100);

  try {
    panel->SetControl(&form());
    FAIL() << "the bar's own parent went into a panel";
  } catch (const EInvalidOperation& e) {
    EXPECT_STREQ(e.what(), "Can't insert own parent");
  }
  EXPECT_EQ(panel->Control(), nullptr);

  // A control put on the bar gets a panel of its own, and the panel's place.
  auto* child = TComponent::Create<TPanel>(&form());
  child->SetParent(bar);
  ASSERT_EQ(bar->Panels()->Count(), 3);
  TTeStatusPanel* holder = bar->Panels()->Items(2);
  EXPECT_EQ(holder->Control(), child);
  EXPECT_EQ(child->BoundsRect(), Rect(153, 3, 199, 19));
  EXPECT_TRUE(child->Visible());
  EXPECT_EQ(holder->DisplayName(), "[  ]");
  // Taken by another panel, it leaves the first.
  bar->Panels()->Items(1)->SetControl(child);
  EXPECT_EQ(holder->Control(), nullptr);
  // Gone from the bar, its panel goes.
  delete child;
  ASSERT_EQ(bar->Panels()->Count(), 2);
  EXPECT_EQ(bar->Panels()->Items(0)->Control(), nullptr);
  EXPECT_EQ(bar->Panels()->Items(1)->Control(), nullptr);
}

TEST_F(StatusBarTest, ClicksNameThePanelUnderTheMouse) {
  std::vector<TTeStatusPanel*> clicks;
  bar->OnPanelClick = [&](TObject* sender, TTeStatusPanel* panel) {
    EXPECT_EQ(sender, bar);
    clicks.push_back(panel);
  };
  HWND wnd = bar->Handle();
  SendMessageW(wnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(60, 10));
  SendMessageW(wnd, WM_LBUTTONUP, 0, MAKELPARAM(70, 10));
  // Pressed on one panel and released on another: no click.
  SendMessageW(wnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10));
  SendMessageW(wnd, WM_LBUTTONUP, 0, MAKELPARAM(60, 10));
  // Beyond the last panel there is none.
  SendMessageW(wnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(200, 10));
  SendMessageW(wnd, WM_LBUTTONUP, 0, MAKELPARAM(200, 10));
  EXPECT_EQ(clicks, std::vector<TTeStatusPanel*>{bar->Panels()->Items(1)});
  EXPECT_EQ(bar->PanelAt({1, 10}), nullptr);
  EXPECT_EQ(bar->PanelAt({2, 10}), bar->Panels()->Items(0));
}

TEST_F(StatusBarTest, ThroughTheStyleAndPlainAgainWhenTheEngineGoes) {
  auto* engine = TComponent::Create<TTeThemeEngine>(&form());
  engine->SetColorAutoChanging(false);
  engine->SetTheme(std::make_unique<TTeThemeLuna>());
  const unsigned plainAt = BarPixel(150, 10);
  bar->SetThemeEngine(engine);
  const unsigned themedAt = BarPixel(150, 10);
  EXPECT_NE(themedAt, plainAt) << "the style's bar, not the plain face";
  // The style's panel separator at the panel's right end.
  const unsigned separator = BarPixel(50, 10);
  EXPECT_NE(separator, BarPixel(40, 10));
  delete engine;
  EXPECT_EQ(bar->ThemeEngine(), nullptr);
  EXPECT_EQ(BarPixel(150, 10), plainAt);
  EXPECT_EQ(BarPixel(2, 10), SysRGB(COLOR_BTNSHADOW));
}

TEST_F(StatusBarTest, TheGripShowsOnlyInTheFormsCornerAndSizesTheWindowThroughTheFrame) {
  EXPECT_TRUE(bar->SizeGripShown());
  const int cx = GetSystemMetrics(SM_CXVSCROLL), cy = GetSystemMetrics(SM_CYVSCROLL);
  EXPECT_EQ(bar->SizeGripRect(), Rect(317 - cx, 19 - cy, 317, 19));
  bar->SetAlign(TAlign::alNone);
  bar->SetBounds(0, 170, 320, 22);
  EXPECT_FALSE(bar->SizeGripShown()) << "not at the bottom-right corner";
  bar->SetAlign(TAlign::alBottom);
  EXPECT_TRUE(bar->SizeGripShown());
  bar->SetSizeGrip(false);
  EXPECT_FALSE(bar->SizeGripShown());
  bar->SetSizeGrip(true);

  auto* engine = TComponent::Create<TTeThemeEngine>(&form());
  engine->SetColorAutoChanging(false);
  engine->SetTheme(std::make_unique<TTeThemeMetalLuna>());
  auto* frame = TComponent::Create<TTeThemeForm>(&form());
  frame->SetMinimizeApplication(false);
  frame->SetThemeEngine(engine);
  frame->Loaded();
  test::PumpMessages();
  ASSERT_TRUE(bar->SizeGripShown());
  const TRect before = form().BoundsRect();

  // Pressed on the grip, the frame takes over the sizing.
  const TRect grip = bar->SizeGripRect();
  const POINT press{grip.left + 4, grip.top + 4};
  POINT screen = press;
  ClientToScreen(bar->Handle(), &screen);
  SendMessageW(bar->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(press.x, press.y));
  SendMessageW(form().Handle(), WM_NCMOUSEMOVE, HTBOTTOMRIGHT, MAKELPARAM(screen.x + 40, screen.y + 30));
  SendMessageW(form().Handle(), WM_NCLBUTTONUP, HTBOTTOMRIGHT, MAKELPARAM(screen.x + 40, screen.y + 30));
  test::PumpMessages();
  EXPECT_EQ(form().BoundsRect(), Rect(before.left, before.top, before.right + 40, before.bottom + 30));
  EXPECT_TRUE(bar->SizeGripShown()) << "the bar follows the corner";

  // Maximized, or with a frame that may not size, there is no grip.
  frame->Dragging()->SetSizeable(false);
  EXPECT_FALSE(bar->SizeGripShown());
  frame->Dragging()->SetSizeable(true);
  frame->Maximize();
  test::PumpMessages();
  EXPECT_FALSE(bar->SizeGripShown());
  frame->Restore();
  test::PumpMessages();
}

}  // namespace
}  // namespace hv
