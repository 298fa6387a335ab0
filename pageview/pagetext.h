#pragma once
// The text of a laid-out page as a reader meets it: places between
// characters for selecting, the words for finding, and the plain text that
// a copy puts on the clipboard. Built over the text boxes of a layout, in
// their order, which is the reading order. Portable.

#include <compare>
#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "pageview/htmllayout.h"

namespace hv::html {

// A place between two characters: before byte `offset` of the text of
// layout box `box` (an index into the layout's boxes).
struct TextSpot {
  size_t box = 0;
  size_t offset = 0;
  constexpr auto operator<=>(const TextSpot&) const = default;
};

struct TextRange {
  TextSpot begin;
  TextSpot end;
  constexpr bool Empty() const { return !(begin < end); }
  constexpr bool operator==(const TextRange&) const = default;
};

// The width in pixels of the first bytes of a box's text, drawn as the box
// draws it.
using PrefixWidth = std::function<int(const LayoutBox& box, std::string_view prefix)>;

class TPageText {
 public:
  explicit TPageText(const LayoutBoxes& boxes);

  bool HasText() const { return !texts_.empty(); }
  // From before the first character to after the last.
  TextRange All() const;

  // Every place where `needle` stands, in reading order, without overlaps.
  // Letters match whatever their case; a run of white space matches any run
  // of white space, line ends included. An empty needle finds nothing.
  std::vector<TextRange> Find(std::string_view needle) const;

  // The text between two spots in UTF-8; lines end in "\r\n" and boxes side
  // by side with a gap between them (table cells) are parted by a tab.
  std::string Extract(TextRange range) const;

  // The bytes [first, second) of box `box` that lie inside `range`; an empty
  // pair when none do.
  std::pair<size_t, size_t> PartOfBox(size_t box, TextRange range) const;

  // The spot nearest to a point of the page, for a mouse press or drag.
  TextSpot SpotAt(TPoint point, const PrefixWidth& width) const;
  // The x of a spot's place on its line.
  int XOf(TextSpot spot, const PrefixWidth& width) const;

  // One character on, or back; the ends of the text stay where they are.
  TextSpot Next(TextSpot spot) const;
  TextSpot Previous(TextSpot spot) const;
  // The place at `x` on the line above or below a spot's line; the start of
  // the text above the first line, the end below the last.
  TextSpot LineAbove(TextSpot spot, int x, const PrefixWidth& width) const;
  TextSpot LineBelow(TextSpot spot, int x, const PrefixWidth& width) const;
  // The start and the end of the line a spot is on.
  TextSpot LineStart(TextSpot spot) const;
  TextSpot LineEnd(TextSpot spot) const;
  // The word around a spot (letters and digits, or one wide character).
  TextRange WordAt(TextSpot spot) const;

 private:
  enum class Joint { None, Gap, Line };
  // Position of `box` among the text boxes, or the nearest one before it.
  size_t IndexOf(size_t box) const;
  Joint JointBefore(size_t index) const;
  TextSpot SpotInBox(size_t index, int x, const PrefixWidth& width) const;
  // The place at `x` on the line of the text box at `index`.
  TextSpot SpotOnLine(size_t index, int x, const PrefixWidth& width) const;

  const LayoutBoxes& boxes_;
  std::vector<size_t> texts_;  // indices of the text boxes
};

// Case folding for finding: Latin, Greek, Cyrillic and full-width letters
// fold to small letters; everything else, Chinese included, stays.
uint32_t FoldCase(uint32_t codePoint);

}  // namespace hv::html
