#include "framework/object.h"

#include <algorithm>

#include "framework/properties.h"

namespace hv {

const TClassInfo& TObject::StaticClassInfo() {
  static const TClassInfo info("TObject", nullptr, nullptr, nullptr);
  return info;
}

std::string_view TObject::ClassName() const { return ClassInfo().Name(); }

bool TObject::InheritsFrom(const TClassInfo& info) const { return ClassInfo().InheritsFrom(info); }

TClassInfo::TClassInfo(std::string_view name, const TClassInfo* parent, Definer definer, Factory factory)
    : name_(name), parent_(parent), definer_(definer), factory_(factory) {}

TClassInfo::~TClassInfo() = default;

bool TClassInfo::InheritsFrom(const TClassInfo& other) const {
  for (const TClassInfo* info = this; info; info = info->parent_)
    if (info == &other) return true;
  return false;
}

const TPropertyList& TClassInfo::OwnProperties() const {
  if (!properties_) {
    auto list = std::make_unique<TPropertyList>();
    if (definer_) definer_(*list);
    properties_ = std::move(list);
  }
  return *properties_;
}

std::vector<const TPropInfo*> TClassInfo::AllProperties() const {
  std::vector<const TClassInfo*> chain;
  for (const TClassInfo* info = this; info; info = info->parent_) chain.push_back(info);
  // A class may publish a property of its base again (with another default,
  // say): the redeclaration takes the base's place in the order.
  std::vector<const TPropInfo*> result;
  for (auto it = chain.rbegin(); it != chain.rend(); ++it)
    for (const auto& prop : (*it)->OwnProperties().Items()) {
      auto same = std::find_if(result.begin(), result.end(),
                               [&](const TPropInfo* p) { return p->name == prop->name; });
      if (same != result.end()) *same = prop.get();
      else result.push_back(prop.get());
    }
  return result;
}

const TPropInfo* TClassInfo::FindProperty(std::string_view name) const {
  for (const TClassInfo* info = this; info; info = info->parent_)
    if (const TPropInfo* prop = info->OwnProperties().Find(name)) return prop;
  return nullptr;
}

}  // namespace hv
