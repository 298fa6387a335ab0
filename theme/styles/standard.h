#pragma once
// The two bevelled styles. Advanced paints every element from system
// colours with classic double bevels, glyphs of the platform's frame-control
// renderer recoloured, and a gradient caption. KDE is Advanced with softer,
// uniform bevels, a dotted blue-grey caption and simple caption glyphs: it
// inherits every element it paints alike, and the bevel depths it shares
// come from one place, so a fix to Advanced reaches KDE.

#include <string>

#include "theme/core/theme.h"
#include "theme/styles/stdshapes.h"

namespace hv {

class TTeThemeStd : public TTeTheme {
  HV_THEME_CLASS(TTeThemeStd, TTeTheme)

 public:
  TTeThemeStd() : TTeThemeStd(TBevelDepths{150, 90}) {}

  static std::string GetName() { return "Advanced"; }
  static bool IsThemeAvailable() { return true; }

  // Nothing is cached from the colours.
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
  void DrawArrowButton(TCanvas& canvas, const TRect& rect, bool first, uint8_t flag, TTeElementState state) override;
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
  HRGN GetFormRegion(int width, int height, TTeBorderStyle borderStyle) override;

 protected:
  // How far a bevel's shades lie from its colour: `deep` for the outer
  // bevels (150 in Advanced), `shallow` for the inner and single ones (90).
  struct TBevelDepths {
    int deep;
    int shallow;
  };
  explicit TTeThemeStd(TBevelDepths depths) : depths_(depths) {}
  const TBevelDepths& Depths() const { return depths_; }

  // The bevel vocabulary. Each works on r and leaves it where the next step
  // of an element starts: the shrinking ones move every side in by one.
  void Raised(TCanvas& canvas, const TRect& r, TColor c, int n);
  void Sunken(TCanvas& canvas, const TRect& r, TColor c, int n);
  void DoubleRaised(TCanvas& canvas, TRect& r, TColor c);
  void DoubleSunken(TCanvas& canvas, TRect& r, TColor c);
  // The two-ring bevel of push, scroll, combo and speed buttons and of the
  // popup menu's frame: Advanced's double bevel, KDE's two equal rings.
  virtual void ButtonRaised(TCanvas& canvas, TRect& r, TColor c) { DoubleRaised(canvas, r, c); }
  virtual void ButtonSunken(TCanvas& canvas, TRect& r, TColor c) { DoubleSunken(canvas, r, c); }
  static void Shrink(TRect& r) { r = r.Inflate(-1, -1); }
  void Fill(TCanvas& canvas, const TRect& r, TTeThemeColor kind) const;

  // The face of an element in a state: disabled, hot or plain.
  TColor Face(TTeElementState state) const;
  // The face of the caption and speed buttons, which know no disabled face.
  TColor HotOrFace(bool hot) const;
  void Text(TCanvas& canvas, const std::string& text, const TRect& rect, unsigned flags);
  static void Arrow(TCanvas& canvas, const TRect& a, bool up, TColor colour);
  // The glyph of the frame-control renderer in colour, without the button
  // the renderer draws around it.
  static void SystemGlyph(TCanvas& canvas, const TRect& r, unsigned type, unsigned state, TColor colour);
  static void CheckGlyph(TCanvas& canvas, const TRect& rect, int width, int height, TColor colour);

  // The bevel around a check box's inside, which the two styles draw
  // differently; r ends on the bevel's inner ring.
  virtual void DrawCheckFrame(TCanvas& canvas, TRect& r, TColor face);
  // The glyphs of the caption buttons in the glyph area g.
  void DrawCaptionGlyph(TCanvas& canvas, const TRect& g, TTeCaptionButton button, bool pressed);
  static void DrawSystemCaptionGlyph(TCanvas& canvas, const TRect& g, TTeCaptionButton button, bool pressed);
  static void DrawRollGlyph(TCanvas& canvas, TRect g, bool up, bool pressed);
  // The face of combo and scroll buttons and thumbs in their state, framed
  // by the button bevel; answers the inside.
  TRect DrawButtonFace(TCanvas& canvas, const TRect& rect, TTeElementState state);
  void DrawComboArrow(TCanvas& canvas, const TRect& r, TTeElementState state);
  // A list's or scroll box's border, with the square between its scroll bars.
  void DrawFramedSquare(TCanvas& canvas, const TRect& rect, TColor back);
  // What flag 4 of DrawListItem adds around the item.
  virtual void DrawListItemFrame(TCanvas& canvas, const TRect& rect, TColor c);

 private:
  TBevelDepths depths_;
};

class TTeThemeKDE : public TTeThemeStd {
  HV_THEME_CLASS(TTeThemeKDE, TTeThemeStd)

 public:
  TTeThemeKDE() : TTeThemeStd(TBevelDepths{120, 120}) {}

  static std::string GetName() { return "KDE"; }
  static bool IsThemeAvailable() { return true; }

  int GetSize(TTeThemeSize kind) const override;
  TColor GetColor(TTeThemeColor kind) const override;
  std::string GetFontName(TTeThemeFont kind) const override;
  void DrawCaptionButton(TCanvas& canvas, const TRect& rect, TTeCaptionButton button, bool hot, bool pressed,
                         bool active, TTeBorderStyle borderStyle) override;
  void DrawFormFrame(TCanvas& canvas, int width, int height, const TRect& clientRect, bool active,
                     TTeBorderStyle borderStyle) override;
  void DrawGlyphButton(TCanvas& canvas, const TRect& rect, int glyph, TTeElementState state, bool second) override;

  // The caption's texture, anchored at the canvas origin.
  void FillDots(TCanvas& canvas, TRect rect, TColor colour);

 protected:
  void ButtonRaised(TCanvas& canvas, TRect& r, TColor c) override { TwiceRaised(canvas, r, c); }
  void ButtonSunken(TCanvas& canvas, TRect& r, TColor c) override { TwiceSunken(canvas, r, c); }
  void DrawCheckFrame(TCanvas& canvas, TRect& r, TColor face) override;
  void DrawListItemFrame(TCanvas& canvas, const TRect& rect, TColor c) override;

 private:
  // KDE's pairs of equal bevels: a groove is sunken then raised.
  void Groove(TCanvas& canvas, TRect& r, TColor c);
  void TwiceRaised(TCanvas& canvas, TRect& r, TColor c);
  void TwiceSunken(TCanvas& canvas, TRect& r, TColor c);
  void DrawKdeCaptionGlyph(TCanvas& canvas, const TRect& g, TTeCaptionButton button, bool pressed);
};

// Advanced and KDE in the style registry, each at its place.
void RegisterStandardStyles();

}  // namespace hv
