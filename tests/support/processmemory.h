#pragma once
// What the process holds, as the system and the heaps tell it: the committed
// bytes of every heap and the blocks in use in them, the committed private
// pages of the whole address space, the working set. For the benchmarks and
// the tests that bound memory. Wine answers 0 for PrivateUsage, so the
// address space is walked instead.

#include <windows.h>
// After <windows.h>, which it needs.
#include <psapi.h>

#include <vector>

namespace hv::test {

// Adds up what `count` gives for each entry of one heap.
template <typename Count>
double SumOverHeap(HANDLE heap, Count count) {
  double bytes = 0;
  if (!HeapLock(heap)) return bytes;
  PROCESS_HEAP_ENTRY entry{};
  while (HeapWalk(heap, &entry)) bytes += count(entry);
  HeapUnlock(heap);
  return bytes;
}

// The same for every heap of the process.
template <typename Count>
double SumOverHeaps(Count count) {
  HANDLE heaps[64];
  const DWORD heapCount = GetProcessHeaps(64, heaps);
  double bytes = 0;
  for (DWORD i = 0; i < heapCount && i < 64; ++i) bytes += SumOverHeap(heaps[i], count);
  return bytes;
}

inline double RegionCommitted(const PROCESS_HEAP_ENTRY& e) {
  return (e.wFlags & PROCESS_HEAP_REGION) ? static_cast<double>(e.Region.dwCommittedSize) : 0.0;
}

inline double HeapCommittedBytes() { return SumOverHeaps(RegionCommitted); }

// The bytes of the blocks in use, without the heaps' free space.
inline double HeapBusyBytes() {
  return SumOverHeaps([](const PROCESS_HEAP_ENTRY& e) {
    return (e.wFlags & PROCESS_HEAP_ENTRY_BUSY) ? static_cast<double>(e.cbData) : 0.0;
  });
}

// The committed bytes of each heap, in the order GetProcessHeaps gives them,
// to tell which heap grows.
inline std::vector<double> HeapCommittedByHeap() {
  HANDLE heaps[64];
  const DWORD heapCount = GetProcessHeaps(64, heaps);
  std::vector<double> result;
  for (DWORD i = 0; i < heapCount && i < 64; ++i) result.push_back(SumOverHeap(heaps[i], RegionCommitted));
  return result;
}

// How a heap's space lies: its regions, the blocks in use and the free
// blocks by size, to tell a heap full of small holes from one whose free
// space is there in big pieces but not taken.
struct HeapShape {
  int regions = 0;
  double committed = 0, uncommitted = 0;
  int busy = 0;
  double busyBytes = 0;
  int freeCount[4] = {};  // under 1 KB, under 16 KB, under 256 KB, bigger
  double freeBytes[4] = {};
  double largestFree = 0;
};

inline HeapShape ShapeOf(HANDLE heap) {
  HeapShape shape;
  if (!HeapLock(heap)) return shape;
  PROCESS_HEAP_ENTRY entry{};
  while (HeapWalk(heap, &entry)) {
    if (entry.wFlags & PROCESS_HEAP_REGION) {
      ++shape.regions;
      shape.committed += entry.Region.dwCommittedSize;
      shape.uncommitted += entry.Region.dwUnCommittedSize;
    } else if (entry.wFlags & PROCESS_HEAP_ENTRY_BUSY) {
      ++shape.busy;
      shape.busyBytes += entry.cbData;
    } else if (!(entry.wFlags & PROCESS_HEAP_UNCOMMITTED_RANGE)) {
      const int bucket = entry.cbData < 1024 ? 0 : entry.cbData < 16384 ? 1 : entry.cbData < 262144 ? 2 : 3;
      ++shape.freeCount[bucket];
      shape.freeBytes[bucket] += entry.cbData;
      if (entry.cbData > shape.largestFree) shape.largestFree = entry.cbData;
    }
  }
  HeapUnlock(heap);
  return shape;
}

// The committed private pages of the whole address space, walked region by
// region: what the heaps keep, the big blocks they map on their own, thread
// stacks and everything else the process allocated, whatever the counters
// say.
inline double CommittedPrivateBytes() {
  double bytes = 0;
  MEMORY_BASIC_INFORMATION info{};
  for (const char* at = nullptr; VirtualQuery(at, &info, sizeof info) == sizeof info;) {
    if (info.State == MEM_COMMIT && info.Type == MEM_PRIVATE) bytes += static_cast<double>(info.RegionSize);
    const char* next = static_cast<const char*>(info.BaseAddress) + info.RegionSize;
    if (next <= at) break;
    at = next;
  }
  return bytes;
}

inline double WorkingSetBytes() {
  PROCESS_MEMORY_COUNTERS counters{};
  counters.cb = sizeof counters;
  GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters);
  return static_cast<double>(counters.WorkingSetSize);
}

}  // namespace hv::test
