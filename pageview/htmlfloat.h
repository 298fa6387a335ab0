#pragma once
// The floats of one formatting context: where the next one goes (as high
// as it fits, left floats stacking rightwards and right floats leftwards,
// never above one placed before it), how much room they leave a line
// beside them, and how far down `clear` moves. Rectangles are margin
// boxes, so a negative margin lets a float reach over its neighbour.
// Portable.

#include <climits>
#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

#include "pageview/htmldocument.h"

namespace hv::html::layout {

struct FloatArea {
  Float side = Float::Left;
  int left = 0, top = 0, right = 0, bottom = 0;  // the margin box; right < left when margins pull it narrower
  size_t serial = 0;                              // the order it was placed in
};

class FloatSet {
 public:
  bool Empty() const { return floats_.empty(); }

  // The stretch [left, right) a line running from `top` for `height`
  // pixels has between `left` and `right` once the floats beside it take
  // theirs; never less than nothing.
  std::pair<int, int> Band(int top, int height, int left, int right) const;

  // Puts a float whose margin box is `width` by `height` at or below `y`
  // within [left, right) and remembers it; its margin box.
  FloatArea Place(Float side, int width, int height, int y, int left, int right);

  // The y a box that clears `sides` starts at, at least `y`.
  int Clear(uint8_t sides, int y) const;
  // The nearest float bottom among the floats beside a line running from
  // `y` for `height` pixels, or INT_MAX when none narrows that line.
  int NextBottom(int y, int height) const;
  // The lowest bottom of the floats placed since `serial` was Serial().
  int LowestSince(size_t serial, int otherwise) const;
  size_t Serial() const { return serial_; }

  // However many floats a page stacks, a line looks at no more than this;
  // the oldest give way, those ended above the lines first.
  static constexpr size_t kMaxActive = 64;

 private:
  void Prune(int y);

  std::vector<FloatArea> floats_;
  int floor_ = INT_MIN;  // the top of the last float placed: none goes higher
  size_t serial_ = 0;
};

}  // namespace hv::html::layout
