// The Highlight and Lines styles under Wine: a whole window frame, a row of
// speed buttons and push buttons, and a full gallery sheet beside Metal
// Luna's, whose sheet time a procedural style may take at most twice.
// Prints milliseconds per call.
//
// Run: DISPLAY=:99 cmake/wine-run.sh build/<dir>/tools/highlight_bench.exe

#include <windows.h>

#include <cstdio>
#include <memory>
#include <string>

#include "framework/graphics.h"
#include "theme/core/tebitmap.h"
#include "theme/core/theme.h"
#include "theme/core/themelibrary.h"
#include "theme/styles/allstyles.h"
#include "tools/bench/bench_timing.h"
#include "tools/gallery/gallery.h"

namespace {

using namespace hv;
using bench::MillisecondsPerCall;
using bench::Report;

void Elements(TTeTheme& theme, const std::string& name) {
  TTeBitmap surface;
  surface.SetSize(1024, 768);
  TCanvas canvas;
  canvas.SetHandle(surface.DC());
  Report((name + ": DrawFormFrame, 1024 x 768, active").c_str(),
         [&] { theme.DrawFormFrame(canvas, 1024, 768, {4, 26, 1020, 764}, true, kbsStandard); });
  Report((name + ": DrawSpeedButton x 100, 60 x 24, hot").c_str(), [&] {
    for (int i = 0; i < 100; ++i)
      theme.DrawSpeedButton(canvas, Bounds((i % 16) * 62, (i / 16) * 26, 60, 24), kesHot, true, false);
  });
  Report((name + ": DrawCheckBox x 100, checked").c_str(), [&] {
    for (int i = 0; i < 100; ++i)
      theme.DrawCheckBox(canvas, Bounds((i % 16) * 20, (i / 16) * 20, 13, 13), kesHot, cbChecked);
  });
  canvas.SetHandle(nullptr);
}

}  // namespace

int main() {
  StartThemeLibrary({.registerStyles = &RegisterAllStyles});
  {
    double sheets[3] = {};
    const char* names[3] = {"MetalLuna", "Highlight", "Lines"};
    for (int i = 0; i < 3; ++i) {
      std::unique_ptr<TTeTheme> theme = FindThemeClass(names[i])->Create();
      if (i > 0) Elements(*theme, names[i]);
      sheets[i] = MillisecondsPerCall([&] { PaintStyleSheet(*theme, names[i]); });
      std::printf("%-58s %9.3f ms/call\n", (std::string(names[i]) + ": whole gallery sheet").c_str(), sheets[i]);
    }
    for (int i = 1; i < 3; ++i)
      std::printf("%-58s %9.2f x (goal: at most 2)\n", (std::string(names[i]) + " sheet / Metal Luna sheet").c_str(),
                  sheets[i] / sheets[0]);
  }
  FinishThemeLibrary();
  return 0;
}
