#pragma once
// Forms: top-level windows built from a stored layout, with show, close and
// modal processing.

#include <memory>
#include <string>

#include "framework/wincontrol.h"

namespace hv {

class TIcon;

enum class TFormBorderStyle { bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin };
enum TBorderIcon { biSystemMenu, biMinimize, biMaximize, biHelp };
using TBorderIcons = TSet<TBorderIcon>;
enum class TFormStyle { fsNormal, fsMDIChild, fsMDIForm, fsStayOnTop };
enum class TWindowState { wsNormal, wsMinimized, wsMaximized };
enum class TPosition {
  poDesigned, poDefault, poDefaultPosOnly, poDefaultSizeOnly, poScreenCenter, poDesktopCenter,
  poMainFormCenter, poOwnerFormCenter
};
enum class TCloseAction { caNone, caHide, caFree, caMinimize };

using TModalResult = int;
constexpr TModalResult mrNone = 0, mrOk = 1, mrCancel = 2, mrAbort = 3, mrRetry = 4, mrIgnore = 5, mrYes = 6,
                       mrNo = 7, mrAll = 8, mrNoToAll = 9, mrYesToAll = 10;

using TCloseEvent = TEvent<void(TObject* sender, TCloseAction& action)>;
using TCloseQueryEvent = TEvent<void(TObject* sender, bool& canClose)>;
// A key that may be one of the form's short cuts: the key message (Msg,
// WParam the key code, LParam the key data); setting handled takes the key.
using TShortCutEvent = TEvent<void(TMessage& message, bool& handled)>;

class TCustomForm : public TWinControl {
  HV_CLASS(TCustomForm, TWinControl)

 public:
  explicit TCustomForm(TComponent* owner);
  ~TCustomForm() override;

  // Reads the layout resource named after the form's class (its name in
  // capitals) into this form. A derived form publishes its fields and
  // handlers first, in its constructor.
  void LoadFromLayout();
  void LoadFromLayoutText(std::string_view text);

  void Show();
  void Close();
  virtual bool CloseQuery();
  // Frees the form once the messages now queued for it are handled.
  void Release();
  TModalResult ShowModal();
  // Whether the form is shown by ShowModal right now.
  bool Modal() const { return modal_; }
  TModalResult ModalResult() const { return modalResult_; }
  void SetModalResult(TModalResult value) { modalResult_ = value; }

  TFormBorderStyle FormBorderStyle() const { return borderStyle_; }
  void SetFormBorderStyle(TFormBorderStyle value);
  TBorderIcons BorderIcons() const { return borderIcons_; }
  void SetBorderIcons(TBorderIcons value);
  TFormStyle FormStyle() const { return formStyle_; }
  void SetFormStyle(TFormStyle value);
  TWindowState WindowState() const;
  void SetWindowState(TWindowState value);
  TPosition Position() const { return position_; }
  void SetPosition(TPosition value);
  TIcon* Icon() const { return icon_.get(); }
  void SetIcon(TIcon* value);
  TCanvas* Canvas() const { return canvas_.get(); }
  bool Active() const { return active_; }
  TWinControl* ActiveControl() const { return activeControl_; }
  void SetActiveControl(TWinControl* control);
  bool KeyPreview() const { return keyPreview_; }
  void SetKeyPreview(bool value) { keyPreview_ = value; }
  // The MDI client window of an fsMDIForm, or none.
  HWND ClientHandle() const { return clientHandle_; }

  TRect ClientRect() const override;
  bool Showing() const override;
  // A form's block holds its controls, then its non-visual components.
  void GetChildren(const std::function<void(TComponent*)>& proc, TComponent* root) const override;

  TNotifyEvent OnShow;
  TNotifyEvent OnHide;
  TNotifyEvent OnCreate;
  TNotifyEvent OnDestroy;
  TNotifyEvent OnActivate;
  TNotifyEvent OnDeactivate;
  TNotifyEvent OnPaint;
  TCloseEvent OnClose;
  TCloseQueryEvent OnCloseQuery;
  // Offered every key press of the form's windows before the focused window
  // sees it.
  TShortCutEvent OnShortCut;

  // Whether OnShortCut took the key.
  virtual bool IsShortCut(TMessage& message);
  // An Alt+character offered to the form's controls as CM_DIALOGCHAR before
  // the focused window gets it; whether one of them took it.
  bool DialogChar(TMessage& message);

  void Loaded() override;

 protected:
  void CreateParams(TCreateParams& params) override;
  void CreateWnd() override;
  void DestroyWnd() override;
  void WndProc(TMessage& message) override;
  void DefaultHandler(TMessage& message) override;
  void PaintWindow(HDC dc) override;
  void Notification(TComponent* component, TOperation operation) override;
  void RequestAlign() override;

  virtual void DoShow();
  virtual void DoHide();
  virtual void DoClose(TCloseAction& action);
  virtual void Paint();

 private:
  void ShowingChanged();
  void ApplyPosition();
  uint32_t WindowStyle() const;
  uint32_t WindowExStyle() const;

  TFormBorderStyle borderStyle_ = TFormBorderStyle::bsSizeable;
  TBorderIcons borderIcons_{biSystemMenu, biMinimize, biMaximize};
  TFormStyle formStyle_ = TFormStyle::fsNormal;
  TWindowState windowState_ = TWindowState::wsNormal;
  TPosition position_ = TPosition::poDesigned;
  std::unique_ptr<TIcon> icon_;
  std::unique_ptr<TCanvas> canvas_;
  TWinControl* activeControl_ = nullptr;
  TModalResult modalResult_ = mrNone;
  HWND clientHandle_ = nullptr;
  bool active_ = false;
  bool modal_ = false;
  bool keyPreview_ = false;
  bool shown_ = false;  // the window is on screen as far as the form knows
  bool positioned_ = false;
  // The alignment a top-level form last took its place on the work area
  // for; a move or size after that is the user's and is not undone.
  TAlign appliedAlign_ = TAlign::alNone;
};

// The form at the top of a control's parents (the control itself when it
// is one), or none.
TCustomForm* GetParentForm(TControl* control);

class TForm : public TCustomForm {
  HV_CLASS_NO_PROPERTIES(TForm, TCustomForm)

 public:
  explicit TForm(TComponent* owner) : TCustomForm(owner) {}
};

}  // namespace hv
