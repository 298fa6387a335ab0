#pragma once
// A system library loaded on first use instead of at process start. Every
// library the executable imports is mapped, initialised and linked before
// main() runs; under Wine each of the larger ones (shell32, oleaut32, the
// imaging component) drags further libraries in with it and costs the
// start-up tens of milliseconds, for calls that the first window never
// makes. Such calls go through a TLazyModule instead.

#include <mutex>
#include <string>

#include "framework/sysutils.h"

namespace hv {

// A library or an entry of it that is not there.
class EModuleLoad : public Exception {
 public:
  using Exception::Exception;
  std::string_view ClassName() const override { return "EModuleLoad"; }
};

class TLazyModule {
 public:
  // fileName is a system library's name ("shell32.dll"); nothing is loaded
  // until an entry is asked for.
  explicit TLazyModule(const wchar_t* fileName);
  // Releases the library if it was loaded.
  ~TLazyModule();
  TLazyModule(const TLazyModule&) = delete;
  TLazyModule& operator=(const TLazyModule&) = delete;

  const std::wstring& FileName() const { return fileName_; }
  bool Loaded() const;

  // The entry point, with its own type. Loads the library on first use
  // (from any thread); raises EModuleLoad naming the library and the entry
  // when either is missing.
  template <class Proc>
  Proc Entry(const char* name) {
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wcast-function-type"
    return reinterpret_cast<Proc>(Address(name));
#pragma GCC diagnostic pop
  }
  // The same, or null when the library or the entry is missing; for
  // destructors and worker threads, where nothing may be raised.
  template <class Proc>
  Proc TryEntry(const char* name) noexcept {
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wcast-function-type"
    return reinterpret_cast<Proc>(TryAddress(name));
#pragma GCC diagnostic pop
  }

 private:
  using TAddress = void (*)();
  TAddress Address(const char* name);
  TAddress TryAddress(const char* name) noexcept;
  void* Handle();

  std::wstring fileName_;
  mutable std::mutex lock_;
  void* module_ = nullptr;
  bool failed_ = false;
};

// The libraries the viewer needs only now and then, shared by the process
// and released at its end.
TLazyModule& Shell32Module();
TLazyModule& OleAut32Module();
TLazyModule& WindowsCodecsModule();

// True when the module of that file name is mapped into the process, for
// telling whether start-up loaded it.
bool ModuleMapped(const wchar_t* fileName);

}  // namespace hv
