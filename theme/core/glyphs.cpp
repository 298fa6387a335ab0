#include "theme/core/glyphs.h"

#include <windows.h>

#include <array>
#include <memory>

#include "framework/graphics.h"
#include "theme/core/colors.h"
#include "theme/core/pixels.h"
#include "theme/core/tebitmap.h"

namespace hv {

namespace {

constexpr int kGlyphKinds = 11;
constexpr std::array<const char*, kGlyphKinds> kGlyphNames = {
    nullptr,        "TE_BTN_OK",    "TE_BTN_CANCEL", "TE_BTN_HELP",   "TE_BTN_YES", "TE_BTN_NO",
    "TE_BTN_CLOSE", "TE_BTN_ABORT", "TE_BTN_RETRY",  "TE_BTN_IGNORE", "TE_BTN_ALL"};

std::array<std::unique_ptr<TBitmap>, 128> gGlyphs;

int KindIndex(int kind) { return static_cast<int>(static_cast<unsigned>(kind) % 128u); }

}  // namespace

void DrawFrameControlGlyph(TCanvas& canvas, const TRect& rect, unsigned type, unsigned state, TColor color,
                           int margin) {
  const int w = rect.Width(), h = rect.Height();
  if (w <= 0 || h <= 0) return;
  TTeBitmap glyph;
  glyph.SetSize(w, h);
  glyph.Fill(kWhiteARGB);
  RECT r{0, 0, w, h};
  DrawFrameControl(glyph.DC(), &r, type, state);
  RecolorGlyphPixels(glyph.Pixels(), ColorToARGB(color));
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      if (x < margin || y < margin || x >= w - margin || y >= h - margin) *glyph.PixelPtr(x, y) = kTransparentMarker;
  glyph.Draw(canvas, rect.left, rect.top, true);
}

const char* ButtonGlyphResourceName(int kind) {
  const int index = KindIndex(kind);
  return index < kGlyphKinds ? kGlyphNames[static_cast<size_t>(index)] : nullptr;
}

TBitmap* ButtonGlyph(int kind) {
  const int index = KindIndex(kind);
  std::unique_ptr<TBitmap>& slot = gGlyphs[static_cast<size_t>(index)];
  if (!slot) {
    auto bitmap = std::make_unique<TBitmap>();
    if (const char* name = ButtonGlyphResourceName(index))
      bitmap->LoadFromResourceName(GetModuleHandleW(nullptr), name);
    slot = std::move(bitmap);
  }
  return slot.get();
}

void FreeButtonGlyphs() {
  for (auto& glyph : gGlyphs) glyph.reset();
}

}  // namespace hv
