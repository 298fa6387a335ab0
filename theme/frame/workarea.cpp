#include "theme/frame/workarea.h"

#include <windows.h>

namespace hv {

TRect GravitationWorkArea(HWND wnd) {
  RECT r{};
  // GetParent would answer a popup's owner, which is no container.
  HWND parent = wnd && (GetWindowLongPtrW(wnd, GWL_STYLE) & WS_CHILD) ? GetParent(wnd) : nullptr;
  if (parent)
    GetClientRect(parent, &r);
  else
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &r, 0);
  return Rect(r.left, r.top, r.right, r.bottom);
}

}  // namespace hv
