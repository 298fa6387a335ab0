#pragma once
// The record a themed control passes, by address, in the LParam of a
// WM_ERASEBKGND sent to its parent to get the parent's background painted
// into the WParam's device context. Parents that answer it (the themed form
// frame, themed windowed controls) read it; anything else ignores LParam.
// Portable.

#include <cstdint>

#include "framework/object.h"

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

// A component on a form that paints the form's client background itself
// (the themed form frame). A windowless themed control painting straight to
// the screen asks the first active one owned by its top-level form for the
// background under it, handing over the WM_ERASEBKGND message it would
// otherwise send to the form.
class TTeBackgroundSource {
 public:
  virtual ~TTeBackgroundSource() = default;
  virtual bool BackgroundSourceActive() const = 0;
  // Message: WM_ERASEBKGND, WParam the device context, LParam a request.
  virtual void AnswerBackgroundRequest(TMessage& message) = 0;

 protected:
  TTeBackgroundSource() = default;
  TTeBackgroundSource(const TTeBackgroundSource&) = default;
  TTeBackgroundSource& operator=(const TTeBackgroundSource&) = default;
};

}  // namespace hv
