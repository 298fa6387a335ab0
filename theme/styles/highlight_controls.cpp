#include <windows.h>

#include <array>
#include <optional>

#include "framework/graphics.h"
#include "theme/core/colors.h"
#include "theme/core/drawing.h"
#include "theme/core/glyphs.h"
#include "theme/core/rects.h"
#include "theme/core/text.h"
#include "theme/styles/flatdraw.h"
#include "theme/styles/highlight.h"
#include "theme/styles/sharedpaint.h"

namespace hv {

using flatdraw::Frame;
using flatdraw::Raised;
using flatdraw::Shrink;
using flatdraw::Sunken;

namespace {

constexpr unsigned kDtLeftMiddle = DT_LEFT | DT_VCENTER | DT_SINGLELINE;

// The renderer's own button edges lie in the 2 pixels all round; only the
// picture inside them is taken.
void DrawGlyphInside(TCanvas& canvas, const TRect& rect, unsigned type, unsigned state, TColor color) {
  DrawFrameControlGlyph(canvas, rect, type, state, color, 2);
}

// Lines in one colour from the first point through the others; the last
// point stays undrawn, as every LineTo leaves its end.
void Polyline(TCanvas& canvas, std::initializer_list<TPoint> points, TColor color) {
  const TPoint* p = points.begin();
  MoveTo(canvas, p->x, p->y);
  for (++p; p != points.end(); ++p) LineTo(canvas, p->x, p->y, color);
}

// Pressed and the two states no caller passes show the selection; a state
// beyond them looks normal.
TTeThemeColor ButtonFaceKind(int state) {
  switch (state) {
    case kesHot:
      return ktcHotFace;
    case kesPressed:
    case 4:
    case 5:
      return ktcSelection;
    default:
      return ktcFace;
  }
}

// The state's fill under a bevel of 30, sunken when pressed and raised
// otherwise.
void StateFace(const TTeTheme& theme, TCanvas& canvas, const TRect& rect, TTeElementState state) {
  const TColor fill = theme.GetColor(flatdraw::StateFill(state));
  FillRectColor(canvas, rect, fill);
  if (state == kesPressed)
    Sunken(canvas, rect, fill, 30);
  else
    Raised(canvas, rect, fill, 30);
}

}  // namespace

// --- buttons --------------------------------------------------------------------------

void TTeThemeHighlight::DrawButton(TCanvas& canvas, int width, int height, uint8_t state) {
  const TRect whole{0, 0, width, height};
  if (state == kesDisabled) {
    Outline(canvas, whole, ktcDisabledFace);
    return;
  }
  const TColor c = GetColor(ButtonFaceKind(state));
  const TColor frame = GetColor(ktcFrame);
  Outline(canvas, whole, ktcFrame);
  TRect r = Shrink(whole);
  // The one pixel of the inner ring that neither bevel line reaches.
  MoveTo(canvas, width - 2, height - 2);
  LineTo(canvas, width - 1, height - 2, frame);
  if (state == kesPressed) {
    Sunken(canvas, r, c, 30);
    FillRectColor(canvas, Shrink(r), c);
    return;
  }
  const TColor light = Lighten(c, 30), dark = Darken(c, 30);
  Polyline(canvas, {{1, r.top}, {r.right - 1, r.top}}, light);
  Polyline(canvas, {{r.left, 1}, {r.left, r.bottom - 1}}, light);
  Polyline(canvas, {{1, r.bottom - 1}, {r.right - 1, r.bottom - 1}}, dark);
  Polyline(canvas, {{r.right - 1, 1}, {r.right - 1, r.bottom - 1}}, dark);
  r = Shrink(r);
  FillRectColor(canvas, r, c);
  Frame3D(canvas, r, Lighten(c, 10), Darken(c, 10));
}

void TTeThemeHighlight::DrawCheckBox(TCanvas& canvas, const TRect& rect, TTeElementState state, TCheckBoxState check) {
  const TColor window = GetColor(ktcWindow);
  TColor mark, light, dark;
  if (state == kesDisabled) {
    mark = GetColor(ktcDisabledFace);
    light = dark = window;
  } else {
    mark = GetColor(ktcFrame);
    const TColor base = GetColor(state == kesHot ? ktcHotFace : state == 4 ? ktcSelection : ktcWindow);
    light = Darken(base, 50);
    dark = Lighten(base, 50);
  }
  Frame(canvas, rect, mark);
  TRect r = Shrink(rect);
  Frame3D(canvas, r, light, dark);
  r = Shrink(r);
  FillRectColor(canvas, r, window);
  if (check == cbChecked)
    DrawGlyphInside(canvas, Bounds(rect.left, rect.top, GetSize(ktsCheckWidth), GetSize(ktsCheckHeight)), DFC_BUTTON,
                    DFCS_BUTTONCHECK | DFCS_CHECKED, mark);
  else if (check == cbGrayed)
    FillRectColor(canvas, Shrink(r), mark);
}

void TTeThemeHighlight::DrawRadioButton(TCanvas& canvas, const TRect& rect, TTeElementState state, bool checked) {
  TColor ring, outline;
  if (state == kesDisabled) {
    ring = GetColor(ktcWindow);
    outline = GetColor(ktcDisabledFace);
  } else {
    ring = Darken(GetColor(state == kesHot ? ktcHotFace : state == 4 ? ktcSelection : ktcWindow), 30);
    outline = GetColor(ktcFrame);
  }
  RoundFrame(canvas, rect, 6, outline);
  TRect r = Shrink(rect);
  RoundFrame(canvas, r, 2, ring);
  RoundFrame(canvas, r, 6, ring);
  r = Shrink(r);
  RoundFill(canvas, r, 2, GetColor(ktcWindow));
  if (checked) RoundFill(canvas, Shrink(r), 2, outline);
}

void TTeThemeHighlight::DrawSpeedButton(TCanvas& canvas, const TRect& rect, TTeElementState state, bool flat,
                                        bool down) {
  TRect r = rect;
  auto downFace = [&] {
    RoundFill(canvas, r, 3, GetColor(ktcSelection));
    Outline(canvas, r, ktcFrame);
  };
  const TColor face = GetColor(ktcFace);
  if (flat) {
    if (state == kesPressed) {
      Face(canvas, r, ktcFace);
      Sunken(canvas, r, face, 30);
    } else if (state == kesHot) {
      Face(canvas, r, ktcHotFace);
      Raised(canvas, r, GetColor(ktcHotFace), 30);
    } else if (state == kesNormal && down) {
      downFace();
    }
    return;
  }
  if (state != kesNormal && state != kesPressed) return;
  if (down) {
    downFace();
  } else {
    Face(canvas, r, ktcFace);
    if (state == kesNormal)
      Raised(canvas, r, face, 30);
    else
      Sunken(canvas, r, face, 30);
  }
}

void TTeThemeHighlight::DrawSpeedButtonChevron(TCanvas& canvas, const TRect& rect, TTeElementState state, bool flat,
                                               bool down) {
  DrawSpeedButton(canvas, rect, state, flat, down);
  const TRect r = state == kesPressed ? rect.Offset(1, 1) : rect;
  if (state == kesDisabled)
    flatdraw::ArrowOutline(canvas, r, GetColor(ktcFrame), GetColor(ktcFrame));
  else
    flatdraw::Arrow(canvas, r, true, GetColor(ktcFrame));
}

void TTeThemeHighlight::DrawSpinButton(TCanvas& canvas, const TRect& rect, TTeElementState state, uint8_t) {
  DrawSpeedButton(canvas, rect, state, state != kesNormal, false);
}

void TTeThemeHighlight::DrawGlyphButton(TCanvas& canvas, const TRect& rect, int glyph, TTeElementState state,
                                        bool second) {
  Outline(canvas, rect, ktcFrame);
  const TRect r = Shrink(rect);
  StateFace(*this, canvas, r, state);
  const unsigned pushed = state == kesPressed ? DFCS_PUSHED : 0;
  if (glyph == 1)
    DrawGlyphInside(canvas, rect, DFC_CAPTION, DFCS_CAPTIONCLOSE | pushed, GetColor(ktcFrame));
  else
    DrawGlyphInside(canvas, rect, DFC_SCROLL, (second ? DFCS_SCROLLDOWN : DFCS_SCROLLUP) | pushed, GetColor(ktcFrame));
}

void TTeThemeHighlight::DrawComboButton(TCanvas& canvas, const TRect& rect, TTeElementState state) {
  Outline(canvas, rect, ktcFrame);
  const TRect r = Shrink(rect);
  StateFace(*this, canvas, r, state);
  const TRect arrow = state == kesPressed ? rect.Offset(1, 2) : rect.Offset(0, 1);
  flatdraw::Arrow(canvas, arrow, true, GetColor(ktcFrame));
}

// --- bars, tracks, thumbs ---------------------------------------------------------------

void TTeThemeHighlight::DrawTrackBarThumb(TCanvas& canvas, const TRect& rect, bool vertical, int shape,
                                          TTeElementState state) {
  const TColor c = GetColor(flatdraw::StateFill(state));
  TColor light = Lighten(c, 30), dark = Darken(c, 30);
  if (state == kesPressed) std::swap(light, dark);
  if (shape == 0) {
    RoundFrame(canvas, rect, 3, ARGBToColor(kBlueARGB));
    const TRect r = Shrink(rect);
    FillRectColor(canvas, r, c);
    Frame3D(canvas, r, light, dark);
    return;
  }
  if (shape != 1 && shape != 2) return;
  const std::array<TPoint, 5> points = flatdraw::ThumbPentagon(rect, vertical, shape);
  FillPolygon(canvas, points, c);
  const int l = rect.left, t = rect.top, r = rect.right, b = rect.bottom;
  const int w = rect.Width(), h = rect.Height();
  if (vertical && shape == 1) {
    Polyline(canvas, {{l + 1, b - 1}, {l + 1, t + 1}, {r - h / 2, t + 1}}, light);
    Polyline(canvas, {{l + 1, b - 2}, {r - h / 2, b - 2}}, dark);
  } else if (vertical) {
    Polyline(canvas, {{l + h / 2, t + 1}, {r - 1, t + 1}}, light);
    Polyline(canvas, {{l + h / 2, b - 2}, {r - 1, b - 2}, {r - 1, t + 1}}, dark);
  } else if (shape == 1) {
    Polyline(canvas, {{l + 1, b - w / 2}, {l + 1, t + 1}, {r - 1, t + 1}}, light);
    Polyline(canvas, {{r - 2, t + 1}, {r - 2, b - w / 2}}, dark);
  } else {
    Polyline(canvas, {{l + 1, t + w / 2}, {l + 1, b - 1}}, light);
    Polyline(canvas, {{l + 1, b - 1}, {r - 2, b - 1}, {r - 2, t + w / 2}}, dark);
  }
  FramePolygon(canvas, points, GetColor(ktcFrame));
}

void TTeThemeHighlight::DrawTrackBarTrack(TCanvas& canvas, const TRect& rect, const TRect& selectionRect) {
  FillRectColor(canvas, rect, GetColor(ktcFace));
  Outline(canvas, rect, ktcFrame);
  if (!RectIsEmpty(selectionRect)) FillRectColor(canvas, Shrink(selectionRect), GetColor(ktcSelection));
}

void TTeThemeHighlight::DrawProgressBarFrame(TCanvas& canvas, const TRect& rect) {
  Outline(canvas, rect, ktcFrame);
  FillRectColor(canvas, Shrink(rect), GetColor(ktcWindow));
}

void TTeThemeHighlight::DrawProgressBar(TCanvas& canvas, const TRect& rect, const TRect& barRect, bool vertical,
                                        bool smooth) {
  const TColor color = GetColor(ktcSelection);
  for (const TRect& block : ProgressBlocks(rect, barRect, vertical, smooth)) FillRectColor(canvas, block, color);
}

void TTeThemeHighlight::DrawScrollBarTrack(TCanvas& canvas, const TRect& rect, TScrollBarKind) {
  Outline(canvas, rect, ktcFrame);
}

void TTeThemeHighlight::DrawScrollButton(TCanvas& canvas, const TRect& rect, bool vertical, bool first,
                                         TTeElementState state) {
  const TColor fill = GetColor(flatdraw::StateFill(state));
  FillRectColor(canvas, rect, fill);
  const unsigned direction =
      vertical ? (first ? DFCS_SCROLLUP : DFCS_SCROLLDOWN) : (first ? DFCS_SCROLLLEFT : DFCS_SCROLLRIGHT);
  flatdraw::Glyph(canvas, rect, DFC_SCROLL, direction | (state == kesPressed ? DFCS_FLAT | DFCS_PUSHED : 0));
  Outline(canvas, rect, ktcFrame);
  const TRect r = Shrink(rect);
  if (state == kesPressed)
    Sunken(canvas, r, fill, 30);
  else
    Raised(canvas, r, fill, 30);
}

void TTeThemeHighlight::DrawScrollThumb(TCanvas& canvas, const TRect& rect, TScrollBarKind, TTeElementState state) {
  Outline(canvas, rect, ktcFrame);
  const TRect r = Shrink(rect);
  StateFace(*this, canvas, r, state);
}

void TTeThemeHighlight::DrawControlBar(TCanvas& canvas, const TRect& rect) {
  FillRectColor(canvas, rect, GetColor(ktcFace));
}

void TTeThemeHighlight::DrawMenuBarOnControlBar(TCanvas& canvas, const TRect& rect) {
  FillRectColor(canvas, rect, GetColor(ktcFace));
}

void TTeThemeHighlight::DrawControlBand(TCanvas& canvas, const TRect& rect, const TRect& gripRect) {
  const TColor face = GetColor(ktcFace);
  auto band = [&](const TRect& outer) {
    Outline(canvas, outer, ktcFrame);
    const TRect r = Shrink(outer);
    FillRectColor(canvas, r, face);
    Raised(canvas, r, face, 50);
  };
  band(rect);
  band(Shrink(gripRect, 3, 1));
}

// --- panels, tabs, lists ------------------------------------------------------------------

void TTeThemeHighlight::DrawPanel(TCanvas& canvas, const TRect& rect) {
  const TColor face = GetColor(ktcFace);
  Outline(canvas, rect, ktcFrame);
  TRect r = Shrink(rect);
  Raised(canvas, r, face, 30);
  r = Shrink(r);
  Raised(canvas, r, face, 15);
  FillRectColor(canvas, Shrink(r), face);
}

void TTeThemeHighlight::DrawTab(TCanvas& canvas, const TRect& rect, TTabPosition position, TTeElementState state) {
  const TColor p = GetColor(state == kesHot ? ktcHotFace : state == 4 ? ktcSelection : ktcFace);
  Outline(canvas, rect, ktcFrame);
  TRect r = Shrink(rect);
  Raised(canvas, r, p, 30);
  FillRectColor(canvas, Shrink(r), p);
  // The two rows or columns toward the page merge with it.
  if (const std::optional<TRect> strip = TabPageStrip(rect, position)) FillRectColor(canvas, *strip, p);
}

void TTeThemeHighlight::DrawListBorder(TCanvas& canvas, const TRect& rect, TTeElementState state) {
  if (state == kesDisabled)
    DrawNestedBorder(canvas, rect, GetColor(ktcDisabledFace), GetColor(ktcDisabledFrame), 7);
  else
    DrawNestedBorder(canvas, rect, GetColor(ktcWindow), GetColor(ktcFrame), 7);
}

void TTeThemeHighlight::DrawScrollBoxBorder(TCanvas& canvas, const TRect& rect, bool enabled) {
  if (enabled)
    DrawNestedBorder(canvas, rect, GetColor(ktcFace), GetColor(ktcFrame), 6);
  else
    DrawNestedBorder(canvas, rect, GetColor(ktcDisabledFace), GetColor(ktcDisabledFrame), 6);
}

void TTeThemeHighlight::DrawListItem(TCanvas& canvas, const TRect& rect, uint8_t flags) {
  if (flags & 4) {
    const TColor face = GetColor(ktcFace);
    FillRectColor(canvas, rect, face);
    Raised(canvas, rect, face, 30);
    return;
  }
  FillRectColor(canvas, rect, GetColor((flags & 2) ? ktcSelection : (flags & 1) ? ktcHotFace : ktcWindow));
}

void TTeThemeHighlight::DrawSplitter(TCanvas& canvas, const TRect& rect, bool hot, bool beveled) {
  TRect r = rect;
  if (beveled) {
    Outline(canvas, r, ktcFrame);
    r = Shrink(r);
  }
  if (!hot) {
    FillRectColor(canvas, r, GetColor(ktcWindow));
    return;
  }
  Raised(canvas, r, GetColor(ktcSelection), 30);
  FillRectColor(canvas, Shrink(r), GetColor(ktcHotFace));
}

void TTeThemeHighlight::DrawStateBox(TCanvas& canvas, const TRect& rect, uint8_t, int variant) {
  // Variants without an element of their own look like variant 0.
  TColor fill;
  switch (variant) {
    case 1:
    case 5:
      fill = GetColor(ktcSelection);
      break;
    case 2:
      fill = clBlack;
      break;
    case 3:
    case 4:
      fill = GetColor(ktcHotFace);
      break;
    default:
      fill = GetColor(ktcFace);
      break;
  }
  FillRectColor(canvas, rect, fill);
  Outline(canvas, rect, ktcFrame);
  const TRect r = Shrink(rect);
  if (variant == 1 || variant == 5)
    Sunken(canvas, r, fill, 30);
  else
    Raised(canvas, r, fill, 30);
}

void TTeThemeHighlight::DrawEdit(TCanvas& canvas, const TRect& rect, bool, uint8_t) {
  RoundFill(canvas, rect, 3, GetColor(ktcWindow));
  Outline(canvas, rect, ktcFrame);
}

void TTeThemeHighlight::DrawHeader(TCanvas& canvas, const TRect& rect, const std::string& text) {
  const TColor face = GetColor(ktcFace);
  MoveTo(canvas, rect.left, rect.bottom);
  LineTo(canvas, rect.right, rect.bottom, GetColor(ktcFrame));
  FillRectColor(canvas, rect, face);
  Raised(canvas, rect, face, 30);
  SetThemeFont(canvas, *this, ktfHeader);
  canvas.Font()->SetColor(GetColor(ktcHeaderText));
  DrawTextEx(canvas, text, TRect{rect.left + 5, rect.top, rect.right - 5, rect.bottom},
             DrawTextBiDiModeFlags(kDtLeftMiddle));
}

void TTeThemeHighlight::DrawGroupBox(TCanvas& canvas, const TRect& rect, const TRect& captionRect,
                                     const std::string& caption) {
  DrawCutCornerGroupBox(*this, canvas, rect, captionRect, caption, GetColor(ktcFrame));
}

// --- status bar -------------------------------------------------------------------------

void TTeThemeHighlight::DrawStatusBar(TCanvas& canvas, const TRect& rect) {
  const TColor face = GetColor(ktcFace);
  Outline(canvas, rect, ktcFrame);
  TRect r = Shrink(rect);
  Raised(canvas, r, face, 30);
  FillRectColor(canvas, Shrink(r), face);
}

void TTeThemeHighlight::DrawSizeGrip(TCanvas& canvas, const TRect& rect) {
  flatdraw::SizeGrip(canvas, rect, GetColor(ktcActiveCaption), GetColor(ktcFrame));
}

void TTeThemeHighlight::DrawStatusPanel(TCanvas& canvas, const TRect& rect, TTeStatusPanel*) {
  const TColor face = GetColor(ktcFace);
  Sunken(canvas, rect, face, 30);
  TRect r = Shrink(rect);
  Outline(canvas, r, ktcFrame);
  FillRectColor(canvas, Shrink(r), face);
}

}  // namespace hv
