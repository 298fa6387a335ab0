#pragma once
// Where the parts of a group box, a radio group, a check box and a radio
// button go, and how their marks change state: plain values in, plain
// values out, so the controls only carry out what these compute. Portable.

#include <cstdint>
#include <string_view>
#include <vector>

#include "framework/types.h"

namespace hv {

// Which side a check box or radio button puts its mark on (and where a group
// box puts its check box's mark).
enum TTeLeftRight : uint8_t { ktaLeftJustify, ktaRightJustify, ktaCenter };

// Check states as the styles take them: 0 unchecked, 1 checked, 2 grayed.
constexpr int kCheckUnchecked = 0, kCheckChecked = 1, kCheckGrayed = 2;

// ---- Group box ----

// The etched frame: (3, captionHeight div 2 + 1, width - 2, height - 2).
TRect GroupBoxFrameRect(int width, int height, int captionHeight);
// The caption's gap in the frame's top line, `captionMargin` from the left;
// `widen` adds 3 pixels on both sides (a caption with text gets room).
TRect GroupBoxCaptionRect(int captionMargin, int captionWidth, int captionHeight, bool widen);
// What aligned children are laid out in: the whole control below the caption.
TRect GroupBoxClientRect(int paintWidth, int paintHeight, int captionHeight);
// The width a group box gives its check box: what the mark, the spacing and
// the text need plus 6, cut to what the box has right of the margin.
int GroupBoxCheckBoxWidth(int boxWidth, int captionMargin, int markWidth, int spacing, int textWidth);

// ---- Radio group ----

constexpr int kRadioGroupMinColumns = 1, kRadioGroupMaxColumns = 16;
int ClampRadioColumns(int columns);
// -1 ... count - 1 (only -1 for an empty list).
int ClampItemIndex(int index, int count);

struct TRadioGroupMetrics {
  int count = 0;
  int columns = 1;
  int width = 0;        // the group's width
  int height = 0;       // the group's height
  int textHeight = 0;   // the font's text-metric height
  int clientWidth = 0;  // for mirroring in right-to-left reading
  bool rightToLeft = false;
};
// The bounds of each button, in item order: filled column by column, each
// column as many rows as the items need. A group too small for its rows
// gives its buttons no height rather than a negative one.
std::vector<TRect> RadioGroupButtonRects(const TRadioGroupMetrics& m);
// How many rows a radio group of `count` items in `columns` columns has.
int RadioGroupRows(int count, int columns);

// ---- Check box and radio button ----

// The mark at the left edge of the area it belongs in, centred vertically
// (truncating toward zero): the left of the control, or its right edge.
TRect MarkRect(int paintWidth, int paintHeight, TSize markSize, bool atLeft);
// The area the caption is placed in, by the mark's side.
TRect CaptionArea(int paintWidth, int paintHeight, int markWidth, int spacing, bool markAtLeft);
// The measured caption moved to the area's left edge, centred vertically.
TRect PlaceCaption(const TRect& measured, const TRect& area);
// The focus rectangle around a placed caption.
TRect CaptionFocusRect(const TRect& caption);

// unchecked -> grayed (when allowed) or checked; checked -> unchecked;
// grayed -> checked.
int ToggleCheckState(int state, bool allowGrayed);

// The visual-style state of the "Button" class's check box (part 3) or radio
// button (part 2): rows of four per check state, in the order normal, hot,
// pressed, disabled; disabled wins over pressed, pressed over hot.
int CheckBoxVisualStyleState(int check, bool enabled, bool pressed, bool hot);
int RadioVisualStyleState(bool checked, bool enabled, bool pressed, bool hot);
// The element state the styles take: 3 disabled, 2 pressed, 1 hot, 0 normal.
uint8_t MarkElementState(bool enabled, bool pressed, bool hot);

// A released button counts when it comes up over the control, its right and
// bottom edges included.
constexpr bool ReleaseCounts(int x, int y, int width, int height) {
  return x >= 0 && y >= 0 && x <= width && y <= height;
}

// Whether `key` is the caption's accelerator: the character after a single
// "&" ("&&" is a plain ampersand), letters compared without case.
bool IsCaptionAccelerator(char32_t key, std::string_view caption);

}  // namespace hv
