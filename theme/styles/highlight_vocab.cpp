#include <windows.h>

#include "theme/styles/highlight_vocab.h"

#include "framework/graphics.h"
#include "theme/core/colors.h"
#include "theme/core/drawing.h"
#include "theme/core/glyphs.h"
#include "theme/core/rects.h"
#include "theme/core/text.h"

namespace hv::highlight {

TTeThemeColor StateFillKind(int state) {
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

TRect ArrowBox(const TRect& rect) { return CenterRect(Bounds(0, 0, 7, 4), rect); }

void DrawArrow7x4(TCanvas& canvas, const TRect& rect, bool up, TColor color) {
  const TRect box = ArrowBox(rect);
  const int middle = (box.left + box.right - 1) / 2;
  const int base = up ? box.bottom - 1 : box.top, apex = up ? box.top : box.bottom - 1;
  const std::array<TPoint, 3> triangle = {{{box.left, base}, {box.right - 1, base}, {middle, apex}}};
  FillPolygon(canvas, triangle, color);
}

void DrawArrow7x4Outline(TCanvas& canvas, const TRect& rect, TColor color) {
  const TRect box = ArrowBox(rect);
  const int middle = (box.left + box.right - 1) / 2;
  MoveTo(canvas, middle, box.bottom - 1);
  LineTo(canvas, box.left, box.top, color);
  LineTo(canvas, box.right - 1, box.top, color);
  LineTo(canvas, middle, box.bottom - 1, color);
}

void DrawCaptionButtonGlyph(TCanvas& canvas, const TRect& rect, TTeCaptionButton button, bool pressed) {
  const unsigned pushed = pressed ? DFCS_PUSHED : 0;
  switch (button) {
    case kcbClose:
      DrawFrameControlGlyph(canvas, rect, DFC_CAPTION, DFCS_CAPTIONCLOSE | pushed, clBlack);
      return;
    case kcbHelp:
      DrawFrameControlGlyph(canvas, rect, DFC_CAPTION, DFCS_CAPTIONHELP | pushed, clBlack);
      return;
    case kcbMinimize:
      DrawFrameControlGlyph(canvas, rect, DFC_CAPTION, DFCS_CAPTIONMIN | pushed, clBlack);
      return;
    case kcbMaximize:
      DrawFrameControlGlyph(canvas, rect, DFC_CAPTION, DFCS_CAPTIONMAX | pushed, clBlack);
      return;
    case kcbRestore:
      DrawFrameControlGlyph(canvas, rect, DFC_CAPTION, DFCS_CAPTIONRESTORE | pushed, clBlack);
      return;
    case kcbTray: {
      TRect dot = InflatedRect(rect, -5).Offset(0, 2);
      if (pressed) dot = dot.Offset(1, 1);
      canvas.Pen()->SetColor(clBlack);
      canvas.Pen()->SetStyle(psSolid);
      canvas.Brush()->SetColor(clBlack);
      canvas.Brush()->SetStyle(bsSolid);
      canvas.Ellipse(dot);
      return;
    }
    case kcbRollup:
    case kcbRolldown: {
      TRect r = rect.Inflate(-4, -5);
      if (!pressed) r = r.Offset(-1, -1);
      const bool up = button == kcbRollup;
      const int y1 = up ? r.bottom : r.top, y2 = up ? r.top : r.bottom;
      const std::array<TPoint, 3> triangle = {{{r.left, y1}, {r.right, y1}, {(r.left + r.right) / 2, y2}}};
      FillPolygon(canvas, triangle, clBlack);
      return;
    }
    default:
      return;
  }
}

void DrawMenuBarButtonGlyph(TCanvas& canvas, const TRect& rect, TTeItemButtonKind kind, bool selected, bool hot) {
  unsigned state = kind == kibClose ? DFCS_CAPTIONCLOSE : kind == kibRestore ? DFCS_CAPTIONRESTORE : DFCS_CAPTIONMIN;
  state |= DFCS_ADJUSTRECT;
  if (selected) state |= hot ? DFCS_FLAT : DFCS_PUSHED;
  RECT r{rect.left, rect.top, rect.right, rect.bottom};
  DrawFrameControl(canvas.Handle(), &r, DFC_CAPTION, state);
}

void SetCanvasFont(const TTeTheme& theme, TCanvas& canvas, TTeThemeFont kind) {
  TFont& font = *canvas.Font();
  font.SetName(theme.GetFontName(kind));
  font.SetSize(theme.GetFontSize(kind));
  font.SetStyle(theme.GetFontStyle(kind));
}

void MeasureMenuBarItem(const TTeTheme& theme, TCanvas& canvas, const TTeCustomItem& item, int& width,
                        int& height) {
  SetCanvasFont(theme, canvas, ktfMenuBar);
  width = TextWidthEx(canvas, item.Caption(), DT_SINGLELINE) + 12;
  height = theme.GetSize(ktsMenuItemHeight);
}

void MeasurePopupItem(const TTeTheme& theme, TCanvas& canvas, const TTeCustomItem& item, int& width, int& height) {
  SetCanvasFont(theme, canvas, ktfMenuItem);
  height = item.IsSeparator() ? 9 : theme.GetSize(ktsMenuItemHeight);
  width = TextWidthEx(canvas, item.Caption(), DT_SINGLELINE) +
          TextWidthEx(canvas, ShortCutToText(item.ShortCut()), DT_SINGLELINE) + 64;
}

std::array<TPoint, 5> ThumbPentagon(const TRect& rect, bool vertical, int shape) {
  const int l = rect.left, t = rect.top, r = rect.right, b = rect.bottom;
  const int w = rect.Width() / 2, h = rect.Height() / 2;
  if (!vertical && shape == 1) return {{{l, t}, {r - 1, t}, {r - 1, b - w}, {l + w, b}, {l, b - w}}};
  if (!vertical) return {{{l, b}, {r - 1, b}, {r - 1, t + w}, {l + w, t}, {l, t + w}}};
  if (shape == 1) return {{{l, t}, {r - h, t}, {r, t + h}, {r - h, b - 1}, {l, b - 1}}};
  return {{{l + h, t}, {r, t}, {r, b - 1}, {l + h, b - 1}, {l, b - h - 1}}};
}

void DrawSizeGripShapes(TCanvas& canvas, const TRect& rect, TColor fill, TColor outline) {
  const TRect g = InflatedRect(rect, -4).Offset(3, 3);
  const int l = g.left, t = g.top, r = g.right, b = g.bottom;
  const std::array<TPoint, 4> bar = {{{r, t - 4}, {r, t}, {l, b}, {l - 4, b}}};
  const std::array<TPoint, 3> corner = {{{r, t + 3}, {r, b}, {l + 3, b}}};
  FillPolygon(canvas, bar, fill);
  FramePolygon(canvas, bar, outline);
  FillPolygon(canvas, corner, fill);
  FramePolygon(canvas, corner, outline);
}

void DrawProgressBlocks(TCanvas& canvas, const TRect& rect, const TRect& barRect, bool vertical, bool smooth,
                        TColor color) {
  if (smooth) {
    FillRectColor(canvas, barRect, color);
    return;
  }
  if (!vertical) {
    const int block = RoundHalfEven(0.64 * rect.Height());
    const int step = block + 2;
    if (step <= 0) return;
    const int n = barRect.Width() / step;
    if (n < 1) return;
    for (int q = 0; q <= n; ++q) {
      const int left = rect.left + step * q;
      FillRectColor(canvas, Intersect({left, rect.top, left + block, rect.bottom}, rect), color);
    }
    return;
  }
  const int step = RoundHalfEven(0.64 * rect.Width()) + 2;
  if (step <= 0) return;
  const int n = barRect.Height() / step;
  if (n < 1) return;
  for (int q = 0; q <= n; ++q) {
    const int bottom = rect.bottom - step * q;
    FillRectColor(canvas, Intersect({rect.left, bottom - step + 2, rect.right, bottom}, rect), color);
  }
}

void DrawNestedFrames(TCanvas& canvas, const TRect& rect, TColor fill, TColor frame, int nested) {
  FillRectColor(canvas, {rect.right - 20, rect.bottom - 20, rect.right, rect.bottom}, fill);
  OutlineRect(canvas, rect, frame);
  for (int i = 1; i <= nested; ++i) OutlineRect(canvas, InflatedRect(rect, -i), fill);
}

void DrawCutCornerGroupBox(const TTeTheme& theme, TCanvas& canvas, const TRect& rect, const TRect& captionRect,
                           const std::string& caption, TColor color) {
  const int l = rect.left, t = rect.top, r = rect.right, b = rect.bottom;
  MoveTo(canvas, l + 2, t);
  LineTo(canvas, captionRect.left, t, color);
  MoveTo(canvas, captionRect.right, t);
  const std::array<TPoint, 8> outline = {
      {{r - 2, t}, {r, t + 2}, {r, b - 2}, {r - 2, b}, {l + 2, b}, {l, b - 2}, {l, t + 2}, {l + 2, t}}};
  for (const TPoint& p : outline) LineTo(canvas, p.x, p.y, color);
  DrawTextEx(canvas, caption, captionRect, theme.DrawTextBiDiModeFlags(DT_CENTER | DT_VCENTER | DT_SINGLELINE));
}

}  // namespace hv::highlight
