#pragma once
// Pieces of painting that Highlight shares with the skinned and flat looks:
// the menu measures, the MDI child's buttons on a menu bar, progress blocks,
// nested list borders and the cut-corner group outline.

#include <array>
#include <string>

#include "framework/colors.h"
#include "framework/types.h"
#include "theme/core/theme.h"
#include "theme/core/themeitems.h"

namespace hv::highlight {

// The renderer's caption button of an MDI child's close, restore or minimize
// item, drawn straight onto the canvas.
void DrawMenuBarButtonGlyph(TCanvas& canvas, const TRect& rect, TTeItemButtonKind kind, bool selected, bool hot);

// Menu bar items: caption + 12 wide; popup items: caption + shortcut + 64
// wide, 9 high for a separator; otherwise the theme's menu item height.
void MeasureMenuBarItem(const TTeTheme& theme, TCanvas& canvas, const TTeCustomItem& item, int& width, int& height);
void MeasurePopupItem(const TTeTheme& theme, TCanvas& canvas, const TTeCustomItem& item, int& width, int& height);

// The canvas's font from a font kind of the theme.
void SetCanvasFont(const TTeTheme& theme, TCanvas& canvas, TTeThemeFont kind);

// Progress blocks of 0.64 the bar's thickness with gaps of 2, or one fill
// when smooth.
void DrawProgressBlocks(TCanvas& canvas, const TRect& rect, const TRect& barRect, bool vertical, bool smooth,
                        TColor color);

// A frame in `frame`, `nested` frames inside it in `fill`, and the 20 x 20
// corner square between two scroll bars in `fill`.
void DrawNestedFrames(TCanvas& canvas, const TRect& rect, TColor fill, TColor frame, int nested);

// The group outline with 2-pixel cut corners, open under the caption, and
// the caption centred in its rect.
void DrawCutCornerGroupBox(const TTeTheme& theme, TCanvas& canvas, const TRect& rect, const TRect& captionRect,
                           const std::string& caption, TColor color);

}  // namespace hv::highlight
