#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/line_store.h"
#include "framework/text_arena.h"

namespace hv {
namespace {

std::vector<std::string> Lines(const TLineStore& store) {
  std::vector<std::string> lines;
  for (int i = 0; i < store.Count(); ++i) lines.emplace_back(store.Get(i));
  return lines;
}

using V = std::vector<std::string>;

TEST(LineStoreTest, AssignReadsEveryBreakAndStoresCrLf) {
  TLineStore store;
  store.Assign("a\r\nb\rc\nd");
  EXPECT_EQ(Lines(store), (V{"a", "b", "c", "d"}));
  EXPECT_EQ(store.Text(), "a\r\nb\r\nc\r\nd\r\n") << "no final break: one is added";
  store.Assign("a\n\rb\n");
  EXPECT_EQ(Lines(store), (V{"a", "", "b"})) << "LF then CR is two breaks";
  store.Assign("\r\n\r\n");
  EXPECT_EQ(Lines(store), (V{"", ""})) << "empty lines are lines";
  store.Assign("");
  EXPECT_EQ(store.Count(), 0);
  EXPECT_EQ(store.Text(), "");
  store.Assign("\tx\ty \t\r\n");
  EXPECT_EQ(Lines(store), (V{"\tx\ty \t"})) << "tabs and spaces are kept as they are";
}

// What a list is given in one piece: the stored form is kept, anything else
// reads exactly as Assign reads it.
TEST(LineStoreTest, AdoptKeepsStoredFormAndReadsAnyOtherLikeAssign) {
  const std::vector<std::string> texts = {"",       "\r\n",      "a\r\nb\r\n", "a\r\nb",    "a\nb\r\n", "a\r\rb\r\n",
                                          "a\r\n\r", "\n",        "\r",         "a\r\n\n",   "x",        "\r\n\r\nz\r\n"};
  for (const std::string& text : texts) {
    TLineStore assigned, adopted;
    assigned.Assign(text);
    std::string copy = text;
    adopted.Adopt(std::move(copy));
    EXPECT_EQ(Lines(adopted), Lines(assigned)) << testing::PrintToString(text);
    EXPECT_EQ(adopted.Text(), assigned.Text()) << testing::PrintToString(text);
  }
  // Longer than a string keeps inside itself, so that it has a buffer to give.
  std::string stored = "the first line\r\nthe second line\r\n";
  const char* buffer = stored.data();
  TLineStore store;
  store.Adopt(std::move(stored));
  EXPECT_EQ(store.Text().data(), buffer) << "a text in stored form is taken, not copied";
  EXPECT_EQ(Lines(store), (V{"the first line", "the second line"}));
}

TEST(LineStoreTest, EditsKeepTheOtherLinesAndTheText) {
  TLineStore store;
  store.Assign("b\r\nd\r\n");
  store.Insert(0, "a");
  store.Insert(2, "c");
  store.Insert(4, "e");
  EXPECT_EQ(Lines(store), (V{"a", "b", "c", "d", "e"}));
  store.Put(2, "longer C");
  store.Put(0, "");
  EXPECT_EQ(Lines(store), (V{"", "b", "longer C", "d", "e"}));
  store.Delete(4);
  store.Delete(1);
  EXPECT_EQ(Lines(store), (V{"", "longer C", "d"}));
  EXPECT_EQ(store.Text(), "\r\nlonger C\r\nd\r\n");
  store.Put(1, store.Get(2));
  EXPECT_EQ(Lines(store), (V{"", "d", "d"})) << "a line put from the store itself";
  store.Clear();
  EXPECT_EQ(store.Count(), 0);
  EXPECT_EQ(store.Text(), "");
}

TEST(LineStoreTest, LargeListRoundTrips) {
  std::string text;
  std::string longLine(100000, 'w');
  for (int i = 0; i < 100000; ++i) {
    text += i == 500 ? longLine : "pages\\topic" + std::to_string(i) + ".htm";
    text += "\r\n";
  }
  TLineStore store;
  std::string copy = text;
  store.Adopt(std::move(copy));
  ASSERT_EQ(store.Count(), 100000);
  EXPECT_EQ(store.Get(0), "pages\\topic0.htm");
  EXPECT_EQ(store.Get(500), longLine);
  EXPECT_EQ(store.Get(99999), "pages\\topic99999.htm");
  EXPECT_EQ(store.Text(), text);
  text.pop_back();  // LF ends the last line: a lone CR now does
  TLineStore assigned;
  assigned.Assign(text);
  EXPECT_EQ(assigned.Count(), 100000);
  EXPECT_EQ(assigned.Get(99999), "pages\\topic99999.htm");
}

TEST(TextArenaTest, StoredTextsStayPutAndReadBack) {
  TTextArena arena;
  EXPECT_TRUE(arena.Store("").empty());
  EXPECT_EQ(arena.Stored(), 0u);
  std::vector<std::string> texts;
  std::vector<std::string_view> stored;
  // Enough to fill several blocks, with texts longer than any block among
  // them and texts that end exactly at a block's end.
  for (int i = 0; i < 20000; ++i) {
    std::string text = "Topic " + std::to_string(i);
    if (i % 5000 == 7) text.assign(TTextArena::kLargestBlock + 3, static_cast<char>('a' + i % 26));
    if (i == 42) text.assign(TTextArena::kFirstBlock, 'f');
    texts.push_back(text);
    stored.push_back(arena.Store(text));
  }
  size_t total = 0;
  for (size_t i = 0; i < texts.size(); ++i) {
    ASSERT_EQ(stored[i], texts[i]) << i;
    ASSERT_NE(stored[i].data(), texts[i].data());
    total += texts[i].size();
  }
  EXPECT_EQ(arena.Stored(), total);
  for (size_t i = 1; i < stored.size(); ++i)
    ASSERT_FALSE(stored[i].data() < stored[i - 1].data() + stored[i - 1].size() &&
                 stored[i - 1].data() < stored[i].data() + stored[i].size()) << "texts " << i - 1 << " and " << i << " overlap";
  arena.Clear();
  EXPECT_EQ(arena.Stored(), 0u);
  EXPECT_EQ(arena.Store("again"), "again");
}

}  // namespace
}  // namespace hv
