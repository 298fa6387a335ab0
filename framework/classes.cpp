#include "framework/classes.h"

#include <algorithm>
#include <string>
#include <vector>

namespace hv {

namespace {
std::vector<const TClassInfo*>& Registry() {
  static std::vector<const TClassInfo*> classes;
  return classes;
}
}  // namespace

void RegisterComponentClass(const TClassInfo& info) {
  if (const TClassInfo* existing = GetClass(info.Name())) {
    if (existing == &info) return;
    throw EComponentError(Format("Class %s is already registered", std::string(info.Name()).c_str()));
  }
  Registry().push_back(&info);
}

void UnRegisterComponentClass(const TClassInfo& info) {
  auto& classes = Registry();
  classes.erase(std::remove(classes.begin(), classes.end(), &info), classes.end());
}

const TClassInfo* GetClass(std::string_view name) {
  for (const TClassInfo* info : Registry())
    if (SameText(info->Name(), name)) return info;
  return nullptr;
}

const TClassInfo& FindClass(std::string_view name) {
  if (const TClassInfo* info = GetClass(name)) return *info;
  throw EClassNotFound(Format("Class %s not found", std::string(name).c_str()));
}

}  // namespace hv
