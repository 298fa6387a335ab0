#pragma once
// Equal-sized slots for many small objects of one kind (the nodes of a large
// tree): carved from a few blocks, with no heap block and no bookkeeping per
// object, and a freed slot taken again before new room is. A caller that
// knows how many objects come reserves them in one block of that size.
// Portable.

#include <cstddef>
#include <memory>
#include <vector>

namespace hv {

class TSlotPool {
 public:
  // Slots of `slotSize` bytes (at least a pointer's), aligned as operator new
  // aligns.
  explicit TSlotPool(size_t slotSize);
  TSlotPool(const TSlotPool&) = delete;
  TSlotPool& operator=(const TSlotPool&) = delete;

  void* Allocate();
  // The slot is free again; it must have come from this pool.
  void Free(void* slot);
  // The next `count` slots not taken from freed ones come from one block.
  void Reserve(size_t count);
  // Every block goes: no slot may be in use.
  void Release();

  // Slots in blocks that are neither handed out nor freed: room still unused.
  size_t Unused() const { return left_; }

  // A pool that grows on its own starts with blocks of this many slots and
  // doubles them up to the most.
  static constexpr size_t kFirstBlockSlots = 64;
  static constexpr size_t kMostBlockSlots = 1024;

 private:
  struct TFreeSlot {
    TFreeSlot* next;
  };
  void NewBlock(size_t slots);

  size_t slotSize_;
  std::vector<std::unique_ptr<std::byte[]>> blocks_;
  std::byte* next_ = nullptr;  // the first slot never handed out
  size_t left_ = 0;            // slots from there to the block's end
  TFreeSlot* free_ = nullptr;
  size_t nextBlockSlots_ = kFirstBlockSlots;
};

}  // namespace hv
