// The built-in page view on a generated 1 MB manual page: reading, laying
// out and painting its first screen (goal under 150 ms), laying the whole
// page out, and repainting after one scroll step (goal under 5 ms); the same
// for a 10 MB page, with the longest time the window did not answer while it
// loaded (goal under 1 s), asked by a thread of its own; for a 1 MB page
// styled as generated documentation styles itself (a sheet, sections in
// bordered boxes, coloured table cells) and for one laid out in tables whose
// cells hold lists and tables; and the memory after 100 different
// pages shown in turn (goal within 5 MB of the first).
//
// Run: DISPLAY=:99 cmake/wine-run.sh build/<dir>/tools/page_bench.exe

#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>

#include "pageview/htmlview.h"
#include "tests/support/pinger.h"
#include "tools/bench/bench_memory.h"
#include "tools/bench/bench_timing.h"

namespace {

using namespace hv;

// Chapters of headings, paragraphs with links and emphasis, nested lists,
// definition lists, tables and code, as generated manuals are.
std::string ManualPage(size_t bytes, bool styled, bool nested) {
  std::string page = "<html><head><title>Manual</title>";
  if (styled)
    page += "<style>body { margin: 0 1em; font-family: Georgia, serif } div.sect { margin: 1em 0; padding: 4px 8px;"
            " border: 1px solid #ccc; background-color: #fafafa } h2 { font-size: 1.5em; border-bottom: 2px solid #369 }"
            " p { line-height: 1.4; margin: 0.5em 0 } th { background-color: #def } td.v { text-align: right }"
            " pre { margin-left: 2em } ul ul { list-style-type: square }</style>";
  page += "</head><body>\n";
  for (int chapter = 1; page.size() < bytes; ++chapter) {
    const std::string n = std::to_string(chapter);
    if (styled) page += "<div class=sect>";
    // Older help lays each chapter out in a table: a column of links beside
    // the text, whose lists and tables stand inside the cell.
    if (nested) page += "<table width='100%' cellpadding=4><tr><td width=150 valign=top><a href='#c1'>Contents</a><br>"
                        "<a href='#c2'>Index</a></td><td>";
    page += "<h2><a name='c" + n + "'></a>" + n + ". Chapter " + n + "</h2>\n";
    for (int p = 0; p < 4; ++p)
      page += "<p>The <b>option " + n + "</b> sets how the <a href='#c" + n + "'>reader</a> treats <i>input</i> "
              "that arrives while the previous request is still running; it takes effect at once and "
              "stays until the program ends or another value is given.</p>\n";
    page += "<ul><li>First point of " + n + "<ul><li>nested detail</li><li>another</li></ul></li><li>Second</li></ul>\n";
    page += "<dl><dt><code>--flag-" + n + "</code></dt><dd>What the flag does, in a sentence.</dd></dl>\n";
    page += "<table border=1 cellpadding=3><tr><th>Name</th><th>Value</th><th>Meaning</th></tr>";
    for (int r = 0; r < 4; ++r) page += "<tr><td>key" + std::to_string(r) + "</td><td class=v>" + n + "</td><td>one of the settings</td></tr>";
    page += "</table>\n<pre>  $ tool --flag-" + n + " input.txt\n  done in 0.2 s</pre>\n";
    if (nested) page += "</td></tr></table>\n";
    if (styled) page += "</div>\n";
  }
  return page + "</body></html>\n";
}

LRESULT CALLBACK HostProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  return DefWindowProcW(hwnd, msg, wParam, lParam);
}

// Handles the window's messages until the view has the whole page.
void PumpUntilLoaded(const THtmlView& view) {
  while (view.Loading()) {
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
  }
}

std::filesystem::path WritePage(const std::string& name, const std::string& text) {
  std::filesystem::path file = std::filesystem::temp_directory_path() / name;
  std::ofstream(file, std::ios::binary) << text;
  return file;
}

void Run(const char* label, size_t bytes, HWND host, bool styled = false, bool nested = false) {
  const std::filesystem::path file =
      WritePage(std::string("page_bench_") + (styled ? "styled_" : "") + (nested ? "nested_" : "") + std::to_string(bytes) + ".htm",
                ManualPage(bytes, styled, nested));
  const std::wstring path = file.wstring();

  THtmlView view;
  view.Create(host, RECT{0, 0, 800, 600});
  HDC screen = GetDC(host);
  HDC dc = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, 800, 600);
  HGDIOBJ old = SelectObject(dc, bitmap);
  RECT client{};
  GetClientRect(view.Handle(), &client);

  char name[128];
  std::snprintf(name, sizeof name, "%s: read, lay out and paint the first screen", label);
  bench::Report(name, [&] {
    view.Navigate(path);
    view.PaintTo(dc, client);
  });
  std::snprintf(name, sizeof name, "%s: read and lay out the whole page", label);
  bench::Report(name, [&] {
    view.Navigate(path);
    PumpUntilLoaded(view);
  });
  {
    test::TPinger pinger(view.Handle());
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    view.Navigate(path);
    PumpUntilLoaded(view);
    // The old page goes while the window is watched too.
    view.Navigate(path);
    PumpUntilLoaded(view);
    std::printf("%-58s %9.3f ms\n", (std::string(label) + ": longest unanswered while it loads").c_str(),
                pinger.LongestMs());
  }
  std::snprintf(name, sizeof name, "%s: one scroll step and its repaint", label);
  int step = view.LineStep();
  UpdateWindow(view.Handle());
  bench::Report(name, [&] {
    int next = view.ScrollPos() + step;
    if (next + client.bottom >= view.Layout().height) next = 0;
    view.ScrollTo(next);
    UpdateWindow(view.Handle());  // the window paints what the scroll uncovered
  });
  {
    // The fastest step says what painting costs; the average also counts
    // the steps that move the scroll bar's thumb and redraw the bar.
    constexpr int kSteps = 200;
    view.ScrollTo(0);
    UpdateWindow(view.Handle());
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < kSteps; ++i) {
      SendMessageW(view.Handle(), WM_VSCROLL, SB_LINEDOWN, 0);
      UpdateWindow(view.Handle());
    }
    const double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    std::printf("%-58s %9.3f ms/call\n", (std::string(label) + ": a scroll step on average, thumb included").c_str(),
                ms / kSteps);
  }
  std::snprintf(name, sizeof name, "%s: a whole view painted anew", label);
  bench::Report(name, [&] { view.PaintTo(dc, client); });
  std::printf("%s: %zu bytes, %zu boxes, page %d px high\n", label, bytes, view.Layout().boxes.size(),
              view.Layout().height);
  SelectObject(dc, old);
  DeleteObject(bitmap);
  DeleteDC(dc);
  ReleaseDC(host, screen);
  std::error_code ignored;
  std::filesystem::remove(file, ignored);
}

// 100 different pages of 150 to 250 KB, so that each is read whole on the
// worker, shown in turn in one view.
void Memory(HWND host) {
  constexpr int kPages = 100;
  constexpr double kMB = 1024.0 * 1024.0;
  std::vector<std::filesystem::path> files;
  for (int i = 0; i < kPages; ++i)
    files.push_back(WritePage("page_bench_memory_" + std::to_string(i) + ".htm",
                              ManualPage(150000 + static_cast<size_t>(i * 37 % 100) * 1000, false, false)));
  THtmlView view;
  view.Create(host, RECT{0, 0, 800, 600});
  auto show = [&](int i) {
    view.Navigate(files[static_cast<size_t>(i)].wstring());
    PumpUntilLoaded(view);
    UpdateWindow(view.Handle());
  };
  show(0);
  const double heapFirst = bench::HeapCommittedBytes(), usedFirst = bench::HeapBusyBytes();
  const double setFirst = bench::WorkingSetBytes();
  for (int i = 1; i < kPages; ++i) show(i);
  show(0);
  const double heapLast = bench::HeapCommittedBytes(), usedLast = bench::HeapBusyBytes();
  const double setLast = bench::WorkingSetBytes();
  // The blocks in use tell what the view holds; the committed bytes also
  // count the free space the heap keeps once it has grown.
  std::printf("memory after the first page: heap in use %.2f MB, committed %.1f MB, working set %.1f MB\n",
              usedFirst / kMB, heapFirst / kMB, setFirst / kMB);
  std::printf("memory after 100 pages:      heap in use %.2f MB (%+.2f), committed %.1f MB (%+.1f), "
              "working set %.1f MB (%+.1f)\n",
              usedLast / kMB, (usedLast - usedFirst) / kMB, heapLast / kMB, (heapLast - heapFirst) / kMB, setLast / kMB,
              (setLast - setFirst) / kMB);
  std::error_code ignored;
  for (const auto& file : files) std::filesystem::remove(file, ignored);
}

}  // namespace

int main() {
  WNDCLASSW wc{};
  wc.lpfnWndProc = HostProc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = L"PageBenchHost";
  RegisterClassW(&wc);
  HWND host = CreateWindowExW(0, wc.lpszClassName, L"page bench", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 820, 640,
                              nullptr, nullptr, wc.hInstance, nullptr);
  Run("1 MB manual page", 1 << 20, host);
  Run("10 MB manual page", 10 << 20, host);
  Run("1 MB styled manual page", 1 << 20, host, true);
  Run("1 MB page of layout tables", 1 << 20, host, false, true);
  Memory(host);
  DestroyWindow(host);
  return 0;
}
