// The paint surfaces of the control bases and the parent's background under
// a control.

#include "theme/controls/controlpaint.h"

#include <windows.h>

#include "framework/forms.h"
#include "framework/gdi.h"
#include "framework/graphics.h"
#include "theme/controls/blendpixels.h"
#include "theme/core/backgroundrequest.h"
#include "theme/core/colors.h"
#include "theme/core/sharedbuffer.h"
#include "theme/core/tebitmap.h"

namespace hv {

// --- surfaces ------------------------------------------------------------------

TTePaintSurface::TTePaintSurface(TTePerformance mode, int width, int height, bool fillMarker) {
  const TRect wanted = Rect(0, 0, width, height);
  switch (mode) {
    case kspNoBuffer:
      area_ = wanted;
      return;
    case kspSharedBuffer:
      bitmap_ = &SizedSharedBuffer();
      break;
    case kspDoubleBuffer:
      own_ = std::make_unique<TTeBitmap>();
      own_->SetSize(width, height);
      bitmap_ = own_.get();
      break;
  }
  area_ = Intersect(wanted, bitmap_->Bounds());
  if (fillMarker) bitmap_->FillRect(area_, kTransparentMarker);
}

TTePaintSurface::~TTePaintSurface() = default;

void TTePaintSurface::CopyTo(HDC screen) const {
  if (!bitmap_ || area_.IsEmpty()) return;
  BitBlt(screen, 0, 0, area_.Width(), area_.Height(), bitmap_->DC(), 0, 0, SRCCOPY);
}

TCanvasRedirect::TCanvasRedirect(TCanvas& canvas)
    : canvas_(canvas), original_(canvas.HandleAllocated() ? canvas.Handle() : nullptr) {}

TCanvasRedirect::~TCanvasRedirect() { canvas_.SetHandle(original_); }

void TCanvasRedirect::To(HDC dc) { canvas_.SetHandle(dc); }

void ResetCanvasTools(TCanvas& canvas, TColor color) {
  canvas.Brush()->SetStyle(bsSolid);
  canvas.Brush()->SetColor(color);
  canvas.Pen()->SetStyle(psSolid);
  canvas.Pen()->SetWidth(1);
  canvas.Pen()->SetMode(pmCopy);
  canvas.Pen()->SetColor(clBlack);
}

void PaintExcluding(TCanvas& canvas, const TRect& excluded, void (*paint)(void*), void* context) {
  HDC dc = canvas.Handle();
  // What the canvas selected goes back before the state is saved, and again
  // before it is restored, so that it never holds objects the restore drops.
  canvas.Refresh();
  TSaveDC saved(dc);
  struct TRelease {
    TCanvas& canvas;
    ~TRelease() { canvas.Refresh(); }
  } release{canvas};
  if (!excluded.IsEmpty()) ExcludeClipRect(dc, excluded.left, excluded.top, excluded.right, excluded.bottom);
  paint(context);
}

// --- the parent's background -------------------------------------------------------

namespace {

TCustomForm* TopLevelForm(TControl* control) {
  TCustomForm* form = nullptr;
  for (TControl* c = control; c; c = c->Parent())
    if (auto* f = dynamic_cast<TCustomForm*>(c)) form = f;
  return form;
}

// The first active component of the form that paints its background itself.
TTeBackgroundSource* ActiveBackgroundSource(TCustomForm& form) {
  for (int i = 0; i < form.ComponentCount(); ++i)
    if (auto* source = dynamic_cast<TTeBackgroundSource*>(form.Components(i));
        source && source->BackgroundSourceActive())
      return source;
  return nullptr;
}

void AskParent(TWinControl& parent, HDC dc, TTeBackgroundRequest& request) {
  const auto wParam = reinterpret_cast<uintptr_t>(dc);
  const auto lParam = reinterpret_cast<intptr_t>(&request);
  if (dynamic_cast<TCustomForm*>(&parent))
    SendMessageW(parent.Handle(), WM_ERASEBKGND, wParam, lParam);
  else
    parent.Perform(WM_ERASEBKGND, wParam, lParam);
}

// The parent's windowless children over its background, in child order.
void PaintSiblings(TWinControl& parent, HDC dc) {
  for (int i = 0; i < parent.ControlCount(); ++i) {
    auto* child = dynamic_cast<TGraphicControl*>(parent.Controls(i));
    // Hidden children are not on the parent's surface either.
    if (!child || !child->Visible()) continue;
    TSaveDC saved(dc);
    OffsetViewportOrgEx(dc, child->Left(), child->Top(), nullptr);
    IntersectClipRect(dc, 0, 0, child->Width(), child->Height());
    child->Perform(WM_PAINT, reinterpret_cast<uintptr_t>(dc), 0);
  }
}

}  // namespace

void PaintParentBackground(TControl& control, HDC dc, TTePerformance mode, int width, int height, bool siblings) {
  TWinControl* parent = control.Parent();
  if (!parent || !parent->HandleAllocated() || width <= 0 || height <= 0) return;
  TSaveDC saved(dc);
  const TPoint p = parent->ScreenToClient(control.ClientOrigin());
  const TRect bounds = control.BoundsRect();
  TTeBackgroundRequest request;
  request.isChildRequest = 1;
  request.left = bounds.left;
  request.top = bounds.top;
  request.right = bounds.right;
  request.bottom = bounds.bottom;

  if (mode != kspNoBuffer) {
    OffsetViewportOrgEx(dc, -p.x, -p.y, nullptr);
    AskParent(*parent, dc, request);
    if (siblings) PaintSiblings(*parent, dc);
    OffsetViewportOrgEx(dc, p.x, p.y, nullptr);
    return;
  }

  // On the screen the background is put together off screen and copied in
  // one go, so that it never shows half painted.
  TMemoryDC memory(dc);
  TBitmapHandle bitmap(GdiCheck(CreateCompatibleBitmap(dc, width, height)));
  {
    TSelectObject select(memory.Get(), bitmap.Get());
    OffsetViewportOrgEx(memory.Get(), -p.x, -p.y, nullptr);
    auto* form = dynamic_cast<TCustomForm*>(parent);
    TTeBackgroundSource* source = form ? ActiveBackgroundSource(*TopLevelForm(form)) : nullptr;
    if (source) {
      IntersectClipRect(memory.Get(), bounds.left, bounds.top, bounds.left + width, bounds.top + height);
      TMessage message{WM_ERASEBKGND, reinterpret_cast<uintptr_t>(memory.Get()), reinterpret_cast<intptr_t>(&request),
                       0};
      source->AnswerBackgroundRequest(message);
    } else {
      AskParent(*parent, memory.Get(), request);
    }
    OffsetViewportOrgEx(memory.Get(), p.x, p.y, nullptr);
    BitBlt(dc, 0, 0, width, height, memory.Get(), 0, 0, SRCCOPY);
  }
}

void BlendOverParentBackground(TControl& control, TTeBitmap& target, const TRect& area, TTeBitmap& blendBuffer,
                               int width, int height, int opacity, bool siblings) {
  blendBuffer.SetSize(width, height);
  blendBuffer.SetAlpha(255);
  PaintParentBackground(control, blendBuffer.DC(), kspDoubleBuffer, width, height, siblings);
  // Every pixel of the control takes the blending's opacity, then is mixed
  // over the background at it.
  MixOverBackground(target.Pixels(), blendBuffer.Pixels(), area, static_cast<uint8_t>(opacity));
}

}  // namespace hv
