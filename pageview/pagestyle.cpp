#include "pageview/pagestyle.h"

#include <algorithm>
#include <array>

namespace hv::html {

namespace {

bool IsVoid(std::string_view name) {
  static constexpr std::array<std::string_view, 16> kVoid = {"area", "base", "br",   "col",   "embed", "hr",
                                                             "img",  "input", "link", "meta", "param", "source",
                                                             "track", "wbr", "basefont", "frame"};
  return std::find(kVoid.begin(), kVoid.end(), name) != kVoid.end();
}

std::string Lower(std::string_view s) {
  std::string out(s);
  for (char& c : out)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return out;
}

std::string_view TrimView(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t' || s.front() == '\n' || s.front() == '\r')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\n' || s.back() == '\r')) s.remove_suffix(1);
  return s;
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

}  // namespace

std::optional<uint32_t> ParseColor(std::string_view raw) {
  std::string text = Lower(TrimView(raw));
  std::string_view t = text;
  bool hash = !t.empty() && t.front() == '#';
  if (hash) t.remove_prefix(1);
  if ((t.size() == 6 || t.size() == 3) && std::all_of(t.begin(), t.end(), [](char c) { return HexDigit(c) >= 0; })) {
    uint32_t v = 0;
    if (t.size() == 6) {
      for (char c : t) v = v << 4 | static_cast<uint32_t>(HexDigit(c));
    } else {
      for (char c : t) v = v << 8 | static_cast<uint32_t>(HexDigit(c) * 17);
    }
    return v;
  }
  if (hash) return std::nullopt;
  if (t.starts_with("rgb(") && t.ends_with(")")) {
    std::string_view inner = t.substr(4, t.size() - 5);
    uint32_t v = 0;
    int parts = 0;
    size_t i = 0;
    while (i <= inner.size() && parts < 3) {
      size_t comma = inner.find(',', i);
      if (comma == std::string_view::npos) comma = inner.size();
      std::string_view part = TrimView(inner.substr(i, comma - i));
      bool percent = !part.empty() && part.back() == '%';
      if (percent) part.remove_suffix(1);
      if (part.empty() || !std::all_of(part.begin(), part.end(), [](char c) { return c >= '0' && c <= '9'; })) return std::nullopt;
      long n = std::min<long>(std::stol(std::string(part.substr(0, 6))), percent ? 100 : 255);
      if (percent) n = n * 255 / 100;
      v = v << 8 | static_cast<uint32_t>(n);
      ++parts;
      i = comma + 1;
    }
    if (parts == 3) return v;
    return std::nullopt;
  }
  static constexpr std::array<std::pair<std::string_view, uint32_t>, 20> kNamed = {{
      {"black", 0x000000}, {"silver", 0xC0C0C0}, {"gray", 0x808080},  {"grey", 0x808080},   {"white", 0xFFFFFF},
      {"maroon", 0x800000}, {"red", 0xFF0000},   {"purple", 0x800080}, {"fuchsia", 0xFF00FF}, {"green", 0x008000},
      {"lime", 0x00FF00},  {"olive", 0x808000},  {"yellow", 0xFFFF00}, {"navy", 0x000080},   {"blue", 0x0000FF},
      {"teal", 0x008080},  {"aqua", 0x00FFFF},   {"orange", 0xFFA500}, {"brown", 0xA52A2A},  {"darkblue", 0x00008B},
  }};
  for (const auto& [name, value] : kNamed)
    if (name == t) return value;
  return std::nullopt;
}

void PageStyle::AddSheet(std::string_view text) {
  if (sheets_.size() >= 64) return;  // a page linking sheets without end
  sheets_.push_back(css::ParseStyleSheet(text));
  styled_ = true;
}

const PageStyle::Computed& PageStyle::Current() const { return open_.empty() ? root_ : open_.back().style; }

// Elements whose start closes an open one of the same kind, as the parser of
// every browser does: "<p>one<p>two", "<li>a<li>b", "<td>a<td>b", with
// whatever formatting was left open inside it.
void PageStyle::ImplicitClose(std::string_view name) {
  auto closeUpTo = [this](std::initializer_list<std::string_view> targets,
                          std::initializer_list<std::string_view> walls) {
    for (size_t i = open_.size(); i-- > 0;) {
      const std::string& tag = open_[i].tag;
      if (std::find(walls.begin(), walls.end(), tag) != walls.end()) return;
      if (std::find(targets.begin(), targets.end(), tag) != targets.end()) {
        open_.resize(i);
        return;
      }
    }
  };
  if (name == "p") {
    if (!open_.empty() && open_.back().tag == "p") open_.pop_back();
  } else if (name == "li") {
    closeUpTo({"li"}, {"ul", "ol", "menu", "dir", "table"});
  } else if (name == "dt" || name == "dd") {
    closeUpTo({"dt", "dd"}, {"dl", "table"});
  } else if (name == "td" || name == "th") {
    closeUpTo({"td", "th"}, {"tr", "table"});
  } else if (name == "tr") {
    closeUpTo({"tr"}, {"table"});
  } else if (name == "option") {
    closeUpTo({"option"}, {"select"});
  }
}

void PageStyle::Open(const Token& token) {
  if (IsVoid(token.name) || token.selfClosing) return;
  ImplicitClose(token.name);
  if (open_.size() >= kMaxDepth) return;
  Open_ element;
  element.tag = token.name;
  if (const std::string* id = token.Attr("id")) element.id = *id;
  if (const std::string* cls = token.Attr("class")) element.classes = *cls;
  element.link = token.name == "a" && token.Attr("href") != nullptr;
  Computed style = Current();
  // Tag defaults at their own depth, so that a sheet's "normal" on a parent
  // does not undo a <b> inside it.
  const std::string& n = token.name;
  if (n == "b" || n == "strong" || n == "th" || (n.size() == 2 && n[0] == 'h' && n[1] >= '1' && n[1] <= '6')) style.bold = true;
  if (n == "i" || n == "em" || n == "cite" || n == "var" || n == "dfn" || n == "address") style.italic = true;
  if (n == "u" || n == "ins") style.underline = true;
  if (n == "code" || n == "tt" || n == "kbd" || n == "samp" || n == "pre") style.monospace = true;
  if (n == "font") {
    if (const std::string* color = token.Attr("color"))
      if (auto c = ParseColor(*color)) style.color = *c;
  }
  const std::string* inlineStyle = token.Attr("style");
  if (inlineStyle || style.color != kNoColor) styled_ = true;
  if (!sheets_.empty() || inlineStyle) {
    std::vector<css::Element> path;
    path.reserve(open_.size() + 1);
    for (const Open_& o : open_) path.push_back({o.tag, o.id, o.classes, o.link});
    path.push_back({element.tag, element.id, element.classes, element.link});
    std::vector<const css::StyleSheet*> sheets;
    for (const css::StyleSheet& s : sheets_) sheets.push_back(&s);
    for (const css::Cascaded& c : css::Cascade(sheets, path, inlineStyle ? std::string_view(*inlineStyle) : std::string_view())) {
      std::string value = Lower(c.value);
      if (c.property == "font-weight") {
        if (value == "bold" || value == "bolder" || value == "600" || value == "700" || value == "800" || value == "900")
          style.bold = true;
        else if (value == "normal" || value == "lighter" || value == "100" || value == "200" || value == "300" ||
                 value == "400" || value == "500")
          style.bold = false;
      } else if (c.property == "font-style") {
        if (value == "italic" || value == "oblique") style.italic = true;
        else if (value == "normal") style.italic = false;
      } else if (c.property == "text-decoration" || c.property == "text-decoration-line") {
        if (value.find("underline") != std::string::npos) style.underline = true;
        else if (value == "none") style.underline = false;
      } else if (c.property == "font-family") {
        style.monospace = value.find("monospace") != std::string::npos || value.find("courier") != std::string::npos ||
                          value.find("consolas") != std::string::npos;
      } else if (c.property == "color") {
        if (auto color = ParseColor(value)) style.color = *color;
      } else if (c.property == "display") {
        if (value == "none") style.hidden = true;
      }
    }
  }
  element.style = style;
  open_.push_back(std::move(element));
}

void PageStyle::Close(std::string_view name) {
  for (size_t i = open_.size(); i-- > 0;) {
    if (open_[i].tag == name) {
      open_.resize(i);
      return;
    }
  }
}

}  // namespace hv::html
