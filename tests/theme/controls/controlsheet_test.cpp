// The controls sheet, painted by real controls through Metal Luna: every
// cell lies on the sheet, no cell shows the transparent marker, and where
// the style paints a state differently the cells differ at known points.

#include "tools/gallery/controlsheet.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "framework/graphics.h"
#include "theme/core/tebitmap.h"
#include "theme/core/themelibrary.h"
#include "theme/frame/menuresources.h"
#include "theme/styles/luna.h"

namespace hv {
namespace {

class ControlSheetTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    StartThemeLibrary({.registerClasses = &RegisterFrameClasses, .registerStyles = &RegisterSkinnedStyles});
    sheet_ = new TGallerySheet(PaintControlSheet(ThemeClassOf<TTeThemeMetalLuna>(), ControlSheetRows()));
  }
  static void TearDownTestSuite() {
    delete sheet_;
    FinishThemeLibrary();
  }
  static const TGalleryCell& Cell(const std::string& name) {
    const TGalleryCell* cell = sheet_->Find(name);
    if (!cell) throw std::runtime_error("no cell " + name);
    return *cell;
  }
  static uint32_t At(const std::string& name, int dx, int dy) {
    const TGalleryCell& cell = Cell(name);
    return sheet_->bitmap->GetPixel(cell.rect.left + dx, cell.rect.top + dy) & 0xFFFFFFu;
  }
  // How many pixels two cells of the same size differ in.
  static int Differing(const std::string& a, const std::string& b) {
    const TGalleryCell& first = Cell(a);
    const TGalleryCell& second = Cell(b);
    int count = 0;
    for (int y = 0; y < first.rect.Height(); ++y)
      for (int x = 0; x < first.rect.Width(); ++x)
        if (sheet_->bitmap->GetPixel(first.rect.left + x, first.rect.top + y) !=
            sheet_->bitmap->GetPixel(second.rect.left + x, second.rect.top + y))
          ++count;
    return count;
  }
  static TGallerySheet* sheet_;
};
TGallerySheet* ControlSheetTest::sheet_ = nullptr;

TEST_F(ControlSheetTest, EveryCellIsOnTheSheetAndNoneShowsTheMarker) {
  const TTeBitmap& bitmap = *sheet_->bitmap;
  ASSERT_GE(sheet_->cells.size(), 53u);
  for (const TGalleryCell& cell : sheet_->cells) {
    ASSERT_TRUE(cell.rect.left >= 0 && cell.rect.top >= 0 && cell.rect.right <= bitmap.Width() &&
                cell.rect.bottom <= bitmap.Height())
        << cell.name;
    int marker = 0;
    for (int y = cell.rect.top; y < cell.rect.bottom; ++y)
      for (int x = cell.rect.left; x < cell.rect.right; ++x)
        if ((bitmap.GetPixel(x, y) & 0xFFFFFFu) == 0x7F007Fu) ++marker;
    EXPECT_EQ(marker, 0) << cell.name;
  }
}

TEST_F(ControlSheetTest, StatesThatTheStylePaintsDifferentlyDiffer) {
  // A hot and an open menu-bar item show the selection; the bar at rest shows none.
  EXPECT_GT(Differing("TTeThemeMenuBar normal", "TTeThemeMenuBar hot item"), 100);
  EXPECT_GT(Differing("TTeThemeMenuBar normal", "TTeThemeMenuBar open item"), 100);
  // The popup levels: the style's frame at the first level's top-left corner.
  EXPECT_NE(At("TTeThemePopupMenu open submenu", 0, 0), 0xE8D8C8u);
  // A flat button shows nothing at rest and its face when hot or pressed.
  EXPECT_NE(At("TTeThemeSpeedButton, flat normal", 3, 12), At("TTeThemeSpeedButton, flat hot", 3, 12));
  EXPECT_NE(At("TTeThemeSpeedButton, flat hot", 3, 12), At("TTeThemeSpeedButton, flat pressed", 3, 12));
  EXPECT_NE(At("TTeThemeSpeedButton normal", 3, 12), At("TTeThemeSpeedButton pressed", 3, 12));
  // The splitter's hot face.
  EXPECT_NE(At("TTeThemeSplitter normal", 6, 30), At("TTeThemeSplitter hot", 6, 30));
  EXPECT_EQ(At("TTeThemeSplitter normal", 6, 30), At("TTeThemeSplitter beveled", 6, 30));
  // An opaque divider shows its colour; a see-through one its host.
  EXPECT_NE(At("TTeSpeedDivider see-through", 4, 12), At("TTeSpeedDivider opaque", 4, 12));
  // The status bar's panels end in the style's separator (the panel from 2
  // to 52 of the bar).
  int separator = 0;
  for (int x = 49; x < 52; ++x)
    separator += At("TTeThemeStatusBar two panels", x, 11) != At("TTeThemeStatusBar two panels", 45, 11);
  EXPECT_GT(separator, 0);
  // The marks of check boxes and radio buttons, in the left 16 pixels.
  auto differing = [](const std::string& a, const std::string& b) {
    int n = 0;
    for (int y = 0; y < 20; ++y)
      for (int x = 0; x < 16; ++x) n += At(a, x, y) != At(b, x, y);
    return n;
  };
  EXPECT_GT(differing("TTeThemeCheckBox normal", "TTeThemeCheckBox checked"), 0);
  // The edit box's selection is filled in the highlight colour along the
  // top row of its text (5 pixels in: border 3, two bevels); nothing is
  // filled without one.
  const uint32_t bgr = static_cast<uint32_t>(ColorToRGB(clHighlight));
  const uint32_t highlight = ((bgr & 0xFF) << 16) | (bgr & 0xFF00) | ((bgr >> 16) & 0xFF);
  auto highlighted = [&](const std::string& cell) {
    int n = 0;
    for (int x = 5; x < 116; ++x) n += At(cell, x, 5) == highlight;
    return n;
  };
  EXPECT_GT(highlighted("TTeCustomEdit selection"), 4);
  EXPECT_EQ(highlighted("TTeCustomEdit normal"), 0);
  EXPECT_GT(differing("TTeThemeCheckBox normal", "TTeThemeCheckBox hot"), 0);
  EXPECT_GT(differing("TTeThemeRadioButton normal", "TTeThemeRadioButton checked"), 0);
  // The spin button's up half pressed, the down half as it was.
  EXPECT_NE(At("TTeThemeSpinButton normal", 2, 2), At("TTeThemeSpinButton up pressed", 2, 2));
  EXPECT_EQ(At("TTeThemeSpinButton normal", 2, 27), At("TTeThemeSpinButton up pressed", 2, 27));
  EXPECT_NE(At("TTeThemeSpinButton normal", 2, 27), At("TTeThemeSpinButton down pressed", 2, 27));
  // Between the halves the host shows; without the strip the halves touch.
  EXPECT_NE(At("TTeThemeSpinButton normal", 8, 15), At("TTeThemeSpinButton no strip", 8, 15));
  // A pressed push button's face, above its caption; an opaque label's colour past its text.
  EXPECT_NE(At("TTeCustomButton normal", 40, 3), At("TTeCustomButton pressed", 40, 3));
  EXPECT_NE(At("TTeCustomLabel left", 105, 15), At("TTeCustomLabel opaque", 105, 15));
  // The grip in the bar's corner.
  EXPECT_NE(At("TTeThemeStatusBar two panels", 297, 18), At("TTeThemeStatusBar with size grip", 297, 18));
}

}  // namespace
}  // namespace hv
