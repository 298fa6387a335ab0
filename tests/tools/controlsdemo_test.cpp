// The controls demonstration's window in this process: two thousand rounds
// of typing, selecting, opening the edit box's context menu and switching
// styles leave no GDI or USER object behind.

#include <gtest/gtest.h>
#include <windows.h>

#include <memory>

#include "framework/application.h"
#include "framework/classes.h"
#include "tests/support/gui_objects.h"
#include "tests/support/win_test.h"
#include "theme/controls/edit.h"
#include "theme/core/switcher.h"
#include "theme/core/theme.h"
#include "theme/core/themeengine.h"
#include "theme/core/themelibrary.h"
#include "theme/frame/frameresources.h"
#include "theme/frame/menuresources.h"
#include "theme/frame/popupmenu.h"
#include "theme/frame/popupwindow.h"
#include "theme/frame/themeform.h"
#include "theme/styles/allstyles.h"
#include "tools/controlsdemo/frmcontrols.h"

namespace hv {
namespace {

class ControlsDemoTest : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    if (!ThemeLibraryStarted())
      StartThemeLibrary({.registerClasses = &RegisterFrameClasses,
                         .registerStyles = &RegisterAllStyles,
                         .freeSharedObjects = &FreeFrameResources});
    RegisterClasses<TFrmControls, TTeThemeEngine, TTeThemeForm>();
  }
  void SetUp() override {
    form_ = TComponent::Create<TFrmControls>(nullptr);
    form_->LoadFromLayout();
    form_->Show();
    SetForegroundWindow(form_->Handle());
    test::PumpMessages();
  }
  void TearDown() override {
    if (form_) form_->Free();
    test::PumpMessages();
  }

  // With Shift or Ctrl held as the thread's keyboard state says.
  void Key(WORD key, bool shift, bool ctrl) {
    BYTE state[256] = {};
    GetKeyboardState(state);
    BYTE saved[256];
    std::copy(std::begin(state), std::end(state), std::begin(saved));
    state[VK_SHIFT] = shift ? 0x80 : 0;
    state[VK_CONTROL] = ctrl ? 0x80 : 0;
    SetKeyboardState(state);
    SendMessageW(form_->Edit()->Handle(), WM_KEYDOWN, key, 1);
    SendMessageW(form_->Edit()->Handle(), WM_KEYUP, key, static_cast<LPARAM>(0xC0000001u));
    SetKeyboardState(saved);
  }

  TFrmControls* form_ = nullptr;
};

TEST_F(ControlsDemoTest, TheLayoutGivesTheWindowItsEngineAndEveryControl) {
  EXPECT_EQ(form_->Engine().Theme()->ThemeClass()->GetName(), "MetalLuna");
  ASSERT_NE(form_->Edit(), nullptr);
  EXPECT_EQ(form_->Edit()->EditText(), u"Type here");
  ASSERT_NE(form_->Switcher(), nullptr);
  EXPECT_EQ(form_->Switcher()->ItemCount(), ThemeClassCount());
  EXPECT_EQ(form_->Switcher()->ItemThemeClass(form_->Switcher()->ItemIndex()), FindThemeClass("MetalLuna"));
}

TEST_F(ControlsDemoTest, TwoThousandRoundsOfTypingMenusAndStylesLeaveNoObjectsBehind) {
  ASSERT_TRUE(test::InstallGuiObjectCounter());
  TTeCustomEdit* edit = form_->Edit();
  HWND owner = form_->Handle();
  auto round = [&](int i) {
    edit->SetFocus();
    SendMessageW(edit->Handle(), WM_CHAR, i % 2 ? u'\u4E16' : u'a', 1);
    Key(VK_LEFT, true, false);
    Key(VK_HOME, true, true);
    Key(VK_END, false, false);
    if (edit->EditText().size() > 40) edit->SetEditText(u"Type here");
    if (i % 10 == 0) {
      // The menu's loop reads the Escape that waits for it and closes.
      PostMessageW(owner, WM_KEYDOWN, VK_ESCAPE, 0);
      RECT r{};
      GetWindowRect(edit->Handle(), &r);
      SendMessageW(edit->Handle(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(edit->Handle()),
                   MAKELPARAM(r.left + 5, r.top + 5));
    }
    if (i % 40 == 0) {
      TTeThemeClass next = ThemeClasses((i / 40) % ThemeClassCount());
      if (next->IsThemeAvailable()) form_->Engine().SelectThemeClass(next);
    }
    test::PumpMessages();
  };
  // The shared objects (fonts, the menu's windows, each style once) come
  // into being in the first rounds.
  const long madeBefore = test::GuiObjectsMade();
  for (int i = 0; i < 400; ++i) round(i);
  form_->Engine().SelectThemeClass(FindThemeClass("MetalLuna"));
  test::PumpMessages();
  const test::TGuiObjectCounts before = test::LiveGuiObjects();
  for (int i = 0; i < 2000; ++i) round(i);
  form_->Engine().SelectThemeClass(FindThemeClass("MetalLuna"));
  test::PumpMessages();
  const test::TGuiObjectCounts after = test::LiveGuiObjects();
  EXPECT_GT(test::GuiObjectsMade(), madeBefore + 2000) << "the counter sees the window's objects";
  EXPECT_EQ(after, before) << "before: " << before.Describe() << "; after: " << after.Describe();
  EXPECT_EQ(test::FailedSelections(), 0);
  EXPECT_GT(IdlePopupWindows(), 0) << "the context menu opened, and its window waits for the next menu";
  EXPECT_EQ(TTeCustomPopupMenu::OpenMenu(), nullptr);
}

}  // namespace
}  // namespace hv
