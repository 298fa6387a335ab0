#pragma once
// The style contract: every themed component asks one TTeTheme for its
// colours, sizes and fonts and hands it each element to paint. A style is a
// subclass; the base class stands for "no style" and paints nothing.

#include <cstdint>
#include <memory>
#include <string>

#include "framework/colors.h"
#include "framework/component.h"
#include "framework/control.h"
#include "framework/graphics.h"
#include "framework/types.h"
#include "framework/winhandles.h"

namespace hv {

class TTeCustomItem;   // a menu item, defined with the menus
class TTeStatusPanel;  // a status bar panel, defined with the status bar
class TTeTheme;

// Each of these travels as one byte, as the styles' tables are indexed by it.
enum TTeElementState : uint8_t { kesNormal, kesHot, kesPressed, kesDisabled };

enum TTeCaptionButton : uint8_t {
  kcbClose, kcbHelp, kcbMinimize, kcbMaximize, kcbRestore, kcbRollup, kcbRolldown, kcbTray
};

enum TTeThemeColor : uint8_t {
  ktcActiveCaption, ktcInactiveCaption, ktcCaptionTextShadow, ktcActiveCaptionText, ktcDefault,
  ktcInactiveCaptionText, ktcWindow, ktcFrame, ktcSelection, ktcDisabledFace, ktcDisabledFrame, ktcFace,
  ktcHotFace, ktcMenuArrow, ktcMenu, ktcMenuBarSelection, ktcMenuItem, ktcMenuItemSelection, ktcMenuBarText,
  ktcMenuBarSelectedText, ktcMenuItemText, ktcMenuItemSelectedText, ktcMenuItemDisabledText, ktcHeaderText,
  ktcHeaderLight, ktcHeaderDark
};
constexpr int kThemeColorCount = 26;

// Kinds 15, 20-24, 26, 27 and 29 have no element in this system; the styles
// still answer them, so the values keep their places.
enum TTeThemeSize : uint8_t {
  ktsBorder, ktsToolBorder, ktsCaption, ktsToolCaption, ktsCaptionCorner, ktsButtonWidth, ktsButtonHeight,
  ktsToolButtonWidth, ktsToolButtonHeight, ktsButtonMargin, ktsButtonTop, ktsButtonSpacing, ktsToolButtonMargin,
  ktsToolButtonTop, ktsMenuItemHeight,
  ktsCheckWidth = 16, ktsCheckHeight, ktsRadioWidth, ktsRadioHeight,
  ktsScrollBar = 25,
  ktsComboButton = 28,
};
constexpr int kThemeSizeCount = 30;

enum TTeThemeFont : uint8_t { ktfCaption, ktfToolCaption, ktfMenuBar, ktfMenuItem, ktfHeader };

enum TTeBorderStyle : uint8_t { kbsNone, kbsStandard, kbsToolWindow };

// Framework-level argument types that only the themed controls pass.
enum TScrollBarKind : uint8_t { sbHorizontal, sbVertical };
enum TTabPosition : uint8_t { tpTop, tpBottom, tpLeft, tpRight };
enum TCheckBoxState : uint8_t { cbUnchecked, cbChecked, cbGrayed };

// Text-drawing flags the reading-order helpers touch (the platform's values).
constexpr unsigned kDtCenter = 0x1;
constexpr unsigned kDtRight = 0x2;
constexpr unsigned kDtRtlReading = 0x20000;

// Whether the system has right-to-left (Middle East) support enabled. Taken
// from SM_MIDEASTENABLED when the theme library starts; tests set it.
bool SysLocaleMiddleEast();
void SetSysLocaleMiddleEast(bool value);

// Whether a style has an element at all. A control clears the mark, asks
// the style for one element, and paints that element in its own plain look
// when the mark comes back set: the base class's drawing and measuring
// operations, which stand for "this style has no such element", set it. A
// style that overrides an operation and deliberately paints nothing (a flat
// button at rest) leaves it clear. Per thread, like painting.
void BeginElementProbe();
bool ElementLeftUnpainted();
void MarkElementUnpainted();

// A theme class reference: what the registry, the engine and the switcher
// hold. It carries the class operations of a style (its registry name, its
// availability) and the virtual constructor, so a style is created from its
// reference without knowing its C++ type.
class TTeThemeClassInfo {
 public:
  TTeThemeClassInfo() = default;
  TTeThemeClassInfo(const TTeThemeClassInfo&) = delete;
  TTeThemeClassInfo& operator=(const TTeThemeClassInfo&) = delete;
  virtual ~TTeThemeClassInfo() = default;

  virtual std::unique_ptr<TTeTheme> Create() const = 0;
  virtual std::string GetName() const = 0;
  virtual bool IsThemeAvailable() const = 0;
  // The framework identity of the class ("TTeThemeStd"), for class-name comparisons.
  virtual const TClassInfo& ObjectClass() const = 0;
  std::string_view ClassName() const { return ObjectClass().Name(); }
};
using TTeThemeClass = const TTeThemeClassInfo*;

template <class T>
class TTeThemeClassOf final : public TTeThemeClassInfo {
 public:
  std::unique_ptr<TTeTheme> Create() const override { return std::make_unique<T>(); }
  std::string GetName() const override { return T::GetName(); }
  bool IsThemeAvailable() const override { return T::IsThemeAvailable(); }
  const TClassInfo& ObjectClass() const override { return T::StaticClassInfo(); }
};

// The one reference of a style class.
template <class T>
TTeThemeClass ThemeClassOf() {
  static const TTeThemeClassOf<T> info;
  return &info;
}

}  // namespace hv

// Declares a style class: its framework identity and its class reference. A
// style also declares `static std::string GetName()` and, when it paints,
// `static bool IsThemeAvailable() { return true; }`.
#define HV_THEME_CLASS(Class, Base)       \
  HV_CLASS_NO_PROPERTIES(Class, Base)     \
                                          \
 public:                                  \
  ::hv::TTeThemeClass ThemeClass() const override { return ::hv::ThemeClassOf<Class>(); }

namespace hv {

class TTeTheme : public TPersistent {
  HV_CLASS_NO_PROPERTIES(TTeTheme, TPersistent)

 public:
  TTeTheme() = default;

  // The class reference of this object's class (the Create, GetName and
  // IsThemeAvailable operations live on it).
  virtual TTeThemeClass ThemeClass() const { return ThemeClassOf<TTeTheme>(); }
  static std::string GetName() { return "No Theme"; }
  static bool IsThemeAvailable() { return false; }

  // The virtual operations, in the order every style overrides them. Queries
  // of the base class answer neutral values: nothing asks an unavailable
  // theme for them.
  virtual void UpdateColors() {}
  virtual int GetSize(TTeThemeSize kind) const;
  virtual TColor GetColor(TTeThemeColor kind) const;
  virtual std::string GetFontName(TTeThemeFont kind) const;
  virtual int GetFontSize(TTeThemeFont kind) const;
  virtual TFontStyles GetFontStyle(TTeThemeFont kind) const;
  virtual bool HasCaptionShadow() const { return true; }
  virtual void DrawCaptionButton(TCanvas& canvas, const TRect& rect, TTeCaptionButton button, bool hot, bool pressed,
                                 bool active, TTeBorderStyle borderStyle);
  virtual void DrawFormFrame(TCanvas& canvas, int width, int height, const TRect& clientRect, bool active,
                             TTeBorderStyle borderStyle);
  virtual void MeasureMenuBarItem(TCanvas& canvas, TTeCustomItem* item, int& width, int& height);
  virtual void MeasurePopupItem(TCanvas& canvas, TTeCustomItem* item, int& width, int& height);
  virtual void DrawMenuBar(TCanvas& canvas, int width, int height);
  virtual void DrawMenuBarItem(TCanvas& canvas, TTeCustomItem* item, const TRect& rect, bool selected, bool hot);
  virtual void DrawMenuBarButton(TCanvas& canvas, TTeCustomItem* item, const TRect& rect, bool selected, bool hot);
  virtual void DrawPopupMenu(TCanvas& canvas, int width, int height);
  virtual void DrawPopupItem(TCanvas& canvas, TTeCustomItem* item, const TRect& rect, bool selected, uint8_t flag);
  virtual void DrawPopupScrollButton(TCanvas& canvas, const TRect& rect, int direction, bool hot);
  virtual void DrawButton(TCanvas& canvas, int width, int height, uint8_t state);
  virtual void DrawCheckBox(TCanvas& canvas, const TRect& rect, TTeElementState state, TCheckBoxState check);
  virtual void DrawRadioButton(TCanvas& canvas, const TRect& rect, TTeElementState state, bool checked);
  virtual void DrawTrackBarThumb(TCanvas& canvas, const TRect& rect, bool vertical, int shape, TTeElementState state);
  virtual void DrawTrackBarTrack(TCanvas& canvas, const TRect& rect, const TRect& selectionRect);
  virtual void DrawProgressBarFrame(TCanvas& canvas, const TRect& rect);
  virtual void DrawProgressBar(TCanvas& canvas, const TRect& rect, const TRect& barRect, bool vertical, bool smooth);
  virtual void DrawEdit(TCanvas& canvas, const TRect& rect, bool border, uint8_t flag);
  virtual void DrawHeader(TCanvas& canvas, const TRect& rect, const std::string& text);
  virtual void DrawGlyphButton(TCanvas& canvas, const TRect& rect, int glyph, TTeElementState state, bool second);
  virtual void DrawGroupBox(TCanvas& canvas, const TRect& rect, const TRect& captionRect, const std::string& caption);
  virtual void DrawScrollBarTrack(TCanvas& canvas, const TRect& rect, TScrollBarKind kind);
  virtual void DrawScrollButton(TCanvas& canvas, const TRect& rect, bool vertical, bool first, TTeElementState state);
  virtual void DrawScrollThumb(TCanvas& canvas, const TRect& rect, TScrollBarKind kind, TTeElementState state);
  virtual void DrawPanel(TCanvas& canvas, const TRect& rect);
  virtual void DrawTab(TCanvas& canvas, const TRect& rect, TTabPosition position, TTeElementState state);
  // Every style draws it as the horizontal scroll button; it stays virtual
  // only so that the slot order is kept.
  virtual void DrawArrowButton(TCanvas& canvas, const TRect& rect, bool first, uint8_t flag, TTeElementState state);
  virtual void DrawListBorder(TCanvas& canvas, const TRect& rect, TTeElementState state);
  virtual void DrawComboButton(TCanvas& canvas, const TRect& rect, TTeElementState state);
  virtual void DrawSpeedButton(TCanvas& canvas, const TRect& rect, TTeElementState state, bool flat, bool down);
  virtual void DrawSpeedButtonChevron(TCanvas& canvas, const TRect& rect, TTeElementState state, bool flat, bool down);
  virtual void DrawControlBar(TCanvas& canvas, const TRect& rect);
  virtual void DrawControlBand(TCanvas& canvas, const TRect& rect, const TRect& gripRect);
  virtual void DrawMenuBarOnControlBar(TCanvas& canvas, const TRect& rect);
  virtual void DrawSpinButton(TCanvas& canvas, const TRect& rect, TTeElementState state, uint8_t flag);
  virtual void DrawListItem(TCanvas& canvas, const TRect& rect, uint8_t flags);
  virtual void DrawSplitter(TCanvas& canvas, const TRect& rect, bool hot, bool beveled);
  virtual void DrawStateBox(TCanvas& canvas, const TRect& rect, uint8_t flag, int variant);
  virtual void DrawStatusBar(TCanvas& canvas, const TRect& rect);
  virtual void DrawSizeGrip(TCanvas& canvas, const TRect& rect);
  virtual void DrawStatusPanel(TCanvas& canvas, const TRect& rect, TTeStatusPanel* panel);
  virtual void DrawScrollBoxBorder(TCanvas& canvas, const TRect& rect, bool enabled);
  // The window's shape; the caller owns the region. Null: a plain rectangle.
  virtual HRGN GetFormRegion(int width, int height, TTeBorderStyle borderStyle);

  int DeltaHue() const { return deltaHue_; }
  int DeltaBrightness() const { return deltaBrightness_; }
  TBiDiMode BiDiMode() const { return biDiMode_; }
  void SetDeltaHue(int value);
  void SetDeltaBrightness(int value);
  void SetBiDiMode(TBiDiMode value) { biDiMode_ = value; }

  bool UseRightToLeftReading() const;
  bool UseRightToLeftAlignment() const;
  unsigned DrawTextBiDiModeFlagsReadingOnly() const;
  unsigned DrawTextBiDiModeFlags(unsigned flags) const;

 protected:
  // The colour pipeline every GetColor ends in: the base colour (system
  // colours resolved) turned by DeltaHue and shifted by DeltaBrightness.
  TColor AdjustColor(TColor base) const;

 private:
  int deltaHue_ = 0;
  int deltaBrightness_ = 0;
  TBiDiMode biDiMode_ = TBiDiMode::bdLeftToRight;
};

// The process-wide style registry, in the order name lookups and the
// switcher see it. Each style registers at its place, so the order does not
// depend on the order the registrations run in.
enum TTeThemePosition : int {
  kThemePosFlat = 1, kThemePosHighlight, kThemePosLines, kThemePosLuna, kThemePosMetalLuna, kThemePosStd,
  kThemePosCoolFlat, kThemePosOfficeXP, kThemePosKDE, kThemePosNoTheme
};

// Appends the class after every class already at `position` or before it; no
// check for duplicates. Without a position the class goes at the very end.
void RegisterThemeClass(TTeThemeClass themeClass);
void RegisterThemeClass(TTeThemeClass themeClass, int position);
int ThemeClassCount();
TTeThemeClass ThemeClasses(int index);
// The first class whose GetName equals the name exactly; nullptr when none.
TTeThemeClass FindThemeClass(std::string_view name);
bool IsThemeClassRegistered(TTeThemeClass themeClass);
// Frees the list as a whole (at program end).
void FreeThemeClasses();

}  // namespace hv
