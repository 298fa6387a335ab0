#include "theme/controls/spinmath.h"

#include <algorithm>
#include <cstdint>
#include <limits>

namespace hv {

TSpinHalves SpinHalves(int width, int height, bool slider) {
  const int half = height / 2;
  const int h = std::max(half - (slider ? 1 : 0), 0);
  return {Rect(0, 0, width, h), Rect(0, height - h, width, height)};
}

TRect SpinSliderRect(int width, int height) {
  const int half = height / 2;
  return Rect(0, half - 1, width, half + 1);
}

TRect SpinPlacement(const TRect& associate, TTeSpinAlign align) {
  const int left = align == saRight ? associate.right : associate.left - kSpinWidth;
  return Rect(left, associate.top, left + kSpinWidth, associate.bottom);
}

int SpinStep(int position, int increment, int steps, int min, int max) {
  // Wide enough for any int times any int plus an int.
  const int64_t target = static_cast<int64_t>(position) + static_cast<int64_t>(increment) * steps;
  if (max < min) max = min;
  return static_cast<int>(std::clamp<int64_t>(target, min, max));
}

bool ParseSpinText(std::string_view text, int& value) {
  auto blank = [](char c) { return c == ' ' || c == '\t'; };
  size_t i = 0;
  while (i < text.size() && blank(text[i])) ++i;
  size_t end = text.size();
  while (end > i && blank(text[end - 1])) --end;
  bool negative = false;
  if (i < end && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  if (i == end) return false;
  int64_t magnitude = 0;
  for (; i < end; ++i) {
    if (text[i] < '0' || text[i] > '9') return false;
    magnitude = magnitude * 10 + (text[i] - '0');
    if (magnitude > int64_t{1} << 31) return false;
  }
  const int64_t signedValue = negative ? -magnitude : magnitude;
  if (signedValue > std::numeric_limits<int>::max()) return false;
  value = static_cast<int>(signedValue);
  return true;
}

}  // namespace hv
