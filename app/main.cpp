// The help viewer: one window over the topic index beside the executable.

#include <windows.h>

#include "app/frmmain.h"
#include "app/startup.h"
#include "framework/application.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  using namespace hv;
  try {
    Application()->Initialize();
    StartViewer();
    Application()->CreateForm<TFrmMain>();
    Application()->Run();
  } catch (...) {
    Application()->HandleException(nullptr);
  }
  FinalizeApplication();
  FinishViewer();
  return 0;
}
