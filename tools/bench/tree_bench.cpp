// Scrolling a tree of 10,000 topics by one page, with the themed in-place
// bars over the system bars (Metal Luna) and with the system's own bars,
// in one run: the scroll message, the tree's repaint and the bar's.
//
// Run: DISPLAY=:99 cmake/wine-run.sh build/<dir>/tools/tree_bench.exe

#include <windows.h>

#include <cstdio>
#include <memory>
#include <string>

#include "framework/application.h"
#include "framework/forms.h"
#include "framework/treeview.h"
#include "theme/controls/themetreeview.h"
#include "theme/core/themeengine.h"
#include "theme/core/themelibrary.h"
#include "theme/styles/luna.h"
#include "tools/bench/bench_timing.h"

namespace {

using namespace hv;

constexpr int kTopics = 10000;

void Fill(TTreeView& tree) {
  TTreeNodes* nodes = tree.Items();
  nodes->BeginUpdate();
  TTreeNode* parent = nullptr;
  for (int i = 0; i < kTopics; ++i) {
    if (i % 50 == 0) parent = nodes->Add("Chapter " + std::to_string(i / 50));
    else nodes->AddChild(parent, "Topic " + std::to_string(i));
  }
  nodes->EndUpdate();
  tree.FullExpand();
}

// One page down, painted; back to the top when the end is reached, so
// that every call scrolls.
double PageScroll(TTreeView& tree) {
  HWND wnd = tree.Handle();
  return bench::MillisecondsPerCall([wnd] {
    SCROLLINFO info{};
    info.cbSize = sizeof(info);
    info.fMask = SIF_ALL;
    GetScrollInfo(wnd, SB_VERT, &info);
    const bool atEnd = info.nPos + static_cast<int>(info.nPage) > info.nMax;
    SendMessageW(wnd, WM_VSCROLL, atEnd ? SB_TOP : SB_PAGEDOWN, 0);
    RedrawWindow(GetParent(wnd), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
  });
}

}  // namespace

int main() {
  Application()->Initialize();
  StartThemeLibrary({.registerStyles = &RegisterSkinnedStyles});
  {
    auto form = std::make_unique<TForm>(nullptr);
    form->SetBounds(20, 20, 640, 700);
    auto* engine = TComponent::Create<TTeThemeEngine>(form.get());
    engine->SelectThemeClass(FindThemeClass("MetalLuna"));

    auto* themed = TComponent::Create<TTeThemeSTreeView>(form.get());
    themed->SetParent(form.get());
    themed->SetBounds(0, 0, 300, 660);
    themed->SetThemeEngine(engine);
    auto* plain = TComponent::Create<TTreeView>(form.get());
    plain->SetParent(form.get());
    plain->SetBounds(320, 0, 300, 660);
    Fill(*themed);
    Fill(*plain);
    form->Show();
    Application()->ProcessMessages();

    const double system = PageScroll(*plain);
    const double inPlace = PageScroll(*themed);
    std::printf("%-58s %9.3f ms/call\n", "page scroll, 10,000 topics, system bars", system);
    std::printf("%-58s %9.3f ms/call\n", "page scroll, 10,000 topics, themed in-place bars", inPlace);
    std::printf("%-58s %9.2f\n", "themed / system", inPlace / system);
  }
  FinishThemeLibrary();
  return 0;
}
