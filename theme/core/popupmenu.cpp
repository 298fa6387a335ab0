#include "theme/core/popupmenu.h"

#include <windows.h>

#include <vector>

#include "framework/control.h"
#include "framework/properties.h"
#include "framework/winstring.h"
#include "framework/wincontrol.h"
#include "theme/core/themeitems.h"

namespace hv {

namespace {

struct TMenuDeleter {
  void operator()(HMENU menu) const { DestroyMenu(menu); }
};
using TMenuHandle = std::unique_ptr<std::remove_pointer_t<HMENU>, TMenuDeleter>;

// The platform menu of an item's children; each chosen line answers its
// place in `lines` plus one.
TMenuHandle BuildMenu(const TTeCustomItem& parent, std::vector<TTeCustomItem*>& lines) {
  TMenuHandle menu(CreatePopupMenu());
  if (!menu) return menu;
  for (int i = 0; i < parent.Count(); ++i) {
    TTeCustomItem* item = parent.Items(i);
    if (item->IsSeparator()) {
      AppendMenuW(menu.get(), MF_SEPARATOR, 0, nullptr);
      continue;
    }
    const UINT state = (item->Enabled() ? MF_ENABLED : MF_GRAYED) | (item->Checked() ? MF_CHECKED : 0);
    const std::wstring caption = Widen(item->Caption());
    if (item->Count() > 0) {
      TMenuHandle sub = BuildMenu(*item, lines);
      if (sub && AppendMenuW(menu.get(), MF_POPUP | state, reinterpret_cast<UINT_PTR>(sub.get()), caption.c_str()))
        sub.release();  // the parent menu frees it now
      continue;
    }
    lines.push_back(item);
    AppendMenuW(menu.get(), MF_STRING | state, lines.size(), caption.c_str());
  }
  return menu;
}

// A window of this thread for the menu to report to: the window of the
// control it opens for, else the active one.
HWND MenuOwner(TComponent* component) {
  for (auto* control = dynamic_cast<TControl*>(component); control; control = control->Parent())
    if (auto* windowed = dynamic_cast<TWinControl*>(control); windowed && windowed->HandleAllocated())
      return windowed->HandleIfAllocated();
  return GetActiveWindow();
}

}  // namespace

TTePopupMenuBase::TTePopupMenuBase(TComponent* owner) : TComponent(owner) {}

TTePopupMenuBase::~TTePopupMenuBase() { Destroying(); }

std::unique_ptr<TTeCustomItem> TTePopupMenuBase::CreateItems() { return std::make_unique<TTeCustomItem>(nullptr); }

TTeCustomItem* TTePopupMenuBase::Items() {
  if (!items_) items_ = CreateItems();
  return items_.get();
}

void TTePopupMenuBase::SetPopupComponent(TComponent* value) {
  if (value == popupComponent_) return;
  if (popupComponent_) RemoveFreeNotification(popupComponent_);
  popupComponent_ = value;
  if (value) FreeNotification(value);
}

void TTePopupMenuBase::Notification(TComponent* component, TOperation operation) {
  TComponent::Notification(component, operation);
  if (operation == TOperation::opRemove && component == popupComponent_) popupComponent_ = nullptr;
}

void TTePopupMenuBase::Popup(int x, int y) {
  if (OnPopup) OnPopup(this);
  std::vector<TTeCustomItem*> lines;
  TMenuHandle menu = BuildMenu(*Items(), lines);
  if (!menu || lines.empty()) return;
  const UINT align = alignment_ == paRight ? TPM_RIGHTALIGN : alignment_ == paCenter ? TPM_CENTERALIGN : TPM_LEFTALIGN;
  HWND owner = MenuOwner(popupComponent_);
  const int chosen = static_cast<int>(
      TrackPopupMenu(menu.get(), align | TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_NONOTIFY, x, y, 0, owner, nullptr));
  menu.reset();
  if (chosen > 0 && chosen <= static_cast<int>(lines.size()) && OnItemClick)
    OnItemClick(this, lines[static_cast<size_t>(chosen - 1)]);
}

void TTePopupMenuBase::PublishProperties(TPropertyList& p) {
  p.Enum("Alignment", &TTePopupMenuBase::Alignment, &TTePopupMenuBase::SetAlignment,
         {"paLeft", "paRight", "paCenter"}, paLeft);
  p.Event("OnPopup", &TTePopupMenuBase::OnPopup);
}

}  // namespace hv
