#include <windows.h>

#include <algorithm>

#include "framework/graphics.h"
#include "theme/core/colors.h"
#include "theme/core/drawing.h"
#include "theme/core/glyphs.h"
#include "theme/core/rects.h"
#include "theme/styles/standard.h"

namespace hv {

namespace {

constexpr TColor FromRGB(uint32_t rgb) {
  return static_cast<TColor>(((rgb & 0xFF) << 16) | (rgb & 0xFF00) | ((rgb >> 16) & 0xFF));
}

// Only the captions differ from Advanced's colours.
constexpr TColor kActiveCaption = FromRGB(0x526E95);
constexpr TColor kInactiveCaption = FromRGB(0x808080);

// The caption's frame and dots lie this far from the caption colour.
constexpr int kCaptionRelief = 60;

}  // namespace

// --- tables ---------------------------------------------------------------------------

int TTeThemeKDE::GetSize(TTeThemeSize kind) const { return StdTableSize(kKdeSizes, kind); }

TColor TTeThemeKDE::GetColor(TTeThemeColor kind) const {
  if (kind == ktcActiveCaption) return AdjustColor(kActiveCaption);
  if (kind == ktcInactiveCaption) return AdjustColor(kInactiveCaption);
  return TTeThemeStd::GetColor(kind);
}

std::string TTeThemeKDE::GetFontName(TTeThemeFont) const { return "Verdana"; }

// --- bevels ------------------------------------------------------------------------------

void TTeThemeKDE::Groove(TCanvas& canvas, TRect& r, TColor c) {
  Sunken(canvas, r, c, Depths().deep);
  Shrink(r);
  Raised(canvas, r, c, Depths().deep);
}

void TTeThemeKDE::TwiceRaised(TCanvas& canvas, TRect& r, TColor c) {
  Raised(canvas, r, c, Depths().deep);
  Shrink(r);
  Raised(canvas, r, c, Depths().deep);
}

void TTeThemeKDE::TwiceSunken(TCanvas& canvas, TRect& r, TColor c) {
  Sunken(canvas, r, c, Depths().deep);
  Shrink(r);
  Sunken(canvas, r, c, Depths().deep);
}

void TTeThemeKDE::DrawCheckFrame(TCanvas& canvas, TRect& r, TColor face) { TwiceSunken(canvas, r, face); }

void TTeThemeKDE::DrawListItemFrame(TCanvas& canvas, const TRect& rect, TColor c) {
  TRect r{rect.left, rect.top, rect.right + 1, rect.bottom + 1};
  TwiceRaised(canvas, r, c);
}

// --- window frame ----------------------------------------------------------------------

void TTeThemeKDE::FillDots(TCanvas& canvas, TRect rect, TColor colour) {
  rect.left = std::max(rect.left, 0);
  rect.top = std::max(rect.top, 0);
  if (rect.IsEmpty()) return;
  const TARGB base = ColorToARGB(colour);
  FillPattern(canvas, rect, DotsPattern(base, Lighten(base, kCaptionRelief), Darken(base, kCaptionRelief)));
}

void TTeThemeKDE::DrawFormFrame(TCanvas& canvas, int width, int height, const TRect& clientRect, bool active,
                                TTeBorderStyle) {
  const TColor f = GetColor(active ? ktcActiveCaption : ktcInactiveCaption);
  FillDots(canvas, {clientRect.left, clientRect.left, clientRect.right, clientRect.top}, f);
  TRect r{0, 0, width, height};
  Raised(canvas, r, f, kCaptionRelief);
  Shrink(r);
  OutlineRect(canvas, r, f);
  Shrink(r);
  OutlineRect(canvas, r, f);
}

void TTeThemeKDE::DrawCaptionButton(TCanvas& canvas, const TRect& rect, TTeCaptionButton button, bool hot, bool pressed,
                                    bool, TTeBorderStyle) {
  FillRectColor(canvas, rect.Inflate(1, 1), GetColor(ktcFace));
  const TColor e = HotOrFace(hot);
  FillRectColor(canvas, rect, e);
  TRect r = rect;
  if (pressed)
    TwiceSunken(canvas, r, e);
  else
    Groove(canvas, r, e);
  DrawKdeCaptionGlyph(canvas, rect.Inflate(-1, -1), button, pressed);
}

void TTeThemeKDE::DrawKdeCaptionGlyph(TCanvas& canvas, const TRect& g, TTeCaptionButton button, bool pressed) {
  const TRect push = pressed ? TRect{1, 1, 1, 1} : TRect{};
  switch (button) {
    case kcbClose:
    case kcbHelp:
      DrawSystemCaptionGlyph(canvas, g, button, pressed);
      return;
    case kcbMinimize:
      FillRectColor(canvas, CenterRect(Bounds(0, 0, 4, 4), g).Offset(push.left, push.top), clBlack);
      return;
    case kcbMaximize:
    case kcbRestore: {
      TRect square = g.Inflate(-3, -3).Offset(push.left, push.top);
      OutlineRect(canvas, square, clBlack);
      Shrink(square);
      OutlineRect(canvas, square, clBlack);
      return;
    }
    case kcbRollup:
    case kcbRolldown: {
      TRect roll = g.Inflate(-4, -5);
      roll.top += 1;
      DrawRollGlyph(canvas, roll, button == kcbRollup, pressed);
      return;
    }
    case kcbTray:
      FillRectColor(canvas, g.Inflate(-5, -5).Offset(3 + push.left, 3 + push.top), clBlack);
      return;
    default:
      return;
  }
}

// --- elements with their own bevels -----------------------------------------------------

void TTeThemeKDE::DrawGlyphButton(TCanvas& canvas, const TRect& rect, int glyph, TTeElementState state, bool second) {
  const TColor c = Face(state);
  TRect r = rect.Inflate(-1, -1);
  if (state == kesPressed) {
    Sunken(canvas, r, c, Depths().deep);
    Shrink(r);
  } else {
    Groove(canvas, r, c);
  }
  Shrink(r);
  FillRectColor(canvas, r, c);
  r = r.Inflate(1, 1);
  const unsigned pushed = state == kesPressed ? DFCS_PUSHED : 0;
  if (glyph == 1)
    SystemGlyph(canvas, r, DFC_CAPTION, DFCS_CAPTIONCLOSE | pushed, GetColor(ktcFrame));
  else
    SystemGlyph(canvas, r, DFC_SCROLL, (second ? DFCS_SCROLLDOWN : DFCS_SCROLLUP) | pushed, GetColor(ktcFrame));
}

}  // namespace hv
