#include "framework/application.h"

#include <objbase.h>
#include <windows.h>
#include <commctrl.h>

#include "framework/forms.h"
#include "framework/graphics.h"
#include "framework/starttrace.h"
#include "framework/sysutils.h"
#include "framework/utilwindow.h"
#include "framework/winstring.h"

namespace hv {

namespace {
std::unique_ptr<TApplication>& ApplicationSlot() {
  static std::unique_ptr<TApplication> application;
  return application;
}
}  // namespace

TApplication* Application() {
  auto& slot = ApplicationSlot();
  if (!slot) slot = std::make_unique<TApplication>(nullptr);
  return slot.get();
}

void FinalizeApplication() {
  auto& slot = ApplicationSlot();
  if (slot) slot->DestroyComponents();
}

TApplication::TApplication(TComponent* owner) : TComponent(owner), icon_(std::make_unique<TIcon>()) {
  wchar_t path[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring name = path;
  size_t slash = name.find_last_of(L"\\/:");
  if (slash != std::wstring::npos) name = name.substr(slash + 1);
  size_t dot = name.find_last_of(L'.');
  if (dot != std::wstring::npos) name = name.substr(0, dot);
  title_ = Narrow(name);
}

TApplication::~TApplication() {
  Destroying();
  DestroyComponents();
  if (initialized_) OleUninitialize();
}

void TApplication::Initialize() {
  if (initialized_) return;
  initialized_ = true;
  INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&icc);
  OleInitialize(nullptr);
  window_ = std::make_unique<TUtilWindow>([this](TMessage& message) { WndProc(message); },
                                          Widen(title_).c_str());
}

HWND TApplication::Handle() const { return window_ ? window_->Handle() : nullptr; }

void TApplication::SetTitle(const std::string& value) {
  if (value == title_) return;
  title_ = value;
  if (window_) SetWindowTextW(window_->Handle(), Widen(value).c_str());
}

void TApplication::FormCreated(TCustomForm* form) {
  if (!mainForm_) {
    mainForm_ = form;
    FreeNotification(form);
  }
  form->LoadFromLayout();
}

void TApplication::Notification(TComponent* component, TOperation operation) {
  TComponent::Notification(component, operation);
  if (operation == TOperation::opRemove && component == mainForm_) mainForm_ = nullptr;
}

void TApplication::Run() {
  try {
    StartupMark("showing the main window");
    if (mainForm_) mainForm_->Show();
    StartupMark("main window shown");
  } catch (...) {
    HandleException(this);
  }
  while (!terminated_) {
    try {
      HandleMessage();
    } catch (...) {
      HandleException(this);
    }
  }
}

bool TApplication::ProcessMessage() {
  MSG msg{};
  if (!PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) return false;
  if (msg.message == WM_QUIT) {
    terminated_ = true;
    return true;
  }
  if (IsKeyMsg(msg)) return true;
  TranslateMessage(&msg);
  DispatchMessageW(&msg);
  return true;
}

bool TApplication::IsKeyMsg(const tagMSG& msg) {
  if (msg.message != WM_KEYDOWN && msg.message != WM_SYSKEYDOWN && msg.message != WM_SYSCHAR) return false;
  if (!msg.hwnd) return false;
  auto* form = dynamic_cast<TCustomForm*>(TWinControl::FindControl(GetAncestor(msg.hwnd, GA_ROOT)));
  if (!form) return false;
  TMessage message{msg.message, msg.wParam, msg.lParam, 0};
  return msg.message == WM_SYSCHAR ? form->DialogChar(message) : form->IsShortCut(message);
}

void TApplication::ProcessMessages() {
  while (ProcessMessage()) {
  }
}

void TApplication::HandleMessage() {
  if (!ProcessMessage()) {
    Idle();
    if (!terminated_) WaitMessage();
  }
}

void TApplication::Idle() {
  // The mouse may have left a window without a message to say so (another
  // window popped up over it): check what is under it now.
  POINT p{};
  if (GetCursorPos(&p)) {
    HWND wnd = WindowFromPoint(p);
    TControl* over = nullptr;
    if (TWinControl* control = TWinControl::FindControl(wnd)) {
      ScreenToClient(wnd, &p);
      over = control->ControlAtPos({p.x, p.y});
      if (!over) over = control;
    }
    if (!TControl::CaptureControl()) TControl::UpdateMouseControl(over);
  }
  if (OnIdle) OnIdle(this);
}

void TApplication::Terminate() {
  if (terminated_) return;
  terminated_ = true;
  PostQuitMessage(0);
}

void TApplication::HandleException(TObject* sender) {
  std::exception_ptr current = std::current_exception();
  if (!current) return;
  try {
    std::rethrow_exception(current);
  } catch (const std::exception& error) {
    if (OnException) OnException(sender, error);
    else ShowException(error);
  } catch (...) {
    Exception unknown("Unknown exception");
    if (OnException) OnException(sender, unknown);
    else ShowException(unknown);
  }
}

void TApplication::ShowException(const std::exception& error) {
  std::string text = error.what();
  if (!text.empty() && text.back() != '.') text += '.';
  HWND owner = mainForm_ && mainForm_->HandleAllocated() ? mainForm_->HandleIfAllocated() : nullptr;
  MessageBoxW(owner, Widen(text).c_str(), Widen(title_).c_str(), MB_OK | MB_ICONSTOP | MB_TASKMODAL);
}

void TApplication::SetHint(const std::string& value) {
  if (hint_ == value) return;
  hint_ = value;
  if (OnHint) OnHint(this);
}

void TApplication::Minimize() {
  if (minimized_) return;
  minimized_ = true;
  if (mainForm_ && mainForm_->HandleAllocated()) ShowWindow(mainForm_->HandleIfAllocated(), SW_MINIMIZE);
  if (OnMinimize) OnMinimize(this);
}

void TApplication::Restore() {
  if (!minimized_) return;
  minimized_ = false;
  if (mainForm_ && mainForm_->HandleAllocated()) ShowWindow(mainForm_->HandleIfAllocated(), SW_RESTORE);
  if (OnRestore) OnRestore(this);
}

void TApplication::WndProc(TMessage& message) {
  switch (message.Msg) {
    case WM_ENDSESSION:
      if (message.WParam) Terminate();
      return;
    case WM_SYSCOLORCHANGE:
    case WM_SETTINGCHANGE:
      for (int i = ComponentCount() - 1; i >= 0; --i)
        if (auto* form = dynamic_cast<TCustomForm*>(Components(i))) form->Perform(CM_SYSCOLORCHANGE);
      break;
    default:
      break;
  }
  window_->Default(message);
}

}  // namespace hv
