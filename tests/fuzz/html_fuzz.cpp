// Reads arbitrary bytes as a page, lays it out and follows its links, and
// checks what the page view relies on: valid UTF-8 in every text box, boxes
// with a size, filled boxes with a colour, containers that nest properly,
// links on text, resolved links that are clean absolute paths. The input's
// first byte picks the width and, past 128, puts a style sheet and styled
// containers and floats around the page so that the box layout is reached
// at once.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "pageview/htmlcharset.h"
#include "pageview/htmldocument.h"
#include "pageview/htmllayout.h"
#include "pageview/htmllink.h"

namespace {

class Measurer : public hv::html::TextMeasurer {
 public:
  int TextWidth(std::string_view utf8, const hv::html::RunStyle& style) override {
    int width = 0;
    size_t pos = 0;
    while (pos < utf8.size()) width += hv::html::IsWideChar(hv::html::NextCodePoint(utf8, pos)) ? 14 : 7;
    return style.bold ? width + width / 8 : width;
  }
  hv::html::FontMetrics Metrics(const hv::html::RunStyle& style) override {
    return style.heading ? hv::html::FontMetrics{24 - 2 * style.heading, 18 - style.heading}
                         : hv::html::FontMetrics{16, 12};
  }
};

bool ValidUtf8(std::string_view text) { return hv::html::DecodeToUtf8(text, hv::html::Charset::Utf8) == text; }

void Check(const hv::html::Document& doc, int width, bool decoded) {
  for (size_t i = 0; i < doc.containers.size(); ++i)
    if (doc.containers[i].parent >= static_cast<int>(i)) __builtin_trap();  // parents come first
  // Blocks in cells as well: every box exists and every order was counted.
  auto checkBlocks = [&](auto& self, const hv::html::Blocks& blocks) -> void {
    for (const hv::html::Block& block : blocks) {
      if (block.box >= static_cast<int>(doc.containers.size())) __builtin_trap();
      if (block.order >= doc.blockCount) __builtin_trap();
      for (const auto& row : block.rows)
        for (const hv::html::TableCell& cell : row) self(self, cell.blocks);
    }
  };
  checkBlocks(checkBlocks, doc.blocks);
  for (const hv::html::Place& place : doc.places)
    if (place.block > doc.blockCount) __builtin_trap();
  Measurer measurer;
  hv::html::LayoutOptions options;
  options.width = width;
  hv::html::PageLayout layout = hv::html::LayoutDocument(doc, measurer, options);
  if (layout.height < 0 || layout.width < width) __builtin_trap();
  if (layout.blockTops.size() != doc.blockCount) __builtin_trap();
  for (const hv::html::LayoutBox& box : layout.boxes) {
    if (box.rect.right < box.rect.left || box.rect.bottom < box.rect.top) __builtin_trap();
    if (box.kind == hv::html::BoxKind::Text && box.text.empty()) __builtin_trap();
    if (box.kind == hv::html::BoxKind::Fill && box.color > 0xFFFFFF) __builtin_trap();
    if (decoded && !ValidUtf8(box.text)) __builtin_trap();
    if (box.rect.bottom > layout.height) __builtin_trap();
  }
  for (const hv::html::LinkArea& link : layout.links) {
    if (link.href.empty()) __builtin_trap();
    if (auto target = hv::html::ResolveLocalLink("C:\\help\\pages\\page.htm", link.href)) {
      if (target->size() < 2 || ((*target)[1] != ':' && target->substr(0, 2) != "\\\\")) __builtin_trap();
      if (target->find("\\..\\") != std::string::npos || target->find("\\.\\") != std::string::npos) __builtin_trap();
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const int width = (data[0] & 0x7F) * 6;  // 0 .. 762 pixels, narrow ones included
  std::string_view bytes(reinterpret_cast<const char*>(data + 1), size - 1);
  std::string styled;
  if (data[0] & 0x80) {
    styled = "<style>div { margin: 7px 2px -3px; padding: 1px 2px; border: 1px solid red; background: #eee }"
             " p { margin: 5px 0; line-height: 1.5; text-align: center; text-indent: -4px }"
             " td { width: 30%; vertical-align: bottom; background-color: blue }"
             " b, img { float: left; margin-left: -20% } i, span { float: right; width: 40px } h3, li { clear: both }"
             " ul, dl { overflow: hidden } li { display: inline }</style><div><div style='width: 60%'>";
    styled.append(bytes);
    bytes = styled;
  }
  Check(hv::html::ParseHtmlBytes(bytes), width, true);
  Check(hv::html::ParseHtml(bytes), width, false);  // undecoded bytes must not trip the layout either
  return 0;
}
