#pragma once
// A list of expected pixels checked in one call. Each failure names the
// point, the colours found and expected (0xRRGGBB) and what the pixel is,
// and the trace names the line that listed it.

#include <gtest/gtest.h>

#include <initializer_list>
#include <source_location>

namespace hv::test {

struct TPixelAt {
  int x, y;
  unsigned rgb;
  const char* what = "";
};
constexpr TPixelAt PixelAt(int x, int y, unsigned rgb, const char* what = "") { return {x, y, rgb, what}; }

// `read(x, y)` gives the colour at a point, in the list's terms.
template <class Read>
void ExpectPixels(Read&& read, std::initializer_list<TPixelAt> pixels,
                  std::source_location where = std::source_location::current()) {
  testing::ScopedTrace trace(where.file_name(), static_cast<int>(where.line()), "the pixels listed here");
  for (const TPixelAt& p : pixels) {
    const unsigned found = read(p.x, p.y);
    EXPECT_EQ(found, p.rgb) << std::hex << "0x" << found << " instead of 0x" << p.rgb << std::dec << " at " << p.x
                            << "," << p.y << " " << p.what;
  }
}

}  // namespace hv::test
