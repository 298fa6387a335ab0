#include "theme/controls/splittermath.h"

#include <algorithm>

namespace hv {

bool SplitterResizesWidth(TAlign align) { return align == TAlign::alLeft || align == TAlign::alRight; }

bool SplitterResizes(TAlign align) {
  return SplitterResizesWidth(align) || align == TAlign::alTop || align == TAlign::alBottom;
}

std::optional<TPoint> SplitterProbePoint(TAlign splitterAlign, const TRect& b) {
  switch (splitterAlign) {
    case TAlign::alTop: return TPoint{b.left, b.top - 1};
    case TAlign::alBottom: return TPoint{b.left, b.top + b.Height()};
    case TAlign::alLeft: return TPoint{b.left - 1, b.top};
    case TAlign::alRight: return TPoint{b.left + b.Width(), b.top};
    default: return std::nullopt;
  }
}

bool SplitterNeighbourHit(TAlign splitterAlign, TRect r, TPoint probe) {
  const bool towardsStart = splitterAlign == TAlign::alTop || splitterAlign == TAlign::alLeft;
  if (r.Width() == 0) (towardsStart ? r.left : r.right) += towardsStart ? -1 : 1;
  if (r.Height() == 0) (towardsStart ? r.top : r.bottom) += towardsStart ? -1 : 1;
  return r.Contains(probe);
}

int SplitterMaxSize(int clientExtent, int minSize, const std::vector<int>& alignedExtents, int neighbourExtent) {
  long long size = static_cast<long long>(clientExtent) - minSize + neighbourExtent;
  for (int extent : alignedExtents) size -= extent;
  return static_cast<int>(std::clamp<long long>(size, -1'000'000'000, 1'000'000'000));
}

TSplitterStep SplitterStepFor(TAlign align, TPoint downPos, TPoint mouse, int neighbourSize, int minSize,
                              int maxSize) {
  TSplitterStep step;
  const bool horizontal = SplitterResizesWidth(align);
  step.split = horizontal ? mouse.x - downPos.x : mouse.y - downPos.y;
  const bool growsBackwards = align == TAlign::alBottom || align == TAlign::alRight;
  const int raw = growsBackwards ? neighbourSize - step.split : neighbourSize + step.split;
  // With less room than the minimum the minimum wins: the neighbour never
  // goes below it.
  const int clamped = std::max(std::min(raw, maxSize), minSize);
  step.split += growsBackwards ? raw - clamped : clamped - raw;
  step.size = clamped;
  return step;
}

TRect SplitterResizedBounds(TAlign align, const TRect& b, int newSize) {
  switch (align) {
    case TAlign::alTop: return Bounds(b.left, b.top, b.Width(), newSize);
    case TAlign::alBottom: return Bounds(b.left, b.top + b.Height() - newSize, b.Width(), newSize);
    case TAlign::alLeft: return Bounds(b.left, b.top, newSize, b.Height());
    case TAlign::alRight: return Bounds(b.left + b.Width() - newSize, b.top, newSize, b.Height());
    default: return b;
  }
}

TRect SplitterLineRect(TAlign align, const TRect& b, int split) {
  return SplitterResizesWidth(align) ? b.Offset(split, 0) : b.Offset(0, split);
}

}  // namespace hv
