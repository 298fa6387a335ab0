#include "theme/styles/stdshapes.h"

#include <gtest/gtest.h>

#include <vector>

#include "theme/core/colors.h"

namespace hv {
namespace {

TEST(StdShapesTest, SizeTablesOfBothStyles) {
  const std::vector<int> advanced = {3,  3,  23, 20, 10, 18, 15, 14, 12, 6,  6,  1, 6,  6,  23,
                                     17, 13, 13, 13, 13, 11, 22, 10, 22, 17, 17, 1, 21, 15, 11};
  const std::vector<int> kde = {3,  3,  20, 20, 30, 16, 16, 16, 16, 3,  3,  1, 3,  3,  23,
                                17, 13, 13, 13, 13, 11, 22, 10, 22, 17, 17, 1, 21, 15, 11};
  for (int kind = 0; kind < 30; ++kind) {
    EXPECT_EQ(StdTableSize(kAdvancedSizes, kind), advanced[static_cast<size_t>(kind)]) << kind;
    EXPECT_EQ(StdTableSize(kKdeSizes, kind), kde[static_cast<size_t>(kind)]) << kind;
  }
  // Beyond the table, on both sides, nothing is read: the answer is 0.
  for (int kind : {-1, 30, 31, 255, 1 << 30}) {
    EXPECT_EQ(StdTableSize(kAdvancedSizes, kind), 0) << kind;
    EXPECT_EQ(StdTableSize(kKdeSizes, kind), 0) << kind;
  }
}

TEST(StdShapesTest, ArrowsPointFromTheirBaseRow) {
  const TRect a{10, 20, 17, 24};
  const auto down = ArrowTriangle(a, false);
  EXPECT_EQ(down[0], (TPoint{10, 20}));
  EXPECT_EQ(down[1], (TPoint{16, 20}));
  EXPECT_EQ(down[2], (TPoint{13, 23}));
  const auto up = ArrowTriangle(a, true);
  EXPECT_EQ(up[0], (TPoint{10, 23}));
  EXPECT_EQ(up[1], (TPoint{16, 23}));
  EXPECT_EQ(up[2], (TPoint{13, 20}));
  // Negative coordinates halve toward zero, as the rest of the engine does.
  EXPECT_EQ(ArrowTriangle({-8, 0, -2, 4}, false)[2].x, -5);

  const TRect g{3, 4, 13, 9};
  const auto rollUp = RollTriangle(g, true);
  EXPECT_EQ(rollUp[0], (TPoint{3, 9}));
  EXPECT_EQ(rollUp[1], (TPoint{13, 9}));
  EXPECT_EQ(rollUp[2], (TPoint{8, 4}));
  const auto rollDown = RollTriangle(g, false);
  EXPECT_EQ(rollDown[0], (TPoint{3, 4}));
  EXPECT_EQ(rollDown[2], (TPoint{8, 9}));
}

TEST(StdShapesTest, ProgressBlocksByWholePitches) {
  // A 10-pixel-high inside makes blocks of Round(6.4) = 6 every 8 pixels.
  const TRect inside{1, 1, 101, 11};
  EXPECT_TRUE(ProgressBlocks(inside, {1, 1, 8, 11}, false).empty()) << "shorter than one pitch";
  const auto two = ProgressBlocks(inside, {1, 1, 17, 11}, false);
  ASSERT_EQ(two.size(), 3u) << "exactly two pitches paint three blocks";
  EXPECT_EQ(two[0], (TRect{1, 1, 7, 11}));
  EXPECT_EQ(two[1], (TRect{9, 1, 15, 11}));
  EXPECT_EQ(two[2], (TRect{17, 1, 23, 11}));
  // The last block is cut to the frame's inside.
  const auto cut = ProgressBlocks({1, 1, 20, 11}, {1, 1, 17, 11}, false);
  ASSERT_EQ(cut.size(), 3u);
  EXPECT_EQ(cut[2], (TRect{17, 1, 20, 11}));
  // 0.64 of 18 is 11.52: blocks of 12.
  EXPECT_EQ(ProgressBlocks({0, 0, 200, 18}, {0, 0, 14, 18}, false)[0].Width(), 12);

  // Vertical blocks grow from the bottom: width 10 gives a pitch of 8.
  const auto vertical = ProgressBlocks({1, 1, 11, 101}, {1, 80, 11, 101}, true);
  ASSERT_EQ(vertical.size(), 3u);
  EXPECT_EQ(vertical[0], (TRect{1, 95, 11, 101}));
  EXPECT_EQ(vertical[1], (TRect{1, 87, 11, 93}));
  EXPECT_TRUE(ProgressBlocks({1, 1, 11, 101}, {1, 95, 11, 101}, true).empty());
  // A degenerate inside paints nothing rather than looping.
  EXPECT_TRUE(ProgressBlocks({0, 0, 10, 0}, {0, 0, 0, 0}, false).empty());
}

TEST(StdShapesTest, ThumbsPointHalfTheirThicknessAndLightFallsFromTopLeft) {
  const TRect r{0, 0, 21, 11};
  const auto right = ThumbPolygon(r, true, 1);
  EXPECT_EQ(right[2], (TPoint{20, 5}));
  EXPECT_EQ(right[1], (TPoint{15, 0}));
  const auto left = ThumbPolygon(r, true, 2);
  EXPECT_EQ(left[2], (TPoint{0, 5}));
  const auto down = ThumbPolygon({0, 0, 11, 21}, false, 1);
  EXPECT_EQ(down[3], (TPoint{5, 20}));
  const auto up = ThumbPolygon({0, 0, 11, 21}, false, 2);
  EXPECT_EQ(up[3], (TPoint{5, 0}));
  // Top edge lit and right-hand point shaded, whichever way the polygon runs.
  EXPECT_TRUE(EdgeFacesLight(right, 0));
  EXPECT_FALSE(EdgeFacesLight(right, 1));
  EXPECT_FALSE(EdgeFacesLight(right, 3)) << "bottom edge";
  EXPECT_TRUE(EdgeFacesLight(right, 4)) << "left edge";
  EXPECT_TRUE(EdgeFacesLight(left, 0)) << "top edge of the reversed polygon";
  EXPECT_TRUE(EdgeFacesLight(left, 1)) << "upper-left slope";
  EXPECT_FALSE(EdgeFacesLight(left, 3)) << "bottom edge";
  EXPECT_FALSE(EdgeFacesLight(left, 4)) << "right edge";
}

TEST(StdShapesTest, GlyphPixelsOnlyInsideTheInset) {
  // 6 x 6, black everywhere but one white pixel in the middle.
  std::vector<uint32_t> pixels(36, 0u);
  pixels[2 * 6 + 3] = 0x00FFFFFF;
  RecolorGlyphInside(pixels.data(), 6, 6, 0xFF123456u, 2);
  for (int y = 0; y < 6; ++y)
    for (int x = 0; x < 6; ++x) {
      const bool glyph = x >= 2 && x <= 3 && y >= 2 && y <= 3 && !(x == 3 && y == 2);
      EXPECT_EQ(pixels[static_cast<size_t>(y * 6 + x)], glyph ? 0xFF123456u : kTransparentMarker) << x << "," << y;
    }
  RecolorGlyphInside(nullptr, 6, 6, 0, 2);  // no buffer: nothing happens
}

TEST(StdShapesTest, DotsEveryFourPixelsWithTheirShadow) {
  const auto pattern = DotsPattern(0xFF526E95u, 0xFF8EAAD1u, 0xFF163259u);
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 8; ++x) {
      const uint32_t expected = (x % 4 == 0 && y % 4 == 0)   ? 0xFF8EAAD1u
                                : (x % 4 == 1 && y % 4 == 1) ? 0xFF163259u
                                                             : 0xFF526E95u;
      EXPECT_EQ(pattern[static_cast<size_t>(y * 8 + x)], expected) << x << "," << y;
    }
}

TEST(StdShapesTest, MenuButtonLinesStayInsideTheButton) {
  const auto lines = MenuButtonLines({2, 2, 19, 19});
  ASSERT_EQ(lines.size(), 6u);
  EXPECT_EQ(lines[0], (TRect{2, 2, 19, 3}));
  EXPECT_EQ(lines[5], (TRect{2, 17, 19, 18}));
  for (const TRect& line : lines) EXPECT_LE(line.bottom, 19);
  EXPECT_TRUE(MenuButtonLines({0, 0, 10, 0}).empty());
}

}  // namespace
}  // namespace hv
