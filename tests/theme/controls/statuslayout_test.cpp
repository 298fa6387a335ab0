#include "theme/controls/statuslayout.h"

#include <gtest/gtest.h>

namespace hv {
namespace {

TStatusPanelMetrics Panel(int width, int viewPriority = 100, int stretchPriority = 0, int maxWidth = 10000) {
  return {width, maxWidth, viewPriority, stretchPriority};
}

TEST(StatusLayout, TwoPanelsOnAWideBarKeepTheirWidthsAndLeaveTheRest) {
  // The main window's bar: 1024 wide, border 2 on every side.
  const TRect content{2, 2, 1022, 20};
  const auto places = LayoutStatusPanels({Panel(50), Panel(50)}, content);
  ASSERT_EQ(places.size(), 2u);
  EXPECT_EQ(places[0], (TStatusPanelPlace{50, true, 2, 52}));
  EXPECT_EQ(places[1], (TStatusPanelPlace{50, true, 52, 102}));
  EXPECT_EQ(StatusPanelRect(places[1], content), (TRect{52, 2, 102, 20}));
  EXPECT_EQ(StatusPanelArea(places, content), (TRect{2, 2, 102, 20}));
  EXPECT_EQ(StatusPanelArea({}, content), TRect{});
}

TEST(StatusLayout, LowViewPrioritiesGiveWayWhenTheBarIsNarrow) {
  const std::vector<TStatusPanelMetrics> panels{Panel(400, 100), Panel(400, 50), Panel(400, 20)};
  auto places = LayoutStatusPanels(panels, {0, 0, 900, 20});
  EXPECT_TRUE(places[0].visible);
  EXPECT_TRUE(places[1].visible);
  EXPECT_FALSE(places[2].visible);
  EXPECT_EQ(places[1].right, 800);
  EXPECT_EQ(places[2].left, places[2].right);

  places = LayoutStatusPanels(panels, {0, 0, 700, 20});
  EXPECT_TRUE(places[0].visible);
  EXPECT_FALSE(places[1].visible);
  EXPECT_FALSE(places[2].visible);

  // Priority 100 is never hidden by the rule, even when nothing fits: the
  // one past the bar's end goes only because it starts beyond it.
  places = LayoutStatusPanels({Panel(400), Panel(400), Panel(400)}, {0, 0, 700, 20});
  EXPECT_TRUE(places[0].visible);
  EXPECT_TRUE(places[1].visible);
  EXPECT_EQ(places[1].right, 800);
  EXPECT_FALSE(LayoutStatusPanels({Panel(400), Panel(400), Panel(400)}, {0, 0, 790, 20})[2].visible);

  // A hidden panel leaves no gap: the next one closes up.
  places = LayoutStatusPanels({Panel(400, 100), Panel(400, 20), Panel(300, 50)}, {0, 0, 750, 20});
  EXPECT_FALSE(places[1].visible);
  EXPECT_EQ(places[2], (TStatusPanelPlace{300, true, 400, 700}));

  // Priority 0 never shows, whatever the room.
  places = LayoutStatusPanels({Panel(50, 0), Panel(50)}, {0, 0, 900, 20});
  EXPECT_FALSE(places[0].visible);
  EXPECT_EQ(places[1], (TStatusPanelPlace{50, true, 0, 50}));
}

TEST(StatusLayout, SpareRoomGoesToTheHighestStretchPriorityWithinItsMaximum) {
  // A stretching last panel reaches the content's right edge.
  auto places = LayoutStatusPanels({Panel(50), Panel(50, 100, 1)}, {2, 2, 502, 20});
  EXPECT_EQ(places[1].assignedWidth, 450);
  EXPECT_EQ(places[1].right, 502);

  // The highest priority takes the room first; what its maximum refuses goes
  // on to the next.
  places = LayoutStatusPanels({Panel(50, 100, 1), Panel(50, 100, 5, 120), Panel(50)}, {0, 0, 400, 20});
  EXPECT_EQ(places[1].assignedWidth, 300);
  EXPECT_EQ(places[1].right - places[1].left, 120);
  EXPECT_EQ(places[0].assignedWidth, 230);
  EXPECT_EQ(places[0], (TStatusPanelPlace{230, true, 0, 230}));
  EXPECT_EQ(places[1].left, 230);
  EXPECT_EQ(places[2], (TStatusPanelPlace{50, true, 350, 400}));

  // Nobody stretches: the rest of the bar stays empty.
  places = LayoutStatusPanels({Panel(50), Panel(50)}, {0, 0, 400, 20});
  EXPECT_EQ(places[1].right, 100);
}

TEST(StatusLayout, PanelGeometryFrameGripAndHitTest) {
  EXPECT_EQ(StatusPanelContentRect({2, 2, 52, 20}, true), (TRect{3, 3, 49, 19}));
  EXPECT_EQ(StatusPanelContentRect({2, 2, 52, 20}, false), (TRect{2, 2, 52, 20}));
  EXPECT_EQ(StatusSizeGripRect({2, 2, 1022, 20}, true, 17, 17), (TRect{1004, 2, 1021, 19}));
  EXPECT_EQ(StatusSizeGripRect({2, 2, 1022, 20}, false, 16, 16), (TRect{1006, 4, 1022, 20}));

  const TRect content{2, 2, 1022, 20};
  const auto places = LayoutStatusPanels({Panel(50), Panel(400, 20), Panel(50)}, {2, 2, 300, 20});
  ASSERT_FALSE(places[1].visible);
  EXPECT_EQ(StatusPanelAt(places, content, {2, 2}), 0);
  EXPECT_EQ(StatusPanelAt(places, content, {51, 19}), 0);
  EXPECT_EQ(StatusPanelAt(places, content, {52, 10}), 2);
  EXPECT_EQ(StatusPanelAt(places, content, {101, 10}), 2);
  EXPECT_EQ(StatusPanelAt(places, content, {102, 10}), -1);  // beyond the last
  EXPECT_EQ(StatusPanelAt(places, content, {1, 10}), -1);    // left of the content
  EXPECT_EQ(StatusPanelAt(places, content, {10, 1}), -1);    // above it
  EXPECT_EQ(StatusPanelAt(places, content, {10, 20}), -1);   // below it
}

TEST(StatusLayout, ImageAndTextPlacesForEveryLayoutAndAlignment) {
  TStatusPanelContent c;
  c.area = {100, 18};
  c.image = {16, 16};
  c.text = {40, 13};
  c.validImage = true;

  EXPECT_EQ(StatusPanelGlyphRect(c), (TRect{2, 1, 18, 17}));
  EXPECT_EQ(StatusPanelTextRect(c), (TRect{22, 2, 98, 15}));
  c.alignment = TStatusTextAlignment::taCenter;  // (100 - 16 - 4 - 40) / 2 = 20
  EXPECT_EQ(StatusPanelGlyphRect(c), (TRect{20, 1, 36, 17}));
  EXPECT_EQ(StatusPanelTextRect(c), (TRect{40, 2, 90, 15}));

  c.layout = TStatusGlyphLayout::sglGlyphRight;
  EXPECT_EQ(StatusPanelGlyphRect(c), (TRect{64, 1, 80, 17}));
  EXPECT_EQ(StatusPanelTextRect(c), (TRect{20, 2, 60, 15}));
  c.alignment = TStatusTextAlignment::taRightJustify;
  EXPECT_EQ(StatusPanelGlyphRect(c), (TRect{82, 1, 98, 17}));
  EXPECT_EQ(StatusPanelTextRect(c), (TRect{2, 2, 78, 15}));

  // No image: the text keeps the whole width between the margins.
  c.validImage = false;
  c.image = {};
  EXPECT_EQ(StatusPanelTextRect(c), (TRect{2, 2, 98, 15}));
  c.alignment = TStatusTextAlignment::taCenter;
  EXPECT_EQ(StatusPanelTextRect(c), (TRect{30, 2, 70, 15}));
  c.layout = TStatusGlyphLayout::sglGlyphLeft;
  EXPECT_EQ(StatusPanelTextRect(c), (TRect{30, 2, 80, 15}));

  // Odd leftovers halve toward zero, also when negative.
  c.area = {31, 5};
  c.text = {40, 8};
  EXPECT_EQ(StatusPanelTextRect(c), (TRect{-4, -1, 46, 7}));
}

TEST(StatusLayout, TextWidthIsLimitedToThePanelUnlessTheBarSizesItself) {
  EXPECT_EQ(StatusPanelTextWidth(30, false, 50, false, 0, 4, 2), 30);
  EXPECT_EQ(StatusPanelTextWidth(80, false, 50, false, 0, 4, 2), 46);
  EXPECT_EQ(StatusPanelTextWidth(80, false, 50, true, 16, 4, 2), 26);
  EXPECT_EQ(StatusPanelTextWidth(80, true, 50, true, 16, 4, 2), 80);
}

}  // namespace
}  // namespace hv
