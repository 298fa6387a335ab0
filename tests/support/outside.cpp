#include "tests/support/outside.h"

#include <thread>

namespace hv::test {

namespace {
using Clock = std::chrono::steady_clock;

// The process's folder, so that it finds the files beside it as a user's
// program would.
std::wstring FolderOf(const std::wstring& path) {
  size_t cut = path.find_last_of(L"\\/");
  return cut == std::wstring::npos ? std::wstring() : path.substr(0, cut);
}

void SendMouse(DWORD flags, LONG dx = 0, LONG dy = 0) {
  INPUT input{};
  input.type = INPUT_MOUSE;
  input.mi.dx = dx;
  input.mi.dy = dy;
  input.mi.dwFlags = flags;
  SendInput(1, &input, sizeof(input));
}

// Input travels to the other process through the system; give it the time
// to arrive and be handled before the next step looks.
void Settle() { std::this_thread::sleep_for(std::chrono::milliseconds(60)); }
}  // namespace

TOutsideProgram::TOutsideProgram(const std::wstring& exe) {
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION info{};
  std::wstring commandLine = L"\"" + exe + L"\"";
  std::wstring folder = FolderOf(exe);
  if (!CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      folder.empty() ? nullptr : folder.c_str(), &startup, &info))
    return;
  CloseHandle(info.hThread);
  process_ = info.hProcess;
  processId_ = info.dwProcessId;
}

TOutsideProgram::~TOutsideProgram() {
  if (!process_) return;
  if (Running()) {
    if (closeTarget_ && IsWindow(closeTarget_)) PostMessageW(closeTarget_, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(process_, 10000) != WAIT_OBJECT_0) TerminateProcess(process_, 1);
    WaitForSingleObject(process_, 5000);
  }
  CloseHandle(process_);
}

bool TOutsideProgram::Running() const {
  return process_ && WaitForSingleObject(process_, 0) == WAIT_TIMEOUT;
}

HWND TOutsideProgram::WaitForTopWindow(const wchar_t* className, std::chrono::milliseconds timeout) {
  if (!process_) return nullptr;
  struct Search {
    DWORD pid;
    const wchar_t* cls;
    HWND found;
  } search{processId_, className, nullptr};
  WaitUntil(
      [&] {
        search.found = nullptr;
        EnumWindows(
            [](HWND wnd, LPARAM param) -> BOOL {
              auto* s = reinterpret_cast<Search*>(param);
              DWORD pid = 0;
              GetWindowThreadProcessId(wnd, &pid);
              if (pid != s->pid || !IsWindowVisible(wnd) || WindowClassName(wnd) != s->cls) return TRUE;
              s->found = wnd;
              return FALSE;
            },
            reinterpret_cast<LPARAM>(&search));
        return search.found != nullptr || !Running();
      },
      timeout);
  if (search.found) {
    closeTarget_ = search.found;
    WaitForInputIdle(process_, 5000);
  }
  return search.found;
}

bool TOutsideProgram::Close(HWND wnd, std::chrono::milliseconds timeout) {
  if (!process_) return false;
  PostMessageW(wnd, WM_CLOSE, 0, 0);
  return WaitForSingleObject(process_, static_cast<DWORD>(timeout.count())) == WAIT_OBJECT_0;
}

std::wstring HostPathToWindows(const std::string& hostPath) {
  std::wstring path = L"Z:";
  for (char c : hostPath) path += c == '/' ? L'\\' : static_cast<wchar_t>(static_cast<unsigned char>(c));
  return path;
}

bool WaitUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout) {
  const auto end = Clock::now() + timeout;
  for (;;) {
    if (done()) return true;
    if (Clock::now() >= end) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
}

std::wstring WindowClassName(HWND wnd) {
  wchar_t name[256] = {};
  int length = GetClassNameW(wnd, name, 256);
  return std::wstring(name, static_cast<size_t>(length > 0 ? length : 0));
}

std::vector<HWND> DescendantWindows(HWND parent) {
  std::vector<HWND> found;
  EnumChildWindows(
      parent,
      [](HWND wnd, LPARAM param) -> BOOL {
        reinterpret_cast<std::vector<HWND>*>(param)->push_back(wnd);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&found));
  return found;
}

std::vector<HWND> DescendantsOfClass(HWND parent, const wchar_t* className) {
  std::vector<HWND> found;
  for (HWND wnd : DescendantWindows(parent))
    if (WindowClassName(wnd) == className) found.push_back(wnd);
  return found;
}

RECT ClientRectOnScreen(HWND wnd) {
  RECT r{};
  GetClientRect(wnd, &r);
  MapWindowPoints(wnd, nullptr, reinterpret_cast<POINT*>(&r), 2);
  return r;
}

RECT WindowRectOf(HWND wnd) {
  RECT r{};
  GetWindowRect(wnd, &r);
  return r;
}

void MouseMoveTo(POINT screen) {
  // Absolute input is in 0..65535 over the primary screen; the point is
  // mapped to the centre of its pixel so that rounding keeps it there.
  const int w = GetSystemMetrics(SM_CXSCREEN), h = GetSystemMetrics(SM_CYSCREEN);
  const LONG dx = static_cast<LONG>((screen.x * 65536LL + 32768) / w);
  const LONG dy = static_cast<LONG>((screen.y * 65536LL + 32768) / h);
  SendMouse(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE, dx, dy);
  Settle();
}

void MouseLeftDown() {
  SendMouse(MOUSEEVENTF_LEFTDOWN);
  Settle();
}

void MouseLeftUp() {
  SendMouse(MOUSEEVENTF_LEFTUP);
  Settle();
}

void MouseDrag(POINT from, POINT to, int steps) {
  MouseMoveTo(from);
  MouseLeftDown();
  for (int i = 1; i <= steps; ++i)
    MouseMoveTo({from.x + (to.x - from.x) * i / steps, from.y + (to.y - from.y) * i / steps});
  MouseLeftUp();
}

void MouseRightClick() {
  SendMouse(MOUSEEVENTF_RIGHTDOWN);
  SendMouse(MOUSEEVENTF_RIGHTUP);
  Settle();
}

void MouseClickAt(POINT screen) {
  MouseMoveTo(screen);
  MouseLeftDown();
  MouseLeftUp();
}

namespace {
void SendKey(WORD vk, DWORD flags, WORD scan = 0) {
  INPUT input{};
  input.type = INPUT_KEYBOARD;
  input.ki.wVk = vk;
  input.ki.wScan = scan;
  input.ki.dwFlags = flags;
  SendInput(1, &input, sizeof(input));
}
}  // namespace

void KeyDown(WORD vk) { SendKey(vk, 0); }
void KeyUp(WORD vk) { SendKey(vk, KEYEVENTF_KEYUP); }

void PressKey(WORD vk) {
  KeyDown(vk);
  KeyUp(vk);
}

void PressChord(WORD modifier, WORD vk) {
  KeyDown(modifier);
  PressKey(vk);
  KeyUp(modifier);
}

void TypeUnicode(const std::wstring& text) {
  for (wchar_t unit : text) {
    SendKey(0, KEYEVENTF_UNICODE, unit);
    SendKey(0, KEYEVENTF_UNICODE | KEYEVENTF_KEYUP, unit);
  }
}

HWND VisiblePopupMenu(DWORD process) {
  struct TFind {
    DWORD process;
    HWND found;
  } find{process, nullptr};
  EnumWindows(
      [](HWND wnd, LPARAM data) -> BOOL {
        auto* f = reinterpret_cast<TFind*>(data);
        DWORD pid = 0;
        GetWindowThreadProcessId(wnd, &pid);
        if (pid != f->process || !IsWindowVisible(wnd)) return TRUE;
        const std::wstring name = WindowClassName(wnd);
        if (name != L"TTeThemePopupWindow" && name != L"TTePopupWindow") return TRUE;
        f->found = wnd;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&find));
  return find.found;
}

POINT ClientToScreenPoint(HWND wnd, int x, int y) {
  POINT p{x, y};
  ClientToScreen(wnd, &p);
  return p;
}

TScreenShot CaptureScreen(const RECT& r) {
  TScreenShot shot;
  shot.width = r.right - r.left;
  shot.height = r.bottom - r.top;
  if (shot.width <= 0 || shot.height <= 0) return shot;
  BITMAPINFO bi{};
  bi.bmiHeader = {sizeof(BITMAPINFOHEADER), shot.width, -shot.height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  void* bits = nullptr;
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  HBITMAP dib = CreateDIBSection(screen, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (dib && memory) {
    HGDIOBJ old = SelectObject(memory, dib);
    BitBlt(memory, 0, 0, shot.width, shot.height, screen, r.left, r.top, SRCCOPY);
    GdiFlush();
    const auto* p = static_cast<const uint32_t*>(bits);
    shot.pixels.assign(p, p + static_cast<size_t>(shot.width) * shot.height);
    for (uint32_t& pixel : shot.pixels) pixel &= 0xFFFFFF;
    SelectObject(memory, old);
  }
  if (dib) DeleteObject(dib);
  if (memory) DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  return shot;
}

int CountDifferentPixels(const TScreenShot& a, const TScreenShot& b) {
  if (a.width != b.width || a.height != b.height) return -1;
  int count = 0;
  for (size_t i = 0; i < a.pixels.size(); ++i) count += a.pixels[i] != b.pixels[i];
  return count;
}

std::vector<HTREEITEM> TreeItemsInOrder(HWND tree) {
  std::vector<HTREEITEM> items;
  auto next = [tree](HTREEITEM item, WPARAM how) {
    return reinterpret_cast<HTREEITEM>(SendMessageW(tree, TVM_GETNEXTITEM, how, reinterpret_cast<LPARAM>(item)));
  };
  // Depth first: an item, its children, then its next sibling or the next
  // sibling of the nearest ancestor that has one.
  HTREEITEM item = next(nullptr, TVGN_ROOT);
  while (item) {
    items.push_back(item);
    if (HTREEITEM child = next(item, TVGN_CHILD)) {
      item = child;
      continue;
    }
    HTREEITEM up = item;
    item = nullptr;
    while (up && !item) {
      item = next(up, TVGN_NEXT);
      if (!item) up = next(up, TVGN_PARENT);
    }
  }
  return items;
}

int TreeSelectedIndex(HWND tree) {
  auto selected = reinterpret_cast<HTREEITEM>(SendMessageW(tree, TVM_GETNEXTITEM, TVGN_CARET, 0));
  if (!selected) return -1;
  std::vector<HTREEITEM> items = TreeItemsInOrder(tree);
  for (size_t i = 0; i < items.size(); ++i)
    if (items[i] == selected) return static_cast<int>(i);
  return -1;
}

std::wstring TreeItemText(HWND tree, HTREEITEM item) {
  DWORD processId = 0;
  GetWindowThreadProcessId(tree, &processId);
  HANDLE process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, processId);
  if (!process) return {};
  constexpr int kChars = 512;
  // One block in the tree's process: the item record, then the text buffer.
  const SIZE_T size = sizeof(TVITEMW) + kChars * sizeof(wchar_t);
  auto* remote = static_cast<char*>(VirtualAllocEx(process, nullptr, size, MEM_COMMIT, PAGE_READWRITE));
  std::wstring text;
  if (remote) {
    TVITEMW query{};
    query.mask = TVIF_TEXT | TVIF_HANDLE;
    query.hItem = item;
    query.pszText = reinterpret_cast<wchar_t*>(remote + sizeof(TVITEMW));
    query.cchTextMax = kChars;
    SIZE_T moved = 0;
    if (WriteProcessMemory(process, remote, &query, sizeof(query), &moved) &&
        SendMessageW(tree, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(remote))) {
      wchar_t buffer[kChars] = {};
      if (ReadProcessMemory(process, remote + sizeof(TVITEMW), buffer, sizeof(buffer) - sizeof(wchar_t), &moved))
        text = buffer;
    }
    VirtualFreeEx(process, remote, 0, MEM_RELEASE);
  }
  CloseHandle(process);
  return text;
}

}  // namespace hv::test
