// The show animation's transitions: what each effect's mask holds at the
// start, the middle and the end, and the frames they make of two images with
// tiles, directions and the transparent marker.

#include "theme/frame/transition.h"

#include <gtest/gtest.h>

#include <set>

namespace hv {
namespace {

constexpr uint32_t kOld = 0xFFFF0000;  // red
constexpr uint32_t kNew = 0xFF0000FF;  // blue

int Written(const TTransitionMask& mask) {
  int count = 0;
  for (uint8_t v : mask.Cells()) count += v != 0;
  return count;
}

TEST(Transition, NoEffectWritesAtTheStartAndTheWholeOnesCoverEverythingAtTheEnd) {
  std::mt19937 random(1);
  for (int e = 1; e < kEffectCount; ++e) {
    TTransitionMask mask(13, 9);
    FillTransitionMask(TkeEffect(e), 0, mask, random);
    EXPECT_EQ(Written(mask), 0) << e;
  }
  for (TkeEffect e : {keFade, keDown, keIn, keOut, keRectIn, kePixel, keDiamondIn, keSmoothRectIn}) {
    TTransitionMask mask(13, 9);
    FillTransitionMask(e, 100, mask, random);
    for (uint8_t v : mask.Cells()) ASSERT_EQ(v, 255) << int(e);
  }
  // Every effect has begun by the middle.
  for (int e = 1; e < kEffectCount; ++e) {
    TTransitionMask mask(13, 9);
    FillTransitionMask(TkeEffect(e), 50, mask, random);
    EXPECT_GT(Written(mask), 0) << e;
  }
}

TEST(Transition, WipesFadesAndRingsAtTheMiddle) {
  std::mt19937 random(1);
  TTransitionMask fade(4, 3);
  FillTransitionMask(keFade, 50, fade, random);
  for (uint8_t v : fade.Cells()) EXPECT_EQ(v, 128);  // 127.5 rounds to even

  TTransitionMask down(5, 11);
  FillTransitionMask(keDown, 50, down, random);
  EXPECT_EQ(down.Get(4, 5), 128);
  EXPECT_EQ(down.Get(0, 6), 0);

  TTransitionMask out(5, 11);
  FillTransitionMask(keOut, 40, out, random);  // rows 5 - 2 ... 5 + 2
  EXPECT_EQ(out.Get(0, 3), 102);
  EXPECT_EQ(out.Get(0, 7), 102);
  EXPECT_EQ(out.Get(0, 2), 0);
  EXPECT_EQ(out.Get(0, 8), 0);

  TTransitionMask in(5, 11);
  FillTransitionMask(keIn, 40, in, random);  // three rows from each side
  EXPECT_EQ(in.Get(2, 2), 102);
  EXPECT_EQ(in.Get(2, 8), 102);
  EXPECT_EQ(in.Get(2, 5), 0);

  // Rings from the centre: the centre is newest, the corners still old.
  TTransitionMask diamond(21, 21);
  FillTransitionMask(keDiamondOut, 30, diamond, random);
  EXPECT_GT(diamond.Get(10, 10), diamond.Get(10, 14));
  EXPECT_EQ(diamond.Get(0, 0), 0);
  TTransitionMask rectIn(21, 21);
  FillTransitionMask(keRectIn, 30, rectIn, random);
  EXPECT_EQ(rectIn.Get(10, 10), 0);  // written by RectOut(70), so turned old
  EXPECT_EQ(rectIn.Get(0, 0), 77);   // left empty by it, so at the level of 30
}

TEST(Transition, PixelsKeepTheCellsOfEarlierFramesAndCountTheProgress) {
  std::mt19937 random(1);
  TTransitionMask early(10, 10), late(10, 10);
  FillTransitionMask(kePixel, 30, early, random);
  FillTransitionMask(kePixel, 60, late, random);
  EXPECT_EQ(Written(early), 30);
  EXPECT_EQ(Written(late), 60);
  for (int j = 0; j < 10; ++j)
    for (int i = 0; i < 10; ++i)
      if (early.Get(i, j)) {
        EXPECT_EQ(late.Get(i, j), 255) << i << "," << j;
      }
}

TEST(Transition, RandomSelectPicksEveryOtherEffectButNeverItself) {
  std::mt19937 random(7);
  std::set<int> seen;
  for (int n = 0; n < 2000; ++n) {
    TkeEffect e = ResolveEffect(keRandomSelect, random);
    ASSERT_NE(e, keRandomSelect);
    seen.insert(e);
  }
  EXPECT_EQ(seen.size(), size_t(kEffectCount - 1));
  EXPECT_EQ(ResolveEffect(keDown, random), keDown);
}

TEST(Transition, MaskLinesIncludeBothEndsAndSkipWhatLiesOutside) {
  TTransitionMask mask(5, 5);
  mask.Line(-2, 2, 6, 2, 9);
  for (int i = 0; i < 5; ++i) EXPECT_EQ(mask.Get(i, 2), 9);
  mask.Line(4, 0, 0, 4, 7);
  EXPECT_EQ(mask.Get(4, 0), 7);
  EXPECT_EQ(mask.Get(0, 4), 7);
  EXPECT_EQ(mask.Get(2, 2), 7);
  EXPECT_EQ(Written(mask), 9);
  EXPECT_EQ(mask.Get(7, 7), 0);
}

struct Images {
  Images(int w, int h)
      : width(w), height(h), old(size_t(w) * h, kOld), fresh(size_t(w) * h, kNew), work(size_t(w) * h) {}
  uint32_t At(int x, int y) const { return work[size_t(y) * width + x]; }
  void Build(TkeEffect effect, TTeDirection direction, int resolution, int tiles, int p) {
    std::mt19937 random(3);
    BuildTransitionFrame(effect, direction, resolution, tiles, p, fresh.data(), old.data(), work.data(), width, height,
                         random);
  }
  int width, height;
  std::vector<uint32_t> old, fresh, work;
};

TEST(Transition, FramesBlendTheNewImageOverTheOldAndSkipItsTransparentPixels) {
  Images images(8, 6);
  images.fresh[0] = 0x007F007F;  // the transparent marker shows the old image
  images.Build(keFade, kdNone, 1, 1, 50);
  EXPECT_EQ(images.At(0, 0), kOld);
  EXPECT_EQ(images.At(3, 3), 0xFF7F0080u);
  images.Build(keFade, kdNone, 1, 1, 100);
  EXPECT_EQ(images.At(3, 3), kNew);
  EXPECT_EQ(images.At(0, 0), kOld);
  images.Build(keFade, kdNone, 1, 1, 0);
  EXPECT_EQ(images.At(3, 3), kOld);
}

TEST(Transition, TilesRepeatTheTransitionAndDirectionsTurnIt) {
  // Three tiles down a 30-pixel column: each wipes its own top half (with
  // the level of 50, so the wiped rows are a blend).
  constexpr uint32_t kHalf = 0xFF7F0080;
  Images tiled(4, 30);
  tiled.Build(keDown, kdNone, 1, 3, 50);
  const TTransitionGeometry g = TransitionGeometry(4, 30, 1, 3);
  EXPECT_EQ(g.tileHeight, 11);
  EXPECT_EQ(g.maskHeight, 11);
  EXPECT_EQ(tiled.At(0, 0), kHalf);
  EXPECT_EQ(tiled.At(0, 5), kHalf);
  EXPECT_EQ(tiled.At(0, 10), kOld);
  EXPECT_EQ(tiled.At(0, 11), kHalf);
  EXPECT_EQ(tiled.At(0, 22), kHalf);
  EXPECT_EQ(tiled.At(0, 29), kOld);

  // Turned half round, the wipe starts from the bottom; a quarter round,
  // from the right; three quarters, from the left.
  Images turned(20, 20);
  turned.Build(keDown, kdRotate180, 1, 1, 30);
  EXPECT_NE(turned.At(10, 19), kOld);
  EXPECT_EQ(turned.At(10, 0), kOld);
  turned.Build(keDown, kdRotate90, 1, 1, 30);
  EXPECT_NE(turned.At(19, 10), kOld);
  EXPECT_EQ(turned.At(0, 10), kOld);
  turned.Build(keDown, kdRotate270, 1, 1, 30);
  EXPECT_NE(turned.At(0, 10), kOld);
  EXPECT_EQ(turned.At(19, 10), kOld);

  // Coarser cells: a resolution of 4 moves whole 4 x 4 blocks.
  Images coarse(16, 16);
  coarse.Build(keDown, kdNone, 4, 1, 40);
  EXPECT_NE(coarse.At(0, 3), kOld);
  EXPECT_EQ(coarse.At(15, 7), coarse.At(0, 0));
  EXPECT_EQ(coarse.At(0, 8), kOld);
}

}  // namespace
}  // namespace hv
