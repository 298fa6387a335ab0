#pragma once
// A style that paints the elements of scroll bars and lists as solid fills
// of colours that tell the element and its state apart, so that tests can
// read what was painted where by single pixels.

#include "framework/graphics.h"
#include "tests/theme/controls/control_test_support.h"
#include "theme/core/drawing.h"
#include "theme/core/theme.h"

namespace hv::test {

class TSolidStyle : public TTeTheme {
  HV_THEME_CLASS(TSolidStyle, TTeTheme)

 public:
  static constexpr unsigned kTrackRGB = 0x406080;
  static constexpr unsigned kWindowRGB = 0xF0E0D0;
  static constexpr unsigned kListBorderRGB = 0x103050;
  static constexpr int kBarSize = 17;
  // Buttons and thumbs: one base colour each, plus 0x10 a state.
  static constexpr unsigned kFirstButtonRGB = 0x800000;
  static constexpr unsigned kSecondButtonRGB = 0x008000;
  static constexpr unsigned kThumbRGB = 0x000080;

  static bool IsThemeAvailable() { return true; }
  static std::string GetName() { return "Solid"; }

  unsigned windowRGB = kWindowRGB;

  TColor GetColor(TTeThemeColor kind) const override {
    return kind == ktcWindow ? FromRGB(windowRGB) : TTeTheme::GetColor(kind);
  }
  int GetSize(TTeThemeSize kind) const override { return kind == ktsScrollBar ? kBarSize : TTeTheme::GetSize(kind); }
  void DrawScrollBarTrack(TCanvas& canvas, const TRect& rect, TScrollBarKind) override {
    FillRectColor(canvas, rect, FromRGB(kTrackRGB));
  }
  void DrawScrollButton(TCanvas& canvas, const TRect& rect, bool, bool first, TTeElementState state) override {
    FillRectColor(canvas, rect, FromRGB((first ? kFirstButtonRGB : kSecondButtonRGB) + 0x10 * state));
  }
  void DrawScrollThumb(TCanvas& canvas, const TRect& rect, TScrollBarKind, TTeElementState state) override {
    FillRectColor(canvas, rect, FromRGB(kThumbRGB + 0x10 * state));
  }
  void DrawListBorder(TCanvas& canvas, const TRect& rect, TTeElementState) override {
    OutlineRect(canvas, rect, FromRGB(kListBorderRGB));
  }
};

}  // namespace hv::test
