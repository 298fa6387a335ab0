// The skinned styles under Wine: what loading and re-tinting the skins cost
// (the engine does it at creation and on every hue or brightness change),
// and what painting from them costs for a whole window frame, a row of
// speed buttons and a full gallery sheet. Prints milliseconds per call.
//
// Run: HV_ARCH=i686 DISPLAY=:99 cmake/wine-run.sh build/<dir>/tools/skins_bench.exe

#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <functional>
#include <memory>

#include "framework/graphics.h"
#include "theme/core/tebitmap.h"
#include "tools/bench/bench_timing.h"
#include "theme/core/themelibrary.h"
#include "theme/styles/luna.h"
#include "tools/gallery/gallery.h"

namespace {

using namespace hv;
using bench::Report;

}  // namespace

int main() {
  StartThemeLibrary({.registerStyles = &RegisterSkinnedStyles});
  {
    // The first construction of the process writes pixel memory the
    // process never had: every page costs a fault.
    const auto firstStart = std::chrono::steady_clock::now();
    auto first = std::make_unique<TTeThemeMetalLuna>();
    const double firstSeconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - firstStart).count();
    first.reset();
    TTeThemeMetalLuna theme;
    const double area = static_cast<double>(theme.PrimarySkin().Width()) * theme.PrimarySkin().Height() +
                        static_cast<double>(theme.SecondarySkin().Width()) * theme.SecondarySkin().Height();
    const TPixelPath path = WidestPixelPath();
    std::printf("skin area %.0f pixels, pixel loops %s\n", area,
                path == kppAvx2 ? "AVX2" : path == kppSse2 ? "SSE2" : "scalar");
    std::printf("%-58s %9.3f ms      %8.0f Mpx/s\n", "construct Metal Luna, the first in the process",
                firstSeconds * 1e3, area / firstSeconds / 1e6);
    // Per call and per pixel of skin area: the fastest and the median of
    // many calls.
    auto perArea = [&](const char* name, const std::function<void()>& op) {
      const bench::TCallTimes times = bench::CallTimes(op, 20, 1.0, 2000);
      std::printf("%-58s %9.3f ms/call %8.0f Mpx/s  (median %.3f ms, %.0f Mpx/s)\n", name, times.fastest * 1e3,
                  area / times.fastest / 1e6, times.median * 1e3, area / times.median / 1e6);
      std::fflush(stdout);
    };
    int hue = 0;
    perArea("construct Metal Luna (decode and key both skins)", [] { TTeThemeMetalLuna fresh; });
    // What the platform asks of any construction without memory to reuse:
    // the first write to each page of fresh memory faults.
    perArea("floor: fresh memory of the skins' size, written once", [&] {
      const size_t bytes = static_cast<size_t>(area) * sizeof(uint32_t);
      void* memory = VirtualAlloc(nullptr, bytes, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
      if (!memory) return;
      std::memset(memory, 0x5A, bytes);
      VirtualFree(memory, 0, MEM_RELEASE);
    });
    // Two bitmaps of the skins' sizes, made and released over and over:
    // the released DIB sections serve the next ones.
    perArea("floor: two DIB sections of the skins' sizes, filled", [&] {
      TTeBitmap primary, secondary;
      primary.SetSize(theme.PrimarySkin().Width(), theme.PrimarySkin().Height());
      secondary.SetSize(theme.SecondarySkin().Width(), theme.SecondarySkin().Height());
      primary.Fill(0xFF102030);
      secondary.Fill(0xFF102030);
    });
    perArea("floor: two DIB sections of the skins' sizes, untouched", [&] {
      TTeBitmap primary, secondary;
      primary.SetSize(theme.PrimarySkin().Width(), theme.PrimarySkin().Height());
      secondary.SetSize(theme.SecondarySkin().Width(), theme.SecondarySkin().Height());
    });
    perArea("UpdateColors, hue shifted (reload, key, tint both skins)", [&] {
      theme.SetDeltaHue(hue = hue == 40 ? 41 : 40);
    });
    perArea("UpdateColors, hue and brightness shifted", [&] {
      theme.SetDeltaBrightness(hue = hue == 20 ? -20 : 20);
    });
    theme.SetDeltaHue(0);
    theme.SetDeltaBrightness(0);

    TTeBitmap surface;
    surface.SetSize(1024, 768);
    TCanvas canvas;
    canvas.SetHandle(surface.DC());
    Report("DrawFormFrame, 1024 x 768, active", [&] {
      theme.DrawFormFrame(canvas, 1024, 768, {3, 29, 1021, 765}, true, kbsStandard);
    });
    Report("DrawSpeedButton x 100, 60 x 24, hot (nine parts, keyed corners)", [&] {
      for (int i = 0; i < 100; ++i)
        theme.DrawSpeedButton(canvas, Bounds((i % 16) * 62, (i / 16) * 26, 60, 24), kesHot, true, false);
    });
    Report("DrawCheckBox x 100 (keyed copies)", [&] {
      for (int i = 0; i < 100; ++i)
        theme.DrawCheckBox(canvas, Bounds((i % 16) * 20, (i / 16) * 20, 16, 16), kesHot, cbChecked);
    });
    canvas.SetHandle(nullptr);
    Report("whole gallery sheet (320 cells)", [&] { PaintStyleSheet(theme, "MetalLuna"); });
  }
  FinishThemeLibrary();
  return 0;
}
