#include <gtest/gtest.h>
#include <windows.h>

#include "framework/application.h"
#include "tests/support/win_test.h"

namespace hv::test {

namespace {
std::vector<std::string> gReported;

// A test that leaves an exception report behind has let an error escape a
// window procedure without looking at it.
class ReportedExceptionsCheck : public ::testing::EmptyTestEventListener {
  void OnTestEnd(const ::testing::TestInfo&) override {
    for (const auto& message : TakeReportedExceptions()) ADD_FAILURE() << "unexpected exception report: " << message;
  }
};
}  // namespace

std::vector<std::string> TakeReportedExceptions() { return std::exchange(gReported, {}); }

void PumpMessages() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

unsigned ClientPixel(HWND wnd, int x, int y) {
  UpdateWindow(wnd);
  HDC dc = GetDC(wnd);
  COLORREF c = GetPixel(dc, x, y);
  ReleaseDC(wnd, dc);
  return ((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF);
}

}  // namespace hv::test

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  hv::Application()->Initialize();
  hv::Application()->OnException = [](hv::TObject*, const std::exception& error) {
    hv::test::gReported.push_back(error.what());
  };
  ::testing::UnitTest::GetInstance()->listeners().Append(new hv::test::ReportedExceptionsCheck);
  int result = RUN_ALL_TESTS();
  hv::FinalizeApplication();
  return result;
}
