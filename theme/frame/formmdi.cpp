// The frame on MDI forms: a maximized child gives up its frame and lends
// its caption to the parent's, children follow each other into the
// maximized state, and the parent's MDI client lets the parent's frame
// paint its background.

#include <windows.h>
// After <windows.h>.
#include <commctrl.h>

#include "framework/application.h"
#include "framework/forms.h"
#include "framework/screen.h"
#include "theme/frame/menubar.h"
#include "theme/frame/themeform.h"

namespace hv {

namespace {

constexpr const char* kMergeMark = " - [";

TTeCustomForm* FrameOf(const TCustomForm* form) {
  for (int i = 0; i < form->ComponentCount(); ++i)
    if (auto* frame = dynamic_cast<TTeCustomForm*>(form->Components(i)); frame && frame->Active()) return frame;
  return nullptr;
}

bool ChildOf(const TCustomForm* child, const TCustomForm* parent) {
  return child->FormStyle() == TFormStyle::fsMDIChild && child->HandleAllocated() && parent->ClientHandle() &&
         GetParent(child->HandleIfAllocated()) == parent->ClientHandle();
}

bool CountsAsMaximized(const TCustomForm* child) {
  if (IsZoomed(child->HandleIfAllocated())) return true;
  TTeCustomForm* frame = FrameOf(child);
  return frame && frame->WindowState() == kwsMaximized;
}

TCustomForm* ActiveChild(const TCustomForm* parent) {
  HWND active = reinterpret_cast<HWND>(SendMessageW(parent->ClientHandle(), WM_MDIGETACTIVE, 0, 0));
  return dynamic_cast<TCustomForm*>(TWinControl::FindControl(active));
}

LRESULT CALLBACK MdiClientProcedure(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR data) {
  auto* frame = reinterpret_cast<TTeCustomForm*>(data);
  try {
    return frame->MdiClientMessage(wnd, msg, wParam, lParam);
  } catch (...) {
    Application()->HandleException(frame);
    return 0;
  }
}

}  // namespace

TCustomForm* TTeCustomForm::MdiParent() const {
  TCustomForm* form = OwnerForm();
  if (!form || form->FormStyle() != TFormStyle::fsMDIChild) return nullptr;
  for (int i = 0; i < Screen()->FormCount(); ++i) {
    TCustomForm* parent = Screen()->Forms(i);
    if (parent->FormStyle() == TFormStyle::fsMDIForm && ChildOf(form, parent)) return parent;
  }
  return nullptr;
}

bool TTeCustomForm::MdiChildCountsAsMaximized(const TCustomForm* parent) {
  for (int i = 0; i < Screen()->FormCount(); ++i) {
    TCustomForm* child = Screen()->Forms(i);
    if (ChildOf(child, parent) && CountsAsMaximized(child)) return true;
  }
  return false;
}

void TTeCustomForm::UpdateMdiParentCaption() {
  TCustomForm* parent = MdiParent();
  if (!parent) return;
  std::string text = parent->Caption();
  if (size_t merged = text.find(kMergeMark); merged != std::string::npos) text.resize(merged);
  if (MdiChildCountsAsMaximized(parent)) {
    TCustomForm* child = ActiveChild(parent);
    if (!child) child = OwnerForm();
    text += kMergeMark + child->Caption() + "]";
  }
  if (text != parent->Caption()) parent->SetCaption(text);
  if (parent->HandleAllocated()) SendMessageW(parent->HandleIfAllocated(), WM_TE_REFRESHFRAME, 0, 0);
}

void TTeCustomForm::MdiRefresh() {
  TCustomForm* form = OwnerForm();
  if (!form || form->FormStyle() != TFormStyle::fsMDIChild) return;
  UpdateFrame();
  if (form->HandleAllocated()) PostMessageW(form->HandleIfAllocated(), WM_SIZE, 0, 0);
  ShowMdiButtonsOnParent(false);
  UpdateMdiParentCaption();
}

void TTeCustomForm::ShowMdiButtonsOnParent(bool show) {
  TCustomForm* parent = MdiParent();
  TTeCustomForm* parentFrame = parent ? FrameOf(parent) : nullptr;
  if (!parentFrame || !parentFrame->MenuBar()) return;
  if (show)
    parentFrame->MenuBar()->ShowMDIButtons(this);
  else if (!MdiChildCountsAsMaximized(parent))
    parentFrame->MenuBar()->HideMDIButtons();
}

void TTeCustomForm::MdiActivate(TMessage& message) {
  TCustomForm* parent = MdiParent();
  if (!parent || !MdiChildCountsAsMaximized(parent)) return;
  UpdateMdiParentCaption();
  // The caption buttons on the parent's bar act on the active child.
  if (reinterpret_cast<HWND>(message.LParam) == Handle() && windowState_ == kwsMaximized) ShowMdiButtonsOnParent(true);
  // The child that loses the activation keeps its state; the one that gets
  // it follows into the maximized state.
  if (reinterpret_cast<HWND>(message.WParam) != Handle() && windowState_ != kwsMaximized)
    PostMessageW(Handle(), WM_TE_MAXIMIZE, 0, 0);
}

void TTeCustomForm::MdiParentSized() {
  TCustomForm* form = OwnerForm();
  if (!form || form->FormStyle() != TFormStyle::fsMDIForm || !MdiChildCountsAsMaximized(form)) return;
  TCustomForm* child = ActiveChild(form);
  if (!child) return;
  RECT r{};
  GetClientRect(form->ClientHandle() ? form->ClientHandle() : form->HandleIfAllocated(), &r);
  child->SetBounds(r.left, r.top, r.right - r.left, r.bottom - r.top);
}

void TTeCustomForm::SubclassMdiClient() {
  TCustomForm* form = OwnerForm();
  if (!form || form->FormStyle() != TFormStyle::fsMDIForm || !form->ClientHandle() || mdiClient_) return;
  if (SetWindowSubclass(form->ClientHandle(), &MdiClientProcedure, 0, reinterpret_cast<DWORD_PTR>(this)))
    mdiClient_ = form->ClientHandle();
}

void TTeCustomForm::ReleaseMdiClient() {
  if (!mdiClient_) return;
  if (IsWindow(mdiClient_)) RemoveWindowSubclass(mdiClient_, &MdiClientProcedure, 0);
  mdiClient_ = nullptr;
}

intptr_t TTeCustomForm::MdiClientMessage(HWND wnd, unsigned msg, uintptr_t wParam, intptr_t lParam) {
  TCustomForm* form = OwnerForm();
  switch (msg) {
    case WM_PAINT:
      if (wParam) break;
      ValidateRect(wnd, nullptr);
      return 0;
    case WM_ERASEBKGND:
      // The parent's frame paints the background, unless a maximized child covers it.
      if (form && form->HandleAllocated() && !MdiChildCountsAsMaximized(form))
        SendMessageW(form->HandleIfAllocated(), WM_ERASEBKGND, wParam, 0);
      return 0;
    case 0x3F:
      SetWindowLongPtrW(wnd, GWL_EXSTYLE, GetWindowLongPtrW(wnd, GWL_EXSTYLE) & ~LONG_PTR{WS_EX_CLIENTEDGE});
      SetWindowPos(wnd, nullptr, 0, 0, 0, 0,
                   SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
      break;
    case WM_NCDESTROY:
      RemoveWindowSubclass(wnd, &MdiClientProcedure, 0);
      mdiClient_ = nullptr;
      break;
    default:
      break;
  }
  LRESULT result = DefSubclassProc(wnd, msg, wParam, lParam);
  // Clicks on the empty client reach the parent, whose frame may move it.
  if (msg == WM_NCHITTEST && result == HTCLIENT) result = HTTRANSPARENT;
  return result;
}

}  // namespace hv
