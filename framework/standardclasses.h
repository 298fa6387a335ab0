#pragma once
// Makes the framework's own control classes known to stored layouts.

namespace hv {

void RegisterStandardClasses();

}  // namespace hv
