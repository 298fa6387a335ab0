#pragma once
// The engine behind LayoutDocument, shared by the files that carry it out:
// boxes, blocks and lines in htmllayout.cpp, tables in htmltable.cpp.
// Nothing outside the layout uses it. Portable.

#include <algorithm>
#include <array>
#include <climits>
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "pageview/htmlfloat.h"
#include "pageview/htmllayout.h"

namespace hv::html::layout {

struct Atom {
  enum Kind { Word, Space, Break, Floated } kind = Word;  // Floated: an image taken out of the line
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

// How the lines of a block run: aligned, the first indented, of a fixed
// height, wrapped or not.
struct Para {
  TextAlign align = TextAlign::Left;
  int indent = 0;
  int lineHeight = 0;
  bool nowrap = false;
};

struct InlineResult {
  int height = 0;
  int firstTop = 0;
  int firstBaseline = 0;
  int firstAscent = 0;
  bool hasLine = false;
};

// The room a line has: from `left`, `room` pixels wide.
struct LineRoom {
  int left = 0;
  int room = 0;
};

class Engine {
 public:
  Engine(TextMeasurer& measurer, const LayoutOptions& options, PageLayout& out)
      : measurer_(measurer), options_(options), out_(out) {
    body_ = Metrics(RunStyle{});
    unit_ = std::max(1, body_.height * 3 / 4);
    indentStep_ = std::max(8, body_.height * 2);
  }

  void Document(const html::Document& doc);

 private:
  // --- nested boxes ----------------------------------------------------------
  // Vertical margins collapse as browsers collapse them: adjoining margins
  // (a block's and its next sibling's, a box's and its first or last child's
  // where no border or padding stands between, an empty box's own two)
  // become the largest positive one plus the most negative one. They wait
  // here until content comes.

  struct Pending {
    int positive = 0;
    int negative = 0;
    void Add(int margin) {
      positive = std::max(positive, margin);
      negative = std::min(negative, margin);
    }
    int Value() const { return positive + negative; }
  };

  struct OpenBox {
    int index = -1;
    int parentLeft = 0, parentRight = 0;  // the content edges around it, to restore
    int boxLeft = 0, boxRight = 0;        // its border box
    std::array<int, 4> border{}, padding{};
    int marginBottom = 0;
    int top = 0;
    bool topPending = true;  // no border or padding on top, nothing placed inside yet
    size_t chrome = SIZE_MAX;  // the index of its reserved background and border boxes
    int chromeCount = 0;
    size_t floatSerial = 0;  // the floats placed inside it come after this one
  };

  // However many margins a page stacks, positions stay far from overflowing.
  void Advance(long long pixels) { y_ = static_cast<int>(std::clamp<long long>(y_ + pixels, INT_MIN / 4, kMaxY)); }
  static constexpr int kMaxY = INT_MAX / 4;

  int Px(int pixels) const { return static_cast<int>(std::clamp<long long>(Zoomed(pixels), -100000, 100000)); }

  // The start of the page swallows the margins before the first content,
  // as the page margin already stands there; a box's own margin beyond it
  // still shows.
  void Resolve();

  void AddMargin(int margin, bool styled);

  // Opens and closes boxes so that exactly the chain of `block` is open.
  void Enter(const Block& block);
  void EnterBox(int innermost, const Block& block);

  // Lays out the blocks [first, last) of `blocks` (the page's or a cell's),
  // the floats among them included.
  void LayBlocks(const Blocks& blocks, size_t first, size_t last);

  // Fills the reserved boxes from `at` with a box's background and border.
  void AddChrome(size_t at, const TRect& outer, const BoxStyle& style, const std::array<int, 4>& border);

  // --- floats (htmlfloat.cpp) --------------------------------------------------

  // When block `first` starts a floated box, lays the box out with all its
  // blocks, places it, and gives the index past them; `first` otherwise.
  size_t LayFloat(const Blocks& blocks, size_t first);
  // The widest the blocks [first, last) inside box `root` would be unwrapped.
  int MaxContent(const Blocks& blocks, size_t first, size_t last, int root);
  // Takes a floated image out of the line and puts it beside the text.
  void FloatImage(const Run& run, int y, int left, int right);
  // An image's picture at `picture`, and its border around it.
  void AddImage(const Run& image, const TRect& picture, bool floated);
  // The room of a line starting at `y`, `height` tall, between x0 and x0 + room.
  LineRoom RoomAt(int y, int height, int x0, int room) const;

  void OpenBoxFor(const Container& container, int index, const Block& first);

  void CloseBox();

  // A box's margin on one side in pixels; one in percent is of the room's width.
  int MarginPx(const BoxStyle& style, int side) const;

  // Places one block where the margins let it stand; its top.
  int Place(const Block& block);

  static constexpr int kUnsetTop = INT_MIN;
  // Notes where a block stands, for anchors; blocks in cells move with
  // their cell afterwards.
  void SetTop(const Block& block, int top);
  // Blocks never laid out (the content of an empty table) stand where the
  // next one does.
  void FillTops();

 private:
  FontMetrics Metrics(const RunStyle& style);

  // An image reaches from its baseline up; the line's text sets the descent.
  FontMetrics ItemMetrics(const Placed& item);

  // Generated pages repeat their words: each is measured once per style.
  int Width(std::string_view text, const RunStyle& style);

  // A block's usual margins, which a box standing for the block itself
  // takes over.
  std::pair<int, int> Margins(const Block& block);

  // Deep nesting must still leave a readable column.
  int IndentPixels(int indent);

  Para ParaOf(const Block& block) const;

  int LayBlock(const Block& block, int y);

  InlineResult EmptyLine(int y);

  void AddMarker(const Block& block, int x0, const InlineResult& line);

  void Add(LayoutBox box, const std::string* href = nullptr);

  // --- inline content ------------------------------------------------------

  std::vector<Atom> Atoms(const std::vector<Run>& runs, bool pre);

  // Images get the size they are drawn at; one that cannot be read becomes
  // its alt text. Runs without images come back as they are.
  const std::vector<Run>& ResolveImages(const std::vector<Run>& runs, std::vector<Run>& storage);

  long long Zoomed(long long pixels) const { return pixels * std::clamp(options_.zoom, 1, 1000) / 100; }

  TSize NaturalSize(const std::string& src);

  // The widest word and the widest unwrapped line, for sizing table columns.
  std::pair<int, int> MinMax(const std::vector<Run>& given);

  struct Line {
    std::vector<Placed> items;
    int x = 0;  // pen position from the line start
  };

  InlineResult LayInline(const std::vector<Run>& given, int x0, int y0, int room, bool pre, const Para& para = Para{});

  // --- tables ----------------------------------------------------------------

  // Columns are sized as browsers do: each gets at least its widest word and
  // at most its longest line, spanning cells spreading what they need over
  // the columns they cover; columns given a percentage take that share of
  // the table, and a table with a width stretches its columns to it. Rows
  // are as tall as their tallest cell, a cell spanning rows spreading what
  // it needs over the last of them.
  struct Slot {
    const TableCell* cell;
    size_t row, col, cols, rows;
    std::array<int, 4> border{};   // the cell's own border per side, in pixels
    std::array<int, 4> padding{};  // and its padding
    int Across() const { return border[kLeft] + padding[kLeft] + padding[kRight] + border[kRight]; }
    int Down() const { return border[kTop] + padding[kTop] + padding[kBottom] + border[kBottom]; }
  };

  // A table's cells in their columns, the columns' least and preferred
  // widths, and the chrome around and between the cells.
  struct Grid {
    std::vector<Slot> slots;
    size_t cols = 0;
    std::vector<long long> colMin, colMax, colPercent;
    std::vector<bool> colFixed;
    int cellBorder = 0;  // the `border` attribute's outline around each cell
    int spacing = 0;     // between cells; negative where neighbours share their outline
    int pad = 0;         // a cell's default padding
    int inside = 0;      // what a cell adds around its content by default
    std::array<int, 4> frame{};  // the table's own border per side
    std::array<int, 4> lead{};   // from the table's edge to its first cells, per side
    long long Chrome() const {
      return static_cast<long long>(lead[kLeft]) + lead[kRight] + static_cast<long long>(cols - 1) * spacing;
    }
  };

  Grid BuildGrid(const Block& block);
  // The least and the preferred width of a table, of a cell's content and
  // of one block, for sizing the columns around them.
  std::pair<long long, long long> TableMinMax(const Block& block);
  std::pair<long long, long long> CellMinMax(const TableCell& cell);
  std::pair<long long, long long> BlockMinMax(const Block& block, bool nowrap);
  // Lays a cell's blocks out as a page of their own, from y 0; the height
  // they take.
  int LayCell(const TableCell& cell, int left, int width);
  void PaintCell(const Grid& grid, const Slot& slot, const TRect& outer, size_t at, uint32_t outlineColor);
  int CellPieces(const Grid& grid, const Slot& slot) const;

  // Room for cells beside a cell of the largest span.
  static constexpr size_t kMaxColumns = 2 * static_cast<size_t>(kMaxColspan);

  int LayTable(const Block& block, int x0, int y);

  // Boxes nest no deeper than this in the layout; the document model caps
  // its nesting below it already.
  static constexpr size_t kMaxBoxDepth = 1024;
  // Floats inside floats are laid out inside each other no deeper than this;
  // deeper ones stay in the flow.
  static constexpr int kMaxFloatDepth = 12;

  TextMeasurer& measurer_;
  const LayoutOptions& options_;
  PageLayout& out_;
  const html::Document* doc_ = nullptr;
  FloatSet floats_;
  // The box this engine lays out the inside of: a floated box, a cell's
  // table's container inside the cell, -1 for the page.
  int rootBox_ = -1;
  int floatDepth_ = 0;
  int indentBase_ = 0;
  // Per box, the index past the last box inside it; the page's engine
  // works it out when the first float comes and lends it to the others.
  const std::vector<int>* subtreeEnd_ = nullptr;
  std::vector<int> subtreeEndStore_;  // the list nesting around the floated box: its inside starts at the left
  std::vector<OpenBox> open_;
  std::vector<int> chain_;
  // A cell's alignment and nowrap hold for the paragraphs in it.
  TextAlign cellAlign_ = TextAlign::Left;
  bool cellNowrap_ = false;
  int nesting_ = 0;  // tables open around the block being laid out
  bool numbered_ = false;  // the blocks carry their order
  size_t nextOrder_ = 0;
  std::vector<size_t> topsLog_;  // the blockTops set, in the order they were set
  // Per container: the horizontal margins, borders and padding of it and
  // all boxes around it.
  std::vector<long long> sides_;
  Pending pending_;
  int styledPending_ = 0;
  bool started_ = false;
  int y_ = 0;
  int pageTop_ = 0;

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

}  // namespace hv::html::layout
