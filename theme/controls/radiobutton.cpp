#include "theme/controls/radiobutton.h"

#include <windows.h>

#include "framework/graphics.h"
#include "theme/core/themeengine.h"

namespace hv {

// ---- TTeCustomRadioButton --------------------------------------------------

TTeCustomRadioButton::TTeCustomRadioButton(TComponent* owner) : TTeCustomMarkControl(owner) {
  SetCaption("RadioButton");
  SetTabStop(false);
}

void TTeCustomRadioButton::SetChecked(bool value) {
  if (value == checked_) return;
  SetTabStop(value);
  checked_ = value;
  if (value) {
    UncheckSiblings();
    Click();
  }
  Invalidate();
}

void TTeCustomRadioButton::UncheckSiblings() {
  TWinControl* parent = Parent();
  if (!parent) return;
  for (int i = 0; i < parent->ControlCount(); ++i) {
    auto* other = dynamic_cast<TTeCustomRadioButton*>(parent->Controls(i));
    if (other && other != this && other->groupIndex_ == groupIndex_) other->SetChecked(false);
  }
}

void TTeCustomRadioButton::AcceleratorPressed(bool hadFocus) {
  if (hadFocus) SetChecked(true);
}

void TTeCustomRadioButton::FocusEnter() {
  inherited::FocusEnter();
  SetChecked(true);
}

void TTeCustomRadioButton::DrawMark() {
  unsigned classic = checked_ ? DFCS_CHECKED : 0;
  if (!Enabled()) classic |= DFCS_INACTIVE;
  DrawSystemMark(*Canvas(), MarkRect(), true, RadioVisualStyleState(checked_, Enabled(), MarkPressed(), MouseInControl()),
                 classic);
}

void TTeCustomRadioButton::PublishProperties(TPropertyList& p) {
  p.Boolean("Checked", &TTeCustomRadioButton::Checked, &TTeCustomRadioButton::SetChecked, false);
  p.Integer("GroupIndex", &TTeCustomRadioButton::GroupIndex, &TTeCustomRadioButton::SetGroupIndex, 0);
  p.Boolean("ItemTabStop", &TTeCustomRadioButton::ItemTabStop, &TTeCustomRadioButton::SetItemTabStop, true);
}

// ---- TTeThemeRadioButton ---------------------------------------------------

TTeThemeRadioButton::TTeThemeRadioButton(TComponent* owner) : TTeCustomRadioButton(owner) {}

void TTeThemeRadioButton::SetThemeEngine(TTeThemeEngine* value) {
  themeLink_.Set(value);
  Invalidate();
}

bool TTeThemeRadioButton::Themed() const { return UsableTheme() != nullptr; }

TSize TTeThemeRadioButton::GetMarkSize() {
  TTeTheme* theme = UsableTheme();
  if (!theme) return inherited::GetMarkSize();
  BeginElementProbe();
  const TSize size{theme->GetSize(ktsRadioWidth), theme->GetSize(ktsRadioHeight)};
  // A style without the element, or without its size, leaves the plain mark.
  return ElementLeftUnpainted() || size.cx <= 0 || size.cy <= 0 ? inherited::GetMarkSize() : size;
}

bool TTeThemeRadioButton::MarkAtLeft() const { return Themed() || inherited::MarkAtLeft(); }

void TTeThemeRadioButton::DrawMark() {
  TTeTheme* theme = UsableTheme();
  if (!theme) return inherited::DrawMark();
  const auto state = static_cast<TTeElementState>(MarkElementState(Enabled(), MarkPressed(), MouseInControl()));
  BeginElementProbe();
  theme->DrawRadioButton(*Canvas(), MarkRect(), state, Checked());
  if (ElementLeftUnpainted()) inherited::DrawMark();
}

void TTeThemeRadioButton::Loaded() {
  inherited::Loaded();
  Invalidate();
}

void TTeThemeRadioButton::Notification(TComponent* component, TOperation operation) {
  inherited::Notification(component, operation);
  if (operation == TOperation::opRemove && themeLink_.Forget(component)) Invalidate();
}

void TTeThemeRadioButton::PublishProperties(TPropertyList& p) {
  p.Component("ThemeEngine", &TTeThemeRadioButton::ThemeEngine, &TTeThemeRadioButton::SetThemeEngine);
  p.String("Version", &TTeThemeRadioButton::Version, &TTeThemeRadioButton::SetVersion, std::nullopt);
}

}  // namespace hv
