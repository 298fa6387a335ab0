// What the viewer holds: working set, the committed bytes of the process's
// heaps (Wine answers 0 for PrivateUsage) and the live GDI and USER objects
// (counted by the tests' counter, since Wine's GetGuiResources answers 0)
// after the window's start, after loading 10,000 topics, after the first
// page and after showing 100 pages in turn. Goals: start under 40 MB; the
// 100 pages add no more than 5 MB over the first.

#include <windows.h>
// After <windows.h>, which it needs.
#include <psapi.h>

#include <cstdio>
#include <string>

#include "app/frmmain.h"
#include "app/startup.h"
#include "framework/application.h"
#include "framework/memo.h"
#include "framework/treeview.h"
#include "framework/winstring.h"
#include "tests/support/gui_objects.h"
#include "tools/bench/bench_memory.h"
#include "theme/controls/themetreeview.h"

namespace {

constexpr int kTopics = 10000;
constexpr int kPages = 100;
constexpr double kMB = 1024.0 * 1024.0;

void Write(const std::string& path, const std::string& bytes) {
  HANDLE file = CreateFileW(hv::Widen(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  DWORD written = 0;
  WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  CloseHandle(file);
}

// A page of some 30 KB: headings, paragraphs, a list, a table, links.
std::string MakePage(int n) {
  std::string page = "<html><head><title>Page " + std::to_string(n) + "</title></head><body><h1>Page " +
                     std::to_string(n) + "</h1>";
  for (int i = 0; i < 40; ++i) {
    page += "<h3>Section " + std::to_string(i) + "</h3><p>Text of page " + std::to_string(n) +
            ", <b>bold</b> and <i>italic</i> and <a href=\"page" + std::to_string((n + i) % kPages) +
            ".htm\">a link</a>. Lorem ipsum dolor sit amet, consectetur adipiscing elit, sed do eiusmod tempor.</p>";
    if (i % 8 == 0) {
      page += "<ul><li>one</li><li>two</li><li>three</li></ul><table border=1>";
      for (int r = 0; r < 5; ++r) page += "<tr><td>" + std::to_string(r) + "</td><td>cell</td><td>cell</td></tr>";
      page += "</table>";
    }
  }
  return page + "</body></html>";
}

struct TFigures {
  double workingSet;
  double heapCommitted;
  long gdi;
  long user;
};

TFigures Measure() {
  hv::Application()->ProcessMessages();
  const hv::test::TGuiObjectCounts live = hv::test::LiveGuiObjects();
  return {hv::bench::WorkingSetBytes() / kMB, hv::bench::HeapCommittedBytes() / kMB, live.Gdi(), live.User()};
}

void Print(const char* when, const TFigures& f) {
  std::printf("%-28s %10.1f %12.1f %6ld %6ld\n", when, f.workingSet, f.heapCommitted, f.gdi, f.user);
  std::fflush(stdout);
}

}  // namespace

int main() {
  using namespace hv;
  test::InstallGuiObjectCounter();
  Application()->Initialize();
  StartViewer();
  const std::string base = TFrmMain::BaseFolder();
  CreateDirectoryW(Widen(base + "resource_bench").c_str(), nullptr);
  std::string index;
  for (int i = 0; i < kTopics; ++i) {
    index += std::string(i % 10 == 0 ? "" : "\t") + "Topic" + std::to_string(i);
    if (i < kPages) {
      Write(base + "resource_bench\\page" + std::to_string(i) + ".htm", MakePage(i));
      index += " resource_bench\\page" + std::to_string(i) + ".htm";
    }
    index += "\r\n";
  }
  const std::string indexFile = base + "resource_bench\\TrvNode.DLL";
  Write(indexFile, index);

  std::printf("%-28s %10s %12s %6s %6s\n", "", "WS MB", "heap MB", "GDI", "USER");
  auto* form = Application()->CreateForm<TFrmMain>();
  form->Show();
  const TFigures start = Measure();
  Print("after start", start);
  TFrmMain::LoadTopicIndex(indexFile, *form->TrvMenu, *form->Memo1->Lines());
  form->TrvMenu->FullExpand();
  Print("after 10,000 topics", Measure());
  // The topics with pages are 0..99 in absolute order (a root, then nine
  // children, and again).
  form->TrvMenu->SetSelected(form->TrvMenu->Items()->Item(0));
  const TFigures first = Measure();
  Print("after the first page", first);
  for (int i = 1; i < kPages; ++i) {
    form->TrvMenu->SetSelected(form->TrvMenu->Items()->Item(i));
    Application()->ProcessMessages();
  }
  const TFigures hundred = Measure();
  Print("after 100 pages", hundred);
  for (int i = 0; i < kPages; ++i) {
    form->TrvMenu->SetSelected(form->TrvMenu->Items()->Item(i));
    Application()->ProcessMessages();
  }
  Print("after the 100 pages again", Measure());
  std::printf("goals: start %.1f MB (< 40): %s; 100 pages add %.1f MB working set, %.1f MB heap (<= 5): %s\n",
              start.workingSet, start.workingSet < 40 ? "met" : "MISSED", hundred.workingSet - first.workingSet,
              hundred.heapCommitted - first.heapCommitted,
              hundred.workingSet - first.workingSet <= 5 && hundred.heapCommitted - first.heapCommitted <= 5
                  ? "met"
                  : "MISSED");
  for (int i = 0; i < kPages; ++i)
    DeleteFileW(Widen(base + "resource_bench\\page" + std::to_string(i) + ".htm").c_str());
  DeleteFileW(Widen(indexFile).c_str());
  RemoveDirectoryW(Widen(base + "resource_bench").c_str());
  FinalizeApplication();
  FinishViewer();
  return 0;
}
