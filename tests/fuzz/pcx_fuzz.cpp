// Decodes arbitrary bytes as a skin image. Refusals are fine; crashes, reads
// outside the input and wrong-sized results are not. What decodes must also
// survive a write and a second read unchanged.
#include <cstddef>
#include <cstdint>
#include <span>

#include "framework/sysutils.h"
#include "theme/styles/pcx.h"

namespace {
// A few kilobytes of input may claim sixteen million pixels, all but the first
// few filled with the first colour. Allocating and filling them on every run
// would slow a campaign a hundredfold without reaching any other code; the
// limit itself is a unit test's business.
constexpr int64_t kLargestFuzzedImage = int64_t{1} << 12;
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::optional<hv::PcxImage> image;
  try {
    const std::span<const uint8_t> bytes(data, size);
    if (const std::optional<hv::PcxLayout> layout = hv::ReadPcxLayout(bytes);
        layout && int64_t{layout->width} * layout->height > kLargestFuzzedImage)
      return 0;
    image = hv::DecodePcx(bytes);
  } catch (const hv::EReadError&) {
    return 0;
  } catch (const hv::EInvalidGraphic&) {
    return 0;
  }
  if (!image) return 0;
  if (image->width <= 0 || image->height <= 0) __builtin_trap();
  if (image->pixels.size() != static_cast<size_t>(image->width) * static_cast<size_t>(image->height)) __builtin_trap();
  if (image->dataBytesRead > size - hv::kPcxHeaderSize) __builtin_trap();
  for (uint32_t pixel : image->pixels)
    if ((pixel >> 24) != 0xFF) __builtin_trap();

  // The writer keeps the padded line length within a word, so the widest
  // images a reader accepts have no way back.
  if (image->pixels.size() <= 65536 && image->width <= 0xFFFE) {
    const hv::PcxIndexedImage indexed = hv::IndexPcxColors(image->width, image->height, image->pixels);
    const std::optional<hv::PcxImage> again = hv::DecodePcx(hv::EncodePcx(indexed));
    if (!again || again->width != image->width || again->height != image->height || again->pixels != image->pixels)
      __builtin_trap();
  }
  return 0;
}
