// The label's text: its flags, drawing and measuring, the automatic size and
// the accelerator.

#include "theme/controls/label.h"

#include <windows.h>

#include "framework/gdi.h"
#include "framework/graphics.h"
#include "framework/properties.h"
#include "theme/controls/boxgeometry.h"
#include "theme/controls/markcontrol.h"
#include "theme/core/text.h"

namespace hv {

TTeCustomLabel::TTeCustomLabel(TComponent* owner) : TTeGraphicControl(owner) {
  SetControlStyle(ControlStyle().Include(csReplicatable));
  SetBounds(Left(), Top(), 65, 17);
  SetTransparent(true);
}

TTeCustomLabel::~TTeCustomLabel() { Destroying(); }

// --- properties ----------------------------------------------------------------------------

void TTeCustomLabel::SetAlignment(TAlignment value) {
  if (value == alignment_) return;
  alignment_ = value;
  Invalidate();
}

void TTeCustomLabel::SetAutoSize(bool value) {
  if (value == autoSize_) return;
  autoSize_ = value;
  AdjustBounds();
}

void TTeCustomLabel::SetFocusControl(TWinControl* value) {
  if (value == focusControl_) return;
  if (focusControl_) RemoveFreeNotification(focusControl_);
  focusControl_ = value;
  if (value) FreeNotification(value);
}

void TTeCustomLabel::SetShowAccelChar(bool value) {
  if (value == showAccelChar_) return;
  showAccelChar_ = value;
  Invalidate();
}

void TTeCustomLabel::SetLayout(TTextLayout value) {
  if (value == layout_) return;
  layout_ = value;
  Invalidate();
}

void TTeCustomLabel::SetWordWrap(bool value) {
  if (value == wordWrap_) return;
  wordWrap_ = value;
  AdjustBounds();
  Invalidate();
}

void TTeCustomLabel::Loaded() {
  TTeGraphicControl::Loaded();
  AdjustBounds();
}

void TTeCustomLabel::Notification(TComponent* component, TOperation operation) {
  TTeGraphicControl::Notification(component, operation);
  if (operation == TOperation::opRemove && component == focusControl_) focusControl_ = nullptr;
}

// --- text ------------------------------------------------------------------------------------

unsigned TTeCustomLabel::TextFlags() const {
  unsigned flags = alignment_ == TAlignment::taRightJustify ? DT_RIGHT
                   : alignment_ == TAlignment::taCenter     ? DT_CENTER
                                                            : DT_LEFT;
  if (wordWrap_) flags |= DT_WORDBREAK;
  flags |= DT_EXPANDTABS;
  if (!showAccelChar_) flags |= DT_NOPREFIX;
  return flags | ControlReadingFlags(*this);
}

void TTeCustomLabel::DrawTextOn(TCanvas& canvas, TRect& rect, unsigned flags) {
  std::string text = GetLabelText();
  // Measured, an empty text or a lone accelerator mark still takes a line.
  if ((flags & DT_CALCRECT) && (text.empty() || (showAccelChar_ && text == "&"))) text += ' ';
  if (!showAccelChar_) flags |= DT_NOPREFIX;
  canvas.SetFont(Font());
  if (flags & DT_CALCRECT) {
    DrawTextEx(canvas, text, rect, flags);
    return;
  }
  DrawCaptionText(canvas, text, rect, flags, Enabled());
}

void TTeCustomLabel::DoDrawText(TRect& rect, unsigned flags) { DrawTextOn(*Canvas(), rect, flags); }

void TTeCustomLabel::PaintClient() {
  TTeGraphicControl::PaintClient();
  TRect r = ClientRect();
  const unsigned flags = TextFlags();
  if (layout_ != tlTop) {
    TRect measured = r;
    DoDrawText(measured, flags | DT_CALCRECT);
    const int room = Height() - measured.bottom;
    r = r.Offset(0, layout_ == tlBottom ? room : room / 2);
  }
  DoDrawText(r, flags);
}

void TTeCustomLabel::AdjustBounds() {
  if (IsLoading() || !autoSize_) return;
  TMemoryDC dc;
  TCanvas canvas;
  canvas.SetHandle(dc.Get());
  TRect r = ClientRect();
  DrawTextOn(canvas, r, DT_CALCRECT | DT_EXPANDTABS | (wordWrap_ ? DT_WORDBREAK : 0));
  canvas.SetHandle(nullptr);
  // Right-aligned text keeps its right edge (mirrored when read right to
  // left).
  TAlignment effective = alignment_;
  if (UseRightToLeftAlignment() && effective != TAlignment::taCenter)
    effective = effective == TAlignment::taLeftJustify ? TAlignment::taRightJustify : TAlignment::taLeftJustify;
  int left = Left();
  if (effective == TAlignment::taRightJustify) left += Width() - r.right;
  SetBounds(left, Top(), r.right, r.bottom);
}

// --- messages ----------------------------------------------------------------------------------

void TTeCustomLabel::WndProc(TMessage& message) {
  switch (message.Msg) {
    case CM_DIALOGCHAR: return DialogChar(message);
    case CM_TEXTCHANGED:
      TTeGraphicControl::WndProc(message);
      AdjustBounds();
      Invalidate();
      return;
    case CM_FONTCHANGED:
    case CM_PARENTFONTCHANGED:
      TTeGraphicControl::WndProc(message);
      AdjustBounds();
      return;
    default:
      break;
  }
  TTeGraphicControl::WndProc(message);
}

void TTeCustomLabel::DialogChar(TMessage& message) {
  if (focusControl_ && Enabled() && showAccelChar_ &&
      IsCaptionAccelerator(static_cast<char32_t>(message.WParam), Caption())) {
    if (focusControl_->CanFocus()) focusControl_->SetFocus();
    message.Result = 1;
    return;
  }
  TTeGraphicControl::WndProc(message);
}

void TTeCustomLabel::PublishProperties(TPropertyList& p) {
  p.Enum("Alignment", &TTeCustomLabel::Alignment, &TTeCustomLabel::SetAlignment,
         {"taLeftJustify", "taRightJustify", "taCenter"}, TAlignment::taLeftJustify);
  p.Boolean("AutoSize", &TTeCustomLabel::AutoSize, &TTeCustomLabel::SetAutoSize, true);
  p.Component("FocusControl", &TTeCustomLabel::FocusControl, &TTeCustomLabel::SetFocusControl);
  p.Boolean("ShowAccelChar", &TTeCustomLabel::ShowAccelChar, &TTeCustomLabel::SetShowAccelChar, true);
  p.Enum("Layout", &TTeCustomLabel::Layout, &TTeCustomLabel::SetLayout, {"tlTop", "tlCenter", "tlBottom"}, tlTop);
  p.Boolean("WordWrap", &TTeCustomLabel::WordWrap, &TTeCustomLabel::SetWordWrap, false);
}

}  // namespace hv
