#pragma once
// Published properties: each class lists its properties once (name, kind,
// getter, setter, default), and the layout reader and writer work from that
// list alone. Portable.

#include <any>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <type_traits>
#include <variant>
#include <vector>

#include "framework/colors.h"
#include "framework/event.h"
#include "framework/object.h"
#include "framework/set.h"

namespace hv {

class TComponent;
class TPersistent;
class TStrings;

// An identifier value: an enumeration member, a colour name, a component or
// an event handler named in a layout.
struct TIdent {
  std::string name;
  bool operator==(const TIdent&) const = default;
};
struct TSetValue {
  std::vector<std::string> members;
  bool operator==(const TSetValue&) const = default;
};
struct TBinary {
  std::vector<uint8_t> bytes;
  bool operator==(const TBinary&) const = default;
};
struct TStringsValue {
  std::vector<std::string> lines;
  bool operator==(const TStringsValue&) const = default;
};

// The items of a collection, each a list of properties:
//   Panels = <
//     item
//       Width = 50
//     end>
struct TCollectionItemValue;
struct TCollectionValue {
  std::vector<TCollectionItemValue> items;
  bool operator==(const TCollectionValue& other) const;
};

using TValue = std::variant<std::monostate, int64_t, bool, double, std::string, TIdent, TSetValue, TBinary, TStringsValue,
                            TCollectionValue>;

struct TLayoutProperty {
  std::string name;  // dotted for sub-object properties ("Font.Name")
  TValue value;
  int line = 0;
  // Where a property stood is no part of what it says.
  bool operator==(const TLayoutProperty& other) const { return name == other.name && value == other.value; }
};

struct TCollectionItemValue {
  std::vector<TLayoutProperty> properties;  // in the order written
  bool operator==(const TCollectionItemValue&) const = default;
};

enum class TPropKind { Integer, Boolean, Float, String, Enum, Set, Color, Component, Event, Object, Strings, Collection };

// A handler published by a root component (usually a form) under its name.
struct TMethod {
  std::string name;
  std::any handler;  // holds a std::function of the event's exact signature
};

class TPropInfo {
 public:
  std::string name;
  TPropKind kind = TPropKind::Integer;
  // Integer, Boolean, Float, String, Enum, Set, Color: values travel as TValue
  // (Enum as TIdent, Set as TSetValue, Color as int64_t).
  std::function<TValue(const TObject&)> get;
  std::function<void(TObject&, const TValue&)> set;
  // Component: a link to another component of the same layout.
  std::function<TComponent*(const TObject&)> getComponent;
  std::function<void(TObject&, TComponent*)> setComponent;
  // Event: the bound handler's name, and binding a published method.
  std::function<std::string(const TObject&)> getEventName;
  std::function<void(TObject&, const TMethod&)> setEvent;
  // Object, Strings and Collection: a sub-object owned by the instance.
  std::function<TPersistent*(const TObject&)> getObject;
  // Enum and Set: member names, indexed by the enumeration's value.
  std::vector<std::string_view> names;
  // Equal values are not written.
  std::optional<TValue> defaultValue;
  // When set and false, the value is not written (a font that follows the
  // parent's, say).
  std::function<bool(const TObject&)> stored;
  // Integer: names for some values ("crHSplit"), read and written instead
  // of the numbers.
  std::vector<std::pair<int64_t, std::string_view>> idents;

  bool IsDefault(const TObject& instance) const;
};

// Raised by setters for values of the wrong kind or out of range.
[[noreturn]] void InvalidPropertyValue(std::string_view property);

class TPropertyList {
 public:
  const std::vector<std::unique_ptr<TPropInfo>>& Items() const { return items_; }
  const TPropInfo* Find(std::string_view name) const;
  TPropInfo& Add(std::unique_ptr<TPropInfo> info);

  template <class C, class G, class S>
  TPropInfo& Integer(std::string name, G (C::*get)() const, void (C::*set)(S), std::optional<int64_t> def = {}) {
    auto& p = Make(std::move(name), TPropKind::Integer);
    p.get = [get, &p](const TObject& o) { return IntegerValue(p, (static_cast<const C&>(o).*get)()); };
    p.set = [set, &p](TObject& o, const TValue& v) {
      (static_cast<C&>(o).*set)(static_cast<std::decay_t<S>>(AsInteger(p, v)));
    };
    if (def) p.defaultValue = TValue(*def);
    return p;
  }

  template <class C>
  TPropInfo& Boolean(std::string name, bool (C::*get)() const, void (C::*set)(bool), std::optional<bool> def = {}) {
    auto& p = Make(std::move(name), TPropKind::Boolean);
    p.get = [get](const TObject& o) { return TValue((static_cast<const C&>(o).*get)()); };
    p.set = [set, n = p.name](TObject& o, const TValue& v) {
      if (!std::holds_alternative<bool>(v)) InvalidPropertyValue(n);
      (static_cast<C&>(o).*set)(std::get<bool>(v));
    };
    if (def) p.defaultValue = TValue(*def);
    return p;
  }

  template <class C>
  TPropInfo& Float(std::string name, double (C::*get)() const, void (C::*set)(double), std::optional<double> def = {}) {
    auto& p = Make(std::move(name), TPropKind::Float);
    p.get = [get](const TObject& o) { return TValue((static_cast<const C&>(o).*get)()); };
    p.set = [set, n = p.name](TObject& o, const TValue& v) {
      if (auto d = std::get_if<double>(&v)) (static_cast<C&>(o).*set)(*d);
      else (static_cast<C&>(o).*set)(static_cast<double>(AsInteger(n, v)));
    };
    if (def) p.defaultValue = TValue(*def);
    return p;
  }

  template <class C, class G, class S>
  TPropInfo& String(std::string name, G (C::*get)() const, void (C::*set)(S), std::optional<std::string> def = std::string()) {
    auto& p = Make(std::move(name), TPropKind::String);
    p.get = [get](const TObject& o) { return TValue(std::string((static_cast<const C&>(o).*get)())); };
    p.set = [set, n = p.name](TObject& o, const TValue& v) {
      auto s = std::get_if<std::string>(&v);
      if (!s) InvalidPropertyValue(n);
      (static_cast<C&>(o).*set)(*s);
    };
    if (def) p.defaultValue = TValue(*def);
    return p;
  }

  template <class C, class E>
  TPropInfo& Enum(std::string name, E (C::*get)() const, void (C::*set)(E), std::vector<std::string_view> names,
                  std::optional<std::type_identity_t<E>> def = {}) {
    auto& p = Make(std::move(name), TPropKind::Enum);
    p.names = std::move(names);
    p.get = [get, &p](const TObject& o) { return TValue(TIdent{std::string(NameOf(p, static_cast<size_t>((static_cast<const C&>(o).*get)())))}); };
    p.set = [set, &p](TObject& o, const TValue& v) { (static_cast<C&>(o).*set)(static_cast<E>(IndexOf(p, v))); };
    if (def) p.defaultValue = TValue(TIdent{std::string(NameOf(p, static_cast<size_t>(*def)))});
    return p;
  }

  template <class C, class E>
  TPropInfo& Set(std::string name, TSet<E> (C::*get)() const, void (C::*set)(TSet<E>), std::vector<std::string_view> names,
                 std::optional<std::type_identity_t<TSet<E>>> def = TSet<E>()) {
    auto& p = Make(std::move(name), TPropKind::Set);
    p.names = std::move(names);
    p.get = [get, &p](const TObject& o) { return TValue(MaskToSet(p, (static_cast<const C&>(o).*get)().Mask())); };
    p.set = [set, &p](TObject& o, const TValue& v) { (static_cast<C&>(o).*set)(TSet<E>::FromMask(SetToMask(p, v))); };
    if (def) p.defaultValue = TValue(MaskToSet(p, def->Mask()));
    return p;
  }

  template <class C>
  TPropInfo& Color(std::string name, TColor (C::*get)() const, void (C::*set)(TColor), std::optional<TColor> def = {}) {
    auto& p = Make(std::move(name), TPropKind::Color);
    p.get = [get](const TObject& o) { return TValue(static_cast<int64_t>((static_cast<const C&>(o).*get)())); };
    p.set = [set, n = p.name](TObject& o, const TValue& v) { (static_cast<C&>(o).*set)(AsColor(n, v)); };
    if (def) p.defaultValue = TValue(static_cast<int64_t>(*def));
    return p;
  }

  template <class C, class T>
  TPropInfo& Component(std::string name, T* (C::*get)() const, void (C::*set)(T*)) {
    auto& p = Make(std::move(name), TPropKind::Component);
    p.getComponent = [get](const TObject& o) -> TComponent* { return (static_cast<const C&>(o).*get)(); };
    p.setComponent = [set, n = p.name](TObject& o, TComponent* c) {
      T* typed = nullptr;
      if (c) {
        typed = dynamic_cast<T*>(c);
        if (!typed) InvalidPropertyValue(n);
      }
      (static_cast<C&>(o).*set)(typed);
    };
    return p;
  }

  template <class C, class Sig>
  TPropInfo& Event(std::string name, TEvent<Sig> C::*member) {
    auto& p = Make(std::move(name), TPropKind::Event);
    p.getEventName = [member](const TObject& o) { return (static_cast<const C&>(o).*member).Name(); };
    p.setEvent = [member, n = p.name](TObject& o, const TMethod& m) {
      auto handler = std::any_cast<std::function<Sig>>(&m.handler);
      if (!handler) InvalidPropertyValue(n);
      static_cast<C&>(o).*member = TEvent<Sig>(*handler, m.name);
    };
    return p;
  }

  template <class C, class T>
  TPropInfo& Object(std::string name, T* (C::*get)() const) {
    auto& p = Make(std::move(name), TPropKind::Object);
    p.getObject = [get](const TObject& o) -> TPersistent* { return (static_cast<const C&>(o).*get)(); };
    return p;
  }

  template <class C, class T>
  TPropInfo& Strings(std::string name, T* (C::*get)() const) {
    auto& p = Make(std::move(name), TPropKind::Strings);
    p.getObject = [get](const TObject& o) -> TPersistent* { return (static_cast<const C&>(o).*get)(); };
    return p;
  }

  // A collection of items (a TCollection) stored as one value of items.
  template <class C, class T>
  TPropInfo& Collection(std::string name, T* (C::*get)() const) {
    auto& p = Make(std::move(name), TPropKind::Collection);
    p.getObject = [get](const TObject& o) -> TPersistent* { return (static_cast<const C&>(o).*get)(); };
    return p;
  }

  static int64_t AsInteger(std::string_view property, const TValue& value);
  static int64_t AsInteger(const TPropInfo& p, const TValue& value);
  static TValue IntegerValue(const TPropInfo& p, int64_t value);
  static TColor AsColor(std::string_view property, const TValue& value);
  static std::string_view NameOf(const TPropInfo& p, size_t index);
  static size_t IndexOf(const TPropInfo& p, const TValue& value);
  static TSetValue MaskToSet(const TPropInfo& p, uint32_t mask);
  static uint32_t SetToMask(const TPropInfo& p, const TValue& value);

 private:
  TPropInfo& Make(std::string name, TPropKind kind);
  std::vector<std::unique_ptr<TPropInfo>> items_;
};

}  // namespace hv
