#include "theme/styles/flat.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <memory>

#include "tests/theme/styles/flat_test_support.h"
#include "theme/core/themeitems.h"
#include "theme/core/themelibrary.h"

namespace hv {
namespace {

using namespace test;

using FlatTest = test::FlatStyleTest;

// --- registry and tables ---------------------------------------------------------------------

TEST_F(FlatTest, ThreeStylesAtTheirPlacesInTheRegistry) {
  EXPECT_EQ(FindThemeClass("Flat"), ThemeClassOf<TTeThemeFlat>());
  EXPECT_EQ(FindThemeClass("Cool Flat"), ThemeClassOf<TTeThemeCoolFlat>());
  EXPECT_EQ(FindThemeClass("OfficeXP"), ThemeClassOf<TTeThemeOfficeXP>());
  EXPECT_EQ(FindThemeClass("CoolFlat"), nullptr);
  EXPECT_EQ(FindThemeClass("flat"), nullptr);
  int flat = -1, cool = -1, office = -1, none = -1;
  for (int i = 0; i < ThemeClassCount(); ++i) {
    if (ThemeClasses(i) == ThemeClassOf<TTeThemeFlat>()) flat = i;
    if (ThemeClasses(i) == ThemeClassOf<TTeThemeCoolFlat>()) cool = i;
    if (ThemeClasses(i) == ThemeClassOf<TTeThemeOfficeXP>()) office = i;
    if (ThemeClasses(i) == ThemeClassOf<TTeTheme>()) none = i;
  }
  EXPECT_EQ(flat, 0);
  EXPECT_LT(flat, cool);
  EXPECT_LT(cool, office);
  EXPECT_EQ(none, ThemeClassCount() - 1);

  for (TTeThemeClass themeClass :
       {ThemeClassOf<TTeThemeFlat>(), ThemeClassOf<TTeThemeCoolFlat>(), ThemeClassOf<TTeThemeOfficeXP>()}) {
    std::unique_ptr<TTeTheme> theme = themeClass->Create();
    EXPECT_EQ(theme->ThemeClass(), themeClass);
    EXPECT_TRUE(themeClass->IsThemeAvailable());
    EXPECT_NE(dynamic_cast<TTeThemeFlat*>(theme.get()), nullptr) << "every one is a Flat";
    EXPECT_FALSE(theme->HasCaptionShadow());
    for (TTeBorderStyle style : {kbsNone, kbsStandard, kbsToolWindow})
      EXPECT_EQ(theme->GetFormRegion(300, 200, style), nullptr) << "the window stays rectangular";
  }
  EXPECT_EQ(ThemeClassOf<TTeThemeCoolFlat>()->ClassName(), "TTeThemeCoolFlat");
  EXPECT_EQ(ThemeClassOf<TTeThemeOfficeXP>()->GetName(), "OfficeXP");
}

TEST_F(FlatTest, ColourTable) {
  const TColor fallback = Sys(kFallbackColor);
  const TColor text = Sys(clMenuText);
  const TColor expected[kThemeColorCount] = {Sys(clActiveCaption),
                                             Sys(clInactiveCaption),
                                             Rgb(0x000000),
                                             Rgb(0xFFFFFF),
                                             fallback,
                                             Rgb(0xFFFFFF),
                                             window_,
                                             frame_,
                                             selection_,
                                             Rgb(0xFEFEFB),
                                             Rgb(0xC5C5B1),
                                             Face(),
                                             hot_,
                                             frame_,
                                             menu_,
                                             hot_,
                                             menu_,
                                             hot_,
                                             text,
                                             text,
                                             text,
                                             text,
                                             Rgb(0x808080),
                                             Rgb(0x000000),
                                             Rgb(0x95CEFF),
                                             Rgb(0x316AC5)};
  for (int kind = 0; kind < kThemeColorCount; ++kind)
    EXPECT_EQ(theme_.GetColor(static_cast<TTeThemeColor>(kind)), expected[kind]) << kind;
  for (int kind : {26, 27, 100, 255}) EXPECT_EQ(theme_.GetColor(static_cast<TTeThemeColor>(kind)), fallback) << kind;
}

TEST_F(FlatTest, ColoursPassTheTint) {
  theme_.SetDeltaBrightness(10);
  EXPECT_EQ(theme_.GetColor(ktcHotFace), Rgb(0xC0C7DC));
  EXPECT_EQ(theme_.GetColor(ktcSelection), Lighten(selection_, 10)) << "shaded first, then tinted";
  theme_.SetDeltaBrightness(0);
  theme_.SetDeltaHue(85);
  EXPECT_EQ(theme_.GetColor(ktcHeaderText), Rgb(0x000000)) << "black has no hue to turn";
  EXPECT_NE(theme_.GetColor(ktcHeaderDark), Rgb(0x316AC5));
}

// The face shades are worked out per channel and clamp at 0.
TColor DarkFaceLookup(int index) { return index == COLOR_BTNFACE ? 0x00101040 : GetSysColor(index); }
TColor LiveLookup(int index) { return GetSysColor(index); }

TEST_F(FlatTest, FaceShadesClampPerChannel) {
  SetSysColorLookup(&DarkFaceLookup);
  const TColor selection = theme_.GetColor(ktcSelection);
  const TColor menu = theme_.GetColor(ktcMenu);
  SetSysColorLookup(&LiveLookup);
  EXPECT_EQ(selection, Rgb(0x220000));
  EXPECT_EQ(menu, Rgb(0x4A1A1A));
}

TEST_F(FlatTest, SizesAndFonts) {
  const int sizes[kThemeSizeCount] = {3,  3,  23, 20, 10, 18, 15, 14, 12, 6,  6,  1, 6,  6,  23,
                                      17, 13, 13, 13, 13, 11, 22, 10, 22, 17, 17, 1, 21, 15, 11};
  for (int kind = 0; kind < kThemeSizeCount; ++kind)
    EXPECT_EQ(theme_.GetSize(static_cast<TTeThemeSize>(kind)), sizes[kind]) << kind;
  for (int kind : {30, 31, 255}) EXPECT_EQ(theme_.GetSize(static_cast<TTeThemeSize>(kind)), 0) << kind;
  for (int kind = 0; kind <= 5; ++kind) {
    const auto font = static_cast<TTeThemeFont>(kind);
    EXPECT_EQ(theme_.GetFontName(font), "Tahoma");
    EXPECT_EQ(theme_.GetFontSize(font), kind == 0 ? 9 : 8);
    EXPECT_EQ(theme_.GetFontStyle(font), TFontStyles{}) << "never bold";
  }
}

// --- window frame and caption buttons -----------------------------------------------------

TEST_F(FlatTest, FormFrameRingsAndGradientCaption) {
  TSheet sheet(120, 70);
  const TRect client{3, 23, 117, 67};
  theme_.DrawFormFrame(sheet.Canvas(), 120, 70, client, true, kbsStandard);
  const TColor face = Face();
  EXPECT_PIXELS(sheet, {0, 0, Lighten(face, 150)}, {0, 40, Lighten(face, 150)}, {119, 0, Darken(face, 150)},
                {60, 69, Darken(face, 150)}, {1, 1, face}, {118, 1, Darken(face, 90)}, {60, 68, Darken(face, 90)},
                {2, 30, face}, {117, 67, face});
  // The caption band (3, 3, 117, 23) runs from the caption colour to the
  // platform's gradient colour.
  EXPECT_PIXELS(sheet, {3, 3, Sys(clActiveCaption)}, {3, 22, Sys(clActiveCaption)});
  const TColor end = sheet.ColorAt(116, 10), gradient = Sys(clGradientActiveCaption);
  for (int shift : {0, 8, 16})
    EXPECT_LE(std::abs(static_cast<int>((end >> shift) & 0xFF) - static_cast<int>((gradient >> shift) & 0xFF)), 3);
  EXPECT_PIXELS(sheet, {60, 40, kLeftAlone, "the client area is not the frame's"}, {60, 23, kLeftAlone});

  theme_.DrawFormFrame(sheet.Fresh(), 120, 70, client, false, kbsStandard);
  EXPECT_EQ(sheet.ColorAt(3, 3), Sys(clInactiveCaption));
  // The border style is not consulted.
  EXPECT_EQ(Differences(
                120, 70, [&](TCanvas& c) { theme_.DrawFormFrame(c, 120, 70, client, true, kbsStandard); },
                [&](TCanvas& c) { theme_.DrawFormFrame(c, 120, 70, client, true, kbsToolWindow); }),
            0);
}

TEST_F(FlatTest, CaptionButtonFacesByState) {
  TSheet sheet(18, 15);
  const TRect r{0, 0, 18, 15};
  const auto faceOnly = static_cast<TTeCaptionButton>(8);
  const TColor face = Face();
  theme_.DrawCaptionButton(sheet.Canvas(), r, faceOnly, false, false, true, kbsStandard);
  EXPECT_PIXELS(sheet, {0, 0, Lighten(face, 150)}, {17, 0, Darken(face, 150)}, {17, 14, Darken(face, 150)},
                {1, 1, face}, {16, 13, Darken(face, 90)}, {8, 7, face});
  EXPECT_EQ(Count(sheet, r, clBlack), 0) << "kinds past tray paint only the face";

  theme_.DrawCaptionButton(sheet.Fresh(), r, faceOnly, true, false, true, kbsStandard);
  EXPECT_PIXELS(sheet, {0, 0, Rgb(0xFFFFFF)}, {1, 1, hot_}, {16, 13, Darken(hot_, 90)}, {8, 7, hot_});

  theme_.DrawCaptionButton(sheet.Fresh(), r, faceOnly, false, true, true, kbsStandard);
  EXPECT_PIXELS(sheet, {0, 0, Darken(face, 150)}, {17, 14, Lighten(face, 150)}, {1, 1, Darken(face, 90)},
                {16, 13, face});

  // Glyphs in black over the face; the tray dot in (5, 7, 13, 12).
  theme_.DrawCaptionButton(sheet.Fresh(), r, kcbClose, false, false, true, kbsStandard);
  EXPECT_GT(Count(sheet, r, clBlack), 0);
  EXPECT_EQ(Count(sheet, r, clBlack), Count(sheet, {2, 2, 16, 13}, clBlack)) << "the glyph keeps off the bevels";
  theme_.DrawCaptionButton(sheet.Fresh(), r, kcbTray, false, false, false, kbsStandard);
  EXPECT_PIXELS(sheet, {9, 9, clBlack}, {9, 4, face});
}

// --- buttons ------------------------------------------------------------------------------

TEST_F(FlatTest, PushButtonByState) {
  TSheet sheet(40, 20);
  auto paint = [&](int state) { theme_.DrawButton(sheet.Fresh(), 40, 20, static_cast<uint8_t>(state)); };
  paint(0);
  EXPECT_PIXELS(sheet, {0, 0, frame_}, {39, 19, frame_}, {1, 1, Face()}, {38, 18, Face()});

  paint(1);  // a light line along the top and left, inside the frame
  const TColor light = Rgb(0xD4DBF0);
  EXPECT_PIXELS(sheet, {1, 1, light}, {37, 1, light}, {1, 17, light}, {38, 1, kLeftAlone}, {1, 18, kLeftAlone},
                {2, 2, hot_}, {37, 17, hot_});

  paint(2);
  EXPECT_PIXELS(sheet, {1, 1, Darken(selection_, 30)}, {38, 18, Lighten(selection_, 30)}, {2, 2, selection_});

  paint(3);
  EXPECT_EQ(CountUntouched(sheet, {0, 0, 40, 20}), 40 * 20) << "a disabled button paints nothing at all";

  for (int state : {4, 5}) {
    paint(state);  // a dark line along the bottom and right
    SCOPED_TRACE(state);
    EXPECT_PIXELS(sheet, {1, 18, Darken(selection_, 30)}, {38, 1, Darken(selection_, 30)}, {1, 1, kLeftAlone},
                  {2, 2, selection_});
  }
}

TEST_F(FlatTest, CheckBoxesAndRadioButtons) {
  TSheet sheet(13, 13);
  const TRect r{0, 0, 13, 13};
  auto check = [&](TTeElementState state, TCheckBoxState value) {
    theme_.DrawCheckBox(sheet.Fresh(), r, state, value);
  };
  check(kesNormal, cbUnchecked);
  EXPECT_PIXELS(sheet, {0, 0, frame_}, {12, 12, frame_}, {1, 1, Face()}, {6, 6, Face()});
  check(kesHot, cbUnchecked);
  EXPECT_EQ(sheet.ColorAt(6, 6), hot_);
  check(static_cast<TTeElementState>(4), cbUnchecked);
  EXPECT_EQ(sheet.ColorAt(6, 6), selection_);
  check(kesPressed, cbUnchecked);
  EXPECT_EQ(sheet.ColorAt(6, 6), Face());
  check(kesNormal, cbGrayed);
  EXPECT_PIXELS(sheet, {2, 2, Face()}, {3, 3, frame_}, {9, 9, frame_}, {10, 10, Face()});
  check(kesNormal, cbChecked);
  EXPECT_GT(Count(sheet, {2, 2, 11, 11}, frame_), 4) << "the check mark in the frame colour";
  EXPECT_EQ(Count(sheet, r, clBlack), 0);
  check(kesDisabled, cbChecked);
  EXPECT_EQ(sheet.ColorAt(0, 0), frame_);
  EXPECT_GT(Count(sheet, {2, 2, 11, 11}, Rgb(0xFEFEFB)), 4) << "the mark in the disabled face colour";
  EXPECT_EQ(Count(sheet, {2, 2, 11, 11}, frame_), 0);

  auto radio = [&](TTeElementState state, bool checked) { theme_.DrawRadioButton(sheet.Fresh(), r, state, checked); };
  radio(kesNormal, false);
  EXPECT_PIXELS(sheet, {6, 0, frame_}, {6, 12, frame_}, {0, 0, kLeftAlone, "rounded corners"}, {6, 6, Face()});
  radio(kesHot, true);
  EXPECT_PIXELS(sheet, {6, 6, frame_, "the dot"}, {2, 6, hot_});
  radio(kesDisabled, true);
  EXPECT_PIXELS(sheet, {6, 0, clBlack}, {6, 6, clBlack}, {2, 6, Face()});
}

TEST_F(FlatTest, SpeedButtonsFlatAndRaised) {
  TSheet sheet(32, 26);
  auto paint = [&](TTeElementState state, bool flat, bool down) {
    theme_.DrawSpeedButton(sheet.Fresh(), {0, 0, 32, 26}, state, flat, down);
  };
  paint(kesNormal, true, false);
  EXPECT_PIXELS(sheet, {0, 0, frame_}, {5, 5, Face()});
  paint(kesNormal, true, true);
  EXPECT_PIXELS(sheet, {0, 0, frame_}, {5, 5, selection_});
  paint(kesHot, true, false);
  EXPECT_PIXELS(sheet, {1, 1, Lighten(hot_, 30)}, {5, 5, hot_});
  paint(kesPressed, true, false);
  EXPECT_PIXELS(sheet, {1, 1, Darken(Face(), 30)}, {30, 24, Lighten(Face(), 30)});
  for (bool flat : {false, true}) {
    paint(kesDisabled, flat, false);
    EXPECT_EQ(CountUntouched(sheet, {0, 0, 32, 26}), 32 * 26);
  }
  paint(kesNormal, false, false);
  EXPECT_PIXELS(sheet, {1, 1, Lighten(Face(), 30)}, {5, 5, Face()});
  paint(kesPressed, false, true);
  EXPECT_PIXELS(sheet, {0, 0, frame_}, {1, 1, selection_});
  paint(kesHot, false, false);
  EXPECT_EQ(CountUntouched(sheet, {0, 0, 32, 26}), 32 * 26) << "raised buttons are never hot";

  // The spin button is the flat one, never down.
  EXPECT_EQ(Differences(
                16, 11,
                [&](TCanvas& c) {
                  theme_.DrawSpinButton(c, {0, 0, 16, 11}, kesHot, 0);
                },
                [&](TCanvas& c) {
                  theme_.DrawSpeedButton(c, {0, 0, 16, 11}, kesHot, true, false);
                }),
            0);
}

TEST_F(FlatTest, ChevronArrowAndComboButton) {
  TSheet sheet(14, 26);
  theme_.DrawSpeedButtonChevron(sheet.Canvas(), {0, 0, 14, 26}, kesNormal, true, false);
  // Box (3, 11, 10, 15).
  EXPECT_PIXELS(sheet, {3, 11, clBlack}, {9, 11, clBlack}, {6, 14, clBlack}, {3, 12, Face()});
  theme_.DrawSpeedButtonChevron(sheet.Fresh(), {0, 0, 14, 26}, kesDisabled, true, false);
  const TColor disabled = Rgb(0xFEFEFB);
  EXPECT_PIXELS(sheet, {3, 11, disabled}, {9, 11, disabled}, {6, 14, disabled},
                {6, 12, kLeftAlone, "only the outline"});

  TSheet combo(15, 21);
  theme_.DrawComboButton(combo.Canvas(), {0, 0, 15, 21}, kesNormal);
  EXPECT_PIXELS(combo, {0, 0, frame_}, {1, 1, Face()}, {4, 9, clBlack, "the arrow moved down one"}, {10, 9, clBlack},
                {7, 12, clBlack}, {4, 8, Face()});
  theme_.DrawComboButton(combo.Fresh(), {0, 0, 15, 21}, kesPressed);
  EXPECT_PIXELS(combo, {1, 1, Darken(selection_, 30)}, {5, 10, clBlack, "and by one more each way when pressed"},
                {8, 13, clBlack}, {4, 9, selection_});
  theme_.DrawComboButton(combo.Fresh(), {0, 0, 15, 21}, kesDisabled);
  EXPECT_EQ(combo.ColorAt(1, 1), Rgb(0xFEFEFB));
}

}  // namespace
}  // namespace hv
