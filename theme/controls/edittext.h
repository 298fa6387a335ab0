#pragma once
// The edit box's text work that needs no window: the stack of edit actions
// behind Undo, word moves, keeping surrogate pairs whole, cleaning pasted
// text, and the shape of the password cells. Text is UTF-16; positions
// count UTF-16 units.

#include <cstddef>
#include <deque>
#include <string>
#include <string_view>

#include "framework/types.h"

namespace hv {

// One undo record. A deletion is undone by inserting `text` again at
// `position`, an insertion by removing `length` units from there. A chained
// record is undone together with the one below it.
struct TEditAction {
  bool insertion = false;
  bool chained = false;
  int position = 0;  // 1-based
  std::u16string text;
  int length = 0;

  bool operator==(const TEditAction&) const = default;
};

// Last in, first out, bounded: past `maxRecords` records or `maxUnits`
// units of kept text the oldest go, together with any record chained to
// them, so that an undo never reverses half of one edit.
class TEditActionStack {
 public:
  explicit TEditActionStack(size_t maxRecords = 1000, size_t maxUnits = size_t{32} << 20)
      : maxRecords_(maxRecords), maxUnits_(maxUnits) {}

  // A removal run of Backspaces (each ending where the last began) or of
  // Deletes (each at the same place) grows the top record; anything else
  // is a record of its own.
  void RecordDeletion(int position, std::u16string_view text);
  // Typing on at the end of the last insertion grows it.
  void RecordInsertion(int position, int length, bool chained);

  bool Empty() const { return records_.empty(); }
  size_t Count() const { return records_.size(); }
  size_t KeptUnits() const { return units_; }
  const TEditAction& Top() const { return records_.back(); }
  TEditAction Pop();

 private:
  void Push(TEditAction action);
  void Trim();

  std::deque<TEditAction> records_;
  size_t maxRecords_;
  size_t maxUnits_;
  size_t units_ = 0;
};

inline bool IsHighSurrogate(char16_t c) { return c >= 0xD800 && c <= 0xDBFF; }
inline bool IsLowSurrogate(char16_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

// Whether position p (0..length) falls between the halves of a pair.
bool SplitsPair(std::u16string_view text, int p);
// p clamped to 0..length and, when it would split a pair, moved past the
// pair in the direction of travel (forward: after it, else before it).
int SnapToCharacter(std::u16string_view text, int p, bool forward);
// The position one character before / after p: a pair counts as one.
int PreviousCharacter(std::u16string_view text, int p);
int NextCharacter(std::u16string_view text, int p);
// At most `count` leading units of s, one fewer when the last would be
// the first half of a pair.
std::u16string_view WholeCharactersPrefix(std::u16string_view s, size_t count);

// The start of the word left of p: spaces right before p are passed over,
// then the word.
int WordLeft(std::u16string_view text, int p);
// The start of the next word, or the end of the text.
int WordRight(std::u16string_view text, int p);

// What a single line can hold of pasted text: it ends at a NUL or at the
// first line break; other control characters become spaces and halves of
// pairs standing alone become U+FFFD.
std::u16string CleanPastedText(std::u16string_view text);

// The shrunk cell a password shape is drawn in, and the centred square of
// it that the circle and the triangle fill (an odd number of pixels wide
// for the triangle, so that its apex sits on one column).
TRect PasswordShapeRect(const TRect& cell);
TRect PasswordShapeSquare(const TRect& shape, bool odd);

// What the alignment adds to every x when the whole text is narrower than
// the area: nothing for the left, all the free width for the right, half
// of it (truncated) for the centre.
enum class TEditAlign { left, right, center };
int AlignmentOffset(TEditAlign align, int textWidth, int areaWidth);

}  // namespace hv
