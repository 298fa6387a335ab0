// Controls against real windows under the platform: dispatch, mouse routing
// to windowless children, capture, enter and leave, inherited values, and
// alignment in a live window.

#include <gtest/gtest.h>
#include <windows.h>

#include <stdexcept>

#include "framework/application.h"
#include "framework/extctrls.h"
#include "framework/forms.h"
#include "framework/graphics.h"
#include "framework/screen.h"
#include "framework/sysutils.h"
#include "framework/timer.h"
#include "tests/support/win_test.h"

namespace hv {
namespace {

// A windowless control that records what reaches it and paints itself red.
class TProbeControl : public TGraphicControl {
  HV_CLASS_NO_PROPERTIES(TProbeControl, TGraphicControl)

 public:
  explicit TProbeControl(TComponent* owner) : TGraphicControl(owner) {}
  std::vector<std::string> log;
  TPoint lastDown{-1, -1};

 protected:
  void WndProc(TMessage& message) override {
    switch (message.Msg) {
      case CM_MOUSEENTER: log.push_back("enter"); break;
      case CM_MOUSELEAVE: log.push_back("leave"); break;
      case CM_ENABLEDCHANGED: log.push_back("enabled"); break;
      case CM_FONTCHANGED: log.push_back("font"); break;
      default: break;
    }
    TGraphicControl::WndProc(message);
  }
  void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override {
    lastDown = {x, y};
    TGraphicControl::MouseDown(button, shift, x, y);
  }
  void Paint() override {
    Canvas()->Brush()->SetColor(clRed);
    Canvas()->FillRect(ClientRect());
  }
};

class TThrowingControl : public TCustomControl {
  HV_CLASS_NO_PROPERTIES(TThrowingControl, TCustomControl)

 public:
  explicit TThrowingControl(TComponent* owner) : TCustomControl(owner) {}

 protected:
  void WndProc(TMessage& message) override {
    if (message.Msg == WM_USER + 7) throw EInvalidOperation("raised inside a window procedure");
    TCustomControl::WndProc(message);
  }
};

struct FormFixture : ::testing::Test {
  void SetUp() override {
    form = std::make_unique<TForm>(nullptr);
    form->SetFormBorderStyle(TFormBorderStyle::bsNone);
    form->SetBounds(40, 40, 300, 200);
    form->Show();
    test::PumpMessages();
  }
  void TearDown() override {
    ShowWindow(form->Handle(), SW_HIDE);  // a hidden window goes away at once
    form.reset();
    test::PumpMessages();
  }
  LRESULT Mouse(UINT msg, int x, int y, WPARAM keys = 0) {
    return SendMessageW(form->Handle(), msg, keys, MAKELPARAM(x, y));
  }
  std::unique_ptr<TForm> form;
};

TEST_F(FormFixture, WindowClassIsNamedAfterTheComponentClass) {
  auto* panel = TComponent::Create<TPanel>(form.get());
  panel->SetParent(form.get());
  wchar_t name[64] = {};
  GetClassNameW(panel->Handle(), name, 64);
  EXPECT_STREQ(name, L"TPanel");
  GetClassNameW(form->Handle(), name, 64);
  EXPECT_STREQ(name, L"TForm");
  EXPECT_EQ(TWinControl::FindControl(panel->Handle()), panel);
  EXPECT_EQ(GetParent(panel->Handle()), form->Handle());
}

TEST_F(FormFixture, MouseMessagesReachWindowlessChildrenInTheirCoordinates) {
  auto* probe = TComponent::Create<TProbeControl>(form.get());
  probe->SetParent(form.get());
  probe->SetBounds(50, 60, 40, 30);
  int clicks = 0;
  probe->OnClick = [&](TObject* sender) {
    EXPECT_EQ(sender, probe);
    ++clicks;
  };
  Mouse(WM_LBUTTONDOWN, 55, 70, MK_LBUTTON);
  EXPECT_EQ(probe->lastDown, (TPoint{5, 10}));
  EXPECT_EQ(TControl::CaptureControl(), probe);
  EXPECT_EQ(GetCapture(), form->Handle());
  Mouse(WM_LBUTTONUP, 56, 71);
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(TControl::CaptureControl(), nullptr);

  // Pressed inside, released outside: capture keeps the messages coming to
  // the control, and no click.
  Mouse(WM_LBUTTONDOWN, 55, 70, MK_LBUTTON);
  Mouse(WM_MOUSEMOVE, 200, 150, MK_LBUTTON);
  Mouse(WM_LBUTTONUP, 200, 150);
  EXPECT_EQ(clicks, 1);

  // A point outside every child is the form's own.
  probe->lastDown = {-1, -1};
  Mouse(WM_LBUTTONDOWN, 10, 10, MK_LBUTTON);
  Mouse(WM_LBUTTONUP, 10, 10);
  EXPECT_EQ(probe->lastDown, (TPoint{-1, -1}));

  // Hidden and disabled children are passed over.
  probe->SetEnabled(false);
  Mouse(WM_LBUTTONDOWN, 55, 70, MK_LBUTTON);
  Mouse(WM_LBUTTONUP, 55, 70);
  EXPECT_EQ(probe->lastDown, (TPoint{-1, -1}));
  EXPECT_EQ(clicks, 1);
}

TEST_F(FormFixture, MouseEnterAndLeaveFollowTheMouse) {
  auto* a = TComponent::Create<TProbeControl>(form.get());
  a->SetParent(form.get());
  a->SetBounds(10, 10, 50, 50);
  auto* b = TComponent::Create<TProbeControl>(form.get());
  b->SetParent(form.get());
  b->SetBounds(100, 10, 50, 50);
  int formEnters = 0;
  form->OnMouseEnter = [&](TObject*) { ++formEnters; };

  Mouse(WM_MOUSEMOVE, 20, 20);
  Mouse(WM_MOUSEMOVE, 25, 25);
  EXPECT_EQ(a->log, (std::vector<std::string>{"enter"}));
  EXPECT_TRUE(a->MouseInControl());
  Mouse(WM_MOUSEMOVE, 120, 20);
  EXPECT_EQ(a->log, (std::vector<std::string>{"enter", "leave"}));
  EXPECT_EQ(b->log, (std::vector<std::string>{"enter"}));
  Mouse(WM_MOUSEMOVE, 80, 150);
  EXPECT_EQ(b->log, (std::vector<std::string>{"enter", "leave"}));
  EXPECT_EQ(formEnters, 1);
  // Leaving the window altogether.
  SendMessageW(form->Handle(), WM_MOUSELEAVE, 0, 0);
  EXPECT_FALSE(form->MouseInControl());
}

TEST_F(FormFixture, ChildrenFollowTheirParentsFontAndColourUntilTheyHaveTheirOwn) {
  auto* panel = TComponent::Create<TPanel>(form.get());
  panel->SetParent(form.get());
  auto* probe = TComponent::Create<TProbeControl>(form.get());
  probe->SetParent(panel);
  panel->SetParentColor(true);
  form->SetColor(clAqua);
  EXPECT_EQ(panel->Color(), clAqua);
  EXPECT_TRUE(panel->ParentColor());

  probe->log.clear();
  form->Font()->SetHeight(-20);
  EXPECT_EQ(panel->Font()->Height(), -20);
  EXPECT_EQ(probe->Font()->Height(), -20);
  EXPECT_TRUE(probe->ParentFont());
  EXPECT_NE(std::find(probe->log.begin(), probe->log.end(), "font"), probe->log.end());

  probe->Font()->SetHeight(-9);
  EXPECT_FALSE(probe->ParentFont());
  form->Font()->SetHeight(-30);
  EXPECT_EQ(probe->Font()->Height(), -9);

  probe->log.clear();
  probe->SetEnabled(false);
  probe->SetEnabled(false);
  EXPECT_EQ(probe->log, (std::vector<std::string>{"enabled"})) << "an unchanged value notifies nobody";
}

TEST_F(FormFixture, TextGoesToTheWindowAndBack) {
  auto* panel = TComponent::Create<TPanel>(form.get());
  panel->SetCaption("\xE9\xA6\x96\xE9\xA1\xB5");  // 首页
  panel->SetParent(form.get());
  wchar_t text[16] = {};
  GetWindowTextW(panel->Handle(), text, 16);
  EXPECT_STREQ(text, L"\u9996\u9875");
  SetWindowTextW(panel->Handle(), L"abc");
  EXPECT_EQ(panel->Caption(), "abc");
  auto* probe = TComponent::Create<TProbeControl>(form.get());
  probe->SetCaption("windowless");
  EXPECT_EQ(probe->Perform(WM_GETTEXTLENGTH), 10);
}

TEST_F(FormFixture, AlignedChildrenShareTheClientAreaInTheClassicOrder) {
  form->SetBounds(0, 0, 400, 300);
  auto make = [&](TAlign align, int w, int h) {
    auto* p = TComponent::Create<TPanel>(form.get());
    p->SetBounds(0, 0, w, h);
    p->SetParent(form.get());
    p->SetAlign(align);
    return p;
  };
  TPanel* client = make(TAlign::alClient, 10, 10);
  TPanel* left = make(TAlign::alLeft, 201, 10);
  TPanel* bottom = make(TAlign::alBottom, 10, 22);
  TPanel* top = make(TAlign::alTop, 10, 32);
  EXPECT_EQ(top->BoundsRect(), Rect(0, 0, 400, 32));
  EXPECT_EQ(bottom->BoundsRect(), Rect(0, 278, 400, 300));
  EXPECT_EQ(left->BoundsRect(), Rect(0, 32, 201, 278));
  EXPECT_EQ(client->BoundsRect(), Rect(201, 32, 400, 278));
  RECT r{};
  GetWindowRect(client->Handle(), &r);
  MapWindowPoints(nullptr, form->Handle(), reinterpret_cast<POINT*>(&r), 2);
  EXPECT_EQ(Rect(r.left, r.top, r.right, r.bottom), Rect(201, 32, 400, 278)) << "the window follows";

  form->SetBounds(0, 0, 500, 400);
  EXPECT_EQ(client->BoundsRect(), Rect(201, 32, 500, 378));
  left->SetVisible(false);
  EXPECT_EQ(client->BoundsRect(), Rect(0, 32, 500, 378));
}

TEST_F(FormFixture, WindowlessChildrenPaintOverTheirParent) {
  form->SetColor(clWhite);
  auto* probe = TComponent::Create<TProbeControl>(form.get());
  probe->SetParent(form.get());
  probe->SetBounds(20, 30, 10, 10);
  RedrawWindow(form->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
  EXPECT_EQ(test::ClientPixel(form->Handle(), 20, 30), 0xFF0000u);
  EXPECT_EQ(test::ClientPixel(form->Handle(), 29, 39), 0xFF0000u);
  EXPECT_EQ(test::ClientPixel(form->Handle(), 30, 40), 0xFFFFFFu);
  EXPECT_EQ(test::ClientPixel(form->Handle(), 19, 30), 0xFFFFFFu);
}

TEST_F(FormFixture, ExceptionsInAWindowProcedureGoToTheApplication) {
  auto* control = TComponent::Create<TThrowingControl>(form.get());
  control->SetParent(form.get());
  SendMessageW(control->Handle(), WM_USER + 7, 0, 0);
  EXPECT_EQ(test::TakeReportedExceptions(), std::vector<std::string>{"raised inside a window procedure"});
  EXPECT_TRUE(IsWindow(control->Handle())) << "the window lives on";
}

TEST_F(FormFixture, RecreatingAWindowKeepsTextBoundsAndChildren) {
  auto* panel = TComponent::Create<TPanel>(form.get());
  panel->SetParent(form.get());
  panel->SetBounds(5, 6, 70, 80);
  panel->SetCaption("kept");
  auto* inner = TComponent::Create<TPanel>(form.get());
  inner->SetParent(panel);
  HWND before = panel->Handle();
  panel->RecreateWnd();
  EXPECT_NE(panel->Handle(), before);
  EXPECT_FALSE(IsWindow(before));
  EXPECT_EQ(panel->Caption(), "kept");
  EXPECT_EQ(panel->BoundsRect(), Rect(5, 6, 75, 86));
  EXPECT_EQ(GetParent(inner->Handle()), panel->Handle());
}

TEST_F(FormFixture, DestroyingAParentFreesItsChildren) {
  auto* panel = TComponent::Create<TPanel>(form.get());
  panel->SetParent(form.get());
  auto* inner = TComponent::Create<TProbeControl>(form.get());
  inner->SetParent(panel);
  int before = form->ComponentCount();
  panel->Free();
  EXPECT_EQ(form->ComponentCount(), before - 2);
  EXPECT_EQ(form->ControlCount(), 0);
}

TEST(FormTest, ShowEventRunsEachTimeTheFormBecomesVisible) {
  TForm form(nullptr);
  int shows = 0;
  form.OnShow = [&](TObject*) {
    ++shows;
    EXPECT_FALSE(IsWindowVisible(form.Handle())) << "the event runs before the window appears";
  };
  form.Show();
  EXPECT_TRUE(IsWindowVisible(form.Handle()));
  form.Hide();
  EXPECT_FALSE(IsWindowVisible(form.Handle()));
  form.Show();
  EXPECT_EQ(shows, 2);
}

TEST(FormTest, ClientAlignmentFillsTheWorkArea) {
  TForm form(nullptr);
  form.Show();
  form.SetAlign(TAlign::alClient);
  const TRect work = Screen()->WorkAreaRect();
  EXPECT_EQ(form.BoundsRect(), work);

  // Afterwards the window is the user's: a move or size is not undone, by
  // the form's own bounds or by the window's.
  form.SetBounds(work.left + 40, work.top + 30, 300, 200);
  EXPECT_EQ(form.BoundsRect(), Rect(work.left + 40, work.top + 30, work.left + 340, work.top + 230));
  SetWindowPos(form.Handle(), nullptr, work.left + 10, work.top + 20, 320, 240, SWP_NOZORDER | SWP_NOACTIVATE);
  EXPECT_EQ(form.BoundsRect(), Rect(work.left + 10, work.top + 20, work.left + 330, work.top + 260));

  // Setting the alignment again places it again.
  form.SetAlign(TAlign::alNone);
  form.SetAlign(TAlign::alClient);
  EXPECT_EQ(form.BoundsRect(), work);
  form.Hide();
}

TEST(FormTest, CloseQueryAndCloseActions) {
  TForm form(nullptr);
  form.Show();
  bool allow = false;
  form.OnCloseQuery = [&](TObject*, bool& canClose) { canClose = allow; };
  form.Close();
  EXPECT_TRUE(IsWindowVisible(form.Handle()));
  allow = true;
  TCloseAction chosen = TCloseAction::caNone;
  form.OnClose = [&](TObject*, TCloseAction& action) {
    chosen = action;
    action = TCloseAction::caHide;
  };
  SendMessageW(form.Handle(), WM_CLOSE, 0, 0);
  EXPECT_EQ(chosen, TCloseAction::caHide);
  EXPECT_FALSE(form.Visible());
  EXPECT_FALSE(IsWindowVisible(form.Handle()));
}

TEST(ScreenTest, FormsRegisterThemselves) {
  int before = Screen()->FormCount();
  {
    TForm form(nullptr);
    EXPECT_EQ(Screen()->FormCount(), before + 1);
    EXPECT_EQ(Screen()->Forms(before), &form);
  }
  EXPECT_EQ(Screen()->FormCount(), before);
  TRect work = Screen()->WorkAreaRect();
  EXPECT_GT(work.Width(), 0);
  EXPECT_LE(work.Width(), Screen()->Width());
}

TEST(TimerTest, FiresWhileEnabled) {
  TTimer timer(nullptr);
  int ticks = 0;
  timer.SetInterval(10);
  timer.SetOnTimer([&](TObject*) { ++ticks; });
  DWORD start = GetTickCount();
  while (ticks < 2 && GetTickCount() - start < 3000) {
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
    test::PumpMessages();
  }
  EXPECT_GE(ticks, 2);
  timer.SetEnabled(false);
  int stopped = ticks;
  Sleep(40);
  test::PumpMessages();
  EXPECT_EQ(ticks, stopped);
}

}  // namespace
}  // namespace hv
