#include "pageview/linktarget.h"

#include "pageview/htmllink.h"

namespace hv::html {

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f'; }

char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
  if (text.size() < prefix.size()) return false;
  for (size_t i = 0; i < prefix.size(); ++i)
    if (Lower(text[i]) != prefix[i]) return false;
  return true;
}

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

std::string DecodeFragment(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '%' && i + 2 < text.size() && HexValue(text[i + 1]) >= 0 && HexValue(text[i + 2]) >= 0) {
      out.push_back(static_cast<char>(HexValue(text[i + 1]) * 16 + HexValue(text[i + 2])));
      i += 2;
    } else {
      out.push_back(text[i]);
    }
  }
  return out;
}

// A scheme is a letter, then letters, digits, '+', '-' or '.', then ':';
// a single letter before the colon is a drive.
bool HasScheme(std::string_view href) {
  size_t s = 0;
  auto schemeChar = [&](char c) {
    bool alpha = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
    return alpha || (s > 0 && ((c >= '0' && c <= '9') || c == '+' || c == '-' || c == '.'));
  };
  while (s < href.size() && schemeChar(href[s])) ++s;
  return s >= 2 && s < href.size() && href[s] == ':';
}

}  // namespace

LinkTarget ClassifyLink(std::string_view pagePath, std::string_view href) {
  while (!href.empty() && IsBlank(href.front())) href.remove_prefix(1);
  while (!href.empty() && IsBlank(href.back())) href.remove_suffix(1);
  LinkTarget target;
  if (href.empty()) return target;
  for (std::string_view scheme : {"http:", "https:", "mailto:"}) {
    if (StartsWithNoCase(href, scheme)) {
      target.kind = LinkKind::Outside;
      target.url = std::string(href);
      return target;
    }
  }
  if (HasScheme(href) && !StartsWithNoCase(href, "file:")) return target;
  size_t hash = href.find('#');
  if (hash != std::string_view::npos) target.fragment = DecodeFragment(href.substr(hash + 1));
  if (hash == 0) {
    target.kind = LinkKind::Place;
    return target;
  }
  std::optional<std::string> path = ResolveLocalLink(pagePath, href);
  if (!path) {
    // "?query" alone, "page.htm?x#y" reduced to nothing: the page itself.
    if (href.front() == '?') target.kind = LinkKind::Place;
    return target;
  }
  target.kind = LinkKind::Page;
  target.path = std::move(*path);
  return target;
}

}  // namespace hv::html
