#pragma once
// A popup menu component: a tree of items that opens at a screen point. One
// themed popup menu is open in the process at a time; opening another
// closes it.

#include <memory>

#include "framework/component.h"
#include "framework/event.h"
#include "theme/core/popupmenu.h"
#include "theme/core/themeitems.h"
#include "theme/frame/formoptions.h"

namespace hv {

class TCustomImageList;
class TTeThemeEngine;

// Takes over the control's popup menu of theme/core: the same items open
// as a themed menu.
class TTeCustomPopupMenu : public TTePopupMenuBase {
  HV_CLASS(TTeCustomPopupMenu, TTePopupMenuBase)

 public:
  explicit TTeCustomPopupMenu(TComponent* owner);
  ~TTeCustomPopupMenu() override;

  TCustomImageList* Images() { return Items()->Images(); }
  void SetImages(TCustomImageList* value) { Items()->SetImages(value); }
  TTePopupMenuOptions* PopupMenuOptions() const { return options_.get(); }
  void SetPopupMenuOptions(const TTePopupMenuOptions* value) { options_->Assign(value); }

  // Opens at a screen point and returns once the menu has closed.
  virtual void Popup(int x, int y);
  // The popup menu open right now, if any.
  static TTeCustomPopupMenu* OpenMenu();
  // Closes whatever menu levels are open (the loops end as they return).
  static void CloseOpenMenus();

 private:
  std::unique_ptr<TTePopupMenuOptions> options_;
};

class TTeThemePopupMenu : public TTeCustomPopupMenu {
  HV_CLASS(TTeThemePopupMenu, TTeCustomPopupMenu)

 public:
  explicit TTeThemePopupMenu(TComponent* owner);
  ~TTeThemePopupMenu() override;

  TTeThemeEngine* ThemeEngine() const { return themeEngine_; }
  void SetThemeEngine(TTeThemeEngine* value);
  std::string Version() const;
  void SetVersion(const std::string&) {}
  void Popup(int x, int y) override;

 protected:
  std::unique_ptr<TTeCustomItem> CreateItems() override;
  void Notification(TComponent* component, TOperation operation) override;

 private:
  TTeThemeEngine* themeEngine_ = nullptr;
};

}  // namespace hv
