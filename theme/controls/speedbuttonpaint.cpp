// The speed button's painting: the plain look (the system's visual style or
// classic 3D lines), the style's look, and the glyph, caption and chevron
// arrow drawn over either.

#include <windows.h>

#include <vector>

#include "framework/graphics.h"
#include "theme/controls/speedbutton.h"
#include "theme/controls/spinbutton.h"
#include "theme/core/colors.h"
#include "theme/core/drawing.h"
#include "theme/core/text.h"
#include "theme/core/visualstyles.h"

namespace hv {

namespace {

TRect Moved(TRect r, TPoint offset) { return Rect(r.left + offset.x, r.top + offset.y, r.right + offset.x, r.bottom + offset.y); }

// A grey of all three channels v.
TColor Grey(int v) { return static_cast<TColor>(v | (v << 8) | (v << 16)); }

// A half of a spin button: its arrow comes from the visual style's spin
// part, and its classic face stays raised while idle.
bool IsSpinHalf(const TControl& button) { return dynamic_cast<const TTeCustomSpinButton*>(button.Parent()) != nullptr; }

float Lightness(TColor color) {
  float h = 0, s = 0, l = 0;
  RGBToHSL(ColorToARGB(color), h, s, l);
  return l;
}

}  // namespace

// --- the plain look -------------------------------------------------------------------

void TTeCustomSpeedButton::PaintClient() {
  // A button that is not see-through covers its whole area, whatever its
  // mode: the parent leaves an opaque control's area unpainted, so anything
  // the face leaves out would show what was on the screen before.
  if (!Transparent()) TTeGraphicControl::PaintClient();
  if (!Enabled()) state_ = ksbsDisabled;
  PaintPlainFace(true, true);
  const bool sunk = state_ == ksbsPressed || state_ == ksbsLatched;
  const TPoint content = sunk ? TPoint{1, 1} : TPoint{0, 0};
  const bool arrowSunk = state_ == ksbsLatched || state_ == ksbsChevronPressed || down_;
  const bool styleDrewArrow = VisualStylesActive() && IsSpinHalf(*this) && VisualStyleApi().OpenThemeData;
  if (showGlyph_ && !styleDrewArrow) DrawGlyph(content);
  if (showCaption_) DrawCaption(content);
  if (showChevron_) DrawChevronArrow(arrowSunk ? TPoint{1, 1} : TPoint{0, 0});
}

void TTeCustomSpeedButton::PaintPlainFace(bool buttonPart, bool chevronPart) {
  if (VisualStylesActive()) {
    PaintPlainVisualStyle(buttonPart, chevronPart && showChevron_);
    return;
  }
  // An idle spin half keeps its raised face even though it is flat.
  const bool flat = flat_;
  if (IsSpinHalf(*this) && state_ == ksbsNormal) flat_ = false;
  PaintPlainClassic(buttonPart, chevronPart && showChevron_);
  flat_ = flat;
}

void TTeCustomSpeedButton::PaintPlainVisualStyle(bool buttonPart, bool chevronPart) {
  const TVisualStyleApi& api = VisualStyleApi();
  if (!api.OpenThemeData || !api.DrawThemeBackground || !api.CloseThemeData) return;
  int state = 1;
  if (!Enabled())
    state = 4;
  else if (!flat_)
    state = state_ == ksbsPressed ? 3 : state_ == ksbsLatched ? 5 : 2;
  else if (state_ == ksbsPressed)
    state = 3;
  else if (Hovered())
    state = state_ == ksbsLatched ? 6 : 2;
  else
    state = state_ == ksbsLatched ? 5 : 1;
  HDC dc = Canvas()->Handle();
  if (IsSpinHalf(*this)) {
    HTHEME spin = api.OpenThemeData(nullptr, L"Spin");
    if (!spin) return;
    const TRect b = GetButtonRect();
    RECT r{b.left, b.top, b.right, b.bottom};
    api.DrawThemeBackground(spin, dc, Caption() == "up" ? 1 : 2, state, &r, nullptr);
    api.CloseThemeData(spin);
    return;
  }
  HTHEME theme = api.OpenThemeData(nullptr, L"Toolbar");
  if (!theme) return;
  if (buttonPart) {
    const TRect b = GetButtonRect();
    RECT r{b.left, b.top, b.right, b.bottom};
    api.DrawThemeBackground(theme, dc, 1, state, &r, nullptr);
  }
  if (chevronPart) {
    const TRect c = GetChevronRect();
    RECT r{c.left, c.top, c.right, c.bottom};
    api.DrawThemeBackground(theme, dc, 1, state_ == ksbsChevronPressed ? 3 : state, &r, nullptr);
  }
  api.CloseThemeData(theme);
}

void TTeCustomSpeedButton::PaintPlainClassic(bool buttonPart, bool chevronPart) {
  TCanvas& canvas = *Canvas();
  const TRect b = GetButtonRect();
  const TRect c = GetChevronRect();
  const bool latched = state_ == ksbsLatched;
  const bool sunk = state_ == ksbsPressed || latched;
  if (!flat_) {
    HDC dc = canvas.Handle();
    RECT face{b.left, b.top, b.right, b.bottom};
    if (buttonPart) DrawFrameControl(dc, &face, DFC_BUTTON, DFCS_BUTTONPUSH | DFCS_ADJUSTRECT | (sunk ? DFCS_PUSHED : 0));
    if (chevronPart) {
      RECT r{c.left, c.top, c.right, c.bottom};
      const bool pushed = latched || state_ == ksbsChevronPressed;
      DrawFrameControl(dc, &r, DFC_BUTTON, DFCS_BUTTONPUSH | DFCS_ADJUSTRECT | (pushed ? DFCS_PUSHED : 0));
    }
    if (buttonPart && latched)
      FillDither(canvas, Rect(face.left, face.top, face.right, face.bottom), clBtnFace, clBtnHighlight);
    return;
  }
  const bool face = Enabled() && (sunk || (Hovered() && state_ != ksbsDisabled) ||
                                  (state_ == ksbsNormal && mouseIsDown_) || state_ == ksbsChevronPressed);
  if (!face) return;
  if (!Transparent()) {
    if (buttonPart) FillRectColor(canvas, b, clBtnFace);
    if (chevronPart) FillRectColor(canvas, c, clBtnFace);
  }
  if (buttonPart) {
    if (latched && !Hovered()) FillDither(canvas, b, clBtnFace, clBtnHighlight);
    Frame3D(canvas, b, sunk ? clBtnShadow : clBtnHighlight, sunk ? clBtnHighlight : clBtnShadow);
  }
  if (chevronPart) {
    const bool chevronSunk = latched || state_ == ksbsChevronPressed || down_;
    Frame3D(canvas, c, chevronSunk ? clBtnShadow : clBtnHighlight, chevronSunk ? clBtnHighlight : clBtnShadow);
  }
}

// --- the elements over the face -----------------------------------------------------------

void DrawGlyphCell(TCanvas& canvas, const TBitmap& glyph, int numGlyphs, int cell, TPoint at, bool blackAndWhite,
                   bool greyed) {
  if (glyph.Empty() || numGlyphs <= 0) return;
  const int cellWidth = glyph.Width() / numGlyphs;
  const int height = glyph.Height();
  if (cellWidth <= 0 || height <= 0) return;
  // The strip read as 32-bit pixels, whatever its own format.
  TBitmap strip;
  strip.Assign(&glyph);
  strip.SetPixelFormat(pf32bit);
  auto pixel = [&](int x, int y) {
    const uint32_t argb = static_cast<const uint32_t*>(strip.ScanLine(y))[x];
    return ARGBToColor(argb);
  };
  const TColor transparent = pixel(0, height - 1);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < cellWidth; ++x) {
      TColor c = pixel(cell * cellWidth + x, y);
      if (c == transparent) continue;
      if (blackAndWhite) c = Grey(RoundHalfEven(Lightness(c) * 255.0));
      if (greyed) c = Grey(160 + RoundHalfEven(Lightness(c) * 50.0));
      if (c != transparent) canvas.SetPixels(at.x + x, at.y + y, c);
    }
  }
}

void TTeCustomSpeedButton::DrawGlyph(TPoint offset) {
  if (glyph_->Empty()) return;
  const TRect r = Moved(GetGlyphRect(), offset);
  int cell = 0;
  if (numGlyphs_ > 1 && state_ == ksbsDisabled) cell = 1;
  if (numGlyphs_ == 4 && state_ == ksbsLatched) cell = 3;
  if (numGlyphs_ > 2 && state_ == ksbsPressed) cell = 2;
  DrawGlyphCell(*Canvas(), *glyph_, numGlyphs_, cell, {r.left, r.top}, blackAndWhiteGlyph_ && !MouseInControl(),
                numGlyphs_ == 1 && state_ == ksbsDisabled);
}

void TTeCustomSpeedButton::DrawCaption(TPoint offset) {
  const std::string caption = Caption();
  if (caption.empty()) return;
  TCanvas& canvas = *Canvas();
  const TRect r = Moved(GetCaptionRect(), offset);
  canvas.Font()->Assign(PaintFont());
  const unsigned flags = BiDiMode() != TBiDiMode::bdLeftToRight ? kDtRtlReading : 0;
  if (state_ == ksbsDisabled) {
    canvas.Font()->SetColor(clBtnHighlight);
    DrawTextEx(canvas, caption, Moved(r, {1, 1}), flags);
    canvas.Font()->SetColor(clBtnShadow);
  }
  DrawTextEx(canvas, caption, r, flags);
}

void TTeCustomSpeedButton::DrawChevronArrow(TPoint offset) {
  const TRect a = Moved(GetChevronArrowRect(), offset);
  TCanvas& canvas = *Canvas();
  const int middle = (a.left + a.right) / 2;
  if (state_ == ksbsDisabled) {
    MoveTo(canvas, middle, a.bottom - 1);
    LineTo(canvas, a.left, a.top, clBtnShadow);
    LineTo(canvas, a.right, a.top, clBtnShadow);
    LineTo(canvas, middle, a.bottom, clBtnHighlight);
    return;
  }
  const TPoint points[] = {{a.left, a.top}, {a.right - 1, a.top}, {(a.left + a.right - 1) / 2, a.bottom - 1}};
  FillPolygon(canvas, points, clBtnText);
}

// --- the style's look ---------------------------------------------------------------------

void TTeThemeSpeedButton::PaintClient() {
  TTeTheme* theme = UsableTheme();
  if (!theme) return TTeCustomSpeedButton::PaintClient();
  if (!Transparent()) TTeGraphicControl::PaintClient();
  const TTeSpeedButtonState state = ButtonState();
  TTeElementState element = kesNormal;
  if (!Enabled())
    element = kesDisabled;
  else if (state == ksbsPressed)
    element = kesPressed;
  else if (Flat() && Hovered())
    element = kesHot;
  const bool down = state == ksbsLatched;
  TCanvas& canvas = *Canvas();
  BeginElementProbe();
  if (dynamic_cast<TTeThemeSpinButton*>(Parent()))
    theme->DrawSpinButton(canvas, GetButtonRect(), element, 0);
  else
    theme->DrawSpeedButton(canvas, GetButtonRect(), element, Flat(), down);
  const bool plainButton = ElementLeftUnpainted();
  bool plainChevron = false;
  if (ShowChevron()) {
    BeginElementProbe();
    theme->DrawSpeedButtonChevron(canvas, GetChevronRect(), element, Flat(), down);
    plainChevron = ElementLeftUnpainted();
  }
  // What the style has no element for keeps its plain look.
  if (plainButton || plainChevron) PaintPlainFace(plainButton, plainChevron);
  const TPoint content = state == ksbsPressed || down ? TPoint{1, 1} : TPoint{0, 0};
  if (ShowGlyph()) DrawGlyph(content);
  if (ShowCaption()) DrawCaption(content);
  if (plainChevron) DrawChevronArrow(down || state == ksbsChevronPressed || Down() ? TPoint{1, 1} : TPoint{0, 0});
}

}  // namespace hv
