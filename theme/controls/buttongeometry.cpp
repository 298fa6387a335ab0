#include "theme/controls/buttongeometry.h"

#include <algorithm>

namespace hv {

TRect PushButtonBlock(TSize text, TSize glyph, TButtonLayout layout, int spacing, int width, int height,
                      bool pressed) {
  int w = text.cx;
  int h = text.cy;
  if (glyph.cx > 0 && glyph.cy > 0) {
    if (layout == blGlyphTop || layout == blGlyphBottom)
      h += glyph.cy + spacing;
    else
      w += glyph.cx + spacing;
  }
  w = std::max(w, glyph.cx);
  h = std::max(h, glyph.cy);
  TRect block = CentredIn({w, h}, Rect(0, 0, width, height));
  if (pressed) block = block.Offset(1, 1);
  return block;
}

TRect PushButtonCaptionArea(const TRect& block, TSize glyph, TButtonLayout layout, int spacing) {
  TRect r = block;
  switch (layout) {
    case blGlyphLeft: r.left += glyph.cx + spacing; break;
    case blGlyphRight: r.right -= glyph.cx + spacing; break;
    case blGlyphTop: r.top += glyph.cy + spacing; break;
    case blGlyphBottom: r.bottom -= glyph.cy + spacing; break;
  }
  return r;
}

TRect PushButtonGlyphArea(const TRect& block, TSize glyph, TButtonLayout layout, int spacing) {
  TRect r = block;
  switch (layout) {
    case blGlyphLeft: r.right = r.left + glyph.cx + spacing; break;
    case blGlyphRight: r.left = r.right - glyph.cx - spacing; break;
    case blGlyphTop: r.bottom = r.top + glyph.cy + spacing; break;
    case blGlyphBottom: r.top = r.bottom - glyph.cy - spacing; break;
  }
  return r;
}

TRect CentredIn(TSize size, const TRect& area) {
  const int left = area.left + (area.Width() - size.cx) / 2;
  const int top = area.top + (area.Height() - size.cy) / 2;
  return Rect(left, top, left + size.cx, top + size.cy);
}

}  // namespace hv
