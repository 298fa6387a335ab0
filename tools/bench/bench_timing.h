#pragma once
// What the benchmarks that time whole calls share: the fastest of many
// calls, printed in milliseconds.

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>

namespace hv::bench {

// The fastest of many calls: the machine is shared, and a preempted call
// says nothing about the work.
inline double MillisecondsPerCall(const std::function<void()>& op) {
  using Clock = std::chrono::steady_clock;
  op();
  double best = 1e30;
  const auto begin = Clock::now();
  int calls = 0;
  while (calls < 5 || (std::chrono::duration<double>(Clock::now() - begin).count() < 1.0 && calls < 500)) {
    const auto start = Clock::now();
    op();
    best = std::min(best, std::chrono::duration<double>(Clock::now() - start).count());
    ++calls;
  }
  return best * 1e3;
}

inline void Report(const char* name, const std::function<void()>& op) {
  std::printf("%-58s %9.3f ms/call\n", name, MillisecondsPerCall(op));
  std::fflush(stdout);
}

}  // namespace hv::bench
