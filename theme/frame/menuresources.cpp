#include "theme/frame/menuresources.h"

#include <windows.h>

#include <algorithm>
#include <memory>
#include <vector>

#include "framework/application.h"
#include "framework/classes.h"
#include "framework/graphics.h"
#include "framework/utilwindow.h"
#include "theme/core/glyphs.h"
#include "theme/core/themeitems.h"
#include "theme/frame/formoptions.h"
#include "theme/frame/itemview.h"
#include "theme/frame/popupmenu.h"
#include "theme/frame/themeitem.h"

namespace hv {

// Defined with the items' default look and with the popup windows.
void DefaultMeasureItem(TTeCustomItem& item, TCanvas& canvas, TTeItemView& view, int& height, int& width);
void DefaultPaintItem(TTeCustomItem& item, TCanvas& canvas, TTeItemView& view, bool active, bool hot,
                      const TRect& rect);
void DefaultPaintArrow(TTeCustomItem& item, TCanvas& canvas, TTeItemView& view, bool hot, int kind, const TRect& rect);
void OpenItemPopup(TTeCustomItem& item, TTeItemView* parentView, int x, int y, const TRect* anchor);
const TClassInfo& PopupWindowClass();

namespace {

struct TPendingClick {
  TTeCustomItem* item;
  std::weak_ptr<const bool> alive;
};

// The click dispatcher: a hidden window that runs each queued click once
// the messages before it (the closing menus' among them) are handled.
class TTeClickHandler {
 public:
  TTeClickHandler() : window_([this](TMessage& m) { WndProc(m); }, L"TTeClickHandler") {}

  void Post(TTeCustomItem& item) {
    pending_.push_back({&item, item.AliveToken()});
    PostMessageW(window_.Handle(), WM_TE_ITEMCLICK, 0, 0);
  }
  void Forget(TTeCustomItem& item) {
    for (TPendingClick& click : pending_)
      if (click.item == &item) click.item = nullptr;
  }
  HWND Handle() const { return window_.Handle(); }
  int Pending() const { return static_cast<int>(pending_.size()); }

 private:
  void WndProc(TMessage& message) {
    if (message.Msg != WM_TE_ITEMCLICK) {
      window_.Default(message);
      return;
    }
    if (pending_.empty()) return;
    // The menu windows go first.
    Application()->ProcessMessages();
    if (pending_.empty()) return;
    const TPendingClick click = pending_.front();
    pending_.erase(pending_.begin());
    if (click.item && !click.alive.expired()) click.item->RunClick();
  }

  TUtilWindow window_;
  std::vector<TPendingClick> pending_;
};

struct TMenuResources {
  TFont font;
  int itemWidth = 20;
  int itemHeight = 20;
  std::unique_ptr<TBitmap> measure;
  std::unique_ptr<TTeClickHandler> dispatcher;
};

std::unique_ptr<TMenuResources>& Resources() {
  static std::unique_ptr<TMenuResources> resources;
  return resources;
}

TMenuResources& Shared() {
  auto& resources = Resources();
  if (!resources) {
    resources = std::make_unique<TMenuResources>();
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof(metrics);
    if (SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0)) {
      resources->font.SetHandle(CreateFontIndirectW(&metrics.lfMenuFont));
      resources->itemWidth = std::max(20, static_cast<int>(metrics.iMenuWidth));
      resources->itemHeight = std::max(20, static_cast<int>(metrics.iMenuHeight));
    }
    resources->measure = std::make_unique<TBitmap>(1, 1);
  }
  return *resources;
}

bool PostClick(TTeCustomItem& item) {
  auto& resources = Resources();
  if (!resources || !resources->dispatcher) return false;
  resources->dispatcher->Post(item);
  return true;
}

void ReportClickError(TTeCustomItem& item) { Application()->HandleException(&item); }

void ItemChanged(TTeCustomItem& item) {
  const std::vector<TTeItemView*> views = TTeItemView::AllViews();
  for (TTeItemView* view : views) view->ItemChanged(item);
}

void ItemDestroyed(TTeCustomItem& item) {
  if (auto& resources = Resources(); resources && resources->dispatcher) resources->dispatcher->Forget(item);
  for (TTeItemView* view : TTeItemView::AllViews()) view->ItemDestroyed(item);
}

}  // namespace

TFont& MenuFont() { return Shared().font; }
int DefaultItemWidth() { return Shared().itemWidth; }
int DefaultItemHeight() { return Shared().itemHeight; }
TCanvas& MenuMeasureCanvas() { return *Shared().measure->Canvas(); }

void DrawSubmenuArrow(TCanvas& canvas, const TRect& rect, uint32_t color) {
  const int x = rect.left + (rect.Width() - 20) / 2;
  const int y = rect.top + (rect.Height() - 20) / 2;
  DrawFrameControlGlyph(canvas, Rect(x, y, x + 20, y + 20), DFC_MENU, DFCS_MENUARROW, static_cast<TColor>(color));
}

void StartMenus() {
  TMenuResources& resources = Shared();
  if (!resources.dispatcher) resources.dispatcher = std::make_unique<TTeClickHandler>();
  TTeItemBehaviour& behaviour = ItemBehaviour();
  behaviour.measure = &DefaultMeasureItem;
  behaviour.paintItem = &DefaultPaintItem;
  behaviour.paintArrow = &DefaultPaintArrow;
  behaviour.popup = &OpenItemPopup;
  behaviour.popupWindowClass = &PopupWindowClass();
  behaviour.postClick = &PostClick;
  behaviour.reportClickError = &ReportClickError;
  behaviour.changed = &ItemChanged;
  behaviour.destroyed = &ItemDestroyed;
}

void RegisterFrameClasses() {
  RegisterFormOptionClasses();
  RegisterClasses<TTeCustomItem, TTeThemeItem, TTeCustomPopupMenu, TTeThemePopupMenu>();
  StartMenus();
}

void FreeMenuResources() {
  TTeItemBehaviour& behaviour = ItemBehaviour();
  behaviour.postClick = nullptr;
  Resources().reset();
}

void* ClickDispatcherWindow() {
  auto& resources = Resources();
  return resources && resources->dispatcher ? resources->dispatcher->Handle() : nullptr;
}

int PendingItemClicks() {
  auto& resources = Resources();
  return resources && resources->dispatcher ? resources->dispatcher->Pending() : 0;
}

}  // namespace hv
