#pragma once
// One panel of a status bar: what it shows (a text, an image of the bar's
// image list, or a control placed into it), how it is framed and how wide it
// wants to be. The styles paint panels; the status bar (theme/controls) owns
// them, lays them out and hears of their changes through
// TTeStatusPanelOwner.

#include <algorithm>
#include <cstdint>
#include <string>

#include "framework/component.h"
#include "framework/extctrls.h"

namespace hv {

class TControl;
class TTeStatusPanel;

enum TTeStatusGliphLayout : uint8_t { sglGlyphLeft, sglGlyphRight };
enum TTeStatusPanelstyle : uint8_t { psText, psOwnerDraw };

// What a panel tells the bar it belongs to.
class TTeStatusPanelOwner {
 public:
  virtual ~TTeStatusPanelOwner() = default;
  // An appearance change repaints the panel; a layout change lays the bar out.
  virtual void StatusPanelChanged(TTeStatusPanel* panel, bool layout) = 0;
  // The panel takes the control: any other panel holding it lets it go.
  virtual void StatusPanelTakesControl(TTeStatusPanel* panel, TControl* control) = 0;
  virtual int StatusPanelIndex(const TTeStatusPanel* panel) const = 0;

 protected:
  TTeStatusPanelOwner() = default;
  TTeStatusPanelOwner(const TTeStatusPanelOwner&) = default;
  TTeStatusPanelOwner& operator=(const TTeStatusPanelOwner&) = default;
};

class TTeStatusPanel : public TPersistent {
  HV_CLASS(TTeStatusPanel, TPersistent)

 public:
  // A panel outside a bar has neither.
  explicit TTeStatusPanel(TControl* statusBar = nullptr, TTeStatusPanelOwner* owner = nullptr);
  ~TTeStatusPanel() override;

  // The bar the panel belongs to; none for a panel outside a bar.
  TControl* StatusBar() const { return statusBar_; }

  TAlignment Alignment() const { return alignment_; }
  void SetAlignment(TAlignment value);
  int ImageIndex() const { return imageIndex_; }
  void SetImageIndex(int value);
  bool Framed() const { return framed_; }
  void SetFramed(bool value);
  TControl* Control() const { return control_; }
  // Raises EInvalidOperation "Can't insert own parent" for the bar itself
  // or one of its parents.
  void SetControl(TControl* value);
  TTeStatusGliphLayout Layout() const { return layout_; }
  void SetLayout(TTeStatusGliphLayout value);
  int Margin() const { return margin_; }
  void SetMargin(int value);
  int MaxWidth() const { return maxWidth_; }
  void SetMaxWidth(int value);
  int Spacing() const { return spacing_; }
  void SetSpacing(int value);
  // Percentages, 0 to 100.
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
  // Kept within 0 ... MaxWidth.
  int Width() const { return width_; }
  void SetWidth(int value);

  // What the bar's last layout gave the panel.
  int AssignedWidth() const { return assignedWidth_; }
  bool PanelVisible() const { return panelVisible_; }
  int PanelLeft() const { return panelLeft_; }
  int PanelRight() const { return panelRight_; }
  int EffectiveWidth() const { return std::min(maxWidth_, assignedWidth_); }
  void SetPlace(int assignedWidth, bool visible, int left, int right);

  int Index() const { return owner_ ? owner_->StatusPanelIndex(this) : -1; }
  // Its text, else the name of its control in brackets.
  std::string DisplayName() const;
  // From another panel every value, the control looked up by name among the
  // components of this bar's owner.
  void Assign(const TPersistent* source) override;

  // For the bar: lets go of the control without telling anyone.
  void ForgetControl() { control_ = nullptr; }

 private:
  void Changed(bool layout);

  TControl* statusBar_;
  TTeStatusPanelOwner* owner_;
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
  int assignedWidth_ = 50;
  bool panelVisible_ = false;
  int panelLeft_ = 0;
  int panelRight_ = 0;
};

}  // namespace hv
