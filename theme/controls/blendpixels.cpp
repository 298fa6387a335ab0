#include "theme/controls/blendpixels.h"

#include <algorithm>

namespace hv {

void MixOverBackground(TPixelBuffer target, TConstPixelBuffer background, const TRect& rect, uint8_t alpha) {
  if (target.IsEmpty() || background.IsEmpty()) return;
  const int left = std::max({rect.left, 0});
  const int top = std::max({rect.top, 0});
  const int right = std::min({rect.right, target.width, background.width});
  const int bottom = std::min({rect.bottom, target.height, background.height});
  for (int y = top; y < bottom; ++y) {
    uint32_t* row = target.Row(y);
    const uint32_t* under = background.Row(y);
    for (int x = left; x < right; ++x) row[x] = MixPixel(row[x], under[x], alpha);
  }
}

}  // namespace hv
