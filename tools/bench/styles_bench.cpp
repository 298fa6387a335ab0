// Every registered style painting its whole gallery sheet, against Metal
// Luna's time (the skinned style copies bitmaps, the procedural ones draw),
// and switching the style of the viewer's running main window: the style
// created, every themed form and control refreshed, then repainted.

#include <windows.h>

#include <cstdio>
#include <memory>
#include <string>

#include "app/frmmain.h"
#include "app/startup.h"
#include "framework/application.h"
#include "theme/core/theme.h"
#include "theme/core/themeengine.h"
#include "theme/frame/themeform.h"
#include "tools/bench/bench_timing.h"
#include "tools/gallery/gallery.h"

namespace hv {
namespace {

void PumpMessages() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

void SheetTimes() {
  std::printf("%-12s %12s %10s\n", "style", "sheet ms", "x Metal");
  double metal = 0;
  if (TTeThemeClass metalClass = FindThemeClass("MetalLuna")) {
    std::unique_ptr<TTeTheme> theme = metalClass->Create();
    metal = bench::MillisecondsPerCall([&] { PaintStyleSheet(*theme, "MetalLuna"); });
  }
  for (int i = 0; i < ThemeClassCount(); ++i) {
    TTeThemeClass c = ThemeClasses(i);
    if (!c->IsThemeAvailable()) continue;
    std::unique_ptr<TTeTheme> theme = c->Create();
    const double ms = bench::MillisecondsPerCall([&] { PaintStyleSheet(*theme, c->GetName()); });
    std::printf("%-12s %12.3f %10.2f\n", c->GetName().c_str(), ms, metal > 0 ? ms / metal : 0.0);
    std::fflush(stdout);
  }
}

void SwitchTimes() {
  TFrmMain* form = Application()->CreateForm<TFrmMain>();
  form->Show();
  PumpMessages();
  auto* engine = dynamic_cast<TTeThemeEngine*>(form->FindComponent("TeThemeEngine1"));
  if (!engine) return;
  // The frame's share of a switch: measuring itself anew.
  if (auto* frame = dynamic_cast<TTeThemeForm*>(form->FindComponent("TeThemeForm1")))
    std::printf("\nframe re-measure: %.3f ms\n", bench::MillisecondsPerCall([&] { frame->UpdateFrame(); }));
  std::printf("\n%-12s %10s %12s %22s\n", "to style", "create ms", "switch ms", "switch + repaint ms");
  for (int i = 0; i < ThemeClassCount(); ++i) {
    TTeThemeClass c = ThemeClasses(i);
    if (!c->IsThemeAvailable()) continue;
    TTeThemeClass back = FindThemeClass("MetalLuna");
    const double create = bench::MillisecondsPerCall([&] { c->Create(); });
    // Each call switches away and back, so that every call really changes
    // the style; half of it is one switch.
    auto switchBoth = [&] {
      engine->SelectThemeClass(c);
      engine->SelectThemeClass(back);
    };
    auto switchAndPaintBoth = [&] {
      for (TTeThemeClass to : {c, back}) {
        engine->SelectThemeClass(to);
        RedrawWindow(form->Handle(), nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
      }
    };
    const double bare = bench::MillisecondsPerCall(switchBoth) / 2;
    const double painted = bench::MillisecondsPerCall(switchAndPaintBoth) / 2;
    std::printf("%-12s %10.3f %12.3f %22.3f\n", c->GetName().c_str(), create, bare, painted);
    std::fflush(stdout);
    PumpMessages();
  }
}

}  // namespace
}  // namespace hv

int main() {
  using namespace hv;
  Application()->Initialize();
  StartViewer();
  SheetTimes();
  SwitchTimes();
  FinalizeApplication();
  FinishViewer();
  return 0;
}
