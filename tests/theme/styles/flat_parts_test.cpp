// Flat's bars, menus, panels and borders.

#include <gtest/gtest.h>
#include <windows.h>

#include "framework/control.h"
#include "tests/theme/styles/flat_test_support.h"
#include "theme/core/themeitems.h"
#include "theme/core/themelibrary.h"
#include "theme/styles/flat.h"

namespace hv {
namespace {

using namespace test;

using FlatPartsTest = test::FlatStyleTest;

TEST_F(FlatPartsTest, ScrollBarParts) {
  TSheet track(40, 17);
  theme_.DrawScrollBarTrack(track.Canvas(), {0, 0, 40, 17}, sbHorizontal);
  EXPECT_PIXELS(track, {0, 0, frame_}, {39, 16, frame_}, {20, 8, kLeftAlone, "the track is only outlined"});

  TSheet thumb(17, 30);
  theme_.DrawScrollThumb(thumb.Canvas(), {0, 0, 17, 30}, sbVertical, kesHot);
  EXPECT_PIXELS(thumb, {0, 0, frame_}, {1, 1, Lighten(hot_, 30)}, {15, 28, Darken(hot_, 30)}, {8, 15, hot_});
  theme_.DrawScrollThumb(thumb.Fresh(), {0, 0, 17, 30}, sbVertical, kesPressed);
  EXPECT_PIXELS(thumb, {1, 1, Darken(selection_, 30)}, {8, 15, selection_});
  theme_.DrawScrollThumb(thumb.Fresh(), {0, 0, 17, 30}, sbVertical, kesDisabled);
  EXPECT_EQ(thumb.ColorAt(1, 1), Rgb(0xFEFEFB));

  TSheet button(17, 17);
  const TRect r{0, 0, 17, 17};
  theme_.DrawScrollButton(button.Canvas(), r, true, true, kesNormal);
  EXPECT_PIXELS(button, {0, 0, frame_}, {1, 1, Face()});
  EXPECT_GT(Count(button, r, clBlack), 2) << "the arrow glyph";
  theme_.DrawScrollButton(button.Fresh(), r, false, false, kesPressed);
  EXPECT_PIXELS(button, {1, 1, Darken(selection_, 30)}, {15, 15, Lighten(selection_, 30)});
  EXPECT_GT(Count(button, r, clBlack), 2);
  // The arrow button is the horizontal scroll button.
  for (bool first : {true, false})
    EXPECT_EQ(Differences(
                  17, 17, [&](TCanvas& c) { theme_.DrawArrowButton(c, r, first, 0, kesHot); },
                  [&](TCanvas& c) { theme_.DrawScrollButton(c, r, false, first, kesHot); }),
              0);
  // Up and down differ, as do left and right.
  EXPECT_GT(Differences(
                17, 17, [&](TCanvas& c) { theme_.DrawScrollButton(c, r, true, true, kesNormal); },
                [&](TCanvas& c) { theme_.DrawScrollButton(c, r, true, false, kesNormal); }),
            0);
}

TEST_F(FlatPartsTest, GlyphButtonsAndTrackBars) {
  TSheet sheet(17, 17);
  theme_.DrawGlyphButton(sheet.Canvas(), {0, 0, 17, 17}, 1, kesHot, false);
  EXPECT_PIXELS(sheet, {0, 0, frame_}, {1, 1, Lighten(hot_, 30)});
  EXPECT_GT(Count(sheet, {0, 0, 17, 17}, clBlack), 2);

  TSheet track(120, 8);
  theme_.DrawTrackBarTrack(track.Canvas(), {0, 0, 120, 8}, {30, 0, 80, 8});
  EXPECT_PIXELS(track, {0, 0, frame_}, {1, 1, Face()}, {31, 1, selection_}, {78, 6, selection_}, {79, 6, Face()},
                {30, 1, Face()});

  TSheet thumb(12, 22);
  theme_.DrawTrackBarThumb(thumb.Canvas(), {0, 0, 11, 20}, false, 0, kesHot);
  EXPECT_PIXELS(thumb, {0, 0, frame_}, {1, 1, hot_});
  thumb.Clear();
  // Pointing down: (0, 0), (10, 0), (10, 15), (5, 20), (0, 15).
  theme_.DrawTrackBarThumb(thumb.Canvas(), {0, 0, 11, 20}, false, 1, kesPressed);
  EXPECT_PIXELS(thumb, {5, 20, frame_}, {10, 15, frame_}, {5, 10, selection_}, {1, 18, kLeftAlone});
}

TEST_F(FlatPartsTest, ProgressBarBlocksOnTheirFrame) {
  TSheet sheet(100, 20);
  theme_.DrawProgressBarFrame(sheet.Canvas(), {0, 0, 100, 20});
  EXPECT_PIXELS(sheet, {0, 0, frame_}, {1, 1, window_});
  sheet.Clear();
  // Blocks of 13 every 15 pixels; a 60-pixel bar gives five of them.
  theme_.DrawProgressBar(sheet.Canvas(), {0, 0, 100, 20}, {0, 0, 60, 20}, false, false);
  EXPECT_PIXELS(sheet, {0, 10, selection_}, {12, 10, selection_}, {13, 10, kLeftAlone}, {72, 10, selection_},
                {75, 10, kLeftAlone});
  theme_.DrawProgressBar(sheet.Fresh(), {0, 0, 100, 20}, {0, 0, 37, 20}, false, true);
  EXPECT_PIXELS(sheet, {36, 10, selection_}, {37, 10, kLeftAlone});
}

TEST_F(FlatPartsTest, StatusBarPanelsAndGrip) {
  TSheet sheet(40, 20);
  theme_.DrawStatusBar(sheet.Canvas(), {0, 0, 40, 20});
  EXPECT_PIXELS(sheet, {0, 0, Face()}, {39, 19, Face()});
  sheet.Clear();
  TControl bar(nullptr);
  TTeStatusPanel panel(&bar);
  theme_.DrawStatusPanel(sheet.Canvas(), {0, 0, 40, 20}, &panel);
  EXPECT_PIXELS(sheet, {0, 0, Face()}, {1, 1, frame_}, {38, 18, frame_}, {2, 2, Face()});
  theme_.DrawStatusPanel(sheet.Fresh(), {0, 0, 40, 20}, nullptr);
  EXPECT_EQ(sheet.ColorAt(1, 1), frame_) << "a panel outside a bar paints alike";

  TSheet grip(18, 18);
  theme_.DrawSizeGrip(grip.Canvas(), {0, 0, 16, 16});
  EXPECT_PIXELS(grip, {15, 3, frame_}, {10, 10, selection_}, {14, 14, selection_}, {5, 5, kLeftAlone});
}

TEST_F(FlatPartsTest, PanelsTabsAndBoxes) {
  TSheet sheet(40, 22);
  theme_.DrawPanel(sheet.Canvas(), {0, 0, 40, 20});
  EXPECT_PIXELS(sheet, {0, 0, frame_}, {1, 1, Face()});

  auto tab = [&](TTabPosition position, TTeElementState state) {
    theme_.DrawTab(sheet.Fresh(), {0, 1, 40, 21}, position, state);
  };
  tab(tpTop, kesHot);  // the face runs over the frame on the page's side
  EXPECT_PIXELS(sheet, {0, 1, frame_}, {1, 2, hot_}, {5, 20, hot_}, {0, 20, frame_}, {5, 1, frame_});
  tab(tpBottom, kesNormal);
  EXPECT_PIXELS(sheet, {5, 1, selection_}, {5, 20, frame_});
  tab(tpLeft, static_cast<TTeElementState>(4));
  EXPECT_PIXELS(sheet, {39, 10, Face()}, {0, 10, frame_});
  tab(tpRight, kesPressed);
  EXPECT_PIXELS(sheet, {0, 10, selection_}, {39, 10, frame_});

  TSheet box(24, 24);
  theme_.DrawStateBox(box.Canvas(), {0, 0, 24, 24}, 0, 2);
  EXPECT_PIXELS(box, {0, 0, frame_}, {1, 1, Rgb(0x1E1E1E), "black lightened by 30"}, {22, 22, clBlack},
                {10, 10, clBlack});
  theme_.DrawStateBox(box.Fresh(), {0, 0, 24, 24}, 0, 5);
  EXPECT_EQ(box.ColorAt(1, 1), Darken(selection_, 30));
  theme_.DrawStateBox(box.Fresh(), {0, 0, 24, 24}, 0, 0);
  EXPECT_EQ(box.ColorAt(1, 1), Face()) << "variant 0 has no bevel";
}

TEST_F(FlatPartsTest, BordersEditsHeadersAndGroupBoxes) {
  TSheet sheet(60, 40);
  theme_.DrawListBorder(sheet.Canvas(), {0, 0, 60, 40}, kesNormal);
  EXPECT_PIXELS(sheet, {0, 0, frame_}, {1, 1, window_}, {7, 7, window_}, {8, 8, kLeftAlone, "seven nested frames"},
                {45, 25, window_, "the corner square"});
  theme_.DrawListBorder(sheet.Fresh(), {0, 0, 60, 40}, kesDisabled);
  EXPECT_PIXELS(sheet, {0, 0, Rgb(0xC5C5B1)}, {7, 7, Rgb(0xFEFEFB)});
  theme_.DrawScrollBoxBorder(sheet.Fresh(), {0, 0, 60, 40}, true);
  EXPECT_PIXELS(sheet, {0, 0, frame_}, {9, 9, Face()}, {10, 10, kLeftAlone});

  theme_.DrawEdit(sheet.Fresh(), {0, 0, 60, 20}, true, 0);
  EXPECT_PIXELS(sheet, {0, 0, frame_}, {1, 1, window_});
  theme_.DrawEdit(sheet.Fresh(), {0, 0, 60, 20}, false, 0);
  EXPECT_EQ(sheet.ColorAt(0, 0), window_);

  theme_.DrawHeader(sheet.Fresh(), {0, 0, 60, 20}, "");
  EXPECT_PIXELS(sheet, {0, 0, hot_}, {30, 20, frame_, "the line runs along the bottom edge"});

  // Open under the caption (20..40); the right and bottom lines lie on the
  // rect's right and bottom coordinates.
  theme_.DrawGroupBox(sheet.Fresh(), {0, 0, 50, 30}, {20, 0, 40, 10}, "");
  EXPECT_PIXELS(sheet, {5, 0, frame_}, {30, 0, kLeftAlone}, {45, 0, frame_}, {50, 15, frame_}, {25, 30, frame_},
                {0, 15, frame_}, {25, 15, kLeftAlone, "the inside is not filled"});
}

TEST_F(FlatPartsTest, BarsBandsItemsAndSplitters) {
  TSheet sheet(120, 26);
  theme_.DrawControlBand(sheet.Canvas(), {0, 0, 120, 26}, {2, 2, 12, 24});
  EXPECT_PIXELS(sheet, {0, 0, frame_}, {1, 1, Face()}, {5, 3, frame_, "the grip shrunk by 3 and 1"}, {6, 4, hot_},
                {4, 4, Face()});
  theme_.DrawControlBar(sheet.Fresh(), {0, 0, 120, 26});
  EXPECT_EQ(sheet.ColorAt(0, 0), Face());
  theme_.DrawMenuBarOnControlBar(sheet.Fresh(), {0, 0, 120, 26});
  EXPECT_EQ(sheet.ColorAt(60, 13), Face());

  const std::pair<int, TColor> items[] = {{0, window_}, {1, hot_},   {2, selection_}, {3, selection_},
                                          {4, Face()},  {7, Face()}, {255, Face()}};
  for (auto [flags, color] : items) {
    theme_.DrawListItem(sheet.Fresh(), {0, 0, 50, 16}, static_cast<uint8_t>(flags));
    EXPECT_EQ(sheet.ColorAt(0, 0), color) << flags;
  }

  theme_.DrawSplitter(sheet.Fresh(), {0, 0, 6, 26}, true, true);
  EXPECT_PIXELS(sheet, {0, 0, frame_}, {2, 10, selection_});
  theme_.DrawSplitter(sheet.Fresh(), {0, 0, 6, 26}, false, false);
  EXPECT_EQ(sheet.ColorAt(0, 0), window_);
}

TEST_F(FlatPartsTest, MenuBarItemsAndButtons) {
  TTeCustomItem item(nullptr);
  TSheet sheet(40, 20);
  const TRect r{0, 0, 40, 20};
  theme_.DrawMenuBar(sheet.Canvas(), 40, 20);
  EXPECT_PIXELS(sheet, {0, 0, frame_}, {10, 10, menu_});

  theme_.DrawMenuBarItem(sheet.Fresh(), &item, r, true, true);
  EXPECT_PIXELS(sheet, {0, 0, kLeftAlone}, {1, 1, menu_}, {2, 2, frame_}, {3, 3, hot_});
  theme_.DrawMenuBarItem(sheet.Fresh(), &item, r, false, false);
  EXPECT_EQ(sheet.ColorAt(2, 2), menu_);
  item.SetOnControlBar(true);
  theme_.DrawMenuBarItem(sheet.Fresh(), &item, r, false, false);
  EXPECT_PIXELS(sheet, {1, 1, Face()}, {2, 2, frame_, "a flat speed button at rest"}, {3, 3, Face()});
  theme_.DrawMenuBarItem(sheet.Fresh(), &item, r, true, false);
  EXPECT_EQ(sheet.ColorAt(3, 3), Darken(Face(), 30)) << "a pressed flat speed button";

  TSheet button(21, 21);
  item.SetButtonKind(kibSystemMenu);
  theme_.DrawMenuBarButton(button.Canvas(), &item, {0, 0, 21, 21}, true, false);
  EXPECT_PIXELS(button, {0, 0, kLeftAlone}, {1, 1, menu_}, {2, 2, frame_}, {3, 3, hot_});
  theme_.DrawMenuBarButton(button.Fresh(), &item, {0, 0, 21, 21}, false, false);
  EXPECT_EQ(button.ColorAt(2, 2), menu_);
  button.Clear();
  item.SetButtonKind(kibClose);
  theme_.DrawMenuBarButton(button.Canvas(), &item, {0, 0, 21, 21}, false, false);
  EXPECT_EQ(button.ColorAt(1, 1), menu_);
  EXPECT_GT(Count(button, {3, 3, 18, 18}, frame_), 10) << "framed platform caption button";
  theme_.DrawMenuBarItem(sheet.Canvas(), nullptr, r, true, true);
  theme_.DrawMenuBarButton(button.Canvas(), nullptr, {0, 0, 21, 21}, true, true);
}

TEST_F(FlatPartsTest, PopupMenuAndItems) {
  TSheet sheet(100, 22);
  theme_.DrawPopupMenu(sheet.Canvas(), 50, 20);
  EXPECT_PIXELS(sheet, {0, 0, frame_}, {49, 19, frame_}, {1, 1, menu_}, {2, 2, menu_}, {3, 3, kLeftAlone});

  TTeCustomItem separator(nullptr);
  separator.SetCaption("-");
  theme_.DrawPopupItem(sheet.Fresh(), &separator, {0, 0, 60, 9}, false, 0);
  EXPECT_PIXELS(sheet, {1, 4, menu_}, {2, 4, frame_}, {57, 4, frame_}, {58, 4, menu_}, {30, 3, menu_});

  TTeCustomItem parent(nullptr), child(nullptr);
  parent.Add(&child);
  theme_.DrawPopupItem(sheet.Fresh(), &parent, {0, 0, 100, 22}, true, 0);
  EXPECT_PIXELS(sheet, {0, 0, frame_}, {1, 1, hot_}, {86, 10, text_, "the sub-item dot in (84, 8, 89, 13)"},
                {82, 10, hot_});
  sheet.Clear();
  parent.SetChecked(true);
  theme_.DrawPopupItem(sheet.Canvas(), &parent, {0, 0, 100, 22}, false, 0);
  EXPECT_EQ(sheet.ColorAt(0, 0), menu_);
  EXPECT_GT(Count(sheet, {0, 0, 22, 22}, clBlack), 5) << "the check mark";

  TSheet scroll(60, 12);
  theme_.DrawPopupScrollButton(scroll.Canvas(), {0, 0, 60, 12}, 2, true);
  EXPECT_PIXELS(scroll, {0, 0, Darken(frame_, 30)}, {59, 11, Lighten(frame_, 30)},
                {26, 4, text_, "a down arrow in (26, 4, 33, 8)"}, {29, 7, text_}, {26, 5, menu_});
  theme_.DrawPopupScrollButton(scroll.Fresh(), {0, 0, 60, 12}, 1, false);
  EXPECT_PIXELS(scroll, {0, 0, menu_}, {26, 7, text_, "an up arrow"}, {29, 4, text_});
  for (int direction : {0, 3, -1}) {
    theme_.DrawPopupScrollButton(scroll.Fresh(), {0, 0, 60, 12}, direction, false);
    EXPECT_EQ(Count(scroll, {0, 0, 60, 12}, menu_), 60 * 12) << direction;
  }
  theme_.DrawPopupItem(sheet.Canvas(), nullptr, {0, 0, 100, 22}, true, 0);
}

}  // namespace
}  // namespace hv
