#include "pageview/css.h"

#include <algorithm>

namespace hv::css {

namespace {

bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f'; }

char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool IsNameChar(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' || c == '_' ||
         (static_cast<unsigned char>(c) >= 0x80);
}

std::string_view Trim(std::string_view s) {
  while (!s.empty() && IsSpace(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsSpace(s.back())) s.remove_suffix(1);
  return s;
}

std::string LowerCopy(std::string_view s) {
  std::string out(s);
  for (char& c : out) c = Lower(c);
  return out;
}

// Comments go first: they may stand anywhere, even inside a selector.
std::string StripComments(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  size_t i = 0;
  while (i < text.size()) {
    if (text[i] == '/' && i + 1 < text.size() && text[i + 1] == '*') {
      size_t end = text.find("*/", i + 2);
      if (end == std::string_view::npos) break;
      out.push_back(' ');
      i = end + 2;
    } else {
      out.push_back(text[i++]);
    }
  }
  return out;
}

// The end of the block opened at `open` ('{'), or the text's end; strings
// and nested blocks are stepped over.
size_t BlockEnd(std::string_view text, size_t open) {
  int depth = 0;
  for (size_t i = open; i < text.size(); ++i) {
    char c = text[i];
    if (c == '"' || c == '\'') {
      size_t close = text.find(c, i + 1);
      if (close == std::string_view::npos) return text.size();
      i = close;
    } else if (c == '{') {
      ++depth;
    } else if (c == '}') {
      if (--depth == 0) return i;
    }
  }
  return text.size();
}

bool ParseCompound(std::string_view s, Compound& out) {
  size_t i = 0;
  if (i < s.size() && (s[i] == '*' || IsNameChar(s[i]))) {
    size_t start = i;
    if (s[i] == '*') {
      ++i;
    } else {
      while (i < s.size() && IsNameChar(s[i])) ++i;
    }
    out.tag = LowerCopy(s.substr(start, i - start));
    if (out.tag == "*") out.tag.clear();
  }
  while (i < s.size()) {
    char kind = s[i++];
    size_t start = i;
    if (kind == ':' && i < s.size() && s[i] == ':') return false;  // pseudo-elements match no element
    while (i < s.size() && IsNameChar(s[i])) ++i;
    std::string_view name = s.substr(start, i - start);
    if (name.empty()) return false;
    if (kind == '.') {
      out.classes.emplace_back(name);
    } else if (kind == '#') {
      out.id = std::string(name);
    } else if (kind == ':') {
      std::string pseudo = LowerCopy(name);
      if (pseudo == "link") {
        out.link = true;
      } else if (pseudo == "visited") {
        out.visited = true;
      } else {
        return false;  // :hover and the rest never hold in a still page
      }
    } else {
      return false;  // attribute selectors and the like: the selector is not ours
    }
  }
  return true;
}

bool ParseSelector(std::string_view text, Selector& out) {
  text = Trim(text);
  if (text.empty()) return false;
  size_t i = 0;
  char pending = 0;
  uint32_t ids = 0, classes = 0, types = 0;
  while (i < text.size()) {
    if (IsSpace(text[i]) || text[i] == '>') {
      bool child = false;
      while (i < text.size() && (IsSpace(text[i]) || text[i] == '>')) child |= text[i++] == '>';
      pending = child ? '>' : ' ';
      continue;
    }
    if (text[i] == '+' || text[i] == '~') return false;  // sibling combinators are not ours
    size_t start = i;
    while (i < text.size() && !IsSpace(text[i]) && text[i] != '>' && text[i] != '+' && text[i] != '~') ++i;
    if (out.steps.size() >= kMaxSelectorSteps) return false;
    Compound step;
    if (!ParseCompound(text.substr(start, i - start), step)) return false;
    if (!out.steps.empty()) out.combinators.push_back(pending ? pending : ' ');
    pending = 0;
    ids += step.id.empty() ? 0 : 1;
    classes += static_cast<uint32_t>(step.classes.size()) + (step.link || step.visited ? 1 : 0);
    types += step.tag.empty() ? 0 : 1;
    out.steps.push_back(std::move(step));
  }
  if (out.steps.empty() || pending) return false;
  out.specificity = std::min<uint32_t>(ids, 255) << 16 | std::min<uint32_t>(classes, 255) << 8 | std::min<uint32_t>(types, 255);
  return true;
}

bool HasClass(std::string_view list, std::string_view name) {
  size_t i = 0;
  while (i < list.size()) {
    while (i < list.size() && IsSpace(list[i])) ++i;
    size_t start = i;
    while (i < list.size() && !IsSpace(list[i])) ++i;
    if (list.substr(start, i - start) == name) return true;
  }
  return false;
}

bool MatchesStep(const Compound& step, const Element& e) {
  if (!step.tag.empty() && step.tag != e.tag) return false;
  if (!step.id.empty() && step.id != e.id) return false;
  for (const std::string& c : step.classes)
    if (!HasClass(e.classes, c)) return false;
  if ((step.link || step.visited) && !e.link) return false;
  if (step.visited) return false;  // nothing here has been visited
  return true;
}

}  // namespace

std::vector<Declaration> ParseDeclarations(std::string_view text) {
  std::vector<Declaration> out;
  size_t i = 0;
  while (i < text.size()) {
    size_t end = i;
    char quote = 0;
    while (end < text.size() && (quote || text[end] != ';')) {
      if (quote && text[end] == quote) {
        quote = 0;
      } else if (!quote && (text[end] == '"' || text[end] == '\'')) {
        quote = text[end];
      }
      ++end;
    }
    std::string_view item = text.substr(i, end - i);
    i = end + 1;
    size_t colon = item.find(':');
    if (colon == std::string_view::npos) continue;
    std::string_view property = Trim(item.substr(0, colon));
    std::string_view value = Trim(item.substr(colon + 1));
    if (property.empty() || value.empty()) continue;
    if (!std::all_of(property.begin(), property.end(), IsNameChar)) continue;
    Declaration d;
    d.property = LowerCopy(property);
    size_t bang = value.rfind('!');
    if (bang != std::string_view::npos && LowerCopy(Trim(value.substr(bang + 1))) == "important") {
      d.important = true;
      value = Trim(value.substr(0, bang));
    }
    d.value = std::string(value);
    out.push_back(std::move(d));
  }
  return out;
}

StyleSheet ParseStyleSheet(std::string_view raw) {
  StyleSheet sheet;
  std::string text = StripComments(raw.substr(0, std::min(raw.size(), kMaxSheetBytes)));
  std::string_view rest = text;
  size_t i = 0;
  while (i < rest.size() && sheet.rules.size() < kMaxRules) {
    while (i < rest.size() && (IsSpace(rest[i]) || rest[i] == ';' || rest[i] == '}')) ++i;
    if (i >= rest.size()) break;
    if (rest.substr(i, 4) == "<!--" || rest.substr(i, 3) == "-->") {  // old pages hide sheets in comments
      i += rest[i] == '<' ? 4 : 3;
      continue;
    }
    size_t open = i;
    while (open < rest.size() && rest[open] != '{' && rest[open] != ';') ++open;
    if (rest[i] == '@' && open < rest.size() && rest[open] == ';') {  // "@import x;", "@charset ...;"
      i = open + 1;
      continue;
    }
    if (open >= rest.size()) break;
    if (rest[open] == ';') {  // stray text before a rule: skip up to it
      i = open + 1;
      continue;
    }
    size_t close = BlockEnd(rest, open);
    std::string_view prelude = rest.substr(i, open - i);
    std::string_view body = rest.substr(open + 1, std::min(close, rest.size()) - open - 1);
    i = close + 1;
    if (!prelude.empty() && prelude.front() == '@') continue;  // @media and the like, skipped whole
    Rule rule;
    size_t start = 0;
    while (start <= prelude.size()) {
      size_t comma = prelude.find(',', start);
      if (comma == std::string_view::npos) comma = prelude.size();
      Selector selector;
      if (ParseSelector(prelude.substr(start, comma - start), selector)) rule.selectors.push_back(std::move(selector));
      start = comma + 1;
    }
    if (rule.selectors.empty()) continue;
    rule.declarations = ParseDeclarations(body);
    if (rule.declarations.empty()) continue;
    sheet.rules.push_back(std::move(rule));
  }
  return sheet;
}

bool Matches(const Selector& selector, const std::vector<Element>& path) {
  if (selector.steps.empty() || path.empty()) return false;
  // Right to left: the last step on the element itself, each step before it
  // on the parent (child) or on any ancestor (descendant), trying the other
  // ancestors when one leads nowhere. The work is bounded whatever the
  // selector and the depth.
  struct Frame {
    size_t step;
    size_t element;
  };
  const size_t last = selector.steps.size() - 1;
  if (!MatchesStep(selector.steps[last], path.back())) return false;
  std::vector<Frame> stack{{last, path.size() - 1}};
  size_t budget = 4096;  // bounded work for any selector and any depth
  while (!stack.empty() && budget-- > 0) {
    Frame f = stack.back();
    stack.pop_back();
    if (f.step == 0) return true;
    const char combinator = selector.combinators[f.step - 1];
    const Compound& want = selector.steps[f.step - 1];
    if (combinator == '>') {
      if (f.element > 0 && MatchesStep(want, path[f.element - 1])) stack.push_back({f.step - 1, f.element - 1});
    } else {
      for (size_t e = f.element; e-- > 0;) {
        if (MatchesStep(want, path[e])) {
          stack.push_back({f.step - 1, e});
          if (stack.size() > 64) break;
        }
      }
    }
  }
  return false;
}

std::vector<Cascaded> Cascade(const std::vector<const StyleSheet*>& sheets, const std::vector<Element>& path,
                              std::string_view styleAttribute) {
  struct Candidate {
    const Declaration* declaration;
    uint64_t weight;  // importance, then the style attribute, then specificity, then order
  };
  std::vector<Candidate> found;
  uint64_t order = 0;
  for (const StyleSheet* sheet : sheets) {
    if (!sheet) continue;
    for (const Rule& rule : sheet->rules) {
      ++order;
      uint32_t best = 0;
      bool any = false;
      for (const Selector& s : rule.selectors) {
        if (Matches(s, path)) {
          best = any ? std::max(best, s.specificity) : s.specificity;
          any = true;
        }
      }
      if (!any) continue;
      for (const Declaration& d : rule.declarations)
        found.push_back({&d, static_cast<uint64_t>(d.important) << 62 | static_cast<uint64_t>(best) << 32 | order});
    }
  }
  std::vector<Declaration> own = ParseDeclarations(styleAttribute);
  for (const Declaration& d : own)
    found.push_back({&d, static_cast<uint64_t>(d.important) << 62 | uint64_t{1} << 61 | ++order});
  std::stable_sort(found.begin(), found.end(), [](const Candidate& a, const Candidate& b) {
    int c = a.declaration->property.compare(b.declaration->property);
    return c != 0 ? c < 0 : a.weight < b.weight;
  });
  std::vector<Cascaded> out;
  for (size_t i = 0; i < found.size(); ++i) {
    if (i + 1 < found.size() && found[i + 1].declaration->property == found[i].declaration->property) continue;
    out.push_back({found[i].declaration->property, found[i].declaration->value});
  }
  return out;
}

}  // namespace hv::css
