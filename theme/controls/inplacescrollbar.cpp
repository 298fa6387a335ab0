#include "theme/controls/inplacescrollbar.h"

#include <windows.h>

#include <algorithm>

#include "theme/controls/scrollbar.h"
#include "theme/core/themelibrary.h"

namespace hv {
namespace {

constexpr DWORD kBarInvisible = 0x8000;  // STATE_SYSTEM_INVISIBLE

using GetScrollBarInfoFn = BOOL(WINAPI*)(HWND, LONG, PSCROLLBARINFO);

// The target's system bar in screen coordinates, or nothing when the
// platform cannot tell or the bar is not shown.
bool SystemBarRect(HWND target, bool vertical, RECT& rect) {
  const auto getInfo = reinterpret_cast<GetScrollBarInfoFn>(GetScrollBarInfoEntry());
  if (!getInfo) return false;
  SCROLLBARINFO info{};
  info.cbSize = sizeof(info);
  if (!getInfo(target, vertical ? OBJID_VSCROLL : OBJID_HSCROLL, &info)) return false;
  if ((info.rgstate[0] & kBarInvisible) != 0) return false;
  rect = info.rcScrollBar;
  return rect.right > rect.left && rect.bottom > rect.top;
}

// Whether `upper` lies above `lower` among their siblings.
bool IsAbove(HWND upper, HWND lower) {
  for (HWND wnd = GetWindow(upper, GW_HWNDNEXT); wnd; wnd = GetWindow(wnd, GW_HWNDNEXT))
    if (wnd == lower) return true;
  return false;
}

}  // namespace

TTeInplaceScrollBar::TTeInplaceScrollBar(TComponent* owner, TTeScrollBarFactory factory) : TWinControl(owner) {
  bar_ = factory ? factory(this) : TComponent::Create<TTeCustomScrollBar>(this);
  bar_->SetBorderWidth(0);
  bar_->SetAlign(TAlign::alClient);
  bar_->SetPerformance(kspDoubleBuffer);
  bar_->SetKind(TScrollBarKind::sbVertical);
  bar_->SetParent(this);
  bar_->SetTransparent(false);
  bar_->SetVisible(true);
  bar_->OnScroll = [this](TObject* sender, TScrollCode code, int& position) { ScrollHandler(sender, code, position); };
  SetVisible(false);
}

TTeInplaceScrollBar::~TTeInplaceScrollBar() {
  Destroying();
  DestroyComponents();
}

bool TTeInplaceScrollBar::Vertical() const { return bar_->Kind() == TScrollBarKind::sbVertical; }

void TTeInplaceScrollBar::SetVertical(bool value) {
  bar_->SetKind(value ? TScrollBarKind::sbVertical : TScrollBarKind::sbHorizontal);
}

void TTeInplaceScrollBar::SetTarget(TWinControl* value) {
  if (target_ == value) return;
  if (target_) target_->RemoveFreeNotification(this);
  target_ = value;
  if (target_) target_->FreeNotification(this);
}

void TTeInplaceScrollBar::Notification(TComponent* component, TOperation operation) {
  TWinControl::Notification(component, operation);
  if (operation == TOperation::opRemove && component == target_) {
    target_ = nullptr;
    SetVisible(false);
  }
}

void TTeInplaceScrollBar::CreateParams(TCreateParams& params) {
  TWinControl::CreateParams(params);
  params.style |= WS_CLIPSIBLINGS;
}

void TTeInplaceScrollBar::WndProc(TMessage& message) {
  // The bar fills the window; nothing of the window itself ever shows.
  if (message.Msg == WM_ERASEBKGND) {
    message.Result = 1;
    return;
  }
  TWinControl::WndProc(message);
}

// The in-place window itself is made on the first sync that shows it.
bool TTeInplaceScrollBar::TargetUsable() const {
  return target_ && !target_->IsDestroying() && target_->HandleAllocated() && Parent() && !IsDestroying();
}

void TTeInplaceScrollBar::Sync() {
  if (!target_ || target_->IsDestroying() || !target_->HandleAllocated() || !Parent()) return;
  const HWND targetWnd = target_->HandleIfAllocated();
  const bool vertical = Vertical();
  RECT screen{};
  SCROLLINFO info{};
  info.cbSize = sizeof(info);
  info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS | SIF_TRACKPOS;
  // A target the platform tells nothing about keeps its own (unpainted)
  // place: no bar is better than a bar that lies about the scroll state.
  if (!target_->Showing() || !SystemBarRect(targetWnd, vertical, screen) ||
      !GetScrollInfo(targetWnd, vertical ? SB_VERT : SB_HORZ, &info)) {
    SetVisible(false);
    return;
  }
  const TPoint topLeft = Parent()->ScreenToClient({screen.left, screen.top});
  SetBounds(topLeft.x, topLeft.y, screen.right - screen.left, screen.bottom - screen.top);
  SetVisible(true);
  // The bar lies over the target's own bar, whatever order its siblings
  // were created or raised in.
  const HWND wnd = Handle();
  if (!IsAbove(wnd, targetWnd))
    SetWindowPos(wnd, GetWindow(targetWnd, GW_HWNDPREV) ? GetWindow(targetWnd, GW_HWNDPREV) : HWND_TOP, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);

  bar_->SetEnabled(target_->Enabled());
  // A new range wholly above the old one takes its top first, so that the
  // setters' clamping does not pull the new bottom down to the old top.
  if (info.nMin > bar_->Max()) {
    bar_->SetMax(info.nMax);
    bar_->SetMin(info.nMin);
  } else {
    bar_->SetMin(info.nMin);
    bar_->SetMax(info.nMax);
  }
  bar_->SetPageSize(static_cast<int>(std::min<UINT>(info.nPage, 0x7FFFFFFF)));
  bar_->SetPosition(info.nPos);
  // The system redraws its own bar whenever the target sets its range,
  // also where the in-place bar lies over it (clipping the target's
  // siblings would make every scroll of the target repaint it whole).
  bar_->Invalidate();
}

void TTeInplaceScrollBar::HandleTargetMessage(const TMessage& message) {
  if (!TargetUsable()) return;
  switch (message.Msg) {
    case WM_PAINT:
    case WM_ERASEBKGND:
    case WM_HSCROLL:
    case WM_VSCROLL:
      Sync();
      break;
    case CM_VISIBLECHANGED:
      if (!target_->Visible()) SetVisible(false);
      else Sync();
      break;
    default:
      break;
  }
}

void TTeInplaceScrollBar::ScrollHandler(TObject*, TScrollCode code, int& position) {
  if (code < scLineUp || code > scEndScroll || !TargetUsable()) return;
  const HWND targetWnd = target_->HandleIfAllocated();
  const UINT msg = Vertical() ? WM_VSCROLL : WM_HSCROLL;
  if (code == scLineUp || code == scLineDown) {
    SendMessageW(targetWnd, msg, static_cast<WPARAM>(code), 0);
    Sync();
    position = bar_->Position();
    return;
  }
  // While tracking, the bar has not yet taken the position it reports: the
  // target is sent the position the thumb stands for now, not the last one.
  const int sent = (code == scTrack || code == scPosition) ? position : bar_->Position();
  SendMessageW(targetWnd, msg, MAKEWPARAM(static_cast<WORD>(code), static_cast<WORD>(sent)), 0);
  Sync();
}

TTeSubScrollBar::TTeSubScrollBar(TComponent* owner, TWinControl* target, TTeScrollBarFactory factory)
    : TComponent(owner) {
  verticalBar_ = TComponent::Create<TTeInplaceScrollBar>(this, factory);
  verticalBar_->SetVertical(true);
  horizontalBar_ = TComponent::Create<TTeInplaceScrollBar>(this, factory);
  horizontalBar_->SetVertical(false);
  SetTarget(target);
}

TTeSubScrollBar::~TTeSubScrollBar() {
  Destroying();
  DestroyComponents();
}

void TTeSubScrollBar::SetTarget(TWinControl* value) {
  if (target_ == value) return;
  if (target_) target_->RemoveFreeNotification(this);
  target_ = value;
  if (target_) target_->FreeNotification(this);
  verticalBar_->SetTarget(value);
  horizontalBar_->SetTarget(value);
  if (!value) SetParent(nullptr);
}

void TTeSubScrollBar::SetParent(TWinControl* parent) {
  verticalBar_->SetParent(parent);
  horizontalBar_->SetParent(parent);
}

void TTeSubScrollBar::HandleMessage(const TMessage& message) {
  if (!target_ || target_->IsDestroying() || !target_->HandleAllocated()) return;
  verticalBar_->HandleTargetMessage(message);
  horizontalBar_->HandleTargetMessage(message);
}

void TTeSubScrollBar::Notification(TComponent* component, TOperation operation) {
  TComponent::Notification(component, operation);
  if (operation == TOperation::opRemove && component == target_) {
    target_ = nullptr;
    SetParent(nullptr);
  }
}

}  // namespace hv
