#pragma once
// What a window's client area shows, as 0xRRGGBB values row by row: painted
// through WM_PRINTCLIENT into a 32-bit DIB section, or copied from what the
// window has on screen.

#include <windows.h>

#include <cstdint>
#include <vector>

namespace hv::test {

// Calls `draw` with a memory DC holding a 32-bit DIB section of the size,
// and gives its pixels.
template <typename Draw>
std::vector<uint32_t> CapturePixels(int width, int height, Draw draw) {
  BITMAPINFO bi{};
  bi.bmiHeader.biSize = sizeof bi.bmiHeader;
  bi.bmiHeader.biWidth = width;
  bi.bmiHeader.biHeight = -height;
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  HDC dc = CreateCompatibleDC(nullptr);
  HBITMAP bitmap = CreateDIBSection(dc, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (!dc || !bitmap || !bits) {
    if (bitmap) DeleteObject(bitmap);
    if (dc) DeleteDC(dc);
    return std::vector<uint32_t>(static_cast<size_t>(width) * static_cast<size_t>(height), 0xFF00FFu);
  }
  HGDIOBJ old = SelectObject(dc, bitmap);
  draw(dc);
  GdiFlush();
  const auto* first = static_cast<const uint32_t*>(bits);
  std::vector<uint32_t> pixels(first, first + static_cast<size_t>(width) * static_cast<size_t>(height));
  for (uint32_t& p : pixels) p &= 0xFFFFFF;
  SelectObject(dc, old);
  DeleteObject(bitmap);
  DeleteDC(dc);
  return pixels;
}

inline std::vector<uint32_t> CaptureClient(HWND hwnd, int width, int height) {
  return CapturePixels(width, height, [hwnd](HDC dc) {
    SendMessageW(hwnd, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
  });
}

// The pixels the window shows now, from its device context.
inline std::vector<uint32_t> CaptureOnScreen(HWND hwnd, int width, int height) {
  return CapturePixels(width, height, [hwnd, width, height](HDC dc) {
    HDC window = GetDC(hwnd);
    BitBlt(dc, 0, 0, width, height, window, 0, 0, SRCCOPY);
    ReleaseDC(hwnd, window);
  });
}

}  // namespace hv::test
