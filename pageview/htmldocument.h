#pragma once
// What a page says and the style it asks for: a title and a list of blocks
// (headings, paragraphs, list items, preformatted text, rules, tables), each
// holding runs of styled text and naming the innermost of the nested boxes
// (margins, padding, borders, backgrounds) it stands in. Built from any
// markup, however broken. Portable.

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "pageview/bigblock.h"
#include "pageview/htmlcharset.h"

namespace hv::html {

constexpr uint32_t kNoColor = 0xFFFFFFFFu;

// Font sizes in pixels at 96 dots per inch and 100 % zoom: body text, and
// headings 1 to 6 (index 1..6).
constexpr int kBodyFontPixels = 13;
constexpr std::array<int, 7> kHeadingFontPixels = {13, 26, 20, 15, 13, 11, 9};
// No page gets a font smaller or bigger than this.
constexpr int kMinFontPixels = 4;
constexpr int kMaxFontPixels = 200;

struct RunStyle {
  bool bold = false;
  bool italic = false;
  bool underline = false;
  bool monospace = false;
  bool serif = false;   // a face with serifs (Times New Roman), from font-family or font face
  uint8_t heading = 0;  // 0 for body text, else the heading level 1..6 (the size)
  uint16_t size = 0;    // the font size in pixels the page asks for, 0 for the default of `heading`
  uint32_t color = kNoColor;       // 0xRRGGBB from the page's style, or none (the default colours)
  uint32_t background = kNoColor;  // a background behind the text itself (a span's background-color)
  bool invisible = false;          // takes its room but is not drawn (visibility: hidden)
  constexpr bool operator==(const RunStyle&) const = default;

  // The size the text is drawn at, in pixels at 100 %.
  int Pixels() const { return size ? size : kHeadingFontPixels[heading <= 6 ? heading : 0]; }
};

enum Side { kTop = 0, kRight = 1, kBottom = 2, kLeft = 3 };

// Where a box or an image floats: taken out of the text and put at the left
// or right of the room, the following lines running beside it.
enum class Float : uint8_t { None, Left, Right };
// The floats a box moves below (`clear`), as bits.
constexpr uint8_t kClearLeft = 1;
constexpr uint8_t kClearRight = 2;

// A block box as the page styles it, in pixels at 100 %: the margins, the
// border (solid, of a colour per side), the padding, the background, and
// the width. Margins may be negative; everything else is at least 0.
struct BoxStyle {
  std::array<int, 4> margin{};
  std::array<int, 4> border{};
  std::array<int, 4> padding{};
  std::array<uint32_t, 4> borderColor{kNoColor, kNoColor, kNoColor, kNoColor};  // none: the text colour
  uint32_t background = kNoColor;
  int width = 0;              // the content width, 0 for all the room there is
  bool widthPercent = false;  // `width` is in percent of the room
  bool centered = false;      // margin-left and margin-right auto: the box stands in the middle
  uint8_t marginSet = 0;      // a bit per side the page gave a margin for (1 << side)
  uint8_t marginPercent = 0;  // a bit per side whose margin is in percent of the room's width
  Float floating = Float::None;
  uint8_t clear = 0;        // kClearLeft | kClearRight
  bool ownContext = false;  // overflow other than visible: the box holds the floats inside it

  bool HasChrome() const {
    for (int side = 0; side < 4; ++side)
      if (border[side] > 0 || padding[side] > 0) return true;
    return background != kNoColor;
  }
  bool operator==(const BoxStyle&) const = default;
};

// A box that holds blocks (a styled div, blockquote, list, body...).
struct Container {
  int parent = -1;  // the enclosing container, -1 at the top
  BoxStyle box;
  // The box of a paragraph, heading or preformatted block itself: the
  // block's usual margins become the box's where the page gives none.
  bool ownsBlock = false;
};

// No page gets more containers than this; later styled elements add none.
constexpr size_t kMaxContainers = 50000;

enum class TextAlign : uint8_t { Left, Center, Right, Justify };
enum class VerticalAlign : uint8_t { Middle, Top, Bottom, Baseline };
// The marker of a list item: Default picks disc, circle, square by depth.
enum class ListStyle : uint8_t { Default, Disc, Circle, Square, Decimal, LowerAlpha, UpperAlpha, LowerRoman, UpperRoman, None };

// The text of a numbered marker: "3", "c", "IV"; numbers a style cannot
// write (0 or below in letters or roman numerals) are written in digits.
std::string MarkerText(ListStyle style, int number);

// A stretch of text in one style. Text is UTF-8; '\n' is a forced line
// break. Outside preformatted blocks white space is already collapsed.
struct Run {
  std::string text;
  RunStyle style;
  std::string href;  // the link target as written, empty when not a link
  // An image in the text (`img`): its source as written, and the alt text a
  // reader sees when the image cannot be read. `text` is empty then.
  std::string image;
  std::string alt;
  int imageWidth = -1;  // the `width` and `height` attributes, -1 when not given
  int imageHeight = -1;
  // An image's float (`align` left or right, or CSS), and the room around
  // it: `hspace` at both sides, `vspace` above and below, a `border` drawn
  // in the text colour.
  Float imageFloat = Float::None;
  int hspace = 0;
  int vspace = 0;
  int imageBorder = 0;
  bool operator==(const Run&) const = default;

  // The room an image takes beside its picture on each side.
  int ImageInsetX() const { return hspace + imageBorder; }
  int ImageInsetY() const { return vspace + imageBorder; }

  bool IsImage() const { return !image.empty(); }
};

struct Block;

// A page's blocks, and a cell's; once they are many, their memory is mapped
// apart from the heap and unmapped with the document (see bigblock.h).
using Blocks = std::vector<Block, BigBlockAllocator<Block>>;

// A cell holds blocks of its own, laid out as a page of the cell's width.
struct TableCell {
  Blocks blocks;
  bool header = false;
  int colspan = 1;       // 1..kMaxColspan, as browsers clamp it
  int rowspan = 1;       // 1..kMaxRowspan; 0 reaches to the end of the table
  int width = 0;         // the cell's `width` in pixels, 0 when not given
  int widthPercent = 0;  // the cell's `width` in percent of the table, 0 when not given
  uint32_t background = kNoColor;
  TextAlign align = TextAlign::Left;
  VerticalAlign valign = VerticalAlign::Middle;
  bool nowrap = false;
  // The container the table stands in: the boxes of the cell's blocks are
  // those inside it.
  int box = -1;
  // The cell's own border and padding from the page's style, in pixels at
  // 100 %; -1 where the style gives none and the table's defaults hold.
  std::array<int, 4> border{-1, -1, -1, -1};
  std::array<int, 4> padding{-1, -1, -1, -1};
  std::array<uint32_t, 4> borderColor{kNoColor, kNoColor, kNoColor, kNoColor};

  // The cell's text without styles, its blocks on lines of their own.
  std::string Text() const;
};

// Tables nest in cells no deeper than this; the content of deeper ones
// reads as lines of text in the innermost cell allowed.
constexpr int kMaxTableNesting = 24;

// Browsers clamp a cell's spans to these; a page asking for more gets them.
constexpr int kMaxColspan = 1000;
constexpr int kMaxRowspan = 65534;

// A table's presentational attributes and style.
struct TableFormat {
  bool border = false;   // `border` present and not 0: every cell outlined
  int borderWidth = 0;   // the width of the table's own frame (the `border` attribute)
  int width = 0;         // `width` in pixels, 0 when not given
  int widthPercent = 0;  // `width` in percent of the room, 0 when not given
  int padding = -1;      // `cellpadding` in pixels, -1 for the default
  int spacing = -1;      // `cellspacing` in pixels, -1 for the default
  TextAlign align = TextAlign::Left;  // where the table stands: `align` or auto margins
  uint32_t background = kNoColor;
  uint32_t borderColor = kNoColor;  // `bordercolor`, or the default grey
  // The table's own border from the page's style (pixels at 100 % and
  // colours per side); when set it replaces the `border` attribute's frame.
  std::array<int, 4> frameStyle{};
  std::array<uint32_t, 4> frameColor{kNoColor, kNoColor, kNoColor, kNoColor};
  bool frameStyled = false;
  bool collapse = false;  // border-collapse: collapse, neighbouring borders drawn once
};

enum class BlockKind { Paragraph, Heading, Preformatted, Rule, Table };
enum class Marker { None, Bullet, Number };

struct Block {
  BlockKind kind = BlockKind::Paragraph;
  int level = 0;   // heading level 1..6
  int indent = 0;  // nesting of lists and quotations: 0 at the left margin
  Marker marker = Marker::None;
  int number = 0;  // the item number for Marker::Number
  std::vector<Run> runs;
  std::vector<std::vector<TableCell>> rows;  // Table only
  TableFormat table;                         // Table only
  // A term or a description of a definition list: the entries of one list
  // follow each other without paragraph gaps.
  bool tight = false;
  int box = -1;  // the innermost container it stands in, -1 for none
  // The block's own paragraph style (inherited through its containers).
  TextAlign align = TextAlign::Left;
  int textIndent = 0;  // pixels the first line moves right
  int lineHeight = 0;  // pixels per line, 0 for the font's own
  bool nowrap = false; // white-space: nowrap; the lines break only where the text says
  uint8_t clear = 0;   // below the floats of these sides (kClearLeft, kClearRight): after a "<br clear>"
  ListStyle listStyle = ListStyle::Default;
  // Rule only: the `hr` attributes (size, width, colour).
  int ruleSize = 0;  // 0 for the default
  int ruleWidth = 0;
  bool ruleWidthPercent = false;
  uint32_t ruleColor = kNoColor;
  // Its place among all blocks of the page, those inside cells included,
  // in the order of the page.
  size_t order = 0;

  // The block's text without styles, for tests and hit lookups.
  std::string Text() const;
};

// A named place a link can lead to ("page.htm#name"): an element's `id` or
// an `<a name>`, at the start of the block it falls in.
struct Place {
  std::string name;
  size_t block = 0;  // the `order` of the block; the end of the page when past them
};

struct Document {
  std::string title;
  Blocks blocks;
  size_t blockCount = 0;  // all blocks, those inside cells included
  std::vector<Container> containers;  // a parent always comes before its children
  uint32_t background = kNoColor;     // the page's own (body bgcolor, body or html background)
  // The body's margins where the page sets them (-1 for the default).
  std::array<int, 4> bodyMargin{-1, -1, -1, -1};
  std::vector<Place> places;  // in the order of the page
  Charset charset = Charset::Ansi;

  // The first place of that name (names are case-sensitive), or null.
  const Place* FindPlace(std::string_view name) const;
};

// Reads a style sheet the page links to, by its href; nothing when it
// cannot be read.
using SheetLoader = std::function<std::optional<std::string>(std::string_view href)>;

// Builds the model from page text that is already UTF-8, with the style of
// its <style> blocks and, through `sheets`, of the sheets it links to.
Document ParseHtml(std::string_view utf8, const SheetLoader& sheets = {});

// Detects the charset, decodes (see DecodePage) and builds the model.
Document ParseHtmlBytes(std::string_view bytes, const Decoder& decoder = {}, const SheetLoader& sheets = {});

}  // namespace hv::html
