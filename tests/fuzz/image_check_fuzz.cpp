// The check a page's image file passes before any decoder sees it: whatever
// the bytes, it answers without reading past them, and the same bytes give
// the same answer.

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "pageview/imagecheck.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const hv::html::PageImageFormat format = hv::html::CheckPageImage(bytes);
  if (hv::html::CheckPageImage(bytes) != format) __builtin_trap();
  return 0;
}
