// The speed button family on real windows: geometry of glyph and caption,
// the style's and the plain look in every state, groups, auto-repeat, the
// chevron and its menu, glyph strips, the engine link and its removal.

#include "theme/controls/speedbutton.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <chrono>
#include <memory>

#include "framework/graphics.h"
#include "framework/timer.h"
#include "tests/theme/controls/control_test_support.h"
#include "theme/core/colors.h"
#include "theme/core/popupmenu.h"
#include "theme/core/themeengine.h"
#include "theme/core/visualstyles.h"

namespace hv {
namespace {

using test::FromRGB;
using test::PumpFor;
using test::TTestForm;

// The test style paints a speed button in one colour per state and kind,
// and its chevron part in another.
constexpr unsigned ButtonRGB(TTeElementState state, bool flat, bool down) {
  return 0x200000u * (static_cast<unsigned>(state) + 1) + (flat ? 0x4000u : 0) + (down ? 0x80u : 0) + 0x10u;
}
constexpr unsigned kChevronRGB = 0x30A0F0;

class TButtonTestStyle : public TTeTheme {
  HV_THEME_CLASS(TButtonTestStyle, TTeTheme)

 public:
  static bool IsThemeAvailable() { return true; }
  static std::string GetName() { return "ButtonTest"; }
  void DrawSpeedButton(TCanvas& canvas, const TRect& rect, TTeElementState state, bool flat, bool down) override {
    canvas.Brush()->SetColor(FromRGB(ButtonRGB(state, flat, down)));
    canvas.FillRect(rect);
  }
  void DrawSpeedButtonChevron(TCanvas& canvas, const TRect& rect, TTeElementState, bool, bool) override {
    canvas.Brush()->SetColor(FromRGB(kChevronRGB));
    canvas.FillRect(rect);
  }
};

// A style that paints but has no speed button.
class TNoButtonStyle : public TTeTheme {
  HV_THEME_CLASS(TNoButtonStyle, TTeTheme)

 public:
  static bool IsThemeAvailable() { return true; }
  static std::string GetName() { return "NoButtonTest"; }
};

// Opens nothing: remembers where and for whom it was asked to open.
class TRecordingMenu : public TTePopupMenuBase {
 public:
  using TTePopupMenuBase::TTePopupMenuBase;
  void Popup(int x, int y) override {
    ++opened;
    at = {x, y};
    openedFor = PopupComponent();
  }
  int opened = 0;
  TPoint at{};
  TComponent* openedFor = nullptr;
};

unsigned Sys(int index) { return test::ToRGB(GetSysColor(index)); }

class SpeedButtonTest : public ::testing::Test {
 protected:
  void SetUp() override {
    engine = TComponent::Create<TTeThemeEngine>(&form());
    engine->SetColorAutoChanging(false);
    engine->SetTheme(std::make_unique<TButtonTestStyle>());
  }
  TForm& form() { return *host.form; }
  HWND Wnd() { return host.Handle(); }
  template <class T = TTeThemeSpeedButton>
  T* AddButton(TRect bounds) {
    T* b = TComponent::Create<T>(&form());
    b->SetParent(&form());
    b->SetBoundsRect(bounds);
    return b;
  }
  void Move(int x, int y) { SendMessageW(Wnd(), WM_MOUSEMOVE, 0, MAKELPARAM(x, y)); }
  void Press(int x, int y) { SendMessageW(Wnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y)); }
  void Release(int x, int y) { SendMessageW(Wnd(), WM_LBUTTONUP, 0, MAKELPARAM(x, y)); }
  void ClickAt(int x, int y) {
    Move(x, y);
    Press(x, y);
    Release(x, y);
  }

  TTestForm host;
  TTeThemeEngine* engine = nullptr;
};

// --- geometry ------------------------------------------------------------------------------

TEST(SpeedButtonGeometry, GlyphAndCaptionPlacesByLayoutMarginAndSpacing) {
  const TRect b = Rect(0, 0, 60, 30);
  const TSize g{16, 16}, t{20, 10};
  // Centred glyph with a caption: (60 - 16 - 4 - 20) div 2 = 10.
  TRect gr = SpeedGlyphRect(b, g, t, blGlyphLeft, -1, 4);
  EXPECT_EQ(gr, Rect(10, 7, 26, 23));
  EXPECT_EQ(SpeedCaptionRect(b, b, gr, true, t, blGlyphLeft, 4), Rect(30, 10, 50, 20));
  // Spread evenly: (60 - 16 - 20) div 3 = 8, caption in the middle of the rest.
  gr = SpeedGlyphRect(b, g, t, blGlyphLeft, -1, -1);
  EXPECT_EQ(gr.left, 8);
  EXPECT_EQ(SpeedCaptionRect(b, b, gr, true, t, blGlyphLeft, -1).left, 24 + (60 - 24 - 20) / 2);
  // A margin, and the mirrored layout.
  EXPECT_EQ(SpeedGlyphRect(b, g, t, blGlyphLeft, 3, 4).left, 3);
  gr = SpeedGlyphRect(b, g, t, blGlyphRight, 3, 4);
  EXPECT_EQ(gr.left, 60 - 3 - 16 - 1);
  EXPECT_EQ(SpeedCaptionRect(b, b, gr, true, t, blGlyphRight, 4).left, gr.left - 4 - 20);
  // Vertical layouts go by heights: (30 - 16 - 4 - 10) div 2 = 0.
  gr = SpeedGlyphRect(b, g, t, blGlyphTop, -1, 4);
  EXPECT_EQ(gr, Rect(22, 0, 38, 16));
  EXPECT_EQ(SpeedCaptionRect(b, b, gr, true, t, blGlyphTop, 4), Rect(20, 20, 40, 30));
  gr = SpeedGlyphRect(b, g, t, blGlyphBottom, -1, 4);
  EXPECT_EQ(gr.top, 30 - 0 - 16 - 1);
  EXPECT_EQ(SpeedCaptionRect(b, b, gr, true, t, blGlyphBottom, 4).top, gr.top - 4 - 10);
  // Without a caption the glyph is centred; without a glyph the caption is
  // centred in the whole control, a chevron part included.
  EXPECT_EQ(SpeedGlyphRect(b, g, {0, 0}, blGlyphLeft, -1, 4).left, 22);
  EXPECT_EQ(SpeedCaptionRect(Rect(0, 0, 46, 30), b, Rect(0, 0, 0, 0), false, t, blGlyphLeft, 4), Rect(20, 10, 40, 20));
}

TEST(SpeedButtonGeometry, AStripHoldsAsManySquareImagesAsFitUpToFour) {
  EXPECT_EQ(GlyphCountOf(64, 16), 4);
  EXPECT_EQ(GlyphCountOf(48, 16), 3);
  EXPECT_EQ(GlyphCountOf(80, 16), 1);
  EXPECT_EQ(GlyphCountOf(50, 16), 1);
  EXPECT_EQ(GlyphCountOf(16, 0), 1);
}

TEST_F(SpeedButtonTest, ChevronPartGeometry) {
  auto* b = AddButton(Bounds(10, 10, 40, 24));
  b->SetShowChevron(true);
  EXPECT_EQ(b->Width(), 54);
  EXPECT_EQ(b->GetButtonRect(), Rect(0, 0, 40, 24));
  EXPECT_EQ(b->GetChevronRect(), Rect(40, 0, 54, 24));
  EXPECT_EQ(b->GetChevronArrowRect(), Rect(44, 10, 49, 13));
  b->SetCaption("Go");
  const TSize t = b->GetCaptionSize();
  EXPECT_GT(t.cx, 0);
  EXPECT_EQ(b->GetCaptionRect(), Bounds((54 - t.cx) / 2, (24 - t.cy) / 2, t.cx, t.cy));
  b->SetShowChevron(false);
  EXPECT_EQ(b->Width(), 40);
  EXPECT_TRUE(b->GetChevronRect().IsEmpty());
}

// --- the style's look ----------------------------------------------------------------------

TEST_F(SpeedButtonTest, AFlatButtonShowsEachStateThroughTheStyle) {
  auto* b = AddButton(Bounds(100, 100, 40, 24));
  b->SetFlat(true);
  b->SetThemeEngine(engine);
  EXPECT_TRUE(b->Transparent());
  EXPECT_EQ(host.Pixel(101, 101), ButtonRGB(kesNormal, true, false));
  Move(110, 110);
  EXPECT_EQ(host.Pixel(101, 101), ButtonRGB(kesHot, true, false));
  Press(110, 110);
  EXPECT_EQ(b->ButtonState(), ksbsPressed);
  EXPECT_EQ(host.Pixel(101, 101), ButtonRGB(kesPressed, true, false));
  Release(110, 110);
  EXPECT_EQ(host.Pixel(101, 101), ButtonRGB(kesHot, true, false));
  Move(10, 10);
  EXPECT_EQ(host.Pixel(101, 101), ButtonRGB(kesNormal, true, false));
  b->SetGroupIndex(3);
  b->SetDown(true);
  EXPECT_EQ(b->ButtonState(), ksbsLatched);
  EXPECT_EQ(host.Pixel(101, 101), ButtonRGB(kesNormal, true, true));
  b->SetEnabled(false);
  EXPECT_EQ(host.Pixel(101, 101), ButtonRGB(kesDisabled, true, false));
  b->SetEnabled(true);
  EXPECT_EQ(b->ButtonState(), ksbsLatched);
}

TEST_F(SpeedButtonTest, TheChevronPartIsPaintedByTheStyleBesideTheButton) {
  auto* b = AddButton(Bounds(100, 100, 40, 24));
  b->SetThemeEngine(engine);
  b->SetShowChevron(true);
  EXPECT_EQ(host.Pixel(101, 101), ButtonRGB(kesNormal, false, false));
  EXPECT_EQ(host.Pixel(100 + 45, 101), kChevronRGB);
}

TEST_F(SpeedButtonTest, WithoutAUsableStyleTheButtonsPaintTheirPlainLook) {
  if (VisualStylesActive()) GTEST_SKIP() << "the classic look is drawn only without visual styles";
  auto* b = AddButton(Bounds(100, 100, 40, 24));
  b->SetFlat(true);
  b->SetThemeEngine(engine);
  b->SetVersion("9.9");
  EXPECT_EQ(b->Version(), "3.1.5");
  Move(110, 110);
  EXPECT_EQ(host.Pixel(101, 101), ButtonRGB(kesHot, true, false));

  // A style without a speed button: the plain face for that element.
  engine->SetTheme(std::make_unique<TNoButtonStyle>());
  EXPECT_EQ(host.Pixel(100, 100), Sys(COLOR_BTNHIGHLIGHT));  // raised: light top-left
  EXPECT_EQ(host.Pixel(139, 123), Sys(COLOR_BTNSHADOW));
  EXPECT_EQ(host.Pixel(110, 101), TTestForm::kFormRGB);  // transparent face

  // The engine's own "no style".
  engine->SetTheme(std::make_unique<TTeTheme>());
  EXPECT_EQ(host.Pixel(100, 100), Sys(COLOR_BTNHIGHLIGHT));

  // Deleting the engine unlinks the button, which paints plainly.
  engine->SetTheme(std::make_unique<TButtonTestStyle>());
  EXPECT_EQ(host.Pixel(101, 101), ButtonRGB(kesHot, true, false));
  engine->Free();
  engine = nullptr;
  EXPECT_EQ(b->ThemeEngine(), nullptr);
  EXPECT_EQ(host.Pixel(100, 100), Sys(COLOR_BTNHIGHLIGHT));
  Press(110, 110);
  EXPECT_EQ(host.Pixel(100, 100), Sys(COLOR_BTNSHADOW));  // sunken
  EXPECT_EQ(host.Pixel(139, 123), Sys(COLOR_BTNHIGHLIGHT));
  Release(110, 110);
  Move(10, 10);
  // A flat button at rest has no face at all.
  EXPECT_EQ(host.Pixel(100, 100), TTestForm::kFormRGB);
  EXPECT_EQ(host.Pixel(139, 123), TTestForm::kFormRGB);
}

TEST_F(SpeedButtonTest, APlainOpaqueButtonCoversItsAreaInEveryMode) {
  if (VisualStylesActive()) GTEST_SKIP() << "the classic look is drawn only without visual styles";
  auto* b = AddButton<TTeCustomSpeedButton>(Bounds(100, 100, 40, 24));
  b->SetFlat(true);
  b->SetTransparent(false);
  b->SetColor(FromRGB(0x123456));
  for (TTePerformance mode : {kspNoBuffer, kspSharedBuffer, kspDoubleBuffer}) {
    b->SetPerformance(mode);
    EXPECT_EQ(host.Pixel(110, 110), 0x123456u);
  }
  // A latched flat button shows the face's checker pattern while the mouse
  // is elsewhere.
  Move(10, 10);
  b->SetGroupIndex(1);
  b->SetDown(true);
  ASSERT_FALSE(b->MouseInControl());
  const unsigned a = host.Pixel(110, 110), c = host.Pixel(111, 110);
  EXPECT_NE(a, c);
  // The dither resolves system colours as the drawing primitives do.
  const unsigned face = test::ToRGB(SysColorToRGB(clBtnFace)), light = test::ToRGB(SysColorToRGB(clBtnHighlight));
  EXPECT_TRUE((a == face && c == light) || (a == light && c == face)) << std::hex << a << " " << c;
}

// --- groups ---------------------------------------------------------------------------------

TEST_F(SpeedButtonTest, AGroupKeepsOneButtonDownAndSharesAllowAllUp) {
  TTeThemeSpeedButton* b[3];
  for (int i = 0; i < 3; ++i) {
    b[i] = AddButton(Bounds(10 + 50 * i, 10, 40, 24));
    b[i]->SetGroupIndex(1);
  }
  auto* other = AddButton(Bounds(200, 10, 40, 24));
  other->SetGroupIndex(2);
  other->SetDown(true);
  b[0]->SetDown(true);
  b[1]->SetDown(true);
  EXPECT_FALSE(b[0]->Down());
  EXPECT_EQ(b[0]->ButtonState(), ksbsNormal);
  EXPECT_TRUE(b[1]->Down());
  EXPECT_TRUE(other->Down());  // another group

  // Clicking the down button leaves it down while the group may not be all up.
  ClickAt(70, 20);
  EXPECT_TRUE(b[1]->Down());
  EXPECT_EQ(b[1]->ButtonState(), ksbsLatched);
  // Clicking another one moves the group's down button.
  ClickAt(120, 20);
  EXPECT_TRUE(b[2]->Down());
  EXPECT_FALSE(b[1]->Down());

  b[0]->SetAllowAllUp(true);
  EXPECT_TRUE(b[1]->AllowAllUp());
  EXPECT_TRUE(b[2]->AllowAllUp());
  EXPECT_FALSE(other->AllowAllUp());
  ClickAt(120, 20);
  EXPECT_FALSE(b[2]->Down());
}

TEST_F(SpeedButtonTest, ClicksComeOnReleaseInsideAndDoubleClicksOnlyWhileDown) {
  auto* b = AddButton(Bounds(10, 10, 40, 24));
  int clicks = 0, doubles = 0;
  b->OnClick = [&](TObject*) { ++clicks; };
  b->OnDblClick = [&](TObject*) { ++doubles; };
  ClickAt(20, 20);
  EXPECT_EQ(clicks, 1);
  Press(20, 20);
  Move(200, 200);
  Release(200, 200);
  EXPECT_EQ(clicks, 1);
  SendMessageW(Wnd(), WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(20, 20));
  Release(20, 20);
  EXPECT_EQ(doubles, 0);
  b->SetGroupIndex(5);
  b->SetDown(true);
  SendMessageW(Wnd(), WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(20, 20));
  Release(20, 20);
  EXPECT_EQ(doubles, 1);
}

TEST_F(SpeedButtonTest, TheAcceleratorOfTheCaptionClicks) {
  auto* b = AddButton(Bounds(10, 10, 40, 24));
  b->SetCaption("&Next");
  int clicks = 0;
  b->OnClick = [&](TObject*) { ++clicks; };
  EXPECT_EQ(b->Perform(CM_DIALOGCHAR, 'n'), 1);
  EXPECT_EQ(b->Perform(CM_DIALOGCHAR, 'e'), 0);
  b->SetEnabled(false);
  EXPECT_EQ(b->Perform(CM_DIALOGCHAR, 'N'), 0);
  EXPECT_EQ(clicks, 1);
}

// --- auto-repeat -----------------------------------------------------------------------------

TEST_F(SpeedButtonTest, HeldDownTheButtonRepeatsUntilDraggedOutAndAgainWhenBackIn) {
  using namespace std::chrono_literals;
  auto* b = AddButton(Bounds(10, 10, 40, 24));
  b->SetAllowTimer(true);
  int clicks = 0;
  b->OnClick = [&](TObject*) { ++clicks; };
  Move(20, 20);
  Press(20, 20);
  ASSERT_NE(b->RepeatTimer(), nullptr);
  EXPECT_EQ(b->RepeatTimer()->Interval(), kFirstRepeatMs);
  PumpFor(250ms);
  EXPECT_EQ(clicks, 0);
  PumpFor(700ms);
  EXPECT_EQ(b->RepeatTimer()->Interval(), kRepeatMs);
  EXPECT_GE(clicks, 3);
  EXPECT_LE(clicks, 8);
  Move(200, 200);  // dragged out
  EXPECT_EQ(b->ButtonState(), ksbsNormal);
  PumpFor(150ms);
  const int outside = clicks;
  PumpFor(400ms);
  EXPECT_EQ(clicks, outside);
  Move(20, 20);  // and back in
  EXPECT_EQ(b->ButtonState(), ksbsPressed);
  PumpFor(450ms);
  EXPECT_GE(clicks, outside + 2);
  Release(20, 20);
  EXPECT_FALSE(b->RepeatTimer()->Enabled());
  const int released = clicks;
  PumpFor(300ms);
  EXPECT_EQ(clicks, released);
}

// --- the chevron and its menu --------------------------------------------------------------------

TEST_F(SpeedButtonTest, PressingTheChevronFiresItsEventAndOpensTheMenuWithoutAClick) {
  auto* b = AddButton(Bounds(100, 50, 40, 24));
  b->SetShowChevron(true);
  auto* menu = TComponent::Create<TRecordingMenu>(&form());
  b->SetChevronMenu(menu);
  int clicks = 0, chevrons = 0;
  b->OnClick = [&](TObject*) { ++clicks; };
  b->OnChevronClick = [&](TObject*) { ++chevrons; };
  ClickAt(100 + 48, 60);
  EXPECT_EQ(chevrons, 1);
  EXPECT_EQ(clicks, 0);
  EXPECT_EQ(menu->opened, 1);
  EXPECT_EQ(menu->openedFor, b);
  EXPECT_EQ(menu->at, b->ClientToScreen({40 - 1, 24}));
  EXPECT_EQ(b->ButtonState(), ksbsNormal);

  menu->SetAlignment(paRight);
  ClickAt(100 + 48, 60);
  EXPECT_EQ(menu->at, b->ClientToScreen({54 + 1, 24}));
  b->SetMenuPosition(dmpRight);
  menu->SetAlignment(paLeft);
  ClickAt(100 + 48, 60);
  EXPECT_EQ(menu->at, b->ClientToScreen({54, -1}));

  // The menu's removal unlinks it; the chevron still clicks nothing.
  menu->Free();
  EXPECT_EQ(b->ChevronMenu(), nullptr);
  ClickAt(100 + 48, 60);
  EXPECT_EQ(chevrons, 4);
  EXPECT_EQ(clicks, 0);
}

// --- glyphs ------------------------------------------------------------------------------------------

// A strip of `cells` 8 x 8 images on a white key (the bottom-left pixel):
// image i is a 4 x 4 square of colours[i] at (2, 2) of its cell.
std::unique_ptr<TBitmap> Strip(std::initializer_list<unsigned> colours) {
  auto strip = std::make_unique<TBitmap>(static_cast<int>(colours.size()) * 8, 8);
  TCanvas* c = strip->Canvas();
  c->Brush()->SetColor(clWhite);
  c->FillRect(Rect(0, 0, strip->Width(), 8));
  int i = 0;
  for (unsigned colour : colours) {
    c->Brush()->SetColor(FromRGB(colour));
    c->FillRect(Bounds(i * 8 + 2, 2, 4, 4));
    ++i;
  }
  return strip;
}

TEST_F(SpeedButtonTest, AGlyphStripShowsTheCellOfTheStateOverTheKeyedBackground) {
  auto* b = AddButton<TTeCustomSpeedButton>(Bounds(100, 50, 28, 28));
  b->SetFlat(true);
  auto strip = Strip({0xFF0000, 0x0000FF, 0x00FF00, 0xFFFF00});
  b->SetGlyph(strip.get());
  EXPECT_EQ(b->NumGlyphs(), 4);
  EXPECT_EQ(b->GetGlyphSize(), (TSize{8, 8}));
  const TRect g = b->GetGlyphRect();
  EXPECT_EQ(g, Rect(10, 10, 18, 18));
  const int x = 100 + g.left + 3, y = 50 + g.top + 3;
  EXPECT_EQ(host.Pixel(x, y), 0xFF0000u);
  EXPECT_EQ(host.Pixel(100 + g.left, 50 + g.top), TTestForm::kFormRGB);  // the key is left out
  Move(x, y);
  Press(x, y);
  EXPECT_EQ(host.Pixel(x + 1, y + 1), 0x00FF00u);  // pressed: cell 2, moved by one
  Release(x, y);
  b->SetGroupIndex(1);
  b->SetDown(true);
  EXPECT_EQ(host.Pixel(x + 1, y + 1), 0xFFFF00u);  // latched: cell 3
  b->SetDown(false);
  b->SetEnabled(false);
  EXPECT_EQ(host.Pixel(x, y), 0x0000FFu);  // disabled: cell 1

  auto wide = std::make_unique<TBitmap>(80, 16);
  b->SetGlyph(wide.get());
  EXPECT_EQ(b->NumGlyphs(), 1);
}

TEST_F(SpeedButtonTest, GreyGlyphsForBlackAndWhiteAndForADisabledSingleImage) {
  auto* b = AddButton<TTeCustomSpeedButton>(Bounds(100, 50, 28, 28));
  b->SetFlat(true);
  auto strip = Strip({0xFF0000});  // lightness 0.5
  b->SetGlyph(strip.get());
  const TRect g = b->GetGlyphRect();
  const int x = 100 + g.left + 3, y = 50 + g.top + 3;
  b->SetBlackAndWhiteGlyph(true);
  EXPECT_EQ(host.Pixel(x, y), 0x808080u);  // round(0.5 * 255) = 128 (half to even)
  Move(x, y);
  EXPECT_EQ(host.Pixel(x, y), 0xFF0000u);
  Move(10, 10);
  b->SetBlackAndWhiteGlyph(false);
  b->SetEnabled(false);
  EXPECT_EQ(host.Pixel(x, y), 0xB9B9B9u);  // 160 + round(0.5 * 50) = 185
}

// --- the rest of the family -------------------------------------------------------------------------

TEST_F(SpeedButtonTest, DividerAndContainerLetTheParentShowThrough) {
  auto* divider = TComponent::Create<TTeSpeedDivider>(&form());
  divider->SetParent(&form());
  divider->SetBounds(10, 10, 8, 20);
  EXPECT_EQ(TTeSpeedDivider(nullptr).Width(), 8);
  EXPECT_EQ(host.Pixel(14, 20), TTestForm::kFormRGB);
  divider->SetTransparent(false);
  divider->SetColor(FromRGB(0x445566));
  EXPECT_EQ(host.Pixel(14, 20), 0x445566u);

  auto* holder = TComponent::Create<TTeSpeedContainer>(&form());
  holder->SetParent(&form());
  holder->SetBounds(50, 50, 120, 40);
  auto* b = TComponent::Create<TTeThemeSpeedButton>(&form());
  b->SetParent(holder);
  b->SetBounds(10, 5, 40, 24);
  b->SetThemeEngine(engine);
  RedrawWindow(Wnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  EXPECT_EQ(test::ClientPixel(holder->Handle(), 100, 20), TTestForm::kFormRGB);
  EXPECT_EQ(test::ClientPixel(holder->Handle(), 11, 6), ButtonRGB(kesNormal, false, false));
}

}  // namespace
}  // namespace hv
