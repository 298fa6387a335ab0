#include "theme/styles/highlight.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <memory>

#include "framework/control.h"
#include "tests/theme/styles/highlight_test_support.h"
#include "theme/core/colors.h"
#include "theme/core/rects.h"
#include "theme/core/themeitems.h"
#include "theme/core/themelibrary.h"
#include "theme/styles/highlight_tables.h"

namespace hv {
namespace {

using test::AllBack;
using test::CountOf;
using test::HighlightTest;
using test::kBack;
using test::Rgb;
using test::TSurface;

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
  const int expected[30] = {4,  4,  26, 20, 10, 20, 16, 14, 12, 7,  7,  1, 6,  6,  23,
                            17, 13, 13, 13, 13, 11, 22, 4,  22, 17, 17, 1, 21, 15, 11};
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
      {0, kSys + 2, 0x64A0FF},
      {1, kSys + 3, kSys + 16},
      {2, 0x000000, 0x000000},
      {3, 0xFFFFFF, 0xFFFFFF},
      {5, 0xFFFFFF, 0xFFFFFF},
      {6, kSys + 5, kSys + 5},
      {7, 0x003399, 0x003399},
      {8, 0x64A0FF, 0x64A0FF},
      {9, 0xFEFEFB, 0xFEFEFB},
      {10, 0xC5C5B1, 0xC5C5B1},
      {11, kSys + 15, kSys + 15},
      {12, 0xF8C751, 0xF8C751},
      {13, 0x003399, 0x003399},
      {14, kSys + 15, kSys + 5},
      {15, 0x64A0FF, 0x64A0FF},
      {16, kSys + 15, kSys + 5},
      {17, 0x64A0FF, 0x64A0FF},
      {18, 0, 0},
      {19, 0xFFFFFF, 0xFFFFFF},
      {20, 0, 0},
      {21, 0xFFFFFF, 0xFFFFFF},
      {22, 0x808080, 0x808080},
      {23, 0, 0},
      {24, 0x95CEFF, 0x95CEFF},
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
  EXPECT_SURFACE(s, {0, 40, C(ktcFrame)}, {119, 40, C(ktcFrame)}, {60, 79, C(ktcFrame)}, {1, 40, Light(ktcFace, 30)},
                 {118, 40, Dark(ktcFace, 30)}, {60, 78, Dark(ktcFace, 30)}, {2, 40, Light(ktcFace, 15)},
                 {117, 40, Dark(ktcFace, 15)}, {3, 40, C(ktcFace)}, {116, 40, C(ktcFace)}, {60, 76, C(ktcFace)});
  // The band's own outline, then the gradient from the caption colour.
  EXPECT_SURFACE(s, {4, 15, C(ktcFrame)}, {115, 15, C(ktcFrame)}, {60, 4, C(ktcFrame)}, {60, 25, C(ktcFrame)});
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
  EXPECT_SURFACE(s, {5, 9, rule}, {114, 9, rule});
  // Rows 0 and 3 lie under the frame, rows 27 ... 39 in the client area.
  EXPECT_SURFACE(s, {60, 0, Rgb(lines.GetColor(ktcFrame))}, {60, 3, Rgb(lines.GetColor(ktcFace))});
  for (int y : {27, 30, 33, 36, 39}) EXPECT_EQ(s.At(60, y), kBack) << y;
  // The same frame as Highlight around it.
  EXPECT_SURFACE(s, {60, 4, Rgb(lines.GetColor(ktcFrame))}, {1, 40, Rgb(Lighten(lines.GetColor(ktcFace), 30))},
                 {2, 40, Rgb(Lighten(lines.GetColor(ktcFace), 15))});

  lines.DrawFormFrame(s.Canvas(), 120, 80, kClient, false, kbsToolWindow);
  EXPECT_EQ(s.At(60, 7), Rgb(lines.GetColor(ktcInactiveCaption)));
}

TEST_F(HighlightTest, CaptionButtonFacesByState) {
  const TRect r{0, 0, 20, 16};
  struct TCase {
    bool hot, pressed;
    TTeThemeColor face;
  };
  for (const TCase& c : {TCase{false, false, ktcFace}, TCase{true, false, ktcHotFace}, TCase{false, true, ktcSelection},
                         TCase{true, true, ktcSelection}}) {
    TSurface s(20, 16, kBack);
    theme_.DrawCaptionButton(s.Canvas(), r, kcbClose, c.hot, c.pressed, true, kbsStandard);
    EXPECT_SURFACE(s, {0, 5, C(ktcFrame)}, {10, 0, C(ktcFrame)});
    EXPECT_EQ(s.At(1, 5), c.pressed ? Dark(c.face, 30) : Light(c.face, 30)) << c.hot << c.pressed;
    EXPECT_SURFACE(s, {10, 1, c.pressed ? Dark(c.face, 30) : Light(c.face, 30)}, {2, 2, C(c.face)});
  }
}

TEST_F(HighlightTest, CaptionButtonMarks) {
  const TRect r{0, 0, 20, 16};
  TSurface s(20, 16, kBack);
  // The tray dot: R shrunk by 5 and moved down 2, and by (1, 1) more when pressed.
  theme_.DrawCaptionButton(s.Canvas(), r, kcbTray, false, false, true, kbsStandard);
  EXPECT_SURFACE(s, {10, 10, 0u}, {10, 6, C(ktcFace), "above the dot"});
  // Roll up: a black triangle pointing up, in R shrunk by (4, 5) and moved by (-1, -1).
  theme_.DrawCaptionButton(s.Canvas(), r, kcbRollup, false, false, true, kbsStandard);
  EXPECT_SURFACE(s, {9, 9, 0u}, {4, 5, C(ktcFace), "beside the apex"});
  // Beyond the tray only the face.
  for (int kind : {8, 255}) {
    TSurface plain(20, 16, kBack);
    theme_.DrawCaptionButton(plain.Canvas(), r, static_cast<TTeCaptionButton>(kind), true, false, true, kbsStandard);
    EXPECT_EQ(CountOf(plain, {2, 2, 18, 14}, C(ktcHotFace)), 16 * 12) << kind;
  }
}

// --- menus ----------------------------------------------------------------------------

TEST_F(HighlightTest, MenuBarAndPopupFrames) {
  TSurface bar(100, 23, kBack);
  theme_.DrawMenuBar(bar.Canvas(), 100, 23);
  EXPECT_SURFACE(bar, {0, 10, C(ktcMenuArrow)}, {50, 10, C(ktcMenu)});

  TSurface popup(60, 40, kBack);
  theme_.DrawPopupMenu(popup.Canvas(), 60, 40);
  EXPECT_SURFACE(popup, {0, 20, C(ktcMenuArrow)}, {0, 0, C(ktcMenuItem), "the frame shows at the rounded corner"},
                 {1, 20, C(ktcMenuItem)}, {2, 20, C(ktcMenuItem)}, {3, 20, kBack});
}

TEST_F(HighlightTest, MenuBarItems) {
  TTeCustomItem item(nullptr);
  const TRect r{0, 0, 60, 23};
  TSurface s(60, 23, kBack);
  theme_.DrawMenuBarItem(s.Canvas(), &item, r, true, true);
  EXPECT_SURFACE(s, {0, 10, kBack}, {1, 10, C(ktcMenu)}, {2, 10, C(ktcMenuArrow)}, {3, 10, C(ktcHotFace)});
  theme_.DrawMenuBarItem(s.Canvas(), &item, r, true, false);
  EXPECT_EQ(s.At(3, 10), C(ktcMenuBarSelection));
  theme_.DrawMenuBarItem(s.Canvas(), &item, r, false, false);
  EXPECT_EQ(s.At(2, 10), C(ktcMenu));

  item.SetOnControlBar(true);
  theme_.DrawMenuBarItem(s.Canvas(), &item, r, true, true);
  EXPECT_SURFACE(s, {1, 10, C(ktcFace)}, {2, 10, C(ktcFrame), "the flat speed button, hot"},
                 {3, 10, Light(ktcHotFace, 30)});
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
  EXPECT_SURFACE(s, {0, 10, kBack}, {1, 10, grey}, {2, 10, C(ktcMenuArrow)});
  // Rules at rows 2 + 3k inside (2, 2, 18, 18); the top and bottom rows are the outline.
  EXPECT_SURFACE(s, {6, 5, Rgb(ARGBToColor(SharedShadowARGB()))}, {6, 14, Rgb(ARGBToColor(SharedShadowARGB()))},
                 {6, 6, C(ktcMenuItemSelection)}, {6, 17, C(ktcMenuArrow)}, {6, 18, grey, "no rule below the button"});
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
  EXPECT_SURFACE(close, {drawn.left, midY, navy}, {drawn.right - 1, midY, navy}, {midX, drawn.top, navy},
                 {midX, drawn.bottom - 1, navy}, {10, 16, grey}, {10, 1, grey});

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
  EXPECT_SURFACE(s, {0, 10, C(ktcMenuArrow), "an outline, not a frame"},
                 {0, 0, C(ktcMenuItemSelection), "the outline's corner is round"}, {5, 10, C(ktcMenuItemSelection)});
  // The sub-item dot: 5 x 5 at (104, 9), in the text colour ringed in the arrow colour.
  EXPECT_SURFACE(s, {106, 11, C(ktcMenuItemSelectedText)}, {104, 11, C(ktcMenuArrow)},
                 {102, 11, C(ktcMenuItemSelection)});

  theme_.DrawPopupItem(s.Canvas(), &item, r, false, 0);
  EXPECT_SURFACE(s, {0, 10, C(ktcMenuItem)}, {106, 11, C(ktcMenuItemText)});

  TTeCustomItem separator(nullptr);
  separator.SetCaption("-");
  TSurface sep(120, 9, kBack);
  theme_.DrawPopupItem(sep.Canvas(), &separator, {0, 0, 120, 9}, false, 0);
  EXPECT_SURFACE(sep, {50, 4, Rgb(SysColorToRGB(clBtnShadow))}, {1, 4, C(ktcMenuItem)}, {50, 3, C(ktcMenuItem)});

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
  EXPECT_SURFACE(s, {0, 6, C(ktcMenuArrow)}, {1, 6, Dark(ktcMenuItem, 30)});
  // A down arrow in the box (16, 4, 23, 8): base on row 4, apex (19, 7).
  EXPECT_SURFACE(s, {16, 4, C(ktcMenuItemText)}, {19, 7, C(ktcMenuItemText)}, {16, 7, C(ktcMenuItem)});
  theme_.DrawPopupScrollButton(s.Canvas(), {0, 0, 40, 12}, 1, false);
  EXPECT_SURFACE(s, {0, 6, C(ktcMenuItem)}, {19, 4, C(ktcMenuItemText)}, {16, 7, C(ktcMenuItemText)});
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
  EXPECT_SURFACE(b, {20, 10, 0xF8C751u}, {0, 10, 0x003399u});
}

}  // namespace
}  // namespace hv
