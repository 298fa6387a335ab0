#include "theme/controls/edittext.h"

#include <algorithm>

namespace hv {

// --- the edit-action stack ----------------------------------------------------------------

void TEditActionStack::RecordDeletion(int position, std::u16string_view text) {
  if (text.empty()) return;
  if (!records_.empty() && !records_.back().insertion) {
    TEditAction& top = records_.back();
    const int length = static_cast<int>(text.size());
    // Only a removal touching the top one joins it: anything with text
    // left between the two would come back at the wrong place.
    if (position + length == top.position) {
      top.text.insert(0, text);
      top.position = position;
      units_ += text.size();
      Trim();
      return;
    }
    if (position == top.position) {
      top.text.append(text);
      units_ += text.size();
      Trim();
      return;
    }
  }
  Push({false, false, position, std::u16string(text), 0});
}

void TEditActionStack::RecordInsertion(int position, int length, bool chained) {
  if (length <= 0) return;
  if (!records_.empty() && records_.back().insertion &&
      position == records_.back().position + records_.back().length) {
    records_.back().length += length;
    return;
  }
  Push({true, chained, position, {}, length});
}

TEditAction TEditActionStack::Pop() {
  TEditAction top = std::move(records_.back());
  records_.pop_back();
  units_ -= top.text.size();
  return top;
}

void TEditActionStack::Push(TEditAction action) {
  units_ += action.text.size();
  records_.push_back(std::move(action));
  Trim();
}

void TEditActionStack::Trim() {
  while (!records_.empty() && (records_.size() > maxRecords_ || units_ > maxUnits_)) {
    units_ -= records_.front().text.size();
    records_.pop_front();
    // A record chained to the one just dropped would undo only half an edit.
    while (!records_.empty() && records_.front().chained) {
      units_ -= records_.front().text.size();
      records_.pop_front();
    }
  }
}

// --- characters ------------------------------------------------------------------------------

bool SplitsPair(std::u16string_view text, int p) {
  return p > 0 && p < static_cast<int>(text.size()) && IsHighSurrogate(text[static_cast<size_t>(p - 1)]) &&
         IsLowSurrogate(text[static_cast<size_t>(p)]);
}

int SnapToCharacter(std::u16string_view text, int p, bool forward) {
  p = std::clamp(p, 0, static_cast<int>(text.size()));
  if (SplitsPair(text, p)) p += forward ? 1 : -1;
  return p;
}

int PreviousCharacter(std::u16string_view text, int p) { return SnapToCharacter(text, p - 1, false); }

int NextCharacter(std::u16string_view text, int p) { return SnapToCharacter(text, p + 1, true); }

std::u16string_view WholeCharactersPrefix(std::u16string_view s, size_t count) {
  if (count >= s.size()) return s;
  if (count > 0 && IsHighSurrogate(s[count - 1]) && IsLowSurrogate(s[count])) --count;
  return s.substr(0, count);
}

int WordLeft(std::u16string_view text, int p) {
  p = std::clamp(p, 0, static_cast<int>(text.size()));
  bool passedWord = false;
  while (p > 0) {
    const char16_t c = text[static_cast<size_t>(p - 1)];
    if (c == u' ' && passedWord) break;
    if (c != u' ') passedWord = true;
    --p;
  }
  return p;
}

int WordRight(std::u16string_view text, int p) {
  const int length = static_cast<int>(text.size());
  p = std::clamp(p, 0, length);
  bool spaceSeen = false;
  bool wordSeen = false;
  while (p < length) {
    const char16_t c = text[static_cast<size_t>(p)];
    if (c == u' ') {
      spaceSeen = true;
    } else {
      if (wordSeen && spaceSeen) return p;
      wordSeen = true;
      spaceSeen = false;
    }
    ++p;
  }
  // No word after a space: the end of the text, trailing spaces included.
  return length;
}

std::u16string CleanPastedText(std::u16string_view text) {
  std::u16string result;
  result.reserve(std::min<size_t>(text.size(), 1 << 20));
  for (size_t i = 0; i < text.size(); ++i) {
    const char16_t c = text[i];
    if (c == 0 || c == u'\r' || c == u'\n') break;
    if (IsHighSurrogate(c)) {
      if (i + 1 < text.size() && IsLowSurrogate(text[i + 1])) {
        result.push_back(c);
        result.push_back(text[++i]);
      } else {
        result.push_back(u'\xFFFD');
      }
    } else if (IsLowSurrogate(c)) {
      result.push_back(u'\xFFFD');
    } else {
      result.push_back(c < 32 || c == 0x7F ? u' ' : c);
    }
  }
  return result;
}

// --- geometry ----------------------------------------------------------------------------------

TRect PasswordShapeRect(const TRect& cell) { return {cell.left + 2, cell.top + 3, cell.right - 2, cell.bottom - 3}; }

TRect PasswordShapeSquare(const TRect& shape, bool odd) {
  int side = std::max(0, std::min(shape.right - shape.left, shape.bottom - shape.top));
  if (odd && side > 0 && side % 2 == 0) --side;
  const int left = shape.left + (shape.right - shape.left - side) / 2;
  const int top = shape.top + (shape.bottom - shape.top - side) / 2;
  return {left, top, left + side, top + side};
}

int AlignmentOffset(TEditAlign align, int textWidth, int areaWidth) {
  const int free = areaWidth - textWidth;
  if (free <= 0) return 0;
  switch (align) {
    case TEditAlign::left: return 0;
    case TEditAlign::right: return free;
    case TEditAlign::center: return free / 2;
  }
  return 0;
}

}  // namespace hv
