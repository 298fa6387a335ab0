#pragma once
// The push button: a focusable windowed button with a caption, a glyph
// strip, predefined kinds (OK, Cancel, ...), the default and cancel roles
// that Enter and Escape on its form reach, and a modal result that ends a
// modal form. It has no style of its own: the system's visual style when
// one is active, classic 3D lines otherwise.
//
// pushbutton.cpp holds the behaviour, pushbuttonpaint.cpp the painting.

#include <cstdint>
#include <memory>

#include "theme/controls/buttongeometry.h"
#include "theme/controls/controlbase.h"
#include "theme/core/glyphs.h"

namespace hv {

class TBitmap;

enum TTeButtonState : uint8_t { kbsNormal, kbsPressed };

class TTeCustomButton : public TTeCustomControl {
  HV_CLASS(TTeCustomButton, TTeCustomControl)

 public:
  explicit TTeCustomButton(TComponent* owner);
  ~TTeCustomButton() override;

  // Whether the button answers Enter now: its Default, unless another
  // button has the focus.
  bool ActiveDefault() const { return activeDefault_; }
  void SetActiveDefault(bool value);
  bool BlackAndWhiteGlyph() const { return blackAndWhiteGlyph_; }
  void SetBlackAndWhiteGlyph(bool value);
  bool Cancel() const { return cancel_; }
  void SetCancel(bool value) { cancel_ = value; }
  bool Default() const { return default_; }
  void SetDefault(bool value);
  TBitBtnKind Kind() const { return kind_; }
  void SetKind(TBitBtnKind value);
  int ModalResult() const { return modalResult_; }
  void SetModalResult(int value) { modalResult_ = value; }
  int NumGlyphs() const { return numGlyphs_; }
  void SetNumGlyphs(int value);
  int Spacing() const { return spacing_; }
  void SetSpacing(int value);
  TTeButtonState State() const { return state_; }
  void SetState(TTeButtonState value);
  TBitmap* Glyph() const { return glyph_.get(); }
  void SetGlyph(const TBitmap* value);
  TButtonLayout Layout() const { return layout_; }
  void SetLayout(TButtonLayout value);
  bool WordWrap() const { return wordWrap_; }
  void SetWordWrap(bool value);
  bool Tracking() const { return tracking_; }

  // Hands the button's ModalResult to its form, then fires OnClick.
  void Click() override;

  // --- geometry, each element's rectangle ------------------------------------
  // The block of glyph and caption.
  virtual TRect GetContentRect2();
  virtual TRect GetCaptionArea();
  virtual TRect GetGlyphArea();
  // The glyph cell: strip width div NumGlyphs by its height; none without
  // a strip.
  TSize GlyphCellSize() const;

 protected:
  void WndProc(TMessage& message) override;
  void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
  void MouseMove(TShiftState shift, int x, int y) override;
  void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
  void KeyDown(uint16_t& key, TShiftState shift) override;
  void KeyUp(uint16_t& key, TShiftState shift) override;
  void MouseEnter() override;
  void MouseLeave() override;

  void PaintClient() override;
  virtual void DrawButtonFace();
  virtual void DrawGlyph();
  virtual void DrawCaption();

 private:
  void GlyphChanged();
  void DialogKey(TMessage& message);
  void DialogChar(TMessage& message);
  void FocusChanged(TMessage& message);
  void DrawFaceVisualStyle(const TRect& r);
  void DrawFaceClassic(TRect r);
  // The caption's measured size in the paint font: wrapped to `wrapWidth`
  // with WordWrap.
  TSize CaptionSize(int wrapWidth);

  bool activeDefault_ = false;
  bool blackAndWhiteGlyph_ = false;
  bool cancel_ = false;
  bool default_ = false;
  TBitBtnKind kind_ = bkCustom;
  int modalResult_ = 0;
  int numGlyphs_ = 1;
  int spacing_ = 4;
  TTeButtonState state_ = kbsNormal;
  std::unique_ptr<TBitmap> glyph_;
  TSize glyphSize_{0, 0};
  TButtonLayout layout_ = blGlyphLeft;
  bool wordWrap_ = false;
  bool tracking_ = false;
};

// The modal result a kind gives its button (bkHelp and bkClose none).
int KindModalResult(TBitBtnKind kind);

}  // namespace hv
