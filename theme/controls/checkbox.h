#pragma once
// The check box: two or three states, toggled by a click, the space bar or
// its accelerator. TTeThemeCheckBox draws the mark through its engine's
// style when there is a usable one.

#include "theme/controls/markcontrol.h"
#include "theme/controls/themelink.h"
#include "theme/core/theme.h"

namespace hv {

class TTeThemeEngine;

class TTeCustomCheckBox : public TTeCustomMarkControl {
  HV_CLASS(TTeCustomCheckBox, TTeCustomMarkControl)

 public:
  explicit TTeCustomCheckBox(TComponent* owner);

  TCheckBoxState State() const { return state_; }
  void SetState(TCheckBoxState value);
  bool Checked() const { return state_ == cbChecked; }
  void SetChecked(bool value) { SetState(value ? cbChecked : cbUnchecked); }
  bool AllowGrayed() const { return allowGrayed_; }
  void SetAllowGrayed(bool value) { allowGrayed_ = value; }

  // unchecked -> grayed (with AllowGrayed) or checked -> unchecked; grayed -> checked.
  virtual void Toggle();

 protected:
  void DrawMark() override;
  void MarkReleased() override { Toggle(); }
  void AcceleratorPressed(bool hadFocus) override;

 private:
  TCheckBoxState state_ = cbUnchecked;
  bool allowGrayed_ = false;
};

class TTeThemeCheckBox : public TTeCustomCheckBox {
  HV_CLASS(TTeThemeCheckBox, TTeCustomCheckBox)
  HV_THEME_CONTROL_LINK

 public:
  explicit TTeThemeCheckBox(TComponent* owner);

  TSize GetMarkSize() override;
  void Loaded() override;

 protected:
  bool Themed() const override;
  void DrawMark() override;
  void Notification(TComponent* component, TOperation operation) override;
};

}  // namespace hv
