#include <algorithm>
#include <climits>
#include <utility>

#include "pageview/layoutengine.h"

namespace hv::html::layout {

int Engine::LayTable(const Block& block, int x0, int y) {
  const TableFormat& format = block.table;
  const size_t rowCount = block.rows.size();
  // Cells find their columns around the ones that cells above still span.
  std::vector<Slot> slots;
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
      slots.push_back(Slot{&cell, r, c, n, down});
      c += n;
    }
  }
  const size_t cols = busyUntil.size();
  if (cols == 0) return 0;

  const int cellBorder = format.border ? 1 : 0;
  const int frame = format.border && (format.spacing >= 0 || format.borderWidth > 1) ? Px(format.borderWidth) : 0;
  // Without a cellspacing the cells keep this view's look: one line between
  // them, shared by the outlines of neighbours.
  const int spacing = format.spacing >= 0 ? Px(format.spacing) : format.borderWidth > 1 ? 2 : cellBorder ? -1 : 1;
  const int pad = format.padding >= 0 ? Px(format.padding) : std::max(2, unit_ / 3);
  const int inside = 2 * pad + 2 * cellBorder;  // what a cell adds around its content
  const int lead = frame + std::max(0, spacing);

  std::vector<long long> colMin(cols, 0), colMax(cols, 0), colPercent(cols, 0);
  std::vector<bool> colFixed(cols, false);
  for (int pass = 0; pass < 2; ++pass) {  // single cells first, then what spans must add
    for (const Slot& slot : slots) {
      if ((slot.cols == 1) != (pass == 0)) continue;
      const TableCell& cell = *slot.cell;
      auto [mn, mx] = MinMax(cell.runs);
      if (cell.nowrap) mn = mx;
      // A cell's width is the step from its column to the next, as this
      // view has always read it; with a cellspacing, the cell's own box.
      long long fixed = cell.width > 0 ? std::max<long long>(0, Zoomed(cell.width) - (format.spacing < 0 ? spacing : 0)) : 0;
      long long wantMin = std::max<long long>(mn + inside, fixed);
      long long wantMax = std::max<long long>(fixed > 0 ? fixed : mx + inside, wantMin);
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
        if (fixed > 0) colFixed[slot.col] = true;
        if (cell.widthPercent > 0) colPercent[slot.col] = std::max<long long>(colPercent[slot.col], cell.widthPercent);
      }
    }
  }
  for (size_t c = 0; c < cols; ++c) colMax[c] = std::max(colMax[c], colMin[c]);

  const long long chrome = 2LL * lead + static_cast<long long>(cols - 1) * spacing;
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
  if (free > 0 && format.align == TextAlign::Center) left += static_cast<int>(free / 2);
  if (free > 0 && format.align == TextAlign::Right) left += static_cast<int>(free);
  std::vector<long long> xs(cols + 1, left + lead);
  for (size_t c = 0; c < cols; ++c) xs[c + 1] = xs[c] + widths[c] + spacing;

  // The table's own background and frame, then each cell's, under the text.
  size_t tableChrome = out_.boxes.size();
  const int tablePieces = (format.background != kNoColor ? 1 : 0) + (frame > 0 ? 4 : 0);
  out_.boxes.resize(out_.boxes.size() + static_cast<size_t>(tablePieces));

  struct CellLayout {
    size_t chrome;  // background then outline, reserved
    int pieces;
    size_t firstBox, endBox, firstLink, endLink;
    int height;  // of its content
    int firstBaseline;
  };
  std::vector<CellLayout> laid(slots.size());
  std::vector<int> rowHeight(rowCount, 0);
  for (size_t i = 0; i < slots.size(); ++i) {
    const Slot& slot = slots[i];
    const TableCell& cell = *slot.cell;
    CellLayout& l = laid[i];
    l.chrome = out_.boxes.size();
    l.pieces = (cell.background != kNoColor || cell.header ? 1 : 0) + cellBorder;
    out_.boxes.resize(out_.boxes.size() + static_cast<size_t>(l.pieces));
    l.firstBox = out_.boxes.size();
    l.firstLink = out_.links.size();
    const long long contentLeft = xs[slot.col] + cellBorder + pad;
    const long long contentWidth = xs[slot.col + slot.cols] - spacing - xs[slot.col] - inside;
    Para para;
    para.align = cell.align;
    para.nowrap = cell.nowrap;
    FloatSet outside = std::exchange(floats_, FloatSet{});  // a cell holds its own floats
    InlineResult r = LayInline(cell.runs, static_cast<int>(contentLeft), 0,
                               static_cast<int>(std::max<long long>(1, contentWidth)), false, para);
    const int floatsBottom = floats_.LowestSince(0, 0);
    floats_ = std::move(outside);
    l.endBox = out_.boxes.size();
    l.endLink = out_.links.size();
    l.height = std::max({body_.height, r.height, floatsBottom});
    l.firstBaseline = r.hasLine ? r.firstBaseline : body_.ascent;
    if (slot.rows == 1) rowHeight[slot.row] = std::max(rowHeight[slot.row], l.height + inside);
  }
  for (size_t r = 0; r < rowCount; ++r) rowHeight[r] = std::max(rowHeight[r], body_.height + inside);
  for (size_t i = 0; i < slots.size(); ++i) {  // rows grow for cells spanning them
    const Slot& slot = slots[i];
    if (slot.rows == 1) continue;
    long long have = static_cast<long long>(slot.rows - 1) * spacing;
    for (size_t r = slot.row; r < slot.row + slot.rows; ++r) have += rowHeight[r];
    long long want = laid[i].height + inside;
    if (want > have) rowHeight[slot.row + slot.rows - 1] += static_cast<int>(std::min<long long>(want - have, INT_MAX / 8));
  }
  std::vector<long long> ys(rowCount + 1, static_cast<long long>(y) + lead);
  for (size_t r = 0; r < rowCount; ++r) ys[r + 1] = std::min<long long>(ys[r] + rowHeight[r] + spacing, INT_MAX / 4);

  for (size_t i = 0; i < slots.size(); ++i) {
    const Slot& slot = slots[i];
    const TableCell& cell = *slot.cell;
    CellLayout& l = laid[i];
    const TRect outer{static_cast<int>(xs[slot.col]), static_cast<int>(ys[slot.row]),
                      static_cast<int>(xs[slot.col + slot.cols] - spacing), static_cast<int>(ys[slot.row + slot.rows] - spacing)};
    const int contentTop = outer.top + cellBorder + pad;
    const int space = outer.bottom - cellBorder - pad - contentTop - l.height;
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
    size_t at = l.chrome;
    if (cell.background != kNoColor || cell.header) {
      LayoutBox& fill = out_.boxes[at++];
      fill.kind = cell.background != kNoColor ? BoxKind::Fill : BoxKind::Shade;
      fill.color = cell.background;
      fill.rect = TRect{outer.left + cellBorder, outer.top + cellBorder, outer.right - cellBorder, outer.bottom - cellBorder};
      if (spacing < 0) fill.rect = TRect{outer.left + 1, outer.top + 1, outer.right - 1, outer.bottom - 1};
    }
    if (cellBorder) {
      LayoutBox& outline = out_.boxes[at++];
      outline.kind = BoxKind::CellBorder;
      outline.color = format.borderColor;
      outline.rect = outer;
    }
    rightmost_ = std::max(rightmost_, outer.right);
  }
  const int bottom = static_cast<int>(std::min<long long>(ys[rowCount] - spacing + std::max(0, spacing) + frame, INT_MAX / 4));
  const TRect whole{left, y, static_cast<int>(std::min<long long>(left + tableWidth, INT_MAX / 4)), bottom};
  size_t at = tableChrome;
  if (format.background != kNoColor) {
    LayoutBox& fill = out_.boxes[at++];
    fill.kind = BoxKind::Fill;
    fill.color = format.background;
    fill.rect = whole;
  }
  if (frame > 0) {
    const uint32_t color = format.borderColor != kNoColor ? format.borderColor : 0x808080;
    const TRect edges[4] = {{whole.left, whole.top, whole.right, whole.top + frame},
                            {whole.left, whole.bottom - frame, whole.right, whole.bottom},
                            {whole.left, whole.top, whole.left + frame, whole.bottom},
                            {whole.right - frame, whole.top, whole.right, whole.bottom}};
    for (const TRect& edge : edges) {
      LayoutBox& piece = out_.boxes[at++];
      piece.kind = BoxKind::Fill;
      piece.color = color;
      piece.rect = edge;
    }
  }
  rightmost_ = std::max(rightmost_, whole.right);
  return bottom - y;
}

}  // namespace hv::html::layout
