// Group boxes and radio groups on real windows: frames as pixels, the check
// box option enabling the contents, radio buttons laid out and clicked.

#include <windows.h>

#include "framework/extctrls.h"
#include "framework/graphics.h"
#include "framework/strings.h"
#include "tests/support/pixel_rows.h"
#include "tests/theme/controls/box_test_support.h"
#include "theme/controls/checkbox.h"
#include "theme/controls/groupbox.h"
#include "theme/controls/radiogroup.h"

namespace hv::test {
namespace {

// The text height of a caption on a font, measured apart from the control.
int TextHeightOn(const TFont& font, const wchar_t* text) {
  TMemoryDC dc;
  TSelectObject select(dc, font.Handle());
  RECT r{};
  DrawTextW(dc, text, -1, &r, DT_CALCRECT);
  return r.bottom;
}

// A style that paints but has no group box.
class TNoGroupStyle : public TTeTheme {
  HV_THEME_CLASS(TNoGroupStyle, TTeTheme)

 public:
  static bool IsThemeAvailable() { return true; }
  static std::string GetName() { return "NoGroupTest"; }
  TColor GetColor(TTeThemeColor) const override { return static_cast<TColor>(0x335577); }
};

class GroupBoxTest : public ControlTest {};

TEST_F(GroupBoxTest, PlainEtchedFrameLeavesTheCaptionsGapOpen) {
  TClassicLook classic;
  auto* box = Make<TTeCustomGroupBox>(10, 10, 200, 100);
  box->SetCaption("Group");
  const int h = TextHeightOn(*box->Font(), L"Group");
  const int top = h / 2 + 1;
  EXPECT_EQ(box->GetFrameRect(), (TRect{3, top, 198, 98}));
  const TRect c = box->CaptionRect();
  EXPECT_EQ(c.left, 9) << "CaptionMargin 12 less the 3 pixels of room";

  auto shot = Snapshot(box->Handle());
  const uint32_t light = Rgb(ColorToRGB(clBtnHighlight)), dark = Rgb(ColorToRGB(clBtnShadow)),
                 face = Rgb(ColorToRGB(clBtnFace));
  HV_EXPECT_PIXEL_ROWS(unsigned, "the etched frame", shot->At(x, y), {3, top, light},
                       {5, top - 1, dark, "the dark line lies one up and left"}, {c.left - 1, top, light},
                       {c.left + 1, top, face, "the gap"}, {c.left + 1, top - 1, face}, {c.right + 1, top, light},
                       {198, 50, light, "right edge"}, {197, 50, dark}, {100, 98, light, "bottom edge"},
                       {100, 97, dark}, {3, 50, light, "left edge"}, {2, 50, dark},
                       {100, 50, face, "inside, filled with Color"}, {199, 50, face, "outside the frame"});

  box->SetCaption("");
  const int emptyTop = box->GetFrameRect().top;
  shot = Snapshot(box->Handle());
  EXPECT_EQ(shot->At(13, emptyTop), light) << "an empty caption leaves no gap";
  EXPECT_EQ(shot->At(13, emptyTop - 1), dark);
}

TEST_F(GroupBoxTest, ATransparentBoxInATransparentBoxShowsTheForm) {
  TClassicLook classic;
  const TColor formColor = static_cast<TColor>(0x604020);  // RGB 0x204060
  form->SetColor(formColor);
  auto* box = Make<TTeCustomGroupBox>(10, 10, 200, 100);
  box->SetTransparent(true);
  auto* check = Make<TTeCustomCheckBox>(20, 40, 98, 20, box);
  ASSERT_TRUE(check->Transparent());
  auto shot = Snapshot(check->Handle());
  // Above and below the mark, and right of a short caption, the check box
  // shows what lies under both boxes.
  HV_EXPECT_PIXEL_ROWS(unsigned, "under both boxes", shot->At(x, y), {5, 0, 0x204060u}, {5, 18, 0x204060u},
                       {95, 1, 0x204060u});
  auto boxShot = Snapshot(box->Handle());
  EXPECT_EQ(boxShot->At(100, 60), 0x204060u) << "the box itself lets the form through";
  EXPECT_EQ(boxShot->At(3, 60), Rgb(ColorToRGB(clBtnHighlight))) << "and draws its frame over it";

  // An opaque box is what its children show.
  box->SetTransparent(false);
  shot = Snapshot(check->Handle());
  EXPECT_EQ(shot->At(5, 0), Rgb(ColorToRGB(box->Color())));
}

TEST_F(GroupBoxTest, ThemedFrameAndFaceComeFromTheStyle) {
  TTeThemeEngine* engine = MakeEngine("MetalLuna");
  auto* box = Make<TTeThemeGroupBox>(10, 10, 200, 100);
  box->SetCaption("Group");
  box->SetThemeEngine(engine);
  TTeTheme& theme = *engine->Theme();
  const uint32_t frame = Rgb(theme.GetColor(ktcFrame)), face = Rgb(theme.GetColor(ktcFace));
  ASSERT_NE(frame, face);
  const TRect r = box->GetFrameRect();
  auto shot = Snapshot(box->Handle());
  HV_EXPECT_PIXEL_ROWS(unsigned, "the style's frame", shot->At(x, y), {r.left, 50, frame}, {r.right, 50, frame},
                       {100, r.bottom, frame}, {r.left + 2, r.top, frame},
                       {r.left, r.top, face, "Metal Luna rounds the corners"},
                       {box->CaptionRect().left + 1, r.top, face, "the caption's gap"}, {100, 50, face});

  // The same box without its engine paints the plain etched frame.
  TClassicLook classic;
  engine->Free();
  EXPECT_EQ(box->ThemeEngine(), nullptr);
  shot = Snapshot(box->Handle());
  EXPECT_EQ(shot->At(r.left, 50), Rgb(ColorToRGB(clBtnHighlight)));
  EXPECT_EQ(shot->At(r.left - 1, 50), Rgb(ColorToRGB(clBtnShadow)));
}

TEST_F(GroupBoxTest, AStyleWithoutAGroupBoxLeavesThePlainFrameOnItsFace) {
  TClassicLook classic;
  TTeThemeEngine* engine = MakeEngine("MetalLuna");
  engine->SetTheme(std::make_unique<TNoGroupStyle>());
  auto* box = Make<TTeThemeGroupBox>(10, 10, 200, 100);
  box->SetThemeEngine(engine);
  const TRect r = box->GetFrameRect();
  auto shot = Snapshot(box->Handle());
  HV_EXPECT_PIXEL_ROWS(unsigned, "face and plain frame", shot->At(x, y), {100, 50, 0x775533u, "the style's face"},
                       {r.left, 50, Rgb(ColorToRGB(clBtnHighlight)), "the plain frame"},
                       {r.left - 1, 50, Rgb(ColorToRGB(clBtnShadow))});
}

TEST_F(GroupBoxTest, ClientAreaStartsBelowTheCaption) {
  auto* box = Make<TTeCustomGroupBox>(10, 10, 200, 100);
  box->SetCaption("Group");
  const int h = TextHeightOn(*box->Font(), L"Group");
  EXPECT_EQ(box->ClientRect(), (TRect{0, h, 200, 100}));
  auto* panel = Make<TPanel>(0, 0, 50, 50, box);
  panel->SetAlign(TAlign::alClient);
  EXPECT_EQ(panel->BoundsRect(), (TRect{0, h, 200, 100})) << "aligned children fill what is below the caption";
  box->SetUseCheckBox(true);
  ASSERT_NE(box->CheckBox(), nullptr);
  EXPECT_EQ(box->ClientRect().top, box->CheckBox()->Height()) << "with a check box, below the check box";
  EXPECT_EQ(panel->Top(), box->CheckBox()->Height());
}

TEST_F(GroupBoxTest, UncheckedCheckBoxDisablesEveryChildButItself) {
  TTeThemeEngine* engine = MakeEngine("MetalLuna");
  auto* box = Make<TTeThemeGroupBox>(10, 10, 200, 120);
  box->SetThemeEngine(engine);
  auto* panel = Make<TPanel>(10, 40, 50, 30, box);
  auto* inner = Make<TTeCustomCheckBox>(10, 80, 90, 20, box);
  box->SetCaption("Options");
  box->SetUseCheckBox(true);
  TTeCustomCheckBox* check = box->CheckBox();
  ASSERT_NE(check, nullptr);
  EXPECT_TRUE(box->UseCheckBox());
  EXPECT_EQ(check->Parent(), box);
  EXPECT_EQ(check->Caption(), "Options");
  EXPECT_EQ(check->Left(), 12);
  EXPECT_EQ(check->Top(), 0);
  EXPECT_TRUE(check->Checked());
  auto* themedCheck = dynamic_cast<TTeThemeCheckBox*>(check);
  ASSERT_NE(themedCheck, nullptr) << "a themed box makes a themed check box";
  EXPECT_EQ(themedCheck->ThemeEngine(), engine);

  box->SetChecked(false);
  EXPECT_FALSE(check->Checked());
  EXPECT_FALSE(panel->Enabled());
  EXPECT_FALSE(inner->Enabled());
  EXPECT_FALSE(IsWindowEnabled(inner->Handle()));
  EXPECT_TRUE(check->Enabled()) << "the check box stays usable";
  EXPECT_TRUE(box->Enabled()) << "a box with a check box reports enabled";
  EXPECT_TRUE(IsWindowEnabled(box->Handle()));
  box->SetEnabled(false);
  EXPECT_TRUE(box->Enabled());

  // The user ticks the box: a real click on the check box's window.
  int clicks = 0, checkClicks = 0;
  box->OnClick = [&](TObject*) { ++clicks; };
  box->OnCheckBoxClick = [&](TObject* sender) {
    EXPECT_EQ(sender, box);
    ++checkClicks;
  };
  Send(check, WM_LBUTTONDOWN, MK_LBUTTON, 4, 8);
  Send(check, WM_LBUTTONUP, 0, 4, 8);
  EXPECT_TRUE(check->Checked());
  EXPECT_TRUE(box->Checked());
  EXPECT_TRUE(panel->Enabled());
  EXPECT_TRUE(inner->Enabled());
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(checkClicks, 1);

  // Without the option the box's own enabled state goes to its children.
  box->SetUseCheckBox(false);
  EXPECT_EQ(box->CheckBox(), nullptr);
  EXPECT_FALSE(box->UseCheckBox());
  box->SetEnabled(false);
  EXPECT_FALSE(box->Enabled());
  EXPECT_FALSE(panel->Enabled());
  EXPECT_FALSE(IsWindowEnabled(box->Handle()));
}

TEST_F(GroupBoxTest, CheckBoxWidthFollowsCaptionMarginAndIsCutToTheBox) {
  auto* box = Make<TTeCustomGroupBox>(10, 10, 120, 80);
  box->SetUseCheckBox(true);
  TTeCustomCheckBox* check = box->CheckBox();
  box->SetCaption("A caption much longer than the group box could ever hold");
  EXPECT_EQ(check->Width(), 120 - 12 - 2);
  box->SetCaptionMargin(20);
  EXPECT_EQ(check->Left(), 20);
  EXPECT_EQ(check->Width(), 120 - 20 - 2);
  box->SetWidth(200);
  EXPECT_EQ(check->Width(), 200 - 20 - 2) << "a size change measures again";

  box->SetCaption("Go");
  const TSize text = MeasureCaption(*check->PaintFont(), "Go");
  EXPECT_EQ(check->Width(), 13 + 5 + text.cx + 6);
  box->SetCheckBoxAlignment(ktaRightJustify);
  EXPECT_EQ(check->Alignment(), ktaRightJustify);
  EXPECT_EQ(box->CheckBoxAlignment(), ktaRightJustify);
}

TEST_F(GroupBoxTest, AcceleratorFocusesTheFirstChild) {
  auto* box = Make<TTeCustomGroupBox>(10, 10, 200, 100);
  box->SetCaption("&Options");
  auto* first = Make<TTeCustomCheckBox>(10, 30, 90, 20, box);
  Make<TTeCustomCheckBox>(10, 60, 90, 20, box);
  EXPECT_EQ(box->Perform(CM_DIALOGCHAR, 'q'), 0);
  EXPECT_EQ(box->Perform(CM_DIALOGCHAR, 'o'), 1);
  EXPECT_TRUE(first->Focused());
}

TEST_F(GroupBoxTest, RadioGroupLaysOutSevenItemsInThreeColumns) {
  auto* group = Make<TTeThemeRadioGroup>(10, 10, 190, 110);
  group->SetColumns(3);
  for (const char* item : {"one", "two", "three", "four", "five", "six", "seven"}) group->Items()->Add(item);
  ASSERT_EQ(group->ButtonCount(), 7);
  TEXTMETRICW metrics{};
  {
    TMemoryDC dc;
    TSelectObject select(dc, group->Font()->Handle());
    GetTextMetricsW(dc, &metrics);
  }
  const std::vector<TRect> expected = RadioGroupButtonRects({.count = 7, .columns = 3, .width = 190, .height = 110,
                                                             .textHeight = metrics.tmHeight, .clientWidth = 190});
  for (int i = 0; i < 7; ++i) {
    EXPECT_EQ(group->Buttons(i)->BoundsRect(), expected[static_cast<size_t>(i)]) << i;
    EXPECT_TRUE(group->Buttons(i)->Visible());
    EXPECT_EQ(group->Buttons(i)->Parent(), group);
  }
  EXPECT_EQ(group->Buttons(3)->Left(), group->Buttons(0)->Left() + 60) << "columns of (190 - 10) div 3";
  EXPECT_EQ(group->Buttons(6)->Top(), group->Buttons(0)->Top()) << "the last column holds one button at the top";
  EXPECT_EQ(group->Buttons(4)->Caption(), "five");

  group->SetColumns(0);
  EXPECT_EQ(group->Columns(), 1);
  group->SetColumns(40);
  EXPECT_EQ(group->Columns(), 16);
}

TEST_F(GroupBoxTest, RadioGroupItemIndexClicksAndItemChanges) {
  TTeThemeEngine* engine = MakeEngine("Luna");
  auto* group = Make<TTeThemeRadioGroup>(10, 10, 150, 120);
  group->SetThemeEngine(engine);
  group->Items()->SetText("red\ngreen\nblue");
  EXPECT_EQ(group->Buttons(2)->ThemeEngine(), engine) << "the buttons paint through the group's engine";
  int clicks = 0;
  group->OnClick = [&](TObject*) { ++clicks; };
  group->SetItemIndex(99);
  EXPECT_EQ(group->ItemIndex(), 2);
  EXPECT_TRUE(group->Buttons(2)->Checked());
  EXPECT_EQ(clicks, 0) << "setting the index is not a click";

  TTeThemeGroupButton* green = group->Buttons(1);
  Send(green, WM_LBUTTONDOWN, MK_LBUTTON, 4, 4);
  Send(green, WM_LBUTTONUP, 0, 4, 4);
  EXPECT_EQ(group->ItemIndex(), 1);
  EXPECT_TRUE(green->Checked());
  EXPECT_FALSE(group->Buttons(2)->Checked());
  EXPECT_TRUE(green->Focused());
  EXPECT_EQ(clicks, 1);

  group->SetItemIndex(-5);
  EXPECT_EQ(group->ItemIndex(), -1);
  EXPECT_FALSE(green->Checked());

  group->SetItemIndex(2);
  group->Items()->Delete(2);
  EXPECT_EQ(group->ButtonCount(), 2);
  EXPECT_EQ(group->ItemIndex(), 1) << "clamped to the last item";
  EXPECT_TRUE(group->Buttons(1)->Checked());

  group->SetEnabled(false);
  EXPECT_FALSE(group->Buttons(0)->Enabled());

  engine->Free();
  EXPECT_EQ(group->ThemeEngine(), nullptr);
  EXPECT_EQ(group->Buttons(0)->ThemeEngine(), nullptr);
}

}  // namespace
}  // namespace hv::test
