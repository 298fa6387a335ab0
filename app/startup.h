#pragma once
// What the viewer needs before its first window exists, shared by the
// program and its tests: the theme library with the frame's classes and
// every style, and every class the stored layout of the main window names.

namespace hv {

void StartViewer();
// After the last form is gone.
void FinishViewer();

}  // namespace hv
