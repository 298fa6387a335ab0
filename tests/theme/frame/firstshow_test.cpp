// The frame's first show on a real window: the activation that comes with
// showing does not paint the frame ahead of the WM_NCPAINT that follows it,
// the frame is painted once and in the state the activation left, and later
// activation changes paint it as always.

#include <gtest/gtest.h>
#include <windows.h>
// After <windows.h>, which it needs.
#include <commctrl.h>

#include <memory>
#include <vector>

#include "framework/forms.h"
#include "tests/support/win_test.h"
#include "theme/core/theme.h"
#include "theme/core/themeengine.h"
#include "theme/frame/themeform.h"

namespace hv {
namespace {

constexpr TColor kActiveFrame = 0x0000C0;
constexpr TColor kInactiveFrame = 0xC00000;
constexpr unsigned kActiveRGB = 0xC00000, kInactiveRGB = 0x0000C0;

// Fills the frame with the colour of its state and counts how often it is
// asked to.
class TCountingFrameStyle : public TTeTheme {
  HV_THEME_CLASS(TCountingFrameStyle, TTeTheme)

 public:
  static bool IsThemeAvailable() { return true; }
  static std::string GetName() { return "CountingFrame"; }
  int GetSize(TTeThemeSize kind) const override {
    if (kind == ktsBorder) return 4;
    if (kind == ktsCaption) return 24;
    return 0;
  }
  TColor GetColor(TTeThemeColor) const override { return 0x00C000; }
  void DrawFormFrame(TCanvas& canvas, int width, int height, const TRect&, bool active, TTeBorderStyle) override {
    canvas.Brush()->SetColor(active ? kActiveFrame : kInactiveFrame);
    canvas.FillRect(Rect(0, 0, width, height));
    ++paints;
  }
  static inline int paints = 0;
};

// The messages the window gets, in order, for what came between.
class TMessageLog {
 public:
  explicit TMessageLog(HWND wnd) : wnd_(wnd) { SetWindowSubclass(wnd_, &Proc, 1, reinterpret_cast<DWORD_PTR>(this)); }
  ~TMessageLog() { RemoveWindowSubclass(wnd_, &Proc, 1); }
  int IndexOf(UINT message) const {
    for (size_t i = 0; i < log_.size(); ++i)
      if (log_[i] == message) return static_cast<int>(i);
    return -1;
  }

 private:
  static LRESULT CALLBACK Proc(HWND wnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR self) {
    reinterpret_cast<TMessageLog*>(self)->log_.push_back(message);
    return DefSubclassProc(wnd, message, wParam, lParam);
  }
  HWND wnd_;
  std::vector<UINT> log_;
};

unsigned WindowPixel(HWND wnd, int x, int y) {
  HDC dc = GetWindowDC(wnd);
  const COLORREF c = GetPixel(dc, x, y);
  ReleaseDC(wnd, dc);
  return ((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF);
}

TEST(FrameFirstShow, TheFrameIsPaintedOnceAndActiveWhenTheWindowShows) {
  static bool registered = false;
  if (!registered) RegisterThemeClass(ThemeClassOf<TCountingFrameStyle>());
  registered = true;
  auto form = std::make_unique<TForm>(nullptr);
  form->SetBounds(100, 100, 320, 240);
  form->SetCaption("First show");
  auto* engine = TComponent::Create<TTeThemeEngine>(form.get());
  engine->SetColorAutoChanging(false);
  engine->SelectThemeClass(ThemeClassOf<TCountingFrameStyle>());
  auto* frame = TComponent::Create<TTeThemeForm>(form.get());
  frame->SetMinimizeApplication(false);
  frame->SetThemeEngine(engine);
  form->HandleNeeded();
  frame->Loaded();
  HWND wnd = form->Handle();
  test::PumpMessages();

  TCountingFrameStyle::paints = 0;
  {
    TMessageLog log(wnd);
    form->Show();
    test::PumpMessages();
    // The order this relies on: activated first, the frame painted after.
    ASSERT_GE(log.IndexOf(WM_NCACTIVATE), 0);
    ASSERT_GT(log.IndexOf(WM_NCPAINT), log.IndexOf(WM_NCACTIVATE));
  }
  const int firstShow = TCountingFrameStyle::paints;
  EXPECT_TRUE(frame->FrameActive());
  EXPECT_EQ(WindowPixel(wnd, 2, 100), kActiveRGB);
  EXPECT_EQ(WindowPixel(wnd, 100, 2), kActiveRGB);

  // What one painting of the frame asks of the style (the caption strip may
  // take a part of its own).
  TCountingFrameStyle::paints = 0;
  SendMessageW(wnd, WM_NCPAINT, 1, 0);
  const int onePaint = TCountingFrameStyle::paints;
  ASSERT_GT(onePaint, 0);
  EXPECT_EQ(firstShow, onePaint) << "the first show paints the frame once";

  // Once shown, every activation change repaints at once.
  TCountingFrameStyle::paints = 0;
  EXPECT_EQ(SendMessageW(wnd, WM_NCACTIVATE, FALSE, 0), 1);
  EXPECT_EQ(TCountingFrameStyle::paints, onePaint);
  EXPECT_EQ(WindowPixel(wnd, 2, 100), kInactiveRGB);
  EXPECT_EQ(SendMessageW(wnd, WM_NCACTIVATE, TRUE, 0), 0);
  EXPECT_EQ(TCountingFrameStyle::paints, 2 * onePaint);
  EXPECT_EQ(WindowPixel(wnd, 2, 100), kActiveRGB);

  // Hidden and shown again: once more a single paint.
  ShowWindow(wnd, SW_HIDE);
  test::PumpMessages();
  TCountingFrameStyle::paints = 0;
  ShowWindow(wnd, SW_SHOW);
  test::PumpMessages();
  EXPECT_EQ(TCountingFrameStyle::paints, onePaint);
  EXPECT_EQ(WindowPixel(wnd, 2, 100), kActiveRGB);

  ShowWindow(wnd, SW_HIDE);
  test::PumpMessages();
  form.reset();
}

}  // namespace
}  // namespace hv
