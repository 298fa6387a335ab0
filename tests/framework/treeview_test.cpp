// The tree view over the platform's control: nodes in absolute order,
// selection and its change event, expansion, loading from indented text.

#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <cstring>
#include <deque>
#include <fstream>
#include <stdexcept>

#include "framework/forms.h"
#include "framework/sysutils.h"
#include "framework/treeview.h"
#include "framework/winstring.h"
#include "tests/support/win_test.h"

namespace hv {
namespace {

struct TreeFixture : ::testing::Test {
  void SetUp() override {
    form = std::make_unique<TForm>(nullptr);
    form->SetBounds(10, 10, 300, 400);
    tree = TComponent::Create<TTreeView>(form.get());
    tree->SetParent(form.get());
    tree->SetAlign(TAlign::alClient);
    tree->OnChange = [this](TObject*, TTreeNode* node) { changes.push_back(node); };
    form->Show();
  }
  void TearDown() override {
    ShowWindow(form->Handle(), SW_HIDE);  // a hidden window goes away at once
    form.reset();
  }
  std::unique_ptr<TForm> form;
  TTreeView* tree = nullptr;
  std::vector<TTreeNode*> changes;
};

TEST_F(TreeFixture, AbsoluteIndexIsTheDepthFirstOrderWhateverTheOrderOfAdding) {
  TTreeNode* a = tree->Items()->Add("a");
  TTreeNode* b = tree->Items()->Add("b");
  TTreeNode* a1 = tree->Items()->AddChild(a, "a1");  // goes between a and b
  TTreeNode* a2 = tree->Items()->AddChild(a, "a2");
  TTreeNode* a11 = tree->Items()->AddChild(a1, "a11");
  EXPECT_EQ(a->AbsoluteIndex(), 0);
  EXPECT_EQ(a1->AbsoluteIndex(), 1);
  EXPECT_EQ(a11->AbsoluteIndex(), 2);
  EXPECT_EQ(a2->AbsoluteIndex(), 3);
  EXPECT_EQ(b->AbsoluteIndex(), 4);
  for (int i = 0; i < tree->Items()->Count(); ++i) EXPECT_EQ(tree->Items()->Item(i)->AbsoluteIndex(), i);
  EXPECT_EQ(tree->Items()->Item(5), nullptr);
  EXPECT_EQ(tree->Items()->Item(-1), nullptr);
  EXPECT_EQ(a11->Level(), 2);
  EXPECT_EQ(a1->GetNext(), a11);
  tree->Items()->Delete(a1);
  EXPECT_EQ(a2->AbsoluteIndex(), 1);
  EXPECT_EQ(b->AbsoluteIndex(), 2);
  EXPECT_EQ(tree->Items()->Count(), 3);
  // The control holds the same items, under the same parents.
  auto root = reinterpret_cast<HTREEITEM>(SendMessageW(tree->Handle(), TVM_GETNEXTITEM, TVGN_ROOT, 0));
  EXPECT_EQ(root, a->ItemId());
  auto child = reinterpret_cast<HTREEITEM>(SendMessageW(tree->Handle(), TVM_GETNEXTITEM, TVGN_CHILD, reinterpret_cast<LPARAM>(root)));
  EXPECT_EQ(child, a2->ItemId());
  EXPECT_EQ(SendMessageW(tree->Handle(), TVM_GETCOUNT, 0, 0), 3);
}

TEST_F(TreeFixture, SelectingRaisesChangeOnceAndExpandsCollapsedParents) {
  TTreeNode* a = tree->Items()->Add("a");
  TTreeNode* a1 = tree->Items()->AddChild(a, "a1");
  EXPECT_FALSE(a->Expanded());
  tree->SetSelected(a1);
  EXPECT_EQ(tree->Selected(), a1);
  EXPECT_TRUE(a->Expanded());
  ASSERT_EQ(changes.size(), 1u);
  EXPECT_EQ(changes[0], a1);
  tree->SetSelected(a1);
  EXPECT_EQ(changes.size(), 1u) << "selecting the selected node changes nothing";
  a1->SetSelected(false);
  EXPECT_EQ(tree->Selected(), nullptr);
}

TEST_F(TreeFixture, TheKeyboardMovesTheSelection) {
  TTreeNode* first = tree->Items()->Add("first");
  TTreeNode* second = tree->Items()->Add("second");
  tree->SetSelected(first);
  changes.clear();
  SendMessageW(tree->Handle(), WM_KEYDOWN, VK_DOWN, 0);
  EXPECT_EQ(tree->Selected(), second);
  ASSERT_EQ(changes.size(), 1u);
  EXPECT_EQ(changes[0], second);
  RECT r{};
  HTREEITEM item = second->ItemId();
  std::memcpy(&r, &item, sizeof(item));  // the message takes the item in the rectangle's place
  ASSERT_TRUE(SendMessageW(tree->Handle(), TVM_GETITEMRECT, TRUE, reinterpret_cast<LPARAM>(&r)));
  EXPECT_EQ(tree->GetNodeAt((r.left + r.right) / 2, (r.top + r.bottom) / 2), second);
  EXPECT_EQ(tree->GetNodeAt(r.left, r.bottom + 200), nullptr);
}

TEST_F(TreeFixture, AClickOnATopicSelectsIt) {
  // The platform's control sees the mouse as well as the framework does.
  TTreeNode* first = tree->Items()->Add("first");
  TTreeNode* second = tree->Items()->Add("second");
  tree->SetSelected(first);
  changes.clear();
  RECT r{};
  HTREEITEM item = second->ItemId();
  std::memcpy(&r, &item, sizeof(item));
  ASSERT_TRUE(SendMessageW(tree->Handle(), TVM_GETITEMRECT, TRUE, reinterpret_cast<LPARAM>(&r)));
  const LPARAM at = MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2);
  SendMessageW(tree->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, at);
  SendMessageW(tree->Handle(), WM_LBUTTONUP, 0, at);
  test::PumpMessages();
  EXPECT_EQ(tree->Selected(), second);
  EXPECT_EQ(changes.size(), 1u);
}

TEST_F(TreeFixture, FullExpandOpensEveryBranch) {
  tree->Items()->LoadFromLines({"a", "\tb", "\t\tc", "d", "\te"});
  tree->FullExpand();
  for (int i = 0; i < tree->Items()->Count(); ++i) {
    TTreeNode* node = tree->Items()->Item(i);
    EXPECT_EQ(node->Expanded(), node->HasChildren()) << node->Text();
  }
}

TEST_F(TreeFixture, LinesBuildTheTreeAndALevelJumpKeepsWhatWasBuilt) {
  tree->Items()->LoadFromLines({"root", "\tchild", "\t\tgrandchild", "other"});
  EXPECT_EQ(tree->Items()->ToLines(), (std::vector<std::string>{"root", "\tchild", "\t\tgrandchild", "other"}));
  try {
    tree->Items()->LoadFromLines({"one", "two", "\t\t\tdeep", "never"});
    FAIL() << "no error";
  } catch (const ETreeViewError& e) {
    EXPECT_EQ(e.Message(), "Invalid level (3) for item \"deep\"");
  }
  EXPECT_EQ(tree->Items()->ToLines(), (std::vector<std::string>{"one", "two"}));
  EXPECT_EQ(SendMessageW(tree->Handle(), TVM_GETCOUNT, 0, 0), 2);
}

TEST_F(TreeFixture, LoadFromFileReadsAnsiBytesAndMissingFilesRaise) {
  char dir[MAX_PATH] = {};
  GetTempPathA(MAX_PATH, dir);
  std::string path = std::string(dir) + "hv_tree_test.txt";
  {
    std::ofstream out(path, std::ios::binary);
    out << "Welcome index.htm\r\n\tSetup setup\\install.htm\r\nUsage usage.htm\r\n";
  }
  tree->LoadFromFile(path);
  EXPECT_EQ(tree->Items()->ToLines(),
            (std::vector<std::string>{"Welcome index.htm", "\tSetup setup\\install.htm", "Usage usage.htm"}));
  DeleteFileA(path.c_str());
  EXPECT_THROW(tree->LoadFromFile(path), EFOpenError);
  EXPECT_EQ(tree->Items()->Count(), 3) << "a failed open keeps the tree";
}

TEST_F(TreeFixture, LoadFromFileHandsEveryLineToTheNodeTextOnceInOrder) {
  char dir[MAX_PATH] = {};
  GetTempPathA(MAX_PATH, dir);
  const std::string path = std::string(dir) + "hv_tree_text_test.txt";
  auto write = [&](const char* bytes) {
    std::ofstream out(path, std::ios::binary);
    out << bytes;
  };
  std::vector<std::string> seen;
  std::deque<std::string> names;  // the answers stay where they are until copied
  auto numbered = [&](std::string_view text) {
    seen.emplace_back(text);
    return std::string_view(names.emplace_back("#" + std::to_string(seen.size())));
  };
  write("Welcome index.htm\r\n\tSetup setup\\install.htm\r\n\t\tDeep\r\nUsage usage.htm\r\n");
  tree->LoadFromFile(path, numbered);
  EXPECT_EQ(seen, (std::vector<std::string>{"Welcome index.htm", "Setup setup\\install.htm", "Deep", "Usage usage.htm"}));
  EXPECT_EQ(tree->Items()->ToLines(), (std::vector<std::string>{"#1", "\t#2", "\t\t#3", "#4"}));
  EXPECT_EQ(SendMessageW(tree->Handle(), TVM_GETCOUNT, 0, 0), 4);

  // A file that stops at a bad level: the lines read keep their own text,
  // and none is handed over.
  write("a x\r\n\t\t\tb y\r\n");
  seen.clear();
  EXPECT_THROW(tree->LoadFromFile(path, numbered), ETreeViewError);
  EXPECT_TRUE(seen.empty());
  EXPECT_EQ(tree->Items()->ToLines(), std::vector<std::string>{"a x"});
  DeleteFileA(path.c_str());
}

TEST_F(TreeFixture, NodesSurviveTheWindowBeingRecreated) {
  tree->Items()->LoadFromLines({"a", "\tb", "c"});
  tree->Items()->Item(0)->Expand(false);
  tree->SetSelected(tree->Items()->Item(2));
  changes.clear();
  tree->RecreateWnd();
  EXPECT_EQ(SendMessageW(tree->Handle(), TVM_GETCOUNT, 0, 0), 3);
  EXPECT_TRUE(tree->Items()->Item(0)->Expanded());
  EXPECT_EQ(tree->Selected(), tree->Items()->Item(2));
}

TEST_F(TreeFixture, ImageIndexesReachTheControl) {
  TTreeNode* node = tree->Items()->Add("x");
  node->SetImageIndex(0);
  node->SetSelectedIndex(1);
  TVITEMW item{};
  item.mask = TVIF_IMAGE | TVIF_SELECTEDIMAGE;
  item.hItem = node->ItemId();
  SendMessageW(tree->Handle(), TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item));
  EXPECT_EQ(item.iImage, 0);
  EXPECT_EQ(item.iSelectedImage, 1);
}

using Lines = std::vector<std::string>;

std::wstring ItemText(HWND wnd, TTreeNode* node) {
  wchar_t buffer[512] = {};
  TVITEMW item{};
  item.mask = TVIF_TEXT;
  item.hItem = node->ItemId();
  item.pszText = buffer;
  item.cchTextMax = 512;
  if (!SendMessageW(wnd, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item))) return L"<no item>";
  return buffer;
}

std::string TempPath(const char* name) {
  char dir[MAX_PATH] = {};
  GetTempPathA(MAX_PATH, dir);
  return std::string(dir) + name;
}

void PutFile(const std::string& path, std::string_view bytes) {
  std::ofstream out(path, std::ios::binary);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

TEST_F(TreeFixture, ChildrenAreFoundByIndexAndStayChainedThroughDeletes) {
  TTreeNodes* items = tree->Items();
  TTreeNode* root = items->Add("root");
  std::vector<TTreeNode*> kids;
  for (int i = 0; i < 5; ++i) kids.push_back(items->AddChild(root, "k" + std::to_string(i)));
  items->AddChild(kids[1], "grandchild");
  ASSERT_EQ(root->Count(), 5);
  for (int i = 0; i < 5; ++i) {
    EXPECT_EQ(root->Item(i), kids[static_cast<size_t>(i)]);
    EXPECT_EQ(kids[static_cast<size_t>(i)]->Index(), i);
  }
  EXPECT_THROW(root->Item(5), std::out_of_range);
  EXPECT_THROW(root->Item(-1), std::out_of_range);
  EXPECT_EQ(root->GetFirstChild(), kids[0]);
  EXPECT_EQ(root->GetLastChild(), kids[4]);
  EXPECT_EQ(kids[4]->GetNextChild(), nullptr);
  EXPECT_EQ(root->GetNextChild(), nullptr) << "roots are not chained";

  // The first, a middle and the last child go.
  items->Delete(kids[0]);
  items->Delete(kids[2]);
  items->Delete(kids[4]);
  ASSERT_EQ(root->Count(), 2);
  EXPECT_EQ(root->GetFirstChild(), kids[1]);
  EXPECT_EQ(root->GetLastChild(), kids[3]);
  EXPECT_EQ(kids[1]->GetNextChild(), kids[3]);
  EXPECT_EQ(kids[3]->Index(), 1);
  TTreeNode* added = items->AddChild(root, "k5");
  EXPECT_EQ(kids[3]->GetNextChild(), added) << "a child added after a delete goes after the last one left";
  EXPECT_EQ(root->Item(2), added);
  EXPECT_EQ(items->ToLines(), (Lines{"root", "\tk1", "\t\tgrandchild", "\tk3", "\tk5"}));

  items->Delete(kids[3]);
  items->Delete(added);
  items->Delete(kids[1]);
  EXPECT_EQ(root->Count(), 0);
  EXPECT_FALSE(root->HasChildren());
  EXPECT_EQ(root->GetFirstChild(), nullptr);
  EXPECT_EQ(root->GetLastChild(), nullptr);
  TTreeNode* again = items->AddChild(root, "again");
  EXPECT_EQ(root->GetFirstChild(), again);
  EXPECT_EQ(root->GetLastChild(), again);
  EXPECT_EQ(SendMessageW(tree->Handle(), TVM_GETCOUNT, 0, 0), 2);
  EXPECT_EQ(items->ToLines(), (Lines{"root", "\tagain"}));
}

// Replaced and deleted texts are let go of in bulk now and then: every node
// keeps its own text through that, and the control shows it.
TEST_F(TreeFixture, TextsSurviveManyChangesAndDeletes) {
  TTreeNodes* items = tree->Items();
  TTreeNode* untouched = items->Add("never changed");
  const char* firstPlace = untouched->Text().data();
  std::vector<TTreeNode*> nodes;
  std::vector<std::string> expected;
  for (int i = 0; i < 200; ++i) {
    nodes.push_back(items->AddChild(untouched, "node " + std::to_string(i)));
    expected.push_back("node " + std::to_string(i));
  }
  // About 2 MB of texts set in all, over 200 nodes.
  for (int round = 0; round < 100; ++round)
    for (size_t i = 0; i < nodes.size(); ++i) {
      std::string text(50 + (static_cast<size_t>(round) + i) % 100, static_cast<char>('a' + round % 26));
      text += std::to_string(i);
      nodes[i]->SetText(text);
      expected[i] = text;
    }
  EXPECT_NE(untouched->Text().data(), firstPlace) << "the texts were gathered anew at least once";
  EXPECT_EQ(untouched->Text(), "never changed");
  for (size_t i = 0; i < nodes.size(); ++i) {
    ASSERT_EQ(nodes[i]->Text(), expected[i]) << i;
    ASSERT_EQ(ItemText(tree->Handle(), nodes[i]), Widen(expected[i])) << i;
  }
  nodes[7]->SetText(nodes[7]->Text().substr(3));
  EXPECT_EQ(nodes[7]->Text(), expected[7].substr(3)) << "a text set from a part of itself";
  nodes[7]->SetText(expected[7]);

  // Deleting most nodes lets go of their texts too; the rest stay right.
  for (size_t i = 0; i < nodes.size(); ++i)
    if (i % 20 != 0) items->Delete(nodes[i]);
  ASSERT_EQ(untouched->Count(), 10);
  for (int k = 0; k < 10; ++k) {
    EXPECT_EQ(untouched->Item(k)->Text(), expected[static_cast<size_t>(k) * 20]);
    EXPECT_EQ(ItemText(tree->Handle(), untouched->Item(k)), Widen(expected[static_cast<size_t>(k) * 20]));
  }
  EXPECT_EQ(untouched->Text(), "never changed");
}

// What any editor writes: each kind of line break, none at the end, empty
// lines, tabs inside the text and a caption longer than any other block.
TEST(TreeFileTest, LineBreaksTabsLongCaptionsAndNoFinalBreak) {
  const std::string path = TempPath("hv_tree_kinds_test.txt");
  const std::string longCaption(300000, 'L');
  PutFile(path, "a\n\tb\r\tc\r\n\t\td\te \r\n\r\n\t" + longCaption + " end");
  TTreeView view(nullptr);
  view.LoadFromFile(path);
  EXPECT_EQ(view.Items()->ToLines(), (Lines{"a", "\tb", "\tc", "\t\td\te ", "", "\t" + longCaption + " end"}));
  EXPECT_EQ(view.Items()->Item(5)->Parent(), view.Items()->Item(4)) << "an empty line is a root like any other";
  EXPECT_EQ(view.Items()->Item(0)->Count(), 2);
  PutFile(path, "");
  view.LoadFromFile(path);
  EXPECT_EQ(view.Items()->Count(), 0);
  DeleteFileA(path.c_str());
  EXPECT_FALSE(view.HandleAllocated());
}

// A file past the size read in place, marked UTF-8 and without a final
// break: read in place, and copied when another program has it open for
// writing, it gives the same tree.
TEST(TreeFileTest, ALargeFileReadsTheSameInPlaceOrCopied) {
  std::string text = "\xEF\xBB\xBF";
  for (int i = 0; text.size() <= static_cast<size_t>(TTreeView::kMapFromBytes); ++i)
    text += "Chapter " + std::to_string(i) + "\r\n\tPage " + std::to_string(i) + "\n";
  text += "Last \xC3\xA9";
  const std::string path = TempPath("hv_tree_mapped_test.txt");
  PutFile(path, text);
  TTreeView inPlace(nullptr);
  inPlace.LoadFromFile(path);
  HANDLE writer = CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(writer, INVALID_HANDLE_VALUE);
  TTreeView copied(nullptr);
  copied.LoadFromFile(path);
  CloseHandle(writer);
  DeleteFileA(path.c_str());
  const Lines lines = inPlace.Items()->ToLines();
  ASSERT_GT(lines.size(), 2u);
  EXPECT_EQ(lines.front(), "Chapter 0") << "the mark is not text";
  EXPECT_EQ(lines[1], "\tPage 0");
  EXPECT_EQ(lines.back(), "Last \xC3\xA9");
  EXPECT_EQ(copied.Items()->ToLines(), lines);
}

TEST(TreeFileTest, AHundredThousandTopics) {
  std::string text;
  for (int i = 0; i < 100000; ++i) {
    const int level = i % 10 == 0 ? 0 : (i % 10 < 4 ? 1 : 2);
    text.append(static_cast<size_t>(level), '\t');
    text += "Topic" + std::to_string(i) + " pages\\topic" + std::to_string(i) + ".htm\r\n";
  }
  const std::string path = TempPath("hv_tree_large_test.txt");
  PutFile(path, text);
  TTreeView view(nullptr);
  // The title only, as a view into the line.
  view.LoadFromFile(path, [](std::string_view line) { return line.substr(0, line.find(' ')); });
  DeleteFileA(path.c_str());
  TTreeNodes* items = view.Items();
  ASSERT_EQ(items->Count(), 100000);
  for (int i : {0, 1, 3, 4, 9, 10, 55555, 99999}) {
    TTreeNode* node = items->Item(i);
    EXPECT_EQ(node->Text(), "Topic" + std::to_string(i));
    EXPECT_EQ(node->AbsoluteIndex(), i);
    const int level = i % 10 == 0 ? 0 : (i % 10 < 4 ? 1 : 2);
    EXPECT_EQ(node->Level(), level) << i;
    // Pages hang under the last section, sections under the chapter.
    const int parent = level == 0 ? -1 : (level == 1 ? i / 10 * 10 : i / 10 * 10 + 3);
    EXPECT_EQ(node->Parent(), parent < 0 ? nullptr : items->Item(parent)) << i;
  }
  TTreeNode* chapter = items->Item(99990);
  ASSERT_EQ(chapter->Count(), 3);
  EXPECT_EQ(chapter->GetLastChild(), items->Item(99993));
  EXPECT_EQ(chapter->GetLastChild()->Count(), 6);
  EXPECT_EQ(chapter->GetLastChild()->GetLastChild(), items->Item(99999));
  view.FullExpand();
  EXPECT_TRUE(chapter->Expanded());
  EXPECT_FALSE(items->Item(99999)->Expanded());
  items->Clear();
  EXPECT_EQ(items->Count(), 0);
}

}  // namespace
}  // namespace hv
