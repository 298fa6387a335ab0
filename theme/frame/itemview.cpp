#include "theme/frame/itemview.h"

#include <windows.h>

#include <algorithm>

#include "framework/application.h"
#include "framework/graphics.h"
#include "framework/imagelist.h"
#include "framework/wincontrol.h"
#include "theme/frame/menulayout.h"
#include "theme/frame/menuresources.h"

namespace hv {

namespace {

constexpr uintptr_t kScrollTimerId = 0x7E51;
constexpr uintptr_t kOpenTimerId = 0x7E52;
constexpr unsigned kScrollInterval = 100;
// How long the mouse rests on an item before its submenu opens.
constexpr unsigned kOpenDelay = 250;

std::vector<TTeItemView*>& AllViewList() {
  static std::vector<TTeItemView*> views;
  return views;
}

std::vector<TTeItemView*>& OpenViewList() {
  static std::vector<TTeItemView*> views;
  return views;
}

TPoint MessagePoint(const MSG& msg) { return {msg.pt.x, msg.pt.y}; }

bool Contains(const TRect& r, TPoint p) { return p.x >= r.left && p.x < r.right && p.y >= r.top && p.y < r.bottom; }

}  // namespace

// What the open levels of one menu share.
struct TTeItemView::TSession {
  bool endAll = false;
  // The level that the mouse moved back to: the levels inside it close, and
  // it opens the submenu of its new hot item.
  TTeItemView* closeTo = nullptr;
  int captureDepth = 0;
  HWND captureWnd = nullptr;
  HWND activeAtStart = nullptr;
};

TTeItemView::TTeItemView(TComponent* owner, bool horizontal)
    : TComponent(owner), horizontal_(horizontal), alive_(std::make_shared<bool>(true)) {
  AllViewList().push_back(this);
}

TTeItemView::~TTeItemView() {
  Destroying();
  alive_.reset();
  StopScrollTimer();
  auto& all = AllViewList();
  all.erase(std::remove(all.begin(), all.end(), this), all.end());
  auto& open = OpenViewList();
  open.erase(std::remove(open.begin(), open.end(), this), open.end());
  if (parentView_ && parentView_->childView_ == this) parentView_->childView_ = nullptr;
  if (childView_ && childView_->parentView_ == this) childView_->parentView_ = nullptr;
}

int& TTeItemView::ItemPaintCount() {
  static int count = 0;
  return count;
}

const std::vector<TTeItemView*>& TTeItemView::OpenViews() { return OpenViewList(); }
const std::vector<TTeItemView*>& TTeItemView::AllViews() { return AllViewList(); }

void TTeItemView::Notification(TComponent* component, TOperation operation) {
  TComponent::Notification(component, operation);
  if (operation == TOperation::opRemove && component == host_) host_ = nullptr;
}

void TTeItemView::SetRoot(TTeCustomItem* value) {
  root_ = value;
  autoCount_ = 0;
  rootAlive_ = value ? value->AliveToken() : std::weak_ptr<const bool>();
  hot_ = nullptr;
}

HWND TTeItemView::HostHandle() const { return host_ ? host_->HandleIfAllocated() : nullptr; }

void TTeItemView::SetOrigin(TPoint value) {
  if (origin_ == value) return;
  origin_ = value;
  Moved();
}

void TTeItemView::ItemDestroyed(TTeCustomItem& item) {
  if (&item == hot_) hot_ = nullptr;
  if (&item == root_) {
    root_ = nullptr;
    // The loop wakes and ends this level without reaching the item again.
    if (tracking_ && HostHandle()) PostMessageW(HostHandle(), WM_NULL, 0, 0);
  }
}

void TTeItemView::ItemChanged(TTeCustomItem& item) {
  if (!RootAlive()) return;
  if (&item != root_ && item.Parent() != root_) return;
  if (hot_ && (root_->IndexOf(hot_) < 0 || !Selectable(*hot_))) hot_ = nullptr;
  Layout();
  InvalidateAll();
}

bool TTeItemView::Selectable(const TTeCustomItem& item) const { return item.Visible() && !item.IsSeparator(); }

std::vector<TTeCustomItem*> TTeItemView::ShownItems() const {
  std::vector<TTeCustomItem*> shown;
  if (!RootAlive()) return shown;
  for (int i = 0; i < root_->Count(); ++i) {
    TTeCustomItem* item = root_->Items(i);
    if (!item->ItemRect().IsEmpty()) shown.push_back(item);
  }
  return shown;
}

void TTeItemView::Layout() {
  if (!RootAlive()) return;
  TCanvas& canvas = canvas_ ? *canvas_ : MenuMeasureCanvas();
  canvas.Font()->Assign(&MenuFont());
  const int count = root_->Count();
  std::vector<TMenuSlot> slots(static_cast<size_t>(count));
  for (int i = 0; i < count; ++i) root_->Items(i)->SetItemRect({});

  // A vertical level shows a range of its children when it is scrolled: by
  // its own setting, or because it would not fit on the work area.
  scrolled_ = !horizontal_ && (root_->Scrolled() || autoCount_ > 0);
  const int limit = root_->Scrolled() ? root_->ScrollCount() : autoCount_ > 0 ? autoCount_ : count;
  const int first = scrolled_ ? std::clamp(root_->FirstShown(), 0, std::max(0, count - 1)) : 0;
  int used = 0, total = 0;
  for (int i = first; i < count && used < limit; ++i) {
    TTeCustomItem* item = root_->Items(i);
    if (!item->Visible()) continue;
    TMenuSlot& slot = slots[static_cast<size_t>(i)];
    slot.kind = item->ButtonKind();
    slot.height = DefaultItemHeight();
    slot.width = DefaultItemWidth();
    item->Measure(canvas, *this, slot.height, slot.width);
    if (!scrolled_ && !horizontal_ && maxHeight_ > 0 && total + slot.height > maxHeight_) {
      // Too tall for the screen: it scrolls over as many items as fit
      // between the two arrows.
      int fit = 0, height = 2 * kMenuScrollArrowHeight;
      for (int j = 0; j < i; ++j) {
        const TMenuSlot& shown = slots[static_cast<size_t>(j)];
        if (!shown.shown) continue;
        if (height + shown.height > maxHeight_) break;
        height += shown.height;
        ++fit;
      }
      autoCount_ = std::max(1, fit);
      Layout();
      return;
    }
    slot.shown = true;
    total += slot.height;
    ++used;
  }
  shownCount_ = used;
  const TMenuLayout layout =
      horizontal_ ? LayOutHorizontal(slots, origin_, barWidth_) : LayOutVertical(slots, origin_, scrolled_);
  int columnWidth = 22;
  if (TCustomImageList* images = root_->ShownImages())
    if (images->Width() + 6 > columnWidth && images->Height() > DefaultItemHeight()) columnWidth = images->Width() + 6;
  for (int i = 0; i < count; ++i) {
    TTeCustomItem* item = root_->Items(i);
    item->SetItemRect(layout.rects[static_cast<size_t>(i)]);
    item->SetImageColumnWidth(columnWidth);
  }
  extent_ = {layout.width, layout.height};
  Resized();
}

TRect TTeItemView::ArrowRect(int kind) const {
  if (!scrolled_) return {};
  const int width = extent_.cx;
  if (kind == 1) return Rect(origin_.x, origin_.y, origin_.x + width, origin_.y + kMenuScrollArrowHeight);
  const int bottom = origin_.y + extent_.cy;
  return Rect(origin_.x, bottom - kMenuScrollArrowHeight, origin_.x + width, bottom);
}

void TTeItemView::Paint(TCanvas& canvas) {
  if (!RootAlive() || root_->PaintingSuppressed()) return;
  // Only the items inside the update region are painted: a moved hot item
  // repaints its old and its new item and nothing between them.
  HDC dc = canvas.Handle();
  auto touches = [dc](const TRect& r) {
    const RECT rc{r.left, r.top, r.right, r.bottom};
    return RectVisible(dc, &rc) != FALSE;
  };
  for (TTeCustomItem* item : ShownItems()) {
    if (!touches(item->ItemRect())) continue;
    canvas.Font()->Assign(&MenuFont());
    item->PaintItem(canvas, *this, tracking_, item == hot_, item->ItemRect());
    ++ItemPaintCount();
  }
  if (scrolled_) {
    for (int kind : {1, 2})
      if (touches(ArrowRect(kind))) root_->PaintArrow(canvas, *this, scrollState_ == kind, kind, ArrowRect(kind));
  }
}

TTeCustomItem* TTeItemView::ItemAt(TPoint client) const {
  if (!RootAlive()) return nullptr;
  for (TTeCustomItem* item : ShownItems())
    if (Contains(item->ItemRect(), client)) return item;
  return nullptr;
}

int TTeItemView::ArrowAt(TPoint client) const {
  for (int kind : {1, 2})
    if (Contains(ArrowRect(kind), client)) return kind;
  return 0;
}

void TTeItemView::ScrollBy(int delta) {
  if (!RootAlive() || !scrolled_) return;
  const int count = root_->Count();
  const int first = std::clamp(root_->FirstShown() + delta, 0, std::max(0, count - shownCount_));
  if (first == root_->FirstShown()) return;
  root_->SetFirstShown(first);
  Layout();
  InvalidateAll();
}

TRect TTeItemView::ScreenRectOf(const TRect& client) const {
  POINT p{0, 0};
  if (HWND wnd = HostHandle()) ClientToScreen(wnd, &p);
  return client.Offset(p.x, p.y);
}

bool TTeItemView::ContainsScreenPoint(TPoint screen) const {
  HWND wnd = HostHandle();
  if (!wnd || !IsWindowVisible(wnd)) return false;
  RECT r{};
  GetWindowRect(wnd, &r);
  return Contains(Rect(r.left, r.top, r.right, r.bottom), screen);
}

void TTeItemView::InvalidateAll() {
  if (HWND wnd = HostHandle()) InvalidateRect(wnd, nullptr, TRUE);
}

void TTeItemView::InvalidateItem(TTeCustomItem& item) {
  HWND wnd = HostHandle();
  if (!wnd) return;
  const TRect r = item.ItemRect();
  const RECT rc{r.left, r.top, r.right, r.bottom};
  InvalidateRect(wnd, &rc, TRUE);
}

void TTeItemView::InvalidateArrow(int kind) {
  HWND wnd = HostHandle();
  const TRect r = ArrowRect(kind);
  if (!wnd || r.IsEmpty()) return;
  const RECT rc{r.left, r.top, r.right, r.bottom};
  InvalidateRect(wnd, &rc, TRUE);
}

void TTeItemView::SetHotItem(TTeCustomItem* item) {
  if (item == hot_) return;
  TTeCustomItem* old = hot_;
  hot_ = item;
  if (old) InvalidateItem(*old);
  if (hot_) {
    InvalidateItem(*hot_);
    Application()->SetHint(hot_->Hint());
  }
}

void TTeItemView::StepHot(int step) {
  if (!RootAlive()) return;
  const int count = root_->Count();
  std::vector<bool> selectable(static_cast<size_t>(count));
  for (int i = 0; i < count; ++i) {
    const TTeCustomItem* item = root_->Items(i);
    selectable[static_cast<size_t>(i)] = Selectable(*item) && item->ButtonKind() == kibNone;
  }
  const int next = StepSelectable(selectable, hot_ ? root_->IndexOf(hot_) : -1, step);
  if (next < 0) return;
  if (scrolled_) {
    const int first = ScrollToShow(root_->FirstShown(), shownCount_, count, next);
    if (first != root_->FirstShown()) {
      root_->SetFirstShown(first);
      Layout();
      InvalidateAll();
    }
  }
  SetHotItem(root_->Items(next));
}

void TTeItemView::HotFirst() {
  if (!RootAlive() || hot_) return;
  for (TTeCustomItem* item : ShownItems())
    if (Selectable(*item) && item->ButtonKind() == kibNone) {
      hot_ = item;
      return;
    }
}

TTeItemView* TTeItemView::Outermost() {
  TTeItemView* view = this;
  while (view->parentView_ && view->parentView_->tracking_) view = view->parentView_;
  return view;
}

TTeItemView* TTeItemView::Deepest() {
  TTeItemView* view = this;
  while (view->childView_ && view->childView_->tracking_) view = view->childView_;
  return view;
}

void TTeItemView::EndAllLevels() {
  leaveNow_ = true;
  if (!session_) return;
  session_->endAll = true;
  // The levels are closed from now on, while their loops unwind.
  auto& open = OpenViewList();
  const std::shared_ptr<TSession> session = session_;
  open.erase(std::remove_if(open.begin(), open.end(), [&](TTeItemView* view) { return view->session_ == session; }),
             open.end());
}

void TTeItemView::StartScrollTimer(int state) {
  if (scrollState_ == state) return;
  const int old = scrollState_;
  scrollState_ = state;
  if (old) InvalidateArrow(old);
  if (state) InvalidateArrow(state);
  HWND wnd = HostHandle();
  if (!wnd) return;
  if (state && !scrollTimer_) scrollTimer_ = SetTimer(wnd, kScrollTimerId, kScrollInterval, nullptr) != 0;
  if (!state) StopScrollTimer();
}

void TTeItemView::StopScrollTimer() {
  if (scrollTimer_ && HostHandle()) KillTimer(HostHandle(), kScrollTimerId);
  scrollTimer_ = false;
}

void TTeItemView::HandleTimer(uintptr_t id) {
  HWND wnd = HostHandle();
  if (id == kScrollTimerId) {
    if (scrollState_ == 0) {
      StopScrollTimer();
      return;
    }
    ScrollBy(scrollState_ == 1 ? -1 : 1);
    return;
  }
  if (id == kOpenTimerId) {
    if (wnd) KillTimer(wnd, kOpenTimerId);
    openTimer_ = false;
    if (hot_ && hot_->HasVisibleChild()) OpenHotSubmenu();
  }
}

void TTeItemView::HandleMouseMove(TPoint screen) {
  // Every level from the outermost in: a level the mouse went back to takes
  // the hot item and the levels inside it close.
  for (TTeItemView* view = Outermost(); view; view = view->childView_ && view->childView_->tracking_ ? view->childView_ : nullptr) {
    if (!view->ContainsScreenPoint(screen)) continue;
    POINT p{screen.x, screen.y};
    ScreenToClient(view->HostHandle(), &p);
    if (view == this) {
      const int arrow = ArrowAt({p.x, p.y});
      StartScrollTimer(arrow);
      TTeCustomItem* item = arrow ? nullptr : ItemAt({p.x, p.y});
      if (item && item != hot_ && Selectable(*item)) {
        SetHotItem(item);
        HWND wnd = HostHandle();
        if (openTimer_ && wnd) KillTimer(wnd, kOpenTimerId);
        openTimer_ = false;
        if (item->HasVisibleChild() && wnd) openTimer_ = SetTimer(wnd, kOpenTimerId, kOpenDelay, nullptr) != 0;
      }
      return;
    }
    TTeCustomItem* item = view->ItemAt({p.x, p.y});
    if (item && item != view->hot_ && view->Selectable(*item)) {
      view->SetHotItem(item);
      session_->closeTo = view;
      leaveNow_ = true;
      return;
    }
  }
}

bool TTeItemView::HandleButton(unsigned message, TPoint screen) {
  if (hot_ && Contains(ScreenRectOf(hot_->ItemRect()), screen)) {
    if (message == WM_LBUTTONDOWN || message == WM_LBUTTONUP) PressEnter();
    return true;
  }
  for (TTeItemView* view : OpenViewList())
    if (view->ContainsScreenPoint(screen)) return true;
  // A click outside every open level closes the menu and is not passed on.
  EndAllLevels();
  return true;
}

void TTeItemView::PressEnter() {
  if (!hot_) return;
  if (hot_->HasVisibleChild()) {
    OpenHotSubmenu();
    return;
  }
  if (!hot_->Enabled() || hot_->IsSeparator()) return;
  TTeCustomItem* item = hot_;
  // The menus close before the click runs: it waits in the dispatcher.
  EndAllLevels();
  item->Click();
}

void TTeItemView::HandleKey(unsigned key) {
  const bool parentHorizontal = parentView_ && parentView_->horizontal_;
  switch (key) {
    case VK_TAB:
    case VK_SPACE:
      return;
    case VK_RETURN:
      PressEnter();
      return;
    case VK_MENU:
    case VK_F10:
      EndAllLevels();
      return;
    case VK_ESCAPE:
      SetHotItem(nullptr);
      leaveNow_ = true;
      return;
    case VK_LEFT:
      if (horizontal_) {
        StepHot(-1);
      } else if (parentView_ && parentHorizontal) {
        parentView_->afterChildStep_ = -1;
        leaveNow_ = true;
      } else if (parentView_) {
        leaveNow_ = true;
      }
      return;
    case VK_RIGHT:
      if (horizontal_) {
        StepHot(1);
      } else if (hot_ && hot_->HasVisibleChild() && hot_->Enabled()) {
        OpenHotSubmenu();
      } else if (parentView_ && parentHorizontal) {
        // The next menu-bar item opens in this one's place.
        parentView_->afterChildStep_ = 1;
        leaveNow_ = true;
      } else if (parentView_) {
        leaveNow_ = true;
      }
      return;
    case VK_UP:
      if (!horizontal_) StepHot(-1);
      return;
    case VK_DOWN:
      if (horizontal_)
        OpenHotSubmenu();
      else
        StepHot(1);
      return;
    default:
      return;
  }
}

void TTeItemView::HandleChar(char32_t character) {
  if (!RootAlive()) return;
  TTeCustomItem* item = root_->FindAccelerator(character);
  if (!item || !item->Visible()) return;
  SetHotItem(item);
  PressEnter();
}

void TTeItemView::OpenHotSubmenu() {
  if (!hot_ || !hot_->HasVisibleChild() || !hot_->Enabled() || openingSubmenu_) return;
  HWND wnd = HostHandle();
  if (openTimer_ && wnd) KillTimer(wnd, kOpenTimerId);
  openTimer_ = false;
  const std::weak_ptr<bool> self = alive_;
  const TRect anchor = ScreenRectOf(hot_->ItemRect());
  {
    openingSubmenu_ = true;
    hot_->Popup(this, anchor.left, anchor.top, &anchor);
  }
  if (self.expired()) return;
  openingSubmenu_ = false;
  childView_ = nullptr;
  InvalidateAll();
}

void TTeItemView::MenuLoop() {
  if (!RootAlive() || !HostHandle()) return;
  const std::weak_ptr<bool> self = alive_;
  session_ = parentView_ && parentView_->session_ ? parentView_->session_ : std::make_shared<TSession>();
  const std::shared_ptr<TSession> session = session_;
  OpenViewList().push_back(this);
  tracking_ = true;
  leaveNow_ = false;
  afterChildStep_ = 0;

  HotFirst();
  POINT cursor{};
  GetCursorPos(&cursor);
  lastMouse_ = {cursor.x, cursor.y};
  if (ContainsScreenPoint(lastMouse_)) {
    POINT p = cursor;
    ScreenToClient(HostHandle(), &p);
    if (TTeCustomItem* item = ItemAt({p.x, p.y}); item && Selectable(*item)) hot_ = item;
  }
  if (session->captureDepth++ == 0) {
    session->captureWnd = HostHandle();
    SetCapture(session->captureWnd);
    session->activeAtStart = GetActiveWindow();
  }
  InvalidateAll();

  auto running = [&] {
    if (self.expired() || !tracking_ || leaveNow_ || session->endAll || !RootAlive()) return false;
    if (!HostHandle() || !IsWindow(HostHandle())) return false;
    if (GetCapture() != session->captureWnd) return false;
    return true;
  };
  while (running()) {
    if (session->closeTo) {
      if (session->closeTo != this) break;
      session->closeTo = nullptr;
      if (afterChildStep_) {
        StepHot(afterChildStep_);
        afterChildStep_ = 0;
      }
      OpenHotSubmenu();
      continue;
    }
    if (afterChildStep_) {
      StepHot(afterChildStep_);
      afterChildStep_ = 0;
      OpenHotSubmenu();
      continue;
    }
    // The owner's window lost the activation to another one: the menu goes.
    const HWND active = GetActiveWindow();
    if (session->activeAtStart && active != session->activeAtStart) {
      bool ours = false;
      for (TTeItemView* view : OpenViewList()) ours = ours || view->HostHandle() == active;
      if (!ours) {
        EndAllLevels();
        break;
      }
    }
    MSG msg{};
    if (!PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE)) {
      WaitMessage();
      continue;
    }
    if (msg.message == WM_QUIT || (msg.message >= WM_NCLBUTTONDOWN && msg.message <= WM_NCMBUTTONDBLCLK)) {
      EndAllLevels();
      break;
    }
    if (msg.message == WM_WINDOWPOSCHANGING) {
      EndAllLevels();
      break;
    }
    if (!PeekMessageW(&msg, msg.hwnd, msg.message, msg.message, PM_REMOVE)) continue;
    const bool leftDown = GetKeyState(VK_LBUTTON) < 0;
    switch (msg.message) {
      case WM_LBUTTONDOWN:
      case WM_LBUTTONUP:
      case WM_RBUTTONDOWN:
      case WM_RBUTTONUP:
      case WM_LBUTTONDBLCLK:
      case WM_RBUTTONDBLCLK:
        HandleButton(msg.message, MessagePoint(msg));
        break;
      case WM_CONTEXTMENU:
        break;
      case WM_MOUSEMOVE:
        if (MessagePoint(msg) != lastMouse_) {
          lastMouse_ = MessagePoint(msg);
          HandleMouseMove(lastMouse_);
        }
        break;
      case WM_TE_OPENSUBMENU:
        OpenHotSubmenu();
        break;
      case WM_TIMER:
        if (msg.hwnd == HostHandle() && (msg.wParam == kScrollTimerId || msg.wParam == kOpenTimerId))
          HandleTimer(msg.wParam);
        else
          DispatchMessageW(&msg);
        break;
      case WM_KEYDOWN:
      case WM_SYSKEYDOWN:
        if (!leftDown) {
          const unsigned key = static_cast<unsigned>(msg.wParam);
          if (key == VK_TAB || key == VK_SPACE || key == VK_RETURN || key == VK_MENU || key == VK_F10 ||
              key == VK_ESCAPE || (key >= VK_LEFT && key <= VK_DOWN))
            HandleKey(key);
          else
            TranslateMessage(&msg);
        }
        break;
      case WM_CHAR:
      case WM_SYSCHAR:
        if (!leftDown) HandleChar(static_cast<char32_t>(msg.wParam));
        break;
      case WM_KEYUP:
      case WM_SYSKEYUP:
        // Released keys belong to the menu; the owner would take a lone Alt
        // for its own menu.
        break;
      default:
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
        break;
    }
  }

  if (self.expired()) return;
  tracking_ = false;
  StopScrollTimer();
  scrollState_ = 0;
  if (openTimer_ && HostHandle()) KillTimer(HostHandle(), kOpenTimerId);
  openTimer_ = false;
  auto& open = OpenViewList();
  open.erase(std::remove(open.begin(), open.end(), this), open.end());
  if (--session->captureDepth == 0) {
    if (GetCapture() == session->captureWnd && session->captureWnd) ReleaseCapture();
    session->captureWnd = nullptr;
  }
  session_.reset();
  InvalidateAll();
}

}  // namespace hv
