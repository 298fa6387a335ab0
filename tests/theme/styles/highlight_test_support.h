#pragma once
// The fixture of the Highlight tests: a style painted onto a surface of a
// colour no element of it paints, and its colours as the surface reads them.

#include <gtest/gtest.h>

#include <cstdint>

#include "tests/theme/core/draw_test_support.h"
#include "theme/core/colors.h"
#include "theme/core/themelibrary.h"
#include "theme/styles/highlight.h"

namespace hv::test {

// A surface colour no element of these styles paints.
constexpr uint32_t kBack = 0x123456;

class HighlightTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { StartThemeLibrary({.registerStyles = &RegisterHighlightStyles}); }
  static void TearDownTestSuite() { FinishThemeLibrary(); }

  // A colour kind of the style as the surface reads it back.
  uint32_t C(TTeThemeColor kind) const { return Rgb(theme_.GetColor(kind)); }
  uint32_t Light(TTeThemeColor kind, int n) const { return Rgb(Lighten(theme_.GetColor(kind), n)); }
  uint32_t Dark(TTeThemeColor kind, int n) const { return Rgb(Darken(theme_.GetColor(kind), n)); }

  TTeThemeHighlight theme_;
};

inline int CountOf(TSurface& s, const TRect& r, uint32_t rgb) {
  int n = 0;
  for (int y = r.top; y < r.bottom; ++y)
    for (int x = r.left; x < r.right; ++x) n += s.At(x, y) == rgb;
  return n;
}

inline bool AllBack(TSurface& s) { return CountOf(s, {0, 0, s.Width(), s.Height()}, kBack) == s.Width() * s.Height(); }

}  // namespace hv::test
