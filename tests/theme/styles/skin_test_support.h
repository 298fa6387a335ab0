#pragma once
// Painting a skinned style onto a TTeBitmap and telling, for each painted
// pixel, which skin pixel it came from: the skins are overwritten with
// pixels that spell their own coordinates.

#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <ostream>

#include "framework/graphics.h"
#include "tests/support/pixel_rows.h"
#include "theme/core/colors.h"
#include "theme/core/tebitmap.h"
#include "theme/styles/luna.h"

namespace hv::test {

// Blue 0xEE never occurs in a coded skin pixel.
constexpr uint32_t kUntouched = 0xFF2040EEu;

// Red = x, green = y's low byte, blue = y's high bit plus 0x10 for the
// secondary skin.
constexpr uint32_t CodedPixel(int x, int y, bool secondary) {
  return 0xFF000000u | (static_cast<uint32_t>(x) << 16) | (static_cast<uint32_t>(y & 0xFF) << 8) |
         static_cast<uint32_t>(y >> 8) | (secondary ? 0x10u : 0u);
}

struct TSkinPoint {
  bool secondary;
  int x, y;
  bool operator==(const TSkinPoint&) const = default;
};

inline void PrintTo(const TSkinPoint& point, std::ostream* out) {
  *out << (point.secondary ? "secondary" : "primary") << " (" << point.x << ", " << point.y << ")";
}

inline std::optional<TSkinPoint> DecodeSkinPixel(uint32_t pixel) {
  const uint32_t blue = pixel & 0xFF;
  if ((blue & ~0x11u) != 0) return std::nullopt;
  return TSkinPoint{(blue & 0x10) != 0, static_cast<int>((pixel >> 16) & 0xFF),
                    static_cast<int>(((pixel >> 8) & 0xFF) | ((blue & 1) << 8))};
}

// Skins of the atlas size whose every pixel is coded, so that a painted
// pixel tells where it was cut from.
inline void CodeSkin(TTeBitmap& skin, int width, int height, bool secondary) {
  skin.SetSize(width, height);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) *skin.PixelPtr(x, y) = CodedPixel(x, y, secondary);
}
inline void CodeSkins(TTeThemeLuna& theme) {
  CodeSkin(theme.PrimarySkin(), 190, 372, false);
  CodeSkin(theme.SecondarySkin(), 196, 435, true);
}

// A TTeBitmap with a canvas on it, cleared to kUntouched.
class TSheet {
 public:
  TSheet(int width, int height) {
    bitmap_.SetSize(width, height);
    bitmap_.Fill(kUntouched);
    canvas_.SetHandle(bitmap_.DC());
  }
  ~TSheet() { canvas_.SetHandle(nullptr); }

  TCanvas& Canvas() { return canvas_; }
  TTeBitmap& Bitmap() { return bitmap_; }
  uint32_t At(int x, int y) const { return bitmap_.GetPixel(x, y) | 0xFF000000u; }
  // The painted pixel as a framework colour (0x00BBGGRR).
  TColor ColorAt(int x, int y) const { return ARGBToColor(bitmap_.GetPixel(x, y)); }
  bool Untouched(int x, int y) const { return At(x, y) == kUntouched; }
  std::optional<TSkinPoint> Source(int x, int y) const { return DecodeSkinPixel(At(x, y)); }
  void Clear() { bitmap_.Fill(kUntouched); }
  // The canvas of a cleared sheet, for the next painting.
  TCanvas& Fresh() {
    Clear();
    return canvas_;
  }

 private:
  TTeBitmap bitmap_;
  TCanvas canvas_;
};

// The colour an untouched pixel reads as through TSheet::ColorAt.
constexpr TColor kLeftAlone = ARGBToColor(kUntouched);

}  // namespace hv::test

// The expected colours of a painting's pixels; kLeftAlone for a pixel it
// must not touch.
#define EXPECT_PIXELS(sheet, ...) HV_EXPECT_PIXEL_ROWS(::hv::TColor, "pixel list", (sheet).ColorAt(x, y), __VA_ARGS__)
// The coded skin pixels a painting must have copied.
#define EXPECT_SOURCES(sheet, ...) \
  HV_EXPECT_PIXEL_ROWS(::hv::test::TSkinPoint, "skin source list", (sheet).Source(x, y), __VA_ARGS__)
