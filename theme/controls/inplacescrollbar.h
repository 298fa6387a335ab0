#pragma once
// Themed scroll bars laid over an ordinary window's system scroll bars: the
// window keeps scrolling itself, while what the user sees and drags is a
// bar that the engine paints. TTeInplaceScrollBar covers one system bar;
// TTeSubScrollBar owns the vertical and horizontal ones of a target and
// hands them the target's messages.

#include <functional>

#include "framework/scrolltypes.h"
#include "framework/wincontrol.h"

namespace hv {

class TTeCustomScrollBar;

// Makes the bar an in-place bar holds, owned by that in-place bar.
using TTeScrollBarFactory = std::function<TTeCustomScrollBar*(TComponent* owner)>;

class TTeInplaceScrollBar : public TWinControl {
  HV_CLASS_NO_PROPERTIES(TTeInplaceScrollBar, TWinControl)

 public:
  TTeInplaceScrollBar(TComponent* owner, TTeScrollBarFactory factory = {});
  ~TTeInplaceScrollBar() override;

  TTeCustomScrollBar* Bar() const { return bar_; }
  TWinControl* Target() const { return target_; }
  void SetTarget(TWinControl* value);
  bool Vertical() const;
  void SetVertical(bool value);

  // Follows the target's system bar: place, visibility and scroll state.
  void Sync();
  // The target's messages that concern the bar: the four that make it sync,
  // and the target's visibility change.
  void HandleTargetMessage(const TMessage& message);

 protected:
  void CreateParams(TCreateParams& params) override;
  void WndProc(TMessage& message) override;
  void Notification(TComponent* component, TOperation operation) override;
  virtual void ScrollHandler(TObject* sender, TScrollCode code, int& position);

 private:
  bool TargetUsable() const;

  TTeCustomScrollBar* bar_ = nullptr;  // owned as a component
  TWinControl* target_ = nullptr;
};

class TTeSubScrollBar : public TComponent {
  HV_CLASS_NO_PROPERTIES(TTeSubScrollBar, TComponent)

 public:
  TTeSubScrollBar(TComponent* owner, TWinControl* target, TTeScrollBarFactory factory);
  ~TTeSubScrollBar() override;

  TWinControl* Target() const { return target_; }
  // Detaches both bars from their parent when the target goes.
  void SetTarget(TWinControl* value);
  TTeInplaceScrollBar* VerticalBar() const { return verticalBar_; }
  TTeInplaceScrollBar* HorizontalBar() const { return horizontalBar_; }

  // The bars become children of `parent` (the target's parent), so that they
  // lie over the target's own bars.
  void SetParent(TWinControl* parent);
  void HandleMessage(const TMessage& message);

 protected:
  void Notification(TComponent* component, TOperation operation) override;

 private:
  TWinControl* target_ = nullptr;
  TTeInplaceScrollBar* verticalBar_ = nullptr;    // owned as components
  TTeInplaceScrollBar* horizontalBar_ = nullptr;
};

}  // namespace hv
