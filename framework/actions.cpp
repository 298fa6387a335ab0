#include "framework/actions.h"

#include <algorithm>

namespace hv {

TBasicAction::~TBasicAction() {
  Destroying();
  // A client may let go of another one while it hears of the end.
  while (!clients_.empty()) {
    TBasicActionLink* link = clients_.back();
    clients_.pop_back();
    link->action_ = nullptr;
    link->ActionFreed();
  }
}

bool TBasicAction::Execute() {
  if (!OnExecute) return false;
  OnExecute(this);
  return true;
}

bool TBasicAction::Update() {
  if (!OnUpdate) return false;
  OnUpdate(this);
  return true;
}

void TBasicAction::Change() {
  const std::vector<TBasicActionLink*> clients = clients_;
  for (TBasicActionLink* link : clients)
    if (std::find(clients_.begin(), clients_.end(), link) != clients_.end()) link->ActionChanged();
}

void TAction::SetCaption(const std::string& value) { Set(caption_, value); }
void TAction::SetChecked(bool value) { Set(checked_, value); }
void TAction::SetEnabled(bool value) { Set(enabled_, value); }
void TAction::SetVisible(bool value) { Set(visible_, value); }
void TAction::SetHint(const std::string& value) { Set(hint_, value); }
void TAction::SetHelpContext(int value) { Set(helpContext_, value); }
void TAction::SetImageIndex(int value) { Set(imageIndex_, value); }
void TAction::SetShortCut(uint16_t value) { Set(shortCut_, value); }

TBasicActionLink::~TBasicActionLink() { SetAction(nullptr); }

void TBasicActionLink::SetAction(TBasicAction* value) {
  if (action_ == value) return;
  if (action_) {
    auto& list = action_->clients_;
    list.erase(std::remove(list.begin(), list.end(), this), list.end());
  }
  action_ = value;
  if (action_) {
    action_->clients_.push_back(this);
    ActionChanged();
  }
}

}  // namespace hv
