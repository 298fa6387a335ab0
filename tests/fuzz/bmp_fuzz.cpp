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
  Try([&] { return hv::DecodeBmpFile(bytes); });
  Try([&] { return hv::DecodePackedDib(bytes); });
  return 0;
}
