#pragma once
// What the page view's window tests stand on: one visible top-level window
// shared by a whole suite (under Wine, taking down a visible top-level
// window waits seconds for the X server), a folder of page files of the
// test's own, and a view whose error messages a test must not leave behind.

#include <gtest/gtest.h>
#include <windows.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "pageview/htmlview.h"
#include "tests/pageview/viewcapture.h"

namespace hv::test {

class PageViewHost : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    WNDCLASSW wc{};
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"PageViewTestHost";
    RegisterClassW(&wc);  // a second suite finds the class there
    top_ = CreateWindowExW(0, L"PageViewTestHost", L"host", WS_OVERLAPPEDWINDOW | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0,
                           640, 480, nullptr, nullptr, wc.hInstance, nullptr);
  }
  static void TearDownTestSuite() {
    DestroyWindow(top_);
    top_ = nullptr;
  }

  // The folder "<name><process id>" in the temporary folder, with
  // `subfolder` in it when given, and a view of the size at the host's
  // top left.
  void OpenView(const std::string& name, int width, int height, const char* subfolder = nullptr) {
    ASSERT_NE(top_, nullptr);
    wchar_t temp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temp);
    folder_ = std::filesystem::path(temp) / (name + std::to_string(GetCurrentProcessId()));
    std::filesystem::create_directories(subfolder ? folder_ / subfolder : folder_);
    width_ = width;
    height_ = height;
    view_ = std::make_unique<THtmlView>();
    view_->SetErrorHandler([this](const std::string& message) { errors_.push_back(message); });
    ASSERT_NE(view_->Create(top_, RECT{0, 0, width, height}), nullptr);
  }

  void TearDown() override {
    view_.reset();
    std::error_code ignored;
    std::filesystem::remove_all(folder_, ignored);
    EXPECT_TRUE(errors_.empty()) << errors_.front();
  }

  std::wstring Write(const std::string& name, const std::string& bytes) {
    std::filesystem::path path = folder_ / name;
    std::ofstream(path, std::ios::binary) << bytes;
    return path.wstring();
  }

  // The client area as the view paints it, as 0xRRGGBB values.
  std::vector<uint32_t> Capture() const { return CaptureClient(view_->Handle(), width_, height_); }
  uint32_t At(const std::vector<uint32_t>& pixels, int x, int y) const {
    return pixels[static_cast<size_t>(y) * static_cast<size_t>(width_) + static_cast<size_t>(x)];
  }

  static inline HWND top_ = nullptr;
  std::filesystem::path folder_;
  std::unique_ptr<THtmlView> view_;
  std::vector<std::string> errors_;
  int width_ = 0;
  int height_ = 0;
};

}  // namespace hv::test
