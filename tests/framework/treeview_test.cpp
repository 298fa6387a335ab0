// The tree view over the platform's control: nodes in absolute order,
// selection and its change event, expansion, loading from indented text.

#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <cstring>
#include <fstream>

#include "framework/forms.h"
#include "framework/sysutils.h"
#include "framework/treeview.h"
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
  auto numbered = [&](std::string_view text) {
    seen.emplace_back(text);
    return "#" + std::to_string(seen.size());
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

}  // namespace
}  // namespace hv
