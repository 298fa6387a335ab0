#include "tools/controlsdemo/demoglyphs.h"

#include <array>

#include "framework/graphics.h"

namespace hv {

std::unique_ptr<TBitmap> DemoGlyph(TDemoGlyph kind) {
  constexpr TColor kBackground = 0x00FF00;
  auto glyph = std::make_unique<TBitmap>(16, 16, pf24bit);
  TCanvas& canvas = *glyph->Canvas();
  canvas.Brush()->SetColor(kBackground);
  canvas.FillRect({0, 0, 16, 16});
  canvas.Brush()->SetColor(0x8B4513);
  canvas.Pen()->SetColor(0x5A2D0C);
  switch (kind) {
    case TDemoGlyph::left: {
      const std::array<TPoint, 3> arrow{TPoint{3, 8}, TPoint{11, 2}, TPoint{11, 14}};
      canvas.Polygon(arrow);
      break;
    }
    case TDemoGlyph::right: {
      const std::array<TPoint, 3> arrow{TPoint{12, 8}, TPoint{4, 2}, TPoint{4, 14}};
      canvas.Polygon(arrow);
      break;
    }
    case TDemoGlyph::square:
      canvas.Brush()->SetColor(0x2050C0);
      canvas.FillRect({3, 3, 13, 13});
      break;
    case TDemoGlyph::dot:
      canvas.Brush()->SetColor(0x20A040);
      canvas.Ellipse(3, 3, 13, 13);
      break;
    case TDemoGlyph::none:
      break;
  }
  return glyph;
}

}  // namespace hv
