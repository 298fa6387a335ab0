#pragma once
// What the control tests share: a shown form of known colour to put
// controls on, and reading back what a window shows.

#include <windows.h>

#include <chrono>
#include <memory>
#include <vector>

#include "framework/forms.h"
#include "tests/support/win_test.h"

namespace hv::test {

inline unsigned ToRGB(COLORREF c) { return ((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF); }

// 0x00BBGGRR of a 0xRRGGBB value, for colours set on controls.
constexpr TColor FromRGB(unsigned rgb) {
  return static_cast<TColor>(((rgb & 0xFF) << 16) | (rgb & 0xFF00) | ((rgb >> 16) & 0xFF));
}

// The pixels of a rectangle of a window's client area as it shows them
// after painting everything pending, rows top first, 0xRRGGBB.
struct TClientPixels {
  int width = 0;
  int height = 0;
  std::vector<unsigned> pixels;
  unsigned At(int x, int y) const { return pixels[static_cast<size_t>(y * width + x)]; }
  bool operator==(const TClientPixels&) const = default;
};

inline TClientPixels ReadClientPixels(HWND wnd, const TRect& r) {
  RedrawWindow(wnd, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
  TClientPixels result;
  result.width = r.Width();
  result.height = r.Height();
  HDC dc = GetDC(wnd);
  for (int y = r.top; y < r.bottom; ++y)
    for (int x = r.left; x < r.right; ++x) result.pixels.push_back(ToRGB(GetPixel(dc, x, y)));
  ReleaseDC(wnd, dc);
  return result;
}

// Pumps messages for a while, timers included.
inline void PumpFor(std::chrono::milliseconds time) {
  const auto end = std::chrono::steady_clock::now() + time;
  while (std::chrono::steady_clock::now() < end) {
    PumpMessages();
    Sleep(5);
  }
}

// Invalidates the whole window, children included, and paints it now.
inline void RepaintAll(HWND wnd) {
  RedrawWindow(wnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
}

// A shown, active form of 320 x 200 client pixels in a known colour.
class TTestForm {
 public:
  static constexpr unsigned kFormRGB = 0x204060;

  TTestForm() : form(std::make_unique<TForm>(nullptr)) {
    // The real pointer stays off the form, so that only the tests' own
    // mouse messages make a control hot.
    SetCursorPos(0, 0);
    form->SetBounds(60, 60, 340, 240);
    form->SetClientSize(320, 200);
    form->SetColor(FromRGB(kFormRGB));
    form->Show();
    PumpMessages();
  }
  ~TTestForm() {
    if (form->HandleAllocated()) ShowWindow(form->HandleIfAllocated(), SW_HIDE);
    PumpMessages();
  }
  HWND Handle() const { return form->Handle(); }
  unsigned Pixel(int x, int y) const {
    RepaintAll(form->Handle());
    return ClientPixel(form->Handle(), x, y);
  }

  std::unique_ptr<TForm> form;
};

}  // namespace hv::test
