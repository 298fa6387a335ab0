#pragma once
// What a page says, without how it looks: a title and a list of blocks
// (headings, paragraphs, list items, preformatted text, rules, tables), each
// holding runs of styled text. Built from any markup, however broken.
// Portable.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "pageview/htmlcharset.h"

namespace hv::html {

struct RunStyle {
  bool bold = false;
  bool italic = false;
  bool underline = false;
  bool monospace = false;
  uint8_t heading = 0;  // 0 for body text, else the heading level 1..6 (the size)
  uint32_t color = 0xFFFFFFFFu;  // 0xRRGGBB from the page's style, or none (the default colours)
  constexpr bool operator==(const RunStyle&) const = default;
};

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
  bool operator==(const Run&) const = default;

  bool IsImage() const { return !image.empty(); }
};

struct TableCell {
  std::vector<Run> runs;
  bool header = false;
  int colspan = 1;  // 1..kMaxColspan, as browsers clamp it
  int width = 0;    // the cell's `width` in pixels, 0 when not given
};

// Browsers clamp a cell's span to this; a page asking for more gets it.
constexpr int kMaxColspan = 1000;

// A table's presentational attributes.
struct TableFormat {
  bool border = false;  // `border` present and not 0: every cell outlined
  int width = 0;        // `width` in pixels, 0 when not given
  int widthPercent = 0; // `width` in percent of the room, 0 when not given
  int padding = -1;     // `cellpadding` in pixels, -1 for the default
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

  // The block's text without styles, for tests and hit lookups.
  std::string Text() const;
};

// A named place a link can lead to ("page.htm#name"): an element's `id` or
// an `<a name>`, at the start of the block it falls in.
struct Place {
  std::string name;
  size_t block = 0;  // index into the blocks; the end of the page when past them
};

struct Document {
  std::string title;
  std::vector<Block> blocks;
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
