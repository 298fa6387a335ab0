#include "theme/styles/flatdraw.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "tests/theme/styles/skin_test_support.h"
#include "theme/core/colors.h"

namespace hv {
namespace {

using test::kLeftAlone;
using test::TSheet;
using namespace flatdraw;

constexpr TColor kGrey = 0xC8C8C8;
constexpr TColor kRed = 0x0000FF;

// The rows of a painted area as text: '#' where the colour is, '.' elsewhere.
std::string Picture(const TSheet& sheet, const TRect& area, TColor color) {
  std::string text;
  for (int y = area.top; y < area.bottom; ++y) {
    for (int x = area.left; x < area.right; ++x) text += sheet.ColorAt(x, y) == color ? '#' : '.';
    text += '\n';
  }
  return text;
}

TEST(FlatDrawTest, FrameIsTheOutermostRingOnly) {
  TSheet sheet(12, 10);
  Frame(sheet.Canvas(), {2, 1, 9, 7}, kRed);
  EXPECT_EQ(Picture(sheet, {1, 0, 10, 8}, kRed),
            ".........\n"
            ".#######.\n"
            ".#.....#.\n"
            ".#.....#.\n"
            ".#.....#.\n"
            ".#.....#.\n"
            ".#######.\n"
            ".........\n");
  EXPECT_TRUE(sheet.Untouched(5, 3));
  EXPECT_EQ(Shrink(TRect{2, 1, 9, 7}), (TRect{3, 2, 8, 6}));
  EXPECT_EQ(Shrink(TRect{2, 1, 9, 7}, 2), (TRect{4, 3, 7, 5}));
  EXPECT_EQ(Shrink(TRect{10, 10, 30, 20}, 4, 1), (TRect{14, 11, 26, 19}));
}

TEST(FlatDrawTest, RaisedAndSunkenBevelsOfOneColour) {
  TSheet sheet(10, 10);
  const TRect r{1, 1, 9, 8};
  Raised(sheet.Canvas(), r, kGrey, 30);
  const TColor light = 0xE6E6E6, dark = 0xAAAAAA;
  EXPECT_PIXELS(sheet, {1, 1, light, "top-left corner"}, {7, 1, light, "top row up to right - 2"},
                {1, 6, light, "left column down to bottom - 2"}, {8, 1, dark, "top-right corner"}, {8, 7, dark},
                {1, 7, dark, "bottom-left corner"}, {4, 4, kLeftAlone}, {9, 4, kLeftAlone}, {4, 8, kLeftAlone});

  Sunken(sheet.Fresh(), r, kGrey, 30);
  EXPECT_PIXELS(sheet, {1, 1, dark}, {8, 7, light}, {4, 7, light});

  // Amounts beyond the channel range clamp.
  Raised(sheet.Fresh(), r, kGrey, 150);
  EXPECT_PIXELS(sheet, {1, 1, static_cast<TColor>(0xFFFFFF)}, {8, 7, static_cast<TColor>(0x323232)});
}

TEST(FlatDrawTest, StateFillByElementState) {
  EXPECT_EQ(StateFill(kesNormal), ktcFace);
  EXPECT_EQ(StateFill(kesHot), ktcHotFace);
  EXPECT_EQ(StateFill(kesPressed), ktcSelection);
  EXPECT_EQ(StateFill(kesDisabled), ktcDisabledFace);
  EXPECT_EQ(StateFill(4), ktcSelection);
  EXPECT_EQ(StateFill(5), ktcFace);
  EXPECT_EQ(StateFill(-1), ktcFace);
  EXPECT_EQ(StateFill(6), ktcFace);
  EXPECT_EQ(StateFill(255), ktcFace);
}

TEST(FlatDrawTest, ArrowsAreSevenByFourPyramidsCentred) {
  TSheet sheet(13, 10);
  Arrow(sheet.Canvas(), {1, 1, 12, 9}, true, kRed);  // box (3, 3, 10, 7)
  EXPECT_EQ(Picture(sheet, {2, 2, 11, 8}, kRed),
            ".........\n"
            ".#######.\n"
            "..#####..\n"
            "...###...\n"
            "....#....\n"
            ".........\n");
  Arrow(sheet.Fresh(), {1, 1, 12, 9}, false, kRed);
  EXPECT_EQ(Picture(sheet, {2, 2, 11, 8}, kRed),
            ".........\n"
            "....#....\n"
            "...###...\n"
            "..#####..\n"
            ".#######.\n"
            ".........\n");
  // Odd room is split toward the top-left; a rect smaller than the box
  // still centres it (it sticks out on both sides).
  EXPECT_EQ(ArrowBox({0, 0, 10, 9}), (TRect{1, 2, 8, 6}));
  EXPECT_EQ(ArrowBox({10, 10, 15, 12}), (TRect{9, 9, 16, 13}));
  EXPECT_EQ(ArrowBox({-10, -10, -1, -2}), (TRect{-9, -8, -2, -4}));
}

TEST(FlatDrawTest, ArrowOutlineClosesOnItsApex) {
  TSheet sheet(13, 10);
  constexpr TColor kBlue = 0xFF0000;
  ArrowOutline(sheet.Canvas(), {1, 1, 12, 9}, kRed, kBlue);  // box (3, 3, 10, 7), apex (6, 6)
  EXPECT_EQ(Picture(sheet, {2, 2, 11, 8}, kRed),
            ".........\n"
            ".######..\n"
            "..#......\n"
            "...#.....\n"
            "....#....\n"
            ".........\n");
  EXPECT_EQ(Picture(sheet, {2, 2, 11, 8}, kBlue),
            ".........\n"
            ".......#.\n"
            "......#..\n"
            ".....#...\n"
            ".........\n"
            ".........\n");
}

TEST(FlatDrawTest, TriangleIsSolidInOneColour) {
  TSheet sheet(10, 10);
  Triangle(sheet.Canvas(), {1, 1}, {7, 1}, {4, 7}, kRed);
  EXPECT_PIXELS(sheet, {1, 1, kRed}, {4, 4, kRed, "filled inside"}, {4, 7, kRed, "apex"}, {1, 5, kLeftAlone},
                {8, 1, kLeftAlone});
}

TEST(FlatDrawTest, GlyphRecoloursBlackAndLeavesTheRest) {
  TSheet sheet(20, 20);
  const TRect r{2, 2, 18, 18};
  Glyph(sheet.Canvas(), r, DFC_SCROLL, DFCS_SCROLLDOWN, kRed);
  int red = 0, other = 0;
  for (int y = 0; y < 20; ++y)
    for (int x = 0; x < 20; ++x) {
      if (sheet.ColorAt(x, y) == kRed)
        ++red;
      else if (!sheet.Untouched(x, y))
        ++other;
      if (x < 2 || y < 2 || x >= 18 || y >= 18) {
        ASSERT_TRUE(sheet.Untouched(x, y)) << x << "," << y;
      }
    }
  EXPECT_GT(red, 4) << "the arrow shows";
  EXPECT_EQ(other, 0) << "the button face is not copied";
  // Black by default.
  Glyph(sheet.Fresh(), r, DFC_SCROLL, DFCS_SCROLLUP);
  int black = 0;
  for (int y = 2; y < 18; ++y)
    for (int x = 2; x < 18; ++x) black += sheet.ColorAt(x, y) == clBlack;
  EXPECT_GT(black, 4);
}

TEST(FlatDrawTest, ThumbPentagonsPointAwayFromTheTrack) {
  using P = std::array<TPoint, 5>;
  const TRect upright{0, 0, 11, 20};  // w / 2 = 5
  EXPECT_EQ(ThumbPentagon(upright, false, 1), (P{{{0, 0}, {10, 0}, {10, 15}, {5, 20}, {0, 15}}}));
  EXPECT_EQ(ThumbPentagon(upright, false, 2), (P{{{0, 20}, {10, 20}, {10, 5}, {5, 0}, {0, 5}}}));
  const TRect lying{2, 1, 22, 12};  // h / 2 = 5
  EXPECT_EQ(ThumbPentagon(lying, true, 1), (P{{{2, 1}, {17, 1}, {22, 6}, {17, 11}, {2, 11}}}));
  EXPECT_EQ(ThumbPentagon(lying, true, 2), (P{{{7, 1}, {22, 1}, {22, 11}, {7, 11}, {2, 6}}}));
}

TEST(FlatDrawTest, CaptionMarksForTrayAndRolling) {
  TSheet sheet(21, 21);
  const TRect r{0, 0, 21, 21};
  CaptionGlyph(sheet.Canvas(), r, kcbTray, false);  // ellipse in (5, 7, 16, 18)
  EXPECT_PIXELS(sheet, {10, 12, clBlack}, {10, 7, clBlack, "top of the ellipse"}, {10, 6, kLeftAlone},
                {5, 7, kLeftAlone, "an ellipse leaves its corners"});
  CaptionGlyph(sheet.Fresh(), r, kcbTray, true, TTrayMark::RoundSquare);  // (6, 8, 17, 19)
  EXPECT_PIXELS(sheet, {11, 8, clBlack}, {6, 13, clBlack}, {11, 7, kLeftAlone}, {6, 8, kLeftAlone, "rounded corner"});

  // Roll up at rest: (3, 4, 16, 15), base along the bottom, apex on top.
  CaptionGlyph(sheet.Fresh(), r, kcbRollup, false);
  EXPECT_PIXELS(sheet, {3, 15, clBlack}, {16, 15, clBlack}, {9, 4, clBlack}, {3, 4, kLeftAlone}, {9, 16, kLeftAlone});
  // Roll down pressed: (4, 5, 17, 16), base along the top.
  CaptionGlyph(sheet.Fresh(), r, kcbRolldown, true);
  EXPECT_PIXELS(sheet, {4, 5, clBlack}, {17, 5, clBlack}, {10, 16, clBlack}, {4, 15, kLeftAlone});

  // Caption glyphs come from the platform, in black only.
  CaptionGlyph(sheet.Fresh(), r, kcbClose, false);
  int black = 0;
  for (int y = 0; y < 21; ++y)
    for (int x = 0; x < 21; ++x) {
      black += sheet.ColorAt(x, y) == clBlack;
      ASSERT_TRUE(sheet.ColorAt(x, y) == clBlack || sheet.Untouched(x, y));
    }
  EXPECT_GT(black, 8);

  // Kinds past tray, and negative ones, paint nothing.
  for (int kind : {-1, 8, 9, 255}) CaptionGlyph(sheet.Fresh(), r, kind, false);
  for (int y = 0; y < 21; ++y)
    for (int x = 0; x < 21; ++x) ASSERT_TRUE(sheet.Untouched(x, y)) << x << "," << y;
}

TEST(FlatDrawTest, SizeGripBandAndCorner) {
  TSheet sheet(18, 18);
  constexpr TColor kFill = 0x00FF00;
  SizeGrip(sheet.Canvas(), {0, 0, 16, 16}, kFill, kRed);  // l, t, r, b = 7, 7, 15, 15
  EXPECT_PIXELS(sheet, {15, 3, kRed, "band's top corner"}, {3, 15, kRed, "band's left corner"},
                {10, 10, kFill, "inside the band"}, {14, 14, kFill, "inside the corner triangle"}, {15, 15, kRed},
                {5, 5, kLeftAlone}, {16, 16, kLeftAlone});
}

}  // namespace
}  // namespace hv
