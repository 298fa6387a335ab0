#pragma once
// A windowless scroll bar that the engine draws itself: geometry and thumb
// arithmetic (scrollgeometry.h), mouse tracking with auto-repeat, and a
// plain look; TTeThemeScrollBar paints its elements through the style.

#include <memory>
#include <string>

#include "framework/scrolltypes.h"
#include "theme/controls/controlbase.h"
#include "theme/controls/themelink.h"
#include "theme/controls/scrollgeometry.h"
#include "theme/core/theme.h"

namespace hv {

class TTimer;
class TTeThemeEngine;

using TTeScrollEvent = TEvent<void(TObject* sender, TScrollCode code, int& position)>;

class TTeCustomScrollBar : public TTeGraphicControl {
  HV_CLASS(TTeCustomScrollBar, TTeGraphicControl)

 public:
  explicit TTeCustomScrollBar(TComponent* owner);
  ~TTeCustomScrollBar() override;

  int Position() const { return position_; }
  void SetPosition(int value);
  int Min() const { return min_; }
  void SetMin(int value);
  int Max() const { return max_; }
  void SetMax(int value);
  int PageSize() const { return pageSize_; }
  void SetPageSize(int value);
  TScrollBarKind Kind() const { return kind_; }
  void SetKind(TScrollBarKind value);
  int BorderWidth() const { return borderWidth_; }
  void SetBorderWidth(int value);
  bool ShowButtons() const { return showButtons_; }
  void SetShowButtons(bool value);
  int LargeChange() const { return largeChange_; }
  void SetLargeChange(int value);
  int SmallChange() const { return smallChange_; }
  void SetSmallChange(int value);

  bool AutoScrollBackward() const { return autoScrollBackward_; }
  void SetAutoScrollBackward(bool value);
  bool AutoScrollForward() const { return autoScrollForward_; }
  void SetAutoScrollForward(bool value);

  // Whether the thumb is being dragged, and by how far from its leading edge.
  bool Dragging() const { return dragOffset_ >= 0; }
  int DragOffset() const { return dragOffset_; }

  TNotifyEvent OnChange;
  TTeScrollEvent OnScroll;

  // Element rectangles and hit tests, in the bar's client coordinates.
  virtual int GetButtonSize() const;
  virtual int GetThumbSize() const;
  virtual TRect GetFirstButtonRect() const;
  virtual TRect GetSecondButtonRect() const;
  virtual TRect GetThumbRect() const;
  virtual TRect GetTrackRect() const;
  virtual TRect GetPageUpRect() const;
  virtual TRect GetPageDownRect() const;
  virtual bool IsOverFirstButton(int x, int y) const { return GetFirstButtonRect().Contains({x, y}); }
  virtual bool IsOverSecondButton(int x, int y) const { return GetSecondButtonRect().Contains({x, y}); }
  virtual bool IsOverThumb(int x, int y) const { return GetThumbRect().Contains({x, y}); }
  virtual bool IsOverPageUp(int x, int y) const { return GetPageUpRect().Contains({x, y}); }
  virtual bool IsOverPageDown(int x, int y) const { return GetPageDownRect().Contains({x, y}); }

  // One step as a key would make it (page, line, home, end); the repeat
  // timer steps through it too.
  void Step(unsigned virtualKey);

 protected:
  void PaintClient() override;
  virtual void PaintFirstButton();
  virtual void PaintSecondButton();
  virtual void PaintPageUpArea();
  virtual void PaintPageDownArea();
  virtual void PaintThumb();
  virtual void PaintTrack();
  virtual void PaintBorder();

  virtual void Change();
  virtual void Scroll(TScrollCode code, int& position);
  void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
  void MouseMove(TShiftState shift, int x, int y) override;
  void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
  void MouseLeave() override;
  void WndProc(TMessage& message) override;

  // The parts the mouse is over and the parts it went down on.
  bool firstButtonHot_ = false, secondButtonHot_ = false, thumbHot_ = false, pageUpHot_ = false,
       pageDownHot_ = false;
  bool firstButtonDown_ = false, secondButtonDown_ = false, pageUpDown_ = false, pageDownDown_ = false;
  bool FirstButtonPressedAndHot() const { return firstButtonDown_ && firstButtonHot_; }
  bool SecondButtonPressedAndHot() const { return secondButtonDown_ && secondButtonHot_; }
  bool PageUpPressedAndHot() const { return pageUpDown_ && pageUpHot_; }
  bool PageDownPressedAndHot() const { return pageDownDown_ && pageDownHot_; }
  bool ThumbShowable() const;
  TScrollBox Box() const;
  TScrollRange Range() const { return {min_, max_, pageSize_, position_}; }

 private:
  bool UpdateHotFlags(int x, int y);
  void StartRepeat(bool immediate);
  void StopRepeat();
  void RepeatTick();
  int AxisCoordinate(int x, int y) const { return kind_ == sbVertical ? y : x; }

  TPoint lastMouse_{-1, -1};
  std::unique_ptr<TTimer> repeatTimer_;
  int dragOffset_ = -1;
  int position_ = 0;
  int min_ = 0;
  int borderWidth_ = 1;
  int max_ = 100;
  int pageSize_ = 0;
  TScrollBarKind kind_ = sbHorizontal;
  bool showButtons_ = true;
  int largeChange_ = 1;
  int smallChange_ = 1;
  bool autoScrollBackward_ = false;
  bool autoScrollForward_ = false;
};

class TTeThemeScrollBar : public TTeCustomScrollBar {
  HV_CLASS(TTeThemeScrollBar, TTeCustomScrollBar)

 public:
  explicit TTeThemeScrollBar(TComponent* owner);
  ~TTeThemeScrollBar() override;

  HV_THEME_CONTROL_LINK

  int GetButtonSize() const override;
  int GetThumbSize() const override;

 protected:
  void Loaded() override;
  void Notification(TComponent* component, TOperation operation) override;
  void PaintClient() override;
  void PaintFirstButton() override;
  void PaintSecondButton() override;
  void PaintThumb() override;
  void PaintTrack() override;
  void PaintBorder() override;

 private:
  TTeElementState ButtonState(bool pressedAndHot, bool hot) const;
};

}  // namespace hv
