// The push button on real windows: the press by mouse and space bar, the
// default and cancel buttons answering Enter and Escape on their form, the
// modal result ending a modal form, the kinds and their glyphs, and the
// classic and visual-style faces read back as pixels.

#include "theme/controls/pushbutton.h"

#include <functional>

#include "framework/extctrls.h"
#include "framework/graphics.h"
#include "tests/support/pixel_rows.h"
#include "tests/theme/controls/box_test_support.h"
#include "tests/theme/controls/control_test_support.h"
#include "theme/core/colors.h"

namespace hv::test {
namespace {

unsigned Sys(int index) { return ToRGB(GetSysColor(index)); }

class PushButtonTest : public ControlTest {
 protected:
  TTeCustomButton* MakeButton(int left = 20, int top = 20, int width = 75, int height = 25) {
    return Make<TTeCustomButton>(left, top, width, height);
  }
  // A focusable control that is not a button.
  TPanel* MakePanel() {
    auto* panel = Make<TPanel>(200, 200, 40, 30);
    panel->SetTabStop(true);
    return panel;
  }
  unsigned At(TWinControl* c, int x, int y) { return ReadClientPixels(c->Handle(), Bounds(x, y, 1, 1)).At(0, 0); }
  static void Key(TWinControl* c, UINT msg, WPARAM key) { SendMessageW(c->Handle(), msg, key, 0); }
};

TEST_F(PushButtonTest, Defaults) {
  auto* b = TComponent::Create<TTeCustomButton>(form);
  EXPECT_EQ(b->Width(), 75);
  EXPECT_EQ(b->Height(), 25);
  EXPECT_TRUE(b->TabStop());
  EXPECT_FALSE(b->Transparent());
  EXPECT_EQ(b->Performance(), kspDoubleBuffer);
  EXPECT_EQ(b->Color(), static_cast<TColor>(ColorToRGB(clBtnFace)));
  EXPECT_EQ(b->Kind(), bkCustom);
  EXPECT_EQ(b->ModalResult(), 0);
  EXPECT_EQ(b->NumGlyphs(), 1);
  EXPECT_EQ(b->Spacing(), 4);
  EXPECT_EQ(b->Layout(), blGlyphLeft);
  EXPECT_EQ(b->State(), kbsNormal);
  EXPECT_FALSE(b->Default());
  EXPECT_FALSE(b->Cancel());
  EXPECT_TRUE(b->Glyph()->Empty());
}

TEST_F(PushButtonTest, KindsSetTheRoleTheResultAndATwoImageGlyph) {
  auto* b = MakeButton();
  b->SetKind(bkCancel);
  EXPECT_EQ(b->ModalResult(), 2);
  EXPECT_FALSE(b->Default());
  EXPECT_EQ(b->NumGlyphs(), 2);
  EXPECT_EQ(b->Glyph()->Width(), 36);
  EXPECT_EQ(b->Glyph()->Height(), 18);
  b->SetKind(bkOK);
  EXPECT_EQ(b->ModalResult(), 1);
  EXPECT_TRUE(b->Default());
  b->SetKind(bkYes);
  EXPECT_EQ(b->ModalResult(), 6);
  EXPECT_TRUE(b->Default());
  const struct {
    TBitBtnKind kind;
    int result;
  } rest[] = {{bkHelp, 0}, {bkNo, 7}, {bkClose, 0}, {bkAbort, 3}, {bkRetry, 4}, {bkIgnore, 5}, {bkAll, 8}};
  for (const auto& k : rest) {
    b->SetKind(k.kind);
    EXPECT_EQ(b->ModalResult(), k.result) << k.kind;
    EXPECT_FALSE(b->Default()) << k.kind;
    EXPECT_EQ(b->NumGlyphs(), 2) << k.kind;
  }
  // Back to a custom kind changes nothing else.
  b->SetKind(bkCustom);
  EXPECT_EQ(b->ModalResult(), 8);
  EXPECT_EQ(b->Glyph()->Width(), 36);
}

TEST_F(PushButtonTest, APressDraggedOutGivesNoClickAndDraggedBackInGivesOne) {
  auto* b = MakeButton();
  int clicks = 0;
  b->OnClick = [&](TObject* sender) {
    EXPECT_EQ(sender, b);
    ++clicks;
  };
  Send(b, WM_LBUTTONDOWN, MK_LBUTTON, 10, 10);
  EXPECT_EQ(b->State(), kbsPressed);
  EXPECT_TRUE(b->Tracking());
  EXPECT_TRUE(b->Focused()) << "a press takes the focus";
  Send(b, WM_MOUSEMOVE, MK_LBUTTON, 100, 10);
  EXPECT_EQ(b->State(), kbsNormal);
  Send(b, WM_LBUTTONUP, 0, 100, 10);
  EXPECT_EQ(clicks, 0);
  EXPECT_FALSE(b->Tracking());

  Send(b, WM_LBUTTONDOWN, MK_LBUTTON, 10, 10);
  Send(b, WM_MOUSEMOVE, MK_LBUTTON, 100, 10);
  Send(b, WM_MOUSEMOVE, MK_LBUTTON, 12, 12);
  EXPECT_EQ(b->State(), kbsPressed);
  Send(b, WM_LBUTTONUP, 0, 12, 12);
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(b->State(), kbsNormal);

  // A disabled button takes no press.
  b->SetEnabled(false);
  Send(b, WM_LBUTTONDOWN, MK_LBUTTON, 10, 10);
  Send(b, WM_LBUTTONUP, 0, 10, 10);
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(b->State(), kbsNormal);
}

TEST_F(PushButtonTest, TheSpaceBarPressesAndClicksOnRelease) {
  auto* b = MakeButton();
  int clicks = 0;
  b->OnClick = [&](TObject*) { ++clicks; };
  b->SetFocus();
  Key(b, WM_KEYDOWN, VK_SPACE);
  EXPECT_EQ(b->State(), kbsPressed);
  EXPECT_EQ(clicks, 0);
  Key(b, WM_KEYUP, VK_SPACE);
  EXPECT_EQ(b->State(), kbsNormal);
  EXPECT_EQ(clicks, 1);
}

TEST_F(PushButtonTest, EnterClicksTheDefaultButtonUnlessAnotherButtonHasTheFocus) {
  auto* ok = MakeButton(20, 20);
  auto* other = MakeButton(20, 60);
  auto* panel = MakePanel();
  int okClicks = 0, otherClicks = 0;
  ok->OnClick = [&](TObject*) { ++okClicks; };
  other->OnClick = [&](TObject*) { ++otherClicks; };
  panel->SetFocus();
  ok->SetDefault(true);
  EXPECT_TRUE(ok->ActiveDefault());
  Key(panel, WM_KEYDOWN, VK_RETURN);
  EXPECT_EQ(okClicks, 1);
  EXPECT_EQ(otherClicks, 0);

  other->SetFocus();
  EXPECT_FALSE(ok->ActiveDefault()) << "another button has the focus";
  Key(other, WM_KEYDOWN, VK_RETURN);
  EXPECT_EQ(okClicks, 1);
  EXPECT_EQ(otherClicks, 1);

  panel->SetFocus();
  EXPECT_TRUE(ok->ActiveDefault());
  ok->SetDefault(false);
  EXPECT_FALSE(ok->ActiveDefault());
  Key(panel, WM_KEYDOWN, VK_RETURN);
  EXPECT_EQ(okClicks, 1) << "no default button, nothing answers";

  // A key the control handles itself never reaches the buttons.
  ok->SetDefault(true);
  panel->OnKeyDown = [](TObject*, uint16_t& key, TShiftState) {
    if (key == VK_RETURN) key = 0;
  };
  Key(panel, WM_KEYDOWN, VK_RETURN);
  EXPECT_EQ(okClicks, 1);
}

TEST_F(PushButtonTest, EscapeClicksTheCancelButtonAndNothingElse) {
  auto* cancel = MakeButton(20, 20);
  auto* panel = MakePanel();
  int clicks = 0;
  cancel->OnClick = [&](TObject*) { ++clicks; };
  panel->SetFocus();
  Key(panel, WM_KEYDOWN, VK_ESCAPE);
  EXPECT_EQ(clicks, 0);
  cancel->SetCancel(true);
  Key(panel, WM_KEYDOWN, VK_ESCAPE);
  EXPECT_EQ(clicks, 1);
  Key(panel, WM_KEYDOWN, VK_RETURN);
  EXPECT_EQ(clicks, 1) << "Enter is not the cancel button's";
  cancel->SetEnabled(false);
  Key(panel, WM_KEYDOWN, VK_ESCAPE);
  EXPECT_EQ(clicks, 1) << "a disabled button cannot answer";
}

TEST_F(PushButtonTest, ModalResultEndsAModalForm) {
  TForm dialog(nullptr);
  dialog.SetBounds(100, 100, 200, 120);
  auto* ok = TComponent::Create<TTeCustomButton>(&dialog);
  ok->SetParent(&dialog);
  ok->SetKind(bkOK);
  ok->SetBounds(10, 10, 75, 25);
  auto* cancel = TComponent::Create<TTeCustomButton>(&dialog);
  cancel->SetParent(&dialog);
  cancel->SetKind(bkCancel);
  cancel->SetCancel(true);
  cancel->SetBounds(100, 10, 75, 25);
  dialog.HandleNeeded();
  // A click queued for the modal loop ends it with the button's result.
  PostMessageW(ok->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  PostMessageW(ok->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
  EXPECT_EQ(dialog.ShowModal(), mrOk);
  EXPECT_FALSE(dialog.Visible());
  // Escape typed into the dialog ends it through the cancel button.
  PostMessageW(ok->Handle(), WM_KEYDOWN, VK_ESCAPE, 0);
  EXPECT_EQ(dialog.ShowModal(), mrCancel);
  // A button without a result leaves the loop running; another ends it.
  ok->SetModalResult(0);
  int clicks = 0;
  ok->OnClick = [&](TObject*) {
    if (++clicks == 1) PostMessageW(cancel->Handle(), WM_KEYDOWN, VK_ESCAPE, 0);
  };
  PostMessageW(ok->Handle(), WM_KEYDOWN, VK_SPACE, 0);
  PostMessageW(ok->Handle(), WM_KEYUP, VK_SPACE, 0);
  EXPECT_EQ(dialog.ShowModal(), mrCancel);
  EXPECT_EQ(clicks, 1);
}

TEST_F(PushButtonTest, TheCaptionsAcceleratorFocusesAndClicks) {
  auto* b = MakeButton();
  b->SetCaption("&Open");
  auto* panel = MakePanel();
  panel->SetFocus();
  int clicks = 0;
  b->OnClick = [&](TObject*) { ++clicks; };
  EXPECT_EQ(b->Perform(CM_DIALOGCHAR, 'x'), 0);
  EXPECT_EQ(b->Perform(CM_DIALOGCHAR, 'o'), 1);
  EXPECT_EQ(clicks, 1);
  EXPECT_TRUE(b->Focused());
}

// --- the classic face --------------------------------------------------------------------

TEST_F(PushButtonTest, ClassicFacePerState) {
  TClassicLook classic;
  form->SetColor(FromRGB(0x336699));
  auto* b = MakeButton(20, 20, 75, 25);
  b->SetColor(FromRGB(0xC0C8D0));
  const unsigned face = 0xC0C8D0;
  // Normal: light top-left, black bottom-right, an inner shadow.
  HV_EXPECT_PIXEL_ROWS(unsigned, "normal", At(b, x, y), {0, 0, Sys(COLOR_BTNHIGHLIGHT)}, {74, 24, 0x000000u},
                       {1, 1, face}, {73, 23, Sys(COLOR_BTNSHADOW)}, {37, 3, face});
  // Acting as default: a black frame round it all, the rest one pixel in.
  b->SetDefault(true);
  EXPECT_TRUE(b->ActiveDefault());
  HV_EXPECT_PIXEL_ROWS(unsigned, "acting as default", At(b, x, y), {0, 0, 0x000000u}, {1, 1, Sys(COLOR_BTNHIGHLIGHT)},
                       {73, 23, 0x000000u}, {72, 22, Sys(COLOR_BTNSHADOW)});
  b->SetDefault(false);
  // Pressed (and focused by the press): the black frame, then shadow all round.
  Send(b, WM_LBUTTONDOWN, MK_LBUTTON, 10, 10);
  HV_EXPECT_PIXEL_ROWS(unsigned, "pressed", At(b, x, y), {0, 0, 0x000000u}, {1, 1, Sys(COLOR_BTNSHADOW)},
                       {73, 23, Sys(COLOR_BTNSHADOW)}, {2, 2, face});
  Send(b, WM_LBUTTONUP, 0, 10, 10);
  // Focused: the focus rectangle four pixels in, in the shadow colour's dots.
  EXPECT_TRUE(b->Focused());
  unsigned dots = 0;
  for (int x = 4; x < 71; ++x) dots += At(b, x, 4) != face;
  EXPECT_GT(dots, 20u);
  EXPECT_EQ(At(b, 3, 3), face) << "nothing between the frames and the focus rectangle";
  // Disabled and unfocused: the plain normal frame.
  MakePanel()->SetFocus();
  b->SetEnabled(false);
  HV_EXPECT_PIXEL_ROWS(unsigned, "disabled and unfocused", At(b, x, y), {0, 0, Sys(COLOR_BTNHIGHLIGHT)},
                       {74, 24, 0x000000u}, {37, 4, face});
}

TEST_F(PushButtonTest, TheKindsGlyphIsCentredInItsPartAndSwitchesCellWhenDisabled) {
  TClassicLook classic;
  auto* b = MakeButton(20, 20, 75, 25);
  b->SetKind(bkOK);
  b->SetColor(FromRGB(0x808080));
  // With no caption the block is the cell and the spacing: (26, 3, 48, 21),
  // the cell at (28, 3) in the middle of it.
  const TBitmap* strip = b->Glyph();
  TBitmap copy;
  copy.Assign(strip);
  copy.SetPixelFormat(pf32bit);
  auto cell = [&](int index, int x, int y) {
    return ColorToARGB(ARGBToColor(static_cast<const uint32_t*>(copy.ScanLine(y))[index * 18 + x])) & 0xFFFFFF;
  };
  const unsigned key = cell(0, 0, 17);
  int compared = 0;
  for (int y = 0; y < 18; ++y)
    for (int x = 0; x < 18; ++x) {
      if (cell(0, x, y) == key) continue;
      ASSERT_EQ(At(b, 28 + x, 3 + y), cell(0, x, y)) << x << "," << y;
      ++compared;
    }
  EXPECT_GT(compared, 20);
  EXPECT_EQ(At(b, 28, 3 + 17), 0x808080u) << "the key shows the face";
  b->SetEnabled(false);
  for (int y = 0; y < 18; ++y)
    for (int x = 0; x < 18; ++x)
      if (cell(1, x, y) != key) {
        ASSERT_EQ(At(b, 28 + x, 3 + y), cell(1, x, y)) << x << "," << y;
      }
}

// --- the visual-style face ---------------------------------------------------------------

TEST_F(PushButtonTest, TheVisualStyleFaceFollowsTheState) {
  if (!VisualStylesActive()) GTEST_SKIP() << "no visual style here";
  auto* b = MakeButton(20, 20, 75, 25);
  b->SetCaption("");
  auto differs = [&](int state) {
    auto shot = Snapshot(b->Handle());
    TSurface expected(75, 25, Rgb(ColorToRGB(form->Color())));
    HTHEME theme = VisualStyleApi().OpenThemeData(nullptr, L"Button");
    RECT r{0, 0, 75, 25};
    VisualStyleApi().DrawThemeBackground(theme, expected.DC(), 1, state, &r, nullptr);
    VisualStyleApi().CloseThemeData(theme);
    GdiFlush();
    return DifferentPixels(*shot, expected, Rect(0, 0, 75, 25));
  };
  EXPECT_EQ(differs(1), 0);
  b->SetDefault(true);
  EXPECT_EQ(differs(5), 0) << "acting as default";
  b->SetDefault(false);
  Send(b, WM_MOUSEMOVE, 0, 10, 10);
  EXPECT_EQ(differs(2), 0) << "hot";
  Send(b, WM_LBUTTONDOWN, MK_LBUTTON, 10, 10);
  EXPECT_EQ(differs(3), 0) << "pressed";
  Send(b, WM_LBUTTONUP, 0, 10, 10);
  Send(b, WM_MOUSELEAVE, 0, 0, 0);
  b->SetEnabled(false);
  EXPECT_EQ(differs(4), 0) << "disabled";
}

}  // namespace
}  // namespace hv::test
