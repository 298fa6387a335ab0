#pragma once
// The link every published Theme control keeps to a theme engine on its
// form, and the test of whether it may paint through the engine's style.

#include <string>

#include "theme/core/themeengine.h"

namespace hv {

class TComponent;

class TTeControlThemeLink {
 public:
  TTeThemeEngine* Engine() const { return engine_; }
  // Stores the engine; answers whether it changed.
  bool Set(TTeThemeEngine* engine);
  // A removal notification for the linked engine clears the link; answers
  // whether it did.
  bool Forget(const TComponent* removed);
  // The style a control paints through: only while the control is neither
  // loading nor being destroyed, an engine is linked, it holds a style and
  // that style's class paints. Null means the plain look.
  TTeTheme* UsableTheme(const TComponent& control) const;

 private:
  TTeThemeEngine* engine_ = nullptr;
};

}  // namespace hv

// The ThemeEngine and Version properties of a Theme control class, with
// Version reading "3.1.5" whatever is written to it.
#define HV_THEME_CONTROL_LINK                                          \
 public:                                                               \
  ::hv::TTeThemeEngine* ThemeEngine() const { return themeLink_.Engine(); } \
  void SetThemeEngine(::hv::TTeThemeEngine* value);                    \
  std::string Version() const { return ::hv::kThemeVersion; }          \
  void SetVersion(const std::string&) {}                               \
                                                                       \
 protected:                                                            \
  ::hv::TTeTheme* UsableTheme() const { return themeLink_.UsableTheme(*this); } \
                                                                       \
 private:                                                              \
  ::hv::TTeControlThemeLink themeLink_;                                \
                                                                       \
 public:
