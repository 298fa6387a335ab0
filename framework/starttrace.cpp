#include "framework/starttrace.h"

#include <windows.h>

#include <cstdint>
#include <cstdio>

namespace hv {

namespace {

uint64_t AsTicks(const FILETIME& time) {
  return (static_cast<uint64_t>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
}

}  // namespace

bool StartupTraceOn() {
  static const bool on = GetEnvironmentVariableW(L"HV_STARTUP_TRACE", nullptr, 0) > 0;
  return on;
}

void StartupMark(const char* what) {
  if (!StartupTraceOn()) return;
  FILETIME created{}, exited{}, kernel{}, user{}, now{};
  GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
  GetSystemTimePreciseAsFileTime(&now);
  // FILETIME counts 100-nanosecond steps.
  const double ms = static_cast<double>(AsTicks(now) - AsTicks(created)) / 1e4;
  std::fprintf(stderr, "startup %8.1f ms  %s\n", ms, what);
  std::fflush(stderr);
}

}  // namespace hv
