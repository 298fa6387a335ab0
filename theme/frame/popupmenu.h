#pragma once
// A popup menu component: a tree of items that opens at a screen point. One
// themed popup menu is open in the process at a time; opening another
// closes it.

#include <memory>

#include "framework/component.h"
#include "framework/event.h"
#include "theme/core/themeitems.h"
#include "theme/frame/formoptions.h"

namespace hv {

class TCustomImageList;
class TTeThemeEngine;

class TTeCustomPopupMenu : public TComponent {
  HV_CLASS(TTeCustomPopupMenu, TComponent)

 public:
  explicit TTeCustomPopupMenu(TComponent* owner);
  ~TTeCustomPopupMenu() override;

  TTeCustomItem* Items() const { return items_.get(); }
  TCustomImageList* Images() const { return items_->Images(); }
  void SetImages(TCustomImageList* value) { items_->SetImages(value); }
  TTePopupMenuOptions* PopupMenuOptions() const { return options_.get(); }
  void SetPopupMenuOptions(const TTePopupMenuOptions* value) { options_->Assign(value); }
  TNotifyEvent OnPopup;

  // Opens at a screen point and returns once the menu has closed.
  virtual void Popup(int x, int y);
  // The popup menu open right now, if any.
  static TTeCustomPopupMenu* OpenMenu();
  // Closes whatever menu levels are open (the loops end as they return).
  static void CloseOpenMenus();

 protected:
  // The class of the root item; themed menus make themed items.
  virtual std::unique_ptr<TTeCustomItem> CreateRootItem();
  void InitRoot();

 private:
  std::unique_ptr<TTeCustomItem> items_;
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
  std::unique_ptr<TTeCustomItem> CreateRootItem() override;
  void Notification(TComponent* component, TOperation operation) override;

 private:
  TTeThemeEngine* themeEngine_ = nullptr;
};

}  // namespace hv
