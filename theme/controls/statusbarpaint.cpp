// The status bar's painting: background, panels with their text and image,
// and the size grip, in the plain look and through the style.

#include <windows.h>

#include "framework/gdi.h"
#include "framework/graphics.h"
#include "framework/imagelist.h"
#include "theme/controls/statusbar.h"
#include "theme/core/drawing.h"
#include "theme/core/text.h"
#include "theme/core/theme.h"
#include "theme/core/visualstyles.h"

namespace hv {

namespace {

// One part of the system's visual style of a class, drawn over a rectangle.
void DrawVisualStylePart(HDC dc, const wchar_t* styleClass, int part, int state, const TRect& rect) {
  const TVisualStyleApi& api = VisualStyleApi();
  if (!api.OpenThemeData || !api.DrawThemeBackground || !api.CloseThemeData) return;
  HTHEME theme = api.OpenThemeData(nullptr, styleClass);
  if (!theme) return;
  const RECT r{rect.left, rect.top, rect.right, rect.bottom};
  api.DrawThemeBackground(theme, dc, part, state, &r, nullptr);
  api.CloseThemeData(theme);
}

void ExcludeRect(HDC dc, const TRect& r) { ExcludeClipRect(dc, r.left, r.top, r.right, r.bottom); }

}  // namespace

void TTeCustomStatusBar::PaintClient() {
  PaintBackground();
  for (int i = 0; i < panels_->Count(); ++i) PaintPanel(i);
  if (SizeGripShown()) PaintSizeGrip();
}

void TTeCustomStatusBar::PaintFrame() {
  if (VisualStylesActive()) return;
  TTeCustomControl::PaintFrame();
}

void TTeCustomStatusBar::PaintBackground() {
  HDC dc = Canvas()->Handle();
  TSaveDC saved(dc);
  if (panels_->Count() > 0) ExcludeRect(dc, PanelArea());
  if (VisualStylesActive())
    DrawVisualStylePart(dc, L"Status", 0, 0, Rect(0, 0, PaintWidth(), PaintHeight()));
  else
    TTeCustomControl::PaintClient();
}

void TTeCustomStatusBar::PaintPanel(int index) {
  TRect r;
  GetPanelRect(index, r);
  if (r.IsEmpty()) return;
  TClipRect clip(Canvas()->Handle(), r);
  DrawPanel(panels_->Items(index), r, index == panels_->Count() - 1);
}

void TTeCustomStatusBar::DrawPanel(TTeStatusPanel* panel, const TRect& rect, bool isLast) {
  TCanvas& canvas = *Canvas();
  HDC dc = canvas.Handle();
  {
    TSaveDC saved(dc);
    // The panel's own control paints its part itself.
    if (panel->Control() && panel->Control()->Visible()) ExcludeRect(dc, panel->Control()->BoundsRect());
    if (VisualStylesActive()) {
      DrawVisualStylePart(dc, L"Status", 0, 0, Rect(0, 0, PaintWidth(), PaintHeight()));
      DrawVisualStylePart(dc, L"Status", isLast ? 2 : 1, 0, rect);
    } else {
      FillRectColor(canvas, rect, Color());
      if (panel->Framed()) Frame3D(canvas, rect, clBtnShadow, clBtnHighlight);
    }
  }
  DrawPanelContent(panel, rect);
}

void TTeCustomStatusBar::DrawPanelContent(TTeStatusPanel* panel, const TRect& rect) {
  if (panel->Style() == psOwnerDraw) {
    DrawPanelEvent(panel, rect);
    return;
  }
  DrawPanelText(panel, rect);
  if (panel->ShowImage()) DrawPanelImage(panel, rect);
}

void TTeCustomStatusBar::GetPanelImageSize(TTeStatusPanel* panel, TSize& size) {
  size = {};
  if (images_ && panel->ImageIndex() >= 0 && panel->ImageIndex() < images_->Count())
    size = {images_->Width(), images_->Height()};
}

void TTeCustomStatusBar::GetPanelTextSize(TTeStatusPanel* panel, TSize& size) {
  size = {};
  if (panel->Text().empty()) return;
  TCanvas& canvas = *Canvas();
  canvas.SetFont(Font());
  TSize image;
  GetPanelImageSize(panel, image);
  size.cx = StatusPanelTextWidth(TextWidthEx(canvas, panel->Text(), 0), false, panel->EffectiveWidth(),
                                 ValidImage(panel), image.cx, panel->Spacing(), panel->Margin());
  size.cy = TextHeightEx(canvas, "Pq");
}

namespace {

TStatusTextAlignment TextAlignmentOf(TAlignment a) {
  switch (a) {
    case TAlignment::taRightJustify: return TStatusTextAlignment::taRightJustify;
    case TAlignment::taCenter: return TStatusTextAlignment::taCenter;
    default: return TStatusTextAlignment::taLeftJustify;
  }
}


// Both places are worked out from the same measures of the panel.
TStatusPanelContent ContentOf(TTeStatusPanel* panel, const TRect& contentRect, TSize image, TSize text,
                                     bool validImage) {
  TStatusPanelContent c;
  c.area = {contentRect.Width(), contentRect.Height()};
  c.image = image;
  c.text = text;
  c.validImage = validImage;
  c.margin = panel->Margin();
  c.spacing = panel->Spacing();
  c.layout = panel->Layout() == sglGlyphRight ? TStatusGlyphLayout::sglGlyphRight : TStatusGlyphLayout::sglGlyphLeft;
  c.alignment = TextAlignmentOf(panel->Alignment());
  return c;
}

}  // namespace

void TTeCustomStatusBar::GetPanelGlyphRect(TTeStatusPanel* panel, TRect& rect) {
  TRect content;
  GetPanelContentRect(panel, content);
  TSize image, text;
  GetPanelImageSize(panel, image);
  GetPanelTextSize(panel, text);
  rect = StatusPanelGlyphRect(ContentOf(panel, content, image, text, ValidImage(panel)));
}

void TTeCustomStatusBar::GetPanelTextRect(TTeStatusPanel* panel, TRect& rect) {
  TRect content;
  GetPanelContentRect(panel, content);
  TSize image, text;
  GetPanelImageSize(panel, image);
  GetPanelTextSize(panel, text);
  rect = StatusPanelTextRect(ContentOf(panel, content, image, text, ValidImage(panel)));
}

void TTeCustomStatusBar::DrawPanelText(TTeStatusPanel* panel, const TRect& rect) {
  if (panel->Text().empty()) return;
  TRect t;
  GetPanelTextRect(panel, t);
  t = Intersect(t.Offset(rect.left, rect.top), rect);
  if (t.IsEmpty()) return;
  TCanvas& canvas = *Canvas();
  canvas.SetFont(Font());
  canvas.Brush()->SetStyle(bsClear);
  // The shortening measures on the context: the font must be in it first.
  canvas.TextWidth("");
  const std::string text = EllipsizeText(canvas.Handle(), panel->Text(), t.Width() - 4);
  unsigned flags = DT_LEFT;
  if (panel->Alignment() == TAlignment::taRightJustify) flags = DT_RIGHT;
  if (panel->Alignment() == TAlignment::taCenter) flags = DT_CENTER;
  if (BiDiMode() != TBiDiMode::bdLeftToRight) flags |= DT_RTLREADING;
  DrawTextEx(canvas, text, t, flags);
}

void TTeCustomStatusBar::DrawPanelImage(TTeStatusPanel* panel, const TRect& rect) {
  if (!ValidImage(panel)) return;
  TRect g;
  GetPanelGlyphRect(panel, g);
  images_->Draw(Canvas(), rect.left + g.left, rect.top + g.top, panel->ImageIndex(), true);
}

void TTeCustomStatusBar::PaintSizeGrip() {
  TRect grip;
  GetSizeGripRect(grip);
  HDC dc = Canvas()->Handle();
  if (VisualStylesActive()) {
    DrawVisualStylePart(dc, L"Status", 3, 0, grip);
    return;
  }
  Canvas()->Brush()->SetStyle(bsClear);
  RECT r{grip.left, grip.top, grip.right, grip.bottom};
  DrawFrameControl(dc, &r, DFC_SCROLL, DFCS_SCROLLSIZEGRIP);
}

// ---- TTeThemeStatusBar ---------------------------------------------------

void TTeThemeStatusBar::PaintBackground() {
  TTeTheme* theme = UsableTheme();
  if (!theme) {
    TTeCustomStatusBar::PaintBackground();
    return;
  }
  bool plain = false;
  {
    HDC dc = Canvas()->Handle();
    TSaveDC saved(dc);
    if (Panels()->Count() > 0) ExcludeRect(dc, PanelArea());
    BeginElementProbe();
    theme->DrawStatusBar(*Canvas(), Rect(0, 0, PaintWidth(), PaintHeight()));
    plain = ElementLeftUnpainted();
  }
  // What the style has no element for keeps its plain look.
  if (plain) TTeCustomStatusBar::PaintBackground();
}

void TTeThemeStatusBar::DrawPanel(TTeStatusPanel* panel, const TRect& rect, bool isLast) {
  TTeTheme* theme = UsableTheme();
  if (!theme) {
    TTeCustomStatusBar::DrawPanel(panel, rect, isLast);
    return;
  }
  BeginElementProbe();
  theme->DrawStatusPanel(*Canvas(), rect, panel);
  if (ElementLeftUnpainted()) {
    TTeCustomStatusBar::DrawPanel(panel, rect, isLast);
    return;
  }
  DrawPanelContent(panel, rect);
}

void TTeThemeStatusBar::PaintSizeGrip() {
  TTeTheme* theme = UsableTheme();
  if (!theme) {
    TTeCustomStatusBar::PaintSizeGrip();
    return;
  }
  TRect grip;
  GetSizeGripRect(grip);
  BeginElementProbe();
  theme->DrawSizeGrip(*Canvas(), grip);
  if (ElementLeftUnpainted()) TTeCustomStatusBar::PaintSizeGrip();
}

}  // namespace hv
