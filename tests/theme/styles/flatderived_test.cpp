// Cool Flat and Office XP: their tables and the elements they paint their
// own way; and every flat style faced with kinds and states outside its
// tables.

#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
#include <utility>

#include "framework/graphics.h"
#include "framework/imagelist.h"
#include "tests/theme/styles/flat_test_support.h"
#include "theme/core/themeitems.h"
#include "theme/core/themelibrary.h"
#include "theme/styles/flat.h"

namespace hv {
namespace {

using namespace test;

class FlatFamilyTest : public FlatStyleTest {
 protected:
  TTeThemeCoolFlat cool_;
  TTeThemeOfficeXP office_;
  const TColor navy_ = Rgb(0x000080);
  const TColor grey_ = Rgb(0x808080);
  const TColor officeSelection_ = Rgb(0x8592B5);
};

// --- Cool Flat ------------------------------------------------------------------------

TEST_F(FlatFamilyTest, CoolFlatTables) {
  const TColor red = Rgb(0xFF0000), black = Rgb(0x000000), face = Face();
  const TColor expected[kThemeColorCount] = {
      Rgb(0xF7DE9C), face,          black,         black,         red,          black,         Rgb(0xFFFFFF),
      Rgb(0xA09683), Rgb(0x336699), Rgb(0xFEFEFB), Rgb(0xC5C5B1), face,         Rgb(0xEBEAE1), Rgb(0xA09683),
      face,          Rgb(0xF7DE9C), face,          Rgb(0xF7DE9C), black,        black,         black,
      black,         Rgb(0x808080), black,         Rgb(0x95CEFF), Rgb(0x316AC5)};
  for (int kind = 0; kind < kThemeColorCount; ++kind)
    EXPECT_EQ(cool_.GetColor(static_cast<TTeThemeColor>(kind)), expected[kind]) << kind;
  for (int kind : {26, 30, 255}) EXPECT_EQ(cool_.GetColor(static_cast<TTeThemeColor>(kind)), red) << kind;
  cool_.SetDeltaHue(85);
  EXPECT_EQ(cool_.GetColor(static_cast<TTeThemeColor>(30)), Rgb(0x00FF00)) << "beyond the table, still tinted";
  cool_.SetDeltaHue(0);

  const int sizes[kThemeSizeCount] = {3,  3,  23, 18, 10, 20, 20, 15, 15, 3,  3,  2, 3,  3,  22,
                                      17, 13, 13, 13, 13, 9,  18, 4,  18, 17, 17, 1, 18, 15, 11};
  for (int kind = 0; kind < kThemeSizeCount; ++kind)
    EXPECT_EQ(cool_.GetSize(static_cast<TTeThemeSize>(kind)), sizes[kind]) << kind;
  EXPECT_EQ(cool_.GetSize(static_cast<TTeThemeSize>(30)), 0);
  EXPECT_EQ(cool_.GetFontSize(ktfCaption), 9);
  EXPECT_EQ(cool_.GetName(), "Cool Flat");
}

TEST_F(FlatFamilyTest, CoolFlatFrameIsFlat) {
  TSheet sheet(120, 70);
  const TRect client{3, 23, 117, 67};
  cool_.DrawFormFrame(sheet.Canvas(), 120, 70, client, true, kbsStandard);
  const TColor frame = Rgb(0xA09683), face = Face(), caption = Rgb(0xF7DE9C);
  EXPECT_PIXELS(sheet, {0, 0, frame}, {119, 69, frame}, {1, 1, face}, {118, 68, face}, {2, 40, face},
                {3, 3, frame, "the caption band is framed"}, {116, 22, frame}, {60, 12, caption},
                {115, 4, caption, "one colour, no gradient"}, {60, 40, kLeftAlone});
  cool_.DrawFormFrame(sheet.Fresh(), 120, 70, client, false, kbsToolWindow);
  EXPECT_EQ(sheet.ColorAt(60, 12), face);
}

TEST_F(FlatFamilyTest, CoolFlatCaptionButtons) {
  TSheet sheet(20, 20);
  const TRect r{0, 0, 20, 20};
  const auto faceOnly = static_cast<TTeCaptionButton>(8);
  const TColor frame = Rgb(0xA09683);
  cool_.DrawCaptionButton(sheet.Canvas(), r, faceOnly, false, false, true, kbsStandard);
  EXPECT_PIXELS(sheet, {0, 0, frame}, {1, 1, Face()}, {18, 18, Face()});
  cool_.DrawCaptionButton(sheet.Fresh(), r, faceOnly, true, false, true, kbsStandard);
  EXPECT_PIXELS(sheet, {1, 1, Rgb(0xFFFFFF)}, {18, 18, Rgb(0xCDCCC3)}, {10, 10, Rgb(0xEBEAE1)});
  cool_.DrawCaptionButton(sheet.Fresh(), r, faceOnly, true, true, true, kbsStandard);
  EXPECT_PIXELS(sheet, {1, 1, Rgb(0x15487B), "pressed wins over hot"}, {18, 18, Rgb(0x5184B7)},
                {10, 10, Rgb(0x336699)});
  // The tray mark: a rounded square in (7, 10, 13, 14).
  cool_.DrawCaptionButton(sheet.Fresh(), r, kcbTray, false, false, true, kbsStandard);
  EXPECT_PIXELS(sheet, {10, 12, clBlack}, {7, 12, clBlack}, {10, 9, Face()});
  // Glyphs in the rect shrunk by 2 and 3: nothing black on the outer rings.
  cool_.DrawCaptionButton(sheet.Fresh(), r, kcbMaximize, false, false, true, kbsStandard);
  EXPECT_GT(Count(sheet, r, clBlack), 5);
  EXPECT_EQ(Count(sheet, {0, 0, 20, 3}, clBlack), 0);
  EXPECT_EQ(Count(sheet, {0, 0, 2, 20}, clBlack), 0);
}

// --- Office XP ------------------------------------------------------------------------

TEST_F(FlatFamilyTest, OfficeXPColoursAndEverythingElseFlat) {
  // clang-format off
  const TColor expected[kThemeColorCount] = {
      Sys(clActiveCaption), Sys(clInactiveCaption), Rgb(0),         Rgb(0xFFFFFF),  Sys(kFallbackColor), Rgb(0xFFFFFF),
      Sys(clWindow),        grey_,                  officeSelection_, Rgb(0xFEFEFB), Rgb(0xC5C5B1),     Face(),
      hot_,                 navy_,                  menu_,          hot_,           Rgb(0xFFFFFF),      hot_,
      Sys(clMenuText),      Sys(clMenuText),        Sys(clMenuText), Sys(clMenuText), grey_,             Rgb(0),
      Rgb(0x95CEFF),        Rgb(0x316AC5)};
  // clang-format on
  for (int kind = 0; kind < kThemeColorCount; ++kind)
    EXPECT_EQ(office_.GetColor(static_cast<TTeThemeColor>(kind)), expected[kind]) << kind;
  EXPECT_EQ(office_.GetColor(static_cast<TTeThemeColor>(26)), Sys(kFallbackColor));
  TTeThemeFlat flat;
  for (int kind = 0; kind <= 30; ++kind)
    EXPECT_EQ(office_.GetSize(static_cast<TTeThemeSize>(kind)), flat.GetSize(static_cast<TTeThemeSize>(kind)));
  // The window frame and caption buttons are Flat's.
  const TRect client{3, 23, 117, 67};
  EXPECT_EQ(Differences(
                120, 70, [&](TCanvas& c) { office_.DrawFormFrame(c, 120, 70, client, true, kbsStandard); },
                [&](TCanvas& c) { flat.DrawFormFrame(c, 120, 70, client, true, kbsStandard); }),
            0);
  EXPECT_EQ(Differences(
                18, 15,
                [&](TCanvas& c) {
                  office_.DrawCaptionButton(c, {0, 0, 18, 15}, kcbClose, true, false, true, kbsStandard);
                },
                [&](TCanvas& c) {
                  flat.DrawCaptionButton(c, {0, 0, 18, 15}, kcbClose, true, false, true, kbsStandard);
                }),
            0);
}

TEST_F(FlatFamilyTest, OfficeXPButtonsAreOutlinedNotBevelled) {
  TSheet sheet(40, 20);
  auto button = [&](int state) { office_.DrawButton(sheet.Fresh(), 40, 20, static_cast<uint8_t>(state)); };
  button(3);
  EXPECT_PIXELS(sheet, {0, 0, Rgb(0xFEFEFB)}, {39, 19, Rgb(0xFEFEFB)});
  EXPECT_EQ(CountUntouched(sheet, {1, 1, 39, 19}), 38 * 18) << "a disabled button is only a frame";
  button(0);
  EXPECT_PIXELS(sheet, {0, 0, grey_}, {1, 1, Face()});
  button(1);
  EXPECT_PIXELS(sheet, {0, 0, navy_}, {1, 1, hot_});
  for (int state : {2, 4, 5}) {
    button(state);
    SCOPED_TRACE(state);
    EXPECT_PIXELS(sheet, {0, 0, navy_}, {1, 1, officeSelection_});
  }

  TSheet thumb(17, 30);
  office_.DrawScrollThumb(thumb.Canvas(), {0, 0, 17, 30}, sbVertical, kesHot);
  EXPECT_PIXELS(thumb, {0, 0, navy_}, {1, 1, hot_});
  office_.DrawScrollThumb(thumb.Fresh(), {0, 0, 17, 30}, sbVertical, kesNormal);
  EXPECT_PIXELS(thumb, {0, 0, grey_}, {1, 1, Face()});

  TSheet scroll(17, 17);
  office_.DrawScrollButton(scroll.Canvas(), {0, 0, 17, 17}, true, false, kesPressed);
  EXPECT_PIXELS(scroll, {0, 0, navy_}, {1, 1, officeSelection_, "no bevel"});
  EXPECT_GT(Count(scroll, {0, 0, 17, 17}, clBlack), 2);

  TSheet glyph(17, 17);
  office_.DrawGlyphButton(glyph.Canvas(), {0, 0, 17, 17}, 2, kesHot, true);
  EXPECT_PIXELS(glyph, {0, 0, navy_}, {1, 1, hot_, "no raised bevel"});
  office_.DrawGlyphButton(glyph.Fresh(), {0, 0, 17, 17}, 2, kesPressed, true);
  EXPECT_EQ(glyph.ColorAt(1, 1), Darken(officeSelection_, 30)) << "the sunken bevel stays";

  TSheet combo(15, 21);
  office_.DrawComboButton(combo.Canvas(), {0, 0, 15, 21}, kesHot);
  EXPECT_PIXELS(combo, {0, 0, navy_}, {1, 1, hot_});
  office_.DrawComboButton(combo.Fresh(), {0, 0, 15, 21}, kesPressed);
  EXPECT_PIXELS(combo, {0, 0, grey_, "navy only when hot"}, {1, 1, Darken(officeSelection_, 30)}, {5, 10, clBlack});
}

TEST_F(FlatFamilyTest, OfficeXPMarksTabsAndBoxes) {
  TSheet sheet(13, 13);
  const TRect r{0, 0, 13, 13};
  office_.DrawCheckBox(sheet.Canvas(), r, kesHot, cbChecked);
  EXPECT_EQ(sheet.ColorAt(0, 0), navy_);
  EXPECT_GT(Count(sheet, {2, 2, 11, 11}, navy_), 4) << "a navy check mark";
  office_.DrawCheckBox(sheet.Fresh(), r, kesNormal, cbGrayed);
  EXPECT_PIXELS(sheet, {0, 0, grey_}, {5, 5, grey_}, {2, 2, Face()});
  office_.DrawCheckBox(sheet.Fresh(), r, kesDisabled, cbGrayed);
  EXPECT_PIXELS(sheet, {0, 0, grey_}, {5, 5, Rgb(0xFEFEFB)});
  office_.DrawRadioButton(sheet.Fresh(), r, static_cast<TTeElementState>(4), true);
  EXPECT_PIXELS(sheet, {6, 0, navy_}, {6, 6, navy_}, {2, 6, officeSelection_});
  office_.DrawRadioButton(sheet.Fresh(), r, kesDisabled, false);
  EXPECT_EQ(sheet.ColorAt(6, 0), clBlack);

  TSheet tab(40, 22);
  office_.DrawTab(tab.Canvas(), {0, 0, 40, 20}, tpTop, kesHot);
  EXPECT_PIXELS(tab, {0, 0, navy_}, {5, 19, hot_});
  office_.DrawTab(tab.Fresh(), {0, 0, 40, 20}, tpTop, kesNormal);
  EXPECT_PIXELS(tab, {0, 0, grey_}, {5, 5, officeSelection_});

  TSheet box(24, 24);
  office_.DrawStateBox(box.Canvas(), {0, 0, 24, 24}, 0, 3);
  EXPECT_PIXELS(box, {0, 0, navy_}, {1, 1, hot_, "no bevel"});
  office_.DrawStateBox(box.Fresh(), {0, 0, 24, 24}, 0, 2);
  EXPECT_PIXELS(box, {0, 0, grey_}, {1, 1, clBlack});

  TSheet list(60, 40);
  office_.DrawListBorder(list.Canvas(), {0, 0, 60, 40}, kesNormal);
  EXPECT_PIXELS(list, {0, 0, navy_}, {7, 7, Sys(clWindow)});
  office_.DrawListBorder(list.Fresh(), {0, 0, 60, 40}, kesDisabled);
  EXPECT_EQ(list.ColorAt(0, 0), Rgb(0xC5C5B1));

  TSheet thumb(12, 22);
  office_.DrawTrackBarThumb(thumb.Canvas(), {0, 0, 11, 20}, false, 0, kesHot);
  EXPECT_EQ(thumb.ColorAt(0, 0), navy_);
  office_.DrawTrackBarThumb(thumb.Fresh(), {0, 0, 11, 20}, false, 2, kesPressed);
  EXPECT_PIXELS(thumb, {5, 0, grey_, "pointing up, outlined in the frame colour"}, {5, 12, officeSelection_});
}

TEST_F(FlatFamilyTest, OfficeXPSpeedButtonsAndBands) {
  TSheet sheet(32, 26);
  const TRect r{0, 0, 32, 26};
  auto paint = [&](TTeElementState state, bool flat, bool down) {
    office_.DrawSpeedButton(sheet.Fresh(), r, state, flat, down);
  };
  paint(kesNormal, true, false);
  EXPECT_PIXELS(sheet, {0, 0, menu_}, {10, 10, menu_});
  paint(kesNormal, true, true);
  EXPECT_PIXELS(sheet, {0, 0, navy_}, {10, 10, officeSelection_});
  paint(kesHot, true, false);
  EXPECT_PIXELS(sheet, {0, 0, navy_}, {10, 10, hot_});
  paint(kesHot, true, true);
  EXPECT_EQ(sheet.ColorAt(10, 10), officeSelection_);
  paint(kesPressed, true, false);
  EXPECT_PIXELS(sheet, {0, 0, navy_}, {1, 1, officeSelection_});
  paint(kesNormal, false, false);
  EXPECT_PIXELS(sheet, {0, 0, grey_}, {1, 1, menu_});
  paint(kesNormal, false, true);
  EXPECT_PIXELS(sheet, {0, 0, navy_}, {1, 1, hot_});
  paint(kesPressed, false, true);
  EXPECT_PIXELS(sheet, {0, 0, hot_}, {1, 1, officeSelection_});
  for (auto [state, flat] : {std::pair{kesDisabled, true}, {kesDisabled, false}, {kesHot, false}}) {
    paint(state, flat, false);
    EXPECT_EQ(CountUntouched(sheet, r), 32 * 26) << state << flat;
  }

  TSheet band(120, 26);
  office_.DrawControlBand(band.Canvas(), {0, 0, 120, 26}, {2, 2, 12, 24});
  EXPECT_PIXELS(band, {0, 0, Face()}, {1, 1, menu_}, {6, 3, Lighten(menu_, 90), "the grip (6, 3, 8, 23) raised by 90"},
                {7, 22, Darken(menu_, 90)}, {5, 3, menu_});
  office_.DrawMenuBarOnControlBar(band.Fresh(), {0, 0, 120, 26});
  EXPECT_EQ(band.ColorAt(0, 0), menu_);

  TSheet progress(100, 20);
  office_.DrawProgressBar(progress.Canvas(), {0, 0, 100, 20}, {0, 0, 30, 20}, false, false);
  EXPECT_PIXELS(progress, {0, 0, navy_}, {12, 19, navy_}, {1, 1, hot_}, {13, 10, kLeftAlone}, {15, 0, navy_});

  TSheet header(60, 21);
  office_.DrawHeader(header.Canvas(), {0, 0, 60, 20}, "");
  EXPECT_PIXELS(header, {0, 0, Face()}, {30, 20, grey_});
}

TEST_F(FlatFamilyTest, OfficeXPMenus) {
  TTeCustomItem item(nullptr);
  TSheet sheet(100, 22);
  office_.DrawMenuBar(sheet.Canvas(), 40, 20);
  EXPECT_EQ(sheet.ColorAt(0, 0), menu_) << "no frame";
  office_.DrawMenuBarItem(sheet.Fresh(), &item, {0, 0, 40, 20}, true, true);
  EXPECT_PIXELS(sheet, {0, 0, menu_}, {1, 1, navy_}, {2, 2, hot_});
  item.SetOnControlBar(true);
  office_.DrawMenuBarItem(sheet.Fresh(), &item, {0, 0, 40, 20}, true, true);
  EXPECT_PIXELS(sheet, {0, 0, menu_, "also on a control bar"}, {1, 1, navy_, "a hot flat speed button"}, {2, 2, hot_});

  TTeCustomItem separator(nullptr);
  separator.SetCaption("-");
  office_.DrawPopupItem(sheet.Fresh(), &separator, {0, 0, 60, 9}, false, 0);
  const TColor shadow = Sys(clBtnShadow), white = Rgb(0xFFFFFF);
  EXPECT_PIXELS(sheet, {0, 0, Face()}, {21, 8, Face()}, {22, 0, white}, {23, 4, white}, {24, 4, shadow},
                {57, 4, shadow}, {58, 4, white});

  TTeCustomItem plain(nullptr);
  plain.SetImageColumnWidth(26);
  office_.DrawPopupItem(sheet.Fresh(), &plain, {0, 0, 100, 22}, false, 0);
  EXPECT_PIXELS(sheet, {0, 0, Face()}, {25, 21, Face(), "the image column is the item's"}, {26, 0, white},
                {99, 21, white});
  office_.DrawPopupItem(sheet.Fresh(), &plain, {0, 0, 100, 22}, true, 0);
  EXPECT_PIXELS(sheet, {0, 0, navy_}, {5, 5, hot_, "no grey column when selected"});

  TSheet scroll(60, 12);
  office_.DrawPopupScrollButton(scroll.Canvas(), {0, 0, 60, 12}, 1, true);
  const TColor text = Sys(clMenuText);
  EXPECT_PIXELS(scroll, {0, 0, Face()}, {21, 11, Face()}, {22, 0, navy_}, {59, 11, navy_}, {30, 5, white},
                {37, 7, text, "an up arrow in (37, 4, 44, 8)"}, {40, 4, text});
  office_.DrawPopupScrollButton(scroll.Fresh(), {0, 0, 60, 12}, 2, false);
  EXPECT_PIXELS(scroll, {22, 0, white}, {37, 4, text});
}

TEST_F(FlatFamilyTest, OfficeXPImageFloatsOverItsShadowWhenSelected) {
  TImageList images(nullptr);
  TBitmap strip(16, 16);
  strip.Canvas()->Brush()->SetColor(clRed);
  strip.Canvas()->FillRect({0, 0, 16, 16});
  ASSERT_EQ(images.AddMasked(&strip, clFuchsia), 0);
  TTeCustomItem item(nullptr);
  item.SetCaption("");
  item.SetImages(&images);
  item.SetImageIndex(0);
  const TColor red = Rgb(0xFF0000);
  TSheet sheet(100, 22);
  // Centred in the 22-pixel column at (3, 3); the image 2 up and left of it.
  office_.DrawPopupItem(sheet.Canvas(), &item, {0, 0, 100, 22}, true, 0);
  EXPECT_PIXELS(sheet, {1, 1, red}, {16, 16, red}, {18, 18, grey_, "the shadow shows below and right"}, {18, 4, grey_},
                {19, 19, hot_});
  office_.DrawPopupItem(sheet.Fresh(), &item, {0, 0, 100, 22}, false, 0);
  EXPECT_PIXELS(sheet, {2, 2, Face()}, {3, 3, red}, {18, 18, red}, {19, 19, Face()});
  EXPECT_EQ(Count(sheet, {0, 0, 100, 22}, grey_), 0) << "no shadow when not selected";
}

TEST_F(FlatFamilyTest, MenuMeasures) {
  TSheet sheet(4, 4);
  TTeCustomItem item(nullptr), separator(nullptr);
  item.SetCaption("Open");
  separator.SetCaption("-");
  for (TTeThemeFlat* theme : {static_cast<TTeThemeFlat*>(&cool_), static_cast<TTeThemeFlat*>(&office_)}) {
    int width = 0, height = 0;
    theme->MeasureMenuBarItem(sheet.Canvas(), &item, width, height);
    const int caption = sheet.Canvas().TextWidth("Open");
    EXPECT_EQ(width, caption + 12);
    EXPECT_EQ(height, theme->GetSize(ktsMenuItemHeight));
    EXPECT_EQ(sheet.Canvas().Font()->Name(), "Tahoma");
    theme->MeasurePopupItem(sheet.Canvas(), &separator, width, height);
    EXPECT_EQ(height, 9);
    theme->MeasurePopupItem(sheet.Canvas(), &item, width, height);
    EXPECT_EQ(width, caption + 64);
    EXPECT_EQ(height, theme->GetSize(ktsMenuItemHeight));
  }
}

// --- outside the tables -------------------------------------------------------------------

TEST_F(FlatFamilyTest, KindsAndStatesOutsideTheTablesPaintTheFallback) {
  TTeThemeFlat flat;
  for (TTeThemeFlat* theme : {&flat, static_cast<TTeThemeFlat*>(&cool_), static_cast<TTeThemeFlat*>(&office_)}) {
    const std::string name = theme->ThemeClass()->GetName();
    TTeTheme& t = *theme;
    const TRect r{0, 0, 24, 24};
    auto same = [&](const std::function<void(TCanvas&)>& a, const std::function<void(TCanvas&)>& b) {
      return Differences(24, 24, a, b);
    };
    // States past the known ones paint as normal; -1 arrives as 255.
    const std::pair<const char*, std::function<void(TCanvas&, TTeElementState)>> byState[] = {
        {"button", [&](TCanvas& c, TTeElementState s) { t.DrawButton(c, 24, 24, static_cast<uint8_t>(s)); }},
        {"raised speed button", [&](TCanvas& c, TTeElementState s) { t.DrawSpeedButton(c, r, s, false, true); }},
        {"flat speed button", [&](TCanvas& c, TTeElementState s) { t.DrawSpeedButton(c, r, s, true, true); }},
        {"check box", [&](TCanvas& c, TTeElementState s) { t.DrawCheckBox(c, r, s, cbGrayed); }},
        {"scroll thumb", [&](TCanvas& c, TTeElementState s) { t.DrawScrollThumb(c, r, sbVertical, s); }},
        {"radio button", [&](TCanvas& c, TTeElementState s) { t.DrawRadioButton(c, r, s, true); }}};
    for (int state : {6, 7, 255})
      for (const auto& [element, paint] : byState)
        EXPECT_EQ(same([&](TCanvas& c) { paint(c, static_cast<TTeElementState>(state)); },
                       [&](TCanvas& c) { paint(c, kesNormal); }),
                  0)
            << name << " " << element << " " << state;
    // Unknown state-box variants are variant 0; unknown thumb shapes paint
    // nothing; caption buttons past tray show only their face.
    for (int variant : {-1, 6, 1000})
      EXPECT_EQ(
          same([&](TCanvas& c) { t.DrawStateBox(c, r, 0, variant); }, [&](TCanvas& c) { t.DrawStateBox(c, r, 0, 0); }),
          0)
          << name << variant;
    TSheet sheet(24, 24);
    for (int shape : {-1, 3, 100}) t.DrawTrackBarThumb(sheet.Canvas(), r, false, shape, kesHot);
    EXPECT_EQ(CountUntouched(sheet, r), 24 * 24) << name;
    for (int kind : {8, 9, 255}) {
      t.DrawCaptionButton(sheet.Fresh(), r, static_cast<TTeCaptionButton>(kind), false, false, true, kbsStandard);
      EXPECT_EQ(Count(sheet, r, clBlack), 0) << name << kind;
      EXPECT_EQ(CountUntouched(sheet, r), 0) << name << kind;
    }
    // A tab position past the four gets the face inside its frame only.
    t.DrawTab(sheet.Fresh(), r, static_cast<TTabPosition>(4), kesHot);
    EXPECT_NE(sheet.ColorAt(5, 23), sheet.ColorAt(5, 5)) << name;
    // Unknown menu-bar button kinds paint only their background.
    TTeCustomItem item(nullptr);
    item.SetButtonKind(static_cast<TTeItemButtonKind>(5));
    t.DrawMenuBarButton(sheet.Fresh(), &item, r, true, true);
    EXPECT_EQ(Count(sheet, {1, 1, 23, 23}, t.GetColor(ktcMenuItem)), 22 * 22) << name;
    // Colour and size kinds past the tables.
    EXPECT_EQ(t.GetColor(static_cast<TTeThemeColor>(255)), t.GetColor(static_cast<TTeThemeColor>(26))) << name;
    EXPECT_EQ(t.GetSize(static_cast<TTeThemeSize>(255)), 0) << name;
  }
}

}  // namespace
}  // namespace hv
