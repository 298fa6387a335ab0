#include "framework/forms.h"

#include <windows.h>

#include "framework/application.h"
#include "framework/filer.h"
#include "framework/filestream.h"
#include "framework/graphics.h"
#include "framework/properties.h"
#include "framework/screen.h"
#include "framework/sysutils.h"
#include "framework/winstring.h"

namespace hv {

TCustomForm::TCustomForm(TComponent* owner)
    : TWinControl(owner), icon_(std::make_unique<TIcon>()), canvas_(std::make_unique<TCanvas>()) {
  SetVisible(false);
  SetColor(clBtnFace);
  SetBounds(0, 0, 320, 240);
  Screen()->AddForm(this);
  icon_->OnChange = [this](TObject*) {
    if (HandleAllocated())
      SendMessageW(HandleIfAllocated(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon_->Handle()));
  };
}

TCustomForm::~TCustomForm() {
  Destroying();
  if (OnDestroy) {
    try {
      OnDestroy(this);
    } catch (...) {
      Application()->HandleException(this);
    }
  }
  DestroyComponents();
  Screen()->RemoveForm(this);
}

void TCustomForm::LoadFromLayout() {
  std::string name = UpperCase(ClassName());
  TResourceStream stream(GetModuleHandleW(nullptr), name);
  std::string text(static_cast<size_t>(stream.Size()), '\0');
  stream.ReadBuffer(text.data(), text.size());
  LoadFromLayoutText(text);
}

void TCustomForm::LoadFromLayoutText(std::string_view text) {
  TReader(text).ReadRootComponent(*this);
  if (OnCreate) OnCreate(this);
}

void TCustomForm::GetChildren(const std::function<void(TComponent*)>& proc, TComponent* root) const {
  TWinControl::GetChildren(proc, root);
  if (root != this) return;
  for (int i = 0; i < ComponentCount(); ++i)
    if (!Components(i)->HasParent()) proc(Components(i));
}

void TCustomForm::Loaded() {
  TWinControl::Loaded();
  if (activeControl_ && !ContainsControl(activeControl_)) activeControl_ = nullptr;
}

uint32_t TCustomForm::WindowStyle() const {
  uint32_t style = WS_CLIPCHILDREN | WS_CLIPSIBLINGS;
  switch (borderStyle_) {
    case TFormBorderStyle::bsNone: style |= WS_POPUP; break;
    case TFormBorderStyle::bsSingle:
    case TFormBorderStyle::bsToolWindow: style |= WS_CAPTION | WS_BORDER; break;
    case TFormBorderStyle::bsSizeable:
    case TFormBorderStyle::bsSizeToolWin: style |= WS_CAPTION | WS_THICKFRAME; break;
    case TFormBorderStyle::bsDialog: style |= WS_POPUP | WS_CAPTION | DS_MODALFRAME; break;
  }
  if (borderStyle_ != TFormBorderStyle::bsNone && borderIcons_.Contains(biSystemMenu)) {
    style |= WS_SYSMENU;
    if (borderStyle_ != TFormBorderStyle::bsDialog && borderStyle_ != TFormBorderStyle::bsToolWindow &&
        borderStyle_ != TFormBorderStyle::bsSizeToolWin) {
      if (borderIcons_.Contains(biMinimize)) style |= WS_MINIMIZEBOX;
      if (borderIcons_.Contains(biMaximize)) style |= WS_MAXIMIZEBOX;
    }
  }
  if (formStyle_ == TFormStyle::fsMDIChild) style |= WS_CHILD | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME;
  return style;
}

uint32_t TCustomForm::WindowExStyle() const {
  uint32_t ex = 0;
  if (borderStyle_ == TFormBorderStyle::bsToolWindow || borderStyle_ == TFormBorderStyle::bsSizeToolWin)
    ex |= WS_EX_TOOLWINDOW;
  if (borderStyle_ == TFormBorderStyle::bsDialog) ex |= WS_EX_DLGMODALFRAME;
  if (borderIcons_.Contains(biHelp) && borderStyle_ == TFormBorderStyle::bsDialog) ex |= WS_EX_CONTEXTHELP;
  if (formStyle_ == TFormStyle::fsStayOnTop) ex |= WS_EX_TOPMOST;
  if (formStyle_ == TFormStyle::fsMDIChild) ex |= WS_EX_MDICHILD;
  return ex;
}

void TCustomForm::CreateParams(TCreateParams& params) {
  TWinControl::CreateParams(params);
  params.style = WindowStyle();
  params.exStyle = WindowExStyle();
  params.parent = ParentWindow();
  if (Parent()) {
    params.style = (params.style & ~static_cast<uint32_t>(WS_POPUP | WS_CAPTION | WS_THICKFRAME)) | WS_CHILD;
    params.parent = Parent()->Handle();
  } else if (formStyle_ == TFormStyle::fsMDIChild) {
    TCustomForm* frame = Application()->MainForm();
    if (!frame || !frame->ClientHandle())
      throw EInvalidOperation("Cannot create form. No MDI forms are currently active");
    params.parent = frame->ClientHandle();
  }
}

void TCustomForm::CreateWnd() {
  TWinControl::CreateWnd();
  if (icon_->Handle())
    SendMessageW(HandleIfAllocated(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon_->Handle()));
  if (formStyle_ == TFormStyle::fsMDIForm && !clientHandle_) {
    CLIENTCREATESTRUCT ccs{nullptr, 0xFF00};
    RECT r{};
    GetClientRect(HandleIfAllocated(), &r);
    clientHandle_ = CreateWindowExW(WS_EX_CLIENTEDGE, L"MDICLIENT", nullptr,
                                    WS_CHILD | WS_CLIPCHILDREN | WS_VSCROLL | WS_HSCROLL | WS_VISIBLE, 0, 0,
                                    r.right, r.bottom, HandleIfAllocated(), nullptr, GetModuleHandleW(nullptr), &ccs);
  }
}

void TCustomForm::DestroyWnd() {
  clientHandle_ = nullptr;  // a child window: it goes with the form's
  TWinControl::DestroyWnd();
}

TRect TCustomForm::ClientRect() const {
  if (HandleAllocated() || Parent()) return TWinControl::ClientRect();
  // Before the window exists the frame is what the style will give it.
  RECT r{0, 0, 0, 0};
  AdjustWindowRectEx(&r, WindowStyle(), FALSE, WindowExStyle());
  return Rect(0, 0, std::max<int>(0, Width() - (r.right - r.left)), std::max<int>(0, Height() - (r.bottom - r.top)));
}

bool TCustomForm::Showing() const {
  if (Parent()) return TWinControl::Showing();
  return shown_;
}

void TCustomForm::Show() {
  SetVisible(true);
  if (HandleAllocated()) {
    SetWindowPos(HandleIfAllocated(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    SetForegroundWindow(HandleIfAllocated());
  }
}

void TCustomForm::ShowingChanged() {
  if (Parent()) return;
  bool show = Visible();
  if (show == shown_) return;
  if (show) {
    HandleNeeded();
    ApplyPosition();
    DoShow();
    if (!Visible()) return;  // the show event hid it again
    int command = SW_SHOWNORMAL;
    if (windowState_ == TWindowState::wsMaximized) command = SW_SHOWMAXIMIZED;
    else if (windowState_ == TWindowState::wsMinimized) command = SW_SHOWMINIMIZED;
    shown_ = true;
    ShowWindow(HandleIfAllocated(), command);
    UpdateWindow(HandleIfAllocated());
  } else {
    DoHide();
    shown_ = false;
    if (HandleAllocated()) ShowWindow(HandleIfAllocated(), SW_HIDE);
  }
}

void TCustomForm::ApplyPosition() {
  if (positioned_) return;
  positioned_ = true;
  TRect area = Screen()->WorkAreaRect();
  switch (position_) {
    case TPosition::poScreenCenter:
    case TPosition::poDesktopCenter:
      SetBounds(area.left + (area.Width() - Width()) / 2, area.top + (area.Height() - Height()) / 2, Width(),
                Height());
      break;
    case TPosition::poMainFormCenter:
    case TPosition::poOwnerFormCenter: {
      TCustomForm* center = Application()->MainForm();
      if (position_ == TPosition::poOwnerFormCenter) center = dynamic_cast<TCustomForm*>(Owner());
      if (center && center != this) {
        SetBounds(center->Left() + (center->Width() - Width()) / 2, center->Top() + (center->Height() - Height()) / 2,
                  Width(), Height());
      }
      break;
    }
    default:
      break;
  }
}

void TCustomForm::RequestAlign() {
  if (Parent()) {
    TWinControl::RequestAlign();
    return;
  }
  // A top-level form takes its place on the screen's work area when its
  // alignment is set, not after every move: the user and a themed frame
  // may move, size, maximize and roll it up afterwards.
  if (IsLoading() || Align() == appliedAlign_) return;
  appliedAlign_ = Align();
  TRect area = Screen()->WorkAreaRect();
  switch (Align()) {
    case TAlign::alClient: SetBoundsRect(area); break;
    case TAlign::alTop: SetBounds(area.left, area.top, area.Width(), Height()); break;
    case TAlign::alBottom: SetBounds(area.left, area.bottom - Height(), area.Width(), Height()); break;
    case TAlign::alLeft: SetBounds(area.left, area.top, Width(), area.Height()); break;
    case TAlign::alRight: SetBounds(area.right - Width(), area.top, Width(), area.Height()); break;
    default: break;
  }
}

// An error in the show event is reported and the form still appears.
void TCustomForm::DoShow() {
  try {
    if (OnShow) OnShow(this);
  } catch (...) {
    Application()->HandleException(this);
  }
}

void TCustomForm::DoHide() {
  if (OnHide) OnHide(this);
}

void TCustomForm::DoClose(TCloseAction& action) {
  if (OnClose) OnClose(this, action);
}

bool TCustomForm::CloseQuery() {
  bool canClose = true;
  if (OnCloseQuery) OnCloseQuery(this, canClose);
  return canClose;
}

void TCustomForm::Close() {
  if (!CloseQuery()) return;
  TCloseAction action = TCloseAction::caHide;
  if (formStyle_ == TFormStyle::fsMDIChild) action = TCloseAction::caMinimize;
  DoClose(action);
  if (action == TCloseAction::caNone) return;
  if (Application()->MainForm() == this) {
    Application()->Terminate();
    return;
  }
  switch (action) {
    case TCloseAction::caHide: SetVisible(false); break;
    case TCloseAction::caMinimize: SetWindowState(TWindowState::wsMinimized); break;
    case TCloseAction::caFree: Release(); break;
    default: break;
  }
}

void TCustomForm::Release() {
  if (HandleAllocated()) PostMessageW(HandleIfAllocated(), CM_RELEASE, 0, 0);
  else Free();
}

TCustomForm* GetParentForm(TControl* control) {
  if (!control) return nullptr;
  while (control->Parent()) control = control->Parent();
  return dynamic_cast<TCustomForm*>(control);
}

TModalResult TCustomForm::ShowModal() {
  if (Visible()) throw EInvalidOperation("Cannot make a visible window modal");
  HWND previousActive = GetActiveWindow();
  std::vector<HWND> disabled;
  for (int i = 0; i < Screen()->FormCount(); ++i) {
    TCustomForm* form = Screen()->Forms(i);
    if (form != this && form->HandleAllocated() && IsWindowEnabled(form->HandleIfAllocated())) {
      EnableWindow(form->HandleIfAllocated(), FALSE);
      disabled.push_back(form->HandleIfAllocated());
    }
  }
  modalResult_ = mrNone;
  TModalResult result = mrNone;
  modal_ = true;
  try {
    Show();
    while (modalResult_ == mrNone && !Application()->Terminated()) {
      Application()->HandleMessage();
      if (modalResult_ != mrNone) {
        if (!CloseQuery()) {
          modalResult_ = mrNone;
        } else {
          TCloseAction action = TCloseAction::caHide;
          DoClose(action);
          if (action == TCloseAction::caNone) modalResult_ = mrNone;
        }
      }
    }
    if (Application()->Terminated() && modalResult_ == mrNone) modalResult_ = mrCancel;
  } catch (...) {
    modal_ = false;
    for (HWND wnd : disabled) EnableWindow(wnd, TRUE);
    SetVisible(false);
    throw;
  }
  modal_ = false;
  for (HWND wnd : disabled) EnableWindow(wnd, TRUE);
  result = modalResult_;
  SetVisible(false);
  if (previousActive && IsWindow(previousActive)) SetActiveWindow(previousActive);
  return result;
}

void TCustomForm::SetFormBorderStyle(TFormBorderStyle value) {
  if (value == borderStyle_) return;
  borderStyle_ = value;
  if (!IsLoading()) RecreateWnd();
}

void TCustomForm::SetBorderIcons(TBorderIcons value) {
  if (value == borderIcons_) return;
  borderIcons_ = value;
  if (HandleAllocated() && !IsLoading()) {
    SetWindowLongPtrW(HandleIfAllocated(), GWL_STYLE,
                      (GetWindowLongPtrW(HandleIfAllocated(), GWL_STYLE) &
                       ~static_cast<LONG_PTR>(WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX)) |
                          (WindowStyle() & (WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX)));
    SetWindowPos(HandleIfAllocated(), nullptr, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
  }
}

void TCustomForm::SetFormStyle(TFormStyle value) {
  if (value == formStyle_) return;
  formStyle_ = value;
  if (!IsLoading()) RecreateWnd();
}

TWindowState TCustomForm::WindowState() const {
  if (HandleAllocated() && shown_) {
    if (IsIconic(HandleIfAllocated())) return TWindowState::wsMinimized;
    if (IsZoomed(HandleIfAllocated())) return TWindowState::wsMaximized;
    return TWindowState::wsNormal;
  }
  return windowState_;
}

void TCustomForm::SetWindowState(TWindowState value) {
  windowState_ = value;
  if (!HandleAllocated() || !shown_) return;
  int command = SW_RESTORE;
  if (value == TWindowState::wsMaximized) command = SW_MAXIMIZE;
  else if (value == TWindowState::wsMinimized) command = SW_MINIMIZE;
  ShowWindow(HandleIfAllocated(), command);
}

void TCustomForm::SetPosition(TPosition value) { position_ = value; }

void TCustomForm::SetIcon(TIcon* value) { icon_->Assign(value); }

void TCustomForm::SetActiveControl(TWinControl* control) {
  if (control == activeControl_) return;
  if (control && !ContainsControl(control)) throw EInvalidOperation("Invalid active control");
  activeControl_ = control;
  if (control) {
    FreeNotification(control);
    if (active_ && !IsLoading() && control->CanFocus()) control->SetFocus();
  }
}

void TCustomForm::Notification(TComponent* component, TOperation operation) {
  TWinControl::Notification(component, operation);
  if (operation == TOperation::opRemove && component == activeControl_) activeControl_ = nullptr;
}

void TCustomForm::Paint() {
  if (OnPaint) OnPaint(this);
}

void TCustomForm::PaintWindow(HDC dc) {
  TCanvasPaintScope scope(*canvas_, dc);
  canvas_->Font()->Assign(Font());
  canvas_->Brush()->SetColor(Color());
  Paint();
}

void TCustomForm::WndProc(TMessage& message) {
  switch (message.Msg) {
    case WM_CLOSE:
      Close();
      return;
    case CM_RELEASE:
      Free();  // nothing of this object may be touched after this
      return;
    case CM_VISIBLECHANGED:
      ShowingChanged();
      break;
    case WM_ACTIVATE: {
      DefaultHandler(message);
      bool active = LOWORD(message.WParam) != WA_INACTIVE;
      if (active != active_) {
        active_ = active;
        if (active && OnActivate) OnActivate(this);
        if (!active && OnDeactivate) OnDeactivate(this);
      }
      if (active && activeControl_ && activeControl_->CanFocus() && !HIWORD(message.WParam))
        ::SetFocus(activeControl_->Handle());
      return;
    }
    case WM_SIZE:
      DefaultHandler(message);
      if (message.WParam == SIZE_MINIMIZED) windowState_ = TWindowState::wsMinimized;
      else if (message.WParam == SIZE_MAXIMIZED) windowState_ = TWindowState::wsMaximized;
      else if (message.WParam == SIZE_RESTORED) windowState_ = TWindowState::wsNormal;
      if (clientHandle_) MoveWindow(clientHandle_, 0, 0, LOWORD(message.LParam), HIWORD(message.LParam), TRUE);
      UpdateBounds();
      return;
    case WM_SHOWWINDOW:
      // A window shown or hidden behind the form's back (minimized owner,
      // ShowWindow from outside) keeps Visible in step.
      DefaultHandler(message);
      if (message.LParam == 0 && !Parent()) {
        bool show = message.WParam != 0;
        shown_ = show;
      }
      return;
    default:
      break;
  }
  TWinControl::WndProc(message);
}

void TCustomForm::DefaultHandler(TMessage& message) {
  if (!HandleAllocated()) {
    TWinControl::DefaultHandler(message);
    return;
  }
  if (formStyle_ == TFormStyle::fsMDIForm && clientHandle_) {
    message.Result = DefFrameProcW(HandleIfAllocated(), clientHandle_, message.Msg, message.WParam, message.LParam);
    return;
  }
  if (formStyle_ == TFormStyle::fsMDIChild && !Parent()) {
    message.Result = DefMDIChildProcW(HandleIfAllocated(), message.Msg, message.WParam, message.LParam);
    return;
  }
  TWinControl::DefaultHandler(message);
}

bool TCustomForm::IsShortCut(TMessage& message) {
  bool handled = false;
  if (OnShortCut) OnShortCut(message, handled);
  return handled;
}

namespace {
bool OfferDialogChar(TWinControl& parent, TMessage& message) {
  for (int i = 0; i < parent.ControlCount(); ++i) {
    TControl* control = parent.Controls(i);
    if (!control->Visible() || !control->Enabled()) continue;
    if (control->Perform(message.Msg, message.WParam, message.LParam) != 0) return true;
    if (auto* inner = dynamic_cast<TWinControl*>(control); inner && OfferDialogChar(*inner, message)) return true;
  }
  return false;
}
}  // namespace

bool TCustomForm::DialogChar(TMessage& message) {
  TMessage dialogChar{CM_DIALOGCHAR, message.WParam, message.LParam, 0};
  return OfferDialogChar(*this, dialogChar);
}

void TCustomForm::PublishProperties(TPropertyList& p) {
  // Starts with a colour of its own, not the parent's.
  p.Color("Color", &TCustomForm::Color, &TCustomForm::SetColor, clBtnFace).stored = [](const TObject& o) {
    return !static_cast<const TControl&>(o).ParentColor();
  };
  p.Boolean("ParentColor", &TCustomForm::ParentColor, &TCustomForm::SetParentColor, false);
  p.Set("BorderIcons", &TCustomForm::BorderIcons, &TCustomForm::SetBorderIcons,
        {"biSystemMenu", "biMinimize", "biMaximize", "biHelp"},
        TBorderIcons{biSystemMenu, biMinimize, biMaximize});
  p.Enum("BorderStyle", &TCustomForm::FormBorderStyle, &TCustomForm::SetFormBorderStyle,
         {"bsNone", "bsSingle", "bsSizeable", "bsDialog", "bsToolWindow", "bsSizeToolWin"},
         TFormBorderStyle::bsSizeable);
  p.Integer("ClientHeight", &TCustomForm::ClientHeight, &TCustomForm::SetClientHeight);
  p.Integer("ClientWidth", &TCustomForm::ClientWidth, &TCustomForm::SetClientWidth);
  p.Enum("FormStyle", &TCustomForm::FormStyle, &TCustomForm::SetFormStyle,
         {"fsNormal", "fsMDIChild", "fsMDIForm", "fsStayOnTop"}, TFormStyle::fsNormal);
  p.Object("Icon", &TCustomForm::Icon);
  p.Boolean("KeyPreview", &TCustomForm::KeyPreview, &TCustomForm::SetKeyPreview, false);
  p.Enum("Position", &TCustomForm::Position, &TCustomForm::SetPosition,
         {"poDesigned", "poDefault", "poDefaultPosOnly", "poDefaultSizeOnly", "poScreenCenter", "poDesktopCenter",
          "poMainFormCenter", "poOwnerFormCenter"},
         TPosition::poDesigned);
  p.Enum("WindowState", &TCustomForm::WindowState, &TCustomForm::SetWindowState,
         {"wsNormal", "wsMinimized", "wsMaximized"}, TWindowState::wsNormal);
  p.Event("OnActivate", &TCustomForm::OnActivate);
  p.Event("OnClose", &TCustomForm::OnClose);
  p.Event("OnCloseQuery", &TCustomForm::OnCloseQuery);
  p.Event("OnCreate", &TCustomForm::OnCreate);
  p.Event("OnDeactivate", &TCustomForm::OnDeactivate);
  p.Event("OnDestroy", &TCustomForm::OnDestroy);
  p.Event("OnHide", &TCustomForm::OnHide);
  p.Event("OnPaint", &TCustomForm::OnPaint);
  p.Event("OnShow", &TCustomForm::OnShow);
}

}  // namespace hv
