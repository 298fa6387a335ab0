// The menu item tree without windows: insertion and its error, ownership,
// change events, accelerators, short cuts, the click rule with actions, and
// the setters that reach the whole tree.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "framework/actions.h"
#include "theme/core/themeitems.h"

namespace hv {
namespace {

// Items with no owner, held by their parent; the root by the test.
TTeCustomItem* AddItem(TTeCustomItem& parent, const std::string& caption) {
  auto* item = new TTeCustomItem(nullptr);
  item->SetCaption(caption);
  parent.Add(item);
  return item;
}

TEST(MenuItemTree, InsertingAnItemThatHasAParentRaisesAndChangesNothing) {
  TTeCustomItem root(nullptr), other(nullptr);
  TTeCustomItem* a = AddItem(root, "a");
  TTeCustomItem* b = AddItem(root, "b");
  AddItem(other, "x");
  int changes = 0;
  root.OnChange = [&](TTeCustomItem*, TTeCustomItem*) { ++changes; };
  other.OnChange = [&](TTeCustomItem*, TTeCustomItem*) { ++changes; };
  try {
    other.Insert(0, a);
    FAIL() << "no error";
  } catch (const EMenuItemError& error) {
    EXPECT_STREQ(error.what(), "Toolbar item already inserted");
  }
  EXPECT_THROW(root.Add(b), EMenuItemError) << "the same parent again";
  EXPECT_THROW(a->Add(&root), EMenuItemError) << "an item inside its own subtree";
  EXPECT_EQ(changes, 0);
  ASSERT_EQ(root.Count(), 2);
  EXPECT_EQ(root.Items(0), a);
  EXPECT_EQ(root.Items(1), b);
  EXPECT_EQ(a->Parent(), &root);
  EXPECT_EQ(other.Count(), 1);
  TTeCustomItem stray(nullptr);
  EXPECT_THROW(root.Insert(3, &stray), EMenuItemError) << "out of range";
  EXPECT_EQ(stray.Parent(), nullptr);
}

TEST(MenuItemTree, ListOperationsAndOwnership) {
  auto root = std::make_unique<TTeCustomItem>(nullptr);
  TTeCustomItem* a = AddItem(*root, "a");
  TTeCustomItem* c = AddItem(*root, "c");
  auto* b = new TTeCustomItem(nullptr);
  root->Insert(1, b);
  EXPECT_EQ(root->IndexOf(b), 1);
  EXPECT_EQ(root->IndexOf(c), 2);
  TTeCustomItem* deep = AddItem(*b, "deep");
  EXPECT_EQ(deep->Root(), root.get());

  // Removing hands the item back; it can go in elsewhere.
  root->Remove(a);
  EXPECT_EQ(a->Parent(), nullptr);
  EXPECT_EQ(root->Count(), 2);
  b->Add(a);
  EXPECT_EQ(b->Count(), 2);

  // Deleting destroys the child with its subtree; destroying an item takes
  // it out of its parent.
  std::weak_ptr<const bool> deepAlive = deep->AliveToken(), aAlive = a->AliveToken();
  root->Delete(0);
  EXPECT_TRUE(deepAlive.expired());
  EXPECT_TRUE(aAlive.expired());
  ASSERT_EQ(root->Count(), 1);
  EXPECT_EQ(root->Items(0), c);
  delete c;
  EXPECT_EQ(root->Count(), 0);
  EXPECT_THROW(root->Delete(0), EMenuItemError);
}

TEST(MenuItemTree, ChangesFireTheItemsEventAndThenTheRoots) {
  TTeCustomItem root(nullptr);
  TTeCustomItem* sub = AddItem(root, "sub");
  TTeCustomItem* leaf = AddItem(*sub, "leaf");
  std::vector<std::string> heard;
  root.OnChange = [&](TTeCustomItem*, TTeCustomItem* changed) { heard.push_back("root:" + changed->Caption()); };
  leaf->OnChange = [&](TTeCustomItem*, TTeCustomItem* changed) { heard.push_back("leaf:" + changed->Caption()); };
  leaf->SetChecked(true);
  leaf->SetChecked(true);  // unchanged: nothing
  EXPECT_EQ(heard, (std::vector<std::string>{"leaf:leaf", "root:leaf"}));
  heard.clear();
  leaf->SetEnabled(false);
  leaf->SetVisible(false);
  leaf->SetCaption("Leaf");
  EXPECT_EQ(heard.size(), 6u);
  heard.clear();
  leaf->SetImageIndex(3);
  leaf->SetHint("hint");
  EXPECT_TRUE(heard.empty()) << "images and hints change nothing shown in the layout";
  AddItem(*sub, "more");
  EXPECT_EQ(heard, (std::vector<std::string>{"root:sub"})) << "a child list change is the parent's";
  heard.clear();
  leaf->BeginLoading();
  leaf->SetCaption("quiet");
  EXPECT_TRUE(heard.empty()) << "not while loading";
}

TEST(MenuItemTree, AcceleratorsAreTheCharacterAfterTheAmpersand) {
  TTeCustomItem root(nullptr);
  TTeCustomItem* restore = AddItem(root, "&Restore");
  TTeCustomItem* minimize = AddItem(root, "Mi&nimize");
  AddItem(root, "Save && &Quit");
  TTeCustomItem* quit = root.Items(2);
  EXPECT_EQ(root.FindAccelerator('r'), restore);
  EXPECT_EQ(root.FindAccelerator('N'), minimize);
  EXPECT_EQ(root.FindAccelerator('q'), quit);
  EXPECT_EQ(root.FindAccelerator('&'), nullptr) << "a doubled ampersand is a plain one";
  EXPECT_EQ(root.FindAccelerator('x'), nullptr);
  EXPECT_EQ(root.FindAccelerator('M'), nullptr) << "only the marked character";
}

TEST(MenuItemTree, ShortCutsRunTheItemAfterItsAncestors) {
  TTeCustomItem root(nullptr);
  TTeCustomItem* file = AddItem(root, "File");
  TTeCustomItem* save = AddItem(*file, "Save");
  save->SetShortCut(kscCtrl | 'S');
  std::vector<std::string> clicks;
  file->OnClick = [&](TTeCustomItem*) { clicks.push_back("file"); };
  save->OnClick = [&](TTeCustomItem*) { clicks.push_back("save"); };
  EXPECT_TRUE(root.IsShortCut(kscCtrl | 'S'));
  EXPECT_EQ(clicks, (std::vector<std::string>{"file", "save"}));
  EXPECT_FALSE(root.IsShortCut(kscCtrl | 'X'));
  EXPECT_FALSE(root.IsShortCut(0));

  // A parent's click that rebuilds its submenu: the new item is found and run.
  clicks.clear();
  file->OnClick = [&](TTeCustomItem* sender) {
    clicks.push_back("rebuild");
    while (sender->Count() > 0) sender->Delete(0);
    TTeCustomItem* fresh = AddItem(*sender, "Save");
    fresh->SetShortCut(kscCtrl | 'S');
    fresh->OnClick = [&](TTeCustomItem*) { clicks.push_back("fresh"); };
  };
  EXPECT_TRUE(root.IsShortCut(kscCtrl | 'S'));
  EXPECT_EQ(clicks.back(), "fresh");

  // A disabled item is found but not run.
  clicks.clear();
  file->OnClick.Clear();
  file->Items(0)->SetEnabled(false);
  EXPECT_TRUE(root.IsShortCut(kscCtrl | 'S'));
  EXPECT_TRUE(clicks.empty());
}

TEST(MenuItemTree, ClickRunsOnlyChoosableItemsAndPrefersTheActionsHandler) {
  TTeCustomItem root(nullptr);
  TTeCustomItem* item = AddItem(root, "Go");
  TTeCustomItem* separator = AddItem(root, "-");
  TTeCustomItem* parent = AddItem(root, "More");
  AddItem(*parent, "x");
  int own = 0, executed = 0;
  for (TTeCustomItem* i : {item, separator, parent}) i->OnClick = [&](TTeCustomItem*) { ++own; };
  separator->Click();
  parent->Click();
  EXPECT_EQ(own, 0) << "separators and items with children are not clicked";
  item->SetEnabled(false);
  item->Click();
  EXPECT_EQ(own, 0);
  item->SetEnabled(true);
  item->Click();
  EXPECT_EQ(own, 1);

  TAction action(nullptr);
  action.SetCaption("&Act");
  action.SetShortCut(kscAlt | 'A');
  action.OnExecute = TNotifyEvent([&](TObject*) { ++executed; }, "ActExecute");
  item->SetAction(&action);
  EXPECT_EQ(item->Caption(), "&Act") << "the action's state reaches the item";
  EXPECT_EQ(item->ShortCut(), kscAlt | 'A');
  item->Click();
  EXPECT_EQ(own, 2) << "an own, different handler runs instead of the action";
  item->OnClick = TTeItemNotify([&](TTeCustomItem*) { ++own; }, "ActExecute");
  item->Click();
  EXPECT_EQ(executed, 1) << "the action's own handler runs through the action";
  item->OnClick.Clear();
  item->Click();
  EXPECT_EQ(executed, 2);
  action.SetEnabled(false);
  EXPECT_FALSE(item->Enabled());
  {
    TAction gone(nullptr);
    item->SetAction(&gone);
  }
  EXPECT_EQ(item->Action(), nullptr) << "a freed action unlinks itself";
}

TEST(MenuItemTree, TreeSettersReachEveryDescendantOrOneLevel) {
  TTeCustomItem root(nullptr);
  TTeCustomItem* sub = AddItem(root, "sub");
  TTeCustomItem* leaf = AddItem(*sub, "leaf");
  root.SetAnimateOnOpen(true);
  root.SetOpenedByProgram(true);
  root.SetBringToForeground(true);
  root.SetPaintingSuppressed(true);
  EXPECT_TRUE(leaf->AnimateOnOpen() && leaf->OpenedByProgram() && leaf->BringToForeground() &&
              leaf->PaintingSuppressed());
  root.SetRightToLeft(true);
  root.SetOnControlBar(true);
  EXPECT_TRUE(sub->RightToLeft() && sub->OnControlBar());
  EXPECT_FALSE(leaf->RightToLeft() || leaf->OnControlBar()) << "one level deep only";
  {
    TComponent window(nullptr);
    root.SetOwnerWindow(&window);
    EXPECT_EQ(leaf->OwnerWindow(), &window);
  }
  EXPECT_EQ(leaf->OwnerWindow(), nullptr) << "a destroyed owner window is forgotten everywhere";
}

}  // namespace
}  // namespace hv
