#include "theme/frame/themeitem.h"

#include <windows.h>

#include <algorithm>

#include "framework/forms.h"
#include "framework/graphics.h"
#include "framework/properties.h"
#include "theme/core/theme.h"
#include "theme/core/themeengine.h"
#include "theme/frame/itemview.h"
#include "theme/frame/popupwindow.h"

namespace hv {

TTeThemeItem::~TTeThemeItem() { Destroying(); }

void TTeThemeItem::SetThemeEngine(TTeThemeEngine* value) {
  if (themeEngine_ != value) {
    if (themeEngine_) themeEngine_->RemoveFreeNotification(this);
    themeEngine_ = value;
    if (themeEngine_) themeEngine_->FreeNotification(this);
  }
  for (int i = 0; i < Count(); ++i)
    if (auto* child = dynamic_cast<TTeThemeItem*>(Items(i))) child->SetThemeEngine(value);
}

void TTeThemeItem::Notification(TComponent* component, TOperation operation) {
  TTeCustomItem::Notification(component, operation);
  if (operation == TOperation::opRemove && component == themeEngine_) themeEngine_ = nullptr;
}

TTeTheme* TTeThemeItem::Theme() const {
  return themeEngine_ && themeEngine_->ThemeAvailable() ? themeEngine_->Theme() : nullptr;
}

const TClassInfo* TTeThemeItem::CreatePopupWindow() const { return &TTeThemePopupWindow::StaticClassInfo(); }

void TTeThemeItem::Measure(TCanvas& canvas, TTeItemView& view, int& height, int& width) {
  TTeTheme* theme = Theme();
  if (!theme) {
    TTeCustomItem::Measure(canvas, view, height, width);
    return;
  }
  if (view.Horizontal()) {
    theme->MeasureMenuBarItem(canvas, this, width, height);
    if (ButtonKind() != kibNone) width = height;
    return;
  }
  theme->MeasurePopupItem(canvas, this, width, height);
  if (!IsSeparator()) height = std::max(height, ImageColumnWidth() + 4);
}

void TTeThemeItem::PaintItem(TCanvas& canvas, TTeItemView& view, bool active, bool hot, const TRect& rect) {
  TTeTheme* theme = Theme();
  if (!theme) {
    TTeCustomItem::PaintItem(canvas, view, active, hot, rect);
    return;
  }
  if (!view.Horizontal()) {
    theme->DrawPopupItem(canvas, this, rect, hot, 0);
    return;
  }
  if (ButtonKind() == kibNone) {
    theme->DrawMenuBarItem(canvas, this, rect, hot, active);
    return;
  }
  theme->DrawMenuBarButton(canvas, this, rect, hot, active);
  if (ButtonKind() != kibSystemMenu) return;
  // The child's small icon: its own, else the application's, else the system's.
  HICON icon = nullptr;
  if (auto* frame = MdiChildFrame())
    if (auto* form = dynamic_cast<TCustomForm*>(frame->Owner()); form && form->HandleAllocated())
      icon = reinterpret_cast<HICON>(SendMessageW(form->HandleIfAllocated(), WM_GETICON, ICON_SMALL, 0));
  if (!icon) icon = LoadIconW(nullptr, IDI_APPLICATION);
  const int x = rect.left + (rect.Width() - 16) / 2, y = rect.top + (rect.Height() - 16) / 2;
  DrawIconEx(canvas.Handle(), x, y, icon, 16, 16, 0, nullptr, DI_NORMAL);
}

void TTeThemeItem::PaintArrow(TCanvas& canvas, TTeItemView& view, bool hot, int kind, const TRect& rect) {
  if (TTeTheme* theme = Theme())
    theme->DrawPopupScrollButton(canvas, rect, kind, hot);
  else
    TTeCustomItem::PaintArrow(canvas, view, hot, kind, rect);
}

void TTeThemeItem::PublishProperties(TPropertyList& p) {
  p.Component("ThemeEngine", &TTeThemeItem::ThemeEngine, &TTeThemeItem::SetThemeEngine);
}

}  // namespace hv
