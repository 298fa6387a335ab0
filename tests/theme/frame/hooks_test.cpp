#include "theme/frame/hooks.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "framework/filer.h"
#include "framework/forms.h"
#include "framework/sysutils.h"
#include "tests/support/win_test.h"

namespace hv {
namespace {

constexpr UINT kProbe = WM_APP + 1;
constexpr UINT kOther = WM_APP + 2;
constexpr LRESULT kFormResult = 7;
constexpr LRESULT kHookResult = 42;

std::vector<std::string> gLog;

std::string MessageName(uint32_t msg) {
  if (msg == WM_QUIT) return "quit";
  if (msg == WM_DESTROY) return "destroy";
  return msg == kProbe ? "probe" : "other";
}

bool Watched(uint32_t msg) { return msg == kProbe || msg == kOther || msg == WM_QUIT || msg == WM_DESTROY; }

class TRecordingForm : public TForm {
 public:
  explicit TRecordingForm(TComponent* owner) : TForm(owner) { SetFormBorderStyle(TFormBorderStyle::bsNone); }

 protected:
  void WndProc(TMessage& message) override {
    if (Watched(message.Msg)) gLog.push_back("form " + MessageName(message.Msg));
    if (message.Msg == kProbe) {
      message.Result = kFormResult;
      return;
    }
    TForm::WndProc(message);
  }
};

// Handles messages the way the frame does: in Dispatch, by number.
class TProbeHook : public TTeHook {
 public:
  explicit TProbeHook(TComponent* owner, std::string name = "hook") : TTeHook(owner), name_(std::move(name)) {}

  std::set<uint32_t> handles;  // marked handled, with kHookResult
  uint32_t throwBefore = 0;
  uint32_t throwAfter = 0;
  std::function<void(TMessage&)> before;  // extra work while a message is delivered

 protected:
  void Dispatch(TMessage& message) override {
    if (Watched(message.Msg)) gLog.push_back(name_ + " before " + MessageName(message.Msg));
    if (handles.count(message.Msg)) {
      message.Result = kHookResult;
      MarkHandled();
    }
    if (before && message.Msg == kProbe) before(message);
    if (message.Msg == throwBefore) throw Exception(name_ + " failed before");
    TTeHook::Dispatch(message);
  }

  void AfterMessage(TMessage& message) override {
    if (Watched(message.Msg)) gLog.push_back(name_ + " after " + MessageName(message.Msg));
    if (message.Msg == throwAfter) throw Exception(name_ + " failed after");
  }

 private:
  std::string name_;
};

using Log = std::vector<std::string>;

WNDPROC gForeignPrevious = nullptr;
LRESULT CALLBACK ForeignProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (Watched(msg)) gLog.push_back("foreign " + MessageName(msg));
  return CallWindowProcW(gForeignPrevious, wnd, msg, wParam, lParam);
}

class HookTest : public ::testing::Test {
 protected:
  void SetUp() override {
    gLog.clear();
    form = std::make_unique<TRecordingForm>(nullptr);
    classProc = GetClassLongPtrW(form->Handle(), GCLP_WNDPROC);
  }

  void TearDown() override {
    hooks.clear();
    if (form) {
      ShowWindow(form->Handle(), SW_HIDE);
      form.reset();
    }
    test::PumpMessages();
    // Every test leaves the process as it found it: no control hook, and no
    // place in any window's chain.
    EXPECT_TRUE(!HookList() || HookList()->Count() == 0);
    EXPECT_EQ(HookProcSlotsInUse(), 0);
  }

  TProbeHook* Hook(const std::string& name) {
    hooks.push_back(std::make_unique<TProbeHook>(nullptr, name));
    hooks.back()->SetControl(form.get());
    return hooks.back().get();
  }

  LRESULT Send(UINT msg) {
    gLog.clear();
    return SendMessageW(form->Handle(), msg, 0, 0);
  }
  LONG_PTR Proc() const { return GetWindowLongPtrW(form->Handle(), GWLP_WNDPROC); }

  std::unique_ptr<TRecordingForm> form;
  std::vector<std::unique_ptr<TProbeHook>> hooks;
  LONG_PTR classProc = 0;
};

TEST_F(HookTest, HooksShareOneSubclassingAndTheLastAttachedSeesMessagesFirst) {
  TProbeHook* first = Hook("h1");
  LONG_PTR hooked = Proc();
  EXPECT_NE(hooked, classProc);
  TProbeHook* second = Hook("h2");
  EXPECT_EQ(Proc(), hooked);
  ASSERT_NE(HookList(), nullptr);
  EXPECT_EQ(HookList()->Count(), 1);
  TControlHook* controlHook = HookList()->FindHook(form.get());
  ASSERT_NE(controlHook, nullptr);
  EXPECT_EQ(controlHook->HookCount(), 2);
  EXPECT_EQ(first->ControlHook(), controlHook);
  EXPECT_EQ(second->ControlHook(), controlHook);
  EXPECT_EQ(HookProcSlotsInUse(), 1);

  EXPECT_EQ(Send(kProbe), kFormResult);
  EXPECT_EQ(gLog, (Log{"h2 before probe", "h1 before probe", "form probe", "h2 after probe", "h1 after probe"}));
}

TEST_F(HookTest, HandledHidesTheMessageFromEarlierHooksAndTheControl) {
  TProbeHook* first = Hook("h1");
  TProbeHook* second = Hook("h2");
  second->handles = {kProbe};
  EXPECT_EQ(Send(kProbe), kHookResult);
  EXPECT_EQ(gLog, (Log{"h2 before probe"}));

  second->handles.clear();
  first->handles = {kProbe};
  EXPECT_EQ(Send(kProbe), kHookResult);
  EXPECT_EQ(gLog, (Log{"h2 before probe", "h1 before probe"}));

  // Each message is decided afresh.
  EXPECT_EQ(Send(kOther), 0);
  EXPECT_EQ(gLog, (Log{"h2 before other", "h1 before other", "form other", "h2 after other", "h1 after other"}));
}

TEST_F(HookTest, QuitSkipsTheBeforePass) {
  TProbeHook* first = Hook("h1");
  first->handles = {WM_QUIT};
  Hook("h2");
  Send(WM_QUIT);
  EXPECT_EQ(gLog, (Log{"form quit", "h2 after quit", "h1 after quit"}));
}

TEST_F(HookTest, RecreatedWindowLosesTheHookUntilThePostedReinstall) {
  TProbeHook* hook = Hook("h1");
  hook->handles = {WM_DESTROY};
  HWND old = form->Handle();
  gLog.clear();
  form->RecreateWnd();
  ASSERT_NE(form->Handle(), old);
  // Destruction reaches the form even though the hook claimed the message.
  ASSERT_FALSE(gLog.empty());
  EXPECT_EQ(gLog.front(), "h1 before destroy");
  EXPECT_NE(std::find(gLog.begin(), gLog.end(), "form destroy"), gLog.end());

  EXPECT_EQ(Proc(), classProc);
  EXPECT_EQ(Send(kProbe), kFormResult);
  EXPECT_EQ(gLog, (Log{"form probe"}));

  test::PumpMessages();
  EXPECT_NE(Proc(), classProc);
  EXPECT_EQ(Send(kProbe), kFormResult);
  EXPECT_EQ(gLog, (Log{"h1 before probe", "form probe", "h1 after probe"}));
  EXPECT_EQ(HookList()->Count(), 1);
  EXPECT_EQ(HookProcSlotsInUse(), 1);
}

TEST_F(HookTest, DeactivatingRestoresTheProcedureAtOnceAndFreesTheControlHookLater) {
  TProbeHook* hook = Hook("h1");
  hook->SetActive(false);
  EXPECT_EQ(Proc(), classProc);
  EXPECT_EQ(hook->ControlHook(), nullptr);
  EXPECT_EQ(hook->Control(), form.get());
  ASSERT_EQ(HookList()->Count(), 1);
  EXPECT_EQ(HookList()->Items(0)->HookCount(), 0);
  EXPECT_EQ(Send(kProbe), kFormResult);
  EXPECT_EQ(gLog, (Log{"form probe"}));
  test::PumpMessages();
  EXPECT_EQ(HookList()->Count(), 0);

  // A hook that comes back before the release is handled keeps its control hook.
  hook->SetActive(true);
  TControlHook* controlHook = hook->ControlHook();
  hook->SetActive(false);
  hook->SetActive(true);
  test::PumpMessages();
  EXPECT_EQ(hook->ControlHook(), controlHook);
  EXPECT_EQ(HookList()->Count(), 1);
  EXPECT_NE(Proc(), classProc);

  // Requests naming control hooks the list does not hold are ignored.
  PostMessageW(HookList()->Handle(), WM_HOOK_RELEASE, 0, 0x1230);
  PostMessageW(HookList()->Handle(), WM_HOOK_REINSTALL, 0, 0x1230);
  test::PumpMessages();
  EXPECT_EQ(HookList()->Count(), 1);
  // A request for a control hook that still has hooks frees nothing.
  PostMessageW(HookList()->Handle(), WM_HOOK_RELEASE, 0, reinterpret_cast<LPARAM>(controlHook));
  test::PumpMessages();
  EXPECT_EQ(HookList()->Count(), 1);
  EXPECT_EQ(Send(kProbe), kFormResult);
  EXPECT_EQ(gLog.size(), 3u);
}

TEST_F(HookTest, AForeignSubclassAfterOursIsLeftAlone) {
  TProbeHook* hook = Hook("h1");
  gForeignPrevious = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrW(form->Handle(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&ForeignProc)));
  EXPECT_EQ(Send(kProbe), kFormResult);
  EXPECT_EQ(gLog, (Log{"foreign probe", "h1 before probe", "form probe", "h1 after probe"}));

  hook->SetActive(false);
  EXPECT_EQ(Proc(), reinterpret_cast<LONG_PTR>(&ForeignProc));
  EXPECT_EQ(Send(kProbe), kFormResult);
  EXPECT_EQ(gLog, (Log{"foreign probe", "form probe"}));

  // Hooked again over the foreign procedure: the hook sees each message
  // once, although our earlier place is still in the chain.
  hook->SetActive(true);
  EXPECT_NE(Proc(), reinterpret_cast<LONG_PTR>(&ForeignProc));
  EXPECT_EQ(HookProcSlotsInUse(), 2);
  EXPECT_EQ(Send(kProbe), kFormResult);
  EXPECT_EQ(gLog, (Log{"h1 before probe", "foreign probe", "form probe", "h1 after probe"}));

  hook->SetActive(false);
  EXPECT_EQ(Proc(), reinterpret_cast<LONG_PTR>(&ForeignProc));
  EXPECT_EQ(HookProcSlotsInUse(), 1);
  // The place left in the chain goes with the window (TearDown checks).
}

TEST_F(HookTest, ExceptionsInHooksAreReportedAndTheWindowGoesOn) {
  Hook("h1");
  TProbeHook* second = Hook("h2");
  second->throwBefore = kProbe;
  EXPECT_EQ(Send(kProbe), kFormResult);
  EXPECT_EQ(test::TakeReportedExceptions(), (Log{"h2 failed before"}));
  EXPECT_EQ(gLog, (Log{"h2 before probe", "h1 before probe", "form probe", "h2 after probe", "h1 after probe"}));

  second->throwBefore = 0;
  second->throwAfter = kProbe;
  EXPECT_EQ(Send(kProbe), kFormResult);
  EXPECT_EQ(test::TakeReportedExceptions(), (Log{"h2 failed after"}));
  EXPECT_EQ(gLog.back(), "h1 after probe");

  // What a failing handler decided before it failed still counts.
  second->throwAfter = 0;
  second->throwBefore = kProbe;
  second->handles = {kProbe};
  EXPECT_EQ(Send(kProbe), kHookResult);
  EXPECT_EQ(test::TakeReportedExceptions(), (Log{"h2 failed before"}));
  EXPECT_EQ(gLog, (Log{"h2 before probe"}));

  second->throwBefore = 0;
  second->handles.clear();
  EXPECT_EQ(Send(kProbe), kFormResult);
  EXPECT_EQ(gLog.size(), 5u);
}

TEST_F(HookTest, AMessageSentFromAHandlerDoesNotUndoTheOuterDecision) {
  TProbeHook* hook = Hook("h1");
  HWND wnd = form->Handle();
  hook->before = [hook, wnd](TMessage&) {
    hook->MarkHandled();
    SendMessageW(wnd, kOther, 0, 0);
    EXPECT_TRUE(hook->Handled());
  };
  EXPECT_EQ(Send(kProbe), 0);  // handled: the form's answer never came
  EXPECT_EQ(gLog, (Log{"h1 before probe", "h1 before other", "form other", "h1 after other"}));
}

TEST_F(HookTest, ARequestedReleaseWaitsForTheDeliveryOnTheStack) {
  TProbeHook* hook = Hook("h1");
  hook->before = [hook](TMessage&) {
    hook->SetActive(false);
    test::PumpMessages();  // the release arrives here, inside the delivery
    ASSERT_NE(HookList(), nullptr);
    EXPECT_EQ(HookList()->Count(), 1);
  };
  EXPECT_EQ(Send(kProbe), kFormResult);
  EXPECT_EQ(gLog, (Log{"h1 before probe", "form probe"}));
  EXPECT_EQ(Proc(), classProc);
  test::PumpMessages();
  EXPECT_EQ(HookList()->Count(), 0);
}

TEST_F(HookTest, AControlDestroyedUnderItsHooksLeavesThemDetached) {
  TProbeHook* first = Hook("h1");
  TProbeHook* second = Hook("h2");
  second->handles = {WM_DESTROY};
  HWND wnd = form->Handle();
  form.reset();
  EXPECT_FALSE(IsWindow(wnd));
  for (TProbeHook* hook : {first, second}) {
    EXPECT_EQ(hook->Control(), nullptr);
    EXPECT_EQ(hook->ControlHook(), nullptr);
    EXPECT_EQ(hook->Handle(), nullptr);
    EXPECT_TRUE(hook->Active());
  }
  test::PumpMessages();
  EXPECT_EQ(HookList()->Count(), 0);

  // Still active: a new control is hooked at once.
  form = std::make_unique<TRecordingForm>(nullptr);
  first->SetControl(form.get());
  EXPECT_NE(Proc(), classProc);
  EXPECT_EQ(Send(kProbe), kFormResult);
  EXPECT_EQ(gLog, (Log{"h1 before probe", "form probe", "h1 after probe"}));
}

TEST_F(HookTest, AHookOwnedByItsFormGoesWithAFormThatFreesItself) {
  auto* owned = TComponent::Create<TProbeHook>(form.get(), "owned");
  owned->SetControl(form.get());
  EXPECT_EQ(owned->Form(), form.get());
  HWND wnd = form->Handle();
  EXPECT_NE(GetWindowLongPtrW(wnd, GWLP_WNDPROC), classProc);
  // Release frees the form inside its own window procedure, with the hook's
  // procedure below it on the stack.
  form.release()->Release();
  test::PumpMessages();
  EXPECT_FALSE(IsWindow(wnd));
}

TEST_F(HookTest, FormHandleAndControlChanges) {
  auto* child = TComponent::Create<TWinControl>(form.get());
  child->SetParent(form.get());
  child->SetBounds(0, 0, 20, 20);
  TProbeHook* hook = Hook("h1");
  EXPECT_EQ(hook->Form(), form.get());
  EXPECT_EQ(hook->Handle(), form->Handle());

  hook->SetActive(false);
  hook->SetControl(child);
  EXPECT_EQ(hook->Form(), nullptr);
  EXPECT_EQ(hook->Handle(), child->Handle());
  EXPECT_EQ(Proc(), classProc);

  // Moving an active hook to another control moves the subclassing.
  hook->SetActive(true);
  LONG_PTR childClassProc = GetClassLongPtrW(child->Handle(), GCLP_WNDPROC);
  EXPECT_NE(GetWindowLongPtrW(child->Handle(), GWLP_WNDPROC), childClassProc);
  hook->SetControl(form.get());
  EXPECT_EQ(GetWindowLongPtrW(child->Handle(), GWLP_WNDPROC), childClassProc);
  EXPECT_NE(Proc(), classProc);
  test::PumpMessages();
  EXPECT_EQ(HookList()->Count(), 1);
  EXPECT_EQ(HookList()->FindHook(child), nullptr);
}

TEST_F(HookTest, FinalizingTheHooksRestoresEveryWindow) {
  TProbeHook* hook = Hook("h1");
  Hook("h2");
  EXPECT_NE(Proc(), classProc);
  FinalizeHooks();
  EXPECT_EQ(HookList(), nullptr);
  EXPECT_EQ(Proc(), classProc);
  EXPECT_EQ(hook->ControlHook(), nullptr);
  EXPECT_EQ(Send(kProbe), kFormResult);
  EXPECT_EQ(gLog, (Log{"form probe"}));
  // A hook set up afterwards starts a new list.
  hook->SetActive(false);
  hook->SetActive(true);
  ASSERT_NE(HookList(), nullptr);
  EXPECT_NE(Proc(), classProc);
}

TEST(TeHook, ActiveIsStoredOnlyWhenOff) {
  TTeHook hook(nullptr);
  hook.SetName("Hook");
  EXPECT_TRUE(hook.Active());
  EXPECT_EQ(WriteLayout(hook), "object Hook: TTeHook\nend\n");
  hook.SetActive(false);
  std::string text = WriteLayout(hook);
  EXPECT_EQ(text, "object Hook: TTeHook\n  Active = False\nend\n");
  TTeHook read(nullptr);
  ReadLayout(text, read);
  EXPECT_FALSE(read.Active());
  EXPECT_EQ(read.ControlHook(), nullptr);
}

}  // namespace
}  // namespace hv
