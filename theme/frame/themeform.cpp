// The frame component: properties, loading, the messages it takes from the
// form's window, and the measuring of the system look.

#include "theme/frame/themeform.h"

#include <windows.h>

#include "framework/application.h"
#include "framework/forms.h"
#include "framework/graphics.h"
#include "framework/properties.h"
#include "framework/screen.h"
#include "framework/winstring.h"
#include "theme/core/sizegrip.h"
#include "theme/core/tebitmap.h"
#include "theme/core/visualstyles.h"
// After <uxtheme.h>.
#include <vssym32.h>

#include "theme/frame/frameresources.h"
#include "theme/frame/menubar.h"
#include "theme/frame/traysupport.h"

namespace hv {

// --- size constraints -------------------------------------------------------

void TSizeConstraints::Assign(const TPersistent* source) {
  if (auto* other = dynamic_cast<const TSizeConstraints*>(source)) {
    values_ = other->values_;
    if (OnChange) OnChange(this);
    return;
  }
  TPersistent::Assign(source);
}

void TSizeConstraints::Set(int& field, int value) {
  if (field == value) return;
  field = value;
  if (OnChange) OnChange(this);
}

void TSizeConstraints::PublishProperties(TPropertyList& p) {
  p.Integer("MaxHeight", &TSizeConstraints::MaxHeight, &TSizeConstraints::SetMaxHeight, 0);
  p.Integer("MaxWidth", &TSizeConstraints::MaxWidth, &TSizeConstraints::SetMaxWidth, 0);
  p.Integer("MinHeight", &TSizeConstraints::MinHeight, &TSizeConstraints::SetMinHeight, 0);
  p.Integer("MinWidth", &TSizeConstraints::MinWidth, &TSizeConstraints::SetMinWidth, 0);
}

// --- construction -------------------------------------------------------------

TTeCustomForm::TTeCustomForm(TComponent* owner)
    : TTeHook(owner),
      animation_(std::make_unique<TTeAnimation>()),
      blending_(std::make_unique<TTeBlending>()),
      dragging_(std::make_unique<TTeDragging>()),
      gravitation_(std::make_unique<TTeGravitation>()),
      shadow_(std::make_unique<TTeShadow>()),
      systemMenuOptions_(std::make_unique<TTePopupMenuOptions>()),
      trayMenuOptions_(std::make_unique<TTePopupMenuOptions>()),
      constraints_(std::make_unique<TSizeConstraints>()),
      frameCanvas_(std::make_unique<TCanvas>()) {
  // Blending and shadow change the window's size and outline.
  blending_->OnChange = [this](TObject*) {
    if (!IsLoading()) UpdateFrame();
  };
  shadow_->OnChange = blending_->OnChange;
  if (TCustomForm* form = OwnerForm()) {
    caption_ = form->Caption();
    lastText_ = caption_;
    // The system keeps its sizeable frame (it still maximizes, activates and
    // asks for hit tests) but draws no buttons and keeps no menu of its own.
    form->SetFormBorderStyle(TFormBorderStyle::bsSizeable);
    form->SetBorderIcons(TBorderIcons{});
    if (form->FormStyle() == TFormStyle::fsMDIChild) {
      minimizeApplication_ = false;
      gravitation_->SetSize(TTeGravitation::kMdiChildSize);
      borderIcons_.Exclude(kbiTray);
    }
  }
  tray_ = std::make_unique<TTeTrayIcon>(*this, !IsDesigning());
}

TTeCustomForm::~TTeCustomForm() {
  Destroying();
  // Off the form's window first: nothing below may be reached from its messages.
  SetControl(nullptr);
  UnchainShortCut();
  ReleaseMdiClient();
  GiveApplicationEventsBack();
  tray_.reset();
  DestroyComponents();
}

TCustomForm* TTeCustomForm::OwnerForm() const { return dynamic_cast<TCustomForm*>(Owner()); }

void TTeCustomForm::Loaded() {
  TTeHook::Loaded();
  if (IsDesigning()) return;
  if (auto* control = dynamic_cast<TWinControl*>(Owner())) SetControl(control);
  SubclassMdiClient();
  TCustomForm* form = OwnerForm();
  ChainShortCut();
  tray_->SetIcon(form);
  if (!form) {
    if (OnCreate) OnCreate(this);
    return;
  }
  HWND wnd = form->Handle();
  RECT r{};
  GetWindowRect(wnd, &r);
  SetWindowSize(r.right - r.left, r.bottom - r.top);
  if (pendingState_ != kwsNormal) {
    // The window waits below the screen until its state is entered, so that
    // it never shows in the wrong one.
    if (pendingState_ != kwsRollup) {
      restoreBounds_ = form->BoundsRect();
      SetWindowPos(wnd, nullptr, 0, GetSystemMetrics(SM_CYSCREEN), windowWidth_, windowHeight_,
                   SWP_SHOWWINDOW | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    PostMessageW(wnd, WM_TE_ENTERSTATE, pendingState_, 0);
  } else {
    TScopedValue<TNotifyEvent> noResize(form->OnResize, {});
    UpdateFrame();
  }
  if (OnCreate) OnCreate(this);
  if (stayOnTop_)
    SetWindowPos(wnd, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOCOPYBITS | SWP_NOACTIVATE | SWP_NOMOVE | SWP_NOSIZE);
}

// --- properties -----------------------------------------------------------------

void TTeCustomForm::SetAnimation(const TTeAnimation* value) { animation_->Assign(value); }
void TTeCustomForm::SetBlending(const TTeBlending* value) { blending_->Assign(value); }
void TTeCustomForm::SetDragging(const TTeDragging* value) { dragging_->Assign(value); }
void TTeCustomForm::SetGravitation(const TTeGravitation* value) { gravitation_->Assign(value); }
void TTeCustomForm::SetShadow(const TTeShadow* value) { shadow_->Assign(value); }
void TTeCustomForm::SetSystemMenuOptions(const TTePopupMenuOptions* value) { systemMenuOptions_->Assign(value); }
void TTeCustomForm::SetTrayMenuOptions(const TTePopupMenuOptions* value) { trayMenuOptions_->Assign(value); }

void TTeCustomForm::SetBorderIcons(TTeBorderIcons value) {
  if (value == borderIcons_) return;
  borderIcons_ = value;
  if (!IsLoading()) UpdateFrame();
}

void TTeCustomForm::SetBorderStyle(TTeBorderStyle value) {
  if (value == borderStyle_) return;
  borderStyle_ = value;
  if (!IsLoading()) UpdateFrame();
}

void TTeCustomForm::SetCaption(const std::string& value) {
  if (value == caption_) return;
  caption_ = value;
  lastText_ = value;
  if (TCustomForm* form = OwnerForm()) form->SetCaption(value);
}

void TTeCustomForm::SetConstraints(const TSizeConstraints* value) {
  constraints_->Assign(value);
  if (TCustomForm* form = OwnerForm()) {
    const auto& c = constraints_->Values();
    if (c.minWidth != 0 && form->Width() < c.minWidth) form->SetWidth(c.minWidth);
    if (c.minHeight != 0 && form->Height() < c.minHeight) form->SetHeight(c.minHeight);
  }
  if (!IsLoading()) UpdateFrame();
}

void TTeCustomForm::SetStayOnTop(bool value) {
  if (value == stayOnTop_) return;
  stayOnTop_ = value;
  TCustomForm* form = OwnerForm();
  if (IsDesigning() || !form || !form->HandleAllocated()) return;
  SetWindowPos(form->HandleIfAllocated(), value ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
               SWP_NOCOPYBITS | SWP_NOACTIVATE | SWP_NOMOVE | SWP_NOSIZE);
}

void TTeCustomForm::SetWindowState(TTeWindowState value) {
  if (IsLoading()) {
    pendingState_ = value;
    return;
  }
  if (IsDesigning()) {
    windowState_ = value;
    return;
  }
  if (value == windowState_) return;
  switch (value) {
    case kwsNormal:
      Restore();
      break;
    case kwsMaximized:
      Maximize();
      break;
    case kwsMinimized:
      Minimize();
      break;
    case kwsRollup:
      Rollup();
      break;
    case kwsTray:
      MinimizeToTray();
      break;
  }
}

// --- measuring ----------------------------------------------------------------------

TFrameShape TTeCustomForm::Shape() const {
  TFrameShape shape;
  shape.width = frameWidth_;
  shape.height = frameHeight_;
  shape.borderStyle = borderStyle_;
  shape.icons = borderIcons_;
  shape.state = windowState_;
  shape.mdiChildMaximized = MdiChildMaximized();
  return shape;
}

bool TTeCustomForm::MdiChildMaximized() const {
  TCustomForm* form = OwnerForm();
  return form && form->FormStyle() == TFormStyle::fsMDIChild && windowState_ == kwsMaximized;
}

bool TTeCustomForm::ShadowVisible() const { return shadow_->Enabled() && windowState_ != kwsMaximized; }

TRect TTeCustomForm::FrameClientRect() {
  TRect r = GetFrameClientRect();
  return Rect(0, 0, r.Width(), r.Height());
}

TRect TTeCustomForm::GetButtonRect(TTeBorderIcon icon) { return SystemButtonRect(SystemFrameMetrics(), Shape(), icon); }

TRect TTeCustomForm::GetFrameClientRect() { return SystemClientRect(SystemFrameMetrics(), Shape()); }

TRect TTeCustomForm::GetRollupRect() {
  TCustomForm* form = OwnerForm();
  TPoint topLeft = form ? TPoint{form->Left(), form->Top()} : TPoint{};
  return RollupRect(topLeft, frameWidth_, frameHeight_, GetFrameClientRect().Height());
}

TRect TTeCustomForm::GetMinimizedRect() {
  int bottom = Screen()->WorkAreaRect().bottom;
  TCustomForm* form = OwnerForm();
  if (form && form->HandleAllocated()) {
    if (HWND parent = GetParent(form->HandleIfAllocated())) {
      RECT r{};
      GetClientRect(parent, &r);
      bottom = r.bottom;
    }
  }
  return MinimizedRect(GetSystemMetrics(SM_CXMINIMIZED), frameHeight_, GetFrameClientRect().Height(), bottom);
}

TRect TTeCustomForm::MaximizedArea(int inset) {
  TCustomForm* form = OwnerForm();
  if (!form || form->FormStyle() == TFormStyle::fsMDIChild) {
    HWND client = nullptr;
    if (form && form->HandleAllocated()) client = GetParent(form->HandleIfAllocated());
    if (client) {
      RECT r{};
      GetClientRect(client, &r);
      return Rect(r.left, r.top, r.right, r.bottom);
    }
    return Rect(0, 0, Screen()->Width(), Screen()->Height());
  }
  TMonitor monitor = form->HandleAllocated() ? Screen()->MonitorFromWindow(form->HandleIfAllocated())
                                             : Screen()->MonitorFromPoint({form->Left(), form->Top()});
  return MaximizedRect(Screen()->WorkAreaRect(), monitor.boundsRect, stayOnTop_, inset);
}

TRect TTeCustomForm::GetMaximizedRect() { return MaximizedArea(GetFrameClientRect().left); }

TSize TTeCustomForm::GetMaxTrackSize() { return MaxTrackSize(GetMaximizedRect(), constraints_->Values()); }

TSize TTeCustomForm::GetMinTrackSize() { return MinTrackSize(constraints_->Values()); }

int TTeCustomForm::HitTest(int x, int y) {
  THitTestInput in;
  in.point = {x, y};
  in.width = frameWidth_;
  in.height = frameHeight_;
  in.client = GetFrameClientRect();
  for (int i = 0; i < kBorderIconCount; ++i) in.buttons[static_cast<size_t>(i)] = GetButtonRect(TTeBorderIcon(i));
  in.state = windowState_;
  in.captionHeight = SystemFrameMetrics().CaptionOf(borderStyle_);
  in.sizeGrip = SizeGripRect(in.client);
  return FrameHitTest(in);
}

bool TTeCustomForm::GripHostSizeable() const {
  return dragging_->Sizeable() && windowState_ == kwsNormal;
}

TRect TTeCustomForm::SizeGripRect(const TRect& client) {
  TCustomForm* form = OwnerForm();
  if (!form || !dragging_->Sizeable() || windowState_ != kwsNormal || form->WindowState() != TWindowState::wsNormal)
    return {};
  for (int i = 0; i < form->ControlCount(); ++i) {
    TControl* control = form->Controls(i);
    auto* owner = dynamic_cast<TTeSizeGripOwner*>(control);
    if (!owner || !control->Visible() || !owner->SizeGripShown()) continue;
    // Only a grip in the form's bottom-right corner sizes the form.
    if (control->Left() + control->Width() != client.Width() || control->Top() + control->Height() != client.Height())
      continue;
    return owner->SizeGripRect().Offset(client.left + control->Left(), client.top + control->Top());
  }
  return {};
}

HRGN TTeCustomForm::CreateFrameRegion() {
  const RECT all{0, 0, frameWidth_, frameHeight_};
  if (SystemFrameMetrics().visualStyles && borderStyle_ != kbsNone && Handle()) {
    const TVisualStyleApi& api = VisualStyleApi();
    if (api.OpenThemeData && api.GetThemeBackgroundRegion && api.CloseThemeData) {
      if (HTHEME theme = api.OpenThemeData(Handle(), L"Window")) {
        HRGN region = nullptr;
        const int part = borderStyle_ == kbsToolWindow ? WP_SMALLCAPTION : WP_CAPTION;
        HRESULT hr =
            api.GetThemeBackgroundRegion(theme, nullptr, part, active_ ? CS_ACTIVE : CS_INACTIVE, &all, &region);
        api.CloseThemeData(theme);
        if (SUCCEEDED(hr) && region) return region;
      }
    }
  }
  return CreateRectRgnIndirect(&all);
}

void TTeCustomForm::UpdateRegion() {
  TCustomForm* form = OwnerForm();
  if (performance_ == ksfpPersistentBuffer) {
    if (!persistentBuffer_) persistentBuffer_ = std::make_unique<TTeBitmap>();
    persistentBuffer_->SetSize(windowWidth_, windowHeight_);
  }
  if (form && form->HandleAllocated()) {
    TScopedFlag off(paintingEnabled_, false);
    TRegionHandle region(CreateFrameRegion());
    if (ShadowVisible() && region) {
      TRegionHandle moved(CreateFrameRegion());
      if (moved) {
        OffsetRgn(moved.Get(), shadow_->Size(), shadow_->Size());
        CombineRgn(region.Get(), region.Get(), moved.Get(), RGN_OR);
      }
    }
    // The window owns the region from here on.
    if (SetWindowRgn(form->HandleIfAllocated(), region.Get(), TRUE)) region.Release();
  }
  if (OnResize) OnResize(this);
}

void TTeCustomForm::SetWindowSize(int width, int height) {
  windowWidth_ = width;
  windowHeight_ = height;
  const int shadow = ShadowVisible() ? shadow_->Size() : 0;
  frameWidth_ = windowWidth_ - shadow;
  frameHeight_ = windowHeight_ - shadow;
}

void TTeCustomForm::UpdateFrame() {
  TCustomForm* form = OwnerForm();
  if (!Active() || !form || IsDesigning() || !form->HandleAllocated()) return;
  TScopedFlag noCapture(captureSuppressed_);
  HWND wnd = form->HandleIfAllocated();
  const int clientWidth = form->ClientWidth(), clientHeight = form->ClientHeight();
  // A shadow shown or hidden moves the frame within the same window.
  SetWindowSize(windowWidth_, windowHeight_);
  // The system asks for the client area again, now with the frame's new
  // measures, while the window keeps its size: resizing it there and back
  // instead would rebuild the outline and the buffers twice for nothing.
  SetWindowPos(wnd, nullptr, 0, 0, 0, 0, SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  const int dw = clientWidth - form->ClientWidth(), dh = clientHeight - form->ClientHeight();
  const int windowWidth = windowWidth_, windowHeight = windowHeight_;
  if (clientWidth != 0 && (dw != 0 || dh != 0))
    form->SetBounds(form->Left(), form->Top(), form->Width() + dw, form->Height() + dh);
  // A new size has rebuilt the outline already; the same size needs it once,
  // for the new measures.
  if (windowWidth_ == windowWidth && windowHeight_ == windowHeight) UpdateRegion();
  RedrawWindow(wnd, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_ERASE);
}

void TTeCustomForm::ActiveChanged() {
  TCustomForm* form = OwnerForm();
  if (!form || IsLoading() || IsDestroying() || IsDesigning() || !form->HandleAllocated()) return;
  if (Active()) {
    UpdateFrame();
    UpdateRegion();
    return;
  }
  // The system measures and paints its own frame again, around a client
  // area of the same size, and the window loses the style's outline.
  HWND wnd = form->HandleIfAllocated();
  const int clientWidth = form->ClientWidth(), clientHeight = form->ClientHeight();
  SetWindowRgn(wnd, nullptr, TRUE);
  SetWindowPos(wnd, nullptr, 0, 0, 0, 0, SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  form->SetClientSize(clientWidth, clientHeight);
}

void TTeCustomForm::RefreshFrame() {
  if (IsLoading() || IsDestroying()) return;
  PaintNonClient();
  if (TCustomForm* form = OwnerForm()) form->Invalidate();
}

// --- messages before the form's own procedure ----------------------------------------

void TTeCustomForm::Dispatch(TMessage& message) {
  switch (message.Msg) {
    case WM_ACTIVATE:
      // A window the system minimizes behind the frame's back (the taskbar)
      // follows into the frame's state; one already minimized stays so.
      if (!active_ && HIWORD(message.WParam) && windowState_ != kwsMinimized && windowState_ != kwsTray) Minimize();
      break;
    case WM_ERASEBKGND:
      WMEraseBkgnd(message);
      message.Result = 1;
      MarkHandled();
      return;
    case WM_WINDOWPOSCHANGING:
      WMWindowPosChanging(message);
      message.Result = 0;
      MarkHandled();
      return;
    case WM_NCCALCSIZE:
      WMNCCalcSize(message);
      message.Result = 0;
      MarkHandled();
      return;
    case WM_NCHITTEST:
      WMNCHitTest(message);
      MarkHandled();
      return;
    case WM_SHOWWINDOW:
      // Showing invalidates the whole window, frame included.
      framePaintPending_ = message.WParam != 0;
      break;
    case WM_PAINT:
      // Past the frame's WM_NCPAINT, or the frame had nothing to paint.
      framePaintPending_ = false;
      WMPaint(message);
      MarkHandled();
      return;
    case WM_NCPAINT:
      framePaintPending_ = false;
      PaintNonClient(reinterpret_cast<HRGN>(message.WParam));
      message.Result = 0;
      MarkHandled();
      return;
    case WM_NCACTIVATE:
      WMNCActivate(message);
      return;
    case WM_NCMOUSEMOVE:
    case WM_NCLBUTTONDOWN:
    case WM_NCLBUTTONUP:
    case WM_NCLBUTTONDBLCLK:
    case WM_NCRBUTTONDOWN:
    case WM_NCRBUTTONUP:
    case WM_MOUSEMOVE:
    case WM_LBUTTONUP:
      FrameMouseMessage(message);
      return;
    case WM_MDIACTIVATE:
      MdiActivate(message);
      break;
    case WM_SYSCOMMAND: {
      const unsigned command = message.WParam & 0xFFF0;
      if ((command == SC_KEYMENU && message.LParam == ' ') || command == SC_MOUSEMENU) {
        ShowSystemMenu();
      } else if (command == SC_KEYMENU && message.LParam != '-' && menuBar_ && !GetCapture()) {
        // Alt, F10 or Alt+letter: the menu bar takes the keyboard; the
        // letter picks its item once the bar's loop runs.
        if (message.LParam) PostMessageW(Handle(), WM_CHAR, static_cast<WPARAM>(message.LParam), 0);
        menuBar_->EnterMenuLoop();
      }
      break;
    }
    case WM_SETTEXT:
    case WM_SETICON:
      // The system paints its own caption straight onto the frame when a
      // window with a caption gets a new text or icon; without the caption
      // bits it does not, and the frame repaints once the change is in.
      if (Handle())
        SetWindowLongPtrW(Handle(), GWL_STYLE, GetWindowLongPtrW(Handle(), GWL_STYLE) & ~LONG_PTR{WS_CAPTION});
      break;
    case WM_THEMECHANGED:
      RefreshSystemFrameMetrics();
      message.Result = 0;
      MarkHandled();
      return;
    case WM_TE_REFRESHFRAME:
      if (message.WParam == 13 && Handle())
        SetWindowLongPtrW(Handle(), GWL_STYLE, GetWindowLongPtrW(Handle(), GWL_STYLE) | WS_CAPTION);
      PaintNonClient();
      MarkHandled();
      return;
    case WM_TE_MAXIMIZE:
      Maximize();
      MarkHandled();
      return;
    case WM_TE_ENTERSTATE:
      EnterState(static_cast<int>(message.WParam));
      MarkHandled();
      return;
    case WM_TE_PAINTWINDOW:
      WMPaintWindow(message);
      MarkHandled();
      return;
    default:
      break;
  }
  TTeHook::Dispatch(message);
}

void TTeCustomForm::AfterMessage(TMessage& message) {
  switch (message.Msg) {
    case WM_SETTEXT:
      if (Handle()) {
        SetWindowLongPtrW(Handle(), GWL_STYLE, GetWindowLongPtrW(Handle(), GWL_STYLE) | WS_CAPTION);
        if (message.LParam) caption_ = Narrow(reinterpret_cast<const wchar_t*>(message.LParam));
        lastText_ = caption_;
        PaintNonClient();
      }
      break;
    case WM_SETICON:
      if (Handle()) {
        SetWindowLongPtrW(Handle(), GWL_STYLE, GetWindowLongPtrW(Handle(), GWL_STYLE) | WS_CAPTION);
        smallIcon_.Reset();
        tray_->SetIcon(OwnerForm());
        PaintNonClient();
      }
      break;
    case WM_GETTEXT:
      AfterGetText(message);
      break;
    case WM_SIZE:
      MdiParentSized();
      SystemSized(message.WParam);
      break;
    case WM_NCACTIVATE:
      if (TCustomForm* form = OwnerForm(); form && form->FormStyle() == TFormStyle::fsMDIChild) {
        PaintNonClient();
        PostMessageW(Handle(), WM_TE_REFRESHFRAME, 0, 0);
      }
      break;
    case WM_SYSCOMMAND:
      if ((message.WParam & 0xFFF0) == SC_CONTEXTHELP) PaintNonClient();
      break;
    default:
      break;
  }
  TTeHook::AfterMessage(message);
}

void TTeCustomForm::AfterGetText(TMessage& message) {
  if (!message.LParam || message.Result <= 0) return;
  std::string text =
      Narrow(std::wstring_view(reinterpret_cast<const wchar_t*>(message.LParam), static_cast<size_t>(message.Result)));
  if (text == lastText_ || !Handle()) return;
  // A text set behind the frame's back: the caption bits go until the
  // posted refresh has repainted the frame with it. The reader still gets
  // the text's length.
  SetWindowLongPtrW(Handle(), GWL_STYLE, GetWindowLongPtrW(Handle(), GWL_STYLE) & ~LONG_PTR{WS_CAPTION});
  caption_ = text;
  lastText_ = text;
  PostMessageW(Handle(), WM_TE_REFRESHFRAME, 13, 0);
  if (TCustomForm* parent = MdiParent(); parent && MdiChildCountsAsMaximized(parent)) UpdateMdiParentCaption();
}

void TTeCustomForm::WMNCCalcSize(TMessage& message) {
  if (!message.WParam) return;
  auto* params = reinterpret_cast<NCCALCSIZE_PARAMS*>(message.LParam);
  RECT& r = params->rgrc[0];
  if (windowWidth_ == 0 && windowHeight_ == 0) {
    windowWidth_ = frameWidth_ = r.right - r.left;
    windowHeight_ = frameHeight_ = r.bottom - r.top;
  }
  const TRect client =
      CalcClientRect(Rect(r.left, r.top, r.right, r.bottom), GetFrameClientRect(), windowWidth_, windowHeight_);
  r = RECT{client.left, client.top, client.right, client.bottom};
  params->rgrc[1] = r;
}

void TTeCustomForm::WMWindowPosChanging(TMessage& message) {
  auto* pos = reinterpret_cast<WINDOWPOS*>(message.LParam);
  if (!(pos->flags & SWP_NOSIZE) || !(pos->flags & SWP_NOMOVE)) {
    bool sizeChanged = false;
    if (!(pos->flags & SWP_NOSIZE)) {
      const TSize size = ClampTrackSize({pos->cx, pos->cy}, GetMaxTrackSize(), GetMinTrackSize(), windowState_);
      pos->cx = size.cx;
      pos->cy = size.cy;
      if (size.cx != windowWidth_ || size.cy != windowHeight_) {
        SetWindowSize(size.cx, size.cy);
        sizeChanged = true;
      }
    }
    if (pos->flags & SWP_FRAMECHANGED) PaintNonClient();
    if (blending_->Enabled() || shadow_->Enabled()) CaptureBackground(ScreenRectOf(pos));
    if (sizeChanged) UpdateRegion();
  }
  if ((pos->flags & SWP_SHOWWINDOW) && pendingState_ == kwsNormal && (blending_->Enabled() || shadow_->Enabled())) {
    // Shown afresh: whatever was captured before is gone from the screen.
    lastCapture_ = {};
    CaptureBackground(ScreenRectOf(pos));
  }
  if ((pos->flags & SWP_SHOWWINDOW) && pendingState_ == kwsNormal) AnimateShow(ScreenRectOf(pos));
  // The snapshot behind a blended or shadowed window must not be copied
  // along with the window's old pixels.
  if (blending_->Enabled() || shadow_->Enabled()) pos->flags |= SWP_NOCOPYBITS;
}

void TTeCustomForm::WMNCHitTest(TMessage& message) {
  RECT r{};
  GetWindowRect(Handle(), &r);
  const int code = HitTest(XOfLParam(message.LParam) - r.left, YOfLParam(message.LParam) - r.top);
  message.Result = HitCodeAnswer(code, dragging_->Moveable(), dragging_->Sizeable(), windowState_);
}

void TTeCustomForm::WMNCActivate(TMessage& message) {
  active_ = message.WParam != 0;
  TCustomForm* form = OwnerForm();
  if (form && minimizeApplication_) TakeApplicationEvents();
  // An MDI child being activated is the MDI machinery's affair; the frame
  // repaints after it.
  if (active_ && form && form->FormStyle() == TFormStyle::fsMDIChild) return;
  // A window being shown is activated before its frame is painted for the
  // first time: that paint follows and shows the state set here.
  if (!framePaintPending_) PaintNonClient();
  message.Result = active_ ? 0 : 1;
  MarkHandled();
}

void TTeCustomForm::EnterState(int state) {
  switch (state) {
    case 1:
      Maximize();
      break;
    case 2:
      Minimize();
      break;
    case 3:
      Rollup();
      break;
    case 4:
      MinimizeToTray();
      break;
    default:
      break;
  }
}

// --- published properties -----------------------------------------------------------

void TTeCustomForm::PublishProperties(TPropertyList& p) {
  p.Object("Animation", &TTeCustomForm::Animation);
  p.Object("Blending", &TTeCustomForm::Blending);
  p.Set("BorderIcons", &TTeCustomForm::BorderIcons, &TTeCustomForm::SetBorderIcons,
        {"kbiClose", "kbiSystemMenu", "kbiMinimize", "kbiMaximize", "kbiHelp", "kbiRollup", "kbiTray"},
        TTeBorderIcons{kbiClose, kbiSystemMenu, kbiMinimize, kbiMaximize, kbiRollup, kbiTray});
  p.Enum("BorderStyle", &TTeCustomForm::BorderStyle, &TTeCustomForm::SetBorderStyle,
         {"kbsNone", "kbsStandard", "kbsToolWindow"}, kbsStandard);
  p.String("Caption", &TTeCustomForm::Caption, &TTeCustomForm::SetCaption, std::nullopt);
  p.Object("Constraints", &TTeCustomForm::Constraints);
  p.Object("Dragging", &TTeCustomForm::Dragging);
  p.Object("Gravitation", &TTeCustomForm::Gravitation);
  p.Boolean("MinimizeApplication", &TTeCustomForm::MinimizeApplication, &TTeCustomForm::SetMinimizeApplication, true);
  p.Enum("Performance", &TTeCustomForm::Performance, &TTeCustomForm::SetPerformance,
         {"ksfpNoBuffer", "ksfpSharedBuffer", "ksfpPersistentBuffer", "ksfpDoubleBuffer"}, ksfpNoBuffer);
  p.Object("Shadow", &TTeCustomForm::Shadow);
  p.Boolean("StayOnTop", &TTeCustomForm::StayOnTop, &TTeCustomForm::SetStayOnTop, false);
  p.Boolean("StretchBackground", &TTeCustomForm::StretchBackground, &TTeCustomForm::SetStretchBackground, false);
  p.Object("SystemMenuOptions", &TTeCustomForm::SystemMenuOptions);
  p.Object("TrayMenuOptions", &TTeCustomForm::TrayMenuOptions);
  p.Enum("WindowState", &TTeCustomForm::WindowState, &TTeCustomForm::SetWindowState,
         {"kwsNormal", "kwsMaximized", "kwsMinimized", "kwsRollup", "kwsTray"}, kwsNormal);
  p.Event("OnClose", &TTeCustomForm::OnClose);
  p.Event("OnCreate", &TTeCustomForm::OnCreate);
  p.Event("OnMaximize", &TTeCustomForm::OnMaximize);
  p.Event("OnMinimize", &TTeCustomForm::OnMinimize);
  p.Event("OnMinToTray", &TTeCustomForm::OnMinToTray);
  p.Event("OnPaint", &TTeCustomForm::OnPaint);
  p.Event("OnResize", &TTeCustomForm::OnResize);
  p.Event("OnRollup", &TTeCustomForm::OnRollup);
}

}  // namespace hv
