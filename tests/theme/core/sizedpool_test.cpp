#include "theme/core/sizedpool.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace hv {
namespace {

using TPool = TSizedPool<std::unique_ptr<std::string>>;

std::unique_ptr<std::string> Item(const char* text) { return std::make_unique<std::string>(text); }

TEST(SizedPool, TakesOnlyItemsOfTheExactSizeNewestFirst) {
  TPool pool(8, 1000);
  EXPECT_FALSE(pool.Take(4, 4).has_value()) << "an empty pool has nothing";
  EXPECT_TRUE(pool.Put(4, 4, 64, Item("old")).empty());
  EXPECT_TRUE(pool.Put(4, 5, 80, Item("other")).empty());
  EXPECT_TRUE(pool.Put(4, 4, 64, Item("new")).empty());
  EXPECT_EQ(pool.Count(), 3u);
  EXPECT_EQ(pool.Bytes(), 208u);
  // Width and height both count: 5 x 4 is not 4 x 5.
  EXPECT_FALSE(pool.Take(5, 4).has_value());
  auto first = pool.Take(4, 4);
  ASSERT_TRUE(first.has_value());
  EXPECT_EQ(**first, "new");
  auto second = pool.Take(4, 4);
  ASSERT_TRUE(second.has_value());
  EXPECT_EQ(**second, "old");
  EXPECT_FALSE(pool.Take(4, 4).has_value()) << "a taken item is gone from the pool";
  EXPECT_EQ(pool.Count(), 1u);
  EXPECT_EQ(pool.Bytes(), 80u);
}

TEST(SizedPool, DropsTheOldestBeyondEitherBound) {
  TPool byCount(2, 1000);
  EXPECT_TRUE(byCount.Put(1, 1, 10, Item("a")).empty());
  EXPECT_TRUE(byCount.Put(2, 2, 10, Item("b")).empty());
  auto dropped = byCount.Put(3, 3, 10, Item("c"));
  ASSERT_EQ(dropped.size(), 1u);
  EXPECT_EQ(*dropped[0], "a");
  EXPECT_EQ(byCount.Count(), 2u);
  EXPECT_EQ(byCount.Bytes(), 20u);
  EXPECT_FALSE(byCount.Take(1, 1).has_value());

  TPool byBytes(10, 100);
  EXPECT_TRUE(byBytes.Put(1, 1, 40, Item("a")).empty());
  EXPECT_TRUE(byBytes.Put(2, 2, 40, Item("b")).empty());
  dropped = byBytes.Put(3, 3, 50, Item("c"));  // 130 bytes: the oldest goes, and that is enough
  ASSERT_EQ(dropped.size(), 1u);
  EXPECT_EQ(*dropped[0], "a");
  EXPECT_EQ(byBytes.Bytes(), 90u);
  dropped = byBytes.Put(4, 4, 100, Item("d"));
  ASSERT_EQ(dropped.size(), 2u);
  EXPECT_EQ(*dropped[0], "b");
  EXPECT_EQ(*dropped[1], "c");
  EXPECT_EQ(byBytes.Count(), 1u);
  EXPECT_EQ(byBytes.Bytes(), 100u);
}

TEST(SizedPool, AnItemLargerThanTheBoundIsHandedStraightBack) {
  TPool pool(4, 100);
  EXPECT_TRUE(pool.Put(1, 1, 30, Item("kept")).empty());
  auto dropped = pool.Put(9, 9, 101, Item("huge"));
  ASSERT_EQ(dropped.size(), 1u);
  EXPECT_EQ(*dropped[0], "huge");
  EXPECT_EQ(pool.Count(), 1u) << "what was kept stays";
  EXPECT_EQ(pool.Bytes(), 30u);

  TPool none(0, 100);
  EXPECT_EQ(none.Put(1, 1, 1, Item("x")).size(), 1u) << "a pool of no items keeps nothing";
  EXPECT_EQ(none.Count(), 0u);
}

TEST(SizedPool, TakeAllEmptiesThePool) {
  TPool pool(4, 1000);
  pool.Put(1, 1, 10, Item("a"));
  pool.Put(2, 2, 20, Item("b"));
  auto all = pool.TakeAll();
  ASSERT_EQ(all.size(), 2u);
  EXPECT_EQ(*all[0], "a");
  EXPECT_EQ(*all[1], "b");
  EXPECT_EQ(pool.Count(), 0u);
  EXPECT_EQ(pool.Bytes(), 0u);
  EXPECT_FALSE(pool.Take(1, 1).has_value());
  // Usable again afterwards, with the full bound.
  EXPECT_TRUE(pool.Put(3, 3, 1000, Item("c")).empty());
  EXPECT_EQ(pool.Count(), 1u);
}

}  // namespace
}  // namespace hv
