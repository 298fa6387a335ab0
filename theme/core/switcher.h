#pragma once
// The style switcher: a drop-down list of every registered style that
// switches its engine's style when the user picks one. It sits on the least
// combo box it needs, a drop-down list over the platform's COMBOBOX whose
// items carry an object each.

#include <string>
#include <vector>

#include "framework/wincontrol.h"
#include "theme/core/themeengine.h"

namespace hv {

class TTeCustomComboBox : public TWinControl {
  HV_CLASS_NO_PROPERTIES(TTeCustomComboBox, TWinControl)

 public:
  explicit TTeCustomComboBox(TComponent* owner);
  ~TTeCustomComboBox() override;

  // The items live in the object and are mirrored into the window, so the
  // list is complete before and after the window exists.
  int ItemCount() const { return static_cast<int>(items_.size()); }
  const std::string& ItemText(int index) const { return items_.at(static_cast<size_t>(index)).text; }
  const void* ItemObject(int index) const { return items_.at(static_cast<size_t>(index)).object; }
  int AddItem(const std::string& text, const void* object);
  void ClearItems();
  // -1: nothing selected. Setting it does not count as the user's choice.
  int ItemIndex() const { return itemIndex_; }
  void SetItemIndex(int value);

  // The user picked an item.
  TNotifyEvent OnChange;

 protected:
  void CreateParams(TCreateParams& params) override;
  void CreateWnd() override;
  void WndProc(TMessage& message) override;
  virtual void Change();

 private:
  struct TItem {
    std::string text;
    const void* object;
  };
  std::vector<TItem> items_;
  int itemIndex_ = -1;
};

class TTeSwitcherComboBox : public TTeCustomComboBox, public TTeThemeLink {
  HV_CLASS(TTeSwitcherComboBox, TTeCustomComboBox)

 public:
  explicit TTeSwitcherComboBox(TComponent* owner);
  ~TTeSwitcherComboBox() override;

  TTeThemeEngine* ThemeEngine() const { return themeEngine_; }
  // Setting it, even to the same engine, rebuilds and re-selects the list:
  // that is how the engine's refresh walk makes the selection follow.
  void SetThemeEngine(TTeThemeEngine* value);
  std::string Version() const { return kThemeVersion; }
  void SetVersion(const std::string&) {}

  // The style class an item stands for.
  TTeThemeClass ItemThemeClass(int index) const { return static_cast<TTeThemeClass>(ItemObject(index)); }

  void SetParent(TWinControl* parent) override;
  void Loaded() override;

  TTeThemeEngine* LinkedThemeEngine() const override { return themeEngine_; }
  void ThemeEngineChanged(TTeThemeEngine& engine) override { SetThemeEngine(&engine); }

 protected:
  void Change() override;
  void Notification(TComponent* component, TOperation operation) override;

 private:
  void RebuildItems();
  TTeThemeEngine* themeEngine_ = nullptr;
  bool switching_ = false;  // the refresh our own switch causes must not switch again
};

}  // namespace hv
