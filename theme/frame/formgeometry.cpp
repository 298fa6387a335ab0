#include "theme/frame/formgeometry.h"

#include <algorithm>

namespace hv {

namespace {

constexpr std::array<TTeBorderIcon, kBorderIconCount> kHitCodeIcons = {kbiClose,  kbiHelp, kbiMinimize,  kbiMaximize,
                                                                       kbiRollup, kbiTray, kbiSystemMenu};

// Whether a button shows in a window state at all (its icon aside).
bool ShownInState(TTeBorderIcon icon, TTeWindowState state) {
  switch (icon) {
    case kbiMaximize:
    case kbiRollup:
    case kbiTray:
      return state != kwsMinimized;
    case kbiHelp:
      return state != kwsMinimized && state != kwsRollup;
    default:
      return true;
  }
}

bool Shown(const TFrameShape& shape, TTeBorderIcon icon) {
  return shape.icons.Contains(icon) && ShownInState(icon, shape.state);
}

// Right to left after the close button, as both looks place them.
constexpr std::array<TTeBorderIcon, 5> kButtonsAfterClose = {kbiMaximize, kbiMinimize, kbiRollup, kbiTray, kbiHelp};

}  // namespace

int HitCodeOfIcon(TTeBorderIcon icon) {
  for (size_t i = 0; i < kHitCodeIcons.size(); ++i)
    if (kHitCodeIcons[i] == icon) return kHitClose + static_cast<int>(i);
  return kHitNone;
}

bool IconOfHitCode(int code, TTeBorderIcon& icon) {
  if (code < kHitClose || code > kHitSystemMenu) return false;
  icon = kHitCodeIcons[static_cast<size_t>(code - kHitClose)];
  return true;
}

int TSystemFrameMetrics::CaptionOf(TTeBorderStyle style) const {
  switch (style) {
    case kbsStandard:
      return caption;
    case kbsToolWindow:
      return smallCaption;
    default:
      return 0;
  }
}

// --- a style's frame -----------------------------------------------------

TRect ThemeClientRect(const TThemeFrameSizes& m, const TSystemFrameMetrics& sys, const TFrameShape& shape) {
  const int w = shape.width, h = shape.height;
  if (shape.mdiChildMaximized) return SystemClientRect(sys, shape);
  switch (shape.borderStyle) {
    case kbsStandard:
      return Rect(m.border, m.caption, w - m.border, h - m.border);
    case kbsToolWindow:
      return Rect(m.toolBorder, m.toolCaption, w - m.toolBorder, h - m.toolBorder);
    default:
      return SystemClientRect(sys, shape);
  }
}

TRect ThemeCaptionBand(const TThemeFrameSizes& m, const TFrameShape& shape) {
  const int w = shape.width;
  switch (shape.borderStyle) {
    case kbsStandard:
      return Rect(m.buttonMargin, m.buttonTop, w - m.buttonMargin, m.caption);
    case kbsToolWindow:
      return Rect(m.toolButtonMargin + 4, m.toolButtonTop, w - m.toolButtonMargin, m.toolCaption);
    default:
      return Rect(0, 0, w, 0);
  }
}

TRect ThemeButtonRect(const TThemeFrameSizes& m, const TFrameShape& shape, TTeBorderIcon icon) {
  // A frame without a caption has no buttons either.
  if (shape.borderStyle == kbsNone || !Shown(shape, icon)) return {};
  const bool tool = shape.borderStyle == kbsToolWindow;
  if (icon == kbiSystemMenu) {
    const int border = tool ? m.toolBorder : m.border;
    const int caption = tool ? m.toolCaption : m.caption;
    return Rect(border, border, border + (caption - border), caption);
  }
  const int bw = tool ? m.toolButtonWidth : m.buttonWidth;
  const int bh = tool ? m.toolButtonHeight : m.buttonHeight;
  const int top = tool ? m.toolButtonTop : m.buttonTop;
  int edge = shape.width - (tool ? m.toolButtonMargin : m.buttonMargin) - bw;
  if (icon == kbiClose) return Bounds(edge, top, bw, bh);
  if (tool) return {};
  if (shape.icons.Contains(kbiClose)) edge -= bw + m.buttonSpacing;
  for (TTeBorderIcon next : kButtonsAfterClose) {
    if (!Shown(shape, next)) continue;
    if (next == icon) return Bounds(edge, top, bw, bh);
    edge -= bw + m.buttonSpacing;
  }
  return {};
}

// --- the system look -------------------------------------------------------

TRect SystemClientRect(const TSystemFrameMetrics& sys, const TFrameShape& shape) {
  const int w = shape.width, h = shape.height;
  if (shape.borderStyle == kbsNone || shape.mdiChildMaximized) return Rect(0, 0, w, h);
  const int f = sys.frame;
  return Rect(f, f + sys.CaptionOf(shape.borderStyle), w - f, h - f);
}

TRect SystemCaptionBand(const TSystemFrameMetrics& sys, const TFrameShape& shape) {
  if (shape.borderStyle == kbsNone) return Rect(0, 0, shape.width, 0);
  const int f = sys.frame;
  return Rect(f, f + 1, shape.width - f, f + sys.CaptionOf(shape.borderStyle));
}

TRect SystemButtonRect(const TSystemFrameMetrics& sys, const TFrameShape& shape, TTeBorderIcon icon) {
  if (shape.borderStyle == kbsNone || !Shown(shape, icon)) return {};
  const bool tool = shape.borderStyle == kbsToolWindow;
  const TRect band = SystemCaptionBand(sys, shape);
  const int h = band.Height();
  if (icon == kbiSystemMenu) return Rect(band.left, band.top, band.left + h, band.bottom);
  const int f = sys.frame;
  const bool styled = sys.visualStyles;
  const int bw = styled ? h - 4 : h - 2;
  const int bh = h - 4;
  const int top = styled ? f + 2 : f + 3;
  int edge = shape.width - f - 2 - bw;
  if (styled && tool) edge += 2;
  if (icon == kbiClose) return Bounds(edge, top, bw, bh);
  if (tool) return {};
  if (shape.icons.Contains(kbiClose)) edge -= bw + 2;
  for (TTeBorderIcon next : kButtonsAfterClose) {
    // Visual styles draw no rollup or tray button, and the walk ends there.
    if (styled && (next == kbiRollup || next == kbiTray || next == kbiHelp)) return {};
    if (!Shown(shape, next)) continue;
    if (next == kbiMaximize || next == kbiMinimize) {
      if (next == icon) return Bounds(edge, top, bw, bh);
      edge -= styled ? bw + 2 : bw;
      continue;
    }
    // Rollup, tray and help stand apart from their right neighbour.
    const int left = edge - 2;
    if (next == icon) return Bounds(left, top, bw, bh);
    edge = left - bw;
  }
  return {};
}

// --- hit testing -------------------------------------------------------------

int FrameHitTest(const THitTestInput& in) {
  const int x = in.point.x, y = in.point.y;
  const TRect& cr = in.client;
  int code = kHitNone;
  if (y < cr.top && x < in.width) code = kHitCaption;
  constexpr std::array<TTeBorderIcon, kBorderIconCount> kOrder = {kbiSystemMenu, kbiClose,  kbiMinimize, kbiMaximize,
                                                                  kbiHelp,       kbiRollup, kbiTray};
  bool onButton = false;
  for (TTeBorderIcon icon : kOrder) {
    const TRect& r = in.buttons[icon];
    if (!r.IsEmpty() && r.Contains(in.point)) {
      code = HitCodeOfIcon(icon);
      onButton = true;
    }
  }
  if (in.state == kwsMaximized || in.state == kwsMinimized || in.state == kwsRollup) return code;
  // A caption button keeps the point even where a sizing zone reaches over
  // it (a style's buttons may start inside the top zone).
  if (onButton) return code;
  if (y < cr.top - in.captionHeight) code = x <= 19 ? kHitTopLeft : x > in.width - 20 ? kHitTopRight : kHitTop;
  if (cr.bottom < y && y < in.height)
    code = x <= 19 ? kHitBottomLeft : x > in.width - 20 ? kHitBottomRight : kHitBottom;
  if (x < cr.left) code = y <= 19 ? kHitTopLeft : y > in.height - 20 ? kHitBottomLeft : kHitLeft;
  if (cr.right < x && x < in.width) code = y <= 19 ? kHitTopRight : y > in.height - 20 ? kHitBottomRight : kHitRight;
  if (!in.sizeGrip.IsEmpty() && in.sizeGrip.Contains(in.point)) code = kHitBottomRight;
  return code;
}

int NarrowTopZone(int code, TPoint point, const TRect& client, int border) {
  if (code != kHitTop && code != kHitTopLeft && code != kHitTopRight) return code;
  if (client.left < point.x && point.x < client.right && point.y > border) return kHitCaption;
  return code;
}

int HitCodeAnswer(int code, bool moveable, bool sizeable, TTeWindowState state) {
  // The borders and corners, codes 2 to 10 (6 is the plain border).
  constexpr int kSizing[] = {kHtLeft,    kHtTop,      kHtRight,      kHtBottom,     kHtBorder,
                             kHtTopLeft, kHtTopRight, kHtBottomLeft, kHtBottomRight};
  if (code == kHitBorder) return kHtBorder;
  if (code >= kHitLeft && code <= kHitBottomRight)
    return sizeable && state != kwsMaximized ? kSizing[code - kHitLeft] : kHtClient;
  switch (code) {
    case kHitCaption:
      return moveable ? kHtCaption : kHtClient;
    case kHitClose:
      return kHtClose;
    case kHitHelp:
      return kHtHelp;
    case kHitMaximize:
      return kHtMaxButton;
    case kHitMinimize:
    case kHitRollup:
    case kHitTray:
    case kHitSystemMenu:
    case kHitNoButton:
      return kHtMinButton;
    default:
      return kHtClient;
  }
}

TRect CalcClientRect(const TRect& proposed, const TRect& client, int windowWidth, int windowHeight) {
  return Rect(proposed.left + client.left, proposed.top + client.top, proposed.right - (windowWidth - client.right),
              proposed.bottom - (windowHeight - client.bottom));
}

// --- caption -------------------------------------------------------------------

TRect CaptionTextRect(const TRect& band, TTeBorderStyle style, TTeBorderIcons icons) {
  TRect r = band;
  if (style == kbsStandard && icons.Contains(kbiSystemMenu)) r.left += band.Height();
  return r;
}

int CaptionTextWidth(int frameWidth, int textLeft, const TFrameShape& shape, int buttonWidth, int toolButtonWidth,
                     bool xpThemeApi) {
  if (shape.borderStyle == kbsToolWindow) return frameWidth - textLeft - toolButtonWidth;
  if (shape.state == kwsMinimized) return frameWidth - textLeft - 2 * buttonWidth;
  int width = frameWidth - textLeft - 4 * buttonWidth;
  if (shape.icons.Contains(kbiHelp)) width -= buttonWidth;
  if (!xpThemeApi) {
    if (shape.icons.Contains(kbiRollup)) width -= buttonWidth;
    if (shape.icons.Contains(kbiTray)) width -= buttonWidth;
  }
  return width;
}

TTeCaptionButton CaptionGlyph(TTeBorderIcon icon, TTeWindowState state) {
  switch (icon) {
    case kbiHelp:
      return kcbHelp;
    case kbiMinimize:
      return state == kwsMinimized ? kcbRestore : kcbMinimize;
    case kbiMaximize:
      return state == kwsMaximized ? kcbRestore : kcbMaximize;
    case kbiRollup:
      return state == kwsRollup ? kcbRolldown : kcbRollup;
    case kbiTray:
      return kcbTray;
    default:
      return kcbClose;
  }
}

TCaptionButtonLook CaptionButtonLook(int code, int pressedCode, int hotCode, bool leftHeld, bool moving) {
  TCaptionButtonLook look;
  look.pressed = leftHeld && pressedCode == code && hotCode == code;
  look.hot = hotCode == code && !moving;
  return look;
}

// --- moving and sizing -----------------------------------------------------------

TDragResult DragBounds(const TDragInput& in) {
  TDragResult result;
  TRect b = in.bounds;
  const int dxDown = in.point.x - in.down.x, dyDown = in.point.y - in.down.y;
  // The window moves under the mouse while it is sized live from the right
  // or bottom, so those edges follow the last point rather than the first.
  const TPoint from = in.fullDrag ? in.last : in.down;
  const int dx = in.point.x - from.x, dy = in.point.y - from.y;
  const bool sizeLeftTop = in.sizeable && (in.state == kwsNormal || in.state == kwsTray);
  const bool sizeAny = in.sizeable && in.state != kwsMaximized && in.state != kwsMinimized && in.state != kwsRollup;
  auto left = [&] { b.left = std::min(b.left + dxDown, b.right - in.minSize.cx); };
  auto top = [&] { b.top = std::min(b.top + dyDown, b.bottom - in.minSize.cy); };
  switch (in.pressedCode) {
    case kHitCaption:
      if (!in.moveable || in.state == kwsMaximized) return {in.bounds, false, false};
      b = b.Offset(dxDown, dyDown);
      result.moved = true;
      break;
    case kHitLeft:
      if (!sizeLeftTop) return {in.bounds, false, false};
      left();
      break;
    case kHitTop:
      if (!sizeLeftTop) return {in.bounds, false, false};
      top();
      break;
    case kHitRight:
      if (!sizeAny) return {in.bounds, false, false};
      b.right += dx;
      break;
    case kHitBottom:
      if (!sizeAny) return {in.bounds, false, false};
      b.bottom += dy;
      break;
    case kHitTopLeft:
      if (!sizeAny) return {in.bounds, false, false};
      top();
      left();
      break;
    case kHitTopRight:
      if (!sizeAny) return {in.bounds, false, false};
      top();
      b.right += dx;
      break;
    case kHitBottomLeft:
      if (!sizeAny) return {in.bounds, false, false};
      b.bottom += dy;
      left();
      break;
    case kHitBottomRight:
      if (!sizeAny) return {in.bounds, false, false};
      b.bottom += dy;
      b.right += dx;
      break;
    default:
      return {in.bounds, false, false};
  }
  result.bounds = b;
  result.changed = true;
  return result;
}

// --- window states and size limits -------------------------------------------------

TSize ClampTrackSize(TSize proposed, TSize maxTrack, TSize minTrack, TTeWindowState state) {
  TSize s{std::min(proposed.cx, maxTrack.cx), std::min(proposed.cy, maxTrack.cy)};
  if (state != kwsRollup && state != kwsMinimized) {
    s.cx = std::max(s.cx, minTrack.cx);
    s.cy = std::max(s.cy, minTrack.cy);
  }
  return s;
}

TRect MaximizedRect(const TRect& workArea, const TRect& monitor, bool stayOnTop, int inset) {
  const TRect area = stayOnTop ? Rect(0, 0, 10000, 10000) : workArea;
  return Intersect(area, monitor).Inflate(inset, inset);
}

TRect MinimizedRect(int minimizedWidth, int frameHeight, int clientHeight, int workAreaBottom) {
  return Rect(0, workAreaBottom - (frameHeight - clientHeight), minimizedWidth, workAreaBottom);
}

TRect RollupRect(TPoint topLeft, int frameWidth, int frameHeight, int clientHeight) {
  return Bounds(topLeft.x, topLeft.y, frameWidth, frameHeight - clientHeight);
}

TSize MaxTrackSize(const TRect& maximized, const TFormConstraintValues& c) {
  return {c.maxWidth != 0 ? c.maxWidth : maximized.Width(), c.maxHeight != 0 ? c.maxHeight : maximized.Height()};
}

TSize MinTrackSize(const TFormConstraintValues& c) {
  return {c.minWidth != 0 ? c.minWidth : 150, c.minHeight != 0 ? c.minHeight : 40};
}

}  // namespace hv
