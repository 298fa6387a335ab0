#pragma once
// The radio button: checking one unchecks the others of its group (same
// parent, same GroupIndex). TTeThemeRadioButton draws the mark through its
// engine's style, always at the left.

#include <cstdint>

#include "theme/controls/markcontrol.h"
#include "theme/controls/themelink.h"

namespace hv {

class TTeThemeEngine;

class TTeCustomRadioButton : public TTeCustomMarkControl {
  HV_CLASS(TTeCustomRadioButton, TTeCustomMarkControl)

 public:
  explicit TTeCustomRadioButton(TComponent* owner);

  bool Checked() const { return checked_; }
  virtual void SetChecked(bool value);
  uint8_t GroupIndex() const { return groupIndex_; }
  void SetGroupIndex(uint8_t value) { groupIndex_ = value; }
  bool ItemTabStop() const { return itemTabStop_; }
  void SetItemTabStop(bool value) { itemTabStop_ = value; }

 protected:
  void DrawMark() override;
  void MarkReleased() override { SetChecked(true); }
  void AcceleratorPressed(bool hadFocus) override;
  void FocusEnter() override;

 private:
  void UncheckSiblings();

  bool checked_ = false;
  uint8_t groupIndex_ = 0;
  bool itemTabStop_ = true;
};

class TTeThemeRadioButton : public TTeCustomRadioButton {
  HV_CLASS(TTeThemeRadioButton, TTeCustomRadioButton)
  HV_THEME_CONTROL_LINK

 public:
  explicit TTeThemeRadioButton(TComponent* owner);

  TSize GetMarkSize() override;
  // With a style the mark stays at the left, whatever Alignment says.
  bool MarkAtLeft() const override;
  void Loaded() override;

 protected:
  bool Themed() const override;
  void DrawMark() override;
  void Notification(TComponent* component, TOperation operation) override;
};

}  // namespace hv
