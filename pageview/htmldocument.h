#pragma once
// What a page says, without how it looks: a title and a list of blocks
// (headings, paragraphs, list items, preformatted text, rules, tables), each
// holding runs of styled text. Built from any markup, however broken.
// Portable.

#include <cstdint>
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
  constexpr bool operator==(const RunStyle&) const = default;
};

// A stretch of text in one style. Text is UTF-8; '\n' is a forced line
// break. Outside preformatted blocks white space is already collapsed.
struct Run {
  std::string text;
  RunStyle style;
  std::string href;  // the link target as written, empty when not a link
  bool operator==(const Run&) const = default;
};

struct TableCell {
  std::vector<Run> runs;
  bool header = false;
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

// Builds the model from page text that is already UTF-8.
Document ParseHtml(std::string_view utf8);

// Detects the charset, decodes (see DecodePage) and builds the model.
Document ParseHtmlBytes(std::string_view bytes, const Decoder& decoder = {});

}  // namespace hv::html
