#include "theme/controls/splittermath.h"

#include <gtest/gtest.h>

namespace hv {
namespace {

TEST(SplitterMath, ProbeLiesOnePixelOutsideTheAlignedSide) {
  const TRect b = Bounds(201, 32, 4, 667);
  EXPECT_EQ(SplitterProbePoint(TAlign::alLeft, b), (TPoint{200, 32}));
  EXPECT_EQ(SplitterProbePoint(TAlign::alRight, b), (TPoint{205, 32}));
  EXPECT_EQ(SplitterProbePoint(TAlign::alTop, b), (TPoint{201, 31}));
  EXPECT_EQ(SplitterProbePoint(TAlign::alBottom, b), (TPoint{201, 699}));
  EXPECT_FALSE(SplitterProbePoint(TAlign::alClient, b).has_value());
  EXPECT_FALSE(SplitterProbePoint(TAlign::alNone, b).has_value());
  EXPECT_TRUE(SplitterResizes(TAlign::alBottom));
  EXPECT_FALSE(SplitterResizes(TAlign::alClient));
}

TEST(SplitterMath, ANeighbourOfNoWidthStillCountsOnePixelTowardsTheSplitter) {
  // The tree of the main window, and one collapsed to nothing.
  EXPECT_TRUE(SplitterNeighbourHit(TAlign::alLeft, Bounds(0, 32, 201, 667), {200, 32}));
  EXPECT_FALSE(SplitterNeighbourHit(TAlign::alLeft, Bounds(0, 32, 199, 667), {200, 32}));
  EXPECT_TRUE(SplitterNeighbourHit(TAlign::alLeft, Bounds(0, 32, 0, 667), {-1, 32}));
  EXPECT_FALSE(SplitterNeighbourHit(TAlign::alLeft, Bounds(0, 32, 0, 667), {0, 32}));
  // A right splitter's collapsed neighbour widens to the right.
  EXPECT_TRUE(SplitterNeighbourHit(TAlign::alRight, Bounds(300, 0, 0, 50), {300, 0}));
  // Zero heights widen upward for top splitters, downward for bottom ones.
  EXPECT_TRUE(SplitterNeighbourHit(TAlign::alTop, Bounds(0, 40, 100, 0), {0, 39}));
  EXPECT_TRUE(SplitterNeighbourHit(TAlign::alBottom, Bounds(0, 40, 100, 0), {0, 40}));
  EXPECT_FALSE(SplitterNeighbourHit(TAlign::alBottom, Bounds(0, 40, 100, 0), {0, 39}));
}

TEST(SplitterMath, MaxSizeLeavesTheMinimumToTheOtherSide) {
  // 1024 wide, tree 201, splitter 4: the tree may grow to 1024 - 30 - 205 + 201.
  EXPECT_EQ(SplitterMaxSize(1024, 30, {201, 4}, 201), 990);
  EXPECT_EQ(SplitterMaxSize(1024, 30, {201, 4, 100}, 201), 890);
}

TEST(SplitterMath, StepClampsTheSizeAndStopsTheLineWithIt) {
  const TPoint down{2, 100};
  // Left neighbour of 201: twenty pixels right grows it by twenty.
  EXPECT_EQ(SplitterStepFor(TAlign::alLeft, down, {22, 0}, 201, 30, 990), (TSplitterStep{20, 221}));
  // Far left: the size stops at the minimum and so does the line.
  EXPECT_EQ(SplitterStepFor(TAlign::alLeft, down, {-500, 0}, 201, 30, 990), (TSplitterStep{-171, 30}));
  // Far right: at the maximum.
  EXPECT_EQ(SplitterStepFor(TAlign::alLeft, down, {2000, 0}, 201, 30, 990), (TSplitterStep{789, 990}));
  // Right and bottom neighbours grow against the mouse.
  EXPECT_EQ(SplitterStepFor(TAlign::alRight, down, {-18, 0}, 100, 30, 500), (TSplitterStep{-20, 120}));
  EXPECT_EQ(SplitterStepFor(TAlign::alRight, down, {500, 0}, 100, 30, 500), (TSplitterStep{70, 30}));
  EXPECT_EQ(SplitterStepFor(TAlign::alBottom, down, {0, 90}, 100, 30, 500), (TSplitterStep{-10, 110}));
  EXPECT_EQ(SplitterStepFor(TAlign::alBottom, down, {0, -1000}, 100, 30, 500), (TSplitterStep{-400, 500}));
  EXPECT_EQ(SplitterStepFor(TAlign::alTop, down, {0, 95}, 100, 30, 500), (TSplitterStep{-5, 95}));
  // Less room than the minimum: the minimum wins.
  EXPECT_EQ(SplitterStepFor(TAlign::alLeft, down, {50, 0}, 40, 30, 10).size, 30);
}

TEST(SplitterMath, ResizedBoundsKeepTheFarEdgeOfRightAndBottomNeighbours) {
  const TRect b = Bounds(10, 20, 100, 50);
  EXPECT_EQ(SplitterResizedBounds(TAlign::alLeft, b, 150), Bounds(10, 20, 150, 50));
  EXPECT_EQ(SplitterResizedBounds(TAlign::alTop, b, 0), Bounds(10, 20, 100, 0));
  EXPECT_EQ(SplitterResizedBounds(TAlign::alRight, b, 60), Bounds(50, 20, 60, 50));
  EXPECT_EQ(SplitterResizedBounds(TAlign::alBottom, b, 80), Bounds(10, -10, 100, 80));
  EXPECT_EQ(SplitterLineRect(TAlign::alLeft, Bounds(201, 32, 4, 667), -20), Bounds(181, 32, 4, 667));
  EXPECT_EQ(SplitterLineRect(TAlign::alBottom, Bounds(0, 600, 800, 3), 7), Bounds(0, 607, 800, 3));
}

}  // namespace
}  // namespace hv
