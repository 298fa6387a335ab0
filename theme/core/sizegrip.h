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

}  // namespace hv
