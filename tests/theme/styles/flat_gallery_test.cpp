// The flat styles' gallery sheets: no marker colour anywhere, and every
// cell painted except those where the style paints nothing on purpose.

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "tests/theme/styles/flat_test_support.h"
#include "theme/core/tebitmap.h"
#include "theme/core/themelibrary.h"
#include "theme/styles/flat.h"
#include "tools/gallery/gallery.h"

namespace hv {
namespace {

using namespace test;

class FlatGalleryTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { StartThemeLibrary({.registerStyles = &RegisterFlatStyles}); }
  static void TearDownTestSuite() { FinishThemeLibrary(); }

  // The cells that still show nothing but the sheet's checkerboard.
  static std::set<std::string> BlankCells(const TGallerySheet& sheet) {
    std::set<std::string> blank;
    for (const TGalleryCell& cell : sheet.cells) {
      bool painted = false;
      for (int y = cell.rect.top; y < cell.rect.bottom && !painted; ++y)
        for (int x = cell.rect.left; x < cell.rect.right && !painted; ++x) {
          const uint32_t pixel = sheet.bitmap->GetPixel(x, y) & 0xFFFFFFu;
          painted = pixel != 0xF0F0F0u && pixel != 0xD8D8D8u;
        }
      if (!painted) blank.insert(cell.name);
    }
    return blank;
  }
  static int MarkerPixels(const TGallerySheet& sheet) {
    int n = 0;
    for (int y = 0; y < sheet.bitmap->Height(); ++y)
      for (int x = 0; x < sheet.bitmap->Width(); ++x) n += (sheet.bitmap->GetPixel(x, y) & 0xFFFFFFu) == 0x7F007Fu;
    return n;
  }
  static TColor CellColor(const TGallerySheet& sheet, const char* name, int dx, int dy) {
    const TGalleryCell* cell = sheet.Find(name);
    if (!cell) return static_cast<TColor>(-1);
    return ARGBToColor(sheet.bitmap->GetPixel(cell->rect.left + dx, cell->rect.top + dy));
  }
};

// Disabled push buttons (Flat and Cool Flat), disabled speed buttons and
// raised ones in the states only flat buttons take.
const std::set<std::string> kQuietSpeedCells = {"DrawSpeedButton raised: hot",
                                                "DrawSpeedButton raised: disabled",
                                                "DrawSpeedButton raised: state 4",
                                                "DrawSpeedButton raised: state 5",
                                                "DrawSpeedButton raised, down: hot",
                                                "DrawSpeedButton raised, down: disabled",
                                                "DrawSpeedButton raised, down: state 4",
                                                "DrawSpeedButton raised, down: state 5",
                                                "DrawSpeedButton flat: disabled",
                                                "DrawSpeedButton flat, down: disabled",
                                                "DrawSpinButton: disabled"};

TEST_F(FlatGalleryTest, EverySheetIsFilledWithoutMarkerColour) {
  for (TTeThemeClass themeClass :
       {ThemeClassOf<TTeThemeFlat>(), ThemeClassOf<TTeThemeCoolFlat>(), ThemeClassOf<TTeThemeOfficeXP>()}) {
    std::unique_ptr<TTeTheme> theme = themeClass->Create();
    const TGallerySheet sheet = PaintStyleSheet(*theme, themeClass->GetName());
    const std::string name = themeClass->GetName();
    EXPECT_EQ(MarkerPixels(sheet), 0) << name;
    std::set<std::string> expected = kQuietSpeedCells;
    if (themeClass != ThemeClassOf<TTeThemeOfficeXP>()) expected.insert("DrawButton: disabled");
    EXPECT_EQ(BlankCells(sheet), expected) << name;
  }
}

TEST_F(FlatGalleryTest, FrameCellsShowTheCaption) {
  TTeThemeFlat flat;
  const TGallerySheet flatSheet = PaintStyleSheet(flat, "Flat");
  EXPECT_EQ(CellColor(flatSheet, "DrawFormFrame: standard, active", 3, 10), Sys(clActiveCaption));
  EXPECT_EQ(CellColor(flatSheet, "DrawFormFrame: standard, inactive", 3, 10), Sys(clInactiveCaption));
  TTeThemeCoolFlat cool;
  const TGallerySheet coolSheet = PaintStyleSheet(cool, "Cool Flat");
  EXPECT_EQ(CellColor(coolSheet, "DrawFormFrame: standard, active", 60, 10), Rgb(0xF7DE9C));
  EXPECT_EQ(CellColor(coolSheet, "DrawFormFrame: tool window, active", 0, 0), Rgb(0xA09683));
}

}  // namespace
}  // namespace hv
