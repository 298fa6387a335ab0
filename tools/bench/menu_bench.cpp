// The themed menus: opening the viewer's system menu in Metal Luna (creating
// the popup window, layout, the first paint and the shadow) until it closes,
// and how many items one move of the hot item repaints.

#include <windows.h>

#include <cstdio>
#include <memory>

#include "bench_timing.h"
#include "framework/application.h"
#include "framework/forms.h"
#include "theme/core/themeengine.h"
#include "theme/core/themelibrary.h"
#include "theme/frame/itemview.h"
#include "theme/frame/menuresources.h"
#include "theme/frame/themeform.h"
#include "theme/styles/allstyles.h"

using namespace hv;

namespace {
HWND gOwner = nullptr;
int gPaints = -1;
int gStep = 0;

// Inside the menu's loop: the first level is open and painted; move the
// hot item once, count what it repaints, and close.
void CALLBACK HotStep(HWND, UINT, UINT_PTR, DWORD) {
  const auto& open = TTeItemView::OpenViews();
  if (open.empty()) return;
  HWND host = open.back()->HostHandle();
  if (gStep == 0) {
    UpdateWindow(host);
    TTeItemView::ItemPaintCount() = 0;
    PostMessageW(gOwner, WM_KEYDOWN, VK_DOWN, 0);
    gStep = 1;
  } else if (gStep == 1) {
    UpdateWindow(host);
    gPaints = TTeItemView::ItemPaintCount();
    PostMessageW(gOwner, WM_KEYDOWN, VK_ESCAPE, 0);
    gStep = 2;
  }
}
}  // namespace

int main() {
  Application()->Initialize();
  StartThemeLibrary(
      {.registerClasses = &RegisterFrameClasses, .registerStyles = &RegisterAllStyles, .freeSharedObjects = nullptr});
  {
    auto form = std::make_unique<TForm>(nullptr);
    form->SetBounds(100, 100, 640, 480);
    auto* engine = TComponent::Create<TTeThemeEngine>(form.get());
    engine->SelectThemeClass(FindThemeClass("MetalLuna"));
    auto* frame = TComponent::Create<TTeThemeForm>(form.get());
    frame->SetMinimizeApplication(false);
    frame->SetThemeEngine(engine);
    TTeShadow shadow;
    shadow.SetEnabled(true);
    frame->SystemMenuOptions()->SetShadow(&shadow);
    form->HandleNeeded();
    frame->Loaded();
    form->Show();
    gOwner = form->Handle();

    bench::Report("system menu: open, lay out, paint, shadow, close", [&] {
      PostMessageW(gOwner, WM_KEYDOWN, VK_ESCAPE, 0);
      frame->ShowSystemMenu();
    });

    const UINT_PTR timer = SetTimer(nullptr, 0, 30, &HotStep);
    frame->ShowSystemMenu();
    KillTimer(nullptr, timer);
    std::printf("%-58s %9d items\n", "system menu: items repainted by one hot move", gPaints);
  }
  FinalizeApplication();
  FinishThemeLibrary();
  return 0;
}
