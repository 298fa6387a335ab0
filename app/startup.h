#pragma once
// What the viewer needs before its first window exists, shared by the
// program and its tests: the theme library with the frame's classes and
// every style, and every class the stored layout of the main window names.

#include <functional>

namespace hv {

// The whole program: the application, the theme library, the main window in
// the style the command line names, the message loop, and the end. A test
// build of the program hands in what it sets up once the library has
// started and before the first window exists.
void RunViewer(const std::function<void()>& beforeFirstWindow = {});

void StartViewer();
// After the last form is gone.
void FinishViewer();

}  // namespace hv
