#include "framework/component.h"

#include <algorithm>

#include "framework/properties.h"
#include "framework/sysutils.h"

namespace hv {

void TPersistent::Assign(const TPersistent* source) {
  if (source) {
    source->AssignTo(this);
    return;
  }
  AssignTo(this);  // nothing to copy from: reported as a failed conversion
}

void TPersistent::AssignTo(TPersistent* dest) const {
  std::string_view from = dest == this ? std::string_view("nil") : ClassName();
  throw EConvertError(Format("Cannot assign a %.*s to a %.*s", static_cast<int>(from.size()), from.data(),
                             static_cast<int>(dest->ClassName().size()), dest->ClassName().data()));
}

TComponent::TComponent(TComponent* owner) {
  if (owner) owner->InsertComponent(this);
}

TComponent::~TComponent() {
  Destroying();
  // Tell every linked component, and forget the links both ways.
  while (!freeNotifies_.empty()) {
    TComponent* other = freeNotifies_.back();
    freeNotifies_.pop_back();
    auto& back = other->freeNotifies_;
    back.erase(std::remove(back.begin(), back.end(), this), back.end());
    other->Notification(this, TOperation::opRemove);
  }
  // Fields may live in a derived part that is gone by now; a derived class that
  // wants them cleared calls DestroyComponents in its own destructor.
  fields_.clear();
  DestroyComponents();
  if (owner_) owner_->RemoveComponent(this);
}

void TComponent::Free() { std::unique_ptr<TComponent> doomed(this); }

void TComponent::Destroying() { state_ |= csDestroying; }

void TComponent::DestroyComponents() {
  while (!components_.empty()) {
    TComponent* last = components_.back();
    Remove(last);
    std::unique_ptr<TComponent> doomed(last);
  }
}

int TComponent::ComponentIndex() const {
  if (!owner_) return -1;
  auto& list = owner_->components_;
  auto it = std::find(list.begin(), list.end(), this);
  return it == list.end() ? -1 : static_cast<int>(it - list.begin());
}

TComponent* TComponent::FindComponent(std::string_view name) const {
  if (name.empty()) return nullptr;
  for (TComponent* component : components_)
    if (SameText(component->name_, name)) return component;
  return nullptr;
}

void TComponent::ValidateRename(TComponent* component, const std::string& current, const std::string& next) const {
  if (!next.empty() && !SameText(current, next)) {
    TComponent* existing = FindComponent(next);
    if (existing && existing != component)
      throw EComponentError(Format("A component named %s already exists", next.c_str()));
  }
}

static bool IsValidIdent(const std::string& name) {
  if (name.empty()) return false;
  auto alpha = [](char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_'; };
  if (!alpha(name[0])) return false;
  return std::all_of(name.begin(), name.end(), [&](char c) { return alpha(c) || (c >= '0' && c <= '9'); });
}

void TComponent::SetName(const std::string& name) {
  if (name == name_) return;
  if (!name.empty() && !IsValidIdent(name))
    throw EComponentError(Format("'%s' is not a valid component name", name.c_str()));
  if (owner_) owner_->ValidateRename(this, name_, name);
  name_ = name;
}

void TComponent::SetDesigning(bool value, bool setChildren) {
  if (value) state_ |= csDesigning;
  else state_ &= ~csDesigning;
  if (setChildren)
    for (TComponent* component : components_) component->SetDesigning(value, true);
}

void TComponent::FreeNotification(TComponent* component) {
  if (!component || component == this) return;
  if (std::find(freeNotifies_.begin(), freeNotifies_.end(), component) == freeNotifies_.end())
    freeNotifies_.push_back(component);
  auto& back = component->freeNotifies_;
  if (std::find(back.begin(), back.end(), this) == back.end()) back.push_back(this);
}

void TComponent::RemoveFreeNotification(TComponent* component) {
  if (!component) return;
  freeNotifies_.erase(std::remove(freeNotifies_.begin(), freeNotifies_.end(), component), freeNotifies_.end());
  auto& back = component->freeNotifies_;
  back.erase(std::remove(back.begin(), back.end(), this), back.end());
}

void TComponent::InsertComponent(TComponent* component) {
  if (!component) return;
  if (component->owner_) component->owner_->RemoveComponent(component);
  ValidateRename(component, std::string(), component->name_);
  Insert(component);
  Notification(component, TOperation::opInsert);
}

void TComponent::RemoveComponent(TComponent* component) {
  if (!component || component->owner_ != this) return;
  Notification(component, TOperation::opRemove);
  Remove(component);
}

void TComponent::Insert(TComponent* component) {
  components_.push_back(component);
  component->owner_ = this;
}

void TComponent::Remove(TComponent* component) {
  auto it = std::find(components_.begin(), components_.end(), component);
  if (it != components_.end()) components_.erase(it);
  component->owner_ = nullptr;
  for (auto& field : fields_)
    if (field.get() == component) field.bind(nullptr);
}

void TComponent::GetChildren(const std::function<void(TComponent*)>& proc, TComponent* root) const {
  if (root != this) return;
  for (TComponent* component : components_)
    if (!component->GetParentComponent()) proc(component);
}

const TComponent::TField* TComponent::FindField(std::string_view name) const {
  for (const auto& field : fields_)
    if (SameText(field.name, name)) return &field;
  return nullptr;
}

const TMethod* TComponent::FindMethod(std::string_view name) const {
  for (const auto& method : methods_)
    if (SameText(method.name, name)) return &method;
  return nullptr;
}

// The owner passes inserts and removals on to everything it owns, so that
// siblings holding a reference to a removed component can drop it.
void TComponent::Notification(TComponent* component, TOperation operation) {
  if (operation == TOperation::opRemove && component) RemoveFreeNotification(component);
  for (size_t i = components_.size(); i-- > 0;) {
    if (i < components_.size()) components_[i]->Notification(component, operation);
  }
}

void TComponent::Loaded() { state_ &= ~(csLoading | csReading); }

void TComponent::PublishProperties(TPropertyList& properties) { properties.String("Name", &TComponent::Name, &TComponent::SetName); }

}  // namespace hv
