// What a table cell holds: blocks laid out by the same engine as the page,
// at the cell's width, and the widths they ask of the cell's column.

#include <algorithm>
#include <climits>
#include <utility>

#include "pageview/layoutengine.h"

namespace hv::html::layout {

void Engine::SetTop(const Block& block, int top) {
  const size_t index = numbered_ ? block.order : nextOrder_++;
  if (index >= out_.blockTops.size()) return;  // an order the document never counted
  out_.blockTops[index] = top;
  topsLog_.push_back(index);
}

void Engine::FillTops() {
  int next = y_;
  for (size_t i = out_.blockTops.size(); i-- > 0;) {
    if (out_.blockTops[i] == kUnsetTop) {
      out_.blockTops[i] = next;
    } else {
      next = out_.blockTops[i];
    }
  }
}

int Engine::LayCell(const TableCell& cell, int left, int width) {
  // The page's flow waits while the cell's runs: a cell's margins never
  // reach out of it, and boxes open around the table stay open.
  std::vector<OpenBox> open;
  open.swap(open_);
  const Pending pending = pending_;
  const int styledPending = styledPending_, y = y_, pageTop = pageTop_, outerLeft = left_, outerRight = right_;
  const int root = rootBox_;
  const bool started = started_, nowrap = cellNowrap_;
  const TextAlign align = cellAlign_;

  pending_ = Pending{};
  styledPending_ = 0;
  started_ = false;  // the first margins collapse with the cell's top, as the page's do with its own
  y_ = 0;
  pageTop_ = 0;
  left_ = left;
  right_ = left + std::max(1, width);
  rootBox_ = cell.box;
  cellAlign_ = cell.align;
  cellNowrap_ = cell.nowrap;
  FloatSet outside = std::exchange(floats_, FloatSet{});  // a cell holds its own floats
  LayBlocks(cell.blocks, 0, cell.blocks.size());
  while (!open_.empty()) CloseBox();
  const int height = std::max(y_, floats_.LowestSince(0, 0));  // the last margins end with the cell
  floats_ = std::move(outside);

  open_.swap(open);
  pending_ = pending;
  styledPending_ = styledPending;
  started_ = started;
  y_ = y;
  pageTop_ = pageTop;
  left_ = outerLeft;
  right_ = outerRight;
  rootBox_ = root;
  cellAlign_ = align;
  cellNowrap_ = nowrap;
  return height;
}

std::pair<long long, long long> Engine::BlockMinMax(const Block& block, bool nowrap) {
  const long long indent = static_cast<long long>(std::max(0, block.indent)) * indentStep_;
  long long least = 0, most = 0;
  switch (block.kind) {
    case BlockKind::Rule:
      least = most = block.ruleWidth > 0 && !block.ruleWidthPercent ? Zoomed(block.ruleWidth) : 1;
      break;
    case BlockKind::Table:
      std::tie(least, most) = TableMinMax(block);
      break;
    case BlockKind::Preformatted: {
      // Preformatted lines never wrap: the longest is the least as well.
      const int pad = std::max(2, unit_ / 3);
      least = most = MinMax(block.runs).second + 2LL * pad;
      break;
    }
    case BlockKind::Paragraph:
    case BlockKind::Heading: {
      auto [word, line] = MinMax(block.runs);
      least = nowrap || block.nowrap ? line : word;
      most = line + std::max(0, Px(block.textIndent));
      break;
    }
  }
  // The boxes the block stands in inside the cell add their sides: what
  // all boxes from the page down to the block's add, less what those around
  // the cell's table add.
  const std::vector<Container>& all = doc_->containers;
  if (sides_.size() != all.size()) {
    sides_.assign(all.size(), 0);
    for (size_t c = 0; c < all.size(); ++c) {
      const BoxStyle& box = all[c].box;
      long long own = 0;
      for (int side : {kLeft, kRight})
        own += std::max(0, Px(box.margin[static_cast<size_t>(side)])) + Px(box.border[static_cast<size_t>(side)]) +
               Px(box.padding[static_cast<size_t>(side)]);
      const int parent = all[c].parent;
      sides_[c] = own + (parent >= 0 && static_cast<size_t>(parent) < c ? sides_[static_cast<size_t>(parent)] : 0);
    }
  }
  long long sides = 0;
  if (block.box >= 0 && static_cast<size_t>(block.box) < all.size()) {
    sides = sides_[static_cast<size_t>(block.box)];
    if (rootBox_ >= 0 && static_cast<size_t>(rootBox_) < all.size())
      sides = std::max(0LL, sides - sides_[static_cast<size_t>(rootBox_)]);
    const BoxStyle& box = all[static_cast<size_t>(block.box)].box;
    if (box.width > 0 && !box.widthPercent) {
      least = std::max<long long>(least, Zoomed(box.width));
      most = std::max<long long>(most, Zoomed(box.width));
    }
  }
  return {least + indent + sides, most + indent + sides};
}

std::pair<long long, long long> Engine::CellMinMax(const TableCell& cell) {
  const int root = rootBox_;
  rootBox_ = cell.box;
  long long least = 0, most = 0;
  for (const Block& block : cell.blocks) {
    auto [mn, mx] = BlockMinMax(block, cell.nowrap);
    least = std::max(least, mn);
    most = std::max(most, mx);
  }
  rootBox_ = root;
  return {least, std::max(least, most)};
}

std::pair<long long, long long> Engine::TableMinMax(const Block& block) {
  if (nesting_ >= kMaxTableNesting) return {0, 0};
  ++nesting_;
  Grid grid = BuildGrid(block);
  --nesting_;
  if (grid.cols == 0) return {0, 0};
  long long least = grid.Chrome(), most = grid.Chrome();
  for (size_t c = 0; c < grid.cols; ++c) {
    least += grid.colMin[c];
    most += std::max(grid.colMax[c], grid.colMin[c]);
  }
  if (block.table.width > 0) {  // a table given a width keeps it
    least = std::max<long long>(least, Zoomed(block.table.width));
    most = least;
  }
  return {least, std::max(least, most)};
}

}  // namespace hv::html::layout
