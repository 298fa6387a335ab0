#include "pageview/htmldocument.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <climits>

#include "pageview/htmltokenizer.h"
#include "pageview/pagestyle.h"

namespace hv::html {

namespace {

constexpr int kTabStop = 8;
// No length a page gives is taken beyond this many pixels.
constexpr int kMaxLength = 100000;

bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f'; }

template <size_t N>
bool OneOf(std::string_view name, const std::array<std::string_view, N>& names) {
  return std::find(names.begin(), names.end(), name) != names.end();
}

// Elements that only separate blocks: their start and end both end the
// paragraph before them.
constexpr std::array<std::string_view, 26> kBlockBreakers = {
    "p",    "div",   "center", "address",    "section", "article",  "header", "footer",  "nav",
    "main", "aside", "figure", "figcaption", "form",    "fieldset", "legend", "details", "summary",
    "body", "html",  "head",   "noscript",   "caption", "hgroup",   "search", "dialog"};

constexpr std::array<std::string_view, 3> kBoldTags = {"b", "strong", "th"};
constexpr std::array<std::string_view, 6> kItalicTags = {"i", "em", "cite", "var", "dfn", "address"};
constexpr std::array<std::string_view, 2> kUnderlineTags = {"u", "ins"};
constexpr std::array<std::string_view, 5> kMonospaceTags = {"code", "tt", "kbd", "samp", "pre"};
constexpr std::array<std::string_view, 14> kInlineFormatting = {"a",   "b", "strong", "i",    "em", "cite", "var",
                                                                "dfn", "u", "ins",    "code", "tt", "kbd",  "samp"};

int HeadingLevel(std::string_view name) {
  if (name.size() == 2 && name[0] == 'h' && name[1] >= '1' && name[1] <= '6') return name[1] - '0';
  return 0;
}

// Leading optional sign and digits, clamped; `fallback` when there are none.
int ParseInt(const std::string* text, int fallback) {
  if (!text) return fallback;
  size_t i = 0;
  while (i < text->size() && IsSpace((*text)[i])) ++i;
  bool negative = false;
  if (i < text->size() && ((*text)[i] == '-' || (*text)[i] == '+')) negative = (*text)[i++] == '-';
  if (i >= text->size() || (*text)[i] < '0' || (*text)[i] > '9') return fallback;
  long long value = 0;
  while (i < text->size() && (*text)[i] >= '0' && (*text)[i] <= '9') {
    value = std::min<long long>(value * 10 + ((*text)[i] - '0'), INT_MAX / 2);
    ++i;
  }
  return static_cast<int>(negative ? -value : value);
}

class Builder {
 public:
  explicit Builder(const SheetLoader& sheets) : sheets_(sheets) {}

  Document Build(std::string_view utf8) {
    Tokenizer tokenizer(utf8);
    Token token;
    while (tokenizer.Next(token)) {
      switch (token.kind) {
        case TokenKind::Text:
          Text(token.text);
          break;
        case TokenKind::StartTag:
          openedNow_ = skipDepth_ == 0 && style_.Open(token);
          if (openedNow_) Opened(token);
          Start(token);
          ClosedContainers();
          break;
        case TokenKind::EndTag: {
          // The end of a hidden element is as hidden as its start.
          const bool hidden = style_.Current().hidden;
          if (skipDepth_ == 0) style_.Close(token.name);
          if (!hidden || token.name == "template") End(token.name);
          ClosedContainers();
          break;
        }
        case TokenKind::Comment:
        case TokenKind::Doctype:
          break;
      }
    }
    while (!tables_.empty()) FinishTable();
    Flush(true);
    ClosedContainers();
    doc_.blockCount = order_;
    while (!doc_.title.empty() && doc_.title.back() == ' ') doc_.title.pop_back();
    return std::move(doc_);
  }

 private:
  struct OpenInline {
    std::string name;
    std::string href;
  };
  struct List {
    bool ordered = false;
    int next = 1;
  };

  // --- where text goes -----------------------------------------------------

  // Inside tables nested past kMaxTableNesting, whose structure is read as
  // lines of text of the innermost cell allowed.
  bool Flat() const { return flatDepth_ > 0; }
  std::vector<Run>& Target() { return current_.runs; }
  bool InHeaderCell() const { return !tables_.empty() && tables_.back().inCell && tables_.back().table.rows.back().back().header; }

  // Where finished blocks go: the open cell, or for text between cells the
  // place before its table, or the page.
  Blocks& Out() {
    for (auto it = tables_.rbegin(); it != tables_.rend(); ++it)
      if (it->inCell) return it->table.rows.back().back().blocks;
    return doc_.blocks;
  }

  void Push(Block block) {
    block.order = order_++;
    Out().push_back(std::move(block));
  }

  static char LastChar(const std::vector<Run>& runs) {
    for (auto it = runs.rbegin(); it != runs.rend(); ++it) {
      if (it->IsImage() && it->imageFloat != Float::None) continue;  // beside the text, not in it
      if (it->IsImage()) return '*';  // an image is ink: a space after it stays
      if (!it->text.empty()) return it->text.back();
    }
    return '\0';
  }

  RunStyle CurrentStyle() const {
    RunStyle style;
    for (const OpenInline& open : inline_) {
      style.bold |= OneOf(open.name, kBoldTags);
      style.italic |= OneOf(open.name, kItalicTags);
      style.underline |= OneOf(open.name, kUnderlineTags);
      style.monospace |= OneOf(open.name, kMonospaceTags);
    }
    if (preDepth_ > 0) style.monospace = true;
    if (heading_ > 0) {
      style.heading = static_cast<uint8_t>(heading_);
      style.bold = true;
    }
    if (InHeaderCell()) style.bold = true;
    if (style_.Styled()) {  // the page's own style, over the defaults of its tags
      const PageStyle::Computed& computed = style_.Current();
      style.bold = computed.bold.value_or(style.bold);
      style.italic = computed.italic.value_or(style.italic);
      style.underline = computed.underline.value_or(style.underline);
      style.monospace = computed.monospace.value_or(style.monospace) || preDepth_ > 0;
      style.serif = computed.serif.value_or(false) && !style.monospace;
      style.color = computed.color;
      style.background = computed.background;
      style.invisible = computed.invisible;
      if (computed.fontSet)
        style.size = static_cast<uint16_t>(std::clamp(computed.fontPixels, kMinFontPixels, kMaxFontPixels));
    }
    return style;
  }

  std::string CurrentHref() const {
    for (auto it = inline_.rbegin(); it != inline_.rend(); ++it)
      if (it->name == "a") return it->href;
    return {};
  }

  void Append(std::string_view text) {
    if (text.empty()) return;
    if (current_.runs.empty()) TagBlock(current_);
    std::vector<Run>& runs = Target();
    RunStyle style = CurrentStyle();
    std::string href = CurrentHref();
    if (!runs.empty() && !runs.back().IsImage() && runs.back().style == style && runs.back().href == href) {
      runs.back().text.append(text);
    } else {
      Run run;
      run.text = std::string(text);
      run.style = style;
      run.href = std::move(href);
      runs.push_back(std::move(run));
    }
  }

  static void TrimTrailingSpaces(std::vector<Run>& runs) {
    while (!runs.empty() && !runs.back().IsImage()) {
      std::string& t = runs.back().text;
      while (!t.empty() && t.back() == ' ') t.pop_back();
      if (!t.empty()) return;
      runs.pop_back();
    }
  }

  void LineBreak() {
    TrimTrailingSpaces(Target());
    Append("\n");
    preColumn_ = 0;
  }

  // A block boundary inside a table cell is a line break in the cell.
  void SoftBreakInCell() {
    std::vector<Run>& runs = Target();
    TrimTrailingSpaces(runs);
    char last = LastChar(runs);
    if (last != '\0' && last != '\n') Append("\n");
  }

  void Text(const std::string& text) {
    if (skipDepth_ > 0) return;
    if (inStyle_) {
      if (styleText_.size() < css::kMaxSheetBytes) styleText_ += text;
      return;
    }
    if (style_.Current().hidden) return;
    if (inTitle_) {
      if (doc_.title.empty() || titleOpen_) {
        titleOpen_ = true;
        for (char c : text) {
          if (IsSpace(c)) {
            if (!doc_.title.empty() && doc_.title.back() != ' ') doc_.title.push_back(' ');
          } else {
            doc_.title.push_back(c);
          }
        }
      }
      return;
    }
    if (preDepth_ > 0 || style_.Current().pre) {
      PreText(text);
      return;
    }
    std::string collapsed;
    char last = LastChar(Target());
    for (char c : text) {
      if (IsSpace(c)) {
        char prev = collapsed.empty() ? last : collapsed.back();
        if (prev != '\0' && prev != ' ' && prev != '\n') collapsed.push_back(' ');
      } else {
        collapsed.push_back(c);
      }
    }
    Append(collapsed);
  }

  void LinkedSheet(const Token& token) {
    const std::string* rel = token.Attr("rel");
    const std::string* href = token.Attr("href");
    if (!rel || !href || !sheets_) return;
    std::string lower = *rel;
    for (char& c : lower)
      if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    if (lower.find("stylesheet") == std::string::npos || lower.find("alternate") != std::string::npos) return;
    if (++linkedSheets_ > 32) return;  // a page cannot make us read without end
    if (std::optional<std::string> text = sheets_(*href)) style_.AddSheet(*text);
  }

  void Image(const Token& token) {
    const std::string* src = token.Attr("src");
    const std::string* alt = token.Attr("alt");
    std::string altText;
    if (alt) {  // alt text reads as text: its white space collapses
      for (char c : *alt) {
        if (!IsSpace(c)) {
          altText.push_back(c);
        } else if (!altText.empty() && altText.back() != ' ') {
          altText.push_back(' ');
        }
      }
      while (!altText.empty() && altText.back() == ' ') altText.pop_back();
    }
    if (!src || src->find_first_not_of(" \t\r\n\f") == std::string::npos) {
      if (!altText.empty()) Text(altText);  // nothing to read: the alt text stands in
      return;
    }
    Run run;
    run.style = CurrentStyle();
    run.href = CurrentHref();
    run.image = std::string(Trim(*src));
    run.alt = std::move(altText);
    auto length = [&](const char* name) {
      const std::string* value = token.Attr(name);
      if (!value || value->find('%') != std::string::npos) return -1;
      int pixels = ParseInt(value, -1);
      return pixels < 0 ? -1 : std::min(pixels, kMaxLength);
    };
    run.imageWidth = length("width");
    run.imageHeight = length("height");
    ImageFloat(token, run);
    if (current_.runs.empty()) TagBlock(current_);
    Target().push_back(std::move(run));
  }

  // `align` left or right floats an image, as does the page's style;
  // top, middle and bottom keep it in the line.
  void ImageFloat(const Token& token, Run& run) {
    auto small = [&](const char* name) {
      const std::string* value = token.Attr(name);
      return value ? std::clamp(ParseInt(value, 0), 0, 1000) : 0;
    };
    run.hspace = small("hspace");
    run.vspace = small("vspace");
    run.imageBorder = small("border");
    if (const std::string* align = token.Attr("align")) {
      std::string a(Trim(*align));
      std::transform(a.begin(), a.end(), a.begin(), [](unsigned char ch) { return static_cast<char>(std::tolower(ch)); });
      if (a == "left") run.imageFloat = Float::Left;
      if (a == "right") run.imageFloat = Float::Right;
    }
    if (style_.Styled()) {
      const Float styled = style_.Peek(token).box.floating;
      if (styled != Float::None) run.imageFloat = styled;
    }
  }

  static std::string_view Trim(std::string_view text) {
    while (!text.empty() && IsSpace(text.front())) text.remove_prefix(1);
    while (!text.empty() && IsSpace(text.back())) text.remove_suffix(1);
    return text;
  }

  void PreText(std::string_view text) {
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
      char c = text[i];
      if (c == '\r') {
        if (i + 1 < text.size() && text[i + 1] == '\n') continue;
        c = '\n';
      }
      if (c == '\n' && dropPreNewline_ && out.empty()) {
        dropPreNewline_ = false;
        continue;
      }
      dropPreNewline_ = false;
      if (c == '\n') {
        out.push_back('\n');
        preColumn_ = 0;
      } else if (c == '\t') {
        int spaces = kTabStop - preColumn_ % kTabStop;
        out.append(static_cast<size_t>(spaces), ' ');
        preColumn_ += spaces;
      } else {
        out.push_back(c);
        if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) ++preColumn_;  // count code points
      }
    }
    Append(out);
  }

  // --- blocks --------------------------------------------------------------

  int Indent() const { return std::max(0, static_cast<int>(lists_.size()) + quoteDepth_ - indentBase_); }

  // Ends the block being filled. A list item's marker waits for the item's
  // first content (so "<li><p>text" keeps its bullet) unless `force` says the
  // item is over.
  void Flush(bool force) {
    TrimTrailingSpaces(current_.runs);
    bool content = !current_.runs.empty();
    if (content || (force && current_.marker != Marker::None)) {
      Push(std::move(current_));
      current_ = Block{};
    } else if (force) {
      current_.marker = Marker::None;
    }
    current_.runs.clear();
    current_.kind = preDepth_ > 0 ? BlockKind::Preformatted : heading_ > 0 ? BlockKind::Heading : BlockKind::Paragraph;
    current_.level = heading_;
    current_.indent = Indent();
    current_.tight = dl_.size() > dlFloor_ && heading_ == 0 && preDepth_ == 0;
    current_.rows.clear();
    current_.box = -1;
    current_.align = TextAlign::Left;
    current_.textIndent = 0;
    current_.lineHeight = 0;
    current_.nowrap = false;
    current_.listStyle = ListStyle::Default;
    preColumn_ = 0;
  }

  void Boundary() {
    if (Flat()) {
      SoftBreakInCell();
    } else {
      Flush(false);
    }
  }

  // The element's own handling first: a block element ends the block
  // before it, and its place is the block it starts.
  void Start(const Token& token) {
    const size_t tables = tables_.size();
    StartElement(token);
    if (skipDepth_ > 0) return;
    if (const std::string* id = token.Attr("id")) {
      // A table's name leads to the table, which comes before its cells.
      if (tables_.size() > tables) {
        AddPlace(*id, tables_.back().table.order);
      } else {
        AddPlace(*id, order_);
      }
    }
    if (token.name == "a") {
      if (const std::string* name = token.Attr("name")) AddPlace(*name, order_);
    }
  }

  void AddPlace(const std::string& name, size_t order) {
    // Places only serve links; a page of millions of ids gets no more.
    constexpr size_t kMaxPlaces = 100000;
    if (name.empty() || doc_.places.size() >= kMaxPlaces) return;
    doc_.places.push_back(Place{name, order});
  }

  void StartElement(const Token& token) {
    const std::string& name = token.name;
    const bool displayInline = !displayed_.empty() && displayed_.back().first == name && !displayed_.back().second &&
                               openedNow_;
    if (!displayed_.empty() && displayed_.back().first == name && displayed_.back().second && openedNow_) Boundary();
    if (name == "template") {
      ++skipDepth_;
      return;
    }
    if (skipDepth_ > 0) return;
    if (name == "style") {
      inStyle_ = !token.selfClosing;
      styleText_.clear();
      return;
    }
    if (name == "link") {
      LinkedSheet(token);
      return;
    }
    if (style_.Current().hidden) return;
    if (name == "title") {
      inTitle_ = !token.selfClosing;
      return;
    }
    if (OneOf(name, kInlineFormatting)) {
      if (name == "a") CloseInline("a");  // links do not nest
      OpenInline open{name, {}};
      if (name == "a") {
        if (const std::string* href = token.Attr("href")) open.href = *href;
      }
      inline_.push_back(std::move(open));
      return;
    }
    if (name == "br") {
      if (!Flat() && ClearAfterBreak(token)) return;
      LineBreak();
      return;
    }
    if (name == "img") {
      Image(token);
      return;
    }
    if (int level = HeadingLevel(name)) {
      Boundary();
      heading_ = level;
      if (!Flat()) Flush(false);
      return;
    }
    if (name == "pre" || name == "listing" || name == "xmp" || name == "plaintext") {
      Boundary();
      ++preDepth_;
      dropPreNewline_ = true;
      if (!Flat()) Flush(false);
      return;
    }
    if (name == "hr") {
      if (Flat()) {
        SoftBreakInCell();
        return;
      }
      Flush(true);
      Block rule;
      rule.kind = BlockKind::Rule;
      rule.indent = Indent();
      TagBlock(rule);
      ReadRule(token, rule);
      Push(std::move(rule));
      return;
    }
    if (name == "ul" || name == "ol" || name == "dir" || name == "menu") {
      Boundary();
      if (!Flat()) Flush(false);
      current_.marker = Marker::None;  // "<li><ul>": the inner item carries the bullet
      lists_.push_back(List{name == "ol", ParseInt(token.Attr("start"), 1)});
      current_.indent = Indent();
      return;
    }
    if (name == "li") {
      // An item displayed inline is text of the line it stands in.
      inlineItem_ = !Flat() && style_.Current().display == Display::Inline &&
                    style_.Current().box.floating == Float::None;
      if (inlineItem_) {
        current_.tight = true;  // items on a line keep the list's spacing, as items do
        return;
      }
      if (Flat()) {
        // Cells have no room for markers: the item's number or a bullet
        // character starts its line instead.
        SoftBreakInCell();
        List* list = lists_.empty() ? nullptr : &lists_.back();
        if (list && list->ordered) {
          list->next = ParseInt(token.Attr("value"), list->next);
          Append(std::to_string(list->next) + ". ");
          if (list->next < INT_MAX) ++list->next;
        } else {
          Append("\xE2\x80\xA2 ");
        }
        return;
      }
      Flush(true);
      List* list = lists_.empty() ? nullptr : &lists_.back();
      current_.indent = std::max(1, Indent());
      if (list && list->ordered) {
        list->next = ParseInt(token.Attr("value"), list->next);
        current_.marker = Marker::Number;
        current_.number = list->next;
        if (list->next < INT_MAX) ++list->next;
      } else {
        current_.marker = Marker::Bullet;
      }
      TagBlock(current_);
      current_.listStyle = style_.Current().listStyle;
      if (current_.listStyle == ListStyle::None) {
        current_.marker = Marker::None;
        current_.tight = true;  // still an item: no paragraph gaps around it
      }
      if (current_.marker == Marker::Bullet && current_.listStyle >= ListStyle::Decimal) current_.marker = Marker::Number;
      if (current_.marker == Marker::Number && current_.listStyle >= ListStyle::Disc &&
          current_.listStyle <= ListStyle::Square)
        current_.marker = Marker::Bullet;
      return;
    }
    if (name == "dl") {
      Boundary();
      dl_.push_back(false);
      return;
    }
    if (name == "dt" || name == "dd") {
      Boundary();
      if (!dl_.empty()) {
        bool wantIndent = name == "dd";
        if (dl_.back() != wantIndent) quoteDepth_ += wantIndent ? 1 : -1;
        dl_.back() = wantIndent;
      }
      if (!Flat()) Flush(false);
      return;
    }
    if (name == "blockquote") {
      Boundary();
      ++quoteDepth_;
      ++blockquotes_;
      if (!Flat()) Flush(false);
      return;
    }
    if (name == "table" || name == "tr" || name == "td" || name == "th") {
      TableStart(token);
      return;
    }
    if (OneOf(name, kBlockBreakers) && !displayInline) Boundary();
  }

  void End(const std::string& name) {
    if (!displayed_.empty() && displayed_.back().first == name) {
      const bool block = displayed_.back().second;
      displayed_.pop_back();
      if (block) Boundary();
      if (OneOf(name, kBlockBreakers)) return;
    }
    if (name == "template") {
      if (skipDepth_ > 0) --skipDepth_;
      return;
    }
    if (skipDepth_ > 0) return;
    if (name == "style") {
      if (inStyle_) style_.AddSheet(styleText_);
      inStyle_ = false;
      styleText_.clear();
      return;
    }
    if (name == "title") {
      inTitle_ = false;
      titleOpen_ = false;
      while (!doc_.title.empty() && doc_.title.back() == ' ') doc_.title.pop_back();
      return;
    }
    if (OneOf(name, kInlineFormatting)) {
      CloseInline(name);
      return;
    }
    if (name == "br") {  // "</br>" is read as "<br>" by every browser
      LineBreak();
      return;
    }
    if (HeadingLevel(name)) {
      if (heading_ == 0) return;
      Boundary();
      heading_ = 0;
      if (!Flat()) Flush(false);
      return;
    }
    if (name == "pre" || name == "listing" || name == "xmp" || name == "plaintext") {
      if (preDepth_ == 0) return;
      Boundary();
      --preDepth_;
      if (!Flat()) Flush(false);
      return;
    }
    if (name == "ul" || name == "ol" || name == "dir" || name == "menu") {
      if (Flat()) {
        SoftBreakInCell();
      } else {
        Flush(true);
      }
      if (lists_.size() > listFloor_) lists_.pop_back();
      current_.indent = Indent();
      return;
    }
    if (name == "li") {
      if (inlineItem_) return;
      if (Flat()) {
        SoftBreakInCell();
      } else {
        Flush(true);
      }
      return;
    }
    if (name == "dd" || name == "dt" || name == "dl") {
      Boundary();
      if (!dl_.empty()) {
        if (dl_.back()) --quoteDepth_;
        dl_.back() = false;
        if (name == "dl") dl_.pop_back();
      }
      if (!Flat()) Flush(false);
      return;
    }
    if (name == "blockquote") {
      Boundary();
      if (blockquotes_ > 0) {
        --blockquotes_;
        --quoteDepth_;
      }
      if (!Flat()) Flush(false);
      return;
    }
    if (name == "table" || name == "tr" || name == "td" || name == "th") {
      TableEnd(name);
      return;
    }
    if (OneOf(name, kBlockBreakers)) Boundary();
  }

  void CloseInline(std::string_view name) {
    for (size_t i = inline_.size(); i-- > inlineFloor_;) {
      if (inline_[i].name == name) {
        inline_.erase(inline_.begin() + static_cast<std::ptrdiff_t>(i));
        return;
      }
    }
  }

  // --- boxes -----------------------------------------------------------------

  static bool IsBlockTag(std::string_view name) {
    static constexpr std::array<std::string_view, 18> kOthers = {"ul", "ol", "dl", "dt", "dd", "li", "blockquote", "pre",
                                                                "h1", "h2", "h3", "h4", "h5", "h6", "dir", "menu",
                                                                "listing", "xmp"};
    return OneOf(name, kBlockBreakers) || OneOf(name, kOthers);
  }

  // Right after the element's start is pushed on the style stack: the page
  // colour and margins from the body, a container for a block element the
  // page gives a box, and what its display asks of its tag.
  void Opened(const Token& token) {
    const std::string& name = token.name;
    const PageStyle::Computed& c = style_.Current();
    if (c.hidden) return;
    if (name == "body" || name == "html") {
      if (c.box.background != kNoColor) doc_.background = c.box.background;
      if (name == "body")
        for (int side = 0; side < 4; ++side)
          if (c.box.marginSet & (1 << side)) doc_.bodyMargin[static_cast<size_t>(side)] = std::max(0, c.box.margin[static_cast<size_t>(side)]);
      return;
    }
    if (Flat() || name == "table" || name == "tr" || name == "td" || name == "th") return;  // cells have boxes of their own
    const BoxStyle& b = c.box;
    const bool boxed = b.HasChrome() || b.marginSet != 0 || b.width != 0 || FloatsOrClears(b);
    if (!boxed && c.display == Display::Default) return;  // most elements: nothing more to do
    const bool blockTag = IsBlockTag(name);
    bool block = blockTag;
    // A float is a block whatever its display says.
    if (c.display == Display::Block || c.display == Display::ListItem || b.floating != Float::None) {
      block = true;
      if (!blockTag && displayed_.size() < PageStyle::kMaxDepth) displayed_.emplace_back(name, true);
    } else if (c.display == Display::Inline && OneOf(name, kBlockBreakers)) {
      block = false;
      if (displayed_.size() < PageStyle::kMaxDepth) displayed_.emplace_back(name, false);
    }
    if (!block || !boxed) return;
    if (doc_.containers.size() >= kMaxContainers) return;
    Container container;
    container.parent = c.container;
    container.box = b;
    container.ownsBlock = name == "p" || HeadingLevel(name) || name == "pre";
    doc_.containers.push_back(container);
    used_.push_back(false);
    style_.SetContainer(static_cast<int>(doc_.containers.size() - 1));
  }

  // "<br clear=all>" (or left, right; or the style's clear) puts what
  // follows below the floated images before it.
  bool ClearAfterBreak(const Token& token) {
    uint8_t sides = 0;
    if (const std::string* clear = token.Attr("clear")) {
      std::string c(Trim(*clear));
      std::transform(c.begin(), c.end(), c.begin(), [](unsigned char ch) { return static_cast<char>(std::tolower(ch)); });
      sides = c == "left" ? kClearLeft : c == "right" ? kClearRight : c == "all" || c == "both" ? kClearLeft | kClearRight : 0;
    }
    if (style_.Styled()) sides |= style_.Peek(token).box.clear;
    if (sides == 0) return false;
    Flush(false);  // the break ends the block; the next starts below
    current_.clear = sides;
    return true;
  }

  static bool FloatsOrClears(const BoxStyle& b) { return b.floating != Float::None || b.clear != 0 || b.ownContext; }

  // A container that closed holding nothing still shows its box (an empty
  // div with a border) and its margins take part in collapsing: it gets an
  // empty block of its own.
  void ClosedContainers() {
    for (int index : style_.TakeClosedContainers()) {
      if (Flat()) continue;
      if (index < 0 || static_cast<size_t>(index) >= used_.size() || used_[static_cast<size_t>(index)]) continue;
      if (!current_.runs.empty()) Flush(false);
      Block empty;
      empty.box = index;
      empty.indent = Indent();
      Mark(index);
      Push(std::move(empty));
    }
  }

  void Mark(int index) {
    while (index >= 0 && static_cast<size_t>(index) < used_.size() && !used_[static_cast<size_t>(index)]) {
      used_[static_cast<size_t>(index)] = true;
      index = doc_.containers[static_cast<size_t>(index)].parent;
    }
  }

  // A block takes its box and paragraph style from where its content starts.
  void TagBlock(Block& block) {
    const PageStyle::Computed& c = style_.Current();
    block.box = c.container;
    Mark(block.box);
    block.align = c.align;
    block.textIndent = c.textIndent;
    block.lineHeight = c.lineHeight > 0 ? c.lineHeight : c.lineFactor > 0 ? c.lineFactor * c.fontPixels / 100 : 0;
    block.nowrap = c.nowrap || (c.pre && preDepth_ == 0);
  }

  static void ReadRule(const Token& token, Block& rule) {
    if (const std::string* size = token.Attr("size")) rule.ruleSize = std::clamp(ParseInt(size, 0), 0, 1000);
    if (const std::string* width = token.Attr("width")) {
      rule.ruleWidth = std::clamp(ParseInt(width, 0), 0, kMaxLength);
      rule.ruleWidthPercent = width->find('%') != std::string::npos;
      if (rule.ruleWidthPercent) rule.ruleWidth = std::min(rule.ruleWidth, 100);
    }
    if (const std::string* color = token.Attr("color")) {
      if (auto c = ParseColor(*color)) rule.ruleColor = *c;
    } else if (token.Attr("noshade")) {
      rule.ruleColor = 0x808080;
    }
    if (const std::string* align = token.Attr("align")) {
      std::string a = *align;
      for (char& ch : a) ch = static_cast<char>(ch >= 'A' && ch <= 'Z' ? ch - 'A' + 'a' : ch);
      rule.align = a == "left" ? TextAlign::Left : a == "right" ? TextAlign::Right : TextAlign::Center;
    } else {
      rule.align = TextAlign::Center;
    }
  }

  // --- tables ----------------------------------------------------------------
  // Each cell gathers blocks of its own. What stays open of the page around
  // the table (lists, quotations, headings, formatting) belongs outside
  // it: a cell starts afresh and leaves it as it found it.

  struct TableFrame {
    Block table;
    bool inCell = false;
    // The open row's own attributes, for its cells.
    uint32_t rowBackground = kNoColor;
    VerticalAlign rowValign = VerticalAlign::Middle;
    bool rowValignSet = false;
    // What the page had open when the table began, given back at its end.
    size_t inlineFloor = 0, listFloor = 0, dlFloor = 0;
    int indentBase = 0, quoteDepth = 0, blockquotes = 0, heading = 0, preDepth = 0;
    size_t listCount = 0, dlCount = 0;
  };

  void TableStart(const Token& token) {
    const std::string& name = token.name;
    if (name == "table") {
      if (Flat() || tables_.size() >= static_cast<size_t>(kMaxTableNesting)) {
        ++flatDepth_;
        SoftBreakInCell();
        return;
      }
      Flush(true);
      TableFrame frame;
      frame.table.kind = BlockKind::Table;
      frame.table.indent = Indent();
      frame.table.order = order_++;
      frame.table.table = ReadTableFormat(token);
      if (openedNow_) {
        const PageStyle::Computed& style = style_.Current();
        if (style.width > 0) {
          frame.table.table.width = style.widthPercent ? 0 : std::min(style.width, kMaxLength);
          frame.table.table.widthPercent = style.widthPercent ? std::min(style.width, 100) : 0;
        }
        frame.table.table.background = style.box.background;
        if (style.box.centered) frame.table.table.align = TextAlign::Center;
        if (!token.Attr("align") && style.align == TextAlign::Center) frame.table.table.align = TextAlign::Center;
        ReadTableStyle(style, frame.table.table);
      }
      TagBlock(frame.table);
      frame.inlineFloor = inlineFloor_;
      frame.listFloor = listFloor_;
      frame.dlFloor = dlFloor_;
      frame.indentBase = indentBase_;
      frame.quoteDepth = quoteDepth_;
      frame.blockquotes = blockquotes_;
      frame.heading = heading_;
      frame.preDepth = preDepth_;
      frame.listCount = lists_.size();
      frame.dlCount = dl_.size();
      tables_.push_back(std::move(frame));
      inlineFloor_ = inline_.size();
      listFloor_ = lists_.size();
      dlFloor_ = dl_.size();
      return;
    }
    if (tables_.empty()) return;  // a stray row or cell outside any table means nothing
    if (Flat()) {
      if (name == "tr") {
        SoftBreakInCell();
      } else {
        TrimTrailingSpaces(Target());
        char last = LastChar(Target());
        if (last != '\0' && last != '\n') Append(" ");
      }
      return;
    }
    EndCell();
    TableFrame& frame = tables_.back();
    const PageStyle::Computed& style = style_.Current();
    const bool own = openedNow_;
    if (name == "tr") {
      frame.table.rows.emplace_back();
      frame.rowBackground = own ? style.box.background : kNoColor;
      frame.rowValign = own ? style.valign : VerticalAlign::Middle;
      frame.rowValignSet = own && style.valignSet;
      return;
    }
    Flush(true);  // text between cells goes before the table
    if (frame.table.rows.empty()) {
      frame.table.rows.emplace_back();
      frame.rowBackground = kNoColor;
      frame.rowValignSet = false;
    }
    TableCell cell;
    cell.header = name == "th";
    cell.colspan = std::clamp(ParseInt(token.Attr("colspan"), 1), 1, kMaxColspan);
    cell.rowspan = std::clamp(ParseInt(token.Attr("rowspan"), 1), 0, kMaxRowspan);
    cell.align = cell.header ? TextAlign::Center : TextAlign::Left;
    cell.background = frame.rowBackground;
    cell.valign = frame.rowValignSet ? frame.rowValign : VerticalAlign::Middle;
    cell.box = style.container;
    if (own) {
      if (style.widthPercent) {
        cell.widthPercent = std::clamp(style.width, 0, 100);
      } else {
        cell.width = std::clamp(style.width, 0, kMaxLength);
      }
      if (style.box.background != kNoColor) cell.background = style.box.background;
      if (style.align != TextAlign::Left || token.Attr("align") || !cell.header) cell.align = style.align;
      if (style.valignSet) cell.valign = style.valign;
      cell.nowrap = style.nowrap;
      ReadCellStyle(style, cell);
    } else if (const std::string* width = token.Attr("width")) {
      cell.width = std::clamp(ParseInt(width, 0), 0, kMaxLength);
      if (width->find('%') != std::string::npos) {
        cell.widthPercent = std::min(cell.width, 100);
        cell.width = 0;
      }
    }
    frame.table.rows.back().push_back(std::move(cell));
    frame.inCell = true;
    indentBase_ = static_cast<int>(lists_.size()) + quoteDepth_;
    Flush(false);  // the cell's first block starts at the cell's own left
  }

  // The cell's own border and padding where the page's style gives them.
  static void ReadCellStyle(const PageStyle::Computed& style, TableCell& cell) {
    for (size_t side = 0; side < 4; ++side) {
      if (style.paddingSet & (1 << side)) cell.padding[side] = std::clamp(style.box.padding[side], 0, 1000);
      if (style.borderSet) {
        cell.border[side] = std::clamp(style.box.border[side], 0, 100);
        cell.borderColor[side] = style.box.borderColor[side];
      }
    }
  }

  static void ReadTableStyle(const PageStyle::Computed& style, TableFormat& format) {
    format.collapse = style.borderCollapse;
    format.frameStyled = style.borderSet;
    for (size_t side = 0; side < 4; ++side) {
      format.frameStyle[side] = std::clamp(style.box.border[side], 0, 100);
      format.frameColor[side] = style.box.borderColor[side];
    }
  }

  // The open cell ends: its last block, and what it opened of lists,
  // quotations, headings and formatting.
  void EndCell() {
    TableFrame& frame = tables_.back();
    if (!frame.inCell) return;
    Flush(true);
    CloseCellFormatting();
    if (lists_.size() > frame.listCount) lists_.resize(frame.listCount);
    if (dl_.size() > frame.dlCount) dl_.resize(frame.dlCount);
    quoteDepth_ = frame.quoteDepth;
    blockquotes_ = frame.blockquotes;
    heading_ = frame.heading;
    preDepth_ = frame.preDepth;
    frame.inCell = false;
    indentBase_ = frame.indentBase;
    Flush(false);
  }

  static TableFormat ReadTableFormat(const Token& token) {
    TableFormat format;
    // "<table border>" asks for borders as much as "border=1" does.
    if (const std::string* border = token.Attr("border")) format.border = ParseInt(border, 1) != 0;
    if (const std::string* width = token.Attr("width")) {
      int value = std::clamp(ParseInt(width, 0), 0, kMaxLength);
      if (width->find('%') != std::string::npos) {
        format.widthPercent = std::min(value, 100);
      } else {
        format.width = value;
      }
    }
    if (const std::string* padding = token.Attr("cellpadding")) format.padding = std::clamp(ParseInt(padding, 0), 0, 100);
    if (const std::string* spacing = token.Attr("cellspacing")) format.spacing = std::clamp(ParseInt(spacing, 0), 0, 100);
    if (format.border) format.borderWidth = std::clamp(ParseInt(token.Attr("border"), 1), 0, 100);
    if (const std::string* color = token.Attr("bordercolor")) format.borderColor = ParseColor(*color).value_or(kNoColor);
    if (const std::string* align = token.Attr("align")) {
      std::string a = *align;
      for (char& ch : a) ch = static_cast<char>(ch >= 'A' && ch <= 'Z' ? ch - 'A' + 'a' : ch);
      format.align = a == "center" ? TextAlign::Center : a == "right" ? TextAlign::Right : TextAlign::Left;
    }
    return format;
  }

  void TableEnd(const std::string& name) {
    if (tables_.empty()) return;
    if (Flat()) {
      if (name == "table") {
        --flatDepth_;
        SoftBreakInCell();
      }
      return;
    }
    if (name == "table") {
      FinishTable();
      return;
    }
    EndCell();
  }

  // Formatting opened inside a cell ends with the cell.
  void CloseCellFormatting() {
    if (inline_.size() > inlineFloor_) inline_.resize(inlineFloor_);
  }

  void FinishTable() {
    EndCell();
    Flush(true);  // text that stood between cells goes before the table
    TableFrame frame = std::move(tables_.back());
    tables_.pop_back();
    inlineFloor_ = frame.inlineFloor;
    listFloor_ = frame.listFloor;
    dlFloor_ = frame.dlFloor;
    indentBase_ = frame.indentBase;
    flatDepth_ = 0;
    std::erase_if(frame.table.rows, [](const std::vector<TableCell>& row) { return row.empty(); });
    if (!frame.table.rows.empty()) Out().push_back(std::move(frame.table));
    Flush(false);
  }

  const SheetLoader& sheets_;
  PageStyle style_;
  bool inStyle_ = false;
  std::string styleText_;
  int linkedSheets_ = 0;
  Document doc_;
  Block current_;
  std::vector<TableFrame> tables_;  // the open tables, innermost last
  int flatDepth_ = 0;               // tables open past kMaxTableNesting
  size_t order_ = 0;                // the `order` of the next block
  std::vector<OpenInline> inline_;
  // Formatting, lists and definition lists below these belong outside the
  // innermost table.
  size_t inlineFloor_ = 0, listFloor_ = 0, dlFloor_ = 0;
  int indentBase_ = 0;  // the nesting of lists and quotations outside the open cell
  std::vector<List> lists_;
  std::vector<bool> dl_;  // per open definition list: is a <dd> indenting now
  int quoteDepth_ = 0;
  int blockquotes_ = 0;
  int heading_ = 0;
  int preDepth_ = 0;
  int preColumn_ = 0;
  bool dropPreNewline_ = false;
  bool inTitle_ = false;
  bool titleOpen_ = false;
  int skipDepth_ = 0;
  std::vector<bool> used_;  // per container: some block stands in it
  // Elements whose display turns a block tag inline or an inline one into a
  // block, with which it is (true: block), innermost last.
  std::vector<std::pair<std::string, bool>> displayed_;
  bool inlineItem_ = false;  // the last list item opened is displayed inline
  bool openedNow_ = false;  // the start tag being handled was pushed on the style stack
};

}  // namespace

std::string TableCell::Text() const {
  std::string text;
  for (const Block& block : blocks) {
    if (!text.empty()) text.push_back('\n');
    text += block.Text();
  }
  return text;
}

std::string Block::Text() const {
  std::string text;
  if (kind == BlockKind::Table) {
    for (size_t r = 0; r < rows.size(); ++r) {
      if (r) text.push_back('\n');
      for (size_t c = 0; c < rows[r].size(); ++c) {
        if (c) text.push_back('\t');
        text += rows[r][c].Text();
      }
    }
    return text;
  }
  for (const Run& run : runs) text += run.text;
  return text;
}

std::string MarkerText(ListStyle style, int number) {
  switch (style) {
    case ListStyle::LowerAlpha:
    case ListStyle::UpperAlpha: {
      if (number <= 0) break;
      std::string out;
      const char a = style == ListStyle::LowerAlpha ? 'a' : 'A';
      for (long long n = number; n > 0; n = (n - 1) / 26) out.insert(out.begin(), static_cast<char>(a + (n - 1) % 26));
      return out;
    }
    case ListStyle::LowerRoman:
    case ListStyle::UpperRoman: {
      if (number <= 0 || number >= 4000) break;  // roman numerals end there
      static constexpr std::array<std::pair<int, const char*>, 13> kRoman = {{{1000, "m"}, {900, "cm"}, {500, "d"},
                                                                             {400, "cd"}, {100, "c"}, {90, "xc"},
                                                                             {50, "l"}, {40, "xl"}, {10, "x"},
                                                                             {9, "ix"}, {5, "v"}, {4, "iv"}, {1, "i"}}};
      std::string out;
      int n = number;
      for (const auto& [value, letters] : kRoman)
        for (; n >= value; n -= value) out += letters;
      if (style == ListStyle::UpperRoman)
        for (char& c : out) c = static_cast<char>(c - 'a' + 'A');
      return out;
    }
    default:
      break;
  }
  return std::to_string(number);
}

const Place* Document::FindPlace(std::string_view name) const {
  for (const Place& place : places)
    if (place.name == name) return &place;
  return nullptr;
}

Document ParseHtml(std::string_view utf8, const SheetLoader& sheets) { return Builder(sheets).Build(utf8); }

Document ParseHtmlBytes(std::string_view bytes, const Decoder& decoder, const SheetLoader& sheets) {
  CharsetInfo info;
  std::string text = DecodePage(bytes, decoder, &info);
  Document doc = ParseHtml(text, sheets);
  doc.charset = info.charset;
  return doc;
}

}  // namespace hv::html
