#include <gtest/gtest.h>

#include <set>
#include <string>

#include "theme/core/colors.h"
#include "theme/core/tebitmap.h"
#include "theme/core/themelibrary.h"
#include "theme/styles/allstyles.h"
#include "theme/styles/highlight.h"
#include "tools/gallery/gallery.h"

namespace hv {
namespace {

// The cells' checkerboard, which shows wherever a style paints nothing.
bool Background(uint32_t rgb) { return rgb == 0xF0F0F0 || rgb == 0xD8D8D8; }

class HighlightGalleryTest : public ::testing::TestWithParam<const char*> {
 protected:
  static void SetUpTestSuite() { StartThemeLibrary({.registerStyles = &RegisterAllStyles}); }
  static void TearDownTestSuite() { FinishThemeLibrary(); }
};

// Elements these styles leave unpainted by design: speed buttons (and the
// spin buttons painted as speed buttons) that are disabled, at rest and
// flat, or in states no caller passes for them.
const std::set<std::string> kBlankByDesign = {
    "DrawSpeedButton raised: hot",           "DrawSpeedButton raised: disabled",
    "DrawSpeedButton raised: state 4",       "DrawSpeedButton raised: state 5",
    "DrawSpeedButton raised, down: hot",     "DrawSpeedButton raised, down: disabled",
    "DrawSpeedButton raised, down: state 4", "DrawSpeedButton raised, down: state 5",
    "DrawSpeedButton flat: normal",          "DrawSpeedButton flat: disabled",
    "DrawSpeedButton flat: state 4",         "DrawSpeedButton flat: state 5",
    "DrawSpeedButton flat, down: disabled",  "DrawSpeedButton flat, down: state 4",
    "DrawSpeedButton flat, down: state 5",   "DrawSpinButton: disabled",
};

TEST_P(HighlightGalleryTest, EveryCellIsPaintedAndNoMarkerShows) {
  TTeThemeClass themeClass = FindThemeClass(GetParam());
  ASSERT_NE(themeClass, nullptr);
  std::unique_ptr<TTeTheme> theme = themeClass->Create();
  const TGallerySheet sheet = PaintStyleSheet(*theme, GetParam());
  const TTeBitmap& bitmap = *sheet.bitmap;
  for (int y = 0; y < bitmap.Height(); ++y)
    for (int x = 0; x < bitmap.Width(); ++x)
      ASSERT_NE(bitmap.GetPixel(x, y) & 0xFFFFFFu, kTransparentMarker & 0xFFFFFFu) << x << "," << y;
  ASSERT_GT(sheet.cells.size(), 200u);
  for (const TGalleryCell& cell : sheet.cells) {
    bool painted = false;
    for (int y = cell.rect.top; y < cell.rect.bottom && !painted; ++y)
      for (int x = cell.rect.left; x < cell.rect.right && !painted; ++x)
        painted = !Background(bitmap.GetPixel(x, y) & 0xFFFFFFu);
    EXPECT_EQ(painted, !kBlankByDesign.contains(cell.name)) << cell.name;
  }
}

INSTANTIATE_TEST_SUITE_P(BothStyles, HighlightGalleryTest, ::testing::Values("Highlight", "Lines"));

}  // namespace
}  // namespace hv
