// TTeCustomEdit: measuring its characters and painting the text, the
// selection and the password cells.

#include <windows.h>

#include <algorithm>

#include "framework/graphics.h"
#include "theme/controls/edit.h"
#include "theme/controls/editwidths.h"
#include "theme/core/drawing.h"

namespace hv {

// --- character widths ----------------------------------------------------------------------

TEditCharWidths::TEditCharWidths() = default;

void TEditCharWidths::UseFont(HFONT font) {
  if (font == font_) return;
  Clear();
  // Selected only while measuring: a font selected into a context cannot
  // be deleted when its owner changes it.
  font_ = font;
}

void TEditCharWidths::Clear() {
  for (auto& block : blocks_) block.reset();
  pairs_.clear();
  lineHeight_ = -1;
}

int TEditCharWidths::UnitWidth(char16_t c) {
  auto& block = blocks_[c >> 8];
  if (!block) {
    block = std::make_unique<std::array<int, 256>>();
    const unsigned first = c & 0xFF00u;
    TSelectObject select(dc_, font_);
    // Halves of pairs are measured only as pairs.
    if (first >= 0xD800 && first <= 0xDF00) {
      block->fill(0);
    } else if (!GetCharWidth32W(dc_, first, first + 255, block->data())) {
      for (unsigned i = 0; i < 256; ++i) {
        const wchar_t one = static_cast<wchar_t>(first + i);
        SIZE size{};
        GetTextExtentPoint32W(dc_, &one, 1, &size);
        (*block)[i] = size.cx;
      }
    }
  }
  return (*block)[c & 0xFF];
}

int TEditCharWidths::At(std::u16string_view text, int index) {
  if (index < 0 || index >= static_cast<int>(text.size())) return 0;
  const char16_t c = text[static_cast<size_t>(index)];
  if (IsHighSurrogate(c) && index + 1 < static_cast<int>(text.size()) &&
      IsLowSurrogate(text[static_cast<size_t>(index + 1)])) {
    const char32_t code = 0x10000 + ((static_cast<char32_t>(c) - 0xD800) << 10) +
                          (text[static_cast<size_t>(index + 1)] - 0xDC00);
    auto found = pairs_.find(code);
    if (found != pairs_.end()) return found->second;
    SIZE size{};
    TSelectObject select(dc_, font_);
    GetTextExtentPoint32W(dc_, reinterpret_cast<const wchar_t*>(text.data() + index), 2, &size);
    pairs_.emplace(code, size.cx);
    return size.cx;
  }
  if (IsLowSurrogate(c) && SplitsPair(text, index)) return 0;
  if (IsHighSurrogate(c) || IsLowSurrogate(c)) {
    // A half on its own shows as the font's missing-glyph box.
    SIZE size{};
    TSelectObject select(dc_, font_);
    GetTextExtentPoint32W(dc_, reinterpret_cast<const wchar_t*>(&c), 1, &size);
    return size.cx;
  }
  return UnitWidth(c);
}

int TEditCharWidths::LineHeight() {
  if (lineHeight_ < 0) {
    SIZE size{};
    TSelectObject select(dc_, font_);
    GetTextExtentPoint32W(dc_, L"Pq", 2, &size);
    lineHeight_ = size.cy;
  }
  return lineHeight_;
}

int TEditCharWidths::WidthOf(std::u16string_view s) {
  int width = 0;
  for (int i = 0; i < static_cast<int>(s.size()); ++i) width += At(s, i);
  return width;
}

// --- geometry --------------------------------------------------------------------------------

TRect TTeCustomEdit::TextRect() {
  TRect r = GetContentRect();
  widths_->UseFont(Font()->Handle());
  r.bottom = r.top + widths_->LineHeight();
  return r;
}

int TTeCustomEdit::CellWidth() {
  widths_->UseFont(Font()->Handle());
  int width = 0;
  if (passwordKind_ == pkChar) {
    const char16_t c = static_cast<char16_t>(passwordChar_);
    width = widths_->WidthOf(std::u16string_view(&c, 1));
  } else {
    width = widths_->WidthOf(u"W");
  }
  return std::max(width, 1);
}

int TTeCustomEdit::CharWidthAt(int index) {
  if (PasswordMode()) return index >= 0 && index < static_cast<int>(text_.size()) ? CellWidth() : 0;
  widths_->UseFont(Font()->Handle());
  return widths_->At(text_, index);
}

int TTeCustomEdit::TextWidthOf(int from, int to) {
  from = std::max(from, 0);
  to = std::min(to, static_cast<int>(text_.size()));
  if (to <= from) return 0;
  if (PasswordMode()) return CellWidth() * (to - from);
  widths_->UseFont(Font()->Handle());
  int width = 0;
  for (int i = from; i < to; ++i) width += widths_->At(text_, i);
  return width;
}

int TTeCustomEdit::FreeWidth() {
  const int area = TextRect().Width();
  if (PasswordMode()) {
    const long long total = static_cast<long long>(CellWidth()) * static_cast<long long>(text_.size());
    return total < area ? area - static_cast<int>(total) : 0;
  }
  // Only whether the text is narrower than the area matters, so the sum
  // stops as soon as it is not.
  int total = 0;
  for (int i = 0; i < static_cast<int>(text_.size()) && total < area; ++i) total += CharWidthAt(i);
  return total < area ? area - total : 0;
}

int TTeCustomEdit::AlignmentShift() {
  if (textAlignment_ == TAlignment::taLeftJustify) return 0;
  const int area = TextRect().Width();
  const int free = FreeWidth();
  const TEditAlign align = textAlignment_ == TAlignment::taRightJustify ? TEditAlign::right : TEditAlign::center;
  return AlignmentOffset(align, free > 0 ? area - free : area, area);
}

int TTeCustomEdit::XOfIndex(int index) {
  const TRect r = TextRect();
  int x = r.left;
  if (index > 0) x += TextWidthOf(firstVisible_ - 1, std::min(index, static_cast<int>(text_.size())));
  return x + AlignmentShift();
}

int TTeCustomEdit::IndexAtX(int x) {
  const int length = static_cast<int>(text_.size());
  if (text_.empty()) return firstVisible_ - 1;
  x -= AlignmentShift();
  const TRect r = TextRect();
  if (PasswordMode()) {
    const int cells = (x - r.left) / CellWidth();
    return SnapToCharacter(text_, firstVisible_ - 1 + cells, true);
  }
  int i = std::clamp(firstVisible_ - 1, 0, length);
  int q = r.left + CharWidthAt(i) / 2;
  while (x > q && i + 1 <= length && q < r.right) {
    const int next = NextCharacter(text_, i);
    q += CharWidthAt(i) / 2;
    if (next < length) q += CharWidthAt(next) / 2;
    i = next;
  }
  return i;
}

int TTeCustomEdit::LastVisibleIndex() {
  const int length = static_cast<int>(text_.size());
  const TRect r = TextRect();
  int x = XOfIndex(0);
  int i = std::clamp(firstVisible_ - 1, 0, length);
  while (i < length && x < r.right) {
    x += CharWidthAt(i);
    i = NextCharacter(text_, i);
  }
  return i;
}

void TTeCustomEdit::ScrollToCaret() {
  const int length = static_cast<int>(text_.size());
  if (caretPos_ + 1 > firstVisible_) {
    // The leftmost start from which everything up to the caret fits,
    // found walking back from the caret: the cost is what is visible.
    const int area = TextRect().Width();
    int start = caretPos_;
    int width = 0;
    while (start > 0) {
      const int previous = PreviousCharacter(text_, start);
      const int w = TextWidthOf(previous, start);
      if (width + w > area) break;
      width += w;
      start = previous;
    }
    const int wanted = std::min(start + 1, std::max(length, 1));
    if (wanted > firstVisible_) firstVisible_ = wanted;
  } else {
    firstVisible_ = std::max(caretPos_, 1);
    if (SplitsPair(text_, firstVisible_ - 1)) --firstVisible_;
  }
  Invalidate();
}

// --- painting ----------------------------------------------------------------------------------

void TTeCustomEdit::PaintClient() {
  PaintTextBackground();
  const bool showSelection = HasFocus() || !hideSelection_;
  if (showSelection) PaintSelection();
  PaintText(false);
  if (showSelection && SelCount() > 0) PaintText(true);
}

void TTeCustomEdit::PaintTextBackground() {
  if (Transparent()) return;
  const TRect content = GetContentRect();
  const TRect text = TextRect();
  FillRectColor(*Canvas(), {text.left, content.top, text.right, PaintHeight() - content.top}, Color());
}

TRect TTeCustomEdit::SelectionRect() {
  const TRect r = TextRect();
  if (SelCount() == 0) return {r.left, r.top, r.left, r.bottom};
  const int first = std::max(SelStart(), firstVisible_ - 1);
  const int last = std::min(SelStart() + SelCount(), LastVisibleIndex());
  if (last <= first) return {r.left, r.top, r.left, r.bottom};
  const int left = std::max(XOfIndex(first), r.left);
  const int right = std::min(XOfIndex(last), r.right);
  return {left, r.top, std::max(left, right), r.bottom};
}

void TTeCustomEdit::PaintSelection() {
  const TRect r = SelectionRect();
  if (!r.IsEmpty()) FillRectColor(*Canvas(), r, clHighlight);
}

TRect TTeCustomEdit::PasswordCellRect(int cell) {
  const TRect r = TextRect();
  const int left = XOfIndex(0) + cell * CellWidth();
  return {left, r.top, left + CellWidth(), r.bottom};
}

void TTeCustomEdit::PaintText(bool selectedPart) {
  const TRect area = selectedPart ? SelectionRect() : TextRect();
  if (area.IsEmpty() || text_.empty()) return;
  TCanvas& canvas = *Canvas();
  const HDC dc = canvas.Handle();
  TClipRect clip(dc, area);
  const int first = std::clamp(firstVisible_ - 1, 0, static_cast<int>(text_.size()));
  const int last = LastVisibleIndex();
  if (PasswordMode()) {
    const int from = selectedPart ? std::max(SelStart(), first) : first;
    const int to = selectedPart ? std::min(SelStart() + SelCount(), last) : last;
    for (int i = from; i < to; ++i) PaintPasswordCell(PasswordCellRect(i - first), selectedPart);
    return;
  }
  const TColor color = selectedPart ? clHighlightText : PaintFont()->Color();
  TSelectObject font(dc, PaintFont()->Handle());
  SetTextColor(dc, ColorToRGB(color));
  SetBkMode(dc, TRANSPARENT);
  const TRect text = TextRect();
  RECT clipped{area.left, area.top, area.right, area.bottom};
  ExtTextOutW(dc, XOfIndex(first), text.top, ETO_CLIPPED, &clipped,
              reinterpret_cast<const wchar_t*>(text_.data() + first), static_cast<UINT>(last - first), nullptr);
}

void TTeCustomEdit::PaintPasswordCell(const TRect& cell, bool selected) {
  TCanvas& canvas = *Canvas();
  const TColor color = selected ? clHighlightText : PaintFont()->Color();
  TClipRect clip(canvas.Handle(), cell);
  const TRect shape = PasswordShapeRect(cell);
  switch (passwordKind_) {
    case pkChar: {
      const HDC dc = canvas.Handle();
      TSelectObject font(dc, PaintFont()->Handle());
      SetTextColor(dc, ColorToRGB(color));
      SetBkMode(dc, TRANSPARENT);
      const wchar_t c = static_cast<wchar_t>(passwordChar_);
      RECT r{cell.left, cell.top, cell.right, cell.bottom};
      DrawTextW(dc, &c, 1, &r, DT_CENTER | DT_SINGLELINE | DT_NOPREFIX | DT_NOCLIP);
      break;
    }
    case pkRect:
      FillRectColor(canvas, shape, color);
      break;
    case pkRoundRect:
      RoundFill(canvas, shape, 2, color);
      break;
    case pkCircle: {
      const TRect square = PasswordShapeSquare(shape, false);
      RoundFill(canvas, square, square.Width() / 2 + 1, color);
      break;
    }
    case pkTriangle: {
      const TRect s = PasswordShapeSquare(shape, true);
      if (s.IsEmpty()) break;
      const TPoint points[3] = {{s.left + s.Width() / 2, s.top}, {s.right - 1, s.bottom - 1}, {s.left, s.bottom - 1}};
      FillPolygon(canvas, points, color);
      break;
    }
    case pkNone:
      break;
  }
}

}  // namespace hv
