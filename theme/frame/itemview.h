#pragma once
// One shown level of a menu: the items of one parent laid out in a row (a
// menu bar) or a column (a popup), the hot item, scrolling, and the modal
// loop that tracks the keyboard and the mouse while the level is open.
// Levels nest: each open submenu runs its own loop inside its parent's.

#include <memory>
#include <vector>

#include "framework/component.h"
#include "framework/types.h"
#include "framework/winhandles.h"
#include "theme/core/themeitems.h"

namespace hv {

class TCanvas;
class TWinControl;

// Opens the hot item's submenu, posted to a level's host.
constexpr uint32_t WM_TE_OPENSUBMENU = 0x46F;

class TTeItemView : public TComponent {
  HV_CLASS_NO_PROPERTIES(TTeItemView, TComponent)

 public:
  TTeItemView(TComponent* owner, bool horizontal);
  ~TTeItemView() override;

  TTeCustomItem* Root() const { return root_; }
  void SetRoot(TTeCustomItem* value);
  bool Horizontal() const { return horizontal_; }
  TTeCustomItem* HotItem() const { return hot_; }
  void SetHotItem(TTeCustomItem* item);
  bool Tracking() const { return tracking_; }
  TCanvas* Canvas() const { return canvas_; }
  void SetCanvas(TCanvas* value) { canvas_ = value; }
  // The menu bar or popup window the level shows in.
  TWinControl* Host() const { return host_; }
  void SetHost(TWinControl* value) { host_ = value; }
  HWND HostHandle() const;
  TTeItemView* ParentView() const { return parentView_; }
  void SetParentView(TTeItemView* value) { parentView_ = value; }
  TTeItemView* ChildView() const { return childView_; }
  void SetChildView(TTeItemView* value) { childView_ = value; }
  TPoint Origin() const { return origin_; }
  void SetOrigin(TPoint value);
  TSize Extent() const { return extent_; }
  // 0 none, 1 scrolling up, 2 scrolling down.
  int ScrollState() const { return scrollState_; }
  // The level is scrolled: by its root's Scrolled, or because it is taller
  // than `maxHeight` (a popup that would not fit on the work area).
  bool IsScrolled() const { return scrolled_; }
  int ShownCount() const { return shownCount_; }
  void SetMaxHeight(int value) { maxHeight_ = value; }
  // The width a horizontal level spreads its MDI buttons over.
  void SetBarWidth(int value) { barWidth_ = value; }

  // Measures and places the shown children; calls Resized.
  void Layout();
  void Paint(TCanvas& canvas);
  // The child under a point of the host's client area; none over a
  // separator's gaps or outside.
  TTeCustomItem* ItemAt(TPoint client) const;
  // 1 up arrow, 2 down arrow, 0 elsewhere.
  int ArrowAt(TPoint client) const;
  TRect ArrowRect(int kind) const;
  void ScrollBy(int delta);

  // Runs the level until it closes; nested levels run inside.
  void MenuLoop();
  // Opens the hot item's submenu (the level stays in its loop meanwhile).
  void OpenHotSubmenu();
  // Ends this level and every level around it.
  void EndAllLevels();
  // The item or the level's root is being destroyed.
  void ItemDestroyed(TTeCustomItem& item);
  // The shown items changed.
  void ItemChanged(TTeCustomItem& item);

  // Every item repaint is counted, for the speed check of the hot item.
  static int& ItemPaintCount();
  // Every level open right now, outermost first; every level there is.
  static const std::vector<TTeItemView*>& OpenViews();
  static const std::vector<TTeItemView*>& AllViews();

  // --- the hooks, in slot order -----------------------------------------
  virtual void Resized() {}
  virtual void Moved() {}
  virtual void InvalidateAll();
  virtual void InvalidateItem(TTeCustomItem& item);
  virtual void InvalidateArrow(int kind);

 protected:
  void Notification(TComponent* component, TOperation operation) override;

 private:
  struct TSession;
  bool Selectable(const TTeCustomItem& item) const;
  std::vector<TTeCustomItem*> ShownItems() const;
  void StepHot(int step);
  void HotFirst();
  void HandleKey(unsigned key);
  void HandleChar(char32_t character);
  void PressEnter();
  void HandleMouseMove(TPoint screen);
  void HandleTimer(uintptr_t id);
  bool RootAlive() const { return root_ && !rootAlive_.expired(); }
  TRect ScreenRectOf(const TRect& client) const;
  // A button message the loop looked at; true when it took it from the queue.
  bool HandleButton(unsigned message, TPoint screen);
  TTeItemView* Outermost();
  TTeItemView* Deepest();
  bool ContainsScreenPoint(TPoint screen) const;
  void StartScrollTimer(int state);
  void StopScrollTimer();

  TTeCustomItem* root_ = nullptr;
  std::weak_ptr<const bool> rootAlive_;
  bool horizontal_;
  TTeCustomItem* hot_ = nullptr;
  bool tracking_ = false;
  bool openingSubmenu_ = false;
  bool submenuWasOpen_ = false;
  TCanvas* canvas_ = nullptr;
  TWinControl* host_ = nullptr;
  TTeItemView* parentView_ = nullptr;
  TTeItemView* childView_ = nullptr;
  TPoint origin_;
  TSize extent_;
  int scrollState_ = 0;
  bool scrolled_ = false;
  int shownCount_ = 0;
  int autoCount_ = 0;  // items shown at a time when too tall for the work area
  int maxHeight_ = 0;
  int barWidth_ = 0;
  bool leaveNow_ = false;
  std::shared_ptr<TSession> session_;
  bool scrollTimer_ = false;
  bool openTimer_ = false;
  // Set by a closing child level: step the hot item this way and open its submenu.
  int afterChildStep_ = 0;
  TPoint lastMouse_{-100000, -100000};
  std::shared_ptr<bool> alive_;
};

}  // namespace hv
