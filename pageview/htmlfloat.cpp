#include "pageview/htmlfloat.h"

#include <algorithm>

#include "pageview/layoutengine.h"

namespace hv::html::layout {

namespace {

bool Beside(const FloatArea& f, int top, int bottom) { return f.top < bottom && f.bottom > top && f.bottom > f.top; }

}  // namespace

std::pair<int, int> FloatSet::Band(int top, int height, int left, int right) const {
  const int bottom = top + std::max(1, height);
  int l = left, r = right;
  for (const FloatArea& f : floats_) {
    if (!Beside(f, top, bottom)) continue;
    if (f.side == Float::Left) l = std::max(l, f.right);
    else r = std::min(r, f.left);
  }
  return {l, std::max(l, r)};
}

FloatArea FloatSet::Place(Float side, int width, int height, int y, int left, int right) {
  Prune(y);
  y = std::max(y, floor_);
  height = std::max(0, height);
  for (;;) {
    const int bottom = y + std::max(1, height);
    int l = left, r = right, nextBottom = INT_MAX;
    bool narrowed = false;
    for (const FloatArea& f : floats_) {
      if (!Beside(f, y, bottom)) continue;
      narrowed = true;
      nextBottom = std::min(nextBottom, f.bottom);
      if (f.side == Float::Left) l = std::max(l, f.right);
      else r = std::min(r, f.left);
    }
    // Where it does not fit beside the floats there, it goes below the
    // first of them to end; with nothing beside it, it stands there even
    // when wider than the room.
    if (!narrowed || r - l >= width || nextBottom == INT_MAX || nextBottom <= y) {
      FloatArea area;
      area.side = side;
      area.top = y;
      area.bottom = y + height;
      area.left = side == Float::Left ? l : r - width;
      area.right = area.left + width;
      area.serial = serial_++;
      floor_ = y;
      floats_.push_back(area);
      return area;
    }
    y = nextBottom;
  }
}

int FloatSet::Clear(uint8_t sides, int y) const {
  for (const FloatArea& f : floats_) {
    const bool left = f.side == Float::Left;
    if ((left && (sides & kClearLeft)) || (!left && (sides & kClearRight))) y = std::max(y, f.bottom);
  }
  return y;
}

int FloatSet::NextBottom(int y, int height) const {
  int next = INT_MAX;
  for (const FloatArea& f : floats_)
    if (Beside(f, y, y + std::max(1, height))) next = std::min(next, f.bottom);
  return next;
}

int FloatSet::LowestSince(size_t serial, int otherwise) const {
  for (const FloatArea& f : floats_)
    if (f.serial >= serial) otherwise = std::max(otherwise, f.bottom);
  return otherwise;
}

void FloatSet::Prune(int y) {
  if (floats_.size() < kMaxActive) return;
  std::erase_if(floats_, [&](const FloatArea& f) { return f.bottom <= y; });
  if (floats_.size() >= kMaxActive)
    floats_.erase(floats_.begin(), floats_.begin() + static_cast<std::ptrdiff_t>(floats_.size() - kMaxActive + 1));
}


// --- the layout engine's floats ----------------------------------------------

namespace {

// The list nesting the blocks [first, last) all share.
int IndentBase(const Blocks& blocks, size_t first, size_t last) {
  int base = INT_MAX;
  for (size_t i = first; i < last; ++i) base = std::min(base, blocks[i].indent);
  return base == INT_MAX ? 0 : std::max(0, base);
}

}  // namespace

LineRoom Engine::RoomAt(int y, int height, int x0, int room) const {
  if (floats_.Empty()) return LineRoom{x0, room};
  const long long right = std::min<long long>(static_cast<long long>(x0) + room, INT_MAX / 2);
  auto [left, end] = floats_.Band(y, height, x0, static_cast<int>(right));
  return LineRoom{left, std::max(0, end - left)};
}

size_t Engine::LayFloat(const Blocks& blocks, size_t first) {
  if (floatDepth_ >= kMaxFloatDepth) return first;
  const std::vector<Container>& all = doc_->containers;
  const Block& block = blocks[first];
  // Floated boxes are never opened: in the box of the block before, no float starts.
  if (block.box == (open_.empty() ? rootBox_ : open_.back().index)) return first;
  // The outermost floated box the block stands in starts here.
  int floated = -1;
  size_t steps = 0;
  for (int c = block.box; c >= 0 && c != rootBox_ && static_cast<size_t>(c) < all.size() && steps++ < kMaxBoxDepth;) {
    const Container& container = all[static_cast<size_t>(c)];
    if (container.box.floating != Float::None) floated = c;
    if (container.parent >= c) break;
    c = container.parent;
  }
  if (floated < 0) return first;
  if (!subtreeEnd_) {
    // A box's inside is the boxes made while it was open: those after it up
    // to the end of its last child's.
    subtreeEndStore_.resize(all.size());
    for (size_t c = 0; c < all.size(); ++c) subtreeEndStore_[c] = static_cast<int>(c) + 1;
    for (size_t c = all.size(); c-- > 0;) {
      const int parent = all[c].parent;
      if (parent >= 0 && static_cast<size_t>(parent) < c)
        subtreeEndStore_[static_cast<size_t>(parent)] = std::max(subtreeEndStore_[static_cast<size_t>(parent)], subtreeEndStore_[c]);
    }
    subtreeEnd_ = &subtreeEndStore_;
  }
  const int insideEnd = (*subtreeEnd_)[static_cast<size_t>(floated)];
  size_t last = first + 1;
  while (last < blocks.size() && blocks[last].box >= floated && blocks[last].box < insideEnd) ++last;

  const Container& container = all[static_cast<size_t>(floated)];
  EnterBox(container.parent >= 0 && container.parent < floated ? container.parent : rootBox_, block);
  const BoxStyle& style = container.box;
  std::array<int, 4> margin{}, border{}, padding{};
  auto [defaultTop, defaultBottom] = container.ownsBlock ? Margins(block) : std::pair<int, int>{0, 0};
  for (int s = 0; s < 4; ++s) {
    const size_t side = static_cast<size_t>(s);
    margin[side] = MarginPx(style, s);
    border[side] = std::clamp(Px(style.border[side]), 0, 1000);
    padding[side] = std::clamp(Px(style.padding[side]), 0, 10000);
  }
  if (!(style.marginSet & (1 << kTop))) margin[kTop] = defaultTop;
  if (!(style.marginSet & (1 << kBottom))) margin[kBottom] = defaultBottom;
  const long long room = std::max(1, right_ - left_);
  const long long insides = border[kLeft] + padding[kLeft] + padding[kRight] + border[kRight];
  long long content;
  if (style.width > 0) {
    content = style.widthPercent ? room * std::min(style.width, 100) / 100 : Zoomed(style.width);
  } else {  // as wide as its content, if there is the room
    content = std::min<long long>(MaxContent(blocks, first, last, floated), room - insides - margin[kLeft] - margin[kRight]);
  }
  const int contentWidth = static_cast<int>(std::clamp<long long>(content, 1, 100000));

  // Its inside is a page of its own: its floats and margins stay in it.
  PageLayout inside;
  Engine nested(measurer_, options_, inside);
  nested.doc_ = doc_;
  nested.subtreeEnd_ = subtreeEnd_;
  nested.rootBox_ = floated;
  nested.floatDepth_ = floatDepth_ + 1;
  nested.indentBase_ = IndentBase(blocks, first, last);
  nested.left_ = 0;
  nested.right_ = contentWidth;
  nested.started_ = true;
  // Inside a cell it is still text of the cell, and its tables nest as deep.
  nested.nesting_ = nesting_;
  nested.cellAlign_ = cellAlign_;
  nested.cellNowrap_ = cellNowrap_;
  // It notes its blocks' tops where the page keeps them; they move with it
  // once it is placed.
  nested.numbered_ = numbered_;
  nested.nextOrder_ = nextOrder_;
  inside.blockTops.swap(out_.blockTops);
  nested.LayBlocks(blocks, first, last);
  while (!nested.open_.empty()) nested.CloseBox();
  inside.blockTops.swap(out_.blockTops);
  nextOrder_ = nested.nextOrder_;
  const int contentHeight = std::clamp(std::max(nested.y_ + std::max(0, nested.pending_.Value()),
                                                nested.floats_.LowestSince(0, 0)), 0, kMaxY / 4);

  const int outerWidth = static_cast<int>(std::clamp<long long>(
      margin[kLeft] + insides + contentWidth + margin[kRight], -200000, 200000));
  const int outerHeight = margin[kTop] + border[kTop] + padding[kTop] + contentHeight + padding[kBottom] +
                          border[kBottom] + margin[kBottom];
  const int top = y_ + (started_ ? pending_.Value() : std::max(0, styledPending_ - pageTop_));
  const FloatArea area = floats_.Place(container.box.floating, outerWidth, outerHeight, top, left_, right_);
  const int boxLeft = area.left + margin[kLeft];
  const int boxTop = area.top + margin[kTop];
  const TRect outer{boxLeft, boxTop, static_cast<int>(boxLeft + insides + contentWidth),
                    boxTop + border[kTop] + padding[kTop] + contentHeight + padding[kBottom] + border[kBottom]};
  int pieces = style.background != kNoColor ? 1 : 0;
  for (int b : border) pieces += b > 0 ? 1 : 0;
  if (pieces > 0) {
    const size_t at = out_.boxes.size();
    out_.boxes.resize(at + static_cast<size_t>(pieces));
    AddChrome(at, outer, style, border);
    for (size_t k = at; k < out_.boxes.size(); ++k) out_.boxes[k].floated = true;
  }
  const int dx = boxLeft + border[kLeft] + padding[kLeft];
  const int dy = boxTop + border[kTop] + padding[kTop];
  for (LayoutBox& box : inside.boxes) {
    box.rect = TRect{box.rect.left + dx, box.rect.top + dy, box.rect.right + dx, box.rect.bottom + dy};
    box.baseline += dy;
    box.floated = true;
    out_.boxes.push_back(std::move(box));
  }
  for (LinkArea& link : inside.links) {
    link.rect = TRect{link.rect.left + dx, link.rect.top + dy, link.rect.right + dx, link.rect.bottom + dy};
    out_.links.push_back(std::move(link));
  }
  for (size_t index : nested.topsLog_) {
    out_.blockTops[index] += dy;
    topsLog_.push_back(index);
  }
  out_.hasFloats = true;
  // Unwrapped lines inside it may reach past its box: the page scrolls to them.
  rightmost_ = std::max({rightmost_, outer.right, nested.rightmost_ + dx});
  return last;
}

int Engine::MaxContent(const Blocks& blocks, size_t first, size_t last, int root) {
  const std::vector<Container>& all = doc_->containers;
  const int base = IndentBase(blocks, first, last);
  long long widest = 1;
  int chainOf = INT_MIN;
  bool chainSet = false;
  long long chainAdd = 0;
  for (size_t i = first; i < last; ++i) {
    const Block& block = blocks[i];
    long long width = 0;
    switch (block.kind) {
      case BlockKind::Table:
      case BlockKind::Rule:
        width = block.kind == BlockKind::Table ? right_ - left_ : 0;  // a table takes the room it has
        break;
      case BlockKind::Preformatted:
        width = MinMax(block.runs).second + 2 * std::max(2, unit_ / 3);
        break;
      default:
        width = MinMax(block.runs).second + std::max(0, Px(block.textIndent));
        break;
    }
    width += static_cast<long long>(std::clamp(block.indent - base, 0, 64)) * indentStep_;
    // The boxes between the block and the float add their sides; one of a
    // set width is that wide whatever it holds. Blocks of one box share it.
    if (block.box != chainOf) {
      chainOf = block.box;
      chainSet = false;
      chainAdd = 0;
      size_t steps = 0;
      for (int c = block.box; c > root && static_cast<size_t>(c) < all.size() && steps++ < kMaxBoxDepth;) {
        const BoxStyle& box = all[static_cast<size_t>(c)].box;
        if (box.width > 0 && !box.widthPercent) {
          chainSet = true;
          chainAdd = Zoomed(box.width);
        }
        for (int side : {kLeft, kRight})
          chainAdd += std::max(0, Px(box.margin[static_cast<size_t>(side)])) + Px(box.border[static_cast<size_t>(side)]) +
                      Px(box.padding[static_cast<size_t>(side)]);
        const int parent = all[static_cast<size_t>(c)].parent;
        if (parent >= c) break;
        c = parent;
      }
    }
    width = chainSet ? chainAdd : width + chainAdd;
    widest = std::max(widest, width);
  }
  return static_cast<int>(std::min<long long>(widest, 100000));
}

void Engine::FloatImage(const Run& image, int y, int left, int right) {
  const int ix = image.ImageInsetX(), iy = image.ImageInsetY();
  const FloatArea area =
      floats_.Place(image.imageFloat, image.imageWidth + 2 * ix, image.imageHeight + 2 * iy, y, left, right);
  AddImage(image, TRect{area.left + ix, area.top + iy, area.left + ix + image.imageWidth, area.top + iy + image.imageHeight},
           true);
  out_.hasFloats = true;
}

void Engine::AddImage(const Run& image, const TRect& picture, bool floated) {
  if (const int b = image.imageBorder; b > 0) {
    // A linked image's border is the link colour, as browsers draw it.
    const uint32_t color = image.style.color != kNoColor ? image.style.color : image.href.empty() ? 0x000000u : 0x0000EEu;
    const TRect outer{picture.left - b, picture.top - b, picture.right + b, picture.bottom + b};
    const TRect edges[4] = {{outer.left, outer.top, outer.right, picture.top},
                            {picture.right, picture.top, outer.right, picture.bottom},
                            {outer.left, picture.bottom, outer.right, outer.bottom},
                            {outer.left, picture.top, picture.left, picture.bottom}};
    for (const TRect& edge : edges) {
      LayoutBox piece;
      piece.kind = BoxKind::Fill;
      piece.rect = edge;
      piece.color = color;
      piece.floated = floated;
      Add(std::move(piece));
    }
  }
  LayoutBox box;
  box.kind = BoxKind::Image;
  box.text = image.image;
  box.link = !image.href.empty();
  box.baseline = picture.bottom;
  box.rect = picture;
  box.floated = floated;
  Add(std::move(box), &image.href);
}

}  // namespace hv::html::layout
