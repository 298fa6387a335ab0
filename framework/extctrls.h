#pragma once
// Plain controls the help viewer stands on before (and beside) the themed
// ones: panel, image, splitter, speed button, status bar.

#include <memory>
#include <string>
#include <vector>

#include "framework/strings.h"
#include "framework/wincontrol.h"

namespace hv {

class TPicture;

enum class TBevelCut { bvNone, bvLowered, bvRaised, bvSpace };
enum class TAlignment { taLeftJustify, taRightJustify, taCenter };

// A container with bevels and a centred caption.
class TPanel : public TCustomControl {
  HV_CLASS(TPanel, TCustomControl)

 public:
  explicit TPanel(TComponent* owner);

  TBevelCut BevelInner() const { return bevelInner_; }
  void SetBevelInner(TBevelCut value);
  TBevelCut BevelOuter() const { return bevelOuter_; }
  void SetBevelOuter(TBevelCut value);
  int BevelWidth() const { return bevelWidth_; }
  void SetBevelWidth(int value);
  int BorderWidth() const { return borderWidth_; }
  void SetBorderWidth(int value);
  TAlignment Alignment() const { return alignment_; }
  void SetAlignment(TAlignment value);

  TRect AlignmentRect() const override;

 protected:
  void Paint() override;
  void WndProc(TMessage& message) override;

 private:
  int FrameWidth() const;
  TBevelCut bevelInner_ = TBevelCut::bvNone;
  TBevelCut bevelOuter_ = TBevelCut::bvRaised;
  int bevelWidth_ = 1;
  int borderWidth_ = 0;
  TAlignment alignment_ = TAlignment::taCenter;
};

// A picture on the parent's surface.
class TImage : public TGraphicControl {
  HV_CLASS(TImage, TGraphicControl)

 public:
  explicit TImage(TComponent* owner);
  ~TImage() override;

  TPicture* Picture() const { return picture_.get(); }
  bool AutoSize() const { return autoSize_; }
  void SetAutoSize(bool value);
  bool Center() const { return center_; }
  void SetCenter(bool value);
  bool Stretch() const { return stretch_; }
  void SetStretch(bool value);
  bool Transparent() const { return transparent_; }
  void SetTransparent(bool value);
  // Where the picture goes inside the control.
  TRect DestRect() const;

 protected:
  void Paint() override;

 private:
  void PictureChanged();
  std::unique_ptr<TPicture> picture_;
  bool autoSize_ = false;
  bool center_ = false;
  bool stretch_ = false;
  bool transparent_ = false;
};

// A bar that resizes the control aligned next to it.
class TSplitter : public TGraphicControl {
  HV_CLASS(TSplitter, TGraphicControl)

 public:
  explicit TSplitter(TComponent* owner);

  int MinSize() const { return minSize_; }
  void SetMinSize(int value) { minSize_ = std::max(0, value); }
  // The control it resizes: the aligned sibling that touches it on the side
  // it is aligned to.
  TControl* FindControl() const;

  TNotifyEvent OnMoved;

 protected:
  void Paint() override;
  void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
  void MouseMove(TShiftState shift, int x, int y) override;
  void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;

 private:
  TControl* control_ = nullptr;  // being resized while the mouse is down
  TPoint downAt_;
  int startSize_ = 0;
  int minSize_ = 30;
};

// A flat-capable button without a window: hot while the mouse is over it,
// down while pressed, clicked on release inside.
class TSpeedButton : public TGraphicControl {
  HV_CLASS(TSpeedButton, TGraphicControl)

 public:
  explicit TSpeedButton(TComponent* owner);

  bool Flat() const { return flat_; }
  void SetFlat(bool value);
  bool Transparent() const { return transparent_; }
  void SetTransparent(bool value);
  bool Down() const { return down_; }
  void SetDown(bool value);
  int GroupIndex() const { return groupIndex_; }
  void SetGroupIndex(int value) { groupIndex_ = value; }
  bool Pressed() const { return pressed_; }

 protected:
  void Paint() override;
  void WndProc(TMessage& message) override;
  void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
  void MouseMove(TShiftState shift, int x, int y) override;
  void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;

 private:
  bool flat_ = false;
  bool transparent_ = true;
  bool down_ = false;
  bool pressed_ = false;
  int groupIndex_ = 0;
};

// The common controls' status bar. Each line of Panels is one panel: its
// width, a space, and its text.
class TStatusBar : public TWinControl {
  HV_CLASS(TStatusBar, TWinControl)

 public:
  explicit TStatusBar(TComponent* owner);
  ~TStatusBar() override;

  TStrings* Panels() const { return panels_.get(); }
  int PanelCount() const { return panels_->Count(); }
  int PanelWidth(int index) const;
  std::string PanelText(int index) const;
  void SetPanel(int index, int width, const std::string& text);
  bool SimplePanel() const { return simplePanel_; }
  void SetSimplePanel(bool value);
  bool SizeGrip() const { return sizeGrip_; }
  void SetSizeGrip(bool value);

 protected:
  void CreateParams(TCreateParams& params) override;
  void CreateWnd() override;
  void WndProc(TMessage& message) override;

 private:
  void UpdatePanels();
  std::unique_ptr<TStringList> panels_;
  bool simplePanel_ = false;
  bool sizeGrip_ = true;
};

}  // namespace hv
