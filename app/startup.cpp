#include "app/startup.h"

#include "app/frmmain.h"
#include "framework/classes.h"
#include "framework/standardclasses.h"
#include "framework/webbrowser.h"
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

}  // namespace hv
