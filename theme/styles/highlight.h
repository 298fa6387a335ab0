#pragma once
// Highlight and Lines: procedural styles with navy outlines rounded at their
// corners, warm orange under the mouse and double bevels on the controls.
// Highlight fades its caption to light grey; Lines is Highlight with its own
// colours and a solid caption ruled with thin shadow lines, and nothing else
// of its own, so that every fix to Highlight's painting reaches Lines too.

#include <string>

#include "theme/core/theme.h"

namespace hv {

class TTeThemeHighlight : public TTeTheme {
  HV_THEME_CLASS(TTeThemeHighlight, TTeTheme)

 public:
  TTeThemeHighlight() = default;

  static std::string GetName() { return "Highlight"; }
  static bool IsThemeAvailable() { return true; }

  // Every colour is looked up when asked for, so there is nothing to rebuild.
  void UpdateColors() override {}
  int GetSize(TTeThemeSize kind) const override;
  TColor GetColor(TTeThemeColor kind) const override;
  std::string GetFontName(TTeThemeFont kind) const override;
  int GetFontSize(TTeThemeFont kind) const override;
  TFontStyles GetFontStyle(TTeThemeFont kind) const override;
  void DrawCaptionButton(TCanvas& canvas, const TRect& rect, TTeCaptionButton button, bool hot, bool pressed,
                         bool active, TTeBorderStyle borderStyle) override;
  void DrawFormFrame(TCanvas& canvas, int width, int height, const TRect& clientRect, bool active,
                     TTeBorderStyle borderStyle) override;
  void MeasureMenuBarItem(TCanvas& canvas, TTeCustomItem* item, int& width, int& height) override;
  void MeasurePopupItem(TCanvas& canvas, TTeCustomItem* item, int& width, int& height) override;
  void DrawMenuBar(TCanvas& canvas, int width, int height) override;
  void DrawMenuBarItem(TCanvas& canvas, TTeCustomItem* item, const TRect& rect, bool selected, bool hot) override;
  void DrawMenuBarButton(TCanvas& canvas, TTeCustomItem* item, const TRect& rect, bool selected, bool hot) override;
  void DrawPopupMenu(TCanvas& canvas, int width, int height) override;
  void DrawPopupItem(TCanvas& canvas, TTeCustomItem* item, const TRect& rect, bool selected, uint8_t flag) override;
  void DrawPopupScrollButton(TCanvas& canvas, const TRect& rect, int direction, bool hot) override;
  void DrawButton(TCanvas& canvas, int width, int height, uint8_t state) override;
  void DrawCheckBox(TCanvas& canvas, const TRect& rect, TTeElementState state, TCheckBoxState check) override;
  void DrawRadioButton(TCanvas& canvas, const TRect& rect, TTeElementState state, bool checked) override;
  void DrawTrackBarThumb(TCanvas& canvas, const TRect& rect, bool vertical, int shape, TTeElementState state) override;
  void DrawTrackBarTrack(TCanvas& canvas, const TRect& rect, const TRect& selectionRect) override;
  void DrawProgressBarFrame(TCanvas& canvas, const TRect& rect) override;
  void DrawProgressBar(TCanvas& canvas, const TRect& rect, const TRect& barRect, bool vertical, bool smooth) override;
  void DrawEdit(TCanvas& canvas, const TRect& rect, bool border, uint8_t flag) override;
  void DrawHeader(TCanvas& canvas, const TRect& rect, const std::string& text) override;
  void DrawGlyphButton(TCanvas& canvas, const TRect& rect, int glyph, TTeElementState state, bool second) override;
  void DrawGroupBox(TCanvas& canvas, const TRect& rect, const TRect& captionRect, const std::string& caption) override;
  void DrawScrollBarTrack(TCanvas& canvas, const TRect& rect, TScrollBarKind kind) override;
  void DrawScrollButton(TCanvas& canvas, const TRect& rect, bool vertical, bool first, TTeElementState state) override;
  void DrawScrollThumb(TCanvas& canvas, const TRect& rect, TScrollBarKind kind, TTeElementState state) override;
  void DrawPanel(TCanvas& canvas, const TRect& rect) override;
  void DrawTab(TCanvas& canvas, const TRect& rect, TTabPosition position, TTeElementState state) override;
  void DrawListBorder(TCanvas& canvas, const TRect& rect, TTeElementState state) override;
  void DrawComboButton(TCanvas& canvas, const TRect& rect, TTeElementState state) override;
  void DrawSpeedButton(TCanvas& canvas, const TRect& rect, TTeElementState state, bool flat, bool down) override;
  void DrawSpeedButtonChevron(TCanvas& canvas, const TRect& rect, TTeElementState state, bool flat, bool down) override;
  void DrawControlBar(TCanvas& canvas, const TRect& rect) override;
  void DrawControlBand(TCanvas& canvas, const TRect& rect, const TRect& gripRect) override;
  void DrawMenuBarOnControlBar(TCanvas& canvas, const TRect& rect) override;
  void DrawSpinButton(TCanvas& canvas, const TRect& rect, TTeElementState state, uint8_t flag) override;
  void DrawListItem(TCanvas& canvas, const TRect& rect, uint8_t flags) override;
  void DrawSplitter(TCanvas& canvas, const TRect& rect, bool hot, bool beveled) override;
  void DrawStateBox(TCanvas& canvas, const TRect& rect, uint8_t flag, int variant) override;
  void DrawStatusBar(TCanvas& canvas, const TRect& rect) override;
  void DrawSizeGrip(TCanvas& canvas, const TRect& rect) override;
  void DrawStatusPanel(TCanvas& canvas, const TRect& rect, TTeStatusPanel* panel) override;
  void DrawScrollBoxBorder(TCanvas& canvas, const TRect& rect, bool enabled) override;
  // The rounded rectangle (0, 0, width + 1, height + 1) with 3 x 3 corners,
  // whatever the border style.
  HRGN GetFormRegion(int width, int height, TTeBorderStyle borderStyle) override;

 protected:
  // The frame around the caption band and the window: the band has been
  // painted by then, and Lines paints its band differently.
  void DrawFrameAround(TCanvas& canvas, int width, int height, const TRect& band);

  // What these styles add to the flat styles' painting terms, on colour
  // kinds. An outline: the rounded rectangle outline with 3-pixel corners.
  void Outline(TCanvas& canvas, const TRect& rect, TTeThemeColor kind);
  // A face: a round filled in the colour, outlined in the frame colour; the
  // rect shrinks past the outline.
  void Face(TCanvas& canvas, TRect& rect, TTeThemeColor kind);
};

class TTeThemeLines : public TTeThemeHighlight {
  HV_THEME_CLASS(TTeThemeLines, TTeThemeHighlight)

 public:
  TTeThemeLines() = default;

  static std::string GetName() { return "Lines"; }
  static bool IsThemeAvailable() { return true; }

  TColor GetColor(TTeThemeColor kind) const override;
  void DrawFormFrame(TCanvas& canvas, int width, int height, const TRect& clientRect, bool active,
                     TTeBorderStyle borderStyle) override;
};

// Both styles in the style registry, each at its place.
void RegisterHighlightStyles();

}  // namespace hv
