#include "theme/controls/markcontrol.h"

#include <windows.h>

#include "framework/graphics.h"
#include "theme/core/drawing.h"
#include "theme/core/text.h"
#include "theme/core/theme.h"
#include "theme/core/visualstyles.h"
// After <windows.h> and <uxtheme.h>, which it needs.
#include <vssym32.h>

namespace hv {

unsigned ControlReadingFlags(const TControl& control) {
  return SysLocaleMiddleEast() && control.BiDiMode() != TBiDiMode::bdLeftToRight ? DT_RTLREADING : 0;
}

void DrawCaptionText(TCanvas& canvas, const std::string& text, const TRect& rect, unsigned flags, bool enabled) {
  if (enabled) {
    DrawTextEx(canvas, text, rect, flags);
    return;
  }
  TFont* font = canvas.Font();
  const TColor own = font->Color();
  font->SetColor(clBtnHighlight);
  DrawTextEx(canvas, text, rect.Offset(1, 1), flags);
  font->SetColor(clBtnShadow);
  DrawTextEx(canvas, text, rect, flags);
  font->SetColor(own);
}

void DrawSystemMark(TCanvas& canvas, const TRect& rect, bool radio, int visualState, unsigned classicState) {
  RECT r{rect.left, rect.top, rect.right, rect.bottom};
  const HDC dc = canvas.Handle();
  if (VisualStylesActive()) {
    const TVisualStyleApi& api = VisualStyleApi();
    if (HTHEME theme = api.OpenThemeData(nullptr, L"Button")) {
      api.DrawThemeBackground(theme, dc, radio ? BP_RADIOBUTTON : BP_CHECKBOX, visualState, &r, nullptr);
      api.CloseThemeData(theme);
      return;
    }
  }
  DrawFrameControl(dc, &r, DFC_BUTTON, (radio ? DFCS_BUTTONRADIO : DFCS_BUTTONCHECK) | classicState);
}

TTeCustomMarkControl::TTeCustomMarkControl(TComponent* owner) : TTeCustomControl(owner) {
  // Clicks are the state changes' own: the framework's click on every
  // release would fire OnClick for presses that change nothing.
  SetControlStyle(ControlStyle().Exclude(csClickEvents));
  SetBounds(Left(), Top(), 98, 20);
  SetTransparent(true);
  SetPerformance(kspDoubleBuffer);
  SetTabStop(true);
}

void TTeCustomMarkControl::SetAlignment(TTeLeftRight value) {
  if (value == alignment_) return;
  alignment_ = value;
  Invalidate();
}

void TTeCustomMarkControl::SetSpacing(int value) {
  if (value == spacing_) return;
  spacing_ = value;
  Invalidate();
}

void TTeCustomMarkControl::SetWordWrap(bool value) {
  if (value == wordWrap_) return;
  wordWrap_ = value;
  Invalidate();
}

void TTeCustomMarkControl::Click() {
  if (!IsLoading()) inherited::Click();
}

TSize TTeCustomMarkControl::GetMarkSize() { return {13, 13}; }

TRect TTeCustomMarkControl::MarkRect() {
  return hv::MarkRect(PaintWidth(), PaintHeight(), GetMarkSize(), MarkAtLeft());
}


TRect TTeCustomMarkControl::CaptionRect() {
  TCanvas& canvas = *Canvas();
  canvas.SetFont(PaintFont());
  const std::string caption = Caption();
  const TSize mark = GetMarkSize();
  TRect measured{0, 0, Width() - mark.cx - 10, TextHeightEx(canvas, caption)};
  const unsigned wrap = wordWrap_ ? DT_WORDBREAK : 0;
  DrawTextEx(canvas, caption, measured, DT_CALCRECT | DT_EXPANDTABS | wrap | ControlReadingFlags(*this));
  // The caption goes on the other side of wherever the mark is, so that a
  // mark kept at the left is never written over.
  const TRect area = CaptionArea(PaintWidth(), PaintHeight(), mark.cx, spacing_, MarkAtLeft());
  return PlaceCaption(measured, area);
}

void TTeCustomMarkControl::PaintClient() {
  inherited::PaintClient();
  DrawMark();
  DrawCaption();
}

void TTeCustomMarkControl::DrawCaption() {
  TCanvas& canvas = *Canvas();
  const TRect r = CaptionRect();
  const std::string caption = Caption();
  const unsigned flags = DT_EXPANDTABS | (wordWrap_ ? DT_WORDBREAK : 0) | ControlReadingFlags(*this);
  DrawCaptionText(canvas, caption, r, flags, Enabled());
  if (HasFocus()) FocusRectColor(canvas, CaptionFocusRect(r), clBtnShadow);
}

void TTeCustomMarkControl::SetMarkPressed(bool value) {
  if (value == markPressed_) return;
  markPressed_ = value;
  Invalidate();
}

void TTeCustomMarkControl::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  inherited::MouseDown(button, shift, x, y);
  if (button != TMouseButton::mbLeft) return;
  if (CanFocus()) SetFocus();
  SetMouseCapture(true);
  SetMarkPressed(true);
}

void TTeCustomMarkControl::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
  if (button == TMouseButton::mbLeft && markPressed_) {
    SetMarkPressed(false);
    SetMouseCapture(false);
    if (ReleaseCounts(x, y, PaintWidth(), PaintHeight())) MarkReleased();
  }
  inherited::MouseUp(button, shift, x, y);
}

void TTeCustomMarkControl::KeyDown(uint16_t& key, TShiftState shift) {
  inherited::KeyDown(key, shift);
  if (key == VK_SPACE) SetMarkPressed(true);
}

void TTeCustomMarkControl::KeyUp(uint16_t& key, TShiftState shift) {
  inherited::KeyUp(key, shift);
  if (key != VK_SPACE) return;
  MarkReleased();
  SetMarkPressed(false);
}

void TTeCustomMarkControl::MouseEnter() {
  inherited::MouseEnter();
  Invalidate();
}

void TTeCustomMarkControl::MouseLeave() {
  inherited::MouseLeave();
  Invalidate();
}

void TTeCustomMarkControl::WndProc(TMessage& message) {
  switch (message.Msg) {
    case CM_DIALOGCHAR:
      if (CanFocus() && IsCaptionAccelerator(static_cast<char32_t>(message.WParam), Caption())) {
        const bool hadFocus = Focused();
        if (!hadFocus) SetFocus();
        AcceleratorPressed(hadFocus);
        message.Result = 1;
        return;
      }
      break;
    case CM_ENABLEDCHANGED:
    case CM_SYSCOLORCHANGE:
      Invalidate();
      break;
    default:
      break;
  }
  inherited::WndProc(message);
}

void TTeCustomMarkControl::PublishProperties(TPropertyList& p) {
  p.Enum("Alignment", &TTeCustomMarkControl::Alignment, &TTeCustomMarkControl::SetAlignment,
         {"ktaLeftJustify", "ktaRightJustify", "ktaCenter"}, ktaLeftJustify);
  p.Integer("Spacing", &TTeCustomMarkControl::Spacing, &TTeCustomMarkControl::SetSpacing, 5);
  p.Boolean("WordWrap", &TTeCustomMarkControl::WordWrap, &TTeCustomMarkControl::SetWordWrap, false);
}

}  // namespace hv
