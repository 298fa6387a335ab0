#include "theme/styles/highlight.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <memory>

#include "framework/control.h"
#include "tests/theme/core/draw_test_support.h"
#include "theme/core/colors.h"
#include "theme/core/rects.h"
#include "theme/core/themeitems.h"
#include "theme/core/themelibrary.h"
#include "theme/styles/highlight_tables.h"

namespace hv {
namespace {

using test::Rgb;
using test::TSurface;

// A surface colour no element of these styles paints.
constexpr uint32_t kBack = 0x123456;


class HighlightTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { StartThemeLibrary({.registerStyles = &RegisterHighlightStyles}); }
  static void TearDownTestSuite() { FinishThemeLibrary(); }

  // A colour kind of the style as the surface reads it back.
  uint32_t C(TTeThemeColor kind) const { return Rgb(theme_.GetColor(kind)); }
  uint32_t Light(TTeThemeColor kind, int n) const { return Rgb(Lighten(theme_.GetColor(kind), n)); }
  uint32_t Dark(TTeThemeColor kind, int n) const { return Rgb(Darken(theme_.GetColor(kind), n)); }

  TTeThemeHighlight theme_;
};

int CountOf(TSurface& s, const TRect& r, uint32_t rgb) {
  int n = 0;
  for (int y = r.top; y < r.bottom; ++y)
    for (int x = r.left; x < r.right; ++x) n += s.At(x, y) == rgb;
  return n;
}

bool AllBack(TSurface& s) { return CountOf(s, {0, 0, s.Width(), s.Height()}, kBack) == s.Width() * s.Height(); }

// --- registry and tables -----------------------------------------------------------------

TEST_F(HighlightTest, BothStylesRegisterBetweenFlatAndLuna) {
  EXPECT_EQ(FindThemeClass("Highlight"), ThemeClassOf<TTeThemeHighlight>());
  EXPECT_EQ(FindThemeClass("Lines"), ThemeClassOf<TTeThemeLines>());
  EXPECT_EQ(FindThemeClass("lines"), nullptr);
  int highlight = -1, lines = -1, none = -1;
  for (int i = 0; i < ThemeClassCount(); ++i) {
    if (ThemeClasses(i) == ThemeClassOf<TTeThemeHighlight>()) highlight = i;
    if (ThemeClasses(i) == ThemeClassOf<TTeThemeLines>()) lines = i;
    if (ThemeClasses(i) == ThemeClassOf<TTeTheme>()) none = i;
  }
  EXPECT_GE(highlight, 0);
  EXPECT_EQ(lines, highlight + 1);
  EXPECT_GT(none, lines);
  std::unique_ptr<TTeTheme> created = ThemeClassOf<TTeThemeLines>()->Create();
  EXPECT_EQ(created->ClassName(), "TTeThemeLines");
  EXPECT_NE(dynamic_cast<TTeThemeHighlight*>(created.get()), nullptr) << "Lines is Highlight with differences";
  EXPECT_TRUE(ThemeClassOf<TTeThemeHighlight>()->IsThemeAvailable());
  EXPECT_TRUE(created->HasCaptionShadow());
}

TEST_F(HighlightTest, SizesAndFontsOfBothStyles) {
  const int expected[30] = {4, 4, 26, 20, 10, 20, 16, 14, 12, 7, 7, 1, 6, 6, 23,
                            17, 13, 13, 13, 13, 11, 22, 4, 22, 17, 17, 1, 21, 15, 11};
  TTeThemeLines lines;
  for (int kind = 0; kind < 30; ++kind) {
    EXPECT_EQ(theme_.GetSize(static_cast<TTeThemeSize>(kind)), expected[kind]) << kind;
    EXPECT_EQ(lines.GetSize(static_cast<TTeThemeSize>(kind)), expected[kind]) << kind;
  }
  for (int kind : {30, 31, 255}) EXPECT_EQ(theme_.GetSize(static_cast<TTeThemeSize>(kind)), 0) << kind;
  EXPECT_EQ(highlight::SizeOf(-1), 0);
  for (int kind = 0; kind <= 5; ++kind) {
    const auto font = static_cast<TTeThemeFont>(kind);
    EXPECT_EQ(theme_.GetFontName(font), "Tahoma");
    EXPECT_EQ(theme_.GetFontSize(font), kind == 0 ? 9 : 8) << kind;
    EXPECT_EQ(theme_.GetFontStyle(font), kind <= 1 ? TFontStyles{fsBold} : TFontStyles{}) << kind;
  }
}

TEST_F(HighlightTest, ColourTablesOfBothStyles) {
  TTeThemeLines lines;
  const TColor fallback = SysColorToRGB(kFallbackColor);
  struct TRow {
    int kind;
    uint32_t highlight, lines;  // 0xRRGGBB; 0xFF000000 + n: system colour n (Highlight) or its copy (Lines)
  };
  constexpr uint32_t kSys = 0xFF000000u;
  const TRow rows[] = {
      {0, kSys + 2, 0x64A0FF},  {1, kSys + 3, kSys + 16}, {2, 0x000000, 0x000000}, {3, 0xFFFFFF, 0xFFFFFF},
      {5, 0xFFFFFF, 0xFFFFFF},  {6, kSys + 5, kSys + 5},  {7, 0x003399, 0x003399}, {8, 0x64A0FF, 0x64A0FF},
      {9, 0xFEFEFB, 0xFEFEFB},  {10, 0xC5C5B1, 0xC5C5B1}, {11, kSys + 15, kSys + 15}, {12, 0xF8C751, 0xF8C751},
      {13, 0x003399, 0x003399}, {14, kSys + 15, kSys + 5}, {15, 0x64A0FF, 0x64A0FF}, {16, kSys + 15, kSys + 5},
      {17, 0x64A0FF, 0x64A0FF}, {18, 0, 0},               {19, 0xFFFFFF, 0xFFFFFF}, {20, 0, 0},
      {21, 0xFFFFFF, 0xFFFFFF}, {22, 0x808080, 0x808080}, {23, 0, 0},               {24, 0x95CEFF, 0x95CEFF},
      {25, 0x316AC5, 0x316AC5},
  };
  auto expect = [](uint32_t v) -> uint32_t {
    if (v < kSys) return v;
    return Rgb(SysColorToRGB(static_cast<TColor>(clSystemColor | (v - kSys))));
  };
  for (const TRow& row : rows) {
    const auto kind = static_cast<TTeThemeColor>(row.kind);
    EXPECT_EQ(Rgb(theme_.GetColor(kind)), expect(row.highlight)) << row.kind;
    EXPECT_EQ(Rgb(lines.GetColor(kind)), expect(row.lines)) << row.kind;
  }
  for (int kind : {4, 26, 27, 100, 255}) {
    EXPECT_EQ(theme_.GetColor(static_cast<TTeThemeColor>(kind)), fallback) << kind;
    EXPECT_EQ(lines.GetColor(static_cast<TTeThemeColor>(kind)), fallback) << kind;
  }
  EXPECT_EQ(highlight::BaseColor(highlight::kLinesColors, -1), kFallbackColor);
}

TEST_F(HighlightTest, LinesKeepsTheSystemColoursOfTheStartWhileHighlightFollowsThem) {
  TTeThemeLines lines;
  const TColor windowAtStart = lines.GetColor(ktcWindow), shadowAtStart = lines.GetColor(ktcInactiveCaption);
  const TColor faceAtStart = lines.GetColor(ktcFace);
  SetSysColorLookup([](int index) -> TColor { return index == 2 ? 0x00010203 : 0x00405060 + index; });
  EXPECT_EQ(lines.GetColor(ktcActiveCaption), static_cast<TColor>(0xFFA064)) << "0x64A0FF whatever the caption";
  EXPECT_EQ(lines.GetColor(ktcWindow), windowAtStart);
  EXPECT_EQ(lines.GetColor(ktcMenu), windowAtStart);
  EXPECT_EQ(lines.GetColor(ktcFace), faceAtStart);
  EXPECT_EQ(lines.GetColor(ktcInactiveCaption), shadowAtStart);
  EXPECT_EQ(theme_.GetColor(ktcActiveCaption), static_cast<TColor>(0x00010203));
  EXPECT_EQ(theme_.GetColor(ktcWindow), static_cast<TColor>(0x00405065));
  EXPECT_EQ(theme_.GetColor(ktcMenu), static_cast<TColor>(0x0040506F));
  // The library's own lookup back.
  FinishThemeLibrary();
  StartThemeLibrary({.registerStyles = &RegisterHighlightStyles});
}

TEST_F(HighlightTest, ColoursPassTheTintPipeline) {
  theme_.SetDeltaBrightness(10);
  EXPECT_EQ(Rgb(theme_.GetColor(ktcFrame)), 0x0A3DA3u) << "navy 0x003399 brightened by 10";
  EXPECT_EQ(Rgb(theme_.GetColor(ktcHotFace)), 0xFFD15Bu) << "orange clamped at 255";
  theme_.SetDeltaBrightness(0);
  theme_.SetDeltaHue(85);
  EXPECT_NE(Rgb(theme_.GetColor(ktcFrame)), 0x003399u);
}

// --- window ---------------------------------------------------------------------------

TEST_F(HighlightTest, FormRegionIsOneLargerRoundRectForEveryBorderStyle) {
  for (TTeBorderStyle style : {kbsNone, kbsStandard, kbsToolWindow}) {
    HRGN region = theme_.GetFormRegion(300, 200, style);
    ASSERT_NE(region, nullptr);
    HRGN expected = CreateRoundRectRgn(0, 0, 301, 201, 3, 3);
    EXPECT_TRUE(EqualRgn(region, expected)) << style;
    EXPECT_TRUE(PtInRegion(region, 150, 100));
    EXPECT_TRUE(PtInRegion(region, 150, 0));
    EXPECT_TRUE(PtInRegion(region, 299, 100));
    EXPECT_FALSE(PtInRegion(region, 302, 100));
    EXPECT_FALSE(PtInRegion(region, 150, 202));
    DeleteObject(expected);
    DeleteObject(region);
  }
}

// A 120 x 80 window with a 4-pixel border and a 26-pixel caption: the band
// is (4, 4, 116, 26).
constexpr TRect kClient{4, 26, 116, 76};

TEST_F(HighlightTest, HighlightFrameIsAGradientBandInsideDoubleBevels) {
  TSurface s(120, 80, kBack);
  theme_.DrawFormFrame(s.Canvas(), 120, 80, kClient, true, kbsStandard);
  // The outer outline and the bevels, on the left, right and bottom.
  EXPECT_EQ(s.At(0, 40), C(ktcFrame));
  EXPECT_EQ(s.At(119, 40), C(ktcFrame));
  EXPECT_EQ(s.At(60, 79), C(ktcFrame));
  EXPECT_EQ(s.At(1, 40), Light(ktcFace, 30));
  EXPECT_EQ(s.At(118, 40), Dark(ktcFace, 30));
  EXPECT_EQ(s.At(60, 78), Dark(ktcFace, 30));
  EXPECT_EQ(s.At(2, 40), Light(ktcFace, 15));
  EXPECT_EQ(s.At(117, 40), Dark(ktcFace, 15));
  EXPECT_EQ(s.At(3, 40), C(ktcFace));
  EXPECT_EQ(s.At(116, 40), C(ktcFace));
  EXPECT_EQ(s.At(60, 76), C(ktcFace));
  // The band's own outline, then the gradient from the caption colour.
  EXPECT_EQ(s.At(4, 15), C(ktcFrame));
  EXPECT_EQ(s.At(115, 15), C(ktcFrame));
  EXPECT_EQ(s.At(60, 4), C(ktcFrame));
  EXPECT_EQ(s.At(60, 25), C(ktcFrame));
  const auto bands = GradientBands({4, 4, 116, 26}, theme_.GetColor(ktcActiveCaption), 0xC8C8C8, false);
  for (int x : {5, 60, 114}) {
    for (const TGradientBand& band : bands) {
      if (band.rect.Contains({x, 15})) {
        EXPECT_EQ(s.At(x, 15), Rgb(band.color)) << x;
      }
    }
  }
  EXPECT_EQ(s.At(60, 50), kBack) << "the client area is not the frame's";

  theme_.DrawFormFrame(s.Canvas(), 120, 80, kClient, false, kbsStandard);
  const auto inactive = GradientBands({4, 4, 116, 26}, theme_.GetColor(ktcInactiveCaption), 0xC8C8C8, false);
  EXPECT_EQ(s.At(5, 15), Rgb(inactive[1].color));
}

TEST_F(HighlightTest, LinesCaptionIsRuledEveryThirdRowOfTheWindow) {
  TTeThemeLines lines;
  TSurface s(120, 80, kBack);
  lines.DrawFormFrame(s.Canvas(), 120, 80, kClient, true, kbsStandard);
  const uint32_t rule = Rgb(SysColorToRGB(clBtnShadow)), band = 0x64A0FF;
  // Rows 6, 9 ... 24 inside the band carry the rules; the rows between are
  // the caption colour.
  for (int y = 5; y <= 24; ++y) EXPECT_EQ(s.At(60, y), y % 3 == 0 ? rule : band) << y;
  EXPECT_EQ(s.At(5, 9), rule);
  EXPECT_EQ(s.At(114, 9), rule);
  // Rows 0 and 3 lie under the frame, rows 27 ... 39 in the client area.
  EXPECT_EQ(s.At(60, 0), Rgb(lines.GetColor(ktcFrame)));
  EXPECT_EQ(s.At(60, 3), Rgb(lines.GetColor(ktcFace)));
  for (int y : {27, 30, 33, 36, 39}) EXPECT_EQ(s.At(60, y), kBack) << y;
  // The same frame as Highlight around it.
  EXPECT_EQ(s.At(60, 4), Rgb(lines.GetColor(ktcFrame)));
  EXPECT_EQ(s.At(1, 40), Rgb(Lighten(lines.GetColor(ktcFace), 30)));
  EXPECT_EQ(s.At(2, 40), Rgb(Lighten(lines.GetColor(ktcFace), 15)));

  lines.DrawFormFrame(s.Canvas(), 120, 80, kClient, false, kbsToolWindow);
  EXPECT_EQ(s.At(60, 7), Rgb(lines.GetColor(ktcInactiveCaption)));
}

TEST_F(HighlightTest, CaptionButtonFacesByState) {
  const TRect r{0, 0, 20, 16};
  struct TCase {
    bool hot, pressed;
    TTeThemeColor face;
  };
  for (const TCase& c : {TCase{false, false, ktcFace}, TCase{true, false, ktcHotFace},
                         TCase{false, true, ktcSelection}, TCase{true, true, ktcSelection}}) {
    TSurface s(20, 16, kBack);
    theme_.DrawCaptionButton(s.Canvas(), r, kcbClose, c.hot, c.pressed, true, kbsStandard);
    EXPECT_EQ(s.At(0, 5), C(ktcFrame));
    EXPECT_EQ(s.At(10, 0), C(ktcFrame));
    EXPECT_EQ(s.At(1, 5), c.pressed ? Dark(c.face, 30) : Light(c.face, 30)) << c.hot << c.pressed;
    EXPECT_EQ(s.At(10, 1), c.pressed ? Dark(c.face, 30) : Light(c.face, 30));
    EXPECT_EQ(s.At(2, 2), C(c.face));
  }
}

TEST_F(HighlightTest, CaptionButtonMarks) {
  const TRect r{0, 0, 20, 16};
  TSurface s(20, 16, kBack);
  // The tray dot: R shrunk by 5 and moved down 2, and by (1, 1) more when pressed.
  theme_.DrawCaptionButton(s.Canvas(), r, kcbTray, false, false, true, kbsStandard);
  EXPECT_EQ(s.At(10, 10), 0u);
  EXPECT_EQ(s.At(10, 6), C(ktcFace)) << "above the dot";
  // Roll up: a black triangle pointing up, in R shrunk by (4, 5) and moved by (-1, -1).
  theme_.DrawCaptionButton(s.Canvas(), r, kcbRollup, false, false, true, kbsStandard);
  EXPECT_EQ(s.At(9, 9), 0u);
  EXPECT_EQ(s.At(4, 5), C(ktcFace)) << "beside the apex";
  // Beyond the tray only the face.
  for (int kind : {8, 255}) {
    TSurface plain(20, 16, kBack);
    theme_.DrawCaptionButton(plain.Canvas(), r, static_cast<TTeCaptionButton>(kind), true, false, true,
                             kbsStandard);
    EXPECT_EQ(CountOf(plain, {2, 2, 18, 14}, C(ktcHotFace)), 16 * 12) << kind;
  }
}

// --- buttons ----------------------------------------------------------------------------

TEST_F(HighlightTest, PushButtonInEveryState) {
  struct TCase {
    int state;
    TTeThemeColor face;
  };
  for (const TCase& c : {TCase{0, ktcFace}, TCase{1, ktcHotFace}, TCase{4, ktcSelection}, TCase{5, ktcSelection},
                         TCase{6, ktcFace}, TCase{255, ktcFace}}) {
    TSurface s(40, 20, kBack);
    theme_.DrawButton(s.Canvas(), 40, 20, static_cast<uint8_t>(c.state));
    EXPECT_EQ(s.At(0, 10), C(ktcFrame)) << c.state;
    EXPECT_EQ(s.At(1, 10), Light(c.face, 30)) << c.state;
    EXPECT_EQ(s.At(20, 1), Light(c.face, 30));
    EXPECT_EQ(s.At(38, 10), Dark(c.face, 30));
    EXPECT_EQ(s.At(38, 1), Dark(c.face, 30));
    EXPECT_EQ(s.At(20, 18), Dark(c.face, 30));
    EXPECT_EQ(s.At(38, 18), C(ktcFrame)) << "the corner neither line reaches";
    EXPECT_EQ(s.At(2, 10), Light(c.face, 10));
    EXPECT_EQ(s.At(37, 10), Dark(c.face, 10));
    EXPECT_EQ(s.At(20, 10), C(c.face));
  }
  TSurface pressed(40, 20, kBack);
  theme_.DrawButton(pressed.Canvas(), 40, 20, kesPressed);
  EXPECT_EQ(pressed.At(0, 10), C(ktcFrame));
  EXPECT_EQ(pressed.At(1, 10), Dark(ktcSelection, 30));
  EXPECT_EQ(pressed.At(38, 10), Light(ktcSelection, 30));
  EXPECT_EQ(pressed.At(38, 18), Light(ktcSelection, 30));
  EXPECT_EQ(pressed.At(2, 10), C(ktcSelection));

  TSurface disabled(40, 20, kBack);
  theme_.DrawButton(disabled.Canvas(), 40, 20, kesDisabled);
  EXPECT_EQ(disabled.At(0, 10), C(ktcDisabledFace));
  EXPECT_EQ(disabled.At(20, 19), C(ktcDisabledFace));
  EXPECT_EQ(CountOf(disabled, {1, 1, 39, 19}, kBack), 38 * 18) << "only the outline";
}

TEST_F(HighlightTest, CheckBoxFrameBevelAndMark) {
  const TRect r{0, 0, 13, 13};
  TSurface s(13, 13, kBack);
  theme_.DrawCheckBox(s.Canvas(), r, kesHot, cbUnchecked);
  EXPECT_EQ(s.At(0, 6), C(ktcFrame));
  EXPECT_EQ(s.At(1, 6), Dark(ktcHotFace, 50));
  EXPECT_EQ(s.At(11, 6), Light(ktcHotFace, 50));
  EXPECT_EQ(s.At(6, 6), C(ktcWindow));

  TSurface checked(13, 13, kBack);
  theme_.DrawCheckBox(checked.Canvas(), r, kesNormal, cbChecked);
  EXPECT_GT(CountOf(checked, {2, 2, 11, 11}, C(ktcFrame)), 5) << "the mark in the frame colour";
  EXPECT_EQ(CountOf(checked, {2, 2, 11, 11}, 0), 0) << "no black left of the renderer";

  TSurface disabled(13, 13, kBack);
  theme_.DrawCheckBox(disabled.Canvas(), r, kesDisabled, cbChecked);
  EXPECT_EQ(disabled.At(0, 6), C(ktcDisabledFace));
  EXPECT_EQ(disabled.At(1, 6), C(ktcWindow));
  EXPECT_GT(CountOf(disabled, {2, 2, 11, 11}, C(ktcDisabledFace)), 5);
  EXPECT_EQ(CountOf(disabled, {2, 2, 11, 11}, C(ktcFrame)), 0);

  TSurface grayed(13, 13, kBack);
  theme_.DrawCheckBox(grayed.Canvas(), r, kesNormal, cbGrayed);
  EXPECT_EQ(grayed.At(3, 3), C(ktcFrame));
  EXPECT_EQ(grayed.At(9, 9), C(ktcFrame));
  EXPECT_EQ(grayed.At(2, 2), C(ktcWindow));

  // States and checks outside the tables paint the normal box.
  for (int state : {4, 5, 255}) {
    TSurface odd(13, 13, kBack);
    theme_.DrawCheckBox(odd.Canvas(), r, static_cast<TTeElementState>(state), static_cast<TCheckBoxState>(3));
    EXPECT_EQ(odd.At(0, 6), C(ktcFrame)) << state;
    EXPECT_EQ(odd.At(6, 6), C(ktcWindow)) << state;
  }
}

TEST_F(HighlightTest, RadioRingsAndDot) {
  const TRect r{0, 0, 13, 13};
  TSurface s(13, 13, kBack);
  theme_.DrawRadioButton(s.Canvas(), r, kesHot, true);
  EXPECT_EQ(s.At(0, 6), C(ktcFrame));
  EXPECT_EQ(s.At(1, 6), Dark(ktcHotFace, 30));
  EXPECT_EQ(s.At(6, 6), C(ktcFrame)) << "the dot in the outline colour";

  TSurface off(13, 13, kBack);
  theme_.DrawRadioButton(off.Canvas(), r, kesNormal, false);
  EXPECT_EQ(off.At(6, 6), C(ktcWindow));
  EXPECT_EQ(off.At(1, 6), Dark(ktcWindow, 30));

  TSurface disabled(13, 13, kBack);
  theme_.DrawRadioButton(disabled.Canvas(), r, kesDisabled, true);
  EXPECT_EQ(disabled.At(0, 6), C(ktcDisabledFace));
  EXPECT_EQ(disabled.At(1, 6), C(ktcWindow));
  EXPECT_EQ(disabled.At(6, 6), C(ktcDisabledFace));
}

TEST_F(HighlightTest, SpeedButtonFaces) {
  const TRect r{0, 0, 30, 24};
  auto paint = [&](TTeElementState state, bool flat, bool down) {
    auto s = std::make_unique<TSurface>(30, 24, kBack);
    theme_.DrawSpeedButton(s->Canvas(), r, state, flat, down);
    return s;
  };
  // Nothing at all: disabled, flat at rest, flat 4 and 5, raised hot.
  EXPECT_TRUE(AllBack(*paint(kesDisabled, false, false)));
  EXPECT_TRUE(AllBack(*paint(kesNormal, true, false)));
  EXPECT_TRUE(AllBack(*paint(static_cast<TTeElementState>(4), true, false)));
  EXPECT_TRUE(AllBack(*paint(kesHot, false, false)));
  EXPECT_TRUE(AllBack(*paint(static_cast<TTeElementState>(255), false, true)));

  auto hot = paint(kesHot, true, false);
  EXPECT_EQ(hot->At(0, 12), C(ktcFrame));
  EXPECT_EQ(hot->At(1, 12), Light(ktcHotFace, 30));
  EXPECT_EQ(hot->At(28, 12), Dark(ktcHotFace, 30));
  EXPECT_EQ(hot->At(15, 12), C(ktcHotFace));

  auto pressed = paint(kesPressed, true, false);
  EXPECT_EQ(pressed->At(1, 12), Dark(ktcFace, 30));
  EXPECT_EQ(pressed->At(15, 12), C(ktcFace));

  for (bool flat : {true, false}) {
    auto down = paint(kesNormal, flat, true);
    EXPECT_EQ(down->At(0, 12), C(ktcFrame));
    EXPECT_EQ(down->At(1, 12), C(ktcSelection)) << "no bevel on a button that stays down";
  }
  auto raised = paint(kesNormal, false, false);
  EXPECT_EQ(raised->At(1, 12), Light(ktcFace, 30));
  auto raisedPressedDown = paint(kesPressed, false, true);
  EXPECT_EQ(raisedPressedDown->At(1, 12), C(ktcSelection));
}

TEST_F(HighlightTest, ChevronAndComboArrows) {
  // A 15 x 21 combo button: the arrow's box is (4, 9, 11, 13), one lower
  // than centred; pressed it moves by (1, 1) more.
  TSurface s(15, 21, kBack);
  theme_.DrawComboButton(s.Canvas(), {0, 0, 15, 21}, kesNormal);
  EXPECT_EQ(s.At(0, 10), C(ktcFrame));
  EXPECT_EQ(s.At(1, 10), Light(ktcFace, 30));
  EXPECT_EQ(s.At(4, 9), C(ktcFrame));
  EXPECT_EQ(s.At(10, 9), C(ktcFrame));
  EXPECT_EQ(s.At(7, 12), C(ktcFrame));
  EXPECT_EQ(s.At(4, 12), C(ktcFace));
  theme_.DrawComboButton(s.Canvas(), {0, 0, 15, 21}, kesPressed);
  EXPECT_EQ(s.At(1, 10), Dark(ktcSelection, 30));
  EXPECT_EQ(s.At(8, 13), C(ktcFrame));
  EXPECT_EQ(s.At(4, 9), C(ktcSelection));
  theme_.DrawComboButton(s.Canvas(), {0, 0, 15, 21}, kesDisabled);
  EXPECT_EQ(s.At(2, 5), C(ktcDisabledFace));

  // The chevron of a disabled button: only the arrow's edges, in the frame colour.
  TSurface chevron(15, 20, kBack);
  theme_.DrawSpeedButtonChevron(chevron.Canvas(), {0, 0, 15, 20}, kesDisabled, true, false);
  EXPECT_EQ(chevron.At(4, 8), C(ktcFrame));
  EXPECT_EQ(chevron.At(7, 11), C(ktcFrame));
  EXPECT_EQ(chevron.At(7, 9), kBack) << "not filled";
  theme_.DrawSpeedButtonChevron(chevron.Canvas(), {0, 0, 15, 20}, kesHot, true, false);
  EXPECT_EQ(chevron.At(7, 9), C(ktcFrame));
}

// --- scroll bars, bars, tabs ---------------------------------------------------------------

TEST_F(HighlightTest, ScrollBarParts) {
  TSurface track(17, 60, kBack);
  theme_.DrawScrollBarTrack(track.Canvas(), {0, 0, 17, 60}, sbVertical);
  EXPECT_EQ(track.At(0, 30), C(ktcFrame));
  EXPECT_EQ(track.At(16, 30), C(ktcFrame));
  EXPECT_EQ(track.At(8, 30), kBack);

  struct TCase {
    TTeElementState state;
    TTeThemeColor fill;
  };
  for (const TCase& c : {TCase{kesNormal, ktcFace}, TCase{kesHot, ktcHotFace}, TCase{kesPressed, ktcSelection},
                         TCase{kesDisabled, ktcDisabledFace}, TCase{static_cast<TTeElementState>(255), ktcFace}}) {
    TSurface thumb(17, 40, kBack);
    theme_.DrawScrollThumb(thumb.Canvas(), {0, 0, 17, 40}, sbVertical, c.state);
    EXPECT_EQ(thumb.At(0, 20), C(ktcFrame)) << c.state;
    const bool sunken = c.state == kesPressed;
    EXPECT_EQ(thumb.At(1, 20), sunken ? Dark(c.fill, 30) : Light(c.fill, 30)) << c.state;
    EXPECT_EQ(thumb.At(15, 20), sunken ? Light(c.fill, 30) : Dark(c.fill, 30));
    EXPECT_EQ(thumb.At(8, 20), C(c.fill));

    TSurface button(17, 17, kBack);
    theme_.DrawScrollButton(button.Canvas(), {0, 0, 17, 17}, true, true, c.state);
    EXPECT_EQ(button.At(0, 8), C(ktcFrame));
    EXPECT_EQ(button.At(1, 8), sunken ? Dark(c.fill, 30) : Light(c.fill, 30));
    EXPECT_EQ(button.At(3, 3), C(c.fill));
    EXPECT_GT(CountOf(button, {2, 2, 15, 15}, 0), 3) << "the black arrow";
  }
  // The arrow button is the horizontal scroll button.
  TSurface a(17, 17, kBack), b(17, 17, kBack);
  theme_.DrawArrowButton(a.Canvas(), {0, 0, 17, 17}, false, 0, kesHot);
  theme_.DrawScrollButton(b.Canvas(), {0, 0, 17, 17}, false, false, kesHot);
  for (int y = 0; y < 17; ++y)
    for (int x = 0; x < 17; ++x) ASSERT_EQ(a.At(x, y), b.At(x, y)) << x << "," << y;
}

TEST_F(HighlightTest, StatusBarPanelAndGrip) {
  TSurface bar(100, 20, kBack);
  theme_.DrawStatusBar(bar.Canvas(), {0, 0, 100, 20});
  EXPECT_EQ(bar.At(0, 10), C(ktcFrame));
  EXPECT_EQ(bar.At(1, 10), Light(ktcFace, 30));
  EXPECT_EQ(bar.At(98, 10), Dark(ktcFace, 30));
  EXPECT_EQ(bar.At(50, 10), C(ktcFace));

  TSurface panel(50, 20, kBack);
  theme_.DrawStatusPanel(panel.Canvas(), {0, 0, 50, 20}, nullptr);
  EXPECT_EQ(panel.At(0, 10), Dark(ktcFace, 30));
  EXPECT_EQ(panel.At(49, 10), Light(ktcFace, 30));
  EXPECT_EQ(panel.At(1, 10), C(ktcFrame));
  EXPECT_EQ(panel.At(48, 10), C(ktcFrame));
  EXPECT_EQ(panel.At(25, 10), C(ktcFace));

  // The grip's shapes: filled in the caption colour, outlined in the frame colour.
  TSurface grip(16, 16, kBack);
  theme_.DrawSizeGrip(grip.Canvas(), {0, 0, 16, 16});
  EXPECT_EQ(grip.At(15, 3), C(ktcFrame));
  EXPECT_EQ(grip.At(14, 14), C(ktcActiveCaption));
  EXPECT_EQ(grip.At(1, 1), kBack);
}

TEST_F(HighlightTest, TabsMergeWithThePageOnTheirSide) {
  const TRect r{0, 0, 40, 20};
  TSurface top(40, 20, kBack);
  theme_.DrawTab(top.Canvas(), r, tpTop, kesHot);
  EXPECT_EQ(top.At(0, 10), C(ktcFrame));
  EXPECT_EQ(top.At(1, 10), Light(ktcHotFace, 30));
  EXPECT_EQ(top.At(20, 10), C(ktcHotFace));
  EXPECT_EQ(top.At(0, 19), C(ktcHotFace)) << "the strip covers the outline toward the page";
  EXPECT_EQ(top.At(20, 18), C(ktcHotFace));
  EXPECT_EQ(top.At(20, 0), C(ktcFrame));

  TSurface left(40, 20, kBack);
  theme_.DrawTab(left.Canvas(), r, tpLeft, static_cast<TTeElementState>(4));
  EXPECT_EQ(left.At(39, 10), C(ktcSelection));
  EXPECT_EQ(left.At(38, 10), C(ktcSelection));
  EXPECT_EQ(left.At(0, 10), C(ktcFrame));

  TSurface bottom(40, 20, kBack);
  theme_.DrawTab(bottom.Canvas(), r, tpBottom, kesNormal);
  EXPECT_EQ(bottom.At(20, 0), C(ktcFace));
  EXPECT_EQ(bottom.At(20, 19), C(ktcFrame));

  // A position beyond the four: the tab without a strip.
  TSurface odd(40, 20, kBack);
  theme_.DrawTab(odd.Canvas(), r, static_cast<TTabPosition>(4), kesNormal);
  EXPECT_EQ(odd.At(20, 19), C(ktcFrame));
  EXPECT_EQ(odd.At(20, 0), C(ktcFrame));
}

TEST_F(HighlightTest, ListAndScrollBoxBorders) {
  TSurface list(60, 40, kBack);
  theme_.DrawListBorder(list.Canvas(), {0, 0, 60, 40}, kesNormal);
  EXPECT_EQ(list.At(0, 10), C(ktcFrame));
  for (int x = 1; x <= 7; ++x) EXPECT_EQ(list.At(x, 10), C(ktcWindow)) << x;
  EXPECT_EQ(list.At(8, 10), kBack);
  EXPECT_EQ(list.At(45, 25), C(ktcWindow)) << "the corner square";
  theme_.DrawListBorder(list.Canvas(), {0, 0, 60, 40}, kesDisabled);
  EXPECT_EQ(list.At(0, 10), C(ktcDisabledFrame));
  EXPECT_EQ(list.At(7, 10), C(ktcDisabledFace));

  TSurface box(60, 40, kBack);
  theme_.DrawScrollBoxBorder(box.Canvas(), {0, 0, 60, 40}, true);
  EXPECT_EQ(box.At(0, 10), C(ktcFrame));
  EXPECT_EQ(box.At(6, 10), C(ktcFace));
  EXPECT_EQ(box.At(7, 10), kBack);
}

TEST_F(HighlightTest, GroupBoxOutlineOpensUnderTheCaption) {
  TSurface s(120, 80, kBack);
  theme_.DrawGroupBox(s.Canvas(), {0, 0, 100, 60}, {10, 0, 40, 10}, "");
  EXPECT_EQ(s.At(5, 0), C(ktcFrame));
  EXPECT_EQ(s.At(20, 0), kBack);
  EXPECT_EQ(s.At(60, 0), C(ktcFrame));
  EXPECT_EQ(s.At(0, 30), C(ktcFrame));
  EXPECT_EQ(s.At(100, 30), C(ktcFrame));
  EXPECT_EQ(s.At(50, 60), C(ktcFrame));
  EXPECT_EQ(s.At(1, 1), C(ktcFrame)) << "cut corner";
  EXPECT_EQ(s.At(0, 0), kBack);
  EXPECT_EQ(s.At(50, 30), kBack) << "the inside is not filled";
}

TEST_F(HighlightTest, PanelsBandsAndBoxes) {
  TSurface panel(40, 30, kBack);
  theme_.DrawPanel(panel.Canvas(), {0, 0, 40, 30});
  EXPECT_EQ(panel.At(0, 15), C(ktcFrame));
  EXPECT_EQ(panel.At(1, 15), Light(ktcFace, 30));
  EXPECT_EQ(panel.At(2, 15), Light(ktcFace, 15));
  EXPECT_EQ(panel.At(37, 15), Dark(ktcFace, 15));
  EXPECT_EQ(panel.At(20, 15), C(ktcFace));

  TSurface band(60, 24, kBack);
  theme_.DrawControlBand(band.Canvas(), {0, 0, 60, 24}, {2, 2, 14, 22});
  EXPECT_EQ(band.At(0, 12), C(ktcFrame));
  EXPECT_EQ(band.At(1, 12), Light(ktcFace, 50));
  EXPECT_EQ(band.At(5, 12), C(ktcFrame)) << "the grip, shrunk by (3, 1)";
  EXPECT_EQ(band.At(6, 12), Light(ktcFace, 50));
  EXPECT_EQ(band.At(9, 12), Dark(ktcFace, 50));
  EXPECT_EQ(band.At(10, 12), C(ktcFrame));

  for (int variant : {-1, 0, 1, 2, 3, 6}) {
    TSurface box(18, 18, kBack);
    theme_.DrawStateBox(box.Canvas(), {0, 0, 18, 18}, 0, variant);
    const TColor fill = variant == 1   ? theme_.GetColor(ktcSelection)
                        : variant == 2 ? clBlack
                        : variant == 3 ? theme_.GetColor(ktcHotFace)
                                       : theme_.GetColor(ktcFace);
    EXPECT_EQ(box.At(0, 9), C(ktcFrame)) << variant;
    EXPECT_EQ(box.At(1, 9), Rgb(variant == 1 ? Darken(fill, 30) : Lighten(fill, 30))) << variant;
    EXPECT_EQ(box.At(9, 9), Rgb(fill)) << variant;
  }

  TSurface items(40, 10, kBack);
  theme_.DrawListItem(items.Canvas(), {0, 0, 40, 10}, 4);
  EXPECT_EQ(items.At(0, 5), Light(ktcFace, 30));
  EXPECT_EQ(items.At(20, 5), C(ktcFace));
  theme_.DrawListItem(items.Canvas(), {0, 0, 40, 10}, 3);
  EXPECT_EQ(items.At(0, 5), C(ktcSelection));
  theme_.DrawListItem(items.Canvas(), {0, 0, 40, 10}, 8);
  EXPECT_EQ(items.At(0, 5), C(ktcWindow));

  TSurface split(8, 40, kBack);
  theme_.DrawSplitter(split.Canvas(), {0, 0, 8, 40}, true, true);
  EXPECT_EQ(split.At(0, 20), C(ktcFrame));
  EXPECT_EQ(split.At(1, 20), Light(ktcSelection, 30));
  EXPECT_EQ(split.At(3, 20), C(ktcHotFace));
  theme_.DrawSplitter(split.Canvas(), {0, 0, 8, 40}, false, false);
  EXPECT_EQ(split.At(0, 20), C(ktcWindow));
}

TEST_F(HighlightTest, TrackAndProgressAndEdit) {
  TSurface track(100, 10, kBack);
  theme_.DrawTrackBarTrack(track.Canvas(), {0, 0, 100, 10}, {20, 0, 50, 10});
  EXPECT_EQ(track.At(50, 0), C(ktcFrame));
  EXPECT_EQ(track.At(10, 5), C(ktcFace));
  EXPECT_EQ(track.At(21, 5), C(ktcSelection));
  EXPECT_EQ(track.At(50, 5), C(ktcFace)) << "the selection shrunk by 1";

  // Blocks of round(0.64 x 20) = 13 with gaps of 2.
  TSurface bar(160, 20, kBack);
  theme_.DrawProgressBarFrame(bar.Canvas(), {0, 0, 160, 20});
  theme_.DrawProgressBar(bar.Canvas(), {0, 0, 160, 20}, {0, 0, 100, 20}, false, false);
  EXPECT_EQ(bar.At(0, 10), C(ktcSelection));
  EXPECT_EQ(bar.At(12, 10), C(ktcSelection));
  EXPECT_EQ(bar.At(13, 10), C(ktcWindow));
  EXPECT_EQ(bar.At(15, 10), C(ktcSelection));
  EXPECT_EQ(bar.At(102, 10), C(ktcSelection)) << "seven blocks, the last beyond the bar";
  EXPECT_EQ(bar.At(110, 10), C(ktcWindow));
  EXPECT_EQ(bar.At(150, 0), C(ktcFrame));

  TSurface edit(60, 20, kBack);
  theme_.DrawEdit(edit.Canvas(), {0, 0, 60, 20}, true, 0);
  EXPECT_EQ(edit.At(0, 10), C(ktcFrame));
  EXPECT_EQ(edit.At(30, 10), C(ktcWindow));
  EXPECT_EQ(edit.At(0, 0), kBack) << "rounded corner";
}

TEST_F(HighlightTest, TrackBarThumbs) {
  TSurface block(11, 20, kBack);
  theme_.DrawTrackBarThumb(block.Canvas(), {0, 0, 11, 20}, false, 0, kesPressed);
  EXPECT_EQ(block.At(0, 10), 0x003399u) << "the navy constant";
  EXPECT_EQ(block.At(1, 10), Dark(ktcSelection, 30)) << "light and dark exchanged when pressed";
  EXPECT_EQ(block.At(5, 10), C(ktcSelection));

  // Upright, pointing down: the pentagon (0,0) (10,0) (10,15) (5,20) (0,15).
  TSurface down(11, 21, kBack);
  theme_.DrawTrackBarThumb(down.Canvas(), {0, 0, 11, 20}, false, 1, kesHot);
  EXPECT_EQ(down.At(0, 8), C(ktcFrame));
  EXPECT_EQ(down.At(1, 8), Light(ktcHotFace, 30));
  EXPECT_EQ(down.At(9, 8), Dark(ktcHotFace, 30));
  EXPECT_EQ(down.At(5, 8), C(ktcHotFace));
  EXPECT_EQ(down.At(0, 19), kBack);

  for (int shape : {-1, 3}) {
    TSurface none(11, 20, kBack);
    theme_.DrawTrackBarThumb(none.Canvas(), {0, 0, 11, 20}, true, shape, kesNormal);
    EXPECT_TRUE(AllBack(none)) << shape;
  }
}

TEST_F(HighlightTest, GlyphButtonMarkStaysOffItsEdges) {
  TSurface s(17, 17, kBack);
  theme_.DrawGlyphButton(s.Canvas(), {0, 0, 17, 17}, 1, kesNormal, false);
  EXPECT_EQ(s.At(0, 8), C(ktcFrame));
  EXPECT_EQ(s.At(1, 8), Light(ktcFace, 30));
  EXPECT_EQ(s.At(15, 8), Dark(ktcFace, 30));
  EXPECT_GT(CountOf(s, {2, 2, 15, 15}, C(ktcFrame)), 3) << "the cross in the frame colour";
  EXPECT_EQ(CountOf(s, {2, 2, 15, 15}, 0), 0);
  theme_.DrawGlyphButton(s.Canvas(), {0, 0, 17, 17}, 2, kesPressed, true);
  EXPECT_EQ(s.At(1, 8), Dark(ktcSelection, 30));
  EXPECT_GT(CountOf(s, {2, 2, 15, 15}, C(ktcFrame)), 3);
}

// --- menus ----------------------------------------------------------------------------

TEST_F(HighlightTest, MenuBarAndPopupFrames) {
  TSurface bar(100, 23, kBack);
  theme_.DrawMenuBar(bar.Canvas(), 100, 23);
  EXPECT_EQ(bar.At(0, 10), C(ktcMenuArrow));
  EXPECT_EQ(bar.At(50, 10), C(ktcMenu));

  TSurface popup(60, 40, kBack);
  theme_.DrawPopupMenu(popup.Canvas(), 60, 40);
  EXPECT_EQ(popup.At(0, 20), C(ktcMenuArrow));
  EXPECT_EQ(popup.At(0, 0), C(ktcMenuItem)) << "the frame shows at the rounded corner";
  EXPECT_EQ(popup.At(1, 20), C(ktcMenuItem));
  EXPECT_EQ(popup.At(2, 20), C(ktcMenuItem));
  EXPECT_EQ(popup.At(3, 20), kBack);
}

TEST_F(HighlightTest, MenuBarItems) {
  TTeCustomItem item(nullptr);
  const TRect r{0, 0, 60, 23};
  TSurface s(60, 23, kBack);
  theme_.DrawMenuBarItem(s.Canvas(), &item, r, true, true);
  EXPECT_EQ(s.At(0, 10), kBack);
  EXPECT_EQ(s.At(1, 10), C(ktcMenu));
  EXPECT_EQ(s.At(2, 10), C(ktcMenuArrow));
  EXPECT_EQ(s.At(3, 10), C(ktcHotFace));
  theme_.DrawMenuBarItem(s.Canvas(), &item, r, true, false);
  EXPECT_EQ(s.At(3, 10), C(ktcMenuBarSelection));
  theme_.DrawMenuBarItem(s.Canvas(), &item, r, false, false);
  EXPECT_EQ(s.At(2, 10), C(ktcMenu));

  item.SetOnControlBar(true);
  theme_.DrawMenuBarItem(s.Canvas(), &item, r, true, true);
  EXPECT_EQ(s.At(1, 10), C(ktcFace));
  EXPECT_EQ(s.At(2, 10), C(ktcFrame)) << "the flat speed button, hot";
  EXPECT_EQ(s.At(3, 10), Light(ktcHotFace, 30));
  theme_.DrawMenuBarItem(s.Canvas(), &item, r, false, false);
  EXPECT_EQ(s.At(2, 10), C(ktcFace)) << "no face when not selected";
  theme_.DrawMenuBarItem(s.Canvas(), nullptr, r, true, true);
}

TEST_F(HighlightTest, MenuBarButtons) {
  TTeCustomItem item(nullptr);
  const TRect r{0, 0, 20, 20};
  const uint32_t grey = 0xEDEDEE, navy = 0x003399;
  item.SetButtonKind(kibSystemMenu);
  TSurface s(20, 20, kBack);
  theme_.DrawMenuBarButton(s.Canvas(), &item, r, true, false);
  EXPECT_EQ(s.At(0, 10), kBack);
  EXPECT_EQ(s.At(1, 10), grey);
  EXPECT_EQ(s.At(2, 10), C(ktcMenuArrow));
  // Rules at rows 2 + 3k inside (2, 2, 18, 18); the top and bottom rows are the outline.
  EXPECT_EQ(s.At(6, 5), Rgb(ARGBToColor(SharedShadowARGB())));
  EXPECT_EQ(s.At(6, 14), Rgb(ARGBToColor(SharedShadowARGB())));
  EXPECT_EQ(s.At(6, 6), C(ktcMenuItemSelection));
  EXPECT_EQ(s.At(6, 17), C(ktcMenuArrow));
  EXPECT_EQ(s.At(6, 18), grey) << "no rule below the button";
  theme_.DrawMenuBarButton(s.Canvas(), &item, r, false, false);
  EXPECT_EQ(s.At(6, 5), C(ktcMenuItem));

  item.SetButtonKind(kibClose);
  TSurface close(20, 20, kBack);
  theme_.DrawMenuBarButton(close.Canvas(), &item, r, true, true);
  // (1, 1, 19, 19) shrunk by 2, right + 1, bottom - 1: (3, 3, 18, 16) goes to
  // the renderer, and the rect it answers is framed in navy.
  TSurface scratch(20, 20);
  RECT drawn{3, 3, 18, 16};
  DrawFrameControl(scratch.DC(), &drawn, DFC_CAPTION, DFCS_CAPTIONCLOSE | DFCS_ADJUSTRECT | DFCS_FLAT);
  ASSERT_TRUE(drawn.left >= 3 && drawn.top >= 3 && drawn.right <= 18 && drawn.bottom <= 16);
  const int midX = (drawn.left + drawn.right) / 2, midY = (drawn.top + drawn.bottom) / 2;
  EXPECT_EQ(close.At(drawn.left, midY), navy);
  EXPECT_EQ(close.At(drawn.right - 1, midY), navy);
  EXPECT_EQ(close.At(midX, drawn.top), navy);
  EXPECT_EQ(close.At(midX, drawn.bottom - 1), navy);
  EXPECT_EQ(close.At(10, 16), grey);
  EXPECT_EQ(close.At(10, 1), grey);

  item.SetButtonKind(kibNone);
  TSurface none(20, 20, kBack);
  theme_.DrawMenuBarButton(none.Canvas(), &item, r, true, true);
  EXPECT_EQ(none.At(10, 10), grey);
}

TEST_F(HighlightTest, PopupItems) {
  TTeCustomItem item(nullptr), sub(nullptr);
  item.SetCaption("");
  item.Add(&sub);
  const TRect r{0, 0, 120, 23};
  TSurface s(120, 23, kBack);
  theme_.DrawPopupItem(s.Canvas(), &item, r, true, 0);
  EXPECT_EQ(s.At(0, 10), C(ktcMenuArrow)) << "an outline, not a frame";
  EXPECT_EQ(s.At(0, 0), C(ktcMenuItemSelection)) << "the outline's corner is round";
  EXPECT_EQ(s.At(5, 10), C(ktcMenuItemSelection));
  // The sub-item dot: 5 x 5 at (104, 9), in the text colour ringed in the arrow colour.
  EXPECT_EQ(s.At(106, 11), C(ktcMenuItemSelectedText));
  EXPECT_EQ(s.At(104, 11), C(ktcMenuArrow));
  EXPECT_EQ(s.At(102, 11), C(ktcMenuItemSelection));

  theme_.DrawPopupItem(s.Canvas(), &item, r, false, 0);
  EXPECT_EQ(s.At(0, 10), C(ktcMenuItem));
  EXPECT_EQ(s.At(106, 11), C(ktcMenuItemText));

  TTeCustomItem separator(nullptr);
  separator.SetCaption("-");
  TSurface sep(120, 9, kBack);
  theme_.DrawPopupItem(sep.Canvas(), &separator, {0, 0, 120, 9}, false, 0);
  EXPECT_EQ(sep.At(50, 4), Rgb(SysColorToRGB(clBtnShadow)));
  EXPECT_EQ(sep.At(1, 4), C(ktcMenuItem));
  EXPECT_EQ(sep.At(50, 3), C(ktcMenuItem));

  int width = 0, height = 0;
  theme_.MeasurePopupItem(sep.Canvas(), &separator, width, height);
  EXPECT_EQ(height, 9);
  theme_.MeasurePopupItem(sep.Canvas(), &item, width, height);
  EXPECT_EQ(height, 23);
  EXPECT_EQ(width, 64) << "an empty caption without a shortcut";
  theme_.MeasureMenuBarItem(sep.Canvas(), &item, width, height);
  EXPECT_EQ(width, 12);
  EXPECT_EQ(height, 23);
}

TEST_F(HighlightTest, PopupScrollButtons) {
  TSurface s(40, 12, kBack);
  theme_.DrawPopupScrollButton(s.Canvas(), {0, 0, 40, 12}, 2, true);
  EXPECT_EQ(s.At(0, 6), C(ktcMenuArrow));
  EXPECT_EQ(s.At(1, 6), Dark(ktcMenuItem, 30));
  // A down arrow in the box (16, 4, 23, 8): base on row 4, apex (19, 7).
  EXPECT_EQ(s.At(16, 4), C(ktcMenuItemText));
  EXPECT_EQ(s.At(19, 7), C(ktcMenuItemText));
  EXPECT_EQ(s.At(16, 7), C(ktcMenuItem));
  theme_.DrawPopupScrollButton(s.Canvas(), {0, 0, 40, 12}, 1, false);
  EXPECT_EQ(s.At(0, 6), C(ktcMenuItem));
  EXPECT_EQ(s.At(19, 4), C(ktcMenuItemText));
  EXPECT_EQ(s.At(16, 7), C(ktcMenuItemText));
  for (int direction : {0, 3, -1}) {
    theme_.DrawPopupScrollButton(s.Canvas(), {0, 0, 40, 12}, direction, false);
    EXPECT_EQ(CountOf(s, {0, 0, 40, 12}, C(ktcMenuItem)), 40 * 12) << direction;
  }
}

TEST_F(HighlightTest, LinesPaintsHighlightsElementsInItsColours) {
  TTeThemeLines lines;
  TSurface a(100, 23, kBack);
  lines.DrawMenuBar(a.Canvas(), 100, 23);
  EXPECT_EQ(a.At(50, 10), Rgb(ARGBToColor(SharedWindowARGB())));
  TSurface b(40, 20, kBack);
  lines.DrawButton(b.Canvas(), 40, 20, kesHot);
  EXPECT_EQ(b.At(20, 10), 0xF8C751u);
  EXPECT_EQ(b.At(0, 10), 0x003399u);
}

}  // namespace
}  // namespace hv
