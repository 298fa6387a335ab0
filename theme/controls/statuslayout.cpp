#include "theme/controls/statuslayout.h"

#include <algorithm>

namespace hv {

int StatusPanelEffectiveWidth(const TStatusPanelMetrics& metrics, const TStatusPanelPlace& place) {
  return std::min(metrics.maxWidth, place.assignedWidth);
}

std::vector<TStatusPanelPlace> LayoutStatusPanels(const std::vector<TStatusPanelMetrics>& panels,
                                                  const TRect& content) {
  const int available = content.Width();
  std::vector<TStatusPanelPlace> places(panels.size());
  std::vector<size_t> candidates;
  long long sum = 0;
  for (size_t i = 0; i < panels.size(); ++i) {
    places[i].assignedWidth = panels[i].width;
    places[i].visible = panels[i].viewPriority != 0;
    if (!places[i].visible) continue;
    candidates.push_back(i);
    sum += panels[i].width;
  }

  // Too narrow: the lowest view priorities go first, the later panel of two
  // equal ones before the earlier; a panel of priority 100 always stays.
  std::stable_sort(candidates.begin(), candidates.end(),
                   [&](size_t a, size_t b) { return panels[a].viewPriority > panels[b].viewPriority; });
  while (sum > available && candidates.size() >= 2 && panels[candidates.back()].viewPriority < 100) {
    const size_t last = candidates.back();
    places[last].visible = false;
    sum -= StatusPanelEffectiveWidth(panels[last], places[last]);
    candidates.pop_back();
  }

  // Too wide: the spare room goes to the highest stretch priority, and what
  // its maximum width refuses goes on to the next.
  long long spare = available - sum;
  if (spare > 0) {
    std::erase_if(candidates, [&](size_t i) { return panels[i].stretchPriority == 0; });
    std::stable_sort(candidates.begin(), candidates.end(),
                     [&](size_t a, size_t b) { return panels[a].stretchPriority < panels[b].stretchPriority; });
    while (!candidates.empty() && spare > 0) {
      const size_t last = candidates.back();
      const long long grown = std::min<long long>(places[last].assignedWidth + spare, 1'000'000'000);
      places[last].assignedWidth = static_cast<int>(grown);
      spare = grown - StatusPanelEffectiveWidth(panels[last], places[last]);
      candidates.pop_back();
    }
  }

  // A hidden panel takes no room, so that the panels after it close up.
  int x = 0;
  for (size_t i = 0; i < panels.size(); ++i) {
    TStatusPanelPlace& place = places[i];
    if (x >= available) place.visible = false;
    place.left = content.left + x;
    place.right = place.left;
    if (!place.visible) continue;
    const int width = std::max(0, StatusPanelEffectiveWidth(panels[i], place));
    place.right = place.left + width;
    x += width;
    if (panels[i].stretchPriority > 0 && (x >= available || i + 1 == panels.size())) place.right = content.right;
  }
  return places;
}

TRect StatusPanelRect(const TStatusPanelPlace& place, const TRect& content) {
  return {place.left, content.top, place.right, content.bottom};
}

TRect StatusPanelContentRect(const TRect& panelRect, bool framed) {
  if (!framed) return panelRect;
  return {panelRect.left + 1, panelRect.top + 1, panelRect.right - 3, panelRect.bottom - 1};
}

TRect StatusPanelArea(const std::vector<TStatusPanelPlace>& places, const TRect& content) {
  if (places.empty()) return {};
  return Intersect({places.front().left, content.top, places.back().right, content.bottom}, content);
}

TRect StatusSizeGripRect(const TRect& content, bool lastPanelFramed, int gripWidth, int gripHeight) {
  TRect r = lastPanelFramed ? content.Inflate(-1, -1) : content;
  r.left = r.right - gripWidth;
  r.top = r.bottom - gripHeight;
  return r;
}

int StatusPanelAt(const std::vector<TStatusPanelPlace>& places, const TRect& content, TPoint p) {
  if (p.y < content.top || p.y >= content.bottom || p.x < content.left) return -1;
  for (size_t i = 0; i < places.size(); ++i)
    if (places[i].visible && p.x >= places[i].left && p.x < places[i].right) return static_cast<int>(i);
  return -1;
}

TRect StatusPanelGlyphRect(const TStatusPanelContent& c) {
  const bool centred = c.alignment == TStatusTextAlignment::taCenter;
  const int centredLeft = (c.area.cx - c.image.cx - c.spacing - c.text.cx) / 2;
  int x = 0;
  if (c.layout == TStatusGlyphLayout::sglGlyphLeft)
    x = centred ? centredLeft : c.margin;
  else
    x = centred ? c.area.cx - centredLeft - c.image.cx : c.area.cx - c.margin - c.image.cx;
  const int y = (c.area.cy - c.image.cy) / 2;
  return Bounds(x, y, c.image.cx, c.image.cy);
}

TRect StatusPanelTextRect(const TStatusPanelContent& c) {
  const bool centred = c.alignment == TStatusTextAlignment::taCenter;
  const int withImage = (c.area.cx - c.image.cx - c.spacing - c.text.cx) / 2;
  const int withoutImage = (c.area.cx - c.text.cx) / 2;
  TRect r;
  if (c.layout == TStatusGlyphLayout::sglGlyphLeft) {
    if (centred) {
      r.left = c.validImage ? c.image.cx + c.spacing + withImage : withoutImage;
      r.right = r.left + c.text.cx + 10;
    } else {
      r.left = c.validImage ? c.margin + c.image.cx + c.spacing : c.margin;
      r.right = c.area.cx - c.margin;
    }
  } else {
    if (centred) {
      r.left = c.validImage ? withImage : withoutImage;
      r.right = r.left + c.text.cx;
    } else {
      r.left = c.margin;
      r.right = c.area.cx - (c.validImage ? c.margin + c.image.cx + c.spacing : c.margin);
    }
  }
  r.top = (c.area.cy - c.text.cy) / 2;
  r.bottom = r.top + c.text.cy;
  return r;
}

int StatusPanelTextWidth(int textWidth, bool autoSize, int effectiveWidth, bool validImage, int imageWidth,
                         int spacing, int margin) {
  if (autoSize) return textWidth;
  const int room = validImage ? effectiveWidth - imageWidth - spacing - 2 * margin : effectiveWidth - 2 * margin;
  return std::min(textWidth, room);
}

}  // namespace hv
