#pragma once
// Asks a window for WM_NULL over and over from a thread of its own, as a
// watchdog does, and keeps the longest wait for an answer and the number of
// answers: how long the window's thread went without handling messages.

#include <windows.h>

#include <atomic>
#include <chrono>
#include <thread>

namespace hv::test {

class TPinger {
 public:
  explicit TPinger(HWND target) : target_(target), thread_([this] { Run(); }) {}
  ~TPinger() {
    stop_ = true;
    thread_.join();
  }
  TPinger(const TPinger&) = delete;
  TPinger& operator=(const TPinger&) = delete;

  double LongestMs() const { return longest_; }
  int Answers() const { return answers_; }

 private:
  void Run() {
    using Clock = std::chrono::steady_clock;
    while (!stop_) {
      const auto start = Clock::now();
      DWORD_PTR result = 0;
      if (SendMessageTimeoutW(target_, WM_NULL, 0, 0, SMTO_NORMAL, 30000, &result)) ++answers_;
      const double waited = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
      if (waited > longest_) longest_ = waited;
      std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
  }
  HWND target_;
  std::atomic<bool> stop_{false};
  std::atomic<double> longest_{0};
  std::atomic<int> answers_{0};
  std::thread thread_;
};

}  // namespace hv::test
