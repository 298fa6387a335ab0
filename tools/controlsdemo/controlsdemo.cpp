// ControlsDemo: one window that holds every themed control of the family,
// linked to one engine, with a style switcher that repaints the whole window
// in any of the registered styles while it runs.
//
//   ControlsDemo.exe                   shows the window
//   ControlsDemo.exe --shots <folder>  writes "ControlsDemo <style>.bmp" of
//                                      the window in every available style
//                                      into the folder, then exits

#include <windows.h>
// After windows.h, which it needs.
#include <shellapi.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "framework/application.h"
#include "framework/classes.h"
#include "framework/filestream.h"
#include "framework/forms.h"
#include "framework/graphics.h"
#include "framework/winstring.h"
#include "theme/controls/checkbox.h"
#include "theme/controls/groupbox.h"
#include "theme/controls/radiobutton.h"
#include "theme/controls/radiogroup.h"
#include "theme/controls/scrollbar.h"
#include "theme/controls/speedbutton.h"
#include "theme/controls/splitter.h"
#include "theme/controls/statusbar.h"
#include "theme/controls/themetreeview.h"
#include "theme/core/switcher.h"
#include "theme/core/themeengine.h"
#include "theme/core/themelibrary.h"
#include "theme/frame/frameresources.h"
#include "theme/frame/menuresources.h"
#include "theme/frame/popupmenu.h"
#include "theme/frame/themeform.h"
#include "theme/frame/themeitem.h"
#include "theme/styles/allstyles.h"
#include "tools/controlsdemo/demoglyphs.h"

namespace hv {
namespace {

constexpr int kToolBarHeight = 32;

// Every control is owned by the form, whatever window it sits on.
template <class T>
T* Place(TWinControl& parent, TTeThemeEngine& engine, int left, int top, int width, int height) {
  TComponent* form = &parent;
  while (form && !dynamic_cast<TCustomForm*>(form)) form = form->Owner();
  T* control = TComponent::Create<T>(form);
  control->SetParent(&parent);
  control->SetThemeEngine(&engine);
  control->SetBounds(left, top, width, height);
  return control;
}

class TFrmControls : public TForm {
  HV_CLASS_NO_PROPERTIES(TFrmControls, TForm)

 public:
  explicit TFrmControls(TComponent* owner) : TForm(owner) {
    engine_ = TComponent::Create<TTeThemeEngine>(this);
    engine_->SelectThemeClass(FindThemeClass("MetalLuna"));
    auto* frame = TComponent::Create<TTeThemeForm>(this);
    frame->SetBorderIcons({kbiClose, kbiMinimize, kbiMaximize, kbiSystemMenu});
    frame->SetThemeEngine(engine_);
    BuildStatusBar();
    BuildToolBar();
    BuildTree();
    BuildOptions();
    BuildScrollBars();
    BuildSwitcher();
  }

  TTeThemeEngine& Engine() const { return *engine_; }

 private:
  void BuildStatusBar() {
    status_ = Place<TTeThemeStatusBar>(*this, *engine_, 0, 0, 0, 22);
    status_->SetAlign(TAlign::alBottom);
    status_->Panels()->Add()->SetText("Ready");
    TTeStatusPanel* style = status_->Panels()->Add();
    style->SetWidth(140);
    style->SetStretchPriority(100);
    status_->Panels()->Add()->SetWidth(110);
    ShowPosition(0);
  }

  void BuildToolBar() {
    auto* bar = TComponent::Create<TTeSpeedContainer>(this);
    bar->SetParent(this);
    bar->SetAlign(TAlign::alTop);
    bar->SetHeight(kToolBarHeight);
    int x = 4;
    auto button = [&](const char* caption, TDemoGlyph glyph, int width) {
      auto* b = Place<TTeThemeSpeedButton>(*bar, *engine_, x, 3, width, 26);
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
    divider->SetBounds(x, 3, 8, 26);
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

  TTeThemePopupMenu* BuildChevronMenu() {
    auto* menu = TComponent::Create<TTeThemePopupMenu>(this);
    menu->SetThemeEngine(engine_);
    auto item = [&](TTeCustomItem& parent, const char* caption) {
      auto owned = std::make_unique<TTeThemeItem>(nullptr);
      TTeCustomItem* raw = owned.get();
      raw->SetCaption(caption);
      raw->OnClick = [this](TTeCustomItem* clicked) { status_->Panels()->Items(0)->SetText(clicked->Caption()); };
      parent.Add(owned.release());
      return raw;
    };
    TTeCustomItem& root = *menu->Items();
    item(root, "&Open");
    item(root, "-");
    item(root, "&Word wrap")->SetChecked(true);
    item(root, "&Print")->SetEnabled(false);
    TTeCustomItem* zoom = item(root, "&Zoom");
    item(*zoom, "&Larger");
    item(*zoom, "&Smaller");
    return menu;
  }

  void BuildTree() {
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

  void BuildOptions() {
    const int left = 210;
    auto* box = Place<TTeThemeGroupBox>(*this, *engine_, left, kToolBarHeight + 10, 250, 130);
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

    auto* group = Place<TTeThemeRadioGroup>(*this, *engine_, left + 270, kToolBarHeight + 10, 200, 130);
    group->SetCaption("Page size");
    for (const char* size : {"A4", "Letter", "Legal", "A5"}) group->Items()->Add(size);
    group->SetColumns(2);
    group->SetItemIndex(1);
  }

  void BuildScrollBars() {
    const int left = 210, top = kToolBarHeight + 160;
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

  void BuildSwitcher() {
    switcher_ = TComponent::Create<TTeSwitcherComboBox>(this);
    switcher_->SetParent(this);
    switcher_->SetBounds(210, kToolBarHeight + 350, 200, 200);
    switcher_->SetThemeEngine(engine_);
    switcher_->OnChange = [this](TObject*) { ShowStyle(); };
    ShowStyle();
  }

  void ShowStyle() {
    if (TTeTheme* theme = engine_->Theme()) status_->Panels()->Items(1)->SetText(theme->ThemeClass()->GetName());
  }

  void ShowPosition(int position) {
    status_->Panels()->Items(2)->SetText("Position " + std::to_string(position));
  }

  TTeThemeEngine* engine_ = nullptr;
  TTeThemeStatusBar* status_ = nullptr;
  TTeSwitcherComboBox* switcher_ = nullptr;
};

void Pump() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

// The window as the screen shows it, frame included.
void SaveWindowShot(HWND wnd, const std::string& path) {
  RECT r{};
  GetWindowRect(wnd, &r);
  TBitmap shot(r.right - r.left, r.bottom - r.top, pf24bit);
  HDC screen = GetDC(nullptr);
  BitBlt(shot.Canvas()->Handle(), 0, 0, r.right - r.left, r.bottom - r.top, screen, r.left, r.top, SRCCOPY);
  ReleaseDC(nullptr, screen);
  TFileStream file(path, TFileMode::fmCreate);
  shot.SaveToStream(file);
}

int WriteShots(TFrmControls& form, const std::string& folder) {
  form.Show();
  SetForegroundWindow(form.Handle());
  for (int i = 0; i < ThemeClassCount(); ++i) {
    TTeThemeClass style = ThemeClasses(i);
    if (!style->IsThemeAvailable()) continue;
    form.Engine().SelectThemeClass(style);
    Pump();
    RedrawWindow(form.Handle(), nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_UPDATENOW | RDW_ALLCHILDREN);
    Pump();
    const std::string path = folder + "\\ControlsDemo " + style->GetName() + ".bmp";
    SaveWindowShot(form.Handle(), path);
    std::printf("%s\n", path.c_str());
  }
  return 0;
}

}  // namespace
}  // namespace hv

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  using namespace hv;
  int result = 0;
  StartThemeLibrary({.registerClasses = &RegisterFrameClasses,
                     .registerStyles = &RegisterAllStyles,
                     .freeSharedObjects = &FreeFrameResources});
  int argc = 0;
  LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  const bool shots = argv && argc >= 3 && std::wstring(argv[1]) == L"--shots";
  const std::string folder = shots ? Narrow(argv[2]) : std::string();
  LocalFree(argv);
  try {
    Application()->Initialize();
    // Without a user to close a message box, a fault is written out.
    if (shots)
      Application()->OnException = [&result](TObject*, const std::exception& e) {
        result = 1;
        std::fprintf(stderr, "ControlsDemo: %s\n", e.what());
      };
    RegisterClasses<TFrmControls>();
    TFrmControls* form = Application()->CreateForm<TFrmControls>();
    if (shots)
      result = std::max(result, WriteShots(*form, folder));
    else
      Application()->Run();
  } catch (...) {
    Application()->HandleException(nullptr);
    result = 1;
  }
  FinalizeApplication();
  FinishThemeLibrary();
  return result;
}
