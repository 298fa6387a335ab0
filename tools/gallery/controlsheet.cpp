#include <windows.h>

#include "tools/gallery/controlsheet.h"

#include <algorithm>
#include <memory>

#include "framework/application.h"
#include "framework/forms.h"
#include "framework/graphics.h"
#include "theme/core/drawing.h"
#include "theme/core/tebitmap.h"
#include "theme/core/themeengine.h"

namespace hv {

namespace {

constexpr int kSheetWidth = 1180;
constexpr int kMargin = 10;
constexpr int kTitleHeight = 28;
constexpr int kRowLabelHeight = 16;
constexpr int kCellLabelHeight = 14;
constexpr int kCellGap = 10;
constexpr int kRowGap = 12;
// Around each control on its host window, in the host's colour.
constexpr int kPad = 6;
constexpr TColor kHostColor = 0xE8D8C8;

void LabelFont(TCanvas& canvas, bool bold, int size = 8) {
  canvas.Font()->SetName("Tahoma");
  canvas.Font()->SetSize(size);
  canvas.Font()->SetColor(clBlack);
  canvas.Font()->SetStyle(bold ? TFontStyles{fsBold} : TFontStyles{});
}

void Pump() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

// One borderless window at the screen's top-left corner with an engine in
// the sheet's style. Showing a window costs Wine a wait, so the window
// stays and each cell's controls are made on it and freed again.
class TCellHost {
 public:
  explicit TCellHost(TTeThemeClass style) : form_(nullptr) {
    form_.SetFormBorderStyle(TFormBorderStyle::bsNone);
    form_.SetColor(kHostColor);
    engine_ = TComponent::Create<TTeThemeEngine>(&form_);
    engine_->SetTheme(style->Create());
    kept_ = form_.ComponentCount();
  }
  TCellHost(const TCellHost&) = delete;
  TCellHost& operator=(const TCellHost&) = delete;
  ~TCellHost() {
    if (form_.HandleAllocated()) ShowWindow(form_.Handle(), SW_HIDE);
  }

  // Shows the control of a row in one state and copies what the window
  // painted.
  void Capture(const TControlSheetRow& row, const TControlSheetState& state, TTeBitmap& sheet, TPoint at) {
    const int width = row.size.cx + 2 * kPad, height = row.size.cy + 2 * kPad;
    // The real pointer stays away from the window unless a state puts it
    // there, so that no hover is left over from the cell before.
    SetCursorPos(width + 50, height + 50);
    Pump();
    form_.SetBounds(0, 0, width, height);
    TControl* control = row.make(form_, *engine_);
    control->SetBounds(kPad, kPad, row.size.cx, row.size.cy);
    if (!form_.Visible()) form_.Show();
    Pump();
    if (state.enter) state.enter(*control);
    Pump();
    HWND wnd = form_.Handle();
    RedrawWindow(wnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    HDC dc = GetDC(wnd);
    BitBlt(sheet.DC(), at.x, at.y, width, height, dc, 0, 0, SRCCOPY);
    ReleaseDC(wnd, dc);
    FreeCellControls();
  }

 private:
  // Whatever the row made goes, newest first, before the next cell.
  void FreeCellControls() {
    if (GetCapture()) ReleaseCapture();
    while (form_.ComponentCount() > kept_) form_.Components(form_.ComponentCount() - 1)->Free();
    Pump();
  }

  TForm form_;
  TTeThemeEngine* engine_ = nullptr;
  int kept_ = 0;
};

}  // namespace

TGallerySheet PaintControlSheet(TTeThemeClass style, const std::vector<TControlSheetRow>& rows) {
  struct TPlaced {
    const TControlSheetRow* row;
    const TControlSheetState* state;
    TPoint at;
  };
  struct TRowLabel {
    const TControlSheetRow* row;
    TPoint at;
  };
  std::vector<TPlaced> placed;
  std::vector<TRowLabel> labels;
  {
    TBitmap measure(1, 1);
    TCanvas& canvas = *measure.Canvas();
    LabelFont(canvas, false);
    int y = kMargin + kTitleHeight;
    for (const TControlSheetRow& row : rows) {
      labels.push_back({&row, {kMargin, y}});
      y += kRowLabelHeight;
      int x = kMargin, line = 0;
      for (const TControlSheetState& state : row.states) {
        const int cellWidth = std::max(row.size.cx + 2 * kPad, canvas.TextWidth(state.name));
        if (x > kMargin && x + cellWidth > kSheetWidth - kMargin) {
          x = kMargin;
          y += line + kCellGap;
          line = 0;
        }
        placed.push_back({&row, &state, {x, y + kCellLabelHeight}});
        x += cellWidth + kCellGap;
        line = std::max(line, kCellLabelHeight + row.size.cy + 2 * kPad);
      }
      y += line + kRowGap;
    }
    placed.shrink_to_fit();
    labels.push_back({nullptr, {0, y + kMargin}});
  }

  TGallerySheet sheet;
  sheet.bitmap = std::make_unique<TTeBitmap>();
  TTeBitmap& bitmap = *sheet.bitmap;
  bitmap.SetSize(kSheetWidth, labels.back().at.y);
  labels.pop_back();
  TCanvas canvas;
  canvas.SetHandle(bitmap.DC());
  FillRectColor(canvas, bitmap.Bounds(), 0xFFFFFF);
  canvas.Brush()->SetStyle(bsClear);
  LabelFont(canvas, true, 12);
  canvas.TextOut(kMargin, kMargin, style->GetName() + " controls (" + std::string(style->ClassName()) + ")");
  LabelFont(canvas, true);
  for (const TRowLabel& label : labels) canvas.TextOut(label.at.x, label.at.y, label.row->name);
  LabelFont(canvas, false);
  TCellHost host(style);
  for (const TPlaced& p : placed) {
    canvas.TextOut(p.at.x, p.at.y - kCellLabelHeight, p.state->name);
    host.Capture(*p.row, *p.state, bitmap, p.at);
    const TRect cell = Bounds(p.at.x + kPad, p.at.y + kPad, p.row->size.cx, p.row->size.cy);
    sheet.cells.push_back({p.row->name + " " + p.state->name, cell});
  }
  canvas.SetHandle(nullptr);
  return sheet;
}

}  // namespace hv
