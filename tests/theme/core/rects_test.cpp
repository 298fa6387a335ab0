#include "theme/core/rects.h"

#include <gtest/gtest.h>

#include <climits>

#include "theme/core/colors.h"

namespace hv {
namespace {

TEST(RectsTest, ExtentsEmptinessAndInflation) {
  const TRect r{10, 20, 40, 25};
  EXPECT_EQ(RectWidth(r), 30);
  EXPECT_EQ(RectHeight(r), 5);
  EXPECT_FALSE(RectIsEmpty(r));
  EXPECT_TRUE(RectIsEmpty({10, 20, 10, 25}));
  EXPECT_TRUE(RectIsEmpty({10, 20, 11, 19}));
  EXPECT_TRUE(RectsEqual(r, TRect{10, 20, 40, 25}));
  EXPECT_FALSE(RectsEqual(r, TRect{10, 20, 40, 26}));
  EXPECT_EQ(InflatedRect(r, 2), (TRect{8, 18, 42, 27}));
  EXPECT_EQ(InflatedRect(r, -3), (TRect{13, 23, 37, 22}));
  // Extremes saturate instead of overflowing.
  const TRect huge{INT_MIN, INT_MIN, INT_MAX, INT_MAX};
  EXPECT_EQ(RectWidth(huge), INT_MAX);
  EXPECT_FALSE(RectIsEmpty(huge));
  EXPECT_TRUE(RectIsEmpty({INT_MAX, 0, INT_MIN, 1}));
  EXPECT_EQ(InflatedRect(huge, 1), huge);
}

TEST(RectsTest, CentringTruncatesTowardZero) {
  EXPECT_EQ(CenterRect({0, 0, 4, 4}, {10, 10, 21, 20}), (TRect{13, 13, 17, 17}));
  // A rect larger than its bounds: (10 - 13) / 2 is -1, not -2.
  EXPECT_EQ(CenterRect({5, 5, 18, 18}, {0, 0, 10, 10}), (TRect{-1, -1, 12, 12}));
  EXPECT_EQ(CenterRect({0, 0, 16, 16}, {-20, 0, -3, 17}), (TRect{-20, 0, -4, 16}));
  EXPECT_EQ(CenterRectVert({7, 7, 11, 10}, {100, 50, 200, 60}), (TRect{100, 53, 104, 56}));
  EXPECT_EQ(CenterRectVert({0, 0, 5, 15}, {0, 0, 5, 10}), (TRect{0, -2, 5, 13}));
}

TEST(RectsTest, MulDivRoundsHalfAwayFromZero) {
  EXPECT_EQ(MulDiv(1, 1, 2), 1);
  EXPECT_EQ(MulDiv(-1, 1, 2), -1);
  EXPECT_EQ(MulDiv(3, 1, 2), 2);
  EXPECT_EQ(MulDiv(1, 1, 3), 0);
  EXPECT_EQ(MulDiv(5, 7, -2), -18);
  EXPECT_EQ(MulDiv(100000, 100000, 100000), 100000) << "64-bit intermediate";
  EXPECT_EQ(MulDiv(1, 2, 0), -1);
  EXPECT_EQ(MulDiv(INT_MAX, 2, 1), -1);
}

TEST(RectsTest, GradientBandsOfANarrowRectAreOnePixelEach) {
  const auto bands = GradientBands({5, 2, 15, 8}, 0x000000, 0xFFFFFF, false);
  ASSERT_EQ(bands.size(), 10u) << "the eleventh band lies outside";
  for (int i = 0; i < 10; ++i) {
    EXPECT_EQ(bands[i].rect, (TRect{5 + i, 2, 6 + i, 8}));
    // Round(i * 255 * 255 / 10 / 255) = Round(25.5 i), half to even.
    const int v = RoundHalfEven(25.5 * i);
    EXPECT_EQ(bands[i].color, ARGBToColor(MakeARGB(v, v, v, 0))) << i;
  }
  EXPECT_EQ(bands[1].color, 0x1A1A1A) << "25.5 rounds to 26";
  EXPECT_EQ(bands[3].color, 0x4C4C4C) << "76.5 rounds to 76";
}

TEST(RectsTest, GradientBandsOfAWideRectAre255ContiguousBands) {
  const TRect rect{-100, 0, 900, 3};
  const auto bands = GradientBands(rect, 0x0000FF, 0xFF0000, false);
  ASSERT_EQ(bands.size(), 255u);
  int x = rect.left;
  for (const auto& band : bands) {
    EXPECT_EQ(band.rect.left, x);
    EXPECT_TRUE(RectWidth(band.rect) == 3 || RectWidth(band.rect) == 4) << RectWidth(band.rect);
    EXPECT_EQ(band.rect.top, 0);
    EXPECT_EQ(band.rect.bottom, 3);
    x = band.rect.right;
  }
  EXPECT_EQ(x, rect.right);
  EXPECT_EQ(bands.front().color, 0x0000FF);
  EXPECT_EQ(bands.back().color, 0xFE0001) << "the last band stops one step short of the end colour";
}

TEST(RectsTest, GradientBandsVerticalResolvedAndEmpty) {
  SetSysColor(15, 0x00204060);
  const auto bands = GradientBands({0, 10, 4, 12}, clBtnFace, 0x00204060, true);
  ASSERT_EQ(bands.size(), 2u);
  EXPECT_EQ(bands[0].rect, (TRect{0, 10, 4, 11}));
  EXPECT_EQ(bands[1].rect, (TRect{0, 11, 4, 12}));
  EXPECT_EQ(bands[0].color, 0x00204060);
  EXPECT_EQ(bands[1].color, 0x00204060);
  ResetSysColors();
  EXPECT_TRUE(GradientBands({0, 0, 0, 10}, 0, 0xFFFFFF, false).empty());
  EXPECT_TRUE(GradientBands({0, 0, 10, -1}, 0, 0xFFFFFF, true).empty());
  EXPECT_EQ(GradientBands({INT_MIN, 0, INT_MAX, 1}, 0, 0xFFFFFF, false).size(), 255u);
}

TEST(RectsTest, DitherStartsAtTheOriginAndContinuesAcrossFills) {
  EXPECT_EQ(DitherFillRect({-3, -1, 5, 4}), (TRect{0, 0, 5, 4}));
  EXPECT_EQ(DitherFillRect({-3, 0, 0, 4}), TRect{});
  EXPECT_EQ(DitherFillRect({2, 3, 4, 5}), (TRect{2, 3, 4, 5}));
  const auto pattern = DitherPattern(0xB, 0xD);
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 8; ++x) EXPECT_EQ(pattern[y * 8 + x], (x + y) % 2 == 0 ? 0xDu : 0xBu) << x << "," << y;
  EXPECT_TRUE(DitherIsDot(0, 0));
  EXPECT_TRUE(DitherIsDot(-1, 1));
  EXPECT_FALSE(DitherIsDot(-1, 0));
  EXPECT_FALSE(DitherIsDot(INT_MAX, 0));
}

TEST(RectsTest, TilePiecesCutTheLastColumnAndRow) {
  const auto pieces = TilePieces({0, 0, 25, 10}, {30, 40, 40, 50});
  ASSERT_EQ(pieces.size(), 3u);
  EXPECT_EQ(pieces[0], (TTilePiece{{0, 0, 10, 10}, {30, 40, 40, 50}}));
  EXPECT_EQ(pieces[1], (TTilePiece{{10, 0, 20, 10}, {30, 40, 40, 50}}));
  EXPECT_EQ(pieces[2], (TTilePiece{{20, 0, 25, 10}, {30, 40, 35, 50}})) << "the left half of the source";

  const auto grid = TilePieces({5, 5, 12, 12}, {0, 0, 4, 3});
  ASSERT_EQ(grid.size(), 6u) << "two columns of three rows";
  EXPECT_EQ(grid[0].dst, (TRect{5, 5, 9, 8}));
  EXPECT_EQ(grid[2], (TTilePiece{{5, 11, 9, 12}, {0, 0, 4, 1}}));
  EXPECT_EQ(grid[5], (TTilePiece{{9, 11, 12, 12}, {0, 0, 3, 1}}));

  EXPECT_TRUE(TilePieces({0, 0, 25, 10}, {0, 0, 0, 10}).empty());
  EXPECT_TRUE(TilePieces({0, 0, -5, 10}, {0, 0, 3, 3}).empty());
  // Only the tiles that can be seen are listed, however large the area.
  const auto visible = TilePieces({-1000000, -1000000, 1000000, 1000000}, {0, 0, 10, 10}, {0, 0, 15, 5});
  ASSERT_EQ(visible.size(), 2u);
  EXPECT_EQ(visible[0].dst, (TRect{0, 0, 10, 10}));
  EXPECT_EQ(visible[1].dst, (TRect{10, 0, 20, 10}));
}

TEST(RectsTest, MarginPiecesSliceNineWays) {
  const TRect d{100, 100, 150, 130};
  const TRect s{0, 0, 20, 12};
  const auto nine = MarginPieces(d, s, 3, 2, 4, 5);
  const std::vector<TMarginPiece> expected = {
      {kmpCenter, kmdStretchOrTile, {103, 102, 146, 125}, {3, 2, 16, 7}},
      {kmpTop, kmdStretchOrTile, {103, 100, 146, 102}, {3, 0, 16, 2}},
      {kmpBottom, kmdStretchOrTile, {103, 125, 146, 130}, {3, 7, 16, 12}},
      {kmpLeft, kmdStretchOrTile, {100, 102, 103, 125}, {0, 2, 3, 7}},
      {kmpRight, kmdStretchOrTile, {146, 102, 150, 125}, {16, 2, 20, 7}},
      {kmpTopLeft, kmdUnscaled, {100, 100, 103, 102}, {0, 0, 3, 2}},
      {kmpTopRight, kmdUnscaled, {146, 100, 150, 102}, {16, 0, 20, 2}},
      {kmpBottomLeft, kmdUnscaled, {100, 125, 103, 130}, {0, 7, 3, 12}},
      {kmpBottomRight, kmdUnscaled, {146, 125, 150, 130}, {16, 7, 20, 12}},
  };
  EXPECT_EQ(nine, expected);

  const auto whole = MarginPieces(d, s, 0, 0, 0, 0);
  ASSERT_EQ(whole.size(), 1u);
  EXPECT_EQ(whole[0], (TMarginPiece{kmpWhole, kmdStretch, d, s}));

  // One margin: the pieces of zero-area source are left out.
  const auto one = MarginPieces(d, s, 3, 0, 0, 0);
  ASSERT_EQ(one.size(), 2u);
  EXPECT_EQ(one[0], (TMarginPiece{kmpCenter, kmdStretchOrTile, {103, 100, 150, 130}, {3, 0, 20, 12}}));
  EXPECT_EQ(one[1], (TMarginPiece{kmpLeft, kmdStretchOrTile, {100, 100, 103, 130}, {0, 0, 3, 12}}));

  // Margins wider than the destination: no inside-out pieces.
  for (const auto& piece : MarginPieces({0, 0, 5, 5}, s, 3, 3, 3, 3)) {
    EXPECT_FALSE(RectIsEmpty(piece.dst));
    EXPECT_FALSE(RectIsEmpty(piece.src));
    EXPECT_NE(piece.part, kmpCenter);
  }
}

}  // namespace
}  // namespace hv
