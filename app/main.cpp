// The help viewer: one window over the topic index beside the executable.

#include <windows.h>

#include "app/frmmain.h"
#include "app/startup.h"
#include "app/styleoption.h"
#include "framework/application.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  using namespace hv;
  try {
    Application()->Initialize();
    StartViewer();
    // The style named on the command line replaces the stored one before
    // the window first shows.
    TFrmMain* main = Application()->CreateForm<TFrmMain>();
    const std::string message = ApplyStyleOption(*main, CommandLineArguments());
    if (!message.empty()) main->ShowStartupMessage(message);
    Application()->Run();
  } catch (...) {
    Application()->HandleException(nullptr);
  }
  FinalizeApplication();
  FinishViewer();
  return 0;
}
