// The frame's pixel effects: the snapshot of what lies behind the window,
// the soft shadow along its right and bottom edges, and the translucent
// frame and client background of blending.

#include <windows.h>

#include <algorithm>
#include <random>

#include "framework/application.h"
#include "framework/forms.h"
#include "theme/core/colors.h"
#include "theme/core/tebitmap.h"
#include "theme/core/timing.h"
#include "theme/frame/themeform.h"
#include "theme/frame/transition.h"

namespace hv {

namespace {

constexpr uint32_t kShadowColor = 0x003F3F3F;  // RGB 63, 63, 63 without its alpha

uint32_t ShadowPixel(uint8_t alpha) { return (uint32_t{alpha} << 24) | kShadowColor; }

// The four fills that fade a shadow strip over its three outermost lines:
// R shrinks by one pixel towards its inner corner after each, and the
// pixel at its outer corner tapers the strip's end diagonally.
void FadedFill(TTeBitmap& bitmap, TRect r, bool right, bool bottom) {
  static constexpr uint8_t kFills[] = {8, 58, 108, 128};
  static constexpr uint8_t kCorners[] = {8, 8, 58};
  bitmap.FillRect(r, ShadowPixel(kFills[0]));
  for (int step = 0; step < 3; ++step) {
    const int x = right ? r.right - 1 : r.left;
    const int y = bottom ? r.bottom - 1 : r.top;
    bitmap.SetAlphaRect(kCorners[step], Rect(x, y, x + 1, y + 1));
    if (right)
      --r.right;
    else
      ++r.left;
    if (bottom)
      --r.bottom;
    else
      ++r.top;
    bitmap.FillRect(r, ShadowPixel(kFills[step + 1]));
  }
}

}  // namespace

void TTeCustomForm::CaptureBackground(const TRect& r) {
  if (!OwnerForm() || r == lastCapture_ || captureSuppressed_ || r.IsEmpty()) return;
  if (!blending_->Enabled() && (windowState_ == kwsMaximized || previousState_ == kwsMaximized)) {
    if (previousState_ == kwsMaximized) previousState_ = kwsNormal;
    return;
  }
  auto fresh = std::make_unique<TTeBitmap>();
  fresh->SetSize(r.Width(), r.Height());
  TScreenDC screen;
  auto fromScreen = [&](const TRect& part) {
    if (part.IsEmpty()) return;
    BitBlt(fresh->DC(), part.left - r.left, part.top - r.top, part.Width(), part.Height(), screen.Get(), part.left,
           part.top, SRCCOPY);
  };
  // Where the window stood before, the screen shows the window itself: that
  // part comes from the old snapshot.
  const TRect overlap = snapshot_ && !snapshot_->Empty() ? Intersect(r, lastCapture_) : TRect{};
  if (overlap.IsEmpty()) {
    fromScreen(r);
  } else {
    BitBlt(fresh->DC(), overlap.left - r.left, overlap.top - r.top, overlap.Width(), overlap.Height(), snapshot_->DC(),
           overlap.left - lastCapture_.left, overlap.top - lastCapture_.top, SRCCOPY);
    fromScreen(Rect(r.left, r.top, overlap.left, r.bottom));
    fromScreen(Rect(overlap.left, r.top, overlap.right, overlap.top));
    fromScreen(Rect(overlap.right, r.top, r.right, r.bottom));
    fromScreen(Rect(overlap.left, overlap.bottom, overlap.right, r.bottom));
  }
  fresh->SetAlpha(255);
  snapshot_ = std::move(fresh);
  lastCapture_ = r;
}

TRect TTeCustomForm::ScreenRectOf(const void* windowPos) const {
  const auto* pos = static_cast<const WINDOWPOS*>(windowPos);
  RECT now{};
  GetWindowRect(pos->hwnd, &now);
  POINT topLeft{pos->x, pos->y};
  if (pos->flags & SWP_NOMOVE) {
    topLeft = {now.left, now.top};
  } else if ((GetWindowLongPtrW(pos->hwnd, GWL_STYLE) & WS_CHILD) && GetParent(pos->hwnd)) {
    MapWindowPoints(GetParent(pos->hwnd), nullptr, &topLeft, 1);
  }
  const int w = pos->flags & SWP_NOSIZE ? now.right - now.left : pos->cx;
  const int h = pos->flags & SWP_NOSIZE ? now.bottom - now.top : pos->cy;
  return Bounds(topLeft.x, topLeft.y, w, h);
}

void TTeCustomForm::PaintShadow(TTeBitmap& bitmap) {
  const int s = shadow_->Size(), w = windowWidth_, h = windowHeight_;
  const TRect cr = GetFrameClientRect();
  const bool background = snapshot_ && !snapshot_->Empty();
  auto compose = [&](const TRect& part) {
    if (background) bitmap.UnderlayFrom(*snapshot_, part.left, part.top, part);
  };
  TCustomForm* form = OwnerForm();
  HRGN probe = CreateRectRgn(0, 0, 0, 0);
  const bool shaped = form && form->HandleAllocated() && GetWindowRgn(form->HandleIfAllocated(), probe) != ERROR;
  DeleteObject(probe);
  if (shaped) {
    // Under a shaped frame's cut-out corners the shadow shows too.
    for (const TRect& part : {Rect(s, s, frameWidth_, cr.top), Rect(s, s, cr.left, h)}) {
      bitmap.FillRect(part, ShadowPixel(128));
      compose(part);
    }
  }
  bitmap.FillRect(Rect(cr.right, 0, w, s), kTransparentMarker);
  FadedFill(bitmap, Rect(cr.right, s, w, cr.bottom), true, false);
  compose(Rect(cr.right, 0, w, h));
  bitmap.FillRect(Rect(0, cr.bottom, s, h), kTransparentMarker);
  FadedFill(bitmap, Rect(s, cr.bottom, frameWidth_, h), false, true);
  compose(Rect(0, cr.bottom, cr.right, h));
  const TRect corner = Rect(cr.right, cr.bottom, w, h);
  FadedFill(bitmap, corner, true, true);
  compose(corner);
}

void TTeCustomForm::BlendArea(TTeBitmap& bitmap, const TRect& area, int dx, int dy) {
  if (area.IsEmpty()) return;
  bitmap.SetAlphaRect(static_cast<uint8_t>(blending_->Value()), area);
  if (snapshot_ && !snapshot_->Empty()) bitmap.UnderlayFrom(*snapshot_, area.left, area.top, area.Offset(dx, dy));
}

void TTeCustomForm::BlendFrame(TTeBitmap& bitmap) {
  const TRect cr = GetFrameClientRect();
  const int w = frameWidth_, h = frameHeight_;
  BlendArea(bitmap, Rect(0, 0, w, cr.top), 0, 0);
  BlendArea(bitmap, Rect(0, cr.bottom, w, h), 0, 0);
  BlendArea(bitmap, Rect(0, cr.top, cr.left, cr.bottom), 0, 0);
  BlendArea(bitmap, Rect(cr.right, cr.top, w, cr.bottom), 0, 0);
}

void PlayTransition(HDC target, int x, int y, const TTeAnimation& options, const TTeBitmap& newImage,
                    const TTeBitmap& oldImage) {
  const TPixelBuffer fresh = newImage.Pixels(), old = oldImage.Pixels();
  if (fresh.IsEmpty() || old.IsEmpty() || fresh.width != old.width || fresh.height != old.height ||
      fresh.stride != fresh.width || old.stride != old.width)
    return;
  const int w = fresh.width, h = fresh.height;
  std::mt19937 random(GetTickCount());
  const TkeEffect effect = ResolveEffect(options.Effect(), random);
  TTeBitmap work;
  work.SetSize(w, h);
  const TPixelBuffer frame = work.Pixels();
  auto show = [&](int progress) {
    BuildTransitionFrame(effect, options.Direction(), options.Resolution(), options.TileCount(), progress, fresh.bits,
                         old.bits, frame.bits, w, h, random);
    BitBlt(target, x, y, w, h, work.DC(), 0, 0, SRCCOPY);
    GdiFlush();
  };
  // However slow a frame is, the whole takes no longer than Time.
  TTeTimer timer;
  double elapsed = 0;
  while (elapsed < options.Time()) {
    timer.Start();
    show(std::min(100, RoundHalfEven(elapsed / options.Time() * 100)));
    timer.Stop();
    elapsed += timer.ElapsedSeconds() * 1000;
  }
  // The last frame is the new image, with what lies outside its shape left
  // as it was.
  show(100);
}

void TTeCustomForm::AnimateShow(const TRect& screenRect) {
  TCustomForm* form = OwnerForm();
  if (!animation_->Enabled() || !form || !form->HandleAllocated() || screenRect.IsEmpty()) return;
  Application()->ProcessMessages();
  HWND wnd = form->HandleIfAllocated();
  struct TAnimationEnd {
    TTeCustomForm& frame;
    ~TAnimationEnd() {
      frame.animating_ = false;
      frame.animationBitmap_.reset();
    }
  } end{*this};
  animating_ = true;
  animationBitmap_ = std::make_unique<TTeBitmap>();
  animationBitmap_->SetSize(screenRect.Width(), screenRect.Height());
  lastCapture_ = {};
  CaptureBackground(screenRect);
  {
    TScopedFlag active(active_);
    PaintNonClient();
    SendMessageW(wnd, WM_ERASEBKGND, reinterpret_cast<WPARAM>(animationBitmap_->DC()), 0);
  }
  // Outside the window's shape the background shows through.
  animationBitmap_->SetAlpha(255);
  {
    TRegionHandle shape(CreateFrameRegion());
    if (ShadowVisible() && shape) {
      TRegionHandle moved(CreateFrameRegion());
      OffsetRgn(moved.Get(), shadow_->Size(), shadow_->Size());
      CombineRgn(shape.Get(), shape.Get(), moved.Get(), RGN_OR);
    }
    TTeBitmap inside;
    inside.SetSize(screenRect.Width(), screenRect.Height());
    if (shape) FillRgn(inside.DC(), shape.Get(), static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    const TPixelBuffer mask = inside.Pixels(), pixels = animationBitmap_->Pixels();
    for (int y = 0; y < pixels.height && y < mask.height; ++y)
      for (int x = 0; x < pixels.width && x < mask.width; ++x)
        if ((mask.Row(y)[x] & 0xFFFFFF) == 0) pixels.Row(y)[x] = kTransparentMarker;
  }
  // The controls, windowless ones first, at the client area's place.
  const TRect client = GetFrameClientRect();
  HDC dc = animationBitmap_->DC();
  {
    TSaveDC saved(dc);
    OffsetViewportOrgEx(dc, client.left, client.top, nullptr);
    IntersectClipRect(dc, 0, 0, client.Width(), client.Height());
    form->PaintControls(dc, nullptr);
  }
  for (int i = 0; i < form->ControlCount(); ++i)
    if (auto* child = dynamic_cast<TWinControl*>(form->Controls(i)); child && child->Visible())
      child->PaintTo(dc, client.left + child->Left(), client.top + child->Top());
  if (snapshot_ && !snapshot_->Empty()) {
    TScreenDC screen;
    PlayTransition(screen.Get(), screenRect.left, screenRect.top, *animation_, *animationBitmap_, *snapshot_);
  }
}

}  // namespace hv
