#pragma once
// What the menu tests on real windows share: a script of steps played one
// per timer tick from inside a running menu loop, real mouse input, and
// looks at the open levels.

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "theme/frame/itemview.h"
#include "theme/frame/popupmenu.h"

namespace hv {

inline unsigned ToRGB(COLORREF c) { return ((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF); }
inline unsigned SysRGB(int index) { return ToRGB(GetSysColor(index)); }

// Steps run one per timer tick from inside the menu loop; whatever happens,
// the menu is closed once the steps are done, so no test can hang.
class TScript {
 public:
  explicit TScript(std::vector<std::function<void()>> steps, unsigned interval = 40) : steps_(std::move(steps)) {
    current_ = this;
    timer_ = SetTimer(nullptr, 0, interval, &TScript::Tick);
  }
  ~TScript() {
    KillTimer(nullptr, timer_);
    current_ = nullptr;
  }
  int Done() const { return next_; }

 private:
  static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
    TScript* self = current_;
    if (!self || self->busy_) return;
    self->busy_ = true;
    if (self->next_ < static_cast<int>(self->steps_.size())) {
      auto step = self->steps_[static_cast<size_t>(self->next_++)];
      step();
    } else if (++self->idle_ > 3) {
      TTeCustomPopupMenu::CloseOpenMenus();
    }
    self->busy_ = false;
  }
  static inline TScript* current_ = nullptr;
  std::vector<std::function<void()>> steps_;
  UINT_PTR timer_ = 0;
  int next_ = 0;
  int idle_ = 0;
  bool busy_ = false;
};

inline int Levels() { return static_cast<int>(TTeItemView::OpenViews().size()); }
inline TTeItemView* Level(int index) { return TTeItemView::OpenViews().at(static_cast<size_t>(index)); }
inline TTeItemView* Deepest() { return TTeItemView::OpenViews().back(); }
inline RECT HostRect(TTeItemView* view) {
  RECT r{};
  GetWindowRect(view->HostHandle(), &r);
  return r;
}
inline std::string HotCaption(TTeItemView* view) {
  return view->HotItem() ? view->HotItem()->Caption() : std::string("-none-");
}

inline void MoveMouse(int x, int y) {
  SetCursorPos(x, y);
  INPUT input{};
  input.type = INPUT_MOUSE;
  input.mi.dx = (x * 65535) / (GetSystemMetrics(SM_CXSCREEN) - 1);
  input.mi.dy = (y * 65535) / (GetSystemMetrics(SM_CYSCREEN) - 1);
  input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
  SendInput(1, &input, sizeof(input));
}

inline void ClickMouse(int x, int y) {
  MoveMouse(x, y);
  INPUT input[2] = {};
  input[0].type = input[1].type = INPUT_MOUSE;
  input[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
  input[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
  SendInput(2, input, sizeof(INPUT));
}

// An item's rectangle on the screen.
inline RECT ItemScreenRect(TTeItemView* view, TTeCustomItem* item) {
  const TRect r = item->ItemRect();
  POINT p{0, 0};
  ClientToScreen(view->HostHandle(), &p);
  return {r.left + p.x, r.top + p.y, r.right + p.x, r.bottom + p.y};
}

}  // namespace hv
