// The menu bar on a real form: its items' row and its pixels, the keyboard
// menu loop entered by Alt+letter, the frame's keyboard menu and the arrow
// keys, the mouse tracking across the bar while a popup is open, the click
// after the menus have closed, and the form's short cuts reaching the bar.
// Input comes as real messages to the form and real mouse input; a timer
// script plays each test's steps from inside the running menu loop.

#include <gtest/gtest.h>
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "framework/application.h"
#include "framework/forms.h"
#include "tests/support/win_test.h"
#include "tests/theme/frame/menu_script.h"
#include "theme/core/visualstyles.h"
#include "theme/frame/menubar.h"
#include "theme/frame/menuresources.h"
#include "theme/frame/themeform.h"

namespace hv {
namespace {

class MenuBarTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { StartMenus(); }

  void SetUp() override {
    SetCursorPos(0, 0);
    owner = std::make_unique<TForm>(nullptr);
    owner->SetBounds(100, 100, 420, 260);
    owner->SetCaption("Owner");
    // A handler the form had before its frame: keys the bar does not take reach it.
    owner->OnShortCut = [this](TMessage& message, bool& handled) {
      formKeys.push_back(static_cast<unsigned>(message.WParam));
      handled = message.WParam == VK_F7;
    };
    bar = TComponent::Create<TTeCustomMenuBar>(owner.get());
    bar->SetParent(owner.get());
    bar->SetAlign(TAlign::alTop);
    frame = TComponent::Create<TTeCustomForm>(owner.get());
    frame->SetMinimizeApplication(false);
    frame->SetMenuBar(bar);
    TTeCustomItem* root = bar->Items();
    file = Add(root, "&File");
    open = Add(file, "&Open");
    open->SetShortCut(kscCtrl | 'O');
    Add(file, "-");
    exit = Add(file, "E&xit");
    exit->SetShortCut(kscAlt | 'X');
    edit = Add(root, "&Edit");
    undo = Add(edit, "&Undo");
    view = Add(root, "&View");
    Add(view, "&Zoom");
    help = Add(root, "&Help");
    Add(help, "&About");
    for (TTeCustomItem* item : {open, exit, undo})
      item->OnClick = [this](TTeCustomItem* sender) {
        clicked.push_back(sender->Caption());
        levelsAtClick = Levels();
      };
    owner->HandleNeeded();
    bar->Loaded();
    frame->Loaded();
    owner->Show();
    SetForegroundWindow(owner->Handle());
    SetActiveWindow(owner->Handle());
    SetFocus(owner->Handle());
    test::PumpMessages();
  }
  void TearDown() override {
    test::PumpMessages();
    owner.reset();
    test::PumpMessages();
  }

  static TTeCustomItem* Add(TTeCustomItem* parent, const std::string& caption) {
    auto* item = new TTeCustomItem(nullptr);
    item->SetCaption(caption);
    parent->Add(item);
    return item;
  }
  // Each level open right now: the bar's hot item first, then every popup's
  // root and hot item.
  static std::string Open() {
    std::string text;
    for (TTeItemView* level : TTeItemView::OpenViews()) {
      if (!text.empty()) text += " > ";
      if (level->Horizontal())
        text += "bar:" + HotCaption(level);
      else
        text += level->Root()->Caption() + ":" + HotCaption(level);
    }
    return text.empty() ? "closed" : text;
  }
  void Key(unsigned key) { PostMessageW(owner->Handle(), WM_KEYDOWN, key, 0); }
  POINT BarPoint(TTeCustomItem* item) const {
    POINT p{(item->ItemRect().left + item->ItemRect().right) / 2, (item->ItemRect().top + item->ItemRect().bottom) / 2};
    ClientToScreen(bar->Handle(), &p);
    return p;
  }

  std::unique_ptr<TForm> owner;
  TTeCustomMenuBar* bar = nullptr;
  TTeCustomForm* frame = nullptr;
  TTeCustomItem *file = nullptr, *open = nullptr, *exit = nullptr, *edit = nullptr, *undo = nullptr,
                *view = nullptr, *help = nullptr;
  std::vector<std::string> clicked;
  std::vector<unsigned> formKeys;
  int levelsAtClick = -1;
};

TEST_F(MenuBarTest, ItemsLieInARowThatWrapsAndMirrorsAndTheBarTakesTheirHeight) {
  const TRect f = file->ItemRect(), e = edit->ItemRect(), h = help->ItemRect();
  EXPECT_EQ(f.left, 0);
  EXPECT_EQ(f.top, 0);
  EXPECT_EQ(e.left, f.right) << "one after the other";
  EXPECT_EQ(e.top, 0);
  EXPECT_EQ(h.bottom, f.bottom);
  EXPECT_GT(f.Width(), 12) << "caption width plus 12";
  EXPECT_EQ(bar->Width(), owner->ClientWidth());
  EXPECT_EQ(bar->Height(), f.Height() + 2) << "the items' height and the bevel's room";

  // Narrower than its row: the items wrap onto a second row and the bar grows.
  bar->SetAlign(TAlign::alNone);
  bar->SetBounds(0, 0, h.left, bar->Height());
  EXPECT_EQ(help->ItemRect().left, 0);
  EXPECT_EQ(help->ItemRect().top, f.bottom);
  EXPECT_EQ(bar->Height(), 2 * f.Height()) << "two rows, and no bevel's room off the top";
  bar->SetBounds(0, 0, 400, bar->Height());
  EXPECT_EQ(help->ItemRect().top, 0);
  EXPECT_EQ(bar->Height(), f.Height()) << "back on one row";
  bar->SetAlign(TAlign::alTop);

  // Right to left: the row starts at the bar's right end.
  bar->SetBiDiMode(TBiDiMode::bdRightToLeft);
  EXPECT_EQ(file->ItemRect().right, bar->ClientWidth());
  EXPECT_EQ(edit->ItemRect().right, file->ItemRect().left);
  EXPECT_TRUE(file->RightToLeft());
  bar->SetBiDiMode(TBiDiMode::bdLeftToRight);
  EXPECT_EQ(file->ItemRect().left, 0);
}

TEST_F(MenuBarTest, TheBarPaintsItsBackgroundBevelAndHotItemAtKnownPoints) {
  bar->SetShowBevel(true);
  HWND wnd = bar->Handle();
  const TRect f = file->ItemRect();
  const int right = bar->ClientWidth() - 2;
  EXPECT_EQ(test::ClientPixel(wnd, right, 3), SysRGB(COLOR_MENU)) << "the bar's colour beyond the items";
  const int bottom = bar->ClientHeight();
  if (VisualStylesActive()) {
    EXPECT_EQ(test::ClientPixel(wnd, right, bottom - 1), SysRGB(COLOR_HIGHLIGHT));
  } else {
    EXPECT_EQ(test::ClientPixel(wnd, right, bottom - 2), SysRGB(COLOR_BTNSHADOW)) << "etched line";
    EXPECT_EQ(test::ClientPixel(wnd, right, bottom - 1), SysRGB(COLOR_BTNHIGHLIGHT));
  }
  EXPECT_EQ(test::ClientPixel(wnd, f.left, f.top), SysRGB(COLOR_MENU)) << "not hot: no frame";

  // The mouse over an item makes it hot: a raised frame (a filled highlight with visual styles).
  const POINT p = BarPoint(file);
  MoveMouse(p.x, p.y);
  test::PumpMessages();
  ASSERT_EQ(bar->View()->HotItem(), file);
  if (VisualStylesActive()) {
    EXPECT_EQ(test::ClientPixel(wnd, f.left + 1, f.top + 1), SysRGB(COLOR_HIGHLIGHT));
  } else {
    EXPECT_EQ(test::ClientPixel(wnd, f.left, f.top), SysRGB(COLOR_BTNHIGHLIGHT));
    EXPECT_EQ(test::ClientPixel(wnd, f.right - 1, f.bottom - 1), SysRGB(COLOR_BTNSHADOW));
  }
  EXPECT_EQ(test::ClientPixel(wnd, edit->ItemRect().left + 1, edit->ItemRect().top), SysRGB(COLOR_MENU));
  MoveMouse(0, 0);
}

TEST_F(MenuBarTest, TheKeyboardLoopMovesAcrossTheBarAndEscapeBacksOutOneLevelAtATime) {
  std::vector<std::string> seen;
  auto note = [&] { seen.push_back(Open()); };
  {
    TScript script({[&] { note(); Key(VK_RIGHT); },
                    [&] { note(); Key(VK_DOWN); },
                    [&] { note(); Key(VK_RIGHT); },
                    [&] { note(); Key(VK_LEFT); },
                    [&] { note(); Key(VK_LEFT); },
                    [&] { note(); Key(VK_ESCAPE); },
                    [&] { note(); Key(VK_LEFT); },
                    [&] { note(); Key(VK_ESCAPE); }});
    // F10 and a lone Alt come to the frame as the keyboard menu command.
    SendMessageW(owner->Handle(), WM_SYSCOMMAND, SC_KEYMENU, 0);
  }
  EXPECT_EQ(seen, (std::vector<std::string>{"bar:&File", "bar:&Edit", "bar:&Edit > &Edit:&Undo",
                                            "bar:&View > &View:&Zoom", "bar:&Edit > &Edit:&Undo",
                                            "bar:&File > &File:&Open", "bar:&File", "bar:&Help"}))
      << "Right and Left from a popup open the next bar item's; Escape closes the popup, then the bar";
  EXPECT_EQ(Open(), "closed");
  EXPECT_EQ(GetCapture(), nullptr);
  EXPECT_TRUE(clicked.empty());
}

TEST_F(MenuBarTest, AltAndALetterOpensThatItemsPopup) {
  std::string byDialogChar, byKeyMenu;
  {
    TScript script({[&] { byDialogChar = Open(); }});
    // Alt+E as the window gets it: the form offers the character to its controls first.
    PostMessageW(owner->Handle(), WM_SYSCHAR, 'e', 1 << 29);
    Application()->ProcessMessages();
  }
  EXPECT_EQ(byDialogChar, "bar:&Edit > &Edit:&Undo");
  EXPECT_EQ(Open(), "closed");
  {
    TScript script({[&] { byKeyMenu = Open(); }});
    // Alt+H that reached the frame as the keyboard menu command.
    SendMessageW(owner->Handle(), WM_SYSCOMMAND, SC_KEYMENU, 'h');
  }
  EXPECT_EQ(byKeyMenu, "bar:&Help > &Help:&About");

  // Without Alt, or with a letter no item has, the key is not the bar's.
  TMessage plain{CM_DIALOGCHAR, 'e', 0, 0};
  EXPECT_EQ(bar->Perform(plain.Msg, plain.WParam, plain.LParam), 0);
  EXPECT_EQ(bar->Perform(CM_DIALOGCHAR, 'q', 1 << 29), 0);
  EXPECT_EQ(Open(), "closed");
}

TEST_F(MenuBarTest, AChosenItemsClickRunsAfterTheMenusHaveClosed) {
  {
    // Down opens File on Open, Down again goes past the separator.
    TScript script({[&] { Key(VK_DOWN); }, [&] { Key(VK_DOWN); }, [&] { Key(VK_RETURN); }});
    bar->EnterMenuLoop();
  }
  EXPECT_TRUE(clicked.empty()) << "the click waits in the dispatcher";
  Application()->ProcessMessages();
  EXPECT_EQ(clicked, (std::vector<std::string>{"E&xit"})) << "the separator was skipped";
  EXPECT_EQ(levelsAtClick, 0);
  EXPECT_EQ(bar->View()->HotItem(), nullptr) << "nothing stays hot with the mouse away";
}

TEST_F(MenuBarTest, TheMouseOpensAnItemTracksAcrossTheBarAndAClickOutsideCloses) {
  std::vector<std::string> seen;
  const POINT f = BarPoint(file), v = BarPoint(view);
  {
    TScript script({[&] {
                      seen.push_back(Open());
                      MoveMouse(v.x, v.y);
                    },
                    [&] {
                      seen.push_back(Open());
                      // Far from the bar and from every popup.
                      RECT r{};
                      GetWindowRect(owner->Handle(), &r);
                      ClickMouse(r.right - 20, r.bottom - 20);
                    },
                    [&] { seen.push_back(Open()); }},
                   60);
    ClickMouse(f.x, f.y);
    // The press reaches the bar through the application's loop, which the
    // menu loop then runs inside of.
    for (int i = 0; i < 50 && seen.size() < 3; ++i) {
      Application()->ProcessMessages();
      Sleep(20);
    }
  }
  ASSERT_EQ(seen.size(), 3u);
  EXPECT_EQ(seen[0], "bar:&File > &File:&Open");
  EXPECT_EQ(seen[1], "bar:&View > &View:&Zoom") << "the open popup follows the mouse across the bar";
  EXPECT_EQ(seen[2], "closed");
  EXPECT_EQ(GetActiveWindow(), owner->Handle());
  MoveMouse(0, 0);
}

TEST_F(MenuBarTest, TheFormsShortCutsReachTheBarBeforeItsOwnHandler) {
  BYTE keys[256] = {};
  GetKeyboardState(keys);
  keys[VK_CONTROL] = 0x80;
  SetKeyboardState(keys);
  PostMessageW(owner->Handle(), WM_KEYDOWN, 'O', 0);
  Application()->ProcessMessages();
  keys[VK_CONTROL] = 0;
  SetKeyboardState(keys);
  EXPECT_EQ(clicked, (std::vector<std::string>{"&Open"}));
  EXPECT_TRUE(formKeys.empty()) << "the bar took Ctrl+O";

  // Alt+X comes as a system key with the Alt bit in the key data.
  PostMessageW(owner->Handle(), WM_SYSKEYDOWN, 'X', 1 << 29);
  Application()->ProcessMessages();
  EXPECT_EQ(clicked, (std::vector<std::string>{"&Open", "E&xit"}));

  // A key the bar has no item for goes on to the form's earlier handler.
  PostMessageW(owner->Handle(), WM_KEYDOWN, VK_F7, 0);
  PostMessageW(owner->Handle(), WM_KEYDOWN, 'O', 0);
  Application()->ProcessMessages();
  EXPECT_EQ(formKeys, (std::vector<unsigned>{VK_F7, 'O'})) << "O without Ctrl is no short cut";
  EXPECT_EQ(clicked.size(), 2u);

  // A disabled item's short cut does nothing, and the bar reports it found one.
  open->SetEnabled(false);
  TMessage ctrlO{WM_KEYDOWN, 'O', 0, 0};
  keys[VK_CONTROL] = 0x80;
  SetKeyboardState(keys);
  EXPECT_TRUE(bar->IsShortCut(ctrlO));
  keys[VK_CONTROL] = 0;
  SetKeyboardState(keys);
  Application()->ProcessMessages();
  EXPECT_EQ(clicked.size(), 2u);

  // Without the frame the form's own handler is back.
  frame->Free();
  EXPECT_EQ(owner->OnShortCut.Name(), "");
  PostMessageW(owner->Handle(), WM_KEYDOWN, 'P', 0);
  Application()->ProcessMessages();
  EXPECT_EQ(formKeys.back(), static_cast<unsigned>('P'));
}

// The MDI parent's bar and its buttons are checked with the MDI frame tests,
// where the parent can be the application's main form.
TEST_F(MenuBarTest, ABarOnAFormThatIsNoMdiParentHasNoChildsButtons) {
  for (TTeItemButtonKind kind : {kibSystemMenu, kibMinimize, kibRestore, kibClose})
    EXPECT_EQ(bar->MdiButton(kind), nullptr);
  const int count = bar->Items()->Count();
  bar->ShowMDIButtons(frame);
  EXPECT_EQ(bar->Items()->Count(), count) << "asking to show them adds none";
  EXPECT_EQ(edit->ItemRect().left, file->ItemRect().right);
}

}  // namespace
}  // namespace hv
