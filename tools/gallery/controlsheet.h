#pragma once
// The controls sheet: every themed control in each of its states, painted by
// a real window of its class through one style and copied from the screen,
// so that a style's controls can be looked at whole beside its element sheet.

#include <functional>
#include <string>
#include <vector>

#include "framework/types.h"
#include "theme/core/theme.h"
#include "tools/gallery/gallery.h"

namespace hv {

class TControl;
class TWinControl;
class TTeThemeEngine;

// One state of a control on the sheet and what puts the control into it,
// with real messages where the control answers the mouse.
struct TControlSheetState {
  std::string name;
  std::function<void(TControl&)> enter;
};

// One row: a control class, made fresh for every state on a host window,
// linked to an engine that holds the sheet's style.
struct TControlSheetRow {
  std::string name;
  TSize size;
  std::function<TControl*(TWinControl& host, TTeThemeEngine& engine)> make;
  std::vector<TControlSheetState> states;
};

// The rows of every control the sheet shows.
std::vector<TControlSheetRow> ControlSheetRows();
// The menu bar and an open popup menu.
std::vector<TControlSheetRow> MenuSheetRows();

// Paints the rows through one style; each cell is named "<row> <state>".
TGallerySheet PaintControlSheet(TTeThemeClass style, const std::vector<TControlSheetRow>& rows);

}  // namespace hv
