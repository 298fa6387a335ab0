#pragma once
// A plain form to put controls on, a themed engine beside them, and the
// controls' pixels read back from their windows.

#include <gtest/gtest.h>
#include <windows.h>

#include <memory>

#include "framework/forms.h"
#include "framework/gdi.h"
#include "tests/support/win_test.h"
#include "tests/theme/core/draw_test_support.h"
#include "theme/core/theme.h"
#include "theme/core/themeengine.h"
#include "theme/core/themelibrary.h"
#include "theme/core/visualstyles.h"
#include "theme/styles/luna.h"

namespace hv::test {

// What a window shows of its client area, painted now.
inline std::unique_ptr<TSurface> Snapshot(HWND wnd) {
  RedrawWindow(wnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
  RECT r{};
  GetClientRect(wnd, &r);
  auto shot = std::make_unique<TSurface>(r.right, r.bottom, 0);
  TWindowDC dc(wnd);
  BitBlt(shot->DC(), 0, 0, r.right, r.bottom, dc, 0, 0, SRCCOPY);
  GdiFlush();
  return shot;
}

// How many pixels of the rectangle differ between two surfaces.
inline int DifferentPixels(TSurface& a, TSurface& b, const TRect& r) {
  int count = 0;
  for (int y = r.top; y < r.bottom; ++y)
    for (int x = r.left; x < r.right; ++x) count += a.At(x, y) != b.At(x, y);
  return count;
}

// The classic look for a scope: the visual-style library let go of, so
// that the plain painting takes its classic path; taken again afterwards.
class TClassicLook {
 public:
  TClassicLook() : held_(VisualStyleLibraryRefCount()) {
    for (int i = 0; i < held_; ++i) FreeVisualStyleLibrary();
  }
  ~TClassicLook() {
    for (int i = 0; i < held_; ++i) LoadVisualStyleLibrary();
  }
  TClassicLook(const TClassicLook&) = delete;
  TClassicLook& operator=(const TClassicLook&) = delete;

 private:
  int held_;
};

class ControlTest : public ::testing::Test {
 protected:
  // One shown form for the whole suite: showing a top-level window costs
  // Wine a visible wait, the controls of each test go with the test.
  static void SetUpTestSuite() {
    if (!ThemeLibraryStarted()) StartThemeLibrary({.registerStyles = &RegisterSkinnedStyles});
    sharedForm_ = std::make_unique<TForm>(nullptr);
    sharedForm_->SetBounds(30, 30, 420, 320);
    sharedForm_->Show();
  }
  static void TearDownTestSuite() {
    ShowWindow(sharedForm_->Handle(), SW_HIDE);
    sharedForm_.reset();
  }
  void SetUp() override {
    form = sharedForm_.get();
    form->SetColor(clBtnFace);
  }
  void TearDown() override {
    form->DestroyComponents();
    PumpMessages();
  }
  template <class T>
  T* Make(int left, int top, int width, int height, TWinControl* parent = nullptr) {
    T* control = TComponent::Create<T>(form);
    control->SetParent(parent ? parent : form);
    control->SetBounds(left, top, width, height);
    control->HandleNeeded();
    return control;
  }
  TTeThemeEngine* MakeEngine(const char* style) {
    auto* engine = TComponent::Create<TTeThemeEngine>(form);
    engine->SelectThemeClass(FindThemeClass(style));
    return engine;
  }
  static void Send(TWinControl* control, UINT msg, WPARAM w = 0, int x = 0, int y = 0) {
    SendMessageW(control->Handle(), msg, w, MAKELPARAM(x, y));
  }

  TForm* form = nullptr;

 private:
  static inline std::unique_ptr<TForm> sharedForm_;
};

}  // namespace hv::test
