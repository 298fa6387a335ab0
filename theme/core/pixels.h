#pragma once
// The pixel loops behind TTeBitmap, over raw 32-bit ARGB memory: fills,
// alpha operations, colour keying, hue and brightness shifts, and copies
// (plain, keyed, alpha-blended, stretched, tiled, nine-sliced, underlaid).
// Every operation clips against both buffers itself: no rectangle, however
// far outside, makes a loop touch memory outside either buffer. Portable.

#include <cstdint>

#include "framework/types.h"
#include "theme/core/colors.h"

namespace hv {

// A view of pixel memory: rows of `stride` pixels, the first `width` of each
// in use, top row first. A view without bits or with a non-positive size is
// empty and every operation on it does nothing.
struct TPixelBuffer {
  uint32_t* bits = nullptr;
  int width = 0;
  int height = 0;
  int stride = 0;

  bool IsEmpty() const { return bits == nullptr || width <= 0 || height <= 0 || stride < width; }
  TRect Bounds() const { return {0, 0, width, height}; }
  uint32_t* Row(int y) const { return bits + static_cast<ptrdiff_t>(y) * stride; }
};

struct TConstPixelBuffer {
  const uint32_t* bits = nullptr;
  int width = 0;
  int height = 0;
  int stride = 0;

  TConstPixelBuffer() = default;
  TConstPixelBuffer(const uint32_t* b, int w, int h, int s) : bits(b), width(w), height(h), stride(s) {}
  TConstPixelBuffer(const TPixelBuffer& b) : bits(b.bits), width(b.width), height(b.height), stride(b.stride) {}

  bool IsEmpty() const { return bits == nullptr || width <= 0 || height <= 0 || stride < width; }
  TRect Bounds() const { return {0, 0, width, height}; }
  const uint32_t* Row(int y) const { return bits + static_cast<ptrdiff_t>(y) * stride; }
};

// Which implementation of the vectorisable loops runs. kppAuto takes the
// widest the processor and the system support (AVX2, else SSE2, else plain
// code); a path asked for by name falls back to the next narrower one where
// it cannot run. Every path gives the same pixels bit for bit.
enum TPixelPath : uint8_t { kppAuto, kppScalar, kppSse2, kppAvx2 };
bool Sse2Available();
// AVX2 in the processor and its 256-bit registers saved by the system.
bool Avx2Available();
// The path kppAuto stands for here.
TPixelPath WidestPixelPath();

// Each channel of p times w / 256, rounded; two channels per multiplication.
constexpr uint32_t ScaleChannels(uint32_t w, uint32_t p) {
  return (((w * (p & 0x00FF00FFu) + 0x00800080u) >> 8) & 0x00FF00FFu) |
         ((w * ((p >> 8) & 0x00FF00FFu) + 0x00800080u) & 0xFF00FF00u);
}

// a over b with a's alpha; the alpha byte is blended like a colour.
constexpr uint32_t BlendPixel(uint32_t a, uint32_t b) {
  const uint32_t alpha = a >> 24;
  if (alpha == 255) return a;
  if (alpha == 0) return b;
  return ScaleChannels(alpha, a) + ScaleChannels(255 - alpha, b);
}

// Red, green and blue each closer than this to the key's make a pixel keyed.
constexpr int kTransparentTolerance = 6;

// --- whole-buffer and rectangle operations ---------------------------------

void FillPixels(TPixelBuffer dst, uint32_t value);
// Without blending every pixel of rect becomes value; with it value is
// blended over each pixel (BlendPixel).
void FillRectPixels(TPixelBuffer dst, const TRect& rect, uint32_t value, bool alphaBlend, TPixelPath path = kppAuto);
void SetAlphaPixels(TPixelBuffer dst, uint8_t alpha, TPixelPath path = kppAuto);
void SetAlphaRectPixels(TPixelBuffer dst, uint8_t alpha, const TRect& rect, TPixelPath path = kppAuto);
// Pixels within the tolerance of key (alpha ignored) become the marker.
void MakeTransparentPixels(TPixelBuffer dst, uint32_t key);
// The pixel at (x, y), or opaque black outside the buffer.
uint32_t GetPixelAt(TConstPixelBuffer src, int x, int y);

// ShiftHue / ShiftBrightness on every pixel whose alpha is not 0; the alpha
// byte is kept, so translucent pixels stay translucent. A zero delta changes
// nothing (an untinted skin stays exactly as decoded). Each distinct colour
// is converted once per call, which makes palette-born images cheap.
void HueShiftPixels(TPixelBuffer dst, int delta, TPixelPath path = kppAuto);
void BrightnessShiftPixels(TPixelBuffer dst, int delta, TPixelPath path = kppAuto);

// The one-pixel checkerboard of FillDither over rect (negative left and top
// count from 0), anchored at the buffer's origin.
void FillDitherPixels(TPixelBuffer dst, const TRect& rect, uint32_t back, uint32_t dot);

// The frame-control renderer draws its glyphs in black on white: black
// pixels (value 0) become glyph, every other pixel the transparent marker.
void RecolorGlyphPixels(TPixelBuffer dst, uint32_t glyph);
// Text drawn into a buffer of the target's size turned on its side (src is
// dst.height wide and dst.width high) is turned upright into dst; marker
// pixels are left out. Clockwise: src (x, y) goes to dst column
// dst.width - 1 - y of row x; otherwise to column y of row dst.height - 1 - x.
void RotatePixels(TPixelBuffer dst, TConstPixelBuffer src, bool clockwise);

// The row writers of a path, for decoders that produce an image run by run
// and want no dispatch per run: fill writes `count` copies of value, expand
// writes table[indices[i]] (8-bit images through their palette).
struct TRowWriters {
  void (*fill)(uint32_t* dst, uint32_t value, int count);
  void (*expand)(uint32_t* dst, const uint8_t* indices, int count, const uint32_t* table);
};
TRowWriters RowWriters(TPixelPath path = kppAuto);

// --- copies -----------------------------------------------------------------
// A copy maps srcRect onto a destination rectangle; a pixel is written only
// where both its source and its destination lie inside their buffers. When
// the sizes differ the copy scales by nearest neighbour, stepping through
// the source in 16.16 fixed point (step = source extent * 65536 div
// destination extent) from the destination rectangle's own corner, so a
// clipped copy paints exactly the pixels of the unclipped one. Source and
// destination may be the same memory.

// Plain copy of srcRect to (x, y).
void CopyPixels(TPixelBuffer dst, int x, int y, TConstPixelBuffer src, const TRect& srcRect);
// srcRect scaled to dstRect, plain.
void StretchCopyPixels(TPixelBuffer dst, const TRect& dstRect, TConstPixelBuffer src, const TRect& srcRect);
// srcRect scaled to dstRect, skipping source pixels whose red, green and
// blue equal the key's (alpha ignored).
void KeyedCopyPixels(TPixelBuffer dst, const TRect& dstRect, TConstPixelBuffer src, const TRect& srcRect,
                     uint32_t key = kTransparentMarker, TPixelPath path = kppAuto);
// Per-pixel alpha: each source pixel is blended over its destination with
// BlendPixel (alpha 0 keeps the destination, 255 replaces it).
void BlendCopyPixels(TPixelBuffer dst, int x, int y, TConstPixelBuffer src, const TRect& srcRect,
                     TPixelPath path = kppAuto);
void StretchBlendCopyPixels(TPixelBuffer dst, const TRect& dstRect, TConstPixelBuffer src, const TRect& srcRect,
                            TPixelPath path = kppAuto);
// The reverse: each destination pixel is blended over its source pixel, so
// translucent destination pixels become opaque over the source background.
void UnderlayPixels(TPixelBuffer dst, int x, int y, TConstPixelBuffer src, const TRect& srcRect,
                    TPixelPath path = kppAuto);

// srcRect scaled to dstRect, keyed with the transparent marker or plain.
void StretchDrawPixels(TPixelBuffer dst, const TRect& dstRect, TConstPixelBuffer src, const TRect& srcRect,
                       bool transparent, TPixelPath path = kppAuto);
// srcRect repeated over dstRect from its top-left corner.
void TilePixels(TPixelBuffer dst, const TRect& dstRect, TConstPixelBuffer src, const TRect& srcRect, bool transparent,
                TPixelPath path = kppAuto);
// Nine-slice drawing (see MarginPieces); edges and centre stretched or tiled.
void DrawMarginsPixels(TPixelBuffer dst, const TRect& dstRect, TConstPixelBuffer src, const TRect& srcRect, int left,
                       int top, int right, int bottom, bool stretch, bool transparent, TPixelPath path = kppAuto);

}  // namespace hv
