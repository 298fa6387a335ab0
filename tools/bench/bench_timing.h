#pragma once
// What the benchmarks that time whole calls share: the fastest of many
// calls, printed in milliseconds.

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <vector>

namespace hv::bench {

// The fastest of many calls, in seconds: the machine is shared, and a
// preempted call says nothing about the work. At least `minCalls` calls,
// then more while the budget lasts, at most `maxCalls`.
inline double SecondsPerCall(const std::function<void()>& op, int minCalls = 5, double budgetSeconds = 1.0,
                             int maxCalls = 500) {
  using Clock = std::chrono::steady_clock;
  op();  // warm caches and page in the buffers
  double best = 1e30;
  const auto begin = Clock::now();
  int calls = 0;
  while (calls < minCalls ||
         (std::chrono::duration<double>(Clock::now() - begin).count() < budgetSeconds && calls < maxCalls)) {
    const auto start = Clock::now();
    op();
    best = std::min(best, std::chrono::duration<double>(Clock::now() - start).count());
    ++calls;
  }
  return best;
}

// The fastest and the median of many calls, in seconds, counted as above:
// the median says what a call costs while the machine does other work too.
struct TCallTimes {
  double fastest = 0;
  double median = 0;
};

inline TCallTimes CallTimes(const std::function<void()>& op, int minCalls = 5, double budgetSeconds = 1.0,
                            int maxCalls = 500) {
  using Clock = std::chrono::steady_clock;
  op();
  std::vector<double> seconds;
  const auto begin = Clock::now();
  while (static_cast<int>(seconds.size()) < minCalls ||
         (std::chrono::duration<double>(Clock::now() - begin).count() < budgetSeconds &&
          static_cast<int>(seconds.size()) < maxCalls)) {
    const auto start = Clock::now();
    op();
    seconds.push_back(std::chrono::duration<double>(Clock::now() - start).count());
  }
  std::sort(seconds.begin(), seconds.end());
  return {seconds.front(), seconds[seconds.size() / 2]};
}

inline double MillisecondsPerCall(const std::function<void()>& op) { return SecondsPerCall(op) * 1e3; }

inline void Report(const char* name, const std::function<void()>& op) {
  std::printf("%-58s %9.3f ms/call\n", name, MillisecondsPerCall(op));
  std::fflush(stdout);
}

}  // namespace hv::bench
