#include "tools/gallery/gallery.h"

#include <gtest/gtest.h>

#include "theme/core/colors.h"
#include "theme/core/tebitmap.h"
#include "theme/core/themelibrary.h"
#include "theme/styles/allstyles.h"
#include "theme/styles/luna.h"

namespace hv {
namespace {

class GalleryTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    StartThemeLibrary({.registerStyles = &RegisterAllStyles});
    theme_ = new TTeThemeMetalLuna;
    sheet_ = new TGallerySheet(PaintStyleSheet(*theme_, "MetalLuna"));
  }
  static void TearDownTestSuite() {
    delete sheet_;
    delete theme_;
    FinishThemeLibrary();
  }

  static const TGalleryCell& Cell(const char* name) {
    const TGalleryCell* cell = sheet_->Find(name);
    if (!cell) throw std::runtime_error(std::string("no cell ") + name);
    return *cell;
  }
  static std::string CellAt(int x, int y) {
    for (const TGalleryCell& cell : sheet_->cells)
      if (cell.rect.Contains({x, y})) return cell.name;
    return "no cell";
  }
  static uint32_t SheetPixel(const TGalleryCell& cell, int dx, int dy) {
    return sheet_->bitmap->GetPixel(cell.rect.left + dx, cell.rect.top + dy) & 0xFFFFFFu;
  }
  // Every pixel of the cell's top-left w x h against the skin from (sx, sy);
  // keyed skin pixels are skipped, as they show the cell's background.
  static int Mismatches(const TGalleryCell& cell, const TTeBitmap& skin, int sx, int sy, int w, int h) {
    int wrong = 0;
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) {
        const uint32_t source = skin.GetPixel(sx + x, sy + y);
        if (source != kTransparentMarker && SheetPixel(cell, x, y) != (source & 0xFFFFFFu)) ++wrong;
      }
    return wrong;
  }

  static TTeThemeMetalLuna* theme_;
  static TGallerySheet* sheet_;
};
TTeThemeMetalLuna* GalleryTest::theme_ = nullptr;
TGallerySheet* GalleryTest::sheet_ = nullptr;

TEST_F(GalleryTest, CellsLieOnTheSheetWithoutOverlapping) {
  const TTeBitmap& bitmap = *sheet_->bitmap;
  ASSERT_GT(sheet_->cells.size(), 200u);
  for (size_t i = 0; i < sheet_->cells.size(); ++i) {
    const TRect& r = sheet_->cells[i].rect;
    ASSERT_TRUE(r.left >= 0 && r.top >= 0 && r.right <= bitmap.Width() && r.bottom <= bitmap.Height())
        << sheet_->cells[i].name;
    for (size_t j = 0; j < i; ++j)
      ASSERT_TRUE(Intersect(r, sheet_->cells[j].rect).IsEmpty())
          << sheet_->cells[i].name << " / " << sheet_->cells[j].name;
  }
}

TEST_F(GalleryTest, NoCellShowsTheKeyColour) {
  // The raised button's picture for the states only flat buttons take is an
  // outline on the key colour, and the frame's rounded corners have key
  // pixels outside the curve: all of them are keyed.
  const TTeBitmap& bitmap = *sheet_->bitmap;
  int marker = 0;
  for (int y = 0; y < bitmap.Height(); ++y)
    for (int x = 0; x < bitmap.Width(); ++x)
      if ((bitmap.GetPixel(x, y) & 0xFFFFFFu) == 0x7F007Fu) {
        if (marker++ == 0) ADD_FAILURE() << "the key colour at " << x << "," << y << " in " << CellAt(x, y);
      }
  EXPECT_EQ(marker, 0);
  const TGalleryCell& other = Cell("DrawSpeedButton raised: state 4");
  int painted = 0;
  for (int y = 0; y < other.rect.Height(); ++y)
    for (int x = 0; x < other.rect.Width(); ++x) {
      const uint32_t pixel = SheetPixel(other, x, y);
      painted += pixel != 0xF0F0F0u && pixel != 0xD8D8D8u;
    }
  EXPECT_GT(painted, 0) << "the outline is painted over the cell's checkerboard";
}

TEST_F(GalleryTest, MetalLunaCellsShowTheSkinPictures) {
  const TTeBitmap& primary = theme_->PrimarySkin();
  const TTeBitmap& secondary = theme_->SecondarySkin();
  EXPECT_EQ(Mismatches(Cell("DrawCaptionButton close: hot"), primary, 21, 70, 21, 21), 0);
  EXPECT_EQ(Mismatches(Cell("DrawCaptionButton close: hot+pressed"), primary, 42, 70, 21, 21), 0);
  EXPECT_EQ(Mismatches(Cell("DrawCaptionButton minimize: pressed, inactive"), secondary, 42, 160, 21, 21), 0);
  EXPECT_EQ(Mismatches(Cell("DrawCaptionButton tool-window close: hot"), primary, 80, 70, 14, 14), 0);
  EXPECT_EQ(Mismatches(Cell("DrawFormFrame: standard, active"), primary, 0, 0, 10, 29), 0);
  EXPECT_EQ(Mismatches(Cell("DrawFormFrame: tool window, inactive"), secondary, 66, 0, 10, 19), 0);
  EXPECT_EQ(Mismatches(Cell("DrawCheckBox checked: hot"), primary, 171, 118 + 64, 16, 16), 0);
  EXPECT_EQ(Mismatches(Cell("DrawRadioButton unchecked: disabled"), primary, 152, 150, 16, 16), 0);
  EXPECT_EQ(Mismatches(Cell("DrawGlyphButton cross: pressed"), primary, 168, 66, 17, 17), 0);

  // A flat speed button at rest paints nothing: the cell keeps its checkerboard.
  const TGalleryCell& rest = Cell("DrawSpeedButton flat: normal");
  for (int y = 0; y < rest.rect.Height(); ++y)
    for (int x = 0; x < rest.rect.Width(); ++x) {
      const uint32_t pixel = SheetPixel(rest, x, y);
      ASSERT_TRUE(pixel == 0xF0F0F0u || pixel == 0xD8D8D8u) << x << "," << y;
    }
  // Blocks of the selection colour on the progress bar.
  const TGalleryCell& bar = Cell("DrawProgressBar (on its frame): horizontal blocks");
  EXPECT_EQ(SheetPixel(bar, 2, 10), static_cast<uint32_t>(0x5A5A7B));
}

}  // namespace
}  // namespace hv
