#include "theme/controls/checkbox.h"

#include <windows.h>

#include "framework/graphics.h"
#include "theme/core/themeengine.h"

namespace hv {

// ---- TTeCustomCheckBox -----------------------------------------------------

TTeCustomCheckBox::TTeCustomCheckBox(TComponent* owner) : TTeCustomMarkControl(owner) { SetCaption("CheckBox"); }

void TTeCustomCheckBox::SetState(TCheckBoxState value) {
  if (value == state_) return;
  state_ = value;
  Click();
  Invalidate();
}

void TTeCustomCheckBox::Toggle() { SetState(static_cast<TCheckBoxState>(ToggleCheckState(state_, allowGrayed_))); }

void TTeCustomCheckBox::AcceleratorPressed(bool hadFocus) {
  if (hadFocus) Toggle();
}

void TTeCustomCheckBox::DrawMark() {
  unsigned classic = 0;
  if (state_ == cbChecked) classic |= DFCS_CHECKED;
  if (state_ == cbGrayed) classic |= DFCS_CHECKED | DFCS_BUTTON3STATE;
  if (!Enabled()) classic |= DFCS_INACTIVE;
  DrawSystemMark(*Canvas(), MarkRect(), false,
                 CheckBoxVisualStyleState(state_, Enabled(), MarkPressed(), MouseInControl()), classic);
}

void TTeCustomCheckBox::PublishProperties(TPropertyList& p) {
  p.Boolean("AllowGrayed", &TTeCustomCheckBox::AllowGrayed, &TTeCustomCheckBox::SetAllowGrayed, false);
  p.Enum("State", &TTeCustomCheckBox::State, &TTeCustomCheckBox::SetState, {"cbUnchecked", "cbChecked", "cbGrayed"},
         cbUnchecked);
  p.Boolean("TabStop", &TTeCustomCheckBox::TabStop, &TTeCustomCheckBox::SetTabStop, true);
}

// ---- TTeThemeCheckBox ------------------------------------------------------

TTeThemeCheckBox::TTeThemeCheckBox(TComponent* owner) : TTeCustomCheckBox(owner) {}

void TTeThemeCheckBox::SetThemeEngine(TTeThemeEngine* value) {
  themeLink_.Set(value);
  Invalidate();
}

bool TTeThemeCheckBox::Themed() const { return UsableTheme() != nullptr; }

TSize TTeThemeCheckBox::GetMarkSize() {
  TTeTheme* theme = UsableTheme();
  if (!theme) return inherited::GetMarkSize();
  BeginElementProbe();
  const TSize size{theme->GetSize(ktsCheckWidth), theme->GetSize(ktsCheckHeight)};
  // A style without the element, or without its size, leaves the plain mark.
  return ElementLeftUnpainted() || size.cx <= 0 || size.cy <= 0 ? inherited::GetMarkSize() : size;
}

void TTeThemeCheckBox::DrawMark() {
  TTeTheme* theme = UsableTheme();
  if (!theme) return inherited::DrawMark();
  const auto state = static_cast<TTeElementState>(MarkElementState(Enabled(), MarkPressed(), MouseInControl()));
  BeginElementProbe();
  theme->DrawCheckBox(*Canvas(), MarkRect(), state, State());
  if (ElementLeftUnpainted()) inherited::DrawMark();
}

void TTeThemeCheckBox::Loaded() {
  inherited::Loaded();
  Invalidate();
}

void TTeThemeCheckBox::Notification(TComponent* component, TOperation operation) {
  inherited::Notification(component, operation);
  if (operation == TOperation::opRemove && themeLink_.Forget(component)) Invalidate();
}

void TTeThemeCheckBox::PublishProperties(TPropertyList& p) {
  p.Component("ThemeEngine", &TTeThemeCheckBox::ThemeEngine, &TTeThemeCheckBox::SetThemeEngine);
  p.String("Version", &TTeThemeCheckBox::Version, &TTeThemeCheckBox::SetVersion, std::nullopt);
}

}  // namespace hv
