#include "theme/core/theme.h"

#include <algorithm>
#include <utility>
#include <vector>

#include "theme/core/colors.h"

namespace hv {

namespace {

bool middleEast = false;

struct TRegistryEntry {
  TTeThemeClass themeClass;
  int position;
};
// Created with the first registration, so that a program without styles
// carries no list at all.
std::unique_ptr<std::vector<TRegistryEntry>> registry;

constexpr int kPositionLast = 1 << 30;

}  // namespace

bool SysLocaleMiddleEast() { return middleEast; }
void SetSysLocaleMiddleEast(bool value) { middleEast = value; }

int TTeTheme::GetSize(TTeThemeSize) const { return 0; }
TColor TTeTheme::GetColor(TTeThemeColor) const { return AdjustColor(kFallbackColor); }
std::string TTeTheme::GetFontName(TTeThemeFont) const { return "Tahoma"; }
int TTeTheme::GetFontSize(TTeThemeFont) const { return 8; }
TFontStyles TTeTheme::GetFontStyle(TTeThemeFont) const { return {}; }

void TTeTheme::DrawCaptionButton(TCanvas&, const TRect&, TTeCaptionButton, bool, bool, bool, TTeBorderStyle) {}
void TTeTheme::DrawFormFrame(TCanvas&, int, int, const TRect&, bool, TTeBorderStyle) {}
void TTeTheme::MeasureMenuBarItem(TCanvas&, TTeCustomItem*, int&, int&) {}
void TTeTheme::MeasurePopupItem(TCanvas&, TTeCustomItem*, int&, int&) {}
void TTeTheme::DrawMenuBar(TCanvas&, int, int) {}
void TTeTheme::DrawMenuBarItem(TCanvas&, TTeCustomItem*, const TRect&, bool, bool) {}
void TTeTheme::DrawMenuBarButton(TCanvas&, TTeCustomItem*, const TRect&, bool, bool) {}
void TTeTheme::DrawPopupMenu(TCanvas&, int, int) {}
void TTeTheme::DrawPopupItem(TCanvas&, TTeCustomItem*, const TRect&, bool, uint8_t) {}
void TTeTheme::DrawPopupScrollButton(TCanvas&, const TRect&, int, bool) {}
void TTeTheme::DrawButton(TCanvas&, int, int, uint8_t) {}
void TTeTheme::DrawCheckBox(TCanvas&, const TRect&, TTeElementState, TCheckBoxState) {}
void TTeTheme::DrawRadioButton(TCanvas&, const TRect&, TTeElementState, bool) {}
void TTeTheme::DrawTrackBarThumb(TCanvas&, const TRect&, bool, int, TTeElementState) {}
void TTeTheme::DrawTrackBarTrack(TCanvas&, const TRect&, const TRect&) {}
void TTeTheme::DrawProgressBarFrame(TCanvas&, const TRect&) {}
void TTeTheme::DrawProgressBar(TCanvas&, const TRect&, const TRect&, bool, bool) {}
void TTeTheme::DrawEdit(TCanvas&, const TRect&, bool, uint8_t) {}
void TTeTheme::DrawHeader(TCanvas&, const TRect&, const std::string&) {}
void TTeTheme::DrawGlyphButton(TCanvas&, const TRect&, int, TTeElementState, bool) {}
void TTeTheme::DrawGroupBox(TCanvas&, const TRect&, const TRect&, const std::string&) {}
void TTeTheme::DrawScrollBarTrack(TCanvas&, const TRect&, TScrollBarKind) {}
void TTeTheme::DrawScrollButton(TCanvas&, const TRect&, bool, bool, TTeElementState) {}
void TTeTheme::DrawScrollThumb(TCanvas&, const TRect&, TScrollBarKind, TTeElementState) {}
void TTeTheme::DrawPanel(TCanvas&, const TRect&) {}
void TTeTheme::DrawTab(TCanvas&, const TRect&, TTabPosition, TTeElementState) {}
void TTeTheme::DrawArrowButton(TCanvas& canvas, const TRect& rect, bool first, uint8_t, TTeElementState state) {
  DrawScrollButton(canvas, rect, false, first, state);
}
void TTeTheme::DrawListBorder(TCanvas&, const TRect&, TTeElementState) {}
void TTeTheme::DrawComboButton(TCanvas&, const TRect&, TTeElementState) {}
void TTeTheme::DrawSpeedButton(TCanvas&, const TRect&, TTeElementState, bool, bool) {}
void TTeTheme::DrawSpeedButtonChevron(TCanvas&, const TRect&, TTeElementState, bool, bool) {}
void TTeTheme::DrawControlBar(TCanvas&, const TRect&) {}
void TTeTheme::DrawControlBand(TCanvas&, const TRect&, const TRect&) {}
void TTeTheme::DrawMenuBarOnControlBar(TCanvas&, const TRect&) {}
void TTeTheme::DrawSpinButton(TCanvas&, const TRect&, TTeElementState, uint8_t) {}
void TTeTheme::DrawListItem(TCanvas&, const TRect&, uint8_t) {}
void TTeTheme::DrawSplitter(TCanvas&, const TRect&, bool, bool) {}
void TTeTheme::DrawStateBox(TCanvas&, const TRect&, uint8_t, int) {}
void TTeTheme::DrawStatusBar(TCanvas&, const TRect&) {}
void TTeTheme::DrawSizeGrip(TCanvas&, const TRect&) {}
void TTeTheme::DrawStatusPanel(TCanvas&, const TRect&, TTeStatusPanel*) {}
void TTeTheme::DrawScrollBoxBorder(TCanvas&, const TRect&, bool) {}
HRGN TTeTheme::GetFormRegion(int, int, TTeBorderStyle) { return nullptr; }

void TTeTheme::SetDeltaHue(int value) {
  if (value == deltaHue_) return;
  deltaHue_ = value;
  UpdateColors();
}

void TTeTheme::SetDeltaBrightness(int value) {
  if (value == deltaBrightness_) return;
  deltaBrightness_ = value;
  UpdateColors();
}

bool TTeTheme::UseRightToLeftReading() const { return middleEast && biDiMode_ != TBiDiMode::bdLeftToRight; }

bool TTeTheme::UseRightToLeftAlignment() const { return middleEast && biDiMode_ == TBiDiMode::bdRightToLeft; }

unsigned TTeTheme::DrawTextBiDiModeFlagsReadingOnly() const { return UseRightToLeftReading() ? kDtRtlReading : 0; }

unsigned TTeTheme::DrawTextBiDiModeFlags(unsigned flags) const {
  if (UseRightToLeftAlignment()) {
    if (flags & kDtRight)
      flags &= ~kDtRight;
    else if (!(flags & kDtCenter))
      flags |= kDtRight;
  }
  return flags | DrawTextBiDiModeFlagsReadingOnly();
}

TColor TTeTheme::AdjustColor(TColor base) const { return AdjustThemeColor(base, deltaHue_, deltaBrightness_); }

void RegisterThemeClass(TTeThemeClass themeClass) { RegisterThemeClass(themeClass, kPositionLast); }

void RegisterThemeClass(TTeThemeClass themeClass, int position) {
  if (!themeClass) return;
  if (!registry) registry = std::make_unique<std::vector<TRegistryEntry>>();
  auto at = std::upper_bound(registry->begin(), registry->end(), position,
                             [](int p, const TRegistryEntry& e) { return p < e.position; });
  registry->insert(at, TRegistryEntry{themeClass, position});
}

int ThemeClassCount() { return registry ? static_cast<int>(registry->size()) : 0; }

TTeThemeClass ThemeClasses(int index) {
  if (!registry || index < 0 || index >= static_cast<int>(registry->size())) return nullptr;
  return (*registry)[static_cast<size_t>(index)].themeClass;
}

TTeThemeClass FindThemeClass(std::string_view name) {
  for (int i = 0; i < ThemeClassCount(); ++i)
    if (ThemeClasses(i)->GetName() == name) return ThemeClasses(i);
  return nullptr;
}

bool IsThemeClassRegistered(TTeThemeClass themeClass) {
  for (int i = 0; i < ThemeClassCount(); ++i)
    if (ThemeClasses(i) == themeClass) return true;
  return false;
}

void FreeThemeClasses() { registry.reset(); }

}  // namespace hv
