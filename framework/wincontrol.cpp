#include "framework/wincontrol.h"

#include <windows.h>

#include <algorithm>

#include "framework/application.h"
#include "framework/forms.h"
#include "framework/gdi.h"
#include "framework/graphics.h"
#include "framework/properties.h"
#include "framework/sysutils.h"
#include "framework/winstring.h"

namespace hv {

namespace {
// The control whose window CreateWindowEx is making right now: its first
// messages arrive before WM_NCCREATE can hand over the create parameters.
thread_local TWinControl* gCreationControl = nullptr;

LPCWSTR CursorResource(TCursor cursor) {
  switch (cursor) {
    case crArrow: return IDC_ARROW;
    case crCross: return IDC_CROSS;
    case crIBeam: return IDC_IBEAM;
    case crSizeNESW: return IDC_SIZENESW;
    case crSizeNS: return IDC_SIZENS;
    case crSizeNWSE: return IDC_SIZENWSE;
    case crSizeWE: return IDC_SIZEWE;
    case crUpArrow: return IDC_UPARROW;
    case crHourGlass: return IDC_WAIT;
    case crNo: return IDC_NO;
    case crHSplit: return IDC_SIZEWE;
    case crVSplit: return IDC_SIZENS;
    case crHandPoint: return IDC_HAND;
    case crSizeAll: return IDC_SIZEALL;
    default: return nullptr;
  }
}

TControl* gMouseControl = nullptr;  // the control the mouse is over, for enter/leave
}  // namespace

// The one window procedure of every window the framework creates: finds the
// object, hands it the message, and keeps exceptions inside.
struct WindowProcAccess {
  static LRESULT CALLBACK StdWndProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    auto* control = reinterpret_cast<TWinControl*>(GetWindowLongPtrW(wnd, GWLP_USERDATA));
    if (!control) {
      control = gCreationControl;
      if (!control && msg == WM_NCCREATE)
        control = static_cast<TWinControl*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
      if (!control) return DefWindowProcW(wnd, msg, wParam, lParam);
      gCreationControl = nullptr;
      SetWindowLongPtrW(wnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(control));
      control->handle_ = wnd;
    }
    TMessage message{msg, wParam, lParam, 0};
    try {
      control->WindowProc()(message);
    } catch (...) {
      Application()->HandleException(control);
    }
    if (msg == WM_NCDESTROY) {
      SetWindowLongPtrW(wnd, GWLP_USERDATA, 0);
      if (control->handle_ == wnd) control->handle_ = nullptr;
    }
    return message.Result;
  }
};

void TControl::UpdateMouseControl(TControl* control) {
  if (control == gMouseControl) return;
  TControl* old = gMouseControl;
  gMouseControl = control;
  if (old) old->Perform(CM_MOUSELEAVE);
  if (control) control->Perform(CM_MOUSEENTER);
}

void TControl::ForgetMouseControl(TControl* control) {
  if (gMouseControl == control) gMouseControl = nullptr;
}

TWinControl::TWinControl(TComponent* owner) : TControl(owner), brush_(std::make_unique<TBrush>()) {
  brush_->SetColor(Color());
}

TWinControl::~TWinControl() {
  Destroying();
  DestroyComponents();
  while (!controls_.empty()) controls_.back()->Free();
  DestroyHandle();
}

TWinControl* TWinControl::FindControl(HWND wnd) {
  if (!wnd) return nullptr;
  DWORD pid = 0;
  GetWindowThreadProcessId(wnd, &pid);
  if (pid != GetCurrentProcessId()) return nullptr;
  auto* control = reinterpret_cast<TWinControl*>(GetWindowLongPtrW(wnd, GWLP_USERDATA));
  return control && control->handle_ == wnd ? control : nullptr;
}

HWND TWinControl::Handle() {
  HandleNeeded();
  return handle_;
}

void TWinControl::HandleNeeded() {
  if (handle_) return;
  if (parent_) parent_->HandleNeeded();
  CreateHandle();
}

void TWinControl::CreateParams(TCreateParams& params) {
  params.caption = Widen(savedText_);
  params.style = WS_CHILD | WS_CLIPCHILDREN | WS_CLIPSIBLINGS;
  if (tabStop_) params.style |= WS_TABSTOP;
  if (!Enabled()) params.style |= WS_DISABLED;
  if (borderStyle_ == TBorderStyle::bsSingle) params.exStyle |= WS_EX_CLIENTEDGE;
  params.x = left_;
  params.y = top_;
  params.width = width_;
  params.height = height_;
  params.parent = parent_ ? parent_->Handle() : parentWindow_;
  params.className = Widen(ClassName());
  params.classStyle = CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS;
}

void TWinControl::RegisterWindowClass(TCreateParams& params) {
  HINSTANCE instance = GetModuleHandleW(nullptr);
  WNDCLASSEXW existing{};
  existing.cbSize = sizeof(existing);
  WNDPROC baseProc = DefWindowProcW;
  WNDCLASSEXW base{};
  base.cbSize = sizeof(base);
  if (!params.baseClassName.empty()) {
    if (!GetClassInfoExW(nullptr, params.baseClassName.c_str(), &base) &&
        !GetClassInfoExW(instance, params.baseClassName.c_str(), &base))
      throw EOSError(Format("Window class %s is not available", Narrow(params.baseClassName).c_str()));
    baseProc = base.lpfnWndProc;
  }
  defWndProc_ = reinterpret_cast<void*>(baseProc);
  if (GetClassInfoExW(instance, params.className.c_str(), &existing)) return;
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof(wc);
  if (!params.baseClassName.empty()) {
    wc = base;
    wc.cbSize = sizeof(wc);
  } else {
    wc.style = params.classStyle;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(params.background);
  }
  wc.lpfnWndProc = &WindowProcAccess::StdWndProc;
  wc.hInstance = instance;
  wc.lpszClassName = params.className.c_str();
  if (!RegisterClassExW(&wc) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS)
    throw EOSError(Format("Cannot register window class %s", Narrow(params.className).c_str()));
}

void TWinControl::CreateWnd() {
  TCreateParams params;
  CreateParams(params);
  if ((params.style & WS_CHILD) && !params.parent)
    throw EInvalidOperation(Format("Control '%s' has no parent window", Name().c_str()));
  RegisterWindowClass(params);
  CreateWindowHandle(params);
  if (!handle_) throw EOSError(Format("Cannot create a window for %s", Name().c_str()));
}

void TWinControl::CreateWindowHandle(const TCreateParams& params) {
  TWinControl* previous = gCreationControl;
  gCreationControl = this;
  HWND wnd = CreateWindowExW(params.exStyle, params.className.c_str(), params.caption.c_str(), params.style,
                             params.x, params.y, params.width, params.height, params.parent, nullptr,
                             GetModuleHandleW(nullptr), this);
  gCreationControl = previous;
  if (wnd && !handle_) {
    SetWindowLongPtrW(wnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    handle_ = wnd;
  }
}

void TWinControl::CreateHandle() {
  if (handle_) return;
  CreateWnd();
  SendMessageW(handle_, WM_SETFONT, reinterpret_cast<WPARAM>(Font()->Handle()), FALSE);
  if (parent_) SetWindowPos(handle_, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  // Children are created in z-order, so each new window goes on top.
  for (TControl* control : controls_) {
    if (auto* child = dynamic_cast<TWinControl*>(control)) {
      child->CreateHandle();
      SetWindowPos(child->handle_, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
  }
  UpdateBounds();
  Realign();
  UpdateShowing();
}

void TWinControl::DestroyWnd() {
  if (!handle_) return;
  savedText_ = GetText();
  DestroyWindow(handle_);
  handle_ = nullptr;
}

void TWinControl::DestroyHandle() {
  if (!handle_) return;
  controlState_.Include(csDestroyingHandle);
  for (TControl* control : controls_)
    if (auto* child = dynamic_cast<TWinControl*>(control)) child->savedText_ = child->GetText();
  DestroyWnd();
  controlState_.Exclude(csDestroyingHandle);
}

void TWinControl::RecreateWnd() {
  if (!handle_) return;
  DestroyHandle();
  HandleNeeded();
}

void TWinControl::SetParentWindow(HWND parent) {
  if (parent == parentWindow_) return;
  parentWindow_ = parent;
  if (handle_ && !parent_) RecreateWnd();
}

void TWinControl::UpdateShowing() {
  if (!handle_) return;
  if (parent_ || parentWindow_) {
    SetWindowPos(handle_, nullptr, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE |
                     (Visible() ? SWP_SHOWWINDOW : SWP_HIDEWINDOW));
  }
}

bool TWinControl::Showing() const {
  if (!Visible()) return false;
  if (parent_) return parent_->Showing();
  return handle_ && IsWindowVisible(handle_);
}

void TWinControl::InsertControl(TControl* control) {
  controls_.push_back(control);
  control->parent_ = this;
  if (auto* child = dynamic_cast<TWinControl*>(control)) {
    tabList_.push_back(child);
    if (handle_ && !IsLoading()) child->HandleNeeded();
  } else {
    control->Invalidate();
  }
  Perform(CM_CONTROLLISTCHANGE, reinterpret_cast<uintptr_t>(control), 1);
  AlignAll(control);
}

void TWinControl::RemoveControl(TControl* control) {
  Perform(CM_CONTROLLISTCHANGE, reinterpret_cast<uintptr_t>(control), 0);
  if (auto* child = dynamic_cast<TWinControl*>(control)) {
    child->DestroyHandle();
    tabList_.erase(std::remove(tabList_.begin(), tabList_.end(), child), tabList_.end());
  } else {
    control->Invalidate();
  }
  controls_.erase(std::remove(controls_.begin(), controls_.end(), control), controls_.end());
  control->parent_ = nullptr;
  if (control == gMouseControl) gMouseControl = nullptr;
  Realign();
}

bool TWinControl::ContainsControl(const TControl* control) const {
  for (const TControl* c = control; c; c = c->Parent())
    if (c == this) return true;
  return false;
}

TControl* TWinControl::ControlAtPos(TPoint p, bool allowDisabled) const {
  for (auto it = controls_.rbegin(); it != controls_.rend(); ++it) {
    TControl* control = *it;
    if (dynamic_cast<TWinControl*>(control)) continue;
    if (!control->Visible() || (!control->Enabled() && !allowDisabled)) continue;
    if (!control->BoundsRect().Contains(p)) continue;
    TPoint local{p.x - control->Left(), p.y - control->Top()};
    if (control->Perform(CM_HITTEST, 0, MAKELPARAM(local.x, local.y)) != 0) return control;
  }
  return nullptr;
}

void TWinControl::GetChildren(const std::function<void(TComponent*)>& proc, TComponent* root) const {
  for (TControl* control : controls_)
    if (control->Owner() == root) proc(control);
}

void TWinControl::SetZOrderPosition(TControl* control, int position) {
  auto it = std::find(controls_.begin(), controls_.end(), control);
  if (it == controls_.end()) return;
  controls_.erase(it);
  position = std::clamp(position, 0, static_cast<int>(controls_.size()));
  controls_.insert(controls_.begin() + position, control);
  if (auto* child = dynamic_cast<TWinControl*>(control); child && child->handle_) {
    HWND after = HWND_TOP;
    if (position == 0) after = HWND_BOTTOM;
    SetWindowPos(child->handle_, after, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  }
  control->Invalidate();
}

void TWinControl::DisableAlign() { ++alignLevel_; }

void TWinControl::EnableAlign() {
  if (alignLevel_ > 0 && --alignLevel_ == 0 && controlState_.Contains(csAlignmentNeeded)) Realign();
}

void TWinControl::Realign() { AlignAll(nullptr); }

void TWinControl::AlignAll(TControl* control) {
  if (alignLevel_ > 0 || IsLoading() || IsDestroying()) {
    controlState_.Include(csAlignmentNeeded);
    return;
  }
  controlState_.Exclude(csAlignmentNeeded);
  ++alignLevel_;
  try {
    TRect rect = AlignmentRect();
    AdjustClientRect(rect);
    AlignControls(control, rect);
  } catch (...) {
    --alignLevel_;
    throw;
  }
  --alignLevel_;
}

void TWinControl::AlignControls(TControl* control, TRect& rect) {
  std::vector<TAlignItem> items;
  std::vector<TControl*> aligned;
  int moved = -1;
  for (TControl* child : controls_) {
    if (child->Align() == TAlign::alNone) continue;
    if (child == control) moved = static_cast<int>(items.size());
    items.push_back({child->Align(), child->BoundsRect(), child->Visible()});
    aligned.push_back(child);
  }
  if (items.empty()) return;
  rect = AlignItems(items, rect, moved);
  for (size_t i = 0; i < items.size(); ++i)
    if (items[i].visible) aligned[i]->SetBoundsRect(items[i].bounds);
}

TRect TWinControl::ClientRect() const {
  if (handle_) {
    RECT r{};
    GetClientRect(handle_, &r);
    return Rect(r.left, r.top, r.right, r.bottom);
  }
  return TControl::ClientRect();
}

TPoint TWinControl::ClientOrigin() const {
  if (handle_) {
    POINT p{0, 0};
    ::ClientToScreen(handle_, &p);
    return {p.x, p.y};
  }
  return TControl::ClientOrigin();
}

void TWinControl::SetBounds(int left, int top, int width, int height) {
  if (left == left_ && top == top_ && width == width_ && height == height_) return;
  bool resized = width != width_ || height != height_;
  left_ = left;
  top_ = top;
  width_ = width;
  height_ = height;
  if (handle_) SetWindowPos(handle_, nullptr, left, top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
  RequestAlign();
  if (resized) {
    Realign();
    Resize();
  }
}

void TWinControl::UpdateBounds() {
  if (!handle_) return;
  RECT r{};
  GetWindowRect(handle_, &r);
  HWND parentWnd = GetParent(handle_);
  if ((GetWindowLongPtrW(handle_, GWL_STYLE) & WS_CHILD) && parentWnd)
    MapWindowPoints(nullptr, parentWnd, reinterpret_cast<POINT*>(&r), 2);
  if (IsIconic(handle_)) return;  // a minimized window keeps its restored bounds
  bool resized = r.right - r.left != width_ || r.bottom - r.top != height_;
  bool moved = r.left != left_ || r.top != top_;
  if (!resized && !moved) return;
  left_ = r.left;
  top_ = r.top;
  width_ = r.right - r.left;
  height_ = r.bottom - r.top;
  RequestAlign();
  if (resized) {
    Realign();
    Resize();
  }
}

int TWinControl::TabOrder() const {
  if (!parent_) return -1;
  auto& list = parent_->tabList_;
  auto it = std::find(list.begin(), list.end(), this);
  return it == list.end() ? -1 : static_cast<int>(it - list.begin());
}

void TWinControl::SetTabOrder(int value) {
  if (!parent_) return;
  auto& list = parent_->tabList_;
  auto it = std::find(list.begin(), list.end(), this);
  if (it == list.end()) return;
  list.erase(it);
  value = std::clamp(value, 0, static_cast<int>(list.size()));
  list.insert(list.begin() + value, this);
}

void TWinControl::SetTabStop(bool value) {
  if (value == tabStop_) return;
  tabStop_ = value;
  if (handle_) {
    LONG_PTR style = GetWindowLongPtrW(handle_, GWL_STYLE);
    SetWindowLongPtrW(handle_, GWL_STYLE, value ? (style | WS_TABSTOP) : (style & ~static_cast<LONG_PTR>(WS_TABSTOP)));
  }
}

bool TWinControl::CanFocus() const {
  for (const TWinControl* c = this; c; c = c->parent_)
    if (!c->Visible() || !c->Enabled()) return false;
  return true;
}

bool TWinControl::Focused() const { return handle_ && GetFocus() == handle_; }

void TWinControl::SetFocus() {
  if (!CanFocus()) throw EInvalidOperation("Cannot focus a disabled or invisible window");
  ::SetFocus(Handle());
}

TWinControl* TWinControl::FindNextControl(TWinControl* current, bool forward, bool checkTabStop) const {
  std::vector<TWinControl*> all;
  std::function<void(const TWinControl*)> collect = [&](const TWinControl* parent) {
    for (TWinControl* child : parent->tabList_) {
      all.push_back(child);
      collect(child);
    }
  };
  collect(this);
  if (all.empty()) return nullptr;
  int count = static_cast<int>(all.size());
  auto it = std::find(all.begin(), all.end(), current);
  int start = it == all.end() ? (forward ? count - 1 : 0) : static_cast<int>(it - all.begin());
  for (int step = 1; step <= count; ++step) {
    int i = ((start + (forward ? step : -step)) % count + count) % count;
    TWinControl* candidate = all[static_cast<size_t>(i)];
    if (candidate == current) break;
    if ((!checkTabStop || candidate->tabStop_) && candidate->CanFocus()) return candidate;
  }
  return nullptr;
}

void TWinControl::Invalidate() {
  if (handle_) InvalidateRect(handle_, nullptr, controlStyle_.Contains(csOpaque) ? FALSE : TRUE);
}

void TWinControl::Repaint() {
  Invalidate();
  Update();
}

void TWinControl::Update() {
  if (handle_) UpdateWindow(handle_);
}

void TWinControl::SetEnabled(bool value) {
  TControl::SetEnabled(value);
  if (handle_) EnableWindow(handle_, value);
}

void TWinControl::SetBorderStyle(TBorderStyle value) {
  if (value == borderStyle_) return;
  borderStyle_ = value;
  RecreateWnd();
}

std::string TWinControl::GetText() const {
  if (!handle_) return savedText_;
  int length = GetWindowTextLengthW(handle_);
  std::wstring text(static_cast<size_t>(length) + 1, L'\0');
  int copied = GetWindowTextW(handle_, text.data(), length + 1);
  text.resize(static_cast<size_t>(std::max(copied, 0)));
  return Narrow(text);
}

void TWinControl::SetTextBuffer(const std::string& value) {
  savedText_ = value;
  if (handle_) SetWindowTextW(handle_, Widen(value).c_str());
}

void TWinControl::FontChanged() {
  if (handle_) SendMessageW(handle_, WM_SETFONT, reinterpret_cast<WPARAM>(Font()->Handle()), TRUE);
  TControl::FontChanged();
  for (TControl* child : controls_) child->Perform(CM_PARENTFONTCHANGED);
}

void TWinControl::KeyDown(uint16_t& key, TShiftState shift) {
  if (OnKeyDown) OnKeyDown(this, key, shift);
}
void TWinControl::KeyUp(uint16_t& key, TShiftState shift) {
  if (OnKeyUp) OnKeyUp(this, key, shift);
}
void TWinControl::KeyPress(char16_t& key) {
  if (OnKeyPress) OnKeyPress(this, key);
}
void TWinControl::DoEnter() {
  if (OnEnter) OnEnter(this);
}
void TWinControl::DoExit() {
  if (OnExit) OnExit(this);
}

void TWinControl::PaintWindow(HDC dc) {
  TMessage message{WM_PAINT, reinterpret_cast<uintptr_t>(dc), 0, 0};
  DefaultHandler(message);
}

void TWinControl::PaintControls(HDC dc, TControl* first) {
  auto it = controls_.begin();
  if (first) {
    it = std::find(controls_.begin(), controls_.end(), first);
    if (it == controls_.end()) it = controls_.begin();
  }
  for (; it != controls_.end(); ++it) {
    TControl* control = *it;
    if (dynamic_cast<TWinControl*>(control)) continue;
    if (!control->Visible() || control->Width() <= 0 || control->Height() <= 0) continue;
    RECT r{control->Left(), control->Top(), control->Left() + control->Width(), control->Top() + control->Height()};
    if (!RectVisible(dc, &r)) continue;
    TSaveDC saved(dc);
    POINT origin{};
    GetViewportOrgEx(dc, &origin);
    SetViewportOrgEx(dc, origin.x + control->Left(), origin.y + control->Top(), nullptr);
    IntersectClipRect(dc, 0, 0, control->Width(), control->Height());
    control->Perform(WM_PAINT, reinterpret_cast<uintptr_t>(dc), 0);
  }
}

void TWinControl::PaintHandler(TMessage& message) {
  HDC dc = reinterpret_cast<HDC>(message.WParam);
  PAINTSTRUCT ps{};
  bool own = dc == nullptr;
  if (own) dc = BeginPaint(handle_, &ps);
  try {
    {
      TSaveDC saved(dc);
      // Windowless children are painted over the control, not under it.
      for (TControl* control : controls_) {
        if (dynamic_cast<TWinControl*>(control) || !control->Visible()) continue;
        if (!control->ControlStyle().Contains(csOpaque)) continue;
        ExcludeClipRect(dc, control->Left(), control->Top(), control->Left() + control->Width(),
                        control->Top() + control->Height());
      }
      PaintWindow(dc);
    }
    PaintControls(dc, nullptr);
  } catch (...) {
    if (own) EndPaint(handle_, &ps);
    throw;
  }
  if (own) EndPaint(handle_, &ps);
}

void TWinControl::PaintTo(HDC dc, int x, int y) {
  if (!handle_) return;
  TSaveDC saved(dc);
  SetWindowOrgEx(dc, -x, -y, nullptr);
  SendMessageW(handle_, WM_PRINT, reinterpret_cast<WPARAM>(dc), PRF_NONCLIENT | PRF_CLIENT | PRF_ERASEBKGND | PRF_CHILDREN);
}

void TWinControl::TrackMouseLeave() {
  if (mouseTracking_ || !handle_) return;
  TRACKMOUSEEVENT tme{sizeof(tme), TME_LEAVE, handle_, 0};
  if (TrackMouseEvent(&tme)) mouseTracking_ = true;
}

bool TWinControl::IsControlMouseMsg(TMessage& message) {
  TControl* target = nullptr;
  TControl* capture = TControl::CaptureControl();
  if (capture && capture != this && capture->Parent() == this) {
    target = capture;
  } else if (!capture || capture == this || capture->Parent() != this) {
    if (capture && capture != this) return false;
    target = ControlAtPos({XOfLParam(message.LParam), YOfLParam(message.LParam)});
  }
  if (!target) return false;
  int x = XOfLParam(message.LParam) - target->Left();
  int y = YOfLParam(message.LParam) - target->Top();
  message.Result = target->Perform(message.Msg, message.WParam, MAKELPARAM(x, y));
  return true;
}

void TWinControl::WndProc(TMessage& message) {
  switch (message.Msg) {
    case WM_MOUSEMOVE: {
      TrackMouseLeave();
      TControl* capture = TControl::CaptureControl();
      TControl* over = capture ? capture
                               : ControlAtPos({XOfLParam(message.LParam), YOfLParam(message.LParam)});
      TControl::UpdateMouseControl(over ? over : this);
      if (IsControlMouseMsg(message)) return;
      break;
    }
    case WM_MOUSELEAVE:
      mouseTracking_ = false;
      if (gMouseControl && (gMouseControl == this || gMouseControl->Parent() == this) &&
          !TControl::CaptureControl())
        TControl::UpdateMouseControl(nullptr);
      break;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONDBLCLK:
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP:
      if (IsControlMouseMsg(message)) return;
      if (WrapsPlatformControl()) return PlatformMouseMessage(message);
      break;
    case WM_PAINT:
      PaintHandler(message);
      return;
    case WM_ERASEBKGND:
      if (defWndProc_ == reinterpret_cast<void*>(&DefWindowProcW)) {
        RECT r{};
        GetClientRect(handle_, &r);
        FillRect(reinterpret_cast<HDC>(message.WParam), &r, brush_->Handle());
        message.Result = 1;
        return;
      }
      break;
    case WM_SETCURSOR:
      if (reinterpret_cast<HWND>(message.WParam) == handle_ && LOWORD(message.LParam) == HTCLIENT) {
        POINT p{};
        GetCursorPos(&p);
        ::ScreenToClient(handle_, &p);
        TControl* control = ControlAtPos({p.x, p.y});
        TCursor cursor = control ? control->Cursor() : Cursor();
        if (LPCWSTR resource = CursorResource(cursor)) {
          ::SetCursor(LoadCursorW(nullptr, resource));
          message.Result = TRUE;
          return;
        }
      }
      break;
    case WM_WINDOWPOSCHANGED:
      DefaultHandler(message);
      UpdateBounds();
      return;
    case WM_SIZE:
    case WM_MOVE:
      DefaultHandler(message);
      UpdateBounds();
      return;
    case WM_SETFOCUS:
      DefaultHandler(message);
      DoEnter();
      // Every control of the form hears who has the focus now (a default
      // button stops acting as one while another button has it).
      if (TCustomForm* form = GetParentForm(this))
        form->Perform(CM_FOCUSCHANGED, 0, reinterpret_cast<intptr_t>(this));
      return;
    case WM_KILLFOCUS:
      DefaultHandler(message);
      DoExit();
      return;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN: {
      uint16_t key = static_cast<uint16_t>(message.WParam);
      KeyDown(key, KeyDataToShiftState(message.LParam));
      if (key == 0) return;
      message.WParam = key;
      if (message.Msg == WM_KEYDOWN && DialogKeyHandled(key, message.LParam)) return;
      break;
    }
    case WM_KEYUP:
    case WM_SYSKEYUP: {
      uint16_t key = static_cast<uint16_t>(message.WParam);
      KeyUp(key, KeyDataToShiftState(message.LParam));
      if (key == 0) return;
      message.WParam = key;
      break;
    }
    case WM_CHAR: {
      char16_t key = static_cast<char16_t>(message.WParam);
      KeyPress(key);
      if (key == 0) return;
      message.WParam = key;
      break;
    }
    case WM_COMMAND:
      if (message.LParam) {
        if (TWinControl* child = FindControl(reinterpret_cast<HWND>(message.LParam)); child && child != this) {
          message.Result = child->Perform(CN_COMMAND, message.WParam, message.LParam);
          return;
        }
      }
      break;
    case WM_NOTIFY: {
      auto* header = reinterpret_cast<NMHDR*>(message.LParam);
      if (header) {
        if (TWinControl* child = FindControl(header->hwndFrom); child && child != this) {
          message.Result = child->Perform(CN_NOTIFY, message.WParam, message.LParam);
          return;
        }
      }
      break;
    }
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
      if (TWinControl* child = FindControl(reinterpret_cast<HWND>(message.LParam)); child && child != this) {
        message.Result = child->Perform(CN_BASE + message.Msg, message.WParam, message.LParam);
        if (message.Result) return;
      }
      break;
    case CM_DIALOGKEY:
      // Offered to the controls one after another until one takes it.
      for (TControl* child : std::vector<TControl*>(controls_))
        if (child->Perform(message.Msg, message.WParam, message.LParam) != 0) {
          message.Result = 1;
          return;
        }
      message.Result = 0;
      return;
    case CM_FOCUSCHANGED:
      for (TControl* child : std::vector<TControl*>(controls_))
        child->Perform(message.Msg, message.WParam, message.LParam);
      return;
    case CM_ENABLEDCHANGED:
      if (handle_) EnableWindow(handle_, Enabled());
      break;
    case CM_VISIBLECHANGED:
      if (Visible() && parent_ && parent_->HandleAllocated()) HandleNeeded();
      UpdateShowing();
      break;
    case CM_COLORCHANGED:
      brush_->SetColor(Color());
      for (TControl* child : controls_) child->Perform(CM_PARENTCOLORCHANGED);
      break;
    case CM_SHOWHINTCHANGED:
      for (TControl* child : controls_) child->Perform(CM_PARENTSHOWHINTCHANGED);
      break;
    default:
      break;
  }
  TControl::WndProc(message);
}

bool TWinControl::DialogKeyHandled(uint16_t key, intptr_t keyData) {
  // Enter and Escape belong to the form's default and cancel buttons unless
  // the control with the focus wants them itself.
  if (key != VK_RETURN && key != VK_ESCAPE) return false;
  if (!handle_) return false;
  const LRESULT wants = SendMessageW(handle_, WM_GETDLGCODE, key, 0);
  if (wants & (DLGC_WANTALLKEYS | DLGC_WANTMESSAGE)) return false;
  TCustomForm* form = GetParentForm(this);
  return form && form->Perform(CM_DIALOGKEY, key, keyData) != 0;
}

bool TWinControl::WrapsPlatformControl() const {
  return defWndProc_ && defWndProc_ != reinterpret_cast<void*>(&DefWindowProcW);
}

void TWinControl::PlatformMouseMessage(TMessage& message) {
  // The platform's control (a tree, a list, an edit) clicks, selects and
  // captures the mouse by itself: it sees the button first, then the
  // framework's events run without taking the capture from it.
  DefaultHandler(message);
  const LRESULT result = message.Result;
  const TControlStyle style = ControlStyle();
  struct TRestore {
    TWinControl& control;
    TControlStyle style;
    ~TRestore() { control.SetControlStyle(style); }
  } restore{*this, style};
  TControlStyle withoutCapture = style;
  withoutCapture.Exclude(csCaptureMouse);
  SetControlStyle(withoutCapture);
  TControl::WndProc(message);
  message.Result = result;
}

void TWinControl::DefaultHandler(TMessage& message) {
  if (!handle_) {
    TControl::DefaultHandler(message);
    return;
  }
  WNDPROC proc = defWndProc_ ? reinterpret_cast<WNDPROC>(defWndProc_) : DefWindowProcW;
  message.Result = CallWindowProcW(proc, handle_, message.Msg, message.WParam, message.LParam);
}

void TWinControl::PublishProperties(TPropertyList& p) {
  p.Integer("TabOrder", &TWinControl::TabOrder, &TWinControl::SetTabOrder);
  p.Boolean("TabStop", &TWinControl::TabStop, &TWinControl::SetTabStop, false);
  p.Event("OnKeyDown", &TWinControl::OnKeyDown);
  p.Event("OnKeyUp", &TWinControl::OnKeyUp);
  p.Event("OnKeyPress", &TWinControl::OnKeyPress);
  p.Event("OnEnter", &TWinControl::OnEnter);
  p.Event("OnExit", &TWinControl::OnExit);
}

TCustomControl::TCustomControl(TComponent* owner) : TWinControl(owner), canvas_(std::make_unique<TCanvas>()) {}

TCustomControl::~TCustomControl() {
  Destroying();
  DestroyComponents();
}

void TCustomControl::PaintWindow(HDC dc) {
  TCanvasPaintScope scope(*canvas_, dc);
  canvas_->Font()->Assign(Font());
  canvas_->Brush()->SetColor(Color());
  Paint();
}

}  // namespace hv
