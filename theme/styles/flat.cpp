#include "theme/styles/flat.h"

#include <windows.h>

#include <array>

#include "framework/graphics.h"
#include "theme/core/colors.h"
#include "theme/core/drawing.h"
#include "theme/core/rects.h"
#include "theme/core/text.h"
#include "theme/core/themeitems.h"
#include "theme/styles/flatdraw.h"
#include "theme/styles/flattables.h"
#include "theme/styles/sharedpaint.h"

namespace hv {

using namespace flatdraw;

namespace {

constexpr unsigned kDtLeftMiddle = DT_LEFT | DT_VCENTER | DT_SINGLELINE;
constexpr unsigned kDtCentred = DT_CENTER | DT_VCENTER | DT_SINGLELINE;

void Line(TCanvas& canvas, int x1, int y1, int x2, int y2, TColor color) {
  MoveTo(canvas, x1, y1);
  LineTo(canvas, x2, y2, color);
}

}  // namespace

// --- colours, sizes, fonts ----------------------------------------------------------

int TTeThemeFlat::GetSize(TTeThemeSize kind) const { return flattables::Size(flattables::kFlatSizes, kind); }

TColor TTeThemeFlat::GetColor(TTeThemeColor kind) const {
  return AdjustColor(flattables::BaseColor(flattables::kFlatColors, kind));
}

std::string TTeThemeFlat::GetFontName(TTeThemeFont) const { return "Tahoma"; }

int TTeThemeFlat::GetFontSize(TTeThemeFont kind) const { return kind == ktfCaption ? 9 : 8; }

TFontStyles TTeThemeFlat::GetFontStyle(TTeThemeFont) const { return {}; }

HRGN TTeThemeFlat::GetFormRegion(int, int, TTeBorderStyle) { return nullptr; }

// --- window frame and caption ------------------------------------------------------------

void TTeThemeFlat::DrawFormFrame(TCanvas& canvas, int width, int height, const TRect& clientRect, bool active,
                                 TTeBorderStyle) {
  const TRect caption{clientRect.left, clientRect.left, clientRect.right, clientRect.top};
  GradientFill(canvas, caption, GetColor(active ? ktcActiveCaption : ktcInactiveCaption),
               active ? clGradientActiveCaption : clGradientInactiveCaption, false);
  const TColor face = GetColor(ktcFace);
  TRect r{0, 0, width, height};
  Raised(canvas, r, face, 150);
  r = Shrink(r);
  Frame3D(canvas, r, face, Darken(face, 90));
  r = Shrink(r);
  Frame(canvas, r, face);
}

void TTeThemeFlat::DrawCaptionButton(TCanvas& canvas, const TRect& rect, TTeCaptionButton button, bool hot,
                                     bool pressed, bool, TTeBorderStyle) {
  const TColor e = GetColor(hot ? ktcHotFace : ktcFace);
  FillRectColor(canvas, rect, e);
  if (pressed) {
    Sunken(canvas, rect, e, 150);
    Frame3D(canvas, Shrink(rect), Darken(e, 90), e);
  } else {
    Raised(canvas, rect, e, 150);
    Frame3D(canvas, Shrink(rect), e, Darken(e, 90));
  }
  CaptionGlyph(canvas, rect, button, pressed);
}

// --- menus ---------------------------------------------------------------------------

void TTeThemeFlat::MeasureMenuBarItem(TCanvas& canvas, TTeCustomItem* item, int& width, int& height) {
  MeasureMenuBarItemOf(*this, canvas, item, width, height);
}

void TTeThemeFlat::MeasurePopupItem(TCanvas& canvas, TTeCustomItem* item, int& width, int& height) {
  MeasurePopupItemOf(*this, canvas, item, width, height);
}

void TTeThemeFlat::DrawMenuBar(TCanvas& canvas, int width, int height) {
  const TRect r{0, 0, width, height};
  FillRectColor(canvas, r, GetColor(ktcMenu));
  Frame(canvas, r, GetColor(ktcMenuArrow));
}

void TTeThemeFlat::DrawPopupMenu(TCanvas& canvas, int width, int height) {
  TRect r{0, 0, width, height};
  const TColor item = GetColor(ktcMenuItem);
  Frame(canvas, r, item);
  Frame(canvas, r, GetColor(ktcMenuArrow));
  r = Shrink(r);
  Frame(canvas, r, item);
  Frame(canvas, Shrink(r), item);
}

void TTeThemeFlat::DrawMenuBarItem(TCanvas& canvas, TTeCustomItem* item, const TRect& rect, bool selected, bool hot) {
  if (!item) return;
  SetThemeFont(canvas, *this, ktfMenuBar);
  const TRect r = Shrink(rect);
  FillRectColor(canvas, r, GetColor(item->OnControlBar() ? ktcFace : ktcMenu));
  PaintMenuBarItemFace(canvas, item, Shrink(r), selected, hot);
}

// What follows the background: the face by selection, then the caption.
void TTeThemeFlat::PaintMenuBarItemFace(TCanvas& canvas, TTeCustomItem* item, const TRect& rect, bool selected,
                                        bool hot) {
  if (!selected) {
    if (item->OnControlBar()) DrawSpeedButton(canvas, rect, kesNormal, true, false);
    canvas.Font()->SetColor(GetColor(ktcMenuBarText));
  } else if (item->OnControlBar()) {
    DrawSpeedButton(canvas, rect, hot ? kesHot : kesPressed, true, false);
    canvas.Font()->SetColor(GetColor(ktcMenuBarText));
  } else {
    FillRectColor(canvas, rect, GetColor(hot ? ktcHotFace : ktcMenuBarSelection));
    canvas.Font()->SetColor(GetColor(ktcMenuBarSelectedText));
    Frame(canvas, rect, GetColor(ktcMenuArrow));
  }
  DrawTextEx(canvas, item->Caption(), rect, DrawTextBiDiModeFlags(kDtCentred));
}

void TTeThemeFlat::DrawMenuBarButton(TCanvas& canvas, TTeCustomItem* item, const TRect& rect, bool selected, bool hot) {
  if (!item) return;
  TRect r = Shrink(rect);
  FillRectColor(canvas, r, GetColor(ktcMenuItem));
  unsigned glyph;
  switch (item->ButtonKind()) {
    case kibClose:
      glyph = DFCS_CAPTIONCLOSE;
      break;
    case kibRestore:
      glyph = DFCS_CAPTIONRESTORE;
      break;
    case kibMinimize:
      glyph = DFCS_CAPTIONMIN;
      break;
    case kibSystemMenu:
      r = Shrink(r);
      FillRectColor(canvas, r, GetColor(selected ? ktcMenuItemSelection : ktcMenuItem));
      if (selected) Frame(canvas, r, GetColor(ktcMenuArrow));
      return;
    default:
      return;
  }
  r = Shrink(r, 2);
  // The platform may narrow the rect to its picture; the frame follows it.
  RECT platform{r.left, r.top, r.right, r.bottom};
  const unsigned state = glyph | DFCS_ADJUSTRECT | (selected ? (hot ? DFCS_FLAT : DFCS_PUSHED) : 0u);
  DrawFrameControl(canvas.Handle(), &platform, DFC_CAPTION, state);
  Frame(canvas, {platform.left, platform.top, platform.right, platform.bottom}, GetColor(ktcFrame));
}

void TTeThemeFlat::DrawPopupItem(TCanvas& canvas, TTeCustomItem* item, const TRect& rect, bool selected, uint8_t) {
  if (DrawPopupItemBase(*this, canvas, item, rect, selected)) PaintSubItemDot(canvas, item, rect);
}

// An item with sub-items gets a round dot in the text colour.
void TTeThemeFlat::PaintSubItemDot(TCanvas& canvas, TTeCustomItem* item, const TRect& rect) {
  if (item->Count() == 0) return;
  const TRect dot = CenterRect({0, 0, 5, 5}, {rect.right - 24, rect.top, rect.right - 2, rect.bottom});
  RoundFill(canvas, dot, 5, canvas.Font()->Color());
}

void TTeThemeFlat::DrawPopupScrollButton(TCanvas& canvas, const TRect& rect, int direction, bool hot) {
  FillRectColor(canvas, rect, GetColor(ktcMenuItem));
  if (hot) Sunken(canvas, rect, GetColor(ktcMenuArrow), 30);
  const TColor text = GetColor(ktcMenuItemText);
  canvas.Font()->SetColor(text);
  if (direction == 1 || direction == 2) Arrow(canvas, rect, direction == 2, text);
}

// --- buttons and check marks ---------------------------------------------------------------

void TTeThemeFlat::DrawButton(TCanvas& canvas, int width, int height, uint8_t state) {
  if (state == kesDisabled) return;
  const TColor c = GetColor(state == kesHot                                   ? ktcHotFace
                            : state == kesPressed || state == 4 || state == 5 ? ktcSelection
                                                                              : ktcFace);
  TRect r{0, 0, width, height};
  Frame(canvas, r, GetColor(ktcFrame));
  r = Shrink(r);
  if (state == kesPressed) {
    Sunken(canvas, r, c, 30);
    r = Shrink(r);
  } else if (state == kesHot) {
    const TColor light = Lighten(c, 30);
    Line(canvas, 1, r.top, r.right - 1, r.top, light);
    Line(canvas, r.left, 1, r.left, r.bottom - 1, light);
    r = Shrink(r);
  } else if (state == 4 || state == 5) {
    const TColor dark = Darken(c, 30);
    Line(canvas, 1, r.bottom - 1, r.right - 1, r.bottom - 1, dark);
    Line(canvas, r.right - 1, 1, r.right - 1, r.bottom - 1, dark);
    r = Shrink(r);
  }
  FillRectColor(canvas, r, c);
}

TTeThemeColor TTeThemeFlat::CheckFill(TTeElementState state) {
  return state == kesHot ? ktcHotFace : state == 4 ? ktcSelection : ktcFace;
}

void TTeThemeFlat::DrawCheckBox(TCanvas& canvas, const TRect& rect, TTeElementState state, TCheckBoxState check) {
  const bool disabled = state == kesDisabled;
  PaintCheckBox(canvas, rect, check, GetColor(ktcFrame), GetColor(disabled ? ktcFace : CheckFill(state)),
                GetColor(disabled ? ktcDisabledFace : ktcFrame));
}

void TTeThemeFlat::PaintCheckBox(TCanvas& canvas, const TRect& rect, TCheckBoxState check, TColor border, TColor fill,
                                 TColor mark) {
  Frame(canvas, rect, border);
  FillRectColor(canvas, Shrink(rect), fill);
  if (check == cbChecked)
    Glyph(canvas, rect, DFC_BUTTON, DFCS_BUTTONCHECK | DFCS_CHECKED, mark);
  else if (check == cbGrayed)
    FillRectColor(canvas, Shrink(rect, 3), mark);
}

void TTeThemeFlat::DrawRadioButton(TCanvas& canvas, const TRect& rect, TTeElementState state, bool checked) {
  if (state == kesDisabled)
    PaintRadioButton(canvas, rect, checked, GetColor(ktcFace), clBlack);
  else
    PaintRadioButton(canvas, rect, checked, GetColor(CheckFill(state)), GetColor(ktcFrame));
}

void TTeThemeFlat::PaintRadioButton(TCanvas& canvas, const TRect& rect, bool checked, TColor fill, TColor outline) {
  RoundFrame(canvas, rect, 6, outline);
  RoundFill(canvas, Shrink(rect), 2, fill);
  if (checked) RoundFill(canvas, Shrink(rect, 3), 2, outline);
}

void TTeThemeFlat::DrawSpeedButton(TCanvas& canvas, const TRect& rect, TTeElementState state, bool flat, bool down) {
  if (state == kesDisabled) return;
  if (state > 5) state = kesNormal;
  const TColor frame = GetColor(ktcFrame), face = GetColor(ktcFace);
  if (flat) {
    if (state == kesPressed) {
      Frame(canvas, rect, frame);
      FillRectColor(canvas, Shrink(rect), face);
      Sunken(canvas, Shrink(rect), face, 30);
    } else if (state == kesHot) {
      const TColor hot = GetColor(ktcHotFace);
      Frame(canvas, rect, frame);
      FillRectColor(canvas, Shrink(rect), hot);
      Raised(canvas, Shrink(rect), hot, 30);
    } else {
      FillRectColor(canvas, rect, face);
      Frame(canvas, rect, frame);
      if (state == kesNormal && down) {
        FillRectColor(canvas, rect, GetColor(ktcSelection));
        Frame(canvas, rect, frame);
      }
    }
    return;
  }
  if (state != kesNormal && state != kesPressed) return;
  if (down) {
    FillRectColor(canvas, rect, GetColor(ktcSelection));
    Frame(canvas, rect, frame);
    return;
  }
  Frame(canvas, rect, frame);
  FillRectColor(canvas, Shrink(rect), face);
  if (state == kesNormal)
    Raised(canvas, Shrink(rect), face, 30);
  else
    Sunken(canvas, Shrink(rect), face, 30);
}

void TTeThemeFlat::DrawSpeedButtonChevron(TCanvas& canvas, const TRect& rect, TTeElementState state, bool flat,
                                          bool down) {
  DrawSpeedButton(canvas, rect, state, flat, down);
  const TRect r = state == kesPressed ? rect.Offset(1, 1) : rect;
  if (state == kesDisabled) {
    const TColor disabled = GetColor(ktcDisabledFace);
    ArrowOutline(canvas, r, disabled, disabled);
  } else {
    Arrow(canvas, r, true, clBlack);
  }
}

void TTeThemeFlat::DrawSpinButton(TCanvas& canvas, const TRect& rect, TTeElementState state, uint8_t) {
  DrawSpeedButton(canvas, rect, state, true, false);
}

void TTeThemeFlat::DrawGlyphButton(TCanvas& canvas, const TRect& rect, int glyph, TTeElementState state, bool second) {
  PaintGlyphButton(canvas, rect, glyph, state, second, GetColor(ktcFrame), true);
}

void TTeThemeFlat::PaintGlyphButton(TCanvas& canvas, const TRect& rect, int glyph, TTeElementState state, bool second,
                                    TColor outline, bool raisedWhenHot) {
  const TColor fill = GetColor(StateFill(state));
  Frame(canvas, rect, outline);
  const TRect inner = Shrink(rect);
  FillRectColor(canvas, inner, fill);
  if (state == kesPressed)
    Sunken(canvas, inner, fill, 30);
  else if (state == kesHot && raisedWhenHot)
    Raised(canvas, inner, fill, 30);
  const unsigned pushed = state == kesPressed ? DFCS_PUSHED : 0u;
  if (glyph == 1)
    Glyph(canvas, rect, DFC_CAPTION, DFCS_CAPTIONCLOSE | pushed);
  else
    Glyph(canvas, rect, DFC_SCROLL, (second ? DFCS_SCROLLDOWN : DFCS_SCROLLUP) | pushed);
}

void TTeThemeFlat::DrawComboButton(TCanvas& canvas, const TRect& rect, TTeElementState state) {
  PaintComboButton(canvas, rect, state, GetColor(ktcFrame), true);
}

void TTeThemeFlat::PaintComboButton(TCanvas& canvas, const TRect& rect, TTeElementState state, TColor outline,
                                    bool raisedWhenHot) {
  const TColor fill = GetColor(StateFill(state));
  Frame(canvas, rect, outline);
  const TRect inner = Shrink(rect);
  FillRectColor(canvas, inner, fill);
  if (state == kesPressed)
    Sunken(canvas, inner, fill, 30);
  else if (state == kesHot && raisedWhenHot)
    Raised(canvas, inner, fill, 30);
  // The arrow sits one pixel low, and follows the press one more each way.
  const int push = state == kesPressed ? 1 : 0;
  Arrow(canvas, rect.Offset(push, 1 + push), true, clBlack);
}

// --- track bars, progress bars, edits, headers, group boxes -------------------------------

void TTeThemeFlat::DrawTrackBarThumb(TCanvas& canvas, const TRect& rect, bool vertical, int shape,
                                     TTeElementState state) {
  PaintTrackBarThumb(canvas, rect, vertical, shape, GetColor(StateFill(state)), GetColor(ktcFrame));
}

void TTeThemeFlat::PaintTrackBarThumb(TCanvas& canvas, const TRect& rect, bool vertical, int shape, TColor fill,
                                      TColor outline) {
  if (shape == 0) {
    Frame(canvas, rect, outline);
    FillRectColor(canvas, Shrink(rect), fill);
  } else if (shape == 1 || shape == 2) {
    const std::array<TPoint, 5> points = ThumbPentagon(rect, vertical, shape);
    FillPolygon(canvas, points, fill);
    FramePolygon(canvas, points, outline);
  }
}

void TTeThemeFlat::DrawTrackBarTrack(TCanvas& canvas, const TRect& rect, const TRect& selectionRect) {
  FillRectColor(canvas, rect, GetColor(ktcFace));
  Frame(canvas, rect, GetColor(ktcFrame));
  if (!RectIsEmpty(selectionRect)) FillRectColor(canvas, Shrink(selectionRect), GetColor(ktcSelection));
}

void TTeThemeFlat::DrawProgressBarFrame(TCanvas& canvas, const TRect& rect) {
  Frame(canvas, rect, GetColor(ktcFrame));
  FillRectColor(canvas, Shrink(rect), GetColor(ktcWindow));
}

void TTeThemeFlat::DrawProgressBar(TCanvas& canvas, const TRect& rect, const TRect& barRect, bool vertical,
                                   bool smooth) {
  const TColor color = GetColor(ktcSelection);
  for (const TRect& block : ProgressBlocks(rect, barRect, vertical, smooth)) FillRectColor(canvas, block, color);
}

void TTeThemeFlat::DrawEdit(TCanvas& canvas, const TRect& rect, bool border, uint8_t) {
  TRect r = rect;
  if (border) {
    Frame(canvas, r, GetColor(ktcFrame));
    r = Shrink(r);
  }
  FillRectColor(canvas, r, GetColor(ktcWindow));
}

void TTeThemeFlat::DrawHeader(TCanvas& canvas, const TRect& rect, const std::string& text) {
  PaintHeader(canvas, rect, text, GetColor(ktcHotFace));
}

void TTeThemeFlat::PaintHeader(TCanvas& canvas, const TRect& rect, const std::string& text, TColor fill) {
  FillRectColor(canvas, rect, fill);
  Line(canvas, rect.left, rect.bottom, rect.right, rect.bottom, GetColor(ktcFrame));
  SetThemeFont(canvas, *this, ktfHeader);
  canvas.Font()->SetColor(GetColor(ktcHeaderText));
  DrawTextEx(canvas, text, TRect{rect.left + 5, rect.top, rect.right - 5, rect.bottom},
             DrawTextBiDiModeFlags(kDtLeftMiddle));
}

void TTeThemeFlat::DrawGroupBox(TCanvas& canvas, const TRect& rect, const TRect& captionRect,
                                const std::string& caption) {
  const TColor color = GetColor(ktcFrame);
  Line(canvas, rect.left, rect.top, captionRect.left, rect.top, color);
  MoveTo(canvas, captionRect.right, rect.top);
  const std::array<TPoint, 4> outline = {
      {{rect.right, rect.top}, {rect.right, rect.bottom}, {rect.left, rect.bottom}, {rect.left, rect.top}}};
  for (const TPoint& p : outline) LineTo(canvas, p.x, p.y, color);
  DrawTextEx(canvas, caption, captionRect, DrawTextBiDiModeFlags(kDtCentred));
}

// --- scroll bars -----------------------------------------------------------------------

void TTeThemeFlat::DrawScrollBarTrack(TCanvas& canvas, const TRect& rect, TScrollBarKind) {
  Frame(canvas, rect, GetColor(ktcFrame));
}

void TTeThemeFlat::DrawScrollButton(TCanvas& canvas, const TRect& rect, bool vertical, bool first,
                                    TTeElementState state) {
  PaintScrollButton(canvas, rect, vertical, first, state, GetColor(ktcFrame), true);
}

void TTeThemeFlat::PaintScrollButton(TCanvas& canvas, const TRect& rect, bool vertical, bool first,
                                     TTeElementState state, TColor outline, bool bevelled) {
  const TColor fill = GetColor(StateFill(state));
  FillRectColor(canvas, rect, fill);
  Frame(canvas, rect, outline);
  if (bevelled) {
    if (state == kesPressed)
      Sunken(canvas, Shrink(rect), fill, 30);
    else if (state == kesHot)
      Raised(canvas, Shrink(rect), fill, 30);
  }
  const unsigned direction =
      vertical ? (first ? DFCS_SCROLLUP : DFCS_SCROLLDOWN) : (first ? DFCS_SCROLLLEFT : DFCS_SCROLLRIGHT);
  Glyph(canvas, rect, DFC_SCROLL, direction | (state == kesPressed ? DFCS_FLAT | DFCS_PUSHED : 0u));
}

void TTeThemeFlat::DrawScrollThumb(TCanvas& canvas, const TRect& rect, TScrollBarKind, TTeElementState state) {
  PaintScrollThumb(canvas, rect, state, GetColor(ktcFrame), true);
}

void TTeThemeFlat::PaintScrollThumb(TCanvas& canvas, const TRect& rect, TTeElementState state, TColor outline,
                                    bool bevelled) {
  const TColor fill = GetColor(StateFill(state));
  Frame(canvas, rect, outline);
  const TRect inner = Shrink(rect);
  FillRectColor(canvas, inner, fill);
  if (!bevelled) return;
  if (state == kesPressed)
    Sunken(canvas, inner, fill, 30);
  else if (state == kesHot)
    Raised(canvas, inner, fill, 30);
}

// --- panels, tabs, borders -----------------------------------------------------------------

void TTeThemeFlat::DrawPanel(TCanvas& canvas, const TRect& rect) {
  Frame(canvas, rect, GetColor(ktcFrame));
  FillRectColor(canvas, Shrink(rect), GetColor(ktcFace));
}

void TTeThemeFlat::DrawTab(TCanvas& canvas, const TRect& rect, TTabPosition position, TTeElementState state) {
  PaintTab(canvas, rect, position, state, GetColor(ktcFrame));
}

void TTeThemeFlat::PaintTab(TCanvas& canvas, const TRect& rect, TTabPosition position, TTeElementState state,
                            TColor frame) {
  const TColor fill = GetColor(state == 4 ? ktcFace : state == kesHot ? ktcHotFace : ktcSelection);
  Frame(canvas, rect, frame);
  // The face runs one pixel into the page's side, over the tab's own frame.
  TRect r = Shrink(rect);
  switch (position) {
    case tpTop:
      ++r.bottom;
      break;
    case tpBottom:
      --r.top;
      break;
    case tpLeft:
      ++r.right;
      break;
    case tpRight:
      --r.left;
      break;
  }
  FillRectColor(canvas, r, fill);
}

void TTeThemeFlat::DrawListBorder(TCanvas& canvas, const TRect& rect, TTeElementState state) {
  PaintListBorder(canvas, rect, state, GetColor(ktcFrame));
}

void TTeThemeFlat::PaintListBorder(TCanvas& canvas, const TRect& rect, TTeElementState state, TColor enabledFrame) {
  if (state == kesDisabled)
    DrawNestedBorder(canvas, rect, GetColor(ktcDisabledFace), GetColor(ktcDisabledFrame), 7);
  else
    DrawNestedBorder(canvas, rect, GetColor(ktcWindow), enabledFrame, 7);
}

void TTeThemeFlat::DrawScrollBoxBorder(TCanvas& canvas, const TRect& rect, bool enabled) {
  if (enabled)
    DrawNestedBorder(canvas, rect, GetColor(ktcFace), GetColor(ktcFrame), 9);
  else
    DrawNestedBorder(canvas, rect, GetColor(ktcDisabledFace), GetColor(ktcDisabledFrame), 9);
}

TColor TTeThemeFlat::StateBoxFill(int variant) const {
  switch (variant) {
    case 1:
    case 5:
      return GetColor(ktcSelection);
    case 2:
      return clBlack;
    case 3:
    case 4:
      return GetColor(ktcHotFace);
    default:
      return GetColor(ktcFace);
  }
}

void TTeThemeFlat::DrawStateBox(TCanvas& canvas, const TRect& rect, uint8_t, int variant) {
  const TColor fill = StateBoxFill(variant);
  FillRectColor(canvas, rect, fill);
  Frame(canvas, rect, GetColor(ktcFrame));
  if (variant == 1 || variant == 5)
    Sunken(canvas, Shrink(rect), fill, 30);
  else if (variant >= 2 && variant <= 4)
    Raised(canvas, Shrink(rect), fill, 30);
}

// --- bars ----------------------------------------------------------------------------

void TTeThemeFlat::DrawControlBar(TCanvas& canvas, const TRect& rect) {
  FillRectColor(canvas, rect, GetColor(ktcFace));
}

void TTeThemeFlat::DrawMenuBarOnControlBar(TCanvas& canvas, const TRect& rect) {
  FillRectColor(canvas, rect, GetColor(ktcFace));
}

void TTeThemeFlat::DrawControlBand(TCanvas& canvas, const TRect& rect, const TRect& gripRect) {
  const TColor frame = GetColor(ktcFrame);
  Frame(canvas, rect, frame);
  FillRectColor(canvas, Shrink(rect), GetColor(ktcFace));
  const TRect grip = Shrink(gripRect, 3, 1);
  Frame(canvas, grip, frame);
  FillRectColor(canvas, Shrink(grip), GetColor(ktcHotFace));
}

void TTeThemeFlat::DrawListItem(TCanvas& canvas, const TRect& rect, uint8_t flags) {
  const TTeThemeColor kind = (flags & 4) ? ktcFace : (flags & 2) ? ktcSelection : (flags & 1) ? ktcHotFace : ktcWindow;
  FillRectColor(canvas, rect, GetColor(kind));
}

void TTeThemeFlat::DrawSplitter(TCanvas& canvas, const TRect& rect, bool hot, bool beveled) {
  FillRectColor(canvas, rect, GetColor(hot ? ktcSelection : ktcWindow));
  if (beveled) Frame(canvas, rect, GetColor(ktcFrame));
}

void TTeThemeFlat::DrawStatusBar(TCanvas& canvas, const TRect& rect) { FillRectColor(canvas, rect, GetColor(ktcFace)); }

void TTeThemeFlat::DrawSizeGrip(TCanvas& canvas, const TRect& rect) {
  SizeGrip(canvas, rect, GetColor(ktcSelection), GetColor(ktcFrame));
}

void TTeThemeFlat::DrawStatusPanel(TCanvas& canvas, const TRect& rect, TTeStatusPanel*) {
  FillRectColor(canvas, rect, GetColor(ktcFace));
  Frame(canvas, Shrink(rect), GetColor(ktcFrame));
}

void RegisterFlatStyles() {
  RegisterThemeClass(ThemeClassOf<TTeThemeFlat>(), kThemePosFlat);
  RegisterThemeClass(ThemeClassOf<TTeThemeCoolFlat>(), kThemePosCoolFlat);
  RegisterThemeClass(ThemeClassOf<TTeThemeOfficeXP>(), kThemePosOfficeXP);
}

}  // namespace hv
