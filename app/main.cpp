// The help viewer: one window over the topic index beside the executable.

#include <windows.h>

#include "app/frmmain.h"
#include "framework/application.h"
#include "framework/classes.h"
#include "framework/standardclasses.h"
#include "framework/webbrowser.h"
#include "theme/core/themeengine.h"
#include "theme/core/themelibrary.h"
#include "theme/frame/frameresources.h"
#include "theme/frame/themeform.h"
#include "theme/styles/luna.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  using namespace hv;
  try {
    Application()->Initialize();
    // The theme library is up, with the styles registered, before the first
    // window exists.
    StartThemeLibrary(&RegisterSkinnedStyles);
    RegisterStandardClasses();
    RegisterClasses<TFrmMain, TWebBrowser, TTeThemeEngine, TTeThemeForm>();
    Application()->CreateForm<TFrmMain>();
    Application()->Run();
  } catch (...) {
    Application()->HandleException(nullptr);
  }
  FinalizeApplication();
  FreeFrameResources();
  FinishThemeLibrary();
  return 0;
}
