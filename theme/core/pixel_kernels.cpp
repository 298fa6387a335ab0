#include "theme/core/pixel_kernels.h"

#include <algorithm>
#include <cstdlib>

#if defined(__i386__) || defined(__x86_64__)
#define HV_HAVE_SSE2_KERNELS 1
#include <cpuid.h>
#include <emmintrin.h>
#endif

namespace hv::pixel_kernels {

namespace {

// BlendPixel without branches: weight 256 scales a pixel exactly, so the
// weights (256, 0) for alpha 255 and (0, 256) for alpha 0 give the two
// special cases from the same arithmetic. Skins mix the three kinds of
// pixels too irregularly for a branch to be predicted well.
inline uint32_t BlendPixelBranchless(uint32_t top, uint32_t bottom) {
  const uint32_t alpha = top >> 24;
  const uint32_t wTop = alpha + ((alpha + 1) >> 8);
  const uint32_t wBottom = 255 - alpha + ((256 - alpha) >> 8);
  return ScaleChannels(wTop, top) + ScaleChannels(wBottom, bottom);
}

void BlendRowScalar(uint32_t* dst, const uint32_t* src, int count) {
  for (int i = 0; i < count; ++i) dst[i] = BlendPixelBranchless(src[i], dst[i]);
}

void UnderlayRowScalar(uint32_t* dst, const uint32_t* src, int count) {
  for (int i = 0; i < count; ++i) dst[i] = BlendPixelBranchless(dst[i], src[i]);
}

void KeyedRowScalar(uint32_t* dst, const uint32_t* src, int count, uint32_t keyRgb) {
  for (int i = 0; i < count; ++i) {
    const uint32_t s = src[i];
    const uint32_t d = dst[i];
    dst[i] = (s & 0x00FFFFFFu) == keyRgb ? d : s;
  }
}

void BlendFillRowScalar(uint32_t* dst, uint32_t value, int count) {
  const uint32_t alpha = value >> 24;
  const uint32_t top = ScaleChannels(alpha, value);
  const uint32_t beta = 255 - alpha;
  for (int i = 0; i < count; ++i) dst[i] = top + ScaleChannels(beta, dst[i]);
}

void FillRowScalar(uint32_t* dst, uint32_t value, int count) { std::fill(dst, dst + count, value); }

// Red, green and blue of every pixel whose alpha is not 0 moved by delta
// with clamping; alpha kept.
void BrightnessRowScalar(uint32_t* row, int count, int delta) {
  delta = ChannelDelta(delta);
  for (int i = 0; i < count; ++i) {
    const uint32_t p = row[i];
    if ((p >> 24) == 0) continue;
    row[i] = (p & 0xFF000000u) | (MakeARGB(RedOf(p) + delta, GreenOf(p) + delta, BlueOf(p) + delta, 0));
  }
}

void SetAlphaRowScalar(uint32_t* row, int count, uint8_t alpha) {
  const uint32_t a = static_cast<uint32_t>(alpha) << 24;
  for (int i = 0; i < count; ++i) row[i] = (row[i] & 0x00FFFFFFu) | a;
}

void ExpandRowScalar(uint32_t* dst, const uint8_t* indices, int count, const uint32_t* table) {
  for (int i = 0; i < count; ++i) dst[i] = table[indices[i]];
}

int HueLookupRowScalar(uint32_t* row, int count, const uint32_t* slots) {
  for (int i = 0; i < count; ++i) {
    const uint32_t p = row[i];
    const uint32_t alpha = p & 0xFF000000u;
    if (alpha == 0) continue;
    uint32_t shifted = 0;
    if (!FindHue(slots, p & 0x00FFFFFFu, shifted)) return i;
    row[i] = alpha | shifted;
  }
  return count;
}

#if HV_HAVE_SSE2_KERNELS

// The 32-bit Windows ABI only promises a 4-byte aligned stack; SSE spills
// need 16, so the entry points realign it themselves.
#if defined(__i386__)
#define HV_SSE2 __attribute__((target("sse2"), force_align_arg_pointer))
#else
#define HV_SSE2 __attribute__((target("sse2")))
#endif
#define HV_SSE2_INLINE __attribute__((target("sse2"), always_inline)) inline

// (w * c + 128) >> 8 for the eight 16-bit channels of two pixels: the same
// rounding as ScaleChannels, and w * c + 128 never exceeds 16 bits.
HV_SSE2_INLINE __m128i Scale16(__m128i channels, __m128i weights) {
  const __m128i half = _mm_set1_epi16(0x80);
  return _mm_srli_epi16(_mm_add_epi16(_mm_mullo_epi16(channels, weights), half), 8);
}

// BlendPixel(top[i], bottom[i]) for four pixels.
HV_SSE2_INLINE __m128i Blend4(__m128i top, __m128i bottom) {
  const __m128i zero = _mm_setzero_si128();
  const __m128i alpha = _mm_srli_epi32(top, 24);
  const __m128i alpha2 = _mm_or_si128(alpha, _mm_slli_epi32(alpha, 16));  // alpha in both 16-bit halves
  const __m128i alphaLo = _mm_unpacklo_epi32(alpha2, alpha2);             // pixels 0, 1: alpha in 4 lanes each
  const __m128i alphaHi = _mm_unpackhi_epi32(alpha2, alpha2);
  const __m128i full = _mm_set1_epi16(255);
  const __m128i lo = _mm_add_epi16(Scale16(_mm_unpacklo_epi8(top, zero), alphaLo),
                                   Scale16(_mm_unpacklo_epi8(bottom, zero), _mm_sub_epi16(full, alphaLo)));
  const __m128i hi = _mm_add_epi16(Scale16(_mm_unpackhi_epi8(top, zero), alphaHi),
                                   Scale16(_mm_unpackhi_epi8(bottom, zero), _mm_sub_epi16(full, alphaHi)));
  // The sum of the two rounded parts never exceeds 255, so packing does not
  // saturate anything.
  __m128i blended = _mm_packus_epi16(lo, hi);
  const __m128i opaque = _mm_cmpeq_epi32(alpha, _mm_set1_epi32(255));
  const __m128i clear = _mm_cmpeq_epi32(alpha, zero);
  blended = _mm_or_si128(_mm_and_si128(opaque, top), _mm_andnot_si128(opaque, blended));
  return _mm_or_si128(_mm_and_si128(clear, bottom), _mm_andnot_si128(clear, blended));
}

HV_SSE2_INLINE __m128i Load(const uint32_t* p) { return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p)); }
HV_SSE2_INLINE void Store(uint32_t* p, __m128i v) { _mm_storeu_si128(reinterpret_cast<__m128i*>(p), v); }

// Skins are mostly large opaque or keyed-out areas, so blocks of sixteen
// pixels that are all opaque or all clear skip the arithmetic. Sixteen
// rather than four: on irregular content a block almost never qualifies,
// so the test costs no mispredicted branches there.
HV_SSE2 void BlendRowSse2(uint32_t* dst, const uint32_t* src, int count) {
  const __m128i alphaMask = _mm_set1_epi32(static_cast<int>(0xFF000000u));
  int i = 0;
  for (; i + 16 <= count; i += 16) {
    const __m128i s0 = Load(src + i), s1 = Load(src + i + 4), s2 = Load(src + i + 8), s3 = Load(src + i + 12);
    const __m128i all = _mm_and_si128(_mm_and_si128(s0, s1), _mm_and_si128(s2, s3));
    if (_mm_movemask_epi8(_mm_cmpeq_epi32(_mm_and_si128(all, alphaMask), alphaMask)) == 0xFFFF) {
      Store(dst + i, s0);
      Store(dst + i + 4, s1);
      Store(dst + i + 8, s2);
      Store(dst + i + 12, s3);
      continue;
    }
    const __m128i any = _mm_or_si128(_mm_or_si128(s0, s1), _mm_or_si128(s2, s3));
    if (_mm_movemask_epi8(_mm_cmpeq_epi32(_mm_and_si128(any, alphaMask), _mm_setzero_si128())) == 0xFFFF) continue;
    Store(dst + i, Blend4(s0, Load(dst + i)));
    Store(dst + i + 4, Blend4(s1, Load(dst + i + 4)));
    Store(dst + i + 8, Blend4(s2, Load(dst + i + 8)));
    Store(dst + i + 12, Blend4(s3, Load(dst + i + 12)));
  }
  for (; i + 4 <= count; i += 4) Store(dst + i, Blend4(Load(src + i), Load(dst + i)));
  BlendRowScalar(dst + i, src + i, count - i);
}

HV_SSE2 void UnderlayRowSse2(uint32_t* dst, const uint32_t* src, int count) {
  const __m128i alphaMask = _mm_set1_epi32(static_cast<int>(0xFF000000u));
  int i = 0;
  for (; i + 16 <= count; i += 16) {
    const __m128i d0 = Load(dst + i), d1 = Load(dst + i + 4), d2 = Load(dst + i + 8), d3 = Load(dst + i + 12);
    const __m128i all = _mm_and_si128(_mm_and_si128(d0, d1), _mm_and_si128(d2, d3));
    if (_mm_movemask_epi8(_mm_cmpeq_epi32(_mm_and_si128(all, alphaMask), alphaMask)) == 0xFFFF) continue;
    Store(dst + i, Blend4(d0, Load(src + i)));
    Store(dst + i + 4, Blend4(d1, Load(src + i + 4)));
    Store(dst + i + 8, Blend4(d2, Load(src + i + 8)));
    Store(dst + i + 12, Blend4(d3, Load(src + i + 12)));
  }
  for (; i + 4 <= count; i += 4) Store(dst + i, Blend4(Load(dst + i), Load(src + i)));
  UnderlayRowScalar(dst + i, src + i, count - i);
}

HV_SSE2 void KeyedRowSse2(uint32_t* dst, const uint32_t* src, int count, uint32_t keyRgb) {
  const __m128i rgbMask = _mm_set1_epi32(0x00FFFFFF);
  const __m128i key = _mm_set1_epi32(static_cast<int>(keyRgb));
  int i = 0;
  for (; i + 4 <= count; i += 4) {
    const __m128i s = Load(src + i);
    const __m128i keyed = _mm_cmpeq_epi32(_mm_and_si128(s, rgbMask), key);
    Store(dst + i, _mm_or_si128(_mm_and_si128(keyed, Load(dst + i)), _mm_andnot_si128(keyed, s)));
  }
  KeyedRowScalar(dst + i, src + i, count - i, keyRgb);
}

HV_SSE2 void BlendFillRowSse2(uint32_t* dst, uint32_t value, int count) {
  const __m128i top = _mm_set1_epi32(static_cast<int>(value));
  int i = 0;
  for (; i + 4 <= count; i += 4) Store(dst + i, Blend4(top, Load(dst + i)));
  BlendFillRowScalar(dst + i, value, count - i);
}

// The 32-bit build may not assume SSE2, so a plain fill stores 4 bytes at a
// time; 16 at a time is what makes it as fast as a copy.
HV_SSE2 void FillRowSse2(uint32_t* dst, uint32_t value, int count) {
  const __m128i v = _mm_set1_epi32(static_cast<int>(value));
  int i = 0;
  // Pixels are 4-byte aligned: a few single stores reach a 16-byte boundary.
  for (; i < count && (reinterpret_cast<uintptr_t>(dst + i) & 15) != 0; ++i) dst[i] = value;
  for (; i + 16 <= count; i += 16) {
    auto* p = reinterpret_cast<__m128i*>(dst + i);
    _mm_store_si128(p, v);
    _mm_store_si128(p + 1, v);
    _mm_store_si128(p + 2, v);
    _mm_store_si128(p + 3, v);
  }
  for (; i + 4 <= count; i += 4) Store(dst + i, v);
  FillRowScalar(dst + i, value, count - i);
}

// Saturating byte arithmetic is exactly the clamped channel shift; the
// alpha byte gets a zero delta, and pixels with alpha 0 are put back.
HV_SSE2 void BrightnessRowSse2(uint32_t* row, int count, int delta) {
  const int amount = std::min(std::abs(ChannelDelta(delta)), 255);
  const __m128i step = _mm_set1_epi32(static_cast<int>(static_cast<uint32_t>(amount) * 0x010101u));
  const __m128i alphaMask = _mm_set1_epi32(static_cast<int>(0xFF000000u));
  const __m128i zero = _mm_setzero_si128();
  int i = 0;
  for (; i + 4 <= count; i += 4) {
    const __m128i p = Load(row + i);
    const __m128i shifted = delta > 0 ? _mm_adds_epu8(p, step) : _mm_subs_epu8(p, step);
    const __m128i clear = _mm_cmpeq_epi32(_mm_and_si128(p, alphaMask), zero);
    Store(row + i, _mm_or_si128(_mm_and_si128(clear, p), _mm_andnot_si128(clear, shifted)));
  }
  BrightnessRowScalar(row + i, count - i, delta);
}

HV_SSE2 void SetAlphaRowSse2(uint32_t* row, int count, uint8_t alpha) {
  const __m128i rgbMask = _mm_set1_epi32(0x00FFFFFF);
  const __m128i a = _mm_set1_epi32(static_cast<int>(static_cast<uint32_t>(alpha) << 24));
  int i = 0;
  for (; i + 4 <= count; i += 4) Store(row + i, _mm_or_si128(_mm_and_si128(Load(row + i), rgbMask), a));
  SetAlphaRowScalar(row + i, count - i, alpha);
}

// SSE2 has no gather and no 32-bit multiply: the table lookups stay scalar.
constexpr TRowKernels kSse2 = {&BlendRowSse2,      &UnderlayRowSse2, &KeyedRowSse2,    &BlendFillRowSse2,
                               &FillRowSse2,       &BrightnessRowSse2, &SetAlphaRowSse2, &ExpandRowScalar,
                               &HueLookupRowScalar};

#endif  // HV_HAVE_SSE2_KERNELS

}  // namespace

const TRowKernels kScalarKernels = {&BlendRowScalar,     &UnderlayRowScalar,  &KeyedRowScalar,
                                    &BlendFillRowScalar, &FillRowScalar,      &BrightnessRowScalar,
                                    &SetAlphaRowScalar,  &ExpandRowScalar,    &HueLookupRowScalar};

#if HV_HAVE_SSE2_KERNELS
const TRowKernels* const kSse2Kernels = &kSse2;
#else
const TRowKernels* const kSse2Kernels = nullptr;
#endif

namespace {

// What kppAuto runs: the widest form of each operation, except where a
// narrower one is faster. AVX2's gathers lose to one load per pixel in both
// table lookups, the palette expansion and the hue cache (pixels_bench,
// 1024 x 768 under wine64: expansion 2,290 Mpx/s gathered against 3,400,
// hue shift 314 against 490), so those two take the SSE2 path's forms.
const TRowKernels& AutomaticKernels() {
  static const TRowKernels chosen = [] {
    TRowKernels kernels = Kernels(WidestPixelPath());
    const TRowKernels& lookups = Kernels(kppSse2);
    kernels.expand = lookups.expand;
    kernels.hueLookup = lookups.hueLookup;
    return kernels;
  }();
  return chosen;
}

}  // namespace

const TRowKernels& Kernels(TPixelPath path) {
  if (path == kppAuto) return AutomaticKernels();
  if (path == kppAvx2 && kAvx2Kernels && Avx2Available()) return *kAvx2Kernels;
#if HV_HAVE_SSE2_KERNELS
  if (path != kppScalar && Sse2Available()) return kSse2;
#endif
  return kScalarKernels;
}

}  // namespace hv::pixel_kernels

namespace hv {

bool Sse2Available() {
#if defined(__x86_64__)
  return true;
#elif defined(__i386__)
  static const bool available = [] {
    __builtin_cpu_init();
    return __builtin_cpu_supports("sse2") != 0;
  }();
  return available;
#else
  return false;
#endif
}

bool Avx2Available() {
#if HV_HAVE_SSE2_KERNELS
  static const bool available = [] {
    unsigned eax = 0, ebx = 0, ecx = 0, edx = 0;
    if (!__get_cpuid(1, &eax, &ebx, &ecx, &edx)) return false;
    constexpr unsigned kOsXsave = 1u << 27, kAvx = 1u << 28;
    if ((ecx & kOsXsave) == 0 || (ecx & kAvx) == 0) return false;
    // The processor may have AVX2 while the system does not save the upper
    // halves of the registers on a task switch: XCR0 must show both the SSE
    // and the AVX state as enabled.
    uint32_t xcr0Low = 0, xcr0High = 0;
    __asm__ volatile("xgetbv" : "=a"(xcr0Low), "=d"(xcr0High) : "c"(0));
    if ((xcr0Low & 6u) != 6u) return false;
    if (__get_cpuid_max(0, nullptr) < 7) return false;
    __cpuid_count(7, 0, eax, ebx, ecx, edx);
    constexpr unsigned kAvx2 = 1u << 5;
    return (ebx & kAvx2) != 0;
  }();
  return available;
#else
  return false;
#endif
}

TPixelPath WidestPixelPath() {
  static const TPixelPath widest = pixel_kernels::kAvx2Kernels && Avx2Available() ? kppAvx2
                                   : Sse2Available()                                 ? kppSse2
                                                                                     : kppScalar;
  return widest;
}

TRowWriters RowWriters(TPixelPath path) {
  const pixel_kernels::TRowKernels& kernels = pixel_kernels::Kernels(path);
  return {kernels.fill, kernels.expand};
}

}  // namespace hv
