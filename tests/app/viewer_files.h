#pragma once
// Files of a help set written beside the viewer, where it reads them, for
// tests that show a viewer in their own process.

#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <string_view>

#include "app/frmmain.h"
#include "framework/winstring.h"

namespace hv::test {

inline std::string ViewerFolder() { return TFrmMain::BaseFolder(); }

// Writes `bytes` to a file of the viewer's folder, making its folder first.
inline void PutViewerFile(const std::string& relative, std::string_view bytes) {
  const std::string path = ViewerFolder() + relative;
  const size_t slash = path.find_last_of('\\');
  if (slash != std::string::npos) CreateDirectoryW(Widen(path.substr(0, slash)).c_str(), nullptr);
  HANDLE file = CreateFileW(Widen(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE) << path;
  DWORD written = 0;
  ::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  CloseHandle(file);
  ASSERT_EQ(written, bytes.size());
}

inline void RemoveViewerFile(const std::string& relative) {
  DeleteFileW(Widen(ViewerFolder() + relative).c_str());
}

}  // namespace hv::test
