#include <gtest/gtest.h>

#include "framework/align.h"

namespace hv {
namespace {

TEST(AlignTest, ClassicOrderTopBottomLeftRightClient) {
  std::vector<TAlignItem> items{
      {TAlign::alClient, Rect(0, 0, 5, 5)},  {TAlign::alRight, Rect(0, 0, 30, 5)},
      {TAlign::alLeft, Rect(0, 0, 201, 5)},  {TAlign::alBottom, Rect(0, 0, 5, 22)},
      {TAlign::alTop, Rect(0, 0, 5, 32)},
  };
  TRect rest = AlignItems(items, Rect(0, 0, 1024, 721));
  EXPECT_EQ(items[4].bounds, Rect(0, 0, 1024, 32));
  EXPECT_EQ(items[3].bounds, Rect(0, 699, 1024, 721));
  EXPECT_EQ(items[2].bounds, Rect(0, 32, 201, 699));
  EXPECT_EQ(items[1].bounds, Rect(994, 32, 1024, 699));
  EXPECT_EQ(items[0].bounds, Rect(201, 32, 994, 699));
  EXPECT_EQ(rest, Rect(201, 32, 994, 699));
}

TEST(AlignTest, SameAlignmentStacksInTheOrderOfCurrentPositions) {
  // The tree at x = 0 and the splitter at x = 201 keep their order whatever
  // order they were created in.
  std::vector<TAlignItem> items{{TAlign::alLeft, Rect(201, 0, 205, 10)}, {TAlign::alLeft, Rect(0, 0, 201, 10)}};
  AlignItems(items, Rect(0, 32, 1024, 699));
  EXPECT_EQ(items[1].bounds, Rect(0, 32, 201, 699));
  EXPECT_EQ(items[0].bounds, Rect(201, 32, 205, 699));

  // Bottom-aligned items stack upwards from the lowest.
  std::vector<TAlignItem> bottoms{{TAlign::alBottom, Rect(0, 50, 5, 60)}, {TAlign::alBottom, Rect(0, 80, 5, 100)}};
  AlignItems(bottoms, Rect(0, 0, 100, 100));
  EXPECT_EQ(bottoms[1].bounds, Rect(0, 80, 100, 100));
  EXPECT_EQ(bottoms[0].bounds, Rect(0, 70, 100, 80));
}

TEST(AlignTest, TheItemThatMovedWinsATie) {
  std::vector<TAlignItem> items{{TAlign::alTop, Rect(0, 0, 5, 10)}, {TAlign::alTop, Rect(0, 0, 5, 20)}};
  AlignItems(items, Rect(0, 0, 50, 50), 1);
  EXPECT_EQ(items[1].bounds, Rect(0, 0, 50, 20));
  EXPECT_EQ(items[0].bounds, Rect(0, 20, 50, 30));
}

TEST(AlignTest, HiddenAndUnalignedItemsKeepTheirBoundsAndTakeNoSpace) {
  std::vector<TAlignItem> items{{TAlign::alTop, Rect(3, 4, 8, 40), false},
                                {TAlign::alNone, Rect(7, 7, 9, 9)},
                                {TAlign::alClient, Rect(0, 0, 1, 1)}};
  AlignItems(items, Rect(0, 0, 100, 100));
  EXPECT_EQ(items[0].bounds, Rect(3, 4, 8, 40));
  EXPECT_EQ(items[1].bounds, Rect(7, 7, 9, 9));
  EXPECT_EQ(items[2].bounds, Rect(0, 0, 100, 100));
}

TEST(AlignTest, ATooSmallClientAreaNeverGivesNegativeSizes) {
  std::vector<TAlignItem> items{{TAlign::alTop, Rect(0, 0, 5, 30)},
                                {TAlign::alBottom, Rect(0, 0, 5, 30)},
                                {TAlign::alClient, Rect(0, 0, 1, 1)}};
  AlignItems(items, Rect(0, 0, 40, 40));
  EXPECT_EQ(items[0].bounds, Rect(0, 0, 40, 30));
  EXPECT_EQ(items[1].bounds, Rect(0, 0, 40, 30).Offset(0, 10));
  EXPECT_EQ(items[2].bounds.Width(), 40);
  EXPECT_EQ(items[2].bounds.Height(), 0);
}

}  // namespace
}  // namespace hv
