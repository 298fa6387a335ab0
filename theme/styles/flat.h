#pragma once
// The flat procedural styles. Flat paints every element with fills,
// one-pixel frames and two-colour bevels of one colour on the button face,
// under a gradient caption. Cool Flat gives it a flat single-colour caption
// and window frame and tables of its own; Office XP keeps Flat's window and
// outlines hot and pressed controls in navy instead of bevelling them, with
// a grey image column in popup menus. Both derive from Flat and override
// only the elements they change, so a fix in Flat reaches all three.

#include <string>

#include "theme/core/theme.h"

namespace hv {

class TTeThemeFlat : public TTeTheme {
  HV_THEME_CLASS(TTeThemeFlat, TTeTheme)

 public:
  static std::string GetName() { return "Flat"; }
  static bool IsThemeAvailable() { return true; }

  // Every colour is computed when it is asked for: nothing to rebuild.
  void UpdateColors() override {}
  int GetSize(TTeThemeSize kind) const override;
  TColor GetColor(TTeThemeColor kind) const override;
  std::string GetFontName(TTeThemeFont kind) const override;
  int GetFontSize(TTeThemeFont kind) const override;
  TFontStyles GetFontStyle(TTeThemeFont kind) const override;
  bool HasCaptionShadow() const override { return false; }
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
  // The window stays rectangular.
  HRGN GetFormRegion(int width, int height, TTeBorderStyle borderStyle) override;

 protected:
  // The pieces the derived styles paint with other colours or without
  // Flat's bevels. Colours are resolved colours.
  void PaintMenuBarItemFace(TCanvas& canvas, TTeCustomItem* item, const TRect& rect, bool selected, bool hot);
  void PaintSubItemDot(TCanvas& canvas, TTeCustomItem* item, const TRect& rect);
  void PaintCheckBox(TCanvas& canvas, const TRect& rect, TCheckBoxState check, TColor border, TColor fill, TColor mark);
  void PaintRadioButton(TCanvas& canvas, const TRect& rect, bool checked, TColor fill, TColor outline);
  void PaintTrackBarThumb(TCanvas& canvas, const TRect& rect, bool vertical, int shape, TColor fill, TColor outline);
  void PaintHeader(TCanvas& canvas, const TRect& rect, const std::string& text, TColor fill);
  void PaintGlyphButton(TCanvas& canvas, const TRect& rect, int glyph, TTeElementState state, bool second,
                        TColor outline, bool raisedWhenHot);
  void PaintScrollButton(TCanvas& canvas, const TRect& rect, bool vertical, bool first, TTeElementState state,
                         TColor outline, bool bevelled);
  void PaintScrollThumb(TCanvas& canvas, const TRect& rect, TTeElementState state, TColor outline, bool bevelled);
  void PaintComboButton(TCanvas& canvas, const TRect& rect, TTeElementState state, TColor outline, bool raisedWhenHot);
  void PaintTab(TCanvas& canvas, const TRect& rect, TTabPosition position, TTeElementState state, TColor frame);
  void PaintListBorder(TCanvas& canvas, const TRect& rect, TTeElementState state, TColor enabledFrame);

  // The check box and radio face by state: hot face, selection in state 4,
  // the face otherwise (disabled ones are painted on the face too).
  static TTeThemeColor CheckFill(TTeElementState state);
  // The fill of a state box variant; variant 0's for unknown variants.
  TColor StateBoxFill(int variant) const;
};

class TTeThemeCoolFlat : public TTeThemeFlat {
  HV_THEME_CLASS(TTeThemeCoolFlat, TTeThemeFlat)

 public:
  static std::string GetName() { return "Cool Flat"; }
  static bool IsThemeAvailable() { return true; }

  int GetSize(TTeThemeSize kind) const override;
  TColor GetColor(TTeThemeColor kind) const override;
  void DrawCaptionButton(TCanvas& canvas, const TRect& rect, TTeCaptionButton button, bool hot, bool pressed,
                         bool active, TTeBorderStyle borderStyle) override;
  void DrawFormFrame(TCanvas& canvas, int width, int height, const TRect& clientRect, bool active,
                     TTeBorderStyle borderStyle) override;
};

class TTeThemeOfficeXP : public TTeThemeFlat {
  HV_THEME_CLASS(TTeThemeOfficeXP, TTeThemeFlat)

 public:
  static std::string GetName() { return "OfficeXP"; }
  static bool IsThemeAvailable() { return true; }

  TColor GetColor(TTeThemeColor kind) const override;
  void DrawMenuBar(TCanvas& canvas, int width, int height) override;
  void DrawMenuBarItem(TCanvas& canvas, TTeCustomItem* item, const TRect& rect, bool selected, bool hot) override;
  void DrawPopupItem(TCanvas& canvas, TTeCustomItem* item, const TRect& rect, bool selected, uint8_t flag) override;
  void DrawPopupScrollButton(TCanvas& canvas, const TRect& rect, int direction, bool hot) override;
  void DrawButton(TCanvas& canvas, int width, int height, uint8_t state) override;
  void DrawCheckBox(TCanvas& canvas, const TRect& rect, TTeElementState state, TCheckBoxState check) override;
  void DrawRadioButton(TCanvas& canvas, const TRect& rect, TTeElementState state, bool checked) override;
  void DrawTrackBarThumb(TCanvas& canvas, const TRect& rect, bool vertical, int shape, TTeElementState state) override;
  void DrawProgressBar(TCanvas& canvas, const TRect& rect, const TRect& barRect, bool vertical, bool smooth) override;
  void DrawHeader(TCanvas& canvas, const TRect& rect, const std::string& text) override;
  void DrawGlyphButton(TCanvas& canvas, const TRect& rect, int glyph, TTeElementState state, bool second) override;
  void DrawScrollButton(TCanvas& canvas, const TRect& rect, bool vertical, bool first, TTeElementState state) override;
  void DrawScrollThumb(TCanvas& canvas, const TRect& rect, TScrollBarKind kind, TTeElementState state) override;
  void DrawTab(TCanvas& canvas, const TRect& rect, TTabPosition position, TTeElementState state) override;
  void DrawListBorder(TCanvas& canvas, const TRect& rect, TTeElementState state) override;
  void DrawComboButton(TCanvas& canvas, const TRect& rect, TTeElementState state) override;
  void DrawSpeedButton(TCanvas& canvas, const TRect& rect, TTeElementState state, bool flat, bool down) override;
  void DrawControlBand(TCanvas& canvas, const TRect& rect, const TRect& gripRect) override;
  void DrawMenuBarOnControlBar(TCanvas& canvas, const TRect& rect) override;
  void DrawStateBox(TCanvas& canvas, const TRect& rect, uint8_t flag, int variant) override;

 private:
  // Navy on hot and pressed elements, the frame colour at rest.
  TColor Outline(bool navy) const { return GetColor(navy ? ktcMenuArrow : ktcFrame); }
  void PaintItemImage(TCanvas& canvas, TTeCustomItem* item, const TRect& column, bool selected);
};

// The three flat styles in the style registry, each at its place.
void RegisterFlatStyles();

}  // namespace hv
