#pragma once
// The demonstration's window: every themed control of the family on one
// form, linked to the form's engine, with a style switcher. The engine and
// the themed frame come from the stored layout (TFrmControls.layout); the
// controls are made once it is read.

#include "framework/forms.h"

namespace hv {

class TTeCustomEdit;
class TTeCustomItem;
class TTeSwitcherComboBox;
class TTeThemeEngine;
class TTeThemePopupMenu;
class TTeThemeStatusBar;

class TFrmControls : public TForm {
  HV_CLASS_NO_PROPERTIES(TFrmControls, TForm)

 public:
  explicit TFrmControls(TComponent* owner);

  TTeThemeEngine& Engine() const { return *engine_; }
  // The first edit box, with its sample text.
  TTeCustomEdit* Edit() const { return edit_; }
  TTeSwitcherComboBox* Switcher() const { return switcher_; }
  // The status bar names the style, whoever switched it.
  void ShowStyle();

 private:
  void BuildStatusBar();
  void BuildMenuBar();
  void BuildToolBar();
  TTeThemePopupMenu* BuildChevronMenu();
  // An item that says in the status bar that it was chosen.
  TTeCustomItem* MenuItem(TTeCustomItem& parent, const char* caption);
  void BuildTree();
  void BuildOptions();
  void BuildScrollBars();
  void BuildEdits();
  TTeCustomEdit* PlainEdit(int left, int top, int width);
  void BuildPushButtons();
  void BuildSwitcher();
  void ShowPosition(int position);

  TTeThemeEngine* engine_ = nullptr;
  TTeThemeStatusBar* status_ = nullptr;
  TTeSwitcherComboBox* switcher_ = nullptr;
  TTeCustomEdit* edit_ = nullptr;
};

}  // namespace hv
