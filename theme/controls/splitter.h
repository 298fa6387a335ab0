#pragma once
// A thin windowless bar aligned to one side of its parent that resizes the
// control aligned next to it when dragged: TTeCustomSplitter does the
// resizing and a plain look, TTeThemeSplitter paints through its engine's
// style. While a drag runs, the line where the edge will go is drawn over
// the parent (inverted, so that drawing it twice takes it away), or the
// neighbour follows the mouse at once (rsUpdate).

#include <cstdint>
#include <memory>

#include "framework/winhandles.h"
#include "theme/controls/splittermath.h"
#include "theme/controls/controlbase.h"
#include "theme/controls/themelink.h"

namespace hv {

class TCustomForm;

enum TResizeStyle : uint8_t { rsNone, rsLine, rsUpdate, rsPattern };

using TCanResizeEvent = TEvent<void(TObject* sender, int& newSize, bool& accept)>;

class TTeCustomSplitter : public TTeGraphicControl {
  HV_CLASS(TTeCustomSplitter, TTeGraphicControl)

 public:
  explicit TTeCustomSplitter(TComponent* owner);
  ~TTeCustomSplitter() override;

  bool AutoSnap() const { return autoSnap_; }
  void SetAutoSnap(bool value) { autoSnap_ = value; }
  bool Beveled() const { return beveled_; }
  void SetBeveled(bool value);
  int MinSize() const { return minSize_; }
  void SetMinSize(int value);
  TResizeStyle ResizeStyle() const { return resizeStyle_; }
  void SetResizeStyle(TResizeStyle value) { resizeStyle_ = value; }

  // The drag in progress: the control being resized (none when idle), the
  // size it will get and whether the line is on the screen.
  TControl* SizedControl() const { return sizedControl_; }
  int NewSize() const { return newSize_; }
  int MaxSize() const { return maxSize_; }
  bool LineVisible() const { return lineVisible_; }

  TCanResizeEvent OnCanResize;
  TNotifyEvent OnMoved;
  TNotifyEvent OnPaint;

 protected:
  void PaintClient() override;
  virtual bool CanResize(int newSize);
  virtual bool DoCanResize(int& newSize);
  virtual void StopSizing();

  void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
  void MouseMove(TShiftState shift, int x, int y) override;
  void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
  void MouseEnter() override;
  void MouseLeave() override;
  void RequestAlign() override;
  void Notification(TComponent* component, TOperation operation) override;

 private:
  class TLineDC;

  TControl* FindNeighbour() const;
  TSplitterStep StepFor(int x, int y) const;
  void DrawLine();
  void UpdateSize();
  void FocusKeyDown(TObject* sender, uint16_t& key, TShiftState shift);

  TWinControl* activeControl_ = nullptr;
  bool autoSnap_ = true;
  bool beveled_ = false;
  TControl* sizedControl_ = nullptr;
  TPoint downPos_;
  std::unique_ptr<TLineDC> lineDC_;
  bool lineVisible_ = false;
  int minSize_ = 30;
  int maxSize_ = 0;
  int newSize_ = 0;
  TKeyEvent oldKeyDown_;
  TKeyEvent retiredKeyDown_;  // the borrowing handler, kept until it has returned
  int oldSize_ = -1;
  TResizeStyle resizeStyle_ = rsPattern;
  int split_ = 0;
};

class TTeThemeSplitter : public TTeCustomSplitter {
  HV_CLASS(TTeThemeSplitter, TTeCustomSplitter)
  HV_THEME_CONTROL_LINK

 public:
  using TTeCustomSplitter::TTeCustomSplitter;

 protected:
  void PaintClient() override;
  void Notification(TComponent* component, TOperation operation) override;
};

}  // namespace hv
