#pragma once
// Window hooks: components that see every message of a windowed control they
// do not own, before and after the control's own window procedure. However
// many hooks attach to a control, its window is subclassed once (by a
// TControlHook); the process-wide THookList keeps those and does the work that
// must wait until no window procedure of theirs is running.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "framework/component.h"
#include "framework/winhandles.h"

namespace hv {

class TControlHook;
class TCustomForm;
class TUtilWindow;
class TWinControl;

// Deferred work of the hook list, posted to its window with the control hook
// in lParam.
constexpr uint32_t WM_HOOK_REINSTALL = 0xB0DE;
constexpr uint32_t WM_HOOK_RELEASE = 0xB0DF;

class TTeHook : public TComponent {
  HV_CLASS(TTeHook, TComponent)

 public:
  explicit TTeHook(TComponent* owner);
  ~TTeHook() override;

  // True: attached whenever a control is set.
  bool Active() const { return active_; }
  void SetActive(bool value);
  TWinControl* Control() const;
  void SetControl(TWinControl* value);
  // The control's window, made when it does not exist yet; none without a control.
  HWND Handle() const;
  // The hooked control when it is a form.
  TCustomForm* Form() const;
  TControlHook* ControlHook() const { return controlHook_; }

  // Keeps the message being delivered from the control's own procedure and
  // from the hooks attached before this one.
  void MarkHandled() { handled_ = true; }
  bool Handled() const { return handled_; }

 protected:
  friend class TControlHook;
  // After the control's own procedure has run (not for handled messages).
  virtual void AfterMessage(TMessage& message);
  // Before the control's procedure: hands the message to Dispatch, where a
  // subclass handles the numbers it cares about and may call MarkHandled.
  virtual void BeforeMessage(TMessage& message, bool& handled);
  void Notification(TComponent* component, TOperation operation) override;
  // Active was switched by its setter (not by a change of control).
  virtual void ActiveChanged() {}

 private:
  void Switch(bool value);
  void Attach();
  void Detach();

  bool active_ = true;
  TWinControl* control_ = nullptr;
  // The same control as the component whose destruction we hear of: by then
  // only its component part is left to compare with.
  TComponent* controlComponent_ = nullptr;
  TControlHook* controlHook_ = nullptr;
  bool handled_ = false;
};

struct THookProcSlot;

// One per hooked control: owns the subclassing of the control's window and
// the hooks attached to it, in order of attachment.
class TControlHook {
 public:
  TControlHook() = default;
  ~TControlHook();
  TControlHook(const TControlHook&) = delete;
  TControlHook& operator=(const TControlHook&) = delete;

  TWinControl* Control() const { return control_; }
  void SetControl(TWinControl* control);
  void AddHook(TTeHook* hook);
  void RemoveHook(TTeHook* hook);
  int HookCount() const { return static_cast<int>(hooks_.size()); }
  TTeHook* Hooks(int index) const { return hooks_.at(static_cast<size_t>(index)); }

  // Subclasses the control's window (making it first when needed); harmless
  // when this object already subclasses that window.
  void Install();
  // Gives the window back its previous procedure, unless somebody subclassed
  // it after us: then the chain is left alone and our procedure stays in it,
  // passing every message straight on.
  void Uninstall();
  bool Installed() const { return slot_ != nullptr; }
  // Whether a message of the control is being delivered through this object
  // right now; it must not be freed meanwhile.
  bool Busy() const { return busy_ > 0; }

 private:
  friend struct HookProcAccess;
  friend class THookList;
  enum class TPass { Before, After };
  void WindowProcedure(HWND wnd, void* previous, TMessage& message);
  void Pass(TPass pass, TMessage& message, bool& handled);
  bool Reachable() const;

  TWinControl* control_ = nullptr;
  THookProcSlot* slot_ = nullptr;  // our place in the window's chain while installed
  std::vector<TTeHook*> hooks_;    // not owned
  bool destroying_ = false;
  int busy_ = 0;
  bool releasePending_ = false;  // a release arrived while busy
};

// The process-wide list of control hooks, with a hidden window that receives
// the deferred reinstall and release requests.
class THookList {
 public:
  THookList();
  ~THookList();
  THookList(const THookList&) = delete;
  THookList& operator=(const THookList&) = delete;

  int Count() const { return static_cast<int>(items_.size()); }
  TControlHook* Items(int index) const { return items_.at(static_cast<size_t>(index)).get(); }
  bool Contains(const TControlHook* hook) const;
  TControlHook* FindHook(const TWinControl* control) const;
  TControlHook* GetHook(TWinControl* control);
  // Forgets a control hook that is being destroyed.
  void Remove(TControlHook* hook);
  // Takes a control hook out of the list, to free it.
  std::unique_ptr<TControlHook> Take(TControlHook* hook);
  HWND Handle() const;
  void Post(uint32_t msg, TControlHook* hook) const;

 private:
  void WndProc(TMessage& message);
  void Release(TControlHook* hook);

  std::vector<std::unique_ptr<TControlHook>> items_;
  std::unique_ptr<TUtilWindow> window_;
};

// The global hook list, or none before the first hook attached.
THookList* HookList();
THookList& HookListNeeded();
// Frees the global hook list and whatever control hooks it still holds; runs
// by itself at program end.
void FinalizeHooks();
// How many places in window chains the hooks hold right now, forwarders
// included; for tests that look for leaks.
int HookProcSlotsInUse();

}  // namespace hv
