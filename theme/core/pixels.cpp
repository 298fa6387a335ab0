#include "theme/core/pixels.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "theme/core/pixel_kernels.h"
#include "theme/core/rects.h"

namespace hv {

namespace {

using pixel_kernels::Kernels;

// rect clipped to a width x height buffer; false when nothing is left.
bool ClipToBuffer(const TRect& rect, int width, int height, TRect& clipped) {
  clipped = {std::max(rect.left, 0), std::max(rect.top, 0), std::min(rect.right, width), std::min(rect.bottom, height)};
  return clipped.left < clipped.right && clipped.top < clipped.bottom;
}

// Applies fn(row, count) to every row piece of rect inside dst.
template <class Fn>
void ForEachRowIn(const TPixelBuffer& dst, const TRect& rect, Fn fn) {
  TRect r;
  if (dst.IsEmpty() || !ClipToBuffer(rect, dst.width, dst.height, r)) return;
  for (int y = r.top; y < r.bottom; ++y) fn(dst.Row(y) + r.left, r.right - r.left);
}

template <class Fn>
void ForEachPixel(const TPixelBuffer& dst, Fn fn) {
  ForEachRowIn(dst, dst.Bounds(), [&](uint32_t* row, int count) {
    for (int i = 0; i < count; ++i) fn(row[i]);
  });
}

// One axis of a copy: which destination positions get a pixel and from
// where. Unscaled axes are a plain offset; scaled ones carry a table.
struct TAxis {
  int dstStart = 0;
  int count = 0;
  bool identity = false;
  int srcStart = 0;
  std::vector<int> table;
};

// Maps destination span [d0, d1) onto source span [s0, s1), keeping only
// positions inside both buffers. Coordinates are 64-bit so that no rect can
// overflow the arithmetic.
bool MapAxis(int64_t d0, int64_t d1, int64_t s0, int64_t s1, int dstSize, int srcSize, TAxis& axis) {
  const int64_t dLen = d1 - d0;
  const int64_t sLen = s1 - s0;
  if (dLen <= 0 || sLen <= 0) return false;
  int64_t lo = std::max<int64_t>(d0, 0);
  int64_t hi = std::min<int64_t>(d1, dstSize);
  if (dLen == sLen) {
    lo = std::max(lo, d0 - s0);
    hi = std::min(hi, d0 - s0 + srcSize);
    if (hi <= lo) return false;
    axis.identity = true;
    axis.dstStart = static_cast<int>(lo);
    axis.count = static_cast<int>(hi - lo);
    axis.srcStart = static_cast<int>(s0 + (lo - d0));
    return true;
  }
  if (hi <= lo) return false;
  // The step is at most sLen * 65536 and (d - d0) * step at most about the
  // same, well inside 64 bits.
  const int64_t step = (sLen << 16) / dLen;
  auto source = [&](int64_t d) { return s0 + (((d - d0) * step) >> 16); };
  // Source positions grow with d, so the usable ones are one run.
  while (lo < hi && source(lo) < 0) ++lo;
  while (hi > lo && source(hi - 1) >= srcSize) --hi;
  if (hi <= lo) return false;
  axis.identity = false;
  axis.dstStart = static_cast<int>(lo);
  axis.count = static_cast<int>(hi - lo);
  axis.table.resize(static_cast<size_t>(axis.count));
  for (int i = 0; i < axis.count; ++i) axis.table[static_cast<size_t>(i)] = static_cast<int>(source(lo + i));
  return true;
}

struct TSpan64 {
  int64_t left, top, right, bottom;
};

TSpan64 Span(const TRect& r) { return {r.left, r.top, r.right, r.bottom}; }

// Calls rowFn(dstPixels, srcPixels, count) for every destination row piece
// of the mapping of s (in src) onto d (in dst); scaled rows are gathered
// into a scratch row first, once per distinct source row.
template <class RowFn>
void ForEachMappedRow(const TPixelBuffer& dst, const TSpan64& d, const TConstPixelBuffer& src, const TSpan64& s,
                      RowFn rowFn) {
  TAxis ax, ay;
  if (!MapAxis(d.left, d.right, s.left, s.right, dst.width, src.width, ax)) return;
  if (!MapAxis(d.top, d.bottom, s.top, s.bottom, dst.height, src.height, ay)) return;
  std::vector<uint32_t> scaled(ax.identity ? 0 : static_cast<size_t>(ax.count));
  int lastRow = -1;
  for (int j = 0; j < ay.count; ++j) {
    const int sy = ay.identity ? ay.srcStart + j : ay.table[static_cast<size_t>(j)];
    const uint32_t* line = src.Row(sy);
    if (ax.identity) {
      line += ax.srcStart;
    } else {
      if (sy != lastRow) {
        for (int i = 0; i < ax.count; ++i) scaled[static_cast<size_t>(i)] = line[ax.table[static_cast<size_t>(i)]];
        lastRow = sy;
      }
      line = scaled.data();
    }
    rowFn(dst.Row(ay.dstStart + j) + ax.dstStart, line, ax.count);
  }
}

bool Overlaps(const TPixelBuffer& dst, const TConstPixelBuffer& src) {
  auto begin = [](const void* p) { return reinterpret_cast<uintptr_t>(p); };
  auto end = [](const uint32_t* bits, int height, int stride, int width) {
    return reinterpret_cast<uintptr_t>(bits + static_cast<ptrdiff_t>(height - 1) * stride + width);
  };
  return begin(dst.bits) < end(src.bits, src.height, src.stride, src.width) &&
         begin(src.bits) < end(dst.bits, dst.height, dst.stride, dst.width);
}

// ForEachMappedRow, with the used part of the source copied aside first
// when it shares memory with the destination, so that every pixel is read
// before anything is written over it.
template <class RowFn>
void MappedCopy(const TPixelBuffer& dst, const TSpan64& d, const TConstPixelBuffer& src, const TSpan64& s,
                RowFn rowFn) {
  if (dst.IsEmpty() || src.IsEmpty()) return;
  if (!Overlaps(dst, src)) {
    ForEachMappedRow(dst, d, src, s, rowFn);
    return;
  }
  const int64_t x0 = std::max<int64_t>(s.left, 0), x1 = std::min<int64_t>(s.right, src.width);
  const int64_t y0 = std::max<int64_t>(s.top, 0), y1 = std::min<int64_t>(s.bottom, src.height);
  if (x1 <= x0 || y1 <= y0) return;
  const int w = static_cast<int>(x1 - x0), h = static_cast<int>(y1 - y0);
  std::vector<uint32_t> copy(static_cast<size_t>(w) * static_cast<size_t>(h));
  for (int y = 0; y < h; ++y)
    std::memcpy(copy.data() + static_cast<size_t>(y) * w, src.Row(static_cast<int>(y0) + y) + x0,
                static_cast<size_t>(w) * sizeof(uint32_t));
  ForEachMappedRow(dst, d, TConstPixelBuffer(copy.data(), w, h, w),
                   {s.left - x0, s.top - y0, s.right - x0, s.bottom - y0}, rowFn);
}

void CopyRow(uint32_t* dst, const uint32_t* src, int count) {
  std::memcpy(dst, src, static_cast<size_t>(count) * sizeof(uint32_t));
}

// Converts each distinct colour once; palette-born skins have a few hundred
// at most, so after the first rows every pixel is a lookup, which the
// kernels do eight at a time where they can.
class THueCache {
 public:
  explicit THueCache(int delta) : delta_(delta), slots_(2 * pixel_kernels::kHueSlots, 0) {}

  const uint32_t* Slots() const { return slots_.data(); }

  uint32_t Shift(uint32_t rgb) {
    const uint32_t tag = pixel_kernels::HueTag(rgb);
    uint32_t i = pixel_kernels::HueSlot(rgb);
    while (slots_[2 * i] != 0) {
      if (slots_[2 * i] == tag) return slots_[2 * i + 1];
      i = (i + 1) & (pixel_kernels::kHueSlots - 1);
    }
    const uint32_t shifted = ShiftHue(rgb | 0xFF000000u, delta_) & 0x00FFFFFFu;
    // Half full at most keeps probe runs short; photographs with more
    // colours than that are converted directly from then on.
    if (count_ < pixel_kernels::kHueSlots / 2) {
      slots_[2 * i] = tag;
      slots_[2 * i + 1] = shifted;
      ++count_;
    }
    return shifted;
  }

 private:
  int delta_;
  uint32_t count_ = 0;
  // Tag and value side by side: one cache line per lookup, and the whole
  // table fits the first-level cache.
  std::vector<uint32_t> slots_;
};

}  // namespace

void FillPixels(TPixelBuffer dst, uint32_t value) { FillRectPixels(dst, dst.Bounds(), value, false); }

void FillRectPixels(TPixelBuffer dst, const TRect& rect, uint32_t value, bool alphaBlend, TPixelPath path) {
  const uint32_t alpha = value >> 24;
  if (!alphaBlend || alpha == 255) {
    const auto fill = Kernels(path).fill;
    ForEachRowIn(dst, rect, [&](uint32_t* row, int count) { fill(row, value, count); });
  } else if (alpha != 0) {
    const auto blendFill = Kernels(path).blendFill;
    ForEachRowIn(dst, rect, [&](uint32_t* row, int count) { blendFill(row, value, count); });
  }
}

void SetAlphaPixels(TPixelBuffer dst, uint8_t alpha, TPixelPath path) {
  SetAlphaRectPixels(dst, alpha, dst.Bounds(), path);
}

void SetAlphaRectPixels(TPixelBuffer dst, uint8_t alpha, const TRect& rect, TPixelPath path) {
  const auto setAlpha = Kernels(path).setAlpha;
  ForEachRowIn(dst, rect, [&](uint32_t* row, int count) { setAlpha(row, count, alpha); });
}

void MakeTransparentPixels(TPixelBuffer dst, uint32_t key) {
  // One table per channel: bit c is set where the channel is near the
  // key's, so a pixel is keyed when all three bits survive the AND.
  std::array<uint8_t, 256> near{};
  const int keyChannels[3] = {RedOf(key), GreenOf(key), BlueOf(key)};
  for (int c = 0; c < 3; ++c)
    for (int v = 0; v < 256; ++v)
      if (std::abs(v - keyChannels[c]) < kTransparentTolerance) near[static_cast<size_t>(v)] |= 1 << c;
  ForEachPixel(dst, [&](uint32_t& p) {
    if ((near[RedOf(p)] & (near[GreenOf(p)] >> 1) & (near[BlueOf(p)] >> 2) & 1) != 0) p = kTransparentMarker;
  });
}

uint32_t GetPixelAt(TConstPixelBuffer src, int x, int y) {
  if (src.IsEmpty() || x < 0 || y < 0 || x >= src.width || y >= src.height) return 0xFF000000u;
  return src.Row(y)[x];
}

void HueShiftPixels(TPixelBuffer dst, int delta, TPixelPath path) {
  if (delta == 0 || dst.IsEmpty()) return;
  THueCache cache(delta);
  const auto lookup = Kernels(path).hueLookup;
  ForEachRowIn(dst, dst.Bounds(), [&](uint32_t* row, int count) {
    // The kernel runs until a colour is not in its first slot; that one is
    // converted (and cached) here, and the kernel goes on after it.
    for (int i = lookup(row, count, cache.Slots()); i < count; i += 1 + lookup(row + i + 1, count - i - 1, cache.Slots())) {
      uint32_t& p = row[i];
      p = (p & 0xFF000000u) | cache.Shift(p & 0x00FFFFFFu);
    }
  });
}

void BrightnessShiftPixels(TPixelBuffer dst, int delta, TPixelPath path) {
  if (delta == 0) return;
  const auto brightness = Kernels(path).brightness;
  ForEachRowIn(dst, dst.Bounds(), [&](uint32_t* row, int count) { brightness(row, count, delta); });
}

void FillDitherPixels(TPixelBuffer dst, const TRect& rect, uint32_t back, uint32_t dot) {
  if (dst.IsEmpty()) return;
  TRect r;
  if (!ClipToBuffer(DitherFillRect(rect), dst.width, dst.height, r)) return;
  for (int y = r.top; y < r.bottom; ++y) {
    uint32_t* row = dst.Row(y);
    for (int x = r.left; x < r.right; ++x) row[x] = DitherIsDot(x, y) ? dot : back;
  }
}

void RecolorGlyphPixels(TPixelBuffer dst, uint32_t glyph) {
  ForEachPixel(dst, [&](uint32_t& p) { p = p == 0 ? glyph : kTransparentMarker; });
}

void RotatePixels(TPixelBuffer dst, TConstPixelBuffer src, bool clockwise) {
  if (dst.IsEmpty() || src.IsEmpty()) return;
  std::vector<uint32_t> copy;
  if (Overlaps(dst, src)) {
    copy.resize(static_cast<size_t>(src.width) * static_cast<size_t>(src.height));
    for (int y = 0; y < src.height; ++y)
      std::memcpy(copy.data() + static_cast<size_t>(y) * src.width, src.Row(y),
                  static_cast<size_t>(src.width) * sizeof(uint32_t));
    src = TConstPixelBuffer(copy.data(), src.width, src.height, src.width);
  }
  const int w = dst.width, h = dst.height;
  for (int y = 0; y < std::min(src.height, w); ++y) {
    const uint32_t* row = src.Row(y);
    for (int x = 0; x < std::min(src.width, h); ++x) {
      const uint32_t p = row[x];
      if (p == kTransparentMarker) continue;
      if (clockwise)
        dst.Row(x)[w - 1 - y] = p;
      else
        dst.Row(h - 1 - x)[y] = p;
    }
  }
}

void CopyPixels(TPixelBuffer dst, int x, int y, TConstPixelBuffer src, const TRect& srcRect) {
  const TSpan64 s = Span(srcRect);
  MappedCopy(dst, {x, y, x + (s.right - s.left), y + (s.bottom - s.top)}, src, s, &CopyRow);
}

void StretchCopyPixels(TPixelBuffer dst, const TRect& dstRect, TConstPixelBuffer src, const TRect& srcRect) {
  MappedCopy(dst, Span(dstRect), src, Span(srcRect), &CopyRow);
}

void KeyedCopyPixels(TPixelBuffer dst, const TRect& dstRect, TConstPixelBuffer src, const TRect& srcRect, uint32_t key,
                     TPixelPath path) {
  const auto keyed = Kernels(path).keyed;
  const uint32_t keyRgb = key & 0x00FFFFFFu;
  MappedCopy(dst, Span(dstRect), src, Span(srcRect),
             [&](uint32_t* d, const uint32_t* s, int count) { keyed(d, s, count, keyRgb); });
}

void BlendCopyPixels(TPixelBuffer dst, int x, int y, TConstPixelBuffer src, const TRect& srcRect, TPixelPath path) {
  const TSpan64 s = Span(srcRect);
  MappedCopy(dst, {x, y, x + (s.right - s.left), y + (s.bottom - s.top)}, src, s, Kernels(path).blend);
}

void StretchBlendCopyPixels(TPixelBuffer dst, const TRect& dstRect, TConstPixelBuffer src, const TRect& srcRect,
                            TPixelPath path) {
  MappedCopy(dst, Span(dstRect), src, Span(srcRect), Kernels(path).blend);
}

void UnderlayPixels(TPixelBuffer dst, int x, int y, TConstPixelBuffer src, const TRect& srcRect, TPixelPath path) {
  const TSpan64 s = Span(srcRect);
  MappedCopy(dst, {x, y, x + (s.right - s.left), y + (s.bottom - s.top)}, src, s, Kernels(path).underlay);
}

void StretchDrawPixels(TPixelBuffer dst, const TRect& dstRect, TConstPixelBuffer src, const TRect& srcRect,
                       bool transparent, TPixelPath path) {
  if (transparent)
    KeyedCopyPixels(dst, dstRect, src, srcRect, kTransparentMarker, path);
  else
    StretchCopyPixels(dst, dstRect, src, srcRect);
}

void TilePixels(TPixelBuffer dst, const TRect& dstRect, TConstPixelBuffer src, const TRect& srcRect, bool transparent,
                TPixelPath path) {
  if (dst.IsEmpty() || src.IsEmpty() || RectIsEmpty(srcRect) || RectIsEmpty(dstRect)) return;
  const bool inside =
      srcRect.left >= 0 && srcRect.top >= 0 && srcRect.right <= src.width && srcRect.bottom <= src.height;
  if (!inside) {
    // A tile reaching outside its bitmap: piece by piece, each clipped like
    // any copy. Rare, so the simple way is good enough.
    for (const TTilePiece& piece : TilePieces(dstRect, srcRect, dst.Bounds()))
      StretchDrawPixels(dst, piece.dst, src, piece.src, transparent, path);
    return;
  }
  TRect r;
  if (!ClipToBuffer(dstRect, dst.width, dst.height, r)) return;
  const int w = srcRect.right - srcRect.left;
  const int h = srcRect.bottom - srcRect.top;
  std::vector<uint32_t> tile;
  if (Overlaps(dst, src)) {
    tile.resize(static_cast<size_t>(w) * static_cast<size_t>(h));
    for (int y = 0; y < h; ++y)
      std::memcpy(tile.data() + static_cast<size_t>(y) * w, src.Row(srcRect.top + y) + srcRect.left,
                  static_cast<size_t>(w) * sizeof(uint32_t));
  }
  auto tileRow = [&](int v) {
    return tile.empty() ? src.Row(srcRect.top + v) + srcRect.left : tile.data() + static_cast<size_t>(v) * w;
  };
  const int count = r.right - r.left;
  // Both differences are non-negative here, so % gives the phase directly.
  const int phase = static_cast<int>((static_cast<int64_t>(r.left) - dstRect.left) % w);
  const auto keyed = Kernels(path).keyed;
  std::vector<uint32_t> line(transparent ? static_cast<size_t>(count) : 0);
  int lastV = -1;
  for (int y = r.top; y < r.bottom; ++y) {
    const int v = static_cast<int>((static_cast<int64_t>(y) - dstRect.top) % h);
    uint32_t* out = transparent ? line.data() : dst.Row(y) + r.left;
    if (!transparent || v != lastV) {
      // One tile row, then the written part doubled until the row is full.
      const uint32_t* pattern = tileRow(v);
      const int first = std::min(w - phase, count);
      CopyRow(out, pattern + phase, first);
      int filled = first;
      if (filled < count) {
        const int n = std::min(w, count - filled);
        CopyRow(out + filled, pattern, n);
        filled += n;
      }
      while (filled < count) {
        const int n = std::min(filled - first, count - filled);
        CopyRow(out + filled, out + first, n);
        filled += n;
      }
      lastV = v;
    }
    if (transparent) keyed(dst.Row(y) + r.left, line.data(), count, kTransparentMarker & 0x00FFFFFFu);
  }
}

void DrawMarginsPixels(TPixelBuffer dst, const TRect& dstRect, TConstPixelBuffer src, const TRect& srcRect, int left,
                       int top, int right, int bottom, bool stretch, bool transparent, TPixelPath path) {
  for (const TMarginPiece& piece : MarginPieces(dstRect, srcRect, left, top, right, bottom)) {
    if (piece.draw == kmdStretchOrTile && !stretch)
      TilePixels(dst, piece.dst, src, piece.src, transparent, path);
    else
      StretchDrawPixels(dst, piece.dst, src, piece.src, transparent, path);
  }
}

}  // namespace hv
