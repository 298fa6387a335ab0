#pragma once
// The translucent look of a blended control: its own pixels mixed with the
// background under it at one opacity for the whole control. Portable.

#include <cstdint>

#include "framework/types.h"
#include "theme/core/pixels.h"

namespace hv {

// One channel of c at opacity alpha over background b:
// c * alpha / 255 + b * (255 - alpha) / 255, rounded to nearest.
constexpr uint32_t MixChannel(uint32_t c, uint32_t b, uint32_t alpha) {
  return (c * alpha + b * (255 - alpha) + 127) / 255;
}

// The pixel at opacity alpha over the background pixel, opaque.
constexpr uint32_t MixPixel(uint32_t pixel, uint32_t background, uint32_t alpha) {
  return 0xFF000000u | (MixChannel((pixel >> 16) & 0xFF, (background >> 16) & 0xFF, alpha) << 16) |
         (MixChannel((pixel >> 8) & 0xFF, (background >> 8) & 0xFF, alpha) << 8) |
         MixChannel(pixel & 0xFF, background & 0xFF, alpha);
}

// Every pixel of rect in target becomes MixPixel over the background pixel
// at the same place; rect is clipped to both buffers, so no rectangle makes
// the loop touch memory outside either.
void MixOverBackground(TPixelBuffer target, TConstPixelBuffer background, const TRect& rect, uint8_t alpha);

}  // namespace hv
