#include "framework/utilwindow.h"

#include <windows.h>

#include "framework/application.h"
#include "framework/sysutils.h"

namespace hv {

struct UtilWindowAccess {
  static LRESULT CALLBACK Procedure(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    auto* window = reinterpret_cast<TUtilWindow*>(GetWindowLongPtrW(wnd, GWLP_USERDATA));
    if (!window || !window->procedure_) return DefWindowProcW(wnd, msg, wParam, lParam);
    TMessage message{msg, wParam, lParam, 0};
    try {
      window->procedure_(message);
    } catch (...) {
      Application()->HandleException(nullptr);
    }
    return message.Result;
  }
};

namespace {
constexpr wchar_t kClassName[] = L"THvUtilWindow";

void RegisterUtilClass() {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof(wc);
  HINSTANCE instance = GetModuleHandleW(nullptr);
  if (GetClassInfoExW(instance, kClassName, &wc)) return;
  wc.cbSize = sizeof(wc);
  wc.lpfnWndProc = &UtilWindowAccess::Procedure;
  wc.hInstance = instance;
  wc.lpszClassName = kClassName;
  RegisterClassExW(&wc);
}
}  // namespace

TUtilWindow::TUtilWindow(Procedure procedure, const wchar_t* title) : procedure_(std::move(procedure)) {
  RegisterUtilClass();
  // A hidden top-level popup rather than a message-only window: broadcasts
  // such as setting changes reach it too.
  handle_ = CreateWindowExW(WS_EX_TOOLWINDOW, kClassName, title, WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                            GetModuleHandleW(nullptr), nullptr);
  if (!handle_) throw EOutOfResources("Cannot create a utility window");
  SetWindowLongPtrW(handle_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

TUtilWindow::~TUtilWindow() {
  if (handle_) {
    SetWindowLongPtrW(handle_, GWLP_USERDATA, 0);
    DestroyWindow(handle_);
  }
}

void TUtilWindow::Default(TMessage& message) const {
  message.Result = DefWindowProcW(handle_, message.Msg, message.WParam, message.LParam);
}

}  // namespace hv
