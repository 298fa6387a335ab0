// The edit box's window-free text work: undo records, word moves,
// surrogate pairs, pasted text and the password shapes.

#include <gtest/gtest.h>

#include "theme/controls/edittext.h"

namespace hv {
namespace {

TEST(EditActionStack, RunsOfBackspacesAndDeletesGrowOneRecordOnlyWhenTheyTouch) {
  TEditActionStack stack;
  // "hello", three Backspaces from the end.
  stack.RecordDeletion(5, u"o");
  stack.RecordDeletion(4, u"l");
  stack.RecordDeletion(3, u"l");
  ASSERT_EQ(stack.Count(), 1u);
  EXPECT_EQ(stack.Top(), (TEditAction{false, false, 3, u"llo", 0}));
  // Deletes at one place append.
  TEditActionStack deletes;
  deletes.RecordDeletion(2, u"a");
  deletes.RecordDeletion(2, u"b");
  EXPECT_EQ(deletes.Top(), (TEditAction{false, false, 2, u"ab", 0}));
  // A removal with a character left between it and the last one is a
  // record of its own: joined, it would come back in the wrong place.
  deletes.RecordDeletion(0, u"x");
  EXPECT_EQ(deletes.Count(), 2u);
  EXPECT_EQ(deletes.KeptUnits(), 3u);
  const TEditAction top = deletes.Pop();
  EXPECT_EQ(top.position, 0);
  EXPECT_EQ(deletes.KeptUnits(), 2u);
  deletes.RecordDeletion(1, u"");
  EXPECT_EQ(deletes.Count(), 1u) << "an empty removal records nothing";
}

TEST(EditActionStack, TypingRunsJoinAndAReplacedSelectionChains) {
  TEditActionStack stack;
  stack.RecordInsertion(1, 1, false);
  stack.RecordInsertion(2, 1, false);
  stack.RecordInsertion(3, 1, false);
  ASSERT_EQ(stack.Count(), 1u);
  EXPECT_EQ(stack.Top().length, 3);
  stack.RecordInsertion(1, 1, false);
  EXPECT_EQ(stack.Count(), 2u) << "typing elsewhere";
  stack.RecordDeletion(2, u"bc");
  stack.RecordInsertion(2, 1, true);
  EXPECT_EQ(stack.Top(), (TEditAction{true, true, 2, u"", 1}));
  stack.RecordInsertion(2, 0, false);
  EXPECT_EQ(stack.Count(), 4u) << "an empty insertion records nothing";
}

TEST(EditActionStack, TheOldestGoFirstAndNeverHalfAnEdit) {
  TEditActionStack stack(3, 100);
  stack.RecordDeletion(1, u"a");
  stack.RecordInsertion(1, 2, true);  // replaced "a"
  stack.RecordInsertion(9, 1, false);
  stack.RecordInsertion(20, 1, false);
  // The fourth record pushes out the first and the one chained to it.
  ASSERT_EQ(stack.Count(), 2u);
  EXPECT_EQ(stack.Pop().position, 20);
  EXPECT_EQ(stack.Pop().position, 9);
  EXPECT_TRUE(stack.Empty());

  TEditActionStack small(100, 4);
  small.RecordDeletion(1, u"abc");
  small.RecordDeletion(10, u"de");
  EXPECT_EQ(small.Count(), 1u);
  EXPECT_EQ(small.KeptUnits(), 2u);
  small.RecordDeletion(20, u"toolong");
  EXPECT_TRUE(small.Empty()) << "a record larger than the bound cannot be kept";
  EXPECT_EQ(small.KeptUnits(), 0u);
}

TEST(EditWords, WordMovesStopAtWordStarts) {
  const std::u16string_view text = u"one two";
  EXPECT_EQ(WordRight(text, 0), 4);
  EXPECT_EQ(WordRight(text, 2), 4);
  EXPECT_EQ(WordRight(text, 4), 7);
  EXPECT_EQ(WordRight(text, 7), 7);
  EXPECT_EQ(WordLeft(text, 7), 4);
  EXPECT_EQ(WordLeft(text, 4), 0);
  EXPECT_EQ(WordLeft(text, 0), 0);
  EXPECT_EQ(WordRight(u"a  ", 0), 3) << "trailing spaces: the end";
  EXPECT_EQ(WordLeft(u"ab   ", 5), 0) << "spaces before the caret are passed over";
  EXPECT_EQ(WordRight(u"\U0001D11E x", 0), 3) << "a pair is part of its word";
  EXPECT_EQ(WordLeft(u"x \U0001D11E", 4), 2);
  EXPECT_EQ(WordLeft(u"", 3), 0);
  EXPECT_EQ(WordRight(u"", -2), 0);
}

TEST(EditCharacters, PairsAreNeverSplit) {
  const std::u16string text = u"a\U0001F600b";  // a, pair, b
  ASSERT_EQ(text.size(), 4u);
  EXPECT_FALSE(SplitsPair(text, 1));
  EXPECT_TRUE(SplitsPair(text, 2));
  EXPECT_EQ(SnapToCharacter(text, 2, true), 3);
  EXPECT_EQ(SnapToCharacter(text, 2, false), 1);
  EXPECT_EQ(SnapToCharacter(text, 9, true), 4);
  EXPECT_EQ(SnapToCharacter(text, -1, false), 0);
  EXPECT_EQ(NextCharacter(text, 1), 3);
  EXPECT_EQ(PreviousCharacter(text, 3), 1);
  EXPECT_EQ(PreviousCharacter(text, 0), 0);
  EXPECT_EQ(NextCharacter(text, 4), 4);
  EXPECT_EQ(WholeCharactersPrefix(text, 2), u"a");
  EXPECT_EQ(WholeCharactersPrefix(text, 3), u"a\U0001F600");
  EXPECT_EQ(WholeCharactersPrefix(text, 10), text);
  EXPECT_EQ(WholeCharactersPrefix(text, 0), u"");
  // A half standing alone is a character of its own.
  const std::u16string lone = u"a\xD800" u"b";
  EXPECT_EQ(NextCharacter(lone, 1), 2);
}

TEST(EditPaste, PastedTextIsCutToOneCleanLine) {
  EXPECT_EQ(CleanPastedText(u"abc"), u"abc");
  EXPECT_EQ(CleanPastedText(std::u16string(u"ab\0cd", 5)), u"ab") << "a NUL ends the text";
  EXPECT_EQ(CleanPastedText(u"first\r\nsecond"), u"first");
  EXPECT_EQ(CleanPastedText(u"first\nsecond"), u"first");
  EXPECT_EQ(CleanPastedText(u"a\tb\x1F" u"c"), u"a b c");
  EXPECT_EQ(CleanPastedText(u"\U0001D11E"), u"\U0001D11E");
  EXPECT_EQ(CleanPastedText(u"x\xD800y"), u"x\xFFFDy");
  EXPECT_EQ(CleanPastedText(u"x\xDC00"), u"x\xFFFD");
  EXPECT_EQ(CleanPastedText(u"\xD800"), u"\xFFFD");
  EXPECT_EQ(CleanPastedText(u"中文"), u"中文");
}

TEST(EditGeometry, PasswordShapesAndAlignment) {
  const TRect cell{10, 4, 20, 20};
  EXPECT_EQ(PasswordShapeRect(cell), (TRect{12, 7, 18, 17}));
  EXPECT_EQ(PasswordShapeSquare({12, 7, 18, 17}, false), (TRect{12, 9, 18, 15}));
  EXPECT_EQ(PasswordShapeSquare({12, 7, 18, 17}, true), (TRect{12, 9, 17, 14})) << "odd: 5 wide";
  EXPECT_EQ(PasswordShapeSquare({12, 7, 19, 17}, true), (TRect{12, 8, 19, 15}));
  EXPECT_TRUE(PasswordShapeSquare({5, 5, 4, 9}, true).IsEmpty());
  EXPECT_EQ(AlignmentOffset(TEditAlign::left, 30, 100), 0);
  EXPECT_EQ(AlignmentOffset(TEditAlign::right, 30, 100), 70);
  EXPECT_EQ(AlignmentOffset(TEditAlign::center, 31, 100), 34);
  EXPECT_EQ(AlignmentOffset(TEditAlign::right, 130, 100), 0) << "wider than the area";
}

}  // namespace
}  // namespace hv
