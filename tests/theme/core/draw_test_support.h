#pragma once
// A 32-bit top-down surface to paint on and read back as 0xRRGGBB.

#include <windows.h>

#include <cstdint>

#include "framework/graphics.h"
#include "tests/support/pixel_rows.h"

namespace hv::test {

class TSurface {
 public:
  TSurface(int width, int height, uint32_t rgb = 0xFFFFFF) : bitmap_(width, height, pf32bit) { Clear(rgb); }

  TCanvas& Canvas() { return *bitmap_.Canvas(); }
  HDC DC() { return bitmap_.DC(); }
  int Width() const { return bitmap_.Width(); }
  int Height() const { return bitmap_.Height(); }

  void Clear(uint32_t rgb) {
    for (int y = 0; y < bitmap_.Height(); ++y) {
      auto* row = static_cast<uint32_t*>(bitmap_.ScanLine(y));
      for (int x = 0; x < bitmap_.Width(); ++x) row[x] = rgb;
    }
  }
  // 0xRRGGBB; the alpha byte that GDI leaves behind is ignored.
  uint32_t At(int x, int y) { return static_cast<const uint32_t*>(bitmap_.ScanLine(y))[x] & 0xFFFFFFu; }
  uint32_t Raw(int x, int y) { return static_cast<const uint32_t*>(bitmap_.ScanLine(y))[x]; }

 private:
  TBitmap bitmap_;
};

// A framework colour (0x00BBGGRR) as the surface reads it back.
constexpr uint32_t Rgb(TColor color) {
  const auto c = static_cast<uint32_t>(color);
  return ((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF);
}

}  // namespace hv::test

// The expected 0xRRGGBB values of a surface's pixels.
#define EXPECT_SURFACE(surface, ...) HV_EXPECT_PIXEL_ROWS(uint32_t, "pixel list", (surface).At(x, y), __VA_ARGS__)
