// The frame and its form's menu bar: the bar is offered the form's short
// cuts before whatever handler the form had.

#include "theme/frame/menubar.h"
#include "theme/frame/themeform.h"

namespace hv {

namespace {
constexpr const char* kFrameShortCut = "TeFrameShortCut";
}  // namespace

void TTeCustomForm::SetMenuBar(TTeCustomMenuBar* value) {
  if (menuBar_ == value) return;
  if (menuBar_) menuBar_->RemoveFreeNotification(this);
  menuBar_ = value;
  if (value) value->FreeNotification(this);
}

void TTeCustomForm::ChainShortCut() {
  TCustomForm* form = OwnerForm();
  if (!form || form->OnShortCut.Name() == kFrameShortCut) return;
  savedShortCut_ = form->OnShortCut;
  form->OnShortCut = TShortCutEvent(
      [this](TMessage& message, bool& handled) {
        if (menuBar_ && !menuBar_->IsDestroying() && menuBar_->IsShortCut(message)) {
          handled = true;
          return;
        }
        if (savedShortCut_) savedShortCut_(message, handled);
      },
      kFrameShortCut);
}

void TTeCustomForm::UnchainShortCut() {
  TCustomForm* form = OwnerForm();
  if (!form || form->OnShortCut.Name() != kFrameShortCut) return;
  form->OnShortCut = savedShortCut_;
  savedShortCut_.Clear();
}

}  // namespace hv
