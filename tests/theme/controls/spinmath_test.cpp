// The spin button's arithmetic: halves, strip, placement, steps and the
// reading of typed text.

#include "theme/controls/spinmath.h"

#include <gtest/gtest.h>

#include <climits>

namespace hv {
namespace {

TEST(SpinMath, HalvesLeaveTheStripBetweenThemOrTouch) {
  TSpinHalves h = SpinHalves(15, 21, true);
  EXPECT_EQ(h.up, Rect(0, 0, 15, 9));
  EXPECT_EQ(h.down, Rect(0, 12, 15, 21));
  h = SpinHalves(15, 20, true);
  EXPECT_EQ(h.down.top - h.up.bottom, 2);
  h = SpinHalves(15, 20, false);
  EXPECT_EQ(h.up, Rect(0, 0, 15, 10));
  EXPECT_EQ(h.down, Rect(0, 10, 15, 20));
  // Too low for anything: empty halves, never upside down.
  h = SpinHalves(15, 1, true);
  EXPECT_EQ(h.up.Height(), 0);
  EXPECT_EQ(h.down.Height(), 0);
  EXPECT_EQ(SpinSliderRect(15, 21), Rect(0, 9, 15, 11));
  EXPECT_EQ(SpinSliderRect(15, 20), Rect(0, 9, 15, 11));
}

TEST(SpinMath, PlacementBesideTheAssociate) {
  const TRect edit = Rect(100, 40, 160, 62);
  EXPECT_EQ(SpinPlacement(edit, saRight), Rect(160, 40, 175, 62));
  EXPECT_EQ(SpinPlacement(edit, saLeft), Rect(85, 40, 100, 62));
}

TEST(SpinMath, StepsStopAtTheBoundsWithoutOverflow) {
  EXPECT_EQ(SpinStep(5, 3, 1, 0, 10), 8);
  EXPECT_EQ(SpinStep(8, 3, 1, 0, 10), 10);
  EXPECT_EQ(SpinStep(2, 3, -1, 0, 10), 0);
  EXPECT_EQ(SpinStep(0, 7, -4, -100, 100), -28);
  EXPECT_EQ(SpinStep(INT_MAX, INT_MAX, 1, INT_MIN, INT_MAX), INT_MAX);
  EXPECT_EQ(SpinStep(INT_MIN, INT_MAX, -3, INT_MIN, INT_MAX), INT_MIN);
  EXPECT_EQ(SpinStep(50, 0, 0, 0, 10), 10);
  EXPECT_EQ(SpinStep(-50, 0, 0, 0, 10), 0);
}

TEST(SpinMath, TypedTextReadsAsAWholeNumberOrNotAtAll) {
  int v = -1;
  EXPECT_TRUE(ParseSpinText("42", v));
  EXPECT_EQ(v, 42);
  EXPECT_TRUE(ParseSpinText(" -17 ", v));
  EXPECT_EQ(v, -17);
  EXPECT_TRUE(ParseSpinText("+8", v));
  EXPECT_EQ(v, 8);
  EXPECT_TRUE(ParseSpinText("2147483647", v));
  EXPECT_EQ(v, INT_MAX);
  EXPECT_TRUE(ParseSpinText("-2147483648", v));
  EXPECT_EQ(v, INT_MIN);
  v = 7;
  for (const char* bad : {"", " ", "-", "4x", "x4", "4 2", "2147483648", "-2147483649", "99999999999999999999",
                          "0x10", "1.5"}) {
    EXPECT_FALSE(ParseSpinText(bad, v)) << bad;
    EXPECT_EQ(v, 7) << "a failed read leaves the value alone";
  }
}

}  // namespace
}  // namespace hv
