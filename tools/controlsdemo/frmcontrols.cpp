#include "tools/controlsdemo/frmcontrols.h"

#include <memory>
#include <stdexcept>
#include <string>

#include "framework/forms.h"
#include "framework/graphics.h"
#include "theme/controls/checkbox.h"
#include "theme/controls/edit.h"
#include "theme/controls/groupbox.h"
#include "theme/controls/label.h"
#include "theme/controls/pushbutton.h"
#include "theme/controls/radiobutton.h"
#include "theme/controls/radiogroup.h"
#include "theme/controls/scrollbar.h"
#include "theme/controls/speedbutton.h"
#include "theme/controls/spinbutton.h"
#include "theme/controls/splitter.h"
#include "theme/controls/statusbar.h"
#include "theme/controls/themetreeview.h"
#include "theme/core/switcher.h"
#include "theme/core/themeengine.h"
#include "theme/frame/menubar.h"
#include "theme/frame/popupmenu.h"
#include "theme/frame/themeform.h"
#include "theme/frame/themeitem.h"
#include "tools/controlsdemo/demoglyphs.h"

namespace hv {
namespace {

constexpr int kMenuBarHeight = 22;
constexpr int kToolBarHeight = 38;
// Where the controls right of the tree begin.
constexpr int kTop = kMenuBarHeight + kToolBarHeight + 10;

// Every control is owned by the form, whatever window it sits on. The
// controls without a theme link paint with the system's look.
template <class T>
T* PlacePlain(TWinControl& parent, int left, int top, int width, int height) {
  TComponent* form = &parent;
  while (form && !dynamic_cast<TCustomForm*>(form)) form = form->Owner();
  T* control = TComponent::Create<T>(form);
  control->SetParent(&parent);
  control->SetBounds(left, top, width, height);
  return control;
}

template <class T>
T* Place(TWinControl& parent, TTeThemeEngine& engine, int left, int top, int width, int height) {
  T* control = PlacePlain<T>(parent, left, top, width, height);
  control->SetThemeEngine(&engine);
  return control;
}

}  // namespace

// The engine and the themed frame come from the stored layout; the
// controls are made once it is read.
TFrmControls::TFrmControls(TComponent* owner) : TForm(owner) {
  OnCreate = [this](TObject*) {
    engine_ = dynamic_cast<TTeThemeEngine*>(FindComponent("TeThemeEngine1"));
    if (!engine_) throw std::runtime_error("the layout has no TeThemeEngine1");
    BuildStatusBar();
    BuildMenuBar();
    BuildToolBar();
    BuildTree();
    BuildOptions();
    BuildScrollBars();
    BuildEdits();
    BuildPushButtons();
    BuildSwitcher();
  };
}

void TFrmControls::ShowStyle() {
  if (TTeTheme* theme = engine_->Theme()) status_->Panels()->Items(1)->SetText(theme->ThemeClass()->GetName());
}

void TFrmControls::BuildStatusBar() {
  status_ = Place<TTeThemeStatusBar>(*this, *engine_, 0, 0, 0, 22);
  status_->SetAlign(TAlign::alBottom);
  status_->Panels()->Add()->SetText("Ready");
  TTeStatusPanel* style = status_->Panels()->Add();
  style->SetWidth(140);
  style->SetStretchPriority(100);
  status_->Panels()->Add()->SetWidth(110);
  ShowPosition(0);
}

void TFrmControls::BuildToolBar() {
  auto* bar = Place<TTeThemeGroupBox>(*this, *engine_, 0, kMenuBarHeight, 0, kToolBarHeight);
  bar->SetAlign(TAlign::alTop);
  int x = 4;
  auto button = [&](const char* caption, TDemoGlyph glyph, int width) {
    auto* b = Place<TTeThemeSpeedButton>(*bar, *engine_, x, 8, width, 24);
    b->SetCaption(caption);
    b->SetFlat(true);
    if (glyph != TDemoGlyph::none) b->SetGlyph(DemoGlyph(glyph).get());
    x += width + 2;
    return b;
  };
  button("Back", TDemoGlyph::left, 64);
  button("Forward", TDemoGlyph::right, 78);
  auto* divider = TComponent::Create<TTeSpeedDivider>(this);
  divider->SetParent(bar);
  divider->SetBounds(x, 8, 8, 24);
  x += 10;
  TTeThemeSpeedButton* bold = button("Bold", TDemoGlyph::square, 60);
  bold->SetGroupIndex(1);
  bold->SetAllowAllUp(true);
  bold->SetDown(true);
  TTeThemeSpeedButton* raised = button("Raised", TDemoGlyph::none, 64);
  raised->SetFlat(false);
  TTeThemeSpeedButton* more = button("More", TDemoGlyph::dot, 76);
  more->SetShowChevron(true);
  more->SetChevronMenu(BuildChevronMenu());
}

TTeThemePopupMenu* TFrmControls::BuildChevronMenu() {
  auto* menu = TComponent::Create<TTeThemePopupMenu>(this);
  menu->SetThemeEngine(engine_);
  TTeCustomItem& root = *menu->Items();
  MenuItem(root, "&Open");
  MenuItem(root, "-");
  MenuItem(root, "&Word wrap")->SetChecked(true);
  MenuItem(root, "&Print")->SetEnabled(false);
  TTeCustomItem* zoom = MenuItem(root, "&Zoom");
  MenuItem(*zoom, "&Larger");
  MenuItem(*zoom, "&Smaller");
  return menu;
}

void TFrmControls::BuildMenuBar() {
  auto* bar = Place<TTeThemeMenuBar>(*this, *engine_, 0, 0, 0, kMenuBarHeight);
  bar->SetAlign(TAlign::alTop);
  TTeCustomItem& root = *bar->Items();
  TTeCustomItem* file = MenuItem(root, "&File");
  MenuItem(*file, "&Open...")->SetShortCut(kscCtrl | 'O');
  MenuItem(*file, "-");
  MenuItem(*file, "E&xit")->OnClick = [this](TTeCustomItem*) { Close(); };
  TTeCustomItem* view = MenuItem(root, "&View");
  MenuItem(*view, "&Status bar")->SetChecked(true);
  MenuItem(*view, "&Full screen")->SetEnabled(false);
  TTeCustomItem* help = MenuItem(root, "&Help");
  MenuItem(*help, "&About");
  if (auto* frame = dynamic_cast<TTeThemeForm*>(FindComponent("TeThemeForm1"))) frame->SetMenuBar(bar);
}

TTeCustomItem* TFrmControls::MenuItem(TTeCustomItem& parent, const char* caption) {
  auto owned = std::make_unique<TTeThemeItem>(nullptr);
  TTeCustomItem* item = owned.get();
  item->SetCaption(caption);
  item->OnClick = [this](TTeCustomItem* clicked) { status_->Panels()->Items(0)->SetText(clicked->Caption()); };
  parent.Add(owned.release());
  return item;
}

void TFrmControls::BuildTree() {
  auto* tree = Place<TTeThemeSTreeView>(*this, *engine_, 0, 0, 190, 0);
  tree->SetAlign(TAlign::alLeft);
  for (const char* part : {"Getting started", "Controls", "Styles"}) {
    TTreeNode* node = tree->Items()->Add(part);
    for (int i = 1; i <= 8; ++i) tree->Items()->AddChild(node, std::string(part) + " " + std::to_string(i));
    node->Expand(false);
  }
  auto* splitter = Place<TTeThemeSplitter>(*this, *engine_, 190, 0, 5, 0);
  splitter->SetAlign(TAlign::alLeft);
  splitter->SetMinSize(80);
}

void TFrmControls::BuildOptions() {
  const int left = 210;
  auto* box = Place<TTeThemeGroupBox>(*this, *engine_, left, kTop, 250, 130);
  box->SetCaption("Options");
  box->SetUseCheckBox(true);
  box->SetChecked(true);
  auto* wrap = Place<TTeThemeCheckBox>(*box, *engine_, 12, 24, 200, 20);
  wrap->SetCaption("Word wrap");
  wrap->SetChecked(true);
  auto* grayed = Place<TTeThemeCheckBox>(*box, *engine_, 12, 48, 200, 20);
  grayed->SetCaption("Show hidden topics");
  grayed->SetAllowGrayed(true);
  grayed->SetState(cbGrayed);
  auto* small = Place<TTeThemeRadioButton>(*box, *engine_, 12, 76, 100, 20);
  small->SetCaption("Small");
  small->SetChecked(true);
  auto* large = Place<TTeThemeRadioButton>(*box, *engine_, 120, 76, 100, 20);
  large->SetCaption("Large");
  auto* off = Place<TTeThemeCheckBox>(*box, *engine_, 12, 100, 200, 20);
  off->SetCaption("Disabled");
  off->SetEnabled(false);

  auto* group = Place<TTeThemeRadioGroup>(*this, *engine_, left + 270, kTop, 200, 130);
  group->SetCaption("Page size");
  for (const char* size : {"A4", "Letter", "Legal", "A5"}) group->Items()->Add(size);
  group->SetColumns(2);
  group->SetItemIndex(1);
}

void TFrmControls::BuildScrollBars() {
  const int left = 210, top = kTop + 150;
  auto* horizontal = Place<TTeThemeScrollBar>(*this, *engine_, left, top, 300, 17);
  horizontal->SetKind(sbHorizontal);
  horizontal->SetPageSize(20);
  horizontal->OnChange = [this, horizontal](TObject*) { ShowPosition(horizontal->Position()); };
  auto* vertical = Place<TTeThemeScrollBar>(*this, *engine_, left + 320, top, 17, 140);
  vertical->SetKind(sbVertical);
  vertical->SetPageSize(30);
  vertical->SetPosition(40);
  auto* off = Place<TTeThemeScrollBar>(*this, *engine_, left, top + 30, 300, 17);
  off->SetKind(sbHorizontal);
  off->SetEnabled(false);
}

void TFrmControls::BuildEdits() {
  const int left = 210, top = kTop + 220;
  auto* nameLabel = PlacePlain<TTeCustomLabel>(*this, left, top + 3, 70, 17);
  nameLabel->SetCaption("&Name:");
  edit_ = PlainEdit(left + 75, top, 200);
  edit_->SetName("Edit1");
  edit_->SetEditText(u"Type here");
  nameLabel->SetFocusControl(edit_);

  auto* passwordLabel = PlacePlain<TTeCustomLabel>(*this, left, top + 33, 70, 17);
  passwordLabel->SetCaption("&Password:");
  auto* password = PlainEdit(left + 75, top + 30, 200);
  password->SetPasswordKind(pkCircle);
  password->SetEditText(u"secret");
  passwordLabel->SetFocusControl(password);

  auto* countLabel = PlacePlain<TTeCustomLabel>(*this, left, top + 63, 70, 17);
  countLabel->SetCaption("&Copies:");
  auto* count = PlainEdit(left + 75, top + 60, 60);
  auto* spin = Place<TTeThemeSpinButton>(*this, *engine_, left + 135, top + 60, 17, 21);
  spin->SetMin(1);
  spin->SetMax(99);
  spin->SetAssociate(count);
  spin->SetPosition(1);
  countLabel->SetFocusControl(count);
}

// One push button of each kind, OK the default and Cancel the cancel one.
void TFrmControls::BuildPushButtons() {
  struct TKindButton {
    TBitBtnKind kind;
    const char* caption;
  };
  constexpr TKindButton kButtons[] = {{bkOK, "OK"},       {bkCancel, "Cancel"}, {bkHelp, "&Help"},
                                      {bkYes, "&Yes"},    {bkNo, "&No"},        {bkClose, "&Close"},
                                      {bkAbort, "&Abort"}, {bkRetry, "&Retry"},  {bkIgnore, "&Ignore"},
                                      {bkAll, "A&ll"},    {bkCustom, "&Print"}};
  const int left = 556, top = kTop + 150;
  int i = 0;
  for (const TKindButton& kind : kButtons) {
    auto* button = PlacePlain<TTeCustomButton>(*this, left + (i % 2) * 116, top + (i / 2) * 34, 110, 28);
    button->SetKind(kind.kind);
    button->SetCaption(kind.caption);
    button->OnClick = [this, caption = std::string(kind.caption)](TObject*) {
      status_->Panels()->Items(0)->SetText(caption);
    };
    ++i;
  }
}

TTeCustomEdit* TFrmControls::PlainEdit(int left, int top, int width) {
  return PlacePlain<TTeCustomEdit>(*this, left, top, width, 21);
}

void TFrmControls::BuildSwitcher() {
  switcher_ = TComponent::Create<TTeSwitcherComboBox>(this);
  switcher_->SetParent(this);
  switcher_->SetBounds(210, kTop + 340, 200, 200);
  switcher_->SetThemeEngine(engine_);
  switcher_->OnChange = [this](TObject*) { ShowStyle(); };
  ShowStyle();
}

void TFrmControls::ShowPosition(int position) {
  status_->Panels()->Items(2)->SetText("Position " + std::to_string(position));
}

}  // namespace hv
