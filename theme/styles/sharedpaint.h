#pragma once
// Painting that several styles share word for word: the popup menu item's
// text, check mark and image, menu measuring, the progress bar's blocks and
// the nested frames of list borders.

#include <optional>
#include <string>
#include <vector>

#include "framework/colors.h"
#include "framework/types.h"
#include "theme/core/theme.h"

namespace hv {

class TCanvas;
class TTeCustomItem;

// The style's font of that kind on the canvas (name, size, style).
void SetThemeFont(TCanvas& canvas, const TTeTheme& theme, TTeThemeFont kind);

// Caption width + 12 on the menu-bar font, the menu item height.
void MeasureMenuBarItemOf(const TTeTheme& theme, TCanvas& canvas, TTeCustomItem* item, int& width, int& height);
// Caption and shortcut widths + 64 on the popup font; 9 high for a separator.
void MeasurePopupItemOf(const TTeTheme& theme, TCanvas& canvas, TTeCustomItem* item, int& width, int& height);

// The item's image centred in the column (as enabled as the item), or the
// black and white check mark when it has none.
void DrawPopupItemImage(TCanvas& canvas, TTeCustomItem* item, const TRect& column);
void DrawPopupCheckMark(TCanvas& canvas, const TRect& column);
// Caption after the image column and the shortcut at the right, on one line,
// in the canvas's font colour, or the style's disabled text colour for a
// disabled item.
void DrawPopupItemText(const TTeTheme& theme, TCanvas& canvas, TTeCustomItem* item, const TRect& rect);

// A popup item as far as the styles paint it alike: a separator's strip, or
// the background, outline and font colour by selection, the image or check
// mark and the texts. False for a separator (or no item), which takes
// nothing more; the caller adds its own sub-item marker otherwise. The
// outline of a selected item is square, or rounded with corners of
// `outlineCorner` pixels.
bool DrawPopupItemBase(const TTeTheme& theme, TCanvas& canvas, TTeCustomItem* item, const TRect& rect, bool selected,
                       int outlineCorner = 0);

// The blocks a block-mode progress bar fills (the bar rect alone when
// smooth), each clipped to the whole rect; none while the bar is shorter
// than one step.
std::vector<TRect> ProgressBlocks(const TRect& rect, const TRect& barRect, bool vertical, bool smooth);

// A list-style border: the 20 x 20 corner square at the bottom right and
// `nested` frames inside the outline, all in fill; the outline in frame.
void DrawNestedBorder(TCanvas& canvas, const TRect& rect, TColor fill, TColor frame, int nested);

// The two rows or columns of a tab on its page's side (the bottom of a tab
// on top, and so on), where the tab runs into its page; none for a
// position beyond the four.
std::optional<TRect> TabPageStrip(const TRect& rect, TTabPosition position);

// The group outline with 2-pixel cut corners, left open under the caption
// from (caption left, top) to (caption right, top); the caption centred on
// one line in its rect with the canvas's font. The inside is not filled.
void DrawCutCornerGroupBox(const TTeTheme& theme, TCanvas& canvas, const TRect& rect, const TRect& captionRect,
                           const std::string& caption, TColor color);

}  // namespace hv
