#include "theme/frame/hooks.h"

#include <windows.h>

#include <algorithm>
#include <array>
#include <utility>

#include "framework/application.h"
#include "framework/forms.h"
#include "framework/sysutils.h"
#include "framework/utilwindow.h"
#include "framework/wincontrol.h"

namespace hv {

// A place in one window's procedure chain. Each installation takes a fresh
// one with a procedure of its own, so that a window whose chain we had to
// leave alone (somebody subclassed it after us) can be subclassed again
// without the two places mistaking each other. A place outlives its control
// hook while the chain still leads to it, and then only passes messages on.
struct THookProcSlot {
  HWND wnd = nullptr;
  WNDPROC previous = nullptr;
  TControlHook* owner = nullptr;  // none once uninstalled
  int depth = 0;                  // deliveries through this place now on the stack
  bool inUse = false;
  bool inChain = false;  // the window's chain may still call this place's procedure
};

namespace {

// Window procedures cannot carry data, so each place has a procedure of its
// own from a fixed table. The table's size bounds how many windows can be
// hooked at once, far beyond what one program's forms need.
constexpr size_t kSlotCount = 256;
std::array<THookProcSlot, kSlotCount> gSlots;

std::unique_ptr<THookList> gHookList;

// Program end frees the list like any other shared object of the library; a
// program that finished the hooks itself leaves nothing for this to do.
struct THookListFinalizer {
  ~THookListFinalizer() { FinalizeHooks(); }
} gFinalizer;

}  // namespace

struct HookProcAccess {
  static LRESULT Deliver(THookProcSlot& slot, HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (!slot.inUse) return DefWindowProcW(wnd, msg, wParam, lParam);
    ++slot.depth;
    TMessage message{msg, wParam, lParam, 0};
    if (TControlHook* owner = slot.owner) {
      try {
        owner->WindowProcedure(wnd, reinterpret_cast<void*>(slot.previous), message);
      } catch (...) {
        Application()->HandleException(nullptr);
      }
    } else {
      message.Result = CallWindowProcW(slot.previous, wnd, msg, wParam, lParam);
    }
    --slot.depth;
    if (msg == WM_NCDESTROY) {
      if (slot.owner) {
        slot.owner->slot_ = nullptr;
        slot.owner = nullptr;
      }
      slot.inChain = false;
    }
    ReleaseIfIdle(slot);
    return message.Result;
  }

  static void ReleaseIfIdle(THookProcSlot& slot) {
    if (slot.inUse && !slot.owner && !slot.inChain && slot.depth == 0) slot = THookProcSlot{};
  }
};

namespace {

template <size_t N>
LRESULT CALLBACK SlotProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  return HookProcAccess::Deliver(gSlots[N], wnd, msg, wParam, lParam);
}

template <size_t... N>
constexpr std::array<WNDPROC, sizeof...(N)> MakeSlotProcs(std::index_sequence<N...>) {
  return {{&SlotProc<N>...}};
}

constexpr std::array<WNDPROC, kSlotCount> kSlotProcs = MakeSlotProcs(std::make_index_sequence<kSlotCount>{});

WNDPROC ProcOf(const THookProcSlot& slot) { return kSlotProcs[static_cast<size_t>(&slot - gSlots.data())]; }

THookProcSlot& AcquireSlot() {
  for (THookProcSlot& slot : gSlots)
    if (!slot.inUse) return slot;
  throw EOutOfResources("Too many hooked windows");
}

}  // namespace

// --- TTeHook ---------------------------------------------------------------

TTeHook::TTeHook(TComponent* owner) : TComponent(owner) {}

TTeHook::~TTeHook() {
  Destroying();
  DestroyComponents();
  SetActive(false);
  SetControl(nullptr);
}

void TTeHook::SetActive(bool value) {
  if (value == active_) return;
  Switch(value);
  ActiveChanged();
}

void TTeHook::Switch(bool value) {
  if (value) {
    Attach();
    active_ = true;
  } else {
    Detach();
    active_ = false;
  }
}

TWinControl* TTeHook::Control() const {
  if (controlHook_) return controlHook_->Control();
  return control_;
}

void TTeHook::SetControl(TWinControl* value) {
  if (value == control_) return;
  bool wasActive = active_;
  if (wasActive) Switch(false);
  if (controlComponent_) RemoveFreeNotification(controlComponent_);
  control_ = value;
  controlComponent_ = value;
  if (value) FreeNotification(value);
  if (wasActive) Switch(true);
}

HWND TTeHook::Handle() const {
  TWinControl* control = Control();
  return control ? control->Handle() : nullptr;
}

TCustomForm* TTeHook::Form() const { return dynamic_cast<TCustomForm*>(Control()); }

void TTeHook::Attach() {
  if (!control_ || IsDestroying() || controlHook_) return;
  TControlHook* hook = HookListNeeded().GetHook(control_);
  try {
    hook->AddHook(this);
  } catch (...) {
    // A window that cannot be subclassed leaves the hook detached, not half attached.
    Detach();
    throw;
  }
}

void TTeHook::Detach() {
  TControlHook* hook = controlHook_;
  if (!hook) return;
  hook->RemoveHook(this);
  // The control hook may be delivering the message that detached us: it is
  // freed later, from the hook list's window.
  if (hook->HookCount() == 0)
    if (THookList* list = HookList()) list->Post(WM_HOOK_RELEASE, hook);
}

void TTeHook::AfterMessage(TMessage&) {}

void TTeHook::BeforeMessage(TMessage& message, bool& handled) {
  // A handler may send the window another message; that delivery must not
  // change what this one has decided.
  bool outer = handled_;
  handled_ = handled;
  try {
    Dispatch(message);
  } catch (...) {
    handled = handled_;
    handled_ = outer;
    throw;
  }
  handled = handled_;
  handled_ = outer;
}

void TTeHook::Notification(TComponent* component, TOperation operation) {
  TComponent::Notification(component, operation);
  if (operation != TOperation::opRemove || !component || component != controlComponent_) return;
  // The control is being destroyed: its window is gone already, and neither
  // the control hook nor this hook may reach the control again.
  if (controlHook_) controlHook_->SetControl(nullptr);
  SetControl(nullptr);
}

void TTeHook::PublishProperties(TPropertyList& p) { p.Boolean("Active", &TTeHook::Active, &TTeHook::SetActive, true); }

// --- TControlHook ----------------------------------------------------------

TControlHook::~TControlHook() {
  destroying_ = true;
  if (THookList* list = HookList()) list->Remove(this);
  while (!hooks_.empty()) RemoveHook(hooks_.back());
  Uninstall();
  control_ = nullptr;
}

void TControlHook::SetControl(TWinControl* control) {
  if (control == control_) return;
  Uninstall();
  control_ = control;
  if (!hooks_.empty()) Install();
}

void TControlHook::AddHook(TTeHook* hook) {
  if (std::find(hooks_.begin(), hooks_.end(), hook) == hooks_.end()) {
    hooks_.push_back(hook);
    hook->controlHook_ = this;
    SetControl(hook->control_);
  }
  Install();
}

void TControlHook::RemoveHook(TTeHook* hook) {
  hook->controlHook_ = nullptr;
  hooks_.erase(std::remove(hooks_.begin(), hooks_.end(), hook), hooks_.end());
  if (hooks_.empty()) Uninstall();
}

void TControlHook::Install() {
  if (!control_ || destroying_ || hooks_.empty()) return;
  if (control_->IsDesigning() || control_->IsDestroying()) return;
  HWND wnd = control_->Handle();
  if (slot_) {
    // Still in this window's chain, at the top or below somebody who came
    // later: subclassing again would make the chain call us twice.
    if (slot_->wnd == wnd && IsWindow(wnd)) return;
    Uninstall();
  }
  THookProcSlot& slot = AcquireSlot();
  auto previous = reinterpret_cast<WNDPROC>(GetWindowLongPtrW(wnd, GWLP_WNDPROC));
  if (!previous) throw EOSError("Cannot read the window procedure of a hooked window");
  slot.inUse = true;
  slot.inChain = true;
  slot.wnd = wnd;
  slot.previous = previous;
  slot.owner = this;
  slot_ = &slot;
  SetWindowLongPtrW(wnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(ProcOf(slot)));
}

void TControlHook::Uninstall() {
  if (!slot_) return;
  THookProcSlot& slot = *slot_;
  slot_ = nullptr;
  slot.owner = nullptr;
  if (!IsWindow(slot.wnd)) {
    slot.inChain = false;
  } else if (GetWindowLongPtrW(slot.wnd, GWLP_WNDPROC) == reinterpret_cast<LONG_PTR>(ProcOf(slot))) {
    SetWindowLongPtrW(slot.wnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(slot.previous));
    slot.inChain = false;
  }
  HookProcAccess::ReleaseIfIdle(slot);
}

void TControlHook::WindowProcedure(HWND wnd, void* previousProc, TMessage& message) {
  auto previous = reinterpret_cast<WNDPROC>(previousProc);
  ++busy_;
  struct TLeave {
    TControlHook* self;
    ~TLeave() {
      if (--self->busy_ > 0 || !self->releasePending_) return;
      self->releasePending_ = false;
      if (THookList* list = HookList(); list && list->Contains(self)) list->Post(WM_HOOK_RELEASE, self);
    }
  } leave{this};

  if (!control_) {
    message.Result = CallWindowProcW(previous, wnd, message.Msg, message.WParam, message.LParam);
    return;
  }
  bool handled = false;
  if (message.Msg != WM_QUIT) Pass(TPass::Before, message, handled);
  if (!handled || message.Msg == WM_DESTROY) {
    message.Result = CallWindowProcW(previous, wnd, message.Msg, message.WParam, message.LParam);
    Pass(TPass::After, message, handled);
  }
  if (message.Msg == WM_DESTROY) {
    Uninstall();
    // A window that goes while its control stays is being made again (a
    // style change): hook the new one once it exists.
    THookList* list = HookList();
    if (list && !destroying_ && control_ && !control_->IsDestroying() && list->Contains(this))
      list->Post(WM_HOOK_REINSTALL, this);
  }
}

void TControlHook::Pass(TPass pass, TMessage& message, bool& handled) {
  for (size_t i = hooks_.size(); i-- > 0;) {
    // Hooks may leave, or the control go, while a hook handles the message.
    if (!control_ || destroying_ || control_->IsDestroying()) return;
    if (i >= hooks_.size()) continue;
    TTeHook* hook = hooks_[i];
    try {
      if (pass == TPass::Before)
        hook->BeforeMessage(message, handled);
      else
        hook->AfterMessage(message);
    } catch (...) {
      Application()->HandleException(hook);
    }
    if (handled) return;
  }
}

// --- THookList -------------------------------------------------------------

THookList::THookList()
    : window_(std::make_unique<TUtilWindow>([this](TMessage& message) { WndProc(message); }, L"THookList")) {}

THookList::~THookList() {
  // Each control hook leaves the list before it goes.
  while (!items_.empty()) {
    std::unique_ptr<TControlHook> last = std::move(items_.back());
    items_.pop_back();
  }
}

bool THookList::Contains(const TControlHook* hook) const {
  return hook && std::any_of(items_.begin(), items_.end(), [hook](const auto& item) { return item.get() == hook; });
}

TControlHook* THookList::FindHook(const TWinControl* control) const {
  if (!control) return nullptr;
  for (const auto& hook : items_)
    if (hook->Control() == control) return hook.get();
  return nullptr;
}

TControlHook* THookList::GetHook(TWinControl* control) {
  if (TControlHook* found = FindHook(control)) return found;
  TControlHook* hook = items_.emplace_back(std::make_unique<TControlHook>()).get();
  try {
    hook->SetControl(control);
  } catch (...) {
    Take(hook);
    throw;
  }
  return hook;
}

void THookList::Remove(TControlHook* hook) {
  // The control hook is going already: only its entry leaves.
  for (auto& item : items_)
    if (item.get() == hook) item.release();
  std::erase(items_, nullptr);
}

std::unique_ptr<TControlHook> THookList::Take(TControlHook* hook) {
  std::unique_ptr<TControlHook> taken;
  for (auto& item : items_)
    if (item.get() == hook) taken = std::move(item);
  std::erase(items_, nullptr);
  return taken;
}

HWND THookList::Handle() const { return window_->Handle(); }

void THookList::Post(uint32_t msg, TControlHook* hook) const {
  PostMessageW(window_->Handle(), msg, 0, reinterpret_cast<LPARAM>(hook));
}

void THookList::WndProc(TMessage& message) {
  // lParam may name a control hook freed since the request was posted:
  // nothing of it is touched unless the list still holds it.
  auto* hook = reinterpret_cast<TControlHook*>(message.LParam);
  switch (message.Msg) {
    case WM_HOOK_REINSTALL:
      if (Contains(hook)) hook->Install();
      return;
    case WM_HOOK_RELEASE:
      if (Contains(hook) && hook->HookCount() == 0) Release(hook);
      return;
    default:
      window_->Default(message);
  }
}

void THookList::Release(TControlHook* hook) {
  // A nested message loop inside one of its deliveries (a hook that pumps
  // messages) can bring the request here early; it is posted again once the
  // delivery is over.
  if (hook->Busy()) {
    hook->releasePending_ = true;
    return;
  }
  Take(hook);
}

THookList* HookList() { return gHookList.get(); }

THookList& HookListNeeded() {
  if (!gHookList) gHookList = std::make_unique<THookList>();
  return *gHookList;
}

void FinalizeHooks() {
  // Control hooks being freed must not find the list they are leaving.
  std::unique_ptr<THookList> doomed = std::move(gHookList);
}

int HookProcSlotsInUse() {
  return static_cast<int>(std::count_if(gSlots.begin(), gSlots.end(), [](const THookProcSlot& s) { return s.inUse; }));
}

}  // namespace hv
