// The help viewer: one window over the topic index beside the executable.

#include <windows.h>

#include "app/frmmain.h"
#include "framework/application.h"
#include "framework/classes.h"
#include "framework/standardclasses.h"
#include "framework/webbrowser.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  using namespace hv;
  try {
    Application()->Initialize();
    RegisterStandardClasses();
    RegisterClasses<TFrmMain, TWebBrowser>();
    Application()->CreateForm<TFrmMain>();
    Application()->Run();
  } catch (...) {
    Application()->HandleException(nullptr);
  }
  FinalizeApplication();
  return 0;
}
