// Random input over the whole running viewer (HelpViewerCounted.exe): mouse
// moves, clicks, drags and wheel turns anywhere on the window and a little
// around it, frame and caption buttons included, and keys. The seed is fixed
// and printed; HV_RANDOM_EVENTS sets the count (tools/hostile/random_input.sh
// runs the full 20,000). Whenever the input minimised, rolled up or moved the
// window off the screen, it is put back. At the end: no exception reached
// the program's report, the window answers, the tree and the path list are
// as they were, and the live GDI and USER objects are back where they
// started but for a few.

#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "tests/support/counted_viewer.h"
#include "tests/support/outside.h"

namespace hv::test {
namespace {

using namespace std::chrono_literals;

constexpr unsigned kSeed = 20261209;
constexpr int kDefaultEvents = 2500;
// The counts are taken after every page was shown once and after the first
// events, which fill what lives as long as the program (the page view keeps
// a font per text style it met, a control its hot look); what may stay
// alive beyond them at the end: a few of the same.
constexpr int kWarmUpEvents = 300;
constexpr long kGdiSlack = 6, kUserSlack = 2;

class TCounts {
 public:
  explicit TCounts(DWORD pid) : message_(RegisterWindowMessageW(kViewerCountsMessage)) {
    WaitUntil(
        [&] {
          for (HWND wnd = nullptr; (wnd = FindWindowExW(HWND_MESSAGE, wnd, kViewerCountsClass, nullptr));) {
            DWORD owner = 0;
            GetWindowThreadProcessId(wnd, &owner);
            if (owner == pid) wnd_ = wnd;
          }
          return wnd_ != nullptr;
        },
        10s);
  }
  bool Found() const { return wnd_ != nullptr; }
  long Ask(TViewerCount kind) const {
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutW(wnd_, message_, kind, 0, SMTO_NORMAL, 5000, &result)) return -1;
    return static_cast<long>(result);
  }

 private:
  UINT message_;
  HWND wnd_ = nullptr;
};

void Send(DWORD flags, LONG dx = 0, LONG dy = 0, DWORD data = 0) {
  INPUT input{};
  input.type = INPUT_MOUSE;
  input.mi.dx = dx;
  input.mi.dy = dy;
  input.mi.mouseData = data;
  input.mi.dwFlags = flags;
  SendInput(1, &input, sizeof input);
}

void MoveTo(POINT p) {
  const int w = GetSystemMetrics(SM_CXSCREEN), h = GetSystemMetrics(SM_CYSCREEN);
  Send(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE, static_cast<LONG>((p.x * 65536LL + 32768) / w),
       static_cast<LONG>((p.y * 65536LL + 32768) / h));
}

bool Answers(HWND wnd) {
  DWORD_PTR result = 0;
  return SendMessageTimeoutW(wnd, WM_NULL, 0, 0, SMTO_NORMAL, 5000, &result) != 0;
}

std::vector<std::wstring> TreeTexts(HWND tree) {
  std::vector<std::wstring> texts;
  for (HTREEITEM item : TreeItemsInOrder(tree)) texts.push_back(TreeItemText(tree, item));
  return texts;
}

std::wstring WindowText(HWND wnd) {
  DWORD_PTR length = 0;
  SendMessageTimeoutW(wnd, WM_GETTEXTLENGTH, 0, 0, SMTO_NORMAL, 5000, &length);
  std::wstring text(length + 1, L'\0');
  DWORD_PTR copied = 0;
  SendMessageTimeoutW(wnd, WM_GETTEXT, length + 1, reinterpret_cast<LPARAM>(text.data()), SMTO_NORMAL, 5000, &copied);
  text.resize(copied);
  return text;
}

int EventCount() {
  const char* text = std::getenv("HV_RANDOM_EVENTS");
  const int count = text ? std::atoi(text) : 0;
  return count > 0 ? count : kDefaultEvents;
}

TEST(RandomInput, TheViewerSurvivesAndGivesBackWhatItTook) {
  TOutsideProgram program(HostPathToWindows(HV_COUNTED_EXE));
  ASSERT_TRUE(program.Started());
  HWND main = program.WaitForTopWindow(L"TFrmMain", 60s);
  ASSERT_NE(main, nullptr);
  const TCounts counts(program.ProcessId());
  ASSERT_TRUE(counts.Found()) << "the counted build answers its counts";
  ASSERT_GT(counts.Ask(kvcMade), 0) << "the counter sees the viewer's objects";

  std::vector<HWND> trees = DescendantsOfClass(main, L"TTeThemeSTreeView");
  std::vector<HWND> memos = DescendantsOfClass(main, L"TMemo");
  ASSERT_EQ(trees.size(), 1u);
  ASSERT_EQ(memos.size(), 1u);
  const std::vector<std::wstring> texts = TreeTexts(trees[0]);
  ASSERT_GT(texts.size(), 3u);
  const std::wstring paths = WindowText(memos[0]);
  ASSERT_FALSE(paths.empty());
  const RECT home = WindowRectOf(main);
  const RECT screen{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};

  // The window as the run leaves it, the mouse away from it, everything
  // painted: the state the counts are compared in.
  auto settle = [&] {
    Send(MOUSEEVENTF_LEFTUP);
    if (IsIconic(main) || IsZoomed(main)) ShowWindow(main, SW_RESTORE);
    SetWindowPos(main, nullptr, home.left, home.top, home.right - home.left, home.bottom - home.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    MoveTo({screen.right - 2, screen.bottom - 2});
    for (int i = 0; i < 5; ++i) {
      std::this_thread::sleep_for(200ms);
      Answers(main);
    }
  };
  for (HTREEITEM item : TreeItemsInOrder(trees[0]))
    SendMessageTimeoutW(trees[0], TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(item), SMTO_NORMAL, 5000,
                        nullptr);
  // The window menu's shared objects (its popup window with its context,
  // fonts and brushes) are made at its first opening and kept: it opens
  // once before anything is counted.
  SetForegroundWindow(main);
  PostMessageW(main, WM_SYSCOMMAND, SC_KEYMENU, ' ');
  const bool menuOpened = WaitUntil([&] { return VisiblePopupMenu(program.ProcessId()) != nullptr; }, 5s);
  PressKey(VK_ESCAPE);
  EXPECT_TRUE(menuOpened) << "Alt+Space opens the window menu";
  EXPECT_TRUE(WaitUntil([&] { return VisiblePopupMenu(program.ProcessId()) == nullptr; }, 5s));
  const long refused = counts.Ask(kvcFailedSelections);
  long gdi = -1, user = -1;

  const int events = EventCount();
  std::printf("random input: seed %u, %d events\n", kSeed, events);
  std::fflush(stdout);
  std::mt19937 random(kSeed);
  auto pick = [&](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
  const WORD keys[] = {VK_UP,     VK_DOWN,  VK_LEFT, VK_RIGHT, VK_PRIOR,  VK_NEXT,   VK_HOME,
                       VK_END,    VK_ADD,   VK_SUBTRACT, VK_MULTIPLY, VK_RETURN, VK_SPACE, VK_TAB,
                       VK_ESCAPE, VK_BACK,  VK_DELETE, 'A', 'Z', VK_F1, VK_F5};
  int restored = 0;
  for (int i = 0; i < events; ++i) {
    if (i == std::min(kWarmUpEvents, events / 2)) {
      settle();
      counts.Ask(kvcDescribe);
      gdi = counts.Ask(kvcGdi);
      user = counts.Ask(kvcUser);
      ASSERT_GE(gdi, 0);
    }
    const RECT r = WindowRectOf(main);
    auto somewhere = [&] {
      return POINT{r.left - 20 + pick(std::max<int>(1, r.right - r.left + 40)),
                   r.top - 20 + pick(std::max<int>(1, r.bottom - r.top + 40))};
    };
    // A press on the close button or the window menu would end the program,
    // which is no fault: those become moves.
    auto hitAt = [&](POINT p) {
      DWORD_PTR hit = 0;
      SendMessageTimeoutW(main, WM_NCHITTEST, 0, MAKELPARAM(p.x, p.y), SMTO_NORMAL, 5000, &hit);
      return hit;
    };
    auto pressable = [&](POINT p) {
      const DWORD_PTR hit = hitAt(p);
      return hit != HTCLOSE && hit != HTSYSMENU;
    };
    // A right click on the caption opens the window menu; should the Escape
    // after it come before the menu is up, the menu stays open and random
    // arrows and Enter could pick its Close, which ends the program as the
    // user asked. Every event starts with no menu open.
    if (VisiblePopupMenu(program.ProcessId())) {
      PressKey(VK_ESCAPE);
      WaitUntil([&] { return VisiblePopupMenu(program.ProcessId()) == nullptr; }, 2s);
    }
    const POINT p = somewhere();
    switch (pick(10)) {
      case 0: case 1: case 2:
        MoveTo(p);
        break;
      case 3: case 4:
        MoveTo(p);
        if (pressable(p)) {
          const bool right = pick(4) == 0;
          Send(right ? MOUSEEVENTF_RIGHTDOWN : MOUSEEVENTF_LEFTDOWN);
          Send(right ? MOUSEEVENTF_RIGHTUP : MOUSEEVENTF_LEFTUP);
          if (right) {  // a context menu, if any, goes again
            if (hitAt(p) == HTCAPTION)
              WaitUntil([&] { return VisiblePopupMenu(program.ProcessId()) != nullptr; }, 500ms);
            PressKey(VK_ESCAPE);
          }
        }
        break;
      case 5: {
        MoveTo(p);
        if (!pressable(p)) break;
        Send(MOUSEEVENTF_LEFTDOWN);
        const POINT q = somewhere();
        for (int step = 1; step <= 4; ++step) MoveTo({p.x + (q.x - p.x) * step / 4, p.y + (q.y - p.y) * step / 4});
        Send(MOUSEEVENTF_LEFTUP);
        break;
      }
      case 6:
        MoveTo(p);
        Send(MOUSEEVENTF_WHEEL, 0, 0, static_cast<DWORD>((pick(2) ? 1 : -1) * WHEEL_DELTA * (1 + pick(3))));
        break;
      default:
        PressKey(keys[pick(static_cast<int>(std::size(keys)))]);
        break;
    }
    if (i % 20 == 19) {
      ASSERT_TRUE(IsWindow(main)) << "the window went away at event " << i;
      ASSERT_TRUE(Answers(main)) << "no answer within 5 s at event " << i;
      RECT now = WindowRectOf(main), seen{};
      const bool offScreen = !IntersectRect(&seen, &now, &screen) || seen.right - seen.left < 120 ||
                             seen.bottom - seen.top < 80;
      const bool rolledUp = !IsIconic(main) && now.bottom - now.top < 80;
      if (IsIconic(main) || rolledUp || offScreen) {
        ++restored;
        Send(MOUSEEVENTF_LEFTUP);
        if (rolledUp) SendMessageTimeoutW(main, WM_SYSCOMMAND, SC_RESTORE, 0, SMTO_NORMAL, 5000, nullptr);
        if (IsIconic(main)) ShowWindow(main, SW_RESTORE);
        SetWindowPos(main, nullptr, home.left, home.top, home.right - home.left, home.bottom - home.top,
                     SWP_NOZORDER);
      }
    }
  }
  std::printf("random input: the window was put back %d times\n", restored);

  settle();
  ASSERT_TRUE(program.Running());
  EXPECT_TRUE(Answers(main));
  EXPECT_EQ(counts.Ask(kvcExceptions), 0) << "exceptions reached the program's report (its standard error names them)";
  EXPECT_EQ(TreeTexts(trees[0]), texts) << "the tree keeps its topics";
  EXPECT_EQ(WindowText(memos[0]), paths) << "the path list keeps its entries";
  counts.Ask(kvcDescribe);
  const long gdiAfter = counts.Ask(kvcGdi), userAfter = counts.Ask(kvcUser);
  EXPECT_LE(gdiAfter, gdi + kGdiSlack) << "GDI objects: " << gdi << " before, " << gdiAfter << " after";
  EXPECT_LE(userAfter, user + kUserSlack) << "USER objects: " << user << " before, " << userAfter << " after";
  EXPECT_EQ(counts.Ask(kvcFailedSelections), refused) << "selections the system refused";
  std::printf("random input: GDI %ld -> %ld, USER %ld -> %ld\n", gdi, gdiAfter, user, userAfter);
}

}  // namespace
}  // namespace hv::test
