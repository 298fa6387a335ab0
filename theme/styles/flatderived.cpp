// Cool Flat and Office XP: only what they change of Flat.

#include <windows.h>

#include "framework/graphics.h"
#include "framework/imagelist.h"
#include "theme/core/colors.h"
#include "theme/core/drawing.h"
#include "theme/core/rects.h"
#include "theme/core/tebitmap.h"
#include "theme/core/themeitems.h"
#include "theme/styles/flat.h"
#include "theme/styles/flatdraw.h"
#include "theme/styles/flattables.h"
#include "theme/styles/sharedpaint.h"

namespace hv {

using namespace flatdraw;

// --- Cool Flat ------------------------------------------------------------------------

int TTeThemeCoolFlat::GetSize(TTeThemeSize kind) const { return flattables::Size(flattables::kCoolFlatSizes, kind); }

TColor TTeThemeCoolFlat::GetColor(TTeThemeColor kind) const {
  return AdjustColor(flattables::BaseColor(flattables::kCoolFlatColors, kind, flattables::kCoolFlatBeyond));
}

void TTeThemeCoolFlat::DrawFormFrame(TCanvas& canvas, int width, int height, const TRect& clientRect, bool active,
                                     TTeBorderStyle) {
  const TRect caption{clientRect.left, clientRect.left, clientRect.right, clientRect.top};
  const TColor frame = GetColor(ktcFrame), face = GetColor(ktcFace);
  FillRectColor(canvas, caption, GetColor(active ? ktcActiveCaption : ktcInactiveCaption));
  Frame(canvas, caption, frame);
  TRect r{0, 0, width, height};
  Frame(canvas, r, frame);
  r = Shrink(r);
  Frame(canvas, r, face);
  Frame(canvas, Shrink(r), face);
}

void TTeThemeCoolFlat::DrawCaptionButton(TCanvas& canvas, const TRect& rect, TTeCaptionButton button, bool hot,
                                         bool pressed, bool, TTeBorderStyle) {
  const TColor e = GetColor(pressed ? ktcSelection : hot ? ktcHotFace : ktcFace);
  FillRectColor(canvas, rect, e);
  Frame(canvas, rect, GetColor(ktcFrame));
  const TRect inner = Shrink(rect);
  if (pressed)
    Sunken(canvas, inner, e, 30);
  else if (hot)
    Raised(canvas, inner, e, 30);
  else
    Frame(canvas, inner, e);
  CaptionGlyph(canvas, Shrink(rect, 2, 3), button, pressed, TTrayMark::RoundSquare);
}

// --- Office XP --------------------------------------------------------------------------

TColor TTeThemeOfficeXP::GetColor(TTeThemeColor kind) const {
  return AdjustColor(flattables::BaseColor(flattables::kOfficeXPColors, kind));
}

void TTeThemeOfficeXP::DrawMenuBar(TCanvas& canvas, int width, int height) {
  FillRectColor(canvas, {0, 0, width, height}, GetColor(ktcMenu));
}

void TTeThemeOfficeXP::DrawMenuBarItem(TCanvas& canvas, TTeCustomItem* item, const TRect& rect, bool selected,
                                       bool hot) {
  if (!item) return;
  SetThemeFont(canvas, *this, ktfMenuBar);
  FillRectColor(canvas, rect, GetColor(ktcMenu));
  PaintMenuBarItemFace(canvas, item, Shrink(rect), selected, hot);
}

void TTeThemeOfficeXP::DrawMenuBarOnControlBar(TCanvas& canvas, const TRect& rect) {
  FillRectColor(canvas, rect, GetColor(ktcMenu));
}

// A selected item's image floats over its grey shadow.
void TTeThemeOfficeXP::PaintItemImage(TCanvas& canvas, TTeCustomItem* item, const TRect& column, bool selected) {
  if (!item->HasImage() || !selected) {
    DrawPopupItemImage(canvas, item, column);
    return;
  }
  const TCustomImageList& images = *item->Images();
  const TRect at = CenterRect(Bounds(0, 0, images.Width(), images.Height()), column);
  TTeBitmap shadow;
  shadow.SetSize(images.Width(), images.Height());
  if (!shadow.Empty()) {
    shadow.Fill(kWhiteARGB);
    TCanvas shadowCanvas;
    shadowCanvas.SetHandle(shadow.DC());
    images.Draw(&shadowCanvas, 0, 0, item->ImageIndex(), item->Enabled());
    shadowCanvas.SetHandle(nullptr);
    const TPixelBuffer pixels = shadow.Pixels();
    for (int y = 0; y < pixels.height; ++y)
      for (uint32_t *p = pixels.Row(y), *end = p + pixels.width; p != end; ++p)
        *p = (*p & 0xFFFFFFu) == 0xFFFFFFu ? kTransparentMarker : 0xFF808080u;
    shadow.Draw(canvas, at.left, at.top, true);
  }
  images.Draw(&canvas, at.left - 2, at.top - 2, item->ImageIndex(), item->Enabled());
}

void TTeThemeOfficeXP::DrawPopupItem(TCanvas& canvas, TTeCustomItem* item, const TRect& rect, bool selected, uint8_t) {
  if (!item) return;
  const TColor face = GetColor(ktcFace);
  if (item->IsSeparator()) {
    FillRectColor(canvas, rect, GetColor(ktcMenuItem));
    FillRectColor(canvas, {rect.left, rect.top, rect.left + 22, rect.bottom}, face);
    FillRectColor(canvas, {rect.left + 24, rect.top + 4, rect.right - 2, rect.top + 5}, clBtnShadow);
    return;
  }
  SetThemeFont(canvas, *this, ktfMenuItem);
  const TRect column{rect.left, rect.top, rect.left + item->ImageColumnWidth(), rect.bottom};
  if (selected) {
    FillRectColor(canvas, rect, GetColor(ktcMenuItemSelection));
    canvas.Font()->SetColor(GetColor(ktcMenuItemSelectedText));
    Frame(canvas, rect, GetColor(ktcMenuArrow));
  } else {
    FillRectColor(canvas, rect, GetColor(ktcMenuItem));
    FillRectColor(canvas, column, face);
    canvas.Font()->SetColor(GetColor(ktcMenuItemText));
  }
  if (item->Checked() || item->HasImage()) PaintItemImage(canvas, item, column, selected);
  DrawPopupItemText(*this, canvas, item, rect);
  PaintSubItemDot(canvas, item, rect);
}

void TTeThemeOfficeXP::DrawPopupScrollButton(TCanvas& canvas, const TRect& rect, int direction, bool hot) {
  FillRectColor(canvas, rect, GetColor(ktcMenuItem));
  FillRectColor(canvas, {rect.left, rect.top, rect.left + 22, rect.bottom}, GetColor(ktcFace));
  const TRect rest{rect.left + 22, rect.top, rect.right, rect.bottom};
  if (hot) Frame(canvas, rest, GetColor(ktcMenuArrow));
  const TColor text = GetColor(ktcMenuItemText);
  canvas.Font()->SetColor(text);
  if (direction == 1 || direction == 2) Arrow(canvas, rest, direction == 2, text);
}

void TTeThemeOfficeXP::DrawButton(TCanvas& canvas, int width, int height, uint8_t state) {
  const TRect r{0, 0, width, height};
  if (state == kesDisabled) {
    Frame(canvas, r, GetColor(ktcDisabledFace));
    return;
  }
  const bool accented = state == kesHot || state == kesPressed || state == 4 || state == 5;
  const TColor fill = GetColor(state == kesHot ? ktcHotFace : accented ? ktcSelection : ktcFace);
  Frame(canvas, r, Outline(accented));
  FillRectColor(canvas, Shrink(r), fill);
}

void TTeThemeOfficeXP::DrawCheckBox(TCanvas& canvas, const TRect& rect, TTeElementState state, TCheckBoxState check) {
  if (state == kesDisabled) {
    PaintCheckBox(canvas, rect, check, GetColor(ktcFrame), GetColor(ktcFace), GetColor(ktcDisabledFace));
    return;
  }
  const TColor accent = Outline(state == kesHot || state == 4);
  PaintCheckBox(canvas, rect, check, accent, GetColor(CheckFill(state)), accent);
}

void TTeThemeOfficeXP::DrawRadioButton(TCanvas& canvas, const TRect& rect, TTeElementState state, bool checked) {
  if (state == kesDisabled) {
    TTeThemeFlat::DrawRadioButton(canvas, rect, state, checked);
    return;
  }
  PaintRadioButton(canvas, rect, checked, GetColor(CheckFill(state)), Outline(state == kesHot || state == 4));
}

void TTeThemeOfficeXP::DrawTrackBarThumb(TCanvas& canvas, const TRect& rect, bool vertical, int shape,
                                         TTeElementState state) {
  PaintTrackBarThumb(canvas, rect, vertical, shape, GetColor(StateFill(state)), Outline(state == kesHot));
}

void TTeThemeOfficeXP::DrawProgressBar(TCanvas& canvas, const TRect& rect, const TRect& barRect, bool vertical,
                                       bool smooth) {
  const TColor fill = GetColor(ktcHotFace), frame = GetColor(ktcMenuArrow);
  for (const TRect& block : ProgressBlocks(rect, barRect, vertical, smooth)) {
    FillRectColor(canvas, block, fill);
    Frame(canvas, block, frame);
  }
}

void TTeThemeOfficeXP::DrawHeader(TCanvas& canvas, const TRect& rect, const std::string& text) {
  PaintHeader(canvas, rect, text, GetColor(ktcFace));
}

namespace {
bool NavyState(TTeElementState state) { return state == kesHot || state == kesPressed || state == 4; }
}  // namespace

void TTeThemeOfficeXP::DrawGlyphButton(TCanvas& canvas, const TRect& rect, int glyph, TTeElementState state,
                                       bool second) {
  PaintGlyphButton(canvas, rect, glyph, state, second, Outline(NavyState(state)), false);
}

void TTeThemeOfficeXP::DrawScrollButton(TCanvas& canvas, const TRect& rect, bool vertical, bool first,
                                        TTeElementState state) {
  PaintScrollButton(canvas, rect, vertical, first, state, Outline(NavyState(state)), false);
}

void TTeThemeOfficeXP::DrawScrollThumb(TCanvas& canvas, const TRect& rect, TScrollBarKind, TTeElementState state) {
  PaintScrollThumb(canvas, rect, state, Outline(NavyState(state)), false);
}

void TTeThemeOfficeXP::DrawComboButton(TCanvas& canvas, const TRect& rect, TTeElementState state) {
  PaintComboButton(canvas, rect, state, Outline(state == kesHot), false);
}

void TTeThemeOfficeXP::DrawTab(TCanvas& canvas, const TRect& rect, TTabPosition position, TTeElementState state) {
  PaintTab(canvas, rect, position, state, Outline(state == kesHot));
}

void TTeThemeOfficeXP::DrawListBorder(TCanvas& canvas, const TRect& rect, TTeElementState state) {
  PaintListBorder(canvas, rect, state, GetColor(ktcMenuArrow));
}

void TTeThemeOfficeXP::DrawSpeedButton(TCanvas& canvas, const TRect& rect, TTeElementState state, bool flat,
                                       bool down) {
  if (state == kesDisabled) return;
  if (state > 5) state = kesNormal;
  const TColor navy = GetColor(ktcMenuArrow), selection = GetColor(ktcSelection);
  if (flat) {
    if (state == kesPressed || state == kesHot) {
      Frame(canvas, rect, navy);
      FillRectColor(canvas, Shrink(rect), state == kesHot && !down ? GetColor(ktcHotFace) : selection);
      return;
    }
    FillRectColor(canvas, rect, GetColor(ktcMenu));
    if (state == kesNormal && down) {
      FillRectColor(canvas, rect, selection);
      Frame(canvas, rect, navy);
    }
    return;
  }
  if (state == kesNormal) {
    if (down) {
      FillRectColor(canvas, rect, GetColor(ktcHotFace));
      Frame(canvas, rect, navy);
    } else {
      Frame(canvas, rect, GetColor(ktcFrame));
      FillRectColor(canvas, Shrink(rect), GetColor(ktcMenu));
    }
  } else if (state == kesPressed) {
    if (down) {
      FillRectColor(canvas, rect, selection);
      Frame(canvas, rect, GetColor(ktcHotFace));
    } else {
      Frame(canvas, rect, navy);
      FillRectColor(canvas, Shrink(rect), selection);
    }
  }
}

void TTeThemeOfficeXP::DrawControlBand(TCanvas& canvas, const TRect& rect, const TRect& gripRect) {
  const TColor menu = GetColor(ktcMenu);
  Frame(canvas, rect, GetColor(ktcFace));
  FillRectColor(canvas, Shrink(rect), menu);
  Raised(canvas, Shrink(gripRect, 4, 1), menu, 90);
}

void TTeThemeOfficeXP::DrawStateBox(TCanvas& canvas, const TRect& rect, uint8_t, int variant) {
  FillRectColor(canvas, rect, StateBoxFill(variant));
  Frame(canvas, rect, Outline(variant == 1 || variant == 3 || variant == 4));
}

}  // namespace hv
