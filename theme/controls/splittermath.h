#pragma once
// The splitter's arithmetic without the controls: where it looks for the
// control it resizes, how far that control may grow, what size a mouse
// position gives and where the drag line lies. Portable.

#include <optional>
#include <vector>

#include "framework/align.h"
#include "framework/types.h"

namespace hv {

// Left and right splitters resize widths, top and bottom ones heights;
// others resize nothing.
bool SplitterResizesWidth(TAlign align);
bool SplitterResizes(TAlign align);

// The point one pixel outside the splitter on its aligned side, in the
// parent's client coordinates; none for other alignments.
std::optional<TPoint> SplitterProbePoint(TAlign splitterAlign, const TRect& splitterBounds);
// Whether a sibling's bounds contain the probe point; a sibling of no width
// or no height counts one pixel wide (high) towards the splitter's side.
bool SplitterNeighbourHit(TAlign splitterAlign, TRect siblingBounds, TPoint probe);

// How large the neighbour may grow: the parent's client extent less
// `minSize` less the extents of every control aligned on the resized axis
// (splitter and neighbour included), plus the neighbour's own.
int SplitterMaxSize(int clientExtent, int minSize, const std::vector<int>& alignedExtents, int neighbourExtent);

struct TSplitterStep {
  int split = 0;  // offset of the drag line from the splitter's position
  int size = 0;   // the neighbour's size for it
  bool operator==(const TSplitterStep&) const = default;
};

// The line's offset and the neighbour's size for a mouse position; the size
// stays within [minSize, maxSize] and the line stops where the size stops.
TSplitterStep SplitterStepFor(TAlign align, TPoint downPos, TPoint mouse, int neighbourSize, int minSize,
                              int maxSize);

// The neighbour's new bounds for a size: a bottom or right neighbour keeps
// its far edge and moves its near one.
TRect SplitterResizedBounds(TAlign align, const TRect& neighbourBounds, int newSize);

// The drag line: the splitter's rectangle moved by `split` along its axis.
TRect SplitterLineRect(TAlign align, const TRect& splitterBounds, int split);

}  // namespace hv
