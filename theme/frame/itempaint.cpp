// The items' own look, used where no style paints: the classic menus of the
// platform, measured and drawn with the system's colours and menu font.

#include <windows.h>

#include <algorithm>
#include <array>

#include "framework/graphics.h"
#include "framework/imagelist.h"
#include "theme/core/drawing.h"
#include "theme/core/text.h"
#include "theme/core/themeitems.h"
#include "theme/core/visualstyles.h"
#include "theme/frame/itemview.h"
#include "theme/frame/menuresources.h"

namespace hv {

namespace {

unsigned TextFlags(const TTeCustomItem& item, unsigned flags) {
  if (!item.RightToLeft()) return flags;
  // Mirrored: what sat left sits right, read right to left.
  if (flags & DT_RIGHT)
    flags &= ~static_cast<unsigned>(DT_RIGHT);
  else if (!(flags & DT_CENTER))
    flags |= DT_RIGHT;
  return flags | DT_RTLREADING;
}

void Caption(TCanvas& canvas, const TTeCustomItem& item, const std::string& text, const TRect& rect, unsigned flags,
             TColor color) {
  canvas.Brush()->SetStyle(bsClear);
  canvas.Font()->SetColor(color);
  DrawTextEx(canvas, text, rect, TextFlags(item, flags));
}

void PaintBarItem(TTeCustomItem& item, TCanvas& canvas, bool active, bool hot, const TRect& rect) {
  FillRectColor(canvas, rect, clMenu);
  constexpr unsigned kCentred = DT_CENTER | DT_VCENTER | DT_SINGLELINE;
  if (!hot) {
    Caption(canvas, item, item.Caption(), rect, kCentred, clMenuText);
    return;
  }
  if (VisualStylesActive()) {
    FillRectColor(canvas, rect.Inflate(-1, -1), clHighlight);
    Caption(canvas, item, item.Caption(), rect, kCentred, clHighlightText);
    return;
  }
  if (active)
    Frame3D(canvas, rect, clBtnShadow, clBtnHighlight);
  else
    Frame3D(canvas, rect, clBtnHighlight, clBtnShadow);
  Caption(canvas, item, item.Caption(), rect, kCentred, clMenuText);
}

void PaintBarButton(TTeCustomItem& item, TCanvas& canvas, bool active, bool hot, const TRect& rect) {
  FillRectColor(canvas, rect, clMenu);
  if (item.ButtonKind() == kibSystemMenu) {
    if (hot) {
      if (active)
        Frame3D(canvas, rect, clBtnShadow, clBtnHighlight);
      else
        Frame3D(canvas, rect, clBtnHighlight, clBtnShadow);
    }
    return;
  }
  unsigned state = item.ButtonKind() == kibClose     ? DFCS_CAPTIONCLOSE
                   : item.ButtonKind() == kibRestore ? DFCS_CAPTIONRESTORE
                                                     : DFCS_CAPTIONMIN;
  if (hot) state |= active ? DFCS_PUSHED : DFCS_FLAT;
  RECT r{rect.left + 2, rect.top + 2, rect.right - 2, rect.bottom - 2};
  DrawFrameControl(canvas.Handle(), &r, DFC_CAPTION, state);
}

void PaintCheckMark(TCanvas& canvas, const TRect& column) {
  const int cx = (column.left + column.right) / 2 - 2;
  const int cy = (column.top + column.bottom) / 2 + 1;
  const std::array<TPoint, 7> black = {{{-2, -2}, {0, 0}, {4, -4}, {4, -3}, {0, 1}, {-2, -1}, {-2, -2}}};
  const std::array<TPoint, 5> white = {{{-3, -2}, {-3, -1}, {0, 2}, {5, -3}, {5, -5}}};
  auto polyline = [&](auto points, TColor color) {
    std::vector<TPoint> placed;
    for (const TPoint& p : points) placed.push_back({cx + p.x, cy + p.y});
    canvas.Pen()->SetColor(color);
    canvas.Pen()->SetStyle(psSolid);
    canvas.Polyline(placed);
  };
  polyline(black, clBlack);
  polyline(white, clWhite);
}

void PaintPopupItem(TTeCustomItem& item, TCanvas& canvas, bool hot, const TRect& rect) {
  FillRectColor(canvas, rect, hot ? clHighlight : clMenu);
  if (item.IsSeparator()) {
    const int y = rect.top + (rect.Height() - 2) / 2;
    FillRectXY(canvas, rect.left + 2, y, rect.right - 2, y + 1, clBtnShadow);
    FillRectXY(canvas, rect.left + 2, y + 1, rect.right - 2, y + 2, clBtnHighlight);
    return;
  }
  const int columnWidth = item.ImageColumnWidth();
  const TRect column{rect.left, rect.top, rect.left + columnWidth, rect.bottom};
  TCustomImageList* images = item.ShownImages();
  const bool hasImage = images && item.ImageIndex() >= 0;
  if (item.Checked() || hasImage) {
    const bool styled = VisualStylesActive();
    if (!styled) FillRectColor(canvas, column, clBtnFace);
    if (item.Checked() && !styled) {
      if (!hot) FillDither(canvas, column, clBtnFace, clBtnHighlight);
      Frame3D(canvas, column, clBtnShadow, clBtnHighlight);
    } else if (hot && !styled) {
      Frame3D(canvas, column, clBtnHighlight, clBtnShadow);
    }
    if (hasImage) {
      const int x = column.left + (column.Width() - images->Width()) / 2;
      const int y = column.top + (column.Height() - images->Height()) / 2;
      images->Draw(&canvas, x, y, item.ImageIndex(), item.Enabled());
    } else {
      PaintCheckMark(canvas, column);
    }
  }
  const TColor text = hot ? clHighlightText : clMenuText;
  TRect captionRect{rect.left + columnWidth + 4, rect.top, rect.right - 22, rect.bottom};
  const std::string shortCut = ShortCutToText(item.ShortCut());
  auto texts = [&](int dx, int dy, TColor color) {
    Caption(canvas, item, item.Caption(), captionRect.Offset(dx, dy), DT_LEFT | DT_VCENTER | DT_SINGLELINE, color);
    if (!shortCut.empty())
      Caption(canvas, item, shortCut, captionRect.Offset(dx, dy), DT_RIGHT | DT_VCENTER | DT_SINGLELINE, color);
  };
  if (!item.Enabled()) {
    if (!hot) texts(1, 1, clBtnHighlight);
    texts(0, 0, clBtnShadow);
  } else {
    texts(0, 0, text);
  }
  if (item.HasVisibleChild())
    DrawSubmenuArrow(canvas, Rect(rect.right - 24, rect.top, rect.right - 2, rect.bottom),
                     static_cast<uint32_t>(item.Enabled() ? text : clBtnShadow));
}

}  // namespace

void DefaultMeasureItem(TTeCustomItem& item, TCanvas& canvas, TTeItemView& view, int& height, int& width) {
  width = DefaultItemWidth();
  height = DefaultItemHeight();
  canvas.Font()->Assign(&MenuFont());
  if (view.Horizontal()) {
    if (item.ButtonKind() != kibNone)
      width = height;
    else
      width = canvas.TextWidth(item.Caption()) + 12;
    return;
  }
  TCustomImageList* images = item.ShownImages();
  int column = 22;
  if (images && images->Width() > DefaultItemHeight()) column = images->Width() + 6;
  width = canvas.TextWidth(item.Caption()) + column + 42;
  if (item.ShortCut() != 0) width += canvas.TextWidth(ShortCutToText(item.ShortCut()));
  if (item.IsSeparator())
    height = 15;
  else if (images && images->Height() > DefaultItemHeight())
    height = images->Height() + 4;
}

void DefaultPaintItem(TTeCustomItem& item, TCanvas& canvas, TTeItemView& view, bool active, bool hot,
                      const TRect& rect) {
  if (view.Horizontal()) {
    if (item.ButtonKind() != kibNone)
      PaintBarButton(item, canvas, active, hot, rect);
    else
      PaintBarItem(item, canvas, active, hot, rect);
    return;
  }
  PaintPopupItem(item, canvas, hot, rect);
}

void DefaultPaintArrow(TTeCustomItem&, TCanvas& canvas, TTeItemView&, bool hot, int kind, const TRect& rect) {
  FillRectColor(canvas, rect, clMenu);
  if (hot) Frame3D(canvas, rect, clBtnShadow, clBtnHighlight);
  const int left = rect.left + (rect.Width() - 7) / 2;
  const int top = rect.top + (rect.Height() - 4) / 2;
  std::array<TPoint, 3> triangle;
  if (kind == 1)
    triangle = {{{left, top + 3}, {left + 6, top + 3}, {left + 3, top}}};
  else
    triangle = {{{left, top}, {left + 6, top}, {left + 3, top + 3}}};
  FillPolygon(canvas, triangle, clMenuText);
}

}  // namespace hv
