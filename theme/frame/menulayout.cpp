#include "theme/frame/menulayout.h"

#include <algorithm>
#include <limits>

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
  auto isButton = [](const TMenuSlot& slot) { return slot.kind != kibNone && slot.kind != kibSystemMenu; };
  int buttons = 0;
  for (const TMenuSlot& slot : slots)
    if (slot.shown && isButton(slot)) buttons += slot.width;
  // A bar too narrow for its items wraps them onto further rows; the
  // child's caption buttons keep their room on the first row.
  const int limit = barWidth > 0 ? barWidth - buttons : std::numeric_limits<int>::max();
  std::vector<int> row(slots.size(), -1), left(slots.size(), 0);
  std::vector<int> rowHeight{0};
  int x = origin.x, widest = 0;
  for (size_t i = 0; i < slots.size(); ++i) {
    const TMenuSlot& slot = slots[i];
    if (!slot.shown || isButton(slot)) continue;
    if (x > origin.x && x + slot.width > limit) {
      widest = std::max(widest, x - origin.x);
      x = origin.x;
      rowHeight.push_back(0);
    }
    row[i] = static_cast<int>(rowHeight.size()) - 1;
    left[i] = x;
    x += slot.width;
    rowHeight.back() = std::max(rowHeight.back(), slot.height);
  }
  widest = std::max(widest, x - origin.x);
  for (const TMenuSlot& slot : slots)
    if (slot.shown && isButton(slot)) rowHeight.front() = std::max(rowHeight.front(), slot.height);
  std::vector<int> top(rowHeight.size());
  int y = origin.y;
  for (size_t r = 0; r < rowHeight.size(); ++r) {
    top[r] = y;
    y += rowHeight[r];
  }
  for (size_t i = 0; i < slots.size(); ++i) {
    if (row[i] < 0) continue;
    const auto r = static_cast<size_t>(row[i]);
    layout.rects[i] = Rect(left[i], top[r], left[i] + slots[i].width, top[r] + rowHeight[r]);
  }
  layout.width = widest;
  // The child's caption buttons sit at the bar's right end in their fixed order.
  int right = std::max(barWidth, origin.x + widest + buttons);
  for (TTeItemButtonKind kind : {kibClose, kibRestore, kibMinimize}) {
    for (size_t i = 0; i < slots.size(); ++i) {
      if (!slots[i].shown || slots[i].kind != kind) continue;
      layout.rects[i] = Rect(right - slots[i].width, origin.y, right, origin.y + rowHeight.front());
      right -= slots[i].width;
      layout.width += slots[i].width;
    }
  }
  layout.height = y - origin.y;
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

TRect MirrorInBand(const TRect& rect, int left, int right) {
  if (rect.IsEmpty()) return rect;
  return Rect(left + right - rect.right, rect.top, left + right - rect.left, rect.bottom);
}

TShortCut ComposeShortCut(unsigned keyCode, bool shift, bool ctrl, bool alt) {
  TShortCut shortCut = static_cast<TShortCut>(keyCode & 0xFF);
  if (shift) shortCut |= kscShift;
  if (ctrl) shortCut |= kscCtrl;
  if (alt) shortCut |= kscAlt;
  return shortCut;
}

}  // namespace hv
