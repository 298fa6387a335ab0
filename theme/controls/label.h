#pragma once
// The label: a windowless wide-character caption with alignment, vertical
// layout, word wrap, automatic size and an accelerator that focuses another
// control. It paints the same under every style.

#include <cstdint>
#include <string>

#include "framework/extctrls.h"
#include "theme/controls/controlbase.h"

namespace hv {

class TCanvas;

enum TTextLayout : uint8_t { tlTop, tlCenter, tlBottom };

class TTeCustomLabel : public TTeGraphicControl {
  HV_CLASS(TTeCustomLabel, TTeGraphicControl)

 public:
  explicit TTeCustomLabel(TComponent* owner);
  ~TTeCustomLabel() override;

  TAlignment Alignment() const { return alignment_; }
  void SetAlignment(TAlignment value);
  bool AutoSize() const { return autoSize_; }
  virtual void SetAutoSize(bool value);
  TWinControl* FocusControl() const { return focusControl_; }
  void SetFocusControl(TWinControl* value);
  bool ShowAccelChar() const { return showAccelChar_; }
  void SetShowAccelChar(bool value);
  TTextLayout Layout() const { return layout_; }
  void SetLayout(TTextLayout value);
  bool WordWrap() const { return wordWrap_; }
  void SetWordWrap(bool value);

  void Loaded() override;

  // The text flags of a paint: alignment, word break, tabs, prefix and
  // reading order.
  unsigned TextFlags() const;

 protected:
  void WndProc(TMessage& message) override;
  void Notification(TComponent* component, TOperation operation) override;
  void PaintClient() override;

  virtual std::string GetLabelText() const { return Caption(); }
  // Sizes the label to its text, keeping its top and, right-aligned, its
  // right edge.
  virtual void AdjustBounds();
  // Draws (or with DT_CALCRECT measures into rect) the label's text.
  virtual void DoDrawText(TRect& rect, unsigned flags);

 private:
  void DrawTextOn(TCanvas& canvas, TRect& rect, unsigned flags);
  void DialogChar(TMessage& message);

  TAlignment alignment_ = TAlignment::taLeftJustify;
  bool autoSize_ = true;
  TWinControl* focusControl_ = nullptr;
  bool showAccelChar_ = true;
  TTextLayout layout_ = tlTop;
  bool wordWrap_ = false;
};

}  // namespace hv
