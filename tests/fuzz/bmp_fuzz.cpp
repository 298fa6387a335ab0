// Decodes arbitrary bytes as a bitmap file and as a packed DIB. Refusals are
// fine; crashes, reads outside the input and inconsistent results are not.
// What decodes must survive an encode and a second decode unchanged.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

#include "framework/bmpcodec.h"
#include "framework/sysutils.h"

namespace {
// A header of a few bytes may claim sixty-four million pixels that the decoder
// must allocate before it finds the data missing. Doing that on every run
// would slow a campaign a hundredfold without reaching any other code; the
// limits themselves are unit tests' business.
constexpr int64_t kLargestFuzzedImage = int64_t{1} << 18;

// The pixel count an info header at `at` claims; 0 for other headers.
int64_t ClaimedPixels(std::span<const uint8_t> bytes, size_t at) {
  if (bytes.size() < at + 12) return 0;
  auto i32 = [&](size_t p) {
    return static_cast<int32_t>(uint32_t{bytes[p]} | uint32_t{bytes[p + 1]} << 8 | uint32_t{bytes[p + 2]} << 16 |
                                uint32_t{bytes[p + 3]} << 24);
  };
  if (i32(at) < 40) return 0;
  const int64_t width = i32(at + 4), height = i32(at + 8);
  return width * (height < 0 ? -height : height);
}

void Check(const hv::TDibImage& image) {
  if (image.width <= 0 || image.height <= 0) __builtin_trap();
  if (image.pixels.size() != static_cast<size_t>(image.Stride()) * static_cast<size_t>(image.height)) __builtin_trap();
  if (image.bitCount <= 8 && image.palette.size() != (size_t{1} << image.bitCount)) __builtin_trap();
  const hv::TDibImage again = hv::DecodeBmpFile(hv::EncodeBmpFile(image));
  if (again.width != image.width || again.height != image.height || again.bitCount != image.bitCount ||
      again.pixels != image.pixels || again.palette != image.palette)
    __builtin_trap();
}

template <class F>
void Try(F decode) {
  std::optional<hv::TDibImage> image;
  try {
    image = decode();
  } catch (const hv::EInvalidGraphic&) {
    return;
  }
  Check(*image);
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::span<const uint8_t> bytes(data, size);
  constexpr size_t kFileHeaderSize = 14;
  if (ClaimedPixels(bytes, kFileHeaderSize) <= kLargestFuzzedImage) Try([&] { return hv::DecodeBmpFile(bytes); });
  if (ClaimedPixels(bytes, 0) <= kLargestFuzzedImage) Try([&] { return hv::DecodePackedDib(bytes); });
  return 0;
}
