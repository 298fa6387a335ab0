#include "theme/core/drawing.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <set>

#include "framework/graphics.h"
#include "tests/theme/core/draw_test_support.h"
#include "theme/core/rects.h"

namespace hv {
namespace {

using test::Rgb;
using test::TSurface;

constexpr TColor kLight = 0x0000FF;  // red
constexpr TColor kDark = 0xFF0000;   // blue
constexpr uint32_t kWhite = 0xFFFFFF;

// Every pixel of the surface: `expected(x, y)` gives its colour.
template <class F>
void ExpectEverywhere(TSurface& s, F expected) {
  for (int y = 0; y < s.Height(); ++y)
    for (int x = 0; x < s.Width(); ++x) ASSERT_EQ(s.At(x, y), expected(x, y)) << "at (" << x << ", " << y << ")";
}

TEST(Frame3D, ColoursExactlyTheBevelPixels) {
  TSurface s(16, 14);
  const TRect r{2, 3, 12, 10};
  Frame3D(s.Canvas(), r, kLight, kDark);
  ExpectEverywhere(s, [&](int x, int y) -> uint32_t {
    if (x < r.left || x >= r.right || y < r.top || y >= r.bottom) return kWhite;
    if (y == r.bottom - 1) return Rgb(kDark);           // bottom row, whole width
    if (x == r.right - 1) return Rgb(kDark);            // right column
    if (y == r.top || x == r.left) return Rgb(kLight);  // top row, left column
    return kWhite;
  });
  // The corners the styles rely on.
  EXPECT_EQ(s.At(2, 3), Rgb(kLight));
  EXPECT_EQ(s.At(11, 3), Rgb(kDark));
  EXPECT_EQ(s.At(2, 9), Rgb(kDark));
  EXPECT_EQ(s.At(11, 9), Rgb(kDark));
}

TEST(Frame3D, NestedBevelsStayInside) {
  TSurface s(10, 10);
  Frame3D(s.Canvas(), TRect{0, 0, 10, 10}, kLight, kDark);
  Frame3D(s.Canvas(), TRect{1, 1, 9, 9}, kDark, kLight);
  EXPECT_EQ(s.At(0, 0), Rgb(kLight));
  EXPECT_EQ(s.At(1, 1), Rgb(kDark));
  EXPECT_EQ(s.At(8, 1), Rgb(kLight));
  EXPECT_EQ(s.At(9, 9), Rgb(kDark));
  EXPECT_EQ(s.At(2, 2), kWhite);
}

TEST(DrawSides, NestedLinesShrinkTheRect) {
  TSurface s(10, 10);
  TRect r{0, 0, 10, 10};
  DrawSides(s.Canvas(), r, kSidesAll, 2, kLight, kDark);
  EXPECT_EQ(r, (TRect{2, 2, 8, 8}));
  ExpectEverywhere(s, [](int x, int y) -> uint32_t {
    // Lines go left, top, bottom, right in each round, later ones over earlier ones.
    for (int i = 0; i < 2; ++i) {
      const int lo = i, hi = 9 - i;
      const bool inside = x >= lo && x <= hi && y >= lo && y <= hi;
      if (!inside) continue;
      if (x == hi) return Rgb(kDark);
      if (y == hi) return Rgb(kDark);
      if (x == lo || y == lo) return Rgb(kLight);
    }
    return kWhite;
  });

  TSurface t(6, 6);
  TRect q{1, 1, 6, 6};
  DrawSides(t.Canvas(), q, kSideLeft | kSideBottom, 1, kLight, kDark);
  EXPECT_EQ(q, (TRect{2, 1, 6, 5}));
  EXPECT_EQ(t.At(1, 1), Rgb(kLight));
  EXPECT_EQ(t.At(1, 5), Rgb(kDark));
  EXPECT_EQ(t.At(5, 5), Rgb(kDark));
  EXPECT_EQ(t.At(2, 1), kWhite);
  EXPECT_EQ(t.At(5, 4), kWhite);

  TRect unchanged{1, 1, 6, 6};
  DrawSides(t.Canvas(), unchanged, kSidesAll, 0, kLight, kDark);
  EXPECT_EQ(unchanged, (TRect{1, 1, 6, 6}));
}

TEST(OutlineAndFill, OutermostPixelsAndSolidFills) {
  TSurface s(12, 10);
  OutlineRectXY(s.Canvas(), 1, 2, 7, 8, kDark);
  FillRectColor(s.Canvas(), TRect{8, 1, 11, 4}, clBtnFace);
  FillRectXY(s.Canvas(), 8, 5, 10, 9, kLight);
  const uint32_t face = Rgb(static_cast<TColor>(GetSysColor(COLOR_BTNFACE)));
  ExpectEverywhere(s, [&](int x, int y) -> uint32_t {
    if (x >= 1 && x < 7 && y >= 2 && y < 8) return (x == 1 || x == 6 || y == 2 || y == 7) ? Rgb(kDark) : kWhite;
    if (x >= 8 && x < 11 && y >= 1 && y < 4) return face;
    if (x >= 8 && x < 10 && y >= 5 && y < 9) return Rgb(kLight);
    return kWhite;
  });
  // Empty and inverted rectangles paint nothing.
  TSurface t(4, 4);
  FillRectColor(t.Canvas(), TRect{3, 3, 1, 1}, kDark);
  FillRectColor(t.Canvas(), TRect{1, 1, 1, 3}, kDark);
  ExpectEverywhere(t, [](int, int) { return kWhite; });
}

TEST(FocusRectColor, InvertsTheBorderOnlyAndUndoesItself) {
  TSurface s(12, 10);
  const TRect r{2, 2, 10, 8};
  FocusRectColor(s.Canvas(), r, kDark);
  int inverted = 0;
  for (int y = 0; y < 10; ++y)
    for (int x = 0; x < 12; ++x) {
      const bool border = r.Contains({x, y}) && (x == 2 || x == 9 || y == 2 || y == 7);
      if (!border) {
        ASSERT_EQ(s.At(x, y), kWhite) << x << "," << y;
      } else if (s.At(x, y) != kWhite) {
        ++inverted;
      }
    }
  EXPECT_GT(inverted, 0);
  FocusRectColor(s.Canvas(), r, kDark);
  ExpectEverywhere(s, [](int, int) { return kWhite; });
}

TEST(FillDither, CheckerboardAnchoredAtTheCanvasOrigin) {
  constexpr TColor back = 0x00C0C0C0, dot = 0x00102030;
  TSurface s(20, 16);
  // Two neighbouring fills at odd origins continue one checkerboard.
  FillDither(s.Canvas(), TRect{3, 5, 11, 12}, back, dot);
  FillDither(s.Canvas(), TRect{11, 5, 18, 12}, back, dot);
  ExpectEverywhere(s, [](int x, int y) -> uint32_t {
    if (x < 3 || x >= 18 || y < 5 || y >= 12) return kWhite;
    return DitherIsDot(x, y) ? Rgb(dot) : Rgb(back);
  });
  EXPECT_EQ(s.At(3, 5), Rgb(dot));  // 3 + 5 is even: a dot, though the fill starts at odd x and y
}

TEST(FillDither, NegativeOriginsStartAtZeroAndViewportsKeepTheAnchor) {
  constexpr TColor back = 0x00FFFF00, dot = 0x00000080;
  TSurface s(8, 8);
  FillDither(s.Canvas(), TRect{-3, -1, 4, 3}, back, dot);
  ExpectEverywhere(s, [](int x, int y) -> uint32_t {
    if (x >= 4 || y >= 3) return kWhite;
    return DitherIsDot(x, y) ? Rgb(dot) : Rgb(back);
  });
  FillDither(s.Canvas(), TRect{-5, -5, 0, 8}, dot, back);  // nothing left of 0
  EXPECT_EQ(s.At(0, 5), kWhite);

  // A context whose origin is moved by an odd amount (a control painted at
  // an offset) still gets the checkerboard in its own coordinates.
  TSurface t(10, 6);
  POINT old;
  SetViewportOrgEx(t.Canvas().Handle(), 3, 0, &old);
  FillDither(t.Canvas(), TRect{0, 0, 4, 6}, back, dot);
  SetViewportOrgEx(t.Canvas().Handle(), old.x, old.y, nullptr);
  for (int y = 0; y < 6; ++y)
    for (int lx = 0; lx < 4; ++lx)
      EXPECT_EQ(t.At(lx + 3, y), DitherIsDot(lx, y) ? Rgb(dot) : Rgb(back)) << lx << "," << y;
  EXPECT_EQ(t.At(2, 0), kWhite);
  EXPECT_EQ(t.At(7, 0), kWhite);
}

TEST(GradientFill, BandsAndTheirEdges) {
  // Ten pixels: ten one-pixel bands, the eleventh outside.
  TSurface s(12, 3);
  GradientFill(s.Canvas(), TRect{1, 0, 11, 3}, 0x000000, 0x0000FF, false);
  EXPECT_EQ(s.At(0, 1), kWhite);
  EXPECT_EQ(s.At(1, 1), 0x000000u);
  EXPECT_EQ(s.At(2, 1), 0x1A0000u);   // 25.5 rounds to 26
  EXPECT_EQ(s.At(4, 1), 0x4C0000u);   // 76.5 rounds to 76
  EXPECT_EQ(s.At(10, 1), 0xE60000u);  // 229.5 rounds to 230
  EXPECT_EQ(s.At(11, 1), kWhite);

  // A thousand pixels: 255 bands of 3 or 4 pixels, edges where the band
  // arithmetic puts them.
  TSurface w(1002, 2);
  const TRect wide{1, 0, 1001, 2};
  GradientFill(w.Canvas(), wide, 0x00FF8000, 0x000040FF, false);
  const auto bands = GradientBands(wide, 0x00FF8000, 0x000040FF, false);
  std::set<uint32_t> colours;
  int painted = 0;
  for (const auto& band : bands) {
    if (band.rect.IsEmpty()) continue;
    ++painted;
    EXPECT_GE(band.rect.Width(), 3);
    EXPECT_LE(band.rect.Width(), 4);
    EXPECT_EQ(w.At(band.rect.left, 1), Rgb(band.color));
    EXPECT_EQ(w.At(band.rect.right - 1, 0), Rgb(band.color));
    colours.insert(Rgb(band.color));
  }
  EXPECT_EQ(painted, 255);
  EXPECT_EQ(w.At(1, 0), 0x0080FFu);
  // The band that would carry `to` itself lies past the rect: the last
  // painted one is band 254 of 255.
  EXPECT_EQ(w.At(1000, 0), 0xFE4001u);
  EXPECT_EQ(w.At(0, 0), kWhite);
  EXPECT_EQ(w.At(1001, 0), kWhite);

  // Vertical, with a system colour at one end.
  TSurface v(3, 8);
  GradientFill(v.Canvas(), TRect{0, 1, 3, 7}, clBtnFace, 0x000000, true);
  EXPECT_EQ(v.At(1, 1), Rgb(static_cast<TColor>(GetSysColor(COLOR_BTNFACE))));
  EXPECT_EQ(v.At(1, 0), kWhite);
  EXPECT_EQ(v.At(1, 7), kWhite);
  for (int y = 1; y < 7; ++y) EXPECT_EQ(v.At(0, y), v.At(2, y));

  // Nothing for empty rects.
  TSurface e(4, 4);
  GradientFill(e.Canvas(), TRect{2, 0, 2, 4}, 0, 0, false);
  GradientFill(e.Canvas(), TRect{0, 3, 4, 1}, 0, 0, true);
  ExpectEverywhere(e, [](int, int) { return kWhite; });
}

TEST(Polygons, FilledOutlinedAndDithered) {
  TSurface s(24, 12);
  const TPoint triangle[] = {{1, 1}, {10, 1}, {1, 10}};
  FillPolygon(s.Canvas(), triangle, kDark);
  EXPECT_EQ(s.At(3, 3), Rgb(kDark));
  EXPECT_EQ(s.At(1, 1), Rgb(kDark));
  EXPECT_EQ(s.At(9, 9), kWhite);

  const TPoint square[] = {{13, 1}, {20, 1}, {20, 8}, {13, 8}};
  FramePolygon(s.Canvas(), square, kLight);
  EXPECT_EQ(s.At(13, 1), Rgb(kLight));
  EXPECT_EQ(s.At(20, 8), Rgb(kLight));
  EXPECT_EQ(s.At(16, 1), Rgb(kLight));
  EXPECT_EQ(s.At(16, 4), kWhite);

  TSurface d(12, 12);
  const TPoint box[] = {{2, 2}, {10, 2}, {10, 10}, {2, 10}};
  FillPolygonDither(d.Canvas(), box, 0x00FFFFFF, 0x00000000);
  for (int y = 3; y < 9; ++y)
    for (int x = 3; x < 9; ++x) EXPECT_EQ(d.At(x, y), DitherIsDot(x, y) ? 0u : kWhite) << x << "," << y;
  EXPECT_EQ(d.At(0, 0), kWhite);
  EXPECT_EQ(d.At(11, 11), kWhite);

  TSurface none(4, 4);
  FillPolygon(none.Canvas(), std::span<const TPoint>{}, kDark);
  ExpectEverywhere(none, [](int, int) { return kWhite; });
}

TEST(RoundShapes, CornersStayOpen) {
  TSurface s(24, 24);
  RoundFill(s.Canvas(), TRect{0, 0, 12, 12}, 8, kDark);
  EXPECT_EQ(s.At(6, 6), Rgb(kDark));
  EXPECT_EQ(s.At(6, 0), Rgb(kDark));
  EXPECT_EQ(s.At(0, 0), kWhite);
  EXPECT_EQ(s.At(12, 6), kWhite);

  RoundFrame(s.Canvas(), TRect{12, 12, 24, 24}, 8, kLight);
  EXPECT_EQ(s.At(18, 12), Rgb(kLight));
  EXPECT_EQ(s.At(23, 18), Rgb(kLight));
  EXPECT_EQ(s.At(18, 18), kWhite);
  EXPECT_EQ(s.At(12, 12), kWhite);
}

TEST(Lines, EndPointStaysUndrawn) {
  TSurface s(8, 4);
  MoveTo(s.Canvas(), 1, 1);
  LineTo(s.Canvas(), 6, 1, kDark);
  EXPECT_EQ(s.At(1, 1), Rgb(kDark));
  EXPECT_EQ(s.At(5, 1), Rgb(kDark));
  EXPECT_EQ(s.At(6, 1), kWhite);
  EXPECT_EQ(s.At(0, 1), kWhite);
}

TEST(DrawIconCentered, CentresASixteenPixelCellAndIgnoresNoIcon) {
  TSurface s(40, 40);
  DrawIconCentered(s.Canvas(), TRect{0, 0, 40, 40}, nullptr);
  TIcon empty;
  DrawIconCentered(s.Canvas(), TRect{0, 0, 40, 40}, &empty);
  ExpectEverywhere(s, [](int, int) { return kWhite; });

  // A fully opaque black 16 x 16 icon lands at (12, 12) in a 40 x 40 rect.
  std::vector<uint8_t> andBits(16 * 2, 0x00), xorBits(16 * 2, 0x00);
  TIcon icon;
  icon.SetHandle(CreateIcon(GetModuleHandleW(nullptr), 16, 16, 1, 1, andBits.data(), xorBits.data()));
  ASSERT_FALSE(icon.Empty());
  DrawIconCentered(s.Canvas(), TRect{0, 0, 40, 40}, &icon);
  EXPECT_EQ(s.At(12, 12), 0u);
  EXPECT_EQ(s.At(27, 27), 0u);
  EXPECT_EQ(s.At(11, 12), kWhite);
  EXPECT_EQ(s.At(28, 27), kWhite);
}

}  // namespace
}  // namespace hv
