// How long the viewer takes from its start to its first complete paint on
// the bundled help, next to a bare program that shows one empty window:
// both started in the same run, one after the other, five times each, after
// one start of each that is not timed (it fills the system's caches). The
// difference is the viewer's own share; the rest is what starting any
// windowed process costs on this system.
//
// "Painted" is judged from outside, the same way for both programs: the
// process has gone idle for input, it shows a top-level window, and neither
// that window nor any window inside it has anything left to paint.
//
// Run from the folder of HelpViewer.exe (the build's bin folder):
//   HV_ARCH=x86_64 DISPLAY=:99 cmake/wine-run.sh build/<dir>/bin/startup_bench.exe

#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

struct TWindowsOf {
  DWORD process;
  std::vector<HWND> windows;
};

BOOL CALLBACK CollectTopLevel(HWND window, LPARAM param) {
  auto* found = reinterpret_cast<TWindowsOf*>(param);
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  if (process == found->process) found->windows.push_back(window);
  return TRUE;
}

BOOL CALLBACK CollectChildren(HWND window, LPARAM param) {
  reinterpret_cast<std::vector<HWND>*>(param)->push_back(window);
  return TRUE;
}

std::vector<HWND> TopLevelWindows(DWORD process) {
  TWindowsOf found{process, {}};
  EnumWindows(&CollectTopLevel, reinterpret_cast<LPARAM>(&found));
  return found.windows;
}

// A visible top-level window of a real size, and no visible window of the
// process with an update region left.
bool FirstPaintDone(DWORD process) {
  bool shown = false;
  for (HWND top : TopLevelWindows(process)) {
    if (!IsWindowVisible(top)) continue;
    RECT bounds;
    GetWindowRect(top, &bounds);
    if (bounds.right - bounds.left > 1 && bounds.bottom - bounds.top > 1) shown = true;
    std::vector<HWND> windows{top};
    EnumChildWindows(top, &CollectChildren, reinterpret_cast<LPARAM>(&windows));
    for (HWND window : windows)
      if (IsWindowVisible(window) && GetUpdateRect(window, nullptr, FALSE)) return false;
  }
  return shown;
}

// Seconds from the start of the process to its first complete paint, or a
// negative value when it never got there.
double TimeToFirstPaint(const std::wstring& program, const std::wstring& folder) {
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = SW_SHOWNORMAL;
  PROCESS_INFORMATION process{};
  std::wstring commandLine = L"\"" + program + L"\"";
  const auto start = Clock::now();
  if (!CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(),
                      &startup, &process)) {
    std::printf("cannot start %ls (error %lu)\n", program.c_str(), GetLastError());
    return -1;
  }
  WaitForInputIdle(process.hProcess, 30000);
  double seconds = -1;
  while (std::chrono::duration<double>(Clock::now() - start).count() < 60) {
    if (FirstPaintDone(process.dwProcessId)) {
      seconds = std::chrono::duration<double>(Clock::now() - start).count();
      break;
    }
    if (WaitForSingleObject(process.hProcess, 1) == WAIT_OBJECT_0) break;
  }
  // Closed the way a user closes it; a process that does not go is ended.
  for (HWND top : TopLevelWindows(process.dwProcessId))
    if (IsWindowVisible(top)) PostMessageW(top, WM_CLOSE, 0, 0);
  if (WaitForSingleObject(process.hProcess, 15000) != WAIT_OBJECT_0) TerminateProcess(process.hProcess, 1);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return seconds;
}

std::wstring FolderOfThisProgram() {
  std::wstring path(MAX_PATH, L'\0');
  path.resize(GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size())));
  return path.substr(0, path.find_last_of(L"\\/") + 1);
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  const std::wstring folder = FolderOfThisProgram();
  const std::wstring viewer = argc > 1 ? argv[1] : folder + L"HelpViewer.exe";
  const std::wstring bare = folder + L"BareWindow.exe";
  constexpr int kRuns = 5;
  std::printf("start to first complete paint, %d runs each after one untimed start\n", kRuns);
  if (TimeToFirstPaint(viewer, folder) < 0 || TimeToFirstPaint(bare, folder) < 0) return 1;
  std::vector<double> viewerTimes, bareTimes;
  for (int run = 0; run < kRuns; ++run) {
    const double v = TimeToFirstPaint(viewer, folder);
    const double b = TimeToFirstPaint(bare, folder);
    if (v < 0 || b < 0) {
      std::printf("run %d: a program never finished its first paint\n", run + 1);
      return 1;
    }
    std::printf("run %d: viewer %8.1f ms   bare window %8.1f ms\n", run + 1, v * 1e3, b * 1e3);
    std::fflush(stdout);
    viewerTimes.push_back(v);
    bareTimes.push_back(b);
  }
  const double bestViewer = *std::min_element(viewerTimes.begin(), viewerTimes.end());
  const double bestBare = *std::min_element(bareTimes.begin(), bareTimes.end());
  std::printf("fastest: viewer %.1f ms, bare window %.1f ms, the viewer's own share %.1f ms\n", bestViewer * 1e3,
              bestBare * 1e3, (bestViewer - bestBare) * 1e3);
  std::printf("median:  viewer %.1f ms, bare window %.1f ms, the viewer's own share %.1f ms\n",
              Median(viewerTimes) * 1e3, Median(bareTimes) * 1e3, (Median(viewerTimes) - Median(bareTimes)) * 1e3);
  return 0;
}
