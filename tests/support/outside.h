#pragma once
// Checks "from outside": a program started as a process of its own, seen
// and driven only through its windows, window messages and real input, the
// way a user or an accessibility tool meets it. Nothing here links the
// program's code; everything goes through the window system.

#include <windows.h>
// After <windows.h>, which it needs.
#include <commctrl.h>

#include <chrono>
#include <functional>
#include <string>
#include <vector>

namespace hv::test {

// A program running beside the test. The destructor closes its main window
// and waits for it to end, ending it by force only when it hangs.
class TOutsideProgram {
 public:
  // Starts `exe` in its own folder; Started() tells whether it ran.
  explicit TOutsideProgram(const std::wstring& exe);
  ~TOutsideProgram();
  TOutsideProgram(const TOutsideProgram&) = delete;
  TOutsideProgram& operator=(const TOutsideProgram&) = delete;

  bool Started() const { return process_ != nullptr; }
  DWORD ProcessId() const { return processId_; }
  // Whether the process is still running.
  bool Running() const;

  // The first visible top-level window of the process of that class, once
  // it is there and the program waits for input; null after the timeout.
  HWND WaitForTopWindow(const wchar_t* className, std::chrono::milliseconds timeout);

  // Asks the window to close and waits for the process to end.
  bool Close(HWND wnd, std::chrono::milliseconds timeout);

 private:
  HANDLE process_ = nullptr;
  DWORD processId_ = 0;
  HWND closeTarget_ = nullptr;
};

// A Windows path for a file of the build tree, given as a host path; Wine's
// drive Z: is the host's root.
std::wstring HostPathToWindows(const std::string& hostPath);

// Repeats `done` until it answers true or the time is up, letting the other
// process run in between; answers the last result.
bool WaitUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout);

// ---- Windows ----

std::wstring WindowClassName(HWND wnd);
// Every descendant of `parent`, depth first, in the window system's order.
std::vector<HWND> DescendantWindows(HWND parent);
// The descendants of that class.
std::vector<HWND> DescendantsOfClass(HWND parent, const wchar_t* className);
// The window's client rectangle in screen coordinates.
RECT ClientRectOnScreen(HWND wnd);
RECT WindowRectOf(HWND wnd);

// ---- Input (real input: it goes through the system's input queue) ----

// Moves the mouse to a screen point.
void MouseMoveTo(POINT screen);
void MouseLeftDown();
void MouseLeftUp();
// Down at `from`, moved in steps to `to`, up there.
void MouseDrag(POINT from, POINT to, int steps = 8);
void MouseRightClick();
// Moved to `screen`, then a left click there.
void MouseClickAt(POINT screen);
// Client coordinates of `wnd` to the screen.
POINT ClientToScreenPoint(HWND wnd, int x, int y);

void KeyDown(WORD vk);
void KeyUp(WORD vk);
void PressKey(WORD vk);
// `vk` pressed while `modifier` is held.
void PressChord(WORD modifier, WORD vk);
// Each UTF-16 unit as the keyboard's own Unicode packet, as an input
// method or an on-screen keyboard delivers it.
void TypeUnicode(const std::wstring& text);

// A visible top-level popup menu of the process (the themed one or the
// plain one), or null.
HWND VisiblePopupMenu(DWORD process);

// ---- Pixels as the screen shows them ----

// A copy of a screen rectangle, row by row, as 0x00RRGGBB.
struct TScreenShot {
  int width = 0;
  int height = 0;
  std::vector<uint32_t> pixels;
  uint32_t At(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
  bool operator==(const TScreenShot&) const = default;
};
TScreenShot CaptureScreen(const RECT& screenRect);
// How many pixels of two shots of one size differ.
int CountDifferentPixels(const TScreenShot& a, const TScreenShot& b);

// ---- A system tree view in another process, by messages ----

// The tree's items in their absolute order (a parent, then its children).
std::vector<HTREEITEM> TreeItemsInOrder(HWND tree);
// The selected item's absolute index, -1 when none is selected.
int TreeSelectedIndex(HWND tree);
// An item's text, read through TVM_GETITEMW with a buffer in the tree's own
// process; empty when it cannot be read.
std::wstring TreeItemText(HWND tree, HTREEITEM item);

}  // namespace hv::test
