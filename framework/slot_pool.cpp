#include "framework/slot_pool.h"

#include <algorithm>
#include <new>

namespace hv {

namespace {
constexpr size_t kAlignment = __STDCPP_DEFAULT_NEW_ALIGNMENT__;
}

TSlotPool::TSlotPool(size_t slotSize)
    : slotSize_((std::max(slotSize, sizeof(TFreeSlot)) + kAlignment - 1) / kAlignment * kAlignment) {}

void TSlotPool::NewBlock(size_t slots) {
  // Not cleared: a slot's pages are first touched when it is taken.
  blocks_.push_back(std::make_unique_for_overwrite<std::byte[]>(slots * slotSize_));
  next_ = blocks_.back().get();
  left_ = slots;
}

void* TSlotPool::Allocate() {
  if (free_) {
    TFreeSlot* slot = free_;
    free_ = slot->next;
    return slot;
  }
  if (left_ == 0) {
    NewBlock(nextBlockSlots_);
    nextBlockSlots_ = std::min(nextBlockSlots_ * 2, kMostBlockSlots);
  }
  void* slot = next_;
  next_ += slotSize_;
  --left_;
  return slot;
}

void TSlotPool::Free(void* slot) {
  free_ = ::new (slot) TFreeSlot{free_};
}

void TSlotPool::Reserve(size_t count) {
  // What is left of the current block is given up: at most one block's
  // worth, and never touched.
  if (count > left_) NewBlock(count);
}

void TSlotPool::Release() {
  std::vector<std::unique_ptr<std::byte[]>>().swap(blocks_);
  next_ = nullptr;
  left_ = 0;
  free_ = nullptr;
  nextBlockSlots_ = kFirstBlockSlots;
}

}  // namespace hv
