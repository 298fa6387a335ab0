#include "theme/core/msimg32.h"

#include <windows.h>

namespace hv {
namespace {

using TTransparentBltProc = BOOL(WINAPI*)(HDC, int, int, int, int, HDC, int, int, int, int, UINT);
using TAlphaBlendProc = BOOL(WINAPI*)(HDC, int, int, int, int, HDC, int, int, int, int, BLENDFUNCTION);

struct TMsImg32State {
  bool tried = false;
  bool disabled = false;
  HMODULE module = nullptr;
  TTransparentBltProc transparentBlt = nullptr;
  TAlphaBlendProc alphaBlend = nullptr;
};

// Everything runs on the GUI thread; no lock.
TMsImg32State& State() {
  static TMsImg32State state;
  return state;
}

bool NtAboveVersion4() {
  OSVERSIONINFOW info{};
  info.dwOSVersionInfoSize = sizeof(info);
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
  if (!GetVersionExW(&info)) return false;
#pragma GCC diagnostic pop
  return info.dwPlatformId == VER_PLATFORM_WIN32_NT && info.dwMajorVersion > 4;
}

template <class Proc>
Proc Entry(HMODULE module, const char* name) {
  // The entry points are looked up by name and called with their own types.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wcast-function-type"
  return reinterpret_cast<Proc>(GetProcAddress(module, name));
#pragma GCC diagnostic pop
}

TMsImg32State& Loaded() {
  TMsImg32State& state = State();
  if (!state.tried) LoadMsImg32();
  return state;
}

}  // namespace

void LoadMsImg32() {
  TMsImg32State& state = State();
  if (state.tried) return;
  state.tried = true;
  if (!NtAboveVersion4()) return;
  state.module = LoadLibraryW(L"msimg32.dll");
  if (!state.module) return;
  state.transparentBlt = Entry<TTransparentBltProc>(state.module, "TransparentBlt");
  state.alphaBlend = Entry<TAlphaBlendProc>(state.module, "AlphaBlend");
}

void FreeMsImg32() {
  TMsImg32State& state = State();
  state.transparentBlt = nullptr;
  state.alphaBlend = nullptr;
  if (state.module) FreeLibrary(state.module);
  state.module = nullptr;
  state.tried = false;
}

void SetMsImg32Disabled(bool disabled) { State().disabled = disabled; }
bool MsImg32Disabled() { return State().disabled; }

bool TransparentBltAvailable() {
  const TMsImg32State& state = Loaded();
  return !state.disabled && state.transparentBlt;
}

bool AlphaBltAvailable() {
  const TMsImg32State& state = Loaded();
  return !state.disabled && state.alphaBlend;
}

bool PlatformTransparentBlt(HDC dest, int x, int y, int width, int height, HDC source, int sx, int sy, int sw, int sh,
                            uint32_t key) {
  if (!TransparentBltAvailable()) return false;
  return State().transparentBlt(dest, x, y, width, height, source, sx, sy, sw, sh, key) != FALSE;
}

bool PlatformAlphaBlend(HDC dest, int x, int y, int width, int height, HDC source, int sx, int sy, int sw, int sh,
                        uint8_t constantAlpha, bool perPixelAlpha) {
  if (!AlphaBltAvailable()) return false;
  BLENDFUNCTION blend{AC_SRC_OVER, 0, constantAlpha, static_cast<BYTE>(perPixelAlpha ? AC_SRC_ALPHA : 0)};
  return State().alphaBlend(dest, x, y, width, height, source, sx, sy, sw, sh, blend) != FALSE;
}

}  // namespace hv
