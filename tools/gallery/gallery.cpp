#include <windows.h>

#include "tools/gallery/gallery.h"

#include <algorithm>
#include <array>
#include <functional>
#include <utility>

#include "framework/control.h"
#include "framework/graphics.h"
#include "theme/core/drawing.h"
#include "theme/core/rects.h"
#include "theme/core/tebitmap.h"
#include "theme/core/text.h"
#include "theme/core/theme.h"
#include "theme/core/themeitems.h"

namespace hv {

namespace {

constexpr int kSheetWidth = 1180;
constexpr int kMargin = 10;
constexpr int kGroupLabelHeight = 15;
constexpr int kGroupGap = 24;
constexpr int kCellLabelHeight = 14;
constexpr int kCellGap = 8;
constexpr int kRowGap = 8;
constexpr int kTitleHeight = 28;
constexpr TColor kSheetColor = 0xFFFFFF;
constexpr TColor kLabelColor = 0x000000;
// The cells' background: a faint checkerboard, so that whatever a style
// leaves unpainted shows.
constexpr TColor kCellBack = 0xF0F0F0;
constexpr TColor kCellDot = 0xD8D8D8;
// Inside a window region.
constexpr TColor kRegionColor = 0xE0A040;

constexpr std::array<const char*, 6> kStateNames = {"normal", "hot", "pressed", "disabled", "state 4", "state 5"};

using TPaint = std::function<void(TCanvas&, const TRect&)>;

struct TCellSpec {
  std::string label;
  int width;
  int height;
  TPaint paint;
};

struct TRowSpec {
  std::string label;
  std::vector<TCellSpec> cells;
};

TTeElementState State(int i) { return static_cast<TTeElementState>(i); }

// Collects the rows of one style's sheet, then lays them out and paints them.
class TSheetBuilder {
 public:
  explicit TSheetBuilder(TTeTheme& theme) : theme_(theme) {}

  void Row(std::string label, std::vector<TCellSpec> cells) { rows_.push_back({std::move(label), std::move(cells)}); }

  // One cell per element state 0..count-1.
  void StateRow(std::string label, int count, int width, int height,
                const std::function<void(TCanvas&, const TRect&, TTeElementState)>& paint) {
    std::vector<TCellSpec> cells;
    for (int i = 0; i < count; ++i)
      cells.push_back({kStateNames[static_cast<size_t>(i)], width, height,
                       [paint, i](TCanvas& canvas, const TRect& r) { paint(canvas, r, State(i)); }});
    Row(std::move(label), std::move(cells));
  }

  TTeCustomItem& Item(const std::string& caption) {
    items_.push_back(std::make_unique<TTeCustomItem>(nullptr));
    items_.back()->SetCaption(caption);
    return *items_.back();
  }

  TTeStatusPanel& Panel(int barWidth, int barHeight) {
    bars_.push_back(std::make_unique<TControl>(nullptr));
    bars_.back()->SetBounds(0, 0, barWidth, barHeight);
    panels_.push_back(std::make_unique<TTeStatusPanel>(bars_.back().get()));
    return *panels_.back();
  }

  TTeTheme& Theme() { return theme_; }

  TGallerySheet Paint(const std::string& title);

 private:
  struct TPlaced {
    const TRowSpec* row;
    const TCellSpec* cell;
    TRect rect;  // the painted area, below the cell's label
  };
  struct TLabelAt {
    const TRowSpec* row;
    int x, y;
  };
  int Layout(std::vector<TPlaced>& placed, std::vector<TLabelAt>& labels) const;

  TTeTheme& theme_;
  std::vector<TRowSpec> rows_;
  std::vector<std::unique_ptr<TTeCustomItem>> items_;
  std::vector<std::unique_ptr<TControl>> bars_;
  std::vector<std::unique_ptr<TTeStatusPanel>> panels_;
};

void LabelFont(TCanvas& canvas, bool bold) {
  canvas.Font()->SetName("Tahoma");
  canvas.Font()->SetSize(8);
  canvas.Font()->SetColor(kLabelColor);
  canvas.Font()->SetStyle(bold ? TFontStyles{fsBold} : TFontStyles{});
}

// Groups flow left to right and wrap; within a group each cell's column is
// as wide as its picture or its label, whichever is wider.
int TSheetBuilder::Layout(std::vector<TPlaced>& placed, std::vector<TLabelAt>& labels) const {
  TBitmap measure(1, 1);
  TCanvas& canvas = *measure.Canvas();
  const int right = kSheetWidth - kMargin;
  int x = kMargin, y = kMargin + kTitleHeight, lineHeight = 0;
  for (const TRowSpec& row : rows_) {
    std::vector<int> columns;
    LabelFont(canvas, false);
    int groupWidth = 0;
    for (const TCellSpec& cell : row.cells) {
      columns.push_back(std::max(cell.width, canvas.TextWidth(cell.label)));
      groupWidth += columns.back() + kCellGap;
    }
    LabelFont(canvas, true);
    groupWidth = std::max(groupWidth, canvas.TextWidth(row.label) + kCellGap);
    if (x > kMargin && x + groupWidth > right) {
      x = kMargin;
      y += lineHeight + kRowGap;
      lineHeight = 0;
    }
    labels.push_back({&row, x, y});
    const int top = y + kGroupLabelHeight;
    int cx = x, cy = top, cellLine = 0, groupRight = x + canvas.TextWidth(row.label);
    for (size_t i = 0; i < row.cells.size(); ++i) {
      const TCellSpec& cell = row.cells[i];
      if (cx > x && cx + columns[i] > right) {
        cx = x;
        cy += cellLine + kRowGap;
        cellLine = 0;
      }
      placed.push_back({&row, &cell, Bounds(cx, cy + kCellLabelHeight, cell.width, cell.height)});
      groupRight = std::max(groupRight, cx + columns[i]);
      cx += columns[i] + kCellGap;
      cellLine = std::max(cellLine, kCellLabelHeight + cell.height);
    }
    lineHeight = std::max(lineHeight, cy + cellLine - y);
    x = groupRight + kGroupGap;
  }
  return y + lineHeight + kMargin;
}

TGallerySheet TSheetBuilder::Paint(const std::string& title) {
  std::vector<TPlaced> placed;
  std::vector<TLabelAt> labels;
  const int height = Layout(placed, labels);

  TGallerySheet sheet;
  sheet.bitmap = std::make_unique<TTeBitmap>();
  TTeBitmap& bitmap = *sheet.bitmap;
  bitmap.SetSize(kSheetWidth, height);
  TCanvas canvas;
  canvas.SetHandle(bitmap.DC());
  FillRectColor(canvas, bitmap.Bounds(), kSheetColor);
  canvas.Brush()->SetStyle(bsClear);
  LabelFont(canvas, true);
  canvas.Font()->SetSize(12);
  canvas.TextOut(kMargin, kMargin, title);
  LabelFont(canvas, true);
  for (const TLabelAt& label : labels) canvas.TextOut(label.x, label.y, label.row->label);
  LabelFont(canvas, false);

  TTeBitmap scratch;
  for (const TPlaced& p : placed) {
    canvas.Brush()->SetStyle(bsClear);
    canvas.TextOut(p.rect.left, p.rect.top - kCellLabelHeight, p.cell->label);
    // Each element paints alone on a bitmap of its own size, so that what
    // it paints outside its rectangle cannot spoil its neighbours.
    scratch.SetSize(p.rect.Width(), p.rect.Height());
    TCanvas cellCanvas;
    cellCanvas.SetHandle(scratch.DC());
    FillDither(cellCanvas, scratch.Bounds(), kCellBack, kCellDot);
    p.cell->paint(cellCanvas, scratch.Bounds());
    cellCanvas.SetHandle(nullptr);
    scratch.CopyRectTo(bitmap, p.rect.left, p.rect.top, scratch.Bounds());
    sheet.cells.push_back({p.row->label + ": " + p.cell->label, p.rect});
  }
  canvas.SetHandle(nullptr);
  return sheet;
}

// --- the rows of a sheet --------------------------------------------------------------

void AddFrameRows(TSheetBuilder& b) {
  TTeTheme& t = b.Theme();
  auto frame = [&t](TTeBorderStyle style, bool active) {
    // The client area where the frame of this style's sizes leaves it.
    return [&t, style, active](TCanvas& c, const TRect& r) {
      const bool tool = style == kbsToolWindow;
      const int border = t.GetSize(tool ? ktsToolBorder : ktsBorder);
      const int caption = t.GetSize(tool ? ktsToolCaption : ktsCaption);
      const TRect client{r.left + border, r.top + caption, r.right - border, r.bottom - border};
      t.DrawFormFrame(c, r.Width(), r.Height(), client, active, style);
    };
  };
  b.Row("DrawFormFrame", {{"standard, active", 220, 100, frame(kbsStandard, true)},
                          {"standard, inactive", 220, 100, frame(kbsStandard, false)},
                          {"tool window, active", 160, 70, frame(kbsToolWindow, true)},
                          {"tool window, inactive", 160, 70, frame(kbsToolWindow, false)}});
  auto region = [&t](TTeBorderStyle style) {
    return [&t, style](TCanvas& c, const TRect& r) {
      HRGN shape = t.GetFormRegion(r.Width(), r.Height(), style);
      FillRectColor(c, r, clBlack);
      if (!shape) return;
      TBrush inside;
      inside.SetColor(kRegionColor);
      FillRgn(c.Handle(), shape, inside.Handle());
      DeleteObject(shape);
    };
  };
  b.Row("GetFormRegion", {{"standard", 60, 30, region(kbsStandard)}, {"tool window", 60, 30, region(kbsToolWindow)}});

  const std::array<const char*, 8> buttons = {"close",   "help",    "minimize",  "maximize",
                                              "restore", "roll up", "roll down", "tray"};
  const int bw = t.GetSize(ktsButtonWidth), bh = t.GetSize(ktsButtonHeight);
  for (size_t kind = 0; kind < buttons.size(); ++kind) {
    std::vector<TCellSpec> cells;
    for (bool active : {true, false})
      for (auto [label, hot, pressed] : {std::tuple{"normal", false, false}, {"hot", true, false},
                                         {"pressed", false, true}, {"hot+pressed", true, true}}) {
        cells.push_back({std::string(label) + (active ? "" : ", inactive"), bw, bh,
                         [&t, kind, hot, pressed, active](TCanvas& c, const TRect& r) {
                           t.DrawCaptionButton(c, r, static_cast<TTeCaptionButton>(kind), hot, pressed, active,
                                               kbsStandard);
                         }});
      }
    b.Row(std::string("DrawCaptionButton ") + buttons[kind], std::move(cells));
  }
  const int tw = t.GetSize(ktsToolButtonWidth), th = t.GetSize(ktsToolButtonHeight);
  std::vector<TCellSpec> tool;
  for (bool active : {true, false})
    for (auto [label, hot, pressed] : {std::tuple{"normal", false, false}, {"hot", true, false},
                                       {"pressed", false, true}})
      tool.push_back({std::string(label) + (active ? "" : ", inactive"), tw, th,
                      [&t, hot, pressed, active](TCanvas& c, const TRect& r) {
                        t.DrawCaptionButton(c, r, kcbClose, hot, pressed, active, kbsToolWindow);
                      }});
  b.Row("DrawCaptionButton tool-window close", std::move(tool));
}

void AddButtonRows(TSheetBuilder& b) {
  TTeTheme& t = b.Theme();
  std::vector<TCellSpec> push;
  for (int s = 0; s < 6; ++s)
    push.push_back({kStateNames[static_cast<size_t>(s)], 75, 23, [&t, s](TCanvas& c, const TRect& r) {
                      t.DrawButton(c, r.Width(), r.Height(), static_cast<uint8_t>(s));
                    }});
  b.Row("DrawButton", std::move(push));

  const int cw = t.GetSize(ktsCheckWidth), ch = t.GetSize(ktsCheckHeight);
  for (auto [label, check] : {std::pair{"unchecked", cbUnchecked}, {"checked", cbChecked}, {"grayed", cbGrayed}})
    b.StateRow(std::string("DrawCheckBox ") + label, 4, cw, ch,
               [&t, check](TCanvas& c, const TRect& r, TTeElementState s) { t.DrawCheckBox(c, r, s, check); });
  const int rw = t.GetSize(ktsRadioWidth), rh = t.GetSize(ktsRadioHeight);
  for (bool checked : {false, true})
    b.StateRow(std::string("DrawRadioButton ") + (checked ? "checked" : "unchecked"), 4, rw, rh,
               [&t, checked](TCanvas& c, const TRect& r, TTeElementState s) { t.DrawRadioButton(c, r, s, checked); });

  for (bool flat : {false, true})
    for (bool down : {false, true}) {
      const std::string kind = std::string(flat ? "flat" : "raised") + (down ? ", down" : "");
      b.StateRow("DrawSpeedButton " + kind, 6, 32, 26, [&t, flat, down](TCanvas& c, const TRect& r,
                                                                       TTeElementState s) {
        t.DrawSpeedButton(c, r, s, flat, down);
      });
      b.StateRow("DrawSpeedButtonChevron " + kind, 4, 14, 26,
                 [&t, flat, down](TCanvas& c, const TRect& r, TTeElementState s) {
                   t.DrawSpeedButtonChevron(c, r, s, flat, down);
                 });
    }
  b.StateRow("DrawSpinButton", 4, 16, 11,
             [&t](TCanvas& c, const TRect& r, TTeElementState s) { t.DrawSpinButton(c, r, s, 0); });
  b.StateRow("DrawComboButton", 4, t.GetSize(ktsComboButton), 21,
             [&t](TCanvas& c, const TRect& r, TTeElementState s) { t.DrawComboButton(c, r, s); });
  for (auto [label, glyph, second] : {std::tuple{"cross", 1, false}, {"arrow up", 2, false}, {"arrow down", 2, true}})
    b.StateRow(std::string("DrawGlyphButton ") + label, 4, 17, 17,
               [&t, glyph, second](TCanvas& c, const TRect& r, TTeElementState s) {
                 t.DrawGlyphButton(c, r, glyph, s, second);
               });

  for (auto [label, kind] : {std::pair{"close", kibClose}, {"restore", kibRestore}, {"minimize", kibMinimize},
                             {"system menu", kibSystemMenu}}) {
    TTeCustomItem& item = b.Item("");
    item.SetButtonKind(kind);
    std::vector<TCellSpec> cells;
    for (auto [state, selected, hot] : {std::tuple{"normal", false, false}, {"selected, hot", true, true},
                                        {"selected", true, false}})
      cells.push_back({state, 21, 21, [&t, &item, selected, hot](TCanvas& c, const TRect& r) {
                         t.DrawMenuBarButton(c, &item, r, selected, hot);
                       }});
    b.Row(std::string("DrawMenuBarButton ") + label, std::move(cells));
  }
}

void AddBarRows(TSheetBuilder& b) {
  TTeTheme& t = b.Theme();
  const int sb = t.GetSize(ktsScrollBar);
  b.Row("DrawScrollBarTrack", {{"horizontal", 80, sb, [&t](TCanvas& c, const TRect& r) {
                                  t.DrawScrollBarTrack(c, r, sbHorizontal);
                                }},
                               {"vertical", sb, 60, [&t](TCanvas& c, const TRect& r) {
                                  t.DrawScrollBarTrack(c, r, sbVertical);
                                }}});
  b.StateRow("DrawScrollThumb horizontal", 4, 40, sb,
             [&t](TCanvas& c, const TRect& r, TTeElementState s) { t.DrawScrollThumb(c, r, sbHorizontal, s); });
  b.StateRow("DrawScrollThumb vertical", 4, sb, 40,
             [&t](TCanvas& c, const TRect& r, TTeElementState s) { t.DrawScrollThumb(c, r, sbVertical, s); });
  for (auto [label, vertical, first] : {std::tuple{"up", true, true}, {"down", true, false},
                                        {"left", false, true}, {"right", false, false}})
    b.StateRow(std::string("DrawScrollButton ") + label, 4, sb, sb,
               [&t, vertical, first](TCanvas& c, const TRect& r, TTeElementState s) {
                 t.DrawScrollButton(c, r, vertical, first, s);
               });
  for (bool first : {true, false})
    b.StateRow(std::string("DrawArrowButton ") + (first ? "first" : "second"), 4, sb, sb,
               [&t, first](TCanvas& c, const TRect& r, TTeElementState s) { t.DrawArrowButton(c, r, first, 0, s); });

  for (bool vertical : {false, true})
    for (int shape = 0; shape < 3; ++shape)
      b.StateRow(std::string("DrawTrackBarThumb ") + (vertical ? "lying" : "upright") + ", shape " +
                     std::to_string(shape),
                 5, 24, 24, [&t, vertical, shape](TCanvas& c, const TRect& r, TTeElementState s) {
                   t.DrawTrackBarThumb(c, r, vertical, shape, s);
                 });
  b.Row("DrawTrackBarTrack", {{"plain", 120, 8, [&t](TCanvas& c, const TRect& r) { t.DrawTrackBarTrack(c, r, {}); }},
                              {"selection 30..80", 120, 8, [&t](TCanvas& c, const TRect& r) {
                                 t.DrawTrackBarTrack(c, r, {30, 0, 80, 8});
                               }}});

  auto progress = [&t](bool vertical, bool smooth) {
    return [&t, vertical, smooth](TCanvas& c, const TRect& r) {
      t.DrawProgressBarFrame(c, r);
      const TRect inner = InflatedRect(r, -2);
      const TRect bar = vertical ? TRect{inner.left, inner.bottom - inner.Height() * 2 / 3, inner.right, inner.bottom}
                                 : TRect{inner.left, inner.top, inner.left + inner.Width() * 2 / 3, inner.bottom};
      t.DrawProgressBar(c, inner, bar, vertical, smooth);
    };
  };
  b.Row("DrawProgressBar (on its frame)", {{"horizontal blocks", 160, 20, progress(false, false)},
                                           {"horizontal smooth", 160, 20, progress(false, true)},
                                           {"vertical blocks", 20, 100, progress(true, false)},
                                           {"vertical smooth", 20, 100, progress(true, true)}});
  b.Row("DrawStatusBar, DrawSizeGrip, DrawStatusPanel",
        {{"bar", 200, 22, [&t](TCanvas& c, const TRect& r) { t.DrawStatusBar(c, r); }},
         {"size grip", 16, 17, [&t](TCanvas& c, const TRect& r) { t.DrawSizeGrip(c, r); }},
         {"bar with grip", 200, 22,
          [&t](TCanvas& c, const TRect& r) {
            t.DrawStatusBar(c, r);
            t.DrawSizeGrip(c, {r.right - 16, r.bottom - 17, r.right, r.bottom});
          }},
         {"two panels", 200, 22, [&t, &panel = b.Panel(200, 22)](TCanvas& c, const TRect&) {
            t.DrawStatusPanel(c, {2, 2, 60, 20}, &panel);
            t.DrawStatusPanel(c, {60, 2, 120, 20}, &panel);
          }}});
  b.Row("DrawControlBar, DrawControlBand",
        {{"control bar", 120, 26, [&t](TCanvas& c, const TRect& r) { t.DrawControlBar(c, r); }},
         {"band with grip", 120, 26,
          [&t](TCanvas& c, const TRect& r) { t.DrawControlBand(c, r, {r.left + 2, r.top + 2, r.left + 12, r.bottom - 2}); }},
         {"menu bar on control bar", 120, 26,
          [&t](TCanvas& c, const TRect& r) { t.DrawMenuBarOnControlBar(c, r); }}});
}

void AddPanelRows(TSheetBuilder& b) {
  TTeTheme& t = b.Theme();
  std::vector<TCellSpec> tabs;
  const std::array<const char*, 4> positions = {"top", "bottom", "left", "right"};
  for (int s : {0, 1, 2, 3, 4, 5}) {
    tabs.clear();
    for (size_t p = 0; p < positions.size(); ++p)
      tabs.push_back({positions[p], 44, 24, [&t, p, s](TCanvas& c, const TRect& r) {
                        t.DrawTab(c, r, static_cast<TTabPosition>(p), State(s));
                      }});
    b.Row(std::string("DrawTab ") + kStateNames[static_cast<size_t>(s)], tabs);
  }
  b.Row("DrawPanel", {{"panel", 80, 40, [&t](TCanvas& c, const TRect& r) { t.DrawPanel(c, r); }}});
  std::vector<TCellSpec> boxes;
  for (int v = 0; v < 6; ++v)
    boxes.push_back({"variant " + std::to_string(v), 24, 24,
                     [&t, v](TCanvas& c, const TRect& r) { t.DrawStateBox(c, r, 0, v); }});
  b.Row("DrawStateBox", std::move(boxes));
  b.StateRow("DrawListBorder", 4, 70, 50,
             [&t](TCanvas& c, const TRect& r, TTeElementState s) { t.DrawListBorder(c, r, s); });
  b.Row("DrawScrollBoxBorder",
        {{"enabled", 70, 50, [&t](TCanvas& c, const TRect& r) { t.DrawScrollBoxBorder(c, r, true); }},
         {"disabled", 70, 50, [&t](TCanvas& c, const TRect& r) { t.DrawScrollBoxBorder(c, r, false); }}});
  std::vector<TCellSpec> items;
  for (auto [label, flags] : {std::pair{"plain", 0}, {"hot", 1}, {"selected", 2}, {"third kind", 4}})
    items.push_back({label, 80, 18, [&t, flags](TCanvas& c, const TRect& r) {
                       t.DrawListItem(c, InflatedRect(r, -1), static_cast<uint8_t>(flags));
                     }});
  b.Row("DrawListItem", std::move(items));
  std::vector<TCellSpec> splitters;
  for (bool hot : {false, true})
    for (bool beveled : {false, true})
      splitters.push_back({std::string(hot ? "hot" : "plain") + (beveled ? ", beveled" : ""), 8, 50,
                           [&t, hot, beveled](TCanvas& c, const TRect& r) { t.DrawSplitter(c, r, hot, beveled); }});
  b.Row("DrawSplitter", std::move(splitters));
  b.Row("DrawEdit", {{"border", 120, 44, [&t](TCanvas& c, const TRect& r) { t.DrawEdit(c, r, true, 0); }},
                     {"no border", 120, 44, [&t](TCanvas& c, const TRect& r) { t.DrawEdit(c, r, false, 0); }}});
  b.Row("DrawHeader, DrawGroupBox",
        {{"header", 160, 20, [&t](TCanvas& c, const TRect& r) { t.DrawHeader(c, r, "Header text"); }},
         {"group box", 160, 60, [&t](TCanvas& c, const TRect& r) {
            const TRect frame{r.left + 2, r.top + 7, r.right - 3, r.bottom - 3};
            t.DrawGroupBox(c, frame, {frame.left + 8, r.top, frame.left + 58, r.top + 14}, "Group");
          }}});
}

void AddMenuRows(TSheetBuilder& b) {
  TTeTheme& t = b.Theme();
  TTeCustomItem& file = b.Item("File");
  TTeCustomItem& onBar = b.Item("Edit");
  onBar.SetOnControlBar(true);
  int itemWidth = 50, itemHeight = 22;
  {
    TBitmap measure(1, 1);
    t.MeasureMenuBarItem(*measure.Canvas(), &file, itemWidth, itemHeight);
  }
  b.Row("DrawMenuBar", {{"bar", 200, itemHeight, [&t](TCanvas& c, const TRect& r) {
                           t.DrawMenuBar(c, r.Width(), r.Height());
                         }}});
  std::vector<TCellSpec> barItems;
  for (auto [label, item, selected, hot] :
       {std::tuple{"normal", &file, false, false}, {"selected, hot", &file, true, true},
        {"selected", &file, true, false}, {"control bar, normal", &onBar, false, false},
        {"control bar, selected, hot", &onBar, true, true}, {"control bar, selected", &onBar, true, false}})
    barItems.push_back({label, itemWidth, itemHeight, [&t, item, selected, hot](TCanvas& c, const TRect& r) {
                          t.DrawMenuBarItem(c, item, r, selected, hot);
                        }});
  b.Row("DrawMenuBarItem", std::move(barItems));

  TTeCustomItem& plain = b.Item("Open");
  TTeCustomItem& withShortCut = b.Item("Save");
  withShortCut.SetShortCut(kscCtrl | 'S');
  TTeCustomItem& checked = b.Item("Word wrap");
  checked.SetChecked(true);
  TTeCustomItem& disabled = b.Item("Paste");
  disabled.SetEnabled(false);
  TTeCustomItem& submenu = b.Item("Recent files");
  // The submenu owns its child.
  auto child = std::make_unique<TTeCustomItem>(nullptr);
  child->SetCaption("a.txt");
  submenu.Add(child.release());
  TTeCustomItem& separator = b.Item("-");
  std::vector<TCellSpec> popupItems;
  for (auto [label, item, selected] :
       {std::tuple{"normal", &plain, false}, {"selected", &plain, true}, {"short cut", &withShortCut, false},
        {"checked", &checked, false}, {"checked, selected", &checked, true}, {"disabled", &disabled, false},
        {"submenu", &submenu, false}, {"separator", &separator, false}}) {
    int w = 0, h = 0;
    TBitmap measure(1, 1);
    t.MeasurePopupItem(*measure.Canvas(), item, w, h);
    popupItems.push_back({label, std::max(w, 150), std::max(h, 1), [&t, item, selected](TCanvas& c, const TRect& r) {
                            t.DrawPopupItem(c, item, r, selected, 0);
                          }});
  }
  b.Row("DrawPopupItem", std::move(popupItems));
  b.Row("DrawPopupMenu", {{"frame", 160, 60, [&t](TCanvas& c, const TRect& r) {
                             t.DrawPopupMenu(c, r.Width(), r.Height());
                           }}});
  std::vector<TCellSpec> scroll;
  for (int direction : {1, 2})
    for (bool hot : {false, true})
      scroll.push_back({std::string(direction == 1 ? "up" : "down") + (hot ? ", hot" : ""), 100, 14,
                        [&t, direction, hot](TCanvas& c, const TRect& r) { t.DrawPopupScrollButton(c, r, direction, hot); }});
  b.Row("DrawPopupScrollButton", std::move(scroll));
}

}  // namespace

TGallerySheet::TGallerySheet() = default;
TGallerySheet::TGallerySheet(TGallerySheet&&) noexcept = default;
TGallerySheet::~TGallerySheet() = default;

const TGalleryCell* TGallerySheet::Find(std::string_view name) const {
  for (const TGalleryCell& cell : cells)
    if (cell.name == name) return &cell;
  return nullptr;
}

TGallerySheet PaintStyleSheet(TTeTheme& theme, const std::string& title) {
  TSheetBuilder builder(theme);
  AddFrameRows(builder);
  AddButtonRows(builder);
  AddBarRows(builder);
  AddPanelRows(builder);
  AddMenuRows(builder);
  return builder.Paint(title);
}

std::unique_ptr<TBitmap> SheetToBitmap(const TTeBitmap& sheet) {
  auto bitmap = std::make_unique<TBitmap>(sheet.Width(), sheet.Height(), pf24bit);
  const TPixelBuffer pixels = sheet.Pixels();
  for (int y = 0; y < sheet.Height(); ++y) {
    auto* row = static_cast<uint8_t*>(bitmap->ScanLine(y));
    for (int x = 0; x < sheet.Width(); ++x) {
      const uint32_t pixel = pixels.Row(y)[x];
      row[3 * x] = static_cast<uint8_t>(pixel);
      row[3 * x + 1] = static_cast<uint8_t>(pixel >> 8);
      row[3 * x + 2] = static_cast<uint8_t>(pixel >> 16);
    }
  }
  return bitmap;
}

}  // namespace hv
