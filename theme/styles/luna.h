#pragma once
// The two skinned styles. Luna and Metal Luna cut most element pictures out
// of two skin atlases stored in the executable (PCX images on a magenta
// background, keyed when loaded) and paint the rest from a colour table.
// Metal Luna differs only in its colours, its name and its skins: every
// source rectangle and painting rule is shared.

#include <array>
#include <memory>
#include <string>
#include <utility>

#include "theme/core/theme.h"

namespace hv {

class TTeBitmap;

// The resources a skinned style loads its two atlases from, and which corner
// pixel gives the secondary atlas its key colour (the primary one is always
// keyed by its top-left pixel).
struct TTeSkinResources {
  const char* primary;
  const char* secondary;
  bool secondaryKeyBottomLeft;
};

class TTeThemeLuna : public TTeTheme {
  HV_THEME_CLASS(TTeThemeLuna, TTeTheme)

 public:
  // Loads the skins; one that is missing or broken is left empty.
  TTeThemeLuna();
  ~TTeThemeLuna() override;

  static std::string GetName() { return "Luna"; }
  // Only while both skins are there, whole and large enough.
  static bool IsThemeAvailable();

  // Reloads the skins, so that tints never accumulate, then tints them.
  void UpdateColors() override;
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
  void DrawTrackBarThumb(TCanvas& canvas, const TRect& rect, bool vertical, int shape,
                         TTeElementState state) override;
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
  void DrawSpeedButtonChevron(TCanvas& canvas, const TRect& rect, TTeElementState state, bool flat,
                              bool down) override;
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

  // Reloads both skins from the resources, into the bitmaps they have, and
  // keys them; leaves them untinted. A skin that is missing or cannot be
  // decoded is left empty; nothing is raised, since the style then answers
  // that it is not available and nothing paints with it.
  virtual void LoadSkins();

  // Never null; empty when the resource was no PCX image.
  TTeBitmap& PrimarySkin() const { return *primarySkin_; }
  TTeBitmap& SecondarySkin() const { return *secondarySkin_; }

 protected:
  // For the styles that share the atlas layout with other resources: the
  // skins are loaded from `skins` right away, as LoadSkins of the style
  // being built would.
  explicit TTeThemeLuna(const TTeSkinResources& skins);
  void LoadSkinsFrom(const TTeSkinResources& skins);

 private:
  TTeBitmap& FrameSkin(bool active) const { return active ? *primarySkin_ : *secondarySkin_; }

  std::unique_ptr<TTeBitmap> primarySkin_;
  std::unique_ptr<TTeBitmap> secondarySkin_;
  // The tint the skins are decoded with: none, except while UpdateColors
  // reloads them, which tints the 256 palette entries instead of every
  // pixel.
  std::pair<int, int> skinTint_{0, 0};  // hue, brightness
};

class TTeThemeMetalLuna : public TTeThemeLuna {
  HV_THEME_CLASS(TTeThemeMetalLuna, TTeThemeLuna)

 public:
  TTeThemeMetalLuna();

  static std::string GetName() { return "MetalLuna"; }
  static bool IsThemeAvailable();

  TColor GetColor(TTeThemeColor kind) const override;
  void LoadSkins() override;
};

// The resource names of the two styles' skins.
extern const TTeSkinResources kLunaSkins;
extern const TTeSkinResources kMetalLunaSkins;

// Both skinned styles in the style registry, each at its place.
void RegisterSkinnedStyles();

}  // namespace hv
