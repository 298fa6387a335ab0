#include "framework/timer.h"

#include <windows.h>

#include "framework/properties.h"
#include "framework/sysutils.h"
#include "framework/utilwindow.h"

namespace hv {

namespace {
constexpr UINT_PTR kTimerId = 1;
}

TTimer::TTimer(TComponent* owner) : TComponent(owner) {
  window_ = std::make_unique<TUtilWindow>([this](TMessage& message) {
    if (message.Msg == WM_TIMER) {
      Timer();
      return;
    }
    window_->Default(message);
  });
}

TTimer::~TTimer() {
  enabled_ = false;
  UpdateTimer();
}

void TTimer::SetEnabled(bool value) {
  if (value == enabled_) return;
  enabled_ = value;
  UpdateTimer();
}

void TTimer::SetInterval(int value) {
  if (value == interval_) return;
  interval_ = value;
  UpdateTimer();
}

void TTimer::SetOnTimer(TNotifyEvent handler) {
  onTimer_ = std::move(handler);
  UpdateTimer();
}

void TTimer::Loaded() {
  TComponent::Loaded();
  UpdateTimer();
}

void TTimer::UpdateTimer() {
  if (!window_ || IsLoading()) return;
  KillTimer(window_->Handle(), kTimerId);
  if (enabled_ && interval_ > 0 && onTimer_) {
    if (!SetTimer(window_->Handle(), kTimerId, static_cast<UINT>(interval_), nullptr))
      throw EOutOfResources("Not enough timers available");
  }
}

void TTimer::Timer() {
  if (onTimer_) onTimer_(this);
}

void TTimer::PublishProperties(TPropertyList& p) {
  p.Boolean("Enabled", &TTimer::Enabled, &TTimer::SetEnabled, true);
  p.Integer("Interval", &TTimer::Interval, &TTimer::SetInterval, 1000);
  p.Event("OnTimer", &TTimer::onTimer_);
}

}  // namespace hv
