#pragma once
// The two objects a style is handed to paint without owning them: a menu
// item and a status panel (statuspanel.h). Only what the styles read of the
// item lives here; the menus grow it with their behaviour.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "framework/component.h"
#include "framework/event.h"
#include "framework/sysutils.h"
#include "framework/types.h"
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

HV_EXCEPTION(EMenuItemError, Exception);

class TBasicAction;
class TCanvas;
class TTeCustomItem;
class TTeItemView;
class TTePopupMenuOptions;

using TTeItemNotify = TEvent<void(TTeCustomItem* sender)>;
// `changed` is the item whose caption, state or children changed.
using TTeItemChangeEvent = TEvent<void(TTeCustomItem* sender, TTeCustomItem* changed)>;

// What the items leave to the windowed menus above them: the default
// measuring and painting, opening a level, the class of the window a level
// opens in, and the click dispatcher that runs a click once the menus are
// gone. The menus fill it in when they start; without them an item has no
// look and its click runs at once.
struct TTeItemBehaviour {
  void (*measure)(TTeCustomItem& item, TCanvas& canvas, TTeItemView& view, int& height, int& width) = nullptr;
  void (*paintItem)(TTeCustomItem& item, TCanvas& canvas, TTeItemView& view, bool active, bool hot,
                    const TRect& rect) = nullptr;
  void (*paintArrow)(TTeCustomItem& item, TCanvas& canvas, TTeItemView& view, bool hot, int kind,
                     const TRect& rect) = nullptr;
  void (*popup)(TTeCustomItem& item, TTeItemView* parentView, int x, int y, const TRect* anchor) = nullptr;
  const TClassInfo* popupWindowClass = nullptr;
  // Queues the click; false when no dispatcher exists.
  bool (*postClick)(TTeCustomItem& item) = nullptr;
  // An exception of a click run for a short cut, being handled.
  void (*reportClickError)(TTeCustomItem& item) = nullptr;
  // The shown levels follow their items: a change re-lays the level out, a
  // destroyed item is forgotten before it goes.
  void (*changed)(TTeCustomItem& item) = nullptr;
  void (*destroyed)(TTeCustomItem& item) = nullptr;
};
TTeItemBehaviour& ItemBehaviour();

class TTeCustomItem : public TComponent {
  HV_CLASS(TTeCustomItem, TComponent)

 public:
  explicit TTeCustomItem(TComponent* owner);
  ~TTeCustomItem() override;

  // --- published --------------------------------------------------------
  TBasicAction* Action() const;
  void SetAction(TBasicAction* value);
  const std::string& Caption() const { return caption_; }
  void SetCaption(const std::string& value);
  bool IsSeparator() const { return caption_ == "-"; }
  bool Checked() const { return checked_; }
  void SetChecked(bool value);
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool value);
  bool Visible() const { return visible_; }
  void SetVisible(bool value);
  int HelpContext() const { return helpContext_; }
  void SetHelpContext(int value) { helpContext_ = value; }
  const std::string& Hint() const { return hint_; }
  void SetHint(const std::string& value) { hint_ = value; }
  int ImageIndex() const { return imageIndex_; }
  void SetImageIndex(int value) { imageIndex_ = value; }
  TCustomImageList* Images() const { return images_; }
  void SetImages(TCustomImageList* value);
  bool HasImage() const { return images_ && imageIndex_ >= 0; }
  // The item's images, else its root's.
  TCustomImageList* ShownImages() const;
  TShortCut ShortCut() const { return shortCut_; }
  void SetShortCut(TShortCut value) { shortCut_ = value; }
  bool Scrolled() const { return scrolled_; }
  void SetScrolled(bool value);
  int ScrollCount() const { return scrollCount_; }
  void SetScrollCount(int value);
  TTeItemNotify OnClick;
  TTeItemNotify OnBeforeDropDown;

  // --- the tree -----------------------------------------------------------
  // The item owns its children: destroying it destroys them, last first.
  int Count() const { return static_cast<int>(items_.size()); }
  TTeCustomItem* Items(int index) const { return items_.at(static_cast<size_t>(index)); }
  TTeCustomItem* Parent() const { return parent_; }
  TTeCustomItem* Root();
  TComponent* GetParentComponent() const override;
  bool HasParent() const override { return parent_ != nullptr; }
  void SetParentComponent(TComponent* value) override;
  void GetChildren(const std::function<void(TComponent*)>& proc, TComponent* root) const override;
  // An item that has a parent raises EMenuItemError and nothing changes.
  void Add(TTeCustomItem* item);
  void Insert(int index, TTeCustomItem* item);
  // Destroys the child at index.
  void Delete(int index);
  // Takes the child out of the list; the caller owns it from then on.
  void Remove(TTeCustomItem* item);
  int IndexOf(const TTeCustomItem* item) const;
  bool HasVisibleChild() const;

  // The first child whose caption holds "&" and the character, both upper-cased.
  TTeCustomItem* FindAccelerator(char32_t character) const;
  // Depth first, this item included.
  TTeCustomItem* FindShortCut(TShortCut shortCut);
  // Runs the item of the short cut (its enabled ancestors' clicks first, from
  // the top); whether an item had it.
  bool IsShortCut(TShortCut shortCut);

  // Nothing for a separator, an item with children or a disabled item; else
  // the click runs once the menus have closed (at once without the menus).
  void Click();
  // The click itself: OnClick, or the action when OnClick is its handler or missing.
  void RunClick();
  // Opens the children (screen coordinates; anchor: the parent level's item).
  void Popup(TTeItemView* parentView, int x, int y, const TRect* anchor = nullptr);

  // --- the virtual operations, in slot order --------------------------------
  virtual void Reserved1(int, int) {}
  virtual void Reserved2(int, int) {}
  virtual const TClassInfo* CreatePopupWindow() const;
  // Fires the item's change event and then the root's.
  virtual void Changed();
  virtual void Measure(TCanvas& canvas, TTeItemView& view, int& height, int& width);
  virtual void PaintItem(TCanvas& canvas, TTeItemView& view, bool active, bool hot, const TRect& rect);
  virtual void PaintArrow(TCanvas& canvas, TTeItemView& view, bool hot, int kind, const TRect& rect);
  virtual void UpdateAction();

  TTeItemChangeEvent OnChange;

  // --- state the menus keep on the tree --------------------------------------
  TTeItemButtonKind ButtonKind() const { return buttonKind_; }
  void SetButtonKind(TTeItemButtonKind value) { buttonKind_ = value; }
  // The frame of the MDI child the button items act on.
  TComponent* MdiChildFrame() const { return mdiChildFrame_; }
  void SetMdiChildFrame(TComponent* value);
  bool AnimateOnOpen() const { return animateOnOpen_; }
  void SetAnimateOnOpen(bool value);
  bool OpenedByProgram() const { return openedByProgram_; }
  void SetOpenedByProgram(bool value);
  // The windowed control whose frame stays active while the menu is open.
  TComponent* OwnerWindow() const { return ownerWindow_; }
  void SetOwnerWindow(TComponent* value);
  bool RightToLeft() const { return rightToLeft_; }
  void SetRightToLeft(bool value);
  // Set on the items of a menu bar that sits on a control bar.
  bool OnControlBar() const { return onControlBar_; }
  void SetOnControlBar(bool value);
  bool PaintingSuppressed() const { return paintingSuppressed_; }
  void SetPaintingSuppressed(bool value);
  // Tray menus come to the foreground when they open.
  bool BringToForeground() const { return bringToForeground_; }
  void SetBringToForeground(bool value);
  TTePopupMenuOptions* PopupOptions() const { return popupOptions_; }
  void SetPopupOptions(TTePopupMenuOptions* value);
  int FirstShown() const { return firstShown_; }
  void SetFirstShown(int value) { firstShown_ = value; }
  const TRect& ItemRect() const { return rect_; }
  void SetItemRect(const TRect& value) { rect_ = value; }
  // The width of the check-and-image column of a popup level, set by the
  // level's layout.
  int ImageColumnWidth() const { return imageColumnWidth_; }
  void SetImageColumnWidth(int value) { imageColumnWidth_ = value; }

  // Stays valid while the item lives; for code that must learn whether a
  // handler it ran destroyed the item.
  std::weak_ptr<const bool> AliveToken() const { return alive_; }

 protected:
  void Notification(TComponent* component, TOperation operation) override;

 private:
  class TItemActionLink;
  void ChildListChanged();
  void Link(TComponent*& field, TComponent* value);
  template <class F>
  void ForTree(F&& apply) {
    apply(*this);
    for (TTeCustomItem* child : items_) child->ForTree(apply);
  }

  std::shared_ptr<bool> alive_;
  std::unique_ptr<TItemActionLink> actionLink_;
  std::string caption_;
  bool checked_ = false;
  bool enabled_ = true;
  bool visible_ = true;
  int helpContext_ = 0;
  std::string hint_;
  int imageIndex_ = -1;
  TCustomImageList* images_ = nullptr;
  TComponent* imagesComponent_ = nullptr;
  TShortCut shortCut_ = 0;
  bool scrolled_ = false;
  int scrollCount_ = 10;
  std::vector<TTeCustomItem*> items_;
  TTeCustomItem* parent_ = nullptr;
  TTeItemButtonKind buttonKind_ = kibNone;
  TComponent* mdiChildFrame_ = nullptr;
  bool animateOnOpen_ = false;
  bool openedByProgram_ = false;
  TComponent* ownerWindow_ = nullptr;
  bool rightToLeft_ = false;
  bool onControlBar_ = false;
  bool paintingSuppressed_ = false;
  bool bringToForeground_ = false;
  TTePopupMenuOptions* popupOptions_ = nullptr;
  int firstShown_ = 0;
  TRect rect_;
  int imageColumnWidth_ = 22;
};

}  // namespace hv
