// The viewer started in a style named on its command line: in this process
// through ApplyStyleOption on the window as the program makes it, and from
// outside by starting HelpViewer.exe itself and looking at its window.

#include "app/styleoption.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <chrono>
#include <memory>
#include <string>
#include <thread>

#include "app/frmmain.h"
#include "app/startup.h"
#include "framework/winstring.h"
#include "tests/support/win_test.h"
#include "theme/controls/statusbar.h"
#include "theme/core/theme.h"
#include "theme/core/themeengine.h"
#include "theme/core/themelibrary.h"

namespace hv {
namespace {

// The region a window is shaped with: its kind and its box.
struct TShape {
  int kind = ERROR;  // ERROR (none), SIMPLEREGION or COMPLEXREGION
  RECT box{};
};

TShape WindowShape(HWND wnd) {
  TShape shape;
  HRGN region = CreateRectRgn(0, 0, 0, 0);
  shape.kind = GetWindowRgn(wnd, region);
  GetRgnBox(region, &shape.box);
  DeleteObject(region);
  return shape;
}

// True when the window is shaped as its plain rectangle.
bool Rectangular(HWND wnd) {
  const TShape shape = WindowShape(wnd);
  RECT r{};
  GetWindowRect(wnd, &r);
  if (shape.kind == ERROR || shape.kind == NULLREGION) return shape.kind == ERROR;
  return shape.kind == SIMPLEREGION && shape.box.left == 0 && shape.box.top == 0 &&
         shape.box.right == r.right - r.left && shape.box.bottom == r.bottom - r.top;
}

struct StyleOptionTest : ::testing::Test {
  static void SetUpTestSuite() {
    if (!ThemeLibraryStarted()) StartViewer();
  }
  void SetUp() override {
    form = std::make_unique<TFrmMain>(nullptr);
    form->LoadFromLayout();
    engine = dynamic_cast<TTeThemeEngine*>(form->FindComponent("TeThemeEngine1"));
    ASSERT_NE(engine, nullptr);
  }
  void TearDown() override {
    if (form && form->HandleAllocated()) ShowWindow(form->Handle(), SW_HIDE);
    form.reset();
  }
  std::string StyleName() const { return engine->Theme()->ThemeClass()->GetName(); }

  std::unique_ptr<TFrmMain> form;
  TTeThemeEngine* engine = nullptr;
};

TEST_F(StyleOptionTest, ANamedStyleReplacesTheStoredOneBeforeTheWindowShows) {
  EXPECT_EQ(StyleName(), "MetalLuna");
  EXPECT_EQ(ApplyStyleOption(*form, {}), "");
  EXPECT_EQ(StyleName(), "MetalLuna") << "without the option the stored style stands";
  EXPECT_EQ(ApplyStyleOption(*form, {"--style", "advanced"}), "");
  EXPECT_EQ(StyleName(), "Advanced");
  EXPECT_EQ(ApplyStyleOption(*form, {"--style= k d e "}), "");
  EXPECT_EQ(StyleName(), "KDE");
  EXPECT_FALSE(form->Visible());
  form->Show();
  test::PumpMessages();
  EXPECT_TRUE(Rectangular(form->Handle())) << "KDE gives no window region";
  EXPECT_EQ(ApplyStyleOption(*form, {"--style", "Metal Luna"}), "");
  EXPECT_EQ(StyleName(), "MetalLuna");
}

TEST_F(StyleOptionTest, AnUnknownNameKeepsTheStoredStyleAndSaysWhichExist) {
  const std::string message = ApplyStyleOption(*form, {"--style", "Aero"});
  EXPECT_EQ(StyleName(), "MetalLuna");
  EXPECT_NE(message.find("\"Aero\""), std::string::npos) << message;
  for (const char* name : {"\"Luna\"", "\"MetalLuna\"", "\"Advanced\"", "\"KDE\""})
    EXPECT_NE(message.find(name), std::string::npos) << name;
  form->ShowStartupMessage(message);
  EXPECT_EQ(form->StartupMessage(), message);
  // The status bar's first panel carries it and takes the spare width.
  auto* bar = dynamic_cast<TTeCustomStatusBar*>(form->FindComponent("TeThemeStatusBar1"));
  ASSERT_NE(bar, nullptr);
  TTeStatusPanel* first = bar->Panels()->Items(0);
  EXPECT_EQ(first->Text(), message);
  form->Show();
  test::PumpMessages();
  EXPECT_GT(first->PanelRight() - first->PanelLeft(), 50);
  EXPECT_EQ(bar->Panels()->Items(1)->Text(), "");
  EXPECT_NE(ApplyStyleOption(*form, {"--style"}), "") << "an option without a name is an unknown name";
  EXPECT_EQ(StyleName(), "MetalLuna");
}

// --- from outside ------------------------------------------------------------------------

// HelpViewer.exe beside the build's other programs: bin/ next to tests/.
std::wstring ViewerPath() {
  wchar_t self[MAX_PATH];
  const DWORD length = GetModuleFileNameW(nullptr, self, MAX_PATH);
  std::wstring path(self, length);
  for (int up = 0; up < 3; ++up) path.resize(path.find_last_of(L"\\/"));
  return path + L"\\bin\\HelpViewer.exe";
}

// One run of the viewer with its standard error read through a pipe.
class TViewerRun {
 public:
  explicit TViewerRun(const std::wstring& arguments) {
    SECURITY_ATTRIBUTES inherit{sizeof(inherit), nullptr, TRUE};
    HANDLE writeEnd = nullptr;
    if (!CreatePipe(&readEnd_, &writeEnd, &inherit, 0)) return;
    SetHandleInformation(readEnd_, HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdError = writeEnd;
    startup.hStdOutput = writeEnd;
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    std::wstring line = L"\"" + ViewerPath() + L"\" " + arguments;
    started_ = CreateProcessW(nullptr, line.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &process_);
    CloseHandle(writeEnd);
  }
  ~TViewerRun() {
    if (started_) {
      if (window_) PostMessageW(window_, WM_CLOSE, 0, 0);
      if (WaitForSingleObject(process_.hProcess, 10000) != WAIT_OBJECT_0) TerminateProcess(process_.hProcess, 1);
      CloseHandle(process_.hThread);
      CloseHandle(process_.hProcess);
    }
    if (readEnd_) CloseHandle(readEnd_);
  }
  TViewerRun(const TViewerRun&) = delete;
  TViewerRun& operator=(const TViewerRun&) = delete;

  bool Started() const { return started_; }

  // The viewer's main window once it shows, and a moment to paint it.
  HWND WaitForWindow() {
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (!window_ && std::chrono::steady_clock::now() < end) {
      EnumWindows(
          [](HWND wnd, LPARAM self) -> BOOL {
            auto* run = reinterpret_cast<TViewerRun*>(self);
            DWORD pid = 0;
            GetWindowThreadProcessId(wnd, &pid);
            wchar_t name[64] = {};
            GetClassNameW(wnd, name, 64);
            if (pid == run->process_.dwProcessId && IsWindowVisible(wnd) && std::wstring(name) == L"TFrmMain") {
              run->window_ = wnd;
              return FALSE;
            }
            return TRUE;
          },
          reinterpret_cast<LPARAM>(this));
      if (!window_) std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    if (window_) {
      std::this_thread::sleep_for(std::chrono::milliseconds(1500));
      RedrawWindow(window_, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
      std::this_thread::sleep_for(std::chrono::milliseconds(500));
    }
    return window_;
  }

  // What the viewer wrote to standard error and output so far.
  std::string Output() {
    std::string text;
    DWORD available = 0;
    while (PeekNamedPipe(readEnd_, nullptr, 0, nullptr, &available, nullptr) && available > 0) {
      char buffer[512];
      DWORD read = 0;
      if (!ReadFile(readEnd_, buffer, sizeof buffer, &read, nullptr) || read == 0) break;
      text.append(buffer, read);
    }
    return text;
  }

 private:
  PROCESS_INFORMATION process_{};
  HANDLE readEnd_ = nullptr;
  bool started_ = false;
  HWND window_ = nullptr;
};

// The window's top rows and left column as they show on the screen.
std::vector<COLORREF> FramePixels(HWND wnd) {
  RECT r{};
  GetWindowRect(wnd, &r);
  HDC screen = GetDC(nullptr);
  std::vector<COLORREF> pixels;
  for (int y = 0; y < 20; y += 3)
    for (int x = 12; x < r.right - r.left - 12; x += 7) pixels.push_back(GetPixel(screen, r.left + x, r.top + y));
  for (int y = 40; y < r.bottom - r.top - 10; y += 11) pixels.push_back(GetPixel(screen, r.left + 1, r.top + y));
  ReleaseDC(nullptr, screen);
  return pixels;
}

size_t Differences(const std::vector<COLORREF>& a, const std::vector<COLORREF>& b) {
  size_t count = 0;
  for (size_t i = 0; i < std::min(a.size(), b.size()); ++i) count += a[i] != b[i];
  return count + (a.size() > b.size() ? a.size() - b.size() : b.size() - a.size());
}

// The registry as the program fills it, to know which styles to ask for.
struct StyleOptionFromOutside : ::testing::Test {
  static void SetUpTestSuite() {
    if (!ThemeLibraryStarted()) StartViewer();
  }
};

TEST_F(StyleOptionFromOutside, TheViewerStartsInTheNamedStyleOrInMetalLuna) {
  std::vector<COLORREF> metal;
  {
    TViewerRun run(L"");
    ASSERT_TRUE(run.Started()) << Narrow(ViewerPath());
    HWND wnd = run.WaitForWindow();
    ASSERT_NE(wnd, nullptr);
    EXPECT_EQ(WindowShape(wnd).kind, COMPLEXREGION) << "Metal Luna's rounded corners";
    metal = FramePixels(wnd);
  }
  // Every other style the viewer knows, by its name written in lower case
  // without spaces: a frame of its own, shaped as the style says.
  ASSERT_NE(FindThemeClass("Advanced"), nullptr);
  for (int i = 0; i < ThemeClassCount(); ++i) {
    TTeThemeClass style = ThemeClasses(i);
    if (!style->IsThemeAvailable() || style->GetName() == "MetalLuna") continue;
    std::string typed;
    for (char c : style->GetName())
      if (c != ' ') typed += static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    SCOPED_TRACE(typed);
    TViewerRun run(L"--style " + Widen(typed));
    ASSERT_TRUE(run.Started());
    HWND wnd = run.WaitForWindow();
    ASSERT_NE(wnd, nullptr);
    RECT r{};
    GetWindowRect(wnd, &r);
    HRGN own = style->Create()->GetFormRegion(r.right - r.left, r.bottom - r.top, kbsStandard);
    EXPECT_EQ(Rectangular(wnd), own == nullptr) << "the window is shaped as the style says";
    if (own) DeleteObject(own);
    EXPECT_GT(Differences(FramePixels(wnd), metal), metal.size() / 2) << "the frame is not Metal Luna's";
    EXPECT_EQ(run.Output(), "");
  }
  {
    TViewerRun run(L"--style \"No Such Style\"");
    ASSERT_TRUE(run.Started());
    HWND wnd = run.WaitForWindow();
    ASSERT_NE(wnd, nullptr) << "a wrong name still shows the window";
    EXPECT_EQ(WindowShape(wnd).kind, COMPLEXREGION) << "in Metal Luna";
    EXPECT_EQ(Differences(FramePixels(wnd), metal), 0u);
    const std::string output = run.Output();
    EXPECT_NE(output.find("\"No Such Style\""), std::string::npos) << output;
    EXPECT_NE(output.find("\"Advanced\""), std::string::npos) << output;
  }
}

}  // namespace
}  // namespace hv
