#include "pageview/pagetext.h"

#include <algorithm>
#include <cstdint>

namespace hv::html {

namespace {

bool IsBlank(uint32_t cp) { return cp == ' ' || cp == '\t' || cp == '\n' || cp == '\r' || cp == '\f' || cp == 0xA0; }

// Kinds of characters for picking a word: a word is a run of one kind.
enum class CharKind { Other, Word, Wide };

CharKind KindOf(uint32_t cp) {
  if (IsBlank(cp)) return CharKind::Other;
  if ((cp >= '0' && cp <= '9') || (cp >= 'a' && cp <= 'z') || (cp >= 'A' && cp <= 'Z') || cp == '_')
    return CharKind::Word;
  if (cp < 0x80) return CharKind::Other;
  // Ideographic punctuation and full-width signs end a phrase.
  if ((cp >= 0x3000 && cp <= 0x303F) || (cp >= 0xFF00 && cp <= 0xFF0F) || (cp >= 0xFF1A && cp <= 0xFF20))
    return CharKind::Other;
  if (IsWideChar(cp)) return CharKind::Wide;
  if (cp >= 0x2000 && cp <= 0x2BFF) return CharKind::Other;  // general punctuation, arrows, symbols
  return CharKind::Word;
}

struct Decoded {
  uint32_t cp;
  size_t begin;
  size_t end;
};

std::vector<Decoded> DecodeAll(std::string_view text) {
  std::vector<Decoded> out;
  size_t pos = 0;
  while (pos < text.size()) {
    size_t begin = pos;
    uint32_t cp = NextCodePoint(text, pos);
    out.push_back(Decoded{cp, begin, pos});
  }
  return out;
}

// Where a character that starts at or before `offset` begins.
size_t CharStart(std::string_view text, size_t offset) {
  offset = std::min(offset, text.size());
  while (offset > 0 && offset < text.size() && (static_cast<unsigned char>(text[offset]) & 0xC0) == 0x80) --offset;
  return offset;
}

}  // namespace

uint32_t FoldCase(uint32_t cp) {
  if (cp >= 'A' && cp <= 'Z') return cp + 32;
  if (cp < 0xC0) return cp;
  if (cp <= 0xDE) return cp == 0xD7 ? cp : cp + 32;
  if (cp >= 0x100 && cp <= 0x137) return cp | 1;
  if (cp >= 0x139 && cp <= 0x148) return (cp & 1) ? cp + 1 : cp;
  if (cp >= 0x14A && cp <= 0x177) return cp | 1;
  if (cp == 0x178) return 0xFF;
  if (cp >= 0x179 && cp <= 0x17E) return (cp & 1) ? cp + 1 : cp;
  if (cp >= 0x391 && cp <= 0x3A9 && cp != 0x3A2) return cp + 32;
  if (cp >= 0x410 && cp <= 0x42F) return cp + 32;
  if (cp >= 0x400 && cp <= 0x40F) return cp + 80;
  if (cp >= 0xFF21 && cp <= 0xFF3A) return cp + 32;
  return cp;
}

TPageText::TPageText(const LayoutBoxes& boxes) : boxes_(boxes) {
  for (size_t i = 0; i < boxes.size(); ++i)
    if (boxes[i].kind == BoxKind::Text && !boxes[i].text.empty()) texts_.push_back(i);
}

size_t TPageText::IndexOf(size_t box) const {
  auto it = std::lower_bound(texts_.begin(), texts_.end(), box);
  if (it == texts_.end()) return texts_.empty() ? 0 : texts_.size() - 1;
  return static_cast<size_t>(it - texts_.begin());
}

TPageText::Joint TPageText::JointBefore(size_t index) const {
  if (index == 0 || index >= texts_.size()) return Joint::None;
  const LayoutBox& a = boxes_[texts_[index - 1]];
  const LayoutBox& b = boxes_[texts_[index]];
  if (a.baseline != b.baseline || b.rect.left < a.rect.right - 1) return Joint::Line;
  if (b.rect.left > a.rect.right + 1) return Joint::Gap;
  return Joint::None;
}

TextRange TPageText::All() const {
  if (texts_.empty()) return {};
  return TextRange{TextSpot{texts_.front(), 0}, TextSpot{texts_.back(), boxes_[texts_.back()].text.size()}};
}

std::vector<TextRange> TPageText::Find(std::string_view needle) const {
  std::vector<uint32_t> pattern;
  for (const Decoded& d : DecodeAll(needle)) {
    uint32_t cp = IsBlank(d.cp) ? ' ' : FoldCase(d.cp);
    if (cp == ' ' && !pattern.empty() && pattern.back() == ' ') continue;
    pattern.push_back(cp);
  }
  std::vector<TextRange> found;
  if (pattern.empty() || texts_.empty()) return found;

  // The page's text folded, one entry per character, each knowing where it
  // came from; joints between lines and cells count as white space.
  struct Origin {
    uint32_t index;  // among the text boxes
    uint32_t begin;
    uint32_t end;
  };
  std::vector<uint32_t> hay;
  std::vector<Origin> origins;
  auto push = [&](uint32_t cp, Origin origin) {
    if (cp == ' ' && !hay.empty() && hay.back() == ' ') return;
    hay.push_back(cp);
    origins.push_back(origin);
  };
  for (size_t k = 0; k < texts_.size(); ++k) {
    uint32_t index = static_cast<uint32_t>(k);
    if (JointBefore(k) != Joint::None) push(' ', Origin{index, 0, 0});
    std::string_view text = boxes_[texts_[k]].text;
    size_t pos = 0;
    while (pos < text.size()) {
      size_t begin = pos;
      uint32_t cp = NextCodePoint(text, pos);
      push(IsBlank(cp) ? ' ' : FoldCase(cp), Origin{index, static_cast<uint32_t>(begin), static_cast<uint32_t>(pos)});
    }
  }
  auto it = hay.begin();
  while (true) {
    it = std::search(it, hay.end(), pattern.begin(), pattern.end());
    if (it == hay.end()) break;
    size_t first = static_cast<size_t>(it - hay.begin());
    size_t last = first + pattern.size() - 1;
    const Origin& a = origins[first];
    const Origin& b = origins[last];
    found.push_back(TextRange{TextSpot{texts_[a.index], a.begin}, TextSpot{texts_[b.index], b.end}});
    it += static_cast<std::ptrdiff_t>(pattern.size());
  }
  return found;
}

std::string TPageText::Extract(TextRange range) const {
  std::string out;
  if (texts_.empty() || range.Empty()) return out;
  size_t first = IndexOf(range.begin.box), last = IndexOf(range.end.box);
  for (size_t k = first; k <= last; ++k) {
    if (k > first) {
      Joint joint = JointBefore(k);
      if (joint == Joint::Line) out += "\r\n";
      if (joint == Joint::Gap) out += '\t';
    }
    auto [from, to] = PartOfBox(texts_[k], range);
    out.append(boxes_[texts_[k]].text, from, to - from);
  }
  return out;
}

std::pair<size_t, size_t> TPageText::PartOfBox(size_t box, TextRange range) const {
  if (range.Empty() || box < range.begin.box || box > range.end.box || box >= boxes_.size()) return {0, 0};
  size_t size = boxes_[box].text.size();
  size_t from = box == range.begin.box ? std::min(range.begin.offset, size) : 0;
  size_t to = box == range.end.box ? std::min(range.end.offset, size) : size;
  if (from >= to) return {0, 0};
  return {from, to};
}

TextSpot TPageText::SpotAt(TPoint point, const PrefixWidth& width) const {
  if (texts_.empty()) return {};
  size_t best = 0;
  long long bestDy = -1, bestDx = 0;
  for (size_t k = 0; k < texts_.size(); ++k) {
    const TRect& r = boxes_[texts_[k]].rect;
    long long dy = point.y < r.top ? r.top - point.y : point.y >= r.bottom ? point.y - r.bottom + 1 : 0;
    long long dx = point.x < r.left ? r.left - point.x : point.x >= r.right ? point.x - r.right + 1 : 0;
    if (bestDy < 0 || dy < bestDy || (dy == bestDy && dx < bestDx)) {
      best = k;
      bestDy = dy;
      bestDx = dx;
      if (dy == 0 && dx == 0) break;
    }
  }
  return SpotInBox(best, point.x, width);
}

TextSpot TPageText::SpotInBox(size_t index, int x, const PrefixWidth& width) const {
  const LayoutBox& box = boxes_[texts_[index]];
  if (x <= box.rect.left) return TextSpot{texts_[index], 0};
  if (x >= box.rect.right) return TextSpot{texts_[index], box.text.size()};
  int target = x - box.rect.left;
  int before = 0;
  size_t pos = 0;
  while (pos < box.text.size()) {
    size_t next = pos;
    NextCodePoint(box.text, next);
    int after = width(box, std::string_view(box.text).substr(0, next));
    if (after >= target) return TextSpot{texts_[index], target - before < after - target ? pos : next};
    before = after;
    pos = next;
  }
  return TextSpot{texts_[index], box.text.size()};
}

TextSpot TPageText::SpotOnLine(size_t index, int x, const PrefixWidth& width) const {
  size_t first = index, last = index;
  while (first > 0 && JointBefore(first) != Joint::Line) --first;
  while (last + 1 < texts_.size() && JointBefore(last + 1) != Joint::Line) ++last;
  size_t best = first;
  long long bestDx = -1;
  for (size_t k = first; k <= last; ++k) {
    const TRect& r = boxes_[texts_[k]].rect;
    long long dx = x < r.left ? r.left - x : x >= r.right ? x - r.right + 1 : 0;
    if (bestDx < 0 || dx < bestDx) {
      best = k;
      bestDx = dx;
    }
  }
  return SpotInBox(best, x, width);
}

TextSpot TPageText::LineAbove(TextSpot spot, int x, const PrefixWidth& width) const {
  if (texts_.empty()) return spot;
  size_t k = IndexOf(spot.box);
  while (k > 0 && JointBefore(k) != Joint::Line) --k;
  if (k == 0) return TextSpot{texts_[0], 0};
  return SpotOnLine(k - 1, x, width);
}

TextSpot TPageText::LineBelow(TextSpot spot, int x, const PrefixWidth& width) const {
  if (texts_.empty()) return spot;
  size_t k = IndexOf(spot.box);
  while (k + 1 < texts_.size() && JointBefore(k + 1) != Joint::Line) ++k;
  if (k + 1 >= texts_.size()) return TextSpot{texts_[k], boxes_[texts_[k]].text.size()};
  return SpotOnLine(k + 1, x, width);
}

int TPageText::XOf(TextSpot spot, const PrefixWidth& width) const {
  if (spot.box >= boxes_.size()) return 0;
  const LayoutBox& box = boxes_[spot.box];
  size_t offset = std::min(spot.offset, box.text.size());
  return box.rect.left + (offset == 0 ? 0 : width(box, std::string_view(box.text).substr(0, offset)));
}

TextSpot TPageText::Next(TextSpot spot) const {
  if (texts_.empty()) return spot;
  size_t k = IndexOf(spot.box);
  const std::string& text = boxes_[texts_[k]].text;
  if (spot.offset < text.size()) {
    size_t pos = CharStart(text, spot.offset);
    NextCodePoint(text, pos);
    return TextSpot{texts_[k], pos};
  }
  if (k + 1 >= texts_.size()) return TextSpot{texts_[k], text.size()};
  if (JointBefore(k + 1) != Joint::None) return TextSpot{texts_[k + 1], 0};
  size_t pos = 0;
  NextCodePoint(boxes_[texts_[k + 1]].text, pos);
  return TextSpot{texts_[k + 1], pos};
}

TextSpot TPageText::Previous(TextSpot spot) const {
  if (texts_.empty()) return spot;
  size_t k = IndexOf(spot.box);
  const std::string& text = boxes_[texts_[k]].text;
  if (spot.offset > 0) return TextSpot{texts_[k], CharStart(text, std::min(spot.offset, text.size()) - 1)};
  if (k == 0) return TextSpot{texts_[k], 0};
  const std::string& before = boxes_[texts_[k - 1]].text;
  if (JointBefore(k) != Joint::None) return TextSpot{texts_[k - 1], before.size()};
  return TextSpot{texts_[k - 1], CharStart(before, before.size() - 1)};
}

TextSpot TPageText::LineStart(TextSpot spot) const {
  if (texts_.empty()) return spot;
  size_t k = IndexOf(spot.box);
  while (k > 0 && JointBefore(k) != Joint::Line) --k;
  return TextSpot{texts_[k], 0};
}

TextSpot TPageText::LineEnd(TextSpot spot) const {
  if (texts_.empty()) return spot;
  size_t k = IndexOf(spot.box);
  while (k + 1 < texts_.size() && JointBefore(k + 1) != Joint::Line) ++k;
  return TextSpot{texts_[k], boxes_[texts_[k]].text.size()};
}

TextRange TPageText::WordAt(TextSpot spot) const {
  if (texts_.empty()) return {};
  size_t box = texts_[IndexOf(spot.box)];
  std::vector<Decoded> chars = DecodeAll(boxes_[box].text);
  if (chars.empty()) return {};
  size_t i = 0;
  while (i < chars.size() && chars[i].end <= spot.offset) ++i;
  if (i == chars.size()) --i;  // past the end: the last character's word
  CharKind kind = KindOf(chars[i].cp);
  if (kind == CharKind::Other) return TextRange{TextSpot{box, chars[i].begin}, TextSpot{box, chars[i].end}};
  size_t first = i, last = i;
  while (first > 0 && KindOf(chars[first - 1].cp) == kind) --first;
  while (last + 1 < chars.size() && KindOf(chars[last + 1].cp) == kind) ++last;
  return TextRange{TextSpot{box, chars[first].begin}, TextSpot{box, chars[last].end}};
}

}  // namespace hv::html
