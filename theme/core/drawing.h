#pragma once
// Lines, bevels, outlines, fills, dithers, gradients and polygons on a
// canvas: the small vocabulary every style paints its elements with.
// Colours are framework colours (system colour references allowed). Routines
// that draw with the canvas's pen or brush leave them set to what they drew
// with; dithers and gradients use brushes of their own and leave the
// canvas's alone.

#include <array>
#include <cstdint>
#include <span>

#include "framework/colors.h"
#include "framework/types.h"

namespace hv {

class TCanvas;
class TIcon;

// Sides of DrawSides, combinable.
enum : unsigned { kSideLeft = 1, kSideTop = 2, kSideRight = 4, kSideBottom = 8, kSidesAll = 15 };

void MoveTo(TCanvas& canvas, int x, int y);
// A one-pixel solid line up to (x, y), which stays undrawn.
void LineTo(TCanvas& canvas, int x, int y, TColor color);

// A one-pixel bevel: light along the left and top, dark along the right and
// bottom; the top-left pixel is light, the top-right and bottom-left dark.
void Frame3D(TCanvas& canvas, const TRect& rect, TColor light, TColor dark);
// `count` nested one-pixel bevel lines on the chosen sides (light on the
// left and top, dark on the right and bottom); rect shrinks past them.
void DrawSides(TCanvas& canvas, TRect& rect, unsigned sides, int count, TColor light, TColor dark);

// The rect's outermost pixels.
void OutlineRect(TCanvas& canvas, const TRect& rect, TColor color);
void OutlineRectXY(TCanvas& canvas, int left, int top, int right, int bottom, TColor color);
void FillRectColor(TCanvas& canvas, const TRect& rect, TColor color);
void FillRectXY(TCanvas& canvas, int left, int top, int right, int bottom, TColor color);
// The system's dotted focus rectangle (drawn by inversion).
void FocusRectColor(TCanvas& canvas, const TRect& rect, TColor color);

// Rounded rectangles with a corner ellipse of corner x corner pixels.
void RoundFrame(TCanvas& canvas, const TRect& rect, int corner, TColor color);
void RoundFill(TCanvas& canvas, const TRect& rect, int corner, TColor color);

// Closed polygons through every point given.
void FramePolygon(TCanvas& canvas, std::span<const TPoint> points, TColor color);
void FillPolygon(TCanvas& canvas, std::span<const TPoint> points, TColor color);

// A one-pixel checkerboard of dot on back; (x, y) is a dot where x + y is
// even in the canvas's own coordinates, whatever its viewport origin, so
// that neighbouring fills join up. Negative left and top count from 0.
void FillDither(TCanvas& canvas, const TRect& rect, TColor back, TColor dot);
// An 8 x 8 pattern of ARGB pixels (alpha ignored), row by row, repeated over
// rect and anchored at the canvas origin like FillDither's; negative left
// and top count from 0.
void FillPattern(TCanvas& canvas, const TRect& rect, const std::array<uint32_t, 64>& pattern);
// The same checkerboard inside a polygon, without an outline.
void FillPolygonDither(TCanvas& canvas, std::span<const TPoint> points, TColor back, TColor dot);

// Up to 255 solid bands from `from` to `to`, across the width or (vertical)
// down the height.
void GradientFill(TCanvas& canvas, const TRect& rect, TColor from, TColor to, bool vertical);

// A 16 x 16 icon centred in rect, at the icon's own size; nothing for none.
void DrawIconCentered(TCanvas& canvas, const TRect& rect, const TIcon* icon);

}  // namespace hv
