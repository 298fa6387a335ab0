#include "theme/controls/scrollgeometry.h"

#include <gtest/gtest.h>

#include <climits>

namespace hv {
namespace {

constexpr int kThumbMetric = 17;

TScrollBox VerticalBox(int width, int height, int border = 0, bool buttons = true) {
  TScrollBox box{.vertical = true, .width = width, .height = height, .borderWidth = border, .showButtons = buttons};
  box.buttonSize = ScrollButtonSize(height, border, kThumbMetric);
  return box;
}

TEST(ScrollGeometry, ButtonsAndTrackAlongEachAxis) {
  const TScrollBox vertical = VerticalBox(17, 200, 1);
  EXPECT_EQ(vertical.buttonSize, 17);
  EXPECT_EQ(ScrollFirstButtonRect(vertical), Rect(1, 1, 16, 18));
  EXPECT_EQ(ScrollSecondButtonRect(vertical), Rect(1, 182, 16, 199));
  EXPECT_EQ(ScrollTrackRect(vertical), Rect(1, 18, 16, 182));

  TScrollBox horizontal{.vertical = false, .width = 121, .height = 17, .borderWidth = 0};
  horizontal.buttonSize = ScrollButtonSize(horizontal.width, 0, kThumbMetric);
  EXPECT_EQ(ScrollFirstButtonRect(horizontal), Rect(0, 0, 17, 17));
  EXPECT_EQ(ScrollSecondButtonRect(horizontal), Rect(104, 0, 121, 17));
  EXPECT_EQ(ScrollTrackRect(horizontal), Rect(17, 0, 104, 17));

  horizontal.showButtons = false;
  EXPECT_EQ(ScrollTrackRect(horizontal), Rect(0, 0, 121, 17));
}

TEST(ScrollGeometry, ShortBarSplitsItsLengthBetweenTheButtons) {
  EXPECT_EQ(ScrollButtonSize(30, 0, kThumbMetric), 15);
  EXPECT_EQ(ScrollButtonSize(31, 1, kThumbMetric), 14);
  EXPECT_EQ(ScrollButtonSize(34, 0, kThumbMetric), 17);
  EXPECT_EQ(ScrollButtonSize(1, 1, kThumbMetric), 0);
  const TScrollBox box = VerticalBox(17, 30);
  EXPECT_EQ(TrackLength(box), 0);
  EXPECT_EQ(ScrollThumbSize({0, 100, 0, 0}, TrackLength(box), kThumbMetric), 0);
}

TEST(ScrollGeometry, ThumbWithoutPageRoundsItsStartHalfToEven) {
  const TScrollRange range{0, 100, 0, 50};
  const int thumb = ScrollThumbSize(range, 100, kThumbMetric);
  EXPECT_EQ(thumb, 17);
  // 50 × 83 / 100 = 41.5 goes to the even 42.
  EXPECT_EQ(ScrollThumbStart(range, 10, 100, thumb), 52);
  EXPECT_EQ(ScrollThumbStart({0, 100, 0, 0}, 10, 100, thumb), 10);
  EXPECT_EQ(ScrollThumbStart({0, 100, 0, 100}, 10, 100, thumb), 93);
}

TEST(ScrollGeometry, PagedThumbSizeAndHighestPosition) {
  const TScrollRange range{0, 99, 10, 90};
  EXPECT_EQ(ScrollThumbSize(range, 200, kThumbMetric), 20);
  EXPECT_EQ(ScrollHighestPosition(range), 90);
  EXPECT_EQ(ScrollThumbStart(range, 0, 200, 20), 180);
  EXPECT_EQ(ScrollPositionAt(range, 180, 0, 200, 20), 90);
  EXPECT_EQ(ScrollPositionAt(range, 500, 0, 200, 20), 90);
  EXPECT_EQ(ScrollPositionAt(range, -40, 0, 200, 20), 0);
  // A tiny page still gets a thumb two thirds of the metric, rounded down to a third.
  EXPECT_EQ(ScrollThumbSize({0, 9999, 1, 0}, 200, kThumbMetric), 10);
  // A page as long as the range leaves no room for a thumb.
  EXPECT_EQ(ScrollThumbSize({0, 99, 100, 0}, 200, kThumbMetric), 0);
}

TEST(ScrollGeometry, PositionAtInvertsThumbStartAcrossTheTrack) {
  const TScrollRange base{-50, 250, 25, 0};
  const int thumb = ScrollThumbSize(base, 300, kThumbMetric);
  for (int position = base.min; position <= ScrollHighestPosition(base); ++position) {
    TScrollRange range = base;
    range.position = position;
    const int start = ScrollThumbStart(range, 17, 300, thumb);
    ASSERT_GE(start, 17);
    ASSERT_LE(start + thumb, 317);
    const int back = ScrollPositionAt(range, start, 17, 300, thumb);
    // Each pixel stands for about one position: the way back lands within one.
    EXPECT_LE(std::abs(back - position), 1) << position;
  }
}

TEST(ScrollGeometry, ExtremeRangesStayInsideTheTrack) {
  const TScrollRange ranges[] = {
      {0, 0, 0, 0},           {0, 1, 0, 1},           {5, 5, 1, 5},       {0, 10, 50, 0},
      {INT_MIN, INT_MAX, 0, 0}, {INT_MIN, INT_MAX, 0, INT_MAX}, {INT_MIN, INT_MAX, INT_MAX, 7},
      {0, INT_MAX, 1, INT_MAX}, {-1, INT_MAX, 2, 1234567},    {100, 0, 0, 50},
  };
  for (const TScrollRange& range : ranges) {
    for (int track : {0, 1, 17, 250, 32000}) {
      const int thumb = ScrollThumbSize(range, track, kThumbMetric);
      EXPECT_GE(thumb, 0);
      EXPECT_LT(thumb, std::max(track, 1));
      const int start = ScrollThumbStart(range, 3, track, thumb);
      EXPECT_GE(start, 3);
      EXPECT_LE(start + thumb, 3 + std::max(track, thumb));
      for (int pixel : {INT_MIN, -1, 0, 3, track / 2, track, INT_MAX}) {
        const int at = ScrollPositionAt(range, pixel, 3, track, thumb);
        EXPECT_GE(at, range.min);
        EXPECT_LE(at, std::max(range.min, ScrollHighestPosition(range)));
      }
    }
  }
  // Near the 32-bit limit the middle of the range lands in the middle of the track.
  const TScrollRange wide{INT_MIN, INT_MAX, 0, 0};
  EXPECT_EQ(ScrollThumbStart(wide, 0, 117, 17), 50);
  EXPECT_EQ(ScrollPositionAt(wide, 50, 0, 117, 17), 0);
}

TEST(ScrollGeometry, NoTravelLeavesTheThumbAtTheStartAndAnswersMin) {
  const TScrollRange noRange{7, 7, 0, 7};
  EXPECT_EQ(ScrollThumbStart(noRange, 20, 100, 17), 20);
  EXPECT_EQ(ScrollPositionAt(noRange, 60, 20, 100, 17), 7);
  const TScrollRange pageCoversAll{3, 12, 10, 3};
  EXPECT_EQ(ScrollThumbStart(pageCoversAll, 20, 100, 0), 20);
  EXPECT_EQ(ScrollPositionAt(pageCoversAll, 60, 20, 100, 0), 3);
}

TEST(ScrollGeometry, PageRectanglesFlankTheThumb) {
  const TScrollBox box = VerticalBox(17, 134);
  const TScrollRange range{0, 100, 0, 50};
  const int thumb = ScrollThumbSize(range, TrackLength(box), kThumbMetric);
  ASSERT_EQ(TrackLength(box), 100);
  EXPECT_EQ(ScrollThumbRect(box, range, thumb), Rect(0, 59, 17, 76));
  EXPECT_EQ(ScrollPageUpRect(box, range, thumb), Rect(0, 17, 17, 59));
  EXPECT_EQ(ScrollPageDownRect(box, range, thumb), Rect(0, 76, 17, 117));
}

TEST(ScrollGeometry, StepsByKeyClampToTheRange) {
  const TScrollRange range{0, 100, 0, 95};
  EXPECT_EQ(ScrollStepFor(range, 0x22, 1, 10).position, 100);  // page down, clamped
  EXPECT_EQ(ScrollStepFor(range, 0x22, 1, 10).code, 3);
  EXPECT_EQ(ScrollStepFor(range, 0x21, 1, 10).position, 85);
  EXPECT_EQ(ScrollStepFor({0, 100, 20, 95}, 0x21, 1, 10).position, 75);  // a page steps by the page
  EXPECT_EQ(ScrollStepFor(range, 0x24, 1, 10).code, 6);
  EXPECT_EQ(ScrollStepFor(range, 0x24, 1, 10).position, 0);
  EXPECT_EQ(ScrollStepFor(range, 0x23, 1, 10).code, 7);
  EXPECT_EQ(ScrollStepFor(range, 0x26, 3, 10).position, 92);
  EXPECT_EQ(ScrollStepFor(range, 0x25, 3, 10).code, 0);
  EXPECT_EQ(ScrollStepFor(range, 0x28, 3, 10).position, 98);
  EXPECT_EQ(ScrollStepFor(range, 0x27, 30, 10).position, 100);
  EXPECT_EQ(ScrollStepFor(range, 0x27, 3, 10).code, 1);
  EXPECT_FALSE(ScrollStepFor(range, 0x41, 3, 10).valid);
  EXPECT_EQ(ScrollStepFor({INT_MIN, INT_MAX, 0, INT_MIN}, 0x21, 1, 32767).position, INT_MIN);
}

TEST(ScrollGeometry, RepeatTimingFollowsTheKeyboardSettings) {
  EXPECT_EQ(ScrollRepeatInitialDelay(0), 200);
  EXPECT_EQ(ScrollRepeatInitialDelay(3), 800);
  EXPECT_EQ(ScrollRepeatInterval(0), 435);
  EXPECT_EQ(ScrollRepeatInterval(31), 14);
  EXPECT_EQ(DivRoundHalfEven(5, 2), 2);
  EXPECT_EQ(DivRoundHalfEven(7, 2), 4);
  EXPECT_EQ(DivRoundHalfEven(-5, 2), -2);
  EXPECT_EQ(DivRoundHalfEven(-7, 2), -4);
  EXPECT_EQ(DivRoundHalfEven(10, 3), 3);
}

}  // namespace
}  // namespace hv
