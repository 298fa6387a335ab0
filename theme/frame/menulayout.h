#pragma once
// The arithmetic of the menus, free of windows: where the items of one level
// go, where a level opens on the work area, which item the arrow keys reach,
// and which part of a scrolled level shows. Portable.

#include <cstdint>
#include <vector>

#include "framework/types.h"
#include "theme/core/themeitems.h"

namespace hv {

// Height of each scroll arrow of a scrolled vertical level.
constexpr int kMenuScrollArrowHeight = 10;

// One child as the layout sees it; measured only when shown.
struct TMenuSlot {
  bool shown = false;  // visible and inside the shown range
  TTeItemButtonKind kind = kibNone;
  int width = 0;
  int height = 0;
};

struct TMenuLayout {
  std::vector<TRect> rects;  // one per slot; empty for the slots not shown
  int width = 0;
  int height = 0;
};

// Items stacked downwards from the origin, each as wide as the widest;
// scrolled: 10 pixels lower and 20 pixels taller in all, for the arrows.
TMenuLayout LayOutVertical(const std::vector<TMenuSlot>& slots, TPoint origin, bool scrolled);
// Items in a row from the origin; MDI buttons at the right end of a bar
// `barWidth` wide (close right-most, then restore, then minimize, each one
// item-width wide) and the system-menu item at the left end.
TMenuLayout LayOutHorizontal(const std::vector<TMenuSlot>& slots, TPoint origin, int barWidth);

// Where a level of `size` opens. Without an anchor at (x, y); with one below
// a menu-bar item (parentHorizontal) or beside a popup item, flipped to the
// other side where the work area ends, and always clamped to its right and
// bottom edges.
TPoint PlacePopup(const TRect& workArea, TPoint at, TSize size, const TRect* anchor, bool parentHorizontal);

// The next selectable slot from `current` by `step` (+1 or -1), wrapping;
// selectable[i] says whether slot i may take the hot state. -1 when none is.
int StepSelectable(const std::vector<bool>& selectable, int current, int step);

// The first shown index that keeps `index` among `count` shown of `total`.
int ScrollToShow(int first, int count, int total, int index);

// The short cut of a key code with the modifier keys held.
TShortCut ComposeShortCut(unsigned keyCode, bool shift, bool ctrl, bool alt);

}  // namespace hv
