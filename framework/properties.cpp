#include "framework/properties.h"

#include "framework/collection.h"
#include "framework/component.h"
#include "framework/strings.h"
#include "framework/sysutils.h"

namespace hv {

void InvalidPropertyValue(std::string_view property) {
  throw EReadError(Format("Invalid property value for %.*s", static_cast<int>(property.size()), property.data()));
}

bool TCollectionValue::operator==(const TCollectionValue& other) const { return items == other.items; }

bool TPropInfo::IsDefault(const TObject& instance) const {
  if (stored && !stored(instance)) return true;
  switch (kind) {
    case TPropKind::Component:
      return getComponent(instance) == nullptr;
    case TPropKind::Event:
      return getEventName(instance).empty();
    case TPropKind::Object:
      return false;
    case TPropKind::Strings: {
      auto strings = dynamic_cast<const TStrings*>(getObject(instance));
      return !strings || strings->Count() == 0;
    }
    case TPropKind::Collection: {
      auto collection = dynamic_cast<const TCollection*>(getObject(instance));
      return !collection || collection->Count() == 0;
    }
    case TPropKind::Integer:
      return defaultValue && TPropertyList::AsInteger(*this, get(instance)) ==
                                 TPropertyList::AsInteger(*this, *defaultValue);
    default:
      return defaultValue && get(instance) == *defaultValue;
  }
}

const TPropInfo* TPropertyList::Find(std::string_view name) const {
  for (const auto& item : items_)
    if (SameText(item->name, name)) return item.get();
  return nullptr;
}

TPropInfo& TPropertyList::Add(std::unique_ptr<TPropInfo> info) {
  items_.push_back(std::move(info));
  return *items_.back();
}

TPropInfo& TPropertyList::Make(std::string name, TPropKind kind) {
  auto info = std::make_unique<TPropInfo>();
  info->name = std::move(name);
  info->kind = kind;
  return Add(std::move(info));
}

int64_t TPropertyList::AsInteger(std::string_view property, const TValue& value) {
  if (auto i = std::get_if<int64_t>(&value)) return *i;
  InvalidPropertyValue(property);
}

int64_t TPropertyList::AsInteger(const TPropInfo& p, const TValue& value) {
  if (auto ident = std::get_if<TIdent>(&value)) {
    for (const auto& [number, name] : p.idents)
      if (SameText(name, ident->name)) return number;
    InvalidPropertyValue(p.name);
  }
  return AsInteger(p.name, value);
}

TValue TPropertyList::IntegerValue(const TPropInfo& p, int64_t value) {
  for (const auto& [number, name] : p.idents)
    if (number == value) return TValue(TIdent{std::string(name)});
  return TValue(value);
}

TColor TPropertyList::AsColor(std::string_view property, const TValue& value) {
  if (auto i = std::get_if<int64_t>(&value)) {
    if (*i < INT32_MIN || *i > static_cast<int64_t>(UINT32_MAX)) InvalidPropertyValue(property);
    return static_cast<TColor>(static_cast<uint32_t>(*i));
  }
  if (auto ident = std::get_if<TIdent>(&value))
    if (auto color = IdentToColor(ident->name)) return *color;
  InvalidPropertyValue(property);
}

std::string_view TPropertyList::NameOf(const TPropInfo& p, size_t index) {
  return index < p.names.size() ? p.names[index] : std::string_view();
}

size_t TPropertyList::IndexOf(const TPropInfo& p, const TValue& value) {
  if (auto ident = std::get_if<TIdent>(&value))
    for (size_t i = 0; i < p.names.size(); ++i)
      if (SameText(p.names[i], ident->name)) return i;
  InvalidPropertyValue(p.name);
}

TSetValue TPropertyList::MaskToSet(const TPropInfo& p, uint32_t mask) {
  TSetValue set;
  for (size_t i = 0; i < p.names.size() && i < 32; ++i)
    if (mask & (uint32_t{1} << i)) set.members.emplace_back(p.names[i]);
  return set;
}

uint32_t TPropertyList::SetToMask(const TPropInfo& p, const TValue& value) {
  auto set = std::get_if<TSetValue>(&value);
  if (!set) InvalidPropertyValue(p.name);
  uint32_t mask = 0;
  for (const auto& member : set->members) {
    size_t index = IndexOf(p, TValue(TIdent{member}));
    if (index >= 32) InvalidPropertyValue(p.name);
    mask |= uint32_t{1} << index;
  }
  return mask;
}

}  // namespace hv
