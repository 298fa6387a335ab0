#pragma once
// The system tree view with a themed border, background and scroll bars.
// Items, lines, buttons, images, selection and keyboard stay the system
// control's; the border is painted in the non-client area, the background
// on erase, and two in-place bars lie over the system scroll bars.

#include <memory>
#include <string>

#include "framework/treeview.h"
#include "theme/controls/themelink.h"

namespace hv {

class TCanvas;
class TTeCustomScrollBar;
class TTeSubScrollBar;

class TTeCustomTreeView : public TTreeView {
  HV_CLASS_NO_PROPERTIES(TTeCustomTreeView, TTreeView)

 public:
  explicit TTeCustomTreeView(TComponent* owner);
  ~TTeCustomTreeView() override;

  // Made on first use, once construction is over, so that the bars it
  // holds come from the most derived CreateInplaceScrollBar.
  TTeSubScrollBar* SubScrollBars();
  void SetParent(TWinControl* parent) override;

 protected:
  virtual TTeCustomScrollBar* CreateInplaceScrollBar(TComponent* owner);
  virtual void PaintBackground(TCanvas& canvas, const TRect& rect);
  virtual void PaintBorder(TCanvas& canvas, const TRect& rect);
  virtual void MouseEnter() {}
  virtual void MouseLeave() {}
  // The bars were just made: a subclass hands them what they need.
  virtual void SubScrollBarsCreated() {}

  void WndProc(TMessage& message) override;

  // The visual-style state of the frame and background: disabled, focused,
  // hot or normal.
  int ElementState() const;

 private:
  void WMEraseBkgnd(TMessage& message);
  void WMNCPaint(TMessage& message);

  std::unique_ptr<TTeSubScrollBar> subScrollBars_;
};

class TTeThemeSTreeView : public TTeCustomTreeView {
  HV_CLASS(TTeThemeSTreeView, TTeCustomTreeView)

 public:
  explicit TTeThemeSTreeView(TComponent* owner);
  ~TTeThemeSTreeView() override;

  HV_THEME_CONTROL_LINK

 protected:
  TTeCustomScrollBar* CreateInplaceScrollBar(TComponent* owner) override;
  void PaintBackground(TCanvas& canvas, const TRect& rect) override;
  void PaintBorder(TCanvas& canvas, const TRect& rect) override;
  void Notification(TComponent* component, TOperation operation) override;
  void SubScrollBarsCreated() override;

 private:
  void PassEngineToBars();
};

}  // namespace hv
