// The windowless scroll bar on real windows: its elements through a style
// and in its plain look, the states the mouse gives them, dragging, paging,
// the repeat while a button is held, and the setters' clamping.

#include "theme/controls/scrollbar.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <vector>

#include "tests/support/pixel_rows.h"
#include "tests/theme/controls/control_test_support.h"
#include "tests/theme/controls/solid_style.h"
#include "theme/core/themeengine.h"
#include "theme/core/themelibrary.h"
#include "theme/core/visualstyles.h"

namespace hv {
namespace {

using test::TSolidStyle;
using test::TTestForm;

struct ScrollBarTest : ::testing::Test {
  // Without the visual-style library the plain look is the classic one,
  // whatever the system's style.
  static void SetUpTestSuite() {
    SetVisualStyleLibraryFile(L"no-visual-styles.dll");
    StartThemeLibrary();
  }
  static void TearDownTestSuite() {
    FinishThemeLibrary();
    SetVisualStyleLibraryFile(L"uxtheme.dll");
  }

  TTestForm host;
  TTeThemeEngine* engine = nullptr;
  TTeThemeScrollBar* bar = nullptr;
  std::vector<TScrollCode> codes;

  // A vertical bar of 17 x 134 at (10, 10): buttons of 17, a track of 100.
  void SetUp() override {
    engine = TComponent::Create<TTeThemeEngine>(host.form.get());
    engine->SetTheme(std::make_unique<TSolidStyle>());
    bar = TComponent::Create<TTeThemeScrollBar>(host.form.get());
    bar->SetParent(host.form.get());
    bar->SetKind(sbVertical);
    bar->SetBounds(10, 10, 17, 134);
    bar->SetThemeEngine(engine);
    bar->OnScroll = [this](TObject*, TScrollCode code, int&) { codes.push_back(code); };
  }
  unsigned Pixel(int x, int y) { return host.Pixel(10 + x, 10 + y); }
  void Send(UINT msg, WPARAM keys, int x, int y) {
    SendMessageW(host.Handle(), msg, keys, MAKELPARAM(10 + x, 10 + y));
  }
};

TEST_F(ScrollBarTest, ThemedElementsLieWhereTheGeometrySaysInEveryState) {
  bar->SetPosition(50);
  ASSERT_EQ(bar->GetThumbRect(), Rect(0, 59, 17, 76));  // 17 + round(50 × 83 / 100)
  HV_EXPECT_PIXEL_ROWS(unsigned, "at position 50", Pixel(x, y), {8, 8, TSolidStyle::kFirstButtonRGB},
                       {8, 125, TSolidStyle::kSecondButtonRGB}, {8, 30, TSolidStyle::kTrackRGB},
                       {8, 58, TSolidStyle::kTrackRGB}, {8, 59, TSolidStyle::kThumbRGB},
                       {8, 75, TSolidStyle::kThumbRGB}, {8, 76, TSolidStyle::kTrackRGB});

  Send(WM_MOUSEMOVE, 0, 8, 65);
  EXPECT_EQ(Pixel(8, 65), TSolidStyle::kThumbRGB + 0x10 * kesHot);
  Send(WM_MOUSEMOVE, 0, 8, 125);
  EXPECT_EQ(Pixel(8, 65), TSolidStyle::kThumbRGB);
  EXPECT_EQ(Pixel(8, 125), TSolidStyle::kSecondButtonRGB + 0x10 * kesHot);
  Send(WM_LBUTTONDOWN, MK_LBUTTON, 8, 125);
  EXPECT_EQ(Pixel(8, 125), TSolidStyle::kSecondButtonRGB + 0x10 * kesPressed);
  Send(WM_LBUTTONUP, 0, 8, 125);
  EXPECT_EQ(Pixel(8, 125), TSolidStyle::kSecondButtonRGB + 0x10 * kesHot);

  bar->SetEnabled(false);
  EXPECT_EQ(Pixel(8, 8), TSolidStyle::kFirstButtonRGB + 0x10 * kesDisabled);
  EXPECT_EQ(Pixel(8, 65), TSolidStyle::kTrackRGB);  // no thumb while disabled
}

TEST_F(ScrollBarTest, TheThumbReachesBothEndsOfTheTrack) {
  bar->SetPosition(0);
  EXPECT_EQ(Pixel(8, 17), TSolidStyle::kThumbRGB);
  EXPECT_EQ(Pixel(8, 16), TSolidStyle::kFirstButtonRGB);
  bar->SetPosition(100);
  HV_EXPECT_PIXEL_ROWS(unsigned, "at position 100", Pixel(x, y), {8, 116, TSolidStyle::kThumbRGB},
                       {8, 117, TSolidStyle::kSecondButtonRGB}, {8, 99, TSolidStyle::kTrackRGB});
}

TEST_F(ScrollBarTest, DraggingTheThumbTracksThenReportsPositionAndEnd) {
  bar->SetPosition(0);
  Send(WM_MOUSEMOVE, 0, 8, 17);
  // Grabbed at its very first pixel, the thumb still drags.
  Send(WM_LBUTTONDOWN, MK_LBUTTON, 8, 17);
  EXPECT_TRUE(bar->Dragging());
  EXPECT_EQ(bar->DragOffset(), 0);
  EXPECT_EQ(Pixel(8, 20), TSolidStyle::kThumbRGB + 0x10 * kesPressed);
  Send(WM_MOUSEMOVE, MK_LBUTTON, 8, 17 + 40);
  EXPECT_EQ(bar->Position(), 48);  // round(40 × 100 / 83)
  Send(WM_MOUSEMOVE, MK_LBUTTON, 8, 500);
  EXPECT_EQ(bar->Position(), 100);
  Send(WM_LBUTTONUP, 0, 8, 500);
  EXPECT_FALSE(bar->Dragging());
  const std::vector<TScrollCode> expected{scTrack, scTrack, scTrack, scPosition, scEndScroll};
  EXPECT_EQ(codes, expected);
}

TEST_F(ScrollBarTest, APageAreaStepsByThePageAndIsDrawnPressed) {
  bar->SetPageSize(10);
  bar->SetMax(99);
  bar->SetPosition(0);
  const TRect pageDown = bar->GetPageDownRect();
  Send(WM_MOUSEMOVE, 0, 8, pageDown.bottom - 2);
  Send(WM_LBUTTONDOWN, MK_LBUTTON, 8, pageDown.bottom - 2);
  EXPECT_EQ(bar->Position(), 10);
  EXPECT_EQ(codes.front(), scPageDown);
  // One pixel in from the track's sides, the pressed area shows.
  EXPECT_EQ(Pixel(8, 110), test::ToRGB(GetSysColor(COLOR_BTNSHADOW)));
  EXPECT_EQ(Pixel(0, 110), TSolidStyle::kTrackRGB);
  Send(WM_LBUTTONUP, 0, 8, pageDown.bottom - 2);
  EXPECT_EQ(codes.back(), scEndScroll);
}

TEST_F(ScrollBarTest, AHeldButtonStepsAtOnceThenRepeatsAfterTheDelay) {
  bar->SetPosition(0);
  Send(WM_MOUSEMOVE, 0, 8, 125);
  const DWORD start = GetTickCount();
  Send(WM_LBUTTONDOWN, MK_LBUTTON, 8, 125);
  EXPECT_EQ(bar->Position(), 1);
  while (bar->Position() < 3 && GetTickCount() - start < 5000) {
    test::PumpMessages();
    Sleep(5);
  }
  const DWORD elapsed = GetTickCount() - start;
  int delay = 0;
  SystemParametersInfoW(SPI_GETKEYBOARDDELAY, 0, &delay, 0);
  EXPECT_EQ(bar->Position(), 3);
  EXPECT_GE(elapsed + 20, static_cast<DWORD>(ScrollRepeatInitialDelay(delay)));
  // Off the button the steps stop, though the button is still held.
  Send(WM_MOUSEMOVE, MK_LBUTTON, 8, 60);
  const int held = bar->Position();
  for (int i = 0; i < 30; ++i) {
    test::PumpMessages();
    Sleep(10);
  }
  EXPECT_EQ(bar->Position(), held);
  Send(WM_LBUTTONUP, 0, 8, 60);
}

TEST_F(ScrollBarTest, SettersClampRangePageAndPosition) {
  bar->SetPosition(500);
  EXPECT_EQ(bar->Position(), 100);
  bar->SetMax(40);
  EXPECT_EQ(bar->Position(), 40);
  bar->SetPageSize(100);
  EXPECT_EQ(bar->PageSize(), 41);  // cut to Max − Min + 1
  bar->SetPageSize(-5);
  EXPECT_EQ(bar->PageSize(), 41);
  bar->SetMin(60);
  EXPECT_EQ(bar->Min(), 40);  // lowered to Max
  EXPECT_EQ(bar->Position(), 40);
  bar->SetVersion("9.9");
  EXPECT_EQ(bar->Version(), "3.1.5");
}

TEST_F(ScrollBarTest, WithoutAUsableStyleTheBarPaintsItsPlainLook) {
  bar->SetPosition(50);
  engine->Free();  // the bar hears of it as a component of the same owner
  EXPECT_EQ(bar->ThemeEngine(), nullptr);
  const unsigned face = test::ToRGB(GetSysColor(COLOR_BTNFACE));
  // The classic thumb: a face with two bevels, 17 pixels long from 59.
  HV_EXPECT_PIXEL_ROWS(unsigned, "the classic thumb", Pixel(x, y), {8, 67, face},
                       {0, 60, test::ToRGB(GetSysColor(COLOR_3DLIGHT))},
                       {16, 67, test::ToRGB(GetSysColor(COLOR_3DDKSHADOW))});
  EXPECT_NE(Pixel(8, 30), TSolidStyle::kTrackRGB);
}

}  // namespace
}  // namespace hv
