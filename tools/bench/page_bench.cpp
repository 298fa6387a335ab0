// The built-in page view on a generated 1 MB manual page: reading, laying
// out and painting its first screen (goal under 150 ms), laying the whole
// page out, and repainting after one scroll step (goal under 5 ms); the same
// for a 10 MB page, with the longest time the window did not answer while it
// loaded (goal under 1 s), asked by a thread of its own; for a 1 MB page
// styled as generated documentation styles itself (a sheet, sections in
// bordered boxes, coloured table cells); for one laid out in tables whose
// cells hold lists and tables; for a 1 MB page in two columns built from
// floats, with a floated note in every chapter and justified text; and the
// memory after 100 different pages shown in turn (goal within 5 MB of the
// first).
//
// Run: DISPLAY=:99 cmake/wine-run.sh build/<dir>/tools/page_bench.exe [memory [pages [every]]]

#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "pageview/htmlview.h"
#include "tests/support/pinger.h"
#include "tools/bench/bench_memory.h"
#include "tools/bench/bench_timing.h"

namespace {

using namespace hv;

// Chapters of headings, paragraphs with links and emphasis, nested lists,
// definition lists, tables and code, as generated manuals are.
std::string ManualPage(size_t bytes, bool styled, bool nested = false, bool columns = false) {
  std::string page = "<html><head><title>Manual</title>";
  if (columns)
    page += "<style>div.documentwrapper { float: left; width: 100% } div.bodywrapper { margin-left: 230px }"
            " div.sidebar { float: left; width: 230px; margin-left: -100% } div.clearer { clear: both }"
            " div.aside { float: right; width: 180px; margin: 0 0 8px 8px; background-color: #eef } p { text-align: justify }"
            "</style>";
  if (styled)
    page += "<style>body { margin: 0 1em; font-family: Georgia, serif } div.sect { margin: 1em 0; padding: 4px 8px;"
            " border: 1px solid #ccc; background-color: #fafafa } h2 { font-size: 1.5em; border-bottom: 2px solid #369 }"
            " p { line-height: 1.4; margin: 0.5em 0 } th { background-color: #def } td.v { text-align: right }"
            " pre { margin-left: 2em } ul ul { list-style-type: square }</style>";
  page += "</head><body>\n";
  if (columns) page += "<div class=documentwrapper><div class=bodywrapper>";
  for (int chapter = 1; page.size() < bytes; ++chapter) {
    const std::string n = std::to_string(chapter);
    if (styled) page += "<div class=sect>";
    // Older help lays each chapter out in a table: a column of links beside
    // the text, whose lists and tables stand inside the cell.
    if (nested) page += "<table width='100%' cellpadding=4><tr><td width=150 valign=top><a href='#c1'>Contents</a><br>"
                        "<a href='#c2'>Index</a></td><td>";
    if (columns) page += "<div class=aside><p>A note beside chapter " + n + ", floated at the right.</p></div>";
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
  if (columns) page += "</div></div><div class=sidebar><p>Contents</p><ul><li>One</li><li>Two</li></ul></div><div class=clearer></div>";
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

void Run(const char* label, size_t bytes, HWND host, bool styled = false, bool nested = false, bool columns = false) {
  const std::filesystem::path file =
      WritePage(std::string("page_bench_") + (styled ? "styled_" : "") + (nested ? "nested_" : "") + (columns ? "columns_" : "") +
                    std::to_string(bytes) + ".htm",
                ManualPage(bytes, styled, nested, columns));
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

struct MemoryFigures {
  double used, heap, committed, set;
  std::vector<double> heaps;
  static MemoryFigures Now() {
    return {bench::HeapBusyBytes(), bench::HeapCommittedBytes(), bench::CommittedPrivateBytes(),
            bench::WorkingSetBytes(), bench::HeapCommittedByHeap()};
  }
};

// Different pages of 150 to 250 KB, so that each is read whole on the
// worker, shown in turn in one view: 100 of them, or `pages`, with the
// figures after every `every` pages when asked for.
void Memory(HWND host, int pages = 100, int every = 0) {
  constexpr double kMB = 1024.0 * 1024.0;
  std::vector<std::filesystem::path> files;
  for (int i = 0; i < pages; ++i)
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
  const MemoryFigures first = MemoryFigures::Now();
  auto line = [&](const char* label, const MemoryFigures& now) {
    std::printf("%-28s heap in use %.2f MB (%+.2f), heaps committed %.1f MB (%+.1f), all committed %.1f MB (%+.1f), "
                "working set %.1f MB (%+.1f)\n",
                label, now.used / kMB, (now.used - first.used) / kMB, now.heap / kMB, (now.heap - first.heap) / kMB,
                now.committed / kMB, (now.committed - first.committed) / kMB, now.set / kMB,
                (now.set - first.set) / kMB);
    if (every) {
      std::printf("%28s by heap:", "");
      for (size_t h = 0; h < now.heaps.size(); ++h)
        std::printf(" %.1f (%+.1f)", now.heaps[h] / kMB, (now.heaps[h] - (h < first.heaps.size() ? first.heaps[h] : 0)) / kMB);
      std::printf("\n");
    }
  };
  line("memory after the first page:", first);
  for (int i = 1; i < pages; ++i) {
    show(i);
    if (every && i % every == 0) line(("after " + std::to_string(i + 1) + " pages:").c_str(), MemoryFigures::Now());
  }
  show(0);
  // The blocks in use tell what the view holds; the committed bytes also
  // count the free space the heaps keep once they have grown.
  line(("memory after " + std::to_string(pages) + " pages:").c_str(), MemoryFigures::Now());
  if (every) {
    HANDLE heaps[64];
    const DWORD heapCount = GetProcessHeaps(64, heaps);
    for (DWORD h = 0; h < heapCount && h < 64; ++h) {
      const bench::HeapShape shape = bench::ShapeOf(heaps[h]);
      std::printf("heap %lu%s: %d regions, %.1f MB committed, %.1f MB reserved; %d blocks in use, %.2f MB; free:",
                  static_cast<unsigned long>(h), heaps[h] == GetProcessHeap() ? " (process)" : "", shape.regions,
                  shape.committed / kMB, shape.uncommitted / kMB, shape.busy, shape.busyBytes / kMB);
      for (int b = 0; b < 4; ++b) std::printf(" %d (%.2f MB)", shape.freeCount[b], shape.freeBytes[b] / kMB);
      std::printf(", largest %.0f KB\n", shape.largestFree / 1024);
    }
  }
  std::error_code ignored;
  for (const auto& file : files) std::filesystem::remove(file, ignored);
}

}  // namespace

// With "memory [pages] [every]" only the memory run, longer and with its
// series, to see whether the growth levels off.
int main(int argc, char** argv) {
  WNDCLASSW wc{};
  wc.lpfnWndProc = HostProc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = L"PageBenchHost";
  RegisterClassW(&wc);
  HWND host = CreateWindowExW(0, wc.lpszClassName, L"page bench", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 820, 640,
                              nullptr, nullptr, wc.hInstance, nullptr);
  if (argc > 1 && std::string(argv[1]) == "memory") {
    Memory(host, argc > 2 ? std::max(2, std::atoi(argv[2])) : 100, argc > 3 ? std::max(1, std::atoi(argv[3])) : 10);
    DestroyWindow(host);
    return 0;
  }
  Run("1 MB manual page", 1 << 20, host);
  Run("10 MB manual page", 10 << 20, host);
  Run("1 MB styled manual page", 1 << 20, host, true);
  Run("1 MB page of layout tables", 1 << 20, host, false, true);
  Run("1 MB manual page in floated columns", 1 << 20, host, false, false, true);
  Memory(host);
  DestroyWindow(host);
  return 0;
}
