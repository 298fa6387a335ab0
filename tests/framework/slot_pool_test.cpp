#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <set>
#include <vector>

#include "framework/slot_pool.h"

namespace hv {
namespace {

struct Node {
  int64_t a, b, c;
  char tail[17];
};

bool Overlap(const void* x, const void* y, size_t size) {
  auto p = reinterpret_cast<uintptr_t>(x), q = reinterpret_cast<uintptr_t>(y);
  return p < q + size && q < p + size;
}

TEST(SlotPoolTest, SlotsAreAlignedDistinctAndReusedAfterFree) {
  TSlotPool pool(sizeof(Node));
  std::vector<void*> slots;
  // Several blocks' worth, the growing ones and the largest.
  for (size_t i = 0; i < 5000; ++i) {
    void* slot = pool.Allocate();
    ASSERT_EQ(reinterpret_cast<uintptr_t>(slot) % alignof(std::max_align_t), 0u);
    std::memset(slot, static_cast<int>(i & 0xFF), sizeof(Node));  // every byte is the caller's
    slots.push_back(slot);
  }
  std::set<uintptr_t> starts;
  for (void* slot : slots) starts.insert(reinterpret_cast<uintptr_t>(slot));
  ASSERT_EQ(starts.size(), slots.size());
  for (auto it = starts.begin(); std::next(it) != starts.end(); ++it)
    ASSERT_GE(*std::next(it) - *it, sizeof(Node)) << "two slots overlap";
  for (size_t i = 0; i < slots.size(); ++i)
    ASSERT_EQ(static_cast<unsigned char*>(slots[i])[sizeof(Node) - 1], static_cast<unsigned char>(i & 0xFF)) << i;

  // Freed slots are taken again before any new room.
  pool.Free(slots[10]);
  pool.Free(slots[4000]);
  const size_t unused = pool.Unused();
  std::set<void*> again = {pool.Allocate(), pool.Allocate()};
  EXPECT_EQ(again, (std::set<void*>{slots[10], slots[4000]}));
  EXPECT_EQ(pool.Unused(), unused);
  pool.Release();
  EXPECT_EQ(pool.Unused(), 0u);
  EXPECT_NE(pool.Allocate(), nullptr) << "a released pool starts afresh";
}

TEST(SlotPoolTest, ReservedSlotsComeFromOneBlock) {
  TSlotPool pool(sizeof(Node));
  pool.Allocate();
  pool.Reserve(100000);
  EXPECT_EQ(pool.Unused(), 100000u);
  std::vector<char*> slots;
  for (int i = 0; i < 100000; ++i) slots.push_back(static_cast<char*>(pool.Allocate()));
  EXPECT_EQ(pool.Unused(), 0u);
  for (size_t i = 1; i < slots.size(); ++i) {
    ASSERT_FALSE(Overlap(slots[i - 1], slots[i], sizeof(Node)));
    ASSERT_EQ(slots[i] - slots[i - 1], slots[1] - slots[0]) << "one block, slot after slot";
  }
  pool.Reserve(10);
  EXPECT_EQ(pool.Unused(), 10u);
  pool.Reserve(5);
  EXPECT_EQ(pool.Unused(), 10u) << "room enough: no new block";
  TSlotPool tiny(1);
  void* a = tiny.Allocate();
  void* b = tiny.Allocate();
  EXPECT_FALSE(Overlap(a, b, sizeof(void*))) << "a slot holds at least a pointer";
  tiny.Free(a);
  tiny.Free(b);
  EXPECT_EQ(tiny.Allocate(), b);
  EXPECT_EQ(tiny.Allocate(), a);
}

}  // namespace
}  // namespace hv
