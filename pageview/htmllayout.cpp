#include "pageview/htmllayout.h"

#include <algorithm>
#include <climits>
#include <unordered_map>

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

struct Atom {
  enum Kind { Word, Space, Break } kind = Word;
  std::string_view text;
  const Run* run = nullptr;
  bool wide = false;
  bool glue = false;  // no line break allowed between the atom before and this one
  int width = 0;
};

// A piece of an atom placed on a line; pieces of one atom appear when a word
// is wider than the whole line and must be cut.
struct Placed {
  std::string_view text;
  const Run* run = nullptr;
  bool wide = false;
  bool space = false;
  bool image = false;
  int x = 0;
  int width = 0;
};

struct InlineResult {
  int height = 0;
  int firstTop = 0;
  int firstBaseline = 0;
  int firstAscent = 0;
  bool hasLine = false;
};

class Engine {
 public:
  Engine(TextMeasurer& measurer, const LayoutOptions& options, PageLayout& out)
      : measurer_(measurer), options_(options), out_(out) {
    body_ = Metrics(RunStyle{});
    unit_ = std::max(1, body_.height * 3 / 4);
    indentStep_ = std::max(8, body_.height * 2);
  }

  void Document(const html::Document& doc) {
    int margin = std::max(0, options_.margin);
    left_ = margin;
    right_ = std::max(left_ + 1, options_.width - margin);
    int y = margin;
    int previousBottom = -1;  // no block yet: the first one sits on the margin

    auto place = [&](const Block& block) {
      auto [top, bottom] = Margins(block);
      if (previousBottom >= 0) y += std::max(previousBottom, top);
      int blockTop = y;
      y += LayBlock(block, y);
      previousBottom = bottom;
      return blockTop;
    };
    out_.blockTops.reserve(doc.blocks.size());
    for (const Block& block : doc.blocks) out_.blockTops.push_back(place(block));
    out_.height = y + margin;
    out_.width = std::max(options_.width, rightmost_ + margin);
  }

 private:
  FontMetrics Metrics(const RunStyle& style) {
    for (const auto& [s, m] : metricsCache_)
      if (s == style) return m;
    FontMetrics m = measurer_.Metrics(style);
    m.height = std::max(1, m.height);
    m.ascent = std::clamp(m.ascent, 0, m.height);
    metricsCache_.emplace_back(style, m);
    return m;
  }

  // An image reaches from its baseline up; the line's text sets the descent.
  FontMetrics ItemMetrics(const Placed& item) {
    if (item.image) return FontMetrics{item.run->imageHeight, item.run->imageHeight};
    return Metrics(item.run->style);
  }

  // Generated pages repeat their words: each is measured once per style.
  int Width(std::string_view text, const RunStyle& style) {
    if (text.empty()) return 0;
    std::string& key = widthKey_;
    key.assign(1, static_cast<char>(style.bold | style.italic << 1 | style.underline << 2 | style.monospace << 3));
    key.push_back(static_cast<char>(style.heading));
    key.append(text);
    auto found = widths_.find(key);
    if (found != widths_.end()) return found->second;
    int width = std::max(0, measurer_.TextWidth(text, style));
    if (widths_.size() < kMaxCachedWidths) widths_.emplace(key, width);
    return width;
  }

  std::pair<int, int> Margins(const Block& block) {
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

  // Deep nesting must still leave a readable column.
  int IndentPixels(int indent) {
    int width = right_ - left_;
    int keep = std::max(width / 3, 4 * body_.height);
    int most = std::max(0, width - keep);
    long long wanted = static_cast<long long>(std::max(0, indent)) * indentStep_;
    return static_cast<int>(std::min<long long>(wanted, most));
  }

  int LayBlock(const Block& block, int y) {
    int x0 = left_ + IndentPixels(block.indent);
    switch (block.kind) {
      case BlockKind::Rule: {
        LayoutBox box;
        box.kind = BoxKind::Rule;
        box.rect = TRect{x0, y, right_, y + 2};
        Add(std::move(box));
        return 2;
      }
      case BlockKind::Table:
        return LayTable(block, x0, y);
      case BlockKind::Preformatted: {
        // Preformatted lines are never wrapped: a long one widens the page,
        // which then scrolls sideways, as in a browser.
        int pad = std::max(2, unit_ / 3);
        size_t shadeAt = out_.boxes.size();
        const int widestSoFar = rightmost_;
        rightmost_ = 0;
        InlineResult r = LayInline(block.runs, x0 + pad, y + pad, INT_MAX / 4, true);
        const int contentRight = rightmost_;
        int height = r.height + 2 * pad;
        LayoutBox shade;
        shade.kind = BoxKind::Shade;
        shade.rect = TRect{x0, y, std::max(right_, contentRight + pad), y + height};
        rightmost_ = std::max(widestSoFar, shade.rect.right);
        out_.boxes.insert(out_.boxes.begin() + static_cast<std::ptrdiff_t>(shadeAt), std::move(shade));
        if (block.marker != Marker::None) AddMarker(block, x0, r.hasLine ? r : EmptyLine(y + pad));
        return height;
      }
      case BlockKind::Paragraph:
      case BlockKind::Heading:
        break;
    }
    InlineResult r = LayInline(block.runs, x0, y, std::max(1, right_ - x0), false);
    if (block.marker != Marker::None) {
      if (!r.hasLine) {
        r = EmptyLine(y);
      }
      AddMarker(block, x0, r);
    }
    return r.height;
  }

  InlineResult EmptyLine(int y) {
    InlineResult r;
    r.height = body_.height;
    r.firstTop = y;
    r.firstBaseline = y + body_.ascent;
    r.firstAscent = body_.ascent;
    r.hasLine = true;
    return r;
  }

  void AddMarker(const Block& block, int x0, const InlineResult& line) {
    int gap = std::max(2, indentStep_ / 4);
    if (block.marker == Marker::Number) {
      LayoutBox box;
      box.kind = BoxKind::Text;
      box.text = std::to_string(block.number) + ".";
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
    box.bullet = block.indent <= 1 ? BulletShape::Disc : block.indent == 2 ? BulletShape::Circle : BulletShape::Square;
    int right = x0 - gap - std::max(0, (indentStep_ / 2 - gap - size) / 2);
    box.rect = TRect{right - size, center - size / 2, right, center - size / 2 + size};
    Add(std::move(box));
  }

  void Add(LayoutBox box, const std::string* href = nullptr) {
    if (href && !href->empty()) out_.links.push_back(LinkArea{box.rect, *href});
    rightmost_ = std::max(rightmost_, box.rect.right);
    out_.boxes.push_back(std::move(box));
  }

  // --- inline content ------------------------------------------------------

  std::vector<Atom> Atoms(const std::vector<Run>& runs, bool pre) {
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
        atom.width = atom.run->IsImage() ? atom.run->imageWidth : Width(atom.text, atom.run->style);
      atoms.push_back(atom);
    };
    for (const Run& run : runs) {
      if (run.IsImage()) {
        push(Atom{Atom::Word, {}, &run, false, false, 0});
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

  // Images get the size they are drawn at; one that cannot be read becomes
  // its alt text. Runs without images come back as they are.
  const std::vector<Run>& ResolveImages(const std::vector<Run>& runs, std::vector<Run>& storage) {
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
      storage.push_back(std::move(image));
    }
    return storage;
  }

  long long Zoomed(long long pixels) const { return pixels * std::clamp(options_.zoom, 1, 1000) / 100; }

  TSize NaturalSize(const std::string& src) {
    for (const auto& [name, size] : imageSizes_)
      if (name == src) return size;
    TSize size = measurer_.ImageSize(src);
    imageSizes_.emplace_back(src, size);
    return size;
  }

  // The widest word and the widest unwrapped line, for sizing table columns.
  std::pair<int, int> MinMax(const std::vector<Run>& given) {
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

  struct Line {
    std::vector<Placed> items;
    int x = 0;  // pen position from the line start
  };

  InlineResult LayInline(const std::vector<Run>& given, int x0, int y0, int width, bool pre) {
    std::vector<Run> storage;
    const std::vector<Run>& runs = ResolveImages(given, storage);
    std::vector<Atom> atoms = Atoms(runs, pre);
    InlineResult result;
    int y = y0;
    Line line;
    bool softStart = false;  // the line began because the one before was full

    auto finish = [&](const RunStyle* emptyStyle) {
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
      if (!result.hasLine) {
        result.hasLine = true;
        result.firstTop = y;
        result.firstBaseline = baseline;
        result.firstAscent = ascent;
      }
      size_t i = 0;
      while (i < line.items.size()) {
        const Placed& first = line.items[i];
        if (first.image) {  // an image stands on the baseline
          LayoutBox box;
          box.kind = BoxKind::Image;
          box.text = first.run->image;
          box.link = !first.run->href.empty();
          box.baseline = baseline;
          box.rect = TRect{x0 + first.x, baseline - first.run->imageHeight, x0 + first.x + first.width, baseline};
          Add(std::move(box), &first.run->href);
          ++i;
          continue;
        }
        size_t j = i + 1;
        int w = first.width;
        while (j < line.items.size() && !line.items[j].image && line.items[j].run->style == first.run->style &&
               line.items[j].run->href == first.run->href && line.items[j].wide == first.wide) {
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
        box.rect = TRect{x0 + first.x, baseline - m.ascent, x0 + first.x + w, baseline - m.ascent + m.height};
        Add(std::move(box), &first.run->href);
        i = j;
      }
      y += height;
      line = Line{};
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
        int room = width - line.x;
        size_t pos = 0, fits = 0;
        int used = 0;
        while (pos < rest.size()) {
          size_t next = pos;
          NextCodePoint(rest, next);
          int w = Width(rest.substr(pos, next - pos), atom.run->style);
          if (used + w > room && (fits > 0 || !line.items.empty())) break;
          used += w;
          pos = next;
          fits = pos;
        }
        if (fits > 0) place(rest.substr(0, fits), atom, used);
        rest.remove_prefix(fits);
        if (!rest.empty()) {
          finish(nullptr);
          softStart = true;
        }
      }
    };

    size_t i = 0;
    while (i < atoms.size()) {
      const Atom& atom = atoms[i];
      if (atom.kind == Atom::Break) {
        finish(&atom.run->style);
        softStart = false;
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
      bool hasInk = std::any_of(line.items.begin(), line.items.end(), [](const Placed& p) { return !p.space; });
      if (line.x + w > width && hasInk) {
        finish(nullptr);
        softStart = true;
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
    if (!line.items.empty()) finish(nullptr);
    result.height = y - y0;
    return result;
  }

  // --- tables ----------------------------------------------------------------

  // Columns are sized as browsers do: each gets at least its widest word and
  // at most its longest line, spanning cells spreading what they need over
  // the columns they cover; a table with a width stretches its columns to it.
  int LayTable(const Block& block, int x0, int y) {
    const TableFormat& format = block.table;
    size_t cols = 0;
    for (const auto& row : block.rows) {
      size_t used = 0;
      for (const TableCell& cell : row) used += static_cast<size_t>(std::clamp(cell.colspan, 1, kMaxColspan));
      cols = std::max(cols, used);
    }
    // Columns beyond this only come from spans meant to reach the edge.
    cols = std::min<size_t>(cols, kMaxColspan);
    if (cols == 0) return 0;
    const int border = format.border ? 1 : 0;
    const int pad = format.padding >= 0 ? format.padding : std::max(2, unit_ / 3);
    const int step = 1 + 2 * pad;  // the one-pixel gap between cells stays with or without borders
    std::vector<long long> colMin(cols, 0), colMax(cols, 0);
    auto span = [&](size_t c, const TableCell& cell) {
      return std::min<size_t>(static_cast<size_t>(std::clamp(cell.colspan, 1, kMaxColspan)), cols - c);
    };
    for (int pass = 0; pass < 2; ++pass) {  // single cells first, then what spans must add
      for (const auto& row : block.rows) {
        size_t c = 0;
        for (const TableCell& cell : row) {
          if (c >= cols) break;
          size_t n = span(c, cell);
          if ((n == 1) == (pass == 0)) {
            auto [mn, mx] = MinMax(cell.runs);
            long long fixed = cell.width > 0 ? std::max<long long>(0, Zoomed(cell.width) - 2 * pad - 1) : 0;
            long long wantMin = std::max<long long>(mn, fixed);
            long long wantMax = std::max<long long>(fixed > 0 ? std::max<long long>(fixed, mn) : mx, wantMin);
            long long chromeInside = static_cast<long long>(n - 1) * step;
            long long haveMin = chromeInside, haveMax = chromeInside;
            for (size_t k = c; k < c + n; ++k) {
              haveMin += colMin[k];
              haveMax += colMax[k];
            }
            long long each = static_cast<long long>(n);
            if (wantMin > haveMin)
              for (size_t k = c; k < c + n; ++k) colMin[k] += (wantMin - haveMin + each - 1) / each;
            if (wantMax > haveMax)
              for (size_t k = c; k < c + n; ++k) colMax[k] += (wantMax - haveMax + each - 1) / each;
          }
          c += n;
        }
      }
    }
    for (size_t c = 0; c < cols; ++c) colMax[c] = std::max(colMax[c], colMin[c]);
    long long chrome = static_cast<long long>(cols) * step + 1;
    long long room = std::max<long long>(static_cast<long long>(cols), right_ - x0 - chrome);
    long long avail = room;
    long long target = 0;  // the width the table asks for, inside its chrome
    if (format.widthPercent > 0) target = (right_ - x0) * format.widthPercent / 100 - chrome;
    if (format.width > 0) target = Zoomed(format.width) - chrome;
    if (target > 0) avail = std::min(avail, target);
    long long sumMin = 0, sumMax = 0;
    for (size_t c = 0; c < cols; ++c) {
      sumMin += colMin[c];
      sumMax += colMax[c];
    }
    std::vector<int> widths(cols, 1);
    for (size_t c = 0; c < cols; ++c) {
      long long w;
      if (sumMax <= avail) {
        w = colMax[c];
        // A table given a width stretches its columns to it.
        if (target > 0 && sumMax < avail)
          w += sumMax > 0 ? (avail - sumMax) * colMax[c] / sumMax : (avail - sumMax) / static_cast<long long>(cols);
      } else if (sumMin >= avail) {
        w = sumMin > 0 ? colMin[c] * avail / sumMin : avail / static_cast<long long>(cols);
      } else {
        w = colMin[c] + (colMax[c] - colMin[c]) * (avail - sumMin) / std::max<long long>(1, sumMax - sumMin);
      }
      widths[c] = static_cast<int>(std::clamp<long long>(w, 1, INT_MAX / 4 / static_cast<long long>(cols)));
    }
    if (target > 0 && sumMax <= avail) {  // what the proportions rounded away
      long long placed = 0;
      for (int w : widths) placed += w;
      if (placed < avail) widths.back() += static_cast<int>(std::min<long long>(avail - placed, INT_MAX / 4));
    }
    std::vector<int> xs(cols + 1, x0);
    for (size_t c = 0; c < cols; ++c) xs[c + 1] = xs[c] + step + widths[c];

    int rowTop = y;
    for (const auto& row : block.rows) {
      size_t shadeAt = out_.boxes.size();
      int contentHeight = body_.height;
      struct Placed {
        size_t first, last;
        bool header;
      };
      std::vector<Placed> cells;
      size_t c = 0;
      for (const TableCell& cell : row) {
        if (c >= cols) break;
        size_t n = span(c, cell);
        int inner = xs[c + n] - xs[c] - step;
        InlineResult r = LayInline(cell.runs, xs[c] + 1 + pad, rowTop + 1 + pad, std::max(1, inner), false);
        contentHeight = std::max(contentHeight, r.height);
        cells.push_back(Placed{c, c + n, cell.header});
        c += n;
      }
      int rowBottom = rowTop + step + contentHeight;
      std::vector<LayoutBox> shades;
      for (const Placed& cell : cells) {
        if (!cell.header) continue;
        LayoutBox shade;
        shade.kind = BoxKind::Shade;
        shade.rect = TRect{xs[cell.first] + 1, rowTop + 1, xs[cell.last], rowBottom};
        shades.push_back(std::move(shade));
      }
      out_.boxes.insert(out_.boxes.begin() + static_cast<std::ptrdiff_t>(shadeAt), shades.begin(), shades.end());
      if (border) {
        for (const Placed& cell : cells) {
          LayoutBox frame;
          frame.kind = BoxKind::CellBorder;
          frame.rect = TRect{xs[cell.first], rowTop, xs[cell.last] + 1, rowBottom + 1};
          Add(std::move(frame));
        }
      }
      rightmost_ = std::max(rightmost_, xs[cells.empty() ? 0 : cells.back().last] + 1);
      rowTop = rowBottom;
    }
    return rowTop + 1 - y;
  }

  TextMeasurer& measurer_;
  const LayoutOptions& options_;
  PageLayout& out_;
  FontMetrics body_;
  int unit_ = 1;
  int indentStep_ = 8;
  int left_ = 0;
  int right_ = 1;
  int rightmost_ = 0;
  std::vector<std::pair<RunStyle, FontMetrics>> metricsCache_;
  std::vector<std::pair<std::string, TSize>> imageSizes_;
  static constexpr size_t kMaxCachedWidths = 200000;
  std::unordered_map<std::string, int> widths_;
  std::string widthKey_;
};

}  // namespace

uint32_t NextCodePoint(std::string_view s, size_t& pos) {
  auto c = static_cast<unsigned char>(s[pos]);
  if (c < 0x80) {
    ++pos;
    return c;
  }
  size_t extra = 0;
  uint32_t cp = 0, min = 0;
  if (c >= 0xC2 && c <= 0xDF) {
    extra = 1, cp = c & 0x1F, min = 0x80;
  } else if (c >= 0xE0 && c <= 0xEF) {
    extra = 2, cp = c & 0x0F, min = 0x800;
  } else if (c >= 0xF0 && c <= 0xF4) {
    extra = 3, cp = c & 0x07, min = 0x10000;
  } else {
    ++pos;
    return 0xFFFD;
  }
  if (s.size() - pos <= extra) {
    ++pos;
    return 0xFFFD;
  }
  for (size_t k = 1; k <= extra; ++k) {
    auto b = static_cast<unsigned char>(s[pos + k]);
    if ((b & 0xC0) != 0x80) {
      ++pos;
      return 0xFFFD;
    }
    cp = cp << 6 | (b & 0x3F);
  }
  if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
    ++pos;
    return 0xFFFD;
  }
  pos += extra + 1;
  return cp;
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
  Engine(measurer, options, layout).Document(document);
  return layout;
}

}  // namespace hv::html
