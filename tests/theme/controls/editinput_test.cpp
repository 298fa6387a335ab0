// The edit box's clipboard, mouse and context menu on real windows.

#include <windows.h>

#include <chrono>
#include <thread>

#include "tests/theme/controls/edit_test_support.h"
#include "theme/core/themeitems.h"
#include "theme/frame/popupmenu.h"

namespace hv::test {
namespace {

TEST_F(EditTest, ClipboardRoundTripsOfChineseAndAPairBeyondTheBasicPlane) {
  const std::u16string texts[] = {u"中文测试", u"clef \U0001D11E!"};
  for (const std::u16string& text : texts) {
    auto* source = MakeEdit(text);
    Focus(source);
    source->SelectAll();
    ASSERT_TRUE(SetClipboard(u"old"));
    Key(source, 'C', false, true);
    EXPECT_EQ(ClipboardText(), text);
    Key(source, 'X', false, true);
    EXPECT_EQ(source->EditText(), u"");
    auto* target = MakeEdit(u"[]");
    Focus(target, 1);
    Key(target, 'V', false, true);
    EXPECT_EQ(target->EditText(), u"[" + text + u"]");
    EXPECT_EQ(target->CaretPos(), static_cast<int>(text.size()) + 1);
    Key(target, 'Z', false, true);
    EXPECT_EQ(target->EditText(), u"[]");
    // The Insert combinations do the same.
    target->Select(0, 1);
    Key(target, VK_INSERT, false, true);
    EXPECT_EQ(ClipboardText(), u"[");
    target->Select(2, 0);
    Key(target, VK_INSERT, true, false);
    EXPECT_EQ(target->EditText(), u"[][");
    // Shift+Delete cuts a selection.
    target->Select(0, 2);
    Key(target, VK_DELETE, true, false);
    EXPECT_EQ(ClipboardText(), u"[]");
    EXPECT_EQ(target->EditText(), u"[");
    form->DestroyComponents();
  }
}

TEST_F(EditTest, PastedTextIsCleanedAndMaxLengthRefusesAPasteThatWouldNotFit) {
  auto* edit = MakeEdit(u"ab");
  Focus(edit, 1);
  ASSERT_TRUE(SetClipboard(u"x\xD800y\tz\r\nnext line"));
  SendMessageW(edit->Handle(), WM_PASTE, 0, 0);
  EXPECT_EQ(edit->EditText(), u"ax\xFFFDy z" u"b");

  edit->SetEditText(u"abc");
  edit->SetMaxLength(5);
  edit->Select(3, 0);
  const size_t records = edit->Actions().Count();
  ASSERT_TRUE(SetClipboard(u"xyz"));
  Key(edit, 'V', false, true);
  EXPECT_EQ(edit->EditText(), u"abc") << "the whole paste is refused";
  EXPECT_EQ(edit->Actions().Count(), records);
  ASSERT_TRUE(SetClipboard(u"xy"));
  Key(edit, 'V', false, true);
  EXPECT_EQ(edit->EditText(), u"abcxy") << "what fits goes in";
}

TEST_F(EditTest, ATenMegabytePasteKeepsToMaxLengthAndStaysResponsive) {
  const std::u16string big(5u << 20, u'q');  // 10 MB of UTF-16
  ASSERT_TRUE(SetClipboard(big));
  auto* limited = MakeEdit(u"keep");
  limited->SetMaxLength(100);
  Focus(limited, 4);
  Key(limited, 'V', false, true);
  EXPECT_EQ(limited->EditText(), u"keep");

  auto* edit = MakeEdit();
  Focus(edit);
  const auto start = std::chrono::steady_clock::now();
  Key(edit, 'V', false, true);
  Type(edit, u"!");
  Key(edit, VK_HOME);
  Key(edit, VK_END);
  RedrawWindow(edit->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  EXPECT_EQ(edit->EditText().size(), big.size() + 1);
  EXPECT_EQ(edit->CaretPos(), static_cast<int>(big.size()) + 1);
  EXPECT_LT(seconds, 5.0) << "paste, a key and a paint of a 10 MB text";
}

TEST_F(EditTest, AClipboardHeldByAnotherProgramLosesNoText) {
  auto* edit = MakeEdit(u"keep me");
  Focus(edit);
  edit->SelectAll();
  ASSERT_TRUE(SetClipboard(u"theirs"));
  HANDLE opened = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  HANDLE release = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  std::thread holder([&] {
    const BOOL open = OpenClipboard(nullptr);
    SetEvent(opened);
    WaitForSingleObject(release, 10000);
    if (open) CloseClipboard();
  });
  WaitForSingleObject(opened, 10000);
  Key(edit, 'X', false, true);
  EXPECT_EQ(edit->EditText(), u"keep me") << "a cut that cannot copy removes nothing";
  Key(edit, 'V', false, true);
  EXPECT_EQ(edit->EditText(), u"keep me");
  SetEvent(release);
  holder.join();
  CloseHandle(opened);
  CloseHandle(release);
  EXPECT_EQ(ClipboardText(), u"theirs");
}

TEST_F(EditTest, PasswordTextNeverReachesTheClipboard) {
  auto* edit = MakeEdit(u"secret");
  edit->SetPasswordKind(pkChar);
  edit->SetPasswordWideChar(u'*');
  Focus(edit);
  edit->SelectAll();
  ASSERT_TRUE(SetClipboard(u"before"));
  Key(edit, 'C', false, true);
  Key(edit, 'X', false, true);
  SendMessageW(edit->Handle(), WM_COPY, 0, 0);
  SendMessageW(edit->Handle(), WM_CUT, 0, 0);
  EXPECT_EQ(ClipboardText(), u"before");
  EXPECT_EQ(edit->EditText(), u"secret");
  TTeCustomItem* items = edit->PrepareContextMenu()->Items();
  EXPECT_FALSE(items->Items(kemCut)->Enabled());
  EXPECT_FALSE(items->Items(kemCopy)->Enabled());
  EXPECT_TRUE(items->Items(kemDelete)->Enabled());
  // The cells are one per character at the cell width of the password character.
  EXPECT_EQ(edit->XOfIndex(6) - edit->XOfIndex(0), 6 * edit->CellWidth());
  EXPECT_EQ(edit->IndexAtX(edit->XOfIndex(0) + 2 * edit->CellWidth() + 1), 2);
}

TEST_F(EditTest, ContextMenuLinesAreEnabledByState) {
  auto* edit = MakeEdit(u"one two");
  Focus(edit);
  ASSERT_TRUE(SetClipboard(u"paste me"));
  TTeCustomPopupMenu* menu = edit->PrepareContextMenu();
  TTeCustomItem* items = menu->Items();
  ASSERT_EQ(items->Count(), 8);
  const char* captions[] = {"Undo", "-", "Cut", "Copy", "Paste", "Delete", "-", "Select All"};
  for (int i = 0; i < 8; ++i) EXPECT_EQ(items->Items(i)->Caption(), captions[i]);
  EXPECT_EQ(menu->PopupComponent(), edit);
  auto enabled = [&] {
    edit->PrepareContextMenu();
    std::string s;
    for (int i : {kemUndo, kemCut, kemCopy, kemPaste, kemDelete, kemSelectAll})
      s += items->Items(i)->Enabled() ? '1' : '0';
    return s;
  };
  edit->Select(0, 0);
  EXPECT_EQ(enabled(), "000101") << "no selection, nothing to undo";
  edit->Select(0, 3);
  EXPECT_EQ(enabled(), "011111");
  Type(edit, u"x");
  EXPECT_EQ(enabled(), "100101");
  edit->SelectAll();
  EXPECT_EQ(enabled(), "111110") << "everything selected";
  edit->SetReadOnly(true);
  EXPECT_EQ(enabled(), "001000");
  edit->SetReadOnly(false);
  ASSERT_TRUE(SetClipboard(u""));
  EXPECT_EQ(enabled(), "111010") << "an empty clipboard";

  // The menu's options are copied into the menu when it opens.
  edit->ContextMenuOptions()->Shadow()->SetEnabled(true);
  edit->PrepareContextMenu();
  EXPECT_TRUE(menu->PopupMenuOptions()->Shadow()->Enabled());
  EXPECT_NE(menu->PopupMenuOptions(), edit->ContextMenuOptions());
}

TEST_F(EditTest, TheRightClickOpensTheMenuAndItsLinesRunTheirCommands) {
  auto* edit = MakeEdit(u"one two");
  Focus(edit);
  edit->Select(0, 3);
  POINT p{20, 15};
  ClientToScreen(edit->Handle(), &p);
  bool opened = false;
  // The menu runs its own loop; a timer inside it looks and closes it.
  static TTeCustomEdit* watched = nullptr;
  static bool* seen = nullptr;
  watched = edit;
  seen = &opened;
  const UINT_PTR timer = SetTimer(nullptr, 0, 50, [](HWND, UINT, UINT_PTR, DWORD) {
    if (TTeCustomPopupMenu::OpenMenu() && TTeCustomPopupMenu::OpenMenu() == watched->ContextMenu()) *seen = true;
    TTeCustomPopupMenu::CloseOpenMenus();
  });
  SendMessageW(edit->Handle(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(edit->Handle()), MAKELPARAM(p.x, p.y));
  KillTimer(nullptr, timer);
  EXPECT_TRUE(opened);
  ASSERT_NE(edit->ContextMenu(), nullptr);
  TTeCustomItem* items = edit->ContextMenu()->Items();
  items->Items(kemDelete)->Click();
  PumpMessages();
  EXPECT_EQ(edit->EditText(), u" two");
  // Each opening enables the lines anew: Undo now has something to undo.
  edit->PrepareContextMenu();
  items->Items(kemUndo)->Click();
  PumpMessages();
  EXPECT_EQ(edit->EditText(), u"one two");
  edit->PrepareContextMenu();
  items->Items(kemSelectAll)->Click();
  PumpMessages();
  EXPECT_EQ(edit->SelCount(), 7);
}

// --- mouse -------------------------------------------------------------------------------------

TEST_F(EditTest, ClickDragAndDoubleClick) {
  auto* edit = MakeEdit(u"one two");
  Focus(edit);
  const int y = edit->TextRect().top + 2;
  // A click between characters puts the caret at the nearer boundary.
  const int x2 = edit->XOfIndex(2);
  Send(edit, WM_LBUTTONDOWN, MK_LBUTTON, x2 + 1, y);
  EXPECT_TRUE(edit->Selecting());
  EXPECT_EQ(GetCapture(), edit->Handle());
  EXPECT_EQ(edit->CaretPos(), 2);
  EXPECT_EQ(edit->SelCount(), 0) << "the focus's select-all is dropped";
  Send(edit, WM_MOUSEMOVE, MK_LBUTTON, edit->XOfIndex(5) - 1, y);
  EXPECT_EQ(edit->SelText(), u"e t");
  Send(edit, WM_LBUTTONUP, 0, edit->XOfIndex(5) - 1, y);
  EXPECT_FALSE(edit->Selecting());
  EXPECT_NE(GetCapture(), edit->Handle());
  Send(edit, WM_MOUSEMOVE, 0, edit->XOfIndex(7), y);
  EXPECT_EQ(edit->SelText(), u"e t") << "moves after the release select nothing";

  // A double click selects the word with the space after it.
  const int x1 = edit->XOfIndex(1);
  Send(edit, WM_LBUTTONDOWN, MK_LBUTTON, x1, y);
  Send(edit, WM_LBUTTONUP, 0, x1, y);
  Send(edit, WM_LBUTTONDBLCLK, MK_LBUTTON, x1, y);
  Send(edit, WM_LBUTTONUP, 0, x1, y);
  EXPECT_EQ(edit->SelText(), u"one ");
  EXPECT_EQ(edit->CaretPos(), 4);
  EXPECT_FALSE(edit->Selecting());
}

TEST_F(EditTest, DraggingPastTheRightEdgeScrolls) {
  std::u16string text(200, u'm');
  auto* edit = MakeEdit(text, 80);
  Focus(edit);
  const TRect r = edit->TextRect();
  const int y = r.top + 2;
  Send(edit, WM_LBUTTONDOWN, MK_LBUTTON, r.left + 1, y);
  int caret = edit->CaretPos();
  for (int i = 0; i < 20; ++i) Send(edit, WM_MOUSEMOVE, MK_LBUTTON, r.right + 10, y);
  EXPECT_GT(edit->CaretPos(), caret + 10);
  EXPECT_GT(edit->FirstVisible(), 1);
  EXPECT_EQ(edit->SelCount(), edit->CaretPos());
  // Held still past the edge, the text goes on scrolling by itself.
  caret = edit->CaretPos();
  const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(400);
  while (std::chrono::steady_clock::now() < until) {
    PumpMessages();
    Sleep(20);
  }
  EXPECT_GT(edit->CaretPos(), caret);
  Send(edit, WM_LBUTTONUP, 0, r.right + 10, y);
  const int stopped = edit->CaretPos();
  Sleep(150);
  PumpMessages();
  EXPECT_EQ(edit->CaretPos(), stopped);
}

}  // namespace
}  // namespace hv::test
