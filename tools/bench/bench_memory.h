#pragma once
// What the benchmarks that weigh memory share (tests/support/processmemory.h):
// the committed bytes of the process's heaps, the blocks in use in them, the
// committed private pages and the working set.

#include "tests/support/processmemory.h"

namespace hv::bench {

using test::CommittedPrivateBytes;
using test::HeapBusyBytes;
using test::HeapCommittedBytes;
using test::HeapCommittedByHeap;
using test::HeapShape;
using test::ShapeOf;
using test::WorkingSetBytes;

}  // namespace hv::bench
