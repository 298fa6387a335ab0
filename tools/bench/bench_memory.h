#pragma once
// What the benchmarks that weigh memory share: the committed bytes of the
// process's heaps (Wine answers 0 for PrivateUsage) and the working set.

#include <windows.h>
// After <windows.h>, which it needs.
#include <psapi.h>

namespace hv::bench {

inline double HeapCommittedBytes() {
  HANDLE heaps[64];
  const DWORD count = GetProcessHeaps(64, heaps);
  double bytes = 0;
  for (DWORD i = 0; i < count && i < 64; ++i) {
    if (!HeapLock(heaps[i])) continue;
    PROCESS_HEAP_ENTRY entry{};
    while (HeapWalk(heaps[i], &entry))
      if (entry.wFlags & PROCESS_HEAP_REGION) bytes += entry.Region.dwCommittedSize;
    HeapUnlock(heaps[i]);
  }
  return bytes;
}

// The bytes of the blocks in use, without the heaps' free space.
inline double HeapBusyBytes() {
  HANDLE heaps[64];
  const DWORD count = GetProcessHeaps(64, heaps);
  double bytes = 0;
  for (DWORD i = 0; i < count && i < 64; ++i) {
    if (!HeapLock(heaps[i])) continue;
    PROCESS_HEAP_ENTRY entry{};
    while (HeapWalk(heaps[i], &entry))
      if (entry.wFlags & PROCESS_HEAP_ENTRY_BUSY) bytes += entry.cbData;
    HeapUnlock(heaps[i]);
  }
  return bytes;
}

inline double WorkingSetBytes() {
  PROCESS_MEMORY_COUNTERS counters{};
  counters.cb = sizeof counters;
  GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters);
  return static_cast<double>(counters.WorkingSetSize);
}

}  // namespace hv::bench
