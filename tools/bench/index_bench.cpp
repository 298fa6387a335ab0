// How long the help viewer takes to load its topic index: generated indexes
// of 1,000, 10,000 and 100,000 topics, loaded by the viewer's own window into
// the tree and the path list, as at start, and the same loading into a tree
// and a list that have no windows: the parsing, the model and the path list
// alone, which is what is ours of the time (the rest is the platform's tree
// control taking in its items). Each tenfold step should cost about ten
// times as much.
//
// With --no-windows N only the windowless load of N topics runs, ten times,
// with its stages and what touching as much new memory costs beside it.
//
// The generated index takes the place of the bundled one next to the program
// while the bench runs; the bundled file is set aside first and put back at
// the end, so running the bench from the program's folder leaves its help
// intact.

#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <new>
#include <string>
#include <vector>

#include "app/frmmain.h"
#include "app/startup.h"
#include "app/topic_index.h"
#include "framework/filestream.h"
#include "framework/application.h"
#include "framework/classes.h"
#include "framework/memo.h"
#include "framework/standardclasses.h"
#include "framework/treeview.h"
#include "pageview/webbrowser.h"
#include "theme/controls/themetreeview.h"
#include "theme/core/themeengine.h"
#include "theme/frame/themeform.h"
#include "framework/winstring.h"

// Every heap block the process asks for passes through here, so the bench can
// say how many bytes a load asks for in all (about what it touches: nearly all
// of a large index's memory is fresh pages) and how many it keeps.
namespace {
struct TAllocationCount {
  size_t asked = 0;  // every block's size, freed or not
  size_t live = 0;
  size_t peak = 0;
} allocations;
constexpr size_t kBlockHeader = 16;  // keeps the caller's block 16-byte aligned
}  // namespace

void* operator new(size_t size) {
  auto* block = static_cast<char*>(std::malloc(size + kBlockHeader));
  if (!block) throw std::bad_alloc();
  *reinterpret_cast<size_t*>(block) = size;
  allocations.asked += size;
  allocations.live += size;
  allocations.peak = std::max(allocations.peak, allocations.live);
  return block + kBlockHeader;
}
void* operator new[](size_t size) { return operator new(size); }
void operator delete(void* memory) noexcept {
  if (!memory) return;
  char* block = static_cast<char*>(memory) - kBlockHeader;
  allocations.live -= *reinterpret_cast<size_t*>(block);
  std::free(block);
}
void operator delete[](void* memory) noexcept { operator delete(memory); }
void operator delete(void* memory, size_t) noexcept { operator delete(memory); }
void operator delete[](void* memory, size_t) noexcept { operator delete(memory); }
// The memory resources ask with an alignment: their pools count too.
void* operator new(size_t size, std::align_val_t align) {
  const size_t header = std::max(kBlockHeader, static_cast<size_t>(align));
  auto* block = static_cast<char*>(_aligned_malloc(size + header, static_cast<size_t>(align)));
  if (!block) throw std::bad_alloc();
  *reinterpret_cast<size_t*>(block + header - kBlockHeader) = size;
  allocations.asked += size;
  allocations.live += size;
  allocations.peak = std::max(allocations.peak, allocations.live);
  return block + header;
}
void* operator new[](size_t size, std::align_val_t align) { return operator new(size, align); }
void operator delete(void* memory, std::align_val_t align) noexcept {
  if (!memory) return;
  const size_t header = std::max(kBlockHeader, static_cast<size_t>(align));
  allocations.live -= *reinterpret_cast<size_t*>(static_cast<char*>(memory) - kBlockHeader);
  _aligned_free(static_cast<char*>(memory) - header);
}
void operator delete[](void* memory, std::align_val_t align) noexcept { operator delete(memory, align); }
void operator delete(void* memory, size_t, std::align_val_t align) noexcept { operator delete(memory, align); }
void operator delete[](void* memory, size_t, std::align_val_t align) noexcept { operator delete(memory, align); }

namespace {

// Heap bytes per topic between a start and now: asked for in all, the most
// held at once above what was held at the start, and still held.
struct TMemoryUse {
  size_t asked = 0, peak = 0, kept = 0;
};
class TMemoryMeter {
 public:
  TMemoryMeter() : asked_(allocations.asked), live_(allocations.live) { allocations.peak = allocations.live; }
  TMemoryUse Now() const {
    return {allocations.asked - asked_, allocations.peak - live_, allocations.live - live_};
  }

 private:
  size_t asked_, live_;
};

// Sets the bundled index aside for the bench's run and puts it back after,
// also when the bench stops early. A copy left by a bench that was killed
// is put back first.
class TKeptFile {
 public:
  explicit TKeptFile(std::string path) : path_(hv::Widen(path)), kept_(path_ + L".bench-kept") {
    if (Exists(kept_)) MoveFileExW(kept_.c_str(), path_.c_str(), MOVEFILE_REPLACE_EXISTING);
    had_ = Exists(path_) && CopyFileW(path_.c_str(), kept_.c_str(), FALSE);
  }
  ~TKeptFile() {
    if (had_) MoveFileExW(kept_.c_str(), path_.c_str(), MOVEFILE_REPLACE_EXISTING);
    else DeleteFileW(path_.c_str());
  }
  TKeptFile(const TKeptFile&) = delete;
  TKeptFile& operator=(const TKeptFile&) = delete;

 private:
  static bool Exists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }
  std::wstring path_, kept_;
  bool had_ = false;
};

// Three levels: chapters of sections of pages, as a real help set nests.
std::string MakeIndex(int topics) {
  std::string text;
  text.reserve(static_cast<size_t>(topics) * 32);
  for (int i = 0; i < topics; ++i) {
    int level = i % 10 == 0 ? 0 : (i % 10 < 4 ? 1 : 2);
    text.append(static_cast<size_t>(level), '\t');
    text += "Topic" + std::to_string(i) + " pages\\topic" + std::to_string(i) + ".htm\r\n";
  }
  return text;
}

void Write(const std::string& path, const std::string& bytes) {
  HANDLE file = CreateFileW(hv::Widen(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  DWORD written = 0;
  WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  CloseHandle(file);
}

// Only the windowless load of `topics` topics, over and over, the fastest of
// ten runs of each stage, for a profiler and to see which stage grows too
// fast; and what the same amount of new memory costs to touch, as nearly
// all of a large index's memory is new pages each time.
int NoWindows(int topics) {
  using namespace hv;
  using Clock = std::chrono::steady_clock;
  auto ms = [](Clock::time_point a, Clock::time_point b) {
    return std::chrono::duration<double, std::milli>(b - a).count();
  };
  const std::string index = TFrmMain::BaseFolder() + "TrvNode.DLL";
  const TKeptFile bundled(index);
  Write(index, MakeIndex(topics));
  double load = 1e30, expand = 1e30, release = 1e30, read = 1e30, parse = 1e30, touch = 1e30;
  TMemoryUse memory;
  for (int run = 0; run < 10; ++run) {
    auto tree = std::make_unique<TTreeView>(nullptr);
    auto paths = std::make_unique<TMemo>(nullptr);
    const TMemoryMeter meter;
    const auto t0 = Clock::now();
    TFrmMain::LoadTopicIndex(index, *tree, *paths->Lines());
    const auto t1 = Clock::now();
    memory = meter.Now();
    tree->FullExpand();
    const auto t2 = Clock::now();
    tree.reset();
    paths.reset();
    const auto t3 = Clock::now();
    std::string bytes;
    {
      TFileStream file(index, TFileMode::fmOpenRead);
      bytes.resize(static_cast<size_t>(file.Size()));
      file.ReadBuffer(bytes.data(), bytes.size());
    }
    const auto t4 = Clock::now();
    const TopicTree parsed = BuildTopicTree(bytes);
    const auto t5 = Clock::now();
    const std::vector<char> block(bytes.size() * 8, 1);
    const auto t6 = Clock::now();
    load = std::min(load, ms(t0, t1)); std::fprintf(stderr, " %.2f", ms(t0, t1));
    expand = std::min(expand, ms(t1, t2));
    release = std::min(release, ms(t2, t3));
    read = std::min(read, ms(t3, t4));
    parse = std::min(parse, ms(t4, t5));
    touch = std::min(touch, ms(t5, t6));
  }
  std::printf("%d topics without windows: load %.2f ms, expand %.2f ms, free %.2f ms\n", topics, load, expand,
              release);
  std::printf("  reading the file alone %.2f ms, a list of parsed lines %.2f ms,\n", read, parse);
  std::printf("  writing %.1f MB of new memory (8 bytes per byte of index) %.1f ms\n",
              static_cast<double>(MakeIndex(topics).size() * 8) / (1 << 20), touch);
  std::printf("  heap bytes per topic for the load: %.1f asked, %.1f held at most, %.1f kept\n",
              static_cast<double>(memory.asked) / topics, static_cast<double>(memory.peak) / topics,
              static_cast<double>(memory.kept) / topics);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  using namespace hv;
  // The window's layout names the themed controls too: register what the
  // viewer itself registers, or loading the layout fails.
  Application()->Initialize();
  StartViewer();
  if (argc == 3 && std::string(argv[1]) == "--no-windows") {
    const int result = NoWindows(std::atoi(argv[2]));
    FinalizeApplication();
    FinishViewer();
    return result;
  }
  const std::string index = TFrmMain::BaseFolder() + "TrvNode.DLL";
  const TKeptFile bundled(index);
  std::printf("%10s %12s %12s %14s %16s %10s\n", "topics", "show ms", "per topic us", "path lines", "no windows ms",
              "x previous");
  double previous = 0;
  for (int topics : {1000, 10000, 100000}) {
    Write(index, MakeIndex(topics));
    TFrmMain form(nullptr);
    form.LoadFromLayout();
    form.HandleNeeded();
    // What the window does when it is shown: load, align, expand.
    auto start = std::chrono::steady_clock::now();
    form.FormShow(&form);
    double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    if (form.TrvMenu->Items()->Count() != topics) {
      std::printf("wrong node count %d\n", form.TrvMenu->Items()->Count());
      return 1;
    }
    // The same into a tree and a list that never get a window. The fastest
    // of a few runs: the machine is shared.
    double bareMs = 1e30;
    for (int run = 0; run < 3; ++run) {
      TTreeView tree(nullptr);
      TMemo paths(nullptr);
      auto bareStart = std::chrono::steady_clock::now();
      TFrmMain::LoadTopicIndex(index, tree, *paths.Lines());
      tree.FullExpand();
      bareMs = std::min(
          bareMs, std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - bareStart).count());
      if (tree.HandleAllocated() || paths.Lines()->Count() != topics) {
        std::printf("the windowless load made a window or lost lines\n");
        return 1;
      }
    }
    std::printf("%10d %12.1f %12.2f %14d %16.2f %10.1f\n", topics, ms, ms * 1000 / topics,
                form.Memo1->Lines()->Count(), bareMs, previous > 0 ? bareMs / previous : 0.0);
    std::fflush(stdout);
    previous = bareMs;
  }
  FinalizeApplication();
  FinishViewer();
  return 0;
}
