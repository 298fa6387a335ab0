#pragma once
// Counts the GDI and USER objects a test program makes and frees itself.
// The system's own answer (GetGuiResources) is always 0 under Wine, so a
// leak check built on it passes whatever leaks; this one patches the
// program's own import-table entries of the gdi32 and user32 functions that
// create, select and free brushes, pens, fonts, bitmaps, regions, device
// contexts, icons, cursors and menus with counting wrappers, and watches
// windows come and go with a WH_CBT hook.
//
// Only handles made after InstallGuiObjectCounter are counted, and a free
// counts only for a handle the counter saw made and only when the system
// accepted it. A region handed to a window (SetWindowRgn) belongs to the
// system from then on, and so do the submenus a destroyed menu or window
// takes with it.

#include <string>

namespace hv::test {

enum TGuiObjectKind : int {
  kgoBrush, kgoPen, kgoFont, kgoBitmap, kgoRegion, kgoMemoryDC, kgoWindowDC, kgoIcon, kgoCursor, kgoMenu,
  kgoWindow, kgoKindCount
};

struct TGuiObjectCounts {
  long live[kgoKindCount] = {};
  long Of(TGuiObjectKind kind) const { return live[kind]; }
  long Gdi() const;
  long User() const;
  bool operator==(const TGuiObjectCounts&) const = default;
  // "brushes 3, pens 1, ..." for failure messages.
  std::string Describe() const;
};

// Patches the wrappers in (once per process) and hooks this thread's window
// creation. Answers false when no import of gdi32 or user32 could be found
// to patch, so that a check can tell a counter that sees nothing.
bool InstallGuiObjectCounter();
// What is alive now of what was made since the counter was installed, after
// the idle GDI caches (ReleaseIdleGdiCaches) have freed what they kept.
TGuiObjectCounts LiveGuiObjects();
// How many times anything was made since installation (never goes down):
// proof that the wrappers are in the path at all.
long GuiObjectsMade();
// Selections of an object into a device context that the system refused
// (a deleted or foreign object): each one is a painting fault.
long FailedSelections();
// The last of them: the object and the context with their types.
std::string LastFailedSelection();

}  // namespace hv::test
