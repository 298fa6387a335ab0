#pragma once
// A window timer as a component: OnTimer fires every Interval milliseconds
// while Enabled.

#include <memory>

#include "framework/component.h"
#include "framework/event.h"

namespace hv {

class TUtilWindow;

class TTimer : public TComponent {
  HV_CLASS(TTimer, TComponent)

 public:
  explicit TTimer(TComponent* owner);
  ~TTimer() override;

  bool Enabled() const { return enabled_; }
  void SetEnabled(bool value);
  int Interval() const { return interval_; }
  void SetInterval(int value);
  const TNotifyEvent& OnTimer() const { return onTimer_; }
  void SetOnTimer(TNotifyEvent handler);
  void Loaded() override;

 protected:
  virtual void Timer();

 private:
  void UpdateTimer();
  TNotifyEvent onTimer_;
  bool enabled_ = true;
  int interval_ = 1000;
  std::unique_ptr<TUtilWindow> window_;
};

}  // namespace hv
