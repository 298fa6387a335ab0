// The frame's geometry: rectangles of a style's frame and of the system
// look, hit codes and their answers, the client rectangle of WM_NCCALCSIZE,
// the caption's room, and what moving, sizing and the window states make of
// the window's bounds.

#include "theme/frame/formgeometry.h"

#include <gtest/gtest.h>

namespace hv {
namespace {

// The sizes of a skinned style with a deep caption (the Metal Luna kind).
TThemeFrameSizes SkinSizes() {
  TThemeFrameSizes m;
  m.border = 3;
  m.toolBorder = 2;
  m.caption = 29;
  m.toolCaption = 19;
  m.captionCorner = 10;
  m.buttonWidth = 21;
  m.buttonHeight = 21;
  m.toolButtonWidth = 14;
  m.toolButtonHeight = 14;
  m.buttonMargin = 4;
  m.buttonTop = 4;
  m.buttonSpacing = 3;
  m.toolButtonMargin = 3;
  m.toolButtonTop = 3;
  return m;
}

TSystemFrameMetrics SystemMetrics(bool visualStyles) {
  TSystemFrameMetrics sys;
  sys.frame = 4;
  sys.caption = 19;
  sys.smallCaption = 15;
  sys.visualStyles = visualStyles;
  return sys;
}

const TTeBorderIcons kAllIcons{kbiClose, kbiSystemMenu, kbiMinimize, kbiMaximize, kbiHelp, kbiRollup, kbiTray};

TFrameShape Shape(TTeBorderStyle style, TTeBorderIcons icons = kAllIcons, TTeWindowState state = kwsNormal) {
  TFrameShape shape;
  shape.width = 400;
  shape.height = 300;
  shape.borderStyle = style;
  shape.icons = icons;
  shape.state = state;
  return shape;
}

TEST(FormGeometry, ThemeClientRectAndCaptionBandFollowTheStyleSizes) {
  const auto m = SkinSizes();
  const auto sys = SystemMetrics(false);
  EXPECT_EQ(ThemeClientRect(m, sys, Shape(kbsStandard)), Rect(3, 29, 397, 297));
  EXPECT_EQ(ThemeClientRect(m, sys, Shape(kbsToolWindow)), Rect(2, 19, 398, 298));
  // No border: the system rule, which leaves the whole window to the client.
  EXPECT_EQ(ThemeClientRect(m, sys, Shape(kbsNone)), Rect(0, 0, 400, 300));
  auto mdi = Shape(kbsStandard);
  mdi.mdiChildMaximized = true;
  EXPECT_EQ(ThemeClientRect(m, sys, mdi), Rect(0, 0, 400, 300));

  EXPECT_EQ(ThemeCaptionBand(m, Shape(kbsStandard)), Rect(4, 4, 396, 29));
  EXPECT_EQ(ThemeCaptionBand(m, Shape(kbsToolWindow)), Rect(7, 3, 397, 19));
  EXPECT_EQ(ThemeCaptionBand(m, Shape(kbsNone)), Rect(0, 0, 400, 0));
}

TEST(FormGeometry, ThemeButtonsRunRightToLeftAndSkipWhatTheStateHides) {
  const auto m = SkinSizes();
  auto standard = Shape(kbsStandard);
  EXPECT_EQ(ThemeButtonRect(m, standard, kbiClose), Rect(375, 4, 396, 25));
  EXPECT_EQ(ThemeButtonRect(m, standard, kbiMaximize), Rect(351, 4, 372, 25));
  EXPECT_EQ(ThemeButtonRect(m, standard, kbiMinimize), Rect(327, 4, 348, 25));
  EXPECT_EQ(ThemeButtonRect(m, standard, kbiRollup), Rect(303, 4, 324, 25));
  EXPECT_EQ(ThemeButtonRect(m, standard, kbiTray), Rect(279, 4, 300, 25));
  EXPECT_EQ(ThemeButtonRect(m, standard, kbiHelp), Rect(255, 4, 276, 25));
  EXPECT_EQ(ThemeButtonRect(m, standard, kbiSystemMenu), Rect(3, 3, 29, 29));

  // Minimized: only close and minimize (now restore) remain, side by side.
  auto minimized = Shape(kbsStandard, kAllIcons, kwsMinimized);
  EXPECT_EQ(ThemeButtonRect(m, minimized, kbiMinimize), Rect(351, 4, 372, 25));
  for (auto icon : {kbiMaximize, kbiRollup, kbiTray, kbiHelp})
    EXPECT_TRUE(ThemeButtonRect(m, minimized, icon).IsEmpty()) << int(icon);
  // Rolled up: help goes, the others keep their places.
  auto rolled = Shape(kbsStandard, kAllIcons, kwsRollup);
  EXPECT_TRUE(ThemeButtonRect(m, rolled, kbiHelp).IsEmpty());
  EXPECT_EQ(ThemeButtonRect(m, rolled, kbiTray), Rect(279, 4, 300, 25));

  // Icons that are not there take no room.
  auto few = Shape(kbsStandard, {kbiMinimize, kbiMaximize});
  EXPECT_TRUE(ThemeButtonRect(m, few, kbiClose).IsEmpty());
  EXPECT_EQ(ThemeButtonRect(m, few, kbiMaximize), Rect(375, 4, 396, 25));
  EXPECT_EQ(ThemeButtonRect(m, few, kbiMinimize), Rect(351, 4, 372, 25));
  EXPECT_TRUE(ThemeButtonRect(m, few, kbiSystemMenu).IsEmpty());

  // A tool window has its small close button only; no border, no buttons.
  auto tool = Shape(kbsToolWindow);
  EXPECT_EQ(ThemeButtonRect(m, tool, kbiClose), Rect(383, 3, 397, 17));
  EXPECT_TRUE(ThemeButtonRect(m, tool, kbiMinimize).IsEmpty());
  EXPECT_EQ(ThemeButtonRect(m, tool, kbiSystemMenu), Rect(2, 2, 19, 19));
  for (int i = 0; i < kBorderIconCount; ++i)
    EXPECT_TRUE(ThemeButtonRect(m, Shape(kbsNone), TTeBorderIcon(i)).IsEmpty()) << i;
}

TEST(FormGeometry, SystemLookWithoutVisualStylesSetsRollupTrayAndHelpApart) {
  const auto sys = SystemMetrics(false);
  auto shape = Shape(kbsStandard);
  EXPECT_EQ(SystemClientRect(sys, shape), Rect(4, 23, 396, 296));
  EXPECT_EQ(SystemClientRect(sys, Shape(kbsNone)), Rect(0, 0, 400, 300));
  EXPECT_EQ(SystemClientRect(sys, Shape(kbsToolWindow)), Rect(4, 19, 396, 296));
  EXPECT_EQ(SystemCaptionBand(sys, shape), Rect(4, 5, 396, 23));
  // Band height 18: buttons 16 x 14 at top 7.
  EXPECT_EQ(SystemButtonRect(sys, shape, kbiClose), Rect(378, 7, 394, 21));
  EXPECT_EQ(SystemButtonRect(sys, shape, kbiMaximize), Rect(360, 7, 376, 21));
  EXPECT_EQ(SystemButtonRect(sys, shape, kbiMinimize), Rect(344, 7, 360, 21));
  EXPECT_EQ(SystemButtonRect(sys, shape, kbiRollup), Rect(326, 7, 342, 21));
  EXPECT_EQ(SystemButtonRect(sys, shape, kbiTray), Rect(308, 7, 324, 21));
  EXPECT_EQ(SystemButtonRect(sys, shape, kbiHelp), Rect(290, 7, 306, 21));
  EXPECT_EQ(SystemButtonRect(sys, shape, kbiSystemMenu), Rect(4, 5, 22, 23));
}

TEST(FormGeometry, SystemLookWithVisualStylesHasNoRollupOrTrayButtons) {
  const auto sys = SystemMetrics(true);
  auto shape = Shape(kbsStandard);
  EXPECT_EQ(SystemButtonRect(sys, shape, kbiClose), Rect(380, 6, 394, 20));
  EXPECT_EQ(SystemButtonRect(sys, shape, kbiMaximize), Rect(364, 6, 378, 20));
  EXPECT_EQ(SystemButtonRect(sys, shape, kbiMinimize), Rect(348, 6, 362, 20));
  EXPECT_TRUE(SystemButtonRect(sys, shape, kbiRollup).IsEmpty());
  EXPECT_TRUE(SystemButtonRect(sys, shape, kbiTray).IsEmpty());
  EXPECT_TRUE(SystemButtonRect(sys, shape, kbiHelp).IsEmpty());
  // A tool window's close button sits two pixels further right.
  EXPECT_EQ(SystemButtonRect(sys, Shape(kbsToolWindow), kbiClose), Rect(386, 6, 396, 16));
}

THitTestInput ThemeHitInput(TPoint p, TTeWindowState state = kwsNormal) {
  const auto m = SkinSizes();
  const auto sys = SystemMetrics(false);
  auto shape = Shape(kbsStandard, kAllIcons, state);
  THitTestInput in;
  in.point = p;
  in.width = 400;
  in.height = 300;
  in.client = ThemeClientRect(m, sys, shape);
  for (int i = 0; i < kBorderIconCount; ++i) in.buttons[i] = ThemeButtonRect(m, shape, TTeBorderIcon(i));
  in.state = state;
  in.captionHeight = sys.CaptionOf(kbsStandard);
  return in;
}

int ThemeHit(TPoint p, TTeWindowState state = kwsNormal) {
  auto in = ThemeHitInput(p, state);
  return NarrowTopZone(FrameHitTest(in), p, in.client, SkinSizes().border);
}

TEST(FormGeometry, HitTestFindsCaptionBordersCornersAndButtons) {
  EXPECT_EQ(ThemeHit({200, 15}), kHitCaption);
  EXPECT_EQ(ThemeHit({200, 100}), kHitNone);
  // Inside the top strip of the system caption height but below the style's
  // border: caption, not a sizing zone.
  EXPECT_EQ(ThemeHit({200, 2}), kHitTop);
  EXPECT_EQ(ThemeHit({200, 3}), kHitTop);
  EXPECT_EQ(ThemeHit({200, 4}), kHitCaption);
  EXPECT_EQ(ThemeHit({2, 2}), kHitTopLeft);
  EXPECT_EQ(ThemeHit({398, 100}), kHitRight);
  EXPECT_EQ(ThemeHit({1, 100}), kHitLeft);
  EXPECT_EQ(ThemeHit({1, 290}), kHitBottomLeft);
  EXPECT_EQ(ThemeHit({200, 298}), kHitBottom);
  EXPECT_EQ(ThemeHit({5, 298}), kHitBottomLeft);
  EXPECT_EQ(ThemeHit({395, 299}), kHitBottomRight);
  EXPECT_EQ(ThemeHit({398, 10}), kHitTopRight);
  // The edges themselves count as client, the comparisons being strict.
  EXPECT_EQ(ThemeHit({397, 100}), kHitNone);
  EXPECT_EQ(ThemeHit({200, 297}), kHitNone);

  EXPECT_EQ(ThemeHit({380, 20}), kHitClose);
  EXPECT_EQ(ThemeHit({360, 20}), kHitMaximize);
  EXPECT_EQ(ThemeHit({330, 20}), kHitMinimize);
  EXPECT_EQ(ThemeHit({310, 20}), kHitRollup);
  EXPECT_EQ(ThemeHit({290, 20}), kHitTray);
  EXPECT_EQ(ThemeHit({260, 20}), kHitHelp);
  EXPECT_EQ(ThemeHit({10, 20}), kHitSystemMenu);
  // A button's upper rows reach into the top sizing zone; the button wins.
  EXPECT_EQ(ThemeHit({380, 5}), kHitClose);
  // The gap between two buttons is caption.
  EXPECT_EQ(ThemeHit({373, 20}), kHitCaption);
}

TEST(FormGeometry, HitTestHasNoSizingZonesWhileMaximizedMinimizedOrRolledUp) {
  for (auto state : {kwsMaximized, kwsMinimized, kwsRollup}) {
    EXPECT_EQ(ThemeHit({1, 100}, state), kHitNone) << int(state);
    EXPECT_EQ(ThemeHit({200, 2}, state), kHitCaption) << int(state);
    EXPECT_EQ(ThemeHit({380, 20}, state), kHitClose) << int(state);
  }
  EXPECT_EQ(ThemeHit({1, 100}, kwsTray), kHitLeft);
}

TEST(FormGeometry, HitTestSizeGripCountsAsBottomRightCorner) {
  auto in = ThemeHitInput({380, 285});
  EXPECT_EQ(FrameHitTest(in), kHitNone);
  in.sizeGrip = Rect(380, 280, 397, 297);
  EXPECT_EQ(FrameHitTest(in), kHitBottomRight);
  in.point = {379, 285};
  EXPECT_EQ(FrameHitTest(in), kHitNone);
}

TEST(FormGeometry, HitTestOfTheSystemLookKeepsTheWholeTopBorder) {
  const auto sys = SystemMetrics(false);
  auto shape = Shape(kbsStandard);
  THitTestInput in;
  in.width = 400;
  in.height = 300;
  in.client = SystemClientRect(sys, shape);
  in.captionHeight = sys.caption;
  for (int i = 0; i < kBorderIconCount; ++i) in.buttons[i] = SystemButtonRect(sys, shape, TTeBorderIcon(i));
  in.point = {200, 3};
  EXPECT_EQ(FrameHitTest(in), kHitTop);
  in.point = {200, 4};
  EXPECT_EQ(FrameHitTest(in), kHitCaption);
  in.point = {385, 10};
  EXPECT_EQ(FrameHitTest(in), kHitClose);
  // kbsNone: no caption, and the top zone is only what lies above the client.
  TFrameShape none = Shape(kbsNone);
  in.client = SystemClientRect(sys, none);
  in.captionHeight = sys.CaptionOf(kbsNone);
  in.buttons = {};
  in.point = {200, 0};
  EXPECT_EQ(FrameHitTest(in), kHitNone);
}

TEST(FormGeometry, HitCodeAnswersFollowTheDraggingOptions) {
  EXPECT_EQ(HitCodeAnswer(kHitNone, true, true, kwsNormal), kHtClient);
  EXPECT_EQ(HitCodeAnswer(kHitCaption, true, true, kwsNormal), kHtCaption);
  EXPECT_EQ(HitCodeAnswer(kHitCaption, false, true, kwsNormal), kHtClient);
  const std::pair<int, int> sizing[] = {{kHitLeft, kHtLeft},
                                        {kHitTop, kHtTop},
                                        {kHitRight, kHtRight},
                                        {kHitBottom, kHtBottom},
                                        {kHitTopLeft, kHtTopLeft},
                                        {kHitTopRight, kHtTopRight},
                                        {kHitBottomLeft, kHtBottomLeft},
                                        {kHitBottomRight, kHtBottomRight}};
  for (auto [code, answer] : sizing) {
    EXPECT_EQ(HitCodeAnswer(code, true, true, kwsNormal), answer) << code;
    EXPECT_EQ(HitCodeAnswer(code, true, false, kwsNormal), kHtClient) << code;
    EXPECT_EQ(HitCodeAnswer(code, true, true, kwsMaximized), kHtClient) << code;
  }
  EXPECT_EQ(HitCodeAnswer(kHitBorder, true, true, kwsNormal), kHtBorder);
  EXPECT_EQ(HitCodeAnswer(kHitClose, true, true, kwsNormal), kHtClose);
  EXPECT_EQ(HitCodeAnswer(kHitHelp, true, true, kwsNormal), kHtHelp);
  EXPECT_EQ(HitCodeAnswer(kHitMaximize, true, true, kwsNormal), kHtMaxButton);
  for (int code : {kHitMinimize, kHitRollup, kHitTray, kHitSystemMenu, kHitNoButton})
    EXPECT_EQ(HitCodeAnswer(code, true, true, kwsNormal), kHtMinButton) << code;
}

TEST(FormGeometry, HitCodesAndIconsMapBothWays) {
  for (int i = 0; i < kBorderIconCount; ++i) {
    TTeBorderIcon back{};
    ASSERT_TRUE(IconOfHitCode(HitCodeOfIcon(TTeBorderIcon(i)), back));
    EXPECT_EQ(back, TTeBorderIcon(i));
  }
  EXPECT_EQ(HitCodeOfIcon(kbiClose), kHitClose);
  EXPECT_EQ(HitCodeOfIcon(kbiSystemMenu), kHitSystemMenu);
  EXPECT_EQ(HitCodeOfIcon(kbiTray), kHitTray);
  TTeBorderIcon unused{};
  EXPECT_FALSE(IconOfHitCode(kHitCaption, unused));
  EXPECT_FALSE(IconOfHitCode(kHitNoButton, unused));
}

TEST(FormGeometry, CalcClientRectKeepsTheFrameInsets) {
  EXPECT_EQ(CalcClientRect(Rect(100, 50, 500, 350), Rect(3, 29, 397, 297), 400, 300), Rect(103, 79, 497, 347));
  // A window four pixels larger than its frame (a shadow) keeps those pixels
  // outside the client area on the right and at the bottom.
  EXPECT_EQ(CalcClientRect(Rect(0, 0, 404, 304), Rect(3, 29, 397, 297), 404, 304), Rect(3, 29, 397, 297));
  EXPECT_EQ(CalcClientRect(Rect(0, 0, 504, 404), Rect(3, 29, 397, 297), 404, 304), Rect(3, 29, 497, 397));
}

TEST(FormGeometry, CaptionTextRoomLeavesSpaceForTheButtons) {
  const TRect band = Rect(4, 4, 396, 29);
  EXPECT_EQ(CaptionTextRect(band, kbsStandard, kAllIcons), Rect(29, 4, 396, 29));
  EXPECT_EQ(CaptionTextRect(band, kbsStandard, {kbiClose}), band);
  EXPECT_EQ(CaptionTextRect(band, kbsToolWindow, kAllIcons), band);

  EXPECT_EQ(CaptionTextWidth(400, 29, Shape(kbsStandard, {kbiClose}), 21, 14, false), 400 - 29 - 84);
  EXPECT_EQ(CaptionTextWidth(400, 29, Shape(kbsStandard, {kbiClose, kbiHelp}), 21, 14, false), 400 - 29 - 105);
  EXPECT_EQ(CaptionTextWidth(400, 29, Shape(kbsStandard), 21, 14, false), 400 - 29 - 147);
  EXPECT_EQ(CaptionTextWidth(400, 29, Shape(kbsStandard), 21, 14, true), 400 - 29 - 105);
  EXPECT_EQ(CaptionTextWidth(400, 29, Shape(kbsStandard, kAllIcons, kwsMinimized), 21, 14, false), 400 - 29 - 42);
  EXPECT_EQ(CaptionTextWidth(400, 7, Shape(kbsToolWindow), 21, 14, false), 400 - 7 - 14);
}

TEST(FormGeometry, CaptionGlyphsFollowTheWindowState) {
  EXPECT_EQ(CaptionGlyph(kbiClose, kwsNormal), kcbClose);
  EXPECT_EQ(CaptionGlyph(kbiHelp, kwsNormal), kcbHelp);
  EXPECT_EQ(CaptionGlyph(kbiMinimize, kwsNormal), kcbMinimize);
  EXPECT_EQ(CaptionGlyph(kbiMinimize, kwsMinimized), kcbRestore);
  EXPECT_EQ(CaptionGlyph(kbiMaximize, kwsNormal), kcbMaximize);
  EXPECT_EQ(CaptionGlyph(kbiMaximize, kwsMaximized), kcbRestore);
  EXPECT_EQ(CaptionGlyph(kbiRollup, kwsNormal), kcbRollup);
  EXPECT_EQ(CaptionGlyph(kbiRollup, kwsRollup), kcbRolldown);
  EXPECT_EQ(CaptionGlyph(kbiTray, kwsTray), kcbTray);
}

TEST(FormGeometry, ButtonLooksPressedOnlyWhileTheMouseStaysOnIt) {
  using L = TCaptionButtonLook;
  EXPECT_EQ(CaptionButtonLook(kHitClose, kHitClose, kHitClose, true, false), (L{true, true}));
  EXPECT_EQ(CaptionButtonLook(kHitClose, kHitClose, kHitCaption, true, false), (L{false, false}));
  EXPECT_EQ(CaptionButtonLook(kHitClose, kHitNone, kHitClose, false, false), (L{true, false}));
  EXPECT_EQ(CaptionButtonLook(kHitClose, kHitClose, kHitClose, false, false), (L{true, false}));
  // No hot buttons while the window is being moved or sized.
  EXPECT_EQ(CaptionButtonLook(kHitClose, kHitCaption, kHitClose, true, true), (L{false, false}));
}

TDragInput Drag(int code, TPoint point) {
  TDragInput in;
  in.pressedCode = code;
  in.bounds = Bounds(100, 100, 400, 300);
  in.down = {200, 10};
  in.last = in.down;
  in.point = point;
  in.minSize = {150, 40};
  return in;
}

TEST(FormGeometry, DragMovesByTheCaptionAndSizesByEdgesAndCorners) {
  auto move = DragBounds(Drag(kHitCaption, {230, 5}));
  EXPECT_TRUE(move.moved);
  EXPECT_EQ(move.bounds, Bounds(130, 95, 400, 300));

  auto in = Drag(kHitRight, {230, 10});
  in.last = {220, 10};
  EXPECT_EQ(DragBounds(in).bounds, Rect(100, 100, 510, 400));  // live: from the last point
  in.fullDrag = false;
  EXPECT_EQ(DragBounds(in).bounds, Rect(100, 100, 530, 400));  // outline: from the first point

  auto bottomRight = Drag(kHitBottomRight, {210, 25});
  EXPECT_EQ(DragBounds(bottomRight).bounds, Rect(100, 100, 510, 415));
  auto topLeft = Drag(kHitTopLeft, {190, 0});
  EXPECT_EQ(DragBounds(topLeft).bounds, Rect(90, 90, 500, 400));
  auto topRight = Drag(kHitTopRight, {205, 15});
  EXPECT_EQ(DragBounds(topRight).bounds, Rect(100, 105, 505, 400));
  auto bottomLeft = Drag(kHitBottomLeft, {205, 15});
  EXPECT_EQ(DragBounds(bottomLeft).bounds, Rect(105, 100, 500, 405));
}

TEST(FormGeometry, SizingFromLeftOrTopStopsAtTheMinimumSize) {
  auto left = DragBounds(Drag(kHitLeft, {600, 10}));
  EXPECT_EQ(left.bounds, Rect(350, 100, 500, 400));
  auto top = DragBounds(Drag(kHitTop, {200, 400}));
  EXPECT_EQ(top.bounds, Rect(100, 360, 500, 400));
}

TEST(FormGeometry, DragRespectsStateAndDraggingOptions) {
  auto in = Drag(kHitCaption, {230, 5});
  in.state = kwsMaximized;
  EXPECT_FALSE(DragBounds(in).changed);
  in.state = kwsRollup;
  EXPECT_TRUE(DragBounds(in).moved);  // moving stays possible
  in.moveable = false;
  in.state = kwsNormal;
  EXPECT_FALSE(DragBounds(in).changed);

  for (auto state : {kwsMaximized, kwsMinimized, kwsRollup}) {
    for (int code : {kHitLeft, kHitTop, kHitRight, kHitBottom, kHitTopLeft, kHitBottomRight}) {
      auto size = Drag(code, {230, 40});
      size.state = state;
      auto result = DragBounds(size);
      EXPECT_FALSE(result.changed) << int(state) << " " << code;
      EXPECT_EQ(result.bounds, size.bounds);
    }
  }
  auto tray = Drag(kHitLeft, {190, 10});
  tray.state = kwsTray;
  EXPECT_EQ(DragBounds(tray).bounds.left, 90);
  auto fixed = Drag(kHitRight, {230, 10});
  fixed.sizeable = false;
  EXPECT_FALSE(DragBounds(fixed).changed);
  EXPECT_FALSE(DragBounds(Drag(kHitClose, {230, 10})).changed);
}

TEST(FormGeometry, TrackSizeLimitsAndStateRectangles) {
  const TSize maxTrack{1000, 700}, minTrack{150, 40};
  EXPECT_EQ(ClampTrackSize({2000, 20}, maxTrack, minTrack, kwsNormal), (TSize{1000, 40}));
  EXPECT_EQ(ClampTrackSize({100, 20}, maxTrack, minTrack, kwsRollup), (TSize{100, 20}));
  EXPECT_EQ(ClampTrackSize({100, 20}, maxTrack, minTrack, kwsMinimized), (TSize{100, 20}));
  EXPECT_EQ(ClampTrackSize({100, 20}, maxTrack, minTrack, kwsMaximized), (TSize{150, 40}));

  const TRect work = Rect(0, 0, 1280, 994), monitor = Rect(0, 0, 1280, 1024);
  EXPECT_EQ(MaximizedRect(work, monitor, false, 0), work);
  EXPECT_EQ(MaximizedRect(work, monitor, false, 4), Rect(-4, -4, 1284, 998));
  EXPECT_EQ(MaximizedRect(work, monitor, true, 0), monitor);

  EXPECT_EQ(MinimizedRect(160, 300, 268, 994), Rect(0, 962, 160, 994));
  EXPECT_EQ(RollupRect({70, 80}, 400, 300, 268), Bounds(70, 80, 400, 32));

  TFormConstraintValues none;
  EXPECT_EQ(MaxTrackSize(work, none), (TSize{1280, 994}));
  EXPECT_EQ(MinTrackSize(none), (TSize{150, 40}));
  TFormConstraintValues some{300, 0, 0, 500};
  EXPECT_EQ(MaxTrackSize(work, some), (TSize{1280, 500}));
  EXPECT_EQ(MinTrackSize(some), (TSize{300, 40}));
}

}  // namespace
}  // namespace hv
