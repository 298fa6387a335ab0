#pragma once
// Controls: TControl is the windowless base (painted on its parent's surface,
// its mouse routed by the parent); TGraphicControl adds a canvas for painting.

#include <functional>
#include <memory>
#include <string>

#include "framework/align.h"
#include "framework/colors.h"
#include "framework/component.h"
#include "framework/event.h"
#include "framework/messages.h"
#include "framework/set.h"
#include "framework/types.h"

namespace hv {

class TWinControl;
class TFont;
class TCanvas;

enum TControlStyleFlag {
  csAcceptsControls, csCaptureMouse, csDesignInteractive, csClickEvents, csFramed, csSetCaption, csOpaque,
  csDoubleClicks, csFixedWidth, csFixedHeight, csNoDesignVisible, csReplicatable, csNoStdEvents,
  csDisplayDragImage, csReflector, csActionClient, csMenuEvents, csParentBackground
};
using TControlStyle = TSet<TControlStyleFlag>;

enum TControlStateFlag {
  csLButtonDown, csClicked, csPalette, csReadingState, csAlignmentNeeded, csFocusing, csCreating,
  csPaintCopy, csCustomPaint, csDestroyingHandle, csDocking
};
using TControlState = TSet<TControlStateFlag>;

enum class TMouseButton { mbLeft, mbRight, mbMiddle };
enum TShiftStateFlag { ssShift, ssAlt, ssCtrl, ssLeft, ssRight, ssMiddle, ssDouble };
using TShiftState = TSet<TShiftStateFlag>;

enum class TBiDiMode { bdLeftToRight, bdRightToLeft, bdRightToLeftNoAlign, bdRightToLeftReadingOnly };

// Cursor identifiers as stored layouts name them.
using TCursor = int;
constexpr TCursor crDefault = 0, crNone = -1, crArrow = -2, crCross = -3, crIBeam = -4, crSizeNESW = -6,
                  crSizeNS = -7, crSizeNWSE = -8, crSizeWE = -9, crUpArrow = -10, crHourGlass = -11,
                  crNo = -12, crHSplit = -14, crVSplit = -15, crHandPoint = -21, crSizeAll = -22;

using TMouseEvent = TEvent<void(TObject* sender, TMouseButton button, TShiftState shift, int x, int y)>;
using TMouseMoveEvent = TEvent<void(TObject* sender, TShiftState shift, int x, int y)>;
using TKeyEvent = TEvent<void(TObject* sender, uint16_t& key, TShiftState shift)>;
using TKeyPressEvent = TEvent<void(TObject* sender, char16_t& key)>;

class TControl : public TComponent {
  HV_CLASS(TControl, TComponent)

 public:
  explicit TControl(TComponent* owner);
  ~TControl() override;

  // Every message reaches the control through WindowProc, which defaults to
  // WndProc and can be replaced to watch a control from outside.
  using TWndMethod = std::function<void(TMessage&)>;
  const TWndMethod& WindowProc() const { return windowProc_; }
  void SetWindowProc(TWndMethod method) { windowProc_ = method ? std::move(method) : DefaultWindowProc(); }
  intptr_t Perform(uint32_t msg, uintptr_t wParam = 0, intptr_t lParam = 0);

  TWinControl* Parent() const { return parent_; }
  virtual void SetParent(TWinControl* parent);
  void SetParentComponent(TComponent* parent) override;
  TComponent* GetParentComponent() const override;
  bool HasParent() const override { return true; }

  int Left() const { return left_; }
  int Top() const { return top_; }
  int Width() const { return width_; }
  int Height() const { return height_; }
  void SetLeft(int value) { SetBounds(value, top_, width_, height_); }
  void SetTop(int value) { SetBounds(left_, value, width_, height_); }
  void SetWidth(int value) { SetBounds(left_, top_, value, height_); }
  void SetHeight(int value) { SetBounds(left_, top_, width_, value); }
  virtual void SetBounds(int left, int top, int width, int height);
  TRect BoundsRect() const { return Bounds(left_, top_, width_, height_); }
  void SetBoundsRect(const TRect& r) { SetBounds(r.left, r.top, r.Width(), r.Height()); }
  virtual TRect ClientRect() const { return Rect(0, 0, width_, height_); }
  int ClientWidth() const { return ClientRect().Width(); }
  int ClientHeight() const { return ClientRect().Height(); }
  virtual void SetClientSize(int width, int height);
  void SetClientWidth(int value) { SetClientSize(value, ClientHeight()); }
  void SetClientHeight(int value) { SetClientSize(ClientWidth(), value); }
  virtual TPoint ClientOrigin() const;
  TPoint ClientToScreen(TPoint p) const;
  TPoint ScreenToClient(TPoint p) const;

  TAlign Align() const { return align_; }
  void SetAlign(TAlign value);
  bool Visible() const { return visible_; }
  void SetVisible(bool value);
  void Show() { SetVisible(true); }
  void Hide() { SetVisible(false); }
  // Visible and every parent visible (and the top window's handle shown).
  virtual bool Showing() const;
  bool Enabled() const { return enabled_; }
  virtual void SetEnabled(bool value);

  TColor Color() const { return color_; }
  void SetColor(TColor value);
  bool ParentColor() const { return parentColor_; }
  void SetParentColor(bool value);
  TFont* Font() const { return font_.get(); }
  void SetFont(TFont* value);
  bool ParentFont() const { return parentFont_; }
  void SetParentFont(bool value);

  std::string Caption() const { return GetText(); }
  void SetCaption(const std::string& value) { SetText(value); }
  std::string Text() const { return GetText(); }
  void SetText(const std::string& value);

  TCursor Cursor() const { return cursor_; }
  void SetCursor(TCursor value);
  const std::string& Hint() const { return hint_; }
  void SetHint(const std::string& value) { hint_ = value; }
  bool ShowHint() const { return showHint_; }
  void SetShowHint(bool value);
  bool ParentShowHint() const { return parentShowHint_; }
  void SetParentShowHint(bool value);
  TBiDiMode BiDiMode() const { return biDiMode_; }
  void SetBiDiMode(TBiDiMode value);
  bool UseRightToLeftAlignment() const { return biDiMode_ == TBiDiMode::bdRightToLeft; }

  TControlStyle ControlStyle() const { return controlStyle_; }
  void SetControlStyle(TControlStyle value) { controlStyle_ = value; }
  TControlState ControlState() const { return controlState_; }
  void SetControlState(TControlState value) { controlState_ = value; }

  // Asks for a repaint of the control's area; Repaint paints now.
  virtual void Invalidate();
  virtual void Repaint();
  virtual void Update();
  void Refresh() { Repaint(); }
  void BringToFront();
  void SendToBack();

  // Mouse capture for windowless controls goes through the parent's window.
  void SetMouseCapture(bool value);
  bool MouseCapture() const;
  static TControl* CaptureControl();

  bool MouseInControl() const { return mouseInControl_; }
  // The control under the mouse changed: the old one hears CM_MOUSELEAVE,
  // the new one CM_MOUSEENTER.
  static void UpdateMouseControl(TControl* control);
  static void ForgetMouseControl(TControl* control);

  TNotifyEvent OnClick;
  TNotifyEvent OnDblClick;
  TNotifyEvent OnResize;
  TMouseEvent OnMouseDown;
  TMouseEvent OnMouseUp;
  TMouseMoveEvent OnMouseMove;
  TNotifyEvent OnMouseEnter;
  TNotifyEvent OnMouseLeave;

  virtual void Click();
  virtual void DblClick();

  void Loaded() override;

 protected:
  virtual void WndProc(TMessage& message);
  void Dispatch(TMessage& message) override;
  void DefaultHandler(TMessage& message) override;

  virtual std::string GetText() const { return text_; }
  virtual void SetTextBuffer(const std::string& value) { text_ = value; }

  virtual void MouseDown(TMouseButton button, TShiftState shift, int x, int y);
  virtual void MouseUp(TMouseButton button, TShiftState shift, int x, int y);
  virtual void MouseMove(TShiftState shift, int x, int y);
  virtual void Resize();

  // Notifications, each a message of its own so that subclasses and hooks
  // can watch them; the defaults keep the inherited values in step.
  virtual void CMMouseEnter(TMessage& message);
  virtual void CMMouseLeave(TMessage& message);
  virtual void CMParentColorChanged(TMessage& message);
  virtual void CMParentFontChanged(TMessage& message);
  virtual void CMParentShowHintChanged(TMessage& message);

  virtual void FontChanged();
  virtual void VisibleChanging() {}
  virtual void RequestAlign();
  // The area of the parent this control covers changed: repaint it there.
  void InvalidateControl(bool isVisible, bool isOpaque);

  friend class TWinControl;
  TWinControl* parent_ = nullptr;
  int left_ = 0, top_ = 0, width_ = 0, height_ = 0;
  TControlStyle controlStyle_{csCaptureMouse, csClickEvents, csSetCaption, csDoubleClicks};
  TControlState controlState_;

 private:
  TWndMethod DefaultWindowProc();
  void MouseButtonMessage(TMessage& message, TMouseButton button, bool down, bool dbl);

  TWndMethod windowProc_;
  TAlign align_ = TAlign::alNone;
  bool visible_ = true;
  bool enabled_ = true;
  TColor color_ = clWindow;
  bool parentColor_ = true;
  std::unique_ptr<TFont> font_;
  bool parentFont_ = true;
  std::string text_;
  TCursor cursor_ = crDefault;
  std::string hint_;
  bool showHint_ = false;
  bool parentShowHint_ = true;
  TBiDiMode biDiMode_ = TBiDiMode::bdLeftToRight;
  bool mouseInControl_ = false;
};

// A windowless control with its own canvas, valid while it paints.
class TGraphicControl : public TControl {
  HV_CLASS_NO_PROPERTIES(TGraphicControl, TControl)

 public:
  explicit TGraphicControl(TComponent* owner);
  ~TGraphicControl() override;
  TCanvas* Canvas() const { return canvas_.get(); }

 protected:
  void WndProc(TMessage& message) override;
  virtual void Paint() {}

 private:
  std::unique_ptr<TCanvas> canvas_;
};

// Mouse coordinates packed in a message's LParam, sign included.
inline int XOfLParam(intptr_t lParam) { return static_cast<int16_t>(lParam & 0xFFFF); }
inline int YOfLParam(intptr_t lParam) { return static_cast<int16_t>((lParam >> 16) & 0xFFFF); }

// Key and mouse state helpers shared by the control classes.
TShiftState KeysToShiftState(uint32_t keys);
TShiftState KeyDataToShiftState(intptr_t keyData);

}  // namespace hv
