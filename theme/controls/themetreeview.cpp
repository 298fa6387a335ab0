#include "theme/controls/themetreeview.h"

#include <windows.h>

#include "framework/gdi.h"
#include "framework/graphics.h"
#include "framework/properties.h"
#include "theme/controls/inplacescrollbar.h"
#include "theme/controls/scrollbar.h"
#include "theme/core/drawing.h"
#include "theme/core/theme.h"
#include "theme/core/themeengine.h"
#include "theme/core/visualstyles.h"

namespace hv {
namespace {

constexpr int kEditPart = 1;  // EP_EDITTEXT
constexpr int kScrollCorner = 25;

// Draws part 1 of the "Edit" visual-style class over rect; false when no
// visual style is active or the class cannot be opened.
bool DrawEditStyle(HWND wnd, HDC dc, const TRect& rect, int state) {
  if (!VisualStylesActive()) return false;
  const TVisualStyleApi& api = VisualStyleApi();
  if (!api.OpenThemeData || !api.DrawThemeBackground || !api.CloseThemeData) return false;
  HTHEME theme = api.OpenThemeData(wnd, L"Edit");
  if (!theme) return false;
  const RECT r{rect.left, rect.top, rect.right, rect.bottom};
  api.DrawThemeBackground(theme, dc, kEditPart, state, &r, nullptr);
  api.CloseThemeData(theme);
  return true;
}

TRect WindowRectAtOrigin(HWND wnd) {
  RECT r{};
  GetWindowRect(wnd, &r);
  return {0, 0, r.right - r.left, r.bottom - r.top};
}

}  // namespace

TTeCustomTreeView::TTeCustomTreeView(TComponent* owner) : TTreeView(owner) {}

TTeCustomTreeView::~TTeCustomTreeView() {
  Destroying();
  // The bars leave the parent first, while the tree still stands under them.
  if (subScrollBars_) subScrollBars_->SetTarget(nullptr);
  subScrollBars_.reset();
}

TTeSubScrollBar* TTeCustomTreeView::SubScrollBars() {
  if (!subScrollBars_) {
    subScrollBars_ = std::make_unique<TTeSubScrollBar>(
        nullptr, this, [this](TComponent* barOwner) { return CreateInplaceScrollBar(barOwner); });
    subScrollBars_->SetParent(Parent());
    SubScrollBarsCreated();
  }
  return subScrollBars_.get();
}

TTeCustomScrollBar* TTeCustomTreeView::CreateInplaceScrollBar(TComponent* owner) {
  return TComponent::Create<TTeCustomScrollBar>(owner);
}

void TTeCustomTreeView::SetParent(TWinControl* parent) {
  TTreeView::SetParent(parent);
  if (!IsDestroying()) SubScrollBars()->SetParent(parent);
}

int TTeCustomTreeView::ElementState() const {
  if (!Enabled()) return 4;
  if (Focused()) return 3;
  if (MouseInControl()) return 2;
  return 1;
}

void TTeCustomTreeView::WndProc(TMessage& message) {
  if (!IsDestroying()) SubScrollBars()->HandleMessage(message);
  switch (message.Msg) {
    case WM_ERASEBKGND:
      return WMEraseBkgnd(message);
    case WM_NCPAINT:
      return WMNCPaint(message);
    case CM_MOUSEENTER:
      TTreeView::WndProc(message);
      return MouseEnter();
    case CM_MOUSELEAVE:
      TTreeView::WndProc(message);
      return MouseLeave();
    default:
      return TTreeView::WndProc(message);
  }
}

void TTeCustomTreeView::WMEraseBkgnd(TMessage& message) {
  message.Result = 1;
  const HDC dc = reinterpret_cast<HDC>(message.WParam);
  if (!dc || GetObjectType(dc) == 0) return;
  TCanvas canvas;
  TCanvasPaintScope scope(canvas, dc);
  PaintBackground(canvas, WindowRectAtOrigin(HandleIfAllocated()).Inflate(2, 2));
}

void TTeCustomTreeView::WMNCPaint(TMessage& message) {
  message.Result = 0;
  const HWND wnd = HandleIfAllocated();
  if (!wnd) return;
  TRect rect = WindowRectAtOrigin(wnd);
  if (BorderStyle() == TBorderStyle::bsNone) rect = rect.Inflate(2, 2);
  TWindowDC windowDC(wnd, true);
  if (!windowDC.Get()) return;
  RECT client{};
  GetClientRect(wnd, &client);
  ExcludeClipRect(windowDC.Get(), rect.left + 2, rect.top + 2, rect.left + 2 + client.right,
                  rect.top + 2 + client.bottom);
  TCanvas canvas;
  TCanvasPaintScope scope(canvas, windowDC.Get());
  PaintBorder(canvas, rect);
}

void TTeCustomTreeView::PaintBackground(TCanvas& canvas, const TRect& rect) {
  if (DrawEditStyle(HandleIfAllocated(), canvas.Handle(), rect, ElementState())) return;
  FillRectColor(canvas, rect, Color());
}

void TTeCustomTreeView::PaintBorder(TCanvas& canvas, const TRect& rect) {
  if (DrawEditStyle(HandleIfAllocated(), canvas.Handle(), rect, ElementState())) return;
  // The corner where the two scroll bars meet.
  FillRectXY(canvas, rect.right - kScrollCorner, rect.bottom - kScrollCorner, rect.right, rect.bottom, clBtnFace);
  Frame3D(canvas, rect, clBtnShadow, clBtnHighlight);
  Frame3D(canvas, rect.Inflate(-1, -1), cl3DDkShadow, clBtnFace);
}

TTeThemeSTreeView::TTeThemeSTreeView(TComponent* owner) : TTeCustomTreeView(owner) {}

TTeThemeSTreeView::~TTeThemeSTreeView() = default;

TTeCustomScrollBar* TTeThemeSTreeView::CreateInplaceScrollBar(TComponent* owner) {
  return TComponent::Create<TTeThemeScrollBar>(owner);
}

void TTeThemeSTreeView::SetThemeEngine(TTeThemeEngine* value) {
  TTeThemeEngine* old = ThemeEngine();
  if (!themeLink_.Set(value)) return;
  // The tree and its bars must not paint through an engine that is gone,
  // whoever owns it.
  if (old) RemoveFreeNotification(old);
  if (value) FreeNotification(value);
  PassEngineToBars();
  Invalidate();
}

void TTeThemeSTreeView::SubScrollBarsCreated() { PassEngineToBars(); }

void TTeThemeSTreeView::PassEngineToBars() {
  if (IsDestroying()) return;
  for (TTeInplaceScrollBar* bar : {SubScrollBars()->HorizontalBar(), SubScrollBars()->VerticalBar()})
    if (auto* themed = dynamic_cast<TTeThemeScrollBar*>(bar->Bar())) themed->SetThemeEngine(ThemeEngine());
}

void TTeThemeSTreeView::Notification(TComponent* component, TOperation operation) {
  TTeCustomTreeView::Notification(component, operation);
  if (operation == TOperation::opRemove && themeLink_.Forget(component)) {
    PassEngineToBars();
    if (!IsDestroying()) Invalidate();
  }
}

void TTeThemeSTreeView::PaintBackground(TCanvas& canvas, const TRect& rect) {
  TTeTheme* theme = UsableTheme();
  if (!theme) return TTeCustomTreeView::PaintBackground(canvas, rect);
  FillRectColor(canvas, rect, theme->GetColor(ktcWindow));
}

void TTeThemeSTreeView::PaintBorder(TCanvas& canvas, const TRect& rect) {
  TTeTheme* theme = UsableTheme();
  SetColor(theme ? theme->GetColor(ktcWindow) : clWindow);
  if (!theme) return TTeCustomTreeView::PaintBorder(canvas, rect);
  if (BorderStyle() == TBorderStyle::bsSingle)
    theme->DrawListBorder(canvas, rect, Enabled() ? kesNormal : kesDisabled);
}

void TTeThemeSTreeView::PublishProperties(TPropertyList& p) {
  p.Component("ThemeEngine", &TTeThemeSTreeView::ThemeEngine, &TTeThemeSTreeView::SetThemeEngine);
  p.String("Version", &TTeThemeSTreeView::Version, &TTeThemeSTreeView::SetVersion, std::nullopt);
}

}  // namespace hv
