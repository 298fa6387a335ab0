#include "theme/styles/sharedpaint.h"

#include <windows.h>

#include <array>
#include <span>

#include "framework/graphics.h"
#include "framework/imagelist.h"
#include "theme/core/colors.h"
#include "theme/core/drawing.h"
#include "theme/core/rects.h"
#include "theme/core/text.h"
#include "theme/core/themeitems.h"

namespace hv {

namespace {
constexpr unsigned kDtLeftMiddle = DT_LEFT | DT_VCENTER | DT_SINGLELINE;
constexpr unsigned kDtRightMiddle = DT_RIGHT | DT_VCENTER | DT_SINGLELINE;
}  // namespace

void SetThemeFont(TCanvas& canvas, const TTeTheme& theme, TTeThemeFont kind) {
  TFont& font = *canvas.Font();
  font.SetName(theme.GetFontName(kind));
  font.SetSize(theme.GetFontSize(kind));
  font.SetStyle(theme.GetFontStyle(kind));
}

void MeasureMenuBarItemOf(const TTeTheme& theme, TCanvas& canvas, TTeCustomItem* item, int& width, int& height) {
  if (!item) return;
  SetThemeFont(canvas, theme, ktfMenuBar);
  width = canvas.TextWidth(item->Caption()) + 12;
  height = theme.GetSize(ktsMenuItemHeight);
}

void MeasurePopupItemOf(const TTeTheme& theme, TCanvas& canvas, TTeCustomItem* item, int& width, int& height) {
  if (!item) return;
  SetThemeFont(canvas, theme, ktfMenuItem);
  height = item->IsSeparator() ? 9 : theme.GetSize(ktsMenuItemHeight);
  width = canvas.TextWidth(item->Caption()) + canvas.TextWidth(ShortCutToText(item->ShortCut())) + 64;
}

void DrawPopupCheckMark(TCanvas& canvas, const TRect& column) {
  const int cx = (column.left + column.right) / 2 - 2;
  const int cy = (column.top + column.bottom) / 2 + 1;
  const std::array<TPoint, 7> black = {{{-2, -2}, {0, 0}, {4, -4}, {4, -3}, {0, 1}, {-2, -1}, {-2, -2}}};
  const std::array<TPoint, 5> white = {{{-3, -2}, {-3, -1}, {0, 2}, {5, -3}, {5, -5}}};
  auto polyline = [&](std::span<const TPoint> points, TColor color) {
    std::vector<TPoint> placed;
    for (const TPoint& p : points) placed.push_back({cx + p.x, cy + p.y});
    canvas.Pen()->SetColor(color);
    canvas.Pen()->SetStyle(psSolid);
    canvas.Polyline(placed);
  };
  polyline(black, clBlack);
  polyline(white, clWhite);
}

void DrawPopupItemImage(TCanvas& canvas, TTeCustomItem* item, const TRect& column) {
  if (item->HasImage()) {
    const TCustomImageList& images = *item->Images();
    const TRect at = CenterRect(Bounds(0, 0, images.Width(), images.Height()), column);
    images.Draw(&canvas, at.left, at.top, item->ImageIndex(), item->Enabled());
    return;
  }
  DrawPopupCheckMark(canvas, column);
}

void DrawPopupItemText(const TTeTheme& theme, TCanvas& canvas, TTeCustomItem* item, const TRect& rect) {
  if (!item->Enabled()) canvas.Font()->SetColor(theme.GetColor(ktcMenuItemDisabledText));
  TRect text{rect.left + item->ImageColumnWidth() + 4, rect.top, rect.right, rect.bottom};
  DrawTextEx(canvas, item->Caption(), text, theme.DrawTextBiDiModeFlags(kDtLeftMiddle));
  if (item->ShortCut() != 0) {
    text.right -= rect.Height();
    DrawTextEx(canvas, ShortCutToText(item->ShortCut()), text, theme.DrawTextBiDiModeFlags(kDtRightMiddle));
  }
}

bool DrawPopupItemBase(const TTeTheme& theme, TCanvas& canvas, TTeCustomItem* item, const TRect& rect, bool selected,
                       int outlineCorner) {
  if (!item) return false;
  if (item->IsSeparator()) {
    FillRectColor(canvas, rect, theme.GetColor(ktcMenuItem));
    FillRectColor(canvas, {rect.left + 2, rect.top + 4, rect.right - 2, rect.top + 5}, clBtnShadow);
    return false;
  }
  SetThemeFont(canvas, theme, ktfMenuItem);
  if (selected) {
    FillRectColor(canvas, rect, theme.GetColor(ktcMenuItemSelection));
    canvas.Font()->SetColor(theme.GetColor(ktcMenuItemSelectedText));
    if (outlineCorner > 0)
      RoundFrame(canvas, rect, outlineCorner, theme.GetColor(ktcMenuArrow));
    else
      OutlineRect(canvas, rect, theme.GetColor(ktcMenuArrow));
  } else {
    FillRectColor(canvas, rect, theme.GetColor(ktcMenuItem));
    canvas.Font()->SetColor(theme.GetColor(ktcMenuItemText));
  }
  if (item->Checked() || item->HasImage())
    DrawPopupItemImage(canvas, item, {rect.left, rect.top, rect.left + item->ImageColumnWidth(), rect.bottom});
  DrawPopupItemText(theme, canvas, item, rect);
  return true;
}

std::vector<TRect> ProgressBlocks(const TRect& rect, const TRect& barRect, bool vertical, bool smooth) {
  std::vector<TRect> blocks;
  if (smooth) {
    blocks.push_back(barRect);
    return blocks;
  }
  if (!vertical) {
    const int block = RoundHalfEven(0.64 * rect.Height());
    const int step = block + 2;
    const int n = barRect.Width() / step;
    if (n < 1) return blocks;
    for (int q = 0; q <= n; ++q) {
      const int left = rect.left + step * q;
      blocks.push_back(Intersect({left, rect.top, left + block, rect.bottom}, rect));
    }
    return blocks;
  }
  const int step = RoundHalfEven(0.64 * rect.Width()) + 2;
  const int n = barRect.Height() / step;
  if (n < 1) return blocks;
  for (int q = 0; q <= n; ++q) {
    const int bottom = rect.bottom - step * q;
    blocks.push_back(Intersect({rect.left, bottom - step + 2, rect.right, bottom}, rect));
  }
  return blocks;
}

void DrawNestedBorder(TCanvas& canvas, const TRect& rect, TColor fill, TColor frame, int nested) {
  FillRectColor(canvas, {rect.right - 20, rect.bottom - 20, rect.right, rect.bottom}, fill);
  OutlineRect(canvas, rect, frame);
  for (int i = 1; i <= nested; ++i) OutlineRect(canvas, InflatedRect(rect, -i), fill);
}

std::optional<TRect> TabPageStrip(const TRect& rect, TTabPosition position) {
  TRect strip = rect;
  switch (position) {
    case tpTop:
      strip.top = rect.bottom - 2;
      return strip;
    case tpBottom:
      strip.bottom = rect.top + 2;
      return strip;
    case tpLeft:
      strip.left = rect.right - 2;
      return strip;
    case tpRight:
      strip.right = rect.left + 2;
      return strip;
    default:
      return std::nullopt;
  }
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

}  // namespace hv
