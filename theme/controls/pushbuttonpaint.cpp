// The push button's painting: the face in the system's visual style or in
// classic 3D lines, the focus rectangle, the glyph cell and the caption.

#include <windows.h>

#include "framework/graphics.h"
#include "theme/controls/controlpaint.h"
#include "theme/controls/markcontrol.h"
#include "theme/controls/pushbutton.h"
#include "theme/controls/speedbutton.h"
#include "theme/core/drawing.h"
#include "theme/core/text.h"
#include "theme/core/visualstyles.h"
// After <windows.h> and <uxtheme.h>, which it needs.
#include <vssym32.h>

namespace hv {

// --- geometry ---------------------------------------------------------------------------

TSize TTeCustomButton::CaptionSize(int wrapWidth) {
  TCanvas& canvas = *Canvas();
  canvas.SetFont(PaintFont());
  const std::string caption = Caption();
  const int height = TextHeightEx(canvas, caption);
  if (!wordWrap_) return {TextWidthEx(canvas, caption, 0), height};
  TRect r{0, 0, wrapWidth, height};
  DrawTextEx(canvas, caption, r, DT_CALCRECT | DT_WORDBREAK | ControlReadingFlags(*this));
  return {r.Width(), r.Height()};
}

TRect TTeCustomButton::GetContentRect2() {
  const TSize g = GlyphCellSize();
  TSize text{0, 0};
  if (wordWrap_)
    text = {PaintWidth() - spacing_ - g.cx - 10, PaintHeight() - spacing_ - g.cy - 10};
  else if (!Caption().empty())
    text = CaptionSize(0);
  return PushButtonBlock(text, g, layout_, spacing_, PaintWidth(), PaintHeight(), state_ == kbsPressed);
}

TRect TTeCustomButton::GetCaptionArea() {
  return PushButtonCaptionArea(GetContentRect2(), GlyphCellSize(), layout_, spacing_);
}

TRect TTeCustomButton::GetGlyphArea() {
  return PushButtonGlyphArea(GetContentRect2(), GlyphCellSize(), layout_, spacing_);
}

// --- painting ---------------------------------------------------------------------------

void TTeCustomButton::PaintClient() {
  TTeCustomControl::PaintClient();
  DrawButtonFace();
  DrawCaption();
  DrawGlyph();
}

void TTeCustomButton::DrawButtonFace() {
  const TRect r = GetContentRect();
  if (VisualStylesActive() && VisualStyleApi().OpenThemeData)
    DrawFaceVisualStyle(r);
  else
    DrawFaceClassic(r);
}

void TTeCustomButton::DrawFaceVisualStyle(const TRect& r) {
  TCanvas& canvas = *Canvas();
  // The rounded corners show what lies under the button.
  if (!Transparent()) PaintParentBackground(*this, canvas.Handle(), Performance(), PaintWidth(), PaintHeight(), true);
  int state = PBS_NORMAL;
  if (!Enabled())
    state = PBS_DISABLED;
  else if (state_ == kbsPressed)
    state = PBS_PRESSED;
  else if (MouseInControl())
    state = PBS_HOT;
  else if (HasFocus() || activeDefault_)
    state = PBS_DEFAULTED;
  const TVisualStyleApi& api = VisualStyleApi();
  HTHEME theme = api.OpenThemeData(nullptr, L"Button");
  if (!theme) return DrawFaceClassic(r);
  RECT rect{r.left, r.top, r.right, r.bottom};
  api.DrawThemeBackground(theme, canvas.Handle(), BP_PUSHBUTTON, state, &rect, nullptr);
  api.CloseThemeData(theme);
}

void TTeCustomButton::DrawFaceClassic(TRect r) {
  TCanvas& canvas = *Canvas();
  if (HasFocus() || activeDefault_) {
    Frame3D(canvas, r, clBlack, clBlack);
    r = r.Inflate(-1, -1);
  }
  FillRectColor(canvas, r, Color());
  if (state_ == kbsNormal) {
    Frame3D(canvas, r, clBtnHighlight, clBlack);
    r = r.Inflate(-1, -1);
    Frame3D(canvas, r, Color(), clBtnShadow);
  } else {
    Frame3D(canvas, r, clBtnShadow, clBtnShadow);
  }
  if (HasFocus()) FocusRectColor(canvas, GetContentRect().Inflate(-4, -4), clBtnShadow);
}

void TTeCustomButton::DrawGlyph() {
  if (glyph_->Empty()) return;
  int cell = 0;
  if (!Enabled() && numGlyphs_ > 1) cell = 1;
  if (state_ == kbsPressed && numGlyphs_ > 2) cell = 2;
  const TRect r = CentredIn(GlyphCellSize(), GetGlyphArea());
  DrawGlyphCell(*Canvas(), *glyph_, numGlyphs_, cell, {r.left, r.top}, blackAndWhiteGlyph_ && !MouseInControl(),
                numGlyphs_ == 1 && !Enabled());
}

void TTeCustomButton::DrawCaption() {
  const std::string caption = Caption();
  if (caption.empty()) return;
  TCanvas& canvas = *Canvas();
  const TRect area = GetCaptionArea();
  canvas.SetFont(PaintFont());
  const TSize size = CaptionSize(area.Width());
  const unsigned flags = DT_CENTER | (wordWrap_ ? DT_WORDBREAK : 0) | ControlReadingFlags(*this);
  DrawCaptionText(canvas, caption, CentredIn(size, area), flags, Enabled());
}

}  // namespace hv
