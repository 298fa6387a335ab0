#pragma once
// A 32-bit top-down DIB section selected into its own memory context: the
// surface the graphics tests draw on and read back pixel by pixel.

#include <gtest/gtest.h>
#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <string>

#include "framework/colors.h"
#include "framework/types.h"

namespace hv::test {

class TSurface {
 public:
  TSurface(int width, int height, TColor fill = clWhite) : width_(width), height_(height) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    dib_ = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    bits_ = static_cast<uint32_t*>(bits);
    dc_ = CreateCompatibleDC(nullptr);
    old_ = SelectObject(dc_, dib_);
    Fill(fill);
  }
  ~TSurface() {
    SelectObject(dc_, old_);
    DeleteDC(dc_);
    DeleteObject(dib_);
  }
  TSurface(const TSurface&) = delete;
  TSurface& operator=(const TSurface&) = delete;

  HDC dc() const { return dc_; }
  int width() const { return width_; }
  int height() const { return height_; }

  void Fill(TColor color) {
    for (int i = 0; i < width_ * height_; ++i) bits_[i] = ToPixel(color);
  }
  // The pixel as a framework colour (alpha dropped).
  TColor At(int x, int y) const {
    GdiFlush();
    uint32_t p = bits_[y * width_ + x];
    return static_cast<TColor>(((p & 0xFF) << 16) | (p & 0xFF00) | ((p >> 16) & 0xFF));
  }
  void Set(int x, int y, TColor color) { bits_[y * width_ + x] = ToPixel(color); }

  // Every pixel inside `inside` has colour `in`, every other one `out`.
  ::testing::AssertionResult Matches(const TRect& inside, TColor in, TColor out) const {
    for (int y = 0; y < height_; ++y)
      for (int x = 0; x < width_; ++x) {
        TColor expected = inside.Contains({x, y}) ? in : out;
        if (At(x, y) != expected) {
          char text[96];
          std::snprintf(text, sizeof text, "pixel (%d, %d) is 0x%06X, expected 0x%06X", x, y,
                        static_cast<unsigned>(At(x, y)), static_cast<unsigned>(expected));
          return ::testing::AssertionFailure() << text;
        }
      }
    return ::testing::AssertionSuccess();
  }

 private:
  static uint32_t ToPixel(TColor c) {
    uint32_t v = static_cast<uint32_t>(c);
    return ((v & 0xFF) << 16) | (v & 0xFF00) | ((v >> 16) & 0xFF);
  }

  int width_, height_;
  HBITMAP dib_ = nullptr;
  uint32_t* bits_ = nullptr;
  HDC dc_ = nullptr;
  HGDIOBJ old_ = nullptr;
};

}  // namespace hv::test
