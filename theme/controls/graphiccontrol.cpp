// TTeGraphicControl: the windowless base of the themed controls.

#include <windows.h>

#include "framework/graphics.h"
#include "framework/properties.h"
#include "framework/sysutils.h"
#include "theme/controls/controlbase.h"
#include "theme/controls/controlpaint.h"
#include "theme/core/tebitmap.h"

namespace hv {

TTeGraphicControl::TTeGraphicControl(TComponent* owner)
    : TGraphicControl(owner), blending_(std::make_unique<TTeBlending>()), paintFont_(std::make_unique<TFont>()) {
  SetControlStyle(ControlStyle().Include(csOpaque));
  SetColor(clBtnFace);
  SetBounds(Left(), Top(), 100, 30);
}

TTeGraphicControl::~TTeGraphicControl() {
  Destroying();
  DestroyComponents();
}

void TTeGraphicControl::Loaded() {
  TGraphicControl::Loaded();
  Invalidate();
}

void TTeGraphicControl::SetPerformance(TTePerformance value) {
  if (value == performance_) return;
  if (blending_->Enabled() && value == kspNoBuffer) return;
  performance_ = value;
  Invalidate();
}

void TTeGraphicControl::SetTransparent(bool value) {
  if (value == transparent_) return;
  transparent_ = value;
  Invalidate();
}

void TTeGraphicControl::SetBlending(const TTeBlending* value) {
  blending_->Assign(value);
  if (blending_->Enabled() && performance_ == kspNoBuffer) performance_ = kspDoubleBuffer;
  if (!IsLoading()) Invalidate();
}

void TTeGraphicControl::CMMouseEnter(TMessage& message) {
  const bool self = message.LParam == 0 || message.LParam == reinterpret_cast<intptr_t>(this);
  // Mouse capture can report one crossing twice; the control hears it once.
  if (self && MouseInControl()) return;
  TGraphicControl::CMMouseEnter(message);
  if (self) MouseEnter();
}

void TTeGraphicControl::CMMouseLeave(TMessage& message) {
  const bool self = message.LParam == 0 || message.LParam == reinterpret_cast<intptr_t>(this);
  if (self && !MouseInControl()) return;
  TGraphicControl::CMMouseLeave(message);
  if (self) MouseLeave();
}

void TTeGraphicControl::Paint() {
  const int width = Width();
  const int height = Height();
  if (width <= 0 || height <= 0) return;
  TCanvas& canvas = *Canvas();
  try {
    TTePaintSurface surface(performance_, width, height, false);
    // The canvas goes back to the screen before the surface goes: its
    // tools are put back into a context that still exists.
    TCanvasRedirect redirect(canvas);
    const HDC screen = redirect.Original();
    if (surface.Bitmap()) redirect.To(surface.Bitmap()->DC());
    paintFont_->Assign(Font());
    ResetCanvasTools(canvas, Color());
    if (transparent_) PaintParentBackground(*this, canvas.Handle(), performance_, width, height, false);
    PaintClient();
    if (blending_->Enabled() && surface.Bitmap()) {
      if (!blendBuffer_) blendBuffer_ = std::make_unique<TTeBitmap>();
      BlendOverParentBackground(*this, *surface.Bitmap(), surface.Area(), *blendBuffer_, width, height,
                                blending_->Value(), false);
    }
    surface.CopyTo(screen);
  } catch (const EOutOfResources&) {
    // No bitmap to paint in: this paint is given up, the canvas goes back to
    // the screen and whatever was made is freed; the next paint tries again.
  }
}

void TTeGraphicControl::PaintClient() {
  if (transparent_) return;
  TCanvas& canvas = *Canvas();
  canvas.Brush()->SetStyle(bsSolid);
  canvas.Brush()->SetColor(Color());
  canvas.FillRect(ClientRect());
}

void TTeGraphicControl::PublishProperties(TPropertyList& p) {
  p.Object("Blending", &TTeGraphicControl::Blending);
  p.Enum("Performance", &TTeGraphicControl::Performance, &TTeGraphicControl::SetPerformance,
         {"kspNoBuffer", "kspSharedBuffer", "kspDoubleBuffer"});
  p.Boolean("Transparent", &TTeGraphicControl::Transparent, &TTeGraphicControl::SetTransparent);
}

}  // namespace hv
