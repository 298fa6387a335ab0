#pragma once
// Texts of many small items (the captions of a large tree) kept in a few
// large blocks: no heap block per text, no size and capacity per text, and a
// stored text never moves until the arena is cleared. Portable.

#include <cstddef>
#include <memory>
#include <string_view>
#include <vector>

namespace hv {

class TTextArena {
 public:
  // A copy of `text`, valid until Clear. An empty text takes no room.
  std::string_view Store(std::string_view text);
  // Gives all memory back; every stored text is gone.
  void Clear();
  // Bytes of text stored since the last Clear.
  size_t Stored() const { return stored_; }

  // The first block's size; each next one doubles up to the largest, and a
  // text longer than that gets a block of its own.
  static constexpr size_t kFirstBlock = 4096;
  static constexpr size_t kLargestBlock = 256 * 1024;

 private:
  std::vector<std::unique_ptr<char[]>> blocks_;
  char* free_ = nullptr;   // the unused end of the current block
  size_t left_ = 0;        // its length
  size_t nextBlock_ = kFirstBlock;
  size_t stored_ = 0;
};

}  // namespace hv
