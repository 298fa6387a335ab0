#pragma once
// The few terms the flat procedural styles paint everything with: one-pixel
// frames, shrinking, two-colour bevels from one colour, the face colour of an
// element state, recoloured platform glyphs, solid triangles and the small
// 7 x 4 arrow. Flat, Cool Flat, Office XP, Highlight and Lines all speak it,
// so a fix here reaches every one of them.

#include <array>
#include <cstdint>

#include "framework/colors.h"
#include "framework/types.h"
#include "theme/core/theme.h"

namespace hv::flatdraw {

// A one-pixel outline on the rect's outermost pixels.
void Frame(TCanvas& canvas, const TRect& rect, TColor color);

// Every side moved inward by n (by dx and dy when given apart).
constexpr TRect Shrink(const TRect& r, int n = 1) { return {r.left + n, r.top + n, r.right - n, r.bottom - n}; }
constexpr TRect Shrink(const TRect& r, int dx, int dy) {
  return {r.left + dx, r.top + dy, r.right - dx, r.bottom - dy};
}

// The two-colour bevel of one colour: raised is c lightened by n on the top
// and left edges and c darkened by n on the bottom and right; sunken the
// reverse. `color` is a resolved colour (what GetColor answers).
void Raised(TCanvas& canvas, const TRect& rect, TColor color, int n);
void Sunken(TCanvas& canvas, const TRect& rect, TColor color, int n);

// The face colour kind of an element state: hot face when hot, selection
// when pressed (and in state 4), disabled face when disabled, the face
// otherwise (states 0, 5 and anything out of range).
constexpr TTeThemeColor StateFill(int state) {
  switch (state) {
    case kesHot:
      return ktcHotFace;
    case kesPressed:
    case 4:
      return ktcSelection;
    case kesDisabled:
      return ktcDisabledFace;
    default:
      return ktcFace;
  }
}

// The platform's frame-control picture (DFC_* type, DFCS_* state) over the
// rect, its black pixels in `color` and everything else left as it was.
void Glyph(TCanvas& canvas, const TRect& rect, unsigned type, unsigned state, TColor color = clBlack);

// A solid polygon, pen and brush in the one colour.
void Triangle(TCanvas& canvas, const TPoint& a, const TPoint& b, const TPoint& c, TColor color);

// The 7 x 4 box an arrow sits in, centred in rect (halves truncated).
constexpr TRect ArrowBox(const TRect& r) {
  const int left = r.left + (r.right - r.left - 7) / 2, top = r.top + (r.bottom - r.top - 4) / 2;
  return {left, top, left + 7, top + 4};
}
// The corners of the arrow in `box`: a down arrow has its base along the
// top row and its apex in the middle of the bottom row; an up arrow is its
// mirror image.
constexpr std::array<TPoint, 3> ArrowPoints(const TRect& box, bool down) {
  const int middle = (box.left + box.right - 1) / 2;
  const int base = down ? box.top : box.bottom - 1, apex = down ? box.bottom - 1 : box.top;
  return {{{box.left, base}, {box.right - 1, base}, {middle, apex}}};
}
// A solid 7 x 4 arrow centred in rect.
void Arrow(TCanvas& canvas, const TRect& rect, bool down, TColor color);
// The outline of a 7 x 4 down arrow centred in rect, drawn from the apex to
// the top-left corner, on to the top-right corner (in color) and back to
// the apex (in lastEdge).
void ArrowOutline(TCanvas& canvas, const TRect& rect, TColor color, TColor lastEdge);

// The pointed track-bar thumb of shape 1 or 2 in rect: pointing down (1) or
// up (2) when upright, right (1) or left (2) when lying (vertical flag set).
// Any other shape gives the shape-1 points; callers paint only 1 and 2.
std::array<TPoint, 5> ThumbPentagon(const TRect& rect, bool vertical, int shape);

// The black picture of a caption button over rect: the platform's caption
// glyphs for close, help, minimize, maximize and restore, a dot for tray and
// a triangle for roll up and roll down; nothing for kinds beyond tray. The
// tray dot is an ellipse, or a rounded square with corners of 5 when asked.
enum class TTrayMark : uint8_t { Ellipse, RoundSquare };
void CaptionGlyph(TCanvas& canvas, const TRect& rect, int button, bool pressed,
                  TTrayMark trayMark = TTrayMark::Ellipse);

// The two shapes of the size grip in rect: a slanted band and a triangle
// below it, each filled and then outlined.
struct TSizeGripShapes {
  std::array<TPoint, 4> band;
  std::array<TPoint, 3> corner;
};
TSizeGripShapes SizeGripShapes(const TRect& rect);
void SizeGrip(TCanvas& canvas, const TRect& rect, TColor fill, TColor outline);

}  // namespace hv::flatdraw
