#pragma once
// The record a themed control passes, by address, in the LParam of a
// WM_ERASEBKGND sent to its parent to get the parent's background painted
// into the WParam's device context. Parents that answer it (the themed form
// frame, themed windowed controls) read it; anything else ignores LParam.

#include <cstdint>

namespace hv {

#pragma pack(push, 1)
struct TTeBackgroundRequest {
  // Always 1 from a child. The frame reads 1 as "the whole client area" and
  // 0 as "only Bounds".
  uint8_t isChildRequest = 1;
  // The child's bounds in the parent's client coordinates.
  int32_t left = 0;
  int32_t top = 0;
  int32_t right = 0;
  int32_t bottom = 0;
};
#pragma pack(pop)
static_assert(sizeof(TTeBackgroundRequest) == 17);

}  // namespace hv
