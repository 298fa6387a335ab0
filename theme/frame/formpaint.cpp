// Painting of the frame: the non-client area through the chosen buffer,
// the system look, the caption text and icon, the client background and the
// request to paint the whole window into a foreign device context.

#include <windows.h>

#include "framework/application.h"
#include "framework/forms.h"
#include "framework/graphics.h"
#include "theme/core/backgroundrequest.h"
#include "theme/core/drawing.h"
#include "theme/core/sharedbuffer.h"
#include "theme/core/tebitmap.h"
#include "theme/core/text.h"
#include "theme/core/theme.h"
#include "theme/core/visualstyles.h"
// After <uxtheme.h>.
#include <vssym32.h>

#include "theme/frame/frameresources.h"
#include "theme/frame/themeform.h"

namespace hv {

namespace {

// The bitmap a paint goes through: a shared or persistent one lent for the
// paint, or a temporary one owned here.
class TSurface {
 public:
  TTeBitmap* bitmap = nullptr;
  void MakeTemporary(int width, int height) {
    temporary_ = std::make_unique<TTeBitmap>();
    temporary_->SetSize(width, height);
    bitmap = temporary_.get();
  }
  // A lent bitmap too small for the window is not used; a temporary one is.
  void Lend(TTeBitmap& lent, int width, int height) {
    if (lent.Width() >= width && lent.Height() >= height)
      bitmap = &lent;
    else
      MakeTemporary(width, height);
  }

 private:
  std::unique_ptr<TTeBitmap> temporary_;
};

void CopyRect(HDC target, HDC source, const TRect& r) {
  if (r.IsEmpty()) return;
  BitBlt(target, r.left, r.top, r.Width(), r.Height(), source, r.left, r.top, SRCCOPY);
}

// Paints with a canvas on a context whose clipping is changed meanwhile,
// restoring both the clipping and the canvas's own selections.
template <class F>
void WithSavedContext(TCanvas& canvas, F&& paint) {
  HDC dc = canvas.Handle();
  canvas.Refresh();
  TSaveDC saved(dc);
  // The canvas lets go of what it selected before the context is put back.
  struct TRelease {
    TCanvas& canvas;
    ~TRelease() { canvas.Refresh(); }
  } release{canvas};
  paint(dc);
}

}  // namespace

// --- the non-client area ---------------------------------------------------------

void TTeCustomForm::PaintNonClient(HRGN) {
  TCustomForm* form = OwnerForm();
  if (!form || !form->HandleAllocated() || !ControlHook()) return;
  if (MdiChildMaximized() || !paintingEnabled_) return;
  if (windowWidth_ <= 0 || windowHeight_ <= 0 || frameWidth_ <= 0 || frameHeight_ <= 0) return;
  const TRect client = GetFrameClientRect();
  if (client.left == 0 && client.top == 0 && !ShadowVisible()) return;
  HWND wnd = form->HandleIfAllocated();

  TSurface surface;
  // While the show animation runs, the frame is painted into its image only.
  const bool animation = animating_ && animationBitmap_;
  if (animation) {
    surface.bitmap = animationBitmap_.get();
  } else {
    switch (performance_) {
      case ksfpSharedBuffer:
        surface.Lend(SizedSharedBuffer(), windowWidth_, windowHeight_);
        break;
      case ksfpPersistentBuffer:
        if (!persistentBuffer_) persistentBuffer_ = std::make_unique<TTeBitmap>();
        if (persistentBuffer_->Width() < windowWidth_ || persistentBuffer_->Height() < windowHeight_)
          persistentBuffer_->SetSize(windowWidth_, windowHeight_);
        surface.Lend(*persistentBuffer_, windowWidth_, windowHeight_);
        break;
      case ksfpDoubleBuffer:
        surface.MakeTemporary(windowWidth_, windowHeight_);
        break;
      case ksfpNoBuffer:
        if (blending_->Enabled() || shadow_->Enabled()) surface.MakeTemporary(windowWidth_, windowHeight_);
        break;
    }
  }
  TWindowDC windowDC(wnd, true);
  HDC target = surface.bitmap ? surface.bitmap->DC() : windowDC.Get();
  {
    TSaveDC saved(target);
    if (surface.bitmap && ShadowVisible()) PaintShadow(*surface.bitmap);
    // The client area is never touched by the frame's painting.
    ExcludeClipRect(target, client.left, client.top, client.right, client.bottom);
    TCanvas canvas;
    TCanvasPaintScope scope(canvas, target);
    PaintFrame(canvas);
  }
  if (surface.bitmap && blending_->Enabled()) BlendFrame(*surface.bitmap);
  if (surface.bitmap && !animation) {
    HDC source = surface.bitmap->DC();
    CopyRect(windowDC.Get(), source, Rect(0, 0, windowWidth_, client.top));
    CopyRect(windowDC.Get(), source, Rect(0, client.bottom, windowWidth_, windowHeight_));
    CopyRect(windowDC.Get(), source, Rect(0, client.top, client.left, client.bottom));
    CopyRect(windowDC.Get(), source, Rect(client.right, client.top, windowWidth_, client.bottom));
  }
}

void TTeCustomForm::PaintWithCaptionStrip(TCanvas& canvas, int stripHeight, const std::function<void(TCanvas&)>& frame,
                                          const std::function<void(TCanvas&)>& caption) {
  if (performance_ != ksfpNoBuffer || stripHeight <= 0 || frameWidth_ <= 0) {
    frame(canvas);
    caption(canvas);
    return;
  }
  WithSavedContext(canvas, [&](HDC dc) {
    ExcludeClipRect(dc, 0, 0, frameWidth_, stripHeight);
    frame(canvas);
  });
  // The strip is painted whole off screen, frame included, so that text
  // and buttons never flicker over a freshly painted caption.
  TTeBitmap strip;
  strip.SetSize(frameWidth_, stripHeight);
  {
    TCanvas stripCanvas;
    TCanvasPaintScope scope(stripCanvas, strip.DC());
    frame(stripCanvas);
    caption(stripCanvas);
  }
  BitBlt(canvas.Handle(), 0, 0, frameWidth_, stripHeight, strip.DC(), 0, 0, SRCCOPY);
}

// --- the system look -----------------------------------------------------------------

void TTeCustomForm::PaintFrame(TCanvas& canvas) { PaintSystemFrame(canvas); }

void TTeCustomForm::PaintSystemFrame(TCanvas& canvas) {
  if (borderStyle_ == kbsNone) return;
  const TSystemFrameMetrics& sys = SystemFrameMetrics();
  const int w = frameWidth_, h = frameHeight_;
  const TRect client = GetFrameClientRect();
  const TRect band = SystemCaptionBand(sys, Shape());
  const bool tool = borderStyle_ == kbsToolWindow;
  const TVisualStyleApi& api = VisualStyleApi();
  HTHEME theme = nullptr;
  if (sys.visualStyles && api.OpenThemeData && api.DrawThemeBackground && Handle())
    theme = api.OpenThemeData(Handle(), L"Window");

  auto frame = [&](TCanvas& c) {
    HDC dc = c.Handle();
    if (theme) {
      const int frameState = active_ ? FS_ACTIVE : FS_INACTIVE;
      const RECT left{0, client.top, client.left, client.bottom}, right{client.right, client.top, w, client.bottom},
          bottom{0, client.bottom, w, h}, top{0, 0, w, client.top};
      api.DrawThemeBackground(theme, dc, tool ? WP_SMALLFRAMELEFT : WP_FRAMELEFT, frameState, &left, nullptr);
      api.DrawThemeBackground(theme, dc, tool ? WP_SMALLFRAMERIGHT : WP_FRAMERIGHT, frameState, &right, nullptr);
      api.DrawThemeBackground(theme, dc, tool ? WP_SMALLFRAMEBOTTOM : WP_FRAMEBOTTOM, frameState, &bottom, nullptr);
      api.DrawThemeBackground(theme, dc, tool ? WP_SMALLCAPTION : WP_CAPTION, active_ ? CS_ACTIVE : CS_INACTIVE, &top,
                              nullptr);
      return;
    }
    RECT all{0, 0, w, h};
    DrawEdge(dc, &all, EDGE_RAISED, BF_RECT);
    FillRectXY(c, 2, 2, w - 2, client.top, clBtnFace);
    FillRectXY(c, 2, client.top, client.left, client.bottom, clBtnFace);
    FillRectXY(c, client.right, client.top, w - 2, client.bottom, clBtnFace);
    FillRectXY(c, 2, client.bottom, w - 2, h - 2, clBtnFace);
    GradientFill(c, band, active_ ? clActiveCaption : clInactiveCaption,
                 active_ ? clGradientActiveCaption : clGradientInactiveCaption, false);
  };
  auto caption = [&](TCanvas& c) {
    const int buttonWidth = band.Height() - 2;
    PaintCaptionText(c, band, tool ? SmallCaptionFont() : CaptionFont(),
                     active_ ? clCaptionText : clInactiveCaptionText, false, -1, buttonWidth, buttonWidth, false);
    for (TTeBorderIcon icon : {kbiClose, kbiSystemMenu, kbiMinimize, kbiMaximize, kbiHelp, kbiRollup, kbiTray}) {
      if (tool && icon != kbiClose) continue;
      const TRect r = GetButtonRect(icon);
      if (r.IsEmpty()) continue;
      if (icon == kbiSystemMenu)
        PaintSystemMenuIcon(c, r);
      else
        PaintSystemCaptionButton(c, icon, r);
    }
  };
  try {
    PaintWithCaptionStrip(canvas, client.top, frame, caption);
  } catch (...) {
    if (theme) api.CloseThemeData(theme);
    throw;
  }
  if (theme) api.CloseThemeData(theme);
}

void TTeCustomForm::PaintSystemCaptionButton(TCanvas& canvas, TTeBorderIcon icon, const TRect& rect) {
  const TCaptionButtonLook look = CaptionButtonLook(HitCodeOfIcon(icon), pressedCode_, hotCode_, LeftHeld(), moving_);
  HDC dc = canvas.Handle();
  RECT r{rect.left, rect.top, rect.right, rect.bottom};
  const TVisualStyleApi& api = VisualStyleApi();
  const bool styledIcon = icon == kbiClose || icon == kbiMinimize || icon == kbiMaximize || icon == kbiHelp;
  if (SystemFrameMetrics().visualStyles && styledIcon && api.OpenThemeData && api.DrawThemeBackground && Handle()) {
    if (HTHEME theme = api.OpenThemeData(Handle(), L"Window")) {
      int part = WP_CLOSEBUTTON;
      switch (icon) {
        case kbiClose:
          part = borderStyle_ == kbsToolWindow ? WP_SMALLCLOSEBUTTON : WP_CLOSEBUTTON;
          break;
        case kbiMinimize:
          part = windowState_ == kwsMinimized ? WP_RESTOREBUTTON : WP_MINBUTTON;
          break;
        case kbiMaximize:
          part = windowState_ == kwsMaximized ? WP_RESTOREBUTTON : WP_MAXBUTTON;
          break;
        default:
          part = WP_HELPBUTTON;
          break;
      }
      // Normal 1, hot 2, pushed 3, inactive 5: the same for every button part.
      const int state = look.pressed ? 3 : look.hot ? 2 : !active_ ? 5 : 1;
      api.DrawThemeBackground(theme, dc, part, state, &r, nullptr);
      api.CloseThemeData(theme);
      return;
    }
  }
  const UINT pushed = look.pressed ? DFCS_PUSHED : 0;
  switch (icon) {
    case kbiClose:
      DrawFrameControl(dc, &r, DFC_CAPTION, DFCS_CAPTIONCLOSE | pushed);
      return;
    case kbiMinimize:
      DrawFrameControl(dc, &r, DFC_CAPTION,
                       (windowState_ == kwsMinimized ? DFCS_CAPTIONRESTORE : DFCS_CAPTIONMIN) | pushed);
      return;
    case kbiMaximize:
      DrawFrameControl(dc, &r, DFC_CAPTION,
                       (windowState_ == kwsMaximized ? DFCS_CAPTIONRESTORE : DFCS_CAPTIONMAX) | pushed);
      return;
    case kbiHelp:
      DrawFrameControl(dc, &r, DFC_CAPTION, DFCS_CAPTIONHELP | pushed);
      return;
    default:
      break;
  }
  // Rollup and tray: push buttons with a small black sign.
  DrawFrameControl(dc, &r, DFC_BUTTON, DFCS_BUTTONPUSH | pushed);
  const int shift = look.pressed ? 1 : 0;
  const int cx = (rect.left + rect.right) / 2 + shift, cy = (rect.top + rect.bottom) / 2 + shift;
  if (icon == kbiRollup) {
    const int dir = windowState_ == kwsRollup ? -1 : 1;
    const TPoint triangle[] = {{cx - 3, cy + 2 * dir}, {cx + 3, cy + 2 * dir}, {cx, cy - dir}};
    FillPolygon(canvas, triangle, clBlack);
  } else {
    canvas.Pen()->SetColor(clBlack);
    canvas.Brush()->SetColor(clBlack);
    canvas.Brush()->SetStyle(bsSolid);
    canvas.Ellipse(cx - 2, cy - 1, cx + 3, cy + 3);
  }
}

// --- caption text and icon -------------------------------------------------------------

void TTeCustomForm::PaintCaptionText(TCanvas& canvas, const TRect& band, const TFont& font, TColor color,
                                     bool hasShadow, TColor shadowColor, int buttonWidth, int toolButtonWidth,
                                     bool xpThemeApi) {
  TCustomForm* form = OwnerForm();
  if (!form || caption_.empty()) return;
  TRect r = CaptionTextRect(band, borderStyle_, borderIcons_);
  const int room = CaptionTextWidth(frameWidth_, r.left, Shape(), buttonWidth, toolButtonWidth, xpThemeApi);
  canvas.SetFont(&font);
  canvas.TextWidth("");  // selects the font for the measuring below
  const std::string text = EllipsizeText(canvas.Handle(), caption_, room);
  unsigned flags = DT_SINGLELINE | DT_VCENTER;
  if (form->BiDiMode() != TBiDiMode::bdLeftToRight && SysLocaleMiddleEast()) flags |= DT_RTLREADING;
  if (hasShadow) {
    r = r.Offset(1, 1);
    if (shadowColor != -1 && active_) {
      canvas.Font()->SetColor(shadowColor);
      DrawTextEx(canvas, text, r, flags);
    }
  } else {
    r = r.Offset(0, 1);
  }
  r = r.Offset(-1, -1);
  canvas.Font()->SetColor(color);
  DrawTextEx(canvas, text, r, flags);
}

void TTeCustomForm::PaintSystemMenuIcon(TCanvas& canvas, const TRect& rect) {
  const int cx = GetSystemMetrics(SM_CXSMICON), cy = GetSystemMetrics(SM_CYSMICON);
  if (!smallIcon_) {
    TCustomForm* form = OwnerForm();
    HICON source = form && form->Icon() ? form->Icon()->Handle() : nullptr;
    if (!source && Application()->Icon()) source = Application()->Icon()->Handle();
    if (!source) source = LoadIconW(nullptr, reinterpret_cast<LPCWSTR>(IDI_APPLICATION));
    smallIcon_.Reset(static_cast<HICON>(CopyImage(source, IMAGE_ICON, cx, cy, 0)));
  }
  if (!smallIcon_) return;
  DrawIconEx(canvas.Handle(), rect.left + (rect.Width() - cx) / 2, rect.top + (rect.Height() - cy) / 2,
             smallIcon_.Get(), cx, cy, 0, nullptr, DI_NORMAL);
}

// --- the client background ---------------------------------------------------------------

void TTeCustomForm::FillBackground(TColor color) { FillRectColor(*frameCanvas_, FrameClientRect(), color); }

void TTeCustomForm::PaintBackground() {
  TCustomForm* form = OwnerForm();
  FillBackground(form ? form->Color() : clBtnFace);
}

void TTeCustomForm::PaintClient(HDC dc) {
  TCanvasPaintScope scope(*frameCanvas_, dc);
  if (OnPaint && !IsLoading())
    OnPaint(this);
  else
    PaintBackground();
}

void TTeCustomForm::WMEraseBkgnd(TMessage& message) {
  TCustomForm* form = OwnerForm();
  if (form && form->FormStyle() == TFormStyle::fsMDIForm && message.LParam) return;
  if (!paintingEnabled_ || !form || !form->HandleAllocated()) return;
  if (animating_ && animationBitmap_) {
    HDC image = animationBitmap_->DC();
    const TRect frameClient = GetFrameClientRect();
    TSaveDC saved(image);
    IntersectClipRect(image, frameClient.left, frameClient.top, frameClient.right, frameClient.bottom);
    OffsetViewportOrgEx(image, frameClient.left, frameClient.top, nullptr);
    PaintClient(image);
    return;
  }
  const auto* request = reinterpret_cast<const TTeBackgroundRequest*>(message.LParam);
  // A request for the whole client area is answered as if there were none.
  if (request && request->isChildRequest == 1) request = nullptr;
  const TRect client = FrameClientRect();
  const TRect area =
      request ? Intersect(Rect(request->left, request->top, request->right, request->bottom), client) : client;
  if (area.IsEmpty()) return;

  HDC dc = reinterpret_cast<HDC>(message.WParam);
  std::unique_ptr<TWindowDC> own;
  if (!dc) {
    own = std::make_unique<TWindowDC>(form->HandleIfAllocated());
    dc = own->Get();
  }
  TSurface surface;
  switch (performance_) {
    case ksfpSharedBuffer:
      surface.Lend(SizedSharedBuffer(), client.right, client.bottom);
      break;
    case ksfpPersistentBuffer:
      if (!persistentBuffer_) persistentBuffer_ = std::make_unique<TTeBitmap>();
      if (persistentBuffer_->Width() < client.right || persistentBuffer_->Height() < client.bottom)
        persistentBuffer_->SetSize(std::max(windowWidth_, client.right), std::max(windowHeight_, client.bottom));
      surface.Lend(*persistentBuffer_, client.right, client.bottom);
      break;
    case ksfpDoubleBuffer:
      surface.MakeTemporary(client.right, client.bottom);
      break;
    case ksfpNoBuffer:
      if (blending_->Enabled()) surface.MakeTemporary(client.right, client.bottom);
      break;
  }
  if (surface.bitmap) {
    PaintClient(surface.bitmap->DC());
    if (blending_->Enabled()) {
      const TRect frameClient = GetFrameClientRect();
      BlendArea(*surface.bitmap, area, frameClient.left, frameClient.top);
    }
    CopyRect(dc, surface.bitmap->DC(), area);
    return;
  }
  TSaveDC saved(dc);
  if (request) IntersectClipRect(dc, area.left, area.top, area.right, area.bottom);
  PaintClient(dc);
}

void TTeCustomForm::AnswerBackgroundRequest(TMessage& message) {
  bool handled = false;
  BeforeMessage(message, handled);
}

void TTeCustomForm::WMPaint(TMessage& message) {
  message.Result = 0;
  TCustomForm* form = OwnerForm();
  if (!form || !form->HandleAllocated()) return;
  if (message.WParam) {
    form->Perform(WM_PAINT, message.WParam, 0);
    return;
  }
  TPaintDC paint(form->HandleIfAllocated());
  form->Perform(WM_PAINT, reinterpret_cast<uintptr_t>(paint.Get()), 0);
}

void TTeCustomForm::WMPaintWindow(TMessage& message) {
  HDC dc = reinterpret_cast<HDC>(message.LParam);
  message.Result = 0;
  if (!dc) return;
  const int x = static_cast<int16_t>(message.WParam & 0xFFFF);
  const int y = static_cast<int16_t>((message.WParam >> 16) & 0xFFFF);
  {
    // Painted as if the form were active.
    TScopedFlag active(active_);
    TSaveDC saved(dc);
    OffsetViewportOrgEx(dc, x, y, nullptr);
    {
      TCanvas canvas;
      TCanvasPaintScope scope(canvas, dc);
      PaintFrame(canvas);
    }
    const TRect client = GetFrameClientRect();
    OffsetViewportOrgEx(dc, client.left, client.top, nullptr);
    PaintClient(dc);
  }
  message.Result = 1;
}

}  // namespace hv
