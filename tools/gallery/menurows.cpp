// The menus on the controls sheet: a menu bar with a hot item and an open
// one, and a popup menu open two levels deep with every kind of line. The
// popup levels are painted by the views and the style operations the popup
// windows use, into one control, so that they show in a cell of their own.

#include <windows.h>

#include <memory>
#include <string>

#include "framework/graphics.h"
#include "framework/imagelist.h"
#include "theme/core/drawing.h"
#include "theme/core/theme.h"
#include "theme/core/themeengine.h"
#include "theme/frame/itemview.h"
#include "theme/frame/menubar.h"
#include "theme/frame/menuresources.h"
#include "theme/frame/popupwindow.h"
#include "theme/frame/themeitem.h"
#include "tools/gallery/controlsheet.h"

namespace hv {

namespace {

TTeCustomItem* AddItem(TTeCustomItem& parent, const std::string& caption) {
  auto* item = new TTeThemeItem(nullptr);
  item->SetCaption(caption);
  parent.Add(item);
  return item;
}

// A bar whose item may be shown open: hot in an active menu, as while its
// popup is open, without running the menu's loop in the sheet.
class TGalleryMenuBar : public TTeThemeMenuBar {
 public:
  using TTeThemeMenuBar::TTeThemeMenuBar;
  void ShowOpen(TTeCustomItem* item) {
    open_ = item;
    Invalidate();
  }

 protected:
  void PaintClient() override {
    if (!open_) {
      TTeThemeMenuBar::PaintClient();
      return;
    }
    TCanvas& canvas = *Canvas();
    PaintBarBackground(canvas);
    for (int i = 0; i < Items()->Count(); ++i) {
      TTeCustomItem* item = Items()->Items(i);
      if (item->ItemRect().IsEmpty()) continue;
      canvas.Font()->Assign(&MenuFont());
      item->PaintItem(canvas, *View(), true, item == open_, item->ItemRect());
    }
  }

 private:
  TTeCustomItem* open_ = nullptr;
};

TControlSheetRow MenuBarRow() {
  TControlSheetRow row{"TTeThemeMenuBar", {240, 24}, nullptr, {}};
  row.make = [](TWinControl& host, TTeThemeEngine& engine) -> TControl* {
    auto* bar = TComponent::Create<TGalleryMenuBar>(&host);
    bar->SetParent(&host);
    bar->SetThemeEngine(&engine);
    for (const char* caption : {"&File", "&Edit", "&View", "&Help"}) AddItem(*bar->Items(), caption);
    return bar;
  };
  auto item = [](TControl& c, int index) { return static_cast<TTeCustomMenuBar&>(c).Items()->Items(index); };
  row.states = {{"normal", nullptr},
                {"hot item", [item](TControl& c) {
                   const TRect r = item(c, 1)->ItemRect();
                   auto& bar = static_cast<TWinControl&>(c);
                   POINT p{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
                   ClientToScreen(bar.Handle(), &p);
                   SetCursorPos(p.x, p.y);
                   SendMessageW(bar.Handle(), WM_MOUSEMOVE, 0, MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2));
                 }},
                {"open item", [item](TControl& c) { static_cast<TGalleryMenuBar&>(c).ShowOpen(item(c, 1)); }}};
  return row;
}

// Two open levels of a popup menu, each framed by the style's popup frame.
class TGalleryPopupLevels : public TCustomControl {
 public:
  explicit TGalleryPopupLevels(TComponent* owner)
      : TCustomControl(owner), root_(std::make_unique<TTeThemeItem>(nullptr)), images_(nullptr) {
    auto strip = std::make_unique<TBitmap>(16, 16);
    TCanvas& canvas = *strip->Canvas();
    FillRectColor(canvas, Rect(0, 0, 16, 16), clFuchsia);
    FillRectColor(canvas, Rect(2, 1, 13, 15), 0xFFFFFF);
    OutlineRect(canvas, Rect(2, 1, 13, 15), 0x804000);
    FillRectColor(canvas, Rect(4, 4, 11, 5), 0x804000);
    FillRectColor(canvas, Rect(4, 7, 11, 8), 0x804000);
    FillRectColor(canvas, Rect(4, 10, 9, 11), 0x804000);
    images_.AddMasked(strip.get(), clFuchsia);
    open_ = AddItem(*root_, "&Open...");
    // The styles draw an item's own images.
    open_->SetImages(&images_);
    open_->SetShortCut(kscCtrl | 'O');
    open_->SetImageIndex(0);
    AddItem(*root_, "-");
    AddItem(*root_, "&Word wrap")->SetChecked(true);
    AddItem(*root_, "&Print")->SetEnabled(false);
    recent_ = AddItem(*root_, "&Recent");
    AddItem(*recent_, "Topic &1");
    sub_ = AddItem(*recent_, "Topic &2");
    AddItem(*root_, "E&xit");
  }
  ~TGalleryPopupLevels() override {
    Destroying();
    first_.reset();
    second_.reset();
    root_.reset();
  }
  void SetThemeEngine(TTeThemeEngine* engine) {
    engine_ = engine;
    root_->SetThemeEngine(engine);
  }

 protected:
  void Paint() override {
    TCanvas& canvas = *Canvas();
    FillRectColor(canvas, ClientRect(), Color());
    if (!first_) {
      first_ = std::make_unique<TTePopupView>(nullptr);
      second_ = std::make_unique<TTePopupView>(nullptr);
      first_->SetRoot(root_.get());
      second_->SetRoot(recent_);
      for (TTePopupView* view : {first_.get(), second_.get()}) {
        view->SetOrigin({TTePopupForm::kBorder, TTePopupForm::kBorder});
        view->Layout();
      }
      first_->SetHotItem(recent_);
      second_->SetHotItem(sub_);
    }
    const TSize one = LevelSize(*first_);
    PaintLevel(canvas, *first_, {0, 0});
    const TRect anchor = recent_->ItemRect();
    PaintLevel(canvas, *second_, {one.cx - TTePopupForm::kBorder, anchor.top - TTePopupForm::kBorder});
  }

 private:
  static TSize LevelSize(const TTeItemView& view) {
    return {view.Extent().cx + 2 * TTePopupForm::kBorder, view.Extent().cy + 2 * TTePopupForm::kBorder};
  }
  // The popup frame and the level's items, with the level's top-left at `at`.
  void PaintLevel(TCanvas& canvas, TTeItemView& view, TPoint at) {
    const TSize size = LevelSize(view);
    POINT old{};
    SetViewportOrgEx(canvas.Handle(), at.x, at.y, &old);
    TTeTheme* theme = engine_ && engine_->ThemeAvailable() ? engine_->Theme() : nullptr;
    if (theme) {
      theme->DrawPopupMenu(canvas, size.cx, size.cy);
    } else {
      const TRect r = Rect(0, 0, size.cx, size.cy);
      FillRectColor(canvas, r, clMenu);
      Frame3D(canvas, r, clBtnFace, clBlack);
      Frame3D(canvas, r.Inflate(-1, -1), clBtnHighlight, clBtnShadow);
    }
    view.Paint(canvas);
    SetViewportOrgEx(canvas.Handle(), old.x, old.y, nullptr);
  }

  std::unique_ptr<TTeThemeItem> root_;
  TImageList images_;
  TTeCustomItem* open_ = nullptr;
  TTeCustomItem* recent_ = nullptr;
  TTeCustomItem* sub_ = nullptr;
  std::unique_ptr<TTePopupView> first_;
  std::unique_ptr<TTePopupView> second_;
  TTeThemeEngine* engine_ = nullptr;
};

TControlSheetRow PopupMenuRow() {
  TControlSheetRow row{"TTeThemePopupMenu", {290, 170}, nullptr, {}};
  row.make = [](TWinControl& host, TTeThemeEngine& engine) -> TControl* {
    auto* levels = TComponent::Create<TGalleryPopupLevels>(&host);
    levels->SetParent(&host);
    levels->SetColor(0xE8D8C8);
    levels->SetThemeEngine(&engine);
    return levels;
  };
  row.states = {{"open submenu", nullptr}};
  return row;
}

}  // namespace

std::vector<TControlSheetRow> MenuSheetRows() { return {MenuBarRow(), PopupMenuRow()}; }

}  // namespace hv
