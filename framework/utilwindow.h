#pragma once
// A hidden message-only window whose procedure is a function object: the
// application, timers and the hook list use one each to receive private
// messages, timer ticks and deferred work.

#include <functional>

#include "framework/object.h"
#include "framework/winhandles.h"

namespace hv {

class TUtilWindow {
 public:
  using Procedure = std::function<void(TMessage&)>;

  // The procedure sees every message; what it does not handle it passes to
  // Default. Exceptions go to the application's exception handler.
  explicit TUtilWindow(Procedure procedure, const wchar_t* title = L"");
  ~TUtilWindow();
  TUtilWindow(const TUtilWindow&) = delete;
  TUtilWindow& operator=(const TUtilWindow&) = delete;

  HWND Handle() const { return handle_; }
  void Default(TMessage& message) const;

 private:
  friend struct UtilWindowAccess;
  HWND handle_ = nullptr;
  Procedure procedure_;
};

}  // namespace hv
