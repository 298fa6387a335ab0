#pragma once
// The style sheets of one page applied while it is read: a stack of the open
// elements with what the cascade gives each (weight, slant, underline,
// monospace, colour, hidden), inherited from parent to child, with the
// presentational `font color` of older pages. Portable.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "pageview/css.h"
#include "pageview/htmltokenizer.h"

namespace hv::html {

constexpr uint32_t kNoColor = 0xFFFFFFFFu;

// "#rgb", "#rrggbb", "rgb(r, g, b)" and the named colours of HTML 4 and a
// few more; 0xRRGGBB, or nothing.
std::optional<uint32_t> ParseColor(std::string_view text);

class PageStyle {
 public:
  struct Computed {
    std::optional<bool> bold, italic, underline, monospace;
    uint32_t color = kNoColor;
    bool hidden = false;  // display: none here or above
  };

  // No more open elements are tracked than this; deeper ones take their
  // parent's style.
  static constexpr size_t kMaxDepth = 512;

  void AddSheet(std::string_view text);
  // Whether the page styles itself at all (a sheet, a style attribute, a
  // font colour); a page that does not reads exactly as without sheets.
  bool Styled() const { return styled_; }

  // Called for every start tag that opens an element, and every end tag.
  void Open(const Token& token);
  void Close(std::string_view name);

  const Computed& Current() const;

 private:
  struct Open_ {
    std::string tag, id, classes;
    bool link = false;
    Computed style;
  };
  void ImplicitClose(std::string_view name);
  std::vector<css::StyleSheet> sheets_;
  std::vector<Open_> open_;
  Computed root_;
  bool styled_ = false;
};

}  // namespace hv::html
