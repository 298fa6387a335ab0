#pragma once
// What every menu of the process shares: the menu font, the default item
// size, a canvas to measure on, the submenu arrow, and the click dispatcher
// that runs a chosen item's click once the menus are gone. StartMenus hands
// the items their look and their windows; FreeMenuResources undoes it.

#include <cstdint>

#include "framework/types.h"

namespace hv {

class TCanvas;
class TFont;

// The deferred click, posted to the dispatcher's window.
constexpr uint32_t WM_TE_ITEMCLICK = 0x8BA;

// The system's menu font, from the non-client metrics.
TFont& MenuFont();
// The system's menu item size, each at least 20.
int DefaultItemWidth();
int DefaultItemHeight();
// A small memory canvas for measuring text in the menu font.
TCanvas& MenuMeasureCanvas();
// The system's submenu arrow in `color`, in a 20 x 20 box centred in rect.
void DrawSubmenuArrow(TCanvas& canvas, const TRect& rect, uint32_t color);

// Makes the dispatcher and gives the items their default look and windows.
void StartMenus();
// The theme library's class step for the frame and the menus: the option
// classes, the item and popup menu classes, then StartMenus.
void RegisterFrameClasses();
void FreeMenuResources();
// The dispatcher's window; none before StartMenus.
void* ClickDispatcherWindow();
// Clicks waiting in the dispatcher.
int PendingItemClicks();

}  // namespace hv
