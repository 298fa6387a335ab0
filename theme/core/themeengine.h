#pragma once
// The per-form engine component: it owns the form's current style, stores
// the style's name in the form's layout, re-tints the style, and refreshes
// every form of the screen when the style or its tint changes.

#include <memory>
#include <string>

#include "framework/component.h"
#include "theme/core/theme.h"

namespace hv {

class TStream;
class TTeThemeEngine;

constexpr const char* kThemeVersion = "3.1.5";

// What the refresh walk talks to. The themed form frame and the style
// switcher implement it; the walk finds them among each form's components
// with a dynamic_cast, so later kinds plug in without the engine knowing
// their classes. Both calls come only for the engine the link answers.
class TTeThemeLink {
 public:
  virtual ~TTeThemeLink() = default;
  virtual TTeThemeEngine* LinkedThemeEngine() const = 0;
  // The frame re-measures, refreshes (pushing its form's reading order into
  // the style) and invalidates its form's controls; the switcher rebuilds
  // and re-selects its list.
  virtual void ThemeEngineChanged(TTeThemeEngine& engine) = 0;

 protected:
  TTeThemeLink() = default;
  TTeThemeLink(const TTeThemeLink&) = default;
  TTeThemeLink& operator=(const TTeThemeLink&) = default;
};

// Held by whatever paints with a style it took from an engine, for as long
// as it paints. A handler run from a paint may switch the engine's style;
// the replaced style then stays alive until the outermost painting ends, so
// the painter never touches a freed style. Scopes nest.
class TTeThemePainting {
 public:
  TTeThemePainting();
  ~TTeThemePainting();
  TTeThemePainting(const TTeThemePainting&) = delete;
  TTeThemePainting& operator=(const TTeThemePainting&) = delete;

  static bool Active();
  // Styles replaced during the painting now running, not yet freed.
  static int RetiredCount();
};

class TTeThemeEngine : public TComponent {
  HV_CLASS(TTeThemeEngine, TComponent)

 public:
  explicit TTeThemeEngine(TComponent* owner);
  ~TTeThemeEngine() override;

  // Never null: an engine holds the base ("No Theme") style from construction on.
  TTeTheme* Theme() const { return theme_.get(); }
  // Takes the style over, frees the one held before, and refreshes. The
  // deltas are not pushed into it; SelectThemeClass does that.
  void SetTheme(std::unique_ptr<TTeTheme> value);
  // Whether the held style's class paints.
  bool ThemeAvailable() const { return theme_->ThemeClass()->IsThemeAvailable(); }

  int DeltaHue() const { return deltaHue_; }
  void SetDeltaHue(int value);
  int DeltaBrightness() const { return deltaBrightness_; }
  void SetDeltaBrightness(int value);
  bool ColorAutoChanging() const { return colorAutoChanging_; }
  void SetColorAutoChanging(bool value) { colorAutoChanging_ = value; }
  std::string Version() const { return kThemeVersion; }
  void SetVersion(const std::string&) {}

  // Makes a registered style current, pushes the deltas into it and
  // refreshes; a class that is not registered keeps the current style but
  // still pushes and refreshes.
  void SelectThemeClass(TTeThemeClass themeClass);
  // The refresh walk over every form of the screen.
  void UpdateThemedForms();

  // The ThemeClass block: a 32-bit little-endian length, then the style's
  // name in single-byte characters.
  void WriteThemeClass(TStream& stream) const;
  void ReadThemeClass(TStream& stream);

  void DefineProperties(TFiler& filer) override;

 private:
  // Puts a new style in place; the one it replaces is freed now, or when
  // the painting that may still hold it ends.
  void ReplaceTheme(std::unique_ptr<TTeTheme> value);

  std::unique_ptr<TTeTheme> theme_;
  int deltaHue_ = 0;
  int deltaBrightness_ = 0;
  bool colorAutoChanging_ = true;
};

}  // namespace hv
