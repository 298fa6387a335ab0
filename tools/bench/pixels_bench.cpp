// Throughput of the engine's pixel loops on a 1024 x 768 surface, next to a
// plain memcpy of the same bytes, and the time to re-tint two palette-born
// skins. Prints megapixels per second (pixels written per second).
//
// Run: HV_ARCH=x86_64 DISPLAY=:99 cmake/wine-run.sh build/<dir>/tools/pixels_bench.exe

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <functional>
#include <random>
#include <vector>

#include "theme/core/pixels.h"
#include "tools/bench/bench_timing.h"

namespace {

using namespace hv;

constexpr int kWidth = 1024;
constexpr int kHeight = 768;

struct TImage {
  int width, height;
  std::vector<uint32_t> pixels;
  TImage(int w, int h) : width(w), height(h), pixels(static_cast<size_t>(w) * h) {}
  TPixelBuffer View() { return {pixels.data(), width, height, width}; }
  TRect Bounds() const { return {0, 0, width, height}; }
};

// Many short calls, as the loops are fast.
double SecondsPerCall(const std::function<void()>& op) { return bench::SecondsPerCall(op, 20, 0.4, 2000); }

void Report(const char* name, double pixelsPerCall, const std::function<void()>& op) {
  const double seconds = SecondsPerCall(op);
  std::printf("%-44s %9.1f Mpx/s  %8.3f ms/call\n", name, pixelsPerCall / seconds / 1e6, seconds * 1e3);
  std::fflush(stdout);
}

uint32_t Checksum(const TImage& image) {
  uint32_t sum = 0;
  for (uint32_t p : image.pixels) sum = sum * 31 + p;
  return sum;
}

}  // namespace

int main() {
  std::mt19937 rng(1);
  const double frame = double{kWidth} * kHeight;
  std::printf("pixel loops on %d x %d; SSE2 %s, AVX2 %s\n", kWidth, kHeight,
              Sse2Available() ? "available" : "not available", Avx2Available() ? "available" : "not available");

  TImage dst(kWidth, kHeight), src(kWidth, kHeight);
  for (auto& p : dst.pixels) p = rng() | 0xFF000000u;

  // Every pixel translucent: the whole blend arithmetic, no shortcuts.
  TImage translucent(kWidth, kHeight);
  for (auto& p : translucent.pixels) p = (rng() & 0x00FFFFFFu) | ((1 + rng() % 254) << 24);
  // A skin-like mix: mostly opaque, some keyed out, a soft edge between.
  TImage skin(kWidth, kHeight);
  for (auto& p : skin.pixels) {
    const uint32_t r = rng() % 100;
    p = (rng() & 0x00FFFFFFu) | (r < 70 ? 0xFF000000u : r < 90 ? 0u : (1 + rng() % 254) << 24);
  }
  // A quarter of the pixels hold the colour key.
  TImage keyed(kWidth, kHeight);
  for (auto& p : keyed.pixels) p = rng() % 4 == 0 ? kTransparentMarker : rng() | 0xFF000000u;
  TImage half(kWidth / 2, kHeight / 2);
  for (auto& p : half.pixels) p = rng() % 4 == 0 ? kTransparentMarker : rng() | 0xFF000000u;
  TImage tile(32, 32);
  for (auto& p : tile.pixels) p = rng() % 4 == 0 ? kTransparentMarker : rng() | 0xFF000000u;
  TImage frameSkin(64, 64);
  for (auto& p : frameSkin.pixels) p = rng() % 8 == 0 ? kTransparentMarker : rng() | 0xFF000000u;

  const TRect all = dst.Bounds();
  Report("memcpy (reference)", frame,
         [&] { std::memcpy(dst.pixels.data(), keyed.pixels.data(), dst.pixels.size() * sizeof(uint32_t)); });
  Report("copy", frame, [&] { CopyPixels(dst.View(), 0, 0, keyed.View(), all); });
  struct TPathName {
    TPixelPath path;
    const char* name;
  };
  const TPathName paths[] = {{kppScalar, "scalar"}, {kppSse2, "SSE2"}, {kppAvx2, "AVX2"}};
  char name[96];
  for (const TPathName& p : paths) {
    std::snprintf(name, sizeof name, "blend copy, all translucent, %s", p.name);
    Report(name, frame, [&] { BlendCopyPixels(dst.View(), 0, 0, translucent.View(), all, p.path); });
    std::snprintf(name, sizeof name, "blend copy, skin mix, %s", p.name);
    Report(name, frame, [&] { BlendCopyPixels(dst.View(), 0, 0, skin.View(), all, p.path); });
    std::snprintf(name, sizeof name, "keyed copy, %s", p.name);
    Report(name, frame, [&] { KeyedCopyPixels(dst.View(), all, keyed.View(), all, kTransparentMarker, p.path); });
    std::snprintf(name, sizeof name, "fill rect, %s", p.name);
    Report(name, frame, [&] { FillRectPixels(dst.View(), all, 0xFF336699u, false, p.path); });
    std::snprintf(name, sizeof name, "fill rect, blended 50%%, %s", p.name);
    Report(name, frame, [&] { FillRectPixels(dst.View(), all, 0x80336699u, true, p.path); });
    std::snprintf(name, sizeof name, "set alpha, %s", p.name);
    Report(name, frame, [&] { SetAlphaPixels(dst.View(), 0xFF, p.path); });
    std::snprintf(name, sizeof name, "brightness shift (in place), %s", p.name);
    int sign = 1;  // up and down in turn, so that nothing saturates
    Report(name, frame, [&] { BrightnessShiftPixels(dst.View(), 20 * (sign = -sign), p.path); });
  }
  Report("keyed stretch 512x384 -> 1024x768", frame,
         [&] { KeyedCopyPixels(dst.View(), all, half.View(), half.Bounds()); });
  Report("stretch 512x384 -> 1024x768", frame, [&] { StretchCopyPixels(dst.View(), all, half.View(), half.Bounds()); });
  Report("stretch 1024x768 -> 1000x700", 1000.0 * 700, [&] {
    StretchCopyPixels(dst.View(), {0, 0, 1000, 700}, keyed.View(), all);
  });
  Report("blend stretch 512x384 -> 1024x768", frame, [&] {
    StretchBlendCopyPixels(dst.View(), all, TConstPixelBuffer(skin.pixels.data(), 512, 384, kWidth), {0, 0, 512, 384});
  });
  Report("tile 32x32", frame, [&] { TilePixels(dst.View(), all, tile.View(), tile.Bounds(), false); });
  Report("tile 32x32, keyed", frame, [&] { TilePixels(dst.View(), all, tile.View(), tile.Bounds(), true); });
  Report("tile 1x1", frame, [&] { TilePixels(dst.View(), all, tile.View(), {3, 3, 4, 4}, false); });
  Report("margins 64x64 (8) stretched, keyed", frame,
         [&] { DrawMarginsPixels(dst.View(), all, frameSkin.View(), frameSkin.Bounds(), 8, 8, 8, 8, true, true); });
  Report("margins 64x64 (8) tiled, keyed", frame,
         [&] { DrawMarginsPixels(dst.View(), all, frameSkin.View(), frameSkin.Bounds(), 8, 8, 8, 8, false, true); });
  Report("underlay, skin mix", frame, [&] {
    std::memcpy(src.pixels.data(), skin.pixels.data(), src.pixels.size() * sizeof(uint32_t));
    UnderlayPixels(src.View(), 0, 0, dst.View(), all);
  });
  Report("  (its memcpy restore alone)", frame,
         [&] { std::memcpy(src.pixels.data(), skin.pixels.data(), src.pixels.size() * sizeof(uint32_t)); });

  // Palette-born images: 256 colours, random indices (no runs to exploit).
  std::vector<uint32_t> palette(256);
  for (auto& c : palette) c = rng() | 0xFF000000u;
  palette[0] = kTransparentMarker;
  TImage paletted(kWidth, kHeight);
  for (auto& p : paletted.pixels) p = palette[rng() % 256];
  // The automatic choice as well: its table lookups are not the widest.
  const TPathName lookupPaths[] = {{kppScalar, "scalar"}, {kppSse2, "SSE2"}, {kppAvx2, "AVX2"}, {kppAuto, "automatic"}};
  for (const TPathName& p : lookupPaths) {
    std::snprintf(name, sizeof name, "hue shift, 256 colours, %s", p.name);
    Report(name, frame, [&] {
      std::memcpy(src.pixels.data(), paletted.pixels.data(), src.pixels.size() * sizeof(uint32_t));
      HueShiftPixels(src.View(), 37, p.path);
    });
    std::snprintf(name, sizeof name, "palette expansion of 8-bit indices, %s", p.name);
    std::vector<uint8_t> indices(static_cast<size_t>(kWidth) * kHeight);
    for (auto& i : indices) i = static_cast<uint8_t>(rng());
    const TRowWriters writers = RowWriters(p.path);
    Report(name, frame, [&] { writers.expand(src.pixels.data(), indices.data(), kWidth * kHeight, palette.data()); });
  }
  Report("brightness shift", frame, [&] {
    std::memcpy(src.pixels.data(), paletted.pixels.data(), src.pixels.size() * sizeof(uint32_t));
    BrightnessShiftPixels(src.View(), -20);
  });

  // Re-tinting a skinned style: hue then brightness on both skins, from the
  // untinted pixels each time (the restore is timed separately).
  TImage skinA(500, 500), skinB(500, 480), workA(500, 500), workB(500, 480);
  for (auto& p : skinA.pixels) p = palette[rng() % 256];
  for (auto& p : skinB.pixels) p = palette[rng() % 256];
  auto restore = [&] {
    workA.pixels = skinA.pixels;
    workB.pixels = skinB.pixels;
  };
  const double restoreSeconds = SecondsPerCall(restore);
  const double retintSeconds = SecondsPerCall([&] {
    restore();
    HueShiftPixels(workA.View(), 37);
    HueShiftPixels(workB.View(), 37);
    BrightnessShiftPixels(workA.View(), -20);
    BrightnessShiftPixels(workB.View(), -20);
  });
  std::printf("%-44s %9.3f ms (restore of the pixels excluded: %.3f ms)\n",
              "re-tint two 256-colour skins 500x500, 500x480", (retintSeconds - restoreSeconds) * 1e3,
              restoreSeconds * 1e3);
  std::printf("checksum %08x\n", Checksum(dst) ^ Checksum(src) ^ Checksum(workA) ^ Checksum(workB));
  return 0;
}
