#include "pageview/pagestyle.h"

#include <algorithm>
#include <array>
#include <unordered_map>
#include <cmath>
#include <cstdlib>

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
  static constexpr std::array<std::pair<std::string_view, uint32_t>, 32> kNamed = {{
      {"black", 0x000000},     {"silver", 0xC0C0C0},    {"gray", 0x808080},      {"grey", 0x808080},
      {"white", 0xFFFFFF},     {"maroon", 0x800000},    {"red", 0xFF0000},       {"purple", 0x800080},
      {"fuchsia", 0xFF00FF},   {"green", 0x008000},     {"lime", 0x00FF00},      {"olive", 0x808000},
      {"yellow", 0xFFFF00},    {"navy", 0x000080},      {"blue", 0x0000FF},      {"teal", 0x008080},
      {"aqua", 0x00FFFF},      {"orange", 0xFFA500},    {"brown", 0xA52A2A},     {"darkblue", 0x00008B},
      {"lightgray", 0xD3D3D3}, {"lightgrey", 0xD3D3D3}, {"darkgray", 0xA9A9A9},  {"darkgrey", 0xA9A9A9},
      {"whitesmoke", 0xF5F5F5}, {"gainsboro", 0xDCDCDC}, {"lightyellow", 0xFFFFE0}, {"beige", 0xF5F5DC},
      {"ivory", 0xFFFFF0},     {"lightblue", 0xADD8E6}, {"darkred", 0x8B0000},   {"darkgreen", 0x006400},
  }};
  for (const auto& [name, value] : kNamed)
    if (name == t) return value;
  return std::nullopt;
}


namespace {

constexpr int kMaxLengthPixels = 100000;

bool IsCssSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f'; }

// Splits a value at white space outside parentheses: "1px solid rgb(1, 2, 3)".
std::vector<std::string_view> Words(std::string_view value) {
  std::vector<std::string_view> out;
  size_t i = 0;
  while (i < value.size() && out.size() < 16) {
    while (i < value.size() && IsCssSpace(value[i])) ++i;
    if (i >= value.size()) break;
    size_t start = i;
    int depth = 0;
    while (i < value.size() && (depth > 0 || !IsCssSpace(value[i]))) {
      if (value[i] == '(') ++depth;
      if (value[i] == ')' && depth > 0) --depth;
      ++i;
    }
    out.push_back(value.substr(start, i - start));
  }
  return out;
}

bool IsBorderStyle(std::string_view w) {
  return w == "none" || w == "hidden" || w == "solid" || w == "dotted" || w == "dashed" || w == "double" ||
         w == "groove" || w == "ridge" || w == "inset" || w == "outset";
}

std::optional<int> BorderWidth(std::string_view w, int fontPixels) {
  if (w == "thin") return 1;
  if (w == "medium") return 3;
  if (w == "thick") return 5;
  std::optional<int> px = ParseLength(w, fontPixels);
  if (px && *px < 0) return std::nullopt;
  return px;
}

// 1 to 4 values for the four sides, as margin and padding give them.
template <typename T, typename F>
bool FourSides(std::string_view value, F parse, std::array<T, 4>& out) {
  std::vector<std::string_view> words = Words(value);
  if (words.empty() || words.size() > 4) return false;
  std::array<T, 4> v{};
  for (size_t i = 0; i < words.size(); ++i) {
    std::optional<T> one = parse(words[i]);
    if (!one) return false;
    v[i] = *one;
  }
  switch (words.size()) {
    case 1: out = {v[0], v[0], v[0], v[0]}; break;
    case 2: out = {v[0], v[1], v[0], v[1]}; break;
    case 3: out = {v[0], v[1], v[2], v[1]}; break;
    default: out = v; break;
  }
  return true;
}

int SideOf(std::string_view name) {
  if (name == "top") return kTop;
  if (name == "right") return kRight;
  if (name == "bottom") return kBottom;
  if (name == "left") return kLeft;
  return -1;
}

TextAlign AlignOf(std::string_view v, TextAlign fallback) {
  if (v == "left") return TextAlign::Left;
  if (v == "center" || v == "middle") return TextAlign::Center;
  if (v == "right") return TextAlign::Right;
  if (v == "justify") return TextAlign::Justify;
  return fallback;
}

std::optional<ListStyle> ListStyleOf(std::string_view v) {
  if (v == "disc") return ListStyle::Disc;
  if (v == "circle") return ListStyle::Circle;
  if (v == "square") return ListStyle::Square;
  if (v == "decimal" || v == "1") return ListStyle::Decimal;
  if (v == "lower-alpha" || v == "lower-latin" || v == "a") return ListStyle::LowerAlpha;
  if (v == "upper-alpha" || v == "upper-latin" || v == "A") return ListStyle::UpperAlpha;
  if (v == "lower-roman" || v == "i") return ListStyle::LowerRoman;
  if (v == "upper-roman" || v == "I") return ListStyle::UpperRoman;
  if (v == "none") return ListStyle::None;
  return std::nullopt;
}

bool IsHeading(std::string_view n) { return n.size() == 2 && n[0] == 'h' && n[1] >= '1' && n[1] <= '6'; }

// What a tag gives by default, looked up once per element rather than
// compared name by name.
enum TagFlag : uint16_t {
  kBold = 1 << 0,
  kItalic = 1 << 1,
  kUnderline = 1 << 2,
  kMonospace = 1 << 3,
  kPre = 1 << 4,
  kInlineBackground = 1 << 5,  // an inline element whose background lies behind its text
};

uint16_t TagFlags(std::string_view n) {
  static const std::unordered_map<std::string_view, uint16_t> kFlags = {
      {"b", kBold | kInlineBackground},       {"strong", kBold | kInlineBackground},
      {"th", kBold},                          {"i", kItalic | kInlineBackground},
      {"em", kItalic | kInlineBackground},    {"cite", kItalic},
      {"var", kItalic},                       {"dfn", kItalic},
      {"address", kItalic},                   {"u", kUnderline},
      {"ins", kUnderline},                    {"code", kMonospace | kInlineBackground},
      {"tt", kMonospace | kInlineBackground}, {"kbd", kMonospace | kInlineBackground},
      {"samp", kMonospace | kInlineBackground}, {"pre", kMonospace | kPre},
      {"listing", kPre},                      {"xmp", kPre},
      {"plaintext", kPre},                    {"span", kInlineBackground},
      {"font", kInlineBackground},            {"a", kInlineBackground},
  };
  auto found = kFlags.find(n);
  return found == kFlags.end() ? 0 : found->second;
}

// Border widths and styles before they settle: a side has a border only
// when it has a style, and then "medium" unless a width says otherwise.
struct BorderDraft {
  std::array<int, 4> width{-1, -1, -1, -1};
  std::array<bool, 4> drawn{};
  std::array<uint32_t, 4> color{kNoColor, kNoColor, kNoColor, kNoColor};
};

void ApplyBorder(const std::string& property, const std::string& value, int em, BorderDraft& draft) {
  // One side's or all sides' "width style colour" in any order.
  auto whole = [&](int side) {
    int width = -1;
    bool drawn = false;
    uint32_t color = kNoColor;
    for (std::string_view word : Words(value)) {
      if (IsBorderStyle(word)) {
        drawn = word != "none" && word != "hidden";
      } else if (auto w = BorderWidth(word, em)) {
        width = *w;
      } else if (auto c = ParseColor(word)) {
        color = *c;
      }
    }
    for (int s = side < 0 ? 0 : side; s < (side < 0 ? 4 : side + 1); ++s) {
      draft.width[s] = width;
      draft.drawn[s] = drawn;
      draft.color[s] = color;
    }
  };
  if (property == "border") return whole(-1);
  std::string_view rest = std::string_view(property).substr(6);  // after "border"
  if (rest == "-width") {
    FourSides<int>(value, [&](std::string_view w) { return BorderWidth(w, em); }, draft.width);
    return;
  }
  if (rest == "-style") {
    std::array<int, 4> drawn{};
    if (FourSides<int>(value, [](std::string_view w) -> std::optional<int> {
          if (!IsBorderStyle(w)) return std::nullopt;
          return w != "none" && w != "hidden" ? 1 : 0;
        }, drawn))
      for (int s = 0; s < 4; ++s) draft.drawn[s] = drawn[s] != 0;
    return;
  }
  if (rest == "-color") {
    FourSides<uint32_t>(value, [](std::string_view w) { return ParseColor(w); }, draft.color);
    return;
  }
  if (rest.empty() || rest.front() != '-') return;
  rest.remove_prefix(1);
  size_t dash = rest.find('-');
  int side = SideOf(rest.substr(0, dash));
  if (side < 0) return;
  if (dash == std::string_view::npos) return whole(side);
  std::string_view part = rest.substr(dash + 1);
  if (part == "width") {
    if (auto w = BorderWidth(value, em)) draft.width[side] = *w;
  } else if (part == "style") {
    if (IsBorderStyle(value)) draft.drawn[side] = value != "none" && value != "hidden";
  } else if (part == "color") {
    if (auto c = ParseColor(value)) draft.color[side] = *c;
  }
}

}  // namespace

std::optional<int> ParseLength(std::string_view raw, int fontPixels, int percentOf) {
  std::string text = Lower(TrimView(raw));
  std::string_view t = text;
  if (t.empty()) return std::nullopt;
  size_t i = 0;
  if (t[i] == '+' || t[i] == '-') ++i;
  size_t digits = i;
  while (i < t.size() && ((t[i] >= '0' && t[i] <= '9') || t[i] == '.')) ++i;
  if (i == digits || i - digits > 12) return std::nullopt;
  double number = std::strtod(std::string(t.substr(0, i)).c_str(), nullptr);
  if (!std::isfinite(number)) return std::nullopt;
  std::string_view unit = t.substr(i);
  double px;
  if (unit == "px") px = number;
  else if (unit == "pt") px = number * 96 / 72;
  else if (unit == "pc") px = number * 16;
  else if (unit == "in") px = number * 96;
  else if (unit == "cm") px = number * 96 / 2.54;
  else if (unit == "mm") px = number * 96 / 25.4;
  else if (unit == "em") px = number * fontPixels;
  else if (unit == "ex") px = number * fontPixels / 2;
  else if (unit == "rem") px = number * kBodyFontPixels;
  else if (unit == "%") px = number * percentOf / 100;
  else if (unit.empty() && number == 0) px = 0;
  else return std::nullopt;
  px = std::clamp(px, -static_cast<double>(kMaxLengthPixels), static_cast<double>(kMaxLengthPixels));
  return static_cast<int>(std::lround(px));
}

std::optional<int> FontSizeAttribute(std::string_view raw) {
  // Browsers' sizes 1..7 scaled to this view's body size at 3.
  static constexpr std::array<int, 8> kSizes = {0, 8, 11, 13, 15, 20, 26, 39};
  std::string_view t = TrimView(raw);
  if (t.empty()) return std::nullopt;
  int sign = 0;
  if (t.front() == '+' || t.front() == '-') {
    sign = t.front() == '+' ? 1 : -1;
    t.remove_prefix(1);
  }
  if (t.empty() || t.front() < '0' || t.front() > '9') return std::nullopt;
  int n = t.front() - '0';
  int level = std::clamp(sign ? 3 + sign * n : n, 1, 7);
  return kSizes[static_cast<size_t>(level)];
}

void PageStyle::AddSheet(std::string_view text) {
  if (sheets_.size() >= 64) return;  // a page linking sheets without end
  sheets_.push_back(css::ParseStyleSheet(text));
  styled_ = true;
}

const PageStyle::Computed& PageStyle::Current() const { return open_.empty() ? root_ : open_.back().style; }

void PageStyle::SetContainer(int index) {
  if (open_.empty()) return;
  open_.back().style.container = index;
  open_.back().ownsContainer = true;
}

std::vector<int> PageStyle::TakeClosedContainers() {
  std::vector<int> out;
  out.swap(closed_);
  return out;
}

void PageStyle::Pop(size_t keep) {
  while (open_.size() > keep) {
    if (open_.back().ownsContainer) closed_.push_back(open_.back().style.container);
    open_.pop_back();
  }
}

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
        Pop(i);
        return;
      }
    }
  };
  static constexpr std::array<std::string_view, 22> kClosesP = {
      "p",  "div", "ul", "ol", "dl",  "form", "pre", "blockquote", "h1",     "h2",      "h3",
      "h4", "h5",  "h6", "hr", "center", "address", "section", "article", "header", "footer", "nav"};
  if (std::find(kClosesP.begin(), kClosesP.end(), name) != kClosesP.end()) {
    // A block start ends an open paragraph, and what formatting it holds.
    for (size_t i = open_.size(); i-- > 0;) {
      const std::string& tag = open_[i].tag;
      if (tag == "p") {
        Pop(i);
        break;
      }
      if (tag != "b" && tag != "i" && tag != "span" && tag != "font" && tag != "em" && tag != "strong" && tag != "a" &&
          tag != "u" && tag != "code" && tag != "tt")
        break;
    }
  }
  if (name == "li") {
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

// What older pages say in attributes, below anything a sheet says.
void PageStyle::ApplyAttributes(const Token& token, Computed& style) const {
  const std::string& n = token.name;
  auto color = [&](const char* name) -> std::optional<uint32_t> {
    const std::string* value = token.Attr(name);
    return value ? ParseColor(*value) : std::nullopt;
  };
  auto pixels = [&](const char* name) -> std::optional<int> {
    const std::string* value = token.Attr(name);
    if (!value) return std::nullopt;
    char* end = nullptr;
    long v = std::strtol(value->c_str(), &end, 10);
    if (end == value->c_str()) return std::nullopt;
    return static_cast<int>(std::clamp<long>(v, 0, kMaxLengthPixels));
  };
  if (n == "font") {
    if (auto c = color("color")) style.color = *c;
    if (const std::string* size = token.Attr("size")) {
      if (auto px = FontSizeAttribute(*size)) {
        style.fontPixels = *px;
        style.fontSet = true;
      }
    }
    if (const std::string* face = token.Attr("face")) {
      std::string f = Lower(*face);
      if (f.find("courier") != std::string::npos || f.find("mono") != std::string::npos) style.monospace = true;
      else if (f.find("times") != std::string::npos || f.find("serif") != std::string::npos) style.serif = f.find("sans") == std::string::npos;
      else style.serif = false;
    }
  }
  if (n == "body") {
    if (auto c = color("text")) style.color = *c;
    if (auto c = color("bgcolor")) style.box.background = *c;
  }
  if (n == "table" || n == "td" || n == "th" || n == "tr") {
    if (auto c = color("bgcolor")) style.box.background = *c;
  }
  if (n == "td" || n == "th" || n == "tr") {
    if (const std::string* valign = token.Attr("valign")) {
      std::string v = Lower(TrimView(*valign));
      style.valignSet = true;
      style.valign = v == "top" ? VerticalAlign::Top : v == "bottom" ? VerticalAlign::Bottom
                   : v == "baseline" ? VerticalAlign::Baseline : VerticalAlign::Middle;
    }
    if (token.Attr("nowrap")) style.nowrap = true;
  }
  if (n == "td" || n == "th" || n == "table") {
    if (const std::string* width = token.Attr("width")) {
      if (auto px = pixels("width")) {
        style.widthPercent = width->find('%') != std::string::npos;
        style.width = style.widthPercent ? std::min(*px, 100) : *px;
      }
    }
  }
  if (n == "p" || n == "div" || IsHeading(n) || n == "td" || n == "th" || n == "tr") {
    if (const std::string* align = token.Attr("align")) style.align = AlignOf(Lower(TrimView(*align)), style.align);
  }
  if (n == "ul" || n == "ol" || n == "li") {
    if (const std::string* type = token.Attr("type")) {
      std::string t(TrimView(*type));
      if (t != "a" && t != "A" && t != "i" && t != "I") t = Lower(t);
      if (auto list = ListStyleOf(t)) style.listStyle = *list;
    }
  }
}

void PageStyle::Apply(const std::string& property, const std::string& raw, const Computed& parent,
                      Computed& style) const {
  const std::string value = Lower(raw);
  const int em = style.fontPixels;
  if (property == "font-weight") {
    if (value == "bold" || value == "bolder" || value == "600" || value == "700" || value == "800" || value == "900")
      style.bold = true;
    else if (value == "normal" || value == "lighter" || value == "100" || value == "200" || value == "300" ||
             value == "400" || value == "500")
      style.bold = false;
  } else if (property == "font-style") {
    if (value == "italic" || value == "oblique") style.italic = true;
    else if (value == "normal") style.italic = false;
  } else if (property == "text-decoration" || property == "text-decoration-line") {
    if (value.find("underline") != std::string::npos) style.underline = true;
    else if (value == "none") style.underline = false;
  } else if (property == "font-family") {
    bool mono = value.find("monospace") != std::string::npos || value.find("courier") != std::string::npos ||
                value.find("consolas") != std::string::npos;
    style.monospace = mono;
    // The first family decides serif or not: "Georgia, serif", "Arial, sans-serif".
    std::string first = value.substr(0, value.find(','));
    style.serif = !mono && first.find("sans") == std::string::npos &&
                  (first.find("serif") != std::string::npos || first.find("times") != std::string::npos ||
                   first.find("georgia") != std::string::npos || first.find("palatino") != std::string::npos);
  } else if (property == "font-size") {
    static constexpr std::array<std::pair<std::string_view, int>, 7> kKeywords = {{
        {"xx-small", 9}, {"x-small", 10}, {"small", 11}, {"medium", 13}, {"large", 15}, {"x-large", 20}, {"xx-large", 26}}};
    std::optional<int> px;
    for (const auto& [name, size] : kKeywords)
      if (value == name) px = size;
    if (value == "smaller") px = parent.fontPixels * 5 / 6;
    if (value == "larger") px = parent.fontPixels * 6 / 5;
    if (!px) px = ParseLength(value, parent.fontPixels, parent.fontPixels);
    if (px && *px > 0) {
      style.fontPixels = std::clamp(*px, kMinFontPixels, kMaxFontPixels);
      style.fontSet = true;
    }
  } else if (property == "font") {
    // "bold 12px/1.5 Arial, sans-serif": the size (and line height) and the
    // family are what this view can use.
    for (std::string_view word : Words(value)) {
      std::string_view size = word.substr(0, word.find('/'));
      if (auto px = ParseLength(size, parent.fontPixels, parent.fontPixels); px && *px > 0) {
        style.fontPixels = std::clamp(*px, kMinFontPixels, kMaxFontPixels);
        style.fontSet = true;
      } else if (word == "bold") {
        style.bold = true;
      } else if (word == "italic") {
        style.italic = true;
      }
    }
  } else if (property == "color") {
    if (auto color = ParseColor(value)) style.color = *color;
  } else if (property == "background-color" || property == "background") {
    if (value == "transparent" || value == "none") {
      style.box.background = kNoColor;
    } else {
      for (std::string_view word : Words(value))
        if (auto color = ParseColor(word)) style.box.background = *color;
    }
  } else if (property == "display") {
    if (value == "none") style.display = Display::None;
    else if (value == "block" || value == "table" || value == "flex") style.display = Display::Block;
    else if (value == "inline" || value == "inline-block" || value == "inline-flex") style.display = Display::Inline;
    else if (value == "list-item") style.display = Display::ListItem;
  } else if (property == "float") {
    style.box.floating = value == "left" ? Float::Left : value == "right" ? Float::Right : Float::None;
  } else if (property == "clear") {
    style.box.clear = value == "left" ? kClearLeft : value == "right" ? kClearRight
                    : value == "both" ? (kClearLeft | kClearRight) : 0;
  } else if (property == "overflow" || property == "overflow-x" || property == "overflow-y") {
    style.box.ownContext = value != "visible";
  } else if (property == "text-align") {
    style.align = AlignOf(value, style.align);
  } else if (property == "text-indent") {
    if (auto px = ParseLength(value, em)) style.textIndent = *px;
  } else if (property == "line-height") {
    if (value == "normal") {
      style.lineHeight = style.lineFactor = 0;
    } else if (value.find_first_not_of("0123456789.") == std::string::npos) {
      double factor = std::strtod(value.c_str(), nullptr);
      if (std::isfinite(factor) && factor >= 0 && factor < 100) {
        style.lineFactor = static_cast<int>(std::lround(factor * 100));
        style.lineHeight = 0;
      }
    } else if (auto px = ParseLength(value, em, em); px && *px >= 0) {
      style.lineHeight = std::min(*px, 2000);
      style.lineFactor = 0;
    }
  } else if (property == "visibility") {
    style.invisible = value == "hidden" || value == "collapse";
  } else if (property == "white-space") {
    style.pre = value == "pre" || value == "pre-wrap";
    style.nowrap = value == "nowrap";
  } else if (property == "list-style-type" || property == "list-style") {
    for (std::string_view word : Words(value))
      if (auto list = ListStyleOf(word)) style.listStyle = *list;
  } else if (property == "vertical-align") {
    style.valignSet = true;
    style.valign = value == "top" ? VerticalAlign::Top : value == "bottom" ? VerticalAlign::Bottom
                 : value == "baseline" ? VerticalAlign::Baseline : VerticalAlign::Middle;
  } else if (property == "width") {
    if (value.ends_with("%")) {
      if (auto pc = ParseLength(value, em, 100); pc && *pc > 0) {
        style.width = std::min(*pc, 100);
        style.widthPercent = true;
      }
    } else if (auto px = ParseLength(value, em); px && *px > 0) {
      style.width = *px;
      style.widthPercent = false;
    } else if (value == "auto") {
      style.width = 0;
    }
  } else if (property == "margin" || property == "padding") {
    const bool margin = property == "margin";
    std::array<bool, 4> autos{};
    std::array<int, 4> px{};
    auto parse = [&](std::string_view w) -> std::optional<int> {
      if (margin && w == "auto") return INT32_MIN;
      // A margin in percent keeps its number: the room it is of shows in the layout.
      std::optional<int> v = ParseLength(w, em, margin && w.ends_with('%') ? 100 : 0);
      if (v && !margin && *v < 0) return std::nullopt;
      return v;
    };
    if (!FourSides<int>(value, parse, px)) return;
    std::array<int, 4> percent{};
    FourSides<int>(value, [](std::string_view w) { return std::optional<int>(w.ends_with('%') ? 1 : 0); }, percent);
    if (margin) {
      style.box.marginPercent = 0;
      for (int side = 0; side < 4; ++side)
        if (percent[side] != 0 && px[side] != INT32_MIN) style.box.marginPercent |= static_cast<uint8_t>(1 << side);
    }
    for (int side = 0; side < 4; ++side) {
      autos[side] = px[side] == INT32_MIN;
      int v = autos[side] ? 0 : px[side];
      if (margin) {
        style.box.margin[side] = v;
        style.box.marginSet |= static_cast<uint8_t>(1 << side);
      } else {
        style.box.padding[side] = v;
        style.paddingSet |= static_cast<uint8_t>(1 << side);
      }
    }
    if (margin) style.box.centered = autos[kLeft] && autos[kRight];
  } else if (property.starts_with("margin-") || property.starts_with("padding-")) {
    const bool margin = property[0] == 'm';
    int side = SideOf(std::string_view(property).substr(margin ? 7 : 8));
    if (side < 0) return;
    if (margin && value == "auto") {
      style.box.margin[side] = 0;
      style.box.marginSet |= static_cast<uint8_t>(1 << side);
      if (side == kLeft || side == kRight) style.box.centered = true;  // settled with the other side below
      return;
    }
    const bool share = margin && value.ends_with('%');
    std::optional<int> v = ParseLength(value, em, share ? 100 : 0);
    if (!v || (!margin && *v < 0)) return;
    if (margin) {
      style.box.margin[side] = *v;
      style.box.marginPercent = static_cast<uint8_t>((style.box.marginPercent & ~(1 << side)) | (share ? 1 << side : 0));
      style.box.marginSet |= static_cast<uint8_t>(1 << side);
      if (side == kLeft || side == kRight) style.box.centered = false;
    } else {
      style.box.padding[side] = *v;
      style.paddingSet |= static_cast<uint8_t>(1 << side);
    }
  }
}

bool PageStyle::Open(const Token& token) {
  if (IsVoid(token.name) || token.selfClosing) return false;
  ImplicitClose(token.name);
  if (open_.size() >= kMaxDepth) return false;
  Open_ element = Make(token);
  open_.push_back(std::move(element));
  return true;
}

PageStyle::Computed PageStyle::Peek(const Token& token) {
  if (open_.size() >= kMaxDepth) return Current();
  return Make(token).style;
}

PageStyle::Open_ PageStyle::Make(const Token& token) {
  Open_ element;
  element.tag = token.name;
  if (const std::string* id = token.Attr("id")) element.id = *id;
  if (const std::string* cls = token.Attr("class")) element.classes = *cls;
  element.link = token.name == "a" && token.Attr("href") != nullptr;
  const Computed& parent = Current();
  Computed style = parent;
  // What is the element's own starts afresh.
  style.box = BoxStyle{};
  style.display = Display::Default;
  style.background = kNoColor;
  style.valign = VerticalAlign::Middle;
  style.valignSet = false;
  style.width = 0;
  style.widthPercent = false;
  style.paddingSet = 0;
  style.borderSet = false;
  // What a table holds starts aligned left, as browsers read older pages:
  // the alignment around a table places the table, never its cells' text.
  if (!open_.empty()) {
    const std::string& above = open_.back().tag;
    const bool inTable = above == "table" || above == "tbody" || above == "thead" || above == "tfoot";
    if (inTable && (token.name == "tr" || token.name == "td" || token.name == "th" || token.name == "tbody" ||
                    token.name == "thead" || token.name == "tfoot"))
      style.align = TextAlign::Left;
  }
  // Tag defaults at their own depth, so that a sheet's "normal" on a parent
  // does not undo a <b> inside it.
  const std::string& n = token.name;
  const uint16_t flags = TagFlags(n);
  if ((flags & kBold) || IsHeading(n)) style.bold = true;
  if (flags & kItalic) style.italic = true;
  if (flags & kUnderline) style.underline = true;
  if (flags & kMonospace) style.monospace = true;
  if (IsHeading(n)) {
    const int level = n[1] - '0';
    const int own = kHeadingFontPixels[static_cast<size_t>(level)];
    style.fontPixels = parent.fontSet ? std::clamp(parent.fontPixels * own / kBodyFontPixels, kMinFontPixels, kMaxFontPixels) : own;
  }
  if (flags & kPre) style.pre = true;
  if (n == "body") {
    if (const std::string* link = token.Attr("link")) {
      if (auto c = ParseColor(*link)) {
        linkColor_ = *c;
        styled_ = true;
      }
    }
  }
  // Links have their own colour rather than the text's around them.
  if (element.link) style.color = linkColor_;
  const uint32_t before = style.color;
  if (n == "center") style.align = TextAlign::Center;
  if (!token.attributes.empty()) ApplyAttributes(token, style);
  const std::string* inlineStyle = token.Attr("style");
  if (inlineStyle || style.color != before || style.fontSet != parent.fontSet || style.box.background != kNoColor ||
      style.align != parent.align || style.width > 0 || style.valignSet)
    styled_ = true;
  BorderDraft border;
  if (!sheets_.empty() || inlineStyle) {
    std::vector<css::Element> path;
    path.reserve(open_.size() + 1);
    for (const Open_& o : open_) path.push_back({o.tag, o.id, o.classes, o.link});
    path.push_back({element.tag, element.id, element.classes, element.link});
    std::vector<const css::StyleSheet*> sheets;
    for (const css::StyleSheet& s : sheets_) sheets.push_back(&s);
    std::vector<css::Cascaded> values =
        css::Cascade(sheets, path, inlineStyle ? std::string_view(*inlineStyle) : std::string_view());
    // The font size first: em lengths of the other properties depend on it.
    for (const css::Cascaded& c : values)
      if (c.property == "font-size" || c.property == "font") Apply(c.property, c.value, parent, style);
    // Shorthands before the properties of one side, as written order would
    // have it in the usual sheet.
    auto rank = [](const std::string& p) {
      return p == "margin" || p == "padding" || p == "border" || p == "border-width" || p == "border-style" ||
                     p == "border-color" || p == "background"
                 ? 0
                 : 1;
    };
    std::stable_sort(values.begin(), values.end(),
                     [&](const css::Cascaded& a, const css::Cascaded& b) { return rank(a.property) < rank(b.property); });
    for (const css::Cascaded& c : values) {
      if (c.property == "font-size" || c.property == "font") continue;
      if (c.property == "border-collapse") {
        style.borderCollapse = Lower(c.value) == "collapse";
        continue;
      }
      if (c.property.starts_with("border")) {
        style.borderSet = true;
        ApplyBorder(c.property, Lower(c.value), style.fontPixels, border);
        continue;
      }
      Apply(c.property, c.value, parent, style);
    }
  }
  for (int side = 0; side < 4; ++side) {
    style.box.border[side] = border.drawn[side] ? (border.width[side] < 0 ? 3 : border.width[side]) : 0;
    style.box.borderColor[side] = border.color[side] != kNoColor ? border.color[side] : style.color;
  }
  if (style.box.centered && (style.box.marginSet & (1 << kLeft | 1 << kRight)) != (1 << kLeft | 1 << kRight))
    style.box.centered = false;
  if (style.lineFactor > 0) style.lineHeight = 0;
  style.box.width = style.width;
  style.box.widthPercent = style.widthPercent;
  if (style.display == Display::None) style.hidden = true;
  if (flags & kInlineBackground) style.background = style.box.background;
  element.style = style;
  return element;
}

void PageStyle::Close(std::string_view name) {
  for (size_t i = open_.size(); i-- > 0;) {
    if (open_[i].tag == name) {
      Pop(i);
      return;
    }
  }
}

}  // namespace hv::html
