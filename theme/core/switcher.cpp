#include "theme/core/switcher.h"

#include <windows.h>

#include "framework/messages.h"
#include "framework/scoped.h"
#include "framework/winstring.h"

namespace hv {

namespace {
// The drop-down part's height; the platform sizes the closed box itself.
constexpr int kDropDownHeight = 200;
}  // namespace

TTeCustomComboBox::TTeCustomComboBox(TComponent* owner) : TWinControl(owner) {
  SetBounds(0, 0, 145, 21);
  SetTabStop(true);
  SetParentColor(false);
  SetColor(clWindow);
}

TTeCustomComboBox::~TTeCustomComboBox() {
  Destroying();
  DestroyComponents();
  DestroyHandle();
}

int TTeCustomComboBox::AddItem(const std::string& text, const void* object) {
  items_.push_back(TItem{text, object});
  if (HandleAllocated()) SendMessageW(HandleIfAllocated(), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Widen(text).c_str()));
  return ItemCount() - 1;
}

void TTeCustomComboBox::ClearItems() {
  items_.clear();
  itemIndex_ = -1;
  if (HandleAllocated()) SendMessageW(HandleIfAllocated(), CB_RESETCONTENT, 0, 0);
}

void TTeCustomComboBox::SetItemIndex(int value) {
  if (value < -1 || value >= ItemCount()) value = -1;
  itemIndex_ = value;
  if (HandleAllocated()) SendMessageW(HandleIfAllocated(), CB_SETCURSEL, static_cast<WPARAM>(value), 0);
}

void TTeCustomComboBox::CreateParams(TCreateParams& params) {
  TWinControl::CreateParams(params);
  params.baseClassName = L"COMBOBOX";
  params.style |= CBS_DROPDOWNLIST | WS_VSCROLL;
  params.height = Height() + kDropDownHeight;
  params.caption.clear();
}

void TTeCustomComboBox::CreateWnd() {
  TWinControl::CreateWnd();
  HWND wnd = HandleIfAllocated();
  for (const TItem& item : items_) SendMessageW(wnd, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Widen(item.text).c_str()));
  SendMessageW(wnd, CB_SETCURSEL, static_cast<WPARAM>(itemIndex_), 0);
}

void TTeCustomComboBox::WndProc(TMessage& message) {
  if (message.Msg == CN_COMMAND) {
    if (HIWORD(message.WParam) == CBN_SELCHANGE) {
      LRESULT index = SendMessageW(HandleIfAllocated(), CB_GETCURSEL, 0, 0);
      itemIndex_ = index >= 0 && index < ItemCount() ? static_cast<int>(index) : -1;
      Change();
    }
    return;
  }
  TWinControl::WndProc(message);
}

void TTeCustomComboBox::Change() {
  if (OnChange) OnChange(this);
}

TTeSwitcherComboBox::TTeSwitcherComboBox(TComponent* owner) : TTeCustomComboBox(owner) {}

TTeSwitcherComboBox::~TTeSwitcherComboBox() {
  Destroying();
  DestroyComponents();
  if (themeEngine_) themeEngine_->RemoveFreeNotification(this);
}

void TTeSwitcherComboBox::SetThemeEngine(TTeThemeEngine* value) {
  if (value != themeEngine_) {
    if (themeEngine_) themeEngine_->RemoveFreeNotification(this);
    themeEngine_ = value;
    if (themeEngine_) themeEngine_->FreeNotification(this);
  }
  RebuildItems();
}

void TTeSwitcherComboBox::SetParent(TWinControl* parent) {
  TTeCustomComboBox::SetParent(parent);
  if (parent) RebuildItems();
}

void TTeSwitcherComboBox::Loaded() {
  TTeCustomComboBox::Loaded();
  RebuildItems();
}

void TTeSwitcherComboBox::RebuildItems() {
  ClearItems();
  if (IsDesigning()) {
    SetItemIndex(AddItem("<Theme's Switcher>", nullptr));
    return;
  }
  std::string_view current = themeEngine_ ? themeEngine_->Theme()->ClassName() : std::string_view();
  int selected = -1;
  for (int i = 0; i < ThemeClassCount(); ++i) {
    TTeThemeClass themeClass = ThemeClasses(i);
    int index = AddItem(themeClass->GetName(), themeClass);
    if (selected < 0 && themeEngine_ && themeClass->ClassName() == current) selected = index;
  }
  SetItemIndex(selected);
}

void TTeSwitcherComboBox::Change() {
  TTeCustomComboBox::Change();
  if (switching_ || IsDesigning() || IsLoading() || !themeEngine_) return;
  int index = ItemIndex();
  if (index < 0) return;
  TTeThemeClass themeClass = ItemThemeClass(index);
  if (!themeClass || themeClass->ClassName() == themeEngine_->Theme()->ClassName()) return;
  TScopedFlag switching(switching_);
  themeEngine_->SelectThemeClass(themeClass);
}

void TTeSwitcherComboBox::Notification(TComponent* component, TOperation operation) {
  TTeCustomComboBox::Notification(component, operation);
  if (operation == TOperation::opRemove && component == themeEngine_) themeEngine_ = nullptr;
}

void TTeSwitcherComboBox::PublishProperties(TPropertyList& p) {
  p.Component("ThemeEngine", &TTeSwitcherComboBox::ThemeEngine, &TTeSwitcherComboBox::SetThemeEngine);
  p.String("Version", &TTeSwitcherComboBox::Version, &TTeSwitcherComboBox::SetVersion);
}

}  // namespace hv
