#pragma once
// The root of the framework's class tree: class identity for streaming and
// message dispatch by number. Portable.

#include <cstdint>
#include <memory>
#include <string_view>
#include <type_traits>
#include <vector>

namespace hv {

class TClassInfo;
class TComponent;

// A window message as the framework passes it around, window or not.
struct TMessage {
  uint32_t Msg = 0;
  uintptr_t WParam = 0;
  intptr_t LParam = 0;
  intptr_t Result = 0;
};

class TObject {
 public:
  TObject() = default;
  TObject(const TObject&) = delete;
  TObject& operator=(const TObject&) = delete;
  virtual ~TObject() = default;

  static const TClassInfo& StaticClassInfo();
  virtual const TClassInfo& ClassInfo() const { return StaticClassInfo(); }
  std::string_view ClassName() const;
  bool InheritsFrom(const TClassInfo& info) const;

  // Message dispatch by number: a class handles a message by overriding
  // Dispatch, switching on the number and falling back to the base class;
  // numbers nobody handles end in DefaultHandler.
  virtual void Dispatch(TMessage& message) { DefaultHandler(message); }
  virtual void DefaultHandler(TMessage&) {}
};

// Everything the framework knows about a class: its name, its base, how to
// create a component of it by name, and its published properties.
class TPropInfo;
class TPropertyList;

class TClassInfo {
 public:
  using Factory = std::unique_ptr<TComponent> (*)(TComponent* owner);
  using Definer = void (*)(TPropertyList&);

  TClassInfo(std::string_view name, const TClassInfo* parent, Definer definer, Factory factory);
  ~TClassInfo();
  TClassInfo(const TClassInfo&) = delete;
  TClassInfo& operator=(const TClassInfo&) = delete;

  std::string_view Name() const { return name_; }
  const TClassInfo* Parent() const { return parent_; }
  Factory GetFactory() const { return factory_; }
  bool InheritsFrom(const TClassInfo& other) const;

  // The class's own published properties, defined on first use.
  const TPropertyList& OwnProperties() const;
  // Base classes first, then this class, each in the order defined.
  std::vector<const TPropInfo*> AllProperties() const;
  const TPropInfo* FindProperty(std::string_view name) const;

 private:
  std::string_view name_;
  const TClassInfo* parent_;
  Definer definer_;
  Factory factory_;
  mutable std::unique_ptr<TPropertyList> properties_;
};

namespace detail {
template <class T>
std::unique_ptr<TComponent> CreateComponent(TComponent* owner) {
  if constexpr (std::is_constructible_v<T, TComponent*>)
    return std::make_unique<T>(owner);
  else
    return nullptr;
}
}  // namespace detail

}  // namespace hv

// Declares a class's identity. Every class that publishes properties defines
// `static void PublishProperties(hv::TPropertyList&)` in its source file;
// HV_CLASS_NO_PROPERTIES is for those that publish nothing of their own.
#define HV_CLASS_INFO(Class, Base, Definer)                                              \
 public:                                                                                 \
  using inherited = Base;                                                                \
  static const ::hv::TClassInfo& StaticClassInfo() {                                     \
    static const ::hv::TClassInfo info(#Class, &Base::StaticClassInfo(), Definer,        \
                                       &::hv::detail::CreateComponent<Class>);           \
    return info;                                                                         \
  }                                                                                      \
  const ::hv::TClassInfo& ClassInfo() const override { return StaticClassInfo(); }

#define HV_CLASS(Class, Base)                         \
  HV_CLASS_INFO(Class, Base, &Class::PublishProperties) \
  static void PublishProperties(::hv::TPropertyList& properties);

#define HV_CLASS_NO_PROPERTIES(Class, Base) HV_CLASS_INFO(Class, Base, nullptr)
