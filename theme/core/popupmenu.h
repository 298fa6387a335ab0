#pragma once
// The popup menu a control opens on its own behalf (a speed button's
// chevron menu): a component holding a tree of menu items, opened at a
// screen point. Until the themed menus take it over by overriding Popup,
// it opens as the platform's own popup menu built from the same items.

#include <cstdint>
#include <memory>

#include "framework/component.h"
#include "framework/event.h"

namespace hv {

class TTeCustomItem;

// Which edge of the menu lies at the point it opens at.
enum TPopupAlignment : uint8_t { paLeft, paRight, paCenter };

using TTeMenuItemEvent = TEvent<void(TObject* sender, TTeCustomItem* item)>;

class TTePopupMenuBase : public TComponent {
  HV_CLASS(TTePopupMenuBase, TComponent)

 public:
  explicit TTePopupMenuBase(TComponent* owner);
  ~TTePopupMenuBase() override;

  // The root item, made on first use by CreateItems; its children are the
  // menu's lines.
  TTeCustomItem* Items();
  TPopupAlignment Alignment() const { return alignment_; }
  void SetAlignment(TPopupAlignment value) { alignment_ = value; }
  // The component the menu was last opened for; a free notification clears it.
  TComponent* PopupComponent() const { return popupComponent_; }
  void SetPopupComponent(TComponent* value);

  // Fires OnPopup, shows the menu with its alignment's edge at the screen
  // point and waits until it closes; a chosen line fires OnItemClick.
  virtual void Popup(int x, int y);

  TNotifyEvent OnPopup;
  TTeMenuItemEvent OnItemClick;

 protected:
  virtual std::unique_ptr<TTeCustomItem> CreateItems();
  void Notification(TComponent* component, TOperation operation) override;

 private:
  std::unique_ptr<TTeCustomItem> items_;
  TPopupAlignment alignment_ = paLeft;
  TComponent* popupComponent_ = nullptr;
};

}  // namespace hv
