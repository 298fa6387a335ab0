#pragma once
// The themed frame's geometry as plain functions of plain values: where the
// client area, the caption and the caption buttons of a frame lie (with a
// style's sizes or in the system look), which part of the frame a point
// hits and what the system is told about it, the client rectangle handed
// back for WM_NCCALCSIZE, the bounds that moving and sizing produce, and the
// target rectangles and size limits of the window states. The form frame
// only gathers the values and carries out what these compute. Portable.

#include <array>
#include <cstdint>
#include <string_view>

#include "framework/set.h"
#include "framework/types.h"
#include "theme/core/theme.h"

namespace hv {

enum TTeBorderIcon : uint8_t { kbiClose, kbiSystemMenu, kbiMinimize, kbiMaximize, kbiHelp, kbiRollup, kbiTray };
using TTeBorderIcons = TSet<TTeBorderIcon>;
constexpr int kBorderIconCount = 7;

enum TTeWindowState : uint8_t { kwsNormal, kwsMaximized, kwsMinimized, kwsRollup, kwsTray };

enum TTeFormPerformance : uint8_t { ksfpNoBuffer, ksfpSharedBuffer, ksfpPersistentBuffer, ksfpDoubleBuffer };

// The frame's own hit codes. They also name the caption buttons wherever the
// frame tracks which one is hot or pressed.
enum : int {
  kHitNone = 0,
  kHitCaption = 1,
  kHitLeft = 2,
  kHitTop = 3,
  kHitRight = 4,
  kHitBottom = 5,
  kHitBorder = 6,  // never produced by the hit test
  kHitTopLeft = 7,
  kHitTopRight = 8,
  kHitBottomLeft = 9,
  kHitBottomRight = 10,  // also the status bar's size grip
  kHitClose = 11,
  kHitHelp = 12,
  kHitMinimize = 13,
  kHitMaximize = 14,
  kHitRollup = 15,
  kHitTray = 16,
  kHitSystemMenu = 17,
  kHitNoButton = 18,  // what the hot code becomes after every state action
};

// The platform's WM_NCHITTEST answers the frame gives.
enum : int {
  kHtClient = 1,
  kHtCaption = 2,
  kHtMinButton = 8,
  kHtMaxButton = 9,
  kHtLeft = 10,
  kHtRight = 11,
  kHtTop = 12,
  kHtTopLeft = 13,
  kHtTopRight = 14,
  kHtBottom = 15,
  kHtBottomLeft = 16,
  kHtBottomRight = 17,
  kHtBorder = 18,
  kHtClose = 20,
  kHtHelp = 21,
};

int HitCodeOfIcon(TTeBorderIcon icon);
// The button's icon for the codes 11 to 17; false for every other code.
bool IconOfHitCode(int code, TTeBorderIcon& icon);

// A style's form sizes, GetSize of ktsBorder ... ktsToolButtonTop.
struct TThemeFrameSizes {
  int border = 0;            // 0
  int toolBorder = 0;        // 1
  int caption = 0;           // 2: caption bottom, from the window top
  int toolCaption = 0;       // 3
  int captionCorner = 0;     // 4
  int buttonWidth = 0;       // 5
  int buttonHeight = 0;      // 6
  int toolButtonWidth = 0;   // 7
  int toolButtonHeight = 0;  // 8
  int buttonMargin = 0;      // 9
  int buttonTop = 0;         // 10
  int buttonSpacing = 0;     // 11
  int toolButtonMargin = 0;  // 12
  int toolButtonTop = 0;     // 13
};

// What the system look is measured with, read from the platform at start
// and after every change of the system's visual style.
struct TSystemFrameMetrics {
  int frame = 4;          // SM_CXFRAME
  int caption = 19;       // SM_CYCAPTION
  int smallCaption = 15;  // SM_CYSMCAPTION
  int buttonWidth = 18;   // SM_CXSIZE
  int buttonHeight = 18;  // SM_CYSIZE
  bool visualStyles = false;

  // The caption height of a border style (0 for none).
  int CaptionOf(TTeBorderStyle style) const;
};

// The frame whose parts are asked for: its size (the window less the
// shadow), border style, border icons and window state.
struct TFrameShape {
  int width = 0;
  int height = 0;
  TTeBorderStyle borderStyle = kbsStandard;
  TTeBorderIcons icons;
  TTeWindowState state = kwsNormal;
  // An MDI child while maximized has no frame: its client area is the whole window.
  bool mdiChildMaximized = false;
};

// --- the parts of a frame painted by a style -----------------------------
TRect ThemeClientRect(const TThemeFrameSizes& m, const TSystemFrameMetrics& sys, const TFrameShape& shape);
TRect ThemeCaptionBand(const TThemeFrameSizes& m, const TFrameShape& shape);
// Empty when the icon is not in the shape's icons or not shown in its state.
TRect ThemeButtonRect(const TThemeFrameSizes& m, const TFrameShape& shape, TTeBorderIcon icon);

// --- the parts of a frame in the system look -----------------------------
TRect SystemClientRect(const TSystemFrameMetrics& sys, const TFrameShape& shape);
TRect SystemCaptionBand(const TSystemFrameMetrics& sys, const TFrameShape& shape);
TRect SystemButtonRect(const TSystemFrameMetrics& sys, const TFrameShape& shape, TTeBorderIcon icon);

// --- hit testing -------------------------------------------------------------
struct THitTestInput {
  TPoint point;  // window-relative
  int width = 0;
  int height = 0;
  TRect client;                                   // window-relative
  std::array<TRect, kBorderIconCount> buttons{};  // by TTeBorderIcon; empty ones never hit
  TTeWindowState state = kwsNormal;
  int captionHeight = 0;  // the system caption height of the border style, 0 for kbsNone
  TRect sizeGrip;         // window-relative; empty when the form has no effective size grip
};
int FrameHitTest(const THitTestInput& input);
// A style's frame: the top sizing zone is only as deep as the style's
// border; below it, within the client's width, the point is caption.
int NarrowTopZone(int code, TPoint point, const TRect& client, int border);
// The WM_NCHITTEST answer for a hit code.
int HitCodeAnswer(int code, bool moveable, bool sizeable, TTeWindowState state);

// The new client rectangle of WM_NCCALCSIZE for a proposed window rectangle,
// keeping the insets that `client` has inside a window of windowWidth x
// windowHeight.
TRect CalcClientRect(const TRect& proposed, const TRect& client, int windowWidth, int windowHeight);

// --- caption -----------------------------------------------------------------
// The rectangle the caption text is drawn in: the band, less the system-menu
// icon's square when a standard caption shows one.
TRect CaptionTextRect(const TRect& band, TTeBorderStyle style, TTeBorderIcons icons);
// The width left to the caption text by the buttons; `xpThemeApi` is whether
// the style is the one that draws rollup and tray buttons without room of
// their own.
int CaptionTextWidth(int frameWidth, int textLeft, const TFrameShape& shape, int buttonWidth, int toolButtonWidth,
                     bool xpThemeApi);

// The glyph a caption button is drawn with in a window state.
TTeCaptionButton CaptionGlyph(TTeBorderIcon icon, TTeWindowState state);

// Which way a caption button is drawn, from the frame's mouse state.
struct TCaptionButtonLook {
  bool hot = false;
  bool pressed = false;
  bool operator==(const TCaptionButtonLook&) const = default;
};
TCaptionButtonLook CaptionButtonLook(int code, int pressedCode, int hotCode, bool leftHeld, bool moving);

// --- moving and sizing -------------------------------------------------------
struct TDragInput {
  int pressedCode = kHitNone;
  TRect bounds;  // the owner's current bounds
  TPoint down;   // window-relative mouse-down point
  TPoint last;   // window-relative last point
  TPoint point;  // window-relative point now
  TSize minSize;
  bool fullDrag = true;
  bool moveable = true;
  bool sizeable = true;
  TTeWindowState state = kwsNormal;
};
struct TDragResult {
  TRect bounds;
  bool moved = false;    // a caption move: the caller snaps the bounds
  bool changed = false;  // the pressed part did anything at all
};
TDragResult DragBounds(const TDragInput& input);

// --- window states and size limits -----------------------------------------
// The size a window may take, for WM_WINDOWPOSCHANGING: at most maxTrack and,
// except while rolled up or minimized, at least minTrack.
TSize ClampTrackSize(TSize proposed, TSize maxTrack, TSize minTrack, TTeWindowState state);
// The maximized bounds: the work area (a huge one for a form that stays on
// top) within the monitor, grown by `inset` on every side so that a border
// of that width lies outside.
TRect MaximizedRect(const TRect& workArea, const TRect& monitor, bool stayOnTop, int inset);
// Minimized: as wide as the system's minimized windows, only the caption and
// borders high, on the bottom of the work area at its left edge 0.
TRect MinimizedRect(int minimizedWidth, int frameHeight, int clientHeight, int workAreaBottom);
// Rolled up: the frame's width, only the caption and borders high, where the
// window is now.
TRect RollupRect(TPoint topLeft, int frameWidth, int frameHeight, int clientHeight);

struct TFormConstraintValues {
  int minWidth = 0;
  int minHeight = 0;
  int maxWidth = 0;
  int maxHeight = 0;
};
// 0 in a constraint means "no constraint".
TSize MaxTrackSize(const TRect& maximized, const TFormConstraintValues& constraints);
TSize MinTrackSize(const TFormConstraintValues& constraints);

}  // namespace hv
