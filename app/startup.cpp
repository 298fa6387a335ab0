#include "app/startup.h"

#include "app/frmmain.h"
#include "app/styleoption.h"
#include "framework/application.h"
#include "framework/classes.h"
#include "framework/standardclasses.h"
#include "framework/starttrace.h"
#include "pageview/webbrowser.h"
#include "theme/controls/groupbox.h"
#include "theme/controls/speedbutton.h"
#include "theme/controls/splitter.h"
#include "theme/controls/statusbar.h"
#include "theme/controls/themetreeview.h"
#include "theme/core/themeengine.h"
#include "theme/core/themelibrary.h"
#include "theme/frame/formoptions.h"
#include "theme/frame/frameresources.h"
#include "theme/frame/menuresources.h"
#include "theme/frame/themeform.h"
#include "theme/styles/allstyles.h"

namespace hv {

void StartViewer() {
  StartThemeLibrary({.registerClasses = &RegisterFrameClasses,
                     .registerStyles = &RegisterAllStyles,
                     .freeSharedObjects = &FreeFrameResources});
  RegisterStandardClasses();
  RegisterClasses<TFrmMain, TWebBrowser, TTeThemeEngine, TTeThemeForm>();
  // The themed controls of the window's layout.
  RegisterClasses<TTeThemeGroupBox, TTeThemeSpeedButton, TTeThemeSplitter, TTeThemeStatusBar, TTeThemeSTreeView>();
}

void FinishViewer() { FinishThemeLibrary(); }

void RunViewer(const std::function<void()>& beforeFirstWindow) {
  try {
    StartupMark("entry");
    Application()->Initialize();
    StartupMark("application initialised");
    StartViewer();
    StartupMark("theme library started");
    if (beforeFirstWindow) beforeFirstWindow();
    // The style named on the command line replaces the stored one before
    // the window first shows.
    TFrmMain* main = Application()->CreateForm<TFrmMain>();
    const std::string message = ApplyStyleOption(*main, CommandLineArguments());
    if (!message.empty()) main->ShowStartupMessage(message);
    StartupMark("main window created");
    if (StartupTraceOn())
      Application()->OnIdle = [idled = false](TObject*) mutable {
        if (!idled) StartupMark("first idle");
        idled = true;
      };
    Application()->Run();
  } catch (...) {
    Application()->HandleException(nullptr);
  }
  FinalizeApplication();
  FinishViewer();
}

}  // namespace hv
