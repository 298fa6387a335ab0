#pragma once
// The application object: its hidden window, the main form, the message
// loop, and the one place where exceptions that escape a window procedure
// are reported.

#include <exception>
#include <memory>
#include <string>

#include "framework/component.h"
#include "framework/event.h"
#include "framework/winhandles.h"

namespace hv {

class TCustomForm;
class TIcon;
class TUtilWindow;

using TExceptionEvent = TEvent<void(TObject* sender, const std::exception& error)>;

class TApplication : public TComponent {
  HV_CLASS_NO_PROPERTIES(TApplication, TComponent)

 public:
  explicit TApplication(TComponent* owner);
  ~TApplication() override;

  // Common controls, OLE, and the hidden window.
  void Initialize();

  // Creates a form owned by the application and loads its stored layout;
  // the first form created becomes the main form.
  template <class T>
  T* CreateForm() {
    T* form = TComponent::Create<T>(this);
    try {
      FormCreated(form);
    } catch (...) {
      form->Free();
      throw;
    }
    return form;
  }

  // Shows the main form and runs the message loop until Terminate.
  void Run();
  // Handles every message waiting in the queue, then returns.
  void ProcessMessages();
  // Waits for one message (running idle work first when there is none).
  void HandleMessage();
  void Terminate();
  bool Terminated() const { return terminated_; }

  TCustomForm* MainForm() const { return mainForm_; }
  HWND Handle() const;
  const std::string& Title() const { return title_; }
  void SetTitle(const std::string& value);
  TIcon* Icon() const { return icon_.get(); }

  // Reports the exception being handled (call it inside a catch block):
  // OnException when assigned, otherwise a message box with its message.
  void HandleException(TObject* sender);
  void ShowException(const std::exception& error);
  TExceptionEvent OnException;

  // The hint of what the mouse or the keyboard points at (a menu item's).
  const std::string& Hint() const { return hint_; }
  void SetHint(const std::string& value);
  TNotifyEvent OnHint;

  void Minimize();
  void Restore();
  bool Minimized() const { return minimized_; }
  TNotifyEvent OnMinimize;
  TNotifyEvent OnRestore;
  TNotifyEvent OnIdle;

 protected:
  void Notification(TComponent* component, TOperation operation) override;

 private:
  void FormCreated(TCustomForm* form);
  bool ProcessMessage();
  void Idle();
  void WndProc(TMessage& message);

  std::unique_ptr<TUtilWindow> window_;
  std::unique_ptr<TIcon> icon_;
  TCustomForm* mainForm_ = nullptr;
  std::string title_;
  std::string hint_;
  bool terminated_ = false;
  bool minimized_ = false;
  bool initialized_ = false;
};

// The process-wide application object, made on first use.
TApplication* Application();
// Frees every form and the application's window; the program calls it once
// its message loop has ended.
void FinalizeApplication();

}  // namespace hv
