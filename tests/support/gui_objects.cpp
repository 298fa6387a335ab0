#include "tests/support/gui_objects.h"

#include <windows.h>

#include <cstdio>

#include <cstring>
#include <mutex>
#include <unordered_map>

#include "framework/gdi.h"

namespace hv::test {

namespace {

std::mutex gLock;
std::unordered_map<void*, TGuiObjectKind> gLive;
long gMade = 0;
long gFailedSelections = 0;
std::string gLastFailedSelection;
HHOOK gHook = nullptr;

void Track(void* handle, TGuiObjectKind kind) {
  if (!handle) return;
  std::lock_guard lock(gLock);
  gLive[handle] = kind;
  ++gMade;
}

void Forget(void* handle) {
  std::lock_guard lock(gLock);
  gLive.erase(handle);
}

// Submenus go with the menu that holds them.
void ForgetMenuTree(HMENU menu) {
  if (!menu || !IsMenu(menu)) return;
  const int count = GetMenuItemCount(menu);
  for (int i = 0; i < count; ++i) ForgetMenuTree(GetSubMenu(menu, i));
  Forget(menu);
}

LRESULT CALLBACK CbtHook(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HCBT_CREATEWND) {
    Track(reinterpret_cast<void*>(wParam), kgoWindow);
  } else if (code == HCBT_DESTROYWND) {
    HWND wnd = reinterpret_cast<HWND>(wParam);
    if (!(GetWindowLongPtrW(wnd, GWL_STYLE) & WS_CHILD)) ForgetMenuTree(GetMenu(wnd));
    Forget(wnd);
  }
  return CallNextHookEx(gHook, code, wParam, lParam);
}

// --- the wrappers -----------------------------------------------------------------

// Each patched entry: its name, its module, the wrapper and where the
// original entry point is kept for the wrapper to call.
struct TPatch {
  const char* module;
  const char* name;
  void* wrapper;
  void** real;
};

template <class F>
struct TCreator;

template <class R, class... A>
struct TCreator<R(WINAPI*)(A...)> {
  using Fn = R(WINAPI*)(A...);
  template <Fn* real, TGuiObjectKind kind>
  static R WINAPI Create(A... args) {
    R handle = (*real)(args...);
    Track(reinterpret_cast<void*>(handle), kind);
    return handle;
  }
};

#define HV_CREATOR(module, fn, kind)                                        \
  decltype(&::fn) real_##fn = nullptr;                                      \
  constexpr auto wrap_##fn = &TCreator<decltype(&::fn)>::template Create<&real_##fn, kind>;

HV_CREATOR("gdi32.dll", CreateSolidBrush, kgoBrush)
HV_CREATOR("gdi32.dll", CreateBrushIndirect, kgoBrush)
HV_CREATOR("gdi32.dll", CreatePatternBrush, kgoBrush)
HV_CREATOR("gdi32.dll", CreateHatchBrush, kgoBrush)
HV_CREATOR("gdi32.dll", CreateDIBPatternBrushPt, kgoBrush)
HV_CREATOR("gdi32.dll", CreatePen, kgoPen)
HV_CREATOR("gdi32.dll", CreatePenIndirect, kgoPen)
HV_CREATOR("gdi32.dll", ExtCreatePen, kgoPen)
HV_CREATOR("gdi32.dll", CreateFontIndirectW, kgoFont)
HV_CREATOR("gdi32.dll", CreateFontIndirectA, kgoFont)
HV_CREATOR("gdi32.dll", CreateFontW, kgoFont)
HV_CREATOR("gdi32.dll", CreateFontA, kgoFont)
HV_CREATOR("gdi32.dll", CreateBitmap, kgoBitmap)
HV_CREATOR("gdi32.dll", CreateBitmapIndirect, kgoBitmap)
HV_CREATOR("gdi32.dll", CreateCompatibleBitmap, kgoBitmap)
HV_CREATOR("gdi32.dll", CreateDIBSection, kgoBitmap)
HV_CREATOR("gdi32.dll", CreateDIBitmap, kgoBitmap)
HV_CREATOR("gdi32.dll", CreateRectRgn, kgoRegion)
HV_CREATOR("gdi32.dll", CreateRectRgnIndirect, kgoRegion)
HV_CREATOR("gdi32.dll", CreateRoundRectRgn, kgoRegion)
HV_CREATOR("gdi32.dll", CreateEllipticRgn, kgoRegion)
HV_CREATOR("gdi32.dll", CreateEllipticRgnIndirect, kgoRegion)
HV_CREATOR("gdi32.dll", CreatePolygonRgn, kgoRegion)
HV_CREATOR("gdi32.dll", ExtCreateRegion, kgoRegion)
HV_CREATOR("gdi32.dll", PathToRegion, kgoRegion)
HV_CREATOR("gdi32.dll", CreateCompatibleDC, kgoMemoryDC)
HV_CREATOR("gdi32.dll", CreateDCW, kgoMemoryDC)
HV_CREATOR("user32.dll", GetDC, kgoWindowDC)
HV_CREATOR("user32.dll", GetWindowDC, kgoWindowDC)
HV_CREATOR("user32.dll", GetDCEx, kgoWindowDC)
HV_CREATOR("user32.dll", CreateIconIndirect, kgoIcon)
HV_CREATOR("user32.dll", CopyIcon, kgoIcon)
HV_CREATOR("user32.dll", CreateIconFromResourceEx, kgoIcon)
HV_CREATOR("user32.dll", CreateCursor, kgoCursor)
HV_CREATOR("user32.dll", CreateMenu, kgoMenu)
HV_CREATOR("user32.dll", CreatePopupMenu, kgoMenu)
HV_CREATOR("user32.dll", LoadMenuW, kgoMenu)

#undef HV_CREATOR

decltype(&::DeleteObject) real_DeleteObject = nullptr;
BOOL WINAPI wrap_DeleteObject(HGDIOBJ object) {
  const BOOL ok = real_DeleteObject(object);
  if (ok) Forget(object);
  return ok;
}

decltype(&::DeleteDC) real_DeleteDC = nullptr;
BOOL WINAPI wrap_DeleteDC(HDC dc) {
  const BOOL ok = real_DeleteDC(dc);
  if (ok) Forget(dc);
  return ok;
}

decltype(&::ReleaseDC) real_ReleaseDC = nullptr;
int WINAPI wrap_ReleaseDC(HWND wnd, HDC dc) {
  const int released = real_ReleaseDC(wnd, dc);
  if (released) Forget(dc);
  return released;
}

decltype(&::DestroyIcon) real_DestroyIcon = nullptr;
BOOL WINAPI wrap_DestroyIcon(HICON icon) {
  const BOOL ok = real_DestroyIcon(icon);
  if (ok) Forget(icon);
  return ok;
}

decltype(&::DestroyCursor) real_DestroyCursor = nullptr;
BOOL WINAPI wrap_DestroyCursor(HCURSOR cursor) {
  const BOOL ok = real_DestroyCursor(cursor);
  if (ok) Forget(cursor);
  return ok;
}

decltype(&::DestroyMenu) real_DestroyMenu = nullptr;
BOOL WINAPI wrap_DestroyMenu(HMENU menu) {
  // The submenus are gone after the call; walk them while they exist.
  std::unordered_map<void*, TGuiObjectKind> before;
  {
    std::lock_guard lock(gLock);
    before = gLive;
  }
  ForgetMenuTree(menu);
  const BOOL ok = real_DestroyMenu(menu);
  if (!ok) {
    std::lock_guard lock(gLock);
    gLive = std::move(before);
  }
  return ok;
}

decltype(&::SetWindowRgn) real_SetWindowRgn = nullptr;
int WINAPI wrap_SetWindowRgn(HWND wnd, HRGN region, BOOL redraw) {
  const int ok = real_SetWindowRgn(wnd, region, redraw);
  if (ok && region) Forget(region);
  return ok;
}

decltype(&::SelectObject) real_SelectObject = nullptr;
HGDIOBJ WINAPI wrap_SelectObject(HDC dc, HGDIOBJ object) {
  HGDIOBJ previous = real_SelectObject(dc, object);
  if (!previous || previous == HGDI_ERROR) {
    std::lock_guard lock(gLock);
    ++gFailedSelections;
    // Where from, as an address in the program's image, for addr2line.
    char text[200];
    std::snprintf(text, sizeof text, "object %p (type %lu) into DC %p (type %lu) from %p", static_cast<void*>(object),
                  GetObjectType(object), static_cast<void*>(dc), GetObjectType(dc), __builtin_return_address(0));
    gLastFailedSelection = text;
  }
  return previous;
}

TGuiObjectKind ImageKind(UINT type) {
  return type == IMAGE_ICON ? kgoIcon : type == IMAGE_CURSOR ? kgoCursor : kgoBitmap;
}

decltype(&::LoadImageW) real_LoadImageW = nullptr;
HANDLE WINAPI wrap_LoadImageW(HINSTANCE instance, LPCWSTR name, UINT type, int cx, int cy, UINT flags) {
  HANDLE image = real_LoadImageW(instance, name, type, cx, cy, flags);
  // Shared images belong to the system and are never freed.
  if (!(flags & LR_SHARED)) Track(image, ImageKind(type));
  return image;
}

decltype(&::CopyImage) real_CopyImage = nullptr;
HANDLE WINAPI wrap_CopyImage(HANDLE image, UINT type, int cx, int cy, UINT flags) {
  HANDLE copy = real_CopyImage(image, type, cx, cy, flags);
  if (copy && copy != image) Track(copy, ImageKind(type));
  if (copy && (flags & LR_COPYDELETEORG)) Forget(image);
  return copy;
}

#define HV_PATCH(module, fn) \
  TPatch { module, #fn, reinterpret_cast<void*>(wrap_##fn), reinterpret_cast<void**>(&real_##fn) }

const TPatch kPatches[] = {
    HV_PATCH("gdi32.dll", CreateSolidBrush),       HV_PATCH("gdi32.dll", CreateBrushIndirect),
    HV_PATCH("gdi32.dll", CreatePatternBrush),     HV_PATCH("gdi32.dll", CreateHatchBrush),
    HV_PATCH("gdi32.dll", CreateDIBPatternBrushPt), HV_PATCH("gdi32.dll", CreatePen),
    HV_PATCH("gdi32.dll", CreatePenIndirect),      HV_PATCH("gdi32.dll", ExtCreatePen),
    HV_PATCH("gdi32.dll", CreateFontIndirectW),    HV_PATCH("gdi32.dll", CreateFontIndirectA),
    HV_PATCH("gdi32.dll", CreateFontW),            HV_PATCH("gdi32.dll", CreateFontA),
    HV_PATCH("gdi32.dll", CreateBitmap),           HV_PATCH("gdi32.dll", CreateBitmapIndirect),
    HV_PATCH("gdi32.dll", CreateCompatibleBitmap), HV_PATCH("gdi32.dll", CreateDIBSection),
    HV_PATCH("gdi32.dll", CreateDIBitmap),         HV_PATCH("gdi32.dll", CreateRectRgn),
    HV_PATCH("gdi32.dll", CreateRectRgnIndirect),  HV_PATCH("gdi32.dll", CreateRoundRectRgn),
    HV_PATCH("gdi32.dll", CreateEllipticRgn),      HV_PATCH("gdi32.dll", CreateEllipticRgnIndirect),
    HV_PATCH("gdi32.dll", CreatePolygonRgn),       HV_PATCH("gdi32.dll", ExtCreateRegion),
    HV_PATCH("gdi32.dll", PathToRegion),           HV_PATCH("gdi32.dll", CreateCompatibleDC),
    HV_PATCH("gdi32.dll", CreateDCW),              HV_PATCH("gdi32.dll", DeleteObject),
    HV_PATCH("gdi32.dll", DeleteDC),               HV_PATCH("gdi32.dll", SelectObject),
    HV_PATCH("user32.dll", GetDC),                 HV_PATCH("user32.dll", GetWindowDC),
    HV_PATCH("user32.dll", GetDCEx),               HV_PATCH("user32.dll", ReleaseDC),
    HV_PATCH("user32.dll", CreateIconIndirect),    HV_PATCH("user32.dll", CopyIcon),
    HV_PATCH("user32.dll", CreateIconFromResourceEx), HV_PATCH("user32.dll", DestroyIcon),
    HV_PATCH("user32.dll", CreateCursor),          HV_PATCH("user32.dll", DestroyCursor),
    HV_PATCH("user32.dll", CreateMenu),            HV_PATCH("user32.dll", CreatePopupMenu),
    HV_PATCH("user32.dll", LoadMenuW),             HV_PATCH("user32.dll", DestroyMenu),
    HV_PATCH("user32.dll", SetWindowRgn),          HV_PATCH("user32.dll", LoadImageW),
    HV_PATCH("user32.dll", CopyImage),
};

#undef HV_PATCH

void PatchSlot(void** slot, void* value) {
  DWORD old = 0;
  if (!VirtualProtect(slot, sizeof *slot, PAGE_READWRITE, &old)) return;
  *slot = value;
  VirtualProtect(slot, sizeof *slot, old, &old);
}

// Patches every import of the program's own image that the table names;
// answers how many entries it patched.
int PatchImports() {
  auto* base = reinterpret_cast<uint8_t*>(GetModuleHandleW(nullptr));
  auto* dos = reinterpret_cast<IMAGE_DOS_HEADER*>(base);
  auto* nt = reinterpret_cast<IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
  const IMAGE_DATA_DIRECTORY& dir = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
  if (!dir.VirtualAddress) return 0;
  int patched = 0;
  for (auto* import = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + dir.VirtualAddress); import->Name; ++import) {
    const char* module = reinterpret_cast<const char*>(base + import->Name);
    HMODULE loaded = GetModuleHandleA(module);
    if (!loaded) continue;
    auto* slots = reinterpret_cast<IMAGE_THUNK_DATA*>(base + import->FirstThunk);
    auto* names = import->OriginalFirstThunk
                      ? reinterpret_cast<IMAGE_THUNK_DATA*>(base + import->OriginalFirstThunk)
                      : nullptr;
    for (size_t i = 0; slots[i].u1.Function; ++i) {
      void** slot = reinterpret_cast<void**>(&slots[i].u1.Function);
      for (const TPatch& patch : kPatches) {
        if (_stricmp(patch.module, module) != 0) continue;
        bool match = false;
        if (names && !IMAGE_SNAP_BY_ORDINAL(names[i].u1.Ordinal)) {
          auto* byName = reinterpret_cast<IMAGE_IMPORT_BY_NAME*>(base + names[i].u1.AddressOfData);
          match = std::strcmp(reinterpret_cast<const char*>(byName->Name), patch.name) == 0;
        } else {
          match = *slot == reinterpret_cast<void*>(GetProcAddress(loaded, patch.name));
        }
        if (!match) continue;
        if (*slot != patch.wrapper) {
          *patch.real = *slot;
          PatchSlot(slot, patch.wrapper);
        }
        ++patched;
        break;
      }
    }
  }
  return patched;
}

}  // namespace

long TGuiObjectCounts::Gdi() const {
  return live[kgoBrush] + live[kgoPen] + live[kgoFont] + live[kgoBitmap] + live[kgoRegion] + live[kgoMemoryDC] +
         live[kgoWindowDC];
}

long TGuiObjectCounts::User() const { return live[kgoIcon] + live[kgoCursor] + live[kgoMenu] + live[kgoWindow]; }

std::string TGuiObjectCounts::Describe() const {
  static const char* const kNames[] = {"brushes", "pens",  "fonts",   "bitmaps", "regions", "memory DCs",
                                       "window DCs", "icons", "cursors", "menus",   "windows"};
  std::string text;
  for (int i = 0; i < kgoKindCount; ++i) {
    if (!text.empty()) text += ", ";
    text += kNames[i];
    text += ' ';
    text += std::to_string(live[i]);
  }
  return text;
}

bool InstallGuiObjectCounter() {
  static int patched = -1;
  if (patched < 0) patched = PatchImports();
  if (!gHook) gHook = SetWindowsHookExW(WH_CBT, &CbtHook, nullptr, GetCurrentThreadId());
  return patched > 0 && gHook != nullptr;
}

TGuiObjectCounts LiveGuiObjects() {
  // Objects kept for reuse by a bounded cache are no leak; they go first,
  // so that only objects something still owns are counted.
  ReleaseIdleGdiCaches();
  TGuiObjectCounts counts;
  std::lock_guard lock(gLock);
  for (const auto& [handle, kind] : gLive) ++counts.live[kind];
  return counts;
}

long GuiObjectsMade() {
  std::lock_guard lock(gLock);
  return gMade;
}

std::string LastFailedSelection() {
  std::lock_guard lock(gLock);
  return gLastFailedSelection;
}

long FailedSelections() {
  std::lock_guard lock(gLock);
  return gFailedSelections;
}

}  // namespace hv::test
