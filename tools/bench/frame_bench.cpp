// The themed form frame under Wine with Metal Luna: what painting the
// non-client area costs in each buffer mode (the main window uses no
// buffer, whose caption strip still goes through a bitmap of its own), what
// a hit test, a background paint and a whole-window paint request cost.
// Prints milliseconds per call for a 1024 x 768 window.
//
// Run: HV_ARCH=i686 DISPLAY=:99 cmake/wine-run.sh build/<dir>/tools/frame_bench.exe

#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <memory>

#include "framework/application.h"
#include "framework/forms.h"
#include "theme/core/tebitmap.h"
#include "theme/core/themeengine.h"
#include "theme/core/themelibrary.h"
#include "theme/frame/frameresources.h"
#include "theme/frame/themeform.h"
#include "theme/styles/luna.h"
#include "tools/bench/bench_timing.h"

namespace {

using namespace hv;
using bench::Report;

}  // namespace

int main() {
  Application()->Initialize();
  StartThemeLibrary({.registerStyles = &RegisterSkinnedStyles});
  {
    auto form = std::make_unique<TForm>(nullptr);
    form->SetBounds(20, 20, 1024, 768);
    form->SetCaption("HelpViewer Help - published by the HelpViewer project");
    auto* engine = TComponent::Create<TTeThemeEngine>(form.get());
    engine->SelectThemeClass(FindThemeClass("MetalLuna"));
    auto* frame = TComponent::Create<TTeThemeForm>(form.get());
    frame->SetBorderIcons({kbiClose, kbiMinimize, kbiMaximize});
    frame->SetThemeEngine(engine);
    form->HandleNeeded();
    frame->Loaded();
    form->Show();
    HWND wnd = form->Handle();
    SendMessageW(wnd, WM_NCACTIVATE, TRUE, 0);

    const struct {
      TTeFormPerformance mode;
      const char* name;
    } modes[] = {{ksfpNoBuffer, "WM_NCPAINT, no buffer (caption strip off screen)"},
                 {ksfpSharedBuffer, "WM_NCPAINT, shared buffer"},
                 {ksfpPersistentBuffer, "WM_NCPAINT, persistent buffer"},
                 {ksfpDoubleBuffer, "WM_NCPAINT, fresh buffer per paint"}};
    for (const auto& m : modes) {
      frame->SetPerformance(m.mode);
      Report(m.name, [&] { SendMessageW(wnd, WM_NCPAINT, 1, 0); });
    }
    frame->SetPerformance(ksfpNoBuffer);
    RECT r{};
    GetWindowRect(wnd, &r);
    Report("WM_NCHITTEST on the caption",
           [&] { SendMessageW(wnd, WM_NCHITTEST, 0, MAKELPARAM(r.left + 300, r.top + 12)); });
    Report("WM_ERASEBKGND of the whole client area", [&] {
      HDC dc = GetDC(wnd);
      SendMessageW(wnd, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
      ReleaseDC(wnd, dc);
    });
    TTeBitmap target;
    target.SetSize(1024, 768);
    Report("0xB1C8 whole window into a bitmap",
           [&] { SendMessageW(wnd, WM_TE_PAINTWINDOW, 0, reinterpret_cast<LPARAM>(target.DC())); });
    Report("theme change walk (UpdateFrame, repaint, invalidate)", [&] { engine->UpdateThemedForms(); });
    ShowWindow(wnd, SW_HIDE);
  }
  FreeFrameResources();
  FinalizeApplication();
  FinishThemeLibrary();
  return 0;
}
