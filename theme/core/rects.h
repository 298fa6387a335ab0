#pragma once
// Rectangle arithmetic of the drawing primitives, and the geometry behind
// gradients, dithered fills, tiling and nine-slice drawing, as pure functions
// so that the painting code only has to carry out what they compute.
// Portable.

#include <array>
#include <cstdint>
#include <vector>

#include "framework/colors.h"
#include "framework/types.h"

namespace hv {

// Extents saturate at the int range instead of overflowing.
int RectWidth(const TRect& r);
int RectHeight(const TRect& r);
bool RectIsEmpty(const TRect& r);  // width < 1 or height < 1
bool RectsEqual(const TRect& a, const TRect& b);
TRect InflatedRect(const TRect& r, int n);
// Moves r so that it is centred in bounds; halving truncates toward zero.
TRect CenterRect(const TRect& r, const TRect& bounds);
// Moves r to bounds' left edge, centred vertically.
TRect CenterRectVert(const TRect& r, const TRect& bounds);

// a * b / c rounded half away from zero with a 64-bit intermediate, as the
// platform's MulDiv: -1 when c is 0 or the result does not fit.
int MulDiv(int a, int b, int c);

// One solid band of a gradient, already clipped to the gradient's rect.
struct TGradientBand {
  TRect rect;
  TColor color = 0;  // 0x00BBGGRR
  bool operator==(const TGradientBand&) const = default;
};

// The bands GradientFill paints, in order: up to 255 bands across the width
// (horizontal) or height (vertical); system colours are resolved first.
// Nothing for an empty rect.
std::vector<TGradientBand> GradientBands(const TRect& rect, TColor from, TColor to, bool vertical);

// FillDither paints only from x = 0 and y = 0 on; an empty rect when nothing
// is left to paint.
TRect DitherFillRect(const TRect& rect);
// The one-pixel checkerboard is anchored at the canvas origin, so fills next
// to each other continue it: (x, y) is a dot where x + y is even.
constexpr bool DitherIsDot(int x, int y) { return ((x ^ y) & 1) == 0; }
// The 8 x 8 brush pattern of FillDither, row by row.
std::array<uint32_t, 64> DitherPattern(uint32_t back, uint32_t dot);

// One piece of a tiled draw: src (a part of the tile source of dst's size)
// goes unscaled to dst.
struct TTilePiece {
  TRect dst;
  TRect src;
  bool operator==(const TTilePiece&) const = default;
};

// The tiles of srcRect repeated over destRect from its top-left corner,
// column by column; the last column and row are cut to destRect and draw the
// top-left part of srcRect. Nothing when either rect has no area. Only the
// tiles that meet visible are listed, so a huge destRect costs only what can
// be seen.
constexpr TRect kEverywhere{INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX};
std::vector<TTilePiece> TilePieces(const TRect& destRect, const TRect& srcRect, const TRect& visible = kEverywhere);

enum TMarginDraw : uint8_t {
  kmdStretch,        // StretchDraw (all margins 0: the whole image)
  kmdStretchOrTile,  // DrawStretchOrTile: stretched or tiled by the caller's choice
  kmdUnscaled,       // DrawRect: a corner, at its own size
};

enum TMarginPart : uint8_t {
  kmpWhole,
  kmpCenter,
  kmpTop,
  kmpBottom,
  kmpLeft,
  kmpRight,
  kmpTopLeft,
  kmpTopRight,
  kmpBottomLeft,
  kmpBottomRight,
};

struct TMarginPiece {
  TMarginPart part = kmpWhole;
  TMarginDraw draw = kmdStretch;
  TRect dst;
  TRect src;
  bool operator==(const TMarginPiece&) const = default;
};

// Nine-slice drawing of srcRect into destRect with the given margins, in
// drawing order: centre, top, bottom, left, right, then the four corners.
// With all margins 0 it is one stretched piece. Pieces whose source or
// destination has no area are left out: they paint nothing, and a
// destination turned inside out (margins wider than destRect) must not be
// handed to a stretching transfer, which would mirror it.
std::vector<TMarginPiece> MarginPieces(const TRect& destRect, const TRect& srcRect, int left, int top, int right,
                                       int bottom);

}  // namespace hv
