#include <windows.h>

#include "theme/styles/highlight_vocab.h"

#include "framework/graphics.h"
#include "theme/core/colors.h"
#include "theme/core/drawing.h"
#include "theme/core/glyphs.h"
#include "theme/core/rects.h"
#include "theme/core/text.h"

namespace hv::highlight {

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
