#pragma once
// Which boxes of a layout a stretch of the page touches, found without
// looking at them all: boxes are filed under the horizontal bands they
// reach into. Floats put boxes out of top-to-bottom order (a sidebar after
// the whole body it stands beside), so their order cannot serve. Portable.

#include <cstddef>
#include <cstdint>
#include <vector>

#include "pageview/htmllayout.h"

namespace hv::html {

class TBoxBands {
 public:
  void Build(const LayoutBoxes& boxes);
  // The indices, ascending, of the boxes reaching into [top, bottom); a few
  // more near it may come too.
  void Touching(int top, int bottom, std::vector<size_t>& out) const;

 private:
  static constexpr size_t kMaxBands = 1 << 16;
  static constexpr long long kMaxBandsPerBox = 8;  // taller boxes are looked at on every call
  long long top_ = 0;
  long long band_ = 512;
  std::vector<std::vector<uint32_t>> bands_;
  std::vector<uint32_t> tall_;
  std::vector<TRect> rects_;
};

}  // namespace hv::html
