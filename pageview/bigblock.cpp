#include "pageview/bigblock.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <sys/mman.h>
#endif

namespace hv {

void* MapBigBlock(size_t bytes) noexcept {
  if (bytes == 0) return nullptr;
#ifdef _WIN32
  return VirtualAlloc(nullptr, bytes, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE);
#else
  void* block = mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  return block == MAP_FAILED ? nullptr : block;
#endif
}

void UnmapBigBlock(void* block, size_t bytes) noexcept {
  if (!block) return;
#ifdef _WIN32
  (void)bytes;  // the whole reservation goes
  VirtualFree(block, 0, MEM_RELEASE);
#else
  munmap(block, bytes);
#endif
}

}  // namespace hv
