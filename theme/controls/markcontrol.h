#pragma once
// What check boxes and radio buttons share: a mark beside a caption, the
// mark shown pressed while the mouse or the space bar holds it, hover and
// focus repaints, and the caption's accelerator. Each kind says what a
// completed press does to it.

#include <string>

#include "theme/controls/boxgeometry.h"
#include "theme/controls/controlbase.h"

namespace hv {

// The mark without a style: the system's visual style (class "Button",
// part 2 radio or 3 check box, in `visualState`) when one is active, else
// the classic frame control with `classicState` (DFCS_* flags).
void DrawSystemMark(TCanvas& canvas, const TRect& rect, bool radio, int visualState, unsigned classicState);

// DT_RTLREADING when the control reads right to left on a system with
// right-to-left support, else nothing.
unsigned ControlReadingFlags(const TControl& control);

// A caption in the canvas's font colour; disabled, embossed: in the
// highlight colour one pixel down and right, then in the shadow colour.
void DrawCaptionText(TCanvas& canvas, const std::string& text, const TRect& rect, unsigned flags, bool enabled);

class TTeCustomMarkControl : public TTeCustomControl {
  HV_CLASS(TTeCustomMarkControl, TTeCustomControl)

 public:
  explicit TTeCustomMarkControl(TComponent* owner);

  TTeLeftRight Alignment() const { return alignment_; }
  void SetAlignment(TTeLeftRight value);
  int Spacing() const { return spacing_; }
  void SetSpacing(int value);
  bool WordWrap() const { return wordWrap_; }
  void SetWordWrap(bool value);
  bool MarkPressed() const { return markPressed_; }

  // Fires OnClick, but not while a layout is being read.
  void Click() override;

  // The mark's size: 13 x 13 without a style.
  virtual TSize GetMarkSize();
  // Whether the mark goes at the left (the left alignment) or the right.
  virtual bool MarkAtLeft() const { return alignment_ == ktaLeftJustify; }
  TRect MarkRect();
  // The caption as DrawCaption places it (measured with the paint font).
  TRect CaptionRect();

 protected:
  void PaintClient() override;
  virtual void DrawMark() = 0;
  virtual void DrawCaption();
  // A press completed over the control, by the mouse or the space bar.
  virtual void MarkReleased() = 0;
  // The caption's accelerator was typed; `hadFocus` tells whether the
  // control had the focus already.
  virtual void AcceleratorPressed(bool hadFocus) = 0;

  void WndProc(TMessage& message) override;
  void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
  void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
  void KeyDown(uint16_t& key, TShiftState shift) override;
  void KeyUp(uint16_t& key, TShiftState shift) override;
  void MouseEnter() override;
  void MouseLeave() override;

  // Whether the mark can be drawn through the control's style; the Custom
  // classes have none.
  virtual bool Themed() const { return false; }

 private:
  void SetMarkPressed(bool value);

  TTeLeftRight alignment_ = ktaLeftJustify;
  int spacing_ = 5;
  bool wordWrap_ = false;
  bool markPressed_ = false;
};

}  // namespace hv
