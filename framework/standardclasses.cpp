#include "framework/standardclasses.h"

#include "framework/classes.h"
#include "framework/extctrls.h"
#include "framework/forms.h"
#include "framework/imagelist.h"
#include "framework/memo.h"
#include "framework/timer.h"
#include "framework/treeview.h"

namespace hv {

void RegisterStandardClasses() {
  RegisterClasses<TForm, TPanel, TImage, TSplitter, TSpeedButton, TStatusBar, TImageList, TMemo, TTimer,
                  TTreeView>();
}

}  // namespace hv
