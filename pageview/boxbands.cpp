#include "pageview/boxbands.h"

#include <algorithm>
#include <climits>

namespace hv::html {

void TBoxBands::Build(const LayoutBoxes& boxes) {
  bands_.clear();
  tall_.clear();
  rects_.clear();
  if (boxes.empty() || boxes.size() > UINT32_MAX) return;
  long long top = LLONG_MAX, bottom = LLONG_MIN;
  rects_.reserve(boxes.size());
  for (const LayoutBox& box : boxes) {
    rects_.push_back(box.rect);
    top = std::min<long long>(top, box.rect.top);
    bottom = std::max<long long>(bottom, box.rect.bottom);
  }
  top_ = top;
  band_ = std::max<long long>(512, (bottom - top) / static_cast<long long>(kMaxBands) + 1);
  bands_.resize(static_cast<size_t>((bottom - top) / band_ + 1));
  for (size_t i = 0; i < boxes.size(); ++i) {
    const long long first = (boxes[i].rect.top - top_) / band_;
    const long long last = (std::max(boxes[i].rect.top, boxes[i].rect.bottom - 1) - top_) / band_;
    if (last - first >= kMaxBandsPerBox) {
      tall_.push_back(static_cast<uint32_t>(i));
      continue;
    }
    for (long long b = first; b <= last; ++b) bands_[static_cast<size_t>(b)].push_back(static_cast<uint32_t>(i));
  }
}

void TBoxBands::Touching(int top, int bottom, std::vector<size_t>& out) const {
  out.clear();
  if (bands_.empty() || bottom <= top) return;
  const long long last = static_cast<long long>(bands_.size()) - 1;
  const long long first = std::clamp<long long>((top - top_) / band_, 0, last);
  const long long end = std::clamp<long long>((static_cast<long long>(bottom) - 1 - top_) / band_, 0, last);
  if (static_cast<long long>(top) >= top_ + (last + 1) * band_ || static_cast<long long>(bottom) <= top_) {
    // Beyond every box: only the tall ones could be there, and they are not.
  } else {
    for (long long b = first; b <= end; ++b)
      for (uint32_t i : bands_[static_cast<size_t>(b)]) out.push_back(i);
  }
  for (uint32_t i : tall_)
    if (rects_[i].top < bottom && rects_[i].bottom > top) out.push_back(i);
  std::sort(out.begin(), out.end());
  out.erase(std::unique(out.begin(), out.end()), out.end());
}

}  // namespace hv::html
