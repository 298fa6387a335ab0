// Parses arbitrary bytes as a style sheet and as a style attribute, then
// matches every selector against a fixed element path and cascades: no
// crash, no read out of bounds, and the limits hold.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "pageview/css.h"

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
  return 0;
}
