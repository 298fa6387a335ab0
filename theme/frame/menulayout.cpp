#include "theme/frame/menulayout.h"

#include <algorithm>

namespace hv {

TMenuLayout LayOutVertical(const std::vector<TMenuSlot>& slots, TPoint origin, bool scrolled) {
  TMenuLayout layout;
  layout.rects.resize(slots.size());
  int widest = 0;
  for (const TMenuSlot& slot : slots)
    if (slot.shown) widest = std::max(widest, slot.width);
  int y = origin.y + (scrolled ? kMenuScrollArrowHeight : 0);
  for (size_t i = 0; i < slots.size(); ++i) {
    if (!slots[i].shown) continue;
    layout.rects[i] = Rect(origin.x, y, origin.x + widest, y + slots[i].height);
    y += slots[i].height;
  }
  layout.width = widest;
  layout.height = y - origin.y + (scrolled ? kMenuScrollArrowHeight : 0);
  return layout;
}

TMenuLayout LayOutHorizontal(const std::vector<TMenuSlot>& slots, TPoint origin, int barWidth) {
  TMenuLayout layout;
  layout.rects.resize(slots.size());
  int tallest = 0;
  for (const TMenuSlot& slot : slots)
    if (slot.shown) tallest = std::max(tallest, slot.height);
  int x = origin.x;
  for (size_t i = 0; i < slots.size(); ++i) {
    const TMenuSlot& slot = slots[i];
    if (!slot.shown || (slot.kind != kibNone && slot.kind != kibSystemMenu)) continue;
    layout.rects[i] = Rect(x, origin.y, x + slot.width, origin.y + tallest);
    x += slot.width;
  }
  layout.width = x - origin.x;
  // The child's caption buttons sit at the bar's right end in their fixed order.
  int right = std::max(barWidth, x);
  for (TTeItemButtonKind kind : {kibClose, kibRestore, kibMinimize}) {
    for (size_t i = 0; i < slots.size(); ++i) {
      if (!slots[i].shown || slots[i].kind != kind) continue;
      layout.rects[i] = Rect(right - slots[i].width, origin.y, right, origin.y + tallest);
      right -= slots[i].width;
      layout.width += slots[i].width;
    }
  }
  layout.height = tallest;
  return layout;
}

TPoint PlacePopup(const TRect& workArea, TPoint at, TSize size, const TRect* anchor, bool parentHorizontal) {
  int left = at.x, top = at.y;
  if (!anchor) {
    if (left + size.cx > workArea.right) left = at.x - size.cx;
    if (top + size.cy > workArea.bottom) top = at.y - size.cy;
  } else if (parentHorizontal) {
    left = anchor->left;
    top = anchor->bottom;
    if (left + size.cx > workArea.right) left = anchor->right - size.cx;
    if (top + size.cy > workArea.bottom) {
      top = anchor->top - size.cy;
      if (top < workArea.top) top = workArea.top;
    }
  } else {
    left = anchor->right;
    top = anchor->top;
    if (left + size.cx > workArea.right) left = anchor->left - size.cx;
    if (top + size.cy > workArea.bottom) top = anchor->bottom - size.cy;
  }
  left = std::min(left, workArea.right - size.cx);
  top = std::min(top, workArea.bottom - size.cy);
  // A level larger than the work area keeps its top-left corner on it.
  left = std::max(left, workArea.left);
  top = std::max(top, workArea.top);
  return {left, top};
}

int StepSelectable(const std::vector<bool>& selectable, int current, int step) {
  const int count = static_cast<int>(selectable.size());
  if (count == 0) return -1;
  int index = current;
  if (index < 0 || index >= count) index = step > 0 ? -1 : count;
  for (int tried = 0; tried < count; ++tried) {
    index = ((index + step) % count + count) % count;
    if (selectable[static_cast<size_t>(index)]) return index;
  }
  return -1;
}

int ScrollToShow(int first, int count, int total, int index) {
  count = std::max(1, count);
  if (index < first) first = index;
  if (index >= first + count) first = index - count + 1;
  return std::clamp(first, 0, std::max(0, total - count));
}

TShortCut ComposeShortCut(unsigned keyCode, bool shift, bool ctrl, bool alt) {
  TShortCut shortCut = static_cast<TShortCut>(keyCode & 0xFF);
  if (shift) shortCut |= kscShift;
  if (ctrl) shortCut |= kscCtrl;
  if (alt) shortCut |= kscAlt;
  return shortCut;
}

}  // namespace hv
