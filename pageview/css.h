#pragma once
// Style sheets as generated help uses them: rules of selectors (type, class,
// id, descendant and child combinators, grouping, :link and :visited) and
// declarations, and the cascade that picks each property's value for an
// element by importance, specificity and order. Any bytes parse: what cannot
// be read is skipped as browsers skip it, and the limits below bound the
// work a hostile sheet can cause. Portable.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace hv::css {

// A sheet beyond this is read up to here; rules beyond the count are dropped,
// as are selectors of more steps (a 10,000-deep selector matches nothing).
constexpr size_t kMaxSheetBytes = 4u << 20;
constexpr size_t kMaxRules = 8192;
constexpr size_t kMaxSelectorSteps = 32;

// One step of a selector: "td.note#first:link".
struct Compound {
  std::string tag;  // lower case; empty or "*" for any
  std::string id;
  std::vector<std::string> classes;
  bool link = false;     // :link or :visited; a help page's links are all unvisited
  bool visited = false;
};

struct Selector {
  std::vector<Compound> steps;     // left to right
  std::vector<char> combinators;   // between steps: ' ' descendant or '>' child
  uint32_t specificity = 0;        // ids << 16 | classes and pseudo-classes << 8 | types
};

struct Declaration {
  std::string property;  // lower case
  std::string value;     // as written, trimmed, without "!important"
  bool important = false;
};

struct Rule {
  std::vector<Selector> selectors;  // a group shares the declarations
  std::vector<Declaration> declarations;
};

struct StyleSheet {
  std::vector<Rule> rules;
};

// Reads a sheet; `@` rules (media, import, font-face...) are skipped whole.
StyleSheet ParseStyleSheet(std::string_view text);
// The declarations of a `style` attribute.
std::vector<Declaration> ParseDeclarations(std::string_view text);

// What a selector needs to know of an element and its ancestors.
struct Element {
  std::string_view tag;  // lower case
  std::string_view id;
  std::string_view classes;  // the class attribute as written: names split by white space
  bool link = false;         // an `a` with an href
};

// `path` runs from the root to the element being matched.
bool Matches(const Selector& selector, const std::vector<Element>& path);

// The value of each property for the element at the end of `path`, from the
// sheets in order and then the element's own style attribute: the winning
// declaration per property, as a list of (property, value).
struct Cascaded {
  std::string property;
  std::string value;
};
std::vector<Cascaded> Cascade(const std::vector<const StyleSheet*>& sheets, const std::vector<Element>& path,
                              std::string_view styleAttribute = {});

}  // namespace hv::css
