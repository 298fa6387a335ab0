#pragma once
// A bar of panels along the bottom of a form. Each panel shows a text and
// an image of the bar's image list, or is drawn by the program, or holds a
// child control; panels give way or stretch by priorities when the bar is
// too narrow or too wide. A size grip in the bar's bottom-right corner
// sizes the form, through its themed frame when it has one.
// TTeCustomStatusBar lays out, answers the mouse and paints a plain look;
// TTeThemeStatusBar paints background, panels and grip through its
// engine's style. The bar's frame is the control base's.
//
// statuspanel.cpp holds the panels and their collection, statusbar.cpp the
// bar's layout and mouse, statusbarpaint.cpp its painting.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "framework/collection.h"
#include "framework/extctrls.h"
#include "theme/controls/controlbase.h"
#include "theme/controls/statuslayout.h"
#include "theme/controls/themelink.h"
#include "theme/core/sizegrip.h"

namespace hv {

class TCustomImageList;
class TTeCustomStatusBar;
class TTeStatusPanels;

enum TTeStatusGliphLayout : uint8_t { sglGlyphLeft, sglGlyphRight };
enum TTeStatusPanelstyle : uint8_t { psText, psOwnerDraw };

class TTeStatusPanel : public TPersistent {
  HV_CLASS(TTeStatusPanel, TPersistent)

 public:
  explicit TTeStatusPanel(TTeStatusPanels* collection);
  ~TTeStatusPanel() override;

  TAlignment Alignment() const { return alignment_; }
  void SetAlignment(TAlignment value);
  int ImageIndex() const { return imageIndex_; }
  void SetImageIndex(int value);
  bool Framed() const { return framed_; }
  void SetFramed(bool value);
  TControl* Control() const { return control_; }
  void SetControl(TControl* value);
  TTeStatusGliphLayout Layout() const { return layout_; }
  void SetLayout(TTeStatusGliphLayout value);
  int Margin() const { return margin_; }
  void SetMargin(int value);
  int MaxWidth() const { return maxWidth_; }
  void SetMaxWidth(int value);
  int Spacing() const { return spacing_; }
  void SetSpacing(int value);
  int ViewPriority() const { return viewPriority_; }
  void SetViewPriority(int value);
  int StretchPriority() const { return stretchPriority_; }
  void SetStretchPriority(int value);
  TTeStatusPanelstyle Style() const { return style_; }
  void SetStyle(TTeStatusPanelstyle value);
  bool ShowImage() const { return showImage_; }
  void SetShowImage(bool value);
  const std::string& Text() const { return text_; }
  void SetText(const std::string& value);
  int Width() const { return width_; }
  void SetWidth(int value);

  // What the last layout gave the panel.
  int AssignedWidth() const { return place_.assignedWidth; }
  bool PanelVisible() const { return place_.visible; }
  int PanelLeft() const { return place_.left; }
  int PanelRight() const { return place_.right; }
  int EffectiveWidth() const { return std::min(maxWidth_, place_.assignedWidth); }

  int Index() const;
  TTeStatusPanels* Collection() const { return collection_; }
  TTeCustomStatusBar* StatusBar() const;
  // Its text, else the name of its control in brackets.
  std::string DisplayName() const;
  void Assign(const TPersistent* source) override;

 private:
  friend class TTeCustomStatusBar;
  // An appearance change repaints the panel; a layout change lays the bar out.
  void Changed(bool layout);

  TTeStatusPanels* collection_;
  TAlignment alignment_ = TAlignment::taLeftJustify;
  int imageIndex_ = -1;
  bool framed_ = true;
  TControl* control_ = nullptr;
  TTeStatusGliphLayout layout_ = sglGlyphLeft;
  int margin_ = 2;
  int maxWidth_ = 10000;
  int spacing_ = 4;
  int viewPriority_ = 100;
  int stretchPriority_ = 0;
  TTeStatusPanelstyle style_ = psText;
  bool showImage_ = true;
  std::string text_;
  int width_ = 50;
  TStatusPanelPlace place_;
};

// Makes a panel of some class for a collection.
using TTeStatusPanelClass = std::unique_ptr<TTeStatusPanel> (*)(TTeStatusPanels* collection);

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

class TTeCustomStatusBar : public TTeCustomControl, public TTeSizeGripOwner {
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
  friend class TTeStatusPanel;
  friend class TTeStatusPanels;
  void LayoutPanels();
  void PanelChanged(TTeStatusPanel* panel, bool layout);
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
