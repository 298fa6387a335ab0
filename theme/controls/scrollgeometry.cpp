#include "theme/controls/scrollgeometry.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace hv {
namespace {

// Virtual-key codes of the step routine; this file stays free of the
// platform's headers.
constexpr unsigned kVkPrior = 0x21, kVkNext = 0x22, kVkEnd = 0x23, kVkHome = 0x24;
constexpr unsigned kVkLeft = 0x25, kVkUp = 0x26, kVkRight = 0x27, kVkDown = 0x28;

int ClampToInt(int64_t value) {
  return static_cast<int>(
      std::clamp<int64_t>(value, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
}

// offset + numerator / denominator rounded half to even, for a numerator of
// either sign and a positive denominator.
int64_t OffsetDivRoundHalfEven(int64_t offset, int64_t numerator, int64_t denominator) {
  int64_t quotient = numerator / denominator;
  int64_t remainder = numerator % denominator;
  if (remainder < 0) {
    --quotient;
    remainder += denominator;
  }
  int64_t total = offset + quotient;
  const int64_t twice = 2 * remainder;
  if (twice > denominator || (twice == denominator && (total & 1) != 0)) ++total;
  return total;
}

// Max − Min − PageSize, plus one with a page: the number of steps the thumb
// travels over.
int64_t StepCount(const TScrollRange& range) {
  int64_t n = int64_t{range.max} - range.min - range.pageSize;
  if (range.pageSize != 0) ++n;
  return n;
}

bool HasTravel(const TScrollRange& range) {
  return int64_t{range.max} - range.min - range.pageSize + 1 > 0 && StepCount(range) > 0;
}

}  // namespace

int64_t DivRoundHalfEven(int64_t numerator, int64_t denominator) {
  return OffsetDivRoundHalfEven(0, numerator, denominator);
}

int ScrollButtonSize(int axisLength, int borderWidth, int thumbMetric) {
  const int length = axisLength - 2 * borderWidth;
  if (length <= 0) return 0;
  return length < 2 * thumbMetric ? length / 2 : thumbMetric;
}

TRect ScrollFirstButtonRect(const TScrollBox& box) {
  const int bw = box.borderWidth, size = box.buttonSize;
  if (box.vertical) return {bw, bw, box.width - bw, bw + size};
  return {bw, bw, bw + size, box.height - bw};
}

TRect ScrollSecondButtonRect(const TScrollBox& box) {
  const int bw = box.borderWidth, size = box.buttonSize;
  if (box.vertical) return {bw, box.height - bw - size, box.width - bw, box.height - bw};
  return {box.width - bw - size, bw, box.width - bw, box.height - bw};
}

TRect ScrollTrackRect(const TScrollBox& box) {
  const int bw = box.borderWidth;
  TRect track{bw, bw, box.width - bw, box.height - bw};
  if (box.showButtons) {
    if (box.vertical) {
      track.top += box.buttonSize;
      track.bottom -= box.buttonSize;
    } else {
      track.left += box.buttonSize;
      track.right -= box.buttonSize;
    }
  }
  return track;
}

int TrackStart(const TScrollBox& box) {
  const TRect track = ScrollTrackRect(box);
  return box.vertical ? track.top : track.left;
}

int TrackLength(const TScrollBox& box) {
  const TRect track = ScrollTrackRect(box);
  return box.vertical ? track.Height() : track.Width();
}

int ScrollThumbSize(const TScrollRange& range, int trackLength, int thumbMetric) {
  int64_t size = thumbMetric;
  if (range.pageSize > 0) {
    const int64_t span = int64_t{range.max} - range.min + 1;
    size = span > 0 ? DivRoundHalfEven(int64_t{trackLength} * range.pageSize, span) : trackLength;
    size = std::max<int64_t>(size, (thumbMetric / 3) * 2);
  }
  return size < trackLength ? static_cast<int>(size) : 0;
}

int ScrollHighestPosition(const TScrollRange& range) {
  if (range.pageSize > 0) return ClampToInt(int64_t{range.max} - range.pageSize + 1);
  return range.max;
}

int ScrollThumbStart(const TScrollRange& range, int trackStart, int trackLength, int thumbSize) {
  const int64_t avail = std::max(0, trackLength - thumbSize);
  if (!HasTravel(range)) return trackStart;
  if (int64_t{range.position} > int64_t{range.max} - range.pageSize + 1) return ClampToInt(trackStart + avail);
  const int64_t offset = DivRoundHalfEven((int64_t{range.position} - range.min) * avail, StepCount(range));
  // A position below Min (set behind the setters' back) must not put the
  // thumb outside its track either.
  return ClampToInt(trackStart + std::clamp<int64_t>(offset, 0, avail));
}

int ScrollPositionAt(const TScrollRange& range, int pixel, int trackStart, int trackLength, int thumbSize) {
  const int64_t avail = int64_t{trackLength} - thumbSize;
  const int highest = ScrollHighestPosition(range);
  // With nowhere to travel the bar stands at its lowest position.
  if (avail <= 0 || StepCount(range) <= 0) return range.min;
  const int64_t along = std::clamp<int64_t>(int64_t{pixel} - trackStart, 0, avail);
  const int64_t value = OffsetDivRoundHalfEven(range.min, along * StepCount(range), avail);
  return ClampToInt(std::clamp<int64_t>(value, range.min, std::max(range.min, highest)));
}

namespace {

TRect AlongTrack(const TScrollBox& box, int from, int to) {
  TRect track = ScrollTrackRect(box);
  if (box.vertical) {
    track.top = from;
    track.bottom = to;
  } else {
    track.left = from;
    track.right = to;
  }
  return track;
}

int ThumbStartIn(const TScrollBox& box, const TScrollRange& range, int thumbSize) {
  return ScrollThumbStart(range, TrackStart(box), TrackLength(box), thumbSize);
}

}  // namespace

TRect ScrollThumbRect(const TScrollBox& box, const TScrollRange& range, int thumbSize) {
  const int start = ThumbStartIn(box, range, thumbSize);
  return AlongTrack(box, start, start + thumbSize);
}

TRect ScrollPageUpRect(const TScrollBox& box, const TScrollRange& range, int thumbSize) {
  return AlongTrack(box, TrackStart(box), ThumbStartIn(box, range, thumbSize));
}

TRect ScrollPageDownRect(const TScrollBox& box, const TScrollRange& range, int thumbSize) {
  return AlongTrack(box, ThumbStartIn(box, range, thumbSize) + thumbSize, TrackStart(box) + TrackLength(box));
}

TScrollStep ScrollStepFor(const TScrollRange& range, unsigned virtualKey, int smallChange, int largeChange) {
  const int64_t page = range.pageSize < 1 ? largeChange : range.pageSize;
  int64_t position = range.position;
  int code = 0;
  switch (virtualKey) {
    case kVkPrior: position -= page; code = 2; break;
    case kVkNext: position += page; code = 3; break;
    case kVkEnd: position = range.max; code = 7; break;
    case kVkHome: position = range.min; code = 6; break;
    case kVkLeft:
    case kVkUp: position -= smallChange; code = 0; break;
    case kVkRight:
    case kVkDown: position += smallChange; code = 1; break;
    default: return {};
  }
  return {true, ClampToInt(std::clamp<int64_t>(position, range.min, std::max(range.min, range.max))), code};
}

int ScrollRepeatInitialDelay(int keyboardDelay) { return 200 + 200 * std::clamp(keyboardDelay, 0, 3); }

int ScrollRepeatInterval(int keyboardSpeed) {
  const double perSecond = (std::clamp(keyboardSpeed, 0, 31) + 1) * 2.3;
  return static_cast<int>(std::nearbyint(1000.0 / perSecond));
}

}  // namespace hv
