#include "theme/core/rects.h"

#include <algorithm>
#include <limits>

#include "theme/core/colors.h"

namespace hv {

namespace {

int Saturate(int64_t v) {
  return static_cast<int>(std::clamp<int64_t>(v, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
}

int64_t Width64(const TRect& r) { return static_cast<int64_t>(r.right) - r.left; }
int64_t Height64(const TRect& r) { return static_cast<int64_t>(r.bottom) - r.top; }

TRect Rect64(int64_t left, int64_t top, int64_t right, int64_t bottom) {
  return {Saturate(left), Saturate(top), Saturate(right), Saturate(bottom)};
}

bool HasArea(const TRect& r) { return Width64(r) > 0 && Height64(r) > 0; }

}  // namespace

int RectWidth(const TRect& r) { return Saturate(Width64(r)); }
int RectHeight(const TRect& r) { return Saturate(Height64(r)); }
bool RectIsEmpty(const TRect& r) { return !HasArea(r); }
bool RectsEqual(const TRect& a, const TRect& b) { return a == b; }

TRect InflatedRect(const TRect& r, int n) {
  return Rect64(static_cast<int64_t>(r.left) - n, static_cast<int64_t>(r.top) - n, static_cast<int64_t>(r.right) + n,
                static_cast<int64_t>(r.bottom) + n);
}

TRect CenterRect(const TRect& r, const TRect& bounds) {
  // Integer division truncates toward zero, which is the rounding wanted.
  const int64_t left = bounds.left + (Width64(bounds) - Width64(r)) / 2;
  const int64_t top = bounds.top + (Height64(bounds) - Height64(r)) / 2;
  return Rect64(left, top, left + Width64(r), top + Height64(r));
}

TRect CenterRectVert(const TRect& r, const TRect& bounds) {
  const int64_t top = bounds.top + (Height64(bounds) - Height64(r)) / 2;
  return Rect64(bounds.left, top, bounds.left + Width64(r), top + Height64(r));
}

int MulDiv(int a, int b, int c) {
  if (c == 0) return -1;
  int64_t num = static_cast<int64_t>(a) * b;
  int64_t den = c;
  if (den < 0) {
    num = -num;
    den = -den;
  }
  const int64_t result = num >= 0 ? (num + den / 2) / den : (num - den / 2) / den;
  if (result > std::numeric_limits<int>::max() || result < -std::numeric_limits<int>::max()) return -1;
  return static_cast<int>(result);
}

std::vector<TGradientBand> GradientBands(const TRect& rect, TColor from, TColor to, bool vertical) {
  std::vector<TGradientBand> bands;
  if (!HasArea(rect)) return bands;
  const int64_t extent = vertical ? Height64(rect) : Width64(rect);
  const int64_t n = std::min<int64_t>(255, extent);
  const TARGB a = ColorToARGB(from);
  const TARGB b = ColorToARGB(to);
  const int fromChannels[3] = {RedOf(a), GreenOf(a), BlueOf(a)};
  const int toChannels[3] = {RedOf(b), GreenOf(b), BlueOf(b)};
  const int64_t start = vertical ? rect.top : rect.left;
  const int64_t end = vertical ? rect.bottom : rect.right;
  bands.reserve(static_cast<size_t>(n));
  // Offsets are MulDiv(i, extent, n), worked in 64 bits so that no extent
  // can make them fail.
  auto offset = [&](int64_t i) { return (i * extent + n / 2) / n; };
  for (int64_t i = 0; i <= n; ++i) {
    const int64_t lo = std::max(start, start + offset(i));
    const int64_t hi = std::min(end, start + offset(i + 1));
    if (hi <= lo) continue;
    int channels[3];
    for (int c = 0; c < 3; ++c) {
      const int base = fromChannels[c] * 255;
      const int delta = toChannels[c] * 255 - base;
      channels[c] = RoundHalfEven((static_cast<double>(i) * delta / static_cast<double>(n) + base) / 255.0);
    }
    TGradientBand band;
    band.rect = vertical ? Rect64(rect.left, lo, rect.right, hi) : Rect64(lo, rect.top, hi, rect.bottom);
    band.color = ARGBToColor(MakeARGB(channels[0], channels[1], channels[2], 0));
    bands.push_back(band);
  }
  return bands;
}

TRect DitherFillRect(const TRect& rect) {
  TRect r{std::max(rect.left, 0), std::max(rect.top, 0), rect.right, rect.bottom};
  return HasArea(r) ? r : TRect{};
}

std::array<uint32_t, 64> DitherPattern(uint32_t back, uint32_t dot) {
  std::array<uint32_t, 64> pattern;
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 8; ++x) pattern[y * 8 + x] = DitherIsDot(x, y) ? dot : back;
  return pattern;
}

std::vector<TTilePiece> TilePieces(const TRect& destRect, const TRect& srcRect, const TRect& visible) {
  std::vector<TTilePiece> pieces;
  const int64_t w = Width64(srcRect);
  const int64_t h = Height64(srcRect);
  if (w <= 0 || h <= 0 || !HasArea(destRect)) return pieces;
  const int64_t width = Width64(destRect);
  const int64_t height = Height64(destRect);
  const int64_t columns = width / w + (width % w != 0 ? 1 : 0);
  const int64_t rows = height / h + (height % h != 0 ? 1 : 0);
  // The first and one past the last tile index along an axis that meets the
  // visible span.
  auto first = [](int64_t origin, int64_t size, int64_t lo) { return lo <= origin ? 0 : (lo - origin) / size; };
  auto last = [](int64_t origin, int64_t size, int64_t hi, int64_t count) {
    if (hi <= origin) return int64_t{0};
    return std::min(count, (hi - origin + size - 1) / size);
  };
  const int64_t c0 = first(destRect.left, w, visible.left), c1 = last(destRect.left, w, visible.right, columns);
  const int64_t r0 = first(destRect.top, h, visible.top), r1 = last(destRect.top, h, visible.bottom, rows);
  for (int64_t c = c0; c < c1; ++c) {
    for (int64_t r = r0; r < r1; ++r) {
      const int64_t left = destRect.left + c * w;
      const int64_t top = destRect.top + r * h;
      const int64_t right = std::min<int64_t>(left + w, destRect.right);
      const int64_t bottom = std::min<int64_t>(top + h, destRect.bottom);
      if (right <= left || bottom <= top) break;
      TTilePiece piece;
      piece.dst = Rect64(left, top, right, bottom);
      piece.src = Rect64(srcRect.left, srcRect.top, srcRect.left + (right - left), srcRect.top + (bottom - top));
      pieces.push_back(piece);
    }
  }
  return pieces;
}

std::vector<TMarginPiece> MarginPieces(const TRect& d, const TRect& s, int left, int top, int right, int bottom) {
  std::vector<TMarginPiece> pieces;
  auto add = [&](TMarginPart part, TMarginDraw draw, int64_t dl, int64_t dt, int64_t dr, int64_t db, int64_t sl,
                 int64_t st, int64_t sr, int64_t sb) {
    if (dr <= dl || db <= dt || sr <= sl || sb <= st) return;
    pieces.push_back({part, draw, Rect64(dl, dt, dr, db), Rect64(sl, st, sr, sb)});
  };
  if (left == 0 && top == 0 && right == 0 && bottom == 0) {
    add(kmpWhole, kmdStretch, d.left, d.top, d.right, d.bottom, s.left, s.top, s.right, s.bottom);
    return pieces;
  }
  const int64_t L = left, T = top, R = right, B = bottom;
  const int64_t dl = d.left, dt = d.top, dr = d.right, db = d.bottom;
  const int64_t sl = s.left, st = s.top, sr = s.right, sb = s.bottom;
  add(kmpCenter, kmdStretchOrTile, dl + L, dt + T, dr - R, db - B, sl + L, st + T, sr - R, sb - B);
  add(kmpTop, kmdStretchOrTile, dl + L, dt, dr - R, dt + T, sl + L, st, sr - R, st + T);
  add(kmpBottom, kmdStretchOrTile, dl + L, db - B, dr - R, db, sl + L, sb - B, sr - R, sb);
  add(kmpLeft, kmdStretchOrTile, dl, dt + T, dl + L, db - B, sl, st + T, sl + L, sb - B);
  add(kmpRight, kmdStretchOrTile, dr - R, dt + T, dr, db - B, sr - R, st + T, sr, sb - B);
  add(kmpTopLeft, kmdUnscaled, dl, dt, dl + L, dt + T, sl, st, sl + L, st + T);
  add(kmpTopRight, kmdUnscaled, dr - R, dt, dr, dt + T, sr - R, st, sr, st + T);
  add(kmpBottomLeft, kmdUnscaled, dl, db - B, dl + L, db, sl, sb - B, sl + L, sb);
  add(kmpBottomRight, kmdUnscaled, dr - R, db - B, dr, db, sr - R, sb - B, sr, sb);
  return pieces;
}

}  // namespace hv
