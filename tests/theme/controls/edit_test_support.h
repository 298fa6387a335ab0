#pragma once
// What the edit box tests share: a box on the shared form with the focus,
// keys sent with Shift and Ctrl held as the thread's key state, typed
// characters, and the clipboard read and written directly.

#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "tests/theme/controls/box_test_support.h"
#include "theme/controls/edit.h"
#include "theme/frame/menuresources.h"

namespace hv::test {

class EditTest : public ControlTest {
 protected:
  // The context menu opens as a themed popup menu: the menus' look and
  // their click dispatcher are made once.
  static void SetUpTestSuite() {
    ControlTest::SetUpTestSuite();
    static const bool started = (StartMenus(), true);
    (void)started;
  }
  TTeCustomEdit* MakeEdit(const std::u16string& text = u"", int width = 121) {
    auto* edit = Make<TTeCustomEdit>(10, 10, width, 21);
    edit->SetEditText(text);
    return edit;
  }
  // Focused with nothing selected and the caret at `caret`.
  static void Focus(TTeCustomEdit* edit, int caret = 0) {
    SetForegroundWindow(edit->Parent()->Handle());
    edit->SetFocus();
    PumpMessages();
    edit->Select(caret, 0);
  }
  static void Key(TTeCustomEdit* edit, WORD key, bool shift = false, bool ctrl = false) {
    BYTE state[256] = {};
    GetKeyboardState(state);
    BYTE saved[256];
    std::copy(std::begin(state), std::end(state), std::begin(saved));
    state[VK_SHIFT] = shift ? 0x80 : 0;
    state[VK_CONTROL] = ctrl ? 0x80 : 0;
    SetKeyboardState(state);
    SendMessageW(edit->Handle(), WM_KEYDOWN, key, 1);
    SendMessageW(edit->Handle(), WM_KEYUP, key, static_cast<LPARAM>(0xC0000001u));
    SetKeyboardState(saved);
  }
  static void Type(TTeCustomEdit* edit, std::u16string_view text) {
    for (char16_t c : text) SendMessageW(edit->Handle(), WM_CHAR, c, 1);
  }
  static bool SetClipboard(std::u16string_view text) {
    if (!OpenClipboard(nullptr)) return false;
    EmptyClipboard();
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, (text.size() + 1) * 2);
    auto* data = static_cast<char16_t*>(GlobalLock(block));
    std::copy(text.begin(), text.end(), data);
    data[text.size()] = 0;
    GlobalUnlock(block);
    const bool placed = SetClipboardData(CF_UNICODETEXT, block) != nullptr;
    if (!placed) GlobalFree(block);
    CloseClipboard();
    return placed;
  }
  static std::u16string ClipboardText() {
    std::u16string text = u"<none>";
    if (!OpenClipboard(nullptr)) return u"<closed>";
    if (HANDLE block = GetClipboardData(CF_UNICODETEXT)) {
      const auto* data = static_cast<const char16_t*>(GlobalLock(block));
      text = data;
      GlobalUnlock(block);
    }
    CloseClipboard();
    return text;
  }
  static std::string Utf8(const std::u16string& s) {
    std::string out;
    for (char16_t c : s) out += c < 128 ? static_cast<char>(c) : '?';
    return out;
  }
};

}  // namespace hv::test
