#pragma once
// What the benchmarks that weigh memory share: the committed bytes of the
// process's heaps (Wine answers 0 for PrivateUsage) and the working set.

#include <windows.h>
// After <windows.h>, which it needs.
#include <psapi.h>

namespace hv::bench {

// Adds up what `count` gives for each entry of every heap of the process.
template <typename Count>
double SumOverHeaps(Count count) {
  HANDLE heaps[64];
  const DWORD heapCount = GetProcessHeaps(64, heaps);
  double bytes = 0;
  for (DWORD i = 0; i < heapCount && i < 64; ++i) {
    if (!HeapLock(heaps[i])) continue;
    PROCESS_HEAP_ENTRY entry{};
    while (HeapWalk(heaps[i], &entry)) bytes += count(entry);
    HeapUnlock(heaps[i]);
  }
  return bytes;
}

inline double HeapCommittedBytes() {
  return SumOverHeaps([](const PROCESS_HEAP_ENTRY& e) {
    return (e.wFlags & PROCESS_HEAP_REGION) ? static_cast<double>(e.Region.dwCommittedSize) : 0.0;
  });
}

// The bytes of the blocks in use, without the heaps' free space.
inline double HeapBusyBytes() {
  return SumOverHeaps([](const PROCESS_HEAP_ENTRY& e) {
    return (e.wFlags & PROCESS_HEAP_ENTRY_BUSY) ? static_cast<double>(e.cbData) : 0.0;
  });
}

inline double WorkingSetBytes() {
  PROCESS_MEMORY_COUNTERS counters{};
  counters.cb = sizeof counters;
  GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters);
  return static_cast<double>(counters.WorkingSetSize);
}

}  // namespace hv::bench
