#include "framework/screen.h"

#include <windows.h>

#include <algorithm>

#include "framework/forms.h"

namespace hv {

namespace {
TMonitor MonitorInfo(HMONITOR monitor) {
  MONITORINFO info{};
  info.cbSize = sizeof(info);
  TMonitor result;
  result.handle = monitor;
  if (monitor && GetMonitorInfoW(monitor, &info)) {
    result.boundsRect = Rect(info.rcMonitor.left, info.rcMonitor.top, info.rcMonitor.right, info.rcMonitor.bottom);
    result.workareaRect = Rect(info.rcWork.left, info.rcWork.top, info.rcWork.right, info.rcWork.bottom);
    result.primary = (info.dwFlags & MONITORINFOF_PRIMARY) != 0;
  }
  return result;
}
}  // namespace

TScreen::TScreen(TComponent* owner) : TComponent(owner) {}

TCustomForm* TScreen::ActiveForm() const {
  HWND active = GetActiveWindow();
  for (TCustomForm* form : forms_)
    if (form->HandleAllocated() && form->HandleIfAllocated() == active) return form;
  return nullptr;
}

int TScreen::Width() const { return GetSystemMetrics(SM_CXSCREEN); }
int TScreen::Height() const { return GetSystemMetrics(SM_CYSCREEN); }

TRect TScreen::WorkAreaRect() const {
  RECT r{};
  if (!SystemParametersInfoW(SPI_GETWORKAREA, 0, &r, 0)) return Rect(0, 0, Width(), Height());
  return Rect(r.left, r.top, r.right, r.bottom);
}

TRect TScreen::DesktopRect() const {
  int x = GetSystemMetrics(SM_XVIRTUALSCREEN), y = GetSystemMetrics(SM_YVIRTUALSCREEN);
  return Bounds(x, y, GetSystemMetrics(SM_CXVIRTUALSCREEN), GetSystemMetrics(SM_CYVIRTUALSCREEN));
}

TMonitor TScreen::MonitorFromWindow(HWND wnd) const {
  return MonitorInfo(::MonitorFromWindow(wnd, MONITOR_DEFAULTTONEAREST));
}

TMonitor TScreen::MonitorFromPoint(TPoint point) const {
  return MonitorInfo(::MonitorFromPoint(POINT{point.x, point.y}, MONITOR_DEFAULTTONEAREST));
}

void TScreen::AddForm(TCustomForm* form) { forms_.push_back(form); }

void TScreen::RemoveForm(TCustomForm* form) { forms_.erase(std::remove(forms_.begin(), forms_.end(), form), forms_.end()); }

TScreen* Screen() {
  static TScreen screen(nullptr);
  return &screen;
}

}  // namespace hv
