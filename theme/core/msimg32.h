#pragma once
// The platform's optional image library ("msimg32.dll"), loaded at run time:
// its keyed and alpha block transfers. Where it is missing (or a test turns
// it off) the callers use the engine's own pixel loops instead.

#include <cstdint>

#include "framework/winhandles.h"

namespace hv {

// Loads the library and takes "TransparentBlt" and "AlphaBlend", on the NT
// line with a major version above 4 only. Done once; later calls do nothing
// until FreeMsImg32. The queries below load it on first use as well.
void LoadMsImg32();
// Releases the library; the queries answer false until it is loaded again.
void FreeMsImg32();

// While disabled, both queries answer false, whatever is loaded, so that
// the engine's own fallbacks run (for tests and benchmarks).
void SetMsImg32Disabled(bool disabled);
bool MsImg32Disabled();

bool TransparentBltAvailable();
bool AlphaBltAvailable();

// The platform's calls, or false when unavailable or when the call failed.
// key is a framework colour (0x00BBGGRR).
bool PlatformTransparentBlt(HDC dest, int x, int y, int width, int height, HDC source, int sx, int sy, int sw, int sh,
                            uint32_t key);
// perPixelAlpha takes the source's (premultiplied) alpha channel as well as
// the constant alpha.
bool PlatformAlphaBlend(HDC dest, int x, int y, int width, int height, HDC source, int sx, int sy, int sw, int sh,
                        uint8_t constantAlpha, bool perPixelAlpha);

// Turns the platform's calls off for its lifetime and puts the previous
// setting back.
class TMsImg32Fallback {
 public:
  TMsImg32Fallback() : previous_(MsImg32Disabled()) { SetMsImg32Disabled(true); }
  ~TMsImg32Fallback() { SetMsImg32Disabled(previous_); }
  TMsImg32Fallback(const TMsImg32Fallback&) = delete;
  TMsImg32Fallback& operator=(const TMsImg32Fallback&) = delete;

 private:
  bool previous_;
};

}  // namespace hv
