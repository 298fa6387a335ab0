#include "theme/core/themeengine.h"

#include <windows.h>

#include <cstring>
#include <exception>
#include <vector>

#include "framework/filer.h"
#include "framework/forms.h"
#include "framework/screen.h"
#include "framework/stream.h"

namespace hv {

namespace {

int gPaintingDepth = 0;
// The styles replaced while painting ran; owned here until it ends.
std::vector<std::unique_ptr<TTeTheme>>& RetiredThemes() {
  static std::vector<std::unique_ptr<TTeTheme>> retired;
  return retired;
}

void Retire(std::unique_ptr<TTeTheme> theme) {
  if (theme && gPaintingDepth > 0) RetiredThemes().push_back(std::move(theme));
}

}  // namespace

TTeThemePainting::TTeThemePainting() { ++gPaintingDepth; }

TTeThemePainting::~TTeThemePainting() {
  if (--gPaintingDepth > 0) return;
  // Freeing a style runs no painting, but take the list first so that a
  // destructor that did could not change it under the loop.
  std::vector<std::unique_ptr<TTeTheme>> retired = std::move(RetiredThemes());
  RetiredThemes().clear();
  retired.clear();
}

bool TTeThemePainting::Active() { return gPaintingDepth > 0; }

int TTeThemePainting::RetiredCount() { return static_cast<int>(RetiredThemes().size()); }

TTeThemeEngine::TTeThemeEngine(TComponent* owner)
    : TComponent(owner), theme_(ThemeClassOf<TTeTheme>()->Create()) {}

TTeThemeEngine::~TTeThemeEngine() {
  Destroying();
  DestroyComponents();
  Retire(std::move(theme_));
}

void TTeThemeEngine::ReplaceTheme(std::unique_ptr<TTeTheme> value) {
  std::unique_ptr<TTeTheme> old = std::move(theme_);
  theme_ = std::move(value);
  Retire(std::move(old));
}

void TTeThemeEngine::SetTheme(std::unique_ptr<TTeTheme> value) {
  // The engine owns its style: a replaced one is freed here rather than left
  // behind, and there is always one.
  if (!value) value = ThemeClassOf<TTeTheme>()->Create();
  ReplaceTheme(std::move(value));
  UpdateThemedForms();
}

void TTeThemeEngine::SetDeltaHue(int value) {
  if (value == deltaHue_) return;
  deltaHue_ = value;
  if (!ThemeAvailable()) return;
  theme_->SetDeltaHue(value);
  if (!IsLoading()) UpdateThemedForms();
}

void TTeThemeEngine::SetDeltaBrightness(int value) {
  if (value == deltaBrightness_) return;
  deltaBrightness_ = value;
  if (!ThemeAvailable()) return;
  theme_->SetDeltaBrightness(value);
  if (!IsLoading()) UpdateThemedForms();
}

void TTeThemeEngine::SelectThemeClass(TTeThemeClass themeClass) {
  // The new style is made before the old one goes, so a failing creation
  // leaves the engine with the style it had.
  if (themeClass && IsThemeClassRegistered(themeClass)) ReplaceTheme(themeClass->Create());
  if (ThemeAvailable()) theme_->SetDeltaHue(deltaHue_);
  if (ThemeAvailable()) theme_->SetDeltaBrightness(deltaBrightness_);
  UpdateThemedForms();
}

void TTeThemeEngine::UpdateThemedForms() {
  TScreen* screen = Screen();
  if (!screen) return;
  for (int i = 0; i < screen->FormCount(); ++i) {
    TCustomForm* form = screen->Forms(i);
    if (colorAutoChanging_) {
      TColor color = clBtnFace;
      if (ThemeAvailable() && !IsDesigning()) color = theme_->GetColor(ktcWindow);
      form->SetColor(color);
    }
    for (int c = 0; c < form->ComponentCount(); ++c) {
      auto* link = dynamic_cast<TTeThemeLink*>(form->Components(c));
      if (link && link->LinkedThemeEngine() == this) link->ThemeEngineChanged(*this);
    }
    if (form->FormStyle() == TFormStyle::fsMDIForm && form->ClientHandle()) {
      RECT all{0, 0, screen->Width(), screen->Height()};
      InvalidateRect(form->ClientHandle(), &all, TRUE);
    }
  }
}

void TTeThemeEngine::WriteThemeClass(TStream& stream) const {
  std::string name = theme_->ThemeClass()->GetName();
  int32_t length = static_cast<int32_t>(name.size());
  uint8_t bytes[4] = {static_cast<uint8_t>(length), static_cast<uint8_t>(length >> 8),
                      static_cast<uint8_t>(length >> 16), static_cast<uint8_t>(length >> 24)};
  stream.WriteBuffer(bytes, sizeof bytes);
  if (length > 0) stream.WriteBuffer(name.data(), name.size());
}

void TTeThemeEngine::ReadThemeClass(TStream& stream) {
  // The one place where the engine swallows failures: a stored style name
  // that cannot be read or applied must never stop the form from loading.
  // The engine keeps whatever style it had; nothing is reported.
  try {
    uint8_t bytes[4];
    stream.ReadBuffer(bytes, sizeof bytes);
    int32_t length = static_cast<int32_t>(static_cast<uint32_t>(bytes[0]) | (static_cast<uint32_t>(bytes[1]) << 8) |
                                          (static_cast<uint32_t>(bytes[2]) << 16) |
                                          (static_cast<uint32_t>(bytes[3]) << 24));
    // A length the block cannot hold is malformed; refusing it up front keeps
    // a corrupt length from asking for gigabytes.
    if (length < 0 || length > stream.Size() - stream.Position()) return;
    std::string name(static_cast<size_t>(length), '\0');
    if (length > 0) stream.ReadBuffer(name.data(), name.size());
    if (TTeThemeClass themeClass = FindThemeClass(name)) SelectThemeClass(themeClass);
  } catch (const std::exception&) {
  }
}

void TTeThemeEngine::DefineProperties(TFiler& filer) {
  TComponent::DefineProperties(filer);
  filer.DefineBinaryProperty(
      "ThemeClass", [this](TStream& stream) { ReadThemeClass(stream); },
      [this](TStream& stream) { WriteThemeClass(stream); }, true);
}

void TTeThemeEngine::PublishProperties(TPropertyList& p) {
  p.Boolean("ColorAutoChanging", &TTeThemeEngine::ColorAutoChanging, &TTeThemeEngine::SetColorAutoChanging);
  p.Integer("DeltaBrightness", &TTeThemeEngine::DeltaBrightness, &TTeThemeEngine::SetDeltaBrightness);
  p.Integer("DeltaHue", &TTeThemeEngine::DeltaHue, &TTeThemeEngine::SetDeltaHue);
  // The style itself publishes nothing; its name travels in ThemeClass.
  p.Object("Theme", &TTeThemeEngine::Theme);
  p.String("Version", &TTeThemeEngine::Version, &TTeThemeEngine::SetVersion);
}

}  // namespace hv
