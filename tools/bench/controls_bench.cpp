// The viewer's own window under Wine with Metal Luna: what painting its
// controls once costs (top bar, the four buttons, splitter and status bar)
// with the themed buttons in each Performance mode and with the plain look,
// and what a hover change of one button costs and repaints.
//
// Run: DISPLAY=:99 cmake/wine-run.sh build/<dir>/tools/controls_bench.exe

#include <windows.h>

#include <chrono>
#include <cstdio>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "app/frmmain.h"
#include "app/startup.h"
#include "framework/application.h"
#include "theme/controls/speedbutton.h"
#include "theme/core/themeengine.h"
#include "tools/bench/bench_timing.h"

namespace {

using namespace hv;
using bench::MillisecondsPerCall;

// Counts the paints each watched control receives.
class TPaintCounter {
 public:
  void Watch(TControl* control) {
    TControl::TWndMethod previous = control->WindowProc();
    control->SetWindowProc([this, control, previous](TMessage& message) {
      if (message.Msg == WM_PAINT) ++paints_[control];
      previous(message);
    });
  }
  void Reset() { paints_.clear(); }
  int Of(TControl* control) const {
    auto it = paints_.find(control);
    return it == paints_.end() ? 0 : it->second;
  }

 private:
  std::map<TControl*, int> paints_;
};

}  // namespace

int main() {
  Application()->Initialize();
  StartViewer();
  {
    auto form = std::make_unique<TFrmMain>(nullptr);
    form->LoadFromLayout();
    form->Show();
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);

    std::vector<TTeThemeSpeedButton*> buttons;
    for (int i = 1; i <= 4; ++i)
      buttons.push_back(dynamic_cast<TTeThemeSpeedButton*>(form->FindComponent("TeThemeSpeedButton" + std::to_string(i))));
    auto* bar = dynamic_cast<TWinControl*>(form->FindComponent("TeThemeGroupBox1"));
    auto* splitter = dynamic_cast<TControl*>(form->FindComponent("TeThemeSplitter1"));
    auto* status = dynamic_cast<TWinControl*>(form->FindComponent("TeThemeStatusBar1"));
    auto* engine = dynamic_cast<TTeThemeEngine*>(form->FindComponent("TeThemeEngine1"));
    if (!bar || !splitter || !status || !engine || buttons.size() != 4) {
      std::printf("the main window's layout lacks a control this benchmark paints\n");
      return 1;
    }
    HWND wnd = form->Handle();

    // Everything the controls paint, once: the top bar with its children,
    // the splitter's strip of the window and the status bar.
    auto paintControls = [&] {
      RedrawWindow(bar->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
      RECT s{splitter->Left(), splitter->Top(), splitter->Left() + splitter->Width(),
             splitter->Top() + splitter->Height()};
      RedrawWindow(wnd, &s, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
      RedrawWindow(status->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    };
    auto setMode = [&](TTePerformance mode) {
      for (auto* b : buttons) b->SetPerformance(mode);
    };
    auto link = [&](TTeThemeEngine* e) {
      for (auto* b : buttons) b->SetThemeEngine(e);
    };

    const struct {
      TTePerformance mode;
      const char* name;
    } modes[] = {{kspNoBuffer, "kspNoBuffer"}, {kspSharedBuffer, "kspSharedBuffer"}, {kspDoubleBuffer, "kspDoubleBuffer"}};
    // Plain and themed are timed alternately, several times over, and the
    // fastest of each kept: the machine is shared.
    double plain = 1e30;
    double themed[3] = {1e30, 1e30, 1e30};
    for (int pass = 0; pass < 3; ++pass) {
      link(nullptr);
      setMode(kspNoBuffer);
      plain = std::min(plain, MillisecondsPerCall(paintControls));
      link(engine);
      for (int m = 0; m < 3; ++m) {
        setMode(modes[m].mode);
        themed[m] = std::min(themed[m], MillisecondsPerCall(paintControls));
      }
    }
    std::printf("%-58s %9.3f ms/call\n", "all controls, plain look (no engine)", plain);
    for (int m = 0; m < 3; ++m) {
      const std::string name = std::string("all controls, Metal Luna, buttons ") + modes[m].name;
      std::printf("%-58s %9.3f ms/call  %.2fx plain\n", name.c_str(), themed[m], themed[m] / plain);
    }

    // A hover change: the mouse enters the third button, then leaves it;
    // each is painted at once.
    setMode(kspNoBuffer);
    TPaintCounter counter;
    for (int i = 0; i < bar->ControlCount(); ++i) counter.Watch(bar->Controls(i));
    TTeThemeSpeedButton* hovered = buttons[2];
    const LPARAM inside = MAKELPARAM(hovered->Left() + 20, hovered->Top() + 12);
    const LPARAM outside = MAKELPARAM(2, 2);
    HWND barWnd = bar->Handle();
    auto hoverChange = [&](LPARAM at) {
      SendMessageW(barWnd, WM_MOUSEMOVE, 0, at);
      UpdateWindow(barWnd);
    };
    paintControls();
    counter.Reset();
    hoverChange(inside);
    hoverChange(outside);
    std::printf("paints for one enter and one leave of button 3:");
    for (int i = 0; i < bar->ControlCount(); ++i)
      std::printf(" %s=%d", bar->Controls(i)->Name().c_str(), counter.Of(bar->Controls(i)));
    std::printf("\n");
    bool in = false;
    for (const auto& m : modes) {
      setMode(m.mode);
      const double hover = MillisecondsPerCall([&] {
        in = !in;
        hoverChange(in ? inside : outside);
      });
      const std::string name = std::string("hover change of one button, painted, ") + m.name;
      std::printf("%-58s %9.3f ms/call\n", name.c_str(), hover);
    }
    // The same without painting: what the mouse message itself costs.
    const double message = MillisecondsPerCall([&] {
      in = !in;
      SendMessageW(barWnd, WM_MOUSEMOVE, 0, in ? inside : outside);
      ValidateRect(barWnd, nullptr);
    });
    std::printf("%-58s %9.3f ms/call\n", "hover change of one button, message only", message);
    std::fflush(stdout);
    ShowWindow(wnd, SW_HIDE);
  }
  FinishViewer();
  FinalizeApplication();
  return 0;
}
