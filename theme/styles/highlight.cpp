#include "theme/styles/highlight.h"

#include <windows.h>

#include "framework/graphics.h"
#include "theme/core/colors.h"
#include "theme/core/drawing.h"
#include "theme/core/rects.h"
#include "theme/core/text.h"
#include "theme/core/themeitems.h"
#include "theme/styles/flatdraw.h"
#include "theme/styles/highlight_tables.h"
#include "theme/styles/sharedpaint.h"

namespace hv {

using flatdraw::Frame;
using flatdraw::Raised;
using flatdraw::Shrink;
using flatdraw::Sunken;

static_assert(highlight::kSizeKinds == kThemeSizeCount && highlight::kColorKinds == kThemeColorCount);

namespace {

// The caption fades from the caption colour to this grey.
constexpr TColor kCaptionFadeTo = 0xC8C8C8;

constexpr unsigned kDtCentred = DT_CENTER | DT_VCENTER | DT_SINGLELINE;

// Rows y = top + 3k for k = 0 ... height div 2, kept to the rows of `rect`:
// the rows further down would fall on what the caller covers anyway (the
// client area, the frame), and must not show where it does not.
void RuleShadowLines(TCanvas& canvas, const TRect& rect, int top, TColor color) {
  for (int k = 0; k <= rect.Height() / 2; ++k) {
    const int y = top + 3 * k;
    if (y >= rect.top && y < rect.bottom) FillRectXY(canvas, rect.left, y, rect.right, y + 1, color);
  }
}

// The renderer's caption button of an MDI child's close, restore or minimize
// item, straight onto the canvas: flat when hot, pushed when held. The
// renderer may narrow the rect to its picture; the answer is where it drew.
TRect DrawMenuBarButtonGlyph(TCanvas& canvas, const TRect& rect, TTeItemButtonKind kind, bool selected, bool hot) {
  unsigned state = kind == kibClose ? DFCS_CAPTIONCLOSE : kind == kibRestore ? DFCS_CAPTIONRESTORE : DFCS_CAPTIONMIN;
  state |= DFCS_ADJUSTRECT;
  if (selected) state |= hot ? DFCS_FLAT : DFCS_PUSHED;
  RECT r{rect.left, rect.top, rect.right, rect.bottom};
  DrawFrameControl(canvas.Handle(), &r, DFC_CAPTION, state);
  return {r.left, r.top, r.right, r.bottom};
}

}  // namespace

// --- colours, sizes, fonts ----------------------------------------------------------

int TTeThemeHighlight::GetSize(TTeThemeSize kind) const { return highlight::SizeOf(kind); }

TColor TTeThemeHighlight::GetColor(TTeThemeColor kind) const {
  return AdjustColor(highlight::BaseColor(highlight::kHighlightColors, kind));
}

std::string TTeThemeHighlight::GetFontName(TTeThemeFont) const { return "Tahoma"; }

int TTeThemeHighlight::GetFontSize(TTeThemeFont kind) const { return kind == ktfCaption ? 9 : 8; }

TFontStyles TTeThemeHighlight::GetFontStyle(TTeThemeFont kind) const {
  return kind == ktfCaption || kind == ktfToolCaption ? TFontStyles{fsBold} : TFontStyles{};
}

TColor TTeThemeLines::GetColor(TTeThemeColor kind) const {
  return AdjustColor(highlight::BaseColor(highlight::kLinesColors, kind));
}

// --- outlines and faces --------------------------------------------------------------

void TTeThemeHighlight::Outline(TCanvas& canvas, const TRect& rect, TTeThemeColor kind) {
  RoundFrame(canvas, rect, 3, GetColor(kind));
}

void TTeThemeHighlight::Face(TCanvas& canvas, TRect& rect, TTeThemeColor kind) {
  RoundFill(canvas, rect, 3, GetColor(kind));
  Outline(canvas, rect, ktcFrame);
  rect = Shrink(rect);
}

// --- window ---------------------------------------------------------------------------

HRGN TTeThemeHighlight::GetFormRegion(int width, int height, TTeBorderStyle) {
  return CreateRoundRectRgn(0, 0, width + 1, height + 1, 3, 3);
}

void TTeThemeHighlight::DrawFrameAround(TCanvas& canvas, int width, int height, const TRect& band) {
  Outline(canvas, band, ktcFrame);
  const TColor face = GetColor(ktcFace);
  TRect r{0, 0, width, height};
  Outline(canvas, r, ktcFrame);
  r = Shrink(r);
  Raised(canvas, r, face, 30);
  r = Shrink(r);
  Raised(canvas, r, face, 15);
  r = Shrink(r);
  Frame(canvas, r, face);
}

void TTeThemeHighlight::DrawFormFrame(TCanvas& canvas, int width, int height, const TRect& clientRect, bool active,
                                      TTeBorderStyle) {
  const TRect band{clientRect.left, clientRect.left, clientRect.right, clientRect.top};
  GradientFill(canvas, band, GetColor(active ? ktcActiveCaption : ktcInactiveCaption), kCaptionFadeTo, false);
  DrawFrameAround(canvas, width, height, band);
}

void TTeThemeLines::DrawFormFrame(TCanvas& canvas, int width, int height, const TRect& clientRect, bool active,
                                  TTeBorderStyle) {
  const TRect band{clientRect.left, clientRect.left, clientRect.right, clientRect.top};
  FillRectColor(canvas, band, GetColor(active ? ktcActiveCaption : ktcInactiveCaption));
  // The rules count from the window's top, not the band's.
  RuleShadowLines(canvas, band, 0, clBtnShadow);
  DrawFrameAround(canvas, width, height, band);
}

void TTeThemeHighlight::DrawCaptionButton(TCanvas& canvas, const TRect& rect, TTeCaptionButton button, bool hot,
                                          bool pressed, bool, TTeBorderStyle) {
  const TColor face = GetColor(pressed ? ktcSelection : hot ? ktcHotFace : ktcFace);
  FillRectColor(canvas, rect, face);
  Frame(canvas, rect, GetColor(ktcFrame));
  if (pressed)
    Sunken(canvas, Shrink(rect), face, 30);
  else
    Raised(canvas, Shrink(rect), face, 30);
  flatdraw::CaptionGlyph(canvas, rect, button, pressed);
}

// --- menus ----------------------------------------------------------------------------

void TTeThemeHighlight::MeasureMenuBarItem(TCanvas& canvas, TTeCustomItem* item, int& width, int& height) {
  MeasureMenuBarItemOf(*this, canvas, item, width, height);
}

void TTeThemeHighlight::MeasurePopupItem(TCanvas& canvas, TTeCustomItem* item, int& width, int& height) {
  MeasurePopupItemOf(*this, canvas, item, width, height);
}

void TTeThemeHighlight::DrawMenuBar(TCanvas& canvas, int width, int height) {
  const TRect rect{0, 0, width, height};
  FillRectColor(canvas, rect, GetColor(ktcMenu));
  Frame(canvas, rect, GetColor(ktcMenuArrow));
}

void TTeThemeHighlight::DrawPopupMenu(TCanvas& canvas, int width, int height) {
  TRect rect{0, 0, width, height};
  const TColor back = GetColor(ktcMenuItem);
  Frame(canvas, rect, back);
  Outline(canvas, rect, ktcMenuArrow);
  rect = Shrink(rect);
  Frame(canvas, rect, back);
  rect = Shrink(rect);
  Frame(canvas, rect, back);
}

void TTeThemeHighlight::DrawMenuBarItem(TCanvas& canvas, TTeCustomItem* item, const TRect& rect, bool selected,
                                        bool hot) {
  if (!item) return;
  SetThemeFont(canvas, *this, ktfMenuBar);
  TRect r = Shrink(rect);
  FillRectColor(canvas, r, GetColor(item->OnControlBar() ? ktcFace : ktcMenu));
  r = Shrink(r);
  if (!selected) {
    canvas.Font()->SetColor(GetColor(ktcMenuBarText));
  } else if (item->OnControlBar()) {
    DrawSpeedButton(canvas, r, hot ? kesHot : kesPressed, true, false);
    canvas.Font()->SetColor(GetColor(ktcMenuBarText));
  } else {
    FillRectColor(canvas, r, GetColor(hot ? ktcHotFace : ktcMenuBarSelection));
    canvas.Font()->SetColor(GetColor(ktcMenuBarSelectedText));
    Outline(canvas, r, ktcMenuArrow);
  }
  DrawTextEx(canvas, item->Caption(), r, DrawTextBiDiModeFlags(kDtCentred));
}

void TTeThemeHighlight::DrawMenuBarButton(TCanvas& canvas, TTeCustomItem* item, const TRect& rect, bool selected,
                                          bool hot) {
  if (!item) return;
  // The engine's light grey and navy, meant as plain colours here.
  const TColor grey = ARGBToColor(kLightGreyARGB), navy = ARGBToColor(kBlueARGB);
  TRect r = Shrink(rect);
  FillRectColor(canvas, r, grey);
  switch (item->ButtonKind()) {
    case kibClose:
    case kibRestore:
    case kibMinimize: {
      r = Shrink(r, 2);
      r.right += 1;
      r.bottom -= 1;
      Frame(canvas, DrawMenuBarButtonGlyph(canvas, r, item->ButtonKind(), selected, hot), navy);
      return;
    }
    case kibSystemMenu:
      r = Shrink(r);
      if (!selected) {
        FillRectColor(canvas, r, GetColor(ktcMenuItem));
        return;
      }
      FillRectColor(canvas, r, GetColor(ktcMenuItemSelection));
      RuleShadowLines(canvas, r, r.top, ARGBToColor(SharedShadowARGB()));
      Outline(canvas, r, ktcMenuArrow);
      return;
    default:
      return;
  }
}

void TTeThemeHighlight::DrawPopupItem(TCanvas& canvas, TTeCustomItem* item, const TRect& rect, bool selected, uint8_t) {
  if (!DrawPopupItemBase(*this, canvas, item, rect, selected, 3) || item->Count() == 0) return;
  // A round dot in the text colour, ringed in the arrow colour.
  const TRect dot = CenterRect(Bounds(0, 0, 5, 5), {rect.right - 24, rect.top, rect.right - 2, rect.bottom});
  RoundFill(canvas, dot, 5, canvas.Font()->Color());
  RoundFrame(canvas, dot, 5, GetColor(ktcMenuArrow));
}

void TTeThemeHighlight::DrawPopupScrollButton(TCanvas& canvas, const TRect& rect, int direction, bool hot) {
  const TColor text = GetColor(ktcMenuItemText);
  const TColor back = GetColor(ktcMenuItem);
  canvas.Font()->SetColor(text);
  FillRectColor(canvas, rect, back);
  if (hot) {
    Outline(canvas, rect, ktcMenuArrow);
    Sunken(canvas, Shrink(rect), back, 30);
  }
  if (direction == 1 || direction == 2) flatdraw::Arrow(canvas, rect, direction == 2, text);
}

// --- registration ---------------------------------------------------------------------

void RegisterHighlightStyles() {
  RegisterThemeClass(ThemeClassOf<TTeThemeHighlight>(), kThemePosHighlight);
  RegisterThemeClass(ThemeClassOf<TTeThemeLines>(), kThemePosLines);
}

}  // namespace hv
