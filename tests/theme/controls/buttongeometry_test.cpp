// Where a push button puts its glyph and caption, as pure functions.

#include "theme/controls/buttongeometry.h"

#include <gtest/gtest.h>

namespace hv {
namespace {

TEST(PushButtonGeometry, TheBlockGrowsByTheGlyphOnTheLayoutsSideAndIsCentred) {
  const TSize text{30, 13}, glyph{18, 18};
  // 30 + 18 + 4 = 52 wide, at least 18 high; centred in 75 x 25.
  EXPECT_EQ(PushButtonBlock(text, glyph, blGlyphLeft, 4, 75, 25, false), Rect(11, 3, 63, 21));
  EXPECT_EQ(PushButtonBlock(text, glyph, blGlyphRight, 4, 75, 25, false), Rect(11, 3, 63, 21));
  // 13 + 18 + 4 = 35 high, overflowing a low button evenly.
  EXPECT_EQ(PushButtonBlock(text, glyph, blGlyphTop, 4, 75, 25, false), Rect(22, -5, 52, 30));
  EXPECT_EQ(PushButtonBlock(text, glyph, blGlyphBottom, 4, 75, 41, false), Rect(22, 3, 52, 38));
  EXPECT_EQ(PushButtonBlock(text, glyph, blGlyphLeft, 4, 75, 25, true), Rect(12, 4, 64, 22)) << "pressed";
  // Without a glyph the caption alone; without a caption the glyph and its spacing.
  EXPECT_EQ(PushButtonBlock(text, {0, 0}, blGlyphLeft, 4, 75, 25, false), Rect(22, 6, 52, 19));
  EXPECT_EQ(PushButtonBlock({0, 0}, glyph, blGlyphLeft, 4, 75, 25, false), Rect(26, 3, 48, 21));
  EXPECT_EQ(PushButtonBlock({0, 0}, {0, 0}, blGlyphLeft, 4, 75, 25, false), Rect(37, 12, 37, 12));
  // Odd room halves toward zero.
  EXPECT_EQ(PushButtonBlock({10, 10}, {0, 0}, blGlyphLeft, 4, 15, 15, false), Rect(2, 2, 12, 12));
}

TEST(PushButtonGeometry, CaptionAndGlyphSplitTheBlock) {
  const TRect block = Rect(11, 3, 63, 21);
  const TSize glyph{18, 18};
  EXPECT_EQ(PushButtonCaptionArea(block, glyph, blGlyphLeft, 4), Rect(33, 3, 63, 21));
  EXPECT_EQ(PushButtonGlyphArea(block, glyph, blGlyphLeft, 4), Rect(11, 3, 33, 21));
  EXPECT_EQ(PushButtonCaptionArea(block, glyph, blGlyphRight, 4), Rect(11, 3, 41, 21));
  EXPECT_EQ(PushButtonGlyphArea(block, glyph, blGlyphRight, 4), Rect(41, 3, 63, 21));
  const TRect tall = Rect(22, 3, 52, 38);
  EXPECT_EQ(PushButtonCaptionArea(tall, glyph, blGlyphTop, 4), Rect(22, 25, 52, 38));
  EXPECT_EQ(PushButtonGlyphArea(tall, glyph, blGlyphTop, 4), Rect(22, 3, 52, 25));
  EXPECT_EQ(PushButtonCaptionArea(tall, glyph, blGlyphBottom, 4), Rect(22, 3, 52, 16));
  EXPECT_EQ(PushButtonGlyphArea(tall, glyph, blGlyphBottom, 4), Rect(22, 16, 52, 38));
  // The glyph cell sits in the middle of its part.
  EXPECT_EQ(CentredIn(glyph, Rect(11, 3, 33, 21)), Rect(13, 3, 31, 21));
  EXPECT_EQ(CentredIn(glyph, Rect(22, 3, 52, 25)), Rect(28, 5, 46, 23));
  EXPECT_EQ(CentredIn({5, 5}, Rect(0, 0, 2, 2)), Rect(-1, -1, 4, 4)) << "larger than the area: spills evenly";
}

}  // namespace
}  // namespace hv
