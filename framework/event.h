#pragma once
// Events: a handler plus the name it was bound by, so that a stored layout
// can be written back with the same handler names.

#include <functional>
#include <string>
#include <utility>

namespace hv {

template <class Signature>
class TEvent;

template <class R, class... Args>
class TEvent<R(Args...)> {
 public:
  using Handler = std::function<R(Args...)>;

  TEvent() = default;
  TEvent(Handler handler, std::string name = {}) : handler_(std::move(handler)), name_(std::move(name)) {}
  template <class F, class = std::enable_if_t<std::is_invocable_r_v<R, F, Args...> &&
                                              !std::is_same_v<std::decay_t<F>, TEvent>>>
  TEvent(F&& f) : handler_(std::forward<F>(f)) {}

  explicit operator bool() const { return static_cast<bool>(handler_); }
  R operator()(Args... args) const { return handler_(std::forward<Args>(args)...); }

  const Handler& GetHandler() const { return handler_; }
  const std::string& Name() const { return name_; }
  void Clear() {
    handler_ = nullptr;
    name_.clear();
  }

 private:
  Handler handler_;
  std::string name_;
};

class TObject;
using TNotifyEvent = TEvent<void(TObject* sender)>;

}  // namespace hv
