// The memo over the platform's edit control: its lines as a string list.

#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "framework/forms.h"
#include "framework/memo.h"
#include "framework/sysutils.h"
#include "framework/winstring.h"

namespace hv {
namespace {

struct MemoFixture : ::testing::Test {
  void SetUp() override {
    form = std::make_unique<TForm>(nullptr);
    memo = TComponent::Create<TMemo>(form.get());
    memo->SetParent(form.get());
    memo->SetScrollBars(TScrollStyle::ssBoth);
  }
  std::string WindowText() {
    int n = GetWindowTextLengthW(memo->Handle());
    std::wstring text(static_cast<size_t>(n) + 1, L'\0');
    GetWindowTextW(memo->Handle(), text.data(), n + 1);
    text.resize(static_cast<size_t>(n));
    return Narrow(text);
  }
  std::unique_ptr<TForm> form;
  TMemo* memo = nullptr;
};

TEST_F(MemoFixture, LinesAreTheControlsTextJoinedByCrLf) {
  memo->Lines()->Add("index.htm");
  memo->Lines()->Add("setup\\install.htm");
  memo->Lines()->Add("");
  memo->Lines()->Add("usage.htm");
  EXPECT_EQ(WindowText(), "index.htm\r\nsetup\\install.htm\r\n\r\nusage.htm\r\n");
  EXPECT_EQ(memo->Lines()->Count(), 4);
  EXPECT_EQ(memo->Lines()->Get(1), "setup\\install.htm");
  EXPECT_EQ(memo->Lines()->Get(2), "");
  EXPECT_EQ(memo->Lines()->Get(4), "") << "past the end reads empty";
  EXPECT_EQ(memo->Lines()->Get(1000), "");
  memo->Lines()->Delete(0);
  EXPECT_EQ(memo->Lines()->Get(0), "setup\\install.htm");
  memo->Lines()->Clear();
  EXPECT_EQ(memo->Lines()->Count(), 0);
}

TEST_F(MemoFixture, ABatchGoesToTheControlInOnePieceAndLinesStayReadable) {
  memo->Lines()->Add("old");
  memo->Lines()->BeginUpdate();
  memo->Lines()->Clear();
  for (int i = 0; i < 1000; ++i) memo->Lines()->Add("page" + std::to_string(i) + ".htm");
  EXPECT_EQ(memo->Lines()->Get(999), "page999.htm");
  memo->Lines()->EndUpdate();
  EXPECT_EQ(memo->Lines()->Count(), 1000);
  EXPECT_EQ(memo->Lines()->Get(0), "page0.htm");
  EXPECT_EQ(memo->Lines()->Get(999), "page999.htm");
}

TEST_F(MemoFixture, ALineReadsBackAtMost4096Bytes) {
  memo->Lines()->Add(std::string(5000, 'x'));
  EXPECT_EQ(memo->Lines()->Get(0), std::string(4096, 'x'));
  memo->Lines()->Add(std::string(4096, 'y'));
  EXPECT_EQ(memo->Lines()->Get(1), std::string(4096, 'y'));
}

TEST_F(MemoFixture, LinesSetBeforeTheWindowExistsArriveWithIt) {
  auto* other = TComponent::Create<TMemo>(form.get());
  other->Lines()->Add("Memo1");
  EXPECT_FALSE(other->HandleAllocated());
  other->SetParent(form.get());
  EXPECT_EQ(other->Lines()->Get(0), "Memo1");
  other->RecreateWnd();
  EXPECT_EQ(other->Lines()->Get(0), "Memo1");
  EXPECT_EQ(other->Lines()->Count(), 1);
}

TEST_F(MemoFixture, KeptLinesTakeEditsAnywhereAndReachTheControlWhole) {
  // Without a window the lines are kept back to back in one buffer: edits
  // in the middle must move every later line, and lines of any length
  // (empty ones, ones that hold a line break) stay apart.
  auto* kept = TComponent::Create<TMemo>(form.get());
  TStrings* lines = kept->Lines();
  for (const char* line : {"a", "", "ccc", "dd"}) lines->Add(line);
  lines->Insert(1, "inserted");
  lines->Insert(0, "first");
  lines->Insert(lines->Count(), "last");
  lines->Delete(3);  // the empty line
  lines->Put(2, "a longer line than before");
  lines->Put(4, "");
  EXPECT_EQ(lines->ToVector(),
            (std::vector<std::string>{"first", "a", "a longer line than before", "ccc", "", "last"}));
  EXPECT_THROW(lines->Delete(6), EListError);
  EXPECT_THROW(lines->Insert(8, "x"), EListError);
  EXPECT_EQ(lines->Get(6), "") << "past the end reads empty";
  lines->Delete(0);
  lines->Delete(lines->Count() - 1);
  EXPECT_EQ(lines->Text(), "a\r\na longer line than before\r\nccc\r\n\r\n");
  EXPECT_FALSE(kept->HandleAllocated());
  kept->SetParent(form.get());
  kept->HandleNeeded();
  EXPECT_EQ(lines->Count(), 4);
  EXPECT_EQ(lines->Get(1), "a longer line than before");
  EXPECT_EQ(lines->Get(3), "");
  lines->Clear();
  EXPECT_EQ(lines->Count(), 0);
}

TEST_F(MemoFixture, KeptLinesTakeAWholeTextAsAStringListSplitsIt) {
  // Without a window a whole text is stored in one go: CR LF, CR and LF
  // each break a line, and a final break adds no empty line.
  auto* kept = TComponent::Create<TMemo>(form.get());
  TStrings* lines = kept->Lines();
  for (const char* text : {"", "a", "a\r\n", "a\rb\nc\r\nd", "\r\n\r\n", "\n\r", "x\r", "one\r\n\r\ntwo\n\n"}) {
    lines->Add("old");
    lines->SetText(text);
    TStringList expected;
    expected.SetText(text);
    EXPECT_EQ(lines->ToVector(), expected.ToVector()) << text;
  }
  // Later edits find every line where it is.
  lines->SetText("p\r\nq\nr");
  lines->Insert(1, "between");
  lines->Delete(0);
  lines->Put(1, "Q");
  EXPECT_EQ(lines->Text(), "between\r\nQ\r\nr\r\n");
  EXPECT_FALSE(kept->HandleAllocated());

  // With a window, inside a batch, the text reaches the control whole at the end.
  memo->HandleNeeded();
  memo->Lines()->BeginUpdate();
  memo->Lines()->SetText("1\n2\r3");
  EXPECT_EQ(memo->Lines()->Get(2), "3");
  memo->Lines()->EndUpdate();
  EXPECT_EQ(WindowText(), "1\r\n2\r\n3\r\n");
  EXPECT_EQ(memo->Lines()->Count(), 3);
}

TEST_F(MemoFixture, AnAdoptedTextGivesTheLinesSetTextGives) {
  // Texts already in stored form (each line followed by CR LF) and texts
  // that are not, without a window, then with one inside and outside a batch.
  const char* texts[] = {"", "a\r\n", "a\r\nbb\r\n\r\nccc\r\n", "a", "a\r\nb", "a\nb\r\n", "a\rb\r\n",
                         "\r\n\r", "x\r\n\n", "path\\with space.htm\r\n\r\n"};
  auto* kept = TComponent::Create<TMemo>(form.get());
  for (const char* text : texts) {
    TStringList expected;
    expected.SetText(text);
    kept->Lines()->Add("old");
    kept->Lines()->AdoptText(std::string(text));
    EXPECT_EQ(kept->Lines()->ToVector(), expected.ToVector()) << text;
    EXPECT_EQ(kept->Lines()->Get(expected.Count()), "") << "past the end reads empty";
  }
  EXPECT_FALSE(kept->HandleAllocated());
  // Edits after an adopted text find every line where it is.
  kept->Lines()->AdoptText("p\r\nq\r\nr\r\n");
  kept->Lines()->Insert(1, "between");
  kept->Lines()->Delete(0);
  kept->Lines()->Put(2, "R");
  EXPECT_EQ(kept->Lines()->Text(), "between\r\nq\r\nR\r\n");

  memo->HandleNeeded();
  memo->Lines()->AdoptText("1\r\n2\r\n");
  EXPECT_EQ(WindowText(), "1\r\n2");
  EXPECT_EQ(memo->Lines()->Count(), 2);
  memo->Lines()->BeginUpdate();
  memo->Lines()->AdoptText("3\r\n4\r\n5\r\n");
  EXPECT_EQ(memo->Lines()->Get(2), "5");
  memo->Lines()->EndUpdate();
  EXPECT_EQ(WindowText(), "3\r\n4\r\n5\r\n");
  EXPECT_EQ(memo->Lines()->ToVector(), (std::vector<std::string>{"3", "4", "5"}));
}

}  // namespace
}  // namespace hv
