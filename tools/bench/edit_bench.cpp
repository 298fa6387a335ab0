// The edit box under Wine: typing a character at the end of a 10,000
// character text, moving the caret by a word across it, and painting a box
// of 400 x 24. Each is timed as the key's whole handling, and again with
// the repaint it asks for. Painting is timed through the window and into
// a bitmap in each Performance mode: under Wine the window's round trip to
// the X server and the double buffer's bitmap made for each paint cost more
// than the painting itself.
//
// Run: DISPLAY=:99 cmake/wine-run.sh build/<dir>/tools/edit_bench.exe

#include <windows.h>

#include <cstdio>
#include <memory>
#include <string>

#include "framework/application.h"
#include "framework/forms.h"
#include "theme/controls/edit.h"
#include "theme/core/themelibrary.h"
#include "tools/bench/bench_timing.h"

namespace {

using namespace hv;

void HoldCtrl(bool down) {
  BYTE state[256] = {};
  GetKeyboardState(state);
  state[VK_CONTROL] = down ? 0x80 : 0;
  SetKeyboardState(state);
}

void Pump() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
}

}  // namespace

int main() {
  Application()->Initialize();
  StartThemeLibrary();
  {
    auto form = std::make_unique<TForm>(nullptr);
    form->SetBounds(40, 40, 460, 120);
    auto* edit = TComponent::Create<TTeCustomEdit>(form.get());
    edit->SetParent(form.get());
    edit->SetAutoSize(false);
    edit->SetBounds(10, 10, 400, 24);
    form->Show();
    Pump();
    SetForegroundWindow(form->Handle());
    edit->SetFocus();
    Pump();
    HWND wnd = edit->Handle();

    std::u16string words;
    while (words.size() < 10000) words += u"word ";
    words.resize(10000);
    edit->SetEditText(words);
    edit->SetCaret(10000);
    edit->SetSelLength(0);
    Pump();
    std::printf("text of %zu characters, box of %d x %d\n", edit->EditText().size(), edit->Width(), edit->Height());

    bench::Report("type a character at the end", [&] { SendMessageW(wnd, WM_CHAR, 'x', 1); });
    bench::Report("type a character at the end, repainted", [&] {
      SendMessageW(wnd, WM_CHAR, 'y', 1);
      UpdateWindow(wnd);
    });
    edit->SetEditText(words);
    edit->SetCaret(0);
    Pump();
    HoldCtrl(true);
    auto wordMove = [&] {
      if (edit->CaretPos() >= static_cast<int>(edit->EditText().size())) edit->SetCaret(0);
      SendMessageW(wnd, WM_KEYDOWN, VK_RIGHT, 1);
    };
    bench::Report("Ctrl+Right across the text", wordMove);
    bench::Report("Ctrl+Right across the text, repainted", [&] {
      wordMove();
      UpdateWindow(wnd);
    });
    edit->SetCaret(static_cast<int>(edit->EditText().size()));
    bench::Report("Ctrl+Left across the text", [&] {
      if (edit->CaretPos() == 0) edit->SetCaret(static_cast<int>(edit->EditText().size()));
      SendMessageW(wnd, WM_KEYDOWN, VK_LEFT, 1);
    });
    HoldCtrl(false);
    bench::Report("paint the 400 x 24 box", [&] { RedrawWindow(wnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW); });
    // The painting itself, into a bitmap: the window's invalidation and
    // the trip to the X server under Wine cost more than the painting.
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, 400, 24);
    HGDIOBJ old = SelectObject(memory, bitmap);
    ReleaseDC(nullptr, screen);
    bench::Report("paint the 400 x 24 box into a bitmap", [&] { SendMessageW(wnd, WM_PAINT, reinterpret_cast<WPARAM>(memory), 0); });
    edit->SetPerformance(kspSharedBuffer);
    bench::Report("paint the 400 x 24 box into a bitmap, kspSharedBuffer",
                  [&] { SendMessageW(wnd, WM_PAINT, reinterpret_cast<WPARAM>(memory), 0); });
    edit->SetPerformance(kspNoBuffer);
    bench::Report("paint the 400 x 24 box into a bitmap, kspNoBuffer", [&] { SendMessageW(wnd, WM_PAINT, reinterpret_cast<WPARAM>(memory), 0); });
    edit->SetPasswordKind(pkCircle);
    bench::Report("the same, password circles", [&] { SendMessageW(wnd, WM_PAINT, reinterpret_cast<WPARAM>(memory), 0); });
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
  }
  FinishThemeLibrary();
  return 0;
}
