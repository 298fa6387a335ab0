#pragma once
// Start and end of the theme library. The program calls StartThemeLibrary
// once, before any window exists, and FinishThemeLibrary after the last form
// is gone. Each piece of the library adds its step at its place in the
// start order; the end undoes them in reverse.

namespace hv {

// What the pieces of the library above the core add to its start and end,
// each run at its step: the streamable support classes (option objects,
// items) before the platform lookups, the styles at the registry step, and
// their shared objects freed first at the end. Any of them may be absent.
struct TThemeLibraryParts {
  void (*registerClasses)() = nullptr;
  void (*registerStyles)() = nullptr;
  void (*freeSharedObjects)() = nullptr;
};

// Without parts only the "No Theme" class is registered.
void StartThemeLibrary(const TThemeLibraryParts& parts = {});
void FinishThemeLibrary();
bool ThemeLibraryStarted();

// The platform version recorded at start (0 before).
struct TTePlatformVersion {
  bool nt = false;
  unsigned major = 0;
  unsigned minor = 0;
};
TTePlatformVersion PlatformVersion();

// "GetScrollBarInfo" of user32, looked up at start; null where the platform
// lacks it. The caller casts it to the entry's signature.
void* GetScrollBarInfoEntry();
// Puts another entry (or none) in its place; tests stand in for a platform
// without it. The next start looks it up again.
void SetScrollBarInfoEntry(void* entry);

}  // namespace hv
