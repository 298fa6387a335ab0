// The spin button on real windows: its halves and their arrows, stepping to
// both bounds by real clicks and keys, refusals, auto-repeat, the drag strip,
// the associated edit's text both ways, placement, and the style's faces.

#include "theme/controls/spinbutton.h"

#include <chrono>
#include <vector>

#include "framework/memo.h"
#include "framework/timer.h"
#include "tests/theme/controls/box_test_support.h"
#include "tests/theme/controls/control_test_support.h"
#include "theme/controls/speedbutton.h"

namespace hv::test {
namespace {

using namespace std::chrono_literals;

// Paints each spin half in one colour per state.
constexpr unsigned SpinRGB(TTeElementState state) { return 0x305070u + 0x200000u * static_cast<unsigned>(state); }

class TSpinTestStyle : public TTeTheme {
  HV_THEME_CLASS(TSpinTestStyle, TTeTheme)

 public:
  static bool IsThemeAvailable() { return true; }
  static std::string GetName() { return "SpinTest"; }
  void DrawSpinButton(TCanvas& canvas, const TRect& rect, TTeElementState state, uint8_t) override {
    canvas.Brush()->SetColor(FromRGB(SpinRGB(state)));
    canvas.FillRect(rect);
  }
};

class SpinButtonTest : public ControlTest {
 protected:
  TTeThemeSpinButton* MakeSpin(int left = 50, int top = 50) {
    auto* spin = Make<TTeThemeSpinButton>(left, top, 15, 21);
    return spin;
  }
  // An edit of the system's own to associate.
  TMemo* MakeEdit() {
    auto* edit = Make<TMemo>(100, 100, 60, 22);
    edit->SetWordWrap(false);
    edit->SetTabStop(true);
    return edit;
  }
  void Click(TWinControl* c, int x, int y) {
    Send(c, WM_MOUSEMOVE, 0, x, y);
    Send(c, WM_LBUTTONDOWN, MK_LBUTTON, x, y);
    Send(c, WM_LBUTTONUP, 0, x, y);
  }
  void ClickUp(TWinControl* spin) { Click(spin, 7, 3); }
  void ClickDown(TWinControl* spin) { Click(spin, 7, 17); }
};

TEST_F(SpinButtonTest, DefaultsAndTheTwoHalves) {
  auto* spin = TComponent::Create<TTeThemeSpinButton>(form);
  EXPECT_EQ(spin->Width(), 15);
  EXPECT_EQ(spin->Height(), 21);
  EXPECT_TRUE(spin->Transparent());
  EXPECT_FALSE(spin->TabStop());
  EXPECT_EQ(spin->Min(), 0);
  EXPECT_EQ(spin->Max(), 100);
  EXPECT_EQ(spin->Position(), 0);
  EXPECT_EQ(spin->Increment(), 1);
  EXPECT_EQ(spin->SpinAlign(), saRight);
  EXPECT_TRUE(spin->EnabledSlider());
  EXPECT_EQ(spin->Version(), "3.1.5");
  for (TTeCustomSpeedButton* half : {spin->UpButton(), spin->DownButton()}) {
    ASSERT_NE(half, nullptr);
    EXPECT_NE(dynamic_cast<TTeThemeSpeedButton*>(half), nullptr);
    EXPECT_EQ(half->Parent(), spin);
    EXPECT_TRUE(half->Flat());
    EXPECT_TRUE(half->AllowTimer());
    EXPECT_FALSE(half->ShowCaption());
    EXPECT_EQ(half->NumGlyphs(), 1);
    EXPECT_EQ(half->Glyph()->Width(), 9) << "the resource arrow";
    EXPECT_EQ(half->Glyph()->Height(), 6);
  }
  EXPECT_EQ(spin->UpButton()->Caption(), "up");
  EXPECT_EQ(spin->DownButton()->Caption(), "down");
  EXPECT_EQ(spin->FocusedButton(), spin->UpButton());
  // 21 div 2 = 10, less the strip's row: two halves of 9 and 3 rows between.
  EXPECT_EQ(spin->UpButton()->BoundsRect(), Rect(0, 0, 15, 9));
  EXPECT_EQ(spin->DownButton()->BoundsRect(), Rect(0, 12, 15, 21));
  spin->SetBounds(0, 0, 20, 30);
  EXPECT_EQ(spin->UpButton()->BoundsRect(), Rect(0, 0, 20, 14));
  EXPECT_EQ(spin->DownButton()->BoundsRect(), Rect(0, 16, 20, 30)) << "an even height leaves two rows";
  spin->SetEnabledSlider(false);
  EXPECT_EQ(spin->UpButton()->BoundsRect(), Rect(0, 0, 20, 15));
  EXPECT_EQ(spin->DownButton()->BoundsRect(), Rect(0, 15, 20, 30)) << "without the strip the halves touch";
}

TEST_F(SpinButtonTest, ClicksStepToBothBoundsAndStay) {
  auto* spin = MakeSpin();
  spin->SetMin(-3);
  spin->SetMax(10);
  spin->SetIncrement(4);
  int ups = 0, downs = 0;
  spin->OnUpClick = [&](TObject* sender) {
    EXPECT_EQ(sender, spin);
    ++ups;
  };
  spin->OnDownClick = [&](TObject*) { ++downs; };
  std::vector<int> seen;
  for (int i = 0; i < 4; ++i) {
    ClickUp(spin);
    seen.push_back(spin->Position());
  }
  EXPECT_EQ(seen, (std::vector<int>{4, 8, 10, 10}));
  EXPECT_EQ(ups, 4) << "the event follows every click, a step or none";
  seen.clear();
  for (int i = 0; i < 5; ++i) {
    ClickDown(spin);
    seen.push_back(spin->Position());
  }
  EXPECT_EQ(seen, (std::vector<int>{6, 2, -2, -3, -3}));
  EXPECT_EQ(downs, 5);
  // A click between the halves, on the strip, steps nothing.
  Click(spin, 7, 10);
  EXPECT_EQ(spin->Position(), -3);
  // Huge steps clamp instead of wrapping round.
  spin->SetMax(0x7FFFFFFF);
  spin->SetIncrement(0x7FFFFFFF);
  ClickUp(spin);
  ClickUp(spin);
  EXPECT_EQ(spin->Position(), 0x7FFFFFFF);
}

TEST_F(SpinButtonTest, BoundsKeepTheirOrderAndPullThePositionIn) {
  auto* spin = MakeSpin();
  spin->SetPosition(50);
  spin->SetMax(-5);
  EXPECT_EQ(spin->Max(), 0) << "pushed back to Min";
  EXPECT_EQ(spin->Position(), 0);
  spin->SetMax(20);
  spin->SetPosition(15);
  spin->SetMin(30);
  EXPECT_EQ(spin->Min(), 20);
  EXPECT_EQ(spin->Position(), 20);
  spin->SetPosition(500);
  EXPECT_EQ(spin->Position(), 20);
  spin->SetMin(-10);
  spin->SetPosition(-500);
  EXPECT_EQ(spin->Position(), -10);
}

TEST_F(SpinButtonTest, ARefusingHandlerKeepsThePositionAndTheEditsText) {
  auto* spin = MakeSpin();
  auto* edit = MakeEdit();
  spin->SetAssociate(edit);
  spin->SetPosition(5);
  EXPECT_EQ(edit->Text(), "5");
  bool allow = false;
  int asked = 0;
  spin->OnChanging = [&](TObject* sender, bool& allowChange) {
    EXPECT_EQ(sender, spin);
    ++asked;
    allowChange = allow;
  };
  ClickUp(spin);
  EXPECT_EQ(asked, 1);
  EXPECT_EQ(spin->Position(), 5);
  EXPECT_EQ(edit->Text(), "5");
  spin->SetPosition(9);
  EXPECT_EQ(spin->Position(), 5);
  allow = true;
  ClickDown(spin);
  EXPECT_EQ(spin->Position(), 4);
  EXPECT_EQ(edit->Text(), "4");
}

TEST_F(SpinButtonTest, TheEditsTextFollowsThePositionAndTypingMovesIt) {
  auto* spin = MakeSpin();
  auto* edit = MakeEdit();
  edit->SetText("abc");
  spin->SetAssociate(edit);
  EXPECT_TRUE(spin->SyncTimer()->Enabled());
  EXPECT_EQ(spin->SyncTimer()->Interval(), 400);
  EXPECT_EQ(edit->Text(), "0") << "associating writes the position";
  ClickUp(spin);
  ClickUp(spin);
  EXPECT_EQ(edit->Text(), "2");
  // Typed with real keys: select everything and replace it.
  SendMessageW(edit->Handle(), EM_SETSEL, 0, -1);
  SendMessageW(edit->Handle(), WM_CHAR, '4', 0);
  SendMessageW(edit->Handle(), WM_CHAR, '2', 0);
  EXPECT_EQ(edit->Text(), "42");
  PumpFor(520ms);
  EXPECT_EQ(spin->Position(), 42);
  SendMessageW(edit->Handle(), EM_SETSEL, 0, -1);
  SendMessageW(edit->Handle(), WM_CHAR, 'x', 0);
  PumpFor(520ms);
  EXPECT_EQ(spin->Position(), 42) << "letters move nothing";
  EXPECT_EQ(edit->Text(), "x");
  ClickDown(spin);
  EXPECT_EQ(edit->Text(), "41");
  // A number beyond Max stops at it, and the edit says so.
  SendMessageW(edit->Handle(), EM_SETSEL, 0, -1);
  for (char c : std::string("999")) SendMessageW(edit->Handle(), WM_CHAR, static_cast<WPARAM>(c), 0);
  PumpFor(520ms);
  EXPECT_EQ(spin->Position(), 100);
  EXPECT_EQ(edit->Text(), "100");
}

TEST_F(SpinButtonTest, StandsBesideItsAssociateAndLetsGoWhenItIsFreed) {
  auto* spin = MakeSpin();
  auto* edit = MakeEdit();
  spin->SetAssociate(edit);
  EXPECT_EQ(spin->BoundsRect(), Rect(160, 100, 175, 122));
  spin->SetSpinAlign(saLeft);
  EXPECT_EQ(spin->BoundsRect(), Rect(85, 100, 100, 122));
  EXPECT_EQ(spin->UpButton()->BoundsRect(), Rect(0, 0, 15, 10)) << "the halves follow the height";
  edit->Free();
  EXPECT_EQ(spin->Associate(), nullptr);
  EXPECT_FALSE(spin->SyncTimer()->Enabled());
  ClickUp(spin);
  EXPECT_EQ(spin->Position(), 1);
}

TEST_F(SpinButtonTest, KeysClickTheHalvesAndAPressMovesTheFocus) {
  auto* spin = MakeSpin();
  spin->SetTabStop(true);
  EXPECT_EQ(spin->Perform(WM_GETDLGCODE), DLGC_WANTARROWS);
  spin->SetFocus();
  Send(spin, WM_KEYDOWN, VK_UP);
  Send(spin, WM_KEYDOWN, VK_UP);
  EXPECT_EQ(spin->Position(), 2);
  Send(spin, WM_KEYDOWN, VK_DOWN);
  EXPECT_EQ(spin->FocusedButton(), spin->DownButton());
  EXPECT_EQ(spin->Position(), 1);
  Send(spin, WM_KEYDOWN, VK_SPACE);
  EXPECT_EQ(spin->Position(), 0) << "space clicks the half last used";
  ClickUp(spin);
  EXPECT_EQ(spin->FocusedButton(), spin->UpButton());
  Send(spin, WM_KEYDOWN, VK_SPACE);
  EXPECT_EQ(spin->Position(), 2);

  // With an associate that takes the focus, a press hands it the focus.
  auto* edit = MakeEdit();
  spin->SetAssociate(edit);
  spin->SetFocus();
  ClickDown(spin);
  EXPECT_TRUE(edit->Focused());
  EXPECT_EQ(spin->FocusedButton(), spin->DownButton());
}

TEST_F(SpinButtonTest, AHeldHalfRepeatsUntilReleased) {
  auto* spin = MakeSpin();
  Send(spin, WM_MOUSEMOVE, 0, 7, 3);
  Send(spin, WM_LBUTTONDOWN, MK_LBUTTON, 7, 3);
  EXPECT_EQ(spin->Position(), 0);
  PumpFor(250ms);
  EXPECT_EQ(spin->Position(), 0) << "nothing before the first repeat";
  PumpFor(750ms);
  const int held = spin->Position();
  EXPECT_GE(held, 3);
  EXPECT_LE(held, 9);
  Send(spin, WM_LBUTTONUP, 0, 7, 3);
  EXPECT_EQ(spin->Position(), held + 1) << "the release is a click of its own";
  PumpFor(300ms);
  EXPECT_EQ(spin->Position(), held + 1);
}

TEST_F(SpinButtonTest, DraggingTheStripRunsThePositionByTheDistance) {
  auto* spin = MakeSpin();
  spin->SetPosition(50);
  spin->SetIncrement(2);
  Send(spin, WM_MOUSEMOVE, 0, 7, 10);
  EXPECT_EQ(spin->Cursor(), crSizeNS);
  Send(spin, WM_LBUTTONDOWN, MK_LBUTTON, 7, 10);
  EXPECT_TRUE(spin->SliderActive());
  Send(spin, WM_MOUSEMOVE, MK_LBUTTON, 7, 7);
  EXPECT_EQ(spin->Position(), 56);
  Send(spin, WM_MOUSEMOVE, MK_LBUTTON, 7, 7);
  EXPECT_EQ(spin->Position(), 62) << "the start stays where the drag began";
  Send(spin, WM_MOUSEMOVE, MK_LBUTTON, 7, 40);
  EXPECT_EQ(spin->Position(), 2);
  Send(spin, WM_LBUTTONUP, 0, 7, 40);
  EXPECT_FALSE(spin->SliderActive());
  Send(spin, WM_MOUSEMOVE, 0, 7, 5);
  EXPECT_EQ(spin->Position(), 2);

  spin->SetEnabledSlider(false);
  Send(spin, WM_LBUTTONDOWN, MK_LBUTTON, 7, 10);
  EXPECT_FALSE(spin->SliderActive());
  Send(spin, WM_MOUSEMOVE, MK_LBUTTON, 7, 0);
  Send(spin, WM_LBUTTONUP, 0, 7, 0);
  EXPECT_EQ(spin->Position(), 2);
}

TEST_F(SpinButtonTest, TheStylePaintsBothHalvesInEachStateAndTheStripShowsTheForm) {
  auto* engine = TComponent::Create<TTeThemeEngine>(form);
  engine->SetColorAutoChanging(false);
  engine->SetTheme(std::make_unique<TSpinTestStyle>());
  auto* spin = MakeSpin();
  spin->SetThemeEngine(engine);
  EXPECT_EQ(static_cast<TTeThemeSpeedButton*>(spin->UpButton())->ThemeEngine(), engine);
  EXPECT_EQ(static_cast<TTeThemeSpeedButton*>(spin->DownButton())->ThemeEngine(), engine);
  const unsigned formRGB = ToRGB(ColorToRGB(form->Color()));
  auto at = [&](int x, int y) { return ReadClientPixels(spin->Handle(), Bounds(x, y, 1, 1)).At(0, 0); };
  EXPECT_EQ(at(1, 1), SpinRGB(kesNormal));
  EXPECT_EQ(at(13, 19), SpinRGB(kesNormal));
  EXPECT_EQ(at(7, 10), formRGB);
  EXPECT_EQ(at(7, 5), 0x000000u) << "the arrow's base";
  Send(spin, WM_MOUSEMOVE, 0, 7, 3);
  EXPECT_EQ(at(1, 1), SpinRGB(kesHot));
  EXPECT_EQ(at(1, 13), SpinRGB(kesNormal));
  Send(spin, WM_LBUTTONDOWN, MK_LBUTTON, 7, 3);
  EXPECT_EQ(at(1, 1), SpinRGB(kesPressed));
  EXPECT_EQ(at(8, 6), 0x000000u) << "the pressed arrow moves down and right";
  Send(spin, WM_LBUTTONUP, 0, 7, 3);
  Send(spin, WM_MOUSEMOVE, 0, 7, 16);
  EXPECT_EQ(at(1, 1), SpinRGB(kesNormal));
  EXPECT_EQ(at(1, 19), SpinRGB(kesHot));
  spin->UpButton()->SetEnabled(false);
  EXPECT_EQ(at(1, 1), SpinRGB(kesDisabled));
  spin->UpButton()->SetEnabled(true);

  engine->Free();
  EXPECT_EQ(spin->ThemeEngine(), nullptr);
  EXPECT_EQ(static_cast<TTeThemeSpeedButton*>(spin->UpButton())->ThemeEngine(), nullptr);
  EXPECT_NE(at(1, 1), SpinRGB(kesNormal)) << "the plain look again";
}

TEST_F(SpinButtonTest, ClassicIdleHalvesKeepARaisedFaceThoughFlat) {
  TClassicLook classic;
  auto* spin = MakeSpin();
  auto at = [&](int x, int y) { return ReadClientPixels(spin->Handle(), Bounds(x, y, 1, 1)).At(0, 0); };
  const unsigned light = ToRGB(GetSysColor(COLOR_BTNHIGHLIGHT));
  const unsigned dark = ToRGB(GetSysColor(COLOR_3DDKSHADOW));
  EXPECT_EQ(at(0, 0), light);
  EXPECT_EQ(at(14, 8), dark);
  EXPECT_EQ(at(0, 12), light);
  EXPECT_EQ(at(14, 20), dark);
  // Pressed, the half is sunk as a flat button is.
  Send(spin, WM_MOUSEMOVE, 0, 7, 3);
  Send(spin, WM_LBUTTONDOWN, MK_LBUTTON, 7, 3);
  EXPECT_EQ(at(0, 0), ToRGB(GetSysColor(COLOR_BTNSHADOW)));
  EXPECT_EQ(at(14, 8), light);
  Send(spin, WM_LBUTTONUP, 0, 7, 3);
}

TEST_F(SpinButtonTest, GivenGlyphsReplaceTheArrowsAndNoneBringsThemBack) {
  auto* spin = MakeSpin();
  TBitmap strip;
  strip.SetSize(20, 10);
  spin->SetUpGlyph(&strip);
  EXPECT_EQ(spin->UpGlyph()->Width(), 20);
  EXPECT_EQ(spin->UpNumGlyphs(), 2);
  spin->SetUpNumGlyphs(1);
  EXPECT_EQ(spin->UpButton()->NumGlyphs(), 1);
  spin->SetUpGlyph(nullptr);
  EXPECT_EQ(spin->UpGlyph()->Width(), 9);
  EXPECT_EQ(spin->UpNumGlyphs(), 1);
  spin->SetDownNumGlyphs(3);
  spin->SetDownGlyph(nullptr);
  EXPECT_EQ(spin->DownNumGlyphs(), 1);
  EXPECT_EQ(spin->DownGlyph()->Height(), 6);
}

}  // namespace
}  // namespace hv::test
