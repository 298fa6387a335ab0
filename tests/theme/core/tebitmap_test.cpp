// TTeBitmap under Wine: sizes and their failures, pixel operations, drawing
// onto memory, window and canvas device contexts through both transfer paths
// (the platform's TransparentBlt and the engine's own keyed copy), copies
// between bitmaps, assignment and skin loading.

#include "theme/core/tebitmap.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <climits>
#include <memory>
#include <string>
#include <vector>

#include "framework/graphics.h"
#include "framework/filestream.h"
#include "framework/stream.h"
#include "framework/sysutils.h"
#include "framework/gdi.h"
#include "tests/support/gui_objects.h"
#include "tests/support/pixel_rows.h"
#include "tests/support/win_test.h"
#include "theme/core/colors.h"
#include "theme/core/msimg32.h"

namespace hv {
namespace {

constexpr uint32_t kM = kTransparentMarker;
constexpr uint32_t kBack = 0xFF102030u;

std::vector<uint32_t> Dump(const TTeBitmap& b) {
  TPixelBuffer p = b.Pixels();
  return std::vector<uint32_t>(p.bits, p.bits + static_cast<size_t>(p.width) * p.height);
}

void Put(TTeBitmap& b, const std::vector<uint32_t>& pixels) {
  ASSERT_EQ(pixels.size(), static_cast<size_t>(b.Width()) * b.Height());
  std::copy(pixels.begin(), pixels.end(), b.Pixels().bits);
}

// The pixel value a GDI transfer leaves in a 32-bit DIB carries whatever
// alpha the source had; compare colours only where GDI wrote.
uint32_t Rgb(uint32_t p) { return p & 0xFFFFFFu; }

// Pixel lists: a bitmap's colours where GDI wrote, its whole pixels where the
// engine did, and the colours a device context reads back.
#define EXPECT_RGB(bitmap, ...) \
  HV_EXPECT_PIXEL_ROWS(uint32_t, "colour list", Rgb((bitmap).GetPixel(x, y)), __VA_ARGS__)
#define EXPECT_ARGB(bitmap, ...) HV_EXPECT_PIXEL_ROWS(uint32_t, "pixel list", (bitmap).GetPixel(x, y), __VA_ARGS__)
#define EXPECT_DC_PIXELS(dc, ...) \
  HV_EXPECT_PIXEL_ROWS(COLORREF, "device context list", GetPixel(dc, x, y), __VA_ARGS__)

TEST(TeBitmapSize, SetSizeAndNotifications) {
  TTeBitmap b;
  int changes = 0, frees = 0;
  b.OnChange = [&](TObject* sender) {
    EXPECT_EQ(sender, &b);
    ++changes;
  };
  b.OnFreeHandle = [&](TObject*) { ++frees; };
  EXPECT_TRUE(b.Empty());
  EXPECT_EQ(b.GetPixel(0, 0), 0xFF000000u);

  b.SetSize(0, 10);
  b.SetSize(10, 0);
  EXPECT_TRUE(b.Empty());
  EXPECT_EQ(changes, 0);
  EXPECT_EQ(frees, 0);

  b.SetSize(-20, -30);
  ASSERT_FALSE(b.Empty());
  EXPECT_EQ(b.Width(), 20);
  EXPECT_EQ(b.Height(), 30);
  EXPECT_EQ(b.Header().width, 20);
  EXPECT_EQ(b.Header().height, -30);
  EXPECT_EQ(b.Header().bitCount, 32);
  EXPECT_EQ(b.Header().size, 40u);
  EXPECT_EQ(changes, 1);
  EXPECT_EQ(frees, 1);
  EXPECT_NE(b.DC(), nullptr);
  EXPECT_EQ(GetCurrentObject(b.DC(), OBJ_BITMAP), b.Handle());
  for (uint32_t p : Dump(b)) ASSERT_EQ(p, 0u);

  b.Fill(0xFF112233u);
  b.SetSize(20, 30);
  b.SetSize(-20, 30);
  EXPECT_EQ(changes, 1);
  EXPECT_EQ(b.GetPixel(19, 29), 0xFF112233u);

  b.SetSize(5, 6);
  EXPECT_EQ(changes, 2);
  EXPECT_EQ(frees, 2);
  EXPECT_EQ(b.GetPixel(4, 5), 0u);
  // Top-down rows: row 1 follows row 0 in memory.
  *b.PixelPtr(2, 1) = 0xFFABCDEFu;
  EXPECT_EQ(b.Bits()[1 * 5 + 2], 0xFFABCDEFu);
  EXPECT_EQ(GetPixel(b.DC(), 2, 1), RGB(0xAB, 0xCD, 0xEF));
  EXPECT_ARGB(b, {-1, 0, 0xFF000000u}, {5, 0, 0xFF000000u}, {0, 6, 0xFF000000u});

  // Destruction lets the owner let go of the context first.
  int released = 0;
  HDC releasedDC = nullptr;
  {
    TTeBitmap temporary;
    temporary.SetSize(2, 2);
    temporary.OnFreeHandle = [&](TObject* sender) {
      ++released;
      releasedDC = static_cast<TTeBitmap*>(sender)->DC();
    };
    EXPECT_EQ(released, 0);
  }
  EXPECT_EQ(released, 1);
  EXPECT_NE(releasedDC, nullptr) << "fired while the context was still there";
}

TEST(TeBitmapSize, FailuresLeaveItEmptyAndNotify) {
  const char* messages[] = {"Can't allocate the DIB handle", "Can't create compatible DC",
                            "Can't select an object into DC"};
  for (int step = 3; step <= 5; ++step) {
    TTeBitmap b;
    b.SetSize(4, 4);
    int changes = 0, frees = 0;
    b.OnChange = [&](TObject*) { ++changes; };
    b.OnFreeHandle = [&](TObject*) { ++frees; };
    TTeBitmap::SetFailStepForTesting(step);
    try {
      b.SetSize(8, 8);
      ADD_FAILURE() << "step " << step << " did not raise";
    } catch (const EOutOfResources& e) {
      EXPECT_EQ(e.Message(), messages[step - 3]);
    }
    TTeBitmap::SetFailStepForTesting(0);
    EXPECT_TRUE(b.Empty());
    EXPECT_EQ(b.Width(), 0);
    EXPECT_EQ(b.Height(), 0);
    EXPECT_EQ(b.DC(), nullptr);
    EXPECT_EQ(b.Bits(), nullptr);
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(frees, 1);
    // Every operation on the emptied bitmap is harmless.
    b.Fill(1);
    b.FillRect({0, 0, 4, 4}, 1);
    b.SetAlpha(3);
    b.MakeTransparent(0);
    b.ApplyBrightnessShift(10);
    EXPECT_EQ(b.GetPixel(0, 0), 0xFF000000u);
    b.SetSize(2, 2);
    EXPECT_FALSE(b.Empty());
  }
  // A size the system cannot give at all.
  TTeBitmap huge;
  EXPECT_THROW(huge.SetSize(1 << 16, 1 << 16), EOutOfResources);
  EXPECT_TRUE(huge.Empty());
  EXPECT_THROW(huge.SetSize(INT_MIN, 2), EOutOfResources);
  EXPECT_THROW(huge.SetSize(3, INT_MIN), EOutOfResources);
  EXPECT_TRUE(huge.Empty());
}

// The pixel memory of a released bitmap serves the next bitmap of its size,
// and comes back as new memory would: every pixel zero, whatever the old
// one held, even drawing GDI had not finished when it went.
TEST(TeBitmapSize, MemoryOfAReleasedBitmapComesBackZeroed) {
  ReleaseIdleGdiCaches();
  uint32_t* released = nullptr;
  {
    TTeBitmap old;
    old.SetSize(37, 11);
    old.Fill(0xFF123456u);
    RECT all{0, 0, 37, 11};
    FillRect(old.DC(), &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    released = old.Bits();
  }
  TTeBitmap next;
  next.SetSize(37, 11);
  EXPECT_EQ(next.Bits(), released) << "the released memory is used again";
  EXPECT_EQ(Dump(next), std::vector<uint32_t>(37 * 11, 0u));
  // A resize gives its old memory back too: a bitmap of the old size gets it.
  next.Fill(0xFFABCDEFu);
  next.SetSize(5, 6);
  EXPECT_EQ(Dump(next), std::vector<uint32_t>(5 * 6, 0u));
  TTeBitmap again;
  again.SetSize(-37, 11);
  EXPECT_EQ(again.Bits(), released);
  EXPECT_EQ(Dump(again), std::vector<uint32_t>(37 * 11, 0u));
  // The memory draws as the bitmap's own: GDI reaches it through the DC.
  again.Fill(0xFF000000u);
  SetPixel(again.DC(), 36, 10, RGB(1, 2, 3));
  EXPECT_EQ(Rgb(again.GetPixel(36, 10)), 0x010203u);
  // After the caches are freed a new bitmap gets memory of its own.
  ReleaseIdleGdiCaches();
  TTeBitmap fresh;
  fresh.SetSize(5, 6);
  EXPECT_NE(fresh.Bits(), nullptr);
  EXPECT_EQ(Dump(fresh), std::vector<uint32_t>(5 * 6, 0u));
}

// Bitmaps made, resized and destroyed over and over leave no GDI object
// alive once the kept ones are freed: what the pool keeps is bounded and
// freed on demand, never a leak.
TEST(TeBitmapSize, CyclesOfBitmapsLeaveNoObjectAlive) {
  ASSERT_TRUE(test::InstallGuiObjectCounter());
  const long made = test::GuiObjectsMade();
  const test::TGuiObjectCounts before = test::LiveGuiObjects();
  for (int i = 0; i < 60; ++i) {
    TTeBitmap bitmap;
    bitmap.SetSize(8 + i % 9, 5);
    bitmap.Fill(static_cast<uint32_t>(i));
    bitmap.SetSize(5, 8 + i % 7);
    auto kept = std::make_unique<TTeBitmap>();
    kept->SetSize(8 + i % 9, 5);
  }
  EXPECT_GT(test::GuiObjectsMade(), made) << "the counter sees the bitmaps";
  EXPECT_EQ(test::LiveGuiObjects(), before) << test::LiveGuiObjects().Describe() << " against " << before.Describe();
}

TEST(TeBitmapPixels, FillsAlphaAndKeying) {
  TTeBitmap b;
  b.SetSize(4, 3);
  b.Fill(0xFF000000u);
  b.FillRect({-5, -5, 2, 1}, 0xFF0000FFu);
  b.FillRect({3, 2, 3, 9}, 0xFFFFFFFFu);  // empty
  EXPECT_EQ(Dump(b), (std::vector<uint32_t>{0xFF0000FF, 0xFF0000FF, 0xFF000000, 0xFF000000,  //
                                            0xFF000000, 0xFF000000, 0xFF000000, 0xFF000000,  //
                                            0xFF000000, 0xFF000000, 0xFF000000, 0xFF000000}));
  b.SetAlphaBlend(true);
  b.FillRect({1, 0, 3, 1}, 0x80FFFFFFu);
  EXPECT_ARGB(b, {1, 0, BlendPixel(0x80FFFFFFu, 0xFF0000FFu)}, {2, 0, 0xBF808080u});
  EXPECT_EQ(BlendPixel(0x80FFFFFFu, 0xFF000000u), 0xBF808080u);
  EXPECT_EQ(b.GetPixel(3, 0), 0xFF000000u);

  b.SetAlphaRect(0x10, {-1, -1, 2, 2});
  EXPECT_ARGB(b, {1, 1, 0x10000000u}, {2, 1, 0xFF000000u}, {0, 2, 0xFF000000u});
  b.SetAlpha(0x20);
  for (uint32_t p : Dump(b)) ASSERT_EQ(p >> 24, 0x20u);

  Put(b, {0xFFFA05FB, 0xFFF900FF, 0x00FF00FF, 0xFFFF00FA,  //
          0xFFFF05FF, 0xFFFF06FF, 0x12345678, 0xFFFF00FF,  //
          0, 0, 0, 0});
  b.MakeTransparent(0xFFFF00FFu);
  EXPECT_EQ(Dump(b), (std::vector<uint32_t>{kM, 0xFFF900FF, kM, kM,  //
                                            kM, 0xFFFF06FF, 0x12345678, kM,  //
                                            0, 0, 0, 0}));
}

TEST(TeBitmapPixels, ColourShiftsKeepAbsentPixelsAndRefreshTheCache) {
  TTeBitmap b;
  b.SetSize(3, 1);
  Put(b, {kM, 0xFF3366CC, 0x80808080});
  EXPECT_EQ(b.CachedBitmap(), nullptr);
  b.ApplyHueShift(60);
  EXPECT_ARGB(b, {0, 0, kM}, {1, 0, ShiftHue(0xFF3366CC, 60)});
  EXPECT_NE(b.GetPixel(1, 0), 0xFF3366CCu);
  EXPECT_EQ(b.GetPixel(2, 0), (ShiftHue(0x80808080, 60) & 0xFFFFFFu) | 0x80000000u);
  ASSERT_NE(b.CachedBitmap(), nullptr);
  EXPECT_EQ(b.CachedBitmap()->Width(), 3);
  EXPECT_EQ(b.CachedBitmap()->Height(), 1);
  EXPECT_EQ(static_cast<const uint32_t*>(b.CachedBitmap()->ScanLine(0))[1], b.GetPixel(1, 0));

  b.ApplyBrightnessShift(-20);
  EXPECT_EQ(b.GetPixel(0, 0), kM);
  const uint32_t shifted = b.GetPixel(1, 0);
  EXPECT_EQ(shifted, ShiftBrightness(ShiftHue(0xFF3366CC, 60), -20));
  EXPECT_EQ(static_cast<const uint32_t*>(b.CachedBitmap()->ScanLine(0))[1], shifted);

  TTeBitmap empty;
  empty.ApplyHueShift(10);
  EXPECT_EQ(empty.CachedBitmap(), nullptr);
}

// --- drawing: run every case through both transfer paths ----------------------

class TeBitmapDraw : public ::testing::TestWithParam<bool> {
 protected:
  void SetUp() override {
    if (!GetParam()) {
      ASSERT_TRUE(TransparentBltAvailable()) << "msimg32 missing: the platform path is not tested";
    } else {
      fallback_ = std::make_unique<TMsImg32Fallback>();
      ASSERT_FALSE(TransparentBltAvailable());
    }
    // A 4 x 2 source: marker in the corners of the top row.
    src_.SetSize(4, 2);
    Put(src_, {kM, 0xFF00FF00, 0xFF0000FF, kM,  //
               0xFFFF0000, 0xFFFFFFFF, 0xFF808080, 0xFF123456});
    dst_.SetSize(8, 5);
    dst_.Fill(kBack);
  }
  std::vector<uint32_t> DstRgb() {
    std::vector<uint32_t> v = Dump(dst_);
    for (uint32_t& p : v) p = Rgb(p);
    return v;
  }

  std::unique_ptr<TMsImg32Fallback> fallback_;
  TTeBitmap src_;
  TTeBitmap dst_;
};

constexpr uint32_t B = kBack & 0xFFFFFF;

TEST_P(TeBitmapDraw, DrawAndDrawRect) {
  src_.Draw(dst_.DC(), 1, 1, true);
  src_.DrawRect(dst_.DC(), 5, 3, {1, 1, 4, 2}, true);
  EXPECT_EQ(DstRgb(), (std::vector<uint32_t>{B, B, B, B, B, B, B, B,                                      //
                                             B, B, 0x00FF00, 0x0000FF, B, B, B, B,                        //
                                             B, 0xFF0000, 0xFFFFFF, 0x808080, 0x123456, B, B, B,          //
                                             B, B, B, B, B, 0xFFFFFF, 0x808080, 0x123456,                 //
                                             B, B, B, B, B, B, B, B}));
  // Opaque drawing copies the marker too, and clips at the target's edges.
  dst_.Fill(kBack);
  src_.Draw(dst_.DC(), 6, -1, false);
  EXPECT_RGB(dst_, {6, 0, 0xFF0000u}, {7, 0, 0xFFFFFFu}, {5, 0, B}, {6, 1, B});
  // Parts outside the source or the target paint nothing and touch nothing.
  dst_.Fill(kBack);
  src_.DrawRect(dst_.DC(), 0, 0, {-2, -1, 2, 2}, true);
  src_.Draw(dst_.DC(), -4, 0, true);
  src_.Draw(dst_.DC(), 8, 0, true);
  EXPECT_RGB(dst_, {3, 1, 0x00FF00u}, {2, 2, 0xFF0000u}, {2, 1, B}, {0, 0, B});
  size_t changed = 0;
  for (uint32_t p : DstRgb()) changed += p != B;
  EXPECT_EQ(changed, 3u);
}

TEST_P(TeBitmapDraw, StretchDrawDoubles) {
  src_.StretchDraw(dst_.DC(), {0, 0, 8, 4}, src_.Bounds(), true);
  const uint32_t expect[4][8] = {{B, B, 0x00FF00, 0x00FF00, 0x0000FF, 0x0000FF, B, B},
                                 {B, B, 0x00FF00, 0x00FF00, 0x0000FF, 0x0000FF, B, B},
                                 {0xFF0000, 0xFF0000, 0xFFFFFF, 0xFFFFFF, 0x808080, 0x808080, 0x123456, 0x123456},
                                 {0xFF0000, 0xFF0000, 0xFFFFFF, 0xFFFFFF, 0x808080, 0x808080, 0x123456, 0x123456}};
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 8; ++x) EXPECT_EQ(Rgb(dst_.GetPixel(x, y)), expect[y][x]) << x << "," << y;
  EXPECT_EQ(Rgb(dst_.GetPixel(0, 4)), B);
  // Opaque stretching takes the marker's colour as it is.
  dst_.Fill(kBack);
  src_.StretchDraw(dst_.DC(), {0, 0, 8, 4}, src_.Bounds(), false);
  EXPECT_RGB(dst_, {1, 1, 0x7F007Fu}, {7, 3, 0x123456u});
  // Halving keeps one of each pair of pixels rather than mixing them (the
  // system's default mode would AND them together).
  TTeBitmap small;
  small.SetSize(2, 1);
  src_.StretchDraw(small.DC(), {0, 0, 2, 1}, {0, 1, 4, 2}, false);
  EXPECT_TRUE(Rgb(small.GetPixel(0, 0)) == 0xFF0000u || Rgb(small.GetPixel(0, 0)) == 0xFFFFFFu);
  EXPECT_TRUE(Rgb(small.GetPixel(1, 0)) == 0x808080u || Rgb(small.GetPixel(1, 0)) == 0x123456u)
      << std::hex << small.GetPixel(1, 0);
}

TEST_P(TeBitmapDraw, StretchFromOutsideTheSourceAndEmptyBitmaps) {
  // Two source columns left of the bitmap, each doubled: the system refuses
  // such a part, and the engine's keyed copy paints what lies inside.
  src_.StretchDraw(dst_.DC(), {0, 0, 8, 4}, {-2, 0, 2, 2}, true);
  for (int x = 0; x < 8; ++x) {
    const uint32_t top = x >= 6 ? 0x00FF00u : B;
    const uint32_t bottom = x >= 6 ? 0xFFFFFFu : x >= 4 ? 0xFF0000u : B;
    SCOPED_TRACE(x);
    EXPECT_RGB(dst_, {x, 1, top}, {x, 3, bottom});
  }
  // Opaque at its own size, the part outside is cut off as well.
  dst_.Fill(kBack);
  src_.DrawRect(dst_.DC(), 0, 0, {-1, -1, 2, 1}, false);
  EXPECT_RGB(dst_, {0, 0, B}, {1, 0, B}, {0, 1, B}, {1, 1, 0x7F007Fu}, {2, 1, 0x00FF00u}, {3, 1, B});

  TTeBitmap empty;
  const std::vector<uint32_t> before = DstRgb();
  empty.Draw(dst_.DC(), 0, 0, true);
  empty.Tile(dst_.DC(), dst_.Bounds(), {0, 0, 2, 2}, true);
  empty.DrawMargins(dst_.DC(), dst_.Bounds(), {0, 0, 2, 2}, 1, 1, 1, 1, false, true);
  src_.Draw(static_cast<HDC>(nullptr), 0, 0, true);
  src_.StretchDraw(dst_.DC(), {4, 4, 4, 8}, src_.Bounds(), true);
  EXPECT_EQ(DstRgb(), before);
}

TEST_P(TeBitmapDraw, TileCutsTheLastColumn) {
  TTeBitmap tile;
  tile.SetSize(10, 10);
  tile.Fill(0xFF0000FFu);
  tile.FillRect({5, 0, 10, 10}, 0xFF00FF00u);
  tile.FillRect({0, 0, 1, 1}, kM);
  TTeBitmap target;
  target.SetSize(30, 12);
  target.Fill(kBack);
  tile.Tile(target.DC(), {0, 1, 25, 11}, tile.Bounds(), true);
  for (int x = 0; x < 30; ++x) {
    const uint32_t want = x >= 25 ? B : (x % 10) < 5 ? 0x0000FFu : 0x00FF00u;
    SCOPED_TRACE(x);
    EXPECT_RGB(target, {x, 5, want}, {x, 0, B}, {x, 11, B});
  }
  // Each tile's corner is keyed; the clipped third tile starts at x 20.
  EXPECT_RGB(target, {0, 1, B}, {10, 1, B}, {20, 1, B}, {21, 1, 0x0000FFu}, {24, 10, 0x0000FFu});

  // DrawStretchOrTile picks one or the other; no source area, nothing.
  target.Fill(kBack);
  tile.DrawStretchOrTile(target.DC(), {5, 0, 5, 10}, {0, 0, 30, 12}, true, false);
  EXPECT_EQ(Rgb(target.GetPixel(3, 3)), B);
  tile.DrawStretchOrTile(target.DC(), {0, 1, 10, 2}, {0, 0, 30, 12}, true, false);
  EXPECT_RGB(target, {0, 11, 0x0000FFu}, {29, 0, 0x00FF00u});
  tile.DrawStretchOrTile(target.DC(), {0, 1, 10, 2}, {0, 0, 30, 1}, false, false);
  EXPECT_EQ(Rgb(target.GetPixel(12, 0)), 0x0000FFu);
}

TEST_P(TeBitmapDraw, DrawMarginsNineSlices) {
  // A 6 x 6 source: a one-pixel frame of distinct corners and edges around
  // a 4 x 4 centre; the top-left corner is keyed.
  TTeBitmap nine;
  nine.SetSize(6, 6);
  nine.Fill(0xFF000080u);                      // centre
  nine.FillRect({1, 0, 5, 1}, 0xFF00FF00u);    // top
  nine.FillRect({1, 5, 5, 6}, 0xFF00FFFFu);    // bottom
  nine.FillRect({0, 1, 1, 5}, 0xFFFF0000u);    // left
  nine.FillRect({5, 1, 6, 5}, 0xFFFF00FFu);    // right
  nine.FillRect({0, 0, 1, 1}, kM);             // top-left
  nine.FillRect({5, 0, 6, 1}, 0xFF111111u);    // top-right
  nine.FillRect({0, 5, 1, 6}, 0xFF222222u);    // bottom-left
  nine.FillRect({5, 5, 6, 6}, 0xFF333333u);    // bottom-right
  TTeBitmap target;
  target.SetSize(12, 10);
  target.Fill(kBack);
  nine.DrawMargins(target.DC(), {1, 1, 11, 9}, nine.Bounds(), 1, 1, 1, 1, true, true);
  EXPECT_RGB(target, {1, 1, B}, {10, 1, 0x111111u}, {1, 8, 0x222222u}, {10, 8, 0x333333u});
  for (int x = 2; x < 10; ++x) {
    SCOPED_TRACE(x);
    EXPECT_RGB(target, {x, 1, 0x00FF00u}, {x, 8, 0x00FFFFu}, {x, 4, 0x000080u});
  }
  for (int y = 2; y < 8; ++y) {
    SCOPED_TRACE(y);
    EXPECT_RGB(target, {1, y, 0xFF0000u}, {10, y, 0xFF00FFu});
  }
  for (int x = 0; x < 12; ++x) {
    EXPECT_RGB(target, {x, 0, B}, {x, 9, B});
  }
  EXPECT_RGB(target, {0, 5, B}, {11, 5, B});

  // All margins 0: one stretch of the whole source (6 -> 12 wide, 6 -> 6 high).
  target.Fill(kBack);
  nine.DrawMargins(target.DC(), {0, 0, 12, 6}, nine.Bounds(), 0, 0, 0, 0, false, false);
  EXPECT_RGB(target, {1, 0, 0x7F007Fu}, {2, 0, 0x00FF00u}, {11, 5, 0x333333u}, {0, 6, B});
}

TEST_P(TeBitmapDraw, DrawMarginsWithOneMargin) {
  // A left margin of two over a 6 x 4 source: the two left columns go
  // unscaled to the left edge, the other four stretch or tile over the rest;
  // the pieces without source (top, bottom, right, corners) draw nothing.
  const uint32_t column[6] = {0xFF100000, 0xFF200000, 0xFF300000, 0xFF400000, 0xFF500000, 0xFF600000};
  TTeBitmap six;
  six.SetSize(6, 4);
  for (int x = 0; x < 6; ++x) six.FillRect({x, 0, x + 1, 4}, column[x]);
  six.FillRect({3, 3, 4, 4}, kM);
  TTeBitmap target;
  target.SetSize(12, 6);
  for (bool stretch : {true, false}) {
    target.Fill(kBack);
    six.DrawMargins(target.DC(), {1, 1, 11, 5}, six.Bounds(), 2, 0, 0, 0, stretch, true);
    for (int y = 0; y < 6; ++y)
      for (int x = 0; x < 12; ++x) {
        uint32_t want = B;
        if (y >= 1 && y < 5 && x >= 1 && x < 11) {
          const int source = x < 3 ? x - 1 : stretch ? 2 + (x - 3) / 2 : 2 + (x - 3) % 4;
          want = source == 3 && y == 4 ? B : Rgb(column[source]);
        }
        EXPECT_EQ(Rgb(target.GetPixel(x, y)), want) << x << "," << y << (stretch ? " stretched" : " tiled");
      }
  }
}

TEST_P(TeBitmapDraw, DrawMarginsWiderThanTheDestination) {
  // Six columns of their own colour; left and right margins of three over a
  // destination two pixels wide. The centre and the top and bottom edges
  // have no source left; the side pieces and the corners keep their width
  // and reach past the destination on both sides, the right ones drawn last.
  const uint32_t column[6] = {0xFF100000, 0xFF200000, 0xFF300000, 0xFF400000, 0xFF500000, 0xFF600000};
  TTeBitmap six;
  six.SetSize(6, 6);
  for (int x = 0; x < 6; ++x) six.FillRect({x, 0, x + 1, 6}, column[x]);
  TTeBitmap target;
  target.SetSize(7, 7);
  target.Fill(kBack);
  six.DrawMargins(target.DC(), {2, 1, 4, 5}, six.Bounds(), 3, 1, 3, 1, true, true);
  for (int y = 0; y < 7; ++y)
    for (int x = 0; x < 7; ++x) {
      uint32_t want = B;
      if (y >= 1 && y < 5) {
        if (x >= 1 && x <= 3) want = Rgb(column[x + 2]);  // right pieces: columns 3..5 at x 1..3
        if (x == 4) want = Rgb(column[2]);                // left pieces: columns 0..2 at x 2..4
      }
      EXPECT_EQ(Rgb(target.GetPixel(x, y)), want) << x << "," << y;
    }
}

TEST_P(TeBitmapDraw, WindowAndCanvasTargets) {
  HWND wnd = CreateWindowExW(0, L"STATIC", L"", WS_POPUP | WS_VISIBLE, 0, 0, 40, 30, nullptr, nullptr,
                             GetModuleHandleW(nullptr), nullptr);
  ASSERT_NE(wnd, nullptr);
  UpdateWindow(wnd);
  test::PumpMessages();
  {
    TWindowDC dc(wnd);
    HBRUSH brush = CreateSolidBrush(RGB(0x10, 0x20, 0x30));
    RECT all{0, 0, 40, 30};
    ::FillRect(dc, &all, brush);
    DeleteObject(brush);
    src_.Draw(dc, 3, 4, true);
    src_.StretchDraw(dc, {10, 10, 18, 14}, src_.Bounds(), true);
    EXPECT_DC_PIXELS(dc, {3, 4, RGB(0x10, 0x20, 0x30)}, {4, 4, RGB(0, 0xFF, 0)}, {6, 5, RGB(0x12, 0x34, 0x56)},
                     {6, 4, RGB(0x10, 0x20, 0x30)}, {11, 11, RGB(0x10, 0x20, 0x30)}, {12, 11, RGB(0, 0xFF, 0)},
                     {17, 13, RGB(0x12, 0x34, 0x56)}, {18, 13, RGB(0x10, 0x20, 0x30)});
  }
  DestroyWindow(wnd);

  TBitmap canvasBitmap(6, 3);
  TCanvas& canvas = *canvasBitmap.Canvas();
  canvas.Brush()->SetColor(static_cast<TColor>(0x00302010));
  canvas.FillRect({0, 0, 6, 3});
  src_.Draw(canvas, 1, 1, true);
  src_.DrawRect(canvas, 0, 0, {2, 0, 3, 1}, false);
  const auto* row0 = static_cast<const uint32_t*>(canvasBitmap.ScanLine(0));
  const auto* row1 = static_cast<const uint32_t*>(canvasBitmap.ScanLine(1));
  const auto* row2 = static_cast<const uint32_t*>(canvasBitmap.ScanLine(2));
  EXPECT_EQ(Rgb(row0[0]), 0x0000FFu);
  EXPECT_EQ(Rgb(row0[1]), B);
  EXPECT_EQ(Rgb(row1[1]), B);
  EXPECT_EQ(Rgb(row1[2]), 0x00FF00u);
  EXPECT_EQ(Rgb(row1[4]), B);
  EXPECT_EQ(Rgb(row2[4]), 0x123456u);
  EXPECT_EQ(Rgb(row2[5]), B);
}

INSTANTIATE_TEST_SUITE_P(Paths, TeBitmapDraw, ::testing::Values(false, true),
                         [](const auto& info) { return info.param ? std::string("OwnKeyedCopy") : "TransparentBlt"; });

TEST(TeBitmapMsImg32, LoaderAndForcedFallback) {
  LoadMsImg32();
  ASSERT_TRUE(TransparentBltAvailable());
  ASSERT_TRUE(AlphaBltAvailable());
  FreeMsImg32();
  // Released, the next question loads it again.
  EXPECT_TRUE(TransparentBltAvailable());

  TTeBitmap src, dst;
  src.SetSize(2, 1);
  dst.SetSize(2, 1);
  // The marker's colour with an opaque alpha byte: the engine's keyed copy
  // compares red, green and blue only and skips it; Wine's TransparentBlt
  // compares the alpha byte too and draws it, which tells the paths apart.
  Put(src, {0xFF7F007F, 0xFF00FF00});
  {
    TMsImg32Fallback own;
    EXPECT_FALSE(TransparentBltAvailable());
    EXPECT_FALSE(AlphaBltAvailable());
    EXPECT_FALSE(PlatformAlphaBlend(dst.DC(), 0, 0, 2, 1, src.DC(), 0, 0, 2, 1, 255, false));
    {
      TMsImg32Fallback nested;
      EXPECT_FALSE(TransparentBltAvailable());
    }
    EXPECT_FALSE(TransparentBltAvailable());
    dst.Fill(kBack);
    src.Draw(dst.DC(), 0, 0, true);
    EXPECT_RGB(dst, {0, 0, B}, {1, 0, 0x00FF00u});
  }
  EXPECT_TRUE(TransparentBltAvailable());
  dst.Fill(kBack);
  src.Draw(dst.DC(), 0, 0, true);
  EXPECT_RGB(dst, {0, 0, 0x7F007Fu}, {1, 0, 0x00FF00u});
}

// --- copies between bitmaps -------------------------------------------------------

TEST(TeBitmapCopy, PlainAndAlphaCopies) {
  TTeBitmap src;
  src.SetSize(3, 1);
  Put(src, {0x00FFFFFF, 0x80FFFFFF, 0xFF0000FF});
  TTeBitmap dst;
  dst.SetSize(4, 2);
  dst.Fill(0xFF000000u);

  src.CopyRectTo(dst, 1, 1, src.Bounds());
  EXPECT_EQ(Dump(dst), (std::vector<uint32_t>{0xFF000000, 0xFF000000, 0xFF000000, 0xFF000000,  //
                                              0xFF000000, 0x00FFFFFF, 0x80FFFFFF, 0xFF0000FF}));
  dst.Fill(0xFF000000u);
  src.SetAlphaBlend(true);
  src.CopyRectTo(dst, 1, 1, src.Bounds());
  src.CopyRectTo(dst, 1, 0, {-1, 0, 2, 1});  // the column left of the source is skipped
  EXPECT_EQ(Dump(dst), (std::vector<uint32_t>{0xFF000000, 0xFF000000, 0xFF000000, 0xBF808080,  //
                                              0xFF000000, 0xFF000000, 0xBF808080, 0xFF0000FF}));
  src.CopyRectTo(dst, 0, 5, src.Bounds());  // below the target: nothing
  src.CopyRectTo(dst, 0, -1, src.Bounds());
  EXPECT_EQ(dst.GetPixel(0, 0), 0xFF000000u);

  // Stretched with alpha: every source pixel twice.
  TTeBitmap wide;
  wide.SetSize(6, 1);
  wide.Fill(0xFF000000u);
  src.StretchCopyTo(wide, {0, 0, 6, 1}, src.Bounds());
  EXPECT_EQ(Dump(wide), (std::vector<uint32_t>{0xFF000000, 0xFF000000, 0xBF808080, 0xBF808080, 0xFF0000FF,
                                               0xFF0000FF}));
  // Equal sizes go through CopyRectTo.
  wide.Fill(0xFF000000u);
  src.StretchCopyTo(wide, {3, 0, 6, 1}, src.Bounds());
  EXPECT_EQ(Dump(wide), (std::vector<uint32_t>{0xFF000000, 0xFF000000, 0xFF000000, 0xFF000000, 0xBF808080,
                                               0xFF0000FF}));
  // Without alpha a stretching block transfer.
  src.SetAlphaBlend(false);
  wide.Fill(0xFF000000u);
  src.StretchCopyTo(wide, {0, 0, 6, 1}, src.Bounds());
  EXPECT_RGB(wide, {0, 0, 0xFFFFFFu}, {3, 0, 0xFFFFFFu}, {5, 0, 0x0000FFu});
}

TEST(TeBitmapCopy, UnderlayMakesTranslucentPixelsOpaque) {
  TTeBitmap back;
  back.SetSize(4, 1);
  Put(back, {0xFF000000, 0xFF000000, 0xFF112233, 0xFF445566});
  TTeBitmap top;
  top.SetSize(3, 2);
  Put(top, {0x00ABCDEF, 0x80FFFFFF, 0xFF0000FF,  //
            0x00ABCDEF, 0x00ABCDEF, 0x00ABCDEF});
  top.UnderlayFrom(back, 0, 0, {1, 0, 9, 1});
  EXPECT_EQ(Dump(top), (std::vector<uint32_t>{0xFF000000, BlendPixel(0x80FFFFFF, 0xFF112233), 0xFF0000FF,  //
                                              0x00ABCDEF, 0x00ABCDEF, 0x00ABCDEF}));
  // Source pixels that fall past the end of a row do not wrap to the next.
  top.UnderlayFrom(back, 2, 0, back.Bounds());
  EXPECT_ARGB(top, {2, 0, 0xFF0000FFu}, {0, 1, 0x00ABCDEFu});
  top.UnderlayFrom(back, 1, 1, back.Bounds());
  EXPECT_ARGB(top, {0, 1, 0x00ABCDEFu}, {1, 1, 0xFF000000u}, {2, 1, 0xFF000000u});
}

TEST(TeBitmapCopy, CopiesWithAnEmptyBitmapDoNothing) {
  TTeBitmap empty;
  TTeBitmap full;
  full.SetSize(3, 2);
  full.Fill(0x80102030u);
  const std::vector<uint32_t> before = Dump(full);
  for (bool alpha : {false, true}) {
    empty.SetAlphaBlend(alpha);
    full.SetAlphaBlend(alpha);
    empty.CopyRectTo(full, 0, 0, {0, 0, 3, 2});
    empty.StretchCopyTo(full, {0, 0, 3, 2}, {0, 0, 1, 1});
    full.CopyRectTo(empty, 0, 0, full.Bounds());
    full.StretchCopyTo(empty, {0, 0, 6, 4}, full.Bounds());
  }
  full.UnderlayFrom(empty, 0, 0, {0, 0, 3, 2});
  empty.UnderlayFrom(full, 0, 0, full.Bounds());
  empty.ApplyHueShift(40);
  empty.SetAlphaRect(7, {0, 0, 5, 5});
  EXPECT_EQ(Dump(full), before);
  EXPECT_TRUE(empty.Empty());
  EXPECT_EQ(empty.GetPixel(0, 0), 0xFF000000u);
}

// --- assignment ---------------------------------------------------------------------

TEST(TeBitmapAssign, FromAndToFrameworkBitmaps) {
  TBitmap palettised(3, 2, pf8bit);
  std::vector<TColor> colours(256, static_cast<TColor>(0));
  colours[1] = static_cast<TColor>(0x00336699);  // 0xBBGGRR
  palettised.SetPaletteColors(colours);
  static_cast<uint8_t*>(palettised.ScanLine(1))[2] = 1;

  TTeBitmap b;
  b.Assign(&palettised);
  ASSERT_EQ(b.Width(), 3);
  ASSERT_EQ(b.Height(), 2);
  EXPECT_ARGB(b, {2, 1, 0xFF996633u}, {0, 0, 0xFF000000u});

  TPicture picture;
  picture.Assign(&b);
  ASSERT_NE(picture.Graphic(), nullptr);
  EXPECT_EQ(picture.Width(), 3);
  EXPECT_EQ(picture.Height(), 2);
  TTeBitmap back;
  back.Assign(&picture);
  EXPECT_EQ(Dump(back), Dump(b));

  TBitmap plain;
  plain.Assign(&b);
  ASSERT_EQ(plain.Width(), 3);
  plain.SetPixelFormat(pf32bit);
  EXPECT_EQ(Rgb(static_cast<const uint32_t*>(plain.ScanLine(1))[2]), 0x996633u);

  TTeBitmap copy;
  b.FillRect({0, 0, 1, 1}, 0x12345678u);
  copy.Assign(&b);
  EXPECT_EQ(Dump(copy), Dump(b));
  EXPECT_EQ(copy.GetPixel(0, 0), 0x12345678u);

  TFont font;
  EXPECT_THROW(b.Assign(&font), EConvertError);

  // Any other target is offered a framework bitmap with the picture, and
  // answers for itself: an icon takes no bitmap.
  TIcon icon;
  try {
    icon.Assign(&b);
    ADD_FAILURE() << "an icon took a bitmap";
  } catch (const EConvertError& e) {
    EXPECT_EQ(e.Message(), "Cannot assign a TBitmap to a TIcon");
  }
}

TEST(TeBitmapAssign, OtherGraphicsDrawThemselvesIn) {
  // A 16 x 16 icon, white above and black below, drawn without a mask.
  std::vector<uint8_t> andBits(16 * 2, 0x00), xorBits(16 * 2, 0x00);
  std::fill(xorBits.begin(), xorBits.begin() + 16, 0xFF);
  TIcon icon;
  icon.SetHandle(CreateIcon(GetModuleHandleW(nullptr), 16, 16, 1, 1, andBits.data(), xorBits.data()));
  ASSERT_FALSE(icon.Empty());
  TTeBitmap b;
  b.SetSize(3, 3);
  b.Assign(&icon);
  ASSERT_EQ(b.Width(), 16);
  ASSERT_EQ(b.Height(), 16);
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 16; ++x) ASSERT_EQ(b.GetPixel(x, y), y < 8 ? 0xFFFFFFFFu : 0xFF000000u) << x << "," << y;

  TPicture picture;
  picture.Assign(&icon);
  TTeBitmap fromPicture;
  fromPicture.Assign(&picture);
  EXPECT_EQ(Dump(fromPicture), Dump(b));
}

// --- skin images ----------------------------------------------------------------------

TEST(TeBitmapPcx, LoadsAResourceAndRefusesOthers) {
  TTeBitmap b;
  int changes = 0;
  b.OnChange = [&](TObject*) { ++changes; };
  b.LoadFromPcxResource(GetModuleHandleW(nullptr), "TINYPCX");
  ASSERT_EQ(b.Width(), 6);
  ASSERT_EQ(b.Height(), 4);
  EXPECT_EQ(changes, 1);
  const uint32_t m = 0xFFFF00FF, r = 0xFFFF0000, c = 0xFF0080FF, d = 0xFF0A141E, e = 0xFF010203;
  EXPECT_EQ(Dump(b), (std::vector<uint32_t>{m, m, m, r, r, c,  //
                                            m, r, c, d, d, d,  //
                                            d, d, d, d, d, d,  //
                                            e, c, c, c, c, m}));
  b.MakeTransparent(b.GetPixel(0, 0));
  EXPECT_ARGB(b, {2, 0, kM}, {5, 3, kM}, {3, 0, r});

  // Not a PCX image: the bitmap keeps what it had.
  const std::vector<uint8_t> notPcx(200, 0x42);
  TMemoryStream stream{std::span<const uint8_t>(notPcx)};
  b.LoadFromPcx(stream);
  EXPECT_EQ(b.Width(), 6);
  EXPECT_EQ(b.GetPixel(3, 0), r);

  // A damaged one raises and keeps it too.
  std::vector<uint8_t> truncated(60, 0);
  truncated[0] = 10;
  TMemoryStream shortStream{std::span<const uint8_t>(truncated)};
  EXPECT_THROW(b.LoadFromPcx(shortStream), EReadError);
  EXPECT_EQ(b.GetPixel(3, 0), r);

  TTeBitmap missing;
  try {
    missing.LoadFromPcxResource(GetModuleHandleW(nullptr), "NO_SUCH_SKIN");
    ADD_FAILURE() << "no error";
  } catch (const EResNotFound& e) {
    EXPECT_NE(e.Message().find("NO_SUCH_SKIN"), std::string::npos);
  }
  EXPECT_TRUE(missing.Empty());
}

TEST(TeBitmapPcx, SkinLoadKeysAndTintsThroughThePalette) {
  const HINSTANCE module = GetModuleHandleW(nullptr);
  const uint32_t r = 0xFFFF0000, c = 0xFF0080FF, d = 0xFF0A141E, e = 0xFF010203;
  // Keyed by the top-left magenta, or by the bottom-left near-black.
  TTeBitmap top;
  top.LoadFromPcxResource(module, "TINYPCX", {.key = true});
  EXPECT_EQ(Dump(top), (std::vector<uint32_t>{kM, kM, kM, r, r, c,  //
                                              kM, r, c, d, d, d,    //
                                              d, d, d, d, d, d,     //
                                              e, c, c, c, c, kM}));
  TTeBitmap bottom;
  bottom.LoadFromPcxResource(module, "TINYPCX", {.key = true, .keyBottomLeft = true});
  // The key is the bottom-left 0x010203; 0x0A141E is more than 5 away in
  // every channel and stays, and so does the magenta.
  EXPECT_ARGB(bottom, {0, 3, kM}, {0, 0, 0xFFFF00FFu}, {3, 1, d});

  // Tinted: exactly what the operations one after the other give, from a
  // resource read in place and from a stream read into memory alike.
  for (auto [hue, brightness] : {std::pair{40, 0}, {0, -30}, {-85, 25}}) {
    TTeBitmap stepwise;
    stepwise.LoadFromPcxResource(module, "TINYPCX");
    stepwise.MakeTransparent(stepwise.GetPixel(0, 0));
    stepwise.ApplyHueShift(hue);
    stepwise.ApplyBrightnessShift(brightness);
    TTeBitmap fromResource;
    fromResource.LoadFromPcxResource(module, "TINYPCX", {true, false, hue, brightness});
    EXPECT_EQ(Dump(fromResource), Dump(stepwise)) << hue << " " << brightness;
    TResourceStream resource(module, "TINYPCX");
    std::vector<uint8_t> bytes(static_cast<size_t>(resource.Size()));
    resource.ReadBuffer(bytes.data(), bytes.size());
    TMemoryStream copy{std::span<const uint8_t>(bytes)};
    TTeBitmap fromCopy;
    fromCopy.LoadFromPcx(copy, {true, false, hue, brightness});
    EXPECT_EQ(Dump(fromCopy), Dump(stepwise));
    EXPECT_EQ(copy.Position(), copy.Size()) << "the whole image was read";
  }

  // A second load into a bitmap of the same size keeps its handle and
  // replaces every pixel.
  HBITMAP handle = top.Handle();
  top.Fill(0x12345678u);
  top.LoadFromPcxResource(module, "TINYPCX", {.key = true});
  EXPECT_EQ(top.Handle(), handle);
  EXPECT_ARGB(top, {3, 0, r}, {0, 0, kM});
}

}  // namespace
}  // namespace hv
