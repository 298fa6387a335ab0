// What the viewer has loaded by the time its first window is painted, seen
// from outside: the system libraries it needs only now and then (the
// shell's, the automation library, the imaging component) come in on first
// use, not with every start.

#include <windows.h>
// After <windows.h>, which it needs.
#include <tlhelp32.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cwctype>
#include <string>
#include <vector>

#include "tests/support/outside.h"

namespace hv::test {
namespace {

using namespace std::chrono_literals;

std::wstring Lower(std::wstring text) {
  std::transform(text.begin(), text.end(), text.begin(), [](wchar_t c) { return std::towlower(c); });
  return text;
}

// The file names of the modules mapped into a process, in lower case.
std::vector<std::wstring> ModulesOf(DWORD process) {
  std::vector<std::wstring> names;
  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPMODULE, process);
  if (snapshot == INVALID_HANDLE_VALUE) return names;
  MODULEENTRY32W entry{};
  entry.dwSize = sizeof entry;
  for (BOOL more = Module32FirstW(snapshot, &entry); more; more = Module32NextW(snapshot, &entry))
    names.push_back(Lower(entry.szModule));
  CloseHandle(snapshot);
  return names;
}

bool Has(const std::vector<std::wstring>& names, const wchar_t* name) {
  return std::find(names.begin(), names.end(), name) != names.end();
}

TEST(ViewerStartFromOutside, TheFirstWindowNeedsNoShellAutomationOrImagingLibrary) {
  TOutsideProgram program(HostPathToWindows(HV_VIEWER_EXE));
  ASSERT_TRUE(program.Started()) << "HelpViewer.exe did not start";
  HWND main = program.WaitForTopWindow(L"TFrmMain", 60s);
  ASSERT_NE(main, nullptr) << "no visible TFrmMain window";
  // Painted through: nothing of the window is left to paint.
  ASSERT_TRUE(WaitUntil([&] { return !GetUpdateRect(main, nullptr, FALSE); }, 10s));
  const std::vector<std::wstring> modules = ModulesOf(program.ProcessId());
  // The list itself is read: the program and the libraries it imports.
  ASSERT_TRUE(Has(modules, L"helpviewer.exe"));
  ASSERT_TRUE(Has(modules, L"user32.dll"));
  ASSERT_TRUE(Has(modules, L"comctl32.dll"));
  EXPECT_FALSE(Has(modules, L"shell32.dll"));
  EXPECT_FALSE(Has(modules, L"oleaut32.dll"));
  EXPECT_FALSE(Has(modules, L"windowscodecs.dll"));
}

}  // namespace
}  // namespace hv::test
