#include "theme/controls/statusbar.h"

#include <windows.h>

#include "framework/forms.h"
#include "framework/imagelist.h"

namespace hv {

namespace {

TCustomForm* FormOf(const TControl* control) {
  TCustomForm* form = nullptr;
  for (TWinControl* p = control->Parent(); p; p = p->Parent())
    if (auto* f = dynamic_cast<TCustomForm*>(p)) form = f;
  return form;
}

// The first attached themed frame among the form's components.
TTeSizeGripHost* ActiveGripHost(const TCustomForm* form) {
  for (int i = 0; i < form->ComponentCount(); ++i)
    if (auto* host = dynamic_cast<TTeSizeGripHost*>(form->Components(i)); host && host->GripHostActive())
      return host;
  return nullptr;
}

}  // namespace

TTeCustomStatusBar::TTeCustomStatusBar(TComponent* owner)
    : TTeCustomControl(owner), panels_(std::make_unique<TTeStatusPanels>(this)) {
  SetControlStyle(ControlStyle().Include(csAcceptsControls).Include(csCaptureMouse).Include(csClickEvents)
                      .Include(csDoubleClicks));
  SetBevelSides(kAllBevelSides);
  SetBevelInner(kbvSpace);
  SetBevelOuter(kbvRaised);
  SetBevelWidth(0);
  SetBorderWidth(2);
  SetUseVisualStyles(false);
  SetHeight(22);
  SetAlign(TAlign::alBottom);
}

TTeCustomStatusBar::~TTeCustomStatusBar() {
  // Panels first: they still reach the bar while they go.
  panels_->bar_ = nullptr;
  panels_.reset();
}

std::unique_ptr<TTeStatusPanel> TTeCustomStatusBar::CreatePanel() {
  TTeStatusPanelClass panelClass = [](TTeCustomStatusBar* bar) { return std::make_unique<TTeStatusPanel>(bar, bar); };
  if (OnCreatePanelClass) OnCreatePanelClass(this, panelClass);
  std::unique_ptr<TTeStatusPanel> panel = panelClass ? panelClass(this) : nullptr;
  if (!panel) panel = std::make_unique<TTeStatusPanel>(this, this);
  return panel;
}

void TTeCustomStatusBar::SetImages(TCustomImageList* value) {
  if (value == images_) return;
  if (images_) images_->RemoveFreeNotification(this);
  images_ = value;
  if (images_) images_->FreeNotification(this);
  Invalidate();
}

void TTeCustomStatusBar::SetSizeGrip(bool value) {
  if (value == sizeGrip_) return;
  sizeGrip_ = value;
  Invalidate();
}

void TTeCustomStatusBar::Loaded() {
  TTeCustomControl::Loaded();
  BringToFront();
  UpdatePanels();
}

void TTeCustomStatusBar::UpdatePanels() {
  LayoutPanels();
  Invalidate();
}

void TTeCustomStatusBar::LayoutPanels() {
  if (!panels_) return;
  const TRect content = GetContentRect();
  std::vector<TStatusPanelMetrics> metrics;
  metrics.reserve(static_cast<size_t>(panels_->Count()));
  for (int i = 0; i < panels_->Count(); ++i) {
    const TTeStatusPanel* p = panels_->Items(i);
    metrics.push_back({p->Width(), p->MaxWidth(), p->ViewPriority(), p->StretchPriority()});
  }
  const std::vector<TStatusPanelPlace> places = LayoutStatusPanels(metrics, content);
  for (int i = 0; i < panels_->Count(); ++i) {
    const TStatusPanelPlace& place = places[static_cast<size_t>(i)];
    panels_->Items(i)->SetPlace(place.assignedWidth, place.visible, place.left, place.right);
  }

  // Placing the panels' controls asks for alignment again: not once more here.
  if (placingControls_) return;
  placingControls_ = true;
  struct Done {
    bool& flag;
    ~Done() { flag = false; }
  } done{placingControls_};
  for (int i = 0; i < panels_->Count(); ++i) {
    TTeStatusPanel* panel = panels_->Items(i);
    if (!panel->Control() || panel->Control()->Parent() != this) continue;
    TRect r;
    GetPanelContentRect(panel, r);
    panel->Control()->SetBoundsRect(r);
    panel->Control()->SetVisible(panel->PanelVisible());
  }
}

void TTeCustomStatusBar::StatusPanelChanged(TTeStatusPanel* panel, bool layout) {
  if (!panels_ || IsDestroying() || panels_->Updating()) return;
  if (panels_->IndexOf(panel) < 0) return;  // still being made
  if (layout) {
    UpdatePanels();
    return;
  }
  RepaintPanel(panel);
}

void TTeCustomStatusBar::StatusPanelTakesControl(TTeStatusPanel* panel, TControl* control) {
  for (int i = 0; i < panels_->Count(); ++i) {
    TTeStatusPanel* other = panels_->Items(i);
    if (other == panel || other->Control() != control) continue;
    other->ForgetControl();
    StatusPanelChanged(other, true);
  }
}

int TTeCustomStatusBar::StatusPanelIndex(const TTeStatusPanel* panel) const {
  return panels_ ? panels_->IndexOf(panel) : -1;
}

void TTeCustomStatusBar::RepaintPanel(TTeStatusPanel* panel) {
  if (!HandleAllocated()) return;
  const int index = panels_->IndexOf(panel);
  if (index < 0) return;
  TRect r;
  GetPanelRect(index, r);
  const RECT panelRect{r.left, r.top, r.right, r.bottom};
  InvalidateRect(HandleIfAllocated(), &panelRect, FALSE);
  // The grip is painted over the last panel: it goes again with it.
  TRect grip;
  GetSizeGripRect(grip);
  if (!Intersect(grip, r).IsEmpty()) {
    const RECT gripRect{grip.left, grip.top, grip.right, grip.bottom};
    InvalidateRect(HandleIfAllocated(), &gripRect, FALSE);
  }
  UpdateWindow(HandleIfAllocated());
}

void TTeCustomStatusBar::PanelGoing(TTeStatusPanel* panel) {
  if (clickedPanel_ == panel) clickedPanel_ = nullptr;
  TControl* control = panel->Control();
  if (!control) return;
  panel->ForgetControl();
  if (auto* windowed = dynamic_cast<TWinControl*>(control); windowed && windowed->HandleAllocated())
    windowed->BringToFront();
  control->Perform(CM_SHOWINGCHANGED);
}

std::vector<TStatusPanelPlace> TTeCustomStatusBar::Places() const {
  std::vector<TStatusPanelPlace> places;
  for (int i = 0; i < panels_->Count(); ++i) {
    const TTeStatusPanel* p = panels_->Items(i);
    places.push_back({p->AssignedWidth(), p->PanelVisible(), p->PanelLeft(), p->PanelRight()});
  }
  return places;
}

TRect TTeCustomStatusBar::PanelArea() const {
  std::vector<TStatusPanelPlace> places = Places();
  return StatusPanelArea(places, GetContentRect());
}

TTeStatusPanel* TTeCustomStatusBar::PanelAt(TPoint p) const {
  std::vector<TStatusPanelPlace> places = Places();
  const int index = StatusPanelAt(places, GetContentRect(), p);
  return index < 0 ? nullptr : panels_->Items(index);
}

void TTeCustomStatusBar::GetPanelRect(int index, TRect& rect) const {
  const TTeStatusPanel* p = panels_->Items(index);
  rect = StatusPanelRect({p->AssignedWidth(), p->PanelVisible(), p->PanelLeft(), p->PanelRight()}, GetContentRect());
}

void TTeCustomStatusBar::GetPanelContentRect(TTeStatusPanel* panel, TRect& rect) {
  GetPanelRect(panels_->IndexOf(panel), rect);
  rect = StatusPanelContentRect(rect, panel->Framed());
}

void TTeCustomStatusBar::GetSizeGripRect(TRect& rect) const {
  const bool lastFramed = panels_->Count() > 0 && panels_->Items(panels_->Count() - 1)->Framed();
  rect = StatusSizeGripRect(GetContentRect(), lastFramed, GetSystemMetrics(SM_CXVSCROLL),
                            GetSystemMetrics(SM_CYVSCROLL));
}

TRect TTeCustomStatusBar::SizeGripRect() const {
  TRect r;
  GetSizeGripRect(r);
  return r;
}

bool TTeCustomStatusBar::SizeGripShown() const {
  if (!sizeGrip_ || !HandleAllocated()) return false;
  TCustomForm* form = FormOf(this);
  if (!form || !form->HandleAllocated() || form->WindowState() != TWindowState::wsNormal) return false;
  if (IsZoomed(form->HandleIfAllocated()) || IsIconic(form->HandleIfAllocated())) return false;
  // Only at the form's bottom-right corner does the grip size the form.
  RECT bar{};
  GetWindowRect(HandleIfAllocated(), &bar);
  RECT client{};
  GetClientRect(form->HandleIfAllocated(), &client);
  POINT corner{client.right, client.bottom};
  ::ClientToScreen(form->HandleIfAllocated(), &corner);
  if (bar.right != corner.x || bar.bottom != corner.y) return false;
  if (TTeSizeGripHost* host = ActiveGripHost(form)) return host->GripHostSizeable();
  return true;
}

bool TTeCustomStatusBar::ValidImage(const TTeStatusPanel* panel) const {
  return panel->ShowImage() && images_ && panel->ImageIndex() >= 0 && panel->ImageIndex() < images_->Count();
}

void TTeCustomStatusBar::WndProc(TMessage& message) {
  switch (message.Msg) {
    case CM_CONTROLLISTCHANGE:
      TTeCustomControl::WndProc(message);
      return ControlListChange(reinterpret_cast<TControl*>(message.WParam), message.LParam != 0);
    case CM_FONTCHANGED:
    case CM_SYSCOLORCHANGE:
      TTeCustomControl::WndProc(message);
      return Invalidate();
    default:
      return TTeCustomControl::WndProc(message);
  }
}

void TTeCustomStatusBar::ControlListChange(TControl* control, bool inserting) {
  if (!control || !panels_ || IsLoading() || IsDestroying()) return;
  int holder = -1;
  for (int i = 0; i < panels_->Count(); ++i)
    if (panels_->Items(i)->Control() == control) holder = i;
  if (inserting) {
    // A control put on the bar gets a panel of its own.
    if (holder < 0) panels_->Add()->SetControl(control);
  } else if (holder >= 0) {
    panels_->Items(holder)->ForgetControl();
    panels_->Delete(holder);
  }
}

void TTeCustomStatusBar::Notification(TComponent* component, TOperation operation) {
  TTeCustomControl::Notification(component, operation);
  if (operation != TOperation::opRemove || !panels_) return;
  if (component == images_) {
    images_ = nullptr;
    Invalidate();
  }
  for (int i = 0; i < panels_->Count(); ++i)
    if (panels_->Items(i)->Control() == component) panels_->Items(i)->ForgetControl();
}

void TTeCustomStatusBar::Resize() {
  TTeCustomControl::Resize();
  UpdatePanels();
}

void TTeCustomStatusBar::AlignControls(TControl* control, TRect& rect) {
  TTeCustomControl::AlignControls(control, rect);
  if (!placingControls_) LayoutPanels();
}

void TTeCustomStatusBar::DblClick() {
  TTeCustomControl::DblClick();
  POINT p{};
  GetCursorPos(&p);
  if (!HandleAllocated()) return;
  ::ScreenToClient(HandleIfAllocated(), &p);
  if (TTeStatusPanel* panel = PanelAt({p.x, p.y})) PanelDblClick(panel);
}

void TTeCustomStatusBar::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  TTeCustomControl::MouseDown(button, shift, x, y);
  if (button != TMouseButton::mbLeft || !Enabled()) return;
  clickedPanel_ = PanelAt({x, y});
  if (!SizeGripShown() || !SizeGripRect().Contains({x, y})) return;
  TCustomForm* form = FormOf(this);
  if (!form || !ActiveGripHost(form)) return;
  // The frame sizes the window from here on, with the mouse captured by it.
  POINT screen{x, y};
  ::ClientToScreen(HandleIfAllocated(), &screen);
  if (GetCapture() == HandleIfAllocated()) ReleaseCapture();
  SendMessage(form->Handle(), WM_NCLBUTTONDOWN, 0, MAKELPARAM(screen.x, screen.y));
}

void TTeCustomStatusBar::MouseMove(TShiftState shift, int x, int y) {
  TTeCustomControl::MouseMove(shift, x, y);
  if (!SizeGripShown()) return;
  SetCursor(SizeGripRect().Contains({x, y}) ? crSizeNWSE : crDefault);
}

void TTeCustomStatusBar::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
  TTeCustomControl::MouseUp(button, shift, x, y);
  TTeStatusPanel* clicked = std::exchange(clickedPanel_, nullptr);
  if (clicked && PanelAt({x, y}) == clicked) PanelClick(clicked);
}

void TTeCustomStatusBar::PanelClick(TTeStatusPanel* panel) {
  if (OnPanelClick) OnPanelClick(this, panel);
}

void TTeCustomStatusBar::PanelDblClick(TTeStatusPanel* panel) {
  if (OnPanelDblClick) OnPanelDblClick(this, panel);
}

void TTeCustomStatusBar::DrawPanelEvent(TTeStatusPanel* panel, const TRect& rect) {
  if (OnDrawPanel) OnDrawPanel(this, panel, rect);
}

void TTeCustomStatusBar::PublishProperties(TPropertyList& p) {
  PublishFrameProperties(p);
  p.Collection("Panels", &TTeCustomStatusBar::Panels);
  p.Component("Images", &TTeCustomStatusBar::Images, &TTeCustomStatusBar::SetImages);
  p.Boolean("SizeGrip", &TTeCustomStatusBar::SizeGrip, &TTeCustomStatusBar::SetSizeGrip, true);
  p.Event("OnPanelClick", &TTeCustomStatusBar::OnPanelClick);
  p.Event("OnPanelDblClick", &TTeCustomStatusBar::OnPanelDblClick);
  p.Event("OnDrawPanel", &TTeCustomStatusBar::OnDrawPanel);
  p.Event("OnCreatePanelClass", &TTeCustomStatusBar::OnCreatePanelClass);
}

// ---- TTeThemeStatusBar ---------------------------------------------------

void TTeThemeStatusBar::SetThemeEngine(TTeThemeEngine* value) {
  if (themeLink_.Set(value)) Invalidate();
}

// Nothing else tells the bar that its engine is going.
void TTeThemeStatusBar::Notification(TComponent* component, TOperation operation) {
  TTeCustomStatusBar::Notification(component, operation);
  if (operation == TOperation::opRemove && themeLink_.Forget(component)) Invalidate();
}

void TTeThemeStatusBar::PublishProperties(TPropertyList& p) {
  p.Component("ThemeEngine", &TTeThemeStatusBar::ThemeEngine, &TTeThemeStatusBar::SetThemeEngine);
  p.String("Version", &TTeThemeStatusBar::Version, &TTeThemeStatusBar::SetVersion, std::nullopt);
}

}  // namespace hv
