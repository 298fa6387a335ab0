// The push button's behaviour: the press by mouse and space bar, the kinds,
// the default and cancel roles, the modal result and the glyph strip.

#include "theme/controls/pushbutton.h"

#include <windows.h>

#include <algorithm>
#include <array>

#include "framework/forms.h"
#include "framework/graphics.h"
#include "framework/properties.h"
#include "theme/controls/boxgeometry.h"
#include "theme/controls/speedbutton.h"

namespace hv {

int KindModalResult(TBitBtnKind kind) {
  constexpr std::array<int, 11> results = {0, mrOk, mrCancel, 0, mrYes, mrNo, 0, mrAbort, mrRetry, mrIgnore, mrAll};
  const auto index = static_cast<size_t>(kind);
  return index < results.size() ? results[index] : 0;
}

TTeCustomButton::TTeCustomButton(TComponent* owner) : TTeCustomControl(owner), glyph_(std::make_unique<TBitmap>()) {
  // Clicks are the button's own: a press dragged out and back in is one.
  SetControlStyle(TControlStyle{csCaptureMouse, csSetCaption, csDoubleClicks});
  SetColor(static_cast<TColor>(ColorToRGB(clBtnFace)));
  SetPerformance(kspDoubleBuffer);
  SetBounds(Left(), Top(), 75, 25);
  SetTabStop(true);
  glyph_->OnChange = [this](TObject*) { GlyphChanged(); };
}

TTeCustomButton::~TTeCustomButton() { Destroying(); }

// --- properties -------------------------------------------------------------------------

void TTeCustomButton::SetActiveDefault(bool value) {
  if (value == activeDefault_) return;
  activeDefault_ = value;
  Invalidate();
}

void TTeCustomButton::SetBlackAndWhiteGlyph(bool value) {
  if (value == blackAndWhiteGlyph_) return;
  blackAndWhiteGlyph_ = value;
  Invalidate();
}

void TTeCustomButton::SetDefault(bool value) {
  default_ = value;
  if (HandleAllocated()) {
    // The form tells its controls who has the focus again, which puts
    // ActiveDefault right for the new value.
    if (TCustomForm* form = GetParentForm(this)) {
      TWinControl* focused = TWinControl::FindControl(GetFocus());
      if (!focused || GetParentForm(focused) != form) focused = form->ActiveControl();
      form->Perform(CM_FOCUSCHANGED, 0, reinterpret_cast<intptr_t>(focused));
    }
  }
  Invalidate();
}

void TTeCustomButton::SetKind(TBitBtnKind value) {
  if (value == kind_) return;
  kind_ = value;
  if (value == bkCustom) return;
  SetDefault(value == bkOK || value == bkYes);
  modalResult_ = KindModalResult(value);
  glyph_->Assign(ButtonGlyph(value));
  SetNumGlyphs(2);
}

void TTeCustomButton::SetNumGlyphs(int value) {
  value = std::clamp(value, 1, 4);
  if (value == numGlyphs_) return;
  numGlyphs_ = value;
  Invalidate();
}

void TTeCustomButton::SetSpacing(int value) {
  if (value == spacing_) return;
  spacing_ = value;
  Invalidate();
}

void TTeCustomButton::SetState(TTeButtonState value) {
  if (value == state_) return;
  state_ = value;
  Invalidate();
}

void TTeCustomButton::SetGlyph(const TBitmap* value) {
  if (value)
    glyph_->Assign(value);
  else
    glyph_->SetSize(0, 0);
}

void TTeCustomButton::GlyphChanged() {
  // As the speed button: a strip of a new size is cut into the square
  // images it holds.
  const TSize size{glyph_->Width(), glyph_->Height()};
  if (size.cx != glyphSize_.cx || size.cy != glyphSize_.cy) {
    glyphSize_ = size;
    if (size.cy != 0) numGlyphs_ = GlyphCountOf(size.cx, size.cy);
  }
  Invalidate();
}

void TTeCustomButton::SetLayout(TButtonLayout value) {
  if (value == layout_) return;
  layout_ = value;
  Invalidate();
}

void TTeCustomButton::SetWordWrap(bool value) {
  if (value == wordWrap_) return;
  wordWrap_ = value;
  Invalidate();
}

TSize TTeCustomButton::GlyphCellSize() const {
  if (glyph_->Empty()) return {0, 0};
  return {glyph_->Width() / numGlyphs_, glyph_->Height()};
}

// --- the click ------------------------------------------------------------------------------

void TTeCustomButton::Click() {
  if (TCustomForm* form = GetParentForm(this)) form->SetModalResult(modalResult_);
  TTeCustomControl::Click();
}

// --- messages -------------------------------------------------------------------------------

void TTeCustomButton::WndProc(TMessage& message) {
  switch (message.Msg) {
    case CM_DIALOGKEY: return DialogKey(message);
    case CM_DIALOGCHAR: return DialogChar(message);
    case CM_FOCUSCHANGED: return FocusChanged(message);
    case CM_ENABLEDCHANGED:
    case CM_TEXTCHANGED:
    case CM_SYSCOLORCHANGE:
      Invalidate();
      break;
    default:
      break;
  }
  TTeCustomControl::WndProc(message);
}

void TTeCustomButton::DialogKey(TMessage& message) {
  const auto key = static_cast<uint16_t>(message.WParam);
  const bool shifts = GetKeyState(VK_SHIFT) < 0 || GetKeyState(VK_CONTROL) < 0 || GetKeyState(VK_MENU) < 0 ||
                      (message.LParam & (1 << 29)) != 0;
  const bool mine = (key == VK_RETURN && (activeDefault_ || Focused())) || (key == VK_ESCAPE && cancel_);
  if (mine && !shifts && CanFocus()) {
    Click();
    message.Result = 1;
    return;
  }
  TTeCustomControl::WndProc(message);
}

void TTeCustomButton::DialogChar(TMessage& message) {
  if (Enabled() && Visible() && IsCaptionAccelerator(static_cast<char32_t>(message.WParam), Caption())) {
    if (CanFocus() && !IsDesigning()) SetFocus();
    Click();
    message.Result = 1;
    return;
  }
  TTeCustomControl::WndProc(message);
}

void TTeCustomButton::FocusChanged(TMessage& message) {
  auto* focused = reinterpret_cast<TControl*>(message.LParam);
  // Another button with the focus answers Enter itself.
  SetActiveDefault(dynamic_cast<TTeCustomButton*>(focused) ? false : default_);
  TTeCustomControl::WndProc(message);
}

// --- mouse and keys -------------------------------------------------------------------------

void TTeCustomButton::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  TTeCustomControl::MouseDown(button, shift, x, y);
  if (button != TMouseButton::mbLeft || !Enabled()) return;
  if (!IsDesigning() && CanFocus() && !Focused()) SetFocus();
  state_ = kbsPressed;
  tracking_ = true;
  Invalidate();
}

void TTeCustomButton::MouseMove(TShiftState shift, int x, int y) {
  TTeCustomControl::MouseMove(shift, x, y);
  if (tracking_) SetState(ClientRect().Contains({x, y}) ? kbsPressed : kbsNormal);
}

void TTeCustomButton::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
  TTeCustomControl::MouseUp(button, shift, x, y);
  if (!tracking_) return;
  tracking_ = false;
  state_ = kbsNormal;
  Invalidate();
  if (Rect(0, 0, PaintWidth(), PaintHeight()).Contains({x, y})) Click();
}

void TTeCustomButton::KeyDown(uint16_t& key, TShiftState shift) {
  if (key == VK_SPACE && !shift.Contains(ssAlt)) SetState(kbsPressed);
  TTeCustomControl::KeyDown(key, shift);
}

void TTeCustomButton::KeyUp(uint16_t& key, TShiftState shift) {
  if (key == VK_SPACE) {
    SetState(kbsNormal);
    Click();
    key = 0;
    return;
  }
  TTeCustomControl::KeyUp(key, shift);
}

void TTeCustomButton::MouseEnter() {
  TTeCustomControl::MouseEnter();
  Invalidate();
}

void TTeCustomButton::MouseLeave() {
  TTeCustomControl::MouseLeave();
  Invalidate();
}

// --- published properties -----------------------------------------------------------------

void TTeCustomButton::PublishProperties(TPropertyList& p) {
  p.Boolean("ActiveDefault", &TTeCustomButton::ActiveDefault, &TTeCustomButton::SetActiveDefault, false);
  p.Boolean("BlackAndWhiteGlyph", &TTeCustomButton::BlackAndWhiteGlyph, &TTeCustomButton::SetBlackAndWhiteGlyph,
            false);
  p.Boolean("Cancel", &TTeCustomButton::Cancel, &TTeCustomButton::SetCancel, false);
  p.Boolean("Default", &TTeCustomButton::Default, &TTeCustomButton::SetDefault, false);
  p.Object("Glyph", &TTeCustomButton::Glyph);
  p.Enum("Kind", &TTeCustomButton::Kind, &TTeCustomButton::SetKind,
         {"bkCustom", "bkOK", "bkCancel", "bkHelp", "bkYes", "bkNo", "bkClose", "bkAbort", "bkRetry", "bkIgnore",
          "bkAll"},
         bkCustom);
  p.Enum("Layout", &TTeCustomButton::Layout, &TTeCustomButton::SetLayout,
         {"blGlyphLeft", "blGlyphRight", "blGlyphTop", "blGlyphBottom"}, blGlyphLeft);
  p.Integer("ModalResult", &TTeCustomButton::ModalResult, &TTeCustomButton::SetModalResult, 0);
  p.Integer("NumGlyphs", &TTeCustomButton::NumGlyphs, &TTeCustomButton::SetNumGlyphs, 1);
  p.Integer("Spacing", &TTeCustomButton::Spacing, &TTeCustomButton::SetSpacing, 4);
  p.Enum("State", &TTeCustomButton::State, &TTeCustomButton::SetState, {"kbsNormal", "kbsPressed"}, kbsNormal);
  p.Boolean("TabStop", &TTeCustomButton::TabStop, &TTeCustomButton::SetTabStop, true);
  p.Boolean("WordWrap", &TTeCustomButton::WordWrap, &TTeCustomButton::SetWordWrap, false);
}

}  // namespace hv
