#pragma once
// The status bar's arithmetic without the controls: which panels fit, where
// each one goes, where the image, the text and the size grip of a panel lie.
// Portable.

#include <vector>

#include "framework/types.h"

namespace hv {

// What the layout reads of one panel.
struct TStatusPanelMetrics {
  int width = 50;
  int maxWidth = 10000;
  int viewPriority = 100;    // 0: never shown; below 100: may be hidden when space is short
  int stretchPriority = 0;   // above 0: may take spare space, higher first
};

// What the layout gives one panel.
struct TStatusPanelPlace {
  int assignedWidth = 0;
  bool visible = false;
  int left = 0;   // in the bar's client coordinates
  int right = 0;  // equal to left for a hidden panel
  bool operator==(const TStatusPanelPlace&) const = default;
};

int StatusPanelEffectiveWidth(const TStatusPanelMetrics& metrics, const TStatusPanelPlace& place);

// Lays the panels out along the content rectangle of the bar: hides the
// lowest view priorities while the panels do not fit, hands spare room to
// the highest stretch priorities, then places the visible panels side by
// side from the content's left edge.
std::vector<TStatusPanelPlace> LayoutStatusPanels(const std::vector<TStatusPanelMetrics>& panels,
                                                  const TRect& content);

TRect StatusPanelRect(const TStatusPanelPlace& place, const TRect& content);
// A framed panel keeps one pixel of its rectangle for the frame on each
// side, and two more on the right.
TRect StatusPanelContentRect(const TRect& panelRect, bool framed);
// From the first panel's left to the last one's right, within the content;
// empty without panels.
TRect StatusPanelArea(const std::vector<TStatusPanelPlace>& places, const TRect& content);
TRect StatusSizeGripRect(const TRect& content, bool lastPanelFramed, int gripWidth, int gripHeight);
// The index of the visible panel under a point of the bar, or -1.
int StatusPanelAt(const std::vector<TStatusPanelPlace>& places, const TRect& content, TPoint p);

enum class TStatusGlyphLayout { sglGlyphLeft, sglGlyphRight };
enum class TStatusTextAlignment { taLeftJustify, taRightJustify, taCenter };

// Everything that places the image and the text inside a panel's content
// rectangle: its size, the image's and the text's sizes.
struct TStatusPanelContent {
  TSize area;
  TSize image;
  TSize text;
  bool validImage = false;
  int margin = 2;
  int spacing = 4;
  TStatusGlyphLayout layout = TStatusGlyphLayout::sglGlyphLeft;
  TStatusTextAlignment alignment = TStatusTextAlignment::taLeftJustify;
};

// Both relative to the panel's content rectangle.
TRect StatusPanelGlyphRect(const TStatusPanelContent& c);
TRect StatusPanelTextRect(const TStatusPanelContent& c);
// The width the text may take: its own width, limited (unless the bar sizes
// itself) to what the panel leaves beside the margins and the image.
int StatusPanelTextWidth(int textWidth, bool autoSize, int effectiveWidth, bool validImage, int imageWidth,
                         int spacing, int margin);

}  // namespace hv
