// HelpViewerCounted.exe: the viewer as shipped, built for the checks from
// outside with the GDI and USER object counter of the tests installed before
// its first window, exceptions counted instead of shown, and a message-only
// window of class "HelpViewerCounts" that answers the registered message
// "HelpViewer.Counts" with a count (see tests/support/counted_viewer.h).
// The program itself has no such window: this build alone answers.

#include <windows.h>

#include <cstdio>

#include "app/startup.h"
#include "framework/application.h"
#include "tests/support/counted_viewer.h"
#include "tests/support/gui_objects.h"

namespace {

long gExceptions = 0;
UINT gCountsMessage = 0;

LRESULT CALLBACK CountsWndProc(HWND wnd, UINT message, WPARAM wParam, LPARAM lParam) {
  using namespace hv::test;
  if (message != gCountsMessage || gCountsMessage == 0) return DefWindowProcW(wnd, message, wParam, lParam);
  const TGuiObjectCounts live = LiveGuiObjects();
  switch (static_cast<TViewerCount>(wParam)) {
    case kvcGdi: return live.Gdi();
    case kvcUser: return live.User();
    case kvcExceptions: return gExceptions;
    case kvcMade: return GuiObjectsMade();
    case kvcFailedSelections: return FailedSelections();
    case kvcDescribe:
      std::fprintf(stderr, "HelpViewerCounted: live %s; last refused selection: %s\n", live.Describe().c_str(),
                   LastFailedSelection().c_str());
      std::fflush(stderr);
      return 0;
  }
  return -1;
}

void MakeCountsWindow() {
  gCountsMessage = RegisterWindowMessageW(hv::test::kViewerCountsMessage);
  WNDCLASSW cls{};
  cls.lpfnWndProc = CountsWndProc;
  cls.hInstance = GetModuleHandleW(nullptr);
  cls.lpszClassName = hv::test::kViewerCountsClass;
  RegisterClassW(&cls);
  CreateWindowExW(0, cls.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, cls.hInstance, nullptr);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  hv::RunViewer([] {
    hv::test::InstallGuiObjectCounter();
    MakeCountsWindow();
    hv::Application()->OnException = [](hv::TObject*, const std::exception& error) {
      ++gExceptions;
      std::fprintf(stderr, "HelpViewerCounted: exception: %s\n", error.what());
      std::fflush(stderr);
    };
  });
  return 0;
}
