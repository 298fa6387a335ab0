#pragma once
// A menu bar control: the top-level items of a menu tree in a row (wrapped
// onto more rows when the bar is narrow), each opening its children as a
// popup level. The keyboard reaches it through the form frame (Alt, F10,
// Alt+letter) and the bar answers the form's short cuts. On an MDI parent
// it carries the caption buttons of a maximized child. TTeThemeMenuBar
// paints the bar and its items through its engine's style.

#include <array>
#include <memory>

#include "theme/controls/controlbase.h"
#include "theme/controls/themelink.h"
#include "theme/core/themeitems.h"
#include "theme/frame/itemview.h"

namespace hv {

class TCustomImageList;
class TTeCustomForm;
class TTeCustomMenuBar;
class TTePopupMenuOptions;

// The row of a menu bar: its extent sizes the bar.
class TTeMenuBarView : public TTeItemView {
  HV_CLASS_NO_PROPERTIES(TTeMenuBarView, TTeItemView)

 public:
  explicit TTeMenuBarView(TComponent* owner) : TTeItemView(owner, true) {}
  void SetBar(TTeCustomMenuBar* value) { bar_ = value; }
  void Resized() override;

 private:
  TTeCustomMenuBar* bar_ = nullptr;
};

class TTeCustomMenuBar : public TTeCustomControl {
  HV_CLASS(TTeCustomMenuBar, TTeCustomControl)

 public:
  explicit TTeCustomMenuBar(TComponent* owner);
  ~TTeCustomMenuBar() override;

  // --- published --------------------------------------------------------
  bool AutoSize() const { return autoSize_; }
  void SetAutoSize(bool value);
  TCustomImageList* Images() const { return Items()->Images(); }
  void SetImages(TCustomImageList* value) { Items()->SetImages(value); }
  // The root item; its children are the bar's items.
  TTeCustomItem* Items() const;
  TTePopupMenuOptions* PopupMenuOptions() const { return options_.get(); }
  void SetPopupMenuOptions(const TTePopupMenuOptions* value);
  bool ShowBevel() const { return showBevel_; }
  void SetShowBevel(bool value);

  // --- what the frame and the form call ---------------------------------
  // Keyboard activation: the first item is hot and the arrows, Enter and
  // the accelerators work the menus until Escape or a choice ends them.
  void EnterMenuLoop();
  // A key message of the form (WM_KEYDOWN, WM_SYSKEYDOWN): runs the item
  // with that short cut; whether one had it.
  bool IsShortCut(const TMessage& message);
  // The caption buttons of a maximized MDI child, acting on its frame.
  void ShowMDIButtons(TTeCustomForm* childFrame);
  void HideMDIButtons();
  // The items standing for a child's caption buttons (none on a bar whose
  // form is no MDI parent): system menu, minimize, restore, close.
  TTeCustomItem* MdiButton(TTeItemButtonKind kind) const;

  TTeItemView* View() const { return view_; }
  // Where the items lie in the bar's client area.
  virtual TRect ItemArea() const;
  // Lays the items out again (after a change of size, style or direction).
  void Relayout();

  void Loaded() override;
  void SetBounds(int left, int top, int width, int height) override;

 protected:
  // The class of the root and of the MDI button items.
  virtual std::unique_ptr<TTeCustomItem> CreateItem() const;
  void WndProc(TMessage& message) override;
  void PaintClient() override;
  // The background under the items, and the line that parts the bar from
  // what lies below (or above) it, with the rectangle each takes.
  virtual void PaintBarBackground(TCanvas& canvas);
  virtual TRect BevelRect() const;
  virtual void PaintBevel(TCanvas& canvas, const TRect& rect);
  void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
  void MouseMove(TShiftState shift, int x, int y) override;
  void MouseLeave() override;
  void Notification(TComponent* component, TOperation operation) override;
  // Before a menu opens: the tree's options, owner and look follow the bar.
  virtual void PrepareItems();

 private:
  friend class TTeMenuBarView;
  void ViewResized();
  void RunMenuLoop(bool openHot);
  void AddMdiButtons();
  void MdiButtonClick(TTeCustomItem* item);
  bool DialogChar(const TMessage& message);

  mutable std::unique_ptr<TTeCustomItem> items_;
  std::unique_ptr<TTePopupMenuOptions> options_;
  TTeMenuBarView* view_ = nullptr;
  std::array<TTeCustomItem*, 4> mdiButtons_{};
  bool autoSize_ = true;
  bool showBevel_ = false;
  bool sizing_ = false;
};

class TTeThemeMenuBar : public TTeCustomMenuBar {
  HV_CLASS(TTeThemeMenuBar, TTeCustomMenuBar)
  HV_THEME_CONTROL_LINK

 public:
  using TTeCustomMenuBar::TTeCustomMenuBar;
  ~TTeThemeMenuBar() override;

  // With a style the items take the whole bar.
  TRect ItemArea() const override;

 protected:
  std::unique_ptr<TTeCustomItem> CreateItem() const override;
  void PaintBarBackground(TCanvas& canvas) override;
  void Notification(TComponent* component, TOperation operation) override;
  void PrepareItems() override;
};

}  // namespace hv
