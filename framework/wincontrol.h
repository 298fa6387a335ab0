#pragma once
// Windowed controls: a TWinControl owns a window handle, created on demand,
// whose procedure reaches the object through the window's user data slot;
// TCustomControl adds a canvas and a Paint operation.

#include <memory>
#include <string>
#include <vector>

#include "framework/control.h"
#include "framework/winhandles.h"


namespace hv {

class TBrush;

// Everything CreateWindowEx needs, filled in by CreateParams overrides.
struct TCreateParams {
  std::wstring caption;
  uint32_t style = 0;
  uint32_t exStyle = 0;
  int x = 0, y = 0, width = 0, height = 0;
  HWND parent = nullptr;
  std::wstring className;      // the window class registered for this control class
  std::wstring baseClassName;  // a system class this one is built on ("SysTreeView32"), or empty
  uint32_t classStyle = 0;
  intptr_t background = 0;  // class brush (HBRUSH), usually none
};

enum class TBorderStyle { bsNone, bsSingle };

class TWinControl : public TControl {
  HV_CLASS(TWinControl, TControl)

 public:
  explicit TWinControl(TComponent* owner);
  ~TWinControl() override;

  // Creates the window (and its parents' windows) on first use.
  HWND Handle();
  HWND HandleIfAllocated() const { return handle_; }
  bool HandleAllocated() const { return handle_ != nullptr; }
  void HandleNeeded();
  // Destroys and creates the window again, keeping the control's state.
  void RecreateWnd();
  // Creates a top-level control's window inside a window the framework does not own.
  void SetParentWindow(HWND parent);
  HWND ParentWindow() const { return parentWindow_; }

  int ControlCount() const { return static_cast<int>(controls_.size()); }
  TControl* Controls(int index) const { return controls_.at(static_cast<size_t>(index)); }
  void InsertControl(TControl* control);
  void RemoveControl(TControl* control);
  bool ContainsControl(const TControl* control) const;
  // The visible, enabled windowless child at a client point, topmost first.
  TControl* ControlAtPos(TPoint p, bool allowDisabled = false) const;
  void GetChildren(const std::function<void(TComponent*)>& proc, TComponent* root) const override;

  // Aligned children are laid out inside the client rectangle in the order
  // top, bottom, left, right, client.
  void DisableAlign();
  void EnableAlign();
  void Realign();
  virtual TRect AlignmentRect() const { return ClientRect(); }

  TRect ClientRect() const override;
  TPoint ClientOrigin() const override;
  void SetBounds(int left, int top, int width, int height) override;
  bool Showing() const override;

  int TabOrder() const;
  void SetTabOrder(int value);
  bool TabStop() const { return tabStop_; }
  void SetTabStop(bool value);
  virtual bool CanFocus() const;
  bool Focused() const;
  virtual void SetFocus();
  // The next control in tab order after `current` (or the first), wrapping.
  TWinControl* FindNextControl(TWinControl* current, bool forward, bool checkTabStop) const;

  void Invalidate() override;
  void Repaint() override;
  void Update() override;
  void SetEnabled(bool value) override;

  // The control's background brush, kept in step with Color.
  TBrush* Brush() const { return brush_.get(); }

  TBorderStyle BorderStyle() const { return borderStyle_; }
  void SetBorderStyle(TBorderStyle value);

  TKeyEvent OnKeyDown;
  TKeyEvent OnKeyUp;
  TKeyPressEvent OnKeyPress;
  TNotifyEvent OnEnter;
  TNotifyEvent OnExit;

  // Paints the windowless children into a device context (from WM_PAINT, or
  // into a caller's buffer); `first` limits it to the controls above one.
  void PaintControls(HDC dc, TControl* first);
  // Paints the whole control into a device context, children included.
  void PaintTo(HDC dc, int x, int y);

  // The control whose window is `wnd`, when the framework created it.
  static TWinControl* FindControl(HWND wnd);

 protected:
  virtual void CreateParams(TCreateParams& params);
  virtual void CreateWnd();
  virtual void CreateWindowHandle(const TCreateParams& params);
  virtual void DestroyWnd();
  virtual void DestroyHandle();
  // Called once the window exists: sends text, font, and creates children.
  virtual void CreateHandle();
  virtual void AlignControls(TControl* control, TRect& rect);
  virtual void AdjustClientRect(TRect& rect) const { (void)rect; }
  void UpdateBounds();
  void UpdateShowing();
  virtual void PaintWindow(HDC dc);
  virtual void PaintHandler(TMessage& message);

  void WndProc(TMessage& message) override;
  void DefaultHandler(TMessage& message) override;

  std::string GetText() const override;
  void SetTextBuffer(const std::string& value) override;
  void FontChanged() override;

  virtual void KeyDown(uint16_t& key, TShiftState shift);
  // Hands Enter and Escape that the control does not want to its form as
  // CM_DIALOGKEY; answers whether a control there took it.
  bool DialogKeyHandled(uint16_t key, intptr_t keyData);
  virtual void KeyUp(uint16_t& key, TShiftState shift);
  virtual void KeyPress(char16_t& key);
  virtual void DoEnter();
  virtual void DoExit();

  // Whether a mouse message in the client area belongs to a windowless
  // child; routes it there when it does.
  bool IsControlMouseMsg(TMessage& message);
  // Whether the window is a platform control made under the framework's
  // own class name (its procedure is not DefWindowProc).
  bool WrapsPlatformControl() const;
  void PlatformMouseMessage(TMessage& message);

  friend class TControl;
  friend class TApplication;
  friend struct WindowProcAccess;

  HWND handle_ = nullptr;
  HWND parentWindow_ = nullptr;
  void* defWndProc_ = nullptr;  // the procedure DefaultHandler passes on to
  std::vector<TControl*> controls_;     // every child, in z-order, windowless and windowed
  std::vector<TWinControl*> tabList_;   // windowed children in tab order

 private:
  void RegisterWindowClass(TCreateParams& params);
  void AlignAll(TControl* control);
  void SetZOrderPosition(TControl* control, int position);
  void DestroyChildHandles();
  void TrackMouseLeave();

  std::unique_ptr<TBrush> brush_;
  int alignLevel_ = 0;
  bool tabStop_ = false;
  bool mouseTracking_ = false;
  TBorderStyle borderStyle_ = TBorderStyle::bsNone;
  std::string savedText_;  // text kept while no window exists
};

class TCustomControl : public TWinControl {
  HV_CLASS_NO_PROPERTIES(TCustomControl, TWinControl)

 public:
  explicit TCustomControl(TComponent* owner);
  ~TCustomControl() override;
  TCanvas* Canvas() const { return canvas_.get(); }

 protected:
  void PaintWindow(HDC dc) override;
  virtual void Paint() {}

 private:
  std::unique_ptr<TCanvas> canvas_;
};

}  // namespace hv
