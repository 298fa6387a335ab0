#pragma once
// What the flat styles' tests share: colours written as designers read
// them, the live face colour, and comparing two paintings pixel by pixel.

#include <gtest/gtest.h>
#include <windows.h>

#include <cstdint>
#include <functional>

#include "tests/theme/styles/skin_test_support.h"
#include "theme/core/colors.h"
#include "theme/core/themelibrary.h"
#include "theme/styles/flat.h"

namespace hv::test {

constexpr TColor Rgb(uint32_t rgb) {
  return static_cast<TColor>(((rgb & 0xFF) << 16) | (rgb & 0xFF00) | ((rgb >> 16) & 0xFF));
}
inline TColor Face() { return SysColorToRGB(clBtnFace); }
inline TColor Sys(TColor color) { return SysColorToRGB(color); }

// How many pixels of the two paintings (each on a fresh sheet) differ.
inline int Differences(int width, int height, const std::function<void(TCanvas&)>& a,
                       const std::function<void(TCanvas&)>& b) {
  TSheet first(width, height), second(width, height);
  a(first.Canvas());
  b(second.Canvas());
  int differ = 0;
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) differ += first.At(x, y) != second.At(x, y);
  return differ;
}

// How many pixels of the sheet's area have the colour.
inline int Count(const TSheet& sheet, const TRect& area, TColor color) {
  int n = 0;
  for (int y = area.top; y < area.bottom; ++y)
    for (int x = area.left; x < area.right; ++x) n += sheet.ColorAt(x, y) == color;
  return n;
}
inline int CountUntouched(const TSheet& sheet, const TRect& area) {
  int n = 0;
  for (int y = area.top; y < area.bottom; ++y)
    for (int x = area.left; x < area.right; ++x) n += sheet.Untouched(x, y);
  return n;
}

// The library started with the flat styles registered, and the colours
// Flat paints with, as the live system colours give them.
class FlatStyleTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { StartThemeLibrary({.registerStyles = &RegisterFlatStyles}); }
  static void TearDownTestSuite() { FinishThemeLibrary(); }

  TTeThemeFlat theme_;
  const TColor frame_ = Sys(clBtnShadow);
  const TColor hot_ = Rgb(0xB6BDD2);
  const TColor selection_ = Darken(Face(), 30);
  const TColor menu_ = Lighten(Face(), 10);
  const TColor window_ = Sys(clWindow);
  const TColor text_ = Sys(clMenuText);
};

}  // namespace hv::test
