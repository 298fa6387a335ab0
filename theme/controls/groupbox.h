#pragma once
// The group box: an etched frame broken by a caption, or by a check box
// that enables and disables what the box holds. TTeThemeGroupBox paints
// the frame through its engine's style when there is a usable one.

#include <string>

#include "theme/controls/boxgeometry.h"
#include "theme/controls/controlbase.h"
#include "theme/controls/themelink.h"

namespace hv {

class TTeCustomCheckBox;
class TTeThemeEngine;

// A caption's extent on a font, as the group box measures it.
TSize MeasureCaption(const TFont& font, std::string_view text);

class TTeCustomGroupBox : public TTeCustomControl {
  HV_CLASS(TTeCustomGroupBox, TTeCustomControl)

 public:
  explicit TTeCustomGroupBox(TComponent* owner);
  ~TTeCustomGroupBox() override;

  int CaptionMargin() const { return captionMargin_; }
  void SetCaptionMargin(int value);
  // On only while the check box exists.
  bool UseCheckBox() const { return useCheckBox_ && checkBox_; }
  void SetUseCheckBox(bool value);
  TTeCustomCheckBox* CheckBox() const { return checkBox_; }
  TTeLeftRight CheckBoxAlignment() const;
  void SetCheckBoxAlignment(TTeLeftRight value);
  // With the check box, the state that enables the children.
  bool Checked() const { return checked_; }
  void SetChecked(bool value);

  // A box with a check box always reports enabled, so that its check box
  // stays usable; the framework sees the same value.
  bool Enabled() const { return enabledFlag_ || UseCheckBox(); }
  void SetEnabled(bool value) override;

  TNotifyEvent OnCheckBoxClick;

  // The frame: below the middle of the caption, 3 in from the left, 2 in
  // from the right and bottom.
  virtual TRect GetFrameRect();
  // The caption's gap in the frame's top line.
  TRect CaptionRect();
  // Aligned children go below the caption.
  TRect ClientRect() const override;
  void Loaded() override;

 protected:
  void PaintClient() override;
  // The etched frame and the caption without a style.
  void PaintPlainFrame();
  virtual void CheckBoxClick(TObject* sender);
  virtual TTeCustomCheckBox* CreateCheckBox();
  // The caption's height: the check box's with one, else the text's.
  int CaptionHeight() const;
  void PositionCheckBox();
  virtual void EnabledChanged();
  void WndProc(TMessage& message) override;
  void Notification(TComponent* component, TOperation operation) override;
  void Resize() override;

 private:
  void ApplyUseCheckBox();

  int captionMargin_ = 12;
  bool enabledFlag_ = true;
  bool useCheckBox_ = false;
  TTeCustomCheckBox* checkBox_ = nullptr;  // owned; cleared when it goes
  TTeLeftRight checkBoxAlignment_ = ktaLeftJustify;
  bool checked_ = true;
};

class TTeThemeGroupBox : public TTeCustomGroupBox {
  HV_CLASS(TTeThemeGroupBox, TTeCustomGroupBox)
  HV_THEME_CONTROL_LINK

 public:
  explicit TTeThemeGroupBox(TComponent* owner);

 protected:
  void PaintClient() override;
  TTeCustomCheckBox* CreateCheckBox() override;
  // The engine changed: contained controls that paint through it follow.
  virtual void ThemeEngineChanged();
  void Notification(TComponent* component, TOperation operation) override;
};

}  // namespace hv
