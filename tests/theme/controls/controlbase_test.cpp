// The two control bases on real windows: the frame and client rectangle,
// the three painting modes, the parent's background through chains of
// transparent controls and through a form's own background painter,
// blending, hover and focus, the erase answers, and what a failed buffer or
// an empty size does.

#include "theme/controls/controlbase.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <memory>

#include "framework/graphics.h"
#include "tests/support/gui_objects.h"
#include "tests/support/pixel_rows.h"
#include "tests/theme/controls/control_test_support.h"
#include "theme/controls/blendpixels.h"
#include "theme/core/backgroundrequest.h"
#include "theme/core/sharedbuffer.h"
#include "theme/core/tebitmap.h"

namespace hv {
namespace {

using test::FromRGB;
using test::ReadClientPixels;
using test::RepaintAll;
using test::TTestForm;

constexpr unsigned kControlRGB = 0xC08020;
constexpr unsigned kMarkRGB = 0x10E040;

// A windowed control whose content shows a mark: a 4 x 4 square at (2, 2)
// of its content rectangle, over its Color unless transparent.
class TMarkedControl : public TTeCustomControl {
 public:
  using TTeCustomControl::TTeCustomControl;
  using TTeCustomControl::GetContentRect;
  int paints = 0;

 protected:
  void PaintClient() override {
    ++paints;
    TTeCustomControl::PaintClient();
    TRect c = GetContentRect();
    Canvas()->Brush()->SetColor(FromRGB(kMarkRGB));
    Canvas()->FillRect(Rect(c.left + 2, c.top + 2, c.left + 6, c.top + 6));
  }
};

class TMarkedGraphic : public TTeGraphicControl {
 public:
  using TTeGraphicControl::TTeGraphicControl;
  int paints = 0;
  int enters = 0;
  int leaves = 0;

 protected:
  void PaintClient() override {
    ++paints;
    TTeGraphicControl::PaintClient();
    Canvas()->Brush()->SetColor(FromRGB(kMarkRGB));
    Canvas()->FillRect(Rect(2, 2, 6, 6));
  }
  void MouseEnter() override { ++enters; }
  void MouseLeave() override { ++leaves; }
};

class ControlBaseTest : public ::testing::Test {
 protected:
  TTestForm host;
  TForm& form() { return *host.form; }
  template <class T>
  T* Add(TWinControl* parent, TRect bounds) {
    T* control = TComponent::Create<T>(&form());
    control->SetParent(parent);
    control->SetBoundsRect(bounds);
    return control;
  }
};

// --- the frame and the client rectangle ---------------------------------------------------

TEST_F(ControlBaseTest, TheClientRectangleIsTheContentInsideBorderAndBevels) {
  auto* c = Add<TMarkedControl>(&form(), Bounds(10, 10, 100, 60));
  c->SetBorderWidth(2);
  EXPECT_EQ(c->ClientRect(), Rect(2, 2, 98, 58));
  c->SetBevelWidth(1);  // both cuts lowered by default
  c->SetBevelSides({kbsLeft, kbsBottom});
  EXPECT_EQ(c->ClientRect(), Rect(4, 2, 98, 56));
  c->SetBevelOuter(kbvNone);
  EXPECT_EQ(c->ClientRect(), Rect(3, 2, 98, 57));

  // Aligned children are laid out inside the frame.
  auto* child = Add<TMarkedControl>(c, Bounds(0, 0, 10, 10));
  child->SetAlign(TAlign::alClient);
  EXPECT_EQ(child->BoundsRect(), Rect(3, 2, 98, 57));
}

TEST_F(ControlBaseTest, BevelPresetsSetBothCutsAndADirectCutClearsThePreset) {
  auto* c = Add<TMarkedControl>(&form(), Bounds(0, 0, 50, 20));
  c->SetBevelKind(kbkFlat);
  EXPECT_EQ(c->BevelInner(), kbvFlatBorder);
  EXPECT_EQ(c->BevelOuter(), kbvFlatBorder);
  c->SetBevelKind(kbkBorder);
  EXPECT_EQ(c->BevelInner(), kbvBorder);
  c->SetBevelKind(kbkNone);
  EXPECT_EQ(c->BevelInner(), kbvBorder);  // kbkNone leaves the cuts
  c->SetBevelKind(kbkSoft);
  EXPECT_EQ(c->BevelOuter(), kbvLowered);
  c->SetBevelInner(kbvRaised);
  EXPECT_EQ(c->BevelKind(), kbkNone);
  EXPECT_EQ(c->BevelOuter(), kbvLowered);
}

TEST_F(ControlBaseTest, FramePaintsBevelsThenBorderAroundTheContent) {
  auto* c = Add<TMarkedControl>(&form(), Bounds(20, 20, 40, 30));
  c->SetUseVisualStyles(false);
  c->SetColor(FromRGB(kControlRGB));
  c->SetBevelWidth(1);
  c->SetBevelOuter(kbvRaised);
  c->SetBevelInner(kbvLowered);
  c->SetBorderWidth(1);
  HWND wnd = c->Handle();
  RepaintAll(host.Handle());
  auto sys = [](int index) { return test::ToRGB(GetSysColor(index)); };
  // Outer raised: highlight left/top, dark shadow right/bottom.
  HV_EXPECT_PIXEL_ROWS(unsigned, "the outer bevel", test::ClientPixel(wnd, x, y), {0, 10, sys(COLOR_BTNHIGHLIGHT)},
                       {10, 0, sys(COLOR_BTNHIGHLIGHT)}, {39, 10, sys(COLOR_3DDKSHADOW)},
                       {10, 29, sys(COLOR_3DDKSHADOW)});
  // Inner lowered inside it: dark shadow left/top, face right/bottom.
  EXPECT_EQ(test::ClientPixel(wnd, 1, 10), sys(COLOR_3DDKSHADOW));
  EXPECT_EQ(test::ClientPixel(wnd, 38, 10), sys(COLOR_BTNFACE));
  // The border in Color, then the content from (3, 3).
  EXPECT_EQ(test::ClientPixel(wnd, 2, 10), kControlRGB);
  EXPECT_EQ(c->ClientRect(), Rect(3, 3, 37, 27));
  HV_EXPECT_PIXEL_ROWS(unsigned, "the client and its mark", test::ClientPixel(wnd, x, y), {3, 3, kControlRGB},
                       {5, 5, kMarkRGB}, {36, 26, kControlRGB});
}

TEST_F(ControlBaseTest, SizeIsTrackedFromTheWindowsOwnMoves) {
  auto* c = Add<TMarkedControl>(&form(), Bounds(0, 0, 50, 20));
  EXPECT_EQ(c->PaintWidth(), 50);
  SetWindowPos(c->Handle(), nullptr, 0, 0, 70, 33, SWP_NOMOVE | SWP_NOZORDER);
  EXPECT_EQ(c->PaintWidth(), 70);
  EXPECT_EQ(c->PaintHeight(), 33);
  EXPECT_EQ(c->ClientRect(), Rect(0, 0, 70, 33));
  // A move alone keeps the size.
  SetWindowPos(c->Handle(), nullptr, 5, 5, 1, 1, SWP_NOSIZE | SWP_NOZORDER);
  EXPECT_EQ(c->PaintWidth(), 70);
}

// --- properties ----------------------------------------------------------------------------

TEST_F(ControlBaseTest, BlendingNeedsABufferOnBothBases) {
  auto* c = Add<TMarkedControl>(&form(), Bounds(0, 0, 50, 20));
  EXPECT_EQ(c->Performance(), kspNoBuffer);
  c->Blending()->SetEnabled(true);  // the windowed base hears the change
  EXPECT_EQ(c->Performance(), kspDoubleBuffer);
  c->SetPerformance(kspNoBuffer);
  EXPECT_EQ(c->Performance(), kspDoubleBuffer);
  c->SetPerformance(kspSharedBuffer);
  EXPECT_EQ(c->Performance(), kspSharedBuffer);

  auto* g = Add<TMarkedGraphic>(&form(), Bounds(0, 0, 50, 20));
  g->Blending()->SetEnabled(true);  // the windowless one does not
  EXPECT_EQ(g->Performance(), kspNoBuffer);
  TTeBlending on;
  on.SetEnabled(true);
  on.SetValue(400);
  EXPECT_EQ(on.Value(), 255);
  g->SetBlending(&on);
  EXPECT_EQ(g->Performance(), kspDoubleBuffer);
  EXPECT_EQ(g->Blending()->Value(), 255);
  g->SetPerformance(kspNoBuffer);
  EXPECT_EQ(g->Performance(), kspDoubleBuffer);
}

// --- painting modes ------------------------------------------------------------------------

// A paint into a buffer of the control's own puts the canvas back on the
// screen while the buffer is still there: nothing is ever selected into a
// context already deleted, and the buffer goes with the paint.
TEST_F(ControlBaseTest, AnOwnBufferOutlivesTheCanvasOnIt) {
  ASSERT_TRUE(test::InstallGuiObjectCounter());
  auto* c = Add<TMarkedControl>(&form(), Bounds(0, 0, 50, 20));
  auto* g = Add<TMarkedGraphic>(&form(), Bounds(0, 30, 50, 20));
  c->SetPerformance(kspDoubleBuffer);
  g->SetPerformance(kspDoubleBuffer);
  RepaintAll(form().Handle());
  const long refused = test::FailedSelections();
  const long made = test::GuiObjectsMade();
  const test::TGuiObjectCounts before = test::LiveGuiObjects();
  for (int i = 0; i < 5; ++i) {
    c->Canvas()->Pen()->SetColor(i % 2 ? clRed : clBlue);  // a pen of its own on the canvas
    g->Canvas()->Pen()->SetColor(i % 2 ? clRed : clBlue);
    RepaintAll(form().Handle());
  }
  EXPECT_GT(c->paints, 5);
  EXPECT_GT(g->paints, 5);
  EXPECT_GT(test::GuiObjectsMade(), made) << "each paint made a buffer";
  EXPECT_EQ(test::FailedSelections(), refused) << test::LastFailedSelection();
  EXPECT_EQ(test::LiveGuiObjects(), before) << test::LiveGuiObjects().Describe();
}

TEST_F(ControlBaseTest, TheThreeModesPaintTheSamePixels) {
  auto* c = Add<TMarkedControl>(&form(), Bounds(10, 10, 60, 40));
  c->SetUseVisualStyles(false);
  c->SetColor(FromRGB(kControlRGB));
  c->SetBevelWidth(2);
  c->SetBorderWidth(1);
  auto* t = Add<TMarkedControl>(&form(), Bounds(80, 10, 60, 40));
  t->SetTransparent(true);
  auto* g = Add<TMarkedGraphic>(&form(), Bounds(150, 10, 30, 20));
  g->SetTransparent(true);
  auto* o = Add<TMarkedGraphic>(&form(), Bounds(190, 10, 30, 20));
  o->SetColor(FromRGB(kControlRGB));

  const TRect area = Rect(0, 0, 240, 60);
  c->SetPerformance(kspNoBuffer);
  const auto reference = ReadClientPixels(host.Handle(), area);
  EXPECT_EQ(reference.At(10 + 5 + 2, 10 + 5 + 2), kMarkRGB);  // two bevels of 2 and a border of 1
  EXPECT_EQ(reference.At(80 + 1, 10 + 1), TTestForm::kFormRGB);  // transparent: the form shows
  EXPECT_EQ(reference.At(80 + 3, 10 + 3), kMarkRGB);
  EXPECT_EQ(reference.At(150 + 10, 10 + 10), TTestForm::kFormRGB);
  EXPECT_EQ(reference.At(190 + 10, 10 + 10), kControlRGB);
  for (TTePerformance mode : {kspSharedBuffer, kspDoubleBuffer, kspNoBuffer}) {
    SCOPED_TRACE(static_cast<int>(mode));
    for (auto* w : {c, t}) w->SetPerformance(mode);
    for (auto* w : {g, o}) w->SetPerformance(mode);
    RepaintAll(host.Handle());
    EXPECT_EQ(ReadClientPixels(host.Handle(), area), reference);
  }
}

TEST_F(ControlBaseTest, ATransparentChildOfATransparentContainerShowsTheFormsBackground) {
  auto* box = Add<TMarkedControl>(&form(), Bounds(20, 20, 200, 120));
  box->SetTransparent(true);
  box->SetUseVisualStyles(false);
  box->SetBevelWidth(1);
  auto* inner = Add<TMarkedControl>(box, Bounds(10, 10, 150, 90));
  inner->SetTransparent(true);
  auto* child = Add<TMarkedControl>(inner, Bounds(20, 20, 60, 40));
  child->SetTransparent(true);
  auto* button = Add<TMarkedGraphic>(inner, Bounds(90, 20, 40, 30));
  button->SetTransparent(true);
  for (TTePerformance mode : {kspNoBuffer, kspSharedBuffer, kspDoubleBuffer}) {
    SCOPED_TRACE(static_cast<int>(mode));
    for (auto* w : {box, inner, child}) w->SetPerformance(mode);
    button->SetPerformance(mode);
    RepaintAll(host.Handle());
    // Form coordinates: child at (20+10+20, 20+10+20) = (50, 50).
    HV_EXPECT_PIXEL_ROWS(unsigned, "through the chain", host.Pixel(x, y), {50 + 30, 50 + 30, TTestForm::kFormRGB},
                         {50 + 3, 50 + 3, kMarkRGB}, {20 + 10 + 90 + 20, 50 + 20, TTestForm::kFormRGB});
    // The container's bevel shows through the chain where it lies.
    EXPECT_EQ(test::ClientPixel(box->Handle(), 0, 50), test::ToRGB(GetSysColor(COLOR_BTNSHADOW)));
  }
}

TEST_F(ControlBaseTest, ABlendedControlIsMixedOverItsParentAndItsWindowlessSiblings) {
  auto* under = Add<TMarkedGraphic>(&form(), Bounds(40, 40, 20, 20));
  under->SetColor(FromRGB(0x00FF00));
  auto* c = Add<TMarkedControl>(&form(), Bounds(30, 30, 60, 40));
  c->SetColor(FromRGB(kControlRGB));
  c->SetPerformance(kspSharedBuffer);
  c->Blending()->SetValue(100);
  c->Blending()->SetEnabled(true);
  EXPECT_EQ(c->Performance(), kspSharedBuffer);
  RepaintAll(host.Handle());
  HWND wnd = c->Handle();
  // Over the form.
  EXPECT_EQ(test::ClientPixel(wnd, 50, 30), MixPixel(kControlRGB, TTestForm::kFormRGB, 100) & 0xFFFFFF);
  // Over the windowless sibling under it (at 10..30 of the control).
  EXPECT_EQ(test::ClientPixel(wnd, 20, 20), MixPixel(kControlRGB, 0x00FF00, 100) & 0xFFFFFF);
  // The mark mixed over the form.
  EXPECT_EQ(test::ClientPixel(wnd, 3, 3), MixPixel(kMarkRGB, TTestForm::kFormRGB, 100) & 0xFFFFFF);

  auto* g = Add<TMarkedGraphic>(&form(), Bounds(200, 100, 30, 30));
  g->SetColor(FromRGB(kControlRGB));
  TTeBlending half;
  half.SetEnabled(true);
  half.SetValue(200);
  g->SetBlending(&half);
  EXPECT_EQ(host.Pixel(200 + 20, 100 + 20), MixPixel(kControlRGB, TTestForm::kFormRGB, 200) & 0xFFFFFF);
}

// --- the parent's background through a form's own painter -------------------------------------

// Stands in for a themed frame: paints the client background in its colour.
class TBackgroundPainter : public TComponent, public TTeBackgroundSource {
 public:
  using TComponent::TComponent;
  bool active = true;
  int requests = 0;
  bool BackgroundSourceActive() const override { return active; }
  void AnswerBackgroundRequest(TMessage& message) override {
    ++requests;
    const auto* request = reinterpret_cast<const TTeBackgroundRequest*>(message.LParam);
    EXPECT_EQ(request->isChildRequest, 1);
    HDC dc = reinterpret_cast<HDC>(message.WParam);
    TBrushHandle brush(CreateSolidBrush(FromRGB(0x903010)));
    RECT r{0, 0, 2000, 2000};
    FillRect(dc, &r, brush.Get());
  }
};

TEST_F(ControlBaseTest, OnTheScreenAnActiveFormPainterAnswersForTheForm) {
  auto* painter = TComponent::Create<TBackgroundPainter>(&form());
  auto* g = Add<TMarkedGraphic>(&form(), Bounds(100, 100, 30, 30));
  g->SetTransparent(true);
  EXPECT_EQ(host.Pixel(110, 110), 0x903010u);
  EXPECT_GT(painter->requests, 0);
  painter->active = false;
  EXPECT_EQ(host.Pixel(110, 110), TTestForm::kFormRGB);
}

// --- hover, focus, erase and theme change ----------------------------------------------------

TEST_F(ControlBaseTest, HoverIsHeardOnceAsTheMouseCrossesAControl) {
  auto* g = Add<TMarkedGraphic>(&form(), Bounds(100, 100, 30, 30));
  int events = 0;
  g->OnMouseEnter = [&](TObject* sender) {
    EXPECT_EQ(sender, g);
    ++events;
  };
  HWND wnd = host.Handle();
  SendMessageW(wnd, WM_MOUSEMOVE, 0, MAKELPARAM(110, 110));
  SendMessageW(wnd, WM_MOUSEMOVE, 0, MAKELPARAM(112, 110));
  EXPECT_TRUE(g->MouseInControl());
  EXPECT_EQ(g->enters, 1);
  EXPECT_EQ(events, 1);
  SendMessageW(wnd, WM_MOUSEMOVE, 0, MAKELPARAM(10, 10));
  EXPECT_FALSE(g->MouseInControl());
  EXPECT_EQ(g->leaves, 1);
  // A second leave notification changes nothing.
  g->Perform(CM_MOUSELEAVE);
  EXPECT_EQ(g->leaves, 1);
}

TEST_F(ControlBaseTest, FocusIsTrackedAndRepaints) {
  auto* a = Add<TMarkedControl>(&form(), Bounds(0, 0, 50, 20));
  auto* b = Add<TMarkedControl>(&form(), Bounds(0, 30, 50, 20));
  int entered = 0;
  a->OnEnter = [&](TObject*) { ++entered; };
  SetActiveWindow(host.Handle());
  a->SetFocus();
  EXPECT_TRUE(a->HasFocus());
  EXPECT_EQ(entered, 1);
  ValidateRect(a->Handle(), nullptr);
  b->SetFocus();
  EXPECT_FALSE(a->HasFocus());
  EXPECT_TRUE(b->HasFocus());
  EXPECT_TRUE(GetUpdateRect(a->Handle(), nullptr, FALSE));
}

TEST_F(ControlBaseTest, EraseAnswersWithoutPaintingUnlessAChildAsks) {
  auto* c = Add<TMarkedControl>(&form(), Bounds(0, 0, 50, 20));
  c->SetColor(FromRGB(kControlRGB));
  c->SetUseVisualStyles(false);
  TTeBitmap target;
  target.SetSize(50, 20);
  target.Fill(0xFF123456);
  EXPECT_EQ(SendMessageW(c->Handle(), WM_ERASEBKGND, reinterpret_cast<WPARAM>(target.DC()), 0), 1);
  EXPECT_EQ(target.GetPixel(10, 10), 0xFF123456u);
  TTeBackgroundRequest request;
  EXPECT_EQ(SendMessageW(c->Handle(), WM_ERASEBKGND, reinterpret_cast<WPARAM>(target.DC()),
                         reinterpret_cast<LPARAM>(&request)),
            1);
  EXPECT_EQ(target.GetPixel(10, 10) & 0xFFFFFF, kControlRGB);
  EXPECT_EQ(target.GetPixel(3, 3) & 0xFFFFFF, kMarkRGB);
  EXPECT_FALSE(c->Canvas()->HandleAllocated());
}

TEST_F(ControlBaseTest, AThemeChangeOfTheSystemRepaints) {
  auto* c = Add<TMarkedControl>(&form(), Bounds(0, 0, 50, 20));
  RepaintAll(host.Handle());
  EXPECT_FALSE(GetUpdateRect(c->Handle(), nullptr, FALSE));
  SendMessageW(c->Handle(), WM_THEMECHANGED, 0, 0);
  EXPECT_TRUE(GetUpdateRect(c->Handle(), nullptr, FALSE));
}

// --- bad sizes and failing buffers -----------------------------------------------------------

TEST_F(ControlBaseTest, EmptySizesPaintNothing) {
  auto* c = Add<TMarkedControl>(&form(), Bounds(10, 10, 0, 20));
  auto* g = Add<TMarkedGraphic>(&form(), Bounds(10, 40, 30, -5));
  c->SetPerformance(kspDoubleBuffer);
  RepaintAll(host.Handle());
  c->Perform(WM_PAINT, 0, 0);
  HDC dc = GetDC(host.Handle());
  g->Perform(WM_PAINT, reinterpret_cast<WPARAM>(dc), 0);
  ReleaseDC(host.Handle(), dc);
  EXPECT_EQ(c->paints, 0);
  EXPECT_EQ(g->paints, 0);
}

TEST_F(ControlBaseTest, AFailingBufferAbandonsThePaintAndTheNextOneWorks) {
  auto* c = Add<TMarkedControl>(&form(), Bounds(10, 10, 40, 30));
  c->SetColor(FromRGB(kControlRGB));
  auto* g = Add<TMarkedGraphic>(&form(), Bounds(100, 10, 40, 30));
  g->SetColor(FromRGB(kControlRGB));
  g->SetPerformance(kspSharedBuffer);
  c->SetPerformance(kspDoubleBuffer);
  RepaintAll(host.Handle());
  FreeSharedBuffer();  // the shared buffer is sized again at its next use
  for (int step : {3, 4, 5}) {
    SCOPED_TRACE(step);
    c->paints = g->paints = 0;
    TTeBitmap::SetFailStepForTesting(step);
    RepaintAll(host.Handle());
    TTeBitmap::SetFailStepForTesting(0);
    EXPECT_EQ(c->paints, 0);
    EXPECT_EQ(g->paints, 0);
    EXPECT_FALSE(c->Canvas()->HandleAllocated());
    EXPECT_FALSE(g->Canvas()->HandleAllocated());
    EXPECT_TRUE(SharedBuffer().Empty());
  }
  HV_EXPECT_PIXEL_ROWS(unsigned, "the controls after the failure", host.Pixel(x, y), {100 + 20, 10 + 20, kControlRGB},
                       {10 + 20, 10 + 20, kControlRGB}, {100 + 3, 10 + 3, kMarkRGB});
  EXPECT_FALSE(SharedBuffer().Empty());
}

TEST_F(ControlBaseTest, AControlLargerThanTheSharedBufferPaintsWhatFits) {
  const TTeBitmap& buffer = SizedSharedBuffer();
  const int width = buffer.Width() + 300;
  auto* c = Add<TMarkedControl>(&form(), Bounds(0, 0, width, 40));
  c->SetColor(FromRGB(kControlRGB));
  c->SetPerformance(kspSharedBuffer);
  c->Blending()->SetEnabled(true);
  auto* g = Add<TMarkedGraphic>(&form(), Bounds(0, 50, width, 40));
  g->SetColor(FromRGB(kControlRGB));
  g->SetPerformance(kspSharedBuffer);
  RepaintAll(host.Handle());
  EXPECT_GT(c->paints, 0);
  EXPECT_GT(g->paints, 0);
  EXPECT_EQ(buffer.Width(), width - 300);  // never resized for a control
  EXPECT_EQ(test::ClientPixel(c->Handle(), 3, 3), MixPixel(kMarkRGB, TTestForm::kFormRGB, 150) & 0xFFFFFF);
  EXPECT_EQ(host.Pixel(3, 53), kMarkRGB);
  EXPECT_EQ(host.Pixel(200, 70), kControlRGB);
}

}  // namespace
}  // namespace hv
