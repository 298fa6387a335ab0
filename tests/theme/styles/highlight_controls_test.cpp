#include <gtest/gtest.h>
#include <windows.h>

#include <memory>

#include "framework/control.h"
#include "tests/theme/styles/highlight_test_support.h"
#include "theme/core/colors.h"
#include "theme/core/rects.h"
#include "theme/core/themeitems.h"
#include "theme/core/themelibrary.h"
#include "theme/styles/highlight.h"
#include "theme/styles/highlight_tables.h"

namespace hv {
namespace {

using test::AllBack;
using test::CountOf;
using test::HighlightTest;
using test::kBack;
using test::Rgb;
using test::TSurface;

// --- buttons ----------------------------------------------------------------------------

TEST_F(HighlightTest, PushButtonInEveryState) {
  struct TCase {
    int state;
    TTeThemeColor face;
  };
  for (const TCase& c : {TCase{0, ktcFace}, TCase{1, ktcHotFace}, TCase{4, ktcSelection}, TCase{5, ktcSelection},
                         TCase{6, ktcFace}, TCase{255, ktcFace}}) {
    TSurface s(40, 20, kBack);
    theme_.DrawButton(s.Canvas(), 40, 20, static_cast<uint8_t>(c.state));
    SCOPED_TRACE(c.state);
    EXPECT_SURFACE(s, {0, 10, C(ktcFrame)}, {1, 10, Light(c.face, 30)}, {20, 1, Light(c.face, 30)},
                   {38, 10, Dark(c.face, 30)}, {38, 1, Dark(c.face, 30)}, {20, 18, Dark(c.face, 30)},
                   {38, 18, C(ktcFrame), "the corner neither line reaches"}, {2, 10, Light(c.face, 10)},
                   {37, 10, Dark(c.face, 10)}, {20, 10, C(c.face)});
  }
  TSurface pressed(40, 20, kBack);
  theme_.DrawButton(pressed.Canvas(), 40, 20, kesPressed);
  EXPECT_SURFACE(pressed, {0, 10, C(ktcFrame)}, {1, 10, Dark(ktcSelection, 30)}, {38, 10, Light(ktcSelection, 30)},
                 {38, 18, Light(ktcSelection, 30)}, {2, 10, C(ktcSelection)});

  TSurface disabled(40, 20, kBack);
  theme_.DrawButton(disabled.Canvas(), 40, 20, kesDisabled);
  EXPECT_SURFACE(disabled, {0, 10, C(ktcDisabledFace)}, {20, 19, C(ktcDisabledFace)});
  EXPECT_EQ(CountOf(disabled, {1, 1, 39, 19}, kBack), 38 * 18) << "only the outline";
}

TEST_F(HighlightTest, CheckBoxFrameBevelAndMark) {
  const TRect r{0, 0, 13, 13};
  TSurface s(13, 13, kBack);
  theme_.DrawCheckBox(s.Canvas(), r, kesHot, cbUnchecked);
  EXPECT_SURFACE(s, {0, 6, C(ktcFrame)}, {1, 6, Dark(ktcHotFace, 50)}, {11, 6, Light(ktcHotFace, 50)},
                 {6, 6, C(ktcWindow)});

  TSurface checked(13, 13, kBack);
  theme_.DrawCheckBox(checked.Canvas(), r, kesNormal, cbChecked);
  EXPECT_GT(CountOf(checked, {2, 2, 11, 11}, C(ktcFrame)), 5) << "the mark in the frame colour";
  EXPECT_EQ(CountOf(checked, {2, 2, 11, 11}, 0), 0) << "no black left of the renderer";

  TSurface disabled(13, 13, kBack);
  theme_.DrawCheckBox(disabled.Canvas(), r, kesDisabled, cbChecked);
  EXPECT_SURFACE(disabled, {0, 6, C(ktcDisabledFace)}, {1, 6, C(ktcWindow)});
  EXPECT_GT(CountOf(disabled, {2, 2, 11, 11}, C(ktcDisabledFace)), 5);
  EXPECT_EQ(CountOf(disabled, {2, 2, 11, 11}, C(ktcFrame)), 0);

  TSurface grayed(13, 13, kBack);
  theme_.DrawCheckBox(grayed.Canvas(), r, kesNormal, cbGrayed);
  EXPECT_SURFACE(grayed, {3, 3, C(ktcFrame)}, {9, 9, C(ktcFrame)}, {2, 2, C(ktcWindow)});

  // States and checks outside the tables paint the normal box.
  for (int state : {4, 5, 255}) {
    TSurface odd(13, 13, kBack);
    theme_.DrawCheckBox(odd.Canvas(), r, static_cast<TTeElementState>(state), static_cast<TCheckBoxState>(3));
    SCOPED_TRACE(state);
    EXPECT_SURFACE(odd, {0, 6, C(ktcFrame)}, {6, 6, C(ktcWindow)});
  }
}

TEST_F(HighlightTest, RadioRingsAndDot) {
  const TRect r{0, 0, 13, 13};
  TSurface s(13, 13, kBack);
  theme_.DrawRadioButton(s.Canvas(), r, kesHot, true);
  EXPECT_SURFACE(s, {0, 6, C(ktcFrame)}, {1, 6, Dark(ktcHotFace, 30)},
                 {6, 6, C(ktcFrame), "the dot in the outline colour"});

  TSurface off(13, 13, kBack);
  theme_.DrawRadioButton(off.Canvas(), r, kesNormal, false);
  EXPECT_SURFACE(off, {6, 6, C(ktcWindow)}, {1, 6, Dark(ktcWindow, 30)});

  TSurface disabled(13, 13, kBack);
  theme_.DrawRadioButton(disabled.Canvas(), r, kesDisabled, true);
  EXPECT_SURFACE(disabled, {0, 6, C(ktcDisabledFace)}, {1, 6, C(ktcWindow)}, {6, 6, C(ktcDisabledFace)});
}

TEST_F(HighlightTest, SpeedButtonFaces) {
  const TRect r{0, 0, 30, 24};
  auto paint = [&](TTeElementState state, bool flat, bool down) {
    auto s = std::make_unique<TSurface>(30, 24, kBack);
    theme_.DrawSpeedButton(s->Canvas(), r, state, flat, down);
    return s;
  };
  // Nothing at all: disabled, flat at rest, flat 4 and 5, raised hot.
  EXPECT_TRUE(AllBack(*paint(kesDisabled, false, false)));
  EXPECT_TRUE(AllBack(*paint(kesNormal, true, false)));
  EXPECT_TRUE(AllBack(*paint(static_cast<TTeElementState>(4), true, false)));
  EXPECT_TRUE(AllBack(*paint(kesHot, false, false)));
  EXPECT_TRUE(AllBack(*paint(static_cast<TTeElementState>(255), false, true)));

  auto hot = paint(kesHot, true, false);
  EXPECT_SURFACE(*hot, {0, 12, C(ktcFrame)}, {1, 12, Light(ktcHotFace, 30)}, {28, 12, Dark(ktcHotFace, 30)},
                 {15, 12, C(ktcHotFace)});

  auto pressed = paint(kesPressed, true, false);
  EXPECT_SURFACE(*pressed, {1, 12, Dark(ktcFace, 30)}, {15, 12, C(ktcFace)});

  for (bool flat : {true, false}) {
    auto down = paint(kesNormal, flat, true);
    EXPECT_SURFACE(*down, {0, 12, C(ktcFrame)}, {1, 12, C(ktcSelection), "no bevel on a button that stays down"});
  }
  auto raised = paint(kesNormal, false, false);
  EXPECT_EQ(raised->At(1, 12), Light(ktcFace, 30));
  auto raisedPressedDown = paint(kesPressed, false, true);
  EXPECT_EQ(raisedPressedDown->At(1, 12), C(ktcSelection));
}

TEST_F(HighlightTest, ChevronAndComboArrows) {
  // A 15 x 21 combo button: the arrow's box is (4, 9, 11, 13), one lower
  // than centred; pressed it moves by (1, 1) more.
  TSurface s(15, 21, kBack);
  theme_.DrawComboButton(s.Canvas(), {0, 0, 15, 21}, kesNormal);
  EXPECT_SURFACE(s, {0, 10, C(ktcFrame)}, {1, 10, Light(ktcFace, 30)}, {4, 9, C(ktcFrame)}, {10, 9, C(ktcFrame)},
                 {7, 12, C(ktcFrame)}, {4, 12, C(ktcFace)});
  theme_.DrawComboButton(s.Canvas(), {0, 0, 15, 21}, kesPressed);
  EXPECT_SURFACE(s, {1, 10, Dark(ktcSelection, 30)}, {8, 13, C(ktcFrame)}, {4, 9, C(ktcSelection)});
  theme_.DrawComboButton(s.Canvas(), {0, 0, 15, 21}, kesDisabled);
  EXPECT_EQ(s.At(2, 5), C(ktcDisabledFace));

  // The chevron of a disabled button: only the arrow's edges, in the frame colour.
  TSurface chevron(15, 20, kBack);
  theme_.DrawSpeedButtonChevron(chevron.Canvas(), {0, 0, 15, 20}, kesDisabled, true, false);
  EXPECT_SURFACE(chevron, {4, 8, C(ktcFrame)}, {7, 11, C(ktcFrame)}, {7, 9, kBack, "not filled"});
  theme_.DrawSpeedButtonChevron(chevron.Canvas(), {0, 0, 15, 20}, kesHot, true, false);
  EXPECT_EQ(chevron.At(7, 9), C(ktcFrame));
}

// --- scroll bars, bars, tabs ---------------------------------------------------------------

TEST_F(HighlightTest, ScrollBarParts) {
  TSurface track(17, 60, kBack);
  theme_.DrawScrollBarTrack(track.Canvas(), {0, 0, 17, 60}, sbVertical);
  EXPECT_SURFACE(track, {0, 30, C(ktcFrame)}, {16, 30, C(ktcFrame)}, {8, 30, kBack});

  struct TCase {
    TTeElementState state;
    TTeThemeColor fill;
  };
  for (const TCase& c : {TCase{kesNormal, ktcFace}, TCase{kesHot, ktcHotFace}, TCase{kesPressed, ktcSelection},
                         TCase{kesDisabled, ktcDisabledFace}, TCase{static_cast<TTeElementState>(255), ktcFace}}) {
    TSurface thumb(17, 40, kBack);
    theme_.DrawScrollThumb(thumb.Canvas(), {0, 0, 17, 40}, sbVertical, c.state);
    EXPECT_EQ(thumb.At(0, 20), C(ktcFrame)) << c.state;
    const bool sunken = c.state == kesPressed;
    EXPECT_EQ(thumb.At(1, 20), sunken ? Dark(c.fill, 30) : Light(c.fill, 30)) << c.state;
    EXPECT_SURFACE(thumb, {15, 20, sunken ? Light(c.fill, 30) : Dark(c.fill, 30)}, {8, 20, C(c.fill)});

    TSurface button(17, 17, kBack);
    theme_.DrawScrollButton(button.Canvas(), {0, 0, 17, 17}, true, true, c.state);
    EXPECT_SURFACE(button, {0, 8, C(ktcFrame)}, {1, 8, sunken ? Dark(c.fill, 30) : Light(c.fill, 30)},
                   {3, 3, C(c.fill)});
    EXPECT_GT(CountOf(button, {2, 2, 15, 15}, 0), 3) << "the black arrow";
  }
  // The arrow button is the horizontal scroll button.
  TSurface a(17, 17, kBack), b(17, 17, kBack);
  theme_.DrawArrowButton(a.Canvas(), {0, 0, 17, 17}, false, 0, kesHot);
  theme_.DrawScrollButton(b.Canvas(), {0, 0, 17, 17}, false, false, kesHot);
  for (int y = 0; y < 17; ++y)
    for (int x = 0; x < 17; ++x) ASSERT_EQ(a.At(x, y), b.At(x, y)) << x << "," << y;
}

TEST_F(HighlightTest, StatusBarPanelAndGrip) {
  TSurface bar(100, 20, kBack);
  theme_.DrawStatusBar(bar.Canvas(), {0, 0, 100, 20});
  EXPECT_SURFACE(bar, {0, 10, C(ktcFrame)}, {1, 10, Light(ktcFace, 30)}, {98, 10, Dark(ktcFace, 30)},
                 {50, 10, C(ktcFace)});

  TSurface panel(50, 20, kBack);
  theme_.DrawStatusPanel(panel.Canvas(), {0, 0, 50, 20}, nullptr);
  EXPECT_SURFACE(panel, {0, 10, Dark(ktcFace, 30)}, {49, 10, Light(ktcFace, 30)}, {1, 10, C(ktcFrame)},
                 {48, 10, C(ktcFrame)}, {25, 10, C(ktcFace)});

  // The grip's shapes: filled in the caption colour, outlined in the frame colour.
  TSurface grip(16, 16, kBack);
  theme_.DrawSizeGrip(grip.Canvas(), {0, 0, 16, 16});
  EXPECT_SURFACE(grip, {15, 3, C(ktcFrame)}, {14, 14, C(ktcActiveCaption)}, {1, 1, kBack});
}

TEST_F(HighlightTest, TabsMergeWithThePageOnTheirSide) {
  const TRect r{0, 0, 40, 20};
  TSurface top(40, 20, kBack);
  theme_.DrawTab(top.Canvas(), r, tpTop, kesHot);
  EXPECT_SURFACE(top, {0, 10, C(ktcFrame)}, {1, 10, Light(ktcHotFace, 30)}, {20, 10, C(ktcHotFace)},
                 {0, 19, C(ktcHotFace), "the strip covers the outline toward the page"}, {20, 18, C(ktcHotFace)},
                 {20, 0, C(ktcFrame)});

  TSurface left(40, 20, kBack);
  theme_.DrawTab(left.Canvas(), r, tpLeft, static_cast<TTeElementState>(4));
  EXPECT_SURFACE(left, {39, 10, C(ktcSelection)}, {38, 10, C(ktcSelection)}, {0, 10, C(ktcFrame)});

  TSurface bottom(40, 20, kBack);
  theme_.DrawTab(bottom.Canvas(), r, tpBottom, kesNormal);
  EXPECT_SURFACE(bottom, {20, 0, C(ktcFace)}, {20, 19, C(ktcFrame)});

  // A position beyond the four: the tab without a strip.
  TSurface odd(40, 20, kBack);
  theme_.DrawTab(odd.Canvas(), r, static_cast<TTabPosition>(4), kesNormal);
  EXPECT_SURFACE(odd, {20, 19, C(ktcFrame)}, {20, 0, C(ktcFrame)});
}

TEST_F(HighlightTest, ListAndScrollBoxBorders) {
  TSurface list(60, 40, kBack);
  theme_.DrawListBorder(list.Canvas(), {0, 0, 60, 40}, kesNormal);
  EXPECT_EQ(list.At(0, 10), C(ktcFrame));
  for (int x = 1; x <= 7; ++x) EXPECT_EQ(list.At(x, 10), C(ktcWindow)) << x;
  EXPECT_SURFACE(list, {8, 10, kBack}, {45, 25, C(ktcWindow), "the corner square"});
  theme_.DrawListBorder(list.Canvas(), {0, 0, 60, 40}, kesDisabled);
  EXPECT_SURFACE(list, {0, 10, C(ktcDisabledFrame)}, {7, 10, C(ktcDisabledFace)});

  TSurface box(60, 40, kBack);
  theme_.DrawScrollBoxBorder(box.Canvas(), {0, 0, 60, 40}, true);
  EXPECT_SURFACE(box, {0, 10, C(ktcFrame)}, {6, 10, C(ktcFace)}, {7, 10, kBack});
}

TEST_F(HighlightTest, GroupBoxOutlineOpensUnderTheCaption) {
  TSurface s(120, 80, kBack);
  theme_.DrawGroupBox(s.Canvas(), {0, 0, 100, 60}, {10, 0, 40, 10}, "");
  EXPECT_SURFACE(s, {5, 0, C(ktcFrame)}, {20, 0, kBack}, {60, 0, C(ktcFrame)}, {0, 30, C(ktcFrame)},
                 {100, 30, C(ktcFrame)}, {50, 60, C(ktcFrame)}, {1, 1, C(ktcFrame), "cut corner"}, {0, 0, kBack},
                 {50, 30, kBack, "the inside is not filled"});
}

TEST_F(HighlightTest, PanelsBandsAndBoxes) {
  TSurface panel(40, 30, kBack);
  theme_.DrawPanel(panel.Canvas(), {0, 0, 40, 30});
  EXPECT_SURFACE(panel, {0, 15, C(ktcFrame)}, {1, 15, Light(ktcFace, 30)}, {2, 15, Light(ktcFace, 15)},
                 {37, 15, Dark(ktcFace, 15)}, {20, 15, C(ktcFace)});

  TSurface band(60, 24, kBack);
  theme_.DrawControlBand(band.Canvas(), {0, 0, 60, 24}, {2, 2, 14, 22});
  EXPECT_SURFACE(band, {0, 12, C(ktcFrame)}, {1, 12, Light(ktcFace, 50)},
                 {5, 12, C(ktcFrame), "the grip, shrunk by (3, 1)"}, {6, 12, Light(ktcFace, 50)},
                 {9, 12, Dark(ktcFace, 50)}, {10, 12, C(ktcFrame)});

  for (int variant : {-1, 0, 1, 2, 3, 6}) {
    TSurface box(18, 18, kBack);
    theme_.DrawStateBox(box.Canvas(), {0, 0, 18, 18}, 0, variant);
    const TColor fill = variant == 1   ? theme_.GetColor(ktcSelection)
                        : variant == 2 ? clBlack
                        : variant == 3 ? theme_.GetColor(ktcHotFace)
                                       : theme_.GetColor(ktcFace);
    SCOPED_TRACE(variant);
    EXPECT_SURFACE(box, {0, 9, C(ktcFrame)}, {1, 9, Rgb(variant == 1 ? Darken(fill, 30) : Lighten(fill, 30))},
                   {9, 9, Rgb(fill)});
  }

  TSurface items(40, 10, kBack);
  theme_.DrawListItem(items.Canvas(), {0, 0, 40, 10}, 4);
  EXPECT_SURFACE(items, {0, 5, Light(ktcFace, 30)}, {20, 5, C(ktcFace)});
  theme_.DrawListItem(items.Canvas(), {0, 0, 40, 10}, 3);
  EXPECT_EQ(items.At(0, 5), C(ktcSelection));
  theme_.DrawListItem(items.Canvas(), {0, 0, 40, 10}, 8);
  EXPECT_EQ(items.At(0, 5), C(ktcWindow));

  TSurface split(8, 40, kBack);
  theme_.DrawSplitter(split.Canvas(), {0, 0, 8, 40}, true, true);
  EXPECT_SURFACE(split, {0, 20, C(ktcFrame)}, {1, 20, Light(ktcSelection, 30)}, {3, 20, C(ktcHotFace)});
  theme_.DrawSplitter(split.Canvas(), {0, 0, 8, 40}, false, false);
  EXPECT_EQ(split.At(0, 20), C(ktcWindow));
}

TEST_F(HighlightTest, TrackAndProgressAndEdit) {
  TSurface track(100, 10, kBack);
  theme_.DrawTrackBarTrack(track.Canvas(), {0, 0, 100, 10}, {20, 0, 50, 10});
  EXPECT_SURFACE(track, {50, 0, C(ktcFrame)}, {10, 5, C(ktcFace)}, {21, 5, C(ktcSelection)},
                 {50, 5, C(ktcFace), "the selection shrunk by 1"});

  // Blocks of round(0.64 x 20) = 13 with gaps of 2.
  TSurface bar(160, 20, kBack);
  theme_.DrawProgressBarFrame(bar.Canvas(), {0, 0, 160, 20});
  theme_.DrawProgressBar(bar.Canvas(), {0, 0, 160, 20}, {0, 0, 100, 20}, false, false);
  EXPECT_SURFACE(bar, {0, 10, C(ktcSelection)}, {12, 10, C(ktcSelection)}, {13, 10, C(ktcWindow)},
                 {15, 10, C(ktcSelection)}, {102, 10, C(ktcSelection), "seven blocks, the last beyond the bar"},
                 {110, 10, C(ktcWindow)}, {150, 0, C(ktcFrame)});

  TSurface edit(60, 20, kBack);
  theme_.DrawEdit(edit.Canvas(), {0, 0, 60, 20}, true, 0);
  EXPECT_SURFACE(edit, {0, 10, C(ktcFrame)}, {30, 10, C(ktcWindow)}, {0, 0, kBack, "rounded corner"});
}

TEST_F(HighlightTest, TrackBarThumbs) {
  TSurface block(11, 20, kBack);
  theme_.DrawTrackBarThumb(block.Canvas(), {0, 0, 11, 20}, false, 0, kesPressed);
  EXPECT_SURFACE(block, {0, 10, 0x003399u, "the navy constant"},
                 {1, 10, Dark(ktcSelection, 30), "light and dark exchanged when pressed"}, {5, 10, C(ktcSelection)});

  // Upright, pointing down: the pentagon (0,0) (10,0) (10,15) (5,20) (0,15).
  TSurface down(11, 21, kBack);
  theme_.DrawTrackBarThumb(down.Canvas(), {0, 0, 11, 20}, false, 1, kesHot);
  EXPECT_SURFACE(down, {0, 8, C(ktcFrame)}, {1, 8, Light(ktcHotFace, 30)}, {9, 8, Dark(ktcHotFace, 30)},
                 {5, 8, C(ktcHotFace)}, {0, 19, kBack});

  for (int shape : {-1, 3}) {
    TSurface none(11, 20, kBack);
    theme_.DrawTrackBarThumb(none.Canvas(), {0, 0, 11, 20}, true, shape, kesNormal);
    EXPECT_TRUE(AllBack(none)) << shape;
  }
}

TEST_F(HighlightTest, GlyphButtonMarkStaysOffItsEdges) {
  TSurface s(17, 17, kBack);
  theme_.DrawGlyphButton(s.Canvas(), {0, 0, 17, 17}, 1, kesNormal, false);
  EXPECT_SURFACE(s, {0, 8, C(ktcFrame)}, {1, 8, Light(ktcFace, 30)}, {15, 8, Dark(ktcFace, 30)});
  EXPECT_GT(CountOf(s, {2, 2, 15, 15}, C(ktcFrame)), 3) << "the cross in the frame colour";
  EXPECT_EQ(CountOf(s, {2, 2, 15, 15}, 0), 0);
  theme_.DrawGlyphButton(s.Canvas(), {0, 0, 17, 17}, 2, kesPressed, true);
  EXPECT_EQ(s.At(1, 8), Dark(ktcSelection, 30));
  EXPECT_GT(CountOf(s, {2, 2, 15, 15}, C(ktcFrame)), 3);
}

}  // namespace
}  // namespace hv
