#pragma once
// Places a page's blocks and runs on a surface of a given width: nests the
// styled boxes the blocks stand in (collapsing their vertical margins as
// browsers do), wraps and aligns text into lines, indents lists, sizes
// table columns. What comes out is a list of
// positioned boxes that a painter draws as they are, and the rectangles of
// the links. Text is measured through an interface so that this stays free
// of any window system. Portable.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "pageview/bigblock.h"
#include "pageview/htmldocument.h"
#include "framework/types.h"

namespace hv::html {

struct FontMetrics {
  int height = 0;  // line height in pixels
  int ascent = 0;  // from the top of the line to the baseline
};

class TextMeasurer {
 public:
  virtual ~TextMeasurer() = default;
  // Width in pixels of UTF-8 text (one line, no breaks) in the style.
  virtual int TextWidth(std::string_view utf8, const RunStyle& style) = 0;
  virtual FontMetrics Metrics(const RunStyle& style) = 0;
  // The natural size in pixels of the image a page names by `src`; an empty
  // size when it cannot be read, and then its alt text stands in.
  virtual TSize ImageSize(std::string_view src) {
    (void)src;
    return {};
  }
};

// The largest side an image is drawn at, whatever the page asks for.
constexpr int kMaxImageSide = 20000;

enum class BoxKind {
  Shade,       // a filled background: preformatted text, table header cells
  CellBorder,  // a one-pixel outline around a table cell, in `color` or the default grey
  Fill,        // a rectangle filled with `color`: a box's background, or one edge of its border
  Rule,        // a horizontal rule, filled
  Bullet,      // a list bullet, filled in its shape
  Text,
  Image,  // `text` holds the source as the page wrote it
};

enum class BulletShape { Disc, Circle, Square };

struct LayoutBox {
  BoxKind kind = BoxKind::Text;
  TRect rect;
  std::string text;  // Text: UTF-8, all in one script class (see IsWideChar)
  RunStyle style;    // Text
  int baseline = 0;  // Text: y of the baseline
  bool link = false;
  BulletShape bullet = BulletShape::Disc;
  uint32_t color = kNoColor;  // Fill, CellBorder and Rule: 0xRRGGBB, or none for the default
  bool floated = false;       // part of a float, painted over the backgrounds of the blocks around it
};

// A page's boxes, tens of thousands on a long page: once they are many,
// their memory is mapped apart from the heap (see bigblock.h).
using LayoutBoxes = std::vector<LayoutBox, BigBlockAllocator<LayoutBox>>;

struct LinkArea {
  TRect rect;
  std::string href;
};

struct LayoutOptions {
  int width = 0;  // the surface width, margins included
  int margin = 8;
  // Lengths the page gives in pixels (image and table sizes) grow with the
  // reader's zoom, in percent, as the fonts do.
  int zoom = 100;
  // The title belongs to the window's caption and history, never to the page.
};

struct PageLayout {
  LayoutBoxes boxes;             // in painting order
  std::vector<LinkArea> links;   // one per text box of a link
  std::vector<int> blockTops;    // the top of each block of the document, in its order
  int width = 0;                 // right edge of the widest content plus the margin
  int height = 0;                // bottom of the last block plus the margin
  uint32_t background = kNoColor;  // the page's own colour behind everything, or none (white)
  bool hasFloats = false;          // some boxes are floated: backgrounds of the others paint first

  const LinkArea* LinkAt(TPoint point) const;
};

PageLayout LayoutDocument(const Document& document, TextMeasurer& measurer, const LayoutOptions& options);

// Characters of the scripts that break between any two characters (Chinese,
// Japanese, Korean, full-width forms). A text box never mixes them with
// others, so a painter can pick a font for the whole box.
bool IsWideChar(uint32_t codePoint);
bool HasWideChars(std::string_view utf8);

// Decodes one code point at `pos` and moves past it; a broken sequence gives
// U+FFFD and moves one byte.
uint32_t NextCodePoint(std::string_view utf8, size_t& pos);

}  // namespace hv::html
