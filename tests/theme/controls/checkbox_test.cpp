// Check boxes and radio buttons on real windows: mouse, keys and
// accelerators through real messages, marks read back as pixels.

#include <windows.h>

#include "framework/graphics.h"
#include "tests/theme/controls/box_test_support.h"
#include "theme/controls/checkbox.h"
#include "theme/controls/radiobutton.h"

namespace hv::test {
namespace {

// A style that paints but has neither marks nor their sizes.
class TNoMarkStyle : public TTeTheme {
  HV_THEME_CLASS(TNoMarkStyle, TTeTheme)

 public:
  static bool IsThemeAvailable() { return true; }
  static std::string GetName() { return "NoMarkTest"; }
};

class CheckBoxTest : public ControlTest {
 protected:
  // The mark's columns as the control shows them and as the reference
  // drawing gives them, over the form's background.
  int MarkDifference(TWinControl* control, const std::function<void(TCanvas&)>& reference, const TRect& area) {
    auto shot = Snapshot(control->Handle());
    // A see-through control shows its form's colour, which an engine sets.
    TSurface expected(shot->Width(), shot->Height(), Rgb(ColorToRGB(form->Color())));
    reference(expected.Canvas());
    return DifferentPixels(*shot, expected, area);
  }
  static std::function<void(TCanvas&)> Classic(TRect r, unsigned state) {
    return [r, state](TCanvas& canvas) {
      RECT rect{r.left, r.top, r.right, r.bottom};
      DrawFrameControl(canvas.Handle(), &rect, DFC_BUTTON, state);
    };
  }
};

TEST_F(CheckBoxTest, DefaultsOfBothKinds) {
  auto* check = TComponent::Create<TTeThemeCheckBox>(form);
  EXPECT_EQ(check->Width(), 98);
  EXPECT_EQ(check->Height(), 20);
  EXPECT_TRUE(check->Transparent());
  EXPECT_EQ(check->Performance(), kspDoubleBuffer);
  EXPECT_EQ(check->Caption(), "CheckBox");
  EXPECT_TRUE(check->TabStop());
  EXPECT_EQ(check->State(), cbUnchecked);
  EXPECT_EQ(check->Spacing(), 5);
  EXPECT_EQ(check->Alignment(), ktaLeftJustify);
  EXPECT_EQ(check->GetMarkSize(), (TSize{13, 13})) << "without a style";
  check->SetVersion("1.0");
  EXPECT_EQ(check->Version(), "3.1.5");

  auto* radio = TComponent::Create<TTeThemeRadioButton>(form);
  EXPECT_EQ(radio->Caption(), "RadioButton");
  EXPECT_FALSE(radio->TabStop());
  EXPECT_FALSE(radio->Checked());
  EXPECT_EQ(radio->Performance(), kspDoubleBuffer);
  EXPECT_EQ(radio->Version(), "3.1.5");
}

TEST_F(CheckBoxTest, TheMouseTogglesOnReleaseOverTheControlEdgesIncluded) {
  auto* check = Make<TTeCustomCheckBox>(10, 10, 98, 20);
  int clicks = 0;
  check->OnClick = [&](TObject* sender) {
    EXPECT_EQ(sender, check);
    ++clicks;
  };
  Send(check, WM_LBUTTONDOWN, MK_LBUTTON, 5, 5);
  EXPECT_TRUE(check->MarkPressed());
  EXPECT_TRUE(check->Focused()) << "a press takes the focus";
  EXPECT_EQ(GetCapture(), check->Handle());
  Send(check, WM_LBUTTONUP, 0, 5, 5);
  EXPECT_FALSE(check->MarkPressed());
  EXPECT_NE(GetCapture(), check->Handle());
  EXPECT_EQ(check->State(), cbChecked);
  EXPECT_EQ(clicks, 1);

  Send(check, WM_LBUTTONDOWN, MK_LBUTTON, 5, 5);
  Send(check, WM_LBUTTONUP, 0, 98, 20);
  EXPECT_EQ(check->State(), cbUnchecked) << "the right and bottom edges count";
  EXPECT_EQ(clicks, 2);

  Send(check, WM_LBUTTONDOWN, MK_LBUTTON, 5, 5);
  Send(check, WM_LBUTTONUP, 0, 99, 5);
  Send(check, WM_LBUTTONDOWN, MK_LBUTTON, 5, 5);
  Send(check, WM_LBUTTONUP, 0, 10, -1);
  EXPECT_EQ(check->State(), cbUnchecked) << "released outside: nothing changes";
  EXPECT_EQ(clicks, 2);
  EXPECT_FALSE(check->MarkPressed());

  Send(check, WM_RBUTTONDOWN, MK_RBUTTON, 5, 5);
  EXPECT_FALSE(check->MarkPressed()) << "only the left button presses the mark";
  Send(check, WM_RBUTTONUP, 0, 5, 5);
  EXPECT_EQ(check->State(), cbUnchecked);
}

TEST_F(CheckBoxTest, SpaceBarCyclesThroughGrayedAndStateSettersClickOnlyOnChange) {
  auto* check = Make<TTeCustomCheckBox>(10, 10, 98, 20);
  check->SetAllowGrayed(true);
  int clicks = 0;
  check->OnClick = [&](TObject*) { ++clicks; };
  const TCheckBoxState expected[] = {cbGrayed, cbChecked, cbUnchecked};
  for (TCheckBoxState state : expected) {
    Send(check, WM_KEYDOWN, VK_SPACE);
    EXPECT_TRUE(check->MarkPressed());
    Send(check, WM_KEYUP, VK_SPACE);
    EXPECT_FALSE(check->MarkPressed());
    EXPECT_EQ(check->State(), state);
  }
  EXPECT_EQ(clicks, 3);
  Send(check, WM_KEYDOWN, 'A');
  EXPECT_FALSE(check->MarkPressed()) << "other keys do not press the mark";

  check->SetState(cbUnchecked);
  EXPECT_EQ(clicks, 3) << "no change, no click";
  check->SetChecked(true);
  EXPECT_EQ(check->State(), cbChecked);
  EXPECT_EQ(clicks, 4);

  check->BeginLoading();
  check->SetState(cbGrayed);
  check->Loaded();
  EXPECT_EQ(clicks, 4) << "a layout being read fires no click";
  EXPECT_EQ(check->State(), cbGrayed);
}

TEST_F(CheckBoxTest, AcceleratorFocusesFirstAndTogglesWhenFocused) {
  auto* other = Make<TTeCustomCheckBox>(10, 40, 98, 20);
  auto* check = Make<TTeCustomCheckBox>(10, 10, 98, 20);
  check->SetCaption("&Enable");
  other->SetFocus();
  EXPECT_EQ(check->Perform(CM_DIALOGCHAR, 'x'), 0);
  EXPECT_EQ(check->Perform(CM_DIALOGCHAR, 'e'), 1);
  EXPECT_TRUE(check->Focused());
  EXPECT_EQ(check->State(), cbUnchecked) << "the first press only focuses";
  EXPECT_EQ(check->Perform(CM_DIALOGCHAR, 'E'), 1);
  EXPECT_EQ(check->State(), cbChecked);

  check->SetEnabled(false);
  EXPECT_EQ(check->Perform(CM_DIALOGCHAR, 'e'), 0) << "a disabled box does not answer";
  EXPECT_FALSE(IsWindowEnabled(check->Handle()));
}

TEST_F(CheckBoxTest, PlainMarksAreTheSystemsInEveryState) {
  TClassicLook classic;
  auto* check = Make<TTeCustomCheckBox>(10, 10, 98, 20);
  const TRect mark{0, 3, 13, 16};
  const TRect area{0, 0, 16, 20};
  EXPECT_EQ(check->MarkRect(), mark);
  EXPECT_EQ(MarkDifference(check, Classic(mark, DFCS_BUTTONCHECK), area), 0);
  check->SetState(cbChecked);
  EXPECT_EQ(MarkDifference(check, Classic(mark, DFCS_BUTTONCHECK | DFCS_CHECKED), area), 0);
  EXPECT_GT(MarkDifference(check, Classic(mark, DFCS_BUTTONCHECK), area), 0) << "checked shows differently";
  check->SetAllowGrayed(true);
  check->SetState(cbGrayed);
  EXPECT_EQ(MarkDifference(check, Classic(mark, DFCS_BUTTONCHECK | DFCS_CHECKED | DFCS_BUTTON3STATE), area), 0);
  check->SetState(cbChecked);
  check->SetEnabled(false);
  EXPECT_EQ(MarkDifference(check, Classic(mark, DFCS_BUTTONCHECK | DFCS_CHECKED | DFCS_INACTIVE), area), 0);

  check->SetEnabled(true);
  check->SetAlignment(ktaRightJustify);
  const TRect right{85, 3, 98, 16};
  EXPECT_EQ(check->MarkRect(), right);
  EXPECT_EQ(MarkDifference(check, Classic(right, DFCS_BUTTONCHECK | DFCS_CHECKED), {82, 0, 98, 20}), 0);
}

TEST_F(CheckBoxTest, ThemedMarksFollowHoverPressAndDisabledThroughTheStyle) {
  TTeThemeEngine* engine = MakeEngine("MetalLuna");
  auto* check = Make<TTeThemeCheckBox>(10, 10, 98, 20);
  check->SetThemeEngine(engine);
  TTeTheme& theme = *engine->Theme();
  const TSize size{theme.GetSize(ktsCheckWidth), theme.GetSize(ktsCheckHeight)};
  EXPECT_EQ(check->GetMarkSize(), size);
  const TRect mark = MarkRect(98, 20, size, true);
  const TRect area{0, 0, size.cx + 2, 20};
  auto themed = [&](TTeElementState state, TCheckBoxState value) {
    return [&, state, value](TCanvas& canvas) { theme.DrawCheckBox(canvas, mark, state, value); };
  };
  EXPECT_EQ(MarkDifference(check, themed(kesNormal, cbUnchecked), area), 0);

  Send(check, WM_MOUSEMOVE, 0, 4, 4);
  EXPECT_TRUE(check->MouseInControl());
  EXPECT_EQ(MarkDifference(check, themed(kesHot, cbUnchecked), area), 0);
  EXPECT_GT(MarkDifference(check, themed(kesNormal, cbUnchecked), area), 0) << "hot differs from normal";

  Send(check, WM_LBUTTONDOWN, MK_LBUTTON, 4, 4);
  EXPECT_EQ(MarkDifference(check, themed(kesPressed, cbUnchecked), area), 0);
  Send(check, WM_LBUTTONUP, 0, 4, 4);
  EXPECT_EQ(MarkDifference(check, themed(kesHot, cbChecked), area), 0);

  Send(check, WM_MOUSELEAVE);
  EXPECT_FALSE(check->MouseInControl());
  EXPECT_EQ(MarkDifference(check, themed(kesNormal, cbChecked), area), 0);
  check->SetEnabled(false);
  EXPECT_EQ(MarkDifference(check, themed(kesDisabled, cbChecked), area), 0);

  // Without the engine the box falls back to the system's mark.
  TClassicLook classic;
  check->SetEnabled(true);
  engine->Free();
  EXPECT_EQ(check->ThemeEngine(), nullptr);
  EXPECT_EQ(check->GetMarkSize(), (TSize{13, 13}));
  EXPECT_EQ(MarkDifference(check, Classic({0, 3, 13, 16}, DFCS_BUTTONCHECK | DFCS_CHECKED), {0, 0, 16, 20}), 0);
}

TEST_F(CheckBoxTest, RadioButtonsOfOneGroupUncheckEachOther) {
  TTeCustomRadioButton* radios[3];
  for (int i = 0; i < 3; ++i) radios[i] = Make<TTeCustomRadioButton>(10, 10 + 25 * i, 98, 20);
  auto* otherGroup = Make<TTeCustomRadioButton>(10, 90, 98, 20);
  otherGroup->SetGroupIndex(1);
  otherGroup->SetChecked(true);
  int clicks = 0;
  radios[1]->OnClick = [&](TObject*) { ++clicks; };

  radios[0]->SetChecked(true);
  EXPECT_TRUE(radios[0]->TabStop()) << "the checked button is the one Tab reaches";
  Send(radios[1], WM_LBUTTONDOWN, MK_LBUTTON, 5, 5);
  Send(radios[1], WM_LBUTTONUP, 0, 5, 5);
  EXPECT_FALSE(radios[0]->Checked());
  EXPECT_FALSE(radios[0]->TabStop());
  EXPECT_TRUE(radios[1]->Checked());
  EXPECT_FALSE(radios[2]->Checked());
  EXPECT_TRUE(otherGroup->Checked()) << "another group index is another group";
  EXPECT_EQ(clicks, 1);

  Send(radios[1], WM_LBUTTONDOWN, MK_LBUTTON, 5, 5);
  Send(radios[1], WM_LBUTTONUP, 0, 5, 5);
  EXPECT_EQ(clicks, 1) << "checking a checked button fires nothing";

  // Taking the focus checks a radio button, as the keyboard moves through them.
  radios[2]->SetFocus();
  EXPECT_TRUE(radios[2]->Checked());
  EXPECT_FALSE(radios[1]->Checked());

  Send(radios[0], WM_KEYDOWN, VK_SPACE);
  Send(radios[0], WM_KEYUP, VK_SPACE);
  EXPECT_TRUE(radios[0]->Checked());
  EXPECT_FALSE(radios[2]->Checked());
}

TEST_F(CheckBoxTest, AThemedRadioKeepsItsMarkAtTheLeftAPlainOneMovesIt) {
  TClassicLook classic;
  TTeThemeEngine* engine = MakeEngine("MetalLuna");
  auto* plain = Make<TTeCustomRadioButton>(10, 10, 98, 20);
  plain->SetAlignment(ktaRightJustify);
  plain->SetChecked(true);
  EXPECT_EQ(plain->MarkRect(), (TRect{85, 3, 98, 16}));
  EXPECT_EQ(MarkDifference(plain, Classic({85, 3, 98, 16}, DFCS_BUTTONRADIO | DFCS_CHECKED), {82, 0, 98, 20}), 0);

  auto* themed = Make<TTeThemeRadioButton>(10, 40, 98, 20);
  themed->SetThemeEngine(engine);
  themed->SetAlignment(ktaRightJustify);
  themed->SetChecked(true);
  TTeTheme& theme = *engine->Theme();
  const TRect mark = MarkRect(98, 20, {theme.GetSize(ktsRadioWidth), theme.GetSize(ktsRadioHeight)}, true);
  EXPECT_EQ(themed->MarkRect(), mark);
  EXPECT_EQ(MarkDifference(
                themed, [&](TCanvas& canvas) { theme.DrawRadioButton(canvas, mark, kesNormal, true); },
                {0, 0, mark.right + 1, 20}),
            0);
}

TEST_F(CheckBoxTest, WithAVisualStyleThePlainMarkTakesItsStateFromTheTable) {
  if (!VisualStylesActive()) GTEST_SKIP() << "no visual style is active on this system";
  auto* check = Make<TTeCustomCheckBox>(10, 10, 98, 20);
  const TRect mark{0, 3, 13, 16};
  auto styled = [&](int part, int state) {
    return [=](TCanvas& canvas) {
      const TVisualStyleApi& api = VisualStyleApi();
      HTHEME theme = api.OpenThemeData(nullptr, L"Button");
      RECT r{mark.left, mark.top, mark.right, mark.bottom};
      api.DrawThemeBackground(theme, canvas.Handle(), part, state, &r, nullptr);
      api.CloseThemeData(theme);
    };
  };
  const TRect area{0, 0, 16, 20};
  EXPECT_EQ(MarkDifference(check, styled(3, 1), area), 0);
  Send(check, WM_MOUSEMOVE, 0, 4, 4);
  Send(check, WM_LBUTTONDOWN, MK_LBUTTON, 4, 4);
  EXPECT_EQ(MarkDifference(check, styled(3, 3), area), 0) << "pressed";
  Send(check, WM_LBUTTONUP, 0, 4, 4);
  EXPECT_EQ(MarkDifference(check, styled(3, 6), area), 0) << "checked and hot";
  check->SetEnabled(false);
  EXPECT_EQ(MarkDifference(check, styled(3, 8), area), 0) << "checked and disabled";
  EXPECT_GT(MarkDifference(check, styled(3, 5), area), 0);

  auto* radio = Make<TTeCustomRadioButton>(10, 40, 98, 20);
  radio->SetChecked(true);
  EXPECT_EQ(MarkDifference(radio, styled(2, 5), area), 0);
}

TEST_F(CheckBoxTest, AStyleWithoutMarksLeavesThePlainOnes) {
  TClassicLook classic;
  TTeThemeEngine* engine = MakeEngine("MetalLuna");
  engine->SetTheme(std::make_unique<TNoMarkStyle>());
  auto* check = Make<TTeThemeCheckBox>(10, 10, 98, 20);
  check->SetThemeEngine(engine);
  check->SetChecked(true);
  EXPECT_EQ(check->GetMarkSize(), (TSize{13, 13}));
  EXPECT_EQ(MarkDifference(check, Classic({0, 3, 13, 16}, DFCS_BUTTONCHECK | DFCS_CHECKED), {0, 0, 16, 20}), 0);
  auto* radio = Make<TTeThemeRadioButton>(10, 40, 98, 20);
  radio->SetThemeEngine(engine);
  EXPECT_EQ(MarkDifference(radio, Classic({0, 3, 13, 16}, DFCS_BUTTONRADIO), {0, 0, 16, 20}), 0);
}

}  // namespace
}  // namespace hv::test
