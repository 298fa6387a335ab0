#include "theme/styles/flatdraw.h"

#include <windows.h>

#include "framework/graphics.h"
#include "theme/core/colors.h"
#include "theme/core/drawing.h"
#include "theme/core/glyphs.h"

namespace hv::flatdraw {

void Frame(TCanvas& canvas, const TRect& rect, TColor color) { OutlineRect(canvas, rect, color); }

void Raised(TCanvas& canvas, const TRect& rect, TColor color, int n) {
  Frame3D(canvas, rect, Lighten(color, n), Darken(color, n));
}

void Sunken(TCanvas& canvas, const TRect& rect, TColor color, int n) {
  Frame3D(canvas, rect, Darken(color, n), Lighten(color, n));
}

void Glyph(TCanvas& canvas, const TRect& rect, unsigned type, unsigned state, TColor color) {
  DrawFrameControlGlyph(canvas, rect, type, state, color);
}

void Triangle(TCanvas& canvas, const TPoint& a, const TPoint& b, const TPoint& c, TColor color) {
  const std::array<TPoint, 3> points = {a, b, c};
  FillPolygon(canvas, points, color);
}

void Arrow(TCanvas& canvas, const TRect& rect, bool down, TColor color) {
  const std::array<TPoint, 3> p = ArrowPoints(ArrowBox(rect), down);
  Triangle(canvas, p[0], p[1], p[2], color);
}

void ArrowOutline(TCanvas& canvas, const TRect& rect, TColor color, TColor lastEdge) {
  const std::array<TPoint, 3> p = ArrowPoints(ArrowBox(rect), true);
  MoveTo(canvas, p[2].x, p[2].y);
  LineTo(canvas, p[0].x, p[0].y, color);
  LineTo(canvas, p[1].x, p[1].y, color);
  LineTo(canvas, p[2].x, p[2].y, lastEdge);
}

std::array<TPoint, 5> ThumbPentagon(const TRect& rect, bool vertical, int shape) {
  const int l = rect.left, t = rect.top, r = rect.right, b = rect.bottom;
  const int w = (r - l) / 2, h = (b - t) / 2;
  if (!vertical) {
    if (shape == 2) return {{{l, b}, {r - 1, b}, {r - 1, t + w}, {l + w, t}, {l, t + w}}};
    return {{{l, t}, {r - 1, t}, {r - 1, b - w}, {l + w, b}, {l, b - w}}};
  }
  if (shape == 2) return {{{l + h, t}, {r, t}, {r, b - 1}, {l + h, b - 1}, {l, b - h - 1}}};
  return {{{l, t}, {r - h, t}, {r, t + h}, {r - h, b - 1}, {l, b - 1}}};
}

namespace {

constexpr std::array<unsigned, 5> kCaptionGlyphs = {DFCS_CAPTIONCLOSE, DFCS_CAPTIONHELP, DFCS_CAPTIONMIN,
                                                    DFCS_CAPTIONMAX, DFCS_CAPTIONRESTORE};

void BlackMark(TCanvas& canvas, const TRect& r, TTrayMark mark) {
  canvas.Pen()->SetStyle(psSolid);
  canvas.Pen()->SetWidth(1);
  canvas.Pen()->SetColor(clBlack);
  canvas.Brush()->SetBitmap(nullptr);
  canvas.Brush()->SetStyle(bsSolid);
  canvas.Brush()->SetColor(clBlack);
  if (mark == TTrayMark::Ellipse)
    canvas.Ellipse(r);
  else
    canvas.RoundRect(r.left, r.top, r.right, r.bottom, 5, 5);
}

}  // namespace

void CaptionGlyph(TCanvas& canvas, const TRect& rect, int button, bool pressed, TTrayMark trayMark) {
  if (button < 0) return;
  if (button < static_cast<int>(kCaptionGlyphs.size())) {
    Glyph(canvas, rect, DFC_CAPTION, kCaptionGlyphs[static_cast<size_t>(button)] | (pressed ? DFCS_PUSHED : 0u));
  } else if (button == kcbTray) {
    TRect dot = Shrink(rect, 5).Offset(0, 2);
    if (pressed) dot = dot.Offset(1, 1);
    BlackMark(canvas, dot, trayMark);
  } else if (button == kcbRollup || button == kcbRolldown) {
    TRect r = Shrink(rect, 4, 5);
    if (!pressed) r = r.Offset(-1, -1);
    const bool up = button == kcbRollup;
    const int y1 = up ? r.bottom : r.top, y2 = up ? r.top : r.bottom;
    Triangle(canvas, {r.left, y1}, {r.right, y1}, {(r.left + r.right) / 2, y2}, clBlack);
  }
}

TSizeGripShapes SizeGripShapes(const TRect& rect) {
  const TRect g = Shrink(rect, 4).Offset(3, 3);
  const int l = g.left, t = g.top, r = g.right, b = g.bottom;
  return {{{{r, t - 4}, {r, t}, {l, b}, {l - 4, b}}}, {{{r, t + 3}, {r, b}, {l + 3, b}}}};
}

void SizeGrip(TCanvas& canvas, const TRect& rect, TColor fill, TColor outline) {
  const TSizeGripShapes shapes = SizeGripShapes(rect);
  FillPolygon(canvas, shapes.band, fill);
  FramePolygon(canvas, shapes.band, outline);
  FillPolygon(canvas, shapes.corner, fill);
  FramePolygon(canvas, shapes.corner, outline);
}

}  // namespace hv::flatdraw
