#include "theme/frame/frameresources.h"

#include <windows.h>

#include <exception>
#include <memory>
#include <optional>

#include "framework/graphics.h"
#include "framework/imagelist.h"
#include "theme/frame/menuresources.h"
#include "theme/core/visualstyles.h"

namespace hv {

namespace {

std::optional<TSystemFrameMetrics> gMetrics;
std::unique_ptr<TFont> gCaptionFont;
std::unique_ptr<TFont> gSmallCaptionFont;
std::unique_ptr<TCustomImageList> gImages;

TSystemFrameMetrics ReadMetrics() {
  TSystemFrameMetrics m;
  m.frame = GetSystemMetrics(SM_CXFRAME);
  m.caption = GetSystemMetrics(SM_CYCAPTION);
  m.smallCaption = GetSystemMetrics(SM_CYSMCAPTION);
  m.buttonWidth = GetSystemMetrics(SM_CXSIZE);
  m.buttonHeight = GetSystemMetrics(SM_CYSIZE);
  m.visualStyles = VisualStylesActive();
  return m;
}

void MakeCaptionFonts() {
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof metrics;
  gCaptionFont = std::make_unique<TFont>();
  gSmallCaptionFont = std::make_unique<TFont>();
  if (!SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0)) return;
  if (HFONT font = CreateFontIndirectW(&metrics.lfCaptionFont)) gCaptionFont->SetHandle(font);
  if (HFONT font = CreateFontIndirectW(&metrics.lfSmCaptionFont)) gSmallCaptionFont->SetHandle(font);
}

}  // namespace

const TSystemFrameMetrics& SystemFrameMetrics() {
  if (!gMetrics) gMetrics = ReadMetrics();
  return *gMetrics;
}

void RefreshSystemFrameMetrics() {
  gMetrics = ReadMetrics();
  MakeCaptionFonts();
}

void SetSystemFrameMetricsForTesting(const TSystemFrameMetrics& metrics) { gMetrics = metrics; }

TFont& CaptionFont() {
  if (!gCaptionFont) MakeCaptionFonts();
  return *gCaptionFont;
}

TFont& SmallCaptionFont() {
  if (!gSmallCaptionFont) MakeCaptionFonts();
  return *gSmallCaptionFont;
}

TCustomImageList& FrameImageList() {
  if (gImages) return *gImages;
  auto images = std::make_unique<TCustomImageList>(nullptr);
  images->SetWidth(16);
  images->SetHeight(16);
  images->SetMasked(true);
  static const char* const kNames[] = {"TE_FORM_CLOSE",   "TE_FORM_MINIMIZE", "TE_FORM_MAXIMIZE",
                                       "TE_FORM_RESTORE", "TE_FORM_ROLLUP",   "TE_FORM_TRAY"};
  for (const char* name : kNames) {
    TBitmap bitmap;
    try {
      bitmap.LoadFromResourceName(GetModuleHandleW(nullptr), name);
    } catch (const std::exception&) {
      // A program built without the glyphs still gets its menus: the
      // image keeps its index and shows nothing.
      bitmap.SetSize(16, 16);
      bitmap.Canvas()->Brush()->SetColor(clFuchsia);
      bitmap.Canvas()->FillRect(Rect(0, 0, 16, 16));
    }
    images->AddMasked(&bitmap, clFuchsia);
  }
  gImages = std::move(images);
  return *gImages;
}

void FreeFrameResources() {
  FreeMenuResources();
  gImages.reset();
  gSmallCaptionFont.reset();
  gCaptionFont.reset();
  gMetrics.reset();
}

}  // namespace hv
