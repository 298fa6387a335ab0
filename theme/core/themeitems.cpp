#include "theme/core/themeitems.h"

#include <algorithm>
#include <array>
#include <utility>

#include "framework/actions.h"
#include "framework/imagelist.h"
#include "framework/properties.h"

namespace hv {

namespace {

// Names of the keys that are neither letters, digits nor function keys, by
// the platform's virtual key codes, as menus have always written them.
constexpr std::array<std::pair<uint8_t, const char*>, 15> kKeyNames = {{
    {0x08, "BkSp"}, {0x09, "Tab"}, {0x0D, "Enter"}, {0x1B, "Esc"}, {0x20, "Space"},
    {0x21, "PgUp"}, {0x22, "PgDn"}, {0x23, "End"}, {0x24, "Home"}, {0x25, "Left"},
    {0x26, "Up"}, {0x27, "Right"}, {0x28, "Down"}, {0x2D, "Ins"}, {0x2E, "Del"},
}};

std::string KeyName(uint8_t key) {
  if ((key >= '0' && key <= '9') || (key >= 'A' && key <= 'Z')) return std::string(1, static_cast<char>(key));
  constexpr uint8_t kF1 = 0x70, kF24 = 0x87;
  if (key >= kF1 && key <= kF24) {
    std::string name(1, 'F');
    name += std::to_string(key - kF1 + 1);
    return name;
  }
  for (const auto& [code, name] : kKeyNames)
    if (code == key) return name;
  return {};
}

}  // namespace

std::string ShortCutToText(TShortCut shortCut) {
  const std::string key = KeyName(static_cast<uint8_t>(shortCut & 0xFF));
  if (key.empty()) return {};
  std::string text;
  if (shortCut & kscShift) text += "Shift+";
  if (shortCut & kscCtrl) text += "Ctrl+";
  if (shortCut & kscAlt) text += "Alt+";
  return text + key;
}

}  // namespace hv

// --- menu items -----------------------------------------------------------------------

namespace hv {

TTeItemBehaviour& ItemBehaviour() {
  static TTeItemBehaviour behaviour;
  return behaviour;
}

// Takes the item's caption and state from its action and runs the action.
class TTeCustomItem::TItemActionLink : public TBasicActionLink {
 public:
  explicit TItemActionLink(TTeCustomItem& item) : item_(item) {}

 protected:
  void ActionChanged() override {
    auto* action = dynamic_cast<TAction*>(Action());
    if (!action) return;
    item_.SetCaption(action->Caption());
    item_.SetChecked(action->Checked());
    item_.SetEnabled(action->Enabled());
    item_.SetVisible(action->Visible());
    item_.SetHint(action->Hint());
    item_.SetHelpContext(action->HelpContext());
    item_.SetImageIndex(action->ImageIndex());
    item_.SetShortCut(action->ShortCut());
  }

 private:
  TTeCustomItem& item_;
};

TTeCustomItem::TTeCustomItem(TComponent* owner)
    : TComponent(owner), alive_(std::make_shared<bool>(true)), actionLink_(std::make_unique<TItemActionLink>(*this)) {}

TTeCustomItem::~TTeCustomItem() {
  Destroying();
  alive_.reset();
  if (ItemBehaviour().destroyed) ItemBehaviour().destroyed(*this);
  // Children go last first; each takes itself out of the list as it goes.
  while (!items_.empty()) delete items_.back();
  if (parent_) parent_->Remove(this);
  actionLink_.reset();
}

TBasicAction* TTeCustomItem::Action() const { return actionLink_ ? actionLink_->Action() : nullptr; }

void TTeCustomItem::SetAction(TBasicAction* value) {
  if (Action() == value) return;
  actionLink_->SetAction(value);
}

void TTeCustomItem::SetCaption(const std::string& value) {
  if (caption_ == value) return;
  caption_ = value;
  Changed();
}

void TTeCustomItem::SetChecked(bool value) {
  if (checked_ == value) return;
  checked_ = value;
  Changed();
}

void TTeCustomItem::SetEnabled(bool value) {
  if (enabled_ == value) return;
  enabled_ = value;
  Changed();
}

void TTeCustomItem::SetVisible(bool value) {
  if (visible_ == value) return;
  visible_ = value;
  Changed();
}

void TTeCustomItem::SetScrolled(bool value) {
  if (scrolled_ == value) return;
  scrolled_ = value;
  firstShown_ = 0;
  Changed();
}

void TTeCustomItem::SetScrollCount(int value) {
  value = std::max(1, value);
  if (scrollCount_ == value) return;
  scrollCount_ = value;
  Changed();
}

void TTeCustomItem::Link(TComponent*& field, TComponent* value) {
  if (field == value) return;
  if (field) field->RemoveFreeNotification(this);
  field = value;
  if (field) field->FreeNotification(this);
}

void TTeCustomItem::SetImages(TCustomImageList* value) {
  Link(imagesComponent_, value);
  images_ = value;
}

TCustomImageList* TTeCustomItem::ShownImages() const {
  if (images_) return images_;
  const TTeCustomItem* root = this;
  while (root->parent_) root = root->parent_;
  return root->images_;
}

void TTeCustomItem::Notification(TComponent* component, TOperation operation) {
  TComponent::Notification(component, operation);
  if (operation != TOperation::opRemove) return;
  if (component == imagesComponent_) {
    imagesComponent_ = nullptr;
    images_ = nullptr;
  }
  if (component == mdiChildFrame_) mdiChildFrame_ = nullptr;
  if (component == ownerWindow_) ownerWindow_ = nullptr;
}

TTeCustomItem* TTeCustomItem::Root() {
  TTeCustomItem* root = this;
  while (root->parent_) root = root->parent_;
  return root;
}

TComponent* TTeCustomItem::GetParentComponent() const { return parent_; }

void TTeCustomItem::SetParentComponent(TComponent* value) {
  if (parent_) parent_->Remove(this);
  if (auto* item = dynamic_cast<TTeCustomItem*>(value)) item->Add(this);
}

void TTeCustomItem::GetChildren(const std::function<void(TComponent*)>& proc, TComponent*) const {
  for (TTeCustomItem* child : items_) proc(child);
}

void TTeCustomItem::Add(TTeCustomItem* item) { Insert(Count(), item); }

void TTeCustomItem::Insert(int index, TTeCustomItem* item) {
  if (!item) return;
  if (item->parent_) throw EMenuItemError("Toolbar item already inserted");
  // An item inside itself would free itself with its children.
  for (TTeCustomItem* above = this; above; above = above->parent_)
    if (above == item) throw EMenuItemError("Toolbar item already inserted");
  if (index < 0 || index > Count()) throw EMenuItemError(Format("Menu index out of bounds (%d)", index));
  items_.insert(items_.begin() + index, item);
  item->parent_ = this;
  ChildListChanged();
}

void TTeCustomItem::Delete(int index) {
  if (index < 0 || index >= Count()) throw EMenuItemError(Format("Menu index out of bounds (%d)", index));
  delete items_[static_cast<size_t>(index)];
}

void TTeCustomItem::Remove(TTeCustomItem* item) {
  const int index = IndexOf(item);
  if (index < 0) return;
  items_.erase(items_.begin() + index);
  item->parent_ = nullptr;
  ChildListChanged();
}

int TTeCustomItem::IndexOf(const TTeCustomItem* item) const {
  for (size_t i = 0; i < items_.size(); ++i)
    if (items_[i] == item) return static_cast<int>(i);
  return -1;
}

bool TTeCustomItem::HasVisibleChild() const {
  return std::any_of(items_.begin(), items_.end(), [](const TTeCustomItem* item) { return item->visible_; });
}

void TTeCustomItem::ChildListChanged() {
  if (firstShown_ > std::max(0, Count() - 1)) firstShown_ = std::max(0, Count() - 1);
  Changed();
}

void TTeCustomItem::Changed() {
  if (IsLoading() || IsDestroying()) return;
  // A handler may rebuild the tree around the item; the token tells.
  const std::weak_ptr<const bool> alive = alive_;
  if (OnChange) OnChange(this, this);
  if (alive.expired()) return;
  TTeCustomItem* root = Root();
  if (root != this && !root->IsDestroying() && root->OnChange) root->OnChange(root, this);
  if (!alive.expired() && ItemBehaviour().changed) ItemBehaviour().changed(*this);
}

TTeCustomItem* TTeCustomItem::FindAccelerator(char32_t character) const {
  const std::u16string wanted = Utf8ToUtf16(UpperCase(Utf16ToUtf8(std::u16string(1, static_cast<char16_t>(character)))));
  if (wanted.empty()) return nullptr;
  for (TTeCustomItem* child : items_) {
    const std::u16string caption = Utf8ToUtf16(UpperCase(child->caption_));
    for (size_t i = 0; i + 1 < caption.size(); ++i) {
      if (caption[i] != u'&') continue;
      if (caption[i + 1] == u'&') {
        ++i;  // "&&" is a plain ampersand
        continue;
      }
      if (caption[i + 1] == wanted[0]) return child;
    }
  }
  return nullptr;
}

TTeCustomItem* TTeCustomItem::FindShortCut(TShortCut shortCut) {
  if (shortCut == 0) return nullptr;
  if (shortCut_ == shortCut) return this;
  for (TTeCustomItem* child : items_)
    if (TTeCustomItem* found = child->FindShortCut(shortCut)) return found;
  return nullptr;
}

bool TTeCustomItem::IsShortCut(TShortCut shortCut) {
  TTeCustomItem* item = FindShortCut(shortCut);
  if (!item) return false;
  auto report = [](TTeCustomItem& clicked) {
    if (!ItemBehaviour().reportClickError) throw;
    ItemBehaviour().reportClickError(clicked);
  };
  // The ancestors' clicks may rebuild their submenus, the item with them:
  // then the new tree is searched once more and its item runs.
  const std::weak_ptr<const bool> alive = item->alive_;
  std::vector<TTeCustomItem*> ancestors;
  for (TTeCustomItem* above = item->parent_; above && above != this; above = above->parent_)
    ancestors.insert(ancestors.begin(), above);
  for (TTeCustomItem* above : ancestors) {
    if (alive.expired()) break;
    if (!above->enabled_ || !above->OnClick) continue;
    try {
      above->OnClick(above);
    } catch (...) {
      report(*above);
    }
  }
  if (alive.expired()) item = FindShortCut(shortCut);
  if (!item) return true;
  try {
    item->Click();
  } catch (...) {
    report(*item);
  }
  return true;
}

void TTeCustomItem::Click() {
  if (IsSeparator() || !items_.empty() || !enabled_) return;
  if (ItemBehaviour().postClick && ItemBehaviour().postClick(*this)) return;
  RunClick();
}

void TTeCustomItem::RunClick() {
  TBasicAction* action = Action();
  const bool ownHandler = OnClick && !(action && action->OnExecute && !OnClick.Name().empty() &&
                                       OnClick.Name() == action->OnExecute.Name());
  if (ownHandler) {
    OnClick(this);
  } else if (action && !IsDesigning() && actionLink_->Execute()) {
  } else if (OnClick) {
    OnClick(this);
  }
}

void TTeCustomItem::Popup(TTeItemView* parentView, int x, int y, const TRect* anchor) {
  if (!HasVisibleChild()) return;
  if (ItemBehaviour().popup) ItemBehaviour().popup(*this, parentView, x, y, anchor);
}

const TClassInfo* TTeCustomItem::CreatePopupWindow() const { return ItemBehaviour().popupWindowClass; }

void TTeCustomItem::Measure(TCanvas& canvas, TTeItemView& view, int& height, int& width) {
  if (ItemBehaviour().measure) ItemBehaviour().measure(*this, canvas, view, height, width);
}

void TTeCustomItem::PaintItem(TCanvas& canvas, TTeItemView& view, bool active, bool hot, const TRect& rect) {
  if (ItemBehaviour().paintItem) ItemBehaviour().paintItem(*this, canvas, view, active, hot, rect);
}

void TTeCustomItem::PaintArrow(TCanvas& canvas, TTeItemView& view, bool hot, int kind, const TRect& rect) {
  if (ItemBehaviour().paintArrow) ItemBehaviour().paintArrow(*this, canvas, view, hot, kind, rect);
}

void TTeCustomItem::UpdateAction() {
  if (actionLink_) actionLink_->Update();
}

void TTeCustomItem::SetMdiChildFrame(TComponent* value) {
  ForTree([value](TTeCustomItem& item) { item.Link(item.mdiChildFrame_, value); });
}
void TTeCustomItem::SetAnimateOnOpen(bool value) {
  ForTree([value](TTeCustomItem& item) { item.animateOnOpen_ = value; });
}
void TTeCustomItem::SetOpenedByProgram(bool value) {
  ForTree([value](TTeCustomItem& item) { item.openedByProgram_ = value; });
}
void TTeCustomItem::SetOwnerWindow(TComponent* value) {
  ForTree([value](TTeCustomItem& item) { item.Link(item.ownerWindow_, value); });
}
void TTeCustomItem::SetRightToLeft(bool value) {
  rightToLeft_ = value;
  for (TTeCustomItem* child : items_) child->rightToLeft_ = value;
}
void TTeCustomItem::SetOnControlBar(bool value) {
  onControlBar_ = value;
  for (TTeCustomItem* child : items_) child->onControlBar_ = value;
}
void TTeCustomItem::SetPaintingSuppressed(bool value) {
  ForTree([value](TTeCustomItem& item) { item.paintingSuppressed_ = value; });
}
void TTeCustomItem::SetBringToForeground(bool value) {
  ForTree([value](TTeCustomItem& item) { item.bringToForeground_ = value; });
}
void TTeCustomItem::SetPopupOptions(TTePopupMenuOptions* value) {
  ForTree([value](TTeCustomItem& item) { item.popupOptions_ = value; });
}

void TTeCustomItem::PublishProperties(TPropertyList& p) {
  p.String("Caption", &TTeCustomItem::Caption, &TTeCustomItem::SetCaption);
  p.Boolean("Checked", &TTeCustomItem::Checked, &TTeCustomItem::SetChecked, false);
  p.Boolean("Enabled", &TTeCustomItem::Enabled, &TTeCustomItem::SetEnabled, true);
  p.Integer("HelpContext", &TTeCustomItem::HelpContext, &TTeCustomItem::SetHelpContext, 0);
  p.String("Hint", &TTeCustomItem::Hint, &TTeCustomItem::SetHint);
  p.Integer("ImageIndex", &TTeCustomItem::ImageIndex, &TTeCustomItem::SetImageIndex, -1);
  p.Boolean("Scrolled", &TTeCustomItem::Scrolled, &TTeCustomItem::SetScrolled, false);
  p.Integer("ScrollCount", &TTeCustomItem::ScrollCount, &TTeCustomItem::SetScrollCount, 10);
  p.Integer("ShortCut", &TTeCustomItem::ShortCut, &TTeCustomItem::SetShortCut, 0);
  p.Boolean("Visible", &TTeCustomItem::Visible, &TTeCustomItem::SetVisible, true);
  p.Event("OnClick", &TTeCustomItem::OnClick);
  p.Event("OnBeforeDropDown", &TTeCustomItem::OnBeforeDropDown);
}

}  // namespace hv
