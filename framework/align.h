#pragma once
// The arithmetic of aligned children, without the controls: given each
// child's alignment and bounds, where each one goes. Portable.

#include <vector>

#include "framework/types.h"

namespace hv {

enum class TAlign { alNone, alTop, alBottom, alLeft, alRight, alClient };

struct TAlignItem {
  TAlign align;
  TRect bounds;    // current bounds, replaced by the new ones
  bool visible = true;
};

// Lays out the visible aligned items inside `client` in the classic order:
// top, bottom, left, right, client. Within one alignment the items keep the
// order of their current positions (top to bottom for top, bottom to top for
// bottom, and so on); `moved`, when not negative, is the item whose change
// asked for the layout, and wins a tie in position. Returns what is left of
// the client rectangle. Sizes never go below zero.
TRect AlignItems(std::vector<TAlignItem>& items, TRect client, int moved = -1);

}  // namespace hv
