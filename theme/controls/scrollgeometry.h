#pragma once
// The arithmetic of a scroll bar along its axis: button and track
// rectangles, the thumb's size and place, the position under a pixel, line
// and page steps, and the auto-repeat timing. Pure functions, so that the
// bars and their tests agree on every pixel without a window.

#include <cstdint>

#include "framework/types.h"

namespace hv {

// The range and place of a bar, as its Min, Max, PageSize and Position.
struct TScrollRange {
  int min = 0;
  int max = 100;
  int pageSize = 0;
  int position = 0;
};

// A bar's box: its size, the border inside it and whether it has arrow
// buttons of the given size at both ends.
struct TScrollBox {
  bool vertical = false;
  int width = 0;
  int height = 0;
  int borderWidth = 0;
  bool showButtons = true;
  int buttonSize = 0;

  int AxisLength() const { return vertical ? height : width; }
};

// The button length for a bar whose axis is axisLength long, given the
// system's thumb metric: half of what is left when two full buttons would
// not fit.
int ScrollButtonSize(int axisLength, int borderWidth, int thumbMetric);

TRect ScrollFirstButtonRect(const TScrollBox& box);
TRect ScrollSecondButtonRect(const TScrollBox& box);
TRect ScrollTrackRect(const TScrollBox& box);

// Start and length of the track along the axis.
int TrackStart(const TScrollBox& box);
int TrackLength(const TScrollBox& box);

// The thumb's length on a track of trackLength pixels; 0 when it does not fit.
int ScrollThumbSize(const TScrollRange& range, int trackLength, int thumbMetric);
// The highest position the bar can take: Max − PageSize + 1 with a page.
int ScrollHighestPosition(const TScrollRange& range);
// The thumb's leading pixel.
int ScrollThumbStart(const TScrollRange& range, int trackStart, int trackLength, int thumbSize);
// The position a thumb whose leading pixel is at pixel stands for, within
// [Min, highest position].
int ScrollPositionAt(const TScrollRange& range, int pixel, int trackStart, int trackLength, int thumbSize);

TRect ScrollThumbRect(const TScrollBox& box, const TScrollRange& range, int thumbSize);
TRect ScrollPageUpRect(const TScrollBox& box, const TScrollRange& range, int thumbSize);
TRect ScrollPageDownRect(const TScrollBox& box, const TScrollRange& range, int thumbSize);

// One step of the keyboard-like step routine: the new position and the
// scroll code to report, or no step for a key it does not know.
struct TScrollStep {
  bool valid = false;
  int position = 0;
  int code = 0;
};
TScrollStep ScrollStepFor(const TScrollRange& range, unsigned virtualKey, int smallChange, int largeChange);

// Auto-repeat timing from the keyboard settings: 200–800 ms before the
// second step, then 435 ms down to 14 ms between steps.
int ScrollRepeatInitialDelay(int keyboardDelay);
int ScrollRepeatInterval(int keyboardSpeed);

// Rounds numerator / denominator to the nearest integer, halves to even,
// exactly (no floating error on large ranges). denominator must be positive.
int64_t DivRoundHalfEven(int64_t numerator, int64_t denominator);

}  // namespace hv
