#pragma once
// Pieces of painting that Highlight takes over from the flat styles' look:
// the state fill, the small arrow, the caption glyphs, the menu measures and
// the shapes of thumbs and grips.

#include <array>
#include <string>

#include "framework/colors.h"
#include "framework/types.h"
#include "theme/core/theme.h"
#include "theme/core/themeitems.h"

namespace hv::highlight {

// 12 hot, 8 pressed and state 4, 9 disabled, 11 otherwise.
TTeThemeColor StateFillKind(int state);

// A 7 x 4 box centred in rect; a down arrow has its base on the box's top
// row and its apex at the middle of the bottom row, an up arrow the mirror.
TRect ArrowBox(const TRect& rect);
void DrawArrow7x4(TCanvas& canvas, const TRect& rect, bool up, TColor color);
// The down arrow's edges only: apex, top-left, top-right, back to the apex.
void DrawArrow7x4Outline(TCanvas& canvas, const TRect& rect, TColor color);

// The picture of a caption button kind over rect, in black: the renderer's
// caption glyphs, a dot for the tray, triangles for rolling up and down.
// Kinds beyond the tray have no picture.
void DrawCaptionButtonGlyph(TCanvas& canvas, const TRect& rect, TTeCaptionButton button, bool pressed);

// The renderer's caption button of an MDI child's close, restore or minimize
// item, drawn straight onto the canvas.
void DrawMenuBarButtonGlyph(TCanvas& canvas, const TRect& rect, TTeItemButtonKind kind, bool selected, bool hot);

// Menu bar items: caption + 12 wide; popup items: caption + shortcut + 64
// wide, 9 high for a separator; otherwise the theme's menu item height.
void MeasureMenuBarItem(const TTeTheme& theme, TCanvas& canvas, const TTeCustomItem& item, int& width, int& height);
void MeasurePopupItem(const TTeTheme& theme, TCanvas& canvas, const TTeCustomItem& item, int& width, int& height);

// The canvas's font from a font kind of the theme.
void SetCanvasFont(const TTeTheme& theme, TCanvas& canvas, TTeThemeFont kind);

// The pointed track-bar thumbs (shapes 1 and 2); `vertical` thumbs point
// right or left, the others down or up.
std::array<TPoint, 5> ThumbPentagon(const TRect& rect, bool vertical, int shape);

// The size grip's slanted bar and triangle, each filled and outlined.
void DrawSizeGripShapes(TCanvas& canvas, const TRect& rect, TColor fill, TColor outline);

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
