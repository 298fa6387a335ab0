#include "theme/styles/stdshapes.h"

#include <algorithm>

#include "theme/core/colors.h"

namespace hv {

const TStdSizeTable kAdvancedSizes = {3,  3,  23, 20, 10, 18, 15, 14, 12, 6,  6,  1, 6,  6,  23,
                                      17, 13, 13, 13, 13, 11, 22, 10, 22, 17, 17, 1, 21, 15, 11};
const TStdSizeTable kKdeSizes = {3,  3,  20, 20, 30, 16, 16, 16, 16, 3,  3,  1, 3,  3,  23,
                                 17, 13, 13, 13, 13, 11, 22, 10, 22, 17, 17, 1, 21, 15, 11};

int StdTableSize(const TStdSizeTable& table, int kind) {
  return kind >= 0 && kind < static_cast<int>(table.size()) ? table[static_cast<size_t>(kind)] : 0;
}

std::array<TPoint, 3> ArrowTriangle(const TRect& a, bool up) {
  const int middle = (a.right + a.left - 1) / 2;
  if (up) return {{{a.left, a.bottom - 1}, {a.right - 1, a.bottom - 1}, {middle, a.top}}};
  return {{{a.left, a.top}, {a.right - 1, a.top}, {middle, a.bottom - 1}}};
}

std::array<TPoint, 3> RollTriangle(const TRect& g, bool up) {
  const int middle = (g.left + g.right) / 2;
  if (up) return {{{g.left, g.bottom}, {g.right, g.bottom}, {middle, g.top}}};
  return {{{g.left, g.top}, {g.right, g.top}, {middle, g.bottom}}};
}

std::vector<TRect> ProgressBlocks(const TRect& inside, const TRect& bar, bool vertical) {
  std::vector<TRect> blocks;
  if (!vertical) {
    const int block = RoundHalfEven(inside.Height() * 0.64);
    const int pitch = block + 2;
    if (pitch <= 0) return blocks;
    const int n = bar.Width() / pitch;
    if (n < 1) return blocks;
    for (int k = 0; k <= n; ++k) {
      const int left = inside.left + pitch * k;
      const TRect cut = Intersect({left, inside.top, left + block, inside.bottom}, inside);
      if (!cut.IsEmpty()) blocks.push_back(cut);
    }
    return blocks;
  }
  const int pitch = RoundHalfEven(inside.Width() * 0.64) + 2;
  if (pitch <= 0) return blocks;
  const int n = bar.Height() / pitch;
  if (n < 1) return blocks;
  for (int k = 0; k <= n; ++k) {
    const int bottom = inside.bottom - pitch * k;
    const TRect cut = Intersect({inside.left, bottom - pitch + 2, inside.right, bottom}, inside);
    if (!cut.IsEmpty()) blocks.push_back(cut);
  }
  return blocks;
}

std::array<TPoint, 5> ThumbPolygon(const TRect& r, bool vertical, int shape) {
  const int l = r.left, t = r.top, rt = r.right - 1, b = r.bottom - 1;
  if (vertical) {
    // The point is half the thumb's thickness (its height) long.
    const int point = (b - t) / 2, middle = (t + b) / 2;
    if (shape == 1) return {{{l, t}, {rt - point, t}, {rt, middle}, {rt - point, b}, {l, b}}};
    if (shape == 2) return {{{rt, t}, {l + point, t}, {l, middle}, {l + point, b}, {rt, b}}};
  } else {
    const int point = (rt - l) / 2, middle = (l + rt) / 2;
    if (shape == 1) return {{{l, t}, {rt, t}, {rt, b - point}, {middle, b}, {l, b - point}}};
    if (shape == 2) return {{{l, b}, {rt, b}, {rt, t + point}, {middle, t}, {l, t + point}}};
  }
  return {{{l, t}, {rt, t}, {rt, b}, {l, b}, {l, t}}};
}

bool EdgeFacesLight(const std::array<TPoint, 5>& points, size_t i) {
  long long area2 = 0;
  for (size_t k = 0; k < points.size(); ++k) {
    const TPoint a = points[k], b = points[(k + 1) % points.size()];
    area2 += static_cast<long long>(a.x) * b.y - static_cast<long long>(b.x) * a.y;
  }
  const TPoint a = points[i % points.size()], b = points[(i + 1) % points.size()];
  const int dx = b.x - a.x, dy = b.y - a.y;
  // The outward normal turns with the polygon's winding (y grows downwards).
  const int nx = area2 >= 0 ? dy : -dy, ny = area2 >= 0 ? -dx : dx;
  return nx + ny < 0;
}

void RecolorGlyphInside(uint32_t* pixels, int width, int height, uint32_t glyph, int inset) {
  if (!pixels || width <= 0 || height <= 0) return;
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      uint32_t& p = pixels[static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x)];
      const bool inside = x >= inset && x < width - inset && y >= inset && y < height - inset;
      p = inside && (p & 0x00FFFFFFu) == 0 ? glyph : kTransparentMarker;
    }
}

std::array<uint32_t, 64> DotsPattern(uint32_t colour, uint32_t light, uint32_t dark) {
  std::array<uint32_t, 64> pattern;
  pattern.fill(colour);
  for (int j = 0; j < 8; j += 4)
    for (int i = 0; i < 8; i += 4) {
      pattern[static_cast<size_t>(j * 8 + i)] = light;
      pattern[static_cast<size_t>((j + 1) * 8 + i + 1)] = dark;
    }
  return pattern;
}

std::vector<TRect> MenuButtonLines(const TRect& r) {
  std::vector<TRect> lines;
  if (r.IsEmpty()) return lines;
  for (int y = r.top; y < r.bottom; y += 3) lines.push_back({r.left, y, r.right, y + 1});
  return lines;
}

}  // namespace hv
