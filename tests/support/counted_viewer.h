#pragma once
// How a check from outside asks HelpViewerCounted.exe (the viewer built with
// the object counter) for its counts: find the message-only window of class
// kViewerCountsClass (FindWindowExW(HWND_MESSAGE, ...)) and send it the
// message registered as kViewerCountsMessage with one of the kinds below as
// wParam; the answer is the count.

namespace hv::test {

inline constexpr wchar_t kViewerCountsClass[] = L"HelpViewerCounts";
inline constexpr wchar_t kViewerCountsMessage[] = L"HelpViewer.Counts";

enum TViewerCount : int {
  kvcGdi,               // live GDI objects made since the start
  kvcUser,              // live USER objects (windows, menus, icons, cursors)
  kvcExceptions,        // exceptions that reached the application's report
  kvcMade,              // objects made at all: proof the counter sees them
  kvcFailedSelections,  // selections into a device context the system refused
  kvcDescribe,          // writes the live objects by kind and the last refused selection to standard error
};

}  // namespace hv::test
