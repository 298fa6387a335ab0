// The controls demonstration from outside: started as its own process,
// driven by real keyboard and mouse input only, read through window
// messages and screen pixels.

#include <gtest/gtest.h>
#include <windows.h>

#include <chrono>
#include <cwchar>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "tests/support/outside.h"

namespace hv::test {
namespace {

using namespace std::chrono_literals;

std::wstring WindowText(HWND wnd) {
  wchar_t buffer[256] = {};
  SendMessageW(wnd, WM_GETTEXT, 256, reinterpret_cast<LPARAM>(buffer));
  return buffer;
}

POINT Centre(const RECT& r) { return {(r.left + r.right) / 2, (r.top + r.bottom) / 2}; }

class ControlsDemoFromOutside : public testing::Test {
 protected:
  void SetUp() override {
    demo_ = std::make_unique<TOutsideProgram>(HostPathToWindows(HV_CONTROLSDEMO_EXE));
    ASSERT_TRUE(demo_->Started());
    main_ = demo_->WaitForTopWindow(L"TFrmControls", 30s);
    ASSERT_NE(main_, nullptr);
    SetForegroundWindow(main_);
  }
  void TearDown() override {
    if (main_) demo_->Close(main_, 10s);
    demo_.reset();
  }

  std::unique_ptr<TOutsideProgram> demo_;
  HWND main_ = nullptr;
};

TEST_F(ControlsDemoFromOutside, TypedTextComesBackThroughTheWindowText) {
  std::vector<HWND> edits = DescendantsOfClass(main_, L"TTeCustomEdit");
  ASSERT_GE(edits.size(), 1u);
  HWND edit = edits[0];
  MouseClickAt(Centre(ClientRectOnScreen(edit)));
  ASSERT_TRUE(WaitUntil([&] { return GetForegroundWindow() == main_; }, 5s));
  PressChord(VK_CONTROL, 'A');
  const std::wstring typed = L"h\u00E9llo \u4E16\u754C";
  TypeUnicode(typed);
  std::wstring text;
  EXPECT_TRUE(WaitUntil(
      [&] {
        text = WindowText(edit);
        return text == typed;
      },
      5s));
  EXPECT_EQ(text, typed);
}

TEST_F(ControlsDemoFromOutside, TheStyleSwitcherRepaintsEveryThemedControl) {
  // One window of each windowed themed class, as the screen shows it; the
  // windowless ones (speed buttons, scroll bars, splitter) are seen through
  // the windows they sit on, the tool bar's group box among them.
  const wchar_t* classes[] = {L"TTeThemeMenuBar",    L"TTeThemeGroupBox",  L"TTeThemeRadioGroup",
                              L"TTeThemeCheckBox",   L"TTeThemeRadioButton", L"TTeThemeSTreeView",
                              L"TTeThemeStatusBar"};
  std::vector<std::pair<std::wstring, RECT>> places;
  for (const wchar_t* name : classes) {
    std::vector<HWND> found = DescendantsOfClass(main_, name);
    if (found.empty()) {
      ADD_FAILURE() << "no window of class " << std::string(name, name + wcslen(name));
      continue;
    }
    places.push_back({name, WindowRectOf(found[0])});
  }
  std::vector<HWND> switchers = DescendantsOfClass(main_, L"TTeSwitcherComboBox");
  ASSERT_EQ(switchers.size(), 1u);
  HWND switcher = switchers[0];
  const std::wstring firstStyle = WindowText(switcher);

  std::vector<TScreenShot> before;
  for (const auto& place : places) before.push_back(CaptureScreen(place.second));

  // A click opens the list; an arrow key and Enter pick the style next to
  // the current one.
  const bool last = SendMessageW(switcher, CB_GETCURSEL, 0, 0) + 1 == SendMessageW(switcher, CB_GETCOUNT, 0, 0);
  MouseClickAt(Centre(ClientRectOnScreen(switcher)));
  ASSERT_TRUE(WaitUntil([&] { return SendMessageW(switcher, CB_GETDROPPEDSTATE, 0, 0) != 0; }, 5s))
      << "a click opens the list";
  PressKey(last ? VK_UP : VK_DOWN);
  PressKey(VK_RETURN);
  ASSERT_TRUE(WaitUntil([&] { return WindowText(switcher) != firstStyle; }, 5s))
      << "the selection did not move: foreground " << (GetForegroundWindow() == main_) << ", dropped "
      << SendMessageW(switcher, CB_GETDROPPEDSTATE, 0, 0) << ", index " << SendMessageW(switcher, CB_GETCURSEL, 0, 0)
      << " of " << SendMessageW(switcher, CB_GETCOUNT, 0, 0);

  for (size_t i = 0; i < places.size(); ++i) {
    TScreenShot after;
    const bool changed = WaitUntil(
        [&] {
          after = CaptureScreen(places[i].second);
          return !(after == before[i]);
        },
        5s);
    EXPECT_TRUE(changed) << std::string(places[i].first.begin(), places[i].first.end())
                         << " looks the same after the style changed";
  }
}

}  // namespace
}  // namespace hv::test
