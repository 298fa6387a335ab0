#include "theme/controls/radiogroup.h"

#include <windows.h>

#include <algorithm>

#include "framework/application.h"
#include "framework/gdi.h"
#include "framework/graphics.h"
#include "framework/scoped.h"
#include "framework/strings.h"

namespace hv {

namespace {
int TextMetricHeight(const TFont& font) {
  TMemoryDC dc;
  TSelectObject select(dc, font.Handle());
  TEXTMETRICW metrics{};
  GetTextMetricsW(dc, &metrics);
  return metrics.tmHeight;
}
}  // namespace

// ---- TTeThemeGroupButton ---------------------------------------------------

TTeThemeGroupButton::TTeThemeGroupButton(TComponent* owner, TTeThemeRadioGroup* group)
    : TTeThemeRadioButton(owner), group_(group) {}

void TTeThemeGroupButton::KeyDown(uint16_t& key, TShiftState shift) {
  if (group_) {
    group_->KeyDown(key, shift);
    if (key == 0) return;
    if ((key == VK_SPACE || key == VK_BACK) && !group_->CanModify()) {
      key = 0;
      return;
    }
  }
  inherited::KeyDown(key, shift);
}

void TTeThemeGroupButton::KeyPress(char16_t& key) {
  if (group_) {
    group_->KeyPress(key);
    if ((key == u' ' || key == u'\b') && !group_->CanModify()) key = 0;
    if (key == 0) return;
  }
  inherited::KeyPress(key);
}

void TTeThemeGroupButton::MarkReleased() {
  if (group_ && !group_->CanModify()) return;
  if (inClick_) return;
  TScopedFlag guard(inClick_);
  // An error in the group's handlers is the application's to report; the
  // button's own message handling goes on.
  try {
    inherited::MarkReleased();
    if (group_) group_->ButtonClicked(this);
  } catch (const std::exception&) {
    Application()->HandleException(this);
  }
}

// ---- TTeThemeRadioGroup ----------------------------------------------------

TTeThemeRadioGroup::TTeThemeRadioGroup(TComponent* owner)
    : TTeThemeGroupBox(owner), items_(std::make_unique<TStringList>()) {
  items_->OnChange = [this](TObject*) { ItemsChanged(); };
}

TTeThemeRadioGroup::~TTeThemeRadioGroup() {
  Destroying();
  DestroyComponents();
}

TStrings* TTeThemeRadioGroup::Items() const { return items_.get(); }

void TTeThemeRadioGroup::SetColumns(int value) {
  value = ClampRadioColumns(value);
  if (value == columns_) return;
  columns_ = value;
  ArrangeButtons();
  Invalidate();
}

void TTeThemeRadioGroup::SetItemIndex(int value) {
  if (IsLoading()) {
    itemIndex_ = value;
    return;
  }
  value = ClampItemIndex(value, static_cast<int>(buttons_.size()));
  if (value == itemIndex_) return;
  TScopedFlag guard(updating_);
  if (itemIndex_ >= 0 && itemIndex_ < ButtonCount()) Buttons(itemIndex_)->SetChecked(false);
  itemIndex_ = value;
  if (itemIndex_ >= 0) Buttons(itemIndex_)->SetChecked(true);
}

void TTeThemeRadioGroup::SetItemTabStop(bool value) {
  if (value == itemTabStop_) return;
  itemTabStop_ = value;
  for (TTeThemeGroupButton* button : buttons_) button->SetItemTabStop(value);
}

void TTeThemeRadioGroup::ItemsChanged() {
  if (IsLoading()) return;
  itemIndex_ = std::min(itemIndex_, items_->Count() - 1);
  UpdateButtons();
}

void TTeThemeRadioGroup::UpdateButtons() {
  {
    TScopedFlag guard(updating_);
    const size_t count = static_cast<size_t>(items_->Count());
    while (buttons_.size() < count) {
      auto* button = TComponent::Create<TTeThemeGroupButton>(this, this);
      button->SetVisible(false);
      button->SetEnabled(Enabled());
      button->SetParentShowHint(false);
      button->SetTabStop(itemTabStop_);
      button->SetItemTabStop(itemTabStop_);
      button->SetParent(this);
      buttons_.push_back(button);
    }
    while (buttons_.size() > count) {
      TTeThemeGroupButton* last = buttons_.back();
      buttons_.pop_back();
      last->Free();
    }
    for (size_t i = 0; i < count; ++i) {
      TTeThemeGroupButton* button = buttons_[i];
      button->SetCaption(items_->Get(static_cast<int>(i)));
      button->SetThemeEngine(ThemeEngine());
    }
    // The checked button is set without its click reaching the group.
    for (size_t i = 0; i < count; ++i) buttons_[i]->SetChecked(static_cast<int>(i) == itemIndex_);
  }
  ArrangeButtons();
  Invalidate();
}

void TTeThemeRadioGroup::ArrangeButtons() {
  if (buttons_.empty() || IsLoading()) return;
  TRadioGroupMetrics m;
  m.count = ButtonCount();
  m.columns = columns_;
  m.width = Width();
  m.height = Height();
  m.textHeight = TextMetricHeight(*Font());
  m.clientWidth = ClientWidth();
  m.rightToLeft = UseRightToLeftAlignment();
  const std::vector<TRect> rects = RadioGroupButtonRects(m);
  for (size_t i = 0; i < rects.size(); ++i) buttons_[i]->SetBoundsRect(rects[i]);
  for (TTeThemeGroupButton* button : buttons_) button->Show();
}

void TTeThemeRadioGroup::ButtonClicked(TTeThemeGroupButton* button) {
  if (updating_) return;
  auto it = std::find(buttons_.begin(), buttons_.end(), button);
  if (it == buttons_.end()) return;
  SetItemIndex(static_cast<int>(it - buttons_.begin()));
  // The focus follows only to a button the user can see and reach.
  bool reachable = true;
  const TWinControl* top = this;
  for (const TControl* c = button; c; c = c->Parent()) {
    if (!c->Visible()) reachable = false;
    if (!c->Parent()) top = dynamic_cast<const TWinControl*>(c);
  }
  if (reachable && top && top->Enabled() && button->CanFocus()) button->SetFocus();
  Perform(CM_CHANGED);
  Click();
}

void TTeThemeRadioGroup::ThemeEngineChanged() {
  inherited::ThemeEngineChanged();
  if (!IsLoading()) UpdateButtons();
}

void TTeThemeRadioGroup::EnabledChanged() {
  inherited::EnabledChanged();
  for (TTeThemeGroupButton* button : buttons_) button->SetEnabled(Enabled());
}

void TTeThemeRadioGroup::Resize() {
  inherited::Resize();
  ArrangeButtons();
}

void TTeThemeRadioGroup::Loaded() {
  inherited::Loaded();
  itemIndex_ = ClampItemIndex(itemIndex_, items_->Count());
  UpdateButtons();
}

void TTeThemeRadioGroup::WndProc(TMessage& message) {
  inherited::WndProc(message);
  if (message.Msg == CM_FONTCHANGED) ArrangeButtons();
}

void TTeThemeRadioGroup::Notification(TComponent* component, TOperation operation) {
  inherited::Notification(component, operation);
  if (operation != TOperation::opRemove) return;
  auto it = std::find(buttons_.begin(), buttons_.end(), component);
  if (it != buttons_.end()) buttons_.erase(it);
}

void TTeThemeRadioGroup::PublishProperties(TPropertyList& p) {
  p.Integer("Columns", &TTeThemeRadioGroup::Columns, &TTeThemeRadioGroup::SetColumns, 1);
  p.Integer("ItemIndex", &TTeThemeRadioGroup::ItemIndex, &TTeThemeRadioGroup::SetItemIndex, -1);
  p.Strings("Items", &TTeThemeRadioGroup::Items);
  p.Boolean("ItemTabStop", &TTeThemeRadioGroup::ItemTabStop, &TTeThemeRadioGroup::SetItemTabStop, true);
}

}  // namespace hv
