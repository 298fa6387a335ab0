#include "theme/core/colors.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>

namespace hv {

namespace {

constexpr TColor Rgb(int r, int g, int b) { return r | (g << 8) | (b << 16); }

// The platform's classic scheme, so that portable code (and its tests) see
// plausible colours before the Windows side installs the live ones.
constexpr std::array<TColor, kSysColorCount> kDefaultSysColors{
    Rgb(212, 208, 200),  // 0 scroll bar
    Rgb(58, 110, 165),   // 1 background
    Rgb(10, 36, 106),    // 2 active caption
    Rgb(128, 128, 128),  // 3 inactive caption
    Rgb(212, 208, 200),  // 4 menu
    Rgb(255, 255, 255),  // 5 window
    Rgb(0, 0, 0),        // 6 window frame
    Rgb(0, 0, 0),        // 7 menu text
    Rgb(0, 0, 0),        // 8 window text
    Rgb(255, 255, 255),  // 9 caption text
    Rgb(212, 208, 200),  // 10 active border
    Rgb(212, 208, 200),  // 11 inactive border
    Rgb(128, 128, 128),  // 12 app workspace
    Rgb(10, 36, 106),    // 13 highlight
    Rgb(255, 255, 255),  // 14 highlight text
    Rgb(212, 208, 200),  // 15 button face
    Rgb(128, 128, 128),  // 16 button shadow
    Rgb(128, 128, 128),  // 17 grey text
    Rgb(0, 0, 0),        // 18 button text
    Rgb(212, 208, 200),  // 19 inactive caption text
    Rgb(255, 255, 255),  // 20 button highlight
    Rgb(64, 64, 64),     // 21 3D dark shadow
    Rgb(212, 208, 200),  // 22 3D light
    Rgb(0, 0, 0),        // 23 info text
    Rgb(255, 255, 225),  // 24 info background
    Rgb(180, 180, 180),  // 25 (unused by the platform)
    Rgb(0, 0, 128),      // 26 hot light
    Rgb(166, 202, 240),  // 27 gradient active caption
    Rgb(192, 192, 192),  // 28 gradient inactive caption
    Rgb(49, 106, 197),   // 29 menu highlight
    Rgb(212, 208, 200),  // 30 menu bar
};

std::array<TColor, kSysColorCount> sysColors = kDefaultSysColors;
TSysColorLookup sysColorLookup = nullptr;

// 0x00BBGGRR to 0xFFRRGGBB.
constexpr TARGB OpaqueARGB(TColor rgb) {
  const auto c = static_cast<uint32_t>(rgb);
  return 0xFF000000u | ((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF);
}

constexpr TARGB ClassicARGB(int index) { return OpaqueARGB(kDefaultSysColors[static_cast<size_t>(index)]); }

// System colour indices 5, 15 and 16: window, button face, button shadow.
struct TSharedColors {
  TARGB window = ClassicARGB(5);
  TARGB face = ClassicARGB(15);
  TARGB shadow = ClassicARGB(16);
};
TSharedColors sharedColors;

TColor TableLookup(int index) { return index >= 0 && index < kSysColorCount ? sysColors[index] : 0; }

TSysColorLookup CurrentLookup() { return sysColorLookup ? sysColorLookup : &TableLookup; }

// The 32-bit x87 build keeps float intermediates in extended precision; a
// store through a volatile rounds each step to single precision, so both
// builds agree bit for bit with the SSE arithmetic of the 64-bit one.
#if defined(__i386__) && !defined(__SSE2_MATH__)
inline float Single(float x) {
  volatile float v = x;
  return v;
}
#else
constexpr float Single(float x) { return x; }
#endif

constexpr float kOneThird = 1.0f / 3.0f;
constexpr float kTwoThirds = 2.0f / 3.0f;

int ChannelByte(float v) { return RoundHalfEven(Single(v * 255.0f)); }

float HueChannel(float p, float q, float t) {
  t = Single(t - std::floor(t));
  const float t6 = Single(6.0f * t);
  if (t6 < 1.0f) return Single(p + Single(Single(q - p) * t6));
  if (Single(2.0f * t) < 1.0f) return q;
  if (Single(3.0f * t) < 2.0f) return Single(p + Single(Single(Single(q - p) * Single(kTwoThirds - t)) * 6.0f));
  return p;
}

}  // namespace

void SetSysColorLookup(TSysColorLookup lookup) { sysColorLookup = lookup; }

void SetSysColor(int index, TColor rgb) {
  if (index >= 0 && index < kSysColorCount) sysColors[index] = rgb;
}

void ResetSysColors() {
  sysColors = kDefaultSysColors;
  sysColorLookup = nullptr;
}

TColor ColorToRGB(TColor color, TSysColorLookup lookup) {
  if (color >= 0) return color;
  return (lookup ? lookup : CurrentLookup())(color & 0xFF);
}

TColor SysColorToRGB(TColor color) { return ColorToRGB(color, CurrentLookup()); }

TARGB ColorToARGB(TColor color, TSysColorLookup lookup) { return OpaqueARGB(ColorToRGB(color, lookup)); }

TARGB ColorToARGB(TColor color) { return ColorToARGB(color, CurrentLookup()); }

TARGB SharedWindowARGB() { return sharedColors.window; }
TARGB SharedFaceARGB() { return sharedColors.face; }
TARGB SharedShadowARGB() { return sharedColors.shadow; }

void TakeSharedColors() {
  sharedColors = {ColorToARGB(clWindow), ColorToARGB(clBtnFace), ColorToARGB(clBtnShadow)};
}

TColor Lighten(TColor colour, int n) { return static_cast<TColor>(Lighten(static_cast<TARGB>(SysColorToRGB(colour)), n)); }

TColor Darken(TColor colour, int n) { return static_cast<TColor>(Darken(static_cast<TARGB>(SysColorToRGB(colour)), n)); }

int RoundHalfEven(double value) {
  if (std::isnan(value)) return 0;
  constexpr double kMax = std::numeric_limits<int>::max();
  constexpr double kMin = std::numeric_limits<int>::min();
  if (value >= kMax) return std::numeric_limits<int>::max();
  if (value <= kMin) return std::numeric_limits<int>::min();
  // Floor and fraction are exact for every value in range (the one inexact
  // fraction, of a value just above -1, never turns into a wrong tie), so
  // this is the library's ties-to-even rounding without its round trip
  // through the rounding mode, which the MinGW runtime makes cost more than
  // the whole colour conversion around it.
  int64_t whole = static_cast<int64_t>(value);  // towards zero
  if (static_cast<double>(whole) > value) --whole;
  const double fraction = value - static_cast<double>(whole);
  if (fraction > 0.5 || (fraction == 0.5 && (whole & 1) != 0)) ++whole;
  return static_cast<int>(whole);
}

void RGBToHSL(TARGB argb, float& h, float& s, float& l) {
  const float r = Single(static_cast<float>(RedOf(argb)) / 255.0f);
  const float g = Single(static_cast<float>(GreenOf(argb)) / 255.0f);
  const float b = Single(static_cast<float>(BlueOf(argb)) / 255.0f);
  const float max = std::max(r, std::max(g, b));
  const float min = std::min(r, std::min(g, b));
  l = Single(Single(max + min) / 2.0f);
  if (max == min) {
    h = 0.0f;
    s = 0.0f;
    return;
  }
  const float d = Single(max - min);
  s = l < 0.5f ? Single(d / Single(max + min)) : Single(d / Single(Single(2.0f - max) - min));
  if (r == max)
    h = Single(Single(g - b) / d);
  else if (g == max)
    h = Single(Single(Single(b - r) / d) + 2.0f);
  else
    h = Single(Single(Single(r - g) / d) + 4.0f);
  h = Single(h / 6.0f);
  if (h < 0.0f) h = Single(h + 1.0f);
}

TARGB HSLToRGB(float h, float s, float l) {
  if (s == 0.0f) {
    const int v = ChannelByte(l);
    return MakeARGB(v, v, v, 0xFF);
  }
  const float q = l <= 0.5f ? Single(l * Single(1.0f + s)) : Single(Single(l + s) - Single(l * s));
  const float p = Single(Single(2.0f * l) - q);
  return MakeARGB(ChannelByte(HueChannel(p, q, Single(h + kOneThird))), ChannelByte(HueChannel(p, q, h)),
                  ChannelByte(HueChannel(p, q, Single(h - kOneThird))), 0xFF);
}

TARGB ShiftHue(TARGB argb, int delta) {
  float h, s, l;
  RGBToHSL(argb, h, s, l);
  int64_t k = static_cast<int64_t>(RoundHalfEven(Single(h * 255.0f))) + delta;
  if (k > 255) k -= 255;
  if (k < 0) k += 255;
  // A k still outside 0..255 is fine: the channel function keeps only the
  // fractional part of the hue.
  return HSLToRGB(Single(static_cast<float>(k) / 255.0f), s, l);
}

TARGB ShiftBrightness(TARGB argb, int delta) {
  delta = ChannelDelta(delta);
  return MakeARGB(static_cast<int>(RedOf(argb)) + delta, static_cast<int>(GreenOf(argb)) + delta,
                  static_cast<int>(BlueOf(argb)) + delta, 0xFF);
}

TColor AdjustThemeColor(TColor base, int deltaHue, int deltaBrightness, TSysColorLookup lookup) {
  TColor rgb = ARGBToColor(ColorToARGB(base, lookup));
  if (deltaHue != 0) rgb = ARGBToColor(ShiftHue(ColorToARGB(rgb), deltaHue));
  if (deltaBrightness != 0) rgb = ARGBToColor(ShiftBrightness(ColorToARGB(rgb), deltaBrightness));
  return rgb;
}

TColor AdjustThemeColor(TColor base, int deltaHue, int deltaBrightness) {
  return AdjustThemeColor(base, deltaHue, deltaBrightness, CurrentLookup());
}

}  // namespace hv
