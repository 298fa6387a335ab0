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

namespace {
thread_local bool elementUnpainted = false;
}

void BeginElementProbe() { elementUnpainted = false; }
bool ElementLeftUnpainted() { return elementUnpainted; }
void MarkElementUnpainted() { elementUnpainted = true; }

int TTeTheme::GetSize(TTeThemeSize) const { return 0; }
TColor TTeTheme::GetColor(TTeThemeColor) const { return AdjustColor(kFallbackColor); }
std::string TTeTheme::GetFontName(TTeThemeFont) const { return "Tahoma"; }
int TTeTheme::GetFontSize(TTeThemeFont) const { return 8; }
TFontStyles TTeTheme::GetFontStyle(TTeThemeFont) const { return {}; }

void TTeTheme::DrawCaptionButton(TCanvas&, const TRect&, TTeCaptionButton, bool, bool, bool, TTeBorderStyle) { MarkElementUnpainted(); }
void TTeTheme::DrawFormFrame(TCanvas&, int, int, const TRect&, bool, TTeBorderStyle) { MarkElementUnpainted(); }
void TTeTheme::MeasureMenuBarItem(TCanvas&, TTeCustomItem*, int&, int&) { MarkElementUnpainted(); }
void TTeTheme::MeasurePopupItem(TCanvas&, TTeCustomItem*, int&, int&) { MarkElementUnpainted(); }
void TTeTheme::DrawMenuBar(TCanvas&, int, int) { MarkElementUnpainted(); }
void TTeTheme::DrawMenuBarItem(TCanvas&, TTeCustomItem*, const TRect&, bool, bool) { MarkElementUnpainted(); }
void TTeTheme::DrawMenuBarButton(TCanvas&, TTeCustomItem*, const TRect&, bool, bool) { MarkElementUnpainted(); }
void TTeTheme::DrawPopupMenu(TCanvas&, int, int) { MarkElementUnpainted(); }
void TTeTheme::DrawPopupItem(TCanvas&, TTeCustomItem*, const TRect&, bool, uint8_t) { MarkElementUnpainted(); }
void TTeTheme::DrawPopupScrollButton(TCanvas&, const TRect&, int, bool) { MarkElementUnpainted(); }
void TTeTheme::DrawButton(TCanvas&, int, int, uint8_t) { MarkElementUnpainted(); }
void TTeTheme::DrawCheckBox(TCanvas&, const TRect&, TTeElementState, TCheckBoxState) { MarkElementUnpainted(); }
void TTeTheme::DrawRadioButton(TCanvas&, const TRect&, TTeElementState, bool) { MarkElementUnpainted(); }
void TTeTheme::DrawTrackBarThumb(TCanvas&, const TRect&, bool, int, TTeElementState) { MarkElementUnpainted(); }
void TTeTheme::DrawTrackBarTrack(TCanvas&, const TRect&, const TRect&) { MarkElementUnpainted(); }
void TTeTheme::DrawProgressBarFrame(TCanvas&, const TRect&) { MarkElementUnpainted(); }
void TTeTheme::DrawProgressBar(TCanvas&, const TRect&, const TRect&, bool, bool) { MarkElementUnpainted(); }
void TTeTheme::DrawEdit(TCanvas&, const TRect&, bool, uint8_t) { MarkElementUnpainted(); }
void TTeTheme::DrawHeader(TCanvas&, const TRect&, const std::string&) { MarkElementUnpainted(); }
void TTeTheme::DrawGlyphButton(TCanvas&, const TRect&, int, TTeElementState, bool) { MarkElementUnpainted(); }
void TTeTheme::DrawGroupBox(TCanvas&, const TRect&, const TRect&, const std::string&) { MarkElementUnpainted(); }
void TTeTheme::DrawScrollBarTrack(TCanvas&, const TRect&, TScrollBarKind) { MarkElementUnpainted(); }
void TTeTheme::DrawScrollButton(TCanvas&, const TRect&, bool, bool, TTeElementState) { MarkElementUnpainted(); }
void TTeTheme::DrawScrollThumb(TCanvas&, const TRect&, TScrollBarKind, TTeElementState) { MarkElementUnpainted(); }
void TTeTheme::DrawPanel(TCanvas&, const TRect&) { MarkElementUnpainted(); }
void TTeTheme::DrawTab(TCanvas&, const TRect&, TTabPosition, TTeElementState) { MarkElementUnpainted(); }
void TTeTheme::DrawArrowButton(TCanvas& canvas, const TRect& rect, bool first, uint8_t, TTeElementState state) {
  DrawScrollButton(canvas, rect, false, first, state);
}
void TTeTheme::DrawListBorder(TCanvas&, const TRect&, TTeElementState) { MarkElementUnpainted(); }
void TTeTheme::DrawComboButton(TCanvas&, const TRect&, TTeElementState) { MarkElementUnpainted(); }
void TTeTheme::DrawSpeedButton(TCanvas&, const TRect&, TTeElementState, bool, bool) { MarkElementUnpainted(); }
void TTeTheme::DrawSpeedButtonChevron(TCanvas&, const TRect&, TTeElementState, bool, bool) { MarkElementUnpainted(); }
void TTeTheme::DrawControlBar(TCanvas&, const TRect&) { MarkElementUnpainted(); }
void TTeTheme::DrawControlBand(TCanvas&, const TRect&, const TRect&) { MarkElementUnpainted(); }
void TTeTheme::DrawMenuBarOnControlBar(TCanvas&, const TRect&) { MarkElementUnpainted(); }
void TTeTheme::DrawSpinButton(TCanvas&, const TRect&, TTeElementState, uint8_t) { MarkElementUnpainted(); }
void TTeTheme::DrawListItem(TCanvas&, const TRect&, uint8_t) { MarkElementUnpainted(); }
void TTeTheme::DrawSplitter(TCanvas&, const TRect&, bool, bool) { MarkElementUnpainted(); }
void TTeTheme::DrawStateBox(TCanvas&, const TRect&, uint8_t, int) { MarkElementUnpainted(); }
void TTeTheme::DrawStatusBar(TCanvas&, const TRect&) { MarkElementUnpainted(); }
void TTeTheme::DrawSizeGrip(TCanvas&, const TRect&) { MarkElementUnpainted(); }
void TTeTheme::DrawStatusPanel(TCanvas&, const TRect&, TTeStatusPanel*) { MarkElementUnpainted(); }
void TTeTheme::DrawScrollBoxBorder(TCanvas&, const TRect&, bool) { MarkElementUnpainted(); }
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
