#pragma once
// What the Windows tests share: the application set up once per binary,
// exceptions from window procedures collected instead of shown in a message
// box, and message pumping.

#include <string>
#include <vector>

#include "framework/winhandles.h"

namespace hv::test {

// Messages of exceptions the application's handler received since the last
// call; the test main fails any test that leaves some behind.
std::vector<std::string> TakeReportedExceptions();

// Handles every message waiting in this thread's queue.
void PumpMessages();

// The colour of a client-area pixel as the window painted it (after
// UpdateWindow), as 0xRRGGBB.
unsigned ClientPixel(HWND wnd, int x, int y);

}  // namespace hv::test
