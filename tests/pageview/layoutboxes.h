#pragma once
// Finding the boxes a layout test checks: all of one kind, or the text box
// of a line.

#include <string_view>
#include <vector>

#include "pageview/htmllayout.h"

namespace hv::html {

inline std::vector<const LayoutBox*> Boxes(const PageLayout& layout, BoxKind kind) {
  std::vector<const LayoutBox*> out;
  for (const LayoutBox& box : layout.boxes)
    if (box.kind == kind) out.push_back(&box);
  return out;
}

inline const LayoutBox* TextBox(const PageLayout& layout, std::string_view text) {
  for (const LayoutBox& box : layout.boxes)
    if (box.kind == BoxKind::Text && box.text == text) return &box;
  return nullptr;
}

inline TRect Rect(int l, int t, int r, int b) { return TRect{l, t, r, b}; }

}  // namespace hv::html
