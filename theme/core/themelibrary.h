#pragma once
// Start and end of the theme library. The program calls StartThemeLibrary
// once, before any window exists, and FinishThemeLibrary after the last form
// is gone. Each piece of the library adds its step at its place in the
// start order; the end undoes them in reverse.

namespace hv {

// Registers the styles a program carries, each at its place in the style
// registry (theme/styles has one for its styles).
using TThemeStylesRegistration = void (*)();

// The styles register during the start, in the step the start order gives
// them; without a registration only the "No Theme" class is there.
void StartThemeLibrary(TThemeStylesRegistration registerStyles = nullptr);
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

}  // namespace hv
