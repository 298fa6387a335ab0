// TTeCustomControl: the windowed base of the themed controls, its frame,
// its paint pipeline and the background it gives its children.

#include <windows.h>

#include "framework/graphics.h"
#include "framework/properties.h"
#include "framework/sysutils.h"
#include "theme/controls/controlbase.h"
#include "theme/controls/controlpaint.h"
#include "theme/core/drawing.h"
#include "theme/core/tebitmap.h"
#include "theme/core/visualstyles.h"

namespace hv {

// --- frame geometry ------------------------------------------------------------------

TRect FrameContentRect(int width, int height, int borderWidth, TTeBevelCut inner, TTeBevelCut outer,
                       TTeBevelSides sides, int bevelWidth) {
  TRect r = Rect(0, 0, width, height);
  r = Rect(r.left + borderWidth, r.top + borderWidth, r.right - borderWidth, r.bottom - borderWidth);
  const int inset = ((inner != kbvNone ? 1 : 0) + (outer != kbvNone ? 1 : 0)) * bevelWidth;
  if (sides.Contains(kbsLeft)) r.left += inset;
  if (sides.Contains(kbsTop)) r.top += inset;
  if (sides.Contains(kbsRight)) r.right -= inset;
  if (sides.Contains(kbsBottom)) r.bottom -= inset;
  return r;
}

bool BevelKindCut(TTeBevelKind kind, TTeBevelCut& cut) {
  switch (kind) {
    case kbkNone: return false;
    case kbkSingle:
    case kbkTile:
    case kbkSoft: cut = kbvLowered; return true;
    case kbkBorder: cut = kbvBorder; return true;
    case kbkFlat: cut = kbvFlatBorder; return true;
  }
  return false;
}

TBevelColors BevelColors(TTeBevelCut cut, bool outer) {
  switch (cut) {
    case kbvLowered: return outer ? TBevelColors{clBtnShadow, clBtnHighlight} : TBevelColors{cl3DDkShadow, clBtnFace};
    case kbvRaised: return outer ? TBevelColors{clBtnHighlight, cl3DDkShadow} : TBevelColors{clBtnShadow, clBtnShadow};
    case kbvBorder: return outer ? TBevelColors{cl3DDkShadow, cl3DDkShadow} : TBevelColors{clWindow, clWindow};
    case kbvFlatBorder: return outer ? TBevelColors{clBtnShadow, clBtnShadow} : TBevelColors{clBtnFace, clBtnFace};
    case kbvSpace:
    case kbvNone: break;
  }
  return {clBtnFace, clBtnFace};
}

namespace {
unsigned DrawSidesOf(TTeBevelSides sides) {
  unsigned result = 0;
  if (sides.Contains(kbsLeft)) result |= kSideLeft;
  if (sides.Contains(kbsTop)) result |= kSideTop;
  if (sides.Contains(kbsRight)) result |= kSideRight;
  if (sides.Contains(kbsBottom)) result |= kSideBottom;
  return result;
}
}  // namespace

// --- construction ----------------------------------------------------------------------

TTeCustomControl::TTeCustomControl(TComponent* owner)
    : TCustomControl(owner),
      paintFont_(std::make_unique<TFont>()),
      blending_(std::make_unique<TTeBlending>()) {
  SetControlStyle(ControlStyle().Include(csOpaque));
  SetColor(clBtnFace);
  SetBounds(0, 0, 100, 30);
  blending_->OnChange = [this](TObject*) {
    if (blending_->Enabled() && performance_ == kspNoBuffer) performance_ = kspDoubleBuffer;
    Invalidate();
  };
}

TTeCustomControl::~TTeCustomControl() {
  Destroying();
  DestroyComponents();
}

void TTeCustomControl::Loaded() {
  TCustomControl::Loaded();
  // The built-in scroll-bar slot is never switched on, so there is nothing
  // to lay out in it.
}

// --- properties -----------------------------------------------------------------------

void TTeCustomControl::SetPerformance(TTePerformance value) {
  if (value == performance_) return;
  // Blending needs a buffer to mix in.
  if (blending_->Enabled() && value == kspNoBuffer) return;
  performance_ = value;
  Invalidate();
}

void TTeCustomControl::SetTransparent(bool value) {
  if (value == transparent_) return;
  transparent_ = value;
  Invalidate();
}

void TTeCustomControl::SetBlending(const TTeBlending* value) {
  blending_->Assign(value);
  if (blending_->Enabled() && performance_ == kspNoBuffer) performance_ = kspDoubleBuffer;
  if (!IsLoading()) Invalidate();
}

void TTeCustomControl::FrameChanged() {
  BorderChanged();
  Realign();
  Invalidate();
}

void TTeCustomControl::SetBorderWidth(int value) {
  if (value == borderWidth_) return;
  borderWidth_ = value;
  FrameChanged();
}

void TTeCustomControl::SetBevelInner(TTeBevelCut value) {
  if (value == bevelInner_) return;
  bevelKind_ = kbkNone;
  bevelInner_ = value;
  FrameChanged();
}

void TTeCustomControl::SetBevelOuter(TTeBevelCut value) {
  if (value == bevelOuter_) return;
  bevelKind_ = kbkNone;
  bevelOuter_ = value;
  FrameChanged();
}

void TTeCustomControl::SetBevelSides(TTeBevelSides value) {
  if (value == bevelSides_) return;
  bevelSides_ = value;
  FrameChanged();
}

void TTeCustomControl::SetBevelKind(TTeBevelKind value) {
  if (value == bevelKind_) return;
  bevelKind_ = value;
  TTeBevelCut cut = kbvNone;
  if (BevelKindCut(value, cut)) bevelInner_ = bevelOuter_ = cut;
  FrameChanged();
}

void TTeCustomControl::SetBevelWidth(int value) {
  if (value == bevelWidth_) return;
  bevelWidth_ = value;
  FrameChanged();
}

void TTeCustomControl::SetUseVisualStyles(bool value) {
  if (value == useVisualStyles_) return;
  useVisualStyles_ = value;
  Invalidate();
}

// --- geometry ---------------------------------------------------------------------------

TRect TTeCustomControl::GetContentRect() const {
  return FrameContentRect(paintWidth_, paintHeight_, borderWidth_, bevelInner_, bevelOuter_, bevelSides_,
                          bevelWidth_);
}

TRect TTeCustomControl::ClientRect() const { return GetContentRect(); }

int TTeCustomControl::GetScrollBarSize() const { return GetSystemMetrics(SM_CYVTHUMB); }

void TTeCustomControl::SetBounds(int left, int top, int width, int height) {
  TCustomControl::SetBounds(left, top, width, height);
  paintWidth_ = width;
  paintHeight_ = height;
}

void TTeCustomControl::CreateParams(TCreateParams& params) {
  TCustomControl::CreateParams(params);
  params.style &= ~static_cast<uint32_t>(WS_HSCROLL | WS_VSCROLL);
}

// --- messages -------------------------------------------------------------------------

void TTeCustomControl::WndProc(TMessage& message) {
  switch (message.Msg) {
    case WM_ERASEBKGND: return WMEraseBkgnd(message);
    case WM_WINDOWPOSCHANGING: return WMWindowPosChanging(message);
    case WM_SETFOCUS:
      FocusEnter();
      break;
    case WM_KILLFOCUS:
      FocusExit();
      break;
    case WM_THEMECHANGED:
      Invalidate();
      break;
    default:
      break;
  }
  TCustomControl::WndProc(message);
}

void TTeCustomControl::WMEraseBkgnd(TMessage& message) {
  // The system's own erase paints nothing: everything is painted in the
  // paint itself, so nothing flickers.
  if (message.LParam != 0 && message.WParam != 0) PaintBackgroundInto(reinterpret_cast<HDC>(message.WParam));
  message.Result = 1;
}

void TTeCustomControl::WMWindowPosChanging(TMessage& message) {
  const auto* pos = reinterpret_cast<const WINDOWPOS*>(message.LParam);
  if (pos && !(pos->flags & SWP_NOSIZE)) {
    paintWidth_ = pos->cx;
    paintHeight_ = pos->cy;
  }
  DefaultHandler(message);
}

void TTeCustomControl::CMMouseEnter(TMessage& message) {
  const bool self = message.LParam == 0 || message.LParam == reinterpret_cast<intptr_t>(this);
  // Mouse capture can report one crossing twice; the control hears it once.
  if (self && MouseInControl()) return;
  TCustomControl::CMMouseEnter(message);
  if (self) MouseEnter();
}

void TTeCustomControl::CMMouseLeave(TMessage& message) {
  const bool self = message.LParam == 0 || message.LParam == reinterpret_cast<intptr_t>(this);
  if (self && !MouseInControl()) return;
  TCustomControl::CMMouseLeave(message);
  if (self) MouseLeave();
}

void TTeCustomControl::FocusEnter() {
  hasFocus_ = true;
  Invalidate();
}

void TTeCustomControl::FocusExit() {
  hasFocus_ = false;
  Invalidate();
}

// --- painting ---------------------------------------------------------------------------

void TTeCustomControl::PaintBackgroundInto(HDC dc) {
  TCanvas& canvas = *Canvas();
  canvas.Lock();
  struct TUnlock {
    TCanvas& canvas;
    ~TUnlock() { canvas.Unlock(); }
  } unlock{canvas};
  TCanvasRedirect redirect(canvas);
  redirect.To(dc);
  paintFont_->Assign(Font());
  ResetCanvasTools(canvas, Color());
  if (transparent_) PaintParentBackground(*this, dc, performance_, paintWidth_, paintHeight_, blending_->Enabled());
  PaintFrame();
  PaintClient();
}

void TTeCustomControl::Paint() {
  if (Width() <= 0 || Height() <= 0 || paintWidth_ <= 0 || paintHeight_ <= 0) return;
  TCanvas& canvas = *Canvas();
  try {
    TTePaintSurface surface(performance_, paintWidth_, paintHeight_, true);
    // The canvas goes back to the screen before the surface goes: its
    // tools are put back into a context that still exists.
    TCanvasRedirect redirect(canvas);
    const HDC screen = redirect.Original();
    if (surface.Bitmap()) redirect.To(surface.Bitmap()->DC());
    paintFont_->Assign(Font());
    ResetCanvasTools(canvas, Color());
    if (transparent_)
      PaintParentBackground(*this, canvas.Handle(), performance_, paintWidth_, paintHeight_, blending_->Enabled());
    PaintExcluding(canvas, GetContentRect(), [this] { PaintFrame(); });
    PaintClient();
    if (blending_->Enabled() && surface.Bitmap()) {
      if (!blendBuffer_) blendBuffer_ = std::make_unique<TTeBitmap>();
      BlendOverParentBackground(*this, *surface.Bitmap(), surface.Area(), *blendBuffer_, paintWidth_, paintHeight_,
                                blending_->Value(), true);
    }
    surface.CopyTo(screen);
  } catch (const EOutOfResources&) {
    // No bitmap to paint in: this paint is given up, the canvas goes back to
    // the screen and whatever was made is freed; the next paint tries again.
  }
}

void TTeCustomControl::PaintClient() {
  if (transparent_) return;
  TCanvas& canvas = *Canvas();
  canvas.Brush()->SetStyle(bsSolid);
  canvas.Brush()->SetColor(Color());
  canvas.FillRect(GetContentRect());
}

void TTeCustomControl::PaintFrame() {
  const TRect outer = Rect(0, 0, paintWidth_, paintHeight_);
  const TRect content = GetContentRect();
  if (content == outer) return;
  if (useVisualStyles_ && VisualStylesActive()) return PaintFrameVisualStyle(outer, content);
  PaintFrameBevels(outer);
}

void TTeCustomControl::PaintFrameVisualStyle(const TRect& outer, const TRect& content) {
  const TVisualStyleApi& api = VisualStyleApi();
  if (!api.OpenThemeData || !api.DrawThemeBackground || !api.CloseThemeData) return;
  HTHEME theme = api.OpenThemeData(nullptr, L"Edit");
  if (!theme) return;
  const int state = !Enabled() ? 4 : hasFocus_ ? 3 : MouseInControl() ? 2 : 1;
  HDC dc = Canvas()->Handle();
  {
    TSaveDC saved(dc);
    ExcludeClipRect(dc, content.left, content.top, content.right, content.bottom);
    RECT r{outer.left, outer.top, outer.right, outer.bottom};
    api.DrawThemeBackground(theme, dc, 1, state, &r, nullptr);
  }
  api.CloseThemeData(theme);
}

void TTeCustomControl::PaintFrameBevels(TRect rect) {
  TCanvas& canvas = *Canvas();
  if (bevelWidth_ > 0) {
    const unsigned sides = DrawSidesOf(bevelSides_);
    if (bevelOuter_ != kbvNone) {
      const TBevelColors c = BevelColors(bevelOuter_, true);
      DrawSides(canvas, rect, sides, bevelWidth_, c.light, c.dark);
    }
    if (bevelInner_ != kbvNone) {
      const TBevelColors c = BevelColors(bevelInner_, false);
      DrawSides(canvas, rect, sides, bevelWidth_, c.light, c.dark);
    }
  }
  for (int i = 0; i < borderWidth_ && !rect.IsEmpty(); ++i) {
    OutlineRect(canvas, rect, Color());
    rect = Rect(rect.left + 1, rect.top + 1, rect.right - 1, rect.bottom - 1);
  }
}

void TTeCustomControl::PublishFrameProperties(TPropertyList& p) {
  static const std::vector<std::string_view> kCuts{"kbvNone",  "kbvLowered", "kbvRaised",
                                                   "kbvSpace", "kbvBorder",  "kbvFlatBorder"};
  p.Enum("BevelInner", &TTeCustomControl::BevelInner, &TTeCustomControl::SetBevelInner, kCuts, kbvLowered);
  p.Enum("BevelOuter", &TTeCustomControl::BevelOuter, &TTeCustomControl::SetBevelOuter, kCuts, kbvLowered);
  p.Set("BevelSides", &TTeCustomControl::BevelSides, &TTeCustomControl::SetBevelSides,
        {"kbsLeft", "kbsTop", "kbsRight", "kbsBottom"}, kAllBevelSides);
  p.Enum("BevelKind", &TTeCustomControl::BevelKind, &TTeCustomControl::SetBevelKind,
         {"kbkNone", "kbkSingle", "kbkTile", "kbkSoft", "kbkBorder", "kbkFlat"}, kbkNone);
  p.Integer("BevelWidth", &TTeCustomControl::BevelWidth, &TTeCustomControl::SetBevelWidth, 0);
  p.Integer("BorderWidth", &TTeCustomControl::BorderWidth, &TTeCustomControl::SetBorderWidth, 0);
}

void TTeCustomControl::PublishProperties(TPropertyList& p) {
  p.Object("Blending", &TTeCustomControl::Blending);
  p.Enum("Performance", &TTeCustomControl::Performance, &TTeCustomControl::SetPerformance,
         {"kspNoBuffer", "kspSharedBuffer", "kspDoubleBuffer"});
  p.Boolean("Transparent", &TTeCustomControl::Transparent, &TTeCustomControl::SetTransparent);
}

}  // namespace hv
