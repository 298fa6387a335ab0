#include "theme/frame/menubar.h"

#include <windows.h>

#include "framework/forms.h"
#include "framework/graphics.h"
#include "framework/properties.h"
#include "theme/core/drawing.h"
#include "theme/core/theme.h"
#include "theme/core/visualstyles.h"
#include "theme/frame/formoptions.h"
#include "theme/frame/menulayout.h"
#include "theme/frame/themeform.h"
#include "theme/frame/themeitem.h"

namespace hv {

namespace {

constexpr std::array<TTeItemButtonKind, 4> kMdiKinds = {kibSystemMenu, kibMinimize, kibRestore, kibClose};

size_t MdiSlot(TTeItemButtonKind kind) {
  for (size_t i = 0; i < kMdiKinds.size(); ++i)
    if (kMdiKinds[i] == kind) return i;
  return kMdiKinds.size();
}

}  // namespace

void TTeMenuBarView::Resized() {
  if (bar_) bar_->ViewResized();
}

TTeCustomMenuBar::TTeCustomMenuBar(TComponent* owner)
    : TTeCustomControl(owner), options_(std::make_unique<TTePopupMenuOptions>()) {
  view_ = TComponent::Create<TTeMenuBarView>(this);
  view_->SetBar(this);
  view_->SetHost(this);
  SetColor(clMenu);
  SetBounds(Left(), Top(), 185, GetSystemMetrics(SM_CYMENU));
}

TTeCustomMenuBar::~TTeCustomMenuBar() {
  Destroying();
  view_->SetBar(nullptr);
  // The items go while the view can still forget them.
  items_.reset();
}

TTeCustomItem* TTeCustomMenuBar::Items() const {
  if (!items_) {
    items_ = CreateItem();
    view_->SetRoot(items_.get());
  }
  return items_.get();
}

std::unique_ptr<TTeCustomItem> TTeCustomMenuBar::CreateItem() const { return std::make_unique<TTeCustomItem>(nullptr); }

void TTeCustomMenuBar::SetAutoSize(bool value) {
  if (autoSize_ == value) return;
  autoSize_ = value;
  Relayout();
}

void TTeCustomMenuBar::SetPopupMenuOptions(const TTePopupMenuOptions* value) { options_->Assign(value); }

void TTeCustomMenuBar::SetShowBevel(bool value) {
  if (showBevel_ == value) return;
  showBevel_ = value;
  Invalidate();
}

TRect TTeCustomMenuBar::ItemArea() const {
  TRect area = ClientRect();
  // Room for the line that parts the bar from its neighbour.
  if (Align() == TAlign::alTop) area.bottom -= 2;
  if (Align() == TAlign::alBottom) area.top += 2;
  return area;
}

void TTeCustomMenuBar::SetBounds(int left, int top, int width, int height) {
  const bool resized = width != Width() || height != Height();
  TTeCustomControl::SetBounds(left, top, width, height);
  if (resized && items_ && !sizing_) Relayout();
}

void TTeCustomMenuBar::Loaded() {
  TTeCustomControl::Loaded();
  if (auto* form = dynamic_cast<TCustomForm*>(Owner()); form && form->FormStyle() == TFormStyle::fsMDIForm)
    AddMdiButtons();
  Relayout();
}

void TTeCustomMenuBar::PrepareItems() {
  TTeCustomItem* items = Items();
  items->SetPopupOptions(options_.get());
  items->SetOwnerWindow(this);
  items->SetRightToLeft(UseRightToLeftAlignment());
}

void TTeCustomMenuBar::Relayout() {
  if (IsDestroying() || IsLoading()) return;
  PrepareItems();
  const TRect area = ItemArea();
  view_->SetOrigin({area.left, area.top});
  view_->SetBarWidth(area.right);
  view_->Layout();
  Invalidate();
}

void TTeCustomMenuBar::ViewResized() {
  const TRect area = ItemArea();
  if (items_ && items_->RightToLeft()) {
    for (int i = 0; i < items_->Count(); ++i) {
      TTeCustomItem* item = items_->Items(i);
      item->SetItemRect(MirrorInBand(item->ItemRect(), area.left, area.right));
    }
  }
  if (!autoSize_ || sizing_ || view_->Extent().cy <= 0) return;
  const int height = view_->Extent().cy + (Height() - area.Height());
  if (height == Height()) return;
  sizing_ = true;
  SetBounds(Left(), Top(), Width(), height);
  sizing_ = false;
}

// --- painting -------------------------------------------------------------------------

void TTeCustomMenuBar::PaintClient() {
  TCanvas& canvas = *Canvas();
  PaintBarBackground(canvas);
  view_->Paint(canvas);
  if (showBevel_) PaintBevel(canvas, BevelRect());
}

void TTeCustomMenuBar::PaintBarBackground(TCanvas&) { TTeCustomControl::PaintClient(); }

TRect TTeCustomMenuBar::BevelRect() const {
  const TRect client = ClientRect();
  if (Align() == TAlign::alBottom) return Rect(client.left, client.top, client.right, client.top + 2);
  return Rect(client.left, client.bottom - 2, client.right, client.bottom);
}

void TTeCustomMenuBar::PaintBevel(TCanvas& canvas, const TRect& rect) {
  if (VisualStylesActive()) {
    const int y = Align() == TAlign::alBottom ? rect.top : rect.bottom - 1;
    FillRectColor(canvas, Rect(rect.left, y, rect.right, y + 1), clHighlight);
    return;
  }
  FillRectColor(canvas, Rect(rect.left, rect.top, rect.right, rect.top + 1), clBtnShadow);
  FillRectColor(canvas, Rect(rect.left, rect.top + 1, rect.right, rect.top + 2), clBtnHighlight);
}

// --- mouse and keyboard ---------------------------------------------------------------

void TTeCustomMenuBar::MouseMove(TShiftState shift, int x, int y) {
  TTeCustomControl::MouseMove(shift, x, y);
  if (!view_->Tracking()) view_->SetHotItem(view_->ItemAt({x, y}));
}

void TTeCustomMenuBar::MouseLeave() {
  if (!view_->Tracking()) view_->SetHotItem(nullptr);
}

void TTeCustomMenuBar::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  TTeCustomControl::MouseDown(button, shift, x, y);
  if (button != TMouseButton::mbLeft || view_->Tracking()) return;
  TTeCustomItem* item = view_->ItemAt({x, y});
  if (!item || item->IsSeparator()) return;
  view_->SetHotItem(item);
  RunMenuLoop(true);
}

void TTeCustomMenuBar::EnterMenuLoop() { RunMenuLoop(false); }

void TTeCustomMenuBar::RunMenuLoop(bool openHot) {
  if (view_->Tracking() || !HandleAllocated() || !Items()->HasVisibleChild()) return;
  PrepareItems();
  items_->SetAnimateOnOpen(true);
  items_->SetOpenedByProgram(true);
  // A click opens the item under the mouse at once; the keyboard starts on
  // the first item with nothing open.
  if (openHot) PostMessageW(Handle(), WM_TE_OPENSUBMENU, 0, 0);
  Invalidate();
  const std::weak_ptr<const bool> alive = items_->AliveToken();
  view_->MenuLoop();
  if (alive.expired() || IsDestroying()) return;
  // Whatever the mouse rests on stays hot, as before the menu opened.
  POINT p{};
  GetCursorPos(&p);
  if (HandleAllocated()) ::ScreenToClient(Handle(), &p);
  view_->SetHotItem(view_->ItemAt({p.x, p.y}));
  Invalidate();
}

bool TTeCustomMenuBar::IsShortCut(const TMessage& message) {
  const bool alt = (message.LParam & 0x20000000) != 0;
  const TShortCut shortCut = ComposeShortCut(static_cast<unsigned>(message.WParam), GetKeyState(VK_SHIFT) < 0,
                                             GetKeyState(VK_CONTROL) < 0, alt);
  if ((shortCut & 0xFF) == 0) return false;
  return Items()->IsShortCut(shortCut);
}

bool TTeCustomMenuBar::DialogChar(const TMessage& message) {
  // Only Alt with one of the bar's accelerators.
  if ((message.LParam & 0x20000000) == 0 || view_->Tracking()) return false;
  TTeCustomItem* item = Items()->FindAccelerator(static_cast<char32_t>(message.WParam));
  if (!item || !item->Visible() || !Showing()) return false;
  HWND target = Parent() && Parent()->HandleAllocated() ? Parent()->HandleIfAllocated() : Handle();
  PostMessageW(target, WM_CHAR, message.WParam, 0);
  EnterMenuLoop();
  return true;
}

void TTeCustomMenuBar::WndProc(TMessage& message) {
  switch (message.Msg) {
    case CM_DIALOGCHAR:
      message.Result = DialogChar(message) ? 1 : 0;
      return;
    case CM_BIDIMODECHANGED:
      TTeCustomControl::WndProc(message);
      Relayout();
      return;
    default:
      TTeCustomControl::WndProc(message);
  }
}

// --- MDI ------------------------------------------------------------------------------

void TTeCustomMenuBar::AddMdiButtons() {
  if (mdiButtons_[0]) return;
  TTeCustomItem* root = Items();
  for (size_t i = 0; i < kMdiKinds.size(); ++i) {
    std::unique_ptr<TTeCustomItem> item = CreateItem();
    item->SetButtonKind(kMdiKinds[i]);
    item->SetVisible(false);
    item->OnClick = TTeItemNotify([this](TTeCustomItem* sender) { MdiButtonClick(sender); }, "MdiButtonClick");
    mdiButtons_[i] = item.get();
    // The system-menu item leads the row, the caption buttons end it.
    if (kMdiKinds[i] == kibSystemMenu)
      root->Insert(0, item.release());
    else
      root->Add(item.release());
  }
}

TTeCustomItem* TTeCustomMenuBar::MdiButton(TTeItemButtonKind kind) const {
  const size_t slot = MdiSlot(kind);
  return slot < mdiButtons_.size() ? mdiButtons_[slot] : nullptr;
}

void TTeCustomMenuBar::ShowMDIButtons(TTeCustomForm* childFrame) {
  if (!mdiButtons_[0] || !childFrame) return;
  for (TTeCustomItem* item : mdiButtons_) {
    item->SetMdiChildFrame(childFrame);
    item->SetVisible(true);
  }
  Relayout();
}

void TTeCustomMenuBar::HideMDIButtons() {
  if (!mdiButtons_[0]) return;
  for (TTeCustomItem* item : mdiButtons_) {
    item->SetVisible(false);
    item->SetMdiChildFrame(nullptr);
  }
  Relayout();
}

void TTeCustomMenuBar::MdiButtonClick(TTeCustomItem* item) {
  auto* frame = dynamic_cast<TTeCustomForm*>(item->MdiChildFrame());
  if (!frame) return;
  switch (item->ButtonKind()) {
    case kibSystemMenu:
      frame->ShowSystemMenu();
      break;
    case kibMinimize:
      frame->Minimize();
      break;
    case kibRestore:
      frame->Restore();
      break;
    case kibClose:
      frame->Close();
      break;
    default:
      break;
  }
}

void TTeCustomMenuBar::Notification(TComponent* component, TOperation operation) {
  TTeCustomControl::Notification(component, operation);
  if (operation == TOperation::opRemove && component == view_) view_ = nullptr;
}

void TTeCustomMenuBar::PublishProperties(TPropertyList& p) {
  p.Boolean("AutoSize", &TTeCustomMenuBar::AutoSize, &TTeCustomMenuBar::SetAutoSize, true);
  p.Object("PopupMenuOptions", &TTeCustomMenuBar::PopupMenuOptions);
  p.Boolean("ShowBevel", &TTeCustomMenuBar::ShowBevel, &TTeCustomMenuBar::SetShowBevel, false);
}

// --- the themed bar -------------------------------------------------------------------

TTeThemeMenuBar::~TTeThemeMenuBar() { Destroying(); }

void TTeThemeMenuBar::SetThemeEngine(TTeThemeEngine* value) {
  if (!themeLink_.Set(value)) return;
  if (value) value->FreeNotification(this);
  Relayout();
}

std::unique_ptr<TTeCustomItem> TTeThemeMenuBar::CreateItem() const {
  auto item = std::make_unique<TTeThemeItem>(nullptr);
  item->SetThemeEngine(ThemeEngine());
  return item;
}

void TTeThemeMenuBar::PrepareItems() {
  TTeCustomMenuBar::PrepareItems();
  // Items added since the engine was set follow it too.
  if (auto* root = dynamic_cast<TTeThemeItem*>(Items())) root->SetThemeEngine(ThemeEngine());
}

TRect TTeThemeMenuBar::ItemArea() const {
  if (UsableTheme()) return ClientRect();
  return TTeCustomMenuBar::ItemArea();
}

void TTeThemeMenuBar::PaintBarBackground(TCanvas& canvas) {
  if (TTeTheme* theme = UsableTheme()) {
    const TRect client = ClientRect();
    theme->DrawMenuBar(canvas, client.Width(), client.Height());
    return;
  }
  TTeCustomMenuBar::PaintBarBackground(canvas);
}

void TTeThemeMenuBar::Notification(TComponent* component, TOperation operation) {
  TTeCustomMenuBar::Notification(component, operation);
  if (operation == TOperation::opRemove && themeLink_.Forget(component)) Relayout();
}

void TTeThemeMenuBar::PublishProperties(TPropertyList& p) {
  p.Component("ThemeEngine", &TTeThemeMenuBar::ThemeEngine, &TTeThemeMenuBar::SetThemeEngine);
  p.String("Version", &TTeThemeMenuBar::Version, &TTeThemeMenuBar::SetVersion, std::nullopt);
}

}  // namespace hv
