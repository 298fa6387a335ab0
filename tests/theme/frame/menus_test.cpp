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
#include "tests/theme/frame/menu_script.h"
#include "theme/frame/itemview.h"
#include "theme/frame/menuresources.h"
#include "theme/frame/popupmenu.h"
#include "theme/frame/popupwindow.h"
#include "theme/frame/themeform.h"

namespace hv {
namespace {

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
  // Opens the menu at a point and plays the steps from inside its loop, one
  // per interval.
  void Play(std::vector<std::function<void()>> steps, int x = 150, int y = 150, unsigned interval = 40) {
    TScript script(std::move(steps), interval);
    menu->Popup(x, y);
  }
  // Puts the mouse a little inside an item's top-left corner.
  static void Hover(TTeItemView* view, TTeCustomItem* item, int dx, int dy) {
    const RECT r = ItemScreenRect(view, item);
    MoveMouse(r.left + dx, r.top + dy);
  }
  // How many levels are open, and which item of a level is hot.
  static std::string LevelsAndHot(TTeItemView* view) { return std::to_string(Levels()) + ":" + HotCaption(view); }
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
  Play({[&] {
         first = HostRect(Level(0));
         wchar_t name[64] = {};
         GetClassNameW(Level(0)->HostHandle(), name, 64);
         className.assign(name, name + wcslen(name));
         exStyle = GetWindowLongPtrW(Level(0)->HostHandle(), GWL_EXSTYLE);
         Key(VK_ESCAPE);
       }},
       200, 150);
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
  Play({[&] {
          active = GetActiveWindow();
          frameActive = frame->FrameActive();
          // A click on the popup itself does not activate it either.
          Hover(Level(0), a, 3, 3);
        },
        [&] { Hover(Level(0), c, 3, 3); },
        [&] {
          if (!active) return;
          active = GetActiveWindow();
          frameActive = frameActive && frame->FrameActive();
          Key(VK_ESCAPE);
        }});
  EXPECT_EQ(active, owner->Handle());
  EXPECT_TRUE(frameActive) << "the owner's frame is painted active";
}

TEST_F(MenuTest, ArrowKeysCrossLevelsAndEscapeClosesOneLevelAtATime) {
  StandardItems();
  std::vector<std::string> seen;
  std::vector<std::function<void()>> steps;
  for (unsigned key : {VK_DOWN, VK_DOWN, VK_RIGHT, VK_DOWN, VK_DOWN, VK_ESCAPE, VK_UP, VK_UP, VK_ESCAPE})
    steps.push_back([&, key] {
      seen.push_back(LevelsAndHot(Deepest()));
      Key(key);
    });
  Play(steps);
  EXPECT_EQ(seen, (std::vector<std::string>{"1:&Alpha", "1:&Bravo", "1:&Charlie", "2:C&1", "2:C&2", "2:C&1",
                                            "1:&Charlie", "1:&Bravo", "1:&Alpha"}))
      << "the separator is skipped, the submenu wraps, Escape closes the submenu only";
  EXPECT_EQ(Levels(), 0);
  EXPECT_TRUE(clicked.empty());
}

TEST_F(MenuTest, TheClickRunsAfterTheMenuHasClosed) {
  StandardItems();
  Play({[&] { Key(VK_UP); }, [&] { Key(VK_RETURN); }});
  EXPECT_TRUE(clicked.empty()) << "the click waits in the dispatcher";
  EXPECT_EQ(PendingItemClicks(), 1);
  test::PumpMessages();
  EXPECT_EQ(clicked, (std::vector<std::string>{"&Delta"})) << "Up from the first item wraps to the last";
  EXPECT_EQ(levelsAtClick, 0);
}

TEST_F(MenuTest, DisabledItemsAndSeparatorsCannotBeChosen) {
  StandardItems();
  int levelsAfter = -1;
  Play({[&] { Key(VK_DOWN); }, [&] { Key(VK_RETURN); }, [&] { Char('b'); },
        [&] {
          levelsAfter = Levels();
          // A click on the separator does nothing either.
          const RECT r = ItemScreenRect(Level(0), root->Items(1));
          ClickMouse(r.left + 10, (r.top + r.bottom) / 2);
        },
        [&] {
          levelsAfter = levelsAfter * 10 + Levels();
          Key(VK_ESCAPE);
        }});
  test::PumpMessages();
  EXPECT_TRUE(clicked.empty());
  EXPECT_EQ(levelsAfter, 11) << "the menu stayed open";
}

TEST_F(MenuTest, AcceleratorsPickItemsAndOpenSubmenus) {
  StandardItems();
  std::string hotInSub;
  Play({[&] { Char('c'); },
        [&] {
          hotInSub = LevelsAndHot(Deepest());
          Char('2');
        }});
  test::PumpMessages();
  EXPECT_EQ(hotInSub, "2:C&1");
  EXPECT_EQ(clicked, (std::vector<std::string>{"C&2"}));
}

TEST_F(MenuTest, HoveringOpensASubmenuAndMovingBackClosesIt) {
  StandardItems();
  std::vector<std::string> seen;
  DWORD movedAt = 0, openedAt = 0;
  c->OnBeforeDropDown = [&](TTeCustomItem*) { openedAt = GetTickCount(); };
  Play({[&] {
          Hover(Level(0), c, 5, 3);
          movedAt = GetTickCount();
        },
        [] {}, [] {}, [] {}, [] {}, [] {}, [] {}, [] {},
        [&] {
          seen.push_back(LevelsAndHot(Level(0)));
          Hover(Deepest(), c2, 5, 3);
        },
        [&] {
          seen.push_back(LevelsAndHot(Deepest()));
          Hover(Level(0), a, 5, 3);
        },
        [&] {
          seen.push_back(LevelsAndHot(Deepest()));
          Key(VK_ESCAPE);
        }});
  EXPECT_EQ(seen, (std::vector<std::string>{"2:&Charlie", "2:C&2", "1:&Alpha"}));
  ASSERT_NE(openedAt, 0u);
  // The pointer rests a quarter of a second before the submenu opens, so
  // that crossing an item on the way to another opens nothing.
  EXPECT_GE(openedAt - movedAt, 240u);
}

TEST_F(MenuTest, AClickOutsideAndTheOwnersDeactivationCloseTheMenu) {
  StandardItems();
  bool opened = false;
  Play({[&] {
         opened = Levels() == 1;
         ClickMouse(5, 5);
       }},
       400, 300);
  EXPECT_TRUE(opened);
  EXPECT_EQ(Levels(), 0);
  test::PumpMessages();
  EXPECT_TRUE(clicked.empty());

  TForm other(nullptr);
  other.SetBounds(500, 400, 100, 80);
  other.HandleNeeded();
  opened = false;
  Play({[&] {
    opened = Levels() == 1;
    other.Show();
    SetActiveWindow(other.Handle());
  }});
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
  DWORD hoverFrom = 0, hoverTo = 0;
  steps.push_back([&] {
    firstAfterKeys = root->FirstShown();
    const TRect arrow = Level(0)->ArrowRect(2);
    POINT p{arrow.left + 5, arrow.top + 4};
    ClientToScreen(Level(0)->HostHandle(), &p);
    MoveMouse(p.x, p.y);
    hoverFrom = GetTickCount();
  });
  for (int i = 0; i < 8; ++i) steps.push_back([] {});
  steps.push_back([&] {
    firstAfterHover = root->FirstShown();
    hoverTo = GetTickCount();
    Key(VK_ESCAPE);
  });
  Play(steps, 150, 100);
  EXPECT_TRUE(scrolled);
  EXPECT_EQ(height, 5 * itemHeight + 20 + 2 * TTePopupForm::kBorder) << "five items and two 10-pixel arrows";
  EXPECT_EQ(firstAfterKeys, 3) << "the eighth item is the last of five shown";
  EXPECT_GT(firstAfterHover, firstAfterKeys) << "hovering the down arrow scrolls";
  EXPECT_LE(firstAfterHover - firstAfterKeys, static_cast<int>((hoverTo - hoverFrom) / 100) + 1)
      << "one item per 100 ms at most";
}

TEST_F(MenuTest, DeletingTheHotOrOpenItemWhileShownClosesThatLevelSafely) {
  StandardItems();
  std::vector<std::string> seen;
  Play({[&] { Key(VK_DOWN); }, [&] { Key(VK_DOWN); }, [&] { Key(VK_RIGHT); },
        [&] {
          seen.push_back(std::to_string(Levels()));
          delete c;  // the open item, with the level showing its children
          c = c1 = c2 = nullptr;
        },
        [&] {
          seen.push_back(LevelsAndHot(Level(0)));
          Key(VK_UP);
        },
        [&] {
          seen.push_back(HotCaption(Level(0)));
          delete d;  // the hot item
          d = nullptr;
        },
        [&] {
          seen.push_back(LevelsAndHot(Level(0)));
          Key(VK_DOWN);
        },
        [&] {
          seen.push_back(HotCaption(Level(0)));
          Key(VK_ESCAPE);
        }});
  EXPECT_EQ(seen, (std::vector<std::string>{"2", "1:-none-", "&Delta", "1:-none-", "&Alpha"}));
  EXPECT_EQ(root->Count(), 3);
}

TEST_F(MenuTest, AMenuWhoseOwnerIsDestroyedWhileOpenClosesWithoutTouchingIt) {
  StandardItems();
  bool opened = false;
  Play({[&] { Key(VK_DOWN); }, [&] { Key(VK_DOWN); }, [&] { Key(VK_RIGHT); },
        [&] {
          opened = Levels() == 2;
          owner.reset();  // frees the menu and its items with the form
        }});
  EXPECT_TRUE(opened);
  EXPECT_EQ(Levels(), 0);
  // Every level there still is has let go of the freed items.
  for (TTeItemView* view : TTeItemView::AllViews()) {
    EXPECT_EQ(view->Root(), nullptr);
    EXPECT_EQ(view->HotItem(), nullptr);
  }
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
  int firstBeforeHover = -1, firstAfterDown = -1, firstAfterUp = -1;
  auto hover = [&](int arrow) {
    const TRect r = Level(0)->ArrowRect(arrow);
    POINT p{r.left + 5, r.top + 4};
    ClientToScreen(Level(0)->HostHandle(), &p);
    MoveMouse(p.x, p.y);
  };
  steps.push_back([&] {
    hot = HotCaption(Level(0));
    firstBeforeHover = root->FirstShown();
    hover(2);
  });
  steps.push_back([&] {
    firstAfterDown = root->FirstShown();
    hover(1);
  });
  steps.push_back([&] {
    firstAfterUp = root->FirstShown();
    Key(VK_ESCAPE);
  });
  Play(steps, 150, 50, 400);
  EXPECT_GT(firstAfterDown, firstBeforeHover) << "the down arrow scrolls while hovered";
  EXPECT_LT(firstAfterUp, firstAfterDown) << "the up arrow scrolls back";
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
  Play({[&] {
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
  Play({[&] {
          UpdateWindow(Level(0)->HostHandle());
          TTeItemView::ItemPaintCount() = 0;
          Key(VK_DOWN);
        },
        [&] {
          UpdateWindow(Level(0)->HostHandle());
          painted = TTeItemView::ItemPaintCount();
          Key(VK_ESCAPE);
        }});
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
  Play({[&] {
    levels.push_back(Levels());
    // The second menu's own loop takes the Escape.
    Key(VK_ESCAPE);
    second->Popup(300, 300);
    levels.push_back(Levels());
  }});
  EXPECT_TRUE(secondOpened);
  EXPECT_EQ(levels, (std::vector<int>{1, 0, 0})) << "the first menu's level was gone before the second opened";
  EXPECT_EQ(Levels(), 0);
  EXPECT_EQ(TTeCustomPopupMenu::OpenMenu(), nullptr);
}

TEST_F(MenuTest, PopupOptionsShadowAndBlendEveryLevelAndAnimateTheFirstOnly) {
  StandardItems();
  TTePopupMenuOptions* options = menu->PopupMenuOptions();
  options->Shadow()->SetEnabled(true);
  options->Blending()->SetEnabled(true);
  options->Blending()->SetValue(200);
  options->Animation()->SetEnabled(true);
  options->Animation()->SetTime(1);
  const int shadow = options->Shadow()->Size();
  struct TSeen {
    bool animated = false, shadowed = false, blended = false;
    SIZE size{}, extent{};
    bool cornerOutside = false;  // top-right corner: neither frame nor shadow
  };
  auto look = [&](TTeItemView* view) {
    TSeen seen;
    auto* window = dynamic_cast<TTePopupWindow*>(view->Host());
    if (!window) return seen;
    seen.animated = window->Frame()->Animation()->Enabled();
    seen.shadowed = window->Frame()->Shadow()->Enabled();
    seen.blended = window->Frame()->Blending()->Enabled();
    const RECT r = HostRect(view);
    seen.size = {r.right - r.left, r.bottom - r.top};
    seen.extent = {view->Extent().cx, view->Extent().cy};
    HRGN region = CreateRectRgn(0, 0, 0, 0);
    if (GetWindowRgn(view->HostHandle(), region) != ERROR)
      seen.cornerOutside = !PtInRegion(region, seen.size.cx - 2, 1);
    DeleteObject(region);
    return seen;
  };
  TSeen first, second, plain;
  {
    // The show animation pumps messages: a tick may come before the loop runs.
    TScript script({[] {},
                    [&] {
                      first = look(Level(0));
                      Key(VK_DOWN);
                    },
                    [&] { Key(VK_DOWN); }, [&] { Key(VK_RIGHT); },
                    [&] {
                      if (Levels() == 2) second = look(Deepest());
                      Key(VK_ESCAPE);
                    },
                    [&] { Key(VK_ESCAPE); }});
    menu->Popup(150, 150);
  }
  EXPECT_TRUE(first.animated);
  EXPECT_FALSE(second.animated) << "only the level that opens the menu animates";
  EXPECT_TRUE(first.shadowed && second.shadowed);
  EXPECT_TRUE(first.blended && second.blended);
  const int border = 2 * TTePopupForm::kBorder;
  EXPECT_EQ(first.size.cx, first.extent.cx + border + shadow);
  EXPECT_EQ(first.size.cy, first.extent.cy + border + shadow);
  EXPECT_EQ(second.size.cy, second.extent.cy + border + shadow);
  EXPECT_TRUE(first.cornerOutside) << "the shadow is the frame's outline moved down and right";

  // The same windows serve a menu without the options: nothing stays behind.
  TTePopupMenuOptions none;
  menu->SetPopupMenuOptions(&none);
  Play({[&] {
    plain = look(Level(0));
    Key(VK_ESCAPE);
  }});
  EXPECT_FALSE(plain.animated || plain.shadowed || plain.blended);
  EXPECT_EQ(plain.size.cx, plain.extent.cx + border);
  EXPECT_EQ(plain.size.cy, plain.extent.cy + border);
}

TEST_F(MenuTest, AClosedLevelsWindowWaitsHiddenAndServesTheNextMenu) {
  StandardItems();
  HWND top = nullptr, sub = nullptr, again = nullptr;
  int againHeight = 0, againExtent = 0;
  Play({[&] {
          top = Level(0)->HostHandle();
          Key(VK_DOWN);
        },
        [&] { Key(VK_DOWN); }, [&] { Key(VK_RIGHT); },
        [&] {
          sub = Deepest()->HostHandle();
          Key(VK_ESCAPE);
        },
        [&] { Key(VK_ESCAPE); }});
  ASSERT_TRUE(top && sub);
  EXPECT_NE(top, sub);
  EXPECT_TRUE(IsWindow(top) && IsWindow(sub));
  EXPECT_FALSE(IsWindowVisible(top) || IsWindowVisible(sub)) << "closed levels are hidden";
  EXPECT_GE(IdlePopupWindows(), 2);

  // Another menu with other items takes one of them, sized for its items.
  auto* other = TComponent::Create<TTeCustomPopupMenu>(owner.get());
  for (int i = 0; i < 9; ++i) Add(other->Items(), "Other " + std::to_string(i));
  {
    TScript script({[&] {
      again = Level(0)->HostHandle();
      againHeight = HostRect(Level(0)).bottom - HostRect(Level(0)).top;
      againExtent = Level(0)->Extent().cy;
      Key(VK_ESCAPE);
    }});
    other->Popup(200, 120);
  }
  EXPECT_TRUE(again == top || again == sub);
  EXPECT_EQ(againHeight, againExtent + 2 * TTePopupForm::kBorder);
  EXPECT_EQ(Levels(), 0);

  // The owner goes and takes the idle windows along; a menu of another
  // owner still opens.
  owner.reset();
  EXPECT_FALSE(IsWindow(top) || IsWindow(sub));
  TForm next(nullptr);
  next.SetBounds(150, 150, 200, 150);
  next.HandleNeeded();
  next.Show();
  auto* nextMenu = TComponent::Create<TTeCustomPopupMenu>(&next);
  Add(nextMenu->Items(), "Only");
  int levels = 0;
  bool visible = false;
  {
    TScript script({[&] {
      levels = Levels();
      visible = IsWindowVisible(Level(0)->HostHandle()) != FALSE;
      PostMessageW(next.Handle(), WM_KEYDOWN, VK_ESCAPE, 0);
    }});
    nextMenu->Popup(160, 160);
  }
  EXPECT_EQ(levels, 1);
  EXPECT_TRUE(visible);
  EXPECT_EQ(Levels(), 0);
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
  EXPECT_EQ(captions,
            (std::vector<std::string>{"Mi&nimize", "Ma&ximize", "Ro&llup", "Minimize to &Tray", "-", "&Close"}));
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
  EXPECT_EQ(captions,
            (std::vector<std::string>{"&Restore", "Mi&nimize", "Ro&llup", "Minimize to &Tray", "-", "&Close"}))
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
