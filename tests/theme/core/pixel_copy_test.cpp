#include <gtest/gtest.h>

#include <climits>

#include "tests/theme/core/pixel_test_util.h"
#include "theme/core/pixels.h"

namespace hv {
namespace {

using test::SourceOf;
using test::TGuardedBuffer;
using test::TPixelGen;
using test::TRect64;

enum TCopyOp { kCopy, kStretch, kKeyed, kBlend, kStretchBlend, kUnderlay };

// Point-based copies map srcRect to the rect of its size at (x, y).
bool PointBased(TCopyOp op) { return op == kCopy || op == kBlend || op == kUnderlay; }

void RunCopy(TCopyOp op, TPixelBuffer dst, const TRect& d, TConstPixelBuffer src, const TRect& s, TPixelPath path) {
  switch (op) {
    case kCopy:
      CopyPixels(dst, d.left, d.top, src, s);
      break;
    case kStretch:
      StretchCopyPixels(dst, d, src, s);
      break;
    case kKeyed:
      KeyedCopyPixels(dst, d, src, s, kTransparentMarker, path);
      break;
    case kBlend:
      BlendCopyPixels(dst, d.left, d.top, src, s, path);
      break;
    case kStretchBlend:
      StretchBlendCopyPixels(dst, d, src, s, path);
      break;
    case kUnderlay:
      UnderlayPixels(dst, d.left, d.top, src, s, path);
      break;
  }
}

uint32_t Combine(TCopyOp op, uint32_t s, uint32_t d) {
  switch (op) {
    case kKeyed:
      return (s & 0x00FFFFFFu) == (kTransparentMarker & 0x00FFFFFFu) ? d : s;
    case kBlend:
    case kStretchBlend:
      return BlendPixel(s, d);
    case kUnderlay:
      return BlendPixel(d, s);
    default:
      return s;
  }
}

// What the copy should leave in dst, pixel by pixel from a snapshot.
std::vector<uint32_t> Expected(TCopyOp op, TGuardedBuffer& dst, const TRect& d, TGuardedBuffer& src, const TRect& s) {
  const TRect64 target = PointBased(op) ? TRect64(d.left, d.top, int64_t{d.left} + (int64_t{s.right} - s.left),
                                                  int64_t{d.top} + (int64_t{s.bottom} - s.top))
                                        : TRect64(d);
  std::vector<uint32_t> expected = dst.Pixels();
  const std::vector<uint32_t> source = src.Pixels();
  for (int y = 0; y < dst.Height(); ++y)
    for (int x = 0; x < dst.Width(); ++x) {
      const auto from = SourceOf(x, y, target, s);
      if (!from || from->first < 0 || from->second < 0 || from->first >= src.Width() || from->second >= src.Height())
        continue;
      uint32_t& pixel = expected[static_cast<size_t>(y * dst.Width() + x)];
      pixel = Combine(op, source[static_cast<size_t>(from->second * src.Width() + from->first)], pixel);
    }
  return expected;
}

TRect RandomRect(std::mt19937& rng) {
  auto coord = [&]() -> int {
    switch (rng() % 12) {
      case 0:
        return INT_MIN;
      case 1:
        return INT_MAX;
      case 2:
        return INT_MIN / 2 + static_cast<int>(rng() % 3);
      default:
        return static_cast<int>(rng() % 34) - 10;
    }
  };
  TRect r{coord(), coord(), coord(), coord()};
  if (rng() % 4 != 0) {
    if (r.right < r.left) std::swap(r.left, r.right);
    if (r.bottom < r.top) std::swap(r.top, r.bottom);
  }
  return r;
}

TEST(PixelCopyTest, EveryCopyMatchesThePerPixelModelWhateverTheRects) {
  std::mt19937 rng(7);
  TPixelGen gen(8);
  for (int trial = 0; trial < 1500; ++trial) {
    TGuardedBuffer src(1 + static_cast<int>(rng() % 13), 1 + static_cast<int>(rng() % 9));
    src.Randomise(gen);
    const int dw = 1 + static_cast<int>(rng() % 17), dh = 1 + static_cast<int>(rng() % 11);
    TRect d = RandomRect(rng);
    TRect s = RandomRect(rng);
    if (trial % 3 == 0) {
      // Mostly sane rects too, so that most trials draw something.
      s = {static_cast<int>(rng() % 5) - 2, static_cast<int>(rng() % 5) - 2, 0, 0};
      s.right = s.left + 1 + static_cast<int>(rng() % 14);
      s.bottom = s.top + 1 + static_cast<int>(rng() % 10);
      d = {static_cast<int>(rng() % 9) - 4, static_cast<int>(rng() % 9) - 4, 0, 0};
      d.right = d.left + 1 + static_cast<int>(rng() % 20);
      d.bottom = d.top + 1 + static_cast<int>(rng() % 14);
    }
    for (TCopyOp op : {kCopy, kStretch, kKeyed, kBlend, kStretchBlend, kUnderlay})
      for (TPixelPath path : {kppScalar, kppSse2, kppAvx2}) {
        TGuardedBuffer dst(dw, dh);
        TPixelGen dstGen(static_cast<uint32_t>(trial));
        dst.Randomise(dstGen);
        const auto expected = Expected(op, dst, d, src, s);
        RunCopy(op, dst.View(), d, src.ConstView(), s, path);
        ASSERT_EQ(dst.Pixels(), expected)
            << "op " << op << " path " << int{path} << " d " << d.left << "," << d.top << "," << d.right << ","
            << d.bottom << " s " << s.left << "," << s.top << "," << s.right << "," << s.bottom;
        ASSERT_TRUE(dst.GuardsIntact()) << "op " << op;
        ASSERT_TRUE(src.GuardsIntact()) << "op " << op;
      }
  }
}

TEST(PixelCopyTest, KeyedStretchWithOddSizes) {
  const uint32_t A = 0xFF0000AAu, B = 0xFF0000BBu, K = 0xFF7F007Fu;  // the key with any alpha is keyed
  const uint32_t D = 0x11111111u;
  TGuardedBuffer src(3, 1);
  src.Put({A, K, B});
  TGuardedBuffer wide(7, 1);
  FillPixels(wide.View(), D);
  KeyedCopyPixels(wide.View(), {0, 0, 7, 1}, src.ConstView(), {0, 0, 3, 1});
  EXPECT_EQ(wide.Pixels(), (std::vector<uint32_t>{A, A, A, D, D, B, B})) << "step 3 * 65536 div 7";

  TGuardedBuffer seven(7, 1);
  for (int x = 0; x < 7; ++x) seven.At(x, 0) = 0xFF000000u | static_cast<uint32_t>(x);
  TGuardedBuffer narrow(3, 1);
  KeyedCopyPixels(narrow.View(), {0, 0, 3, 1}, seven.ConstView(), {0, 0, 7, 1});
  EXPECT_EQ(narrow.Pixels(), (std::vector<uint32_t>{0xFF000000u, 0xFF000002u, 0xFF000004u}));

  // Two-by-two blocks when doubling, key included.
  TGuardedBuffer square(2, 2);
  square.Put({A, B, kTransparentMarker, A});
  TGuardedBuffer big(5, 5);
  FillPixels(big.View(), D);
  KeyedCopyPixels(big.View(), {1, 1, 5, 5}, square.ConstView(), {0, 0, 2, 2});
  const std::vector<uint32_t> expected = {D, D, D, D, D,  //
                                          D, A, A, B, B,  //
                                          D, A, A, B, B,  //
                                          D, D, D, A, A,  //
                                          D, D, D, A, A};
  EXPECT_EQ(big.Pixels(), expected);
  EXPECT_TRUE(big.GuardsIntact());
}

TEST(PixelCopyTest, ClippedStretchPaintsThePixelsOfTheUnclippedOne) {
  TPixelGen gen(9);
  TGuardedBuffer src(7, 5);
  src.Randomise(gen);
  for (TRect d : {TRect{3, 4, 32, 21}, TRect{2, 1, 5, 3}, TRect{0, 0, 40, 40}}) {
    TGuardedBuffer big(40, 40);
    StretchCopyPixels(big.View(), d, src.ConstView(), {0, 0, 7, 5});
    TGuardedBuffer small(20, 12);
    StretchCopyPixels(small.View(), d.Offset(-10, -9), src.ConstView(), {0, 0, 7, 5});
    for (int y = 0; y < 12; ++y)
      for (int x = 0; x < 20; ++x) {
        const bool inside = d.Offset(-10, -9).Contains({x, y});
        ASSERT_EQ(small.At(x, y), inside ? big.At(x + 10, y + 9) : 0u) << x << "," << y;
      }
  }
}

TEST(PixelCopyTest, CopiesWithinOneBufferReadTheOldPixels) {
  TPixelGen gen(10);
  for (TCopyOp op : {kCopy, kStretch, kKeyed, kBlend, kStretchBlend, kUnderlay})
    for (auto [d, s] :
         {std::pair{TRect{2, 1, 9, 6}, TRect{0, 0, 7, 5}}, std::pair{TRect{0, 0, 7, 5}, TRect{2, 1, 9, 6}},
          std::pair{TRect{1, 1, 11, 8}, TRect{0, 0, 5, 4}}}) {
      TGuardedBuffer buf(12, 9);
      buf.Randomise(gen);
      TGuardedBuffer snapshot(12, 9);
      for (int y = 0; y < 9; ++y)
        for (int x = 0; x < 12; ++x) snapshot.At(x, y) = buf.At(x, y);
      const auto expected = Expected(op, buf, d, snapshot, s);
      RunCopy(op, buf.View(), d, buf.ConstView(), s, kppAuto);
      EXPECT_EQ(buf.Pixels(), expected) << "op " << op;
      EXPECT_TRUE(buf.GuardsIntact());
    }
}

TEST(PixelCopyTest, BlendCopyAndUnderlayByAlpha) {
  TGuardedBuffer src(4, 1);
  src.Put({0x00FFFFFFu, 0xFF123456u, 0x80FFFFFFu, 0x01FFFFFFu});
  TGuardedBuffer dst(6, 2);
  FillPixels(dst.View(), 0xFF000000u);
  BlendCopyPixels(dst.View(), 2, 1, src.ConstView(), {0, 0, 4, 1});
  EXPECT_BUFFER(dst, {2, 1, 0xFF000000u, "alpha 0 keeps the target"}, {3, 1, 0xFF123456u, "alpha 255 replaces it"},
                {4, 1, 0xBF808080u}, {5, 1, 0xFD010101u}, {1, 1, 0xFF000000u}, {3, 0, 0xFF000000u});

  // Underlay: the destination's translucent pixels go over the background
  // (alpha blended like a colour: 0x40 + 0x7F).
  TGuardedBuffer back(4, 1);
  FillPixels(back.View(), 0xFF0000FFu);
  UnderlayPixels(src.View(), 0, 0, back.ConstView(), {0, 0, 4, 1});
  EXPECT_BUFFER(src, {0, 0, 0xFF0000FFu, "alpha 0 takes the background"}, {1, 0, 0xFF123456u, "alpha 255 stays"},
                {2, 0, 0xBF8080FFu});
}

TEST(PixelCopyTest, TileRepeatsFromTheTopLeftCorner) {
  TGuardedBuffer src(12, 12);
  for (int y = 0; y < 12; ++y)
    for (int x = 0; x < 12; ++x) src.At(x, y) = 0xFF000000u | static_cast<uint32_t>(y << 8 | x);
  // A 10 x 10 source over 25 x 10: two whole tiles and the left half.
  TGuardedBuffer dst(30, 12);
  TilePixels(dst.View(), {0, 1, 25, 11}, src.ConstView(), {1, 2, 11, 12}, false);
  for (int y = 0; y < 12; ++y)
    for (int x = 0; x < 30; ++x) {
      const bool inside = x < 25 && y >= 1 && y < 11;
      ASSERT_EQ(dst.At(x, y), inside ? src.At(1 + x % 10, 2 + (y - 1)) : 0u) << x << "," << y;
    }

  // Starting left of and above the buffer, with a small odd tile, keyed and
  // not, with the source partly outside its bitmap or not.
  src.At(3, 4) = kTransparentMarker;
  for (bool transparent : {false, true})
    for (TRect s : {TRect{2, 3, 5, 5}, TRect{10, 10, 14, 13}, TRect{-1, 0, 1, 1}, TRect{4, 4, 5, 5}}) {
      const TRect d{-7, -4, 21, 15};
      TGuardedBuffer out(17, 13);
      FillPixels(out.View(), 0x01010101u);
      TilePixels(out.View(), d, src.ConstView(), s, transparent);
      const int w = s.right - s.left, h = s.bottom - s.top;
      for (int y = 0; y < 13; ++y)
        for (int x = 0; x < 17; ++x) {
          const int sx = s.left + (x - d.left) % w, sy = s.top + (y - d.top) % h;
          uint32_t expected = 0x01010101u;
          if (sx >= 0 && sy >= 0 && sx < 12 && sy < 12) {
            const uint32_t p = src.At(sx, sy);
            if (!transparent || (p & 0x00FFFFFFu) != 0x7F007Fu) expected = p;
          }
          ASSERT_EQ(out.At(x, y), expected) << x << "," << y << " transparent " << transparent << " s.left " << s.left;
        }
      EXPECT_TRUE(out.GuardsIntact());
    }
  // Tiling a buffer from itself reads the tile before overwriting it.
  TGuardedBuffer self(9, 3);
  for (int x = 0; x < 9; ++x) self.At(x, 0) = static_cast<uint32_t>(x);
  TilePixels(self.View(), {1, 0, 9, 1}, self.ConstView(), {0, 0, 3, 1}, false);
  EXPECT_BUFFER(self, {1, 0, 0u}, {4, 0, 0u}, {8, 0, 1u});
  EXPECT_TRUE(src.GuardsIntact());
}

TEST(PixelCopyTest, DrawMarginsNineSlice) {
  // 1..9 in a 3 x 3 source, margins of one: the corners stay put, the edges
  // and the centre grow.
  TGuardedBuffer src(3, 3);
  for (int i = 0; i < 9; ++i) src.At(i % 3, i / 3) = 0xFF000001u + static_cast<uint32_t>(i);
  TGuardedBuffer dst(7, 6);
  DrawMarginsPixels(dst.View(), {1, 1, 7, 6}, src.ConstView(), {0, 0, 3, 3}, 1, 1, 1, 1, true, false);
  const uint32_t o = 0, a = 0xFF000000u;
  const std::vector<uint32_t> expected = {o, o,     o,     o,     o,     o,     o,      //
                                          o, a + 1, a + 2, a + 2, a + 2, a + 2, a + 3,  //
                                          o, a + 4, a + 5, a + 5, a + 5, a + 5, a + 6,  //
                                          o, a + 4, a + 5, a + 5, a + 5, a + 5, a + 6,  //
                                          o, a + 4, a + 5, a + 5, a + 5, a + 5, a + 6,  //
                                          o, a + 7, a + 8, a + 8, a + 8, a + 8, a + 9};
  EXPECT_EQ(dst.Pixels(), expected);

  // Tiled edges repeat instead of stretching; a keyed corner lets the
  // background through.
  TGuardedBuffer src4(4, 3);
  for (int i = 0; i < 12; ++i) src4.At(i % 4, i / 4) = a + static_cast<uint32_t>(i);
  src4.At(0, 0) = kTransparentMarker;
  TGuardedBuffer tiled(7, 3);
  FillPixels(tiled.View(), 0x5u);
  DrawMarginsPixels(tiled.View(), {0, 0, 7, 3}, src4.ConstView(), {0, 0, 4, 3}, 1, 1, 1, 1, false, true);
  const std::vector<uint32_t> tiledExpected = {0x5,   a + 1, a + 2,  a + 1, a + 2,  a + 1, a + 3,  //
                                               a + 4, a + 5, a + 6,  a + 5, a + 6,  a + 5, a + 7,  //
                                               a + 8, a + 9, a + 10, a + 9, a + 10, a + 9, a + 11};
  EXPECT_EQ(tiled.Pixels(), tiledExpected);

  // All margins 0: one stretch of the whole source.
  TGuardedBuffer whole(6, 6), stretched(6, 6);
  DrawMarginsPixels(whole.View(), {0, 0, 6, 6}, src.ConstView(), {0, 0, 3, 3}, 0, 0, 0, 0, false, false);
  StretchCopyPixels(stretched.View(), {0, 0, 6, 6}, src.ConstView(), {0, 0, 3, 3});
  EXPECT_EQ(whole.Pixels(), stretched.Pixels());

  // Margins wider than the destination, and wild rects: nothing outside.
  TGuardedBuffer tiny(4, 4);
  DrawMarginsPixels(tiny.View(), {0, 0, 3, 3}, src.ConstView(), {0, 0, 3, 3}, 2, 2, 2, 2, true, false);
  DrawMarginsPixels(tiny.View(), {INT_MIN, INT_MIN, INT_MAX, INT_MAX}, src.ConstView(), {-5, -5, 9, 9}, INT_MAX,
                    INT_MIN, 1, 1, false, true);
  DrawMarginsPixels(tiny.View(), {-2, -2, 9, 9}, src.ConstView(), {INT_MIN, 0, INT_MAX, 3}, 1, 1, 1, 1, false, false);
  EXPECT_TRUE(tiny.GuardsIntact());
  EXPECT_TRUE(src.GuardsIntact());
}

}  // namespace
}  // namespace hv
