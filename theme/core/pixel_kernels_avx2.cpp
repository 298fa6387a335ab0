// The AVX2 forms of the row loops: eight pixels per register. Every function
// here carries the target attribute instead of the whole file being built
// for AVX2, so that nothing of it (inline functions from headers included)
// can run on a processor without AVX2: the dispatcher calls in only after
// asking the processor and the system.

#include "theme/core/pixel_kernels.h"

#if defined(__i386__) || defined(__x86_64__)
#define HV_HAVE_AVX2_KERNELS 1
#include <immintrin.h>
#endif

namespace hv::pixel_kernels {

#if HV_HAVE_AVX2_KERNELS

namespace {

// The 32-bit Windows ABI promises a 4-byte aligned stack, the 64-bit one 16
// bytes; 256-bit spills want 32. The Windows builds assemble this file with
// unaligned vector moves only, so spills never fault whatever the stack.
#define HV_AVX2 __attribute__((target("avx2")))
#define HV_AVX2_INLINE __attribute__((target("avx2"), always_inline)) inline

HV_AVX2_INLINE __m256i Load(const uint32_t* p) { return _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p)); }
HV_AVX2_INLINE void Store(uint32_t* p, __m256i v) { _mm256_storeu_si256(reinterpret_cast<__m256i*>(p), v); }

// (w * c + 128) >> 8 for sixteen 16-bit channels: the rounding of
// ScaleChannels; w * c + 128 never exceeds 16 bits.
HV_AVX2_INLINE __m256i Scale16(__m256i channels, __m256i weights) {
  return _mm256_srli_epi16(_mm256_add_epi16(_mm256_mullo_epi16(channels, weights), _mm256_set1_epi16(0x80)), 8);
}

// BlendPixel(top[i], bottom[i]) for eight pixels. The unpacks work within
// each 128-bit half, and so do the alpha spreads, so the halves never mix.
HV_AVX2_INLINE __m256i Blend8(__m256i top, __m256i bottom) {
  const __m256i zero = _mm256_setzero_si256();
  const __m256i alpha = _mm256_srli_epi32(top, 24);
  const __m256i alpha2 = _mm256_or_si256(alpha, _mm256_slli_epi32(alpha, 16));
  const __m256i alphaLo = _mm256_unpacklo_epi32(alpha2, alpha2);
  const __m256i alphaHi = _mm256_unpackhi_epi32(alpha2, alpha2);
  const __m256i full = _mm256_set1_epi16(255);
  const __m256i lo =
      _mm256_add_epi16(Scale16(_mm256_unpacklo_epi8(top, zero), alphaLo),
                       Scale16(_mm256_unpacklo_epi8(bottom, zero), _mm256_sub_epi16(full, alphaLo)));
  const __m256i hi =
      _mm256_add_epi16(Scale16(_mm256_unpackhi_epi8(top, zero), alphaHi),
                       Scale16(_mm256_unpackhi_epi8(bottom, zero), _mm256_sub_epi16(full, alphaHi)));
  // The two rounded parts never sum past 255: packing saturates nothing.
  const __m256i blended = _mm256_packus_epi16(lo, hi);
  const __m256i opaque = _mm256_cmpeq_epi32(alpha, _mm256_set1_epi32(255));
  const __m256i clear = _mm256_cmpeq_epi32(alpha, zero);
  return _mm256_blendv_epi8(_mm256_blendv_epi8(blended, top, opaque), bottom, clear);
}

HV_AVX2_INLINE bool AllAlpha(__m256i a, __m256i b, uint32_t wanted) {
  const __m256i mask = _mm256_set1_epi32(static_cast<int>(0xFF000000u));
  const __m256i both = wanted ? _mm256_and_si256(a, b) : _mm256_or_si256(a, b);
  return _mm256_movemask_epi8(_mm256_cmpeq_epi32(_mm256_and_si256(both, mask),
                                                 _mm256_set1_epi32(static_cast<int>(wanted)))) == -1;
}

// Blocks of sixteen pixels that are all opaque or all clear skip the
// arithmetic, as in the SSE2 form: skins are mostly such areas.
HV_AVX2 void BlendRowAvx2(uint32_t* dst, const uint32_t* src, int count) {
  int i = 0;
  for (; i + 16 <= count; i += 16) {
    const __m256i s0 = Load(src + i), s1 = Load(src + i + 8);
    if (AllAlpha(s0, s1, 0xFF000000u)) {
      Store(dst + i, s0);
      Store(dst + i + 8, s1);
      continue;
    }
    if (AllAlpha(s0, s1, 0)) continue;
    Store(dst + i, Blend8(s0, Load(dst + i)));
    Store(dst + i + 8, Blend8(s1, Load(dst + i + 8)));
  }
  for (; i + 8 <= count; i += 8) Store(dst + i, Blend8(Load(src + i), Load(dst + i)));
  kScalarKernels.blend(dst + i, src + i, count - i);
}

HV_AVX2 void UnderlayRowAvx2(uint32_t* dst, const uint32_t* src, int count) {
  int i = 0;
  for (; i + 16 <= count; i += 16) {
    const __m256i d0 = Load(dst + i), d1 = Load(dst + i + 8);
    if (AllAlpha(d0, d1, 0xFF000000u)) continue;
    Store(dst + i, Blend8(d0, Load(src + i)));
    Store(dst + i + 8, Blend8(d1, Load(src + i + 8)));
  }
  for (; i + 8 <= count; i += 8) Store(dst + i, Blend8(Load(dst + i), Load(src + i)));
  kScalarKernels.underlay(dst + i, src + i, count - i);
}

HV_AVX2 void KeyedRowAvx2(uint32_t* dst, const uint32_t* src, int count, uint32_t keyRgb) {
  const __m256i rgbMask = _mm256_set1_epi32(0x00FFFFFF);
  const __m256i key = _mm256_set1_epi32(static_cast<int>(keyRgb));
  int i = 0;
  for (; i + 8 <= count; i += 8) {
    const __m256i s = Load(src + i);
    const __m256i keyed = _mm256_cmpeq_epi32(_mm256_and_si256(s, rgbMask), key);
    // Rows that are all source or all key need no read of the destination.
    const int mask = _mm256_movemask_epi8(keyed);
    if (mask == 0)
      Store(dst + i, s);
    else if (mask != -1)
      Store(dst + i, _mm256_blendv_epi8(s, Load(dst + i), keyed));
  }
  kScalarKernels.keyed(dst + i, src + i, count - i, keyRgb);
}

HV_AVX2 void BlendFillRowAvx2(uint32_t* dst, uint32_t value, int count) {
  const __m256i top = _mm256_set1_epi32(static_cast<int>(value));
  int i = 0;
  for (; i + 8 <= count; i += 8) Store(dst + i, Blend8(top, Load(dst + i)));
  kScalarKernels.blendFill(dst + i, value, count - i);
}

HV_AVX2 void FillRowAvx2(uint32_t* dst, uint32_t value, int count) {
  const __m256i v = _mm256_set1_epi32(static_cast<int>(value));
  int i = 0;
  if (count >= 16) {
    // One unaligned store covers the way to a 32-byte boundary.
    Store(dst, v);
    i = static_cast<int>((32 - (reinterpret_cast<uintptr_t>(dst) & 31)) & 31) / 4;
    for (; i + 32 <= count; i += 32) {
      auto* p = reinterpret_cast<__m256i*>(dst + i);
      _mm256_store_si256(p, v);
      _mm256_store_si256(p + 1, v);
      _mm256_store_si256(p + 2, v);
      _mm256_store_si256(p + 3, v);
    }
    for (; i + 8 <= count; i += 8) Store(dst + i, v);
    // The last eight pixels in one store, overlapping what is already set.
    if (i < count) Store(dst + count - 8, v);
    return;
  }
  for (; i + 8 <= count; i += 8) Store(dst + i, v);
  kScalarKernels.fill(dst + i, value, count - i);
}

HV_AVX2 void BrightnessRowAvx2(uint32_t* row, int count, int delta) {
  int amount = ChannelDelta(delta);
  amount = amount < 0 ? -amount : amount;
  if (amount > 255) amount = 255;
  const __m256i step = _mm256_set1_epi32(static_cast<int>(static_cast<uint32_t>(amount) * 0x010101u));
  const __m256i alphaMask = _mm256_set1_epi32(static_cast<int>(0xFF000000u));
  const __m256i zero = _mm256_setzero_si256();
  int i = 0;
  for (; i + 8 <= count; i += 8) {
    const __m256i p = Load(row + i);
    const __m256i shifted = delta > 0 ? _mm256_adds_epu8(p, step) : _mm256_subs_epu8(p, step);
    const __m256i clear = _mm256_cmpeq_epi32(_mm256_and_si256(p, alphaMask), zero);
    Store(row + i, _mm256_blendv_epi8(shifted, p, clear));
  }
  kScalarKernels.brightness(row + i, count - i, delta);
}

HV_AVX2 void SetAlphaRowAvx2(uint32_t* row, int count, uint8_t alpha) {
  const __m256i rgbMask = _mm256_set1_epi32(0x00FFFFFF);
  const __m256i a = _mm256_set1_epi32(static_cast<int>(static_cast<uint32_t>(alpha) << 24));
  int i = 0;
  for (; i + 8 <= count; i += 8) Store(row + i, _mm256_or_si256(_mm256_and_si256(Load(row + i), rgbMask), a));
  kScalarKernels.setAlpha(row + i, count - i, alpha);
}

HV_AVX2 void ExpandRowAvx2(uint32_t* dst, const uint8_t* indices, int count, const uint32_t* table) {
  const auto* base = reinterpret_cast<const int*>(table);
  int i = 0;
  for (; i + 8 <= count; i += 8) {
    const __m256i index = _mm256_cvtepu8_epi32(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(indices + i)));
    Store(dst + i, _mm256_i32gather_epi32(base, index, 4));
  }
  kScalarKernels.expand(dst + i, indices + i, count - i, table);
}

// Eight hashes and two gathers per eight pixels. A block with a colour that
// is not in its first slot is probed pixel by pixel here, inline: calling
// out of the vector code on every such colour costs more than the probe.
HV_AVX2 int HueLookupRowAvx2(uint32_t* row, int count, const uint32_t* slots) {
  const auto* base = reinterpret_cast<const int*>(slots);
  const __m256i rgbMask = _mm256_set1_epi32(0x00FFFFFF);
  const __m256i alphaMask = _mm256_set1_epi32(static_cast<int>(0xFF000000u));
  const __m256i tagBit = _mm256_set1_epi32(0x01000000);
  const __m256i factor = _mm256_set1_epi32(static_cast<int>(kHueHashFactor));
  const __m256i zero = _mm256_setzero_si256();
  int i = 0;
  for (; i + 8 <= count; i += 8) {
    const __m256i p = Load(row + i);
    const __m256i rgb = _mm256_and_si256(p, rgbMask);
    const __m256i alpha = _mm256_and_si256(p, alphaMask);
    const __m256i clear = _mm256_cmpeq_epi32(alpha, zero);
    const __m256i slot = _mm256_srli_epi32(_mm256_mullo_epi32(rgb, factor), 32 - kHueSlotBits);
    const __m256i pairIndex = _mm256_slli_epi32(slot, 1);
    const __m256i tag = _mm256_i32gather_epi32(base, pairIndex, 4);
    const __m256i found = _mm256_or_si256(_mm256_cmpeq_epi32(tag, _mm256_or_si256(rgb, tagBit)), clear);
    if (_mm256_movemask_epi8(found) != -1) {
      for (int j = i; j < i + 8; ++j) {
        const uint32_t pixel = row[j];
        const uint32_t alphaBits = pixel & 0xFF000000u;
        if (alphaBits == 0) continue;
        uint32_t shiftedRgb = 0;
        if (!FindHue(slots, pixel & 0x00FFFFFFu, shiftedRgb)) return j;
        row[j] = alphaBits | shiftedRgb;
      }
      continue;
    }
    const __m256i shifted = _mm256_i32gather_epi32(base, _mm256_add_epi32(pairIndex, _mm256_set1_epi32(1)), 4);
    Store(row + i, _mm256_blendv_epi8(_mm256_or_si256(alpha, shifted), p, clear));
  }
  const int stop = kScalarKernels.hueLookup(row + i, count - i, slots);
  return i + stop;
}

constexpr TRowKernels kAvx2 = {&BlendRowAvx2,      &UnderlayRowAvx2,  &KeyedRowAvx2,
                               &BlendFillRowAvx2,  &FillRowAvx2,      &BrightnessRowAvx2,
                               &SetAlphaRowAvx2,   &ExpandRowAvx2,    &HueLookupRowAvx2};

}  // namespace

const TRowKernels* const kAvx2Kernels = &kAvx2;

#else

const TRowKernels* const kAvx2Kernels = nullptr;

#endif  // HV_HAVE_AVX2_KERNELS

}  // namespace hv::pixel_kernels
