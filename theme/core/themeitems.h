#pragma once
// The two objects a style is handed to paint without owning them: a menu
// item and a status panel (statuspanel.h). Only what the styles read of the
// item lives here; the menus grow it with their behaviour.

#include <cstdint>
#include <string>
#include <vector>

#include "framework/component.h"
#include "theme/core/statuspanel.h"

namespace hv {

class TControl;
class TCustomImageList;

// A key code with the modifier bits of the platform's menus.
using TShortCut = uint16_t;
constexpr TShortCut kscShift = 0x2000;
constexpr TShortCut kscCtrl = 0x4000;
constexpr TShortCut kscAlt = 0x8000;

// "Ctrl+Shift+F5", "Alt+Del"; empty for 0 and for keys without a name.
std::string ShortCutToText(TShortCut shortCut);

// MDI button kinds of menu-bar items that stand for a child's caption buttons.
enum TTeItemButtonKind : uint8_t { kibNone, kibClose, kibRestore, kibMinimize, kibSystemMenu };

class TTeCustomItem : public TComponent {
  HV_CLASS_NO_PROPERTIES(TTeCustomItem, TComponent)

 public:
  explicit TTeCustomItem(TComponent* owner) : TComponent(owner) {}

  const std::string& Caption() const { return caption_; }
  void SetCaption(const std::string& value) { caption_ = value; }
  bool IsSeparator() const { return caption_ == "-"; }
  bool Checked() const { return checked_; }
  void SetChecked(bool value) { checked_ = value; }
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool value) { enabled_ = value; }
  int ImageIndex() const { return imageIndex_; }
  void SetImageIndex(int value) { imageIndex_ = value; }
  TCustomImageList* Images() const { return images_; }
  void SetImages(TCustomImageList* value) { images_ = value; }
  bool HasImage() const { return images_ && imageIndex_ >= 0; }
  TShortCut ShortCut() const { return shortCut_; }
  void SetShortCut(TShortCut value) { shortCut_ = value; }

  // Sub-items, in display order; the item links them, their owner frees them.
  int Count() const { return static_cast<int>(items_.size()); }
  TTeCustomItem* Items(int index) const { return items_.at(static_cast<size_t>(index)); }
  void Add(TTeCustomItem* item) { items_.push_back(item); }

  TTeItemButtonKind ButtonKind() const { return buttonKind_; }
  void SetButtonKind(TTeItemButtonKind value) { buttonKind_ = value; }
  // Set on the items of a menu bar that sits on a control bar.
  bool OnControlBar() const { return onControlBar_; }
  void SetOnControlBar(bool value) { onControlBar_ = value; }
  // The width of the check-and-image column of a popup level, set by the
  // level's layout.
  int ImageColumnWidth() const { return imageColumnWidth_; }
  void SetImageColumnWidth(int value) { imageColumnWidth_ = value; }

 private:
  std::string caption_;
  bool checked_ = false;
  bool enabled_ = true;
  int imageIndex_ = -1;
  TCustomImageList* images_ = nullptr;
  TShortCut shortCut_ = 0;
  std::vector<TTeCustomItem*> items_;
  TTeItemButtonKind buttonKind_ = kibNone;
  bool onControlBar_ = false;
  int imageColumnWidth_ = 22;
};

}  // namespace hv
