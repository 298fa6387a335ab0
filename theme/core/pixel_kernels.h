#pragma once
// Row loops shared by the pixel operations, in a scalar, an SSE2 and an AVX2
// form that must agree bit for bit. Which one runs is decided at run time
// from what the processor and the system support, so one executable runs
// everywhere and uses the widest registers it may. Internal to theme/core
// (and its tests).

#include <cstdint>

#include "theme/core/pixels.h"

namespace hv::pixel_kernels {

// The colour cache of the hue shift: kHueSlots pairs of (tag, shifted
// colour), tag = colour | 0x01000000 (0 marks an empty slot), a colour's
// first slot at HueSlot(colour).
constexpr int kHueSlotBits = 11;
constexpr uint32_t kHueSlots = 1u << kHueSlotBits;
constexpr uint32_t kHueHashFactor = 0x9E3779B1u;
constexpr uint32_t HueSlot(uint32_t rgb) { return (rgb * kHueHashFactor) >> (32 - kHueSlotBits); }
constexpr uint32_t HueTag(uint32_t rgb) { return rgb | 0x01000000u; }

// The shifted colour of rgb when the cache holds it, probing from its first
// slot on; false when it does not. The cache is never more than half full,
// so an empty slot always ends the probe.
inline bool FindHue(const uint32_t* slots, uint32_t rgb, uint32_t& shifted) {
  const uint32_t tag = HueTag(rgb);
  for (uint32_t i = HueSlot(rgb);; i = (i + 1) & (kHueSlots - 1)) {
    const uint32_t found = slots[2 * i];
    if (found == tag) {
      shifted = slots[2 * i + 1];
      return true;
    }
    if (found == 0) return false;
  }
}

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
  // row[i]'s alpha byte := alpha
  void (*setAlpha)(uint32_t* row, int count, uint8_t alpha);
  // dst[i] := table[indices[i]]: 8-bit images through their palette
  void (*expand)(uint32_t* dst, const uint8_t* indices, int count, const uint32_t* table);
  // From the start of the row, every pixel with alpha 0 is passed over and
  // every other one whose colour the hue cache `slots` holds takes the
  // shifted colour (alpha kept). Stops at the first pixel whose colour the
  // cache lacks, and answers its position (count when none).
  int (*hueLookup)(uint32_t* row, int count, const uint32_t* slots);
};

extern const TRowKernels kScalarKernels;
// Null where the build has no such form (not an x86 processor).
extern const TRowKernels* const kSse2Kernels;
extern const TRowKernels* const kAvx2Kernels;

// The kernels a path stands for on this processor: kppAuto is the fastest
// form of each operation (the widest available, but for the table lookups,
// where gathers lose to plain loads), a path the processor or system cannot
// run falls back to the next narrower one.
const TRowKernels& Kernels(TPixelPath path);

}  // namespace hv::pixel_kernels
