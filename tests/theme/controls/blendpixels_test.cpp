// The mix of a blended control over its background.

#include "theme/controls/blendpixels.h"

#include <gtest/gtest.h>

namespace hv {
namespace {

TEST(BlendPixels, MixIsTheRoundedWeightedSumAndStaysInsideBothBuffers) {
  EXPECT_EQ(MixChannel(200, 100, 255), 200u);
  EXPECT_EQ(MixChannel(200, 100, 0), 100u);
  EXPECT_EQ(MixChannel(255, 0, 128), 128u);  // 255 * 128 / 255 = 128
  EXPECT_EQ(MixChannel(1, 0, 128), 1u);      // 0.502 rounds up
  EXPECT_EQ(MixChannel(1, 0, 127), 0u);      // 0.498 rounds down
  // 255 * 150 / 255 = 150, 128 * 150 / 255 = 75.3, 255 * 105 / 255 = 105; opaque.
  EXPECT_EQ(MixPixel(0x00FF8000, 0xFF0000FF, 150), 0xFF964B69u);
  uint32_t target[3 * 2] = {0x00FFFFFF, 0x00FFFFFF, 0x00FFFFFF, 0x00FFFFFF, 0x00FFFFFF, 0x00FFFFFF};
  uint32_t background[2 * 1] = {0, 0};
  MixOverBackground({target, 3, 2, 3}, TConstPixelBuffer(background, 2, 1, 2), Rect(-5, -5, 50, 50), 0);
  EXPECT_EQ(target[0], 0xFF000000u);
  EXPECT_EQ(target[1], 0xFF000000u);
  EXPECT_EQ(target[2], 0x00FFFFFFu);  // beyond the background
  EXPECT_EQ(target[3], 0x00FFFFFFu);
}

}  // namespace
}  // namespace hv
