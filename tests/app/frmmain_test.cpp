// The help viewer's window end to end: its stored layout, the index file
// beside the executable, the page view and the four buttons, driven through
// real messages.

#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <string>

#include "app/frmmain.h"
#include "app/startup.h"
#include "framework/classes.h"
#include "framework/extctrls.h"
#include "framework/gdi.h"
#include "framework/memo.h"
#include "framework/screen.h"
#include "framework/standardclasses.h"
#include "framework/treeview.h"
#include "pageview/webbrowser.h"
#include "framework/winstring.h"
#include "theme/controls/splitter.h"
#include "theme/controls/statusbar.h"
#include "theme/controls/themetreeview.h"
#include "theme/core/themeengine.h"
#include "theme/core/themelibrary.h"
#include "theme/frame/themeform.h"
#include "theme/styles/luna.h"
#include "tests/app/viewer_files.h"
#include "tests/support/win_test.h"

namespace hv {
namespace {

using test::PutViewerFile;
using test::RemoveViewerFile;
using test::ViewerFolder;

struct ViewerFixture : ::testing::Test {
  static void SetUpTestSuite() {
    StartViewer();
  }
  void SetUp() override {
    RemoveViewerFile("TrvNode.DLL");
    PutViewerFile("index.htm", "<html><title>Welcome</title><body><h1>Welcome</h1></body></html>");
    PutViewerFile("setup\\install.htm", "<p>Install</p>");
    PutViewerFile("usage.htm", "<p>Usage</p>");
  }
  void TearDown() override {
    if (form) ShowWindow(form->Handle(), SW_HIDE);  // a hidden window goes away at once
    form.reset();
    RemoveViewerFile("TrvNode.DLL");
  }
  // The window as the program makes it, shown.
  void Open() {
    form = std::make_unique<TFrmMain>(nullptr);
    form->LoadFromLayout();
    buttons = dynamic_cast<TWinControl*>(form->FindComponent("TeThemeGroupBox1"));
    ASSERT_NE(buttons, nullptr);
    form->TrvMenu->OnChange = [this, bound = form->TrvMenu->OnChange](TObject* sender, TTreeNode* node) {
      ++changes;
      bound(sender, node);
    };
    form->Show();
    test::PumpMessages();
  }
  // A click on one of the four buttons, by its place on the top bar.
  void Press(int button) {
    int x = 56 + 56 * (button - 1) + 20, y = 12;
    HWND bar = buttons->Handle();
    SendMessageW(bar, WM_MOUSEMOVE, 0, MAKELPARAM(x, y));
    SendMessageW(bar, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
    SendMessageW(bar, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
  }
  std::vector<std::string> Titles() {
    std::vector<std::string> titles;
    for (int i = 0; i < form->TrvMenu->Items()->Count(); ++i) titles.emplace_back(form->TrvMenu->Items()->Item(i)->Text());
    return titles;
  }
  std::string Page() { return Narrow(form->WebBrowser1->LocationURL()); }
  int Selected() {
    TTreeNode* node = form->TrvMenu->Selected();
    return node ? node->AbsoluteIndex() : -1;
  }
  std::unique_ptr<TFrmMain> form;
  TWinControl* buttons = nullptr;
  int changes = 0;
};

constexpr std::string_view kExample = "Welcome index.htm\r\n\tSetup setup\\install.htm\r\nUsage usage.htm\r\n";

TEST_F(ViewerFixture, WithoutAnIndexTheStoredPlaceholdersStay) {
  Open();
  EXPECT_EQ(Titles(), (std::vector<std::string>{"qwdasd", "asdasd"}));
  EXPECT_EQ(form->Memo1->Lines()->ToVector(), std::vector<std::string>{"Memo1"});
  form->TrvMenu->SetSelected(form->TrvMenu->Items()->Item(0));
  EXPECT_EQ(Page(), "") << "entry 0 is \"Memo1\": no such page";
  form->TrvMenu->SetSelected(form->TrvMenu->Items()->Item(1));
  EXPECT_EQ(Page(), "") << "entry 1 is past the end: empty";
  EXPECT_EQ(form->BoundsRect(), Screen()->WorkAreaRect()) << "the window fills the work area";
  wchar_t cls[32] = {};
  GetClassNameW(form->Handle(), cls, 32);
  EXPECT_STREQ(cls, L"TFrmMain");
}

TEST_F(ViewerFixture, TheIndexBecomesTheTreeAndThePathList) {
  PutViewerFile("TrvNode.DLL", kExample);
  Open();
  EXPECT_EQ(Titles(), (std::vector<std::string>{"Welcome", "Setup", "Usage"}));
  EXPECT_EQ(form->TrvMenu->Items()->Item(1)->Parent(), form->TrvMenu->Items()->Item(0));
  EXPECT_EQ(form->Memo1->Lines()->ToVector(),
            (std::vector<std::string>{"index.htm", "setup\\install.htm", "usage.htm"}));
  // The hidden path list is a real edit: its text is the lines joined by CR LF.
  int length = GetWindowTextLengthW(form->Memo1->Handle());
  std::wstring text(static_cast<size_t>(length) + 1, L'\0');
  GetWindowTextW(form->Memo1->Handle(), text.data(), length + 1);
  EXPECT_EQ(Narrow(text.c_str()), "index.htm\r\nsetup\\install.htm\r\nusage.htm\r\n");
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(form->TrvMenu->Items()->Item(i)->ImageIndex(), 0);
    EXPECT_EQ(form->TrvMenu->Items()->Item(i)->SelectedIndex(), 1);
  }
  EXPECT_TRUE(form->TrvMenu->Items()->Item(0)->Expanded()) << "the tree is expanded after loading";
  form->TrvMenu->SetSelected(form->TrvMenu->Items()->Item(1));
  EXPECT_EQ(Page(), ViewerFolder() + "setup\\install.htm");
  wchar_t address[MAX_PATH] = {};
  GetWindowTextW(form->WebBrowser1->Handle(), address, MAX_PATH);
  EXPECT_EQ(Narrow(address), ViewerFolder() + "setup\\install.htm") << "the page view's window text is its address";
}

TEST_F(ViewerFixture, LineBreaksIndentationAndSplitting) {
  PutViewerFile("TrvNode.DLL", std::string("A a.htm\nB\n\rIntro   pages\\a b.htm  \r\n\r\n Deep x\0ignored", 47));
  PutViewerFile("pages\\a b.htm", "<p>spaces</p>");
  Open();
  // LF then CR is two breaks: an empty topic between; CR LF is one; an empty
  // line is a root with empty title and path; a NUL ends the text.
  EXPECT_EQ(Titles(), (std::vector<std::string>{"A", "B", "", "Intro", "", "Deep"}));
  EXPECT_EQ(form->Memo1->Lines()->ToVector(),
            (std::vector<std::string>{"a.htm", "", "", "pages\\a b.htm", "", "x"}));
  EXPECT_EQ(form->TrvMenu->Items()->Item(5)->Level(), 1) << "a leading space is one level";
  form->TrvMenu->SetSelected(form->TrvMenu->Items()->Item(3));
  EXPECT_EQ(Page(), ViewerFolder() + "pages\\a b.htm");
  form->TrvMenu->SetSelected(form->TrvMenu->Items()->Item(1));
  EXPECT_EQ(Page(), ViewerFolder() + "pages\\a b.htm") << "a topic without a path shows nothing new";
}

// An index saved by an editor that writes the UTF-8 mark reads as UTF-8, the
// mark gone; without the mark the same bytes are ANSI text, as always.
TEST_F(ViewerFixture, AByteOrderMarkMakesTheIndexUtf8) {
  const std::string welcome = "\xE6\xAC\xA2\xE8\xBF\x8E";  // 欢迎 in UTF-8
  const std::string install = "\xE5\xAE\x89\xE8\xA3\x85";  // 安装
  PutViewerFile("TrvNode.DLL", "\xEF\xBB\xBF" + welcome + " index.htm\r\n\t" + install + " setup\\install.htm\r\n");
  Open();
  EXPECT_EQ(Titles(), (std::vector<std::string>{welcome, install}));
  EXPECT_EQ(form->TrvMenu->Items()->Item(1)->Parent(), form->TrvMenu->Items()->Item(0))
      << "the mark is not indentation and not a level";
  EXPECT_EQ(form->Memo1->Lines()->ToVector(), (std::vector<std::string>{"index.htm", "setup\\install.htm"}));
  form->TrvMenu->SetSelected(form->TrvMenu->Items()->Item(0));
  EXPECT_EQ(Page(), ViewerFolder() + "index.htm") << "the first topic's path is found";
  wchar_t shown[16] = {};
  TVITEMW item{};
  item.mask = TVIF_TEXT;
  item.hItem = TreeView_GetRoot(form->TrvMenu->Handle());
  item.pszText = shown;
  item.cchTextMax = 16;
  ASSERT_TRUE(TreeView_GetItem(form->TrvMenu->Handle(), &item));
  EXPECT_STREQ(shown, L"\x6B22\x8FCE") << "the control shows the two characters, nothing in front";
}

TEST_F(ViewerFixture, WithoutTheMarkTheIndexStaysAnsi) {
  const std::string gb = "\xBB\xB6\xD3\xAD";                        // 欢迎 in GB2312
  const std::string utf8Bytes = "\xE6\xAC\xA2\xE8\xBF\x8E";         // the same in UTF-8, unmarked
  PutViewerFile("TrvNode.DLL", gb + " index.htm\r\n" + utf8Bytes + " usage.htm\r\n\t\xEF\xBB\xBFLate x.htm\r\n");
  Open();
  ASSERT_EQ(Titles().size(), 3u);
  EXPECT_EQ(Titles()[0], AnsiToUtf8(gb));
  EXPECT_EQ(Titles()[1], AnsiToUtf8(utf8Bytes)) << "unmarked UTF-8 is read byte by byte in the ANSI code page";
  if (GetACP() != CP_UTF8) {
    EXPECT_NE(Titles()[1], utf8Bytes);
  }
  EXPECT_EQ(Titles()[2], AnsiToUtf8("\xEF\xBB\xBFLate")) << "a mark after the start is text";
  EXPECT_EQ(form->Memo1->Lines()->ToVector(), (std::vector<std::string>{"index.htm", "usage.htm", "x.htm"}));
}

TEST_F(ViewerFixture, AMarkedIndexReportsALevelJumpInItsOwnText) {
  const std::string name = "\xE7\xAC\xAC\xE4\xBA\x8C";  // 第二
  PutViewerFile("TrvNode.DLL", "\xEF\xBB\xBF" "First one.htm\r\n\t\t" + name + " two.htm\r\n");
  Open();
  EXPECT_EQ(test::TakeReportedExceptions(),
            std::vector<std::string>{"Invalid level (2) for item \"" + name + " two.htm\""});
  EXPECT_EQ(Titles(), std::vector<std::string>{"First one.htm"}) << "the line before the jump, its mark gone";
}

TEST_F(ViewerFixture, ALevelJumpIsReportedAndKeepsThePartialTree) {
  PutViewerFile("TrvNode.DLL", "\t\tFirst one.htm\r\n\t\tSecond two.htm\r\n");
  Open();
  EXPECT_EQ(test::TakeReportedExceptions(), std::vector<std::string>{"Invalid level (2) for item \"Second two.htm\""});
  EXPECT_EQ(Titles(), std::vector<std::string>{"First one.htm"}) << "raw text, not yet split";
  EXPECT_EQ(form->Memo1->Lines()->ToVector(), std::vector<std::string>{"Memo1"}) << "the path list is untouched";
  EXPECT_NE(form->BoundsRect(), Screen()->WorkAreaRect()) << "the rest of the show event did not run";
  EXPECT_TRUE(IsWindowVisible(form->Handle()));
}

TEST_F(ViewerFixture, TheButtonsWalkTheTopicsInAbsoluteOrder) {
  PutViewerFile("TrvNode.DLL", kExample);
  Open();
  // The control picks the first topic when it takes the focus; start from a
  // focused tree with no selection at all.
  form->TrvMenu->SetFocus();
  form->TrvMenu->SetSelected(nullptr);
  changes = 0;
  Press(3);  // next, with nothing selected
  EXPECT_EQ(Selected(), -1);
  Press(2);  // previous, with nothing selected
  EXPECT_EQ(Selected(), -1);
  EXPECT_EQ(changes, 0);
  Press(1);
  EXPECT_EQ(Selected(), 0);
  EXPECT_EQ(Page(), ViewerFolder() + "index.htm");
  EXPECT_EQ(GetFocus(), form->TrvMenu->Handle()) << "the tree has the focus after a button";
  Press(3);
  EXPECT_EQ(Selected(), 1) << "the next of a parent is its first child";
  EXPECT_EQ(Page(), ViewerFolder() + "setup\\install.htm");
  Press(3);
  Press(3);
  EXPECT_EQ(Selected(), 2) << "next stops at the last topic";
  Press(4);
  EXPECT_EQ(Selected(), 2);
  int before = changes;
  Press(4);
  Press(3);
  EXPECT_EQ(changes, before) << "selecting the selected topic again changes nothing";
  Press(2);
  EXPECT_EQ(Selected(), 1);
  Press(1);
  Press(2);
  EXPECT_EQ(Selected(), 0) << "previous stops at the first";
  before = changes;
  Press(1);
  EXPECT_EQ(changes, before) << "first on the first topic does not reload the page";
}

TEST_F(ViewerFixture, SelectingInACollapsedBranchOpensIt) {
  PutViewerFile("TrvNode.DLL", kExample);
  Open();
  form->TrvMenu->Items()->Item(0)->Collapse(false);
  Press(1);
  Press(3);
  EXPECT_EQ(Selected(), 1);
  EXPECT_TRUE(form->TrvMenu->Items()->Item(0)->Expanded());
}

TEST_F(ViewerFixture, AMissingPageKeepsThePageShown) {
  PutViewerFile("TrvNode.DLL", "One index.htm\r\nTwo gone.htm\r\n");
  Open();
  Press(1);
  EXPECT_EQ(Page(), ViewerFolder() + "index.htm");
  Press(3);
  EXPECT_EQ(Selected(), 1);
  EXPECT_EQ(Page(), ViewerFolder() + "index.htm");
}

TEST_F(ViewerFixture, ShowingTheWindowAgainReloadsTheIndex) {
  PutViewerFile("TrvNode.DLL", kExample);
  Open();
  PutViewerFile("TrvNode.DLL", "Only usage.htm\r\n");
  form->Hide();
  form->Show();
  EXPECT_EQ(Titles(), std::vector<std::string>{"Only"});
  EXPECT_EQ(form->Memo1->Lines()->ToVector(), std::vector<std::string>{"usage.htm"});
}

TEST_F(ViewerFixture, AnIndexThatVanishesOrBreaksBetweenShowsLeavesTheTopicsShown) {
  PutViewerFile("TrvNode.DLL", kExample);
  Open();
  const std::vector<std::string> titles{"Welcome", "Setup", "Usage"};
  const std::vector<std::string> paths{"index.htm", "setup\\install.htm", "usage.htm"};
  auto showAgain = [&] {
    form->Hide();
    form->Show();
    test::PumpMessages();
  };
  RemoveViewerFile("TrvNode.DLL");
  showAgain();
  EXPECT_TRUE(test::TakeReportedExceptions().empty()) << "a missing index is no error";
  EXPECT_EQ(Titles(), titles);
  EXPECT_EQ(form->Memo1->Lines()->ToVector(), paths);
  PutViewerFile("TrvNode.DLL", "Back a.htm\r\n\t\tJump b.htm\r\n");
  showAgain();
  auto reports = test::TakeReportedExceptions();
  ASSERT_EQ(reports.size(), 1u);
  EXPECT_EQ(reports[0], "Invalid level (2) for item \"Jump b.htm\"");
  EXPECT_EQ(Titles(), (std::vector<std::string>{"Back a.htm"})) << "the nodes read so far, unsplit";
  EXPECT_EQ(form->Memo1->Lines()->ToVector(), paths) << "the path list keeps its entries";
  PutViewerFile("TrvNode.DLL", kExample);
  showAgain();
  EXPECT_TRUE(test::TakeReportedExceptions().empty());
  EXPECT_EQ(Titles(), titles);
  form->TrvMenu->SetSelected(form->TrvMenu->Items()->Item(2));
  EXPECT_EQ(Page(), ViewerFolder() + "usage.htm");
}

TEST_F(ViewerFixture, AnIndexThatExistsButCannotBeReadIsReported) {
  // A folder of that name is not an index at all.
  CreateDirectoryW(Widen(ViewerFolder() + "TrvNode.DLL").c_str(), nullptr);
  Open();
  EXPECT_TRUE(test::TakeReportedExceptions().empty());
  EXPECT_EQ(Titles(), (std::vector<std::string>{"qwdasd", "asdasd"}));
  RemoveDirectoryW(Widen(ViewerFolder() + "TrvNode.DLL").c_str());
  // A file held open without sharing cannot be read.
  PutViewerFile("TrvNode.DLL", kExample);
  HANDLE locked = CreateFileW(Widen(ViewerFolder() + "TrvNode.DLL").c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                              OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(locked, INVALID_HANDLE_VALUE);
  form->Hide();
  form->Show();
  CloseHandle(locked);
  auto reports = test::TakeReportedExceptions();
  ASSERT_EQ(reports.size(), 1u);
  EXPECT_EQ(reports[0].rfind("Cannot open file", 0), 0u) << reports[0];
  EXPECT_EQ(Titles(), (std::vector<std::string>{"qwdasd", "asdasd"})) << "the tree keeps its nodes";
}

TEST_F(ViewerFixture, AHugeIndexFailsCleanly) {
  // 100 MB, made without writing it: the loader refuses it by its size.
  HANDLE file = CreateFileW(Widen(ViewerFolder() + "TrvNode.DLL").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  LARGE_INTEGER size;
  size.QuadPart = 100LL << 20;
  SetFilePointerEx(file, size, nullptr, FILE_BEGIN);
  SetEndOfFile(file);
  CloseHandle(file);
  Open();
  auto reports = test::TakeReportedExceptions();
  ASSERT_EQ(reports.size(), 1u);
  EXPECT_NE(reports[0].find("too large"), std::string::npos) << reports[0];
  EXPECT_EQ(Titles(), (std::vector<std::string>{"qwdasd", "asdasd"}));
  EXPECT_EQ(form->Memo1->Lines()->ToVector(), std::vector<std::string>{"Memo1"});
}

TEST_F(ViewerFixture, TooManyTopicsFailCleanly) {
  PutViewerFile("TrvNode.DLL", std::string(TTreeView::kMaxNodes + 1, '\n'));
  Open();
  auto reports = test::TakeReportedExceptions();
  ASSERT_EQ(reports.size(), 1u);
  EXPECT_NE(reports[0].find("a tree takes at most"), std::string::npos) << reports[0];
  EXPECT_EQ(Titles(), (std::vector<std::string>{"qwdasd", "asdasd"}));
}

// A large index loaded without windows, as the bench loads it: every title
// and every path, in order, whatever break ends its line, with empty lines
// and no break after the last line.
TEST(TopicIndexLoadTest, AHundredThousandTopicsGiveEveryTitleAndPath) {
  constexpr int kTopics = 100000;
  auto title = [](int i) { return i % 1000 == 500 ? std::string() : "Topic" + std::to_string(i); };
  auto page = [](int i) { return i % 1000 == 500 ? std::string() : "pages\\topic " + std::to_string(i) + ".htm"; };
  std::string text;
  for (int i = 0; i < kTopics; ++i) {
    const int level = i % 10 == 0 ? 0 : (i % 10 < 4 ? 1 : 2);
    text.append(static_cast<size_t>(level), '\t');
    if (!title(i).empty()) text += title(i) + " " + page(i);
    if (i + 1 < kTopics) text += i % 3 == 0 ? "\r\n" : (i % 3 == 1 ? "\n" : "\r");
  }
  char dir[MAX_PATH] = {};
  GetTempPathA(MAX_PATH, dir);
  const std::string path = std::string(dir) + "hv_large_index_test.txt";
  HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  DWORD written = 0;
  WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
  CloseHandle(file);
  TTreeView tree(nullptr);
  TMemo paths(nullptr);
  TFrmMain::LoadTopicIndex(path, tree, *paths.Lines());
  DeleteFileA(path.c_str());
  ASSERT_EQ(tree.Items()->Count(), kTopics);
  ASSERT_EQ(paths.Lines()->Count(), kTopics);
  for (int i = 0; i < kTopics; ++i) {
    ASSERT_EQ(tree.Items()->Item(i)->Text(), title(i)) << i;
    ASSERT_EQ(paths.Lines()->Get(i), page(i)) << i;
  }
  EXPECT_EQ(paths.Lines()->Get(kTopics), "") << "past the end, as the control answers";
  EXPECT_EQ(tree.Items()->Item(kTopics - 1)->Parent(), tree.Items()->Item(kTopics - 7));
  EXPECT_FALSE(tree.HandleAllocated() || paths.HandleAllocated());
}

TEST_F(ViewerFixture, TheStoredEngineAsksForMetalLuna) {
  Open();
  auto* engine = dynamic_cast<TTeThemeEngine*>(form->FindComponent("TeThemeEngine1"));
  ASSERT_NE(engine, nullptr);
  EXPECT_TRUE(engine->ColorAutoChanging());
  EXPECT_EQ(engine->DeltaHue(), 0);
  EXPECT_EQ(engine->DeltaBrightness(), 0);
  EXPECT_EQ(engine->Theme()->ThemeClass()->GetName(), "MetalLuna");
  EXPECT_NE(dynamic_cast<TTeThemeMetalLuna*>(engine->Theme()), nullptr);
  // The refresh at load gave the window the style's window colour.
  EXPECT_EQ(form->Color(), static_cast<TColor>(0xFFF8F8));
}

TEST_F(ViewerFixture, TheWindowWearsTheStoredThemedFrame) {
  Open();
  auto* frame = dynamic_cast<TTeThemeForm*>(form->FindComponent("TeThemeForm1"));
  ASSERT_NE(frame, nullptr);
  EXPECT_EQ(frame->BorderIcons(), (TTeBorderIcons{kbiClose, kbiMinimize, kbiMaximize}));
  EXPECT_EQ(frame->BorderStyle(), kbsStandard);
  EXPECT_EQ(frame->Performance(), ksfpNoBuffer);
  EXPECT_EQ(frame->WindowState(), kwsNormal);
  EXPECT_FALSE(frame->StayOnTop());
  EXPECT_EQ(frame->ThemeEngine(), form->FindComponent("TeThemeEngine1"));
  EXPECT_EQ(frame->Caption(), form->Caption());
  EXPECT_EQ(frame->Version(), "3.1.5");
  // The frame holds the window: its hit tests and client area are the frame's.
  ASSERT_NE(frame->ControlHook(), nullptr);
  HWND wnd = form->Handle();
  RECT r{};
  GetWindowRect(wnd, &r);
  POINT origin{0, 0};
  ClientToScreen(wnd, &origin);
  const TRect client = frame->GetFrameClientRect();
  EXPECT_EQ(origin.x - r.left, client.left);
  EXPECT_EQ(origin.y - r.top, client.top);
  const TRect close = frame->GetButtonRect(kbiClose);
  EXPECT_EQ(SendMessageW(wnd, WM_NCHITTEST, 0, MAKELPARAM(r.left + close.left + 2, r.top + close.top + 2)), HTCLOSE);
  EXPECT_TRUE(frame->GetButtonRect(kbiSystemMenu).IsEmpty());
  EXPECT_TRUE(frame->GetButtonRect(kbiRollup).IsEmpty());

  // Metal Luna rounds both top corners: 5, 3, 2, 1 and 1 pixels of rows 0
  // to 4 are cut from each, and nothing else.
  TRegionHandle region(CreateRectRgn(0, 0, 0, 0));
  ASSERT_NE(GetWindowRgn(wnd, region.Get()), ERROR);
  const int width = r.right - r.left;
  const int height = r.bottom - r.top;
  int missingLeft = 0;
  int missingRight = 0;
  for (int y = 0; y < 8; ++y) {
    for (int x = 0; x < 8; ++x) {
      missingLeft += !PtInRegion(region.Get(), x, y);
      missingRight += !PtInRegion(region.Get(), width - 1 - x, y);
    }
  }
  EXPECT_EQ(missingLeft, 12);
  EXPECT_EQ(missingRight, 12);
  EXPECT_FALSE(PtInRegion(region.Get(), 4, 0));
  EXPECT_TRUE(PtInRegion(region.Get(), 5, 0));
  EXPECT_TRUE(PtInRegion(region.Get(), 0, height - 1));
  EXPECT_TRUE(PtInRegion(region.Get(), width - 1, height - 1));
}

TEST_F(ViewerFixture, TheThemedFrameMovesSizesAndRollsUpTheWindow) {
  Open();
  auto* frame = dynamic_cast<TTeThemeForm*>(form->FindComponent("TeThemeForm1"));
  ASSERT_NE(frame, nullptr);
  const TRect work = Screen()->WorkAreaRect();
  ASSERT_EQ(form->BoundsRect(), work);
  HWND wnd = form->Handle();
  auto drag = [&](int x, int y, int dx, int dy) {
    SendMessageW(wnd, WM_NCLBUTTONDOWN, HTCAPTION, MAKELPARAM(x, y));
    SendMessageW(wnd, WM_NCMOUSEMOVE, HTCAPTION, MAKELPARAM(x + dx, y + dy));
    SendMessageW(wnd, WM_NCLBUTTONUP, HTCAPTION, MAKELPARAM(x + dx, y + dy));
    test::PumpMessages();
  };

  // Dragging the caption moves the window, and it stays there.
  const TRect close = frame->GetButtonRect(kbiClose);
  drag(work.left + close.left - 100, work.top + close.top + 2, 40, 30);
  EXPECT_EQ(form->BoundsRect(), work.Offset(40, 30));

  // Dragging the right border sizes it.
  drag(form->Left() + form->Width() - 2, form->Top() + 200, -300, 0);
  const TRect normal{work.left + 40, work.top + 30, work.right + 40 - 300, work.bottom + 30};
  EXPECT_EQ(form->BoundsRect(), normal);

  // Rolled up only the caption and the bottom border are left; restoring
  // unrolls it where it is.
  frame->Rollup();
  test::PumpMessages();
  EXPECT_EQ(frame->WindowState(), kwsRollup);
  EXPECT_EQ(form->Height(), 29 + 3);  // Metal Luna's caption and bottom border
  EXPECT_EQ(form->Width(), normal.Width());
  frame->Restore();
  test::PumpMessages();
  EXPECT_EQ(frame->WindowState(), kwsNormal);
  EXPECT_EQ(form->BoundsRect(), normal);

  // Maximized it fills the work area again; restored it goes back.
  frame->Maximize();
  test::PumpMessages();
  EXPECT_EQ(frame->WindowState(), kwsMaximized);
  EXPECT_EQ(form->BoundsRect(), work);
  frame->Restore();
  test::PumpMessages();
  EXPECT_EQ(frame->WindowState(), kwsNormal);
  EXPECT_EQ(form->BoundsRect(), normal);
}

}  // namespace
}  // namespace hv

namespace hv {
namespace {

TEST_F(ViewerFixture, TheSplitterAndTheStatusBarAreStoredThemedAndLinked) {
  Open();
  auto* engine = dynamic_cast<TTeThemeEngine*>(form->FindComponent("TeThemeEngine1"));
  auto* splitter = dynamic_cast<TTeThemeSplitter*>(form->FindComponent("TeThemeSplitter1"));
  auto* bar = dynamic_cast<TTeThemeStatusBar*>(form->FindComponent("TeThemeStatusBar1"));
  ASSERT_NE(engine, nullptr);
  ASSERT_NE(splitter, nullptr);
  ASSERT_NE(bar, nullptr);
  EXPECT_EQ(splitter->ThemeEngine(), engine);
  EXPECT_EQ(splitter->Width(), 4);
  EXPECT_EQ(splitter->Left(), form->TrvMenu->Width());
  EXPECT_EQ(splitter->Cursor(), crHSplit);
  EXPECT_EQ(splitter->Color(), clBtnFace);
  EXPECT_EQ(splitter->Performance(), kspNoBuffer);
  EXPECT_FALSE(splitter->Transparent());
  EXPECT_TRUE(splitter->AutoSnap());
  EXPECT_EQ(splitter->MinSize(), 30);

  EXPECT_EQ(bar->ThemeEngine(), engine);
  EXPECT_EQ(bar->Align(), TAlign::alBottom);
  EXPECT_EQ(bar->Height(), 22);
  EXPECT_EQ(bar->Top() + bar->Height(), form->ClientHeight());
  EXPECT_EQ(bar->BorderWidth(), 2);
  EXPECT_EQ(bar->BevelSides(), kAllBevelSides);
  EXPECT_EQ(bar->BevelInner(), kbvSpace);
  EXPECT_EQ(bar->BevelOuter(), kbvRaised);
  EXPECT_EQ(bar->BevelKind(), kbkNone);
  EXPECT_EQ(bar->BevelWidth(), 0);
  EXPECT_EQ(bar->Color(), clBtnFace);
  EXPECT_EQ(bar->Performance(), kspNoBuffer);
  ASSERT_EQ(bar->Panels()->Count(), 2);
  for (int i = 0; i < 2; ++i) {
    EXPECT_EQ(bar->Panels()->Items(i)->Width(), 50);
    EXPECT_EQ(bar->Panels()->Items(i)->ImageIndex(), -1);
    EXPECT_EQ(bar->Panels()->Items(i)->Text(), "");
  }
  EXPECT_EQ(bar->Panels()->Items(1)->PanelRight(), 102);
  wchar_t name[64] = {};
  GetClassNameW(bar->Handle(), name, 64);
  EXPECT_STREQ(name, L"TTeThemeStatusBar");
}

TEST_F(ViewerFixture, DraggingTheSplitterResizesTheTreeWithinItsMinimum) {
  Open();
  auto* splitter = dynamic_cast<TTeThemeSplitter*>(form->FindComponent("TeThemeSplitter1"));
  ASSERT_NE(splitter, nullptr);
  HWND wnd = form->Handle();
  auto drag = [&](int dx) {
    const int x = splitter->Left() + 2, y = splitter->Top() + 100;
    SendMessageW(wnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
    SendMessageW(wnd, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(x + dx, y));
    SendMessageW(wnd, WM_LBUTTONUP, 0, MAKELPARAM(x + dx, y));
    test::PumpMessages();
  };
  drag(60);
  EXPECT_EQ(form->TrvMenu->Width(), 261);
  EXPECT_EQ(form->WebBrowser1->Left(), 265);
  splitter->SetAutoSnap(false);
  drag(-1000);
  EXPECT_EQ(form->TrvMenu->Width(), 30);
  // As stored, the minimum snaps the tree shut.
  splitter->SetAutoSnap(true);
  drag(-1000);
  EXPECT_EQ(form->TrvMenu->Width(), 0);
  drag(150);
  EXPECT_EQ(form->TrvMenu->Width(), 150);
}

TEST_F(ViewerFixture, TheStatusBarsGripSizesTheWindow) {
  Open();
  auto* bar = dynamic_cast<TTeThemeStatusBar*>(form->FindComponent("TeThemeStatusBar1"));
  ASSERT_NE(bar, nullptr);
  ASSERT_TRUE(bar->SizeGripShown());
  const TRect before = form->BoundsRect();
  const TRect grip = bar->SizeGripRect();
  POINT screen{grip.left + 5, grip.top + 5};
  ClientToScreen(bar->Handle(), &screen);
  SendMessageW(bar->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(grip.left + 5, grip.top + 5));
  SendMessageW(form->Handle(), WM_NCMOUSEMOVE, HTBOTTOMRIGHT, MAKELPARAM(screen.x - 200, screen.y - 100));
  SendMessageW(form->Handle(), WM_NCLBUTTONUP, HTBOTTOMRIGHT, MAKELPARAM(screen.x - 200, screen.y - 100));
  test::PumpMessages();
  EXPECT_EQ(form->BoundsRect(), Rect(before.left, before.top, before.right - 200, before.bottom - 100));
  EXPECT_EQ(bar->Top() + bar->Height(), form->ClientHeight()) << "the bar stays along the bottom";
}

}  // namespace
}  // namespace hv
