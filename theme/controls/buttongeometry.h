#pragma once
// Where a push button puts its glyph and its caption: the block of both,
// centred in the button, and the glyph's and the caption's parts of it by
// layout. Pure.

#include <cstdint>

#include "framework/types.h"

namespace hv {

enum TButtonLayout : uint8_t { blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom };

// The block of glyph and caption: text (the caption's measured size, or the
// room a wrapped caption may take) grown by the glyph cell and the spacing
// on the layout's side, at least as large as the glyph, centred in a button
// of width x height and moved one pixel down and right while pressed.
TRect PushButtonBlock(TSize text, TSize glyph, TButtonLayout layout, int spacing, int width, int height,
                      bool pressed);

// The block without the glyph's part, where the caption goes.
TRect PushButtonCaptionArea(const TRect& block, TSize glyph, TButtonLayout layout, int spacing);

// The glyph's part of the block (glyph cell and spacing).
TRect PushButtonGlyphArea(const TRect& block, TSize glyph, TButtonLayout layout, int spacing);

// A rectangle of size centred in area (halves truncated toward zero).
TRect CentredIn(TSize size, const TRect& area);

}  // namespace hv
