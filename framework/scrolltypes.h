#pragma once
// The scroll codes, numbered as the system's scroll
// requests (SB_LINEUP … SB_ENDSCROLL), so that a code can be sent on as it is.

namespace hv {

enum TScrollCode : int {
  scLineUp = 0,
  scLineDown = 1,
  scPageUp = 2,
  scPageDown = 3,
  scPosition = 4,
  scTrack = 5,
  scTop = 6,
  scBottom = 7,
  scEndScroll = 8,
};

}  // namespace hv
