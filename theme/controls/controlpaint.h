#pragma once
// What both control bases paint through: the surface a paint goes to by the
// control's Performance mode, the canvas lent to it for one paint, and the
// parent's background fetched under a control with a background request.

#include <memory>

#include "framework/colors.h"
#include "framework/types.h"
#include "framework/winhandles.h"
#include "theme/controls/controlbase.h"

namespace hv {

class TCanvas;
class TControl;
class TTeBitmap;

// The bitmap one paint goes through: none (the screen), the shared buffer,
// or a bitmap made for this paint and freed with the surface. Making one
// raises EOutOfResources and leaves nothing behind.
class TTePaintSurface {
 public:
  // fillMarker: the area starts as the transparent marker.
  TTePaintSurface(TTePerformance mode, int width, int height, bool fillMarker);
  ~TTePaintSurface();
  TTePaintSurface(const TTePaintSurface&) = delete;
  TTePaintSurface& operator=(const TTePaintSurface&) = delete;

  TTeBitmap* Bitmap() const { return bitmap_; }
  // The part of (0, 0, width, height) that the bitmap holds: all of it
  // unless a control is larger than the shared buffer.
  const TRect& Area() const { return area_; }
  // Copies the area to (0, 0) of the screen context; nothing without a bitmap.
  void CopyTo(HDC screen) const;

 private:
  std::unique_ptr<TTeBitmap> own_;
  TTeBitmap* bitmap_ = nullptr;
  TRect area_;
};

// Points a canvas at another context for a while and gives it back the one
// it had, on every path.
class TCanvasRedirect {
 public:
  explicit TCanvasRedirect(TCanvas& canvas);
  ~TCanvasRedirect();
  TCanvasRedirect(const TCanvasRedirect&) = delete;
  TCanvasRedirect& operator=(const TCanvasRedirect&) = delete;
  void To(HDC dc);
  HDC Original() const { return original_; }

 private:
  TCanvas& canvas_;
  HDC original_;
};

// Gives a canvas kept between paints the tools every paint starts from: a
// solid brush in the control's colour and a solid one-pixel pen, whatever
// the last paint (or a style painting through it) left behind.
void ResetCanvasTools(TCanvas& canvas, TColor color);

// Runs paint with the canvas's context state saved and clipped by clip
// (a rectangle excluded from it, unless empty), and restores both the state
// and the canvas's own selections afterwards.
void PaintExcluding(TCanvas& canvas, const TRect& excluded, void (*paint)(void*), void* context);

template <class F>
void PaintExcluding(TCanvas& canvas, const TRect& excluded, F&& paint) {
  PaintExcluding(canvas, excluded, [](void* f) { (*static_cast<F*>(f))(); }, &paint);
}

// Paints the parent's background into dc, whose origin is the control's
// top-left corner, width x height pixels. A control painting into a buffer
// (mode other than kspNoBuffer) has the parent paint straight into it and,
// with siblings, the parent's windowless children painted over it; one
// painting to the screen gets the background through a temporary bitmap
// copied in one operation. Nothing happens without a parent with a window
// or for an empty size.
void PaintParentBackground(TControl& control, HDC dc, TTePerformance mode, int width, int height, bool siblings);

// Fills blendBuffer (resized to width x height) with the parent's
// background, siblings included, and mixes target's area over it at the
// blending's opacity.
void BlendOverParentBackground(TControl& control, TTeBitmap& target, const TRect& area, TTeBitmap& blendBuffer,
                               int width, int height, int opacity, bool siblings);

}  // namespace hv
