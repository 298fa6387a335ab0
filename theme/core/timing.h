#pragma once
// Mouse capture shared by nested users, the keyboard's repeat timings and a
// stopwatch over the high-resolution performance counter.

#include <cstdint>
#include <memory>

#include "framework/winhandles.h"

namespace hv {

// Several parts of a control may want the mouse at once (a scroll bar's
// thumb inside a tracking tree, say); the capture is taken by the first and
// given back by the last. A release without a matching capture is ignored,
// so that an unbalanced call cannot leave the next capture unreleasable.
void CaptureMouse(HWND window);
void ReleaseMouse();
int MouseCaptureCount();

// The system's keyboard delay (0..3) and speed (0..31) settings in
// milliseconds; settings outside those ranges are clamped.
int KeyboardDelayMs();
int KeyboardRepeatMs();
constexpr int KeyboardDelayMsFor(int setting) { return 200 * (setting < 0 ? 0 : setting > 3 ? 3 : setting) + 200; }
int KeyboardRepeatMsFor(int setting);

// A stopwatch for show animations. Construction measures what reading the
// counter itself costs, which ElapsedSeconds takes off again.
class TTeTimer {
 public:
  TTeTimer();

  void Start();
  void Stop();
  // Never negative: an interval shorter than the measured overhead is 0.
  double ElapsedSeconds() const;

  int64_t StartCount() const { return start_; }
  int64_t StopCount() const { return stop_; }
  int64_t Frequency() const { return frequency_; }
  int64_t Overhead() const { return overhead_; }

 private:
  int64_t start_ = 0;
  int64_t stop_ = 0;
  int64_t frequency_ = 1;
  int64_t overhead_ = 0;
};

// A timer kept in a variable: StartTimer makes it when there is none yet;
// StopTimer answers 0 for none and makes nothing.
void StartTimer(std::unique_ptr<TTeTimer>& timer);
float StopTimer(std::unique_ptr<TTeTimer>& timer);

}  // namespace hv
