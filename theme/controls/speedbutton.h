#pragma once
// The speed button family: a windowless push button with a glyph strip, a
// caption and an optional drop-down part (the chevron) that opens a popup
// menu. Buttons latch down, form exclusive groups among the controls of one
// parent, repeat their click while held, and can be flat (no face until the
// mouse is over them). TTeCustomSpeedButton does the behaviour and a plain
// look (the system's visual style, else classic 3D lines); TTeThemeSpeedButton
// paints through the style of its theme engine. TTeSpeedDivider is a spacer
// between buttons, TTeSpeedContainer a transparent windowed holder for them.
//
// speedbutton.cpp holds the behaviour and the geometry, speedbuttonpaint.cpp
// the painting.

#include <cstdint>
#include <memory>

#include "theme/controls/buttongeometry.h"
#include "theme/controls/controlbase.h"
#include "theme/controls/themelink.h"
#include "theme/core/theme.h"

namespace hv {

class TBitmap;
class TCanvas;
class TTimer;
class TTePopupMenuBase;

enum TTeChevronPos : uint8_t { dmpBottom, dmpRight };
enum TTeSpeedButtonState : uint8_t { ksbsNormal, ksbsDisabled, ksbsPressed, ksbsLatched, ksbsChevronPressed };

constexpr int kChevronWidth = 14;
constexpr int kFirstRepeatMs = 400;
constexpr int kRepeatMs = 100;

// Where a glyph of glyphSize and a caption of captionSize go in a button of
// rectangle button (all with no glyph or caption as (0, 0)), by layout,
// margin (-1: centred) and spacing (-1: spread evenly). Pure.
TRect SpeedGlyphRect(const TRect& button, TSize glyphSize, TSize captionSize, TButtonLayout layout, int margin,
                     int spacing);
// The caption's rectangle next to a glyph at glyphRect; whole is the
// control's client rectangle, where a button without glyph centres it.
TRect SpeedCaptionRect(const TRect& button, const TRect& whole, const TRect& glyphRect, bool hasGlyph,
                       TSize captionSize, TButtonLayout layout, int spacing);
// The number of images a strip of that size holds: width div height when
// that is whole and below 5, else 1.
int GlyphCountOf(int width, int height);
// Draws cell `cell` of a strip of numGlyphs images with its top-left at
// `at`. Pixels of the strip's bottom-left colour are left out; the others
// turn grey by their lightness with blackAndWhite, and pale grey with
// greyed (a one-image strip standing for its disabled image).
void DrawGlyphCell(TCanvas& canvas, const TBitmap& strip, int numGlyphs, int cell, TPoint at, bool blackAndWhite,
                   bool greyed);

class TTeCustomSpeedButton : public TTeGraphicControl {
  HV_CLASS(TTeCustomSpeedButton, TTeGraphicControl)

 public:
  explicit TTeCustomSpeedButton(TComponent* owner);
  ~TTeCustomSpeedButton() override;

  bool ShowChevron() const { return showChevron_; }
  void SetShowChevron(bool value);
  bool Flat() const { return flat_; }
  void SetFlat(bool value);
  int GroupIndex() const { return groupIndex_; }
  void SetGroupIndex(int value);
  bool Down() const { return down_; }
  void SetDown(bool value);
  bool AllowAllUp() const { return allowAllUp_; }
  void SetAllowAllUp(bool value);
  TTeChevronPos MenuPosition() const { return menuPosition_; }
  void SetMenuPosition(TTeChevronPos value) { menuPosition_ = value; }
  TTePopupMenuBase* ChevronMenu() const { return chevronMenu_; }
  void SetChevronMenu(TTePopupMenuBase* value);
  TBitmap* Glyph() const { return glyph_.get(); }
  void SetGlyph(const TBitmap* value);
  TButtonLayout Layout() const { return layout_; }
  void SetLayout(TButtonLayout value);
  int Margin() const { return margin_; }
  void SetMargin(int value);
  int Spacing() const { return spacing_; }
  void SetSpacing(int value);
  bool ShowCaption() const { return showCaption_; }
  void SetShowCaption(bool value);
  bool ShowGlyph() const { return showGlyph_; }
  void SetShowGlyph(bool value);
  int NumGlyphs() const { return numGlyphs_; }
  void SetNumGlyphs(int value);
  bool BlackAndWhiteGlyph() const { return blackAndWhiteGlyph_; }
  void SetBlackAndWhiteGlyph(bool value);
  bool AllowTimer() const { return allowTimer_; }
  void SetAllowTimer(bool value) { allowTimer_ = value; }

  TTeSpeedButtonState ButtonState() const { return state_; }
  bool MouseIsDown() const { return mouseIsDown_; }
  // The repeat timer, once a press made one.
  TTimer* RepeatTimer() const { return repeatTimer_.get(); }

  TNotifyEvent OnChevronClick;

  void Click() override;
  void DblClick() override;
  void Loaded() override;

  // --- geometry, each element's rectangle -----------------------------------
  virtual TRect GetButtonRect() const;
  virtual TRect GetChevronRect() const;
  virtual TRect GetChevronArrowRect() const;
  virtual TRect GetGlyphRect() const;
  virtual TRect GetCaptionRect() const;
  virtual int GetChevronWidth() const { return kChevronWidth; }
  virtual TSize GetChevronArrowSize() const { return {5, 3}; }
  virtual TSize GetGlyphSize() const;
  virtual TSize GetCaptionSize() const;

 protected:
  void WndProc(TMessage& message) override;
  void Notification(TComponent* component, TOperation operation) override;
  void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
  void MouseMove(TShiftState shift, int x, int y) override;
  void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
  void MouseEnter() override;
  void MouseLeave() override;
  // The plain look.
  void PaintClient() override;
  virtual void ChevronClick();

  // --- each element's painting, moved by an offset ---------------------------
  virtual void DrawChevronArrow(TPoint offset);
  virtual void DrawGlyph(TPoint offset);
  virtual void DrawCaption(TPoint offset);

  // The plain face of the button part and (with ShowChevron) of the
  // chevron part, for the plain look and for a style without such elements.
  void PaintPlainFace(bool buttonPart, bool chevronPart);
  // Whether the mouse is over the button (the hot state of a flat one).
  bool Hovered() const { return MouseInControl(); }
  void SetButtonState(TTeSpeedButtonState value) { state_ = value; }

 private:
  void GlyphChanged();
  void BroadcastPressed();
  void OpenChevronMenu();
  void RepeatTick();
  void EnabledChanged();
  void DialogChar(TMessage& message);
  void ButtonPressed(TMessage& message);
  void PaintPlainVisualStyle(bool buttonPart, bool chevronPart);
  void PaintPlainClassic(bool buttonPart, bool chevronPart);

  bool showChevron_ = false;
  bool flat_ = false;
  int groupIndex_ = 0;
  bool down_ = false;
  bool allowAllUp_ = false;
  TTeChevronPos menuPosition_ = dmpBottom;
  TTePopupMenuBase* chevronMenu_ = nullptr;
  std::unique_ptr<TBitmap> glyph_;
  TSize glyphSize_{0, 0};
  TButtonLayout layout_ = blGlyphLeft;
  int margin_ = -1;
  int spacing_ = 4;
  bool showCaption_ = true;
  bool showGlyph_ = true;
  int numGlyphs_ = 1;
  bool blackAndWhiteGlyph_ = false;
  bool allowTimer_ = false;
  std::unique_ptr<TTimer> repeatTimer_;
  TTeSpeedButtonState state_ = ksbsNormal;
  bool mouseIsDown_ = false;
  // The caption measured once per caption and font.
  mutable TSize captionSize_{0, 0};
  mutable bool captionSizeValid_ = false;
};

class TTeThemeSpeedButton : public TTeCustomSpeedButton {
  HV_CLASS(TTeThemeSpeedButton, TTeCustomSpeedButton)
  HV_THEME_CONTROL_LINK

 public:
  explicit TTeThemeSpeedButton(TComponent* owner);
  ~TTeThemeSpeedButton() override;

 protected:
  void Notification(TComponent* component, TOperation operation) override;
  void PaintClient() override;
};

// An empty spacer between buttons: 8 pixels wide and see-through; it shows
// its Color only when made opaque.
class TTeSpeedDivider : public TTeGraphicControl {
  HV_CLASS_NO_PROPERTIES(TTeSpeedDivider, TTeGraphicControl)

 public:
  explicit TTeSpeedDivider(TComponent* owner);
};

// A see-through windowed holder for buttons: only its parent's background
// and the buttons show.
class TTeSpeedContainer : public TTeCustomControl {
  HV_CLASS_NO_PROPERTIES(TTeSpeedContainer, TTeCustomControl)

 public:
  explicit TTeSpeedContainer(TComponent* owner);

 protected:
  void PaintClient() override {}
};

}  // namespace hv
