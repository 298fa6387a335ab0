#pragma once
// What the themed form frame asks of the controls on its form that can
// carry a size grip (the themed status bar): whether the grip is switched
// on and where it lies. A point on an effective grip sizes the window from
// its bottom-right corner.

#include "framework/types.h"

namespace hv {

class TTeSizeGripOwner {
 public:
  virtual ~TTeSizeGripOwner() = default;
  virtual bool SizeGripShown() const = 0;
  // In the control's own client coordinates.
  virtual TRect SizeGripRect() const = 0;

 protected:
  TTeSizeGripOwner() = default;
  TTeSizeGripOwner(const TTeSizeGripOwner&) = default;
  TTeSizeGripOwner& operator=(const TTeSizeGripOwner&) = default;
};

// What a control with a size grip asks of the themed frame of its form: a
// grip sizes the window only while the frame is attached, lets the window
// be sized and shows it in its normal state. A left button press sent to the
// frame's window (WM_NCLBUTTONDOWN, screen point) on the grip starts the
// frame's own sizing from the bottom-right corner.
class TTeSizeGripHost {
 public:
  virtual ~TTeSizeGripHost() = default;
  virtual bool GripHostActive() const = 0;
  virtual bool GripHostSizeable() const = 0;

 protected:
  TTeSizeGripHost() = default;
  TTeSizeGripHost(const TTeSizeGripHost&) = default;
  TTeSizeGripHost& operator=(const TTeSizeGripHost&) = default;
};

}  // namespace hv
