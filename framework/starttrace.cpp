#include "framework/starttrace.h"

#include <windows.h>
#include <psapi.h>

#include <cstdint>
#include <cstdio>

namespace hv {

namespace {

uint64_t AsTicks(const FILETIME& time) {
  return (static_cast<uint64_t>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
}

// Looked up when tracing, not imported: the program still starts on
// systems that lack them.
template <typename Entry>
Entry Kernel32Entry(const char* name) {
  return reinterpret_cast<Entry>(reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), name)));
}

}  // namespace

bool StartupTraceOn() {
  static const bool on = GetEnvironmentVariableW(L"HV_STARTUP_TRACE", nullptr, 0) > 0;
  return on;
}

void StartupMark(const char* what) {
  if (!StartupTraceOn()) return;
  using TPreciseTime = void(WINAPI*)(FILETIME*);
  using TMemoryInfo = BOOL(WINAPI*)(HANDLE, PROCESS_MEMORY_COUNTERS*, DWORD);
  static const auto preciseTime = Kernel32Entry<TPreciseTime>("GetSystemTimePreciseAsFileTime");
  static const auto memoryInfo = Kernel32Entry<TMemoryInfo>("K32GetProcessMemoryInfo");
  FILETIME created{}, exited{}, kernel{}, user{}, now{};
  GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
  if (preciseTime) preciseTime(&now);
  else GetSystemTimeAsFileTime(&now);
  // FILETIME counts 100-nanosecond steps.
  const double ms = static_cast<double>(AsTicks(now) - AsTicks(created)) / 1e4;
  // New memory costs a page fault per page on first touch: a working set
  // that jumps shows where.
  PROCESS_MEMORY_COUNTERS memory{};
  memory.cb = sizeof memory;
  if (memoryInfo) memoryInfo(GetCurrentProcess(), &memory, sizeof memory);
  std::fprintf(stderr, "startup %8.1f ms %8.1f MB  %s\n", ms, static_cast<double>(memory.WorkingSetSize) / (1 << 20),
               what);
  std::fflush(stderr);
}

}  // namespace hv
