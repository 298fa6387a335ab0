// The real viewer on hostile help sets (tools/hostile/make_hostile.py, run by
// the test fixture at a small scale): each set in a folder of its own with a
// copy of the program. The window must answer WM_NULL within 5 s whenever it
// is asked, loading included; an index the viewer cannot take is reported in
// one message naming the fault, and nothing else ever is; every topic can be
// selected; no page fetches a remote address.

#include <gtest/gtest.h>
#include <winsock2.h>
// After <winsock2.h>, which must come first.
#include <windows.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "tests/support/outside.h"

namespace hv::test {
namespace {

using namespace std::chrono_literals;

constexpr DWORD kAnswerWithin = 5000;  // ms
constexpr u_short kRemotePort = 47611;  // the generator's remote address

struct TSet {
  std::string name;
  std::string expected;  // empty: no message
};

// The sets the test run makes small, or those HV_HOSTILE_SETS names (the
// full sizes, made by tools/hostile/full_scale.sh).
std::string SetsFolder() {
  const char* chosen = std::getenv("HV_HOSTILE_SETS");
  return chosen && *chosen ? chosen : HV_HOSTILE_SETS;
}

std::vector<TSet> ReadSets() {
  std::vector<TSet> sets;
  std::ifstream manifest(SetsFolder() + "/sets.txt");
  std::string line;
  while (std::getline(manifest, line)) {
    std::istringstream fields(line);
    TSet set;
    std::string kind;
    std::getline(fields, set.name, '\t');
    std::getline(fields, kind, '\t');
    if (kind == "message") std::getline(fields, set.expected);
    if (!set.name.empty()) sets.push_back(set);
  }
  return sets;
}

std::wstring Widened(const std::string& s) { return std::wstring(s.begin(), s.end()); }

// Asks the window for WM_NULL every 200 ms from a thread of its own, so that
// a viewer busy loading or showing a page is caught however the test waits.
class TWatchdog {
 public:
  TWatchdog() : thread_([this] { Run(); }) {}
  ~TWatchdog() {
    stop_ = true;
    thread_.join();
  }
  void Watch(HWND wnd) { target_ = wnd; }
  int Unanswered() const { return unanswered_; }
  int Asked() const { return asked_; }
  // The longest any question waited for its answer.
  long long LongestMs() const { return longest_; }

 private:
  void Run() {
    while (!stop_) {
      HWND wnd = target_;
      if (wnd && IsWindow(wnd)) {
        DWORD_PTR result = 0;
        ++asked_;
        const auto start = std::chrono::steady_clock::now();
        if (!SendMessageTimeoutW(wnd, WM_NULL, 0, 0, SMTO_NORMAL, kAnswerWithin, &result) && IsWindow(wnd))
          ++unanswered_;
        const long long waited =
            std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start).count();
        if (waited > longest_) longest_ = waited;
      }
      std::this_thread::sleep_for(200ms);
    }
  }
  std::atomic<HWND> target_{nullptr};
  std::atomic<bool> stop_{false};
  std::atomic<int> unanswered_{0}, asked_{0};
  std::atomic<long long> longest_{0};
  std::thread thread_;
};

// The message boxes the process shows, with the texts of their parts.
std::vector<std::pair<HWND, std::wstring>> MessageBoxes(DWORD pid) {
  struct TFound {
    DWORD pid;
    std::vector<std::pair<HWND, std::wstring>> boxes;
  } found{pid, {}};
  EnumWindows(
      [](HWND wnd, LPARAM param) -> BOOL {
        auto* f = reinterpret_cast<TFound*>(param);
        DWORD owner = 0;
        GetWindowThreadProcessId(wnd, &owner);
        if (owner != f->pid || !IsWindowVisible(wnd) || WindowClassName(wnd) != L"#32770") return TRUE;
        std::wstring text;
        for (HWND part : DescendantWindows(wnd)) {
          wchar_t buffer[2048] = {};
          GetWindowTextW(part, buffer, 2048);
          text += buffer;
          text += L'\n';
        }
        f->boxes.emplace_back(wnd, text);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&found));
  return found.boxes;
}

// A listener at the generator's remote address: no page may reach it.
class TRemoteTrap {
 public:
  TRemoteTrap() {
    WSADATA data;
    started_ = WSAStartup(MAKEWORD(2, 2), &data) == 0;
    socket_ = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in at{};
    at.sin_family = AF_INET;
    at.sin_port = htons(kRemotePort);
    at.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    listening_ = socket_ != INVALID_SOCKET && bind(socket_, reinterpret_cast<sockaddr*>(&at), sizeof at) == 0 &&
                 listen(socket_, 8) == 0;
    u_long nonBlocking = 1;
    if (listening_) ioctlsocket(socket_, FIONBIO, &nonBlocking);
  }
  ~TRemoteTrap() {
    if (socket_ != INVALID_SOCKET) closesocket(socket_);
    if (started_) WSACleanup();
  }
  bool Listening() const { return listening_; }
  // Whether anything connected since the last call.
  bool Reached() {
    bool reached = false;
    for (SOCKET s; (s = accept(socket_, nullptr, nullptr)) != INVALID_SOCKET;) {
      reached = true;
      closesocket(s);
    }
    return reached;
  }

 private:
  bool started_ = false, listening_ = false;
  SOCKET socket_ = INVALID_SOCKET;
};

class HostileSets : public ::testing::TestWithParam<TSet> {};

TEST_P(HostileSets, TheViewerAnswersAndReportsAsDescribed) {
  const TSet& set = GetParam();
  const std::wstring folder = HostPathToWindows(SetsFolder() + "/" + set.name);
  const std::wstring exe = folder + L"\\HelpViewer.exe";
  ASSERT_TRUE(CopyFileW(HostPathToWindows(HV_VIEWER_EXE).c_str(), exe.c_str(), FALSE)) << set.name;
  TRemoteTrap trap;
  TWatchdog watchdog;
  TOutsideProgram program(exe);
  ASSERT_TRUE(program.Started());
  const DWORD pid = program.ProcessId();

  // The window, or first the message about the index: then the window.
  HWND main = nullptr;
  std::vector<std::wstring> messages;
  const auto until = std::chrono::steady_clock::now() + 60s;
  while (!main && std::chrono::steady_clock::now() < until && program.Running()) {
    for (auto& [box, text] : MessageBoxes(pid)) {
      messages.push_back(text);
      watchdog.Watch(box);
      PostMessageW(box, WM_COMMAND, IDOK, 0);
      WaitUntil([&] { return !IsWindow(box); }, 5s);
    }
    main = program.WaitForTopWindow(L"TFrmMain", 300ms);
  }
  ASSERT_NE(main, nullptr) << "no window after the messages: " << messages.size();
  watchdog.Watch(main);
  std::this_thread::sleep_for(500ms);
  for (auto& [box, text] : MessageBoxes(pid)) {
    messages.push_back(text);
    PostMessageW(box, WM_COMMAND, IDOK, 0);
  }
  if (set.expected.empty()) {
    EXPECT_TRUE(messages.empty()) << set.name << ": "
                                  << (messages.empty() ? "" : std::string(messages[0].begin(), messages[0].end()));
  } else {
    ASSERT_EQ(messages.size(), 1u) << set.name;
    EXPECT_NE(messages[0].find(Widened(set.expected)), std::wstring::npos)
        << std::string(messages[0].begin(), messages[0].end());
  }

  // The first topics in turn (a page each in the page sets), and the last.
  std::vector<HWND> trees = DescendantsOfClass(main, L"TTeThemeSTreeView");
  ASSERT_EQ(trees.size(), 1u);
  HWND tree = trees[0];
  // The tree is expanded: the visible order is the absolute one. (Walking
  // all of a large tree from outside costs minutes of messages under Wine.)
  std::vector<HTREEITEM> items;
  auto next = [&](WPARAM how, HTREEITEM from) {
    return reinterpret_cast<HTREEITEM>(SendMessageW(tree, TVM_GETNEXTITEM, how, reinterpret_cast<LPARAM>(from)));
  };
  for (HTREEITEM item = next(TVGN_ROOT, nullptr); item && items.size() < 24; item = next(TVGN_NEXTVISIBLE, item))
    items.push_back(item);
  if (HTREEITEM last = next(TVGN_LASTVISIBLE, nullptr)) items.push_back(last);
  for (size_t i = 0; i < items.size(); ++i) {
    DWORD_PTR result = 0;
    ASSERT_NE(SendMessageTimeoutW(tree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(items[i]), SMTO_NORMAL,
                                  kAnswerWithin, &result),
              0)
        << set.name << ": selecting topic " << i << " took longer than 5 s";
    ASSERT_TRUE(MessageBoxes(pid).empty()) << set.name << ": a message after selecting topic " << i;
  }
  DWORD_PTR result = 0;
  EXPECT_NE(SendMessageTimeoutW(main, WM_NULL, 0, 0, SMTO_NORMAL, kAnswerWithin, &result), 0);
  EXPECT_GT(watchdog.Asked(), 0);
  EXPECT_EQ(watchdog.Unanswered(), 0) << set.name << ": of " << watchdog.Asked() << " questions";
  std::printf("%s: the longest wait for an answer was %lld ms\n", set.name.c_str(), watchdog.LongestMs());
  RecordProperty("longest_wait_ms", std::to_string(watchdog.LongestMs()));
  EXPECT_TRUE(!trap.Listening() || !trap.Reached()) << set.name << ": a page reached the remote address";
  EXPECT_TRUE(program.Close(main, 20s)) << set.name << ": the window did not close";
}

INSTANTIATE_TEST_SUITE_P(Generated, HostileSets, ::testing::ValuesIn(ReadSets()),
                         [](const ::testing::TestParamInfo<TSet>& info) {
                           std::string name;
                           for (char c : info.param.name) name += isalnum(static_cast<unsigned char>(c)) ? c : '_';
                           return name;
                         });

}  // namespace
}  // namespace hv::test
