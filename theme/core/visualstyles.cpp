#include "theme/core/visualstyles.h"

#include <mutex>

namespace hv {

namespace {

// The one lock of the program: the loader may be reached from any thread
// that paints a fallback look.
std::mutex& LoaderLock() {
  static std::mutex lock;
  return lock;
}

HMODULE gLibrary = nullptr;
int gRefCount = 0;
TVisualStyleApi gApi;
std::wstring& LibraryFile() {
  static std::wstring file = L"uxtheme.dll";
  return file;
}

template <class T>
void Resolve(T& entry, const char* name) {
  entry = reinterpret_cast<T>(reinterpret_cast<void*>(GetProcAddress(gLibrary, name)));
}

}  // namespace

const TVisualStyleApi& VisualStyleApi() { return gApi; }

bool LoadVisualStyleLibrary() {
  std::lock_guard guard(LoaderLock());
  ++gRefCount;
  if (!gLibrary) {
    gLibrary = LoadLibraryW(LibraryFile().c_str());
    if (gLibrary) {
#define HV_RESOLVE(name) Resolve(gApi.name, #name);
      HV_VISUAL_STYLE_ENTRIES(HV_RESOLVE)
#undef HV_RESOLVE
    }
  }
  return gLibrary != nullptr;
}

void FreeVisualStyleLibrary() {
  std::lock_guard guard(LoaderLock());
  if (gRefCount > 0) --gRefCount;
  if (gLibrary && gRefCount == 0) {
    FreeLibrary(gLibrary);
    gLibrary = nullptr;
    gApi = TVisualStyleApi{};
  }
}

bool VisualStyleLibraryLoaded() {
  std::lock_guard guard(LoaderLock());
  return gLibrary != nullptr;
}

int VisualStyleLibraryRefCount() {
  std::lock_guard guard(LoaderLock());
  return gRefCount;
}

bool VisualStylesActive() {
  TVisualStyleApi api;
  {
    std::lock_guard guard(LoaderLock());
    if (!gLibrary) return false;
    api = gApi;
  }
  if (!api.IsAppThemed || !api.IsAppThemed()) return false;
  return api.IsThemeActive && api.IsThemeActive();
}

void SetVisualStyleLibraryFile(const std::wstring& file) {
  std::lock_guard guard(LoaderLock());
  LibraryFile() = file;
}

}  // namespace hv
