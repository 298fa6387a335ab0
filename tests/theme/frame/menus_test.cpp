// Menus on real windows: a popup level opens where asked and stays on the
// work area, never takes the activation, follows the keyboard and the mouse
// across levels, runs a chosen item's click once the menus are gone, and
// closes safely when its items or its owner go while it shows. Input comes
// as real messages and real mouse input while the menu's own loop runs; a
// thread timer plays the steps of each test from inside that loop.

#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "framework/application.h"
#include "framework/forms.h"
#include "framework/graphics.h"
#include "framework/screen.h"
#include "tests/support/gui_objects.h"
#include "tests/support/win_test.h"
#include "theme/frame/itemview.h"
#include "theme/frame/menuresources.h"
#include "theme/frame/popupmenu.h"
#include "theme/frame/popupwindow.h"
#include "theme/frame/themeform.h"

namespace hv {
namespace {

unsigned ToRGB(COLORREF c) { return ((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF); }
unsigned SysRGB(int index) { return ToRGB(GetSysColor(index)); }

// Steps run one per timer tick from inside the menu loop; whatever happens,
// the menu is closed once the steps are done, so no test can hang.
class TScript {
 public:
  explicit TScript(std::vector<std::function<void()>> steps, unsigned interval = 40) : steps_(std::move(steps)) {
    current_ = this;
    timer_ = SetTimer(nullptr, 0, interval, &TScript::Tick);
  }
  ~TScript() {
    KillTimer(nullptr, timer_);
    current_ = nullptr;
  }
  int Done() const { return next_; }

 private:
  static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
    TScript* self = current_;
    if (!self || self->busy_) return;
    self->busy_ = true;
    if (self->next_ < static_cast<int>(self->steps_.size())) {
      auto step = self->steps_[static_cast<size_t>(self->next_++)];
      step();
    } else if (++self->idle_ > 3) {
      TTeCustomPopupMenu::CloseOpenMenus();
    }
    self->busy_ = false;
  }
  static inline TScript* current_ = nullptr;
  std::vector<std::function<void()>> steps_;
  UINT_PTR timer_ = 0;
  int next_ = 0;
  int idle_ = 0;
  bool busy_ = false;
};

int Levels() { return static_cast<int>(TTeItemView::OpenViews().size()); }
TTeItemView* Level(int index) { return TTeItemView::OpenViews().at(static_cast<size_t>(index)); }
TTeItemView* Deepest() { return TTeItemView::OpenViews().back(); }
RECT HostRect(TTeItemView* view) {
  RECT r{};
  GetWindowRect(view->HostHandle(), &r);
  return r;
}
std::string HotCaption(TTeItemView* view) { return view->HotItem() ? view->HotItem()->Caption() : std::string("-none-"); }

void MoveMouse(int x, int y) {
  SetCursorPos(x, y);
  INPUT input{};
  input.type = INPUT_MOUSE;
  input.mi.dx = (x * 65535) / (GetSystemMetrics(SM_CXSCREEN) - 1);
  input.mi.dy = (y * 65535) / (GetSystemMetrics(SM_CYSCREEN) - 1);
  input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
  SendInput(1, &input, sizeof(input));
}

void ClickMouse(int x, int y) {
  MoveMouse(x, y);
  INPUT input[2] = {};
  input[0].type = input[1].type = INPUT_MOUSE;
  input[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
  input[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
  SendInput(2, input, sizeof(INPUT));
}

// An item's rectangle on the screen.
RECT ItemScreenRect(TTeItemView* view, TTeCustomItem* item) {
  const TRect r = item->ItemRect();
  POINT p{0, 0};
  ClientToScreen(view->HostHandle(), &p);
  return {r.left + p.x, r.top + p.y, r.right + p.x, r.bottom + p.y};
}

class MenuTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { StartMenus(); }

  void SetUp() override {
    // The item under the mouse becomes hot when a menu opens: keep it away.
    SetCursorPos(0, 0);
    owner = std::make_unique<TForm>(nullptr);
    owner->SetBounds(100, 100, 320, 240);
    owner->SetCaption("Owner");
    frame = TComponent::Create<TTeCustomForm>(owner.get());
    frame->SetMinimizeApplication(false);
    owner->HandleNeeded();
    frame->Loaded();
    owner->Show();
    SetForegroundWindow(owner->Handle());
    SetActiveWindow(owner->Handle());
    test::PumpMessages();
    menu = TComponent::Create<TTeCustomPopupMenu>(owner.get());
    root = menu->Items();
  }
  void TearDown() override {
    test::PumpMessages();
    owner.reset();
    test::PumpMessages();
  }

  TTeCustomItem* Add(TTeCustomItem* parent, const std::string& caption) {
    auto* item = new TTeCustomItem(nullptr);
    item->SetCaption(caption);
    parent->Add(item);
    return item;
  }
  // A, -, B (disabled), C (C1, C2), D.
  void StandardItems() {
    a = Add(root, "&Alpha");
    Add(root, "-");
    b = Add(root, "&Bravo");
    b->SetEnabled(false);
    c = Add(root, "&Charlie");
    c1 = Add(c, "C&1");
    c2 = Add(c, "C&2");
    d = Add(root, "&Delta");
    for (TTeCustomItem* item : {a, b, c1, c2, d})
      item->OnClick = [this](TTeCustomItem* sender) {
        clicked.push_back(sender->Caption());
        levelsAtClick = Levels();
      };
  }
  void Key(unsigned key) { PostMessageW(owner->Handle(), WM_KEYDOWN, key, 0); }
  void Char(char ch) { PostMessageW(owner->Handle(), WM_CHAR, static_cast<WPARAM>(ch), 0); }

  std::unique_ptr<TForm> owner;
  TTeCustomForm* frame = nullptr;
  TTeCustomPopupMenu* menu = nullptr;
  TTeCustomItem* root = nullptr;
  TTeCustomItem *a = nullptr, *b = nullptr, *c = nullptr, *c1 = nullptr, *c2 = nullptr, *d = nullptr;
  std::vector<std::string> clicked;
  int levelsAtClick = -1;
};

TEST_F(MenuTest, APopupOpensWhereAskedAndFlipsAtTheWorkAreasEdges) {
  StandardItems();
  const TRect work = Screen()->MonitorFromWindow(owner->Handle()).workareaRect;
  RECT first{}, flipped{};
  std::string className;
  LONG_PTR exStyle = 0;
  {
    TScript script({[&] {
      first = HostRect(Level(0));
      wchar_t name[64] = {};
      GetClassNameW(Level(0)->HostHandle(), name, 64);
      className.assign(name, name + wcslen(name));
      exStyle = GetWindowLongPtrW(Level(0)->HostHandle(), GWL_EXSTYLE);
      Key(VK_ESCAPE);
    }});
    menu->Popup(200, 150);
  }
  EXPECT_EQ(first.left, 200);
  EXPECT_EQ(first.top, 150);
  EXPECT_GT(first.right - first.left, 40);
  EXPECT_EQ(className, "TTePopupWindow");
  EXPECT_TRUE(exStyle & WS_EX_TOOLWINDOW);
  EXPECT_TRUE(exStyle & WS_EX_TOPMOST);
  EXPECT_EQ(Levels(), 0);
  {
    TScript script({[&] {
      flipped = HostRect(Level(0));
      Key(VK_ESCAPE);
    }});
    menu->Popup(work.right - 5, work.bottom - 5);
  }
  EXPECT_EQ(flipped.right, work.right - 5) << "left of the point at the right edge";
  EXPECT_EQ(flipped.bottom, work.bottom - 5) << "above the point at the bottom edge";
  EXPECT_EQ(flipped.right - flipped.left, first.right - first.left);
}

TEST_F(MenuTest, ThePopupNeverTakesTheActivationFromItsOwner) {
  StandardItems();
  HWND active = nullptr;
  bool frameActive = false;
  {
    TScript script({[&] {
                      active = GetActiveWindow();
                      frameActive = frame->FrameActive();
                      // A click on the popup itself does not activate it either.
                      const RECT r = ItemScreenRect(Level(0), a);
                      MoveMouse(r.left + 3, r.top + 3);
                    },
                    [&] {
                      const RECT r = ItemScreenRect(Level(0), c);
                      MoveMouse(r.left + 3, r.top + 3);
                    },
                    [&] {
                      if (!active) return;
                      active = GetActiveWindow();
                      frameActive = frameActive && frame->FrameActive();
                      Key(VK_ESCAPE);
                    }});
    menu->Popup(150, 150);
  }
  EXPECT_EQ(active, owner->Handle());
  EXPECT_TRUE(frameActive) << "the owner's frame is painted active";
}

TEST_F(MenuTest, ArrowKeysCrossLevelsAndEscapeClosesOneLevelAtATime) {
  StandardItems();
  std::vector<std::string> seen;
  auto note = [&] { seen.push_back(std::to_string(Levels()) + ":" + HotCaption(Deepest())); };
  {
    TScript script({[&] { note(); Key(VK_DOWN); },
                    [&] { note(); Key(VK_DOWN); },
                    [&] { note(); Key(VK_RIGHT); },
                    [&] { note(); Key(VK_DOWN); },
                    [&] { note(); Key(VK_DOWN); },
                    [&] { note(); Key(VK_ESCAPE); },
                    [&] { note(); Key(VK_UP); },
                    [&] { note(); Key(VK_UP); },
                    [&] { note(); Key(VK_ESCAPE); }});
    menu->Popup(150, 150);
  }
  EXPECT_EQ(seen, (std::vector<std::string>{"1:&Alpha", "1:&Bravo", "1:&Charlie", "2:C&1", "2:C&2", "2:C&1",
                                            "1:&Charlie", "1:&Bravo", "1:&Alpha"}))
      << "the separator is skipped, the submenu wraps, Escape closes the submenu only";
  EXPECT_EQ(Levels(), 0);
  EXPECT_TRUE(clicked.empty());
}

TEST_F(MenuTest, TheClickRunsAfterTheMenuHasClosed) {
  StandardItems();
  {
    TScript script({[&] { Key(VK_UP); }, [&] { Key(VK_RETURN); }});
    menu->Popup(150, 150);
  }
  EXPECT_TRUE(clicked.empty()) << "the click waits in the dispatcher";
  EXPECT_EQ(PendingItemClicks(), 1);
  test::PumpMessages();
  EXPECT_EQ(clicked, (std::vector<std::string>{"&Delta"})) << "Up from the first item wraps to the last";
  EXPECT_EQ(levelsAtClick, 0);
}

TEST_F(MenuTest, DisabledItemsAndSeparatorsCannotBeChosen) {
  StandardItems();
  int levelsAfter = -1;
  {
    TScript script({[&] { Key(VK_DOWN); },
                    [&] { Key(VK_RETURN); },
                    [&] { Char('b'); },
                    [&] {
                      levelsAfter = Levels();
                      // A click on the separator does nothing either.
                      const RECT r = ItemScreenRect(Level(0), root->Items(1));
                      ClickMouse(r.left + 10, (r.top + r.bottom) / 2);
                    },
                    [&] { levelsAfter = levelsAfter * 10 + Levels(); Key(VK_ESCAPE); }});
    menu->Popup(150, 150);
  }
  test::PumpMessages();
  EXPECT_TRUE(clicked.empty());
  EXPECT_EQ(levelsAfter, 11) << "the menu stayed open";
}

TEST_F(MenuTest, AcceleratorsPickItemsAndOpenSubmenus) {
  StandardItems();
  std::string hotInSub;
  {
    TScript script({[&] { Char('c'); },
                    [&] {
                      hotInSub = std::to_string(Levels()) + ":" + HotCaption(Deepest());
                      Char('2');
                    }});
    menu->Popup(150, 150);
  }
  test::PumpMessages();
  EXPECT_EQ(hotInSub, "2:C&1");
  EXPECT_EQ(clicked, (std::vector<std::string>{"C&2"}));
}

TEST_F(MenuTest, HoveringOpensASubmenuAndMovingBackClosesIt) {
  StandardItems();
  std::vector<std::string> seen;
  {
    TScript script({[&] {
                      const RECT r = ItemScreenRect(Level(0), c);
                      MoveMouse(r.left + 5, r.top + 3);
                    },
                    [] {}, [] {}, [] {}, [] {}, [] {}, [] {}, [] {},
                    [&] {
                      seen.push_back(std::to_string(Levels()) + ":" + HotCaption(Level(0)));
                      const RECT r = ItemScreenRect(Deepest(), c2);
                      MoveMouse(r.left + 5, r.top + 3);
                    },
                    [&] {
                      seen.push_back(std::to_string(Levels()) + ":" + HotCaption(Deepest()));
                      const RECT r = ItemScreenRect(Level(0), a);
                      MoveMouse(r.left + 5, r.top + 3);
                    },
                    [&] {
                      seen.push_back(std::to_string(Levels()) + ":" + HotCaption(Deepest()));
                      Key(VK_ESCAPE);
                    }});
    menu->Popup(150, 150);
  }
  EXPECT_EQ(seen, (std::vector<std::string>{"2:&Charlie", "2:C&2", "1:&Alpha"}));
}

TEST_F(MenuTest, AClickOutsideAndTheOwnersDeactivationCloseTheMenu) {
  StandardItems();
  bool opened = false;
  {
    TScript script({[&] {
      opened = Levels() == 1;
      ClickMouse(5, 5);
    }});
    menu->Popup(400, 300);
  }
  EXPECT_TRUE(opened);
  EXPECT_EQ(Levels(), 0);
  test::PumpMessages();
  EXPECT_TRUE(clicked.empty());

  TForm other(nullptr);
  other.SetBounds(500, 400, 100, 80);
  other.HandleNeeded();
  opened = false;
  {
    TScript script({[&] {
      opened = Levels() == 1;
      other.Show();
      SetActiveWindow(other.Handle());
    }});
    menu->Popup(150, 150);
  }
  EXPECT_TRUE(opened);
  EXPECT_EQ(Levels(), 0);
}

TEST_F(MenuTest, AScrolledLevelShowsItsCountAndScrollsWithKeysAndArrows) {
  for (int i = 0; i < 20; ++i) Add(root, "Item " + std::to_string(i));
  root->SetScrolled(true);
  root->SetScrollCount(5);
  int height = 0, itemHeight = 0, firstAfterKeys = -1, firstAfterHover = -1;
  bool scrolled = false;
  std::vector<std::function<void()>> steps;
  steps.push_back([&] {
    TTeItemView* view = Level(0);
    scrolled = view->IsScrolled();
    const RECT r = HostRect(view);
    height = r.bottom - r.top;
    itemHeight = root->Items(0)->ItemRect().Height();
  });
  for (int i = 0; i < 7; ++i) steps.push_back([&] { Key(VK_DOWN); });
  steps.push_back([&] {
    firstAfterKeys = root->FirstShown();
    const TRect arrow = Level(0)->ArrowRect(2);
    POINT p{arrow.left + 5, arrow.top + 4};
    ClientToScreen(Level(0)->HostHandle(), &p);
    MoveMouse(p.x, p.y);
  });
  for (int i = 0; i < 8; ++i) steps.push_back([] {});
  steps.push_back([&] {
    firstAfterHover = root->FirstShown();
    Key(VK_ESCAPE);
  });
  {
    TScript script(steps);
    menu->Popup(150, 100);
  }
  EXPECT_TRUE(scrolled);
  EXPECT_EQ(height, 5 * itemHeight + 20 + 2 * TTePopupForm::kBorder) << "five items and two 10-pixel arrows";
  EXPECT_EQ(firstAfterKeys, 3) << "the eighth item is the last of five shown";
  EXPECT_GT(firstAfterHover, firstAfterKeys) << "hovering the down arrow scrolls";
}

TEST_F(MenuTest, DeletingTheHotOrOpenItemWhileShownClosesThatLevelSafely) {
  StandardItems();
  std::vector<std::string> seen;
  {
    TScript script({[&] { Key(VK_DOWN); },
                    [&] { Key(VK_DOWN); },
                    [&] { Key(VK_RIGHT); },
                    [&] {
                      seen.push_back(std::to_string(Levels()));
                      delete c;  // the open item, with the level showing its children
                      c = c1 = c2 = nullptr;
                    },
                    [&] {
                      seen.push_back(std::to_string(Levels()) + ":" + HotCaption(Level(0)));
                      Key(VK_UP);
                    },
                    [&] {
                      seen.push_back(HotCaption(Level(0)));
                      delete d;  // the hot item
                      d = nullptr;
                    },
                    [&] {
                      seen.push_back(std::to_string(Levels()) + ":" + HotCaption(Level(0)));
                      Key(VK_DOWN);
                    },
                    [&] {
                      seen.push_back(HotCaption(Level(0)));
                      Key(VK_ESCAPE);
                    }});
    menu->Popup(150, 150);
  }
  EXPECT_EQ(seen, (std::vector<std::string>{"2", "1:-none-", "&Delta", "1:-none-", "&Alpha"}));
  EXPECT_EQ(root->Count(), 3);
}

TEST_F(MenuTest, AMenuWhoseOwnerIsDestroyedWhileOpenClosesWithoutTouchingIt) {
  StandardItems();
  bool opened = false;
  {
    TScript script({[&] { Key(VK_DOWN); },
                    [&] { Key(VK_DOWN); },
                    [&] { Key(VK_RIGHT); },
                    [&] {
                      opened = Levels() == 2;
                      owner.reset();  // frees the menu and its items with the form
                    }});
    menu->Popup(150, 150);
  }
  EXPECT_TRUE(opened);
  EXPECT_EQ(Levels(), 0);
  test::PumpMessages();
  EXPECT_TRUE(clicked.empty());
}

TEST_F(MenuTest, ATenThousandItemMenuOpensScrolledAndFollowsTheKeys) {
  for (int i = 0; i < 10000; ++i) Add(root, "Entry " + std::to_string(i));
  const TRect work = Screen()->MonitorFromWindow(owner->Handle()).workareaRect;
  bool scrolled = false;
  RECT r{};
  std::string hot;
  std::vector<std::function<void()>> steps;
  steps.push_back([&] {
    scrolled = Level(0)->IsScrolled();
    r = HostRect(Level(0));
    for (int i = 0; i < 60; ++i) Key(VK_DOWN);
  });
  steps.push_back([&] {
    hot = HotCaption(Level(0));
    Key(VK_ESCAPE);
  });
  {
    TScript script(steps, 200);
    menu->Popup(150, 50);
  }
  EXPECT_TRUE(scrolled);
  EXPECT_LE(r.bottom - r.top, work.Height());
  EXPECT_GE(r.top, work.top);
  EXPECT_LE(r.bottom, work.bottom);
  EXPECT_EQ(hot, "Entry 60");
  EXPECT_GT(root->FirstShown(), 0);
}

TEST_F(MenuTest, PaintsItemsFrameAndSeparatorInTheSystemsColours) {
  StandardItems();
  std::vector<unsigned> pixels;
  {
    TScript script({[&] {
      TTeItemView* view = Level(0);
      HWND wnd = view->HostHandle();
      UpdateWindow(wnd);
      HDC dc = GetWindowDC(wnd);
      RECT w{};
      GetWindowRect(wnd, &w);
      const int width = w.right - w.left, height = w.bottom - w.top;
      pixels.push_back(ToRGB(GetPixel(dc, 0, 0)));                   // outer line, top-left
      pixels.push_back(ToRGB(GetPixel(dc, width - 1, height - 1)));  // outer line, bottom-right
      pixels.push_back(ToRGB(GetPixel(dc, 1, 1)));                   // second line, highlight
      pixels.push_back(ToRGB(GetPixel(dc, 2, 2)));                   // third line, menu colour
      const int b = TTePopupForm::kBorder;
      const TRect hot = a->ItemRect(), plain = d->ItemRect(), separator = root->Items(1)->ItemRect();
      pixels.push_back(ToRGB(GetPixel(dc, b + hot.right - 2, b + hot.top + 1)));
      pixels.push_back(ToRGB(GetPixel(dc, b + plain.right - 2, b + plain.top + 1)));
      const int y = b + separator.top + (separator.Height() - 2) / 2;
      pixels.push_back(ToRGB(GetPixel(dc, b + separator.left + 5, y)));
      pixels.push_back(ToRGB(GetPixel(dc, b + separator.left + 5, y + 1)));
      pixels.push_back(ToRGB(GetPixel(dc, b + separator.left + 1, y)));
      ReleaseDC(wnd, dc);
      Key(VK_ESCAPE);
    }});
    menu->Popup(150, 150);
  }
  ASSERT_EQ(pixels.size(), 9u);
  EXPECT_EQ(pixels[0], SysRGB(COLOR_BTNFACE));
  EXPECT_EQ(pixels[1], 0x000000u);
  EXPECT_EQ(pixels[2], SysRGB(COLOR_BTNHIGHLIGHT));
  EXPECT_EQ(pixels[3], SysRGB(COLOR_MENU));
  EXPECT_EQ(pixels[4], SysRGB(COLOR_HIGHLIGHT)) << "the hot item";
  EXPECT_EQ(pixels[5], SysRGB(COLOR_MENU)) << "a plain item";
  EXPECT_EQ(pixels[6], SysRGB(COLOR_BTNSHADOW)) << "the separator's etched line";
  EXPECT_EQ(pixels[7], SysRGB(COLOR_BTNHIGHLIGHT));
  EXPECT_EQ(pixels[8], SysRGB(COLOR_MENU)) << "inside the 2-pixel margin";
}

TEST_F(MenuTest, MovingTheHotItemRepaintsTwoItemsOnly) {
  StandardItems();
  int painted = -1;
  {
    TScript script({[&] {
                      UpdateWindow(Level(0)->HostHandle());
                      TTeItemView::ItemPaintCount() = 0;
                      Key(VK_DOWN);
                    },
                    [&] {
                      UpdateWindow(Level(0)->HostHandle());
                      painted = TTeItemView::ItemPaintCount();
                      Key(VK_ESCAPE);
                    }});
    menu->Popup(150, 150);
  }
  EXPECT_EQ(painted, 2);
}

TEST_F(MenuTest, ASecondPopupMenuClosesTheFirst) {
  StandardItems();
  auto* second = TComponent::Create<TTeCustomPopupMenu>(owner.get());
  Add(second->Items(), "Only");
  std::vector<int> levels;
  bool secondOpened = false;
  second->OnPopup = [&](TObject*) {
    levels.push_back(Levels());
    secondOpened = TTeCustomPopupMenu::OpenMenu() == second;
  };
  {
    TScript script({[&] {
      levels.push_back(Levels());
      // The second menu's own loop takes the Escape.
      Key(VK_ESCAPE);
      second->Popup(300, 300);
      levels.push_back(Levels());
    }});
    menu->Popup(150, 150);
  }
  EXPECT_TRUE(secondOpened);
  EXPECT_EQ(levels, (std::vector<int>{1, 0, 0})) << "the first menu's level was gone before the second opened";
  EXPECT_EQ(Levels(), 0);
  EXPECT_EQ(TTeCustomPopupMenu::OpenMenu(), nullptr);
}

// The frame's own menu.
TEST_F(MenuTest, TheSystemMenuListsTheStateActionsAndItsEntryRunsTheAction) {
  std::vector<std::string> captions;
  RECT at{};
  {
    TScript script({[&] {
      for (int i = 0; i < frame->SystemMenuItems()->Count(); ++i)
        captions.push_back(frame->SystemMenuItems()->Items(i)->Caption());
      at = HostRect(Level(0));
      Char('x');
    }});
    RECT r{};
    GetWindowRect(owner->Handle(), &r);
    SendMessageW(owner->Handle(), WM_NCRBUTTONDOWN, HTCAPTION, MAKELPARAM(r.left + 150, r.top + 10));
    SendMessageW(owner->Handle(), WM_NCRBUTTONUP, HTCAPTION, MAKELPARAM(r.left + 150, r.top + 10));
    EXPECT_EQ(at.left, r.left + 150);
    EXPECT_EQ(at.top, r.top + 10);
  }
  EXPECT_EQ(captions, (std::vector<std::string>{"Mi&nimize", "Ma&ximize", "Ro&llup", "Minimize to &Tray", "-", "&Close"}));
  test::PumpMessages();
  EXPECT_EQ(frame->WindowState(), kwsMaximized);

  captions.clear();
  {
    TScript script({[&] {
      for (int i = 0; i < frame->SystemMenuItems()->Count(); ++i)
        captions.push_back(frame->SystemMenuItems()->Items(i)->Caption());
      Char('r');
    }});
    SendMessageW(owner->Handle(), WM_SYSCOMMAND, SC_KEYMENU, ' ');
  }
  EXPECT_EQ(captions, (std::vector<std::string>{"&Restore", "Mi&nimize", "Ro&llup", "Minimize to &Tray", "-", "&Close"}))
      << "maximized: no Maximize";
  test::PumpMessages();
  EXPECT_EQ(frame->WindowState(), kwsNormal);
  EXPECT_EQ(frame->SystemMenuItems()->Items(5)->ShortCut(), kscAlt | VK_F4);
}

}  // namespace
}  // namespace hv

namespace hv {
namespace {

// Opening and closing the system menu two thousand times leaves no GDI or
// USER object behind (counted by the program's own import wrappers).
TEST_F(MenuTest, TwoThousandSystemMenusLeaveNoObjectsBehind) {
  ASSERT_TRUE(test::InstallGuiObjectCounter());
  const long madeBefore = test::GuiObjectsMade();
  auto cycle = [&] {
    PostMessageW(owner->Handle(), WM_KEYDOWN, VK_ESCAPE, 0);
    SendMessageW(owner->Handle(), WM_SYSCOMMAND, SC_KEYMENU, ' ');
    test::PumpMessages();
  };
  cycle();  // the shared menu objects are made once
  const test::TGuiObjectCounts before = test::LiveGuiObjects();
  for (int i = 0; i < 2000; ++i) cycle();
  const test::TGuiObjectCounts after = test::LiveGuiObjects();
  EXPECT_GT(test::GuiObjectsMade(), madeBefore + 2000) << "the counter sees the menus' objects";
  EXPECT_EQ(after, before) << "before: " << before.Describe() << "; after: " << after.Describe();
  EXPECT_EQ(test::FailedSelections(), 0);
  EXPECT_EQ(Levels(), 0);
}

}  // namespace
}  // namespace hv
