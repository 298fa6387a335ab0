#include "theme/controls/boxgeometry.h"

#include <algorithm>

namespace hv {

TRect GroupBoxFrameRect(int width, int height, int captionHeight) {
  return {3, captionHeight / 2 + 1, width - 2, height - 2};
}

TRect GroupBoxCaptionRect(int captionMargin, int captionWidth, int captionHeight, bool widen) {
  TRect r{captionMargin, 0, captionMargin + captionWidth, captionHeight};
  return widen ? r.Inflate(3, 0) : r;
}

TRect GroupBoxClientRect(int paintWidth, int paintHeight, int captionHeight) {
  return {0, captionHeight, paintWidth, paintHeight};
}

int GroupBoxCheckBoxWidth(int boxWidth, int captionMargin, int markWidth, int spacing, int textWidth) {
  return std::min(boxWidth - captionMargin - 2, markWidth + spacing + textWidth + 6);
}

int ClampRadioColumns(int columns) { return std::clamp(columns, kRadioGroupMinColumns, kRadioGroupMaxColumns); }

int ClampItemIndex(int index, int count) { return std::clamp(index, -1, std::max(count, 0) - 1); }

int RadioGroupRows(int count, int columns) {
  if (count <= 0) return 0;
  columns = ClampRadioColumns(columns);
  return (count + columns - 1) / columns;
}

std::vector<TRect> RadioGroupButtonRects(const TRadioGroupMetrics& m) {
  std::vector<TRect> rects;
  const int rows = RadioGroupRows(m.count, m.columns);
  if (rows == 0) return rects;
  const int columns = ClampRadioColumns(m.columns);
  const int columnWidth = (m.width - 10) / columns;
  const int free = m.height - m.textHeight - 5;
  // A group shorter than its caption has no room for rows: they get none,
  // never a negative height.
  const int rowHeight = std::max(free / rows, 0);
  const int top = (free > 0 ? (free % rows) / 2 : 0) + m.textHeight + 1;
  rects.reserve(static_cast<size_t>(m.count));
  for (int i = 0; i < m.count; ++i) {
    const int column = i / rows, row = i % rows;
    int x = column * columnWidth + 8;
    if (m.rightToLeft) x = m.clientWidth - x - columnWidth;
    rects.push_back(Bounds(x, row * rowHeight + top, columnWidth, rowHeight));
  }
  return rects;
}

TRect MarkRect(int paintWidth, int paintHeight, TSize markSize, bool atLeft) {
  const int left = atLeft ? 0 : paintWidth - markSize.cx;
  const int top = (paintHeight - markSize.cy) / 2;
  return Bounds(left, top, markSize.cx, markSize.cy);
}

TRect CaptionArea(int paintWidth, int paintHeight, int markWidth, int spacing, bool markAtLeft) {
  if (markAtLeft) return {markWidth + spacing, 0, paintWidth, paintHeight};
  return {2, 0, paintWidth - markWidth + spacing, paintHeight};
}

TRect PlaceCaption(const TRect& measured, const TRect& area) {
  const int top = area.top + (area.Height() - measured.Height()) / 2;
  return Bounds(area.left, top, measured.Width(), measured.Height());
}

TRect CaptionFocusRect(const TRect& caption) {
  TRect r = caption.Inflate(1, 2);
  r.right += 2;
  return r;
}

int ToggleCheckState(int state, bool allowGrayed) {
  switch (state) {
    case kCheckUnchecked: return allowGrayed ? kCheckGrayed : kCheckChecked;
    case kCheckChecked: return kCheckUnchecked;
    default: return kCheckChecked;
  }
}

namespace {
int VisualStyleColumn(bool enabled, bool pressed, bool hot) {
  if (!enabled) return 4;
  if (pressed) return 3;
  return hot ? 2 : 1;
}
}  // namespace

int CheckBoxVisualStyleState(int check, bool enabled, bool pressed, bool hot) {
  const int row = check == kCheckChecked ? 1 : check == kCheckGrayed ? 2 : 0;
  return row * 4 + VisualStyleColumn(enabled, pressed, hot);
}

int RadioVisualStyleState(bool checked, bool enabled, bool pressed, bool hot) {
  return (checked ? 4 : 0) + VisualStyleColumn(enabled, pressed, hot);
}

uint8_t MarkElementState(bool enabled, bool pressed, bool hot) {
  if (!enabled) return 3;
  if (pressed) return 2;
  return hot ? 1 : 0;
}

namespace {
// One UTF-8 sequence from `at`; a broken one counts as the single byte.
char32_t DecodeAt(std::string_view text, size_t at) {
  const auto b = [&](size_t i) { return static_cast<unsigned char>(text[i]); };
  const unsigned char lead = b(at);
  const size_t extra = lead >= 0xF0 ? 3 : lead >= 0xE0 ? 2 : lead >= 0xC0 ? 1 : 0;
  if (extra == 0 || at + extra >= text.size()) return lead;
  char32_t c = extra == 3 ? lead & 0x07 : extra == 2 ? lead & 0x0F : lead & 0x1F;
  for (size_t i = 1; i <= extra; ++i) {
    if ((b(at + i) & 0xC0) != 0x80) return lead;
    c = (c << 6) | (b(at + i) & 0x3F);
  }
  return c;
}

char32_t FoldCase(char32_t c) { return c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c; }
}  // namespace

bool IsCaptionAccelerator(char32_t key, std::string_view caption) {
  for (size_t i = 0; i + 1 < caption.size(); ++i) {
    if (caption[i] != '&') continue;
    if (caption[i + 1] == '&') {
      ++i;
      continue;
    }
    return FoldCase(DecodeAt(caption, i + 1)) == FoldCase(key);
  }
  return false;
}

}  // namespace hv
