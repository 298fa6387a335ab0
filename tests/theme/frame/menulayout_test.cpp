// The menus' arithmetic: where the items of a level go, where a level opens
// on the work area, which item the arrow keys reach, and scrolling.

#include "theme/frame/menulayout.h"

#include <gtest/gtest.h>

namespace hv {
namespace {

TMenuSlot Slot(int width, int height, TTeItemButtonKind kind = kibNone) { return {true, kind, width, height}; }

TEST(MenuLayout, VerticalItemsStackAndTakeTheWidestWidth) {
  std::vector<TMenuSlot> slots = {Slot(60, 20), Slot(90, 15), {false, kibNone, 500, 20}, Slot(40, 22)};
  TMenuLayout l = LayOutVertical(slots, {3, 3}, false);
  EXPECT_EQ(l.rects[0], Rect(3, 3, 93, 23));
  EXPECT_EQ(l.rects[1], Rect(3, 23, 93, 38));
  EXPECT_EQ(l.rects[2], TRect{}) << "a hidden item takes no room and does not widen the level";
  EXPECT_EQ(l.rects[3], Rect(3, 38, 93, 60));
  EXPECT_EQ(l.width, 90);
  EXPECT_EQ(l.height, 57);

  l = LayOutVertical(slots, {3, 3}, true);
  EXPECT_EQ(l.rects[0], Rect(3, 13, 93, 33)) << "below the up arrow";
  EXPECT_EQ(l.height, 77) << "room for both arrows";
  EXPECT_EQ(LayOutVertical({}, {0, 0}, false).height, 0);
}

TEST(MenuLayout, HorizontalItemsRowWithTheChildsButtonsAtTheRightEnd) {
  std::vector<TMenuSlot> slots = {Slot(20, 20, kibSystemMenu), Slot(40, 20), Slot(50, 18),
                                  Slot(20, 20, kibMinimize),   Slot(20, 20, kibRestore), Slot(20, 20, kibClose)};
  TMenuLayout l = LayOutHorizontal(slots, {0, 0}, 300);
  EXPECT_EQ(l.rects[0], Rect(0, 0, 20, 20)) << "the system-menu item at the left end";
  EXPECT_EQ(l.rects[1], Rect(20, 0, 60, 20));
  EXPECT_EQ(l.rects[2], Rect(60, 0, 110, 20)) << "as tall as the tallest";
  EXPECT_EQ(l.rects[5], Rect(280, 0, 300, 20)) << "close at the far right";
  EXPECT_EQ(l.rects[4], Rect(260, 0, 280, 20));
  EXPECT_EQ(l.rects[3], Rect(240, 0, 260, 20));
  EXPECT_EQ(l.width, 170);
  EXPECT_EQ(l.height, 20);
}

TEST(MenuLayout, APopupStaysOnTheWorkAreaAndFlipsAtItsEdges) {
  const TRect work = Rect(0, 0, 800, 600);
  EXPECT_EQ(PlacePopup(work, {100, 100}, {150, 200}, nullptr, false), (TPoint{100, 100}));
  EXPECT_EQ(PlacePopup(work, {700, 100}, {150, 200}, nullptr, false), (TPoint{550, 100})) << "left of the point";
  EXPECT_EQ(PlacePopup(work, {100, 500}, {150, 200}, nullptr, false), (TPoint{100, 300})) << "above the point";
  EXPECT_EQ(PlacePopup(work, {700, 500}, {150, 200}, nullptr, false), (TPoint{550, 300}));
  EXPECT_EQ(PlacePopup(work, {10, 10}, {900, 700}, nullptr, false), (TPoint{0, 0})) << "too large: top-left";

  // Below a menu-bar item, right-aligned with it or above it at the edges.
  const TRect barItem = Rect(740, 20, 790, 40);
  EXPECT_EQ(PlacePopup(work, {}, {80, 100}, &barItem, true), (TPoint{710, 40}));
  const TRect lowItem = Rect(100, 550, 160, 570);
  EXPECT_EQ(PlacePopup(work, {}, {80, 100}, &lowItem, true), (TPoint{100, 450}));
  const TRect tallCase = Rect(100, 150, 160, 170);
  EXPECT_EQ(PlacePopup(work, {}, {80, 500}, &tallCase, true), (TPoint{100, 0}))
      << "above would leave the top: at the top";

  // Beside a popup item: right of it, else left; bottom-aligned when low.
  const TRect popupItem = Rect(600, 540, 750, 560);
  EXPECT_EQ(PlacePopup(work, {}, {100, 80}, &popupItem, false), (TPoint{500, 480}));
  const TRect roomy = Rect(100, 100, 250, 120);
  EXPECT_EQ(PlacePopup(work, {}, {100, 80}, &roomy, false), (TPoint{250, 100}));

  // A work area that does not start at the origin (a second monitor).
  EXPECT_EQ(PlacePopup(Rect(800, 0, 1600, 600), {1550, 20}, {100, 50}, nullptr, false), (TPoint{1450, 20}));
}

TEST(MenuLayout, ArrowKeysSkipWhatCannotBeChosenAndWrap) {
  const std::vector<bool> selectable = {true, false, true, false, true};
  EXPECT_EQ(StepSelectable(selectable, 0, 1), 2);
  EXPECT_EQ(StepSelectable(selectable, 4, 1), 0) << "wraps from the last to the first";
  EXPECT_EQ(StepSelectable(selectable, 0, -1), 4);
  EXPECT_EQ(StepSelectable(selectable, -1, 1), 0) << "nothing hot: the first";
  EXPECT_EQ(StepSelectable(selectable, -1, -1), 4) << "nothing hot, up: the last";
  EXPECT_EQ(StepSelectable({false, false}, 0, 1), -1);
  EXPECT_EQ(StepSelectable({}, 0, 1), -1);
  EXPECT_EQ(StepSelectable({true}, 0, 1), 0);
}

TEST(MenuLayout, ScrollingKeepsTheHotItemShown) {
  EXPECT_EQ(ScrollToShow(0, 10, 100, 5), 0);
  EXPECT_EQ(ScrollToShow(0, 10, 100, 10), 1);
  EXPECT_EQ(ScrollToShow(20, 10, 100, 3), 3);
  EXPECT_EQ(ScrollToShow(0, 10, 100, 99), 90);
  EXPECT_EQ(ScrollToShow(95, 10, 100, 99), 90) << "never past the end";
  EXPECT_EQ(ScrollToShow(0, 10, 5, 4), 0);
}

TEST(MenuLayout, ShortCutsCarryTheModifierBits) {
  EXPECT_EQ(ComposeShortCut(0x73, false, false, true), 0x8073);
  EXPECT_EQ(ComposeShortCut('S', true, true, false), 0x6053);
  EXPECT_EQ(ComposeShortCut(0x141, false, false, false), 0x41) << "only the key code's byte";
}

}  // namespace
}  // namespace hv
