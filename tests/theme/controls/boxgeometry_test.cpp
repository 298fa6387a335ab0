// Group box, radio group, check box and radio button geometry and state
// changes, as pure functions.

#include "theme/controls/boxgeometry.h"

#include <gtest/gtest.h>

namespace hv {
namespace {

TEST(GroupBoxGeometry, FrameCaptionAndClientRectangles) {
  EXPECT_EQ(GroupBoxFrameRect(100, 90, 13), Rect(3, 7, 98, 88));
  EXPECT_EQ(GroupBoxFrameRect(1024, 32, 0), Rect(3, 1, 1022, 30)) << "no caption: the line one below the top";
  EXPECT_EQ(GroupBoxFrameRect(50, 40, 15), Rect(3, 8, 48, 38)) << "an odd height halves toward zero";

  EXPECT_EQ(GroupBoxCaptionRect(12, 40, 13, true), Rect(9, 0, 55, 13)) << "a caption with text gets 3 on each side";
  EXPECT_EQ(GroupBoxCaptionRect(12, 0, 13, false), Rect(12, 0, 12, 13)) << "an empty caption leaves no gap";
  EXPECT_TRUE(GroupBoxCaptionRect(12, 0, 13, false).IsEmpty());

  EXPECT_EQ(GroupBoxClientRect(1024, 32, 13), Rect(0, 13, 1024, 32));
  EXPECT_EQ(GroupBoxClientRect(100, 90, 17), Rect(0, 17, 100, 90));
}

TEST(GroupBoxGeometry, CheckBoxWidthIsCutToTheBox) {
  // Mark 13, spacing 5, text 40: 13 + 5 + 40 + 6 = 64 fits into 100 - 12 - 2.
  EXPECT_EQ(GroupBoxCheckBoxWidth(100, 12, 13, 5, 40), 64);
  // A caption longer than the box is cut to Width - CaptionMargin - 2.
  EXPECT_EQ(GroupBoxCheckBoxWidth(100, 12, 13, 5, 400), 86);
  EXPECT_EQ(GroupBoxCheckBoxWidth(100, 12, 13, 5, 62), 86) << "exactly the room left";
  EXPECT_EQ(GroupBoxCheckBoxWidth(100, 12, 13, 5, 61), 85) << "one pixel short of it";
}

TEST(RadioGroupGeometry, ColumnsAndItemIndexAreClamped) {
  EXPECT_EQ(ClampRadioColumns(0), 1);
  EXPECT_EQ(ClampRadioColumns(-5), 1);
  EXPECT_EQ(ClampRadioColumns(40), 16);
  EXPECT_EQ(ClampRadioColumns(7), 7);
  EXPECT_EQ(ClampItemIndex(99, 3), 2);
  EXPECT_EQ(ClampItemIndex(-7, 3), -1);
  EXPECT_EQ(ClampItemIndex(1, 3), 1);
  EXPECT_EQ(ClampItemIndex(0, 0), -1) << "an empty list selects nothing";
}

TEST(RadioGroupGeometry, SevenItemsInThreeColumns) {
  EXPECT_EQ(RadioGroupRows(7, 3), 3);
  EXPECT_EQ(RadioGroupRows(6, 3), 2);
  EXPECT_EQ(RadioGroupRows(0, 3), 0);
  // Width 190: columns of (190 - 10) div 3 = 60. Height 110, text 13:
  // free 92, rows of 92 div 3 = 30, top (92 mod 3) div 2 + 13 + 1 = 15.
  TRadioGroupMetrics m{.count = 7, .columns = 3, .width = 190, .height = 110, .textHeight = 13, .clientWidth = 190};
  std::vector<TRect> rects = RadioGroupButtonRects(m);
  ASSERT_EQ(rects.size(), 7u);
  EXPECT_EQ(rects[0], Rect(8, 15, 68, 45));
  EXPECT_EQ(rects[1], Rect(8, 45, 68, 75));
  EXPECT_EQ(rects[2], Rect(8, 75, 68, 105));
  EXPECT_EQ(rects[3], Rect(68, 15, 128, 45)) << "the second column starts over at the top";
  EXPECT_EQ(rects[5], Rect(68, 75, 128, 105));
  EXPECT_EQ(rects[6], Rect(128, 15, 188, 45)) << "the last column holds one button";
}

TEST(RadioGroupGeometry, RightToLeftMirrorsAndTinyGroupsGetNoNegativeRows) {
  TRadioGroupMetrics m{.count = 2, .columns = 2, .width = 110, .height = 40, .textHeight = 13, .clientWidth = 110,
                       .rightToLeft = true};
  std::vector<TRect> rects = RadioGroupButtonRects(m);
  ASSERT_EQ(rects.size(), 2u);
  // Columns of 50: x 8 and 58 mirror to 110 - 8 - 50 = 52 and 110 - 58 - 50 = 2.
  EXPECT_EQ(rects[0].left, 52);
  EXPECT_EQ(rects[1].left, 2);
  EXPECT_EQ(rects[0].Height(), 22);

  m = {.count = 3, .columns = 1, .width = 60, .height = 10, .textHeight = 13, .clientWidth = 60};
  rects = RadioGroupButtonRects(m);
  ASSERT_EQ(rects.size(), 3u);
  for (const TRect& r : rects) {
    EXPECT_EQ(r.Height(), 0);
    EXPECT_EQ(r.top, 14);
  }
  EXPECT_TRUE(RadioGroupButtonRects({.count = 0, .columns = 2, .width = 100, .height = 100}).empty());
}

TEST(MarkGeometry, MarkCaptionAndFocusRectangles) {
  EXPECT_EQ(MarkRect(98, 20, {13, 13}, true), Rect(0, 3, 13, 16));
  EXPECT_EQ(MarkRect(98, 20, {13, 13}, false), Rect(85, 3, 98, 16));
  EXPECT_EQ(MarkRect(98, 21, {16, 16}, true), Rect(0, 2, 16, 18)) << "5 div 2";
  EXPECT_EQ(MarkRect(98, 10, {13, 13}, true), Rect(0, -1, 13, 12)) << "-3 div 2 truncates toward zero";

  EXPECT_EQ(CaptionArea(98, 20, 13, 5, true), Rect(18, 0, 98, 20));
  EXPECT_EQ(CaptionArea(98, 20, 13, 5, false), Rect(2, 0, 90, 20));

  EXPECT_EQ(PlaceCaption(Rect(0, 0, 40, 13), Rect(18, 0, 98, 20)), Rect(18, 3, 58, 16));
  EXPECT_EQ(PlaceCaption(Rect(0, 0, 40, 14), Rect(2, 0, 90, 21)), Rect(2, 3, 42, 17));

  EXPECT_EQ(CaptionFocusRect(Rect(18, 3, 58, 16)), Rect(17, 1, 61, 18));
}

TEST(MarkState, ToggleCycles) {
  int state = kCheckUnchecked;
  state = ToggleCheckState(state, true);
  EXPECT_EQ(state, kCheckGrayed);
  state = ToggleCheckState(state, true);
  EXPECT_EQ(state, kCheckChecked);
  state = ToggleCheckState(state, true);
  EXPECT_EQ(state, kCheckUnchecked);
  EXPECT_EQ(ToggleCheckState(kCheckUnchecked, false), kCheckChecked);
  EXPECT_EQ(ToggleCheckState(kCheckChecked, false), kCheckUnchecked);
  EXPECT_EQ(ToggleCheckState(kCheckGrayed, false), kCheckChecked);
}

TEST(MarkState, VisualStyleAndElementStates) {
  EXPECT_EQ(CheckBoxVisualStyleState(kCheckUnchecked, true, false, false), 1);
  EXPECT_EQ(CheckBoxVisualStyleState(kCheckUnchecked, true, false, true), 2);
  EXPECT_EQ(CheckBoxVisualStyleState(kCheckUnchecked, true, true, true), 3);
  EXPECT_EQ(CheckBoxVisualStyleState(kCheckUnchecked, false, true, true), 4);
  EXPECT_EQ(CheckBoxVisualStyleState(kCheckChecked, true, false, false), 5);
  EXPECT_EQ(CheckBoxVisualStyleState(kCheckChecked, false, false, false), 8);
  EXPECT_EQ(CheckBoxVisualStyleState(kCheckGrayed, true, false, true), 10);
  EXPECT_EQ(CheckBoxVisualStyleState(kCheckGrayed, true, true, false), 11);
  EXPECT_EQ(CheckBoxVisualStyleState(kCheckGrayed, false, false, false), 12);
  EXPECT_EQ(RadioVisualStyleState(false, true, false, true), 2);
  EXPECT_EQ(RadioVisualStyleState(true, true, true, false), 7);
  EXPECT_EQ(RadioVisualStyleState(true, false, false, false), 8);

  EXPECT_EQ(MarkElementState(true, false, false), 0);
  EXPECT_EQ(MarkElementState(true, false, true), 1);
  EXPECT_EQ(MarkElementState(true, true, true), 2);
  EXPECT_EQ(MarkElementState(false, true, true), 3);
}

TEST(MarkState, ReleaseCountsOnTheEdgesToo) {
  EXPECT_TRUE(ReleaseCounts(0, 0, 98, 20));
  EXPECT_TRUE(ReleaseCounts(98, 20, 98, 20));
  EXPECT_FALSE(ReleaseCounts(99, 10, 98, 20));
  EXPECT_FALSE(ReleaseCounts(10, -1, 98, 20));
  EXPECT_FALSE(ReleaseCounts(-1, 5, 98, 20));
}

TEST(MarkState, CaptionAccelerators) {
  EXPECT_TRUE(IsCaptionAccelerator(U'e', "&Enabled"));
  EXPECT_TRUE(IsCaptionAccelerator(U'A', "En&ables")) << "letters match without case";
  EXPECT_TRUE(IsCaptionAccelerator(U'a', "En&ables"));
  EXPECT_FALSE(IsCaptionAccelerator(U'n', "En&ables")) << "only the marked character";
  EXPECT_FALSE(IsCaptionAccelerator(U'b', "Salt && &pepper")) << "a doubled ampersand marks nothing";
  EXPECT_TRUE(IsCaptionAccelerator(U'p', "Salt && &pepper"));
  EXPECT_FALSE(IsCaptionAccelerator(U'x', "Nothing"));
  EXPECT_FALSE(IsCaptionAccelerator(U'x', "Trailing&")) << "an ampersand at the end marks nothing";
  EXPECT_TRUE(IsCaptionAccelerator(U'\u9875', "\xE9\xA6\x96&\xE9\xA1\xB5")) << "a character outside ASCII";
  EXPECT_FALSE(IsCaptionAccelerator(U'\u9875', "&\xE9\xA1")) << "a cut sequence reads as its first byte";
}

}  // namespace
}  // namespace hv
