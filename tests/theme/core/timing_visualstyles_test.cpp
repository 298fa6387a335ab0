#include <gtest/gtest.h>
#include <windows.h>

#include "theme/core/timing.h"
#include "theme/core/visualstyles.h"

namespace hv {
namespace {

struct TWindow {
  TWindow() : handle(CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr)) {}
  ~TWindow() { DestroyWindow(handle); }
  HWND handle;
};

TEST(CaptureMouse, TheFirstTakesItAndTheLastGivesItBack) {
  TWindow a, b;
  ASSERT_NE(a.handle, nullptr);
  ASSERT_EQ(MouseCaptureCount(), 0);
  CaptureMouse(a.handle);
  EXPECT_EQ(GetCapture(), a.handle);
  CaptureMouse(b.handle);  // nested: the capture stays where it is
  EXPECT_EQ(GetCapture(), a.handle);
  EXPECT_EQ(MouseCaptureCount(), 2);
  ReleaseMouse();
  EXPECT_EQ(GetCapture(), a.handle);
  ReleaseMouse();
  EXPECT_EQ(GetCapture(), nullptr);
  EXPECT_EQ(MouseCaptureCount(), 0);

  // A stray release neither goes negative nor spoils the next capture.
  ReleaseMouse();
  EXPECT_EQ(MouseCaptureCount(), 0);
  CaptureMouse(b.handle);
  EXPECT_EQ(GetCapture(), b.handle);
  ReleaseMouse();
  EXPECT_EQ(GetCapture(), nullptr);

  // A capture someone else took meanwhile is left alone.
  CaptureMouse(a.handle);
  SetCapture(b.handle);
  ReleaseMouse();
  EXPECT_EQ(GetCapture(), b.handle);
  ReleaseCapture();
  EXPECT_EQ(MouseCaptureCount(), 0);
}

TEST(Keyboard, DelayAndRepeatFromTheSettings) {
  EXPECT_EQ(KeyboardDelayMsFor(0), 200);
  EXPECT_EQ(KeyboardDelayMsFor(1), 400);
  EXPECT_EQ(KeyboardDelayMsFor(3), 800);
  EXPECT_EQ(KeyboardDelayMsFor(7), 800);
  EXPECT_EQ(KeyboardRepeatMsFor(0), 435);  // 1000 / 2.3
  EXPECT_EQ(KeyboardRepeatMsFor(31), 14);  // 1000 / 73.6
  EXPECT_EQ(KeyboardRepeatMsFor(9), 43);   // 1000 / 23 = 43.48
  const int delay = KeyboardDelayMs();
  EXPECT_TRUE(delay == 200 || delay == 400 || delay == 600 || delay == 800) << delay;
  const int repeat = KeyboardRepeatMs();
  EXPECT_GE(repeat, 14);
  EXPECT_LE(repeat, 435);
}

TEST(TTeTimer, MeasuresForwardOverThePerformanceCounter) {
  std::unique_ptr<TTeTimer> timer;
  EXPECT_EQ(StopTimer(timer), 0.0f);
  EXPECT_EQ(timer, nullptr);

  StartTimer(timer);
  ASSERT_NE(timer, nullptr);
  EXPECT_GT(timer->Frequency(), 0);
  EXPECT_GE(timer->Overhead(), 0);
  TTeTimer* same = timer.get();
  Sleep(30);
  const float first = StopTimer(timer);
  EXPECT_GE(first, 0.025f);
  EXPECT_LT(first, 5.0f);
  Sleep(5);
  const float second = StopTimer(timer);  // still from the same start
  EXPECT_GT(second, first);
  StartTimer(timer);
  EXPECT_EQ(timer.get(), same);
  const float restarted = StopTimer(timer);
  EXPECT_GE(restarted, 0.0f);
  EXPECT_LT(restarted, first);

  TTeTimer plain;
  plain.Start();
  plain.Stop();
  EXPECT_GE(plain.ElapsedSeconds(), 0.0);
  EXPECT_GE(plain.StopCount(), plain.StartCount());
}

// Whoever started the program may hold the library already; the tests
// give back every count they take and unload only what they loaded.
void DropAll(int& held) {
  held = VisualStyleLibraryRefCount();
  for (int i = 0; i < held; ++i) FreeVisualStyleLibrary();
}
void Restore(int held) {
  for (int i = 0; i < held; ++i) LoadVisualStyleLibrary();
}

TEST(VisualStyles, ReferenceCountedLoading) {
  int held = 0;
  DropAll(held);
  ASSERT_EQ(VisualStyleLibraryRefCount(), 0);
  EXPECT_FALSE(VisualStyleLibraryLoaded());
  EXPECT_FALSE(VisualStylesActive());
  EXPECT_EQ(VisualStyleApi().OpenThemeData, nullptr);

  ASSERT_TRUE(LoadVisualStyleLibrary());
  EXPECT_NE(VisualStyleApi().OpenThemeData, nullptr);
  EXPECT_NE(VisualStyleApi().IsThemeActive, nullptr);
  EXPECT_NE(VisualStyleApi().IsAppThemed, nullptr);
  EXPECT_TRUE(LoadVisualStyleLibrary());
  EXPECT_EQ(VisualStyleLibraryRefCount(), 2);
  const bool themed = VisualStyleApi().IsAppThemed() && VisualStyleApi().IsThemeActive();
  EXPECT_EQ(VisualStylesActive(), themed);

  FreeVisualStyleLibrary();  // loaded twice, freed once: still there
  EXPECT_TRUE(VisualStyleLibraryLoaded());
  EXPECT_NE(VisualStyleApi().DrawThemeBackground, nullptr);
  FreeVisualStyleLibrary();
  EXPECT_FALSE(VisualStyleLibraryLoaded());
  EXPECT_EQ(VisualStyleApi().DrawThemeBackground, nullptr);
  EXPECT_FALSE(VisualStylesActive());
  FreeVisualStyleLibrary();  // no count below zero
  EXPECT_EQ(VisualStyleLibraryRefCount(), 0);
  Restore(held);
}

TEST(VisualStyles, WithoutTheLibraryTheTestAnswersFalse) {
  int held = 0;
  DropAll(held);
  SetVisualStyleLibraryFile(L"hv_no_such_visual_styles.dll");
  EXPECT_FALSE(LoadVisualStyleLibrary());
  EXPECT_EQ(VisualStyleLibraryRefCount(), 1);
  EXPECT_FALSE(VisualStylesActive());
  EXPECT_EQ(VisualStyleApi().IsAppThemed, nullptr);
  FreeVisualStyleLibrary();
  EXPECT_EQ(VisualStyleLibraryRefCount(), 0);
  SetVisualStyleLibraryFile(L"uxtheme.dll");
  EXPECT_TRUE(LoadVisualStyleLibrary());
  FreeVisualStyleLibrary();
  Restore(held);
}

}  // namespace
}  // namespace hv
