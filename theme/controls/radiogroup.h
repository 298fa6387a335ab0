#pragma once
// A themed group box that lays out one radio button per line of its Items,
// column by column, and keeps ItemIndex on the checked one.

#include <memory>
#include <vector>

#include "theme/controls/groupbox.h"
#include "theme/controls/radiobutton.h"

namespace hv {

class TStrings;
class TStringList;
class TTeThemeRadioGroup;

// A radio group's button: keys go to the group, and presses change nothing
// while the group cannot be modified.
class TTeThemeGroupButton : public TTeThemeRadioButton {
  HV_CLASS_NO_PROPERTIES(TTeThemeGroupButton, TTeThemeRadioButton)

 public:
  TTeThemeGroupButton(TComponent* owner, TTeThemeRadioGroup* group);
  explicit TTeThemeGroupButton(TComponent* owner) : TTeThemeGroupButton(owner, nullptr) {}

 protected:
  void KeyDown(uint16_t& key, TShiftState shift) override;
  void KeyPress(char16_t& key) override;
  void MarkReleased() override;

 private:
  TTeThemeRadioGroup* group_;
  bool inClick_ = false;
};

class TTeThemeRadioGroup : public TTeThemeGroupBox {
  HV_CLASS(TTeThemeRadioGroup, TTeThemeGroupBox)

 public:
  explicit TTeThemeRadioGroup(TComponent* owner);
  ~TTeThemeRadioGroup() override;

  TStrings* Items() const;
  int Columns() const { return columns_; }
  void SetColumns(int value);
  int ItemIndex() const { return itemIndex_; }
  void SetItemIndex(int value);
  bool ItemTabStop() const { return itemTabStop_; }
  void SetItemTabStop(bool value);
  // Whether the user may change the selection.
  virtual bool CanModify() const { return true; }

  int ButtonCount() const { return static_cast<int>(buttons_.size()); }
  TTeThemeGroupButton* Buttons(int index) const { return buttons_.at(static_cast<size_t>(index)); }

  void Loaded() override;

 protected:
  friend class TTeThemeGroupButton;
  void ButtonClicked(TTeThemeGroupButton* button);
  void ThemeEngineChanged() override;
  void EnabledChanged() override;
  void Resize() override;
  void WndProc(TMessage& message) override;
  void Notification(TComponent* component, TOperation operation) override;

 private:
  void ItemsChanged();
  void UpdateButtons();
  void ArrangeButtons();

  std::unique_ptr<TStringList> items_;
  std::vector<TTeThemeGroupButton*> buttons_;  // owned by the group
  int columns_ = 1;
  int itemIndex_ = -1;
  bool itemTabStop_ = true;
  bool updating_ = false;  // buttons are being rebuilt or re-checked
};

}  // namespace hv
