#include "pageview/htmllayout.h"

#include <algorithm>
#include <climits>
#include <unordered_map>

#include "pageview/layoutengine.h"

namespace hv::html {

namespace {

// Punctuation that may not start a line, and punctuation that may not end
// one, in text that otherwise breaks anywhere.
bool NoBreakBefore(uint32_t cp) {
  switch (cp) {
    case 0x3001:
    case 0x3002:
    case 0xFF0C:
    case 0xFF0E:
    case 0xFF1A:
    case 0xFF1B:
    case 0xFF1F:
    case 0xFF01:
    case 0xFF09:
    case 0x300D:
    case 0x300F:
    case 0x3011:
    case 0x3015:
    case 0x3009:
    case 0x300B:
    case 0x201D:
    case 0x2019:
    case 0x30FC:
    case 0x3005:
    case 0xFF5D:
    case 0xFF3D:
    case '.':
    case ',':
    case ';':
    case ':':
    case '!':
    case '?':
    case ')':
    case ']':
    case '}':
      return true;
    default:
      return false;
  }
}

bool NoBreakAfter(uint32_t cp) {
  switch (cp) {
    case 0xFF08:
    case 0x300C:
    case 0x300E:
    case 0x3010:
    case 0x3014:
    case 0x3008:
    case 0x300A:
    case 0x201C:
    case 0x2018:
    case 0xFF5B:
    case 0xFF3B:
    case '(':
    case '[':
    case '{':
      return true;
    default:
      return false;
  }
}

uint32_t LastCodePoint(std::string_view text) {
  if (text.empty()) return 0;
  size_t start = text.size() - 1;
  while (start > 0 && text.size() - start < 4 && (static_cast<unsigned char>(text[start]) & 0xC0) == 0x80) --start;
  size_t pos = start;
  return NextCodePoint(text, pos);
}

uint32_t FirstCodePoint(std::string_view text) {
  size_t pos = 0;
  return text.empty() ? 0 : NextCodePoint(text, pos);
}

}  // namespace

namespace layout {

void Engine::Document(const html::Document& doc) {
  doc_ = &doc;
  auto side = [&](int i) {
    int given = doc.bodyMargin[static_cast<size_t>(i)];
    return given >= 0 ? static_cast<int>(std::min<long long>(Zoomed(given), 10000)) : std::max(0, options_.margin);
  };
  const int top = side(kTop), bottom = side(kBottom);
  left_ = std::min(side(kLeft), std::max(0, options_.width - 1));
  right_ = std::max(left_ + 1, options_.width - side(kRight));
  y_ = top;
  pageTop_ = top;
  out_.background = doc.background;
  numbered_ = doc.blockCount > 0;
  out_.blockTops.assign(numbered_ ? doc.blockCount : doc.blocks.size(), kUnsetTop);
  out_.boxes.reserve(doc.blocks.size() * 4);  // a generated page's usual share; it grows past it as needed
  LayBlocks(doc.blocks, 0, doc.blocks.size());
  while (!open_.empty()) CloseBox();
  FillTops();
  // Content pulled up by negative margins may leave a box reaching lower.
  int lowest = y_;
  for (const LayoutBox& box : out_.boxes) lowest = std::max(lowest, box.rect.bottom);
  out_.height = static_cast<int>(std::min<long long>(static_cast<long long>(lowest) + bottom, INT_MAX / 2));
  out_.width = std::max(options_.width, rightmost_ + side(kRight));
}

void Engine::LayBlocks(const Blocks& blocks, size_t first, size_t last) {
  for (size_t i = first; i < last;) {
    if (size_t past = LayFloat(blocks, i); past > i) {
      i = past;
      continue;
    }
    const Block& block = blocks[i++];
    Enter(block);
    SetTop(block, Place(block));
  }
}

void Engine::Resolve() {
  int margin = pending_.Value();
  if (!started_) {
    margin = std::max(0, styledPending_ - pageTop_);  // it collapses with the page's own margin
    started_ = true;
  }
  // Negative margins may pull content up, never above the page's top.
  Advance(margin);
  y_ = std::max(y_, pageTop_);
  pending_ = Pending{};
  styledPending_ = 0;
  for (OpenBox& box : open_) {
    if (box.topPending) {
      box.topPending = false;
      box.top = y_;
    }
  }
}

void Engine::AddMargin(int margin, bool styled) {
  pending_.Add(margin);
  if (styled && !started_) styledPending_ = std::max(styledPending_, margin);
}

void Engine::Enter(const Block& block) {
  const std::vector<Container>& all = doc_->containers;
  EnterBox(block.box >= 0 && static_cast<size_t>(block.box) < all.size() ? block.box : -1, block);
}

void Engine::EnterBox(int innermost, const Block& block) {
  const std::vector<Container>& all = doc_->containers;
  if (innermost == (open_.empty() ? rootBox_ : open_.back().index)) return;
  chain_.clear();
  // In a cell or a float only the boxes inside it belong to its blocks.
  bool reached = rootBox_ < 0;
  for (int c = innermost; c >= 0 && chain_.size() < kMaxBoxDepth; c = all[static_cast<size_t>(c)].parent) {
    if (c == rootBox_) {
      reached = true;
      break;
    }
    chain_.push_back(c);
    if (all[static_cast<size_t>(c)].parent >= c) break;  // parents come first; anything else is no chain
  }
  if (!reached) chain_.clear();
  std::reverse(chain_.begin(), chain_.end());
  size_t common = 0;
  while (common < open_.size() && common < chain_.size() && open_[common].index == chain_[common]) ++common;
  while (open_.size() > common) CloseBox();
  for (size_t i = common; i < chain_.size(); ++i) OpenBoxFor(all[static_cast<size_t>(chain_[i])], chain_[i], block);
}

void Engine::OpenBoxFor(const Container& container, int index, const Block& first) {
  const BoxStyle& style = container.box;
  OpenBox box;
  box.index = index;
  box.parentLeft = left_;
  box.parentRight = right_;
  auto [defaultTop, defaultBottom] = container.ownsBlock ? Margins(first) : std::pair<int, int>{0, 0};
  const bool topSet = style.marginSet & (1 << kTop), bottomSet = style.marginSet & (1 << kBottom);
  AddMargin(topSet ? MarginPx(style, kTop) : defaultTop, topSet);
  if (style.clear != 0 && !floats_.Empty()) {  // below the floats it clears, its margin or not
    Resolve();
    y_ = std::max(y_, floats_.Clear(style.clear, y_));
  }
  box.floatSerial = floats_.Serial();
  box.marginBottom = bottomSet ? MarginPx(style, kBottom) : defaultBottom;
  for (int s = 0; s < 4; ++s) {
    box.border[static_cast<size_t>(s)] = std::clamp(Px(style.border[static_cast<size_t>(s)]), 0, 1000);
    box.padding[static_cast<size_t>(s)] = std::clamp(Px(style.padding[static_cast<size_t>(s)]), 0, 10000);
  }
  const long long room = right_ - left_;
  const long long insideLeft = box.border[kLeft] + box.padding[kLeft];
  const long long insideRight = box.border[kRight] + box.padding[kRight];
  long long marginLeft = MarginPx(style, kLeft), marginRight = MarginPx(style, kRight);
  long long left = left_ + marginLeft, right = right_ - marginRight;
  if (style.width > 0) {
    long long content = style.widthPercent ? room * std::min(style.width, 100) / 100 : Zoomed(style.width);
    long long outer = content + insideLeft + insideRight;
    if (style.centered) left = left_ + std::max<long long>(0, (room - outer) / 2);
    right = left + outer;
  }
  // However the page nests and pads, some column stays for the text.
  right = std::max(right, left + insideLeft + insideRight + 1);
  box.boxLeft = static_cast<int>(std::clamp<long long>(left, -100000, INT_MAX / 4));
  box.boxRight = static_cast<int>(std::clamp<long long>(right, box.boxLeft + 1, INT_MAX / 4));
  left_ = static_cast<int>(std::min<long long>(box.boxLeft + insideLeft, INT_MAX / 4 - 1));
  right_ = static_cast<int>(std::max<long long>(left_ + 1, box.boxRight - insideRight));
  int pieces = (style.background != kNoColor ? 1 : 0);
  for (int s = 0; s < 4; ++s) pieces += box.border[static_cast<size_t>(s)] > 0 ? 1 : 0;
  if (pieces > 0) {  // painted under the content: reserved now, placed at the close
    box.chrome = out_.boxes.size();
    box.chromeCount = pieces;
    out_.boxes.resize(out_.boxes.size() + static_cast<size_t>(pieces));
  }
  open_.push_back(box);
  if (box.border[kTop] > 0 || box.padding[kTop] > 0) {
    Resolve();
    Advance(box.border[kTop] + box.padding[kTop]);
  }
}

int Engine::MarginPx(const BoxStyle& style, int side) const {
  const int margin = style.margin[static_cast<size_t>(side)];
  if (!(style.marginPercent & (1 << side))) return Px(margin);
  return static_cast<int>(std::clamp<long long>(static_cast<long long>(right_ - left_) * margin / 100, -100000, 100000));
}

void Engine::CloseBox() {
  OpenBox box = open_.back();
  const Container& container = doc_->containers[static_cast<size_t>(box.index)];
  const int below = box.border[kBottom] + box.padding[kBottom];
  if (container.box.ownContext) {  // it holds the floats inside it
    const int lowest = floats_.LowestSince(box.floatSerial, INT_MIN);
    if (lowest != INT_MIN && lowest > y_ + pending_.Value()) {
      Resolve();
      y_ = std::max(y_, lowest);
    }
  }
  int bottom;
  if (below > 0 || !box.topPending) {
    if (below > 0) Resolve();  // the last child's margin stays inside
    Advance(below);
    bottom = y_;
    if (box.topPending) box.top = bottom - below;  // only bottom chrome: it stands where the margins end
  } else {
    // Nothing inside and nothing to hold the margins apart: they pass
    // through the empty box.
    box.top = bottom = y_ + pending_.Value();
  }
  open_.pop_back();
  AddMargin(box.marginBottom, (container.box.marginSet & (1 << kBottom)) != 0);
  left_ = box.parentLeft;
  right_ = box.parentRight;
  rightmost_ = std::max(rightmost_, box.boxRight);
  if (box.chrome == SIZE_MAX) return;
  AddChrome(box.chrome, TRect{box.boxLeft, box.top, box.boxRight, std::max(box.top, bottom)}, container.box, box.border);
}

void Engine::AddChrome(size_t at, const TRect& outer, const BoxStyle& style, const std::array<int, 4>& b) {
  auto fill = [&](TRect rect, uint32_t color) {
    LayoutBox& piece = out_.boxes[at++];
    piece.kind = BoxKind::Fill;
    piece.rect = rect;
    piece.color = color;
  };
  if (style.background != kNoColor) fill(outer, style.background);
  auto color = [&](int s) { return style.borderColor[static_cast<size_t>(s)] == kNoColor ? 0u : style.borderColor[static_cast<size_t>(s)]; };
  if (b[kTop] > 0) fill(TRect{outer.left, outer.top, outer.right, std::min(outer.bottom, outer.top + b[kTop])}, color(kTop));
  if (b[kBottom] > 0)
    fill(TRect{outer.left, std::max(outer.top, outer.bottom - b[kBottom]), outer.right, outer.bottom}, color(kBottom));
  if (b[kLeft] > 0) fill(TRect{outer.left, outer.top, std::min(outer.right, outer.left + b[kLeft]), outer.bottom}, color(kLeft));
  if (b[kRight] > 0)
    fill(TRect{std::max(outer.left, outer.right - b[kRight]), outer.top, outer.right, outer.bottom}, color(kRight));
}

int Engine::Place(const Block& block) {
  const bool own = block.box >= 0 && static_cast<size_t>(block.box) < doc_->containers.size() &&
                   doc_->containers[static_cast<size_t>(block.box)].ownsBlock;
  auto [top, bottom] = own ? std::pair<int, int>{0, 0} : Margins(block);
  const bool empty = block.kind == BlockKind::Paragraph && block.runs.empty() && block.marker == Marker::None;
  if (empty) return y_ + (started_ ? pending_.Value() : 0);  // it holds nothing and keeps no margins apart
  AddMargin(top, false);
  Resolve();
  if (block.clear != 0) y_ = std::max(y_, floats_.Clear(block.clear, y_));
  const int blockTop = y_;
  Advance(LayBlock(block, y_));
  AddMargin(bottom, false);
  return blockTop;
}

FontMetrics Engine::Metrics(const RunStyle& style) {
  for (const auto& [s, m] : metricsCache_)
    if (s == style) return m;
  FontMetrics m = measurer_.Metrics(style);
  m.height = std::max(1, m.height);
  m.ascent = std::clamp(m.ascent, 0, m.height);
  metricsCache_.emplace_back(style, m);
  return m;
}

FontMetrics Engine::ItemMetrics(const Placed& item) {
  if (item.image) {
    const int outer = item.run->imageHeight + 2 * item.run->ImageInsetY();
    return FontMetrics{outer, outer};
  }
  return Metrics(item.run->style);
}

int Engine::Width(std::string_view text, const RunStyle& style) {
  if (text.empty()) return 0;
  std::string& key = widthKey_;
  key.assign(1, static_cast<char>(style.bold | style.italic << 1 | style.underline << 2 | style.monospace << 3 |
                                  style.serif << 4));
  key.push_back(static_cast<char>(style.heading));
  key.push_back(static_cast<char>(style.size & 0xFF));
  key.push_back(static_cast<char>(style.size >> 8));
  key.append(text);
  auto found = widths_.find(key);
  if (found != widths_.end()) return found->second;
  int width = std::max(0, measurer_.TextWidth(text, style));
  if (widths_.size() < kMaxCachedWidths) widths_.emplace(key, width);
  return width;
}

std::pair<int, int> Engine::Margins(const Block& block) {
  switch (block.kind) {
    case BlockKind::Heading: {
      RunStyle style;
      style.bold = true;
      style.heading = static_cast<uint8_t>(std::clamp(block.level, 1, 6));
      return {Metrics(style).height * 2 / 3, unit_ / 2};
    }
    case BlockKind::Rule:
      return {unit_ / 2, unit_ / 2};
    case BlockKind::Paragraph:
      if (block.marker != Marker::None || block.tight) return {0, 0};
      return {unit_, unit_};
    case BlockKind::Preformatted:
    case BlockKind::Table:
      return {unit_, unit_};
  }
  return {unit_, unit_};
}

int Engine::IndentPixels(int indent) {
  int width = right_ - left_;
  // A cell is as wide as its content asks, its lists' indents included.
  int keep = nesting_ > 0 ? width / 3 : std::max(width / 3, 4 * body_.height);
  int most = std::max(0, width - keep);
  long long wanted = static_cast<long long>(std::max(0, indent - indentBase_)) * indentStep_;
  return static_cast<int>(std::min<long long>(wanted, most));
}

Para Engine::ParaOf(const Block& block) const {
  Para para;
  para.align = block.align == TextAlign::Left ? cellAlign_ : block.align;
  para.indent = Px(block.textIndent);
  para.lineHeight = block.lineHeight > 0 ? Px(block.lineHeight) : 0;
  para.nowrap = block.nowrap || cellNowrap_;
  return para;
}

int Engine::LayBlock(const Block& block, int y) {
  int x0 = left_ + IndentPixels(block.indent);
  switch (block.kind) {
    case BlockKind::Rule: {
      LayoutBox box;
      box.kind = BoxKind::Rule;
      const int room = std::max(1, right_ - x0);
      int width = room;
      if (block.ruleWidth > 0)
        width = static_cast<int>(std::clamp<long long>(
            block.ruleWidthPercent ? static_cast<long long>(room) * block.ruleWidth / 100 : Zoomed(block.ruleWidth), 1, room));
      int left = x0;
      if (block.align == TextAlign::Center) left += (room - width) / 2;
      if (block.align == TextAlign::Right) left += room - width;
      const int height = block.ruleSize > 0 ? std::clamp(Px(block.ruleSize), 1, 1000) : 2;
      box.rect = TRect{left, y, left + width, y + height};
      box.color = block.ruleColor;
      Add(std::move(box));
      return height;
    }
    case BlockKind::Table:
      return LayTable(block, x0, y);
    case BlockKind::Preformatted: {
      // Preformatted lines are never wrapped: a long one widens the page,
      // which then scrolls sideways, as in a browser.
      int pad = std::max(2, unit_ / 3);
      // A page that gives its preformatted text a background of its own
      // gets that instead of this view's grey.
      const bool ownBackground = block.box >= 0 && static_cast<size_t>(block.box) < doc_->containers.size() &&
                                 doc_->containers[static_cast<size_t>(block.box)].ownsBlock &&
                                 doc_->containers[static_cast<size_t>(block.box)].box.background != kNoColor;
      size_t shadeAt = out_.boxes.size();
      const int widestSoFar = rightmost_;
      rightmost_ = 0;
      Para para = ParaOf(block);
      para.nowrap = true;
      para.align = TextAlign::Left;
      InlineResult r = LayInline(block.runs, x0 + pad, y + pad, INT_MAX / 4, true, para);
      const int contentRight = rightmost_;
      int height = r.height + 2 * pad;
      LayoutBox shade;
      shade.kind = BoxKind::Shade;
      shade.rect = TRect{x0, y, std::max(right_, contentRight + pad), y + height};
      rightmost_ = std::max(widestSoFar, shade.rect.right);
      if (!ownBackground) out_.boxes.insert(out_.boxes.begin() + static_cast<std::ptrdiff_t>(shadeAt), std::move(shade));
      if (block.marker != Marker::None) AddMarker(block, x0, r.hasLine ? r : EmptyLine(y + pad));
      return height;
    }
    case BlockKind::Paragraph:
    case BlockKind::Heading:
      break;
  }
  InlineResult r = LayInline(block.runs, x0, y, std::max(1, right_ - x0), false, ParaOf(block));
  if (block.marker != Marker::None) {
    if (!r.hasLine) {
      r = EmptyLine(y);
    }
    AddMarker(block, x0, r);
  }
  return r.height;
}

InlineResult Engine::EmptyLine(int y) {
  InlineResult r;
  r.height = body_.height;
  r.firstTop = y;
  r.firstBaseline = y + body_.ascent;
  r.firstAscent = body_.ascent;
  r.hasLine = true;
  return r;
}

void Engine::AddMarker(const Block& block, int x0, const InlineResult& line) {
  int gap = std::max(2, indentStep_ / 4);
  if (block.marker == Marker::Number) {
    LayoutBox box;
    box.kind = BoxKind::Text;
    box.text = MarkerText(block.listStyle == ListStyle::Default ? ListStyle::Decimal : block.listStyle, block.number) + ".";
    int w = Width(box.text, box.style);
    FontMetrics m = Metrics(box.style);
    box.baseline = line.firstBaseline;
    box.rect = TRect{x0 - gap - w, box.baseline - m.ascent, x0 - gap, box.baseline - m.ascent + m.height};
    Add(std::move(box));
    return;
  }
  int size = std::max(4, body_.ascent * 2 / 5);
  int center = line.firstBaseline - std::max(size / 2, line.firstAscent * 7 / 20);
  LayoutBox box;
  box.kind = BoxKind::Bullet;
  switch (block.listStyle) {
    case ListStyle::Disc: box.bullet = BulletShape::Disc; break;
    case ListStyle::Circle: box.bullet = BulletShape::Circle; break;
    case ListStyle::Square: box.bullet = BulletShape::Square; break;
    default:
      box.bullet = block.indent <= 1 ? BulletShape::Disc : block.indent == 2 ? BulletShape::Circle : BulletShape::Square;
      break;
  }
  int right = x0 - gap - std::max(0, (indentStep_ / 2 - gap - size) / 2);
  box.rect = TRect{right - size, center - size / 2, right, center - size / 2 + size};
  Add(std::move(box));
}

void Engine::Add(LayoutBox box, const std::string* href) {
  if (box.kind == BoxKind::Text && box.style.invisible) return;  // its room is taken already
  if (href && !href->empty()) out_.links.push_back(LinkArea{box.rect, *href});
  rightmost_ = std::max(rightmost_, box.rect.right);
  out_.boxes.push_back(std::move(box));
}

std::vector<Atom> Engine::Atoms(const std::vector<Run>& runs, bool pre) {
  std::vector<Atom> atoms;
  auto push = [&](Atom atom) {
    if (atom.kind == Atom::Word && !atoms.empty() && atoms.back().kind == Atom::Word) {
      const Atom& prev = atoms.back();
      uint32_t last = LastCodePoint(prev.text);
      uint32_t first = FirstCodePoint(atom.text);
      if (!prev.wide && !atom.wide) {
        atom.glue = true;  // one word split over styles: "<b>bo</b>ld"
      } else {
        atom.glue = NoBreakBefore(first) || NoBreakAfter(last);
      }
    }
    if (atom.kind != Atom::Break)
      atom.width = atom.run->IsImage() ? atom.run->imageWidth + 2 * atom.run->ImageInsetX() : Width(atom.text, atom.run->style);
    atoms.push_back(atom);
  };
  for (const Run& run : runs) {
    if (run.IsImage()) {
      push(Atom{run.imageFloat == Float::None ? Atom::Word : Atom::Floated, {}, &run, false, false, 0});
      continue;
    }
    std::string_view text = run.text;
    size_t pos = 0;
    size_t wordStart = 0;
    auto flushWord = [&](size_t end) {
      if (end > wordStart) push(Atom{Atom::Word, text.substr(wordStart, end - wordStart), &run, false, false, 0});
    };
    while (pos < text.size()) {
      size_t at = pos;
      uint32_t cp = NextCodePoint(text, pos);
      if (cp == '\n') {
        flushWord(at);
        push(Atom{Atom::Break, text.substr(at, 1), &run, false, false, 0});
        wordStart = pos;
      } else if (cp == ' ' || (!pre && (cp == '\t' || cp == '\r' || cp == '\f'))) {
        flushWord(at);
        size_t end = pos;
        if (pre) {
          while (end < text.size() && text[end] == ' ') ++end;
        }
        push(Atom{Atom::Space, text.substr(at, end - at), &run, false, false, 0});
        pos = end;
        wordStart = pos;
      } else if (IsWideChar(cp)) {
        flushWord(at);
        push(Atom{Atom::Word, text.substr(at, pos - at), &run, true, false, 0});
        wordStart = pos;
      }
    }
    flushWord(text.size());
  }
  return atoms;
}

const std::vector<Run>& Engine::ResolveImages(const std::vector<Run>& runs, std::vector<Run>& storage) {
  if (std::none_of(runs.begin(), runs.end(), [](const Run& r) { return r.IsImage(); })) return runs;
  storage.clear();
  storage.reserve(runs.size());
  for (const Run& run : runs) {
    if (!run.IsImage()) {
      storage.push_back(run);
      continue;
    }
    TSize natural = NaturalSize(run.image);
    if (natural.cx <= 0 || natural.cy <= 0) {
      if (run.alt.empty()) continue;
      Run alt = run;
      alt.image.clear();
      alt.text = run.alt;
      storage.push_back(std::move(alt));
      continue;
    }
    long long w = run.imageWidth, h = run.imageHeight;
    if (w < 0 && h < 0) {
      w = natural.cx;
      h = natural.cy;
    } else if (w < 0) {
      w = h * natural.cx / natural.cy;  // one side given: the other keeps the proportions
    } else if (h < 0) {
      h = w * natural.cy / natural.cx;
    }
    Run image = run;
    image.imageWidth = static_cast<int>(std::clamp<long long>(Zoomed(w), 0, kMaxImageSide));
    image.imageHeight = static_cast<int>(std::clamp<long long>(Zoomed(h), 0, kMaxImageSide));
    image.hspace = std::clamp(Px(run.hspace), 0, 1000);
    image.vspace = std::clamp(Px(run.vspace), 0, 1000);
    image.imageBorder = std::clamp(Px(run.imageBorder), 0, 1000);
    storage.push_back(std::move(image));
  }
  return storage;
}

TSize Engine::NaturalSize(const std::string& src) {
  for (const auto& [name, size] : imageSizes_)
    if (name == src) return size;
  TSize size = measurer_.ImageSize(src);
  imageSizes_.emplace_back(src, size);
  return size;
}

std::pair<int, int> Engine::MinMax(const std::vector<Run>& given) {
  std::vector<Run> storage;
  const std::vector<Run>& runs = ResolveImages(given, storage);
  std::vector<Atom> atoms = Atoms(runs, false);
  int widestWord = 0, widestLine = 0, word = 0, line = 0;
  for (const Atom& a : atoms) {
    if (a.kind == Atom::Break) {
      line = 0;
      word = 0;
      continue;
    }
    if (a.kind == Atom::Floated) {  // beside the text, never in its lines
      widestWord = std::max(widestWord, a.width);
      widestLine = std::max(widestLine, a.width);
      continue;
    }
    line += a.width;
    widestLine = std::max(widestLine, line);
    if (a.kind == Atom::Space) {
      word = 0;
    } else {
      word = a.glue ? word + a.width : a.width;
      widestWord = std::max(widestWord, word);
    }
  }
  return {widestWord, widestLine};
}

InlineResult Engine::LayInline(const std::vector<Run>& given, int x0, int y0, int room, bool pre, const Para& para) {
  std::vector<Run> storage;
  const std::vector<Run>& runs = ResolveImages(given, storage);
  std::vector<Atom> atoms = Atoms(runs, pre);
  InlineResult result;
  int y = y0;
  Line line;
  line.x = para.indent;
  bool softStart = false;  // the line began because the one before was full
  // Floats beside a line shorten it; how tall a line is shows only once it
  // is full, so the block's first font (or its set height) stands for it.
  int guessHeight = para.lineHeight;
  if (guessHeight <= 0) guessHeight = runs.empty() || runs.front().IsImage() ? body_.height : Metrics(runs.front().style).height;
  LineRoom here{x0, room};
  int width = 0;  // where the line must wrap; lines that may not wrap still align within the room they have
  auto startLine = [&] {
    here = RoomAt(y, guessHeight, x0, room);
    width = para.nowrap ? INT_MAX / 4 : here.room;
  };
  startLine();
  std::vector<const Run*> waiting;  // floated images that did not fit beside the line they came in

  auto hasInk = [&] { return std::any_of(line.items.begin(), line.items.end(), [](const Placed& p) { return !p.space; }); };

  auto finish = [&](const RunStyle* emptyStyle, bool stretch) {
    while (!line.items.empty() && line.items.back().space) line.items.pop_back();
    int height = 0, ascent = 0;
    for (const Placed& p : line.items) {
      FontMetrics m = ItemMetrics(p);
      height = std::max(height, m.height);
      ascent = std::max(ascent, m.ascent);
    }
    if (line.items.empty()) {
      FontMetrics m = Metrics(emptyStyle ? *emptyStyle : RunStyle{});
      height = m.height;
      ascent = m.ascent;
    } else {
      // Mixed sizes: the line must hold the tallest descent as well.
      int descent = 0;
      for (const Placed& p : line.items) {
        FontMetrics m = ItemMetrics(p);
        descent = std::max(descent, m.height - m.ascent);
      }
      height = std::max(height, ascent + descent);
    }
    int baseline = y + ascent;
    if (para.lineHeight > 0) {
      // Text takes the set height, its extra (or missing) room split evenly
      // above and below; an image standing on the baseline keeps its own
      // height, so a line holding one grows to hold it.
      int textHeight = 0, textAscent = 0, imageHeight = 0;
      for (const Placed& p : line.items) {
        if (p.image) {
          imageHeight = std::max(imageHeight, ItemMetrics(p).height);
        } else {
          FontMetrics m = Metrics(p.run->style);
          textAscent = std::max(textAscent, m.ascent);
          textHeight = std::max(textHeight, m.height);
        }
      }
      if (textHeight == 0) {  // the line's strut: the block's own text, were there any
        FontMetrics m = Metrics(emptyStyle ? *emptyStyle : RunStyle{});
        textAscent = m.ascent;
        textHeight = m.height;
      }
      const int above = std::max(textAscent + (para.lineHeight - textHeight) / 2, imageHeight);
      const int below = std::max(para.lineHeight - textAscent - (para.lineHeight - textHeight) / 2, 0);
      baseline = y + above;
      height = above + below;
    }
    int shift = 0;
    const bool bounded = here.room < INT_MAX / 8;
    if (!line.items.empty() && bounded && para.align != TextAlign::Left && para.align != TextAlign::Justify) {
      const int used = line.items.back().x + line.items.back().width;
      shift = std::max(0, para.align == TextAlign::Center ? (here.room - used) / 2 : here.room - used);
    }
    // A justified line that the next one continues reaches the right edge:
    // its spaces share what room is left.
    const bool justify = stretch && bounded && para.align == TextAlign::Justify && !line.items.empty();
    if (justify) {
      const int extra = here.room - (line.items.back().x + line.items.back().width);
      const long long spaces = std::count_if(line.items.begin(), line.items.end(), [](const Placed& p) { return p.space; });
      if (extra > 0 && spaces > 0) {
        long long given = 0, seen = 0;
        for (Placed& p : line.items) {
          p.x += static_cast<int>(given);
          if (!p.space) continue;
          ++seen;
          const long long share = extra * seen / spaces - extra * (seen - 1) / spaces;
          p.width += static_cast<int>(share);
          given += share;
        }
      }
    }
    const int left = here.left + shift;
    if (!result.hasLine) {
      result.hasLine = true;
      result.firstTop = y;
      result.firstBaseline = baseline;
      result.firstAscent = ascent;
    }
    size_t i = 0;
    while (i < line.items.size()) {
      const Placed& first = line.items[i];
      if (first.image) {  // an image stands on the baseline, its border and room around it
        const Run& image = *first.run;
        const int ix = image.ImageInsetX(), iy = image.ImageInsetY();
        const TRect picture{left + first.x + ix, baseline - iy - image.imageHeight, left + first.x + first.width - ix,
                            baseline - iy};
        AddImage(image, picture, false);
        ++i;
        continue;
      }
      size_t j = i + 1;
      int w = first.width;
      // Justified text is drawn word by word, each with its stretched space.
      while (j < line.items.size() && !line.items[j].image && line.items[j].run->style == first.run->style &&
             line.items[j].run->href == first.run->href && line.items[j].wide == first.wide &&
             !(justify && line.items[j - 1].space)) {
        w += line.items[j].width;
        ++j;
      }
      LayoutBox box;
      box.kind = BoxKind::Text;
      for (size_t k = i; k < j; ++k) box.text.append(line.items[k].text);
      box.style = first.run->style;
      box.link = !first.run->href.empty();
      FontMetrics m = Metrics(box.style);
      box.baseline = baseline;
      box.rect = TRect{left + first.x, baseline - m.ascent, left + first.x + w, baseline - m.ascent + m.height};
      Add(std::move(box), &first.run->href);
      i = j;
    }
    y += height;
    line = Line{};
    for (const Run* image : waiting) FloatImage(*image, y, x0, x0 + room);
    waiting.clear();
    startLine();
  };

  auto place = [&](std::string_view text, const Atom& atom, int w) {
    line.items.push_back(Placed{text, atom.run, atom.wide, atom.kind == Atom::Space, atom.run->IsImage(), line.x, w});
    line.x += w;
  };

  // Places one word that is wider than a whole line, cutting it between
  // characters; every line gets at least one character.
  auto cut = [&](const Atom& atom) {
    std::string_view rest = atom.text;
    while (!rest.empty()) {
      int space = width - line.x;
      size_t pos = 0, fits = 0;
      int used = 0;
      while (pos < rest.size()) {
        size_t next = pos;
        NextCodePoint(rest, next);
        int w = Width(rest.substr(pos, next - pos), atom.run->style);
        if (used + w > space && (fits > 0 || !line.items.empty())) break;
        used += w;
        pos = next;
        fits = pos;
      }
      if (fits > 0) place(rest.substr(0, fits), atom, used);
      rest.remove_prefix(fits);
      if (!rest.empty()) {
        finish(nullptr, false);
        softStart = true;
      }
    }
  };

  size_t i = 0;
  while (i < atoms.size()) {
    const Atom& atom = atoms[i];
    if (atom.kind == Atom::Break) {
      finish(&atom.run->style, false);
      softStart = false;
      ++i;
      continue;
    }
    if (atom.kind == Atom::Floated) {
      // It stands beside this line when it fits there, else below it.
      if (!hasInk() || line.x + atom.width <= width) {
        FloatImage(*atom.run, y, x0, x0 + room);
        startLine();
      } else if (waiting.size() < FloatSet::kMaxActive) {
        waiting.push_back(atom.run);
      }
      ++i;
      continue;
    }
    if (atom.kind == Atom::Space) {
      if (!(line.items.empty() && softStart)) place(atom.text, atom, atom.width);
      ++i;
      continue;
    }
    // A word and everything glued to it moves to the next line as one.
    size_t end = i + 1;
    int w = atom.width;
    while (end < atoms.size() && atoms[end].kind == Atom::Word && atoms[end].glue) w += atoms[end++].width;
    const bool ink = hasInk();
    if (line.x + w > width && ink) {
      finish(nullptr, true);
      softStart = true;
    }
    // A word too wide for a line narrowed by floats moves down past them.
    for (int moves = 0; !ink && line.items.empty() && line.x + w > width && !para.nowrap && here.room < room && moves < 64;
         ++moves) {
      const int next = floats_.NextBottom(y, guessHeight);
      if (next == INT_MAX || next <= y) break;
      y = next;
      startLine();
    }
    for (size_t k = i; k < end; ++k) {
      if (line.x + atoms[k].width <= width || atoms[k].run->IsImage()) {  // an image is never cut
        place(atoms[k].text, atoms[k], atoms[k].width);
      } else {
        cut(atoms[k]);
      }
    }
    i = end;
  }
  if (!line.items.empty()) finish(nullptr, false);
  for (const Run* image : waiting) FloatImage(*image, y, x0, x0 + room);
  result.height = y - y0;
  return result;
}

}  // namespace layout

uint32_t NextCodePoint(std::string_view s, size_t& pos) {
  const Utf8Sequence sequence = ReadUtf8Sequence(s, pos);
  pos += sequence.sound ? sequence.length : 1;
  return sequence.codePoint;
}

bool IsWideChar(uint32_t cp) {
  return (cp >= 0x1100 && cp <= 0x115F) ||  // Hangul leading jamo
         (cp >= 0x2E80 && cp <= 0x303F) ||  // CJK radicals, symbols and punctuation
         (cp >= 0x3040 && cp <= 0x33FF) ||  // kana, bopomofo, compatibility
         (cp >= 0x3400 && cp <= 0x4DBF) ||  // extension A
         (cp >= 0x4E00 && cp <= 0x9FFF) ||  // unified ideographs
         (cp >= 0xA000 && cp <= 0xA4CF) ||  // Yi
         (cp >= 0xAC00 && cp <= 0xD7AF) ||  // Hangul syllables
         (cp >= 0xF900 && cp <= 0xFAFF) ||  // compatibility ideographs
         (cp >= 0xFE30 && cp <= 0xFE4F) ||  // compatibility forms
         (cp >= 0xFF00 && cp <= 0xFF60) ||  // full-width forms
         (cp >= 0xFFE0 && cp <= 0xFFE6) ||  // full-width signs
         (cp >= 0x20000 && cp <= 0x3FFFD);  // supplementary ideographs
}

bool HasWideChars(std::string_view utf8) {
  size_t pos = 0;
  while (pos < utf8.size())
    if (IsWideChar(NextCodePoint(utf8, pos))) return true;
  return false;
}

const LinkArea* PageLayout::LinkAt(TPoint point) const {
  for (const LinkArea& link : links)
    if (link.rect.Contains(point)) return &link;
  return nullptr;
}

PageLayout LayoutDocument(const Document& document, TextMeasurer& measurer, const LayoutOptions& options) {
  PageLayout layout;
  layout::Engine(measurer, options, layout).Document(document);
  return layout;
}

}  // namespace hv::html
