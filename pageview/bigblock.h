#pragma once
// Buffers of a page's size (its bytes, its decoded text, its blocks and
// layout boxes) taken straight from the system and given straight back. A
// heap keeps the space of a freed block committed for its next blocks, and
// Wine's never decommits it: pages of other sizes shown in turn left holes
// the next page's buffers did not fit, small blocks split them, and the heap
// grew with every page. Mapped apart from the heap and unmapped when they
// go, big buffers leave no hole. Small requests (the first steps of a string
// or vector that grows) still come from the heap. Portable: VirtualAlloc on
// Windows, mmap elsewhere.

#include <cstddef>
#include <new>
#include <string>

namespace hv {

// From this size on a block is mapped on its own. A page of the system is
// 4 KB and address space is reserved in steps of 64 KB: below this, the
// rounding would waste more than the heap's holes do.
constexpr size_t kBigBlockBytes = 64 << 10;

// Maps `bytes` of zeroed, writable memory; null when the system has none.
void* MapBigBlock(size_t bytes) noexcept;
// Unmaps a block MapBigBlock gave, of the size asked for then.
void UnmapBigBlock(void* block, size_t bytes) noexcept;

// Maps what is at least kBigBlockBytes, and takes the rest from the heap.
template <typename T>
struct BigBlockAllocator {
  using value_type = T;

  BigBlockAllocator() noexcept = default;
  template <typename U>
  BigBlockAllocator(const BigBlockAllocator<U>&) noexcept {}

  T* allocate(size_t count) {
    if (count > static_cast<size_t>(-1) / sizeof(T)) throw std::bad_alloc();
    const size_t bytes = count * sizeof(T);
    if (bytes < kBigBlockBytes) return static_cast<T*>(::operator new(bytes));
    void* block = MapBigBlock(bytes);
    if (!block) throw std::bad_alloc();
    return static_cast<T*>(block);
  }
  void deallocate(T* block, size_t count) noexcept {
    const size_t bytes = count * sizeof(T);
    if (bytes < kBigBlockBytes) {
      ::operator delete(block);
    } else {
      UnmapBigBlock(block, bytes);
    }
  }

  template <typename U>
  bool operator==(const BigBlockAllocator<U>&) const noexcept {
    return true;
  }
};

using BigString = std::basic_string<char, std::char_traits<char>, BigBlockAllocator<char>>;
using BigWString = std::basic_string<wchar_t, std::char_traits<wchar_t>, BigBlockAllocator<wchar_t>>;

}  // namespace hv
