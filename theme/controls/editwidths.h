#pragma once
// The advance widths of the edit box's characters in its font, kept per
// block of 256 code units (pairs apart), so that scrolling and hit-testing
// a long text cost a look-up per character instead of a measuring call.

#include <array>
#include <memory>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "framework/gdi.h"

namespace hv {

class TEditCharWidths {
 public:
  TEditCharWidths();

  // Forgets every width when `font` is not the one measured with so far.
  void UseFont(HFONT font);
  void Clear();
  // The width of the character starting at `index`: a pair's width at its
  // first half, 0 at its second half, 0 past the end.
  int At(std::u16string_view text, int index);
  // The text's height (of "Pq").
  int LineHeight();
  int WidthOf(std::u16string_view s);

 private:
  int UnitWidth(char16_t c);

  TMemoryDC dc_;
  HFONT font_ = nullptr;
  std::array<std::unique_ptr<std::array<int, 256>>, 256> blocks_{};
  std::unordered_map<char32_t, int> pairs_;
  int lineHeight_ = -1;
};

}  // namespace hv
