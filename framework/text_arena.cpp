#include "framework/text_arena.h"

#include <algorithm>
#include <cstring>

namespace hv {

std::string_view TTextArena::Store(std::string_view text) {
  if (text.empty()) return {};
  char* at;
  if (text.size() > kLargestBlock) {
    // Its own block, leaving the current one's free end for the texts after.
    blocks_.push_back(std::make_unique_for_overwrite<char[]>(text.size()));
    at = blocks_.back().get();
  } else {
    if (text.size() > left_) {
      // The new block is written as texts come, so pages nobody stores in
      // are never touched.
      const size_t size = std::max(nextBlock_, text.size());
      blocks_.push_back(std::make_unique_for_overwrite<char[]>(size));
      free_ = blocks_.back().get();
      left_ = size;
      nextBlock_ = std::min(nextBlock_ * 2, kLargestBlock);
    }
    at = free_;
    free_ += text.size();
    left_ -= text.size();
  }
  std::memcpy(at, text.data(), text.size());
  stored_ += text.size();
  return {at, text.size()};
}

void TTextArena::Clear() {
  std::vector<std::unique_ptr<char[]>>().swap(blocks_);
  free_ = nullptr;
  left_ = 0;
  nextBlock_ = kFirstBlock;
  stored_ = 0;
}

}  // namespace hv
