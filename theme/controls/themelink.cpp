#include "theme/controls/themelink.h"

namespace hv {

bool TTeControlThemeLink::Set(TTeThemeEngine* engine) {
  if (engine == engine_) return false;
  engine_ = engine;
  return true;
}

bool TTeControlThemeLink::Forget(const TComponent* removed) {
  if (!engine_ || removed != engine_) return false;
  engine_ = nullptr;
  return true;
}

TTeTheme* TTeControlThemeLink::UsableTheme(const TComponent& control) const {
  if (control.IsLoading() || control.IsDestroying() || !engine_) return nullptr;
  TTeTheme* theme = engine_->Theme();
  if (!theme || !theme->ThemeClass()->IsThemeAvailable()) return nullptr;
  return theme;
}

}  // namespace hv
