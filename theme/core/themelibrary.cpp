#include "theme/core/themelibrary.h"

#include <windows.h>

#include "framework/gdi.h"
#include "theme/core/colors.h"
#include "theme/core/glyphs.h"
#include "theme/core/msimg32.h"
#include "theme/core/sharedbuffer.h"
#include "theme/core/theme.h"
#include "theme/core/visualstyles.h"

namespace hv {

namespace {

bool started = false;
TTePlatformVersion version;
void* getScrollBarInfo = nullptr;
TThemeLibraryParts programParts;

TColor LiveSysColor(int index) { return static_cast<TColor>(GetSysColor(index)); }

TTePlatformVersion ReadPlatformVersion() {
  // GetVersionEx is deprecated but still answers truthfully up to the
  // versions this program cares about (it only asks "NT line, above 4").
  OSVERSIONINFOW info{};
  info.dwOSVersionInfoSize = sizeof info;
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
  if (!GetVersionExW(&info)) return {};
#pragma GCC diagnostic pop
  return {info.dwPlatformId == VER_PLATFORM_WIN32_NT, info.dwMajorVersion, info.dwMinorVersion};
}

}  // namespace

void StartThemeLibrary(const TThemeLibraryParts& parts) {
  if (started) return;
  started = true;
  programParts = parts;
  // Colours resolve against the live system colours from now on.
  SetSysColorLookup(&LiveSysColor);
  TakeSharedColors();
  LoadMsImg32();
  FreeButtonGlyphs();
  CreateSharedBuffer();
  version = ReadPlatformVersion();
  SetSysLocaleMiddleEast(GetSystemMetrics(SM_MIDEASTENABLED) != 0);
  if (parts.registerClasses) parts.registerClasses();
  if (HMODULE user32 = GetModuleHandleW(L"user32.dll"))
    getScrollBarInfo = reinterpret_cast<void*>(GetProcAddress(user32, "GetScrollBarInfo"));
  // The styles register at their fixed places; the base class, which stands
  // for "no style", is always last.
  if (parts.registerStyles) parts.registerStyles();
  RegisterThemeClass(ThemeClassOf<TTeTheme>(), kThemePosNoTheme);
  LoadVisualStyleLibrary();
}

void FinishThemeLibrary() {
  if (!started) return;
  started = false;
  if (programParts.freeSharedObjects) programParts.freeSharedObjects();
  programParts = {};
  // Whoever loaded the library and forgot to free it, it goes now.
  while (VisualStyleLibraryRefCount() > 0) FreeVisualStyleLibrary();
  FreeThemeClasses();
  getScrollBarInfo = nullptr;
  FreeSharedBuffer();
  FreeButtonGlyphs();
  FreeMsImg32();
  SetSysColorLookup(nullptr);
  ReleaseIdleGdiCaches();
}

bool ThemeLibraryStarted() { return started; }

TTePlatformVersion PlatformVersion() { return version; }

void* GetScrollBarInfoEntry() { return getScrollBarInfo; }

void SetScrollBarInfoEntry(void* entry) { getScrollBarInfo = entry; }

}  // namespace hv
