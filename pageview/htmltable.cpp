#include <algorithm>
#include <climits>
#include <utility>

#include "pageview/layoutengine.h"

namespace hv::html::layout {

namespace {

bool StyledBorder(const TableCell& cell) {
  return std::any_of(cell.border.begin(), cell.border.end(), [](int b) { return b >= 0; });
}

}  // namespace

Engine::Grid Engine::BuildGrid(const Block& block) {
  const TableFormat& format = block.table;
  const size_t rowCount = block.rows.size();
  Grid g;
  // Cells find their columns around the ones that cells above still span.
  std::vector<size_t> busyUntil;  // per column: the first row a cell above leaves free
  for (size_t r = 0; r < rowCount; ++r) {
    size_t c = 0;
    for (const TableCell& cell : block.rows[r]) {
      while (c < busyUntil.size() && busyUntil[c] > r) ++c;
      if (c >= kMaxColumns) break;
      size_t n = std::min<size_t>(static_cast<size_t>(std::clamp(cell.colspan, 1, kMaxColspan)), kMaxColumns - c);
      size_t down = cell.rowspan <= 0 ? rowCount - r : std::min<size_t>(static_cast<size_t>(cell.rowspan), rowCount - r);
      if (busyUntil.size() < c + n) busyUntil.resize(c + n, 0);
      for (size_t k = c; k < c + n; ++k) busyUntil[k] = std::max(busyUntil[k], r + down);
      g.slots.push_back(Slot{&cell, r, c, n, down});
      c += n;
    }
  }
  g.cols = busyUntil.size();
  if (g.cols == 0) return g;

  g.cellBorder = format.border ? 1 : 0;
  const int attrFrame = format.border && (format.spacing >= 0 || format.borderWidth > 1) ? Px(format.borderWidth) : 0;
  for (size_t s = 0; s < 4; ++s) g.frame[s] = format.frameStyled ? Px(format.frameStyle[s]) : attrFrame;
  g.pad = format.padding >= 0 ? Px(format.padding) : std::max(2, unit_ / 3);
  g.inside = 2 * g.pad + 2 * g.cellBorder;
  int shared = g.cellBorder;  // the widest outline neighbours share when borders collapse
  for (Slot& slot : g.slots) {
    const TableCell& cell = *slot.cell;
    for (size_t s = 0; s < 4; ++s) {
      slot.border[s] = cell.border[s] >= 0 ? std::clamp(Px(cell.border[s]), 0, 1000) : g.cellBorder;
      slot.padding[s] = cell.padding[s] >= 0 ? std::clamp(Px(cell.padding[s]), 0, 10000) : g.pad;
      shared = std::max(shared, slot.border[s]);
    }
  }
  if (format.collapse) {
    // Neighbouring cells overlap by their border, which is drawn once.
    g.spacing = -shared;
  } else {
    // Without a cellspacing the cells keep this view's look: one line
    // between them, shared by the outlines of neighbours.
    g.spacing = format.spacing >= 0 ? Px(format.spacing) : format.borderWidth > 1 ? 2 : g.cellBorder ? -1 : 1;
  }
  for (size_t s = 0; s < 4; ++s)
    g.lead[s] = format.collapse ? std::max(0, g.frame[s] - shared) : g.frame[s] + std::max(0, g.spacing);

  const size_t cols = g.cols;
  g.colMin.assign(cols, 0);
  g.colMax.assign(cols, 0);
  g.colPercent.assign(cols, 0);
  g.colFixed.assign(cols, false);
  std::vector<long long>& colMin = g.colMin;
  std::vector<long long>& colMax = g.colMax;
  const int spacing = g.spacing;
  for (int pass = 0; pass < 2; ++pass) {  // single cells first, then what spans must add
    for (const Slot& slot : g.slots) {
      if ((slot.cols == 1) != (pass == 0)) continue;
      const TableCell& cell = *slot.cell;
      auto [mn, mx] = CellMinMax(cell);
      const long long across = slot.Across();
      // A cell's width is the step from its column to the next, as this
      // view has always read it; with a cellspacing, the cell's own box.
      long long fixed = cell.width > 0 ? std::max<long long>(0, Zoomed(cell.width) - (format.spacing < 0 ? spacing : 0)) : 0;
      long long wantMin = std::max<long long>(mn + across, fixed);
      long long wantMax = std::max<long long>(fixed > 0 ? fixed : mx + across, wantMin);
      long long inner = static_cast<long long>(slot.cols - 1) * spacing;
      long long haveMin = inner, haveMax = inner;
      for (size_t k = slot.col; k < slot.col + slot.cols; ++k) {
        haveMin += colMin[k];
        haveMax += colMax[k];
      }
      const long long each = static_cast<long long>(slot.cols);
      if (wantMin > haveMin)
        for (size_t k = slot.col; k < slot.col + slot.cols; ++k) colMin[k] += (wantMin - haveMin + each - 1) / each;
      if (wantMax > haveMax)
        for (size_t k = slot.col; k < slot.col + slot.cols; ++k) colMax[k] += (wantMax - haveMax + each - 1) / each;
      if (slot.cols == 1) {
        if (fixed > 0) g.colFixed[slot.col] = true;
        if (cell.widthPercent > 0) g.colPercent[slot.col] = std::max<long long>(g.colPercent[slot.col], cell.widthPercent);
      }
    }
  }
  for (size_t c = 0; c < cols; ++c) colMax[c] = std::max(colMax[c], colMin[c]);
  return g;
}

int Engine::CellPieces(const Grid& grid, const Slot& slot) const {
  const TableCell& cell = *slot.cell;
  int pieces = cell.background != kNoColor || cell.header ? 1 : 0;
  if (StyledBorder(cell)) {
    for (int b : slot.border) pieces += b > 0 ? 1 : 0;
  } else {
    pieces += grid.cellBorder;
  }
  return pieces;
}

void Engine::PaintCell(const Grid& grid, const Slot& slot, const TRect& outer, size_t at, uint32_t outlineColor) {
  const TableCell& cell = *slot.cell;
  const bool styled = StyledBorder(cell);
  const std::array<int, 4>& b = slot.border;
  if (cell.background != kNoColor || cell.header) {
    LayoutBox& fill = out_.boxes[at++];
    fill.kind = cell.background != kNoColor ? BoxKind::Fill : BoxKind::Shade;
    fill.color = cell.background;
    if (styled) {
      fill.rect = TRect{outer.left + b[kLeft], outer.top + b[kTop], outer.right - b[kRight], outer.bottom - b[kBottom]};
    } else if (grid.spacing < 0) {
      fill.rect = TRect{outer.left + 1, outer.top + 1, outer.right - 1, outer.bottom - 1};
    } else {
      const int c = grid.cellBorder;
      fill.rect = TRect{outer.left + c, outer.top + c, outer.right - c, outer.bottom - c};
    }
    fill.rect.right = std::max(fill.rect.left, fill.rect.right);
    fill.rect.bottom = std::max(fill.rect.top, fill.rect.bottom);
  }
  if (!styled) {
    if (grid.cellBorder) {
      LayoutBox& outline = out_.boxes[at++];
      outline.kind = BoxKind::CellBorder;
      outline.color = outlineColor;
      outline.rect = outer;
    }
    return;
  }
  auto piece = [&](int side, TRect rect) {
    if (b[static_cast<size_t>(side)] <= 0) return;
    LayoutBox& edge = out_.boxes[at++];
    edge.kind = BoxKind::Fill;
    const uint32_t color = cell.borderColor[static_cast<size_t>(side)];
    edge.color = color == kNoColor ? 0 : color;
    rect.right = std::max(rect.left, rect.right);
    rect.bottom = std::max(rect.top, rect.bottom);
    edge.rect = rect;
  };
  piece(kTop, TRect{outer.left, outer.top, outer.right, std::min(outer.bottom, outer.top + b[kTop])});
  piece(kRight, TRect{std::max(outer.left, outer.right - b[kRight]), outer.top, outer.right, outer.bottom});
  piece(kBottom, TRect{outer.left, std::max(outer.top, outer.bottom - b[kBottom]), outer.right, outer.bottom});
  piece(kLeft, TRect{outer.left, outer.top, std::min(outer.right, outer.left + b[kLeft]), outer.bottom});
}

int Engine::LayTable(const Block& block, int x0, int y) {
  if (nesting_ >= kMaxTableNesting) return 0;  // the document model never nests deeper
  const TableFormat& format = block.table;
  const size_t rowCount = block.rows.size();
  ++nesting_;
  Grid grid = BuildGrid(block);
  --nesting_;
  const size_t cols = grid.cols;
  if (cols == 0) return 0;
  const std::vector<Slot>& slots = grid.slots;
  const std::vector<long long>& colMin = grid.colMin;
  const std::vector<long long>& colMax = grid.colMax;
  const std::vector<long long>& colPercent = grid.colPercent;
  const std::vector<bool>& colFixed = grid.colFixed;
  const int spacing = grid.spacing;
  const int inside = grid.inside;

  const long long chrome = grid.Chrome();
  const long long room = std::max<long long>(static_cast<long long>(cols), right_ - x0 - chrome);
  long long target = 0;  // the width the table asks for, inside its chrome
  if (format.widthPercent > 0) target = (right_ - x0) * format.widthPercent / 100 - chrome;
  if (format.width > 0) target = Zoomed(format.width) - chrome;
  long long percentSum = 0;
  for (long long p : colPercent) percentSum += p;
  const long long avail = target > 0 ? std::min(target, room) : room;

  std::vector<long long> widths(cols, 0);
  long long used = 0;
  // Percentages first, each at least its column's minimum; together they
  // never take more than the whole.
  for (size_t c = 0; c < cols; ++c) {
    if (colPercent[c] <= 0) continue;
    long long share = percentSum > 100 ? avail * colPercent[c] / percentSum : avail * colPercent[c] / 100;
    widths[c] = std::max(colMin[c], share);
    used += widths[c];
  }
  long long rest = std::max<long long>(0, avail - used);
  long long sumMin = 0, sumMax = 0, sumFlexMax = 0;
  // Extra room goes to the columns in proportion to their content.
  auto weight = [&](size_t c) { return std::max<long long>(1, colMax[c] - inside); };
  for (size_t c = 0; c < cols; ++c) {
    if (colPercent[c] > 0) continue;
    sumMin += colMin[c];
    sumMax += colMax[c];
    if (!colFixed[c]) sumFlexMax += weight(c);
  }
  // A table stretches to its width, or to the room when its percentages
  // make it as wide as the room.
  const bool stretch = target > 0 || (percentSum > 0 && percentSum < 100);
  for (size_t c = 0; c < cols; ++c) {
    if (colPercent[c] > 0) continue;
    long long w;
    if (sumMax <= rest) {
      w = colMax[c];
      if (stretch && sumMax < rest) {
        if (sumFlexMax > 0) {
          w += colFixed[c] ? 0 : (rest - sumMax) * weight(c) / sumFlexMax;
        } else {
          w += (rest - sumMax) / static_cast<long long>(cols);
        }
      }
    } else if (sumMin >= rest) {
      w = colMin[c];  // never below the widest word: the page scrolls sideways instead
    } else {
      w = colMin[c] + (colMax[c] - colMin[c]) * (rest - sumMin) / std::max<long long>(1, sumMax - sumMin);
    }
    widths[c] = w;
  }
  if (stretch) {  // what the proportions rounded away goes to the last column
    long long placed = 0;
    for (long long w : widths) placed += w;
    if (placed < avail) widths.back() += avail - placed;
  }
  long long tableWidth = chrome;
  for (long long& w : widths) {
    w = std::clamp<long long>(w, 1, INT_MAX / 8 / static_cast<long long>(cols));
    tableWidth += w;
  }
  int left = x0;
  const long long free = right_ - x0 - tableWidth;
  // A cell's alignment places the tables inside it as well.
  const TextAlign align = format.align == TextAlign::Left && nesting_ > 0 ? cellAlign_ : format.align;
  if (free > 0 && align == TextAlign::Center) left += static_cast<int>(free / 2);
  if (free > 0 && align == TextAlign::Right) left += static_cast<int>(free);
  std::vector<long long> xs(cols + 1, left + grid.lead[kLeft]);
  for (size_t c = 0; c < cols; ++c) xs[c + 1] = xs[c] + widths[c] + spacing;

  // The table's own background and frame, then each cell's, under the text.
  size_t tableChrome = out_.boxes.size();
  int tablePieces = format.background != kNoColor ? 1 : 0;
  for (int f : grid.frame) tablePieces += f > 0 ? 1 : 0;
  out_.boxes.resize(out_.boxes.size() + static_cast<size_t>(tablePieces));

  struct CellLayout {
    size_t chrome;  // background then outline, reserved
    size_t firstBox, endBox, firstLink, endLink, firstTop, endTop;
    int height;  // of its content
  };
  std::vector<CellLayout> laid(slots.size());
  std::vector<int> rowHeight(rowCount, 0);
  ++nesting_;
  for (size_t i = 0; i < slots.size(); ++i) {
    const Slot& slot = slots[i];
    CellLayout& l = laid[i];
    l.chrome = out_.boxes.size();
    out_.boxes.resize(out_.boxes.size() + static_cast<size_t>(CellPieces(grid, slot)));
    l.firstBox = out_.boxes.size();
    l.firstLink = out_.links.size();
    l.firstTop = topsLog_.size();
    const long long contentLeft = xs[slot.col] + slot.border[kLeft] + slot.padding[kLeft];
    const long long contentWidth = xs[slot.col + slot.cols] - spacing - xs[slot.col] - slot.Across();
    const int height = LayCell(*slot.cell, static_cast<int>(std::clamp<long long>(contentLeft, INT_MIN / 4, INT_MAX / 4)),
                               static_cast<int>(std::clamp<long long>(contentWidth, 1, INT_MAX / 4)));
    l.endBox = out_.boxes.size();
    l.endLink = out_.links.size();
    l.endTop = topsLog_.size();
    l.height = std::max(body_.height, height);
    if (slot.rows == 1) rowHeight[slot.row] = std::max(rowHeight[slot.row], l.height + slot.Down());
  }
  --nesting_;
  for (size_t r = 0; r < rowCount; ++r)  // a row that only spanning cells reach
    if (rowHeight[r] == 0) rowHeight[r] = body_.height + inside;
  for (size_t i = 0; i < slots.size(); ++i) {  // rows grow for cells spanning them
    const Slot& slot = slots[i];
    if (slot.rows == 1) continue;
    long long have = static_cast<long long>(slot.rows - 1) * spacing;
    for (size_t r = slot.row; r < slot.row + slot.rows; ++r) have += rowHeight[r];
    long long want = laid[i].height + slot.Down();
    if (want > have) rowHeight[slot.row + slot.rows - 1] += static_cast<int>(std::min<long long>(want - have, INT_MAX / 8));
  }
  std::vector<long long> ys(rowCount + 1, static_cast<long long>(y) + grid.lead[kTop]);
  for (size_t r = 0; r < rowCount; ++r) ys[r + 1] = std::min<long long>(ys[r] + rowHeight[r] + spacing, INT_MAX / 4);

  for (size_t i = 0; i < slots.size(); ++i) {
    const Slot& slot = slots[i];
    const TableCell& cell = *slot.cell;
    CellLayout& l = laid[i];
    const TRect outer{static_cast<int>(xs[slot.col]), static_cast<int>(ys[slot.row]),
                      static_cast<int>(xs[slot.col + slot.cols] - spacing), static_cast<int>(ys[slot.row + slot.rows] - spacing)};
    const int contentTop = outer.top + slot.border[kTop] + slot.padding[kTop];
    const int space = outer.bottom - slot.border[kBottom] - slot.padding[kBottom] - contentTop - l.height;
    int dy = contentTop;
    if (cell.valign == VerticalAlign::Middle) dy += std::max(0, space / 2);
    if (cell.valign == VerticalAlign::Bottom) dy += std::max(0, space);
    for (size_t k = l.firstBox; k < l.endBox; ++k) {
      out_.boxes[k].rect.top += dy;
      out_.boxes[k].rect.bottom += dy;
      out_.boxes[k].baseline += dy;
    }
    for (size_t k = l.firstLink; k < l.endLink; ++k) {
      out_.links[k].rect.top += dy;
      out_.links[k].rect.bottom += dy;
    }
    for (size_t k = l.firstTop; k < l.endTop; ++k) out_.blockTops[topsLog_[k]] += dy;
    PaintCell(grid, slot, outer, l.chrome, format.borderColor);
    rightmost_ = std::max(rightmost_, outer.right);
  }
  const long long lastRow = ys[rowCount] - spacing;
  const int bottom = static_cast<int>(std::min<long long>(lastRow + grid.lead[kBottom], INT_MAX / 4));
  const TRect whole{left, y, static_cast<int>(std::min<long long>(left + tableWidth, INT_MAX / 4)), bottom};
  size_t at = tableChrome;
  if (format.background != kNoColor) {
    LayoutBox& fill = out_.boxes[at++];
    fill.kind = BoxKind::Fill;
    fill.color = format.background;
    fill.rect = whole;
  }
  const std::array<int, 4>& f = grid.frame;
  auto edgeColor = [&](int side) -> uint32_t {
    if (format.frameStyled) {
      const uint32_t c = format.frameColor[static_cast<size_t>(side)];
      return c == kNoColor ? 0 : c;
    }
    return format.borderColor != kNoColor ? format.borderColor : 0x808080;
  };
  auto piece = [&](int side, TRect rect) {
    if (f[static_cast<size_t>(side)] <= 0) return;
    LayoutBox& edge = out_.boxes[at++];
    edge.kind = BoxKind::Fill;
    edge.color = edgeColor(side);
    rect.right = std::max(rect.left, rect.right);
    rect.bottom = std::max(rect.top, rect.bottom);
    edge.rect = rect;
  };
  piece(kTop, TRect{whole.left, whole.top, whole.right, std::min(whole.bottom, whole.top + f[kTop])});
  piece(kBottom, TRect{whole.left, std::max(whole.top, whole.bottom - f[kBottom]), whole.right, whole.bottom});
  piece(kLeft, TRect{whole.left, whole.top, std::min(whole.right, whole.left + f[kLeft]), whole.bottom});
  piece(kRight, TRect{std::max(whole.left, whole.right - f[kRight]), whole.top, whole.right, whole.bottom});
  rightmost_ = std::max(rightmost_, whole.right);
  return bottom - y;
}

}  // namespace hv::html::layout
