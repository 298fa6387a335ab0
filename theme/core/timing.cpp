#include "theme/core/timing.h"

#include <windows.h>

#include "theme/core/colors.h"

namespace hv {

namespace {
HWND gCaptureWindow = nullptr;
int gCaptureCount = 0;

int64_t ReadCounter() {
  LARGE_INTEGER value;
  QueryPerformanceCounter(&value);
  return value.QuadPart;
}
}  // namespace

void CaptureMouse(HWND window) {
  if (!gCaptureWindow) {
    gCaptureWindow = window;
    SetCapture(window);
  }
  ++gCaptureCount;
}

void ReleaseMouse() {
  if (gCaptureCount <= 0) return;
  if (--gCaptureCount == 0) {
    if (gCaptureWindow && GetCapture() == gCaptureWindow) ReleaseCapture();
    gCaptureWindow = nullptr;
  }
}

int MouseCaptureCount() { return gCaptureCount; }

int KeyboardDelayMs() {
  int setting = 1;
  if (!SystemParametersInfoW(SPI_GETKEYBOARDDELAY, 0, &setting, 0)) setting = 1;
  return KeyboardDelayMsFor(setting);
}

int KeyboardRepeatMsFor(int setting) {
  if (setting < 0) setting = 0;
  if (setting > 31) setting = 31;
  return RoundHalfEven(1000.0 / ((setting + 1) * 2.3));
}

int KeyboardRepeatMs() {
  DWORD setting = 31;
  if (!SystemParametersInfoW(SPI_GETKEYBOARDSPEED, 0, &setting, 0)) setting = 31;
  return KeyboardRepeatMsFor(static_cast<int>(setting > 31 ? 31 : setting));
}

TTeTimer::TTeTimer() {
  start_ = ReadCounter();
  stop_ = ReadCounter();
  overhead_ = stop_ - start_;
  LARGE_INTEGER frequency;
  if (QueryPerformanceFrequency(&frequency) && frequency.QuadPart > 0) frequency_ = frequency.QuadPart;
}

void TTeTimer::Start() { start_ = ReadCounter(); }

void TTeTimer::Stop() { stop_ = ReadCounter(); }

double TTeTimer::ElapsedSeconds() const {
  int64_t ticks = stop_ - start_ - overhead_;
  if (ticks < 0) ticks = 0;
  return static_cast<double>(ticks) / static_cast<double>(frequency_);
}

void StartTimer(std::unique_ptr<TTeTimer>& timer) {
  if (!timer) timer = std::make_unique<TTeTimer>();
  timer->Start();
}

float StopTimer(std::unique_ptr<TTeTimer>& timer) {
  if (!timer) return 0.0f;
  timer->Stop();
  return static_cast<float>(timer->ElapsedSeconds());
}

}  // namespace hv
