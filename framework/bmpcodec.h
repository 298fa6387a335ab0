#pragma once
// Windows bitmap files (.bmp) and the packed device-independent bitmaps that
// bitmap resources hold, decoded into plain memory and encoded back.
// Portable: the bitmap classes copy these pixels into a DIB section.

#include <cstdint>
#include <span>
#include <vector>

namespace hv {

struct TDibImage {
  int width = 0;
  int height = 0;
  int bitCount = 0;  // 1, 4, 8, 24 or 32
  // Colour table entries as the platform keeps them (0x00RRGGBB): 1 << bitCount
  // entries for 1, 4 and 8 bits, none otherwise.
  std::vector<uint32_t> palette;
  // Top row first; each row padded to a multiple of four bytes.
  std::vector<uint8_t> pixels;

  int Stride() const;
};

// Bytes of one row of a device-independent bitmap.
int DibStride(int width, int bitCount);

// Largest accepted images: both sides and the pixel count are bounded, so
// that a forged header cannot make us allocate without end.
constexpr int kMaxDibSide = 32768;
constexpr int64_t kMaxDibPixels = int64_t{1} << 26;

// Both raise EInvalidGraphic "Bitmap image is not valid" (with the reason) for
// anything they cannot read. Accepted: core, info and V4/V5 headers; 1, 4, 8,
// 16, 24 and 32 bits; uncompressed, bit fields, RLE8 and RLE4; bottom-up and
// top-down rows. 16-bit images come out as 24-bit ones.
TDibImage DecodeBmpFile(std::span<const uint8_t> file);
TDibImage DecodePackedDib(std::span<const uint8_t> dib);

// A complete .bmp file: info header, colour table, bottom-up rows, no compression.
std::vector<uint8_t> EncodeBmpFile(const TDibImage& image);

}  // namespace hv
