#pragma once
// The style sheets of one page applied while it is read: a stack of the open
// elements with what the cascade gives each, inherited from parent to child
// where the property inherits (the font, colour, alignment, indent, line
// height, white space, list marker), the element's own box (margins,
// borders, padding, background, width, display) otherwise, over the
// presentational attributes of older pages (bgcolor, font, align...).
// Portable.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "pageview/css.h"
#include "pageview/htmldocument.h"
#include "pageview/htmltokenizer.h"

namespace hv::html {

// "#rgb", "#rrggbb", "rgb(r, g, b)" and the named colours of HTML 4 and a
// few more; 0xRRGGBB, or nothing.
std::optional<uint32_t> ParseColor(std::string_view text);

// A CSS length in pixels: px, pt, pc, in, cm, mm, em and ex (of `fontPixels`),
// rem, and bare 0; percentages of `percentOf`. Nothing for what is not a
// length. Results are clamped to +-100000.
std::optional<int> ParseLength(std::string_view text, int fontPixels, int percentOf = 0);

// The pixel size of a `font size` attribute ("1".."7", "+1", "-2") at a
// body size of kBodyFontPixels.
std::optional<int> FontSizeAttribute(std::string_view text);

enum class Display : uint8_t { Default, Block, Inline, ListItem, None };
class PageStyle {
 public:
  struct Computed {
    // Inherited.
    std::optional<bool> bold, italic, underline, monospace, serif;
    uint32_t color = kNoColor;
    int fontPixels = kBodyFontPixels;  // resolved, for em and percentages below
    bool fontSet = false;              // the page chose the size (else the tag's default)
    TextAlign align = TextAlign::Left;
    int textIndent = 0;
    int lineHeight = 0;        // pixels, 0 for normal
    int lineFactor = 0;        // a bare number in hundredths, recomputed for each font size
    bool pre = false;          // white-space: pre (or pre-wrap)
    bool nowrap = false;       // white-space: nowrap
    ListStyle listStyle = ListStyle::Default;
    bool invisible = false;  // visibility: hidden; the text keeps its room
    bool borderCollapse = false;  // border-collapse: collapse
    bool hidden = false;  // display: none here or above
    int container = -1;   // the innermost open container (Builder's index)
    // The element's own.
    BoxStyle box;
    Display display = Display::Default;
    uint32_t background = kNoColor;  // an inline element's background, for its text
    VerticalAlign valign = VerticalAlign::Middle;
    bool valignSet = false;
    int width = 0;  // a table or cell width: pixels, or percent with widthPercent
    bool widthPercent = false;
    uint8_t paddingSet = 0;  // a bit per side the page gave a padding for (1 << side)
    bool borderSet = false;  // the page gave the element a border (or took it away)
  };

  // No more open elements are tracked than this; deeper ones take their
  // parent's style.
  static constexpr size_t kMaxDepth = 512;

  void AddSheet(std::string_view text);
  // Whether the page styles itself at all (a sheet, a style attribute, a
  // font colour); a page that does not reads exactly as without sheets.
  bool Styled() const { return styled_; }

  // Called for every start tag that opens an element, and every end tag.
  // Whether the element was pushed (void elements and those past the depth
  // limit are not).
  bool Open(const Token& token);
  // The style an element would get here without opening it: for void
  // elements (an `img` that floats).
  Computed Peek(const Token& token);
  void Close(std::string_view name);

  const Computed& Current() const;
  // Marks the innermost open element as holding container `index`.
  void SetContainer(int index);
  // The containers whose elements closed since the last call, innermost first.
  std::vector<int> TakeClosedContainers();

 private:
  struct Open_ {
    std::string tag, id, classes;
    bool link = false;
    Computed style;
    bool ownsContainer = false;
  };
  Open_ Make(const Token& token);
  void Pop(size_t keep);
  void ApplyAttributes(const Token& token, Computed& style) const;
  void Apply(const std::string& property, const std::string& value, const Computed& parent, Computed& style) const;
  void ImplicitClose(std::string_view name);
  std::vector<css::StyleSheet> sheets_;
  std::vector<Open_> open_;
  Computed root_;
  std::vector<int> closed_;
  uint32_t linkColor_ = kNoColor;  // the body's `link` colour
  bool styled_ = false;
};

}  // namespace hv::html
