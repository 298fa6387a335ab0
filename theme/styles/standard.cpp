#include "theme/styles/standard.h"

#include <windows.h>

#include <array>
#include <optional>
#include <span>
#include <vector>

#include "framework/graphics.h"
#include "framework/imagelist.h"
#include "theme/core/colors.h"
#include "theme/core/drawing.h"
#include "theme/core/glyphs.h"
#include "theme/core/rects.h"
#include "theme/core/tebitmap.h"
#include "theme/core/text.h"
#include "theme/core/themeitems.h"
#include "theme/styles/sharedpaint.h"

namespace hv {

namespace {

// The tables are written 0xRRGGBB, as designers read them.
constexpr TColor FromRGB(uint32_t rgb) {
  return static_cast<TColor>(((rgb & 0xFF) << 16) | (rgb & 0xFF00) | ((rgb >> 16) & 0xFF));
}

// A base colour, lightened before the colour pipeline where the menu takes
// a shade of the face.
struct TBaseColor {
  TColor color;
  int lighten = 0;
};

constexpr std::array<TBaseColor, kThemeColorCount> kAdvancedColors = {{
    {clActiveCaption},   {clInactiveCaption}, {FromRGB(0x000000)}, {FromRGB(0xFFFFFF)}, {kFallbackColor},
    {FromRGB(0xFFFFFF)}, {clWindow},          {FromRGB(0x000000)}, {clHighlight},       {FromRGB(0xFEFEFB)},
    {FromRGB(0xC5C5B1)}, {clBtnFace},         {FromRGB(0xE6DCDC)}, {FromRGB(0x000000)}, {clBtnFace, 10},
    {clHighlight},       {clBtnFace, 10},     {clHighlight},       {clMenuText},        {clHighlightText},
    {clMenuText},        {clHighlightText},   {FromRGB(0x808080)}, {FromRGB(0x000000)}, {FromRGB(0x95CEFF)},
    {FromRGB(0x316AC5)},
}};

TColor BaseOf(const TBaseColor& base) {
  if (base.lighten == 0) return base.color;
  return ARGBToColor(Lighten(ColorToARGB(base.color), base.lighten));
}

constexpr unsigned kDtLeftMiddle = DT_LEFT | DT_VCENTER | DT_SINGLELINE;
constexpr unsigned kDtCentred = DT_CENTER | DT_VCENTER | DT_SINGLELINE;

// A sunken speed button that stays down shows a dither of its face and white.
constexpr TColor kDitherDot = clWhite;

// The renderer's caption glyph states by caption button (close, help,
// minimize, maximize, restore).
constexpr std::array<unsigned, 5> kCaptionGlyphStates = {DFCS_CAPTIONCLOSE, DFCS_CAPTIONHELP, DFCS_CAPTIONMIN,
                                                         DFCS_CAPTIONMAX, DFCS_CAPTIONRESTORE};

// The renderer's own pressed look.
constexpr unsigned kPushed = DFCS_PUSHED;

TRect Arrow7x4In(const TRect& r) { return CenterRect(Bounds(0, 0, 7, 4), r); }

}  // namespace

// --- the vocabulary -------------------------------------------------------------------

void TTeThemeStd::Raised(TCanvas& canvas, const TRect& r, TColor c, int n) {
  Frame3D(canvas, r, Lighten(c, n), Darken(c, n));
}

void TTeThemeStd::Sunken(TCanvas& canvas, const TRect& r, TColor c, int n) {
  Frame3D(canvas, r, Darken(c, n), Lighten(c, n));
}

void TTeThemeStd::DoubleRaised(TCanvas& canvas, TRect& r, TColor c) {
  Raised(canvas, r, c, depths_.deep);
  Shrink(r);
  Frame3D(canvas, r, c, Darken(c, depths_.shallow));
}

void TTeThemeStd::DoubleSunken(TCanvas& canvas, TRect& r, TColor c) {
  Sunken(canvas, r, c, depths_.deep);
  Shrink(r);
  Frame3D(canvas, r, Darken(c, depths_.shallow), c);
}

void TTeThemeStd::Fill(TCanvas& canvas, const TRect& r, TTeThemeColor kind) const {
  FillRectColor(canvas, r, GetColor(kind));
}

TColor TTeThemeStd::Face(TTeElementState state) const {
  return GetColor(state == kesDisabled ? ktcDisabledFace : state == kesHot ? ktcHotFace : ktcFace);
}

TColor TTeThemeStd::HotOrFace(bool hot) const { return GetColor(hot ? ktcHotFace : ktcFace); }

void TTeThemeStd::Text(TCanvas& canvas, const std::string& text, const TRect& rect, unsigned flags) {
  DrawTextEx(canvas, text, rect, DrawTextBiDiModeFlags(flags));
}

void TTeThemeStd::Arrow(TCanvas& canvas, const TRect& a, bool up, TColor colour) {
  FillPolygon(canvas, ArrowTriangle(a, up), colour);
}

void TTeThemeStd::SystemGlyph(TCanvas& canvas, const TRect& r, unsigned type, unsigned state, TColor colour) {
  const int w = r.Width(), h = r.Height();
  if (w <= 0 || h <= 0) return;
  TTeBitmap glyph;
  glyph.SetSize(w, h);
  RECT area{0, 0, w, h};
  DrawFrameControl(glyph.DC(), &area, type, state);
  // The renderer's button edges lie in the outer two rings; only the glyph
  // inside them takes the colour.
  RecolorGlyphInside(glyph.Bits(), w, h, ColorToARGB(colour), 2);
  glyph.Draw(canvas, r.left, r.top, true);
}

void TTeThemeStd::CheckGlyph(TCanvas& canvas, const TRect& rect, int width, int height, TColor colour) {
  if (width <= 0 || height <= 0) return;
  TTeBitmap glyph;
  glyph.SetSize(width, height);
  glyph.Fill(kWhiteARGB);
  RECT area{0, 0, width, height};
  DrawFrameControl(glyph.DC(), &area, DFC_BUTTON, DFCS_BUTTONCHECK | DFCS_CHECKED);
  RecolorGlyphInside(glyph.Bits(), width, height, ColorToARGB(colour), 2);
  glyph.Draw(canvas, rect.left, rect.top, true);
}

// --- colours, sizes, fonts ------------------------------------------------------------

int TTeThemeStd::GetSize(TTeThemeSize kind) const { return StdTableSize(kAdvancedSizes, kind); }

TColor TTeThemeStd::GetColor(TTeThemeColor kind) const {
  const TBaseColor base = kind < kAdvancedColors.size() ? kAdvancedColors[kind] : TBaseColor{kFallbackColor};
  return AdjustColor(BaseOf(base));
}

std::string TTeThemeStd::GetFontName(TTeThemeFont) const { return "Tahoma"; }

int TTeThemeStd::GetFontSize(TTeThemeFont kind) const { return kind == ktfCaption ? 9 : 8; }

TFontStyles TTeThemeStd::GetFontStyle(TTeThemeFont kind) const {
  return kind == ktfCaption || kind == ktfToolCaption ? TFontStyles{fsBold} : TFontStyles{};
}

HRGN TTeThemeStd::GetFormRegion(int, int, TTeBorderStyle) { return nullptr; }

// --- window frame ----------------------------------------------------------------------

void TTeThemeStd::DrawCaptionButton(TCanvas& canvas, const TRect& rect, TTeCaptionButton button, bool hot, bool pressed,
                                    bool, TTeBorderStyle) {
  TRect r = rect;
  const TColor e = HotOrFace(hot);
  FillRectColor(canvas, r, e);
  if (pressed)
    DoubleSunken(canvas, r, e);
  else
    DoubleRaised(canvas, r, e);
  DrawCaptionGlyph(canvas, rect, button, pressed);
}

void TTeThemeStd::DrawSystemCaptionGlyph(TCanvas& canvas, const TRect& g, TTeCaptionButton button, bool pressed) {
  if (button >= kCaptionGlyphStates.size()) return;
  DrawFrameControlGlyph(canvas, g, DFC_CAPTION, kCaptionGlyphStates[button] | (pressed ? kPushed : 0), clBlack);
}

void TTeThemeStd::DrawRollGlyph(TCanvas& canvas, TRect g, bool up, bool pressed) {
  if (!pressed) g = g.Offset(-1, -1);
  FillPolygon(canvas, RollTriangle(g, up), clBlack);
}

void TTeThemeStd::DrawCaptionGlyph(TCanvas& canvas, const TRect& g, TTeCaptionButton button, bool pressed) {
  switch (button) {
    case kcbClose:
    case kcbHelp:
    case kcbMinimize:
    case kcbMaximize:
    case kcbRestore:
      DrawSystemCaptionGlyph(canvas, g, button, pressed);
      return;
    case kcbRollup:
    case kcbRolldown:
      DrawRollGlyph(canvas, g.Inflate(-4, -5), button == kcbRollup, pressed);
      return;
    case kcbTray: {
      TRect tray = g.Inflate(-5, -5).Offset(0, 2);
      if (pressed) tray = tray.Offset(1, 1);
      canvas.Brush()->SetStyle(bsSolid);
      canvas.Brush()->SetColor(clBlack);
      canvas.Pen()->SetStyle(psSolid);
      canvas.Pen()->SetColor(clBlack);
      canvas.Ellipse(tray);
      return;
    }
    default:
      return;
  }
}

void TTeThemeStd::DrawFormFrame(TCanvas& canvas, int width, int height, const TRect& clientRect, bool active,
                                TTeBorderStyle) {
  // The system's gradient end stays as the system gives it: no tint.
  const TRect band{clientRect.left, clientRect.left, clientRect.right, clientRect.top};
  GradientFill(canvas, band, GetColor(active ? ktcActiveCaption : ktcInactiveCaption),
               active ? clGradientActiveCaption : clGradientInactiveCaption, false);
  TRect r{0, 0, width, height};
  const TColor f = GetColor(ktcFace);
  DoubleRaised(canvas, r, f);
  Shrink(r);
  OutlineRect(canvas, r, f);
}

// --- menus -------------------------------------------------------------------------------

void TTeThemeStd::MeasureMenuBarItem(TCanvas& canvas, TTeCustomItem* item, int& width, int& height) {
  MeasureMenuBarItemOf(*this, canvas, item, width, height);
}

void TTeThemeStd::MeasurePopupItem(TCanvas& canvas, TTeCustomItem* item, int& width, int& height) {
  MeasurePopupItemOf(*this, canvas, item, width, height);
}

void TTeThemeStd::DrawMenuBar(TCanvas& canvas, int width, int height) { Fill(canvas, {0, 0, width, height}, ktcMenu); }

void TTeThemeStd::DrawMenuBarItem(TCanvas& canvas, TTeCustomItem* item, const TRect& rect, bool selected, bool hot) {
  if (!item) return;
  SetThemeFont(canvas, *this, ktfMenuBar);
  TRect r = rect;
  Shrink(r);
  Fill(canvas, r, ktcMenu);
  Shrink(r);
  if (!selected) {
    canvas.Font()->SetColor(GetColor(ktcMenuBarText));
  } else if (item->OnControlBar()) {
    DrawSpeedButton(canvas, r, hot ? kesHot : kesPressed, true, false);
    canvas.Font()->SetColor(GetColor(ktcMenuBarText));
  } else {
    Fill(canvas, r, hot ? ktcSelection : ktcMenuBarSelection);
    canvas.Font()->SetColor(GetColor(ktcMenuBarSelectedText));
  }
  Text(canvas, item->Caption(), r, kDtCentred);
}

void TTeThemeStd::DrawMenuBarButton(TCanvas& canvas, TTeCustomItem* item, const TRect& rect, bool selected, bool hot) {
  if (!item) return;
  TRect r = rect;
  Shrink(r);
  FillRectColor(canvas, r, ARGBToColor(kLightGreyARGB));
  const unsigned state = !selected ? 0x0010 : hot ? 0x4010 : 0x0210;
  unsigned glyph = 0;
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
      Shrink(r);
      if (!selected) {
        Fill(canvas, r, ktcMenuItem);
        return;
      }
      Fill(canvas, r, ktcMenuItemSelection);
      for (const TRect& line : MenuButtonLines(r)) FillRectColor(canvas, line, clBtnShadow);
      return;
    default:
      return;
  }
  r = r.Inflate(-2, -2);
  r.right += 1;
  r.bottom -= 1;
  RECT area{r.left, r.top, r.right, r.bottom};
  DrawFrameControl(canvas.Handle(), &area, DFC_CAPTION, state + glyph);
  OutlineRect(canvas, r, ARGBToColor(kBlueARGB));
}

void TTeThemeStd::DrawPopupMenu(TCanvas& canvas, int width, int height) {
  TRect r{0, 0, width, height};
  const TColor m = GetColor(ktcMenu);
  ButtonRaised(canvas, r, m);
  Shrink(r);
  Frame3D(canvas, r, m, m);
}

void TTeThemeStd::DrawPopupItem(TCanvas& canvas, TTeCustomItem* item, const TRect& rect, bool selected, uint8_t) {
  if (!item) return;
  if (item->IsSeparator()) {
    Fill(canvas, rect, ktcMenuItem);
    TRect line = rect.Inflate(-2, -4);
    line.bottom = line.top + 1;
    FillRectColor(canvas, line, clBtnShadow);
    return;
  }
  SetThemeFont(canvas, *this, ktfMenuItem);
  Fill(canvas, rect, selected ? ktcMenuItemSelection : ktcMenuItem);
  canvas.Font()->SetColor(GetColor(selected ? ktcMenuItemSelectedText : ktcMenuItemText));
  if (item->Checked() || item->HasImage())
    DrawPopupItemImage(canvas, item, {rect.left, rect.top, rect.left + item->ImageColumnWidth(), rect.bottom});
  DrawPopupItemText(*this, canvas, item, rect);
  if (item->Count() > 0) {
    const TRect area{rect.right - 24, rect.top, rect.right - 2, rect.bottom};
    const TRect dot = CenterRect(Bounds(0, 0, 5, 5), area);
    RoundFill(canvas, dot, 5, canvas.Font()->Color());
    RoundFrame(canvas, dot, 5, GetColor(ktcMenuArrow));
  }
}

void TTeThemeStd::DrawPopupScrollButton(TCanvas& canvas, const TRect& rect, int direction, bool hot) {
  const TColor text = GetColor(ktcMenuItemText);
  canvas.Font()->SetColor(text);
  TRect r = rect;
  Fill(canvas, r, ktcMenuItem);
  if (hot) {
    Shrink(r);
    Sunken(canvas, r, GetColor(ktcMenuItem), depths_.shallow);
  }
  if (direction == 1 || direction == 2) Arrow(canvas, Arrow7x4In(r), direction == 1, text);
}

// --- buttons -------------------------------------------------------------------------------

void TTeThemeStd::DrawButton(TCanvas& canvas, int width, int height, uint8_t state) {
  TRect r{0, 0, width, height};
  const TColor c = HotOrFace(state == kesHot);
  if (state == kesDisabled) {
    OutlineRect(canvas, r, GetColor(ktcDisabledFace));
    return;
  }
  if (state == kesPressed)
    ButtonSunken(canvas, r, c);
  else
    ButtonRaised(canvas, r, c);
  Shrink(r);
  FillRectColor(canvas, r, c);
}

void TTeThemeStd::DrawCheckFrame(TCanvas& canvas, TRect& r, TColor face) {
  Sunken(canvas, r, face, depths_.shallow);
  Shrink(r);
  Frame3D(canvas, r, Darken(face, depths_.deep), face);
}

void TTeThemeStd::DrawCheckBox(TCanvas& canvas, const TRect& rect, TTeElementState state, TCheckBoxState check) {
  const bool disabled = state == kesDisabled;
  const TColor back = GetColor(disabled ? ktcFace : state == kesHot ? ktcHotFace : ktcWindow);
  const TColor mark = GetColor(disabled ? ktcDisabledFace : ktcFrame);
  TRect r = rect;
  DrawCheckFrame(canvas, r, GetColor(ktcFace));
  Shrink(r);
  FillRectColor(canvas, r, back);
  if (check == cbChecked) {
    CheckGlyph(canvas, rect, GetSize(ktsCheckWidth), GetSize(ktsCheckHeight), mark);
  } else if (check == cbGrayed) {
    Shrink(r);
    FillRectColor(canvas, r, mark);
  }
}

void TTeThemeStd::DrawRadioButton(TCanvas& canvas, const TRect& rect, TTeElementState state, bool checked) {
  const bool disabled = state == kesDisabled;
  const TColor back = GetColor(disabled ? ktcFace : state == kesHot ? ktcHotFace : ktcWindow);
  const TColor dot = GetColor(disabled ? ktcDisabledFace : ktcFrame);
  const TColor f = GetColor(ktcFace);
  const int deep = depths_.deep, shallow = depths_.shallow;
  TRect r = rect;
  RoundFrame(canvas, r, 6, Darken(f, shallow));
  r.left += 1;
  r.top += 1;
  RoundFrame(canvas, r, 6, Lighten(f, shallow));
  r.right -= 1;
  r.bottom -= 1;
  RoundFrame(canvas, r, 2, Darken(f, shallow));
  RoundFrame(canvas, r, 6, Darken(f, deep));
  r.left += 1;
  r.top += 1;
  RoundFrame(canvas, r, 2, Lighten(f, shallow));
  RoundFrame(canvas, r, 6, f);
  r.right -= 1;
  r.bottom -= 1;
  RoundFill(canvas, r, 2, back);
  if (checked) RoundFill(canvas, r.Inflate(-2, -2), 2, dot);
}

void TTeThemeStd::DrawGlyphButton(TCanvas& canvas, const TRect& rect, int glyph, TTeElementState state, bool second) {
  const TColor c = Face(state);
  TRect r = rect.Inflate(-1, -1);
  if (state == kesPressed)
    Sunken(canvas, r, c, depths_.deep);
  else
    Raised(canvas, r, c, depths_.deep);
  Shrink(r);
  FillRectColor(canvas, r, c);
  r = r.Inflate(1, 1);
  const unsigned pushed = state == kesPressed ? kPushed : 0;
  if (glyph == 1)
    SystemGlyph(canvas, r, DFC_CAPTION, DFCS_CAPTIONCLOSE | pushed, GetColor(ktcFrame));
  else
    SystemGlyph(canvas, r, DFC_SCROLL, (second ? DFCS_SCROLLDOWN : DFCS_SCROLLUP) | pushed, GetColor(ktcFrame));
}

void TTeThemeStd::DrawComboArrow(TCanvas& canvas, const TRect& r, TTeElementState state) {
  TRect a = Arrow7x4In(r).Offset(0, 1);
  if (state == kesPressed) a = a.Offset(1, 1);
  Arrow(canvas, a, false, GetColor(ktcFrame));
}

TRect TTeThemeStd::DrawButtonFace(TCanvas& canvas, const TRect& rect, TTeElementState state) {
  const TColor c = Face(state);
  TRect r = rect;
  if (state == kesPressed)
    ButtonSunken(canvas, r, c);
  else
    ButtonRaised(canvas, r, c);
  Shrink(r);
  FillRectColor(canvas, r, c);
  return r;
}

void TTeThemeStd::DrawComboButton(TCanvas& canvas, const TRect& rect, TTeElementState state) {
  DrawComboArrow(canvas, DrawButtonFace(canvas, rect, state), state);
}

void TTeThemeStd::DrawSpeedButton(TCanvas& canvas, const TRect& rect, TTeElementState state, bool flat, bool down) {
  // Disabled buttons, and states no caller passes, show only what lies below.
  if (state > kesPressed || (flat && state == kesNormal && !down)) return;
  const TColor b = HotOrFace(state == kesHot);
  const int deep = depths_.deep;
  TRect r = rect;
  auto sunkenFill = [&](bool dither) {
    Sunken(canvas, r, b, deep);
    Shrink(r);
    if (dither)
      FillDither(canvas, r, b, kDitherDot);
    else
      FillRectColor(canvas, r, b);
  };
  auto doubleSunkenFill = [&](bool dither) {
    ButtonSunken(canvas, r, b);
    Shrink(r);
    if (dither)
      FillDither(canvas, r, b, kDitherDot);
    else
      FillRectColor(canvas, r, b);
  };
  if (flat) {
    if (state == kesPressed) {
      sunkenFill(false);
    } else if (down) {
      sunkenFill(true);
    } else if (state == kesHot) {
      Raised(canvas, r, b, deep);
      Shrink(r);
      FillRectColor(canvas, r, b);
    }
    return;
  }
  if (state == kesPressed) {
    doubleSunkenFill(false);
  } else if (state == kesNormal && down) {
    doubleSunkenFill(true);
  } else if (state == kesNormal) {
    ButtonRaised(canvas, r, b);
    Shrink(r);
    FillRectColor(canvas, r, b);
  }
}

void TTeThemeStd::DrawSpeedButtonChevron(TCanvas& canvas, const TRect& rect, TTeElementState state, bool flat,
                                         bool down) {
  DrawSpeedButton(canvas, rect, state, flat, down);
  const TRect r = state == kesPressed ? rect.Offset(1, 1) : rect;
  const TRect a = Arrow7x4In(r);
  if (state != kesDisabled) {
    Arrow(canvas, a, false, GetColor(ktcFrame));
    return;
  }
  const int middle = (a.left + a.right) / 2;
  MoveTo(canvas, middle, a.bottom - 1);
  LineTo(canvas, a.left, a.top, GetColor(ktcDisabledFace));
  LineTo(canvas, a.right, a.top, GetColor(ktcDisabledFace));
  MoveTo(canvas, a.right, a.top);
  LineTo(canvas, middle, a.bottom, GetColor(ktcFrame));
}

void TTeThemeStd::DrawSpinButton(TCanvas& canvas, const TRect& rect, TTeElementState state, uint8_t) {
  DrawSpeedButton(canvas, rect, state, state != kesNormal, false);
}

// --- scroll bars ------------------------------------------------------------------------

void TTeThemeStd::DrawScrollBarTrack(TCanvas& canvas, const TRect& rect, TScrollBarKind) {
  FillDither(canvas, rect, GetColor(ktcFace), clWhite);
}

void TTeThemeStd::DrawScrollButton(TCanvas& canvas, const TRect& rect, bool vertical, bool first,
                                   TTeElementState state) {
  DrawButtonFace(canvas, rect, state);
  const unsigned glyph =
      vertical ? (first ? DFCS_SCROLLUP : DFCS_SCROLLDOWN) : (first ? DFCS_SCROLLLEFT : DFCS_SCROLLRIGHT);
  DrawFrameControlGlyph(canvas, rect, DFC_SCROLL, glyph | (state == kesPressed ? kPushed | DFCS_FLAT : 0), clBlack);
}

void TTeThemeStd::DrawScrollThumb(TCanvas& canvas, const TRect& rect, TScrollBarKind, TTeElementState state) {
  DrawButtonFace(canvas, rect, state);
}

void TTeThemeStd::DrawArrowButton(TCanvas& canvas, const TRect& rect, bool first, uint8_t, TTeElementState state) {
  DrawScrollButton(canvas, rect, false, first, state);
}

// --- track bars and progress bars ----------------------------------------------------

void TTeThemeStd::DrawTrackBarThumb(TCanvas& canvas, const TRect& rect, bool vertical, int shape,
                                    TTeElementState state) {
  const TColor c = Face(state);
  const bool pressed = state == kesPressed;
  if (shape != 1 && shape != 2) {
    if (pressed)
      FillDither(canvas, rect, c, clWhite);
    else
      FillRectColor(canvas, rect, c);
    Raised(canvas, rect, c, depths_.deep);
    Frame3D(canvas, rect.Inflate(-1, -1), c, Darken(c, depths_.shallow));
    return;
  }
  const std::array<TPoint, 5> points = ThumbPolygon(rect, vertical, shape);
  if (pressed)
    FillPolygonDither(canvas, points, c, clWhite);
  else
    FillPolygon(canvas, points, c);
  // Edges facing up or left are lit, the others shaded.
  for (size_t i = 0; i < points.size(); ++i) {
    const TPoint a = points[i], b = points[(i + 1) % points.size()];
    MoveTo(canvas, a.x, a.y);
    LineTo(canvas, b.x, b.y, EdgeFacesLight(points, i) ? Lighten(c, depths_.deep) : Darken(c, depths_.deep));
  }
}

void TTeThemeStd::DrawTrackBarTrack(TCanvas& canvas, const TRect& rect, const TRect& selectionRect) {
  DrawProgressBarFrame(canvas, rect);
  if (!RectIsEmpty(selectionRect)) Fill(canvas, selectionRect.Inflate(-3, -3), ktcSelection);
}

void TTeThemeStd::DrawProgressBarFrame(TCanvas& canvas, const TRect& rect) {
  const TColor f = GetColor(ktcFace);
  TRect r = rect;
  DoubleSunken(canvas, r, f);
  Shrink(r);
  Fill(canvas, r, ktcWindow);
}

void TTeThemeStd::DrawProgressBar(TCanvas& canvas, const TRect& rect, const TRect& barRect, bool vertical,
                                  bool smooth) {
  const TColor p = GetColor(ktcSelection);
  if (smooth) {
    FillRectColor(canvas, barRect.Inflate(-1, -1), p);
    return;
  }
  for (const TRect& block : ProgressBlocks(rect.Inflate(-1, -1), barRect, vertical)) FillRectColor(canvas, block, p);
}

// --- panels, lists, edits --------------------------------------------------------------

void TTeThemeStd::DrawEdit(TCanvas& canvas, const TRect& rect, bool border, uint8_t) {
  TRect r = rect;
  if (border) {
    OutlineRect(canvas, r, GetColor(ktcFrame));
    Shrink(r);
    Raised(canvas, r, GetColor(ktcFace), depths_.shallow);
    Shrink(r);
  }
  Fill(canvas, r, ktcWindow);
}

void TTeThemeStd::DrawHeader(TCanvas& canvas, const TRect& rect, const std::string& text) {
  MoveTo(canvas, rect.left, rect.bottom);
  LineTo(canvas, rect.right, rect.bottom, GetColor(ktcFrame));
  Fill(canvas, rect, ktcFace);
  SetThemeFont(canvas, *this, ktfHeader);
  canvas.Font()->SetColor(GetColor(ktcHeaderText));
  Text(canvas, text, rect.Inflate(-5, 0), kDtLeftMiddle);
}

void TTeThemeStd::DrawGroupBox(TCanvas& canvas, const TRect& rect, const TRect& captionRect,
                               const std::string& caption) {
  const TColor face = GetColor(ktcFace);
  auto path = [&](const TRect& r, TColor colour) {
    MoveTo(canvas, r.left, r.top);
    LineTo(canvas, captionRect.left, r.top, colour);
    MoveTo(canvas, captionRect.right, r.top);
    LineTo(canvas, r.right, r.top, colour);
    LineTo(canvas, r.right, r.bottom, colour);
    LineTo(canvas, r.left, r.bottom, colour);
    LineTo(canvas, r.left, r.top, colour);
  };
  path(rect, Lighten(face, depths_.shallow));
  path(rect.Offset(-1, -1), Darken(face, depths_.shallow));
  Text(canvas, caption, captionRect, kDtCentred);
}

void TTeThemeStd::DrawPanel(TCanvas& canvas, const TRect& rect) {
  const TColor f = GetColor(ktcFace);
  TRect r = rect;
  DoubleRaised(canvas, r, f);
  Shrink(r);
  FillRectColor(canvas, r, f);
}

void TTeThemeStd::DrawTab(TCanvas& canvas, const TRect& rect, TTabPosition position, TTeElementState state) {
  const TColor p = HotOrFace(state == kesHot);
  const bool sideways = position == tpLeft || position == tpRight;
  const bool known = position <= tpRight;
  TRect r = !known ? rect : sideways ? rect.Inflate(1, 0) : rect.Inflate(0, 1);
  Raised(canvas, r, p, depths_.deep);
  Shrink(r);
  FillRectColor(canvas, r, p);
  // The tab runs into its page: the two rows or columns on the page's side
  // lose their bevel.
  if (const std::optional<TRect> strip = TabPageStrip(r.Inflate(2, 2), position)) FillRectColor(canvas, *strip, p);
}

void TTeThemeStd::DrawFramedSquare(TCanvas& canvas, const TRect& rect, TColor back) {
  const TColor face = GetColor(ktcFace);
  FillRectColor(canvas, {rect.right - 20, rect.bottom - 20, rect.right, rect.bottom}, back);
  TRect r = rect;
  Sunken(canvas, r, face, depths_.shallow);
  Shrink(r);
  Frame3D(canvas, r, Darken(face, depths_.deep), face);
  for (int i = 0; i < 5; ++i) {
    Shrink(r);
    OutlineRect(canvas, r, back);
  }
}

void TTeThemeStd::DrawListBorder(TCanvas& canvas, const TRect& rect, TTeElementState state) {
  DrawFramedSquare(canvas, rect, GetColor(state == kesDisabled ? ktcDisabledFace : ktcWindow));
}

void TTeThemeStd::DrawScrollBoxBorder(TCanvas& canvas, const TRect& rect, bool enabled) {
  DrawFramedSquare(canvas, rect, GetColor(enabled ? ktcFace : ktcDisabledFace));
}

void TTeThemeStd::DrawListItemFrame(TCanvas& canvas, const TRect& rect, TColor c) { Raised(canvas, rect, c, 30); }

void TTeThemeStd::DrawListItem(TCanvas& canvas, const TRect& rect, uint8_t flags) {
  const TColor c = GetColor((flags & 4) ? ktcFace : (flags & 2) ? ktcSelection : (flags & 1) ? ktcHotFace : ktcWindow);
  FillRectColor(canvas, rect, c);
  if (flags & 4) DrawListItemFrame(canvas, rect, c);
}

void TTeThemeStd::DrawSplitter(TCanvas& canvas, const TRect& rect, bool hot, bool beveled) {
  TRect r = rect;
  if (beveled) {
    Frame3D(canvas, r, Lighten(GetColor(ktcMenu), depths_.shallow), Darken(GetColor(ktcFace), depths_.shallow));
    Shrink(r);
  }
  FillRectColor(canvas, r, HotOrFace(hot));
}

void TTeThemeStd::DrawStateBox(TCanvas& canvas, const TRect& rect, uint8_t, int variant) {
  const TColor c = variant == 2 ? clBlack : variant == 3 || variant == 4 ? GetColor(ktcHotFace) : GetColor(ktcFace);
  FillRectColor(canvas, rect, c);
  if (variant == 1 || variant == 5)
    Sunken(canvas, rect, c, depths_.shallow);
  else
    Raised(canvas, rect, c, depths_.shallow);
}

// --- bars ---------------------------------------------------------------------------------

void TTeThemeStd::DrawControlBar(TCanvas& canvas, const TRect& rect) { Fill(canvas, rect, ktcFace); }

void TTeThemeStd::DrawControlBand(TCanvas& canvas, const TRect& rect, const TRect& gripRect) {
  const TColor m = GetColor(ktcMenu);
  TRect r = rect;
  Raised(canvas, r, m, depths_.shallow);
  Shrink(r);
  FillRectColor(canvas, r, m);
  Raised(canvas, gripRect.Inflate(-4, -1), m, depths_.shallow);
}

void TTeThemeStd::DrawMenuBarOnControlBar(TCanvas& canvas, const TRect& rect) { Fill(canvas, rect, ktcMenu); }

void TTeThemeStd::DrawStatusBar(TCanvas& canvas, const TRect& rect) { Fill(canvas, rect, ktcFace); }

void TTeThemeStd::DrawSizeGrip(TCanvas& canvas, const TRect& rect) {
  RECT area{rect.left, rect.top, rect.right, rect.bottom};
  DrawFrameControl(canvas.Handle(), &area, DFC_SCROLL, DFCS_SCROLLSIZEGRIP);
}

void TTeThemeStd::DrawStatusPanel(TCanvas& canvas, const TRect& rect, TTeStatusPanel*) {
  const TColor face = GetColor(ktcFace);
  TRect r = rect;
  Sunken(canvas, r, face, depths_.shallow);
  Shrink(r);
  FillRectColor(canvas, r, face);
}

void RegisterStandardStyles() {
  RegisterThemeClass(ThemeClassOf<TTeThemeStd>(), kThemePosStd);
  RegisterThemeClass(ThemeClassOf<TTeThemeKDE>(), kThemePosKDE);
}

}  // namespace hv
