#pragma once
// The class registry: the component classes a stored layout may name.
// Portable.

#include <string_view>

#include "framework/object.h"
#include "framework/sysutils.h"

namespace hv {

HV_EXCEPTION(EClassNotFound, EReadError);

// Registering a class twice is harmless; a different class under a name that
// is taken raises EComponentError "Class %s is already registered".
void RegisterComponentClass(const TClassInfo& info);
void UnRegisterComponentClass(const TClassInfo& info);
// Case-insensitive, as layouts are. GetClass answers nullptr for an unknown
// name, FindClass raises EClassNotFound "Class %s not found".
const TClassInfo* GetClass(std::string_view name);
const TClassInfo& FindClass(std::string_view name);

template <class... T>
void RegisterClasses() {
  (RegisterComponentClass(T::StaticClassInfo()), ...);
}

}  // namespace hv
