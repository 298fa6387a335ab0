// The edit box on real windows: defaults, typing, keys, selection, undo,
// limits and painting, through real messages.

#include <windows.h>
#include <imm.h>

#include "framework/filer.h"
#include "framework/graphics.h"
#include "tests/support/pixel_rows.h"
#include "tests/theme/controls/edit_test_support.h"
#include "theme/frame/formoptions.h"

namespace hv::test {
namespace {

TEST_F(EditTest, DefaultsAndTheDialogCode) {
  auto* edit = TComponent::Create<TTeCustomEdit>(form);
  EXPECT_EQ(edit->Width(), 121);
  EXPECT_EQ(edit->Height(), 21);
  EXPECT_EQ(edit->BorderWidth(), 3);
  EXPECT_EQ(edit->BevelKind(), kbkSingle);
  EXPECT_EQ(edit->BevelWidth(), 1);
  EXPECT_EQ(edit->Performance(), kspDoubleBuffer);
  EXPECT_EQ(edit->Color(), clWindow);
  EXPECT_EQ(edit->Cursor(), crIBeam);
  EXPECT_TRUE(edit->TabStop());
  EXPECT_TRUE(edit->AutoSelect());
  EXPECT_TRUE(edit->AutoSize());
  EXPECT_TRUE(edit->HideSelection());
  EXPECT_EQ(edit->MaxLength(), 0);
  EXPECT_EQ(edit->FirstVisible(), 1);
  edit->SetCursor(crDefault);
  EXPECT_EQ(edit->Cursor(), crIBeam) << "the default cursor is the I-beam";
  edit->SetParent(form);
  EXPECT_EQ(SendMessageW(edit->Handle(), WM_GETDLGCODE, 0, 0), 129);
  // With AutoSize a font change sizes the box to its text and frame.
  edit->Font()->SetHeight(-20);
  EXPECT_EQ(edit->Height(), edit->TextRect().Height() + 2 * edit->GetContentRect().top);
  EXPECT_GE(edit->TextRect().Height(), 20);
}

TEST_F(EditTest, PublishedPropertiesRoundTripThroughALayout) {
  TTeCustomEdit edit(nullptr);
  edit.SetEditText(u"text 中 \U0001D11E");
  edit.SetReadOnly(true);
  edit.SetAutoSelect(false);
  edit.SetHideSelection(false);
  edit.SetCharCase(ecUpperCase);
  edit.SetMaxLength(40);
  edit.SetPasswordKind(pkTriangle);
  edit.SetPasswordWideChar(0x25CF);
  edit.SetTextAlignment(TAlignment::taCenter);
  edit.ContextMenuOptions()->Shadow()->SetEnabled(true);
  // Sized to its text as loading will size it.
  edit.SetAutoSize(false);
  edit.SetAutoSize(true);
  EXPECT_EQ(edit.Height(), edit.TextRect().Height() + 2 * edit.GetContentRect().top);
  const std::string text = WriteLayout(edit);
  EXPECT_EQ(text.find("AutoSize"), std::string::npos) << "defaults stay out: " << text;
  TTeCustomEdit read(nullptr);
  ReadLayout(text, read);
  EXPECT_EQ(read.EditText(), u"TEXT 中 \U0001D11E");
  EXPECT_TRUE(read.ReadOnly());
  EXPECT_FALSE(read.AutoSelect());
  EXPECT_FALSE(read.HideSelection());
  EXPECT_EQ(read.CharCase(), ecUpperCase);
  EXPECT_EQ(read.MaxLength(), 40);
  EXPECT_EQ(read.PasswordKind(), pkTriangle);
  EXPECT_EQ(read.PasswordWideChar(), 0x25CF);
  EXPECT_EQ(read.TextAlignment(), TAlignment::taCenter);
  EXPECT_TRUE(read.ContextMenuOptions()->Shadow()->Enabled());
  EXPECT_EQ(WriteLayout(read), text);
}

TEST_F(EditTest, TypingAndUndoingInOneStepAndAReplacedSelection) {
  auto* edit = MakeEdit();
  Focus(edit);
  int changes = 0;
  edit->OnChange = [&](TObject*) { ++changes; };
  Type(edit, u"abc");
  EXPECT_EQ(edit->EditText(), u"abc");
  EXPECT_EQ(edit->CaretPos(), 3);
  EXPECT_EQ(changes, 3);
  EXPECT_EQ(edit->Text(), "abc") << "the framework's text is the same";
  Key(edit, 'Z', false, true);
  EXPECT_EQ(edit->EditText(), u"") << "three typed characters are one insertion";
  EXPECT_FALSE(SendMessageW(edit->Handle(), WM_UNDO, 0, 0)) << "nothing left to undo";

  edit->SetEditText(u"abcd");
  edit->Select(1, 2);
  Type(edit, u"x");
  EXPECT_EQ(edit->EditText(), u"axd");
  EXPECT_EQ(edit->CaretPos(), 2);
  EXPECT_TRUE(SendMessageW(edit->Handle(), WM_UNDO, 0, 0));
  EXPECT_EQ(edit->EditText(), u"abcd");
  EXPECT_EQ(edit->SelStart(), 1);
  EXPECT_EQ(edit->SelText(), u"bc") << "the replaced text comes back selected";
}

TEST_F(EditTest, BackspacesAndDeletesAndUndoStepByStep) {
  auto* edit = MakeEdit(u"hello");
  Focus(edit, 5);
  for (int i = 0; i < 3; ++i) Key(edit, VK_BACK);
  EXPECT_EQ(edit->EditText(), u"he");
  const size_t records = edit->Actions().Count();
  Key(edit, VK_DELETE);
  EXPECT_EQ(edit->EditText(), u"he") << "Delete at the end removes nothing";
  EXPECT_EQ(edit->Actions().Count(), records) << "and records nothing";
  Key(edit, 'Z', false, true);
  EXPECT_EQ(edit->EditText(), u"hello");
  EXPECT_EQ(edit->SelText(), u"llo");

  // A run of edits goes back one record at a time to the original.
  edit->SetEditText(u"one two");
  Focus(edit, 0);
  Key(edit, VK_DELETE);
  Key(edit, VK_DELETE);  // "e two"
  Key(edit, VK_END);
  Type(edit, u"!?");  // "e two!?"
  Key(edit, VK_LEFT, false, true);
  Key(edit, VK_BACK);  // "etwo!?"
  EXPECT_EQ(edit->EditText(), u"etwo!?");
  const std::u16string expected[] = {u"e two!?", u"e two", u"one two"};
  for (const std::u16string& text : expected) {
    Key(edit, 'Z', false, true);
    EXPECT_EQ(edit->EditText(), text);
  }
  EXPECT_TRUE(edit->Actions().Empty());
}

TEST_F(EditTest, BackspaceAfterMovingLeftKeepsTheUndoRight) {
  // Two removals with a character between them are two records: undoing
  // them brings back exactly the text there was.
  auto* edit = MakeEdit(u"abcdef");
  Focus(edit, 5);
  Key(edit, VK_BACK);  // "abcdf"
  Key(edit, VK_LEFT);
  Key(edit, VK_BACK);  // "abdf"
  EXPECT_EQ(edit->EditText(), u"abdf");
  Key(edit, 'Z', false, true);
  EXPECT_EQ(edit->EditText(), u"abcdf");
  Key(edit, 'Z', false, true);
  EXPECT_EQ(edit->EditText(), u"abcdef");
}

TEST_F(EditTest, ArrowsHomeEndAndShiftSelection) {
  auto* edit = MakeEdit(u"one two");
  Focus(edit, 0);
  Key(edit, VK_RIGHT, false, true);
  EXPECT_EQ(edit->CaretPos(), 4) << "Ctrl+Right goes to the next word";
  Key(edit, VK_END);
  Key(edit, VK_LEFT, false, true);
  EXPECT_EQ(edit->CaretPos(), 4) << "Ctrl+Left goes to the start of the word";
  Key(edit, VK_HOME);
  Key(edit, VK_RIGHT, true);
  Key(edit, VK_RIGHT, true);
  EXPECT_EQ(edit->SelText(), u"on");
  EXPECT_EQ(edit->CaretPos(), 2);
  Key(edit, VK_RIGHT, true, true);
  EXPECT_EQ(edit->SelText(), u"one ");
  Key(edit, VK_LEFT, true);
  EXPECT_EQ(edit->SelText(), u"one");
  Key(edit, VK_END, true);
  EXPECT_EQ(edit->SelText(), u"one two");
  Key(edit, VK_HOME, true);
  EXPECT_EQ(edit->SelCount(), 0) << "back at the fixed end";
  Key(edit, VK_END, true);
  Key(edit, VK_LEFT);
  EXPECT_EQ(edit->SelCount(), 0) << "a move without Shift drops the selection";
  EXPECT_EQ(edit->CaretPos(), 6);
  Key(edit, VK_DELETE, true);  // nothing selected: removes one character
  EXPECT_EQ(edit->EditText(), u"one tw");
  Key(edit, 'A', false, true);
  EXPECT_EQ(edit->SelText(), u"one tw") << "Ctrl+A selects everything";
  Type(edit, u"\x7F");  // what Ctrl+Backspace types
  EXPECT_EQ(edit->EditText(), u"one tw");
}

TEST_F(EditTest, PairsBeyondTheBasicPlaneStayWhole) {
  auto* edit = MakeEdit(u"a\U0001F600b");
  Focus(edit, 1);
  Key(edit, VK_RIGHT);
  EXPECT_EQ(edit->CaretPos(), 3);
  Key(edit, VK_LEFT);
  EXPECT_EQ(edit->CaretPos(), 1);
  Key(edit, VK_RIGHT, true);
  EXPECT_EQ(edit->SelText(), u"\U0001F600");
  edit->Select(3, 0);
  Key(edit, VK_BACK);
  EXPECT_EQ(edit->EditText(), u"ab");
  Key(edit, 'Z', false, true);
  EXPECT_EQ(edit->EditText(), u"a\U0001F600b");
  edit->SetCaret(2);
  EXPECT_NE(edit->CaretPos(), 2) << "the caret never sits inside a pair";

  // Typed as two messages, the pair goes in as one character.
  edit->Select(4, 0);
  Type(edit, u"\U0001D11E");
  EXPECT_EQ(edit->EditText(), u"a\U0001F600b\U0001D11E");
  Type(edit, u"\xDC00");  // half a pair on its own
  EXPECT_EQ(edit->EditText(), u"a\U0001F600b\U0001D11E");
  Key(edit, VK_BACK);
  EXPECT_EQ(edit->EditText(), u"a\U0001F600b");
}

TEST_F(EditTest, MaxLengthRefusesTypingAndCutsUndoneText) {
  auto* edit = MakeEdit(u"abc");
  edit->SetMaxLength(3);
  Focus(edit, 3);
  const size_t records = edit->Actions().Count();
  Key(edit, VK_LEFT, true);
  Type(edit, u"xy");
  EXPECT_EQ(edit->EditText(), u"abx") << "replacing one character keeps the length";
  Type(edit, u"z");
  EXPECT_EQ(edit->EditText(), u"abx");
  EXPECT_EQ(edit->SelLength(), 0);
  EXPECT_EQ(edit->Actions().Count(), records + 2) << "a refused edit records nothing";
  Key(edit, 'Z', false, true);
  EXPECT_EQ(edit->EditText(), u"abc");
}

TEST_F(EditTest, ReadOnlyKeepsTheTextButMovesAndUndoes) {
  auto* edit = MakeEdit(u"abc");
  Focus(edit, 3);
  Type(edit, u"d");
  edit->SetReadOnly(true);
  Type(edit, u"e");
  Key(edit, VK_BACK);
  Key(edit, VK_HOME, true);
  Key(edit, VK_DELETE);
  EXPECT_EQ(edit->EditText(), u"abcd");
  EXPECT_EQ(edit->SelCount(), 4) << "selection still works";
  Key(edit, 'Z', false, true);
  EXPECT_EQ(edit->EditText(), u"abc") << "undo reverses what was recorded before";
}

TEST_F(EditTest, CharCaseMapsEveryCharacter) {
  auto* edit = MakeEdit(u"Abc中文");
  edit->SetCharCase(ecUpperCase);
  EXPECT_EQ(edit->EditText(), u"ABC中文");
  edit->SetCharCase(ecLowerCase);
  EXPECT_EQ(edit->EditText(), u"abc中文");
  Focus(edit, 5);
  Type(edit, u"Q");
  EXPECT_EQ(edit->EditText(), u"abc中文q");
}

TEST_F(EditTest, TheCaretStaysVisibleTypingPastTheRightEdge) {
  auto* edit = MakeEdit(u"", 80);
  Focus(edit);
  for (int i = 0; i < 60; ++i) {
    Type(edit, u"W");
    const TRect r = edit->TextRect();
    const int x = edit->XOfIndex(edit->CaretPos());
    ASSERT_GE(x, r.left) << i;
    ASSERT_LE(x, r.right) << i;
  }
  EXPECT_GT(edit->FirstVisible(), 1);
  POINT caret{};
  GetCaretPos(&caret);
  EXPECT_EQ(caret.x, edit->XOfIndex(edit->CaretPos()));
  EXPECT_EQ(caret.y, edit->TextRect().top);
  Key(edit, VK_HOME);
  EXPECT_EQ(edit->FirstVisible(), 1);
  EXPECT_EQ(edit->XOfIndex(0), edit->TextRect().left);
}

TEST_F(EditTest, WindowTextAndSettingItFromOutside) {
  auto* edit = MakeEdit(u"secret 中");
  wchar_t buffer[32] = {};
  EXPECT_EQ(GetWindowTextW(edit->Handle(), buffer, 32), 8);
  EXPECT_STREQ(buffer, L"secret 中");
  EXPECT_EQ(GetWindowTextW(edit->Handle(), buffer, 4), 3) << "cut to the buffer";
  edit->SetPasswordKind(pkCircle);
  EXPECT_EQ(GetWindowTextW(edit->Handle(), buffer, 32), 0) << "a password never leaves through the window text";
  EXPECT_EQ(GetWindowTextLengthW(edit->Handle()), 0);
  EXPECT_EQ(edit->EditText(), u"secret 中");
  SetWindowTextW(edit->Handle(), L"new");
  EXPECT_EQ(edit->EditText(), u"new");
  edit->SetText("utf-8 \xE4\xB8\xAD");
  EXPECT_EQ(edit->EditText(), u"utf-8 中");
}

TEST_F(EditTest, FocusSelectsAllOnlyWithAutoSelect) {
  auto* edit = MakeEdit(u"abc");
  auto* other = MakeEdit(u"xyz");
  other->SetAutoSelect(false);
  SetForegroundWindow(form->Handle());
  edit->SetFocus();
  PumpMessages();
  EXPECT_EQ(edit->SelCount(), 3);
  EXPECT_EQ(edit->CaretPos(), 0);
  other->SetFocus();
  PumpMessages();
  EXPECT_EQ(other->SelCount(), 0);
  EXPECT_EQ(other->CaretPos(), 0);
}

TEST_F(EditTest, AlignedTextAndHitTestingAgree) {
  auto* edit = MakeEdit(u"abc");
  const TRect r = edit->TextRect();
  const int width = edit->TextWidthOf(0, 3);
  ASSERT_LT(width, r.Width());
  edit->SetTextAlignment(TAlignment::taRightJustify);
  EXPECT_EQ(edit->XOfIndex(0), r.right - width);
  EXPECT_EQ(edit->XOfIndex(3), r.right);
  edit->SetTextAlignment(TAlignment::taCenter);
  EXPECT_EQ(edit->XOfIndex(0), r.left + (r.Width() - width) / 2);
  for (int i = 0; i <= 3; ++i) EXPECT_EQ(edit->IndexAtX(edit->XOfIndex(i)), i) << i;
  EXPECT_EQ(edit->IndexAtX(r.left), 0);
  EXPECT_EQ(edit->IndexAtX(r.right - 1), 3);
  // Wider than the box, the text starts at the left whatever the alignment.
  edit->SetEditText(std::u16string(100, u'w'));
  EXPECT_EQ(edit->XOfIndex(0), r.left);
}

TEST_F(EditTest, TheCompositionWindowOpensAtTheCaret) {
  auto* edit = MakeEdit(u"abcdef");
  Focus(edit, 4);
  SendMessageW(edit->Handle(), WM_IME_STARTCOMPOSITION, 0, 0);
  HIMC context = ImmGetContext(edit->Handle());
  if (!context) GTEST_SKIP() << "no input context on this system";
  COMPOSITIONFORM placed{};
  ASSERT_TRUE(ImmGetCompositionWindow(context, &placed));
  ImmReleaseContext(edit->Handle(), context);
  const TRect r = edit->TextRect();
  EXPECT_EQ(placed.ptCurrentPos.x, edit->XOfIndex(4));
  EXPECT_EQ(placed.ptCurrentPos.y, r.top);
  EXPECT_EQ(placed.rcArea.left, r.left);
  EXPECT_EQ(placed.rcArea.right, r.right);
  EXPECT_EQ(placed.rcArea.bottom, r.bottom);
}

// --- painting ----------------------------------------------------------------------------

TEST_F(EditTest, TheSelectionIsFilledExactlyOverItsCharacters) {
  auto* edit = MakeEdit(u"abcdef");
  edit->SetHideSelection(false);
  edit->Select(1, 3);
  const TRect text = edit->TextRect();
  const int left = edit->XOfIndex(1);
  const int right = edit->XOfIndex(4);
  EXPECT_EQ(edit->SelectionRect(), (TRect{left, text.top, right, text.bottom}));
  ASSERT_GT(right, left);
  auto shot = Snapshot(edit->Handle());
  const unsigned highlight = Rgb(ColorToRGB(clHighlight));
  const unsigned window = Rgb(ColorToRGB(clWindow));
  // The columns just outside the selection show the window colour at rows
  // the text never reaches (the top row of the text area).
  HV_EXPECT_PIXEL_ROWS(unsigned, "the selection's edges", shot->At(x, y), {left, text.top, highlight},
                       {right - 1, text.top, highlight}, {left - 1, text.top, window}, {right, text.top, window});
  // Hidden without the focus when HideSelection is on.
  edit->SetHideSelection(true);
  shot = Snapshot(edit->Handle());
  EXPECT_EQ(shot->At(left, text.top), window);
}

TEST_F(EditTest, PasswordCellsAreShapesInTheFontColour) {
  auto* edit = MakeEdit(u"abc");
  edit->SetPasswordKind(pkRect);
  edit->Font()->SetColor(static_cast<TColor>(0x302010));
  const TRect cell = edit->PasswordCellRect(1);
  EXPECT_EQ(cell.Width(), edit->CellWidth());
  EXPECT_EQ(cell.left, edit->TextRect().left + edit->CellWidth());
  const TRect shape = PasswordShapeRect(cell);
  auto shot = Snapshot(edit->Handle());
  const unsigned ink = 0x102030;
  const unsigned window = Rgb(ColorToRGB(clWindow));
  int inked = 0;
  for (int y = cell.top; y < cell.bottom; ++y)
    for (int x = cell.left; x < cell.right; ++x) {
      const bool inside = shape.Contains({x, y});
      EXPECT_EQ(shot->At(x, y) & 0xFFFFFF, inside ? ink : window) << x << "," << y;
      inked += inside;
    }
  EXPECT_GT(inked, 0);
  // Three cells, then nothing: the fourth cell's place is empty.
  const TRect fourth = PasswordShapeRect(edit->PasswordCellRect(3));
  EXPECT_EQ(shot->At(fourth.left, fourth.top) & 0xFFFFFF, window);

  // The triangle's apex is the top centre of an odd square, its base the bottom row.
  edit->SetPasswordKind(pkTriangle);
  const TRect square = PasswordShapeSquare(PasswordShapeRect(edit->PasswordCellRect(0)), true);
  shot = Snapshot(edit->Handle());
  HV_EXPECT_PIXEL_ROWS(unsigned, "the triangle", shot->At(x, y) & 0xFFFFFF,
                       {square.left + square.Width() / 2, square.top, ink}, {square.left, square.top, window},
                       {square.left + square.Width() / 2, square.bottom - 1, ink});
}

}  // namespace
}  // namespace hv::test
