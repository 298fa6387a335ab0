#include <gtest/gtest.h>

#include "framework/strings.h"
#include "framework/sysutils.h"

namespace hv {
namespace {

TEST(StringListTest, SetTextSplitsAtEveryKindOfLineBreak) {
  TStringList list;
  list.SetText("a\r\nb\rc\nd");
  EXPECT_EQ(list.ToVector(), (std::vector<std::string>{"a", "b", "c", "d"}));
  list.SetText("a\n\rb\n");
  EXPECT_EQ(list.ToVector(), (std::vector<std::string>{"a", "", "b"})) << "LF then CR is two breaks";
  list.SetText("");
  EXPECT_EQ(list.Count(), 0);
  list.SetText("\r\n");
  EXPECT_EQ(list.ToVector(), (std::vector<std::string>{""}));
}

TEST(StringListTest, TextJoinsWithCrLf) {
  TStringList list;
  list.Add("one");
  list.Add("two");
  EXPECT_EQ(list.Text(), "one\r\ntwo\r\n");
}

TEST(StringListTest, BoundsAndChangeNotification) {
  TStringList list;
  int changes = 0;
  list.OnChange = [&](TObject*) { ++changes; };
  list.Add("x");
  EXPECT_EQ(changes, 1);
  list.BeginUpdate();
  list.Add("y");
  list.Add("z");
  EXPECT_EQ(changes, 1);
  list.EndUpdate();
  EXPECT_EQ(changes, 2) << "one notification for the whole batch";
  try {
    list.Get(3);
    FAIL();
  } catch (const EListError& e) {
    EXPECT_EQ(e.Message(), "List index out of bounds (3)");
  }
  EXPECT_THROW(list.Insert(-1, ""), EListError);
  EXPECT_EQ(list.IndexOf("Y"), 1);
}

TEST(StringListTest, AssignCopiesTextAndObjects) {
  TStringList a, b;
  TStringList marker;
  a.AddObject("k", &marker);
  b.Add("old");
  b.Assign(&a);
  EXPECT_EQ(b.ToVector(), std::vector<std::string>{"k"});
  EXPECT_EQ(b.Objects(0), &marker);
}

}  // namespace
}  // namespace hv
