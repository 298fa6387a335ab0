// Parses arbitrary bytes as a style sheet and as a style attribute, then
// matches every selector against a fixed element path and cascades, and
// computes the styles of a few elements with the bytes as their sheet and
// their style attribute: no crash, no read out of bounds, and the limits
// hold (font sizes, box widths, lengths).
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "pageview/css.h"
#include "pageview/pagestyle.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const hv::css::StyleSheet sheet = hv::css::ParseStyleSheet(text);
  if (sheet.rules.size() > hv::css::kMaxRules) __builtin_trap();
  const std::vector<hv::css::Element> path = {
      {"html", "", "", false}, {"body", "top", "a b", false}, {"div", "", "nav", false}, {"a", "x", "c", true}};
  for (const hv::css::Rule& rule : sheet.rules) {
    if (rule.selectors.empty() || rule.declarations.empty()) __builtin_trap();
    for (const hv::css::Selector& s : rule.selectors) {
      if (s.steps.empty() || s.steps.size() > hv::css::kMaxSelectorSteps) __builtin_trap();
      if (s.combinators.size() + 1 != s.steps.size()) __builtin_trap();
      hv::css::Matches(s, path);
    }
  }
  hv::css::Cascade({&sheet}, path, text.substr(0, 256));

  hv::html::PageStyle style;
  style.AddSheet(text);
  for (const char* name : {"body", "div", "p", "td", "span", "h1", "font", "ul", "li"}) {
    hv::html::Token token;
    token.kind = hv::html::TokenKind::StartTag;
    token.name = name;
    token.attributes.push_back({"style", std::string(text.substr(0, 512))});
    token.attributes.push_back({"class", std::string(text.substr(0, 16))});
    token.attributes.push_back({"size", std::string(text.substr(0, 4))});
    token.attributes.push_back({"bgcolor", std::string(text.substr(0, 12))});
    style.Open(token);
    const hv::html::PageStyle::Computed& c = style.Current();
    if (c.fontPixels < hv::html::kMinFontPixels || c.fontPixels > hv::html::kMaxFontPixels) __builtin_trap();
    for (int side = 0; side < 4; ++side) {
      if (c.box.border[static_cast<size_t>(side)] < 0 || c.box.padding[static_cast<size_t>(side)] < 0) __builtin_trap();
      if (c.box.margin[static_cast<size_t>(side)] < -100000 || c.box.margin[static_cast<size_t>(side)] > 100000) __builtin_trap();
    }
    if (c.width < 0 || (c.widthPercent && c.width > 100)) __builtin_trap();
  }
  if (auto px = hv::html::ParseLength(text.substr(0, 64), 13, 400); px && (*px < -100000 || *px > 100000)) __builtin_trap();
  return 0;
}
