#pragma once
// The engine's colour arithmetic over its two colour forms: the framework
// colour (0x00BBGGRR, or a system colour reference with the top bit set) and
// the ARGB form of bitmap pixels (0xAARRGGBB). Portable: system colours are
// resolved through a table that the Windows side fills from the platform, or
// through a lookup the caller hands over.

#include <cstdint>

#include "framework/colors.h"

namespace hv {

using TARGB = uint32_t;

// The colour key of every keyed bitmap draw: magenta-ish with alpha 0.
constexpr TARGB kTransparentMarker = 0x007F007Fu;
// What a style answers for kinds without an element; as a framework colour it
// is negative and so resolves like system colour 0.
constexpr TColor kFallbackColor = static_cast<TColor>(0xFFFF0000u);
constexpr TARGB kLightGreyARGB = 0xFFEDEDEEu;
constexpr TARGB kBlueARGB = 0xFF003399u;
constexpr TARGB kWhiteARGB = 0xFFFFFFFFu;

// Resolves system colour index (0..255) to 0x00BBGGRR.
using TSysColorLookup = TColor (*)(int index);

// The process-wide system colour table used when no lookup is passed. It
// starts with the platform's classic defaults; the Windows side installs a
// lookup over the live system colours at start. Indices without an entry
// resolve to black, as the platform does.
constexpr int kSysColorCount = 31;
void SetSysColorLookup(TSysColorLookup lookup);  // nullptr: back to the table
void SetSysColor(int index, TColor rgb);
void ResetSysColors();

// A system colour reference becomes its current RGB value; other values are
// returned as they are.
// Through the lookup in force (the framework's own ColorToRGB asks the
// platform directly).
TColor SysColorToRGB(TColor color);
TColor ColorToRGB(TColor color, TSysColorLookup lookup);

constexpr uint8_t RedOf(TARGB argb) { return static_cast<uint8_t>(argb >> 16); }
constexpr uint8_t GreenOf(TARGB argb) { return static_cast<uint8_t>(argb >> 8); }
constexpr uint8_t BlueOf(TARGB argb) { return static_cast<uint8_t>(argb); }
constexpr uint8_t AlphaOf(TARGB argb) { return static_cast<uint8_t>(argb >> 24); }

TARGB ColorToARGB(TColor color);
TARGB ColorToARGB(TColor color, TSysColorLookup lookup);

// The window, face and shadow system colours in ARGB, shared by the styles'
// fills and grip lines. They are copies taken when the theme library starts
// (TakeSharedColors), so that a style paints one look however the system
// colours change meanwhile; before that, the table's classic colours.
TARGB SharedWindowARGB();
TARGB SharedFaceARGB();
TARGB SharedShadowARGB();
void TakeSharedColors();
constexpr TColor ARGBToColor(TARGB argb) {
  return static_cast<TColor>(RedOf(argb) | (GreenOf(argb) << 8) | (BlueOf(argb) << 16));
}

// Channels are clamped to 0..255. Callers may pass any int: the result is
// the same as with 16-bit arguments wherever those do not wrap.
constexpr TARGB MakeARGB(int r, int g, int b, uint8_t a) {
  auto clamp = [](int v) -> uint32_t { return v < 0 ? 0u : v > 255 ? 255u : static_cast<uint32_t>(v); };
  return (static_cast<uint32_t>(a) << 24) | (clamp(r) << 16) | (clamp(g) << 8) | clamp(b);
}

// A channel delta beyond +-512 clamps like +-512; narrowing it first keeps
// channel + delta from overflowing.
constexpr int ChannelDelta(int d) { return d < -512 ? -512 : d > 512 ? 512 : d; }

// Colour channels clamp; alpha wraps around.
constexpr TARGB AddARGB(TARGB argb, int dr, int dg, int db, int da) {
  return MakeARGB(RedOf(argb) + ChannelDelta(dr), GreenOf(argb) + ChannelDelta(dg), BlueOf(argb) + ChannelDelta(db),
                  static_cast<uint8_t>((AlphaOf(argb) + (da & 0xFF)) & 0xFF));
}
constexpr TARGB SubARGB(TARGB argb, int dr, int dg, int db, int da) {
  return MakeARGB(RedOf(argb) - ChannelDelta(dr), GreenOf(argb) - ChannelDelta(dg), BlueOf(argb) - ChannelDelta(db),
                  static_cast<uint8_t>((AlphaOf(argb) - (da & 0xFF)) & 0xFF));
}

// Both forms keep their colour in the three low bytes, so one arithmetic
// serves both; the top byte (alpha, or 0 of a framework colour) is kept. The
// framework-colour overloads resolve a system colour reference first, so that
// lightening clBtnFace means lightening the face colour.
constexpr TARGB Lighten(TARGB colour, int n) {
  n = ChannelDelta(n);
  return (colour & 0xFF000000u) | (MakeARGB(RedOf(colour) + n, GreenOf(colour) + n, BlueOf(colour) + n, 0));
}
constexpr TARGB Darken(TARGB colour, int n) {
  n = ChannelDelta(n);
  return (colour & 0xFF000000u) | (MakeARGB(RedOf(colour) - n, GreenOf(colour) - n, BlueOf(colour) - n, 0));
}
TColor Lighten(TColor colour, int n);
TColor Darken(TColor colour, int n);

// Hue, saturation and lightness in 0..1, single precision throughout.
void RGBToHSL(TARGB argb, float& h, float& s, float& l);
TARGB HSLToRGB(float h, float s, float l);  // alpha 0xFF

// Hue in steps of 1/255 of the colour wheel; the result is opaque.
TARGB ShiftHue(TARGB argb, int delta);
// Adds delta to red, green and blue with clamping; the result is opaque.
TARGB ShiftBrightness(TARGB argb, int delta);

// The colour pipeline every style's GetColor applies to its base colour: the
// system colour resolved, the hue shifted, then the brightness. A zero hue
// delta skips the hue round trip, whose quantisation would otherwise move
// saturated colours by up to three units when no tint was asked for.
TColor AdjustThemeColor(TColor base, int deltaHue, int deltaBrightness);
TColor AdjustThemeColor(TColor base, int deltaHue, int deltaBrightness, TSysColorLookup lookup);

// Round half to even, as every floating rounding of the engine does; values
// beyond the int range saturate and NaN gives 0.
int RoundHalfEven(double value);

}  // namespace hv
