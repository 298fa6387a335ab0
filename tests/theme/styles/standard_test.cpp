// Advanced and KDE: the tables, and the pixels of a representative element
// of every kind at the points and edges their geometry fixes.

#include "theme/styles/standard.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <cstdlib>
#include <memory>

#include "tests/theme/styles/skin_test_support.h"
#include "theme/core/colors.h"
#include "theme/core/themeitems.h"
#include "theme/core/themelibrary.h"
#include "theme/styles/allstyles.h"

namespace hv {
namespace {

using test::kLeftAlone;
using test::TSheet;

constexpr TColor FromRGB(uint32_t rgb) {
  return static_cast<TColor>(((rgb & 0xFF) << 16) | (rgb & 0xFF00) | ((rgb >> 16) & 0xFF));
}

class StandardStyleTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { StartThemeLibrary({.registerStyles = &RegisterAllStyles}); }
  static void TearDownTestSuite() { FinishThemeLibrary(); }

  TTeThemeStd std_;
  TTeThemeKDE kde_;
  TColor Face(const TTeTheme& t) const { return t.GetColor(ktcFace); }
};

int ChannelDistance(TColor a, TColor b) {
  int worst = 0;
  for (int shift : {0, 8, 16})
    worst = std::max(worst, std::abs(static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF)));
  return worst;
}

// --- registry and tables -----------------------------------------------------------------

TEST_F(StandardStyleTest, RegisteredAtTheirPlacesAmongAllStyles) {
  EXPECT_EQ(FindThemeClass("Advanced"), ThemeClassOf<TTeThemeStd>());
  EXPECT_EQ(FindThemeClass("KDE"), ThemeClassOf<TTeThemeKDE>());
  EXPECT_EQ(FindThemeClass("advanced"), nullptr);
  // The registry's order: Luna 4th and Metal Luna 5th of the styles, Advanced
  // right after them, KDE last before "No Theme".
  std::vector<std::string> names;
  for (int i = 0; i < ThemeClassCount(); ++i) names.push_back(ThemeClasses(i)->GetName());
  auto at = [&](const char* name) { return std::find(names.begin(), names.end(), name) - names.begin(); };
  EXPECT_EQ(at("Advanced"), at("MetalLuna") + 1);
  EXPECT_EQ(at("KDE"), static_cast<long>(names.size()) - 2);
  EXPECT_EQ(names.back(), "No Theme");
  for (TTeThemeClass c : {ThemeClassOf<TTeThemeStd>(), ThemeClassOf<TTeThemeKDE>()}) {
    EXPECT_TRUE(c->IsThemeAvailable());
    std::unique_ptr<TTeTheme> theme = c->Create();
    EXPECT_EQ(theme->ThemeClass(), c);
    EXPECT_TRUE(theme->HasCaptionShadow());
    EXPECT_EQ(theme->GetFormRegion(300, 200, kbsStandard), nullptr);
    EXPECT_EQ(theme->GetFormRegion(300, 200, kbsToolWindow), nullptr);
  }
  EXPECT_EQ(ThemeClassOf<TTeThemeKDE>()->ClassName(), "TTeThemeKDE");
}

TEST_F(StandardStyleTest, ColourTableThroughThePipeline) {
  // clang-format off
  const std::array<TColor, kThemeColorCount> bases = {
      clActiveCaption,   clInactiveCaption, 0,        FromRGB(0xFFFFFF), kFallbackColor,    FromRGB(0xFFFFFF),
      clWindow,          0,                 clHighlight, FromRGB(0xFEFEFB), FromRGB(0xC5C5B1), clBtnFace,
      FromRGB(0xE6DCDC), 0,                 0,        clHighlight,       0,                 clHighlight,
      clMenuText,        clHighlightText,   clMenuText, clHighlightText, FromRGB(0x808080), 0,
      FromRGB(0x95CEFF), FromRGB(0x316AC5)};
  // clang-format on
  const TColor menu = Lighten(SysColorToRGB(clBtnFace), 10);
  for (int kind = 0; kind < kThemeColorCount; ++kind) {
    const TColor expected = kind == ktcMenu || kind == ktcMenuItem ? menu : SysColorToRGB(bases[kind]);
    EXPECT_EQ(std_.GetColor(static_cast<TTeThemeColor>(kind)), expected) << kind;
    if (kind > ktcInactiveCaption) {
      EXPECT_EQ(kde_.GetColor(static_cast<TTeThemeColor>(kind)), expected) << kind;
    }
  }
  EXPECT_EQ(kde_.GetColor(ktcActiveCaption), FromRGB(0x526E95));
  EXPECT_EQ(kde_.GetColor(ktcInactiveCaption), FromRGB(0x808080));
  // Every kind outside the table, -1 included, is the default kind.
  for (int kind : {26, 27, 100, 255}) {
    EXPECT_EQ(std_.GetColor(static_cast<TTeThemeColor>(kind)), std_.GetColor(ktcDefault)) << kind;
    EXPECT_EQ(kde_.GetColor(static_cast<TTeThemeColor>(kind)), kde_.GetColor(ktcDefault)) << kind;
  }
  // The brightness shift reaches every colour, the menu's lightened face too.
  TTeThemeStd bright;
  bright.SetDeltaBrightness(20);
  EXPECT_EQ(bright.GetColor(ktcMenu), Lighten(menu, 20));
  EXPECT_EQ(bright.GetColor(ktcHotFace), FromRGB(0xFAF0F0));
  TTeThemeKDE tinted;
  tinted.SetDeltaHue(85);
  EXPECT_NE(tinted.GetColor(ktcActiveCaption), FromRGB(0x526E95));
}

TEST_F(StandardStyleTest, SizesAndFonts) {
  EXPECT_EQ(std_.GetSize(ktsCaption), 23);
  EXPECT_EQ(std_.GetSize(ktsToolCaption), 20);
  EXPECT_EQ(std_.GetSize(ktsButtonWidth), 18);
  EXPECT_EQ(std_.GetSize(ktsButtonTop), 6);
  EXPECT_EQ(std_.GetSize(static_cast<TTeThemeSize>(30)), 0);
  EXPECT_EQ(std_.GetSize(static_cast<TTeThemeSize>(255)), 0);
  // A tool window gets the same caption and buttons as a standard form in KDE.
  EXPECT_EQ(kde_.GetSize(ktsCaption), kde_.GetSize(ktsToolCaption));
  EXPECT_EQ(kde_.GetSize(ktsButtonWidth), 16);
  EXPECT_EQ(kde_.GetSize(ktsToolButtonHeight), 16);
  EXPECT_EQ(kde_.GetSize(ktsCaptionCorner), 30);
  EXPECT_EQ(kde_.GetSize(static_cast<TTeThemeSize>(255)), 0);
  for (int kind = 0; kind <= 5; ++kind) {
    const auto f = static_cast<TTeThemeFont>(kind);
    EXPECT_EQ(std_.GetFontName(f), "Tahoma");
    EXPECT_EQ(kde_.GetFontName(f), "Verdana");
    EXPECT_EQ(std_.GetFontSize(f), kind == ktfCaption ? 9 : 8);
    EXPECT_EQ(kde_.GetFontSize(f), kind == ktfCaption ? 9 : 8);
    const bool bold = kind == ktfCaption || kind == ktfToolCaption;
    EXPECT_EQ(std_.GetFontStyle(f), bold ? TFontStyles{fsBold} : TFontStyles{}) << kind;
    EXPECT_EQ(kde_.GetFontStyle(f), bold ? TFontStyles{fsBold} : TFontStyles{}) << kind;
  }
}

// --- frame and caption buttons -------------------------------------------------------------

TEST_F(StandardStyleTest, AdvancedFrameIsThreeRingsAroundAGradientCaption) {
  TSheet sheet(100, 60);
  std_.DrawFormFrame(sheet.Canvas(), 100, 60, {3, 23, 97, 57}, true, kbsStandard);
  const TColor f = Face(std_);
  EXPECT_PIXELS(sheet, {0, 0, Lighten(f, 150)}, {0, 58, Lighten(f, 150)}, {99, 0, Darken(f, 150)},
                {0, 59, Darken(f, 150)}, {1, 1, f}, {98, 58, Darken(f, 90)}, {2, 30, f}, {97, 57, f});
  // The caption band runs from the left border's width down to the client.
  EXPECT_PIXELS(sheet, {3, 3, std_.GetColor(ktcActiveCaption)}, {3, 22, std_.GetColor(ktcActiveCaption)});
  EXPECT_LE(ChannelDistance(sheet.ColorAt(96, 10), ColorToRGB(clGradientActiveCaption)), 3);
  EXPECT_PIXELS(sheet, {50, 23, kLeftAlone, "the client area is not the frame's"}, {3, 56, kLeftAlone});

  // A tint moves the caption's start but never the system's gradient end.
  TTeThemeStd tinted;
  tinted.SetDeltaHue(100);
  tinted.DrawFormFrame(sheet.Fresh(), 100, 60, {3, 23, 97, 57}, false, kbsStandard);
  EXPECT_EQ(sheet.ColorAt(3, 10), tinted.GetColor(ktcInactiveCaption));
  EXPECT_LE(ChannelDistance(sheet.ColorAt(96, 10), ColorToRGB(clGradientInactiveCaption)), 3);
}

TEST_F(StandardStyleTest, KdeFrameTakesTheCaptionColourAndItsDots) {
  TSheet sheet(100, 60);
  kde_.DrawFormFrame(sheet.Canvas(), 100, 60, {3, 20, 97, 57}, true, kbsStandard);
  const TColor f = kde_.GetColor(ktcActiveCaption);
  EXPECT_PIXELS(sheet, {0, 0, Lighten(f, 60)}, {99, 59, Darken(f, 60)}, {1, 30, f}, {98, 30, f}, {2, 58, f},
                {3, 30, kLeftAlone});
  // Embossed dots on the canvas's 4-pixel grid.
  for (int y = 3; y < 20; ++y)
    for (int x = 3; x < 97; ++x) {
      const TColor expected = (x % 4 == 0 && y % 4 == 0)   ? Lighten(f, 60)
                              : (x % 4 == 1 && y % 4 == 1) ? Darken(f, 60)
                                                           : f;
      ASSERT_EQ(sheet.ColorAt(x, y), expected) << x << "," << y;
    }
  // Inactive: grey.
  kde_.DrawFormFrame(sheet.Canvas(), 100, 60, {3, 20, 97, 57}, false, kbsStandard);
  EXPECT_EQ(sheet.ColorAt(6, 6), FromRGB(0x808080));
}

TEST_F(StandardStyleTest, AdvancedCaptionButtonFacesAndGlyphs) {
  TSheet sheet(18, 15);
  const TColor f = Face(std_), hot = std_.GetColor(ktcHotFace);
  // An unknown button paints only its face.
  for (int button : {8, 255}) {
    std_.DrawCaptionButton(sheet.Fresh(), {0, 0, 18, 15}, static_cast<TTeCaptionButton>(button), false, false, true,
                           kbsStandard);
    EXPECT_PIXELS(sheet, {0, 0, Lighten(f, 150)}, {17, 14, Darken(f, 150)}, {16, 13, Darken(f, 90)});
    for (int y = 2; y < 13; ++y)
      for (int x = 2; x < 16; ++x) ASSERT_EQ(sheet.ColorAt(x, y), f) << button << ": " << x << "," << y;
  }
  // Roll up: a black triangle with its point at the top, one pixel up and
  // left while not pressed.
  std_.DrawCaptionButton(sheet.Fresh(), {0, 0, 18, 15}, kcbRollup, true, false, true, kbsStandard);
  EXPECT_PIXELS(sheet, {0, 0, Lighten(hot, 150)}, {8, 4, clBlack}, {3, 9, clBlack}, {13, 9, clBlack}, {8, 3, hot},
                {8, 10, hot});
  std_.DrawCaptionButton(sheet.Fresh(), {0, 0, 18, 15}, kcbRolldown, false, true, true, kbsStandard);
  EXPECT_PIXELS(sheet, {0, 0, Darken(f, 150), "pressed is sunken"}, {1, 1, Darken(f, 90)}, {4, 5, clBlack},
                {9, 10, clBlack, "point at the bottom"}, {9, 11, f});
  // Tray: a dot in the lower middle.
  std_.DrawCaptionButton(sheet.Fresh(), {0, 0, 18, 15}, kcbTray, false, false, true, kbsStandard);
  EXPECT_PIXELS(sheet, {9, 9, clBlack}, {9, 5, f});
}

TEST_F(StandardStyleTest, KdeCaptionButtonsSitInAGroove) {
  TSheet sheet(20, 20);
  const TRect rect{2, 2, 18, 18};
  const TColor f = Face(kde_);
  kde_.DrawCaptionButton(sheet.Canvas(), rect, kcbMinimize, false, false, true, kbsStandard);
  EXPECT_PIXELS(sheet, {1, 1, f, "a ring of face around the button"}, {18, 18, f}, {0, 0, kLeftAlone},
                {2, 2, Darken(f, 120)}, {17, 17, Lighten(f, 120)}, {3, 3, Lighten(f, 120)}, {16, 16, Darken(f, 120)});
  // Minimize: a 4 x 4 square in the middle of the glyph area (3..17).
  EXPECT_PIXELS(sheet, {8, 8, clBlack}, {11, 11, clBlack}, {7, 8, f}, {12, 11, f});
  kde_.DrawCaptionButton(sheet.Fresh(), rect, kcbMinimize, true, true, true, kbsStandard);
  const TColor hot = kde_.GetColor(ktcHotFace);
  EXPECT_PIXELS(sheet, {3, 3, Darken(hot, 120), "pressed: twice sunken"}, {8, 8, hot}, {12, 12, clBlack});
  // Maximize: a two-pixel square outline 3 pixels inside the glyph area.
  kde_.DrawCaptionButton(sheet.Fresh(), rect, kcbMaximize, false, false, true, kbsStandard);
  EXPECT_PIXELS(sheet, {6, 6, clBlack}, {7, 7, clBlack}, {13, 13, clBlack}, {8, 8, f}, {5, 5, f});
  // Tray: a filled square moved towards the bottom right.
  kde_.DrawCaptionButton(sheet.Fresh(), rect, kcbTray, false, false, true, kbsStandard);
  EXPECT_PIXELS(sheet, {11, 11, clBlack}, {14, 14, clBlack}, {10, 11, f});
}

// --- buttons ------------------------------------------------------------------------------

TEST_F(StandardStyleTest, PushButtonFacesInEveryState) {
  TSheet sheet(40, 20);
  const TColor f = Face(std_);
  for (int state : {0, 4, 5, 255}) {
    std_.DrawButton(sheet.Fresh(), 40, 20, static_cast<uint8_t>(state));
    SCOPED_TRACE(state);
    EXPECT_PIXELS(sheet, {0, 0, Lighten(f, 150)}, {39, 0, Darken(f, 150)}, {0, 19, Darken(f, 150)}, {1, 1, f},
                  {38, 18, Darken(f, 90)}, {20, 10, f});
  }
  std_.DrawButton(sheet.Fresh(), 40, 20, kesPressed);
  EXPECT_PIXELS(sheet, {0, 0, Darken(f, 150)}, {39, 19, Lighten(f, 150)}, {1, 1, Darken(f, 90)}, {38, 18, f});
  std_.DrawButton(sheet.Fresh(), 40, 20, kesHot);
  EXPECT_EQ(sheet.ColorAt(20, 10), std_.GetColor(ktcHotFace));
  std_.DrawButton(sheet.Fresh(), 40, 20, kesDisabled);
  EXPECT_PIXELS(sheet, {0, 0, std_.GetColor(ktcDisabledFace)}, {39, 19, std_.GetColor(ktcDisabledFace)},
                {20, 10, kLeftAlone, "a disabled button is an outline only"});

  // KDE: two equal bevels.
  kde_.DrawButton(sheet.Fresh(), 40, 20, kesNormal);
  EXPECT_PIXELS(sheet, {0, 0, Lighten(f, 120)}, {1, 1, Lighten(f, 120)}, {38, 18, Darken(f, 120)}, {2, 2, f});
}

TEST_F(StandardStyleTest, CheckBoxFrameBackAndMark) {
  TSheet sheet(13, 13);
  const TColor f = Face(std_);
  std_.DrawCheckBox(sheet.Canvas(), {0, 0, 13, 13}, kesNormal, cbGrayed);
  EXPECT_PIXELS(sheet, {0, 0, Darken(f, 90)}, {12, 12, Lighten(f, 90)}, {1, 1, Darken(f, 150)}, {11, 11, f},
                {2, 2, std_.GetColor(ktcWindow)}, {3, 3, std_.GetColor(ktcFrame)}, {9, 9, std_.GetColor(ktcFrame)},
                {10, 10, std_.GetColor(ktcWindow)});
  std_.DrawCheckBox(sheet.Fresh(), {0, 0, 13, 13}, kesDisabled, cbGrayed);
  EXPECT_PIXELS(sheet, {2, 2, f}, {5, 5, std_.GetColor(ktcDisabledFace)});
  std_.DrawCheckBox(sheet.Fresh(), {0, 0, 13, 13}, kesHot, cbUnchecked);
  EXPECT_EQ(sheet.ColorAt(6, 6), std_.GetColor(ktcHotFace));
  // The checked glyph stays inside the box's two rings and uses only the mark.
  std_.DrawCheckBox(sheet.Fresh(), {0, 0, 13, 13}, kesNormal, cbChecked);
  EXPECT_PIXELS(sheet, {1, 1, Darken(f, 150)}, {11, 11, f});
  int marked = 0;
  for (int y = 2; y < 11; ++y)
    for (int x = 2; x < 11; ++x) {
      const TColor c = sheet.ColorAt(x, y);
      ASSERT_TRUE(c == std_.GetColor(ktcWindow) || c == std_.GetColor(ktcFrame)) << x << "," << y;
      marked += c == std_.GetColor(ktcFrame);
    }
  EXPECT_GT(marked, 0);
  // KDE: twice sunken.
  kde_.DrawCheckBox(sheet.Fresh(), {0, 0, 13, 13}, kesNormal, cbUnchecked);
  EXPECT_PIXELS(sheet, {0, 0, Darken(f, 120)}, {1, 1, Darken(f, 120)}, {11, 11, Lighten(f, 120)},
                {2, 2, kde_.GetColor(ktcWindow)});
}

TEST_F(StandardStyleTest, RadioDotInsideItsRings) {
  TSheet sheet(13, 13);
  std_.DrawRadioButton(sheet.Canvas(), {0, 0, 13, 13}, kesNormal, true);
  EXPECT_PIXELS(sheet, {6, 6, std_.GetColor(ktcFrame)}, {3, 6, std_.GetColor(ktcWindow)});
  std_.DrawRadioButton(sheet.Fresh(), {0, 0, 13, 13}, kesDisabled, true);
  EXPECT_PIXELS(sheet, {6, 6, std_.GetColor(ktcDisabledFace)}, {3, 6, Face(std_)});
  kde_.DrawRadioButton(sheet.Fresh(), {0, 0, 13, 13}, kesHot, false);
  EXPECT_PIXELS(sheet, {6, 6, kde_.GetColor(ktcHotFace)}, {6, 0, Darken(Face(kde_), 120)});
}

TEST_F(StandardStyleTest, SpeedButtonsByStateFlatAndDown) {
  TSheet sheet(24, 22);
  const TRect r{0, 0, 24, 22};
  const TColor f = Face(std_), hot = std_.GetColor(ktcHotFace);
  for (TTeTheme* t : {static_cast<TTeTheme*>(&std_), static_cast<TTeTheme*>(&kde_)}) {
    for (bool flat : {false, true}) {
      t->DrawSpeedButton(sheet.Canvas(), r, kesDisabled, flat, false);
      t->DrawSpeedButton(sheet.Canvas(), r, static_cast<TTeElementState>(4), flat, true);
      t->DrawSpeedButton(sheet.Canvas(), r, static_cast<TTeElementState>(255), flat, false);
    }
    t->DrawSpeedButton(sheet.Canvas(), r, kesNormal, true, false);
    t->DrawSpeedButton(sheet.Canvas(), r, kesHot, false, false);
    for (int y = 0; y < 22; ++y)
      for (int x = 0; x < 24; ++x) ASSERT_TRUE(sheet.Untouched(x, y)) << x << "," << y;
  }
  // Flat, hot: one raised ring on the hot face.
  std_.DrawSpeedButton(sheet.Canvas(), r, kesHot, true, false);
  EXPECT_PIXELS(sheet, {0, 0, Lighten(hot, 150)}, {23, 21, Darken(hot, 150)}, {1, 1, hot});
  // Flat and staying down: sunken with a dither of face and white on the
  // canvas's own checkerboard.
  std_.DrawSpeedButton(sheet.Fresh(), r, kesNormal, true, true);
  EXPECT_PIXELS(sheet, {0, 0, Darken(f, 150)}, {1, 1, clWhite}, {2, 1, f});
  // Raised, down: two sunken rings, then the dither.
  std_.DrawSpeedButton(sheet.Fresh(), r, kesNormal, false, true);
  EXPECT_PIXELS(sheet, {1, 1, Darken(f, 90)}, {22, 20, f}, {2, 2, clWhite}, {3, 2, f});
  // Raised at rest: the double bevel.
  std_.DrawSpeedButton(sheet.Fresh(), r, kesNormal, false, false);
  EXPECT_PIXELS(sheet, {0, 0, Lighten(f, 150)}, {22, 20, Darken(f, 90)});
  // KDE raised at rest: twice raised by 120.
  kde_.DrawSpeedButton(sheet.Fresh(), r, kesNormal, false, false);
  EXPECT_PIXELS(sheet, {1, 1, Lighten(f, 120)}, {22, 20, Darken(f, 120)}, {2, 2, f});
  kde_.DrawSpeedButton(sheet.Fresh(), r, kesPressed, false, false);
  EXPECT_PIXELS(sheet, {1, 1, Darken(f, 120)}, {2, 2, f});
  // The spin button is a flat speed button once it is hot or pressed.
  std_.DrawSpinButton(sheet.Fresh(), r, kesHot, 0);
  EXPECT_EQ(sheet.ColorAt(1, 1), hot);
  std_.DrawSpinButton(sheet.Fresh(), r, kesNormal, 0);
  EXPECT_PIXELS(sheet, {1, 1, f}, {22, 20, Darken(f, 90)});
}

TEST_F(StandardStyleTest, ComboAndChevronArrows) {
  TSheet sheet(15, 21);
  const TColor frame = std_.GetColor(ktcFrame), f = Face(std_);
  std_.DrawComboButton(sheet.Canvas(), {0, 0, 15, 21}, kesNormal);
  // The arrow box (4, 8, 11, 12) moved down by one.
  EXPECT_PIXELS(sheet, {4, 9, frame}, {10, 9, frame}, {7, 12, frame}, {7, 8, f}, {7, 13, f});
  std_.DrawComboButton(sheet.Fresh(), {0, 0, 15, 21}, kesPressed);
  EXPECT_PIXELS(sheet, {5, 10, frame}, {8, 13, frame}, {0, 0, Darken(f, 150)});
  // A disabled chevron: no button, a grey line arrow.
  std_.DrawSpeedButtonChevron(sheet.Fresh(), {0, 0, 15, 21}, kesDisabled, true, false);
  EXPECT_PIXELS(sheet, {0, 0, kLeftAlone}, {4, 8, std_.GetColor(ktcDisabledFace)}, {11, 8, frame});
}

// --- scroll bars, bars and panels --------------------------------------------------------

TEST_F(StandardStyleTest, ScrollBarParts) {
  TSheet sheet(17, 40);
  const TColor f = Face(std_);
  std_.DrawScrollBarTrack(sheet.Canvas(), {0, 0, 17, 40}, sbVertical);
  EXPECT_PIXELS(sheet, {0, 0, clWhite}, {1, 0, f}, {16, 39, f});
  std_.DrawScrollThumb(sheet.Fresh(), {0, 0, 17, 40}, sbVertical, kesHot);
  const TColor hot = std_.GetColor(ktcHotFace);
  EXPECT_PIXELS(sheet, {0, 0, Lighten(hot, 150)}, {15, 38, Darken(hot, 90)}, {8, 20, hot});
  std_.DrawScrollThumb(sheet.Fresh(), {0, 0, 17, 40}, sbVertical, kesDisabled);
  EXPECT_EQ(sheet.ColorAt(8, 20), std_.GetColor(ktcDisabledFace));
  kde_.DrawScrollThumb(sheet.Fresh(), {0, 0, 17, 40}, sbVertical, kesPressed);
  EXPECT_PIXELS(sheet, {1, 1, Darken(f, 120)}, {15, 38, Lighten(f, 120)});
  // The buttons' bevels; their glyph comes from the platform.
  std_.DrawScrollButton(sheet.Fresh(), {0, 0, 17, 17}, true, true, kesNormal);
  EXPECT_PIXELS(sheet, {0, 0, Lighten(f, 150)}, {15, 15, Darken(f, 90)});
  std_.DrawArrowButton(sheet.Fresh(), {0, 0, 17, 17}, false, 0, kesPressed);
  EXPECT_PIXELS(sheet, {0, 0, Darken(f, 150)}, {1, 1, Darken(f, 90)});
}

TEST_F(StandardStyleTest, ProgressBarBlocksAndFrame) {
  TSheet sheet(104, 14);
  const TColor f = Face(std_), p = std_.GetColor(ktcSelection), w = std_.GetColor(ktcWindow);
  std_.DrawProgressBarFrame(sheet.Canvas(), {0, 0, 104, 14});
  EXPECT_PIXELS(sheet, {0, 0, Darken(f, 150)}, {103, 13, Lighten(f, 150)}, {1, 1, Darken(f, 90)}, {2, 2, w});
  // Inside (2, 2, 102, 12) as the bar's rect: blocks of 6 every 8 pixels,
  // starting one pixel in.
  std_.DrawProgressBar(sheet.Canvas(), {2, 2, 102, 12}, {3, 3, 7, 11}, false, false);
  EXPECT_EQ(sheet.ColorAt(3, 5), w) << "a bar shorter than one pitch paints nothing";
  // Inside (3, 3, 19, 11), 8 high: blocks of Round(5.12) = 5 every 7.
  std_.DrawProgressBar(sheet.Canvas(), {2, 2, 20, 12}, {3, 3, 19, 11}, false, false);
  EXPECT_PIXELS(sheet, {3, 3, p}, {7, 10, p}, {8, 5, w}, {10, 5, p}, {18, 5, p},
                {19, 5, w, "the third block is cut to the inside"});
  std_.DrawProgressBar(sheet.Canvas(), {2, 2, 102, 12}, {40, 3, 60, 11}, false, true);
  EXPECT_PIXELS(sheet, {41, 4, p}, {40, 4, w, "a smooth bar is its rect shrunk by one"}, {59, 4, w});
}

TEST_F(StandardStyleTest, TrackBarTrackAndThumbs) {
  TSheet sheet(120, 24);
  const TColor f = Face(std_);
  std_.DrawTrackBarTrack(sheet.Canvas(), {0, 0, 120, 8}, {30, 0, 80, 8});
  EXPECT_PIXELS(sheet, {40, 3, std_.GetColor(ktcSelection)}, {32, 3, std_.GetColor(ktcWindow)},
                {40, 2, std_.GetColor(ktcWindow)}, {0, 0, Darken(f, 150)});
  sheet.Clear();
  // A block thumb, and every shape outside 0..2 paints as one.
  for (int shape : {0, -1, 3}) {
    std_.DrawTrackBarThumb(sheet.Canvas(), {0, 0, 11, 21}, false, shape, kesNormal);
    SCOPED_TRACE(shape);
    EXPECT_PIXELS(sheet, {0, 0, Lighten(f, 150)}, {9, 19, Darken(f, 90)}, {5, 10, f});
  }
  std_.DrawTrackBarThumb(sheet.Canvas(), {20, 0, 41, 11}, true, 1, kesPressed);
  EXPECT_NE(sheet.ColorAt(25, 5), sheet.ColorAt(26, 5)) << "a pressed thumb is dithered";
  EXPECT_PIXELS(sheet, {25, 0, Lighten(f, 150), "top edge lit"}, {25, 10, Darken(f, 150), "bottom edge shaded"},
                {40, 0, kLeftAlone, "outside the point"});
}

TEST_F(StandardStyleTest, ListBorderIsSevenPixelsWithTheCornerSquare) {
  TSheet sheet(60, 40);
  const TColor f = Face(std_), w = std_.GetColor(ktcWindow);
  std_.DrawListBorder(sheet.Canvas(), {0, 0, 60, 40}, kesNormal);
  EXPECT_PIXELS(sheet, {0, 0, Darken(f, 90)}, {59, 39, Lighten(f, 90)}, {1, 1, Darken(f, 150)}, {58, 38, f});
  for (int i = 2; i < 7; ++i) {
    SCOPED_TRACE(i);
    EXPECT_PIXELS(sheet, {i, 20, w}, {59 - i, 10, w});
  }
  EXPECT_PIXELS(sheet, {7, 7, kLeftAlone}, {39, 19, kLeftAlone}, {40, 20, w, "the square between the scroll bars"},
                {50, 30, w});
  std_.DrawListBorder(sheet.Fresh(), {0, 0, 60, 40}, kesDisabled);
  EXPECT_EQ(sheet.ColorAt(4, 20), std_.GetColor(ktcDisabledFace));
  std_.DrawScrollBoxBorder(sheet.Fresh(), {0, 0, 60, 40}, true);
  EXPECT_PIXELS(sheet, {4, 20, f}, {50, 30, f});
  kde_.DrawListBorder(sheet.Fresh(), {0, 0, 60, 40}, kesNormal);
  EXPECT_PIXELS(sheet, {0, 0, Darken(f, 120)}, {1, 1, Darken(f, 120)});
}

TEST_F(StandardStyleTest, TabsRunIntoTheirPage) {
  TSheet sheet(60, 40);
  const TColor f = Face(std_);
  std_.DrawTab(sheet.Canvas(), {10, 10, 50, 30}, tpTop, kesNormal);
  EXPECT_PIXELS(sheet, {10, 20, Lighten(f, 150)}, {30, 9, Lighten(f, 150), "grown one row up"},
                {49, 20, Darken(f, 150)}, {30, 20, f}, {30, 30, f, "the bottom bevel gives way to the page"},
                {9, 31, f}, {9, 29, kLeftAlone});
  std_.DrawTab(sheet.Fresh(), {10, 10, 50, 30}, tpLeft, kesHot);
  const TColor hot = std_.GetColor(ktcHotFace);
  EXPECT_PIXELS(sheet, {9, 20, Lighten(hot, 150)}, {50, 20, hot, "the right-hand bevel gives way"},
                {30, 10, Lighten(hot, 150)});
  sheet.Clear();
  for (int position : {4, 255}) {
    std_.DrawTab(sheet.Canvas(), {10, 10, 50, 30}, static_cast<TTabPosition>(position), kesNormal);
    SCOPED_TRACE(position);
    EXPECT_PIXELS(sheet, {10, 10, Lighten(f, 150)}, {30, 20, f}, {9, 9, kLeftAlone});
  }
}

TEST_F(StandardStyleTest, PanelsEditsHeadersGroupsAndBars) {
  TSheet sheet(80, 50);
  const TColor f = Face(std_), m = std_.GetColor(ktcMenu);
  std_.DrawPanel(sheet.Canvas(), {0, 0, 80, 50});
  EXPECT_PIXELS(sheet, {0, 0, Lighten(f, 150)}, {78, 48, Darken(f, 90)}, {40, 25, f});
  kde_.DrawPanel(sheet.Fresh(), {0, 0, 80, 50});
  EXPECT_PIXELS(sheet, {0, 0, Lighten(f, 120)}, {78, 48, Darken(f, 120)}, {1, 1, f});

  std_.DrawEdit(sheet.Fresh(), {0, 0, 40, 20}, true, 0);
  EXPECT_PIXELS(sheet, {0, 0, std_.GetColor(ktcFrame)}, {1, 1, Lighten(f, 90)}, {38, 18, Darken(f, 90)},
                {2, 2, std_.GetColor(ktcWindow)});
  std_.DrawEdit(sheet.Fresh(), {0, 0, 40, 20}, false, 0);
  EXPECT_EQ(sheet.ColorAt(0, 0), std_.GetColor(ktcWindow));

  std_.DrawHeader(sheet.Fresh(), {0, 0, 60, 16}, "");
  EXPECT_PIXELS(sheet, {0, 16, std_.GetColor(ktcFrame), "the line just below"}, {59, 16, std_.GetColor(ktcFrame)},
                {30, 8, f});

  std_.DrawGroupBox(sheet.Fresh(), {2, 8, 60, 40}, {10, 2, 40, 14}, "");
  EXPECT_PIXELS(sheet, {5, 8, Lighten(f, 90)}, {5, 7, Darken(f, 90)}, {20, 8, kLeftAlone, "broken by the caption"},
                {20, 7, kLeftAlone}, {45, 8, Lighten(f, 90)}, {60, 20, Lighten(f, 90)}, {59, 20, Darken(f, 90)},
                {30, 40, Lighten(f, 90)}, {30, 39, Darken(f, 90)});

  std_.DrawControlBand(sheet.Fresh(), {0, 0, 80, 26}, {2, 2, 12, 24});
  EXPECT_PIXELS(sheet, {0, 0, Lighten(m, 90)}, {79, 25, Darken(m, 90)}, {6, 3, Lighten(m, 90), "the grip"},
                {7, 22, Darken(m, 90)}, {20, 10, m});

  std_.DrawStatusPanel(sheet.Fresh(), {0, 0, 60, 20}, nullptr);
  EXPECT_PIXELS(sheet, {0, 0, Darken(f, 90)}, {59, 19, Lighten(f, 90)}, {30, 10, f});
  std_.DrawStatusBar(sheet.Fresh(), {0, 0, 80, 20});
  std_.DrawControlBar(sheet.Canvas(), {0, 20, 80, 30});
  std_.DrawMenuBarOnControlBar(sheet.Canvas(), {0, 30, 80, 40});
  EXPECT_PIXELS(sheet, {40, 10, f}, {40, 25, f}, {40, 35, m});

  std_.DrawSplitter(sheet.Fresh(), {0, 0, 6, 40}, true, true);
  EXPECT_PIXELS(sheet, {0, 0, Lighten(m, 90)}, {5, 20, Darken(f, 90)}, {2, 20, std_.GetColor(ktcHotFace)});

  std_.DrawStateBox(sheet.Fresh(), {0, 0, 20, 20}, 0, 2);
  std_.DrawStateBox(sheet.Canvas(), {20, 0, 40, 20}, 0, 1);
  std_.DrawStateBox(sheet.Canvas(), {40, 0, 60, 20}, 0, 6);
  EXPECT_PIXELS(sheet, {0, 0, FromRGB(0x5A5A5A)}, {10, 10, clBlack}, {20, 0, Darken(f, 90)},
                {40, 0, Lighten(f, 90), "an unknown variant is a raised face box"}, {50, 10, f});

  std_.DrawListItem(sheet.Fresh(), {0, 0, 40, 10}, 4);
  kde_.DrawListItem(sheet.Canvas(), {0, 20, 40, 30}, 4);
  std_.DrawListItem(sheet.Canvas(), {50, 0, 70, 10}, 3);
  EXPECT_PIXELS(sheet, {0, 0, Lighten(f, 30)}, {39, 9, Darken(f, 30)}, {1, 21, Lighten(f, 120)},
                {40, 30, Darken(f, 120), "KDE's frame is one pixel larger"},
                {60, 5, std_.GetColor(ktcSelection), "selected wins over hot"});
}

// --- menus ---------------------------------------------------------------------------------

TEST_F(StandardStyleTest, MenuBarAndPopupItems) {
  TSheet sheet(120, 40);
  const TColor m = std_.GetColor(ktcMenu);
  TTeCustomItem item(nullptr);
  item.SetCaption("");
  std_.DrawMenuBarItem(sheet.Canvas(), &item, {0, 0, 40, 20}, true, false);
  EXPECT_PIXELS(sheet, {0, 0, kLeftAlone, "the item's outer ring is left alone"}, {1, 1, m},
                {2, 2, std_.GetColor(ktcMenuBarSelection)});
  item.SetOnControlBar(true);
  std_.DrawMenuBarItem(sheet.Canvas(), &item, {40, 0, 80, 20}, true, false);
  EXPECT_EQ(sheet.ColorAt(42, 2), Darken(Face(std_), 150)) << "a pressed flat speed button";

  // Separator: a shadow line 4 rows down, 2 pixels in from each side.
  TTeCustomItem separator(nullptr);
  separator.SetCaption("-");
  int w = 0, h = 0;
  std_.MeasurePopupItem(sheet.Canvas(), &separator, w, h);
  EXPECT_EQ(h, 9);
  std_.DrawPopupItem(sheet.Fresh(), &separator, {0, 0, 100, 9}, false, 0);
  EXPECT_PIXELS(sheet, {2, 4, ColorToRGB(clBtnShadow)}, {97, 4, ColorToRGB(clBtnShadow)},
                {1, 4, std_.GetColor(ktcMenuItem)}, {98, 4, std_.GetColor(ktcMenuItem)},
                {50, 5, std_.GetColor(ktcMenuItem)});

  // A checked item without an image: the two-colour tick around the glyph
  // column's middle.
  TTeCustomItem checked(nullptr);
  checked.SetChecked(true);
  std_.DrawPopupItem(sheet.Fresh(), &checked, {0, 0, 100, 23}, false, 0);
  EXPECT_PIXELS(sheet, {7, 10, clBlack}, {9, 12, clBlack}, {6, 10, clWhite}, {30, 2, std_.GetColor(ktcMenuItem)});
  std_.DrawPopupItem(sheet.Fresh(), &checked, {0, 0, 100, 23}, true, 0);
  EXPECT_EQ(sheet.ColorAt(30, 2), std_.GetColor(ktcMenuItemSelection));

  // Sub-items: a small dot in the right-hand column.
  TTeCustomItem parent(nullptr), child(nullptr);
  parent.Add(&child);
  std_.DrawPopupItem(sheet.Fresh(), &parent, {0, 0, 100, 23}, false, 0);
  EXPECT_PIXELS(sheet, {86, 11, std_.GetColor(ktcMenuItemText)}, {80, 11, std_.GetColor(ktcMenuItem)});

  std_.DrawPopupMenu(sheet.Fresh(), 100, 40);
  EXPECT_PIXELS(sheet, {0, 0, Lighten(m, 150)}, {98, 38, Darken(m, 90)}, {2, 2, m}, {97, 37, m},
                {50, 20, kLeftAlone, "the inside is the items'"});
  kde_.DrawPopupMenu(sheet.Fresh(), 100, 40);
  EXPECT_EQ(sheet.ColorAt(1, 1), Lighten(m, 120));
}

TEST_F(StandardStyleTest, PopupScrollArrowsAndMenuBarButtons) {
  TSheet sheet(30, 24);
  const TColor text = std_.GetColor(ktcMenuItemText), back = std_.GetColor(ktcMenuItem);
  std_.DrawPopupScrollButton(sheet.Canvas(), {0, 0, 30, 10}, 2, false);
  EXPECT_PIXELS(sheet, {11, 3, text}, {17, 3, text}, {14, 6, text}, {14, 7, back}, {0, 0, back});
  std_.DrawPopupScrollButton(sheet.Fresh(), {0, 0, 30, 10}, 1, true);
  EXPECT_PIXELS(sheet, {1, 1, Darken(back, 90)}, {14, 3, text, "point at the top"}, {11, 6, text});
  for (int direction : {0, 3, -1}) {
    std_.DrawPopupScrollButton(sheet.Fresh(), {0, 0, 30, 10}, direction, false);
    for (int y = 0; y < 10; ++y)
      for (int x = 0; x < 30; ++x) ASSERT_EQ(sheet.ColorAt(x, y), back) << direction;
  }

  TTeCustomItem button(nullptr);
  button.SetButtonKind(kibSystemMenu);
  std_.DrawMenuBarButton(sheet.Fresh(), &button, {0, 0, 21, 21}, true, true);
  const TColor shadow = ColorToRGB(clBtnShadow);
  EXPECT_PIXELS(sheet, {1, 1, FromRGB(0xEDEDEE)}, {2, 2, shadow}, {2, 3, std_.GetColor(ktcMenuItemSelection)},
                {10, 17, shadow}, {10, 18, std_.GetColor(ktcMenuItemSelection)},
                {10, 19, FromRGB(0xEDEDEE), "no line beyond the button"}, {10, 20, kLeftAlone}, {10, 23, kLeftAlone});
  button.SetButtonKind(kibClose);
  std_.DrawMenuBarButton(sheet.Fresh(), &button, {0, 0, 21, 21}, false, false);
  EXPECT_PIXELS(sheet, {3, 3, FromRGB(0x003399)}, {18, 16, FromRGB(0x003399)}, {1, 1, FromRGB(0xEDEDEE)});
}

// --- values outside every table -----------------------------------------------------------

// Every operation with each kind and state from -1 to one past its largest
// value: the style paints its fallback inside the element and never the
// transparent marker.
TEST_F(StandardStyleTest, EveryValueOutsideTheTablesPaintsAFallback) {
  TTeCustomItem item(nullptr);
  item.SetCaption("Item");
  for (TTeTheme* t : {static_cast<TTeTheme*>(&std_), static_cast<TTeTheme*>(&kde_)}) {
    TSheet sheet(64, 40);
    const TRect r{4, 4, 40, 30};
    auto check = [&](const char* what, int value) {
      for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 64; ++x)
          ASSERT_NE(sheet.At(x, y) & 0xFFFFFF, 0x7F007Fu) << what << " " << value << " at " << x << "," << y;
      sheet.Clear();
    };
    for (int v = -1; v <= 8; ++v) {
      const auto s = static_cast<TTeElementState>(static_cast<uint8_t>(std::min(v, 5)));
      t->DrawCaptionButton(sheet.Canvas(), r, static_cast<TTeCaptionButton>(static_cast<uint8_t>(v)), v & 1, v & 2,
                           true, static_cast<TTeBorderStyle>(static_cast<uint8_t>(v)));
      check("caption button", v);
      t->DrawButton(sheet.Canvas(), 30, 20, static_cast<uint8_t>(v));
      check("button", v);
      t->DrawCheckBox(sheet.Canvas(), r, s, static_cast<TCheckBoxState>(static_cast<uint8_t>(v)));
      t->DrawRadioButton(sheet.Canvas(), r, s, v & 1);
      check("check and radio", v);
      t->DrawTrackBarThumb(sheet.Canvas(), r, v & 1, v, s);
      t->DrawGlyphButton(sheet.Canvas(), r, v, s, v & 1);
      check("thumb and glyph button", v);
      t->DrawScrollButton(sheet.Canvas(), r, v & 1, v & 2, s);
      t->DrawScrollThumb(sheet.Canvas(), r, static_cast<TScrollBarKind>(static_cast<uint8_t>(v)), s);
      t->DrawScrollBarTrack(sheet.Canvas(), r, static_cast<TScrollBarKind>(static_cast<uint8_t>(v)));
      check("scroll bar", v);
      t->DrawTab(sheet.Canvas(), r, static_cast<TTabPosition>(static_cast<uint8_t>(v)), s);
      t->DrawListBorder(sheet.Canvas(), r, s);
      t->DrawComboButton(sheet.Canvas(), r, s);
      check("tab, list, combo", v);
      t->DrawSpeedButton(sheet.Canvas(), r, s, v & 1, v & 2);
      t->DrawSpeedButtonChevron(sheet.Canvas(), r, s, v & 1, v & 2);
      t->DrawSpinButton(sheet.Canvas(), r, s, static_cast<uint8_t>(v));
      check("speed and spin buttons", v);
      t->DrawListItem(sheet.Canvas(), r, static_cast<uint8_t>(v));
      t->DrawStateBox(sheet.Canvas(), r, 0, v);
      t->DrawPopupScrollButton(sheet.Canvas(), r, v, v & 1);
      check("list item, state box, popup scroll", v);
      item.SetButtonKind(static_cast<TTeItemButtonKind>(static_cast<uint8_t>(v)));
      t->DrawMenuBarButton(sheet.Canvas(), &item, r, v & 1, v & 2);
      check("menu bar button", v);
    }
    // No item: nothing to paint and nothing to measure.
    int w = -7, h = -7;
    t->MeasurePopupItem(sheet.Canvas(), nullptr, w, h);
    t->MeasureMenuBarItem(sheet.Canvas(), nullptr, w, h);
    EXPECT_EQ(w, -7);
    t->DrawPopupItem(sheet.Canvas(), nullptr, r, true, 0);
    t->DrawMenuBarItem(sheet.Canvas(), nullptr, r, true, true);
    t->DrawMenuBarButton(sheet.Canvas(), nullptr, r, true, true);
    for (int y = 0; y < 40; ++y)
      for (int x = 0; x < 64; ++x) ASSERT_TRUE(sheet.Untouched(x, y));
  }
}

}  // namespace
}  // namespace hv
