#pragma once
// Persistent objects and components: ownership, names, component state,
// free notification. Portable.

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

#include "framework/object.h"
#include "framework/properties.h"

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
  // Leaves the loading state without Loaded, for a read that failed.
  void ClearLoadingState() { state_ &= ~(csLoading | csReading); }

  // Stored layouts nest a component's block inside the block of the component
  // it sits on. The reader hands a nested block's enclosing component to
  // SetParentComponent; controls override the three to mean their parent control.
  virtual void SetParentComponent(TComponent*) {}
  virtual TComponent* GetParentComponent() const { return nullptr; }
  virtual bool HasParent() const { return false; }
  // The components the writer nests inside this one's block. The default lists,
  // for the root, every owned component that has no parent component.
  virtual void GetChildren(const std::function<void(TComponent*)>& proc, TComponent* root) const;

  // A root's member pointer that the reader sets to the owned component of that
  // name. The pointer is cleared when the component leaves this owner.
  template <class T>
  void PublishField(std::string name, T*& field) {
    static_assert(std::is_base_of_v<TComponent, T>, "fields point to components");
    TField binder;
    binder.name = std::move(name);
    binder.bind = [&field](TComponent* component) {
      if (!component) {
        field = nullptr;
        return true;
      }
      T* typed = dynamic_cast<T*>(component);
      if (!typed) return false;
      field = typed;
      return true;
    };
    binder.get = [&field]() -> TComponent* { return field; };
    fields_.push_back(std::move(binder));
  }
  struct TField {
    std::string name;
    // False when the component is not of the field's class; the field is unchanged.
    std::function<bool(TComponent*)> bind;
    std::function<TComponent*()> get;
  };
  const TField* FindField(std::string_view name) const;

  // A handler that layouts bind to events by name; Sig is the event's exact
  // signature (void(TObject*) for TNotifyEvent).
  template <class Sig>
  void PublishMethod(std::string name, std::function<Sig> handler) {
    methods_.push_back(TMethod{std::move(name), std::any(std::move(handler))});
  }
  const TMethod* FindMethod(std::string_view name) const;

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
  std::vector<TField> fields_;
  std::vector<TMethod> methods_;
  std::string name_;
  unsigned state_ = 0;
  intptr_t tag_ = 0;
};

}  // namespace hv
