#include "theme/core/statuspanel.h"

#include <utility>

#include "framework/control.h"
#include "framework/messages.h"
#include "framework/sysutils.h"

namespace hv {

// ---- TTeStatusPanel ------------------------------------------------------

TTeStatusPanel::TTeStatusPanel(TControl* statusBar, TTeStatusPanelOwner* owner)
    : statusBar_(statusBar), owner_(owner) {}

TTeStatusPanel::~TTeStatusPanel() = default;

void TTeStatusPanel::SetPlace(int assignedWidth, bool visible, int left, int right) {
  assignedWidth_ = assignedWidth;
  panelVisible_ = visible;
  panelLeft_ = left;
  panelRight_ = right;
}

std::string TTeStatusPanel::DisplayName() const {
  if (!text_.empty()) return text_;
  if (control_) return "[ " + control_->Name() + " ]";
  return {};
}

void TTeStatusPanel::Changed(bool layout) {
  if (owner_) owner_->StatusPanelChanged(this, layout);
}

void TTeStatusPanel::SetAlignment(TAlignment value) {
  if (value == alignment_) return;
  alignment_ = value;
  Changed(false);
}

void TTeStatusPanel::SetImageIndex(int value) {
  if (value == imageIndex_) return;
  imageIndex_ = value;
  Changed(false);
}

void TTeStatusPanel::SetFramed(bool value) {
  if (value == framed_) return;
  framed_ = value;
  Changed(false);
}

void TTeStatusPanel::SetLayout(TTeStatusGliphLayout value) {
  if (value == layout_) return;
  layout_ = value;
  Changed(false);
}

void TTeStatusPanel::SetMargin(int value) {
  if (value == margin_) return;
  margin_ = value;
  Changed(false);
}

void TTeStatusPanel::SetMaxWidth(int value) {
  if (value == maxWidth_) return;
  maxWidth_ = value;
  width_ = std::clamp(width_, 0, std::max(0, maxWidth_));
  Changed(true);
}

void TTeStatusPanel::SetSpacing(int value) {
  if (value == spacing_) return;
  spacing_ = value;
  Changed(false);
}

void TTeStatusPanel::SetViewPriority(int value) {
  value = std::clamp(value, 0, 100);
  if (value == viewPriority_) return;
  viewPriority_ = value;
  Changed(true);
}

void TTeStatusPanel::SetStretchPriority(int value) {
  value = std::clamp(value, 0, 100);
  if (value == stretchPriority_) return;
  stretchPriority_ = value;
  Changed(true);
}

void TTeStatusPanel::SetStyle(TTeStatusPanelstyle value) {
  if (value == style_) return;
  style_ = value;
  Changed(false);
}

void TTeStatusPanel::SetShowImage(bool value) {
  if (value == showImage_) return;
  showImage_ = value;
  Changed(false);
}

void TTeStatusPanel::SetText(const std::string& value) {
  if (value == text_) return;
  text_ = value;
  Changed(false);
}

void TTeStatusPanel::SetWidth(int value) {
  value = std::clamp(value, 0, std::max(0, maxWidth_));
  if (value == width_) return;
  width_ = value;
  Changed(true);
}

void TTeStatusPanel::SetControl(TControl* value) {
  if (value == control_) return;
  if (value && statusBar_) {
    for (const TControl* c = statusBar_; c; c = c->Parent())
      if (c == value) throw EInvalidOperation("Can't insert own parent");
  }
  if (value && owner_) owner_->StatusPanelTakesControl(this, value);
  TControl* previous = std::exchange(control_, value);
  if (value && statusBar_) value->FreeNotification(statusBar_);
  if (previous) previous->Perform(CM_SHOWINGCHANGED);
  Changed(true);
}

void TTeStatusPanel::Assign(const TPersistent* source) {
  auto* panel = dynamic_cast<const TTeStatusPanel*>(source);
  if (!panel) {
    TPersistent::Assign(source);
    return;
  }
  alignment_ = panel->alignment_;
  imageIndex_ = panel->imageIndex_;
  framed_ = panel->framed_;
  layout_ = panel->layout_;
  margin_ = panel->margin_;
  maxWidth_ = panel->maxWidth_;
  spacing_ = panel->spacing_;
  viewPriority_ = panel->viewPriority_;
  stretchPriority_ = panel->stretchPriority_;
  style_ = panel->style_;
  showImage_ = panel->showImage_;
  text_ = panel->text_;
  width_ = panel->width_;
  // The control of the same name among this bar's owner's components.
  TControl* control = nullptr;
  if (panel->control_ && statusBar_ && statusBar_->Owner())
    control = dynamic_cast<TControl*>(statusBar_->Owner()->FindComponent(panel->control_->Name()));
  if (control != control_) {
    SetControl(control);
    return;
  }
  Changed(true);
}

void TTeStatusPanel::PublishProperties(TPropertyList& p) {
  p.Enum("Alignment", &TTeStatusPanel::Alignment, &TTeStatusPanel::SetAlignment,
         {"taLeftJustify", "taRightJustify", "taCenter"}, TAlignment::taLeftJustify);
  p.Component("Control", &TTeStatusPanel::Control, &TTeStatusPanel::SetControl);
  p.Boolean("Framed", &TTeStatusPanel::Framed, &TTeStatusPanel::SetFramed, true);
  p.Integer("ImageIndex", &TTeStatusPanel::ImageIndex, &TTeStatusPanel::SetImageIndex, -1);
  p.Enum("Layout", &TTeStatusPanel::Layout, &TTeStatusPanel::SetLayout, {"sglGlyphLeft", "sglGlyphRight"},
         sglGlyphLeft);
  p.Integer("Margin", &TTeStatusPanel::Margin, &TTeStatusPanel::SetMargin, 2);
  p.Integer("MaxWidth", &TTeStatusPanel::MaxWidth, &TTeStatusPanel::SetMaxWidth, 10000);
  p.Boolean("ShowImage", &TTeStatusPanel::ShowImage, &TTeStatusPanel::SetShowImage, true);
  p.Integer("Spacing", &TTeStatusPanel::Spacing, &TTeStatusPanel::SetSpacing, 4);
  p.Integer("StretchPriority", &TTeStatusPanel::StretchPriority, &TTeStatusPanel::SetStretchPriority, 0);
  p.Enum("Style", &TTeStatusPanel::Style, &TTeStatusPanel::SetStyle, {"psText", "psOwnerDraw"}, psText);
  p.String("Text", &TTeStatusPanel::Text, &TTeStatusPanel::SetText);
  p.Integer("ViewPriority", &TTeStatusPanel::ViewPriority, &TTeStatusPanel::SetViewPriority, 100);
  p.Integer("Width", &TTeStatusPanel::Width, &TTeStatusPanel::SetWidth, 50);
}

}  // namespace hv
