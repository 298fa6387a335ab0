#pragma once
// A measurer of fixed sizes for layout tests: 10 pixels a character (8 in
// a fixed-pitch face, 20 for wide characters), lines of the font size plus
// 3 with the baseline at the size less 1 (16 and 12 for body text); no
// image can be read.

#include <string_view>

#include "pageview/htmllayout.h"

namespace hv::html {

class SizedMeasurer : public TextMeasurer {
 public:
  int TextWidth(std::string_view utf8, const RunStyle& style) override {
    int width = 0;
    size_t pos = 0;
    while (pos < utf8.size()) width += IsWideChar(NextCodePoint(utf8, pos)) ? 20 : style.monospace ? 8 : 10;
    return width;
  }
  FontMetrics Metrics(const RunStyle& style) override { return {style.Pixels() + 3, style.Pixels() - 1}; }
};

}  // namespace hv::html
