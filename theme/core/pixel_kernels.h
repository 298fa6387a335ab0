#pragma once
// Row loops shared by the pixel operations, in a scalar and an SSE2 form
// that must agree bit for bit. Internal to theme/core (and its tests).

#include <cstdint>

#include "theme/core/pixels.h"

namespace hv::pixel_kernels {

struct TRowKernels {
  // dst[i] := BlendPixel(src[i], dst[i])
  void (*blend)(uint32_t* dst, const uint32_t* src, int count);
  // dst[i] := BlendPixel(dst[i], src[i])
  void (*underlay)(uint32_t* dst, const uint32_t* src, int count);
  // dst[i] := src[i] unless src[i]'s red, green and blue equal keyRgb
  void (*keyed)(uint32_t* dst, const uint32_t* src, int count, uint32_t keyRgb);
  // dst[i] := BlendPixel(value, dst[i]), value's alpha neither 0 nor 255
  void (*blendFill)(uint32_t* dst, uint32_t value, int count);
  // dst[i] := value
  void (*fill)(uint32_t* dst, uint32_t value, int count);
  // row[i]'s red, green and blue shifted by delta, clamped; alpha kept;
  // pixels with alpha 0 untouched
  void (*brightness)(uint32_t* row, int count, int delta);
};

extern const TRowKernels kScalarKernels;
// Null where the build has no SSE2 form.
extern const TRowKernels* const kSse2Kernels;

// The kernels a path stands for on this processor.
const TRowKernels& Kernels(TPixelPath path);

}  // namespace hv::pixel_kernels
