// ControlsDemo: one window that holds every themed control of the family,
// linked to one engine, with a style switcher that repaints the whole window
// in any of the registered styles while it runs.
//
//   ControlsDemo.exe                   shows the window
//   ControlsDemo.exe --shots <folder>  writes "ControlsDemo <style>.bmp" of
//                                      the window in every available style
//                                      into the folder, then exits

#include <windows.h>
// After windows.h, which it needs.
#include <shellapi.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "framework/application.h"
#include "framework/classes.h"
#include "framework/filestream.h"
#include "framework/graphics.h"
#include "framework/winstring.h"
#include "theme/core/themeengine.h"
#include "theme/core/themelibrary.h"
#include "theme/frame/frameresources.h"
#include "theme/frame/menuresources.h"
#include "theme/frame/themeform.h"
#include "theme/styles/allstyles.h"
#include "tools/controlsdemo/frmcontrols.h"

namespace hv {
namespace {

void Pump() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

// The window as the screen shows it, frame included.
void SaveWindowShot(HWND wnd, const std::string& path) {
  RECT r{};
  GetWindowRect(wnd, &r);
  TBitmap shot(r.right - r.left, r.bottom - r.top, pf24bit);
  HDC screen = GetDC(nullptr);
  BitBlt(shot.Canvas()->Handle(), 0, 0, r.right - r.left, r.bottom - r.top, screen, r.left, r.top, SRCCOPY);
  ReleaseDC(nullptr, screen);
  TFileStream file(path, TFileMode::fmCreate);
  shot.SaveToStream(file);
}

int WriteShots(TFrmControls& form, const std::string& folder) {
  form.Show();
  SetForegroundWindow(form.Handle());
  for (int i = 0; i < ThemeClassCount(); ++i) {
    TTeThemeClass style = ThemeClasses(i);
    if (!style->IsThemeAvailable()) continue;
    form.Engine().SelectThemeClass(style);
    form.ShowStyle();
    Pump();
    RedrawWindow(form.Handle(), nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_UPDATENOW | RDW_ALLCHILDREN);
    Pump();
    const std::string path = folder + "\\ControlsDemo " + style->GetName() + ".bmp";
    SaveWindowShot(form.Handle(), path);
    std::printf("%s\n", path.c_str());
  }
  return 0;
}

}  // namespace
}  // namespace hv

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  using namespace hv;
  int result = 0;
  StartThemeLibrary({.registerClasses = &RegisterFrameClasses,
                     .registerStyles = &RegisterAllStyles,
                     .freeSharedObjects = &FreeFrameResources});
  int argc = 0;
  LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  const bool shots = argv && argc >= 3 && std::wstring(argv[1]) == L"--shots";
  const std::string folder = shots ? Narrow(argv[2]) : std::string();
  LocalFree(argv);
  try {
    Application()->Initialize();
    // Without a user to close a message box, a fault is written out.
    if (shots)
      Application()->OnException = [&result](TObject*, const std::exception& e) {
        result = 1;
        std::fprintf(stderr, "ControlsDemo: %s\n", e.what());
      };
    RegisterClasses<TFrmControls, TTeThemeEngine, TTeThemeForm>();
    TFrmControls* form = Application()->CreateForm<TFrmControls>();
    if (shots)
      result = std::max(result, WriteShots(*form, folder));
    else
      Application()->Run();
  } catch (...) {
    Application()->HandleException(nullptr);
    result = 1;
  }
  FinalizeApplication();
  FinishThemeLibrary();
  return result;
}
