// TTeBitmap on a 1024 x 768 surface under Wine: the engine's alpha copy,
// keyed copy, tiling, nine-slicing, stretching and hue shift next to the
// platform's AlphaBlend, TransparentBlt and BitBlt and a plain memcpy of
// the same bytes. Prints megapixels per second (pixels written per second)
// and the ratios that matter.
//
// Run: HV_ARCH=x86_64 DISPLAY=:99 cmake/wine-run.sh build/<dir>/tools/tebitmap_bench.exe

#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <functional>
#include <random>
#include <vector>

#include "theme/core/msimg32.h"
#include "theme/core/tebitmap.h"
#include "tools/bench/bench_timing.h"

namespace {

using namespace hv;

constexpr int kWidth = 1024;
constexpr int kHeight = 768;
constexpr double kPixels = double{kWidth} * kHeight;

// Many short calls, as the loops are fast.
double SecondsPerCall(const std::function<void()>& op) { return bench::SecondsPerCall(op, 10, 0.5, 1000); }

double Report(const char* name, double pixelsPerCall, const std::function<void()>& op) {
  const double seconds = SecondsPerCall(op);
  const double mpx = pixelsPerCall / seconds / 1e6;
  std::printf("%-52s %9.1f Mpx/s  %8.3f ms/call\n", name, mpx, seconds * 1e3);
  std::fflush(stdout);
  return mpx;
}

void Ratio(const char* name, double ours, double theirs, double goal) {
  std::printf("  %-50s %6.2fx  (goal %.2fx: %s)\n", name, ours / theirs, goal, ours / theirs >= goal ? "met" : "MISSED");
}

// Skin-like content: a few dozen colours in runs of `run` pixels, a quarter
// of them keyed out with the transparent marker; translucent content has a
// third of its runs clear, a third opaque and a third in between.
void FillSkin(TTeBitmap& b, bool withMarker, bool translucent, size_t run = 16) {
  std::mt19937 random(7);
  uint32_t* p = b.Pixels().bits;
  const size_t n = static_cast<size_t>(b.Width()) * b.Height();
  uint32_t colour = 0;
  for (size_t i = 0; i < n; ++i) {
    if (i % run == 0) {
      const unsigned pick = random() % 64;
      colour = 0xFF000000u | (pick * 0x030507u);
      if (withMarker && pick % 4 == 0) colour = kTransparentMarker;
      if (translucent) {
        const unsigned alpha = pick % 3 == 0 ? 0 : pick % 3 == 1 ? 255 : (random() % 254) + 1;
        colour = (colour & 0xFFFFFFu) | (alpha << 24);
      }
    }
    p[i] = colour;
  }
}

}  // namespace

int main() {
  LoadMsImg32();
  const TPixelPath path = WidestPixelPath();
  std::printf("TTeBitmap, %d x %d, msimg32 TransparentBlt %s, AlphaBlend %s, pixel loops %s\n\n", kWidth, kHeight,
              TransparentBltAvailable() ? "present" : "missing", AlphaBltAvailable() ? "present" : "missing",
              path == kppAvx2 ? "AVX2" : path == kppSse2 ? "SSE2" : "scalar");

  TTeBitmap keyed, alpha, target;
  keyed.SetSize(kWidth, kHeight);
  alpha.SetSize(kWidth, kHeight);
  target.SetSize(kWidth, kHeight);
  FillSkin(keyed, true, false);
  FillSkin(alpha, false, true);
  target.Fill(0xFF204060u);
  const TRect all{0, 0, kWidth, kHeight};
  const size_t bytes = static_cast<size_t>(kPixels) * 4;

  std::vector<uint32_t> from(static_cast<size_t>(kPixels), 0x12345678u), to(static_cast<size_t>(kPixels));
  const double memcpyMpx = Report("memcpy of the same bytes", kPixels, [&] {
    std::memcpy(to.data(), from.data(), bytes);
    asm volatile("" ::"r"(to.data()) : "memory");
  });

  std::printf("\nPlain copies and fills through GDI\n");
  const double bitBlt = Report("CopyRectTo, no alpha (BitBlt between DCs)", kPixels,
                               [&] { keyed.CopyRectTo(target, 0, 0, all); });
  const double gdiFill = Report("FillRect of the bitmap's DC (GDI)", kPixels, [&] {
    RECT r{0, 0, kWidth, kHeight};
    FillRect(target.DC(), &r, static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH)));
    GdiFlush();
  });
  const double fill = Report("TTeBitmap::Fill", kPixels, [&] { target.Fill(0xFF204060u); });
  const double opaqueDraw = Report("Draw, opaque (BitBlt)", kPixels, [&] { keyed.Draw(target.DC(), 0, 0, false); });

  std::printf("\nAlpha copy\n");
  alpha.SetAlphaBlend(true);
  const double fillOnly = Report("  (the target's Fill, timed alone)", kPixels, [&] { target.Fill(0xFF204060u); });
  struct TAlphaCase {
    const char* name;
    size_t run;
    double ours = 0, platform = 0;
  };
  TAlphaCase alphaCases[] = {{"runs of 256 pixels", 256}, {"runs of 16 pixels", 16}, {"every pixel translucent", 0}};
  for (TAlphaCase& c : alphaCases) {
    if (c.run) {
      FillSkin(alpha, false, true, c.run);
    } else {
      uint32_t* p = alpha.Pixels().bits;
      for (int i = 0; i < kWidth * kHeight; ++i) p[i] = (static_cast<uint32_t>(i % 253 + 1) << 24) | 0x00C08040u;
    }
    std::printf(" %s\n", c.name);
    c.ours = Report("  CopyRectTo with AlphaBlend (engine), after a Fill", kPixels, [&] {
      target.Fill(0xFF204060u);
      alpha.CopyRectTo(target, 0, 0, all);
    });
    c.platform = Report("  platform AlphaBlend, per-pixel alpha, after a Fill", kPixels, [&] {
      target.Fill(0xFF204060u);
      PlatformAlphaBlend(target.DC(), 0, 0, kWidth, kHeight, alpha.DC(), 0, 0, kWidth, kHeight, 255, true);
      GdiFlush();
    });
  }

  std::printf("\nKeyed copy (transparent Draw)\n");
  double ownKeyed = 0;
  {
    TMsImg32Fallback own;
    ownKeyed = Report("Draw transparent, engine's keyed copy", kPixels, [&] { keyed.Draw(target.DC(), 0, 0, true); });
  }
  const double platformKeyed = Report("Draw transparent, platform TransparentBlt", kPixels,
                                      [&] { keyed.Draw(target.DC(), 0, 0, true); });

  std::printf("\nTile (32 x 32 tile over the whole surface)\n");
  const TRect tile{64, 64, 96, 96};
  Report("Tile, opaque (BitBlt per tile)", kPixels, [&] { keyed.Tile(target.DC(), all, tile, false); });
  {
    TMsImg32Fallback own;
    Report("Tile, transparent, engine", kPixels, [&] { keyed.Tile(target.DC(), all, tile, true); });
  }
  Report("Tile, transparent, TransparentBlt per tile", kPixels, [&] { keyed.Tile(target.DC(), all, tile, true); });

  std::printf("\nDrawMargins (64 x 64 source, margins 8, over the whole surface)\n");
  const TRect frame{128, 128, 192, 192};
  Report("DrawMargins, stretched, opaque", kPixels,
         [&] { keyed.DrawMargins(target.DC(), all, frame, 8, 8, 8, 8, true, false); });
  {
    TMsImg32Fallback own;
    Report("DrawMargins, stretched, transparent, engine", kPixels,
           [&] { keyed.DrawMargins(target.DC(), all, frame, 8, 8, 8, 8, true, true); });
    Report("DrawMargins, tiled, transparent, engine", kPixels,
           [&] { keyed.DrawMargins(target.DC(), all, frame, 8, 8, 8, 8, false, true); });
  }
  Report("DrawMargins, stretched, transparent, TransparentBlt", kPixels,
         [&] { keyed.DrawMargins(target.DC(), all, frame, 8, 8, 8, 8, true, true); });

  std::printf("\nStretchDraw (512 x 384 doubled to the whole surface)\n");
  const TRect half{0, 0, kWidth / 2, kHeight / 2};
  Report("StretchDraw, opaque (StretchBlt)", kPixels, [&] { keyed.StretchDraw(target.DC(), all, half, false); });
  {
    TMsImg32Fallback own;
    Report("StretchDraw, transparent, engine", kPixels, [&] { keyed.StretchDraw(target.DC(), all, half, true); });
  }
  Report("StretchDraw, transparent, TransparentBlt", kPixels, [&] { keyed.StretchDraw(target.DC(), all, half, true); });

  std::printf("\nApplyHueShift (64 colours, with the cached bitmap refresh)\n");
  int delta = 0;
  Report("ApplyHueShift", kPixels, [&] { keyed.ApplyHueShift((delta = (delta + 37) % 360) + 1); });

  std::printf("\nRatios\n");
  for (const TAlphaCase& c : alphaCases) {
    // Both timings include the same fill; take it out of both.
    const double ours = 1.0 / (1.0 / c.ours - 1.0 / fillOnly);
    const double platform = 1.0 / (1.0 / c.platform - 1.0 / fillOnly);
    char name[96];
    std::snprintf(name, sizeof(name), "alpha copy / platform AlphaBlend, %s", c.name);
    Ratio(name, ours, platform, 5.0);
  }
  Ratio("keyed copy / platform TransparentBlt", ownKeyed, platformKeyed, 5.0);
  Ratio("BitBlt copy / memcpy", bitBlt, memcpyMpx, 0.8);
  Ratio("opaque Draw / memcpy", opaqueDraw, memcpyMpx, 0.8);
  Ratio("GDI FillRect / memcpy", gdiFill, memcpyMpx, 0.8);
  Ratio("TTeBitmap::Fill / memcpy", fill, memcpyMpx, 0.8);
  return 0;
}
