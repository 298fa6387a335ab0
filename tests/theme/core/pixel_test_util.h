#pragma once
// Helpers of the pixel-loop tests: buffers fenced by canary pixels, so that
// a write outside a view shows, and a plain per-pixel model of the copies.

#include <cstdint>
#include <initializer_list>
#include <optional>
#include <random>
#include <utility>
#include <vector>

#include "tests/support/pixel_rows.h"
#include "theme/core/pixels.h"

namespace hv::test {

constexpr uint32_t kCanary = 0xDEADBEEFu;

class TGuardedBuffer {
 public:
  TGuardedBuffer(int width, int height, int pad = 5)
      : width_(width),
        height_(height),
        pad_(pad),
        stride_(width + 2 * pad),
        memory_(static_cast<size_t>(height + 2 * pad) * static_cast<size_t>(width + 2 * pad), kCanary) {
    for (int y = 0; y < height; ++y)
      for (int x = 0; x < width; ++x) At(x, y) = 0;
  }

  TPixelBuffer View() { return {memory_.data() + pad_ * stride_ + pad_, width_, height_, stride_}; }
  TConstPixelBuffer ConstView() { return View(); }
  uint32_t& At(int x, int y) { return memory_[static_cast<size_t>((y + pad_) * stride_ + x + pad_)]; }
  // The first pixels, row by row; any beyond the buffer are dropped.
  void Put(std::initializer_list<uint32_t> pixels) {
    int i = 0;
    for (auto pixel = pixels.begin(); pixel != pixels.end() && i < width_ * height_; ++pixel, ++i)
      At(i % width_, i / width_) = *pixel;
  }
  int Width() const { return width_; }
  int Height() const { return height_; }

  bool GuardsIntact() const {
    for (int y = -pad_; y < height_ + pad_; ++y)
      for (int x = -pad_; x < width_ + pad_; ++x) {
        const bool inside = x >= 0 && y >= 0 && x < width_ && y < height_;
        if (!inside && memory_[static_cast<size_t>((y + pad_) * stride_ + x + pad_)] != kCanary) return false;
      }
    return true;
  }

  std::vector<uint32_t> Pixels() {
    std::vector<uint32_t> pixels;
    for (int y = 0; y < height_; ++y)
      for (int x = 0; x < width_; ++x) pixels.push_back(At(x, y));
    return pixels;
  }

  template <class Gen>
  void Randomise(Gen& gen) {
    for (int y = 0; y < height_; ++y)
      for (int x = 0; x < width_; ++x) At(x, y) = gen();
  }

 private:
  int width_, height_, pad_, stride_;
  std::vector<uint32_t> memory_;
};

struct TRect64 {
  int64_t left, top, right, bottom;
  TRect64(int64_t l, int64_t t, int64_t r, int64_t b) : left(l), top(t), right(r), bottom(b) {}
  TRect64(const TRect& r) : left(r.left), top(r.top), right(r.right), bottom(r.bottom) {}
};

// Where a copy of s onto d takes destination pixel (x, y) from: the source
// position reached by 16.16 steps from d's corner, if (x, y) lies in d.
inline std::optional<std::pair<int64_t, int64_t>> SourceOf(int64_t x, int64_t y, const TRect64& d, const TRect64& s) {
  const int64_t dw = d.right - d.left, dh = d.bottom - d.top;
  const int64_t sw = s.right - s.left, sh = s.bottom - s.top;
  if (dw <= 0 || dh <= 0 || sw <= 0 || sh <= 0) return std::nullopt;
  if (x < d.left || x >= d.right || y < d.top || y >= d.bottom) return std::nullopt;
  const int64_t sx = s.left + (((x - d.left) * ((sw << 16) / dw)) >> 16);
  const int64_t sy = s.top + (((y - d.top) * ((sh << 16) / dh)) >> 16);
  return std::make_pair(sx, sy);
}

// Random ARGB pixels with plenty of the alphas that take special paths.
struct TPixelGen {
  std::mt19937 rng;
  explicit TPixelGen(uint32_t seed) : rng(seed) {}
  uint32_t operator()() {
    const uint32_t rgb = rng() & 0x00FFFFFFu;
    switch (rng() % 6) {
      case 0:
        return rgb;
      case 1:
        return rgb | 0xFF000000u;
      case 2:
        return kTransparentMarker;
      default:
        return rgb | (rng() << 24);
    }
  }
};

}  // namespace hv::test

// The expected values of a guarded buffer's pixels.
#define EXPECT_BUFFER(buffer, ...) HV_EXPECT_PIXEL_ROWS(uint32_t, "pixel list", (buffer).At(x, y), __VA_ARGS__)
