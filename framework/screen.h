#pragma once
// The screen object: the open forms, the screen's size and work area, and the
// monitors.

#include <vector>

#include "framework/component.h"
#include "framework/types.h"
#include "framework/winhandles.h"

namespace hv {

class TCustomForm;

struct TMonitor {
  void* handle = nullptr;  // HMONITOR
  TRect boundsRect;
  TRect workareaRect;
  bool primary = false;
};

class TScreen : public TComponent {
  HV_CLASS_NO_PROPERTIES(TScreen, TComponent)

 public:
  explicit TScreen(TComponent* owner);

  int FormCount() const { return static_cast<int>(forms_.size()); }
  TCustomForm* Forms(int index) const { return forms_.at(static_cast<size_t>(index)); }
  TCustomForm* ActiveForm() const;

  int Width() const;
  int Height() const;
  // The primary monitor's desktop less the task bar.
  TRect WorkAreaRect() const;
  TRect DesktopRect() const;
  TMonitor MonitorFromWindow(HWND wnd) const;
  TMonitor MonitorFromPoint(TPoint point) const;

 private:
  friend class TCustomForm;
  void AddForm(TCustomForm* form);
  void RemoveForm(TCustomForm* form);
  std::vector<TCustomForm*> forms_;
};

TScreen* Screen();

}  // namespace hv
