#include "theme/styles/luna.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <memory>
#include <set>
#include <tuple>
#include <vector>

#include "framework/control.h"
#include "framework/filestream.h"
#include "framework/gdi.h"
#include "framework/stream.h"
#include "framework/sysutils.h"
#include "tests/theme/styles/skin_test_support.h"
#include "theme/core/colors.h"
#include "theme/core/rects.h"
#include "theme/core/themeitems.h"
#include "theme/core/themelibrary.h"
#include "theme/styles/pcx.h"

namespace hv {
namespace {

using test::CodeSkins;
using test::kLeftAlone;
using test::TSheet;
using test::TSkinPoint;

constexpr TColor FromRGB(uint32_t rgb) {
  return static_cast<TColor>(((rgb & 0xFF) << 16) | (rgb & 0xFF00) | ((rgb >> 16) & 0xFF));
}

class LunaTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { StartThemeLibrary({.registerStyles = &RegisterSkinnedStyles}); }
  static void TearDownTestSuite() { FinishThemeLibrary(); }

  // A style whose skins spell their own coordinates.
  template <class T = TTeThemeLuna>
  static std::unique_ptr<T> Coded() {
    auto theme = std::make_unique<T>();
    CodeSkins(*theme);
    return theme;
  }

  static TSkinPoint P(int x, int y) { return {false, x, y}; }
  static TSkinPoint S(int x, int y) { return {true, x, y}; }
};

// --- registry, tables ---------------------------------------------------------------

TEST_F(LunaTest, BothStylesRegisterAtTheirPlaces) {
  EXPECT_EQ(FindThemeClass("Luna"), ThemeClassOf<TTeThemeLuna>());
  EXPECT_EQ(FindThemeClass("MetalLuna"), ThemeClassOf<TTeThemeMetalLuna>());
  EXPECT_EQ(FindThemeClass("metalluna"), nullptr);
  int luna = -1, metal = -1, none = -1;
  for (int i = 0; i < ThemeClassCount(); ++i) {
    if (ThemeClasses(i) == ThemeClassOf<TTeThemeLuna>()) luna = i;
    if (ThemeClasses(i) == ThemeClassOf<TTeThemeMetalLuna>()) metal = i;
    if (ThemeClasses(i) == ThemeClassOf<TTeTheme>()) none = i;
  }
  EXPECT_LT(luna, metal);
  EXPECT_LT(metal, none);
  EXPECT_GE(luna, 0);
  std::unique_ptr<TTeTheme> created = ThemeClassOf<TTeThemeMetalLuna>()->Create();
  EXPECT_EQ(created->ClassName(), "TTeThemeMetalLuna");
  EXPECT_TRUE(created->ThemeClass()->IsThemeAvailable());
}

TEST_F(LunaTest, ColourTablesAndTheirFallback) {
  TTeThemeLuna luna;
  TTeThemeMetalLuna metal;
  EXPECT_EQ(luna.GetColor(ktcWindow), FromRGB(0xFFFBF7));
  EXPECT_EQ(metal.GetColor(ktcWindow), FromRGB(0xF8F8FF));
  EXPECT_EQ(luna.GetColor(ktcSelection), FromRGB(0x21C321));
  EXPECT_EQ(metal.GetColor(ktcActiveCaptionText), FromRGB(0x000080));
  EXPECT_EQ(metal.GetColor(ktcHeaderDark), FromRGB(0xA3A3AD));
  EXPECT_EQ(luna.GetColor(ktcHeaderLight), FromRGB(0x95CEFF));

  // Hot face, the captions and the default kind, and every kind beyond the
  // table, give the fallback resolved as system colour 0.
  const TColor fallback = SysColorToRGB(kFallbackColor);
  for (TTeTheme* theme : {static_cast<TTeTheme*>(&luna), static_cast<TTeTheme*>(&metal)})
    for (int kind : {0, 1, 4, 12, 26, 100, 255})
      EXPECT_EQ(theme->GetColor(static_cast<TTeThemeColor>(kind)), fallback) << kind;
}

TEST_F(LunaTest, SizesAndFonts) {
  TTeThemeMetalLuna theme;
  EXPECT_EQ(theme.GetSize(ktsCaption), 29);
  EXPECT_EQ(theme.GetSize(ktsToolBorder), 2);
  EXPECT_EQ(theme.GetSize(ktsMenuItemHeight), 22);
  EXPECT_EQ(theme.GetSize(static_cast<TTeThemeSize>(29)), 11);
  EXPECT_EQ(theme.GetSize(static_cast<TTeThemeSize>(30)), 0);
  EXPECT_EQ(theme.GetSize(static_cast<TTeThemeSize>(255)), 0);
  EXPECT_EQ(theme.GetFontSize(ktfCaption), 10);
  EXPECT_EQ(theme.GetFontSize(ktfMenuItem), 8);
  EXPECT_EQ(theme.GetFontStyle(ktfToolCaption), TFontStyles{fsBold});
  EXPECT_EQ(theme.GetFontStyle(ktfMenuBar), TFontStyles{});
  EXPECT_EQ(theme.GetFontName(ktfHeader), "Tahoma");
  EXPECT_TRUE(theme.HasCaptionShadow());
}

// --- frame and caption buttons --------------------------------------------------------

TEST_F(LunaTest, StandardFrameOf300By200) {
  auto theme = Coded();
  TSheet sheet(300, 200);
  theme->DrawFormFrame(sheet.Canvas(), 300, 200, {3, 29, 297, 197}, true, kbsStandard);
  EXPECT_SOURCES(sheet, {0, 0, P(0, 0)}, {9, 28, P(9, 28)}, {290, 0, P(56, 0), "right corner copied at W - 10"},
                 {299, 28, P(65, 28)});
  // The caption middle: 46 source columns stretched over 280.
  std::set<int> columns;
  for (int x = 10; x < 290; ++x) {
    const auto source = sheet.Source(x, 5);
    ASSERT_TRUE(source && !source->secondary && source->y == 5) << x;
    columns.insert(source->x);
  }
  EXPECT_EQ(columns.size(), 46u);
  EXPECT_EQ(*columns.begin(), 10);
  EXPECT_EQ(*columns.rbegin(), 55);
  // Caps under the caption, then the stretched borders.
  EXPECT_SOURCES(sheet, {0, 29, P(0, 29)}, {297, 31, P(63, 31)});
  for (int y : {32, 100, 196}) {
    const auto left = sheet.Source(2, y), right = sheet.Source(297, y);
    ASSERT_TRUE(left && right) << y;
    EXPECT_EQ(left->x, 2);
    EXPECT_TRUE(left->y >= 32 && left->y < 57) << left->y;
    EXPECT_EQ(right->x, 63);
    EXPECT_TRUE(right->y >= 32 && right->y < 57) << right->y;
  }
  // Bottom: corners and the edge between them, cut from columns 3..61.
  EXPECT_SOURCES(sheet, {0, 197, P(0, 57)}, {299, 199, P(65, 59)});
  const auto edge = sheet.Source(296, 198);
  ASSERT_TRUE(edge);
  EXPECT_EQ(edge->y, 58);
  EXPECT_TRUE(edge->x >= 3 && edge->x < 62) << edge->x;
  EXPECT_PIXELS(sheet, {150, 100, kLeftAlone, "the client area is not the frame's"}, {3, 29 + 3, kLeftAlone});

  // Inactive: the same pieces from the secondary skin.
  theme->DrawFormFrame(sheet.Canvas(), 300, 200, {}, false, kbsStandard);
  EXPECT_EQ(sheet.Source(290, 0), S(56, 0));
}

TEST_F(LunaTest, ToolWindowFrameAndNoFrame) {
  auto theme = Coded();
  TSheet sheet(120, 80);
  theme->DrawFormFrame(sheet.Canvas(), 120, 80, {}, true, kbsToolWindow);
  EXPECT_SOURCES(sheet, {0, 0, P(66, 0)}, {110, 18, P(122, 18)}, {0, 19, P(66, 19), "cap"}, {119, 20, P(131, 20)});
  const auto border = sheet.Source(1, 21);
  ASSERT_TRUE(border);
  EXPECT_EQ(border->x, 67);
  EXPECT_TRUE(border->y >= 22 && border->y < 49) << "the border picture starts three rows below the caption";
  EXPECT_SOURCES(sheet, {0, 78, P(66, 49)}, {119, 79, P(131, 50)});
  EXPECT_TRUE(sheet.Untouched(2, 21));

  TSheet none(60, 40);
  theme->DrawFormFrame(none.Canvas(), 60, 40, {}, true, kbsNone);
  for (int y = 0; y < 40; y += 3)
    for (int x = 0; x < 60; x += 3) ASSERT_TRUE(none.Untouched(x, y));
}

TEST_F(LunaTest, RegionLosesTwelvePixelsPerTopCorner) {
  TTeThemeLuna theme;
  auto missing = [](HRGN region, int x0, int x1, int y0, int y1) {
    int count = 0;
    for (int y = y0; y < y1; ++y)
      for (int x = x0; x < x1; ++x) count += PtInRegion(region, x, y) ? 0 : 1;
    return count;
  };
  HRGN standard = theme.GetFormRegion(300, 200, kbsStandard);
  ASSERT_NE(standard, nullptr);
  EXPECT_EQ(missing(standard, 0, 150, 0, 200), 12);
  EXPECT_EQ(missing(standard, 150, 300, 0, 200), 12);
  const int rows[5] = {5, 3, 2, 1, 1};
  for (int y = 0; y < 5; ++y) {
    EXPECT_EQ(missing(standard, 0, 150, y, y + 1), rows[y]) << y;
    EXPECT_EQ(missing(standard, 150, 300, y, y + 1), rows[y]) << y;
  }
  EXPECT_FALSE(PtInRegion(standard, 300, 100)) << "the region is the window's size";
  DeleteObject(standard);

  HRGN tool = theme.GetFormRegion(300, 200, kbsToolWindow);
  EXPECT_EQ(missing(tool, 0, 300, 0, 200), 0);
  DeleteObject(tool);
}

TEST_F(LunaTest, CaptionButtonPictures) {
  auto theme = Coded();
  TSheet sheet(40, 40);
  auto paint = [&](TTeCaptionButton button, bool hot, bool pressed, bool active, TTeBorderStyle style) {
    theme->DrawCaptionButton(sheet.Fresh(), {5, 5, 35, 35}, button, hot, pressed, active, style);
  };
  paint(kcbClose, true, true, true, kbsStandard);
  EXPECT_SOURCES(sheet, {5, 5, P(42, 70), "pressed wins over hot"}, {25, 25, P(62, 90)});
  EXPECT_TRUE(sheet.Untouched(26, 26)) << "at its own size, not stretched";
  paint(kcbClose, true, false, false, kbsStandard);
  EXPECT_EQ(sheet.Source(5, 5), S(21, 70));

  const std::pair<TTeCaptionButton, int> rows[] = {{kcbHelp, 100},    {kcbMinimize, 160}, {kcbMaximize, 130},
                                                   {kcbRestore, 190}, {kcbRollup, 280},   {kcbRolldown, 220},
                                                   {kcbTray, 250}};
  for (auto [button, row] : rows) {
    paint(button, false, false, true, kbsNone);
    EXPECT_EQ(sheet.Source(5, 5), P(0, row)) << int(button) << ": the border style matters only to close";
  }

  for (auto [hot, pressed, column] : {std::tuple{false, false, 66}, {true, false, 80}, {false, true, 94}}) {
    paint(kcbClose, hot, pressed, true, kbsToolWindow);
    EXPECT_SOURCES(sheet, {5, 5, P(column, 70)}, {18, 18, P(column + 13, 83)});
    EXPECT_PIXELS(sheet, {19, 5, kLeftAlone}, {5, 19, kLeftAlone});
  }
  paint(kcbClose, false, false, true, kbsNone);
  EXPECT_TRUE(sheet.Untouched(5, 5));
  paint(static_cast<TTeCaptionButton>(8), false, false, true, kbsStandard);
  EXPECT_TRUE(sheet.Untouched(5, 5));
}

// --- buttons -------------------------------------------------------------------------

TEST_F(LunaTest, SpeedButtonFaces) {
  auto theme = Coded();
  TSheet sheet(60, 40);
  auto face = [&](TTeElementState state, bool flat, bool down) -> std::optional<TSkinPoint> {
    theme->DrawSpeedButton(sheet.Fresh(), {0, 0, 60, 40}, state, flat, down);
    return sheet.Source(0, 0);  // the top-left corner, copied at its own place
  };
  EXPECT_FALSE(face(kesDisabled, false, false));
  EXPECT_FALSE(face(kesDisabled, true, true));
  EXPECT_FALSE(face(kesNormal, true, false)) << "a flat button at rest has no face";
  EXPECT_TRUE(sheet.Untouched(30, 20));
  EXPECT_EQ(face(kesNormal, true, true), P(89, 301));
  EXPECT_EQ(face(kesHot, true, false), P(89, 278));
  EXPECT_EQ(face(kesHot, true, true), P(109, 301));
  EXPECT_EQ(face(kesPressed, true, false), P(109, 278));
  EXPECT_EQ(face(static_cast<TTeElementState>(4), true, false), P(69, 278));
  EXPECT_EQ(face(kesNormal, false, false), P(89, 278));
  EXPECT_EQ(face(kesNormal, false, true), P(89, 301));
  EXPECT_EQ(face(kesPressed, false, false), P(109, 278));
  EXPECT_EQ(face(kesPressed, false, true), P(89, 301));
  EXPECT_EQ(face(kesHot, false, false), P(69, 278));

  // Nine parts, margin 4: corners at their own size, the centre stretched.
  face(kesNormal, false, false);
  EXPECT_SOURCES(sheet, {59, 39, P(108, 300)}, {56, 0, P(105, 278)});
  const auto centre = sheet.Source(30, 20);
  ASSERT_TRUE(centre);
  EXPECT_TRUE(centre->x >= 93 && centre->x < 105 && centre->y >= 282 && centre->y < 297);

  // The chevron: the face first, then its 6 x 3 picture centred; 12 rows
  // lower for a button that stays down.
  theme->DrawSpeedButtonChevron(sheet.Fresh(), {0, 0, 20, 21}, kesPressed, false, true);
  EXPECT_SOURCES(sheet, {0, 0, P(89, 301)}, {7, 9, P(60, 311 + 6 + 12)}, {12, 11, P(65, 331)});
}

TEST_F(LunaTest, PushButtonCheckBoxRadioAndGlyphRows) {
  auto theme = Coded();
  TSheet sheet(80, 30);
  for (auto [state, row] : {std::pair{0, 100}, {1, 130}, {2, 160}, {3, 190}, {4, 220}, {5, 220}}) {
    theme->DrawButton(sheet.Fresh(), 80, 30, static_cast<uint8_t>(state));
    SCOPED_TRACE(state);
    EXPECT_SOURCES(sheet, {0, 0, P(70, row)}, {79, 29, P(142, row + 20)});
  }
  theme->DrawButton(sheet.Fresh(), 80, 30, 6);
  EXPECT_TRUE(sheet.Untouched(40, 15));

  auto at = [&](auto paint) {
    sheet.Clear();
    paint();
    return sheet.Source(3, 2);
  };
  const TRect r{3, 2, 40, 30};
  EXPECT_EQ(at([&] { theme->DrawCheckBox(sheet.Canvas(), r, kesPressed, cbChecked); }), P(171, 134 + 64));
  EXPECT_EQ(at([&] { theme->DrawCheckBox(sheet.Canvas(), r, kesDisabled, cbGrayed); }), P(171, 150 + 128));
  EXPECT_FALSE(at([&] { theme->DrawCheckBox(sheet.Canvas(), r, TTeElementState(4), cbUnchecked); }));
  EXPECT_EQ(at([&] { theme->DrawRadioButton(sheet.Canvas(), r, kesHot, true); }), P(152, 118 + 64));
  EXPECT_EQ(at([&] { theme->DrawRadioButton(sheet.Canvas(), r, TTeElementState(5), false); }), P(152, 102));
  EXPECT_EQ(sheet.Source(18, 17), P(167, 117));
  EXPECT_TRUE(sheet.Untouched(19, 18));
  EXPECT_EQ(at([&] { theme->DrawGlyphButton(sheet.Canvas(), r, 1, kesPressed, true); }), P(168, 66));
  EXPECT_EQ(at([&] { theme->DrawGlyphButton(sheet.Canvas(), r, 2, kesHot, true); }), P(151, 49));
  EXPECT_EQ(at([&] { theme->DrawGlyphButton(sheet.Canvas(), r, 0, kesDisabled, false); }), P(134, 32));
}

TEST_F(LunaTest, ComboSpinAndMenuBarButtons) {
  auto theme = Coded();
  TSheet sheet(40, 40);
  theme->DrawComboButton(sheet.Canvas(), {0, 0, 20, 30}, kesHot);
  EXPECT_SOURCES(sheet, {0, 0, P(151, 262)}, {14, 2, P(165, 264)});
  EXPECT_TRUE(sheet.Untouched(15, 0)) << "top rows at the picture's own width";
  EXPECT_EQ(sheet.Source(0, 27), P(151, 262 + 11));
  const auto middle = sheet.Source(19, 4);
  ASSERT_TRUE(middle);
  EXPECT_TRUE(middle->y >= 265 && middle->y < 273);
  EXPECT_EQ(sheet.Source(5, 11), P(155, 321)) << "arrow centred in the rect shrunk by 3 at top and bottom";

  theme->DrawSpinButton(sheet.Fresh(), {0, 0, 30, 30}, kesDisabled, 0);
  EXPECT_SOURCES(sheet, {0, 0, P(132, 320)}, {29, 29, P(145, 333)});

  TTeCustomItem item(nullptr);
  auto button = [&](TTeItemButtonKind kind, bool selected, bool hot) {
    sheet.Clear();
    item.SetButtonKind(kind);
    theme->DrawMenuBarButton(sheet.Canvas(), &item, {0, 0, 23, 23}, selected, hot);
    return sheet.Source(2, 2);
  };
  EXPECT_EQ(button(kibClose, false, true), P(38, 310));
  EXPECT_EQ(button(kibRestore, true, true), P(19, 329));
  EXPECT_EQ(button(kibMinimize, true, false), P(0, 348));
  button(kibSystemMenu, true, false);
  EXPECT_EQ(sheet.ColorAt(0, 0), theme->GetColor(ktcMenuBarSelection));
  button(kibSystemMenu, false, false);
  EXPECT_EQ(sheet.ColorAt(22, 22), theme->GetColor(ktcMenu));
  EXPECT_FALSE(button(kibNone, true, true));
}

TEST_F(LunaTest, NinePartCornersAreKeyedUnlessOpaque) {
  auto theme = Coded();
  // A keyed pixel in the top-left corner of the push button, the panel and
  // the scroll thumb pictures.
  *theme->PrimarySkin().PixelPtr(70, 100) = kTransparentMarker;
  *theme->SecondarySkin().PixelPtr(153, 344) = kTransparentMarker;
  *theme->SecondarySkin().PixelPtr(1, 305) = kTransparentMarker;
  TSheet sheet(40, 30);
  theme->DrawButton(sheet.Canvas(), 40, 30, kesNormal);
  EXPECT_TRUE(sheet.Untouched(0, 0)) << "the button's corners are keyed";
  EXPECT_EQ(sheet.Source(1, 0), P(71, 100));
  theme->DrawPanel(sheet.Fresh(), {0, 0, 40, 30});
  EXPECT_EQ(sheet.At(0, 0) & 0xFFFFFFu, kTransparentMarker) << "the panel's corners are copied opaque";
  EXPECT_EQ(sheet.Source(39, 29), S(167, 361));
  theme->DrawScrollThumb(sheet.Fresh(), {0, 0, 40, 30}, sbHorizontal, kesNormal);
  EXPECT_EQ(sheet.At(0, 0) & 0xFFFFFFu, kTransparentMarker) << "framed nine parts are opaque throughout";
  EXPECT_EQ(sheet.Source(39, 29), S(17, 321));

  // The band's grip tiles its 10 x 6 picture from the grip's corner.
  theme->DrawControlBand(sheet.Fresh(), {0, 0, 40, 30}, {3, 2, 28, 20});
  EXPECT_SOURCES(sheet, {3, 2, P(119, 58)}, {13, 8, P(119, 58)}, {27, 19, P(123, 63), "the last tiles are cut"});
  EXPECT_PIXELS(sheet, {30, 25, theme->GetColor(ktcFace)}, {0, 0, Lighten(theme->GetColor(ktcFace), 50)},
                {39, 29, Darken(theme->GetColor(ktcFace), 50)});
}

TEST_F(LunaTest, GroupBoxHeaderAndEditOutlines) {
  TTeThemeLuna theme;
  const TColor frame = theme.GetColor(ktcFrame);
  TSheet sheet(80, 60);
  theme.DrawGroupBox(sheet.Canvas(), {0, 5, 70, 50}, {10, 0, 30, 12}, "");
  EXPECT_PIXELS(sheet, {2, 5, frame}, {9, 5, frame}, {10, 5, kLeftAlone, "open under the caption"}, {29, 5, kLeftAlone},
                {30, 5, frame}, {68, 5, frame}, {69, 6, frame, "cut corner"}, {70, 5, kLeftAlone},
                {70, 30, frame, "the outline runs on right and bottom themselves"}, {35, 50, frame}, {0, 30, frame},
                {0, 5, kLeftAlone}, {35, 30, kLeftAlone, "the inside is not filled"});

  theme.DrawHeader(sheet.Fresh(), {0, 0, 80, 20}, "");
  EXPECT_PIXELS(sheet, {0, 0, kLeftAlone, "the top row leaves out the first and last column"}, {79, 0, kLeftAlone},
                {0, 1, theme.GetColor(ktcHeaderLight)});
  const std::vector<TGradientBand> bands =
      GradientBands({0, 2, 80, 20}, theme.GetColor(ktcHeaderLight), theme.GetColor(ktcHeaderDark), false);
  ASSERT_FALSE(bands.empty());
  EXPECT_PIXELS(sheet, {79, 19, bands.back().color}, {79, 1, bands.back().color},
                {40, 20, frame, "the line under the header"});

  theme.DrawEdit(sheet.Fresh(), {0, 0, 60, 40}, true, 0);
  EXPECT_PIXELS(sheet, {30, 0, frame}, {30, 10, theme.GetColor(ktcWindow)}, {0, 30, frame},
                {30, 20, theme.GetColor(ktcWindow), "the inner frame's top is filled over again"});
}

// --- bars ----------------------------------------------------------------------------

TEST_F(LunaTest, ProgressBarBlocks) {
  TTeThemeLuna theme;
  const TColor fill = theme.GetColor(ktcSelection);
  TSheet sheet(140, 140);
  // L = round(0.64 * 20) = 13, step 15, n = 100 div 15 = 6: seven blocks,
  // the last reaching past the bar and cut only by the whole rect.
  theme.DrawProgressBar(sheet.Canvas(), {0, 0, 120, 20}, {0, 0, 100, 20}, false, false);
  for (int q = 0; q <= 6; ++q) {
    SCOPED_TRACE(q);
    EXPECT_PIXELS(sheet, {15 * q, 10, fill}, {15 * q + 12, 19, fill}, {15 * q + 13, 10, kLeftAlone},
                  {15 * q + 14, 10, kLeftAlone});
  }
  EXPECT_PIXELS(sheet, {102, 0, fill}, {105, 10, kLeftAlone, "no eighth block"}, {10, 20, kLeftAlone});

  // Vertical: L = 13 + 2 = 15, blocks of 13 rows from the bottom up.
  theme.DrawProgressBar(sheet.Fresh(), {0, 0, 20, 120}, {0, 20, 20, 120}, true, false);
  EXPECT_PIXELS(sheet, {10, 119, fill}, {10, 107, fill}, {10, 106, kLeftAlone}, {10, 105, kLeftAlone}, {0, 104, fill},
                {19, 29, fill, "q = 6 reaches rows 17..29"}, {19, 30, kLeftAlone}, {19, 17, fill},
                {10, 16, kLeftAlone});

  theme.DrawProgressBar(sheet.Fresh(), {0, 0, 120, 20}, {0, 0, 14, 20}, false, false);
  EXPECT_TRUE(sheet.Untouched(0, 0)) << "shorter than one block and gap: nothing";
  theme.DrawProgressBar(sheet.Canvas(), {0, 0, 120, 20}, {0, 0, 14, 20}, false, true);
  EXPECT_PIXELS(sheet, {13, 19, fill}, {14, 0, kLeftAlone});

  theme.DrawProgressBarFrame(sheet.Fresh(), {0, 0, 50, 20});
  EXPECT_PIXELS(sheet, {25, 0, theme.GetColor(ktcFrame)}, {25, 10, theme.GetColor(ktcWindow)});
}

TEST_F(LunaTest, ScrollTrackBarTabAndStatusPictures) {
  auto theme = Coded();
  TSheet sheet(60, 60);
  theme->DrawScrollButton(sheet.Canvas(), {0, 0, 17, 17}, true, true, kesHot);
  EXPECT_SOURCES(sheet, {0, 0, S(1, 322)}, {4, 4, S(2, 384), "arrow centred"});
  theme->DrawArrowButton(sheet.Fresh(), {0, 0, 17, 17}, false, 0, kesNormal);
  EXPECT_EQ(sheet.Source(4, 4), S(29, 375));

  theme->DrawTrackBarThumb(sheet.Fresh(), {2, 3, 40, 40}, true, 1, kesDisabled);
  EXPECT_EQ(sheet.Source(2, 3), S(153, 96 + 4 * 55));
  theme->DrawTrackBarThumb(sheet.Fresh(), {2, 3, 40, 40}, false, 0, TTeElementState(4));
  EXPECT_EQ(sheet.Source(2, 3), S(80, 100 + 3 * 43));
  theme->DrawTrackBarThumb(sheet.Fresh(), {2, 3, 40, 40}, false, 3, kesNormal);
  EXPECT_TRUE(sheet.Untouched(2, 3));

  for (auto [position, column] : {std::pair{tpTop, 68}, {tpBottom, 89}, {tpLeft, 131}, {tpRight, 110}}) {
    theme->DrawTab(sheet.Fresh(), {0, 0, 30, 30}, position, kesNormal);
    EXPECT_EQ(sheet.Source(0, 0), S(column, 365));
  }
  theme->DrawTab(sheet.Fresh(), {0, 0, 30, 30}, tpTop, TTeElementState(4));
  EXPECT_EQ(sheet.Source(29, 29), S(86, 406));
  theme->DrawTab(sheet.Fresh(), {0, 0, 30, 30}, tpTop, kesPressed);
  EXPECT_TRUE(sheet.Untouched(15, 15));

  theme->DrawStateBox(sheet.Fresh(), {0, 0, 30, 30}, 0, 5);
  EXPECT_EQ(sheet.Source(0, 0), S(103, 137));

  // A panel of a bar paints the bar's picture over the whole bar first.
  TControl bar(nullptr);
  bar.SetBounds(0, 0, 60, 22);
  TTeStatusPanel panel(&bar);
  theme->DrawStatusPanel(sheet.Fresh(), {10, 2, 40, 20}, &panel);
  EXPECT_SOURCES(sheet, {0, 0, P(60, 331)}, {59, 21, P(127, 345)});
  const auto separator = sheet.Source(37, 10);
  ASSERT_TRUE(separator);
  EXPECT_EQ(separator->x, 60);
  EXPECT_TRUE(sheet.Untouched(0, 22));
  TTeStatusPanel loose;
  theme->DrawStatusPanel(sheet.Fresh(), {10, 2, 40, 20}, &loose);
  EXPECT_TRUE(sheet.Untouched(0, 0));
  EXPECT_EQ(sheet.Source(39, 2), P(62, 348));
}

TEST_F(LunaTest, PlainElementsUseTheColourTable) {
  TTeThemeMetalLuna theme;
  TSheet sheet(60, 50);
  theme.DrawListBorder(sheet.Canvas(), {0, 0, 50, 40}, kesNormal);
  EXPECT_PIXELS(sheet, {0, 0, theme.GetColor(ktcFrame)}, {8, 20, theme.GetColor(ktcWindow)},
                {49, 39, theme.GetColor(ktcFrame)},
                {45, 35, theme.GetColor(ktcWindow), "the corner square between two scroll bars"}, {9, 15, kLeftAlone});
  theme.DrawScrollBoxBorder(sheet.Fresh(), {0, 0, 50, 40}, false);
  EXPECT_PIXELS(sheet, {0, 0, theme.GetColor(ktcDisabledFrame)}, {9, 20, theme.GetColor(ktcDisabledFace)},
                {10, 15, kLeftAlone});

  theme.DrawListItem(sheet.Fresh(), {5, 5, 20, 20}, 4 | 2);
  EXPECT_PIXELS(sheet, {4, 4, theme.GetColor(ktcMenuItemSelection), "grown by one"}, {10, 10, theme.GetColor(ktcFace)});
  theme.DrawListItem(sheet.Canvas(), {5, 5, 20, 20}, 1);
  EXPECT_EQ(sheet.ColorAt(10, 10), theme.GetColor(ktcHotFace));
  theme.DrawSplitter(sheet.Canvas(), {30, 0, 35, 50}, false, true);
  EXPECT_EQ(sheet.ColorAt(32, 40), theme.GetColor(ktcFace));

  theme.DrawTrackBarTrack(sheet.Fresh(), {0, 0, 50, 10}, {10, 2, 20, 8});
  EXPECT_PIXELS(sheet, {0, 0, ColorToRGB(clBtnShadow)}, {49, 9, ColorToRGB(clBtnHighlight)}, {11, 3, FromRGB(0x21C321)},
                {10, 3, theme.GetColor(ktcWindow)});
}

TEST_F(LunaTest, PopupItems) {
  TTeThemeLuna theme;
  TSheet sheet(200, 30);
  TTeCustomItem separator(nullptr);
  separator.SetCaption("-");
  int width = 0, height = 0;
  theme.MeasurePopupItem(sheet.Canvas(), &separator, width, height);
  EXPECT_EQ(height, 9);
  theme.DrawPopupItem(sheet.Canvas(), &separator, {0, 0, 100, 9}, false, 0);
  EXPECT_PIXELS(sheet, {2, 4, ColorToRGB(clBtnShadow)}, {97, 4, ColorToRGB(clBtnShadow)},
                {98, 4, theme.GetColor(ktcMenuItem)}, {50, 3, theme.GetColor(ktcMenuItem)});

  TTeCustomItem item(nullptr);
  item.SetCaption("Open");
  theme.MeasurePopupItem(sheet.Canvas(), &item, width, height);
  EXPECT_EQ(height, 22);
  const int plain = width;
  EXPECT_EQ(plain, sheet.Canvas().TextWidth("Open") + 64);
  item.SetShortCut(kscCtrl | 'O');
  theme.MeasurePopupItem(sheet.Canvas(), &item, width, height);
  EXPECT_EQ(width, plain + sheet.Canvas().TextWidth("Ctrl+O"));

  // Selected and checked: the selection fill with its frame, and the check
  // mark's black and white strokes around the image column's centre.
  item.SetChecked(true);
  theme.DrawPopupItem(sheet.Fresh(), &item, {0, 0, 200, 22}, true, 0);
  EXPECT_PIXELS(sheet, {0, 0, theme.GetColor(ktcMenuArrow)}, {100, 1, theme.GetColor(ktcMenuItemSelection)});
  const int cx = 11 - 2, cy = 11 + 1;
  EXPECT_PIXELS(sheet, {cx, cy, clBlack}, {cx - 2, cy - 2, clBlack}, {cx, cy + 2, clWhite}, {cx + 5, cy - 4, clWhite});

  EXPECT_EQ(ShortCutToText(kscShift | kscAlt | 0x71), "Shift+Alt+F2");
  EXPECT_EQ(ShortCutToText(0x2E), "Del");
  EXPECT_EQ(ShortCutToText(0), "");
}

TEST_F(LunaTest, MenuBarItemsAndPopupFrame) {
  TTeThemeMetalLuna theme;
  TSheet sheet(60, 30);
  TTeCustomItem item(nullptr);
  item.SetCaption("File");
  int width = 0, height = 0;
  theme.MeasureMenuBarItem(sheet.Canvas(), &item, width, height);
  EXPECT_EQ(height, 22);
  EXPECT_EQ(width, sheet.Canvas().TextWidth("File") + 12);

  theme.DrawMenuBarItem(sheet.Canvas(), &item, {0, 0, 40, 22}, true, true);
  EXPECT_PIXELS(sheet, {0, 0, theme.GetColor(ktcMenu)}, {1, 1, theme.GetColor(ktcMenuArrow)},
                {2, 2, theme.GetColor(ktcMenuBarSelection)});
  item.SetOnControlBar(true);
  theme.DrawMenuBarItem(sheet.Canvas(), &item, {0, 0, 40, 22}, false, false);
  EXPECT_EQ(sheet.ColorAt(0, 0), theme.GetColor(ktcFace));

  theme.DrawPopupMenu(sheet.Fresh(), 50, 30);
  EXPECT_PIXELS(sheet, {0, 0, theme.GetColor(ktcMenuArrow)}, {2, 2, theme.GetColor(ktcMenuItem)},
                {47, 27, theme.GetColor(ktcMenuItem)}, {3, 3, kLeftAlone, "the inside is left to the items"});

  theme.DrawPopupScrollButton(sheet.Fresh(), {0, 0, 21, 10}, 2, false);
  // The 7 x 4 box sits at (7, 3); pointing down, its apex is the middle of the bottom row.
  EXPECT_PIXELS(sheet, {7, 3, theme.GetColor(ktcMenuItemText)}, {13, 3, theme.GetColor(ktcMenuItemText)},
                {10, 6, theme.GetColor(ktcMenuItemText)}, {7, 6, theme.GetColor(ktcMenuItem)});
}

// --- loading, keying and tinting the skins ------------------------------------------

// The engine's keyed and tinted skins against the same resources loaded afresh.
uint32_t Rgb(uint32_t argb) { return argb & 0xFFFFFFu; }

class TTestSkinsLuna : public TTeThemeLuna {
 public:
  explicit TTestSkinsLuna(const TTeSkinResources& skins) : TTeThemeLuna(skins) {}
  void Reload(const TTeSkinResources& skins) { LoadSkinsFrom(skins); }
};

TEST_F(LunaTest, KeysBySecondarySkinCorner) {
  // The 6 x 4 test image: magenta in the top-left corner, 0x010203 in the
  // bottom-left one.
  const uint32_t magenta = 0xFFFF00FFu, red = 0xFFFF0000u, nearBlack = 0xFF010203u;
  for (bool bottomLeft : {false, true}) {
    TTestSkinsLuna theme({"TINYPCX", "TINYPCX", bottomLeft});
    const TTeBitmap& primary = theme.PrimarySkin();
    ASSERT_EQ(primary.Width(), 6);
    EXPECT_EQ(primary.GetPixel(0, 0), kTransparentMarker);
    EXPECT_EQ(primary.GetPixel(5, 3), kTransparentMarker);
    EXPECT_EQ(primary.GetPixel(0, 3), nearBlack) << "the primary skin is always keyed by its top-left pixel";
    const TTeBitmap& secondary = theme.SecondarySkin();
    EXPECT_EQ(secondary.GetPixel(0, 0), bottomLeft ? magenta : kTransparentMarker);
    EXPECT_EQ(secondary.GetPixel(0, 3), bottomLeft ? kTransparentMarker : nearBlack);
    EXPECT_EQ(secondary.GetPixel(3, 0), red);
  }

  // The real skins: Metal Luna's secondary one by its bottom-left pixel.
  TTeThemeMetalLuna metal;
  EXPECT_EQ(metal.SecondarySkin().Width(), 196);
  EXPECT_EQ(metal.SecondarySkin().Height(), 435);
  EXPECT_EQ(metal.SecondarySkin().GetPixel(0, 434), kTransparentMarker);
  EXPECT_EQ(metal.PrimarySkin().GetPixel(0, 0), kTransparentMarker);
  TTeThemeLuna luna;
  EXPECT_EQ(luna.SecondarySkin().GetPixel(0, 0), kTransparentMarker);
  EXPECT_EQ(luna.PrimarySkin().Width(), 190);
  EXPECT_EQ(luna.PrimarySkin().Height(), 372);
}

TEST_F(LunaTest, SkinsThatAreNoImageOrMissing) {
  // Not a PCX image: that skin stays empty and unkeyed; pictures cut from it
  // paint nothing, while the colour-table elements still paint.
  TTestSkinsLuna theme({"NOTPCX", "TINYPCX", false});
  EXPECT_TRUE(theme.PrimarySkin().Empty());
  EXPECT_FALSE(theme.SecondarySkin().Empty());
  TSheet sheet(60, 40);
  theme.DrawButton(sheet.Canvas(), 60, 40, kesNormal);
  theme.DrawStatusBar(sheet.Canvas(), {0, 0, 60, 40});
  EXPECT_TRUE(sheet.Untouched(30, 20));
  theme.DrawListBorder(sheet.Canvas(), {0, 0, 60, 40}, kesNormal);
  EXPECT_EQ(sheet.ColorAt(0, 0), theme.GetColor(ktcFrame));

  // A missing skin is left empty too: the style answers that it is not
  // available rather than raising from its constructor.
  TTestSkinsLuna missing({"TINYPCX", "NO_SUCH_SKIN", false});
  EXPECT_EQ(missing.PrimarySkin().Width(), 6);
  EXPECT_TRUE(missing.SecondarySkin().Empty());

  // A reload goes into the bitmaps the skins have, and whatever it cannot
  // load is left empty, not as it was.
  TTestSkinsLuna reloaded({"TINYPCX", "TINYPCX", false});
  const HBITMAP secondaryHandle = reloaded.SecondarySkin().Handle();
  reloaded.Reload({"NOTPCX", "TINYPCX", false});
  EXPECT_TRUE(reloaded.PrimarySkin().Empty());
  EXPECT_EQ(reloaded.SecondarySkin().Handle(), secondaryHandle);
  EXPECT_EQ(reloaded.SecondarySkin().GetPixel(0, 0), kTransparentMarker);
  reloaded.Reload({"TINYPCX", "TINYPCX", false});
  EXPECT_EQ(reloaded.PrimarySkin().Width(), 6);
  EXPECT_NO_THROW(reloaded.Reload({"TINYPCX", "NO_SUCH_SKIN", false}));
  EXPECT_EQ(reloaded.PrimarySkin().Width(), 6);
  EXPECT_TRUE(reloaded.SecondarySkin().Empty());
  EXPECT_NO_THROW(reloaded.Reload({"NO_SUCH_SKIN", "TINYPCX", false}));
  EXPECT_TRUE(reloaded.PrimarySkin().Empty());
  EXPECT_EQ(reloaded.SecondarySkin().Width(), 6);
}

TEST_F(LunaTest, PcxStreamsAreJudgedByTheirHeader) {
  TTeBitmap bitmap;
  bitmap.LoadFromPcxResource(GetModuleHandleW(nullptr), "TINYPCX");
  ASSERT_EQ(bitmap.Width(), 6);
  // Far beyond the largest image a skin may be: not PCX, so never read.
  std::vector<uint8_t> huge(48u << 20, 0x42);
  TMemoryStream large{std::span<const uint8_t>(huge)};
  EXPECT_NO_THROW(bitmap.LoadFromPcx(large));
  EXPECT_EQ(bitmap.Width(), 6);
  EXPECT_EQ(large.Position(), 128) << "only the header was read";
  // Shorter than the header: a read error whatever the first byte is.
  const std::vector<uint8_t> small = {'B', 'M', 0, 0};
  TMemoryStream shortStream{std::span<const uint8_t>(small)};
  EXPECT_THROW(bitmap.LoadFromPcx(shortStream), EReadError);
  EXPECT_EQ(bitmap.Width(), 6);
  // From the stream's position on.
  TResourceStream resource(GetModuleHandleW(nullptr), "TINYPCX");
  std::vector<uint8_t> shifted(7, 0x55);
  shifted.resize(7 + static_cast<size_t>(resource.Size()));
  resource.ReadBuffer(shifted.data() + 7, static_cast<size_t>(resource.Size()));
  TMemoryStream offset{std::span<const uint8_t>(shifted)};
  offset.SetPosition(7);
  TTeBitmap fromOffset;
  fromOffset.LoadFromPcx(offset);
  ASSERT_EQ(fromOffset.Width(), 6);
  EXPECT_EQ(fromOffset.GetPixel(3, 0), bitmap.GetPixel(3, 0));
}

TEST_F(LunaTest, UpdateColorsTintsFreshCopiesOfTheSkins) {
  const TTeThemeMetalLuna fresh;
  TTeThemeMetalLuna theme;
  auto same = [](const TTeBitmap& a, const TTeBitmap& b) {
    if (a.Width() != b.Width() || a.Height() != b.Height()) return false;
    for (int y = 0; y < a.Height(); ++y)
      for (int x = 0; x < a.Width(); ++x)
        if (a.GetPixel(x, y) != b.GetPixel(x, y)) return false;
    return true;
  };
  theme.SetDeltaHue(40);
  int keyed = 0, changed = 0;
  for (const auto& [tinted, original] :
       {std::pair{&theme.PrimarySkin(), &fresh.PrimarySkin()}, {&theme.SecondarySkin(), &fresh.SecondarySkin()}}) {
    const TPixelBuffer a = tinted->Pixels(), b = original->Pixels();
    for (int y = 0; y < a.height; ++y)
      for (int x = 0; x < a.width; ++x) {
        const uint32_t before = b.Row(y)[x], after = a.Row(y)[x];
        if (before == kTransparentMarker) {
          ++keyed;
          ASSERT_EQ(after, kTransparentMarker) << x << "," << y;
        } else {
          ASSERT_EQ(Rgb(after), Rgb(ShiftHue(before, 40))) << x << "," << y;
          changed += Rgb(after) != Rgb(before) ? 1 : 0;
        }
      }
  }
  EXPECT_GT(keyed, 1000);
  EXPECT_GT(changed, 1000);

  // A second change starts again from the resources: no tint accumulates.
  theme.SetDeltaHue(80);
  TTeThemeMetalLuna direct;
  direct.SetDeltaHue(80);
  EXPECT_TRUE(same(theme.PrimarySkin(), direct.PrimarySkin()));
  EXPECT_TRUE(same(theme.SecondarySkin(), direct.SecondarySkin()));
  theme.SetDeltaHue(0);
  EXPECT_TRUE(same(theme.PrimarySkin(), fresh.PrimarySkin()));
  EXPECT_TRUE(same(theme.SecondarySkin(), fresh.SecondarySkin()));

  // Brightness after hue, on both skins; the colours follow at once.
  theme.SetDeltaBrightness(-30);
  const uint32_t frame = fresh.PrimarySkin().GetPixel(30, 10);
  ASSERT_NE(frame, kTransparentMarker);
  EXPECT_EQ(Rgb(theme.PrimarySkin().GetPixel(30, 10)), Rgb(ShiftBrightness(frame, -30)));
  EXPECT_EQ(Rgb(theme.SecondarySkin().GetPixel(30, 10)),
            Rgb(ShiftBrightness(fresh.SecondarySkin().GetPixel(30, 10), -30)));
  EXPECT_EQ(theme.GetColor(ktcWindow), AdjustThemeColor(FromRGB(0xF8F8FF), 0, -30));
}

// The skins as the style used to make them, every step over every pixel:
// decode, key by the corner pixel, shift the hue, shift the brightness.
TEST_F(LunaTest, PaletteTintGivesThePixelsOfTheStepByStepTint) {
  const HINSTANCE module = GetModuleHandleW(nullptr);
  struct TCase {
    const char* name;
    bool keyBottomLeft;
  };
  auto stepwise = [&](const TCase& skin, int hue, int brightness) {
    auto bitmap = std::make_unique<TTeBitmap>();
    bitmap->LoadFromPcxResource(module, skin.name);
    bitmap->MakeTransparent(bitmap->GetPixel(0, skin.keyBottomLeft ? bitmap->Height() - 1 : 0));
    bitmap->ApplyHueShift(hue);
    bitmap->ApplyBrightnessShift(brightness);
    return bitmap;
  };
  auto samePixels = [](const TTeBitmap& a, const TTeBitmap& b) {
    return a.Width() == b.Width() && a.Height() == b.Height() &&
           std::equal(a.Bits(), a.Bits() + static_cast<size_t>(a.Width()) * a.Height(), b.Bits());
  };
  TTeThemeLuna luna;
  TTeThemeMetalLuna metal;
  for (auto [hue, brightness] : {std::pair{40, 0}, {0, -30}, {-85, 25}, {255, 0}, {17, 200}}) {
    for (auto [theme, primary, secondary] :
         {std::tuple<TTeThemeLuna*, TCase, TCase>{&luna, {"XP_MAIN", false}, {"XP_MAIN1", false}},
          {&metal, {"XP_METAL_MAIN", false}, {"XP_METAL_MAIN1", true}}}) {
      theme->SetDeltaHue(hue);
      theme->SetDeltaBrightness(brightness);
      for (auto [skin, source] : {std::pair{&theme->PrimarySkin(), primary}, {&theme->SecondarySkin(), secondary}}) {
        const auto expected = stepwise(source, hue, brightness);
        EXPECT_TRUE(samePixels(*skin, *expected)) << source.name << " hue " << hue << " brightness " << brightness;
        // The framework copy follows the tint, as after the stepwise tint.
        ASSERT_NE(skin->CachedBitmap(), nullptr) << source.name;
        EXPECT_EQ(skin->CachedBitmap()->Width(), skin->Width());
        const auto* cached = static_cast<const uint32_t*>(skin->CachedBitmap()->ScanLine(7));
        EXPECT_TRUE(std::equal(cached, cached + skin->Width(), skin->PixelPtr(0, 7))) << source.name;
      }
    }
  }
}

// Skins made in the memory of released bitmaps, whatever that memory held:
// bit for bit the skins made in new memory, for both styles, tinted or not.
TEST_F(LunaTest, SkinsInReusedMemoryAreTheSkinsInNewMemory) {
  auto samePixels = [](const TTeBitmap& a, const TTeBitmap& b) {
    return a.Width() == b.Width() && a.Height() == b.Height() &&
           std::equal(a.Bits(), a.Bits() + static_cast<size_t>(a.Width()) * a.Height(), b.Bits());
  };
  for (auto [hue, brightness] : {std::pair{0, 0}, {-85, 25}}) {
    ReleaseIdleGdiCaches();
    TTeThemeLuna newLuna;
    TTeThemeMetalLuna newMetal;
    newLuna.SetDeltaHue(hue);
    newLuna.SetDeltaBrightness(brightness);
    newMetal.SetDeltaHue(hue);
    newMetal.SetDeltaBrightness(brightness);
    // Bitmaps of the skins' sizes full of the marker and other colours a
    // skin never has, released: the next skins are made in their memory.
    std::vector<const uint32_t*> released;
    {
      std::vector<std::unique_ptr<TTeBitmap>> dirty;
      for (const TTeBitmap* skin :
           {&newLuna.PrimarySkin(), &newLuna.SecondarySkin(), &newMetal.PrimarySkin(), &newMetal.SecondarySkin()}) {
        dirty.push_back(std::make_unique<TTeBitmap>());
        dirty.back()->SetSize(skin->Width(), skin->Height());
        dirty.back()->Fill(skin == &newLuna.PrimarySkin() ? kTransparentMarker : 0x80FEDCBAu);
        released.push_back(dirty.back()->Bits());
      }
    }
    TTeThemeLuna reusedLuna;
    TTeThemeMetalLuna reusedMetal;
    reusedLuna.SetDeltaHue(hue);
    reusedLuna.SetDeltaBrightness(brightness);
    reusedMetal.SetDeltaHue(hue);
    reusedMetal.SetDeltaBrightness(brightness);
    for (auto [made, expected] : {std::pair{&reusedLuna.PrimarySkin(), &newLuna.PrimarySkin()},
                                  {&reusedLuna.SecondarySkin(), &newLuna.SecondarySkin()},
                                  {&reusedMetal.PrimarySkin(), &newMetal.PrimarySkin()},
                                  {&reusedMetal.SecondarySkin(), &newMetal.SecondarySkin()}}) {
      EXPECT_NE(std::find(released.begin(), released.end(), made->Bits()), released.end())
          << "a skin of " << made->Width() << " x " << made->Height() << " got the released memory";
      EXPECT_TRUE(samePixels(*made, *expected)) << made->Width() << " x " << made->Height() << " hue " << hue;
    }
  }
}

}  // namespace
}  // namespace hv
