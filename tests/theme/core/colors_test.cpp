#include "theme/core/colors.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>

namespace hv {
namespace {

// Every test leaves the process-wide system colours as it found them.
class ColorsTest : public ::testing::Test {
 protected:
  void TearDown() override {
    ResetSysColors();
    TakeSharedColors();
  }
};

int MaxChannelDistance(TARGB a, TARGB b) {
  return std::max({std::abs(RedOf(a) - RedOf(b)), std::abs(GreenOf(a) - GreenOf(b)), std::abs(BlueOf(a) - BlueOf(b))});
}

TEST_F(ColorsTest, ConversionsRearrangeBytesAndResolveSystemColours) {
  EXPECT_EQ(ColorToARGB(0x00000080), 0xFF800000u) << "dark red";
  EXPECT_EQ(ColorToARGB(0x00000000), 0xFF000000u);
  EXPECT_EQ(ColorToARGB(0x00FFFFFF), 0xFFFFFFFFu);
  EXPECT_EQ(ColorToARGB(0x00563412), 0xFF123456u);
  EXPECT_EQ(ARGBToColor(0x7F123456u), 0x00563412) << "alpha is dropped";
  EXPECT_EQ(ARGBToColor(kTransparentMarker), 0x007F007F);
  // Positive values that are not plain RGB keep only their colour bytes.
  EXPECT_EQ(ColorToARGB(clNone), 0xFFFFFFFFu);

  EXPECT_EQ(SysColorToRGB(clBtnFace), 0x00C8D0D4) << "classic face colour until the platform says otherwise";
  EXPECT_EQ(ColorToARGB(clBtnFace), 0xFFD4D0C8u);
  SetSysColor(15, 0x00332211);
  EXPECT_EQ(ColorToARGB(clBtnFace), 0xFF112233u);
  // Any negative value is a system colour reference by its low byte.
  EXPECT_EQ(SysColorToRGB(static_cast<TColor>(0x8000000Fu)), 0x00332211);
  EXPECT_EQ(SysColorToRGB(kFallbackColor), SysColorToRGB(clScrollBar));
  EXPECT_EQ(SysColorToRGB(static_cast<TColor>(0xFF0000FFu)), 0) << "an index the platform does not know is black";

  SetSysColorLookup([](int index) -> TColor { return index == 5 ? 0x00ABCDEF : 0x00010203; });
  EXPECT_EQ(ColorToARGB(clWindow), 0xFFEFCDABu);
  EXPECT_EQ(SysColorToRGB(clBtnFace), 0x00010203);
  SetSysColorLookup(nullptr);
  EXPECT_EQ(SysColorToRGB(clBtnFace), 0x00332211) << "the table again";
  EXPECT_EQ(ColorToARGB(clWindow, [](int) -> TColor { return 0x00654321; }), 0xFF214365u);
}

TEST_F(ColorsTest, SharedColoursAreCopiesTakenAtStart) {
  TakeSharedColors();
  EXPECT_EQ(SharedWindowARGB(), 0xFFFFFFFFu);
  EXPECT_EQ(SharedFaceARGB(), 0xFFD4D0C8u);
  EXPECT_EQ(SharedShadowARGB(), 0xFF808080u);
  SetSysColorLookup([](int i) -> TColor { return i == 5 ? 0x00030201 : i == 15 ? 0x00060504 : 0x00090807; });
  EXPECT_EQ(SharedFaceARGB(), 0xFFD4D0C8u) << "a copy, not a lookup";
  TakeSharedColors();
  EXPECT_EQ(SharedWindowARGB(), 0xFF010203u);
  EXPECT_EQ(SharedFaceARGB(), 0xFF040506u);
  EXPECT_EQ(SharedShadowARGB(), 0xFF070809u);
}

TEST_F(ColorsTest, MakeAddSubClampChannelsAndWrapAlpha) {
  EXPECT_EQ(MakeARGB(300, -5, 128, 7), 0x07FF0080u);
  EXPECT_EQ(MakeARGB(255, 0, 256, 0xFF), 0xFFFF00FFu);
  EXPECT_EQ(MakeARGB(-32768, 32767, -1, 0), 0x0000FF00u);
  EXPECT_EQ(MakeARGB(INT32_MIN, INT32_MAX, 0, 1), 0x0100FF00u);

  EXPECT_EQ(AddARGB(0xFF102030u, 1, 2, 3, 2), 0x01112233u) << "alpha wraps past 255";
  EXPECT_EQ(AddARGB(0x80F00010u, 100, -100, 0, -1), 0x7FFF0010u);
  EXPECT_EQ(SubARGB(0x01102030u, 0x20, 0x10, 0x40, 2), 0xFF001000u) << "alpha wraps below 0";
  EXPECT_EQ(AddARGB(0x00808080u, INT32_MAX, INT32_MIN, 0, 0), 0x00FF0080u) << "no overflow on huge deltas";
}

TEST_F(ColorsTest, LightenAndDarkenKeepTheTopByte) {
  EXPECT_EQ(Lighten(0x00C8C8C8, 150), 0x00FFFFFF);
  EXPECT_EQ(Darken(0x00C8C8C8, 150), 0x00323232);
  EXPECT_EQ(Lighten(0x00102030, 0), 0x00102030);
  EXPECT_EQ(Lighten(0x80102030u, 16), 0x80203040u) << "ARGB keeps its alpha";
  EXPECT_EQ(Darken(0xFF102030u, 0x18), 0xFF000818u);
  EXPECT_EQ(Lighten(0x00102030, -0x18), 0x00000818) << "a negative amount darkens";
  EXPECT_EQ(Lighten(0xFF000000u, INT32_MAX), 0xFFFFFFFFu);
  // A system colour is lightened as the colour it stands for, not as bytes
  // of its reference.
  EXPECT_EQ(Lighten(clBtnFace, 10), 0x00D2DADE);
  EXPECT_EQ(Darken(clBtnShadow, 30), 0x00626262);
}

TEST_F(ColorsTest, RoundingIsHalfToEven) {
  EXPECT_EQ(RoundHalfEven(0.5), 0);
  EXPECT_EQ(RoundHalfEven(1.5), 2);
  EXPECT_EQ(RoundHalfEven(2.5), 2);
  EXPECT_EQ(RoundHalfEven(127.5), 128);
  EXPECT_EQ(RoundHalfEven(-0.5), 0);
  EXPECT_EQ(RoundHalfEven(-1.5), -2);
  EXPECT_EQ(RoundHalfEven(2.5000001), 3);
  EXPECT_EQ(RoundHalfEven(1e300), INT32_MAX);
  EXPECT_EQ(RoundHalfEven(-1e300), INT32_MIN);
  EXPECT_EQ(RoundHalfEven(std::nan("")), 0);
  EXPECT_EQ(RoundHalfEven(-0.5 + 0x1p-54), 0);
  EXPECT_EQ(RoundHalfEven(-1e-300), 0);
  EXPECT_EQ(RoundHalfEven(2147483646.5), 2147483646);
  EXPECT_EQ(RoundHalfEven(2147483646.75), 2147483647);
  EXPECT_EQ(RoundHalfEven(-2147483647.5), INT32_MIN);

  // The same as the library's rounding to nearest, ties to even, on every
  // half and its neighbours and on the products of every channel byte.
  for (int i = -600; i <= 600; ++i) {
    const double half = i / 2.0;
    for (double v : {half, std::nextafter(half, -1e9), std::nextafter(half, 1e9), half + 1e-9, half - 1e-9})
      ASSERT_EQ(RoundHalfEven(v), static_cast<int>(std::nearbyint(v))) << v;
  }
  for (int c = 0; c < 256; ++c)
    for (float h : {0.0f, 0.1f, 1.0f / 3.0f, 0.5f, 0.999f}) {
      const double v = static_cast<float>(static_cast<float>(c) / 255.0f) * 255.0f + h;
      ASSERT_EQ(RoundHalfEven(v), static_cast<int>(std::nearbyint(v))) << v;
    }

  // A grey whose lightness times 255 is exactly 2.5 or 254.5 in single
  // precision lands on the even neighbour.
  for (float target : {2.5f, 254.5f}) {
    float l = target / 255.0f;
    for (int i = 0; i < 64 && l * 255.0f != target; ++i) l = std::nextafter(l, l * 255.0f < target ? 1.0f : 0.0f);
    ASSERT_EQ(l * 255.0f, target);
    const int even =
        static_cast<int>(target - 0.5f) % 2 == 0 ? static_cast<int>(target - 0.5f) : static_cast<int>(target + 0.5f);
    EXPECT_EQ(HSLToRGB(0.3f, 0.0f, l), MakeARGB(even, even, even, 0xFF)) << target;
  }
}

TEST_F(ColorsTest, HslOfPrimariesGreysAndEdges) {
  struct Case {
    TARGB argb;
    float h, s, l;
  };
  const Case cases[] = {
      {0xFF000000u, 0, 0, 0},           {0xFFFFFFFFu, 0, 0, 1},           {0x00808080u, 0, 0, 128.0f / 255.0f},
      {0xFFFF0000u, 0, 1, 0.5f},        {0xFF00FF00u, 1.0f / 3, 1, 0.5f}, {0xFF0000FFu, 2.0f / 3, 1, 0.5f},
      {0xFFFF00FFu, 5.0f / 6, 1, 0.5f}, {0xFFFFFF00u, 1.0f / 6, 1, 0.5f},
  };
  for (const Case& c : cases) {
    float h, s, l;
    RGBToHSL(c.argb, h, s, l);
    EXPECT_FLOAT_EQ(h, c.h) << std::hex << c.argb;
    EXPECT_FLOAT_EQ(s, c.s) << std::hex << c.argb;
    EXPECT_FLOAT_EQ(l, c.l) << std::hex << c.argb;
  }
  // Dark and light halves use the two saturation formulas.
  float h, s, l;
  RGBToHSL(0xFF400000u, h, s, l);
  EXPECT_FLOAT_EQ(s, 1.0f);
  RGBToHSL(0xFFFF8080u, h, s, l);
  EXPECT_FLOAT_EQ(s, 1.0f);
  EXPECT_FLOAT_EQ(l, (1.0f + 128.0f / 255.0f) / 2);

  EXPECT_EQ(HSLToRGB(0.0f, 1.0f, 0.5f), 0xFFFF0000u);
  EXPECT_EQ(HSLToRGB(1.0f, 1.0f, 0.5f), 0xFFFF0000u) << "a hue of 1 is a hue of 0";
  EXPECT_EQ(HSLToRGB(-2.0f / 3, 1.0f, 0.5f), 0xFF00FF00u) << "only the fractional part of the hue counts";
  EXPECT_EQ(HSLToRGB(0.0f, 1.0f, 0.0f), 0xFF000000u);
  EXPECT_EQ(HSLToRGB(0.5f, 1.0f, 1.0f), 0xFFFFFFFFu);
  EXPECT_EQ(HSLToRGB(0.0f, 5.0f, 5.0f) >> 24, 0xFFu) << "wild arguments still give clamped channels";
}

TEST_F(ColorsTest, HslRoundTripsWithinOneUnit) {
  int exact = 0, total = 0;
  for (int r = 0; r < 256; r += 5)
    for (int g = 0; g < 256; g += 5)
      for (int b = 0; b < 256; b += 5) {
        const TARGB c = MakeARGB(r, g, b, 0xFF);
        float h, s, l;
        RGBToHSL(c, h, s, l);
        const TARGB back = HSLToRGB(h, s, l);
        ASSERT_LE(MaxChannelDistance(c, back), 1) << std::hex << c << " -> " << back;
        exact += back == c;
        ++total;
      }
  EXPECT_GT(exact, total * 9 / 10) << "single precision loses at most a rare unit";
}

TEST_F(ColorsTest, ShiftHueWrapsAroundTheWheel) {
  EXPECT_EQ(ShiftHue(0xFFFF0000u, 85), 0xFF00FF00u);
  EXPECT_EQ(ShiftHue(0xFFFF0000u, -85), 0xFF0000FFu);
  EXPECT_EQ(ShiftHue(0xFF0000FFu, 85), 0xFFFF0000u) << "k = 255 is the start of the wheel again";
  EXPECT_EQ(ShiftHue(0xFF0000FFu, 170), 0xFF00FF00u) << "340 wraps to 85";
  EXPECT_EQ(ShiftHue(0xFFFF0000u, -1), 0xFFFF0006u);
  EXPECT_EQ(ShiftHue(0xFFFF0000u, 254), 0xFFFF0006u);
  EXPECT_EQ(ShiftHue(0xFFFF0000u, 256), 0xFFFF0600u) << "256 wraps to 1";
  EXPECT_EQ(ShiftHue(0xFFFF0000u, 510), 0xFFFF0000u);
  // One correction only: -300 becomes -45, which the hue function still
  // reads as 210.
  EXPECT_EQ(ShiftHue(0xFFFF0000u, -300), ShiftHue(0xFFFF0000u, 210));
  EXPECT_EQ(ShiftHue(0xFFFF0000u, INT32_MAX) >> 24, 0xFFu) << "no overflow";
  EXPECT_EQ(ShiftHue(0x00FF0000u, 85), 0xFF00FF00u) << "the result is opaque";

  for (int grey : {0, 1, 127, 128, 254, 255})
    for (int delta : {-300, -85, 1, 100, 255, 1000})
      EXPECT_EQ(ShiftHue(MakeARGB(grey, grey, grey, 0xFF), delta), MakeARGB(grey, grey, grey, 0xFF));

  for (int r = 0; r < 256; r += 15)
    for (int g = 0; g < 256; g += 15)
      for (int b = 0; b < 256; b += 15) {
        const TARGB c = MakeARGB(r, g, b, 0xFF);
        ASSERT_LE(MaxChannelDistance(ShiftHue(c, 0), c), 3) << std::hex << c;
      }
}

TEST_F(ColorsTest, ShiftBrightnessClamps) {
  EXPECT_EQ(ShiftBrightness(0xFF102030u, 240), 0xFFFFFFFFu);
  EXPECT_EQ(ShiftBrightness(0xFF102030u, -32), 0xFF000010u);
  EXPECT_EQ(ShiftBrightness(0x00102030u, 1), 0xFF112131u) << "the result is opaque";
  EXPECT_EQ(ShiftBrightness(0xFF102030u, INT32_MIN), 0xFF000000u);
  EXPECT_EQ(ShiftBrightness(0xFF102030u, 70000), 0xFFFFFFFFu);
}

TEST_F(ColorsTest, ThemeColourPipeline) {
  // No deltas: the base comes back as plain RGB, exactly, even where a hue
  // round trip would have moved it.
  const TColor saturated = 0x00F01E5A;
  ASSERT_NE(ARGBToColor(ShiftHue(ColorToARGB(saturated), 0)), saturated) << "a colour the round trip does move";
  EXPECT_EQ(AdjustThemeColor(saturated, 0, 0), saturated);
  EXPECT_EQ(AdjustThemeColor(clHighlight, 0, 0), SysColorToRGB(clHighlight));
  EXPECT_EQ(AdjustThemeColor(kFallbackColor, 0, 0), SysColorToRGB(clScrollBar));

  EXPECT_EQ(AdjustThemeColor(0x000000FF, 85, 0), 0x0000FF00) << "red to green";
  EXPECT_EQ(AdjustThemeColor(0x00302010, 0, 240), 0x00FFFFFF);
  EXPECT_EQ(AdjustThemeColor(0x00302010, 0, -32), 0x00100000);
  // Hue first, then brightness.
  EXPECT_EQ(AdjustThemeColor(0x000000FF, -85, -55), 0x00C80000);
  EXPECT_EQ(AdjustThemeColor(0x000000FF, 85, 0), ARGBToColor(ShiftHue(0xFFFF0000u, 85)));

  SetSysColor(13, 0x000000FF);
  EXPECT_EQ(AdjustThemeColor(clHighlight, 85, 10), 0x000AFF0A) << "system colours resolve before shifting";
  EXPECT_EQ(AdjustThemeColor(clHighlight, 0, 0, [](int) -> TColor { return 0x00123456; }), 0x00123456);
}

}  // namespace
}  // namespace hv
