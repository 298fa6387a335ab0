#pragma once
// Owners of GDI and USER handles: each releases what it holds in its
// destructor, on every path, so that painting code never balances a Create
// with a Delete by hand. The owned-object types move; the scoped ones
// (selection, saved state, clipping) stay where they were made.

#include <utility>

#include "framework/types.h"
#include "framework/winhandles.h"

namespace hv {

// Raises EOutOfResources "Out of system resources": what a failed GDI
// allocation reports.
[[noreturn]] void OutOfResources();

// Caches that keep released GDI objects for reuse register how to free what
// they hold. ReleaseIdleGdiCaches frees all of it: for a count of live
// objects that must not mistake a kept object for a leak, and at shutdown.
void AddIdleGdiCache(void (*release)());
void ReleaseIdleGdiCaches();

// Returns the handle, or raises OutOfResources when the call that made it failed.
template <class T>
T GdiCheck(T handle) {
  if (!handle) OutOfResources();
  return handle;
}

namespace detail {
struct TDeleteGdiObject {
  static void Free(void* object) noexcept;
};
struct TDestroyIcon {
  static void Free(HICON icon) noexcept;
};
}  // namespace detail

template <class T, class Traits>
class TOwnedHandle {
 public:
  TOwnedHandle() = default;
  explicit TOwnedHandle(T handle) noexcept : handle_(handle) {}
  TOwnedHandle(TOwnedHandle&& other) noexcept : handle_(other.Release()) {}
  TOwnedHandle& operator=(TOwnedHandle&& other) noexcept {
    Reset(other.Release());
    return *this;
  }
  TOwnedHandle(const TOwnedHandle&) = delete;
  TOwnedHandle& operator=(const TOwnedHandle&) = delete;
  ~TOwnedHandle() { Reset(); }

  T Get() const { return handle_; }
  explicit operator bool() const { return handle_ != nullptr; }
  // Gives the handle away; the caller frees it.
  T Release() noexcept { return std::exchange(handle_, nullptr); }
  void Reset(T handle = nullptr) noexcept {
    T old = std::exchange(handle_, handle);
    if (old && old != handle) Traits::Free(old);
  }

 private:
  T handle_ = nullptr;
};

template <class T>
using TGdiObject = TOwnedHandle<T, detail::TDeleteGdiObject>;
using TBrushHandle = TGdiObject<HBRUSH>;
using TPenHandle = TGdiObject<HPEN>;
using TFontHandle = TGdiObject<HFONT>;
using TBitmapHandle = TGdiObject<HBITMAP>;
using TRegionHandle = TGdiObject<HRGN>;
using TPaletteHandle = TGdiObject<HPALETTE>;
using TIconHandle = TOwnedHandle<HICON, detail::TDestroyIcon>;

// A device context of a window (its client area, or the whole window with
// the non-client parts), released on destruction.
class TWindowDC {
 public:
  explicit TWindowDC(HWND window, bool wholeWindow = false);
  TWindowDC(TWindowDC&& other) noexcept : window_(other.window_), dc_(std::exchange(other.dc_, nullptr)) {}
  TWindowDC& operator=(TWindowDC&&) = delete;
  TWindowDC(const TWindowDC&) = delete;
  TWindowDC& operator=(const TWindowDC&) = delete;
  ~TWindowDC();

  HDC Get() const { return dc_; }
  operator HDC() const { return dc_; }

 private:
  HWND window_;
  HDC dc_;
};

// The screen's device context.
class TScreenDC : public TWindowDC {
 public:
  TScreenDC() : TWindowDC(nullptr) {}
};

// A memory device context compatible with `reference` (the screen when none).
class TMemoryDC {
 public:
  explicit TMemoryDC(HDC reference = nullptr);
  TMemoryDC(TMemoryDC&& other) noexcept : dc_(std::exchange(other.dc_, nullptr)) {}
  TMemoryDC& operator=(TMemoryDC&&) = delete;
  TMemoryDC(const TMemoryDC&) = delete;
  TMemoryDC& operator=(const TMemoryDC&) = delete;
  ~TMemoryDC();

  HDC Get() const { return dc_; }
  operator HDC() const { return dc_; }

 private:
  HDC dc_;
};

// Selects an object into a device context and puts the previous one back.
// Not for regions, whose selection returns no previous object.
class TSelectObject {
 public:
  TSelectObject(HDC dc, void* object);
  TSelectObject(const TSelectObject&) = delete;
  TSelectObject& operator=(const TSelectObject&) = delete;
  ~TSelectObject();

 private:
  HDC dc_;
  void* previous_;
};

// Saves the whole state of a device context and restores it.
class TSaveDC {
 public:
  explicit TSaveDC(HDC dc);
  TSaveDC(const TSaveDC&) = delete;
  TSaveDC& operator=(const TSaveDC&) = delete;
  ~TSaveDC();

 private:
  HDC dc_;
  int saved_;
};

// Narrows the clipping of a device context to a rectangle (logical
// coordinates) and restores the clipping it had before, region or none.
class TClipRect {
 public:
  TClipRect(HDC dc, const TRect& rect);
  TClipRect(const TClipRect&) = delete;
  TClipRect& operator=(const TClipRect&) = delete;
  ~TClipRect();

 private:
  HDC dc_;
  TRegionHandle previous_;
  bool hadClip_ = false;
};

// BeginPaint and EndPaint around a WM_PAINT handler.
class TPaintDC {
 public:
  explicit TPaintDC(HWND window);
  TPaintDC(const TPaintDC&) = delete;
  TPaintDC& operator=(const TPaintDC&) = delete;
  ~TPaintDC();

  HDC Get() const { return dc_; }
  operator HDC() const { return dc_; }
  // The part of the client area that needs painting.
  TRect PaintRect() const { return paintRect_; }

 private:
  HWND window_;
  HDC dc_;
  TRect paintRect_;
  // The platform's PAINTSTRUCT, kept opaque so this header needs no <windows.h>.
  alignas(8) unsigned char paint_[72];
};

}  // namespace hv
