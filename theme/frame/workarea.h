#pragma once
// The area a dragged form snaps to (TTeGravitation::SnapRect), in the
// coordinates of the form's bounds.

#include "framework/types.h"
#include "framework/winhandles.h"

namespace hv {

// The client area of the window that a child window lies in; for a top-level
// window the desktop's work area.
TRect GravitationWorkArea(HWND wnd);

}  // namespace hv
