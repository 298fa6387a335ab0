#include "framework/lazymodule.h"

#include <windows.h>

#include "framework/winstring.h"

namespace hv {

TLazyModule::TLazyModule(const wchar_t* fileName) : fileName_(fileName) {}

TLazyModule::~TLazyModule() {
  if (module_) FreeLibrary(static_cast<HMODULE>(module_));
}

bool TLazyModule::Loaded() const {
  std::lock_guard<std::mutex> hold(lock_);
  return module_ != nullptr;
}

void* TLazyModule::Handle() {
  std::lock_guard<std::mutex> hold(lock_);
  // A library that would not load is not tried again on every call.
  if (!module_ && !failed_) {
    module_ = LoadLibraryW(fileName_.c_str());
    failed_ = module_ == nullptr;
  }
  if (!module_)
    throw EModuleLoad("The system library " + Narrow(fileName_) + " could not be loaded.");
  return module_;
}

TLazyModule::TAddress TLazyModule::Address(const char* name) {
  FARPROC address = GetProcAddress(static_cast<HMODULE>(Handle()), name);
  if (!address)
    throw EModuleLoad("The system library " + Narrow(fileName_) + " has no entry " + std::string(name) + ".");
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wcast-function-type"
  return reinterpret_cast<TAddress>(address);
#pragma GCC diagnostic pop
}

TLazyModule::TAddress TLazyModule::TryAddress(const char* name) noexcept {
  try {
    return Address(name);
  } catch (...) {
    return nullptr;
  }
}

TLazyModule& Shell32Module() {
  static TLazyModule module(L"shell32.dll");
  return module;
}

TLazyModule& OleAut32Module() {
  static TLazyModule module(L"oleaut32.dll");
  return module;
}

TLazyModule& WindowsCodecsModule() {
  static TLazyModule module(L"windowscodecs.dll");
  return module;
}

bool ModuleMapped(const wchar_t* fileName) { return GetModuleHandleW(fileName) != nullptr; }

}  // namespace hv
