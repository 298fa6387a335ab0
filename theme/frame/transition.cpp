#include "theme/frame/transition.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <numeric>

#include "theme/core/colors.h"
#include "theme/core/rects.h"

namespace hv {

TTransitionMask::TTransitionMask(int width, int height)
    : width_(std::max(width, 0)), height_(std::max(height, 0)), cells_(static_cast<size_t>(width_) * height_) {}

uint8_t TTransitionMask::Get(int i, int j) const {
  if (i < 0 || j < 0 || i >= width_ || j >= height_) return 0;
  return cells_[static_cast<size_t>(j) * width_ + i];
}

void TTransitionMask::Set(int i, int j, uint8_t value) {
  if (i < 0 || j < 0 || i >= width_ || j >= height_) return;
  cells_[static_cast<size_t>(j) * width_ + i] = value;
}

void TTransitionMask::Clear() { std::fill(cells_.begin(), cells_.end(), uint8_t{0}); }

void TTransitionMask::Line(int x0, int y0, int x1, int y1, uint8_t value) {
  const int dx = std::abs(x1 - x0), dy = -std::abs(y1 - y0);
  const int sx = x0 < x1 ? 1 : -1, sy = y0 < y1 ? 1 : -1;
  int error = dx + dy;
  for (;;) {
    Set(x0, y0, value);
    if (x0 == x1 && y0 == y1) return;
    const int e2 = 2 * error;
    if (e2 >= dy) {
      error += dy;
      x0 += sx;
    }
    if (e2 <= dx) {
      error += dx;
      y0 += sy;
    }
  }
}

namespace {

uint8_t Level(int p) { return static_cast<uint8_t>(std::clamp(MulDiv(p, 255, 100), 0, 255)); }

// The factors that make the larger side of the mask advance by one cell per
// step and the smaller one in proportion.
struct TAspect {
  double across = 1, down = 1;
};
TAspect Aspect(const TTransitionMask& mask) {
  const double w = std::max(mask.Width(), 1), h = std::max(mask.Height(), 1);
  return {w >= h ? 1.0 : w / h, h >= w ? 1.0 : h / w};
}

void RectOutline(TTransitionMask& mask, int halfWidth, int halfHeight, uint8_t value) {
  const int cx = mask.Width() / 2, cy = mask.Height() / 2;
  const int l = cx - halfWidth, r = cx + halfWidth, t = cy - halfHeight, b = cy + halfHeight;
  mask.Line(l, t, r, t, value);
  mask.Line(r, t, r, b, value);
  mask.Line(r, b, l, b, value);
  mask.Line(l, b, l, t, value);
}

void Diamond(TTransitionMask& mask, int halfWidth, int halfHeight, uint8_t value) {
  const int cx = mask.Width() / 2, cy = mask.Height() / 2;
  mask.Line(cx - halfWidth, cy, cx, cy - halfHeight, value);
  mask.Line(cx, cy - halfHeight, cx + halfWidth, cy, value);
  mask.Line(cx + halfWidth, cy, cx, cy + halfHeight, value);
  mask.Line(cx, cy + halfHeight, cx - halfWidth, cy, value);
}

// Ring k of n: the inner rings brightest, all of them new at the end.
uint8_t RingValue(int k, int n, int p) {
  const double v = n == 0 ? 2.0 * p * 255 / 100 : (2.0 * p - k * (2.0 * p / n)) * 255 / 100;
  if (p == 100 || v > 255) return 255;
  return static_cast<uint8_t>(std::max(0, RoundHalfEven(v)));
}

// Rings grown from the centre: diamonds or rectangle outlines.
void Rings(TTransitionMask& mask, int p, double spread, bool diamond) {
  const TAspect a = Aspect(mask);
  const int e = p * RoundHalfEven(spread * std::max(mask.Width(), mask.Height())) / 100;
  const int n = e / 2;
  for (int k = 0; k <= n; ++k) {
    const int hx = RoundHalfEven(k * a.across), hy = RoundHalfEven(k * a.down);
    if (diamond)
      Diamond(mask, hx, hy, RingValue(k, n, p));
    else
      RectOutline(mask, hx, hy, RingValue(k, n, p));
  }
}

void Invert(TTransitionMask& mask, bool toLevel, uint8_t level) {
  for (int j = 0; j < mask.Height(); ++j)
    for (int i = 0; i < mask.Width(); ++i) {
      const uint8_t v = mask.Get(i, j);
      mask.Set(i, j, toLevel ? (v ? 0 : level) : static_cast<uint8_t>(255 - v));
    }
}

// count distinct cells in an order that depends only on the generator.
std::vector<int> RandomCells(int cells, int count, std::mt19937& random) {
  std::vector<int> order(static_cast<size_t>(cells));
  std::iota(order.begin(), order.end(), 0);
  std::shuffle(order.begin(), order.end(), random);
  order.resize(static_cast<size_t>(std::clamp(count, 0, cells)));
  return order;
}

}  // namespace

TkeEffect ResolveEffect(TkeEffect effect, std::mt19937& random) {
  if (effect != keRandomSelect) return effect;
  return static_cast<TkeEffect>(std::uniform_int_distribution<int>(1, kEffectCount - 1)(random));
}

void FillTransitionMask(TkeEffect effect, int p, TTransitionMask& mask, std::mt19937& random) {
  p = std::clamp(p, 0, 100);
  if (p == 0 || mask.Width() == 0 || mask.Height() == 0) return;
  const int mw = mask.Width(), mh = mask.Height();
  const uint8_t level = Level(p);
  switch (effect) {
    case keRandomSelect:
    case keFade: {
      const auto value = static_cast<uint8_t>(RoundHalfEven(p / 100.0 * 255));
      for (int j = 0; j < mh; ++j)
        for (int i = 0; i < mw; ++i) mask.Set(i, j, value);
      break;
    }
    case keDiagonal: {
      const int c = (mw - 1) * p / 100, d = (mh - 1) * p / 100;
      for (int k = 0; k <= 2 * std::max(c, d); ++k) mask.Line(0, std::min(k, 2 * d), std::min(k, 2 * c), 0, level);
      break;
    }
    case keDown:
      for (int j = 0; j <= (mh - 1) * p / 100; ++j) mask.Line(0, j, mw - 1, j, level);
      break;
    case keIn: {
      const int rows = (mh / 2) * p / 100 + 1;
      for (int k = 0; k < rows; ++k) {
        mask.Line(0, k, mw - 1, k, level);
        mask.Line(0, mh - 1 - k, mw - 1, mh - 1 - k, level);
      }
      break;
    }
    case keOut:
      for (int k = 0; k <= (mh / 2) * p / 100; ++k) {
        mask.Line(0, mh / 2 - k, mw - 1, mh / 2 - k, level);
        mask.Line(0, mh / 2 + k, mw - 1, mh / 2 + k, level);
      }
      break;
    case keRectOut:
    case keRectIn: {
      // RectIn is RectOut run backwards and turned inside out.
      const int q = effect == keRectOut ? p : 100 - p;
      const TAspect a = Aspect(mask);
      const int e = q * std::max(mw, mh) / 100;
      if (q > 0)
        for (int k = 0; k <= e / 2; ++k)
          RectOutline(mask, RoundHalfEven(k * a.across), RoundHalfEven(k * a.down), Level(q));
      if (effect == keRectIn) Invert(mask, true, level);
      break;
    }
    case kePixel: {
      // The same seed every frame keeps the cells of the frames before.
      std::mt19937 seeded(static_cast<unsigned>(mw * mh));
      for (int cell : RandomCells(mw * mh, RoundHalfEven(double(mw) * mh * p / 100), seeded))
        mask.Set(cell % mw, cell / mw, 255);
      break;
    }
    case kePixelLine: {
      const int last = RoundHalfEven(p / 100.0 * (2 * mw - 1));
      for (int cell : RandomCells(mw * mh, RoundHalfEven(double(mw) * mh * p / 100), random)) {
        const int column = cell % mw;
        if (column > last) continue;
        const int v = std::max(0, RoundHalfEven(2.0 * p - column * mw * 0.1 / p));
        mask.Set(column, cell / mw, static_cast<uint8_t>(std::min(255, RoundHalfEven(v / 100.0 * 255))));
      }
      break;
    }
    case keDiamondOut:
      Rings(mask, p, 2.5, true);
      break;
    case keDiamondIn:
      Rings(mask, 100 - p, 2.5, true);
      Invert(mask, false, 0);
      break;
    case keSmoothRectOut:
      Rings(mask, p, 1.6, false);
      break;
    case keSmoothRectIn:
      Rings(mask, 100 - p, 1.6, false);
      Invert(mask, false, 0);
      break;
    case keSmoothDiagonal: {
      const TAspect a = Aspect(mask);
      const int n = p * RoundHalfEven(2.5 * std::sqrt(double(mw) * mw + double(mh) * mh)) / 100;
      for (int k = 0; k <= n; ++k)
        mask.Line(0, RoundHalfEven(k * a.down), RoundHalfEven(k * a.across), 0, RingValue(k, n, p));
      break;
    }
  }
}

TTransitionGeometry TransitionGeometry(int width, int height, int resolution, int tileCount) {
  resolution = std::max(resolution, 1);
  tileCount = std::max(tileCount, 1);
  return {width / resolution / tileCount + 1, height / resolution / tileCount + 1, width / tileCount + 1,
          height / tileCount + 1};
}

void BuildTransitionFrame(TkeEffect effect, TTeDirection direction, int resolution, int tileCount, int progress,
                          const uint32_t* newPixels, const uint32_t* oldPixels, uint32_t* work, int width, int height,
                          std::mt19937& random) {
  if (width <= 0 || height <= 0) return;
  resolution = std::max(resolution, 1);
  tileCount = std::max(tileCount, 1);
  const TTransitionGeometry g = TransitionGeometry(width, height, resolution, tileCount);
  const int mw = g.maskWidth, mh = g.maskHeight;
  const bool turned = direction == kdRotate90 || direction == kdRotate270;
  TTransitionMask mask(turned ? mh : mw, turned ? mw : mh);
  FillTransitionMask(effect, progress, mask, random);
  auto lookup = [&](int i, int j) -> uint8_t {
    switch (direction) {
      case kdRotate90:
        return mask.Get(j, mw - 1 - i);
      case kdRotate180:
        return mask.Get(mw - 1 - i, mh - 1 - j);
      case kdRotate270:
        return mask.Get(mh - 1 - j, i);
      default:
        return mask.Get(i, j);
    }
  };
  std::copy(oldPixels, oldPixels + static_cast<size_t>(width) * height, work);
  for (int ty = 0; ty < tileCount; ++ty)
    for (int tx = 0; tx < tileCount; ++tx)
      for (int j = 0; j < mh; ++j)
        for (int i = 0; i < mw; ++i) {
          const uint32_t m = lookup(i, j);
          if (m == 0) continue;
          for (int by = 0; by < resolution; ++by) {
            const int y = j * resolution + ty * g.tileHeight + by;
            if (y >= height) break;
            for (int bx = 0; bx < resolution; ++bx) {
              const int x = i * resolution + tx * g.tileWidth + bx;
              if (x >= width) break;
              const size_t at = static_cast<size_t>(y) * width + x;
              const uint32_t n = newPixels[at], o = oldPixels[at];
              if ((n & 0xFFFFFF) == (kTransparentMarker & 0xFFFFFF)) continue;
              if (m == 255) {
                work[at] = n | 0xFF000000u;
                continue;
              }
              uint32_t out = 0xFF000000u;
              for (int shift : {0, 8, 16}) {
                const uint32_t nc = (n >> shift) & 0xFF, oc = (o >> shift) & 0xFF;
                out |= ((nc * m + oc * (255 - m) + 127) / 255) << shift;
              }
              work[at] = out;
            }
          }
        }
}

}  // namespace hv
