#pragma once
// The one drop-down list that may be open in the process (a themed combo
// box's): its owner sets the closer while the list shows and clears it when
// the list goes. A click on a themed form's frame closes the list, as a
// click anywhere else outside it would.

#include <functional>

namespace hv {

inline std::function<void()>& OpenDropDownCloser() {
  static std::function<void()> closer;
  return closer;
}

}  // namespace hv
