// Styled pages loaded from files into the real page view window: the page
// colour, box backgrounds and borders, table cell colours and alignment
// are painted where the layout puts them, checked pixel by pixel at points
// where no text stands.

#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "pageview/htmlview.h"
#include "tests/pageview/viewcapture.h"

namespace hv {
namespace {

constexpr int kViewWidth = 400;
constexpr int kViewHeight = 300;

class PageStyleWindowTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    WNDCLASSW wc{};
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"PageStyleWindowTestHost";
    RegisterClassW(&wc);
    top_ = CreateWindowExW(0, L"PageStyleWindowTestHost", L"host", WS_OVERLAPPEDWINDOW | WS_VISIBLE | WS_CLIPCHILDREN,
                           0, 0, 640, 480, nullptr, nullptr, wc.hInstance, nullptr);
  }
  static void TearDownTestSuite() {
    DestroyWindow(top_);
    top_ = nullptr;
  }

  void SetUp() override {
    ASSERT_NE(top_, nullptr);
    wchar_t temp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temp);
    folder_ = std::filesystem::path(temp) / ("hv_pagestyle_test_" + std::to_string(GetCurrentProcessId()));
    std::filesystem::create_directories(folder_);
    view_ = std::make_unique<THtmlView>();
    view_->SetErrorHandler([this](const std::string& message) { errors_.push_back(message); });
    ASSERT_NE(view_->Create(top_, RECT{0, 0, kViewWidth, kViewHeight}), nullptr);
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

  int ClientWidth() const {
    RECT client{};
    GetClientRect(view_->Handle(), &client);
    return client.right;
  }

  std::vector<uint32_t> Capture() const { return test::CaptureClient(view_->Handle(), kViewWidth, kViewHeight); }

  static uint32_t At(const std::vector<uint32_t>& pixels, int x, int y) {
    return pixels[static_cast<size_t>(y) * kViewWidth + static_cast<size_t>(x)];
  }

  const html::LayoutBox* FillOf(uint32_t color) const {
    for (const html::LayoutBox& box : view_->Layout().boxes)
      if (box.kind == html::BoxKind::Fill && box.color == color) return &box;
    return nullptr;
  }

  static inline HWND top_ = nullptr;
  std::filesystem::path folder_;
  std::unique_ptr<THtmlView> view_;
  std::vector<std::string> errors_;
};

TEST_F(PageStyleWindowTest, PageColourBoxBackgroundAndBordersArePaintedWhereTheyStand) {
  ASSERT_TRUE(view_->Navigate(Write("box.htm",
                                "<html><body bgcolor='#336699' style='margin: 0'>"
                                "<div style='margin: 10px; border: 4px solid #ff0000; padding: 10px; "
                                "background-color: #ffff00'></div></body></html>")));
  const int right = ClientWidth() - 10;
  const html::LayoutBox* fill = FillOf(0xFFFF00);
  ASSERT_NE(fill, nullptr);
  EXPECT_EQ(fill->rect, (TRect{10, 10, right, 10 + 4 + 20 + 4})) << "an empty box keeps its border and padding";
  auto pixels = Capture();
  EXPECT_EQ(At(pixels, 5, 5), 0x336699u) << "the page colour around the box";
  EXPECT_EQ(At(pixels, 5, 200), 0x336699u) << "and below the content, to the bottom of the window";
  EXPECT_EQ(At(pixels, 12, 20), 0xFF0000u) << "left border";
  EXPECT_EQ(At(pixels, 40, 12), 0xFF0000u) << "top border";
  EXPECT_EQ(At(pixels, 40, 36), 0xFF0000u) << "bottom border";
  EXPECT_EQ(At(pixels, right - 2, 20), 0xFF0000u) << "right border";
  EXPECT_EQ(At(pixels, 40, 24), 0xFFFF00u) << "the background inside";
  EXPECT_EQ(At(pixels, right + 2, 20), 0x336699u);
  EXPECT_EQ(At(pixels, 40, 39), 0x336699u) << "the margin below";
}

TEST_F(PageStyleWindowTest, LinkedSheetStylesABoxAndCellsTakeTheirColoursAndAlignment) {
  Write("look.css",
        "div.note { background-color: #123456; border-left: 6px solid #654321; padding: 8px; margin: 0 }\n"
        "td.left { background-color: #00ff00 }\n");
  ASSERT_TRUE(view_->Navigate(Write("styled.htm",
                                "<html><head><link rel=stylesheet href='look.css'></head>"
                                "<body style='margin: 0'><div class=note></div>"
                                "<table cellspacing=0 cellpadding=0 border=0>"
                                "<tr><td class=left width=50>&nbsp;</td><td bgcolor='#0000ff' width=50>&nbsp;</td></tr>"
                                "</table>"
                                "<table align=right cellspacing=0 cellpadding=0 width=40>"
                                "<tr><td bgcolor='#00ffff'>&nbsp;</td></tr></table></body></html>")));
  const html::LayoutBox* note = FillOf(0x123456);
  ASSERT_NE(note, nullptr);
  EXPECT_EQ(note->rect, (TRect{0, 0, ClientWidth(), 16}));
  const html::LayoutBox* left = FillOf(0x00FF00);
  const html::LayoutBox* right = FillOf(0x0000FF);
  const html::LayoutBox* aligned = FillOf(0x00FFFF);
  ASSERT_TRUE(left && right && aligned);
  EXPECT_EQ(left->rect.left, 0);
  EXPECT_EQ(left->rect.right, 50);
  EXPECT_EQ(right->rect.left, 50);
  EXPECT_EQ(right->rect.right, 100);
  EXPECT_EQ(aligned->rect.right, ClientWidth()) << "align=right puts the table against the right edge";
  EXPECT_EQ(aligned->rect.Width(), 40);

  auto pixels = Capture();
  EXPECT_EQ(At(pixels, 3, 8), 0x654321u) << "the left border";
  EXPECT_EQ(At(pixels, 100, 8), 0x123456u) << "the background";
  const int cellMiddle = (left->rect.top + left->rect.bottom) / 2;
  ASSERT_LT(cellMiddle, kViewHeight);
  EXPECT_EQ(At(pixels, 25, cellMiddle), 0x00FF00u);
  EXPECT_EQ(At(pixels, 75, cellMiddle), 0x0000FFu);
  EXPECT_EQ(At(pixels, 105, cellMiddle), 0xFFFFFFu) << "past the cells: the page's white";
  const int alignedMiddle = (aligned->rect.top + aligned->rect.bottom) / 2;
  ASSERT_LT(alignedMiddle, kViewHeight);
  EXPECT_EQ(At(pixels, ClientWidth() - 20, alignedMiddle), 0x00FFFFu);
  EXPECT_EQ(At(pixels, ClientWidth() - 45, alignedMiddle), 0xFFFFFFu);
}

}  // namespace
}  // namespace hv
