#include "theme/frame/popupmenu.h"

#include <windows.h>

#include "framework/application.h"
#include "framework/properties.h"
#include "framework/scoped.h"
#include "framework/wincontrol.h"
#include "theme/core/theme.h"
#include "theme/core/themeengine.h"
#include "theme/frame/itemview.h"
#include "theme/frame/popupwindow.h"
#include "theme/frame/themeitem.h"

namespace hv {

namespace {
TTeCustomPopupMenu*& OpenPopupMenu() {
  static TTeCustomPopupMenu* open = nullptr;
  return open;
}
}  // namespace

TTeCustomPopupMenu::TTeCustomPopupMenu(TComponent* owner)
    : TTePopupMenuBase(owner), options_(std::make_unique<TTePopupMenuOptions>()) {}

TTeCustomPopupMenu::~TTeCustomPopupMenu() {
  Destroying();
  if (OpenPopupMenu() == this) OpenPopupMenu() = nullptr;
}

TTeCustomPopupMenu* TTeCustomPopupMenu::OpenMenu() { return OpenPopupMenu(); }

void TTeCustomPopupMenu::CloseOpenMenus() {
  const std::vector<TTeItemView*> open = TTeItemView::OpenViews();
  for (TTeItemView* view : open) {
    view->EndAllLevels();
    if (auto* window = dynamic_cast<TTePopupWindow*>(view->Host())) window->HideNoActivate();
  }
}

void TTeCustomPopupMenu::Popup(int x, int y) {
  // One popup menu at a time: the open one ends before this one shows.
  if (OpenPopupMenu() && OpenPopupMenu() != this) CloseOpenMenus();
  TTeCustomItem* items = Items();
  const std::weak_ptr<const bool> alive = items->AliveToken();
  TScopedValue<TTeCustomPopupMenu*> open(OpenPopupMenu(), this);
  items->SetPopupOptions(options_.get());
  TComponent* owner = PopupComponent() ? PopupComponent() : Owner();
  if (auto* control = dynamic_cast<TWinControl*>(owner)) items->SetOwnerWindow(control);
  items->SetAnimateOnOpen(true);
  items->SetOpenedByProgram(true);
  // A line without a handler of its own reports itself through the menu.
  std::vector<TTeCustomItem*> pending{items};
  while (!pending.empty()) {
    TTeCustomItem* item = pending.back();
    pending.pop_back();
    for (int i = 0; i < item->Count(); ++i) pending.push_back(item->Items(i));
    if (!item->OnClick && item != items)
      item->OnClick = TTeItemNotify(
          [this](TTeCustomItem* clicked) {
            if (OnItemClick) OnItemClick(this, clicked);
          },
          "ItemClick");
  }
  if (OnPopup) OnPopup(this);
  if (alive.expired()) return;
  items->Popup(nullptr, x, y, nullptr);
}

void TTeCustomPopupMenu::PublishProperties(TPropertyList& p) {
  p.Object("PopupMenuOptions", &TTeCustomPopupMenu::PopupMenuOptions);
}

TTeThemePopupMenu::TTeThemePopupMenu(TComponent* owner) : TTeCustomPopupMenu(owner) {}

TTeThemePopupMenu::~TTeThemePopupMenu() { Destroying(); }

std::unique_ptr<TTeCustomItem> TTeThemePopupMenu::CreateItems() { return std::make_unique<TTeThemeItem>(nullptr); }

void TTeThemePopupMenu::SetThemeEngine(TTeThemeEngine* value) {
  if (themeEngine_ == value) return;
  if (themeEngine_) themeEngine_->RemoveFreeNotification(this);
  themeEngine_ = value;
  if (themeEngine_) themeEngine_->FreeNotification(this);
}

void TTeThemePopupMenu::Notification(TComponent* component, TOperation operation) {
  TTeCustomPopupMenu::Notification(component, operation);
  if (operation == TOperation::opRemove && component == themeEngine_) themeEngine_ = nullptr;
}

std::string TTeThemePopupMenu::Version() const { return kThemeVersion; }

void TTeThemePopupMenu::Popup(int x, int y) {
  // Items added since the engine was set follow it too.
  if (auto* root = dynamic_cast<TTeThemeItem*>(Items())) root->SetThemeEngine(themeEngine_);
  TTeCustomPopupMenu::Popup(x, y);
}

void TTeThemePopupMenu::PublishProperties(TPropertyList& p) {
  p.Component("ThemeEngine", &TTeThemePopupMenu::ThemeEngine, &TTeThemePopupMenu::SetThemeEngine);
  p.String("Version", &TTeThemePopupMenu::Version, &TTeThemePopupMenu::SetVersion, std::nullopt);
}

}  // namespace hv
