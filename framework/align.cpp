#include "framework/align.h"

#include <algorithm>


namespace hv {

namespace {

// Whether `a` goes before `b` in the stacking order of alignment `align`.
bool Precedes(TAlign align, const TAlignItem& a, bool aMoved, const TAlignItem& b, bool bMoved) {
  int ka = 0, kb = 0;
  switch (align) {
    case TAlign::alTop: ka = a.bounds.top; kb = b.bounds.top; break;
    case TAlign::alBottom: ka = -a.bounds.bottom; kb = -b.bounds.bottom; break;
    case TAlign::alLeft: ka = a.bounds.left; kb = b.bounds.left; break;
    case TAlign::alRight: ka = -a.bounds.right; kb = -b.bounds.right; break;
    default: return false;
  }
  if (ka != kb) return ka < kb;
  return aMoved && !bMoved;
}

}  // namespace

TRect AlignItems(std::vector<TAlignItem>& items, TRect client, int moved) {
  const TAlign order[] = {TAlign::alTop, TAlign::alBottom, TAlign::alLeft, TAlign::alRight, TAlign::alClient};
  for (TAlign align : order) {
    std::vector<int> members;
    for (int i = 0; i < static_cast<int>(items.size()); ++i)
      if (items[static_cast<size_t>(i)].visible && items[static_cast<size_t>(i)].align == align) members.push_back(i);
    std::stable_sort(members.begin(), members.end(), [&](int a, int b) {
      return Precedes(align, items[static_cast<size_t>(a)], a == moved, items[static_cast<size_t>(b)], b == moved);
    });
    for (int index : members) {
      TRect& r = items[static_cast<size_t>(index)].bounds;
      int width = std::max(0, r.Width());
      int height = std::max(0, r.Height());
      int clientWidth = std::max(0, client.Width());
      int clientHeight = std::max(0, client.Height());
      switch (align) {
        case TAlign::alTop:
          r = Bounds(client.left, client.top, clientWidth, height);
          client.top += height;
          break;
        case TAlign::alBottom:
          r = Bounds(client.left, client.bottom - height, clientWidth, height);
          client.bottom -= height;
          break;
        case TAlign::alLeft:
          r = Bounds(client.left, client.top, width, clientHeight);
          client.left += width;
          break;
        case TAlign::alRight:
          r = Bounds(client.right - width, client.top, width, clientHeight);
          client.right -= width;
          break;
        case TAlign::alClient:
          r = Bounds(client.left, client.top, clientWidth, clientHeight);
          break;
        default:
          break;
      }
    }
  }
  return client;
}

}  // namespace hv
