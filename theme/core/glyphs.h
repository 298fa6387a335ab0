#pragma once
// Glyphs of the platform's frame-control renderer recoloured for a style,
// and the glyphs of the standard dialog buttons.

#include "framework/colors.h"
#include "framework/types.h"

namespace hv {

class TCanvas;
class TBitmap;

// The renderer's glyph (DFC_* type, DFCS_* state) drawn in black on a white
// rect-sized bitmap; its black pixels are laid onto the canvas in color at
// the rect's top-left, everything else shows the canvas through. A margin
// leaves out that many pixels all round, where the renderer puts the edges
// of its own button.
void DrawFrameControlGlyph(TCanvas& canvas, const TRect& rect, unsigned type, unsigned state, TColor color,
                           int margin = 0);

// Button kinds of the framework's bitmap buttons.
enum TBitBtnKind : int { bkCustom, bkOK, bkCancel, bkHelp, bkYes, bkNo, bkClose, bkAbort, bkRetry, bkIgnore, bkAll };

// The glyph of a standard button kind ("TE_BTN_OK" ...), two cells side by
// side (normal, disabled) on a background keyed by its bottom-left pixel.
// Loaded from the executable on first request and kept until
// FreeButtonGlyphs. The kind counts modulo 128; bkCustom and kinds without
// a glyph give an empty bitmap. Never null.
TBitmap* ButtonGlyph(int kind);
const char* ButtonGlyphResourceName(int kind);  // null where there is none
void FreeButtonGlyphs();

}  // namespace hv
