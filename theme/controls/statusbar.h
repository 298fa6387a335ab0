#pragma once
// A bar of panels (statuspanel.h) along the bottom of a form. Each panel shows a text and
// an image of the bar's image list, or is drawn by the program, or holds a
// child control; panels give way or stretch by priorities when the bar is
// too narrow or too wide. A size grip in the bar's bottom-right corner
// sizes the form, through its themed frame when it has one.
// TTeCustomStatusBar lays out, answers the mouse and paints a plain look;
// TTeThemeStatusBar paints background, panels and grip through its
// engine's style. The bar's frame is the control base's.
//
// statuspanel.cpp holds the panels' collection, statusbar.cpp the bar's
// layout and mouse, statusbarpaint.cpp its painting.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "framework/collection.h"
#include "theme/controls/controlbase.h"
#include "theme/controls/statuslayout.h"
#include "theme/controls/themelink.h"
#include "theme/core/sizegrip.h"
#include "theme/core/statuspanel.h"

namespace hv {

class TCustomImageList;
class TTeCustomStatusBar;
class TTeStatusPanels;

// Makes a panel of some class for a bar.
using TTeStatusPanelClass = std::unique_ptr<TTeStatusPanel> (*)(TTeCustomStatusBar* bar);

class TTeStatusPanels : public TCollection {
  HV_CLASS_NO_PROPERTIES(TTeStatusPanels, TCollection)

 public:
  explicit TTeStatusPanels(TTeCustomStatusBar* bar);
  ~TTeStatusPanels() override;

  int Count() const override { return static_cast<int>(items_.size()); }
  TPersistent* Item(int index) const override { return Items(index); }
  TPersistent* AddItem() override { return Add(); }
  void Clear() override;
  void BeginUpdate() override { ++updateCount_; }
  void EndUpdate() override;

  TTeStatusPanel* Items(int index) const;
  TTeStatusPanel* Add();
  // Frees the panel at index.
  void Delete(int index);
  int IndexOf(const TTeStatusPanel* panel) const;
  TTeCustomStatusBar* StatusBar() const { return bar_; }
  bool Updating() const { return updateCount_ > 0; }

 private:
  friend class TTeCustomStatusBar;
  void Changed();

  TTeCustomStatusBar* bar_;
  std::vector<std::unique_ptr<TTeStatusPanel>> items_;
  int updateCount_ = 0;
};

using TTePanelEvent = TEvent<void(TObject* sender, TTeStatusPanel* panel)>;
using TTeDrawPanelEvent = TEvent<void(TTeCustomStatusBar* bar, TTeStatusPanel* panel, const TRect& rect)>;
using TTeCreatePanelClassEvent = TEvent<void(TObject* sender, TTeStatusPanelClass& panelClass)>;

class TTeCustomStatusBar : public TTeCustomControl, public TTeSizeGripOwner, public TTeStatusPanelOwner {
  HV_CLASS(TTeCustomStatusBar, TTeCustomControl)

 public:
  explicit TTeCustomStatusBar(TComponent* owner);
  ~TTeCustomStatusBar() override;

  TTeStatusPanels* Panels() const { return panels_.get(); }
  TCustomImageList* Images() const { return images_; }
  void SetImages(TCustomImageList* value);
  bool SizeGrip() const { return sizeGrip_; }
  void SetSizeGrip(bool value);
  TTeStatusPanel* ClickedPanel() const { return clickedPanel_; }

  // The panel under a point of the bar, or none.
  TTeStatusPanel* PanelAt(TPoint p) const;
  // Lays the panels out again and repaints the bar.
  void UpdatePanels();

  // What the themed frame asks: whether the grip is shown and where.
  bool SizeGripShown() const override;
  TRect SizeGripRect() const override;

  void Loaded() override;

  TTePanelEvent OnPanelClick;
  TTePanelEvent OnPanelDblClick;
  TTeDrawPanelEvent OnDrawPanel;
  TTeCreatePanelClassEvent OnCreatePanelClass;

 protected:
  void WndProc(TMessage& message) override;
  void Notification(TComponent* component, TOperation operation) override;
  void Resize() override;
  void DblClick() override;
  void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
  void MouseMove(TShiftState shift, int x, int y) override;
  void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
  void AlignControls(TControl* control, TRect& rect) override;
  void PaintClient() override;
  void PaintFrame() override;

  virtual std::unique_ptr<TTeStatusPanel> CreatePanel();
  virtual void GetPanelGlyphRect(TTeStatusPanel* panel, TRect& rect);
  virtual void GetPanelImageSize(TTeStatusPanel* panel, TSize& size);
  virtual void GetPanelTextSize(TTeStatusPanel* panel, TSize& size);
  virtual void GetPanelTextRect(TTeStatusPanel* panel, TRect& rect);
  virtual void GetSizeGripRect(TRect& rect) const;
  virtual void GetPanelContentRect(TTeStatusPanel* panel, TRect& rect);
  virtual void DrawPanelImage(TTeStatusPanel* panel, const TRect& rect);
  virtual void DrawPanelText(TTeStatusPanel* panel, const TRect& rect);
  virtual void DrawPanel(TTeStatusPanel* panel, const TRect& rect, bool isLast);
  virtual void PaintSizeGrip();
  virtual void PaintPanel(int index);
  virtual void PaintBackground();
  virtual void GetPanelRect(int index, TRect& rect) const;
  virtual void PanelClick(TTeStatusPanel* panel);
  virtual void PanelDblClick(TTeStatusPanel* panel);
  virtual void DrawPanelEvent(TTeStatusPanel* panel, const TRect& rect);

  // The rectangle the panels cover, from the first's left to the last's right.
  TRect PanelArea() const;
  bool ValidImage(const TTeStatusPanel* panel) const;
  // Draws what the panel shows (owner drawn, or text and image) into rect.
  void DrawPanelContent(TTeStatusPanel* panel, const TRect& rect);

 private:
  friend class TTeStatusPanels;
  void LayoutPanels();
  std::vector<TStatusPanelPlace> Places() const;
  void StatusPanelChanged(TTeStatusPanel* panel, bool layout) override;
  void StatusPanelTakesControl(TTeStatusPanel* panel, TControl* control) override;
  int StatusPanelIndex(const TTeStatusPanel* panel) const override;
  void RepaintPanel(TTeStatusPanel* panel);
  void PanelGoing(TTeStatusPanel* panel);
  void ControlListChange(TControl* control, bool inserting);

  std::unique_ptr<TTeStatusPanels> panels_;
  TCustomImageList* images_ = nullptr;
  bool sizeGrip_ = true;
  TTeStatusPanel* clickedPanel_ = nullptr;
  bool placingControls_ = false;
};

class TTeThemeStatusBar : public TTeCustomStatusBar {
  HV_CLASS(TTeThemeStatusBar, TTeCustomStatusBar)
  HV_THEME_CONTROL_LINK

 public:
  using TTeCustomStatusBar::TTeCustomStatusBar;

 protected:
  void DrawPanel(TTeStatusPanel* panel, const TRect& rect, bool isLast) override;
  void PaintSizeGrip() override;
  void PaintBackground() override;
  void Notification(TComponent* component, TOperation operation) override;
};

}  // namespace hv
