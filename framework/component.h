#pragma once
// Persistent objects and components: ownership, names, component state,
// free notification. Portable.

#include <memory>
#include <string>
#include <vector>

#include "framework/object.h"

namespace hv {

class TFiler;

class TPersistent : public TObject {
  HV_CLASS_NO_PROPERTIES(TPersistent, TObject)

 public:
  // Copies another object's values into this one. The default asks the source
  // to assign itself to this object, which raises EConvertError
  // "Cannot assign a X to a Y" when neither side knows the other.
  virtual void Assign(const TPersistent* source);

  // Non-published values that a class streams itself (binary blocks and the like).
  virtual void DefineProperties(TFiler&) {}

  // The object that owns this one for naming purposes ("Form1.Font").
  virtual TPersistent* GetOwner() const { return nullptr; }

 protected:
  virtual void AssignTo(TPersistent* dest) const;
};

enum class TOperation { opInsert, opRemove };

enum TComponentStateFlag : unsigned {
  csLoading = 1u << 0,
  csReading = 1u << 1,
  csWriting = 1u << 2,
  csDestroying = 1u << 3,
  csDesigning = 1u << 4,
  csUpdating = 1u << 5,
};

class TComponent : public TPersistent {
  HV_CLASS(TComponent, TPersistent)

 public:
  explicit TComponent(TComponent* owner);
  ~TComponent() override;

  // Creates a component that `owner` owns and destroys, last-first with its
  // other components. Without an owner, hold the component in a unique_ptr.
  template <class T, class... Args>
  static T* Create(TComponent* owner, Args&&... args) {
    return std::make_unique<T>(owner, std::forward<Args>(args)...).release();
  }

  // Destroys this component, owned or not; the owner forgets it.
  void Free();

  TComponent* Owner() const { return owner_; }
  TPersistent* GetOwner() const override { return owner_; }
  int ComponentCount() const { return static_cast<int>(components_.size()); }
  TComponent* Components(int index) const { return components_.at(static_cast<size_t>(index)); }
  int ComponentIndex() const;
  TComponent* FindComponent(std::string_view name) const;

  const std::string& Name() const { return name_; }
  void SetName(const std::string& name);

  unsigned ComponentState() const { return state_; }
  bool IsLoading() const { return (state_ & csLoading) != 0; }
  bool IsDestroying() const { return (state_ & csDestroying) != 0; }
  bool IsDesigning() const { return (state_ & csDesigning) != 0; }
  void SetDesigning(bool value, bool setChildren = true);

  // Both components are told (Notification with opRemove) when the other is
  // destroyed, whoever owns them.
  void FreeNotification(TComponent* component);
  void RemoveFreeNotification(TComponent* component);

  // Moves a component between owners; the component stays alive.
  void InsertComponent(TComponent* component);
  void RemoveComponent(TComponent* component);
  void DestroyComponents();

  // Called once the reader has set every property of every component of a
  // stored layout; clears the loading state.
  virtual void Loaded();
  // Loading state on and off, for readers and for code that sets many
  // properties at once.
  virtual void BeginLoading() { state_ |= csLoading | csReading; }
  void EndReading() { state_ &= ~csReading; }

  // Tag, as in every component library: free for the application's use.
  intptr_t Tag() const { return tag_; }
  void SetTag(intptr_t tag) { tag_ = tag; }

 protected:
  virtual void Notification(TComponent* component, TOperation operation);
  // Marks the component as being destroyed; derived destructors call it (and
  // DestroyComponents) first, so that owned components go while the derived
  // parts they may reach are still alive.
  void Destroying();
  virtual void ValidateRename(TComponent* component, const std::string& current, const std::string& next) const;

 private:
  void Insert(TComponent* component);
  void Remove(TComponent* component);

  TComponent* owner_ = nullptr;
  std::vector<TComponent*> components_;  // owned: destroyed in DestroyComponents
  std::vector<TComponent*> freeNotifies_;
  std::string name_;
  unsigned state_ = 0;
  intptr_t tag_ = 0;
};

}  // namespace hv
