#include "theme/core/pixels.h"

#include <gtest/gtest.h>

#include <climits>
#include <set>

#include "tests/theme/core/pixel_test_util.h"
#include "theme/core/pixel_kernels.h"

namespace hv {
namespace {

using test::TGuardedBuffer;
using test::TPixelGen;

// Per channel, independently of the packed two-channel arithmetic.
uint32_t BlendByChannel(uint32_t a, uint32_t b) {
  const uint32_t alpha = a >> 24;
  if (alpha == 255) return a;
  if (alpha == 0) return b;
  uint32_t result = 0;
  for (int shift = 0; shift < 32; shift += 8) {
    const uint32_t ca = (a >> shift) & 0xFF, cb = (b >> shift) & 0xFF;
    result |= (((alpha * ca + 128) >> 8) + (((255 - alpha) * cb + 128) >> 8)) << shift;
  }
  return result;
}

TEST(PixelsTest, BlendPixelExactness) {
  EXPECT_EQ(BlendPixel(0x80FFFFFFu, 0xFF000000u), 0xBF808080u);
  EXPECT_EQ(BlendPixel(0x00123456u, 0x89ABCDEFu), 0x89ABCDEFu) << "alpha 0 keeps the bottom";
  EXPECT_EQ(BlendPixel(0xFF123456u, 0x89ABCDEFu), 0xFF123456u) << "alpha 255 takes the top";
  EXPECT_EQ(BlendPixel(0x01FFFFFFu, 0xFF000000u), 0xFD010101u);
  EXPECT_EQ(BlendPixel(0xFE000000u, 0xFFFFFFFFu), 0xFD010101u);
  EXPECT_EQ(BlendPixel(0xFEFFFFFFu, 0x00000000u), 0xFCFDFDFDu);
  EXPECT_EQ(BlendPixel(0x80000000u, 0xFFFFFFFFu), 0xBF7F7F7Fu);
  TPixelGen gen(1);
  for (uint32_t alpha : {0u, 1u, 2u, 127u, 128u, 129u, 254u, 255u})
    for (int i = 0; i < 2000; ++i) {
      const uint32_t a = (gen() & 0x00FFFFFFu) | (alpha << 24);
      const uint32_t b = gen();
      ASSERT_EQ(BlendPixel(a, b), BlendByChannel(a, b)) << std::hex << a << " over " << b;
    }
}

// The wide kernels this build has, whether or not this processor runs them
// (a test that could only skip proves nothing, so it says which it ran).
std::vector<std::pair<const char*, const pixel_kernels::TRowKernels*>> WideKernels() {
  std::vector<std::pair<const char*, const pixel_kernels::TRowKernels*>> kernels;
  if (pixel_kernels::kSse2Kernels && Sse2Available()) kernels.emplace_back("SSE2", pixel_kernels::kSse2Kernels);
  if (pixel_kernels::kAvx2Kernels && Avx2Available()) kernels.emplace_back("AVX2", pixel_kernels::kAvx2Kernels);
  return kernels;
}

TEST(PixelsTest, WideKernelsMatchScalarBitForBit) {
  const auto wide = WideKernels();
  if (wide.empty()) GTEST_SKIP() << "no wide kernels on this processor";
  const auto& scalar = pixel_kernels::kScalarKernels;
  // A hue cache as HueShiftPixels fills it: most colours in their first
  // slot, some pushed further along by the colours before them.
  std::vector<uint32_t> slots(2 * pixel_kernels::kHueSlots, 0);
  std::vector<uint32_t> cached;
  TPixelGen gen(2);
  auto cache = [&](uint32_t rgb) {
    uint32_t slot = pixel_kernels::HueSlot(rgb);
    while (slots[2 * slot] != 0) slot = (slot + 1) & (pixel_kernels::kHueSlots - 1);
    slots[2 * slot] = pixel_kernels::HueTag(rgb);
    slots[2 * slot + 1] = (rgb * 7) & 0x00FFFFFFu;
    cached.push_back(rgb);
  };
  for (int i = 0; i < 40; ++i) {
    const uint32_t rgb = gen() & 0x00FFFFFFu;
    // Every fifth colour finds its first slot taken by another.
    const uint32_t first = pixel_kernels::HueSlot(rgb);
    if (i % 5 == 0 && slots[2 * first] == 0) {
      slots[2 * first] = pixel_kernels::HueTag(rgb ^ 0x800000u);
      slots[2 * first + 1] = 0x123456u;
    }
    cache(rgb);
  }
  std::vector<uint32_t> table(256);
  for (auto& c : table) c = gen();
  for (const auto& entry : wide) {
    SCOPED_TRACE(entry.first);
    const pixel_kernels::TRowKernels* kernels = entry.second;
    for (int round = 0; round < 40; ++round)
      for (int count = 0; count < 70; ++count) {
        // Odd offsets so that nothing is aligned by luck.
        std::vector<uint32_t> src(static_cast<size_t>(count) + 3), dst(static_cast<size_t>(count) + 3);
        for (auto& p : src) p = gen();
        for (auto& p : dst) p = gen();
        // Runs of one kind, as skins have, so that the block shortcuts run too.
        if (round % 4 == 1)
          for (size_t i = 0; i < src.size(); ++i) src[i] = (i / 16) % 2 ? 0xFF336699u : 0x00112233u;
        if (round % 4 == 2)
          for (auto& p : dst) p |= 0xFF000000u;
        std::vector<uint8_t> indices(static_cast<size_t>(count) + 3);
        for (auto& i : indices) i = static_cast<uint8_t>(gen());
        const uint32_t value = (gen() & 0x00FFFFFFu) | ((1 + gen() % 254) << 24);
        auto check = [&](auto call, const char* what) {
          auto a = dst, b = dst;
          call(scalar, a.data() + 1, src.data() + 2);
          call(*kernels, b.data() + 1, src.data() + 2);
          ASSERT_EQ(a, b) << what << " count " << count << " round " << round;
        };
        using K = pixel_kernels::TRowKernels;
        check([&](const K& k, uint32_t* d, const uint32_t* s) { k.blend(d, s, count); }, "blend");
        check([&](const K& k, uint32_t* d, const uint32_t* s) { k.underlay(d, s, count); }, "underlay");
        check([&](const K& k, uint32_t* d, const uint32_t* s) { k.keyed(d, s, count, 0x7F007F); }, "keyed");
        check([&](const K& k, uint32_t* d, const uint32_t*) { k.blendFill(d, value, count); }, "blend fill");
        check([&](const K& k, uint32_t* d, const uint32_t*) { k.fill(d, value, count); }, "fill");
        const int delta = static_cast<int>(gen() % 601) - 300;
        check([&](const K& k, uint32_t* d, const uint32_t*) { k.brightness(d, count, delta); }, "brightness");
        const auto alpha = static_cast<uint8_t>(gen());
        check([&](const K& k, uint32_t* d, const uint32_t*) { k.setAlpha(d, count, alpha); }, "set alpha");
        check([&](const K& k, uint32_t* d, const uint32_t*) { k.expand(d, indices.data() + 1, count, table.data()); },
              "expand");
        // Rows of cached colours with a stranger now and then: both stop at
        // the same pixel and leave the same row behind.
        std::vector<uint32_t> row(static_cast<size_t>(count));
        for (auto& p : row) {
          const uint32_t pick = gen() % 40;
          p = pick == 0 ? gen() : pick == 1 ? kTransparentMarker : (cached[pick % cached.size()] | (gen() << 24));
        }
        auto a = row, b = row;
        const int stopA = scalar.hueLookup(a.data(), count, slots.data());
        const int stopB = kernels->hueLookup(b.data(), count, slots.data());
        ASSERT_EQ(stopA, stopB) << "hue lookup count " << count;
        ASSERT_EQ(a, b) << "hue lookup count " << count;
      }
  }
  // The scalar kernels are BlendPixel itself.
  std::vector<uint32_t> src(64), dst(64);
  for (auto& p : src) p = gen();
  for (auto& p : dst) p = gen();
  auto blended = dst;
  scalar.blend(blended.data(), src.data(), 64);
  for (size_t i = 0; i < 64; ++i) EXPECT_EQ(blended[i], BlendPixel(src[i], dst[i]));
}

TEST(PixelsTest, AutomaticPathIsTheWidestThisProcessorRuns) {
  const TPixelPath widest = WidestPixelPath();
  const TPixelPath expected = Avx2Available() ? kppAvx2 : Sse2Available() ? kppSse2 : kppScalar;
  EXPECT_EQ(widest, expected);
  // The automatic choice is the widest form of every operation but the two
  // table lookups, which run as on the SSE2 path.
  const auto& automatic = pixel_kernels::Kernels(kppAuto);
  const auto& wide = pixel_kernels::Kernels(widest);
  const auto& narrow = pixel_kernels::Kernels(kppSse2);
  EXPECT_EQ(automatic.blend, wide.blend);
  EXPECT_EQ(automatic.underlay, wide.underlay);
  EXPECT_EQ(automatic.keyed, wide.keyed);
  EXPECT_EQ(automatic.blendFill, wide.blendFill);
  EXPECT_EQ(automatic.fill, wide.fill);
  EXPECT_EQ(automatic.brightness, wide.brightness);
  EXPECT_EQ(automatic.setAlpha, wide.setAlpha);
  EXPECT_EQ(automatic.expand, narrow.expand);
  EXPECT_EQ(automatic.hueLookup, narrow.hueLookup);
  EXPECT_EQ(&pixel_kernels::Kernels(kppAuto), &pixel_kernels::Kernels(kppAuto)) << "chosen once";
  EXPECT_EQ(&pixel_kernels::Kernels(kppScalar), &pixel_kernels::kScalarKernels);
  // A path the processor cannot run falls back to a narrower one, never to
  // code it cannot execute.
  if (!Avx2Available()) {
    EXPECT_NE(&pixel_kernels::Kernels(kppAvx2), pixel_kernels::kAvx2Kernels);
  }
  if (!Sse2Available()) {
    EXPECT_EQ(&pixel_kernels::Kernels(kppSse2), &pixel_kernels::kScalarKernels);
  }
  const TRowWriters writers = RowWriters(kppScalar);
  EXPECT_EQ(writers.fill, pixel_kernels::kScalarKernels.fill);
  EXPECT_EQ(writers.expand, pixel_kernels::kScalarKernels.expand);
}

TEST(PixelsTest, FillAndFillRectClipToTheBuffer) {
  TGuardedBuffer buf(6, 4);
  FillPixels(buf.View(), 0xFF112233u);
  EXPECT_EQ(buf.Pixels(), std::vector<uint32_t>(24, 0xFF112233u));
  FillRectPixels(buf.View(), {-3, 2, 2, 99}, 0xFF000001u, false);
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 6; ++x) EXPECT_EQ(buf.At(x, y), x < 2 && y >= 2 ? 0xFF000001u : 0xFF112233u) << x << y;
  // Half-transparent white blended over the fill, in a rect partly outside.
  FillRectPixels(buf.View(), {4, -1, 10, 1}, 0x80FFFFFFu, true);
  EXPECT_BUFFER(buf, {4, 0, BlendPixel(0x80FFFFFFu, 0xFF112233u)}, {5, 0, BlendPixel(0x80FFFFFFu, 0xFF112233u)},
                {3, 0, 0xFF112233u}, {4, 1, 0xFF112233u});
  FillRectPixels(buf.View(), buf.View().Bounds(), 0x00FFFFFFu, true);
  EXPECT_EQ(buf.At(0, 0), 0xFF112233u) << "blending alpha 0 changes nothing";
  for (const TRect& r :
       {TRect{6, 0, 9, 4}, TRect{0, -5, 6, 0}, TRect{INT_MIN, INT_MIN, INT_MAX, INT_MIN + 1}, TRect{3, 3, 2, 4}})
    FillRectPixels(buf.View(), r, 0xFFFFFFFFu, false);
  EXPECT_EQ(buf.At(0, 0), 0xFF112233u);
  FillRectPixels(buf.View(), {INT_MIN, INT_MIN, INT_MAX, INT_MAX}, 0xFF445566u, false);
  EXPECT_EQ(buf.Pixels(), std::vector<uint32_t>(24, 0xFF445566u));
  EXPECT_TRUE(buf.GuardsIntact());
  FillPixels({nullptr, 5, 5, 5}, 0);
  FillPixels({buf.View().bits, 5, 5, 4}, 0) /* a stride shorter than a row is refused */;
  EXPECT_EQ(buf.At(0, 0), 0xFF445566u);
}

TEST(PixelsTest, SetAlphaAndSetAlphaRect) {
  TGuardedBuffer buf(5, 3);
  FillPixels(buf.View(), 0x80123456u);
  SetAlphaRectPixels(buf.View(), 0xFF, {-2, -2, 2, 1});
  SetAlphaRectPixels(buf.View(), 0x00, {4, 2, 50, 50});
  SetAlphaRectPixels(buf.View(), 0x11, {3, 0, 1, 3});
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 5; ++x) {
      const uint32_t alpha = x < 2 && y < 1 ? 0xFF : x == 4 && y == 2 ? 0x00 : 0x80;
      EXPECT_EQ(buf.At(x, y), (alpha << 24) | 0x123456u) << x << "," << y;
    }
  SetAlphaPixels(buf.View(), 0x42);
  EXPECT_EQ(buf.Pixels(), std::vector<uint32_t>(15, 0x42123456u));
  EXPECT_TRUE(buf.GuardsIntact());
}

TEST(PixelsTest, MakeTransparentWithinTolerance) {
  const uint32_t key = 0xFFFF00FFu;
  const std::vector<std::pair<uint32_t, bool>> cases = {
      {0xFFFA05FBu, true},  {0xFFF900FFu, false}, {0x00FF00FFu, true}, {0x12FF05FAu, true},
      {0xFFFF06FFu, false}, {0xFFFF00F9u, false}, {0xFFFF00FAu, true}, {0xFF000000u, false},
  };
  TGuardedBuffer buf(static_cast<int>(cases.size()), 1);
  for (size_t i = 0; i < cases.size(); ++i) buf.At(static_cast<int>(i), 0) = cases[i].first;
  MakeTransparentPixels(buf.View(), key);
  for (size_t i = 0; i < cases.size(); ++i)
    EXPECT_EQ(buf.At(static_cast<int>(i), 0), cases[i].second ? kTransparentMarker : cases[i].first)
        << std::hex << cases[i].first;
  // A key near the ends of the channel range.
  buf.At(0, 0) = 0xFF050000u;
  buf.At(1, 0) = 0xFF060000u;
  MakeTransparentPixels(buf.View(), 0xFF000000u);
  EXPECT_BUFFER(buf, {0, 0, kTransparentMarker}, {1, 0, 0xFF060000u});
  EXPECT_TRUE(buf.GuardsIntact());
}

TEST(PixelsTest, GetPixelOutsideIsOpaqueBlack) {
  TGuardedBuffer buf(3, 2);
  buf.At(2, 1) = 0x12345678u;
  EXPECT_EQ(GetPixelAt(buf.ConstView(), 2, 1), 0x12345678u);
  EXPECT_EQ(GetPixelAt(buf.ConstView(), 0, 0), 0u);
  for (auto [x, y] : {std::pair{-1, 0}, {3, 0}, {0, 2}, {0, -1}, {INT_MIN, INT_MAX}})
    EXPECT_EQ(GetPixelAt(buf.ConstView(), x, y), 0xFF000000u);
  EXPECT_EQ(GetPixelAt({}, 0, 0), 0xFF000000u);
}

TEST(PixelsTest, HueShiftConvertsEachColourAndKeepsAlpha) {
  // A palette-born image: 256 colours, some translucent, some keyed out.
  TPixelGen gen(3);
  std::vector<uint32_t> palette(256);
  for (auto& c : palette) c = gen() | 0xFF000000u;
  palette[7] = kTransparentMarker;
  palette[8] = 0x00FF0000u;
  palette[9] = 0x80FF0000u;
  TGuardedBuffer buf(37, 23);
  std::mt19937 rng(4);
  for (int y = 0; y < 23; ++y)
    for (int x = 0; x < 37; ++x) buf.At(x, y) = palette[rng() % 256];
  const auto original = buf.Pixels();
  for (TPixelPath path : {kppScalar, kppSse2, kppAvx2}) {
    SCOPED_TRACE(int{path});
    for (int y = 0; y < 23; ++y)
      for (int x = 0; x < 37; ++x) buf.At(x, y) = original[static_cast<size_t>(y * 37 + x)];
    HueShiftPixels(buf.View(), 0, path);
    EXPECT_EQ(buf.Pixels(), original) << "no delta, no change";
    HueShiftPixels(buf.View(), 40, path);
    const auto after = buf.Pixels();
    for (size_t i = 0; i < original.size(); ++i) {
      const uint32_t p = original[i];
      const uint32_t expected = (p >> 24) == 0 ? p : (p & 0xFF000000u) | (ShiftHue(p, 40) & 0x00FFFFFFu);
      ASSERT_EQ(after[i], expected) << std::hex << p;
    }
    EXPECT_TRUE(buf.GuardsIntact());

    // More distinct colours than the cache keeps: still every pixel right.
    TGuardedBuffer many(300, 30);
    for (int y = 0; y < 30; ++y)
      for (int x = 0; x < 300; ++x)
        many.At(x, y) = 0xFF000000u | static_cast<uint32_t>(y * 300 + x) * 2654435761u >> 8;
    const auto manyBefore = many.Pixels();
    HueShiftPixels(many.View(), -100, path);
    const auto manyAfter = many.Pixels();
    for (size_t i = 0; i < manyBefore.size(); ++i) ASSERT_EQ(manyAfter[i], ShiftHue(manyBefore[i], -100)) << i;
  }
}

TEST(PixelsTest, BrightnessShiftClampsAndKeepsAlpha) {
  for (TPixelPath path : {kppScalar, kppSse2, kppAvx2}) {
    TGuardedBuffer buf(4, 1);
    buf.Put({0xFF102030u, 0x80F0F0F0u, kTransparentMarker, 0x01000000u});
    BrightnessShiftPixels(buf.View(), 20, path);
    EXPECT_BUFFER(buf, {0, 0, 0xFF243444u}, {1, 0, 0x80FFFFFFu}, {2, 0, kTransparentMarker}, {3, 0, 0x01141414u});
    BrightnessShiftPixels(buf.View(), INT_MIN, path);
    EXPECT_BUFFER(buf, {0, 0, 0xFF000000u}, {1, 0, 0x80000000u}, {2, 0, kTransparentMarker});
    EXPECT_TRUE(buf.GuardsIntact());

    // Every pixel of a wider buffer agrees with ShiftBrightness.
    TGuardedBuffer wide(19, 3);
    TPixelGen gen(11);
    wide.Randomise(gen);
    const auto before = wide.Pixels();
    BrightnessShiftPixels(wide.View(), -77, path);
    const auto after = wide.Pixels();
    for (size_t i = 0; i < before.size(); ++i) {
      const uint32_t p = before[i];
      ASSERT_EQ(after[i], (p >> 24) == 0 ? p : (p & 0xFF000000u) | (ShiftBrightness(p, -77) & 0x00FFFFFFu));
    }
  }
}

TEST(PixelsTest, DitherFillContinuesTheCheckerboard) {
  TGuardedBuffer buf(6, 4);
  FillDitherPixels(buf.View(), {-3, -3, 3, 10}, 0xB, 0xD);
  FillDitherPixels(buf.View(), {3, 0, 60, 2}, 0xB, 0xD);
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 6; ++x) {
      const bool painted = x < 3 || y < 2;
      EXPECT_EQ(buf.At(x, y), painted ? ((x + y) % 2 == 0 ? 0xDu : 0xBu) : 0u) << x << "," << y;
    }
  EXPECT_TRUE(buf.GuardsIntact());
}

TEST(PixelsTest, GlyphRecolouringAndRotation) {
  TGuardedBuffer glyph(3, 1);
  glyph.Put({0, 0x00FFFFFFu, 0xFF000000u});
  RecolorGlyphPixels(glyph.View(), 0xFF123456u);
  EXPECT_EQ(glyph.Pixels(), (std::vector<uint32_t>{0xFF123456u, kTransparentMarker, kTransparentMarker}))
      << "only a value of exactly 0 is the glyph";

  // A 2 x 3 text buffer (the target 3 wide and 2 high, on its side).
  TGuardedBuffer text(2, 3);
  const uint32_t a = 0xA, b = 0xB, c = 0xC, d = 0xD, e = 0xE, m = kTransparentMarker;
  text.Put({a, b,  //
            c, d,  //
            e, m});
  TGuardedBuffer cw(3, 2), ccw(3, 2);
  FillPixels(cw.View(), 0x1);
  FillPixels(ccw.View(), 0x1);
  RotatePixels(cw.View(), text.ConstView(), true);
  RotatePixels(ccw.View(), text.ConstView(), false);
  EXPECT_EQ(cw.Pixels(), (std::vector<uint32_t>{e, c, a,  //
                                                0x1, d, b}));
  EXPECT_EQ(ccw.Pixels(), (std::vector<uint32_t>{b, d, 0x1,  //
                                                 a, c, e}));
  // Mismatched sizes write only inside the target.
  TGuardedBuffer small(2, 1);
  RotatePixels(small.View(), text.ConstView(), true);
  RotatePixels(small.View(), text.ConstView(), false);
  EXPECT_TRUE(small.GuardsIntact());
  EXPECT_TRUE(cw.GuardsIntact());
}

}  // namespace
}  // namespace hv
