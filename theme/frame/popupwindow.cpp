#include "theme/frame/popupwindow.h"

#include <windows.h>

#include <algorithm>
#include <vector>

#include "framework/application.h"
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
  const int width = std::max(Extent().cx + extra.cx, Tracking() ? window->Width() : 0);
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

void TTePopupForm::UpdateFrame() {
  TCustomForm* form = OwnerForm();
  if (!Active() || !form || !form->HandleAllocated()) return;
  // The window already has the size its items need: the system only asks
  // for the client area again, and the outline follows once.
  SetWindowPos(form->HandleIfAllocated(), nullptr, 0, 0, 0, 0,
               SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  UpdateRegion();
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

TTePopupForm* TTeThemePopupWindow::CreateFrame(TTeCustomItem&) {
  return TComponent::Create<TTeThemePopupForm>(this);
}

bool TTeThemePopupWindow::LinkFrame(TTePopupForm& frame, TTeCustomItem& item) {
  auto* form = dynamic_cast<TTeThemePopupForm*>(&frame);
  if (!form) return false;
  auto* themed = dynamic_cast<TTeThemeItem*>(&item);
  form->SetThemeEngine(themed ? themed->ThemeEngine() : nullptr);
  TTeThemeEngine* engine = form->ThemeEngine();
  const void* look = engine && engine->ThemeAvailable() ? static_cast<const void*>(engine->Theme()) : nullptr;
  const bool changed = look != lastLook_;
  lastLook_ = look;
  return changed;
}

TSize TTePopupWindow::FrameExtra() const {
  int extra = 2 * TTePopupForm::kBorder;
  const int shadow = frame_ && frame_->Shadow()->Enabled() ? frame_->Shadow()->Size() : 0;
  return {extra + shadow, extra + shadow};
}

void TTePopupWindow::Prepare(TTeCustomItem& item, TTeItemView* parentView, HWND keepActive) {
  keepActive_ = keepActive;
  if (!frame_) {
    frame_ = CreateFrame(item);
    frame_->SetStayOnTop(true);
    view_ = TComponent::Create<TTePopupView>(this);
    view_->SetHost(this);
    frame_->SetView(view_);
  }
  lookChanged_ = LinkFrame(*frame_, item);
  frame_->SetKeepActive(keepActive);
  // A window used before keeps nothing of its last menu's options; each
  // change builds the outline again, so only a real change is made.
  const TTeBlending noBlending;
  const TTeShadow noShadow;
  const TTeAnimation noAnimation;
  TTePopupMenuOptions* options = item.PopupOptions();
  const TTeBlending* blending = options ? options->Blending() : &noBlending;
  const TTeBlending* hasBlending = frame_->Blending();
  if (blending->Enabled() != hasBlending->Enabled() || blending->Value() != hasBlending->Value() ||
      blending->Reserved() != hasBlending->Reserved())
    frame_->SetBlending(blending);
  const TTeShadow* shadow = options ? options->Shadow() : &noShadow;
  if (shadow->Enabled() != frame_->Shadow()->Enabled() || shadow->Size() != frame_->Shadow()->Size())
    frame_->SetShadow(shadow);
  // Only the first level of a menu that opens animates.
  if (options && (item.AnimateOnOpen() || !item.OpenedByProgram())) {
    frame_->SetAnimation(options->Animation());
    item.Root()->SetAnimateOnOpen(false);
  } else {
    frame_->SetAnimation(&noAnimation);
  }
  view_->SetParentView(parentView);
  view_->SetChildView(nullptr);
  view_->SetRoot(&item);
  // Changing the owner costs a round trip to the display: only when it differs.
  if (HandleAllocated() && GetWindow(HandleIfAllocated(), GW_OWNER) != keepActive)
    SetWindowLongPtrW(HandleIfAllocated(), GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(keepActive));
}

void TTePopupWindow::Realize() {
  if (HandleAllocated()) {
    // Kept from an earlier menu of another style: its outline goes too.
    if (lookChanged_) frame_->UpdateRegion();
    return;
  }
  // Made at the place and size the level opens with: every move or resize
  // of a shadowed frame builds its outline again.
  HandleNeeded();
  frame_->Loaded();
}

void TTePopupWindow::Retire() {
  HideNoActivate();
  if (view_) {
    view_->SetRoot(nullptr);
    view_->SetParentView(nullptr);
    view_->SetChildView(nullptr);
  }
  keepActive_ = nullptr;
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

// The windows of closed levels, kept for the next levels that open: making
// a window and hooking its frame cost more than everything else a menu does
// when it opens. Owned by the application, so they go before it does.
class TTePopupPool : public TComponent {
  HV_CLASS_NO_PROPERTIES(TTePopupPool, TComponent)

 public:
  static constexpr size_t kMaxIdle = 4;

  explicit TTePopupPool(TComponent* owner) : TComponent(owner) {}
  ~TTePopupPool() override {
    Destroying();
    if (Instance() == this) Instance() = nullptr;
    DestroyComponents();
  }
  static TTePopupPool*& Instance() {
    static TTePopupPool* pool = nullptr;
    return pool;
  }
  static TTePopupPool& Get() {
    if (!Instance()) Instance() = TComponent::Create<TTePopupPool>(Application());
    return *Instance();
  }

  // An idle window of exactly that class, or a new one the pool owns.
  TTePopupWindow* Take(const TClassInfo& info) {
    // An idle window keeps its last owner; one that the owner took along
    // when it went is of no more use.
    const std::vector<TTePopupWindow*> idle = idle_;
    for (TTePopupWindow* window : idle)
      if (!window->HandleAllocated() || !IsWindow(window->HandleIfAllocated())) window->Free();
    for (auto it = idle_.begin(); it != idle_.end(); ++it) {
      if (&(*it)->ClassInfo() != &info) continue;
      TTePopupWindow* window = *it;
      idle_.erase(it);
      return window;
    }
    TComponent* made = info.GetFactory()(this).release();
    auto* window = dynamic_cast<TTePopupWindow*>(made);
    if (!window) made->Free();
    return window;
  }
  void Give(TTePopupWindow* window) {
    // A window its owner took along, or one too many, goes for good.
    const HWND wnd = window->HandleAllocated() ? window->HandleIfAllocated() : nullptr;
    if (!wnd || !IsWindow(wnd) || idle_.size() >= kMaxIdle) {
      window->Free();
      return;
    }
    window->Retire();
    idle_.push_back(window);
  }
  size_t IdleCount() const { return idle_.size(); }

 protected:
  void Notification(TComponent* component, TOperation operation) override {
    TComponent::Notification(component, operation);
    if (operation == TOperation::opRemove) idle_.erase(std::remove(idle_.begin(), idle_.end(), component), idle_.end());
  }

 private:
  std::vector<TTePopupWindow*> idle_;
};

// A window from the pool for as long as its level is open.
class TPopupLease {
 public:
  explicit TPopupLease(const TClassInfo& info) : window_(TTePopupPool::Get().Take(info)) {}
  ~TPopupLease() {
    if (window_ && TTePopupPool::Instance()) TTePopupPool::Instance()->Give(window_);
  }
  TPopupLease(const TPopupLease&) = delete;
  TPopupLease& operator=(const TPopupLease&) = delete;
  TTePopupWindow* Get() const { return window_; }

 private:
  TTePopupWindow* window_;
};

}  // namespace

void FreeIdlePopupWindows() {
  if (TTePopupPool* pool = TTePopupPool::Instance()) pool->Free();
}

int IdlePopupWindows() { return TTePopupPool::Instance() ? static_cast<int>(TTePopupPool::Instance()->IdleCount()) : 0; }

void OpenItemPopup(TTeCustomItem& item, TTeItemView* parentView, int x, int y, const TRect* anchor) {
  if (!item.HasVisibleChild()) return;
  const std::weak_ptr<const bool> alive = item.AliveToken();
  if (item.OnBeforeDropDown) item.OnBeforeDropDown(&item);
  if (alive.expired() || !item.HasVisibleChild()) return;
  const TClassInfo* info = item.CreatePopupWindow();
  if (!info || !info->GetFactory()) return;
  const TPopupLease lease(*info);
  TTePopupWindow* window = lease.Get();
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
  window->Realize();

  window->ShowNoActivate();
  // The first image reaches the screen before the loop looks at any input.
  UpdateWindow(window->HandleIfAllocated());
  if (item.BringToForeground()) SetForegroundWindow(window->HandleIfAllocated());
  if (parentView) parentView->SetChildView(view);
  view->MenuLoop();
  if (parentView && parentView->ChildView() == view) parentView->SetChildView(nullptr);
}

}  // namespace hv
