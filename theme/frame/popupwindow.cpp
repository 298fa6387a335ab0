#include "theme/frame/popupwindow.h"

#include <windows.h>

#include "framework/graphics.h"
#include "framework/screen.h"
#include "theme/core/drawing.h"
#include "theme/core/theme.h"
#include "theme/core/themeengine.h"
#include "theme/frame/frameresources.h"
#include "theme/frame/menulayout.h"
#include "theme/frame/themeitem.h"

namespace hv {

// --- the view -----------------------------------------------------------------------

void TTePopupView::Resized() {
  auto* window = dynamic_cast<TTePopupWindow*>(Host());
  if (!window) return;
  const TSize extra = window->FrameExtra();
  // An open level never shrinks while it scrolls: its items keep their place.
  const int width = std::max(Extent().cx + extra.cx, window->HandleAllocated() ? window->Width() : 0);
  window->SetBounds(window->Left(), window->Top(), width, Extent().cy + extra.cy);
}

// --- the frame ----------------------------------------------------------------------

TTePopupForm::TTePopupForm(TComponent* owner) : TTeCustomForm(owner) {
  SetBorderIcons({});
  SetBorderStyle(kbsNone);
  TTeDragging dragging;
  dragging.SetMoveable(false);
  dragging.SetSizeable(false);
  SetDragging(&dragging);
  SetPerformance(ksfpNoBuffer);
  SetMinimizeApplication(false);
}

TRect TTePopupForm::GetFrameClientRect() {
  return Rect(kBorder, kBorder, std::max(kBorder, FrameWidth() - kBorder), std::max(kBorder, FrameHeight() - kBorder));
}

TSize TTePopupForm::GetMinTrackSize() { return {10, 10}; }

int TTePopupForm::HitTest(int, int) { return kHitNone; }

void TTePopupForm::PaintFrame(TCanvas& canvas) {
  const TRect r = Rect(0, 0, FrameWidth(), FrameHeight());
  if (SystemFrameMetrics().visualStyles) {
    OutlineRect(canvas, r, clBtnShadow);
    OutlineRect(canvas, r.Inflate(-1, -1), clMenu);
    OutlineRect(canvas, r.Inflate(-2, -2), clMenu);
    return;
  }
  Frame3D(canvas, r, clBtnFace, clBlack);
  Frame3D(canvas, r.Inflate(-1, -1), clBtnHighlight, clBtnShadow);
  OutlineRect(canvas, r.Inflate(-2, -2), clMenu);
}

void TTePopupForm::PaintBackground() {
  TCanvas* canvas = Canvas();
  if (!canvas) return;
  if (!view_) {
    FillBackground(clMenu);
    return;
  }
  view_->Paint(*canvas);
}

void TTePopupForm::Dispatch(TMessage& message) {
  switch (message.Msg) {
    case WM_MOUSEACTIVATE:
      if (keepActive_) SendMessageW(keepActive_, WM_NCACTIVATE, 1, 0);
      message.Result = MA_NOACTIVATE;
      MarkHandled();
      return;
    case WM_ACTIVATE:
      if (keepActive_ && LOWORD(message.WParam) != WA_INACTIVE) SendMessageW(keepActive_, WM_NCACTIVATE, 1, 0);
      break;
    case WM_NCHITTEST:
      message.Result = HTCLIENT;
      MarkHandled();
      return;
    default:
      break;
  }
  TTeCustomForm::Dispatch(message);
}

TTeThemePopupForm::~TTeThemePopupForm() { Destroying(); }

void TTeThemePopupForm::SetThemeEngine(TTeThemeEngine* value) {
  if (themeEngine_ == value) return;
  if (themeEngine_) themeEngine_->RemoveFreeNotification(this);
  themeEngine_ = value;
  if (themeEngine_) themeEngine_->FreeNotification(this);
}

void TTeThemePopupForm::Notification(TComponent* component, TOperation operation) {
  TTePopupForm::Notification(component, operation);
  if (operation == TOperation::opRemove && component == themeEngine_) themeEngine_ = nullptr;
}

void TTeThemePopupForm::PaintFrame(TCanvas& canvas) {
  if (themeEngine_ && themeEngine_->ThemeAvailable())
    themeEngine_->Theme()->DrawPopupMenu(canvas, FrameWidth(), FrameHeight());
  else
    TTePopupForm::PaintFrame(canvas);
}

// --- the window ---------------------------------------------------------------------

TTePopupWindow::TTePopupWindow(TComponent* owner) : TCustomForm(owner) {
  SetFormBorderStyle(TFormBorderStyle::bsNone);
  SetColor(clMenu);
}

TTePopupWindow::~TTePopupWindow() {
  Destroying();
  DestroyComponents();
}

void TTePopupWindow::CreateParams(TCreateParams& params) {
  TCustomForm::CreateParams(params);
  params.style = WS_POPUP | WS_CLIPCHILDREN;
  params.exStyle = WS_EX_TOOLWINDOW | WS_EX_TOPMOST;
  params.parent = keepActive_;
}

void TTePopupWindow::WndProc(TMessage& message) {
  switch (message.Msg) {
    case WM_MOUSEACTIVATE:
      message.Result = MA_NOACTIVATE;
      return;
    default:
      TCustomForm::WndProc(message);
  }
}

TTePopupForm* TTePopupWindow::CreateFrame(TTeCustomItem&) { return TComponent::Create<TTePopupForm>(this); }

TTePopupForm* TTeThemePopupWindow::CreateFrame(TTeCustomItem& item) {
  auto* frame = TComponent::Create<TTeThemePopupForm>(this);
  if (auto* themed = dynamic_cast<TTeThemeItem*>(&item)) frame->SetThemeEngine(themed->ThemeEngine());
  return frame;
}

TSize TTePopupWindow::FrameExtra() const {
  int extra = 2 * TTePopupForm::kBorder;
  const int shadow = frame_ && frame_->Shadow()->Enabled() ? frame_->Shadow()->Size() : 0;
  return {extra + shadow, extra + shadow};
}

void TTePopupWindow::Prepare(TTeCustomItem& item, TTeItemView* parentView, HWND keepActive) {
  keepActive_ = keepActive;
  frame_ = CreateFrame(item);
  frame_->SetKeepActive(keepActive);
  frame_->SetStayOnTop(true);
  if (TTePopupMenuOptions* options = item.PopupOptions()) {
    frame_->SetBlending(options->Blending());
    frame_->SetShadow(options->Shadow());
    // Only the first level of a menu that opens animates.
    if (item.AnimateOnOpen() || !item.OpenedByProgram()) {
      frame_->SetAnimation(options->Animation());
      item.Root()->SetAnimateOnOpen(false);
    }
  }
  view_ = TComponent::Create<TTePopupView>(this);
  view_->SetHost(this);
  view_->SetParentView(parentView);
  view_->SetRoot(&item);
  frame_->SetView(view_);
  SetBounds(-30000, -30000, 10, 10);
  HandleNeeded();
  frame_->Loaded();
}

void TTePopupWindow::ShowNoActivate() {
  if (!HandleAllocated()) return;
  SetWindowPos(HandleIfAllocated(), nullptr, 0, 0, 0, 0,
               SWP_SHOWWINDOW | SWP_NOACTIVATE | SWP_NOZORDER | SWP_NOMOVE | SWP_NOSIZE);
}

void TTePopupWindow::HideNoActivate() {
  if (!HandleAllocated()) return;
  SetWindowPos(HandleIfAllocated(), nullptr, 0, 0, 0, 0,
               SWP_HIDEWINDOW | SWP_NOACTIVATE | SWP_NOZORDER | SWP_NOMOVE | SWP_NOSIZE);
}

// --- opening a level ----------------------------------------------------------------

const TClassInfo& PopupWindowClass() { return TTePopupWindow::StaticClassInfo(); }

namespace {

// The window whose caption stays active: the owner window's form, else the
// owner window, else the window that is active now.
HWND KeepActiveWindow(const TTeCustomItem& item) {
  if (auto* owner = dynamic_cast<TWinControl*>(item.OwnerWindow())) {
    TWinControl* top = owner;
    if (auto* form = dynamic_cast<TWinControl*>(owner->Owner())) top = form;
    if (top->HandleAllocated()) return GetAncestor(top->HandleIfAllocated(), GA_ROOT);
    if (owner->HandleAllocated()) return GetAncestor(owner->HandleIfAllocated(), GA_ROOT);
  }
  return GetActiveWindow();
}

TRect WorkAreaFor(HWND keepActive, TPoint at) {
  const TMonitor monitor = keepActive ? Screen()->MonitorFromWindow(keepActive) : Screen()->MonitorFromPoint(at);
  if (!monitor.workareaRect.IsEmpty()) return monitor.workareaRect;
  return Rect(0, 0, Screen()->Width(), Screen()->Height());
}

}  // namespace

void OpenItemPopup(TTeCustomItem& item, TTeItemView* parentView, int x, int y, const TRect* anchor) {
  if (!item.HasVisibleChild()) return;
  const std::weak_ptr<const bool> alive = item.AliveToken();
  if (item.OnBeforeDropDown) item.OnBeforeDropDown(&item);
  if (alive.expired() || !item.HasVisibleChild()) return;
  const TClassInfo* info = item.CreatePopupWindow();
  if (!info || !info->GetFactory()) return;
  std::unique_ptr<TComponent> made = info->GetFactory()(nullptr);
  auto* window = dynamic_cast<TTePopupWindow*>(made.get());
  if (!window) return;

  const HWND keepActive = KeepActiveWindow(item);
  const TRect work = WorkAreaFor(keepActive, {x, y});
  window->Prepare(item, parentView, keepActive);
  TTePopupView* view = window->View();
  view->SetMaxHeight(work.Height() - window->FrameExtra().cy);
  view->Layout();
  const TSize size{window->Width(), window->Height()};
  const TPoint at = PlacePopup(work, {x, y}, size, anchor, parentView && parentView->Horizontal());
  window->SetBounds(at.x, at.y, size.cx, size.cy);

  window->ShowNoActivate();
  // The first image reaches the screen before the loop looks at any input.
  UpdateWindow(window->HandleIfAllocated());
  if (item.BringToForeground()) SetForegroundWindow(window->HandleIfAllocated());
  if (parentView) parentView->SetChildView(view);
  view->MenuLoop();
  if (parentView && parentView->ChildView() == view) parentView->SetChildView(nullptr);
  window->HideNoActivate();
}

}  // namespace hv
