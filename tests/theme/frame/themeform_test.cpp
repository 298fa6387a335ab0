// The themed form frame on real windows: the client area it gives the
// form, its hit-test answers, its window region, the pixels it paints in
// every buffer mode, its caption buttons under the mouse, moving and sizing,
// and the window states.

#include "theme/frame/themeform.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <array>
#include <chrono>
#include <map>
#include <memory>
#include <set>
#include <vector>

#include "framework/application.h"
#include "framework/classes.h"
#include "framework/filer.h"
#include "framework/forms.h"
#include "framework/imagelist.h"
#include "framework/screen.h"
#include "tests/support/pixel_rows.h"
#include "tests/support/win_test.h"
#include "theme/core/backgroundrequest.h"
#include "theme/core/dropdown.h"
#include "theme/core/sizegrip.h"
#include "theme/core/tebitmap.h"
#include "theme/core/theme.h"
#include "theme/core/themeengine.h"
#include "theme/frame/frameresources.h"
#include "theme/frame/menubar.h"

namespace hv {
namespace {

// Colours the test style paints with (0x00BBGGRR).
constexpr TColor kActiveFrame = 0x0000C0;    // dark red
constexpr TColor kInactiveFrame = 0xC00000;  // dark blue
constexpr TColor kFace = 0x00C000;           // green
constexpr unsigned kActiveRGB = 0xC00000, kInactiveRGB = 0x0000C0, kFaceRGB = 0x00C000;

// A caption button's colour tells its glyph and its look.
constexpr TColor ButtonColor(TTeCaptionButton glyph, bool hot, bool pressed) {
  return static_cast<TColor>((glyph * 20 + 20) | ((hot ? 200 : 100) << 8) | ((pressed ? 200 : 0) << 16));
}
constexpr unsigned ButtonRGB(TTeCaptionButton glyph, bool hot, bool pressed) {
  const unsigned c = static_cast<unsigned>(ButtonColor(glyph, hot, pressed));
  return ((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF);
}

// A style with small, distinct sizes that fills its frame and buttons with
// known colours and cuts one pixel off the frame's top-left corner.
class TFrameTestStyle : public TTeTheme {
  HV_THEME_CLASS(TFrameTestStyle, TTeTheme)

 public:
  static bool IsThemeAvailable() { return true; }
  static std::string GetName() { return "FrameTest"; }
  int GetSize(TTeThemeSize kind) const override {
    static const std::map<TTeThemeSize, int> sizes = {
        {ktsBorder, 4},       {ktsToolBorder, 3},    {ktsCaption, 24},         {ktsToolCaption, 18},
        {ktsButtonWidth, 16}, {ktsButtonHeight, 14}, {ktsToolButtonWidth, 12}, {ktsToolButtonHeight, 10},
        {ktsButtonMargin, 5}, {ktsButtonTop, 5},     {ktsButtonSpacing, 2},    {ktsToolButtonMargin, 4},
        {ktsToolButtonTop, 4}};
    const auto size = sizes.find(kind);
    return size == sizes.end() ? 0 : size->second;
  }
  TColor GetColor(TTeThemeColor kind) const override {
    if (kind == ktcFace) return AdjustColor(kFace);
    if (kind == ktcWindow) return AdjustColor(0x123456);
    if (kind == ktcActiveCaptionText) return 0xFFFFFF;
    return kind == ktcInactiveCaptionText ? 0x808080 : 0;  // the caption text's shadow and the rest: black
  }
  std::string GetFontName(TTeThemeFont) const override { return "Tahoma"; }
  int GetFontSize(TTeThemeFont) const override { return 8; }
  void DrawFormFrame(TCanvas& canvas, int width, int height, const TRect&, bool active, TTeBorderStyle) override {
    canvas.Brush()->SetColor(active ? kActiveFrame : kInactiveFrame);
    canvas.FillRect(Rect(0, 0, width, height));
    ++framePaints;
  }
  void DrawCaptionButton(TCanvas& canvas, const TRect& rect, TTeCaptionButton button, bool hot, bool pressed, bool,
                         TTeBorderStyle) override {
    canvas.Brush()->SetColor(ButtonColor(button, hot, pressed));
    canvas.FillRect(rect);
  }
  HRGN GetFormRegion(int width, int height, TTeBorderStyle) override {
    HRGN region = CreateRectRgn(0, 0, width, height);
    HRGN corner = CreateRectRgn(0, 0, 1, 1);
    CombineRgn(region, region, corner, RGN_DIFF);
    DeleteObject(corner);
    return region;
  }
  static inline int framePaints = 0;
};

// The same with a wider border and a deeper caption.
class TWideFrameStyle : public TFrameTestStyle {
  HV_THEME_CLASS(TWideFrameStyle, TFrameTestStyle)

 public:
  static std::string GetName() { return "WideFrameTest"; }
  int GetSize(TTeThemeSize kind) const override {
    if (kind == ktsBorder) return 8;
    if (kind == ktsCaption) return 30;
    return TFrameTestStyle::GetSize(kind);
  }
};

// A style that switches its engine to another style from inside its own
// frame painting, as a handler run from a paint may, and then goes on
// painting; it counts when it is freed.
class TSwitchingStyle : public TFrameTestStyle {
  HV_THEME_CLASS(TSwitchingStyle, TFrameTestStyle)

 public:
  static std::string GetName() { return "SwitchingTest"; }
  ~TSwitchingStyle() override { ++freed; }
  void DrawFormFrame(TCanvas& canvas, int width, int height, const TRect& client, bool active,
                     TTeBorderStyle style) override {
    if (TTeThemeEngine* engine = switchOnPaint) {
      switchOnPaint = nullptr;
      engine->SelectThemeClass(ThemeClassOf<TFrameTestStyle>());
      freedBeforePaintEnded = freed;
    }
    TFrameTestStyle::DrawFormFrame(canvas, width, height, client, active, style);
  }
  static inline TTeThemeEngine* switchOnPaint = nullptr;
  static inline int freed = 0;
  static inline int freedBeforePaintEnded = -1;
};

void RegisterTestStyles() {
  static bool done = false;
  if (done) return;
  done = true;
  RegisterThemeClass(ThemeClassOf<TFrameTestStyle>());
  RegisterThemeClass(ThemeClassOf<TWideFrameStyle>());
  RegisterThemeClass(ThemeClassOf<TSwitchingStyle>());
}

unsigned ToRGB(COLORREF c) { return ((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF); }

TSize ClientSize(HWND wnd) {
  RECT client{};
  GetClientRect(wnd, &client);
  return {client.right, client.bottom};
}
TSize WindowSize(HWND wnd) {
  RECT r{};
  GetWindowRect(wnd, &r);
  return {r.right - r.left, r.bottom - r.top};
}
// Where the client area starts in the window.
TPoint ClientOffset(HWND wnd) {
  RECT r{};
  GetWindowRect(wnd, &r);
  POINT origin{0, 0};
  ClientToScreen(wnd, &origin);
  return {origin.x - r.left, origin.y - r.top};
}
// Which of the window-relative points the window's region holds; empty
// without a region.
std::vector<bool> InRegion(HWND wnd, std::initializer_list<TPoint> points) {
  TRegionHandle region(CreateRectRgn(0, 0, 0, 0));
  std::vector<bool> inside;
  if (GetWindowRgn(wnd, region.Get()) == ERROR) return inside;
  for (TPoint p : points) inside.push_back(PtInRegion(region.Get(), p.x, p.y) != FALSE);
  return inside;
}

// A form of 300 x 200 client pixels at (100, 100) with a themed frame.
class FrameTest : public ::testing::Test {
 protected:
  void SetUp() override {
    RegisterTestStyles();
    form = std::make_unique<TForm>(nullptr);
    form->SetBounds(100, 100, 320, 240);
    form->SetClientSize(300, 200);
    form->SetCaption("Frame");
    engine = TComponent::Create<TTeThemeEngine>(form.get());
    engine->SetColorAutoChanging(false);
    engine->SelectThemeClass(ThemeClassOf<TFrameTestStyle>());
    frame = TComponent::Create<TTeThemeForm>(form.get());
    frame->SetMinimizeApplication(false);
    frame->SetThemeEngine(engine);
    form->HandleNeeded();
    frame->Loaded();
    wnd = form->Handle();
  }
  void TearDown() override {
    if (wnd && IsWindowVisible(wnd)) ShowWindow(wnd, SW_HIDE);
    test::PumpMessages();
    form.reset();
  }

  void ShowActive() {
    form->Show();
    test::PumpMessages();
    SendMessageW(wnd, WM_NCACTIVATE, TRUE, 0);
    test::PumpMessages();
  }
  RECT WindowRect() const {
    RECT r{};
    GetWindowRect(wnd, &r);
    return r;
  }
  // A window-relative point as the screen point non-client messages carry.
  LPARAM ScreenPoint(int x, int y) const {
    RECT r = WindowRect();
    return MAKELPARAM(r.left + x, r.top + y);
  }
  LRESULT HitAnswer(int x, int y) const { return SendMessageW(wnd, WM_NCHITTEST, 0, ScreenPoint(x, y)); }
  unsigned WindowPixel(int x, int y) const {
    HDC dc = GetWindowDC(wnd);
    COLORREF c = GetPixel(dc, x, y);
    ReleaseDC(wnd, dc);
    return ToRGB(c);
  }
  void Send(UINT msg, WPARAM wParam, int x, int y) { SendMessageW(wnd, msg, wParam, ScreenPoint(x, y)); }
  // A client-area mouse message at a window-relative point.
  void SendClient(UINT msg, int x, int y) {
    RECT r = WindowRect();
    POINT p{r.left + x, r.top + y};
    ScreenToClient(wnd, &p);
    SendMessageW(wnd, msg, MK_LBUTTON, MAKELPARAM(p.x, p.y));
  }

  std::unique_ptr<TForm> form;
  TTeThemeEngine* engine = nullptr;
  TTeThemeForm* frame = nullptr;
  HWND wnd = nullptr;
};

TEST_F(FrameTest, TheClientAreaKeepsItsSizeInsideTheStylesFrame) {
  EXPECT_EQ(ClientSize(wnd), (TSize{300, 200}));
  EXPECT_EQ(WindowSize(wnd), (TSize{300 + 2 * 4, 200 + 24 + 4}));
  EXPECT_EQ(ClientOffset(wnd), (TPoint{4, 24}));
  EXPECT_EQ(frame->FrameWidth(), 308);
  EXPECT_EQ(frame->FrameHeight(), 228);
  EXPECT_EQ(frame->FrameClientRect(), Rect(0, 0, 300, 200));

  // The message itself: the proposed window less the frame's insets; the
  // second rectangle gets a copy. Without wParam nothing changes.
  NCCALCSIZE_PARAMS params{};
  params.rgrc[0] = RECT{10, 20, 10 + 308, 20 + 228};
  EXPECT_EQ(SendMessageW(wnd, WM_NCCALCSIZE, TRUE, reinterpret_cast<LPARAM>(&params)), 0);
  EXPECT_EQ(Rect(params.rgrc[0].left, params.rgrc[0].top, params.rgrc[0].right, params.rgrc[0].bottom),
            Rect(14, 44, 314, 244));
  EXPECT_EQ((TPoint{params.rgrc[1].left, params.rgrc[1].bottom}), (TPoint{14, 244}));
  RECT whole{1, 2, 3, 4};
  SendMessageW(wnd, WM_NCCALCSIZE, FALSE, reinterpret_cast<LPARAM>(&whole));
  EXPECT_EQ((TPoint{whole.left, whole.bottom}), (TPoint{1, 4}));
}

TEST_F(FrameTest, SwitchedOffTheWindowGetsTheSystemFrameBack) {
  auto clientOffset = [&] { return ClientOffset(wnd); };
  auto clientSize = [&] { return ClientSize(wnd); };
  auto hasRegion = [&] { return !InRegion(wnd, {{1, 1}}).empty(); };
  ASSERT_EQ(clientOffset(), (TPoint{4, 24}));
  ASSERT_TRUE(hasRegion());

  frame->SetActive(false);
  EXPECT_EQ(clientOffset(),
            (TPoint{GetSystemMetrics(SM_CXFRAME), GetSystemMetrics(SM_CYFRAME) + GetSystemMetrics(SM_CYCAPTION)}));
  EXPECT_EQ(clientSize(), (TSize{300, 200}));
  EXPECT_FALSE(hasRegion());

  frame->SetActive(true);
  EXPECT_EQ(clientOffset(), (TPoint{4, 24}));
  EXPECT_EQ(clientSize(), (TSize{300, 200}));
  EXPECT_TRUE(hasRegion());
  EXPECT_EQ(HitAnswer(150, 12), HTCAPTION);
  EXPECT_EQ(HitAnswer(150, 2), HTTOP);
}

TEST_F(FrameTest, HitTestAnswersFollowTheStyleAndTheDraggingOptions) {
  EXPECT_EQ(HitAnswer(150, 12), HTCAPTION);
  EXPECT_EQ(HitAnswer(150, 100), HTCLIENT);
  // The top sizing zone is only as deep as the style's border (4).
  EXPECT_EQ(HitAnswer(150, 2), HTTOP);
  EXPECT_EQ(HitAnswer(150, 4), HTTOP);
  EXPECT_EQ(HitAnswer(150, 5), HTCAPTION);
  EXPECT_EQ(HitAnswer(1, 100), HTLEFT);
  EXPECT_EQ(HitAnswer(306, 100), HTRIGHT);
  EXPECT_EQ(HitAnswer(150, 226), HTBOTTOM);
  EXPECT_EQ(HitAnswer(306, 226), HTBOTTOMRIGHT);
  EXPECT_EQ(HitAnswer(1, 1), HTTOPLEFT);
  // Buttons right to left: close at 308 - 5 - 16 = 287, then maximize,
  // minimize, rollup, tray, each 18 further left; the icon at the left.
  EXPECT_EQ(HitAnswer(290, 10), HTCLOSE);
  EXPECT_EQ(HitAnswer(272, 10), HTMAXBUTTON);
  EXPECT_EQ(HitAnswer(254, 10), HTMINBUTTON);
  EXPECT_EQ(HitAnswer(10, 10), HTMINBUTTON);  // the system-menu icon
  EXPECT_EQ(frame->HitTest(254, 10), 13);
  EXPECT_EQ(frame->HitTest(236, 10), 15);
  EXPECT_EQ(frame->HitTest(218, 10), 16);
  EXPECT_EQ(frame->HitTest(10, 10), 17);

  frame->Dragging()->SetMoveable(false);
  EXPECT_EQ(HitAnswer(150, 12), HTCLIENT);
  frame->Dragging()->SetSizeable(false);
  EXPECT_EQ(HitAnswer(1, 100), HTCLIENT);
  EXPECT_EQ(HitAnswer(306, 226), HTCLIENT);
  EXPECT_EQ(HitAnswer(290, 10), HTCLOSE);
}

// A bar along the bottom with a grip in its right end, like a status bar.
class TGripBar : public TControl, public TTeSizeGripOwner {
 public:
  explicit TGripBar(TComponent* owner) : TControl(owner) {}
  bool SizeGripShown() const override { return shown; }
  TRect SizeGripRect() const override { return Rect(Width() - 16, Height() - 16, Width(), Height()); }
  bool shown = true;
};

TEST_F(FrameTest, AGripInTheFormsBottomRightCornerSizesTheWindow) {
  auto* bar = TComponent::Create<TGripBar>(form.get());
  bar->SetParent(form.get());
  bar->SetBounds(0, 180, 300, 20);
  // Client (294, 194) is window (298, 218), inside the grip.
  EXPECT_EQ(HitAnswer(298, 218), HTBOTTOMRIGHT);
  EXPECT_EQ(HitAnswer(4 + 283, 218), HTCLIENT);
  bar->shown = false;
  EXPECT_EQ(HitAnswer(298, 218), HTCLIENT);
  bar->shown = true;
  frame->Dragging()->SetSizeable(false);
  EXPECT_EQ(HitAnswer(298, 218), HTCLIENT);
  frame->Dragging()->SetSizeable(true);
  // A bar that does not reach the corner has no say.
  bar->SetBounds(0, 180, 290, 20);
  EXPECT_EQ(HitAnswer(4 + 284, 218), HTCLIENT);
  bar->SetBounds(0, 180, 300, 20);
  frame->Rollup();
  EXPECT_EQ(frame->HitTest(298, 218), 0);
}

// Counts the size changes the window goes through: each one rebuilds the
// frame's outline and buffers.
struct TSizeChangeCounter {
  static inline HWND watched = nullptr;
  static inline int sizeChanges = 0;
  static LRESULT CALLBACK Hook(int code, WPARAM wParam, LPARAM lParam) {
    const auto* call = reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (code == HC_ACTION && call->hwnd == watched && call->message == WM_WINDOWPOSCHANGING) {
      const auto* pos = reinterpret_cast<const WINDOWPOS*>(call->lParam);
      RECT r{};
      GetWindowRect(watched, &r);
      if (!(pos->flags & SWP_NOSIZE) && (pos->cx != r.right - r.left || pos->cy != r.bottom - r.top)) ++sizeChanges;
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
  }
  // How many times the window changed its size while `step` ran.
  template <class Step>
  static int During(HWND wnd, Step&& step) {
    watched = wnd;
    sizeChanges = 0;
    HHOOK hook = SetWindowsHookExW(WH_CALLWNDPROC, &Hook, nullptr, GetCurrentThreadId());
    EXPECT_NE(hook, nullptr);
    step();
    if (hook) UnhookWindowsHookEx(hook);
    watched = nullptr;
    return hook ? sizeChanges : -1;
  }
};

// Made and loaded, the frame measures the window once: one change of size
// to keep the client area the form asked for, no resizing there and back,
// and the style's outline on the window from the start.
TEST(FrameStart, OneSizeChangeGivesTheClientAreaAndTheOutline) {
  RegisterTestStyles();
  auto form = std::make_unique<TForm>(nullptr);
  form->SetBounds(100, 100, 320, 240);
  form->SetClientSize(300, 200);
  auto* engine = TComponent::Create<TTeThemeEngine>(form.get());
  engine->SetColorAutoChanging(false);
  engine->SelectThemeClass(ThemeClassOf<TFrameTestStyle>());
  auto* frame = TComponent::Create<TTeThemeForm>(form.get());
  frame->SetMinimizeApplication(false);
  frame->SetThemeEngine(engine);
  form->HandleNeeded();
  HWND wnd = form->Handle();
  int resizes = 0;
  frame->OnResize = [&](TObject*) { ++resizes; };
  EXPECT_EQ(TSizeChangeCounter::During(wnd, [&] { frame->Loaded(); }), 1);
  EXPECT_EQ(resizes, 1) << "the outline is built once";
  EXPECT_EQ(ClientSize(wnd), (TSize{300, 200}));
  EXPECT_EQ(WindowSize(wnd), (TSize{308, 228}));
  EXPECT_EQ(ClientOffset(wnd), (TPoint{4, 24}));
  EXPECT_EQ(InRegion(wnd, {{0, 0}, {1, 0}, {307, 227}, {308, 227}}), (std::vector<bool>{false, true, true, false}));

  // A new border width measures again without a size change there and
  // back: the window grows once, by the border's difference on each side.
  EXPECT_EQ(TSizeChangeCounter::During(wnd, [&] { engine->SelectThemeClass(ThemeClassOf<TWideFrameStyle>()); }), 1);
  EXPECT_EQ(ClientSize(wnd), (TSize{300, 200}));
  EXPECT_EQ(WindowSize(wnd), (TSize{316, 238}));
  EXPECT_EQ(InRegion(wnd, {{315, 237}, {316, 237}}), (std::vector<bool>{true, false}));
  form.reset();
}

TEST_F(FrameTest, TheWindowTakesTheStylesOutline) {
  EXPECT_EQ(InRegion(wnd, {{0, 0}, {1, 0}, {307, 227}, {308, 227}}), (std::vector<bool>{false, true, true, false}));
}

TEST_F(FrameTest, NonClientPaintingShowsFrameAndButtonsAndLeavesTheClientAlone) {
  ShowActive();
  const TTeFormPerformance modes[] = {ksfpNoBuffer, ksfpSharedBuffer, ksfpPersistentBuffer, ksfpDoubleBuffer};
  for (TTeFormPerformance mode : modes) {
    SCOPED_TRACE(int(mode));
    frame->SetPerformance(mode);
    // Something else in the client area first, which the frame must not paint over.
    {
      HDC dc = GetDC(wnd);
      HBRUSH brush = CreateSolidBrush(RGB(1, 2, 3));
      RECT all{0, 0, 300, 200};
      FillRect(dc, &all, brush);
      DeleteObject(brush);
      ReleaseDC(wnd, dc);
    }
    SendMessageW(wnd, WM_NCACTIVATE, TRUE, 0);
    SendMessageW(wnd, WM_NCPAINT, 1, 0);
    HV_EXPECT_PIXEL_ROWS(unsigned, "frame, buttons and client", WindowPixel(x, y), {2, 100, kActiveRGB},
                         {305, 100, kActiveRGB}, {150, 226, kActiveRGB}, {100, 2, kActiveRGB},
                         {288, 6, ButtonRGB(kcbClose, false, false)}, {270, 6, ButtonRGB(kcbMaximize, false, false)},
                         {252, 6, ButtonRGB(kcbMinimize, false, false)}, {234, 6, ButtonRGB(kcbRollup, false, false)},
                         {216, 6, ButtonRGB(kcbTray, false, false)}, {4 + 10, 24 + 10, 0x010203u},
                         {4 + 299, 24 + 199, 0x010203u});
  }
  // Deactivating answers 1 and paints the inactive frame.
  EXPECT_EQ(SendMessageW(wnd, WM_NCACTIVATE, FALSE, 0), 1);
  EXPECT_FALSE(frame->FrameActive());
  EXPECT_EQ(WindowPixel(2, 100), kInactiveRGB);
  EXPECT_EQ(SendMessageW(wnd, WM_NCACTIVATE, TRUE, 0), 0);
  EXPECT_EQ(WindowPixel(2, 100), kActiveRGB);
}

TEST_F(FrameTest, AStyleSwitchedFromItsOwnPaintingIsFreedOnlyAfterThePainting) {
  engine->SelectThemeClass(ThemeClassOf<TSwitchingStyle>());
  ShowActive();
  TSwitchingStyle::freed = 0;
  TSwitchingStyle::switchOnPaint = engine;
  SendMessageW(wnd, WM_NCPAINT, 1, 0);
  EXPECT_EQ(TSwitchingStyle::switchOnPaint, nullptr) << "the frame painted";
  EXPECT_EQ(TSwitchingStyle::freedBeforePaintEnded, 0) << "freed while its painting still ran";
  EXPECT_EQ(TSwitchingStyle::freed, 1) << "freed once the painting ended";
  EXPECT_FALSE(TTeThemePainting::Active());
  EXPECT_EQ(TTeThemePainting::RetiredCount(), 0);
  EXPECT_EQ(engine->Theme()->ThemeClass(), ThemeClassOf<TFrameTestStyle>());
  // The frame follows the new style.
  SendMessageW(wnd, WM_NCPAINT, 1, 0);
  EXPECT_EQ(WindowPixel(2, 100), kActiveRGB);
}

TEST_F(FrameTest, ALongCaptionStopsWhereTheButtonsRoomBegins) {
  ShowActive();
  frame->SetCaption(std::string(200, 'W'));
  SendMessageW(wnd, WM_NCPAINT, 1, 0);
  // Text from the right of the icon (left 5 + band height 19 = 24), at most
  // 308 - 24 - 6 * 16 = 188 wide (four buttons' room, rollup and tray).
  int text = 0;
  for (int x = 24; x < 24 + 188; ++x)
    for (int y = 6; y < 23; ++y) text += WindowPixel(x, y) != kActiveRGB;
  EXPECT_GT(text, 0);
  // Its shadow ends one pixel further right; the tray button starts at 215.
  for (int x = 24 + 188 + 1; x < 215; ++x)
    for (int y = 5; y < 24; ++y) ASSERT_EQ(WindowPixel(x, y), kActiveRGB) << x << "," << y;
}

TEST_F(FrameTest, AnInactiveCaptionHasItsOwnTextColourAndNoShadow) {
  ShowActive();
  frame->SetCaption("WWWWWWWW");
  // Which colours the caption band holds, not where.
  auto colours = [&] {
    std::set<unsigned> seen;
    for (int x = 24; x < 200; ++x)
      for (int y = 5; y < 24; ++y) seen.insert(WindowPixel(x, y));
    return seen;
  };
  SendMessageW(wnd, WM_NCACTIVATE, TRUE, 0);
  std::set<unsigned> active = colours();
  EXPECT_TRUE(active.count(0x000000u));  // the shadow (the style's is black)
  EXPECT_TRUE(active.count(0xFFFFFFu));  // the active text
  SendMessageW(wnd, WM_NCACTIVATE, FALSE, 0);
  std::set<unsigned> inactive = colours();
  EXPECT_FALSE(inactive.count(0x000000u));
  EXPECT_FALSE(inactive.count(0xFFFFFFu));
  bool grey = false;
  for (unsigned c : inactive) grey |= (c >> 16) > 0x40;  // the frame itself has no red
  EXPECT_TRUE(grey);
}

TEST_F(FrameTest, TheBackgroundIsTheStylesFaceAndOnPaintReplacesIt) {
  ShowActive();
  InvalidateRect(wnd, nullptr, TRUE);
  EXPECT_EQ(test::ClientPixel(wnd, 10, 10), kFaceRGB);
  EXPECT_EQ(test::ClientPixel(wnd, 299, 199), kFaceRGB);

  int calls = 0;
  frame->OnPaint = [&](TObject*) {
    ++calls;
    frame->Canvas()->Brush()->SetColor(0x00FFFF);
    frame->Canvas()->FillRect(Rect(0, 0, 300, 200));
  };
  InvalidateRect(wnd, nullptr, TRUE);
  EXPECT_EQ(test::ClientPixel(wnd, 10, 10), 0xFFFF00u);
  EXPECT_GT(calls, 0);
  frame->OnPaint.Clear();

  // A child's request for only its own rectangle paints that and no more.
  TTeBitmap target;
  target.SetSize(300, 200);
  target.Fill(0xFF010203);
  TTeBackgroundRequest request;
  request.isChildRequest = 0;
  request.left = 10;
  request.top = 20;
  request.right = 50;
  request.bottom = 60;
  EXPECT_EQ(SendMessageW(wnd, WM_ERASEBKGND, reinterpret_cast<WPARAM>(target.DC()), reinterpret_cast<LPARAM>(&request)),
            1);
  HV_EXPECT_PIXEL_ROWS(unsigned, "the child's rectangle", target.GetPixel(x, y) & 0xFFFFFF, {10, 20, kFaceRGB},
                       {49, 59, kFaceRGB}, {9, 20, 0x010203u}, {50, 59, 0x010203u});
  // Flag 1 asks for the whole client area.
  request.isChildRequest = 1;
  SendMessageW(wnd, WM_ERASEBKGND, reinterpret_cast<WPARAM>(target.DC()), reinterpret_cast<LPARAM>(&request));
  EXPECT_EQ(target.GetPixel(299, 199) & 0xFFFFFF, kFaceRGB);
}

TEST_F(FrameTest, PaintRequestDrawsTheWholeWindowActiveAtAnOffset) {
  SendMessageW(wnd, WM_NCACTIVATE, FALSE, 0);
  TTeBitmap target;
  target.SetSize(400, 300);
  target.Fill(0xFF010203);
  EXPECT_EQ(SendMessageW(wnd, WM_TE_PAINTWINDOW, MAKEWPARAM(10, 20), 0), 0);
  EXPECT_EQ(SendMessageW(wnd, WM_TE_PAINTWINDOW, MAKEWPARAM(10, 20), reinterpret_cast<LPARAM>(target.DC())), 1);
  // Painted as active.
  HV_EXPECT_PIXEL_ROWS(unsigned, "the window at (10, 20)", target.GetPixel(x, y) & 0xFFFFFF, {9, 100, 0x010203u},
                       {10 + 1, 20 + 100, kActiveRGB}, {10 + 288, 20 + 6, ButtonRGB(kcbClose, false, false)},
                       {10 + 4, 20 + 24, kFaceRGB}, {10 + 303, 20 + 223, kFaceRGB}, {10 + 308, 20 + 100, 0x010203u});
  EXPECT_FALSE(frame->FrameActive());
  // A negative offset moves the window up and left.
  target.Fill(0xFF010203);
  SendMessageW(wnd, WM_TE_PAINTWINDOW, MAKEWPARAM(static_cast<WORD>(-4), static_cast<WORD>(-24)),
               reinterpret_cast<LPARAM>(target.DC()));
  EXPECT_EQ(target.GetPixel(0, 0) & 0xFFFFFF, kFaceRGB);
}

TEST_F(FrameTest, ACaptionButtonShowsPressedOnlyWhileTheMouseStaysOverIt) {
  ShowActive();
  int closes = 0;
  frame->OnClose = [&](TObject*, bool& allow) {
    ++closes;
    allow = false;
  };
  Send(WM_NCMOUSEMOVE, HTCLOSE, 290, 10);
  EXPECT_EQ(WindowPixel(288, 6), ButtonRGB(kcbClose, true, false));
  Send(WM_NCLBUTTONDOWN, HTCLOSE, 290, 10);
  EXPECT_EQ(WindowPixel(288, 6), ButtonRGB(kcbClose, true, true));
  // Away with the button held: normal; back: pressed again.
  SendClient(WM_MOUSEMOVE, 150, 100);
  EXPECT_EQ(WindowPixel(288, 6), ButtonRGB(kcbClose, false, false));
  SendClient(WM_MOUSEMOVE, 290, 10);
  EXPECT_EQ(WindowPixel(288, 6), ButtonRGB(kcbClose, true, true));
  // Back over it and released there: the close action.
  Send(WM_NCLBUTTONUP, HTCLOSE, 290, 10);
  EXPECT_EQ(closes, 1);
  // Released elsewhere: nothing happens.
  Send(WM_NCLBUTTONDOWN, HTCLOSE, 290, 10);
  SendClient(WM_MOUSEMOVE, 150, 100);
  SendClient(WM_LBUTTONUP, 150, 100);
  EXPECT_EQ(closes, 1);
  EXPECT_EQ(WindowPixel(288, 6), ButtonRGB(kcbClose, false, false));
  // Pressed on one button and released on another: nothing.
  Send(WM_NCLBUTTONDOWN, HTMAXBUTTON, 272, 10);
  Send(WM_NCLBUTTONUP, HTCLOSE, 290, 10);
  EXPECT_EQ(closes, 1);
  EXPECT_EQ(frame->WindowState(), kwsNormal);
  // A client mouse move takes the hot look off.
  Send(WM_NCMOUSEMOVE, HTCLOSE, 290, 10);
  SendClient(WM_MOUSEMOVE, 150, 100);
  EXPECT_EQ(frame->HotCode(), 0);
  EXPECT_EQ(WindowPixel(288, 6), ButtonRGB(kcbClose, false, false));
}

// Records where the system menu was asked for.
class TMenuFrame : public TTeThemeForm {
 public:
  explicit TMenuFrame(TComponent* owner) : TTeThemeForm(owner) {}
  void ShowSystemMenu() override {
    TTeThemeForm::ShowSystemMenu();
    positions.push_back(SystemMenuPosition());
  }
  std::vector<TPoint> positions;
};

TEST(FrameMenus, TheSystemMenuOpensAtARightClickOnTheCaptionAndFromTheKeyboardAndTray) {
  RegisterTestStyles();
  TForm form(nullptr);
  form.SetBounds(100, 100, 320, 240);
  TTeThemeEngine engine(nullptr);
  engine.SetColorAutoChanging(false);
  engine.SelectThemeClass(ThemeClassOf<TFrameTestStyle>());
  auto* frame = TComponent::Create<TMenuFrame>(&form);
  frame->SetMinimizeApplication(false);
  frame->SetThemeEngine(&engine);
  form.HandleNeeded();
  frame->Loaded();
  HWND wnd = form.Handle();
  RECT r{};
  GetWindowRect(wnd, &r);
  SendMessageW(wnd, WM_NCRBUTTONDOWN, HTCAPTION, MAKELPARAM(r.left + 150, r.top + 12));
  SendMessageW(wnd, WM_NCRBUTTONUP, HTCAPTION, MAKELPARAM(r.left + 150, r.top + 12));
  ASSERT_EQ(frame->positions.size(), 1u);
  EXPECT_EQ(frame->positions[0], (TPoint{r.left + 150, r.top + 12}));
  EXPECT_EQ(frame->SystemMenuPosition(), (TPoint{}));
  // Not on a caption button.
  SendMessageW(wnd, WM_NCRBUTTONDOWN, HTCLOSE, MAKELPARAM(r.left + 290, r.top + 10));
  SendMessageW(wnd, WM_NCRBUTTONUP, HTCLOSE, MAKELPARAM(r.left + 290, r.top + 10));
  EXPECT_EQ(frame->positions.size(), 1u);
  // Alt+Space, the system menu's mouse command, the icon, and the tray icon's right click.
  SendMessageW(wnd, WM_SYSCOMMAND, SC_KEYMENU, ' ');
  SendMessageW(wnd, WM_SYSCOMMAND, SC_MOUSEMENU, 0);
  SendMessageW(wnd, WM_NCLBUTTONDOWN, HTSYSMENU, MAKELPARAM(r.left + 10, r.top + 10));
  SendMessageW(wnd, WM_NCLBUTTONUP, HTSYSMENU, MAKELPARAM(r.left + 10, r.top + 10));
  SendMessageW(frame->TrayWindow(), WM_TE_TRAYNOTIFY, 0, WM_RBUTTONUP);
  EXPECT_EQ(frame->positions.size(), 5u);
  EXPECT_EQ(frame->HotCode(), 18);
}

TEST_F(FrameTest, AClickOnTheFrameClosesAnOpenDropDownList) {
  int closed = 0;
  OpenDropDownCloser() = [&] { ++closed; };
  Send(WM_NCLBUTTONDOWN, HTCAPTION, 150, 12);
  Send(WM_NCLBUTTONUP, HTCAPTION, 150, 12);
  Send(WM_NCRBUTTONDOWN, HTCAPTION, 150, 12);
  Send(WM_NCRBUTTONUP, HTCAPTION, 150, 12);
  EXPECT_EQ(closed, 2);
  OpenDropDownCloser() = nullptr;
  Send(WM_NCLBUTTONDOWN, HTCAPTION, 150, 12);
  Send(WM_NCLBUTTONUP, HTCAPTION, 150, 12);
  EXPECT_EQ(closed, 2);
}

TEST_F(FrameTest, CloseRunsTheFormsCloseProcessing) {
  ShowActive();
  int queries = 0;
  form->OnCloseQuery = [&](TObject*, bool& canClose) {
    ++queries;
    canClose = queries > 1;
  };
  Send(WM_NCLBUTTONDOWN, HTCLOSE, 290, 10);
  Send(WM_NCLBUTTONUP, HTCLOSE, 290, 10);
  EXPECT_EQ(queries, 1);
  EXPECT_TRUE(IsWindowVisible(wnd));
  frame->Close();
  EXPECT_EQ(queries, 2);
  EXPECT_FALSE(IsWindowVisible(wnd));
}

TEST_F(FrameTest, TheCloseButtonOfAModalFormEndsItsModalLoopWithCancel) {
  int queries = 0;
  form->OnCloseQuery = [&](TObject*, bool& canClose) {
    ++queries;
    canClose = true;
  };
  // Once the form shows, a press and release on its close button arrive.
  form->OnShow = [&](TObject*) {
    RECT r = WindowRect();
    PostMessageW(wnd, WM_NCLBUTTONDOWN, HTCLOSE, MAKELPARAM(r.left + 290, r.top + 10));
    PostMessageW(wnd, WM_NCLBUTTONUP, HTCLOSE, MAKELPARAM(r.left + 290, r.top + 10));
    // Minimizing a modal form does nothing.
    frame->Minimize();
    EXPECT_EQ(frame->WindowState(), kwsNormal);
  };
  EXPECT_EQ(form->ShowModal(), mrCancel);
  EXPECT_FALSE(form->Modal());
  // The close query is the modal loop's, once.
  EXPECT_EQ(queries, 1);
  form->OnShow.Clear();
}

TEST_F(FrameTest, DoubleClicksToggleMaximizeOnTheCaptionAndCloseOnTheIcon) {
  ShowActive();
  const TRect normal = form->BoundsRect();
  Send(WM_NCLBUTTONDBLCLK, HTCAPTION, 150, 12);
  EXPECT_EQ(frame->WindowState(), kwsMaximized);
  EXPECT_EQ(form->BoundsRect(), Screen()->WorkAreaRect());
  Send(WM_NCLBUTTONDBLCLK, HTCAPTION, 150, 12);
  EXPECT_EQ(frame->WindowState(), kwsNormal);
  EXPECT_EQ(form->BoundsRect(), normal);
  // Not without the maximize icon.
  frame->SetBorderIcons({kbiClose, kbiSystemMenu});
  Send(WM_NCLBUTTONDBLCLK, HTCAPTION, 150, 12);
  EXPECT_EQ(frame->WindowState(), kwsNormal);

  bool closed = false;
  frame->OnClose = [&](TObject*, bool& allow) {
    closed = true;
    allow = false;
  };
  Send(WM_NCLBUTTONDBLCLK, HTSYSMENU, 10, 10);
  EXPECT_TRUE(closed);
}

TEST_F(FrameTest, DraggingTheCaptionMovesTheWindowAndEdgesSizeIt) {
  ShowActive();
  frame->Gravitation()->SetEnabled(false);
  const TRect start = form->BoundsRect();
  Send(WM_NCLBUTTONDOWN, HTCAPTION, 150, 12);
  SendClient(WM_MOUSEMOVE, 170, 22);
  EXPECT_EQ(form->BoundsRect(), start.Offset(20, 10));
  SendClient(WM_LBUTTONUP, 150, 12);
  EXPECT_FALSE(frame->Moving());

  // The right edge follows the mouse; the left edge stops at the minimum width.
  const TRect before = form->BoundsRect();
  Send(WM_NCLBUTTONDOWN, HTRIGHT, 306, 100);
  SendClient(WM_MOUSEMOVE, 336, 100);
  EXPECT_EQ(form->BoundsRect().right, before.right + 30);
  SendClient(WM_LBUTTONUP, 336, 100);
  const TRect wider = form->BoundsRect();
  Send(WM_NCLBUTTONDOWN, HTLEFT, 1, 100);
  SendClient(WM_MOUSEMOVE, 1 + 1000, 100);
  SendClient(WM_LBUTTONUP, 1 + 1000, 100);
  EXPECT_EQ(form->BoundsRect().Width(), 150);
  EXPECT_EQ(form->BoundsRect().right, wider.right);
  EXPECT_EQ(ClientSize(wnd).cx, 150 - 8);
}

TEST_F(FrameTest, TheReleaseEndsADragWhereTheButtonCameUp) {
  ShowActive();
  frame->Gravitation()->SetEnabled(false);
  // The last moves of a fast drag may be merged away: the release point
  // still decides where the edge ends.
  const TRect before = form->BoundsRect();
  Send(WM_NCLBUTTONDOWN, HTRIGHT, 306, 100);
  SendClient(WM_MOUSEMOVE, 326, 100);
  EXPECT_EQ(form->BoundsRect().right, before.right + 20);
  SendClient(WM_LBUTTONUP, 346, 100);
  EXPECT_EQ(form->BoundsRect().right, before.right + 40);
  EXPECT_FALSE(frame->Moving());
  EXPECT_EQ(form->BoundsRect().left, before.left);
}

TEST_F(FrameTest, OutlineDraggingMovesTheWindowOnlyOnRelease) {
  ShowActive();
  frame->Gravitation()->SetEnabled(false);
  frame->Dragging()->SetDragMode(kfdmBorder);
  const TRect start = form->BoundsRect();
  Send(WM_NCLBUTTONDOWN, HTCAPTION, 150, 12);
  EXPECT_FALSE(frame->PaintingEnabled());
  SendClient(WM_MOUSEMOVE, 190, 42);
  EXPECT_EQ(form->BoundsRect(), start);
  SendClient(WM_LBUTTONUP, 190, 42);
  EXPECT_EQ(form->BoundsRect(), start.Offset(40, 30));
  EXPECT_TRUE(frame->PaintingEnabled());
  EXPECT_EQ(frame->Dragging()->DragMode(), kfdmBorder);
}

TEST_F(FrameTest, WindowPosChangingKeepsTheTrackSizeLimits) {
  SetWindowPos(wnd, nullptr, 0, 0, 50, 10, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  RECT r = WindowRect();
  EXPECT_EQ(r.right - r.left, 150);
  EXPECT_EQ(r.bottom - r.top, 40);
  auto* constraints = frame->Constraints();
  constraints->SetMinWidth(200);
  constraints->SetMaxHeight(300);
  SetWindowPos(wnd, nullptr, 0, 0, 50, 900, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  r = WindowRect();
  EXPECT_EQ(r.right - r.left, 200);
  EXPECT_EQ(r.bottom - r.top, 300);
  // The message itself reports 0 and clamps the proposal.
  WINDOWPOS pos{wnd, nullptr, 0, 0, 10, 10, SWP_NOMOVE | SWP_NOZORDER};
  EXPECT_EQ(SendMessageW(wnd, WM_WINDOWPOSCHANGING, 0, reinterpret_cast<LPARAM>(&pos)), 0);
  EXPECT_EQ(pos.cx, 200);
  EXPECT_EQ(pos.cy, 40);
}

TEST_F(FrameTest, WindowStatesTakeTheirBoundsAndRestoreReturns) {
  ShowActive();
  const TRect normal = form->BoundsRect();
  frame->Maximize();
  EXPECT_EQ(frame->WindowState(), kwsMaximized);
  EXPECT_EQ(form->BoundsRect(), Screen()->WorkAreaRect());
  EXPECT_EQ(frame->HotCode(), 18);
  // Maximized: no sizing zones, but the buttons still answer.
  EXPECT_EQ(HitAnswer(1, 100), HTCLIENT);
  frame->Restore();
  EXPECT_EQ(frame->WindowState(), kwsNormal);
  EXPECT_EQ(form->BoundsRect(), normal);

  frame->Rollup();
  EXPECT_EQ(frame->WindowState(), kwsRollup);
  EXPECT_EQ(form->BoundsRect(), Bounds(normal.left, normal.top, 308, 24 + 4));
  EXPECT_EQ(frame->FrameClientRect(), Rect(0, 0, 300, 0));
  // Moved while rolled up, it unrolls where it is.
  form->SetBounds(normal.left + 50, normal.top + 40, 308, 28);
  frame->Restore();
  EXPECT_EQ(form->BoundsRect(), normal.Offset(50, 40));

  const TRect moved = form->BoundsRect();
  frame->Minimize();
  EXPECT_EQ(frame->WindowState(), kwsMinimized);
  const int minimizedWidth = GetSystemMetrics(SM_CXMINIMIZED);
  // No minimum size holds for a minimized window.
  EXPECT_EQ(form->BoundsRect(),
            Rect(0, Screen()->WorkAreaRect().bottom - 28, minimizedWidth, Screen()->WorkAreaRect().bottom));
  frame->Minimize();  // minimizing a minimized window restores it
  EXPECT_EQ(frame->WindowState(), kwsNormal);
  EXPECT_EQ(form->BoundsRect(), moved);
}

TEST_F(FrameTest, AWindowTheSystemMinimizesAndRestoresTakesTheFrameAlong) {
  ShowActive();
  const TRect normal = form->BoundsRect();
  ShowWindow(wnd, SW_MINIMIZE);
  EXPECT_EQ(frame->WindowState(), kwsMinimized);
  EXPECT_EQ(frame->RestoreBounds(), normal);
  ShowWindow(wnd, SW_RESTORE);
  EXPECT_EQ(frame->WindowState(), kwsNormal);
  EXPECT_EQ(form->BoundsRect(), normal);
  // The frame's own minimize button still minimizes afterwards.
  Send(WM_NCLBUTTONDOWN, HTMINBUTTON, 254, 10);
  Send(WM_NCLBUTTONUP, HTMINBUTTON, 254, 10);
  EXPECT_EQ(frame->WindowState(), kwsMinimized);
}

TEST_F(FrameTest, TheApplicationsMinimizeAndRestoreReachTheFrameAndItsPredecessors) {
  int minimizes = 0, restores = 0;
  Application()->OnMinimize = [&](TObject*) { ++minimizes; };
  Application()->OnRestore = [&](TObject*) { ++restores; };
  frame->SetMinimizeApplication(true);
  SendMessageW(wnd, WM_NCACTIVATE, TRUE, 0);
  Application()->Minimize();
  EXPECT_EQ(frame->WindowState(), kwsMinimized);
  EXPECT_EQ(minimizes, 1);
  Application()->Restore();
  EXPECT_EQ(frame->WindowState(), kwsNormal);
  EXPECT_EQ(restores, 1);
  // The frame's own minimize minimizes the application, once.
  frame->Minimize();
  EXPECT_TRUE(Application()->Minimized());
  EXPECT_EQ(minimizes, 2);
  frame->Restore();
  EXPECT_FALSE(Application()->Minimized());
  EXPECT_EQ(frame->WindowState(), kwsNormal);
  // A frame that goes gives the application its handlers back.
  form.reset();
  wnd = nullptr;
  Application()->Minimize();
  Application()->Restore();
  EXPECT_EQ(minimizes, 3);
  EXPECT_EQ(restores, 3);
  Application()->OnMinimize.Clear();
  Application()->OnRestore.Clear();
}

TEST_F(FrameTest, RollingUpAMaximizedWindowAndRestoringMaximizesAgain) {
  ShowActive();
  const TRect normal = form->BoundsRect();
  frame->Maximize();
  frame->Rollup();
  EXPECT_EQ(frame->WindowState(), kwsRollup);
  EXPECT_EQ(frame->PreviousState(), kwsMaximized);
  frame->Restore();
  EXPECT_EQ(frame->WindowState(), kwsMaximized);
  EXPECT_EQ(frame->PreviousState(), kwsNormal);
  EXPECT_EQ(form->BoundsRect(), Screen()->WorkAreaRect());
  frame->Restore();
  EXPECT_EQ(form->BoundsRect(), normal);
  // Minimized from maximized, restoring maximizes again.
  frame->Maximize();
  frame->Minimize();
  frame->Restore();
  EXPECT_EQ(frame->WindowState(), kwsMaximized);
  frame->SetWindowState(kwsNormal);
  EXPECT_EQ(form->BoundsRect(), normal);
}

TEST_F(FrameTest, EveryStateActionFromEveryStateReachesTheStateOfTheTable) {
  ShowActive();
  const TRect normal = form->BoundsRect();
  using Action = void (TTeCustomForm::*)();
  const Action actions[] = {&TTeCustomForm::Maximize, &TTeCustomForm::Minimize, &TTeCustomForm::Rollup,
                            &TTeCustomForm::MinimizeToTray, &TTeCustomForm::Restore};
  const Action enter[] = {nullptr, &TTeCustomForm::Maximize, &TTeCustomForm::Minimize, &TTeCustomForm::Rollup,
                          &TTeCustomForm::MinimizeToTray};
  // Rows: from kwsNormal, kwsMaximized, kwsMinimized, kwsRollup, kwsTray,
  // each entered from the normal state; columns: the actions above.
  const TTeWindowState expected[5][5] = {
      {kwsMaximized, kwsMinimized, kwsRollup, kwsTray, kwsNormal},
      {kwsNormal, kwsMinimized, kwsRollup, kwsTray, kwsNormal},
      {kwsMaximized, kwsNormal, kwsRollup, kwsTray, kwsNormal},
      {kwsMaximized, kwsMinimized, kwsNormal, kwsTray, kwsNormal},
      {kwsMaximized, kwsMinimized, kwsRollup, kwsNormal, kwsNormal},
  };
  for (int from = 0; from < 5; ++from) {
    for (int action = 0; action < 5; ++action) {
      SCOPED_TRACE(testing::Message() << "from " << from << " action " << action);
      if (enter[from]) (frame->*enter[from])();
      ASSERT_EQ(frame->WindowState(), TTeWindowState(from));
      (frame->*actions[action])();
      EXPECT_EQ(frame->WindowState(), expected[from][action]);
      // Out of the tray, the window shows again and the icon goes.
      EXPECT_EQ(frame->TrayIconShown(), expected[from][action] == kwsTray);
      EXPECT_EQ(IsWindowVisible(wnd) != FALSE, expected[from][action] != kwsTray);
      // Back to the start for the next round. (Rolled up from the minimized
      // state, a window unrolls where its icon was: it is put back too.)
      while (frame->WindowState() != kwsNormal) frame->Restore();
      form->SetBoundsRect(normal);
    }
  }
}

TEST_F(FrameTest, ActionsRefusedByTheirEventsChangeNothing) {
  ShowActive();
  const TRect normal = form->BoundsRect();
  frame->OnMaximize = [](TObject*, bool& allow) { allow = false; };
  frame->OnRollup = [](TObject*, bool& allow) { allow = false; };
  frame->OnMinimize = [](TObject*, bool& allow) { allow = false; };
  frame->OnMinToTray = [](TObject*, bool& allow) { allow = false; };
  frame->Maximize();
  frame->Rollup();
  frame->Minimize();
  frame->MinimizeToTray();
  EXPECT_EQ(frame->WindowState(), kwsNormal);
  EXPECT_EQ(form->BoundsRect(), normal);
  EXPECT_TRUE(IsWindowVisible(wnd));
  EXPECT_FALSE(frame->TrayIconShown());
}

TEST_F(FrameTest, TheTrayStateHidesTheWindowUntilTheIconIsDoubleClicked) {
  ShowActive();
  const TRect normal = form->BoundsRect();
  frame->MinimizeToTray();
  EXPECT_EQ(frame->WindowState(), kwsTray);
  EXPECT_FALSE(IsWindowVisible(wnd));
  EXPECT_TRUE(frame->TrayIconShown());
  SendMessageW(frame->TrayWindow(), WM_TE_TRAYNOTIFY, 0, WM_LBUTTONDBLCLK);
  EXPECT_EQ(frame->WindowState(), kwsNormal);
  EXPECT_TRUE(IsWindowVisible(wnd));
  EXPECT_FALSE(frame->TrayIconShown());
  EXPECT_EQ(form->BoundsRect(), normal);
  // From a maximized window, back to maximized.
  frame->Maximize();
  frame->MinimizeToTray();
  frame->Restore();
  EXPECT_EQ(frame->WindowState(), kwsMaximized);
  frame->Restore();
  EXPECT_EQ(form->BoundsRect(), normal);
}

TEST_F(FrameTest, APendingStateIsEnteredAfterLoading) {
  TForm other(nullptr);
  other.SetBounds(50, 60, 400, 300);
  auto* pending = TComponent::Create<TTeThemeForm>(&other);
  pending->SetMinimizeApplication(false);
  pending->BeginLoading();
  pending->SetThemeEngine(engine);
  pending->SetWindowState(kwsMaximized);
  EXPECT_EQ(pending->WindowState(), kwsNormal);
  EXPECT_EQ(pending->PendingState(), kwsMaximized);
  other.HandleNeeded();
  pending->Loaded();
  test::PumpMessages();
  EXPECT_EQ(pending->WindowState(), kwsMaximized);
  EXPECT_EQ(pending->PendingState(), kwsNormal);
  EXPECT_EQ(other.BoundsRect(), Screen()->WorkAreaRect());
  pending->Restore();
  EXPECT_EQ(other.BoundsRect(), Bounds(50, 60, 400, 300));
  ShowWindow(other.Handle(), SW_HIDE);
}

TEST_F(FrameTest, ChangingTheStyleOrTheBorderKeepsTheClientSize) {
  engine->SelectThemeClass(ThemeClassOf<TWideFrameStyle>());
  EXPECT_EQ(ClientSize(wnd), (TSize{300, 200}));
  EXPECT_EQ(WindowSize(wnd), (TSize{300 + 16, 200 + 30 + 8}));
  frame->SetBorderStyle(kbsToolWindow);
  EXPECT_EQ(ClientSize(wnd), (TSize{300, 200}));
  EXPECT_EQ(WindowSize(wnd), (TSize{300 + 6, 200 + 18 + 3}));
  // A tool window has its close button only.
  EXPECT_EQ(frame->GetButtonRect(kbiClose), Rect(306 - 4 - 12, 4, 306 - 4, 14));
  EXPECT_TRUE(frame->GetButtonRect(kbiMaximize).IsEmpty());
}

TEST_F(FrameTest, ABorderlessFrameLeavesTheWholeWindowToTheClient) {
  frame->SetBorderStyle(kbsNone);
  EXPECT_EQ(ClientSize(wnd), WindowSize(wnd));
  EXPECT_EQ(ClientSize(wnd).cx, 300);
  EXPECT_EQ(HitAnswer(1, 1), HTCLIENT);
  // Nothing is painted outside a client area that covers everything.
  const int before = TFrameTestStyle::framePaints;
  SendMessageW(wnd, WM_NCPAINT, 1, 0);
  EXPECT_EQ(TFrameTestStyle::framePaints, before);
}

TEST_F(FrameTest, WithoutAStyleTheSystemLookMeasuresTheFrame) {
  frame->SetThemeEngine(nullptr);
  const TSystemFrameMetrics& sys = SystemFrameMetrics();
  EXPECT_EQ(ClientSize(wnd), (TSize{300, 200}));
  EXPECT_EQ(WindowSize(wnd), (TSize{300 + 2 * sys.frame, 200 + 2 * sys.frame + sys.caption}));
  // The whole top border sizes; the maximized window keeps its borders outside the work area.
  EXPECT_EQ(HitAnswer(150, sys.frame - 1), HTTOP);
  EXPECT_EQ(HitAnswer(150, sys.frame), HTCAPTION);
  TRect maximized = frame->GetMaximizedRect();
  EXPECT_EQ(maximized, Screen()->WorkAreaRect().Inflate(sys.frame, sys.frame));
  // An engine without a painting style counts as none.
  TTeThemeEngine plain(nullptr);
  frame->SetThemeEngine(&plain);
  EXPECT_EQ(frame->GetFrameClientRect().left, sys.frame);
  frame->SetThemeEngine(nullptr);
}

TEST_F(FrameTest, TheClassicSystemLookPaintsARaisedEdgeFaceStripsCaptionAndButtons) {
  RefreshSystemFrameMetrics();
  TSystemFrameMetrics classic = SystemFrameMetrics();
  classic.visualStyles = false;
  SetSystemFrameMetricsForTesting(classic);
  frame->SetThemeEngine(nullptr);
  ShowActive();
  SendMessageW(wnd, WM_NCPAINT, 1, 0);
  const int w = frame->FrameWidth(), f = classic.frame;
  auto sys = [](int index) { return ToRGB(GetSysColor(index)); };
  HV_EXPECT_PIXEL_ROWS(unsigned, "the raised edge", WindowPixel(x, y), {0, 100, sys(COLOR_3DLIGHT)},
                       {1, 100, sys(COLOR_BTNHIGHLIGHT)}, {w - 1, 100, sys(COLOR_3DDKSHADOW)},
                       {w - 2, 100, sys(COLOR_BTNSHADOW)}, {f - 1, 100, sys(COLOR_BTNFACE)});
  // The caption band's gradient starts in the caption colour of the state.
  EXPECT_EQ(WindowPixel(f, f + 1), sys(COLOR_ACTIVECAPTION));
  SendMessageW(wnd, WM_NCACTIVATE, FALSE, 0);
  EXPECT_EQ(WindowPixel(f, f + 1), sys(COLOR_INACTIVECAPTION));
  SendMessageW(wnd, WM_NCACTIVATE, TRUE, 0);

  // Rollup and tray are push buttons with a black sign in the middle.
  for (auto icon : {kbiRollup, kbiTray}) {
    const TRect r = frame->GetButtonRect(icon);
    ASSERT_FALSE(r.IsEmpty()) << int(icon);
    EXPECT_EQ(WindowPixel((r.left + r.right) / 2, (r.top + r.bottom) / 2 + 1), 0u) << int(icon);
  }
  // A pressed close button is drawn pushed in.
  const TRect close = frame->GetButtonRect(kbiClose);
  const unsigned normal = WindowPixel(close.left, close.top);
  Send(WM_NCLBUTTONDOWN, HTCLOSE, close.left + 3, close.top + 3);
  EXPECT_NE(WindowPixel(close.left, close.top), normal);
  Send(WM_NCMOUSEMOVE, HTCAPTION, 100, f + 5);
  EXPECT_EQ(WindowPixel(close.left, close.top), normal);
  SendClient(WM_LBUTTONUP, 100, f + 5);
  RefreshSystemFrameMetrics();
}

TEST_F(FrameTest, AShadowWidensTheWindowAndItsRegion) {
  frame->Shadow()->SetSize(6);
  frame->Shadow()->SetEnabled(true);
  EXPECT_EQ(ClientSize(wnd).cx, 300);
  EXPECT_EQ(WindowSize(wnd).cx, 308 + 6);
  EXPECT_EQ(frame->FrameWidth(), 308);
  EXPECT_EQ(frame->WindowWidth(), 314);
  // The shifted copy holds (312, 232) and (6, 6).
  EXPECT_EQ(InRegion(wnd, {{312, 232}, {6, 6}, {0, 0}, {312, 2}}), (std::vector<bool>{true, true, false, false}));
}

// Channel-wise closeness of two 0xRRGGBB colours.
bool Near(unsigned a, unsigned b, int tolerance = 2) {
  for (int shift : {0, 8, 16}) {
    const int d = static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF);
    if (d > tolerance || d < -tolerance) return false;
  }
  return true;
}

// A red window behind the frame's, so that what shows through is known.
class EffectsTest : public FrameTest {
 protected:
  void SetUp() override {
    FrameTest::SetUp();
    back = std::make_unique<TForm>(nullptr);
    back->SetBounds(0, 0, 800, 600);
    back->SetColor(0x0000FF);
    back->Show();
    test::PumpMessages();
    UpdateWindow(back->Handle());
  }
  void TearDown() override {
    ShowWindow(back->Handle(), SW_HIDE);
    FrameTest::TearDown();
    back.reset();
  }
  std::unique_ptr<TForm> back;
};

TEST_F(EffectsTest, TheShadowFadesOverWhatLiesBehindTheWindow) {
  frame->Shadow()->SetSize(6);
  frame->Shadow()->SetEnabled(true);
  ShowActive();
  SendMessageW(wnd, WM_NCPAINT, 1, 0);
  // Window 314 x 234, frame 308 x 228, client right 304, bottom 224. Inside
  // the right strip the shadow (63, 63, 63) lies at alpha 128 over red; its
  // outermost line at alpha 8.
  EXPECT_TRUE(Near(WindowPixel(310, 100), 0x9F1F1F)) << std::hex << WindowPixel(310, 100);
  EXPECT_TRUE(Near(WindowPixel(313, 100), 0xF90202)) << std::hex << WindowPixel(313, 100);
  EXPECT_TRUE(Near(WindowPixel(150, 233), 0xF90202)) << std::hex << WindowPixel(150, 233);
  EXPECT_TRUE(Near(WindowPixel(150, 230), 0x9F1F1F)) << std::hex << WindowPixel(150, 230);
  // The frame lies over its own shadow.
  EXPECT_EQ(WindowPixel(306, 100), kActiveRGB);
  EXPECT_EQ(WindowPixel(150, 226), kActiveRGB);
}

TEST_F(EffectsTest, BlendingShowsTheBackgroundThroughFrameAndClient) {
  frame->Blending()->SetValue(0);
  frame->Blending()->SetEnabled(true);
  ShowActive();
  SendMessageW(wnd, WM_NCPAINT, 1, 0);
  EXPECT_EQ(WindowPixel(2, 100), 0xFF0000u);
  InvalidateRect(wnd, nullptr, TRUE);
  EXPECT_EQ(test::ClientPixel(wnd, 10, 10), 0xFF0000u);
  frame->Blending()->SetValue(255);
  SendMessageW(wnd, WM_NCPAINT, 1, 0);
  EXPECT_EQ(WindowPixel(2, 100), kActiveRGB);
  InvalidateRect(wnd, nullptr, TRUE);
  EXPECT_EQ(test::ClientPixel(wnd, 10, 10), kFaceRGB);
  // Halfway: between the two.
  frame->Blending()->SetValue(128);
  SendMessageW(wnd, WM_NCPAINT, 1, 0);
  EXPECT_TRUE(Near(WindowPixel(2, 100), 0xE00000, 3)) << std::hex << WindowPixel(2, 100);
}

TEST_F(EffectsTest, TheShowAnimationPlaysForItsTimeAndLeavesTheShapesCornersAlone) {
  frame->Animation()->SetEnabled(true);
  frame->Animation()->SetTime(200);
  frame->Animation()->SetEffect(keRandomSelect);
  const auto start = std::chrono::steady_clock::now();
  form->Show();
  EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(190));
  test::PumpMessages();
  // The style cuts the top-left pixel off the frame: there the window behind
  // shows, also after the animation's last frame.
  RECT r = WindowRect();
  HDC screen = GetDC(nullptr);
  EXPECT_EQ(ToRGB(GetPixel(screen, r.left, r.top)), 0xFF0000u);
  ReleaseDC(nullptr, screen);
  SendMessageW(wnd, WM_NCACTIVATE, TRUE, 0);
  SendMessageW(wnd, WM_NCPAINT, 1, 0);
  EXPECT_EQ(WindowPixel(2, 100), kActiveRGB);
}

TEST(FrameAnimation, ATransitionEndsInTheNewImageKeyedOverTheOld) {
  TTeBitmap fresh, old, target;
  fresh.SetSize(20, 10);
  fresh.Fill(0xFF0000FF);
  *fresh.PixelPtr(0, 0) = 0x007F007F;
  old.SetSize(20, 10);
  old.Fill(0xFFFF0000);
  target.SetSize(40, 30);
  target.Fill(0xFF000000);
  TTeAnimation options;
  options.SetTime(60);
  options.SetEffect(keDiagonal);
  const auto start = std::chrono::steady_clock::now();
  PlayTransition(target.DC(), 5, 6, options, fresh, old);
  EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(55));
  HV_EXPECT_PIXEL_ROWS(unsigned, "the transition's last frame", target.GetPixel(x, y) & 0xFFFFFF, {6, 7, 0x0000FFu},
                       {24, 15, 0x0000FFu}, {5, 6, 0xFF0000u, "the key shows the old image"}, {4, 6, 0u}, {25, 16, 0u});
  // Images of different sizes, or none, play nothing.
  TTeBitmap small;
  small.SetSize(3, 3);
  target.Fill(0xFF000000);
  PlayTransition(target.DC(), 0, 0, options, fresh, small);
  EXPECT_EQ(target.GetPixel(1, 1) & 0xFFFFFF, 0u);
}

TEST_F(FrameTest, TheEnginesRefreshReachesTheFrame) {
  ShowActive();
  form->SetBiDiMode(TBiDiMode::bdRightToLeft);
  const int before = TFrameTestStyle::framePaints;
  engine->SetDeltaHue(10);
  EXPECT_GT(TFrameTestStyle::framePaints, before);
  EXPECT_EQ(engine->Theme()->BiDiMode(), TBiDiMode::bdRightToLeft);
  EXPECT_EQ(frame->LinkedThemeEngine(), engine);
  // The engine going away leaves the frame in the system look.
  engine->Free();
  engine = nullptr;
  EXPECT_EQ(frame->ThemeEngine(), nullptr);
  EXPECT_EQ(frame->GetFrameClientRect().left, SystemFrameMetrics().frame);
}

TEST_F(FrameTest, ANewIconOrTextDoesNotLetTheSystemPaintItsCaption) {
  ShowActive();
  SendMessageW(wnd, WM_NCPAINT, 1, 0);
  ASSERT_EQ(WindowPixel(150, 2), kActiveRGB);
  SendMessageW(wnd, WM_SETICON, ICON_BIG,
               reinterpret_cast<LPARAM>(LoadIconW(nullptr, reinterpret_cast<LPCWSTR>(IDI_QUESTION))));
  EXPECT_EQ(WindowPixel(150, 2), kActiveRGB);
  EXPECT_EQ(WindowPixel(150, 12), kActiveRGB);
  SetWindowTextW(wnd, L"");
  EXPECT_EQ(WindowPixel(150, 12), kActiveRGB);
  EXPECT_TRUE(GetWindowLongPtrW(wnd, GWL_STYLE) & WS_CAPTION);
}

TEST_F(FrameTest, CaptionTextChangesReachTheFrame) {
  ShowActive();
  form->SetCaption("Another caption");
  EXPECT_EQ(frame->Caption(), "Another caption");
  EXPECT_TRUE(GetWindowLongPtrW(wnd, GWL_STYLE) & WS_CAPTION);
  frame->SetCaption("Third");
  EXPECT_EQ(form->Caption(), "Third");
  // The frame still reads what the form says, with its length.
  wchar_t buffer[32] = {};
  EXPECT_EQ(GetWindowTextW(wnd, buffer, 32), 5);
}

TEST(FrameLayout, TheFramesPropertiesTravelThroughAStoredLayout) {
  RegisterTestStyles();
  RegisterClasses<TTeThemeEngine, TTeThemeForm>();
  TForm form(nullptr);
  form.SetName("Form1");
  form.SetCaption("Stored");
  auto* engine = TComponent::Create<TTeThemeEngine>(&form);
  engine->SetName("TeThemeEngine1");
  auto* frame = TComponent::Create<TTeThemeForm>(&form);
  frame->SetName("TeThemeForm1");
  frame->SetBorderIcons({kbiClose, kbiHelp});
  frame->SetBorderStyle(kbsToolWindow);
  frame->SetPerformance(ksfpDoubleBuffer);
  frame->SetMinimizeApplication(false);
  frame->SetCaption("A frame");
  frame->Shadow()->SetSize(7);
  frame->Dragging()->SetDragMode(kfdmBorder);
  frame->Constraints()->SetMinWidth(222);
  frame->SetThemeEngine(engine);
  const std::string text = WriteLayout(form);
  EXPECT_NE(text.find("Version = '3.1.5'"), std::string::npos);
  EXPECT_NE(text.find("ThemeEngine = TeThemeEngine1"), std::string::npos);

  TForm copy(nullptr);
  ReadLayout(text, copy);
  auto* read = dynamic_cast<TTeThemeForm*>(copy.FindComponent("TeThemeForm1"));
  ASSERT_NE(read, nullptr);
  EXPECT_EQ(read->BorderIcons(), (TTeBorderIcons{kbiClose, kbiHelp}));
  EXPECT_EQ(read->BorderStyle(), kbsToolWindow);
  EXPECT_EQ(read->Performance(), ksfpDoubleBuffer);
  EXPECT_FALSE(read->MinimizeApplication());
  EXPECT_EQ(read->Caption(), "A frame");
  EXPECT_EQ(read->Shadow()->Size(), 7);
  EXPECT_EQ(read->Dragging()->DragMode(), kfdmBorder);
  EXPECT_EQ(read->Constraints()->MinWidth(), 222);
  EXPECT_EQ(read->ThemeEngine(), copy.FindComponent("TeThemeEngine1"));
  // Loading attached the frame to its form, whose caption it set.
  EXPECT_NE(read->ControlHook(), nullptr);
  EXPECT_EQ(copy.Caption(), "A frame");
}

// An MDI parent from a stored layout, so that it can be the application's
// main form (MDI children are made inside the main form's MDI client).
class TMdiTestParent : public TForm {
  HV_CLASS_NO_PROPERTIES(TMdiTestParent, TForm)

 public:
  explicit TMdiTestParent(TComponent* owner) : TForm(owner) {}
};

TEST(MdiFrame, AMaximizedChildGivesUpItsFrameAndLendsTheParentItsCaption) {
  RegisterTestStyles();
  ASSERT_EQ(Application()->MainForm(), nullptr);
  auto* parent = Application()->CreateForm<TMdiTestParent>();
  auto* engine = TComponent::Create<TTeThemeEngine>(parent);
  engine->SetColorAutoChanging(false);
  engine->SelectThemeClass(ThemeClassOf<TFrameTestStyle>());
  auto* parentFrame = TComponent::Create<TTeThemeForm>(parent);
  parentFrame->SetThemeEngine(engine);
  // The parent's menu bar carries a maximized child's caption buttons.
  auto* bar = TComponent::Create<TTeCustomMenuBar>(parent);
  bar->SetParent(parent);
  bar->SetBounds(0, 0, 300, 20);
  auto* fileItem = new TTeCustomItem(nullptr);
  fileItem->SetCaption("&File");
  bar->Items()->Add(fileItem);
  parentFrame->SetMenuBar(bar);
  parent->HandleNeeded();
  bar->Loaded();
  parentFrame->Loaded();
  parent->Show();
  const std::array<TTeItemButtonKind, 4> mdiKinds = {kibSystemMenu, kibMinimize, kibRestore, kibClose};
  auto mdiButtonsShown = [&] {
    int shown = 0;
    for (TTeItemButtonKind kind : mdiKinds)
      if (bar->MdiButton(kind) && bar->MdiButton(kind)->Visible() && !bar->MdiButton(kind)->ItemRect().IsEmpty())
        ++shown;
    return shown;
  };
  for (TTeItemButtonKind kind : mdiKinds) ASSERT_NE(bar->MdiButton(kind), nullptr);
  EXPECT_EQ(bar->Items()->Items(0), bar->MdiButton(kibSystemMenu)) << "the system-menu item leads the row";
  EXPECT_EQ(mdiButtonsShown(), 0) << "no child is maximized";
  HWND client = parent->ClientHandle();
  ASSERT_NE(client, nullptr);
  RECT area{};
  GetWindowRect(client, &area);
  // Clicks on the empty MDI client go through to the parent's frame.
  EXPECT_EQ(
      SendMessageW(client, WM_NCHITTEST, 0, MAKELPARAM((area.left + area.right) / 2, (area.top + area.bottom) / 2)),
      HTTRANSPARENT);

  auto child = std::make_unique<TForm>(nullptr);
  child->SetFormStyle(TFormStyle::fsMDIChild);
  child->SetCaption("Child");
  child->SetBounds(10, 10, 200, 150);
  auto* frame = TComponent::Create<TTeThemeForm>(child.get());
  EXPECT_FALSE(frame->MinimizeApplication());
  EXPECT_FALSE(frame->BorderIcons().Contains(kbiTray));
  frame->SetThemeEngine(engine);
  child->HandleNeeded();
  frame->Loaded();
  child->Show();
  test::PumpMessages();
  HWND wnd = child->Handle();
  GetClientRect(client, &area);

  frame->Maximize();
  EXPECT_EQ(child->BoundsRect(), Rect(0, 0, area.right, area.bottom));
  EXPECT_EQ(ClientSize(wnd), WindowSize(wnd)) << "no frame at all";
  EXPECT_EQ(parent->Caption(), "Parent - [Child]");
  EXPECT_EQ(parentFrame->Caption(), "Parent - [Child]");
  EXPECT_EQ(mdiButtonsShown(), 4);
  EXPECT_EQ(bar->MdiButton(kibClose)->MdiChildFrame(), frame);
  const TRect closeRect = bar->MdiButton(kibClose)->ItemRect();
  EXPECT_EQ(closeRect.right, bar->ItemArea().right) << "close at the bar's right end";
  EXPECT_EQ(closeRect.Width(), closeRect.Height()) << "square";
  EXPECT_EQ(bar->MdiButton(kibRestore)->ItemRect().right, closeRect.left);
  EXPECT_EQ(bar->MdiButton(kibMinimize)->ItemRect().right, bar->MdiButton(kibRestore)->ItemRect().left);
  EXPECT_EQ(bar->MdiButton(kibSystemMenu)->ItemRect().left, 0);
  EXPECT_EQ(fileItem->ItemRect().left, bar->MdiButton(kibSystemMenu)->ItemRect().right);

  frame->Restore();
  EXPECT_EQ(mdiButtonsShown(), 0) << "the restored child takes its buttons back";
  EXPECT_EQ(fileItem->ItemRect().left, 0);
  EXPECT_EQ(parent->Caption(), "Parent");
  EXPECT_EQ(WindowSize(wnd).cx - ClientSize(wnd).cx, 8);
  // Closing a child minimizes it.
  frame->Close();
  EXPECT_EQ(frame->WindowState(), kwsMinimized);

  ShowWindow(wnd, SW_HIDE);
  child.reset();
  ShowWindow(parent->Handle(), SW_HIDE);
  test::PumpMessages();
  // Closing the main form through its frame ends the program.
  EXPECT_FALSE(Application()->Terminated());
  parentFrame->Close();
  EXPECT_TRUE(Application()->Terminated());
}

TEST(FrameResources, TheImageListHoldsTheSixCaptionGlyphs) {
  TCustomImageList& images = FrameImageList();
  EXPECT_EQ(images.Count(), 6);
  EXPECT_EQ(images.Width(), 16);
  EXPECT_EQ(images.Height(), 16);
  EXPECT_EQ(&images, &FrameImageList());
}

}  // namespace
}  // namespace hv
