#include "framework/gdi.h"

#include <windows.h>

#include <algorithm>
#include <mutex>
#include <new>
#include <vector>

#include "framework/sysutils.h"

namespace hv {

void OutOfResources() { throw EOutOfResources("Out of system resources"); }

namespace {

struct TIdleCaches {
  std::mutex lock;
  std::vector<void (*)()> releasers;
};

TIdleCaches& IdleCaches() {
  static TIdleCaches caches;
  return caches;
}

}  // namespace

void AddIdleGdiCache(void (*release)()) {
  TIdleCaches& caches = IdleCaches();
  std::lock_guard guard(caches.lock);
  if (std::find(caches.releasers.begin(), caches.releasers.end(), release) == caches.releasers.end())
    caches.releasers.push_back(release);
}

void ReleaseIdleGdiCaches() {
  std::vector<void (*)()> releasers;
  {
    TIdleCaches& caches = IdleCaches();
    std::lock_guard guard(caches.lock);
    releasers = caches.releasers;
  }
  for (auto release : releasers) release();
}

namespace detail {
void TDeleteGdiObject::Free(void* object) noexcept { DeleteObject(static_cast<HGDIOBJ>(object)); }
void TDestroyIcon::Free(HICON icon) noexcept { DestroyIcon(icon); }
}  // namespace detail

TWindowDC::TWindowDC(HWND window, bool wholeWindow)
    : window_(window), dc_(GdiCheck(wholeWindow ? GetWindowDC(window) : GetDC(window))) {}

TWindowDC::~TWindowDC() {
  if (dc_) ReleaseDC(window_, dc_);
}

TMemoryDC::TMemoryDC(HDC reference) : dc_(GdiCheck(CreateCompatibleDC(reference))) {}

TMemoryDC::~TMemoryDC() {
  if (dc_) DeleteDC(dc_);
}

TSelectObject::TSelectObject(HDC dc, void* object) : dc_(dc), previous_(SelectObject(dc, object)) {
  if (!previous_ || previous_ == HGDI_ERROR) OutOfResources();
}

TSelectObject::~TSelectObject() { SelectObject(dc_, previous_); }

TSaveDC::TSaveDC(HDC dc) : dc_(dc), saved_(SaveDC(dc)) {
  if (!saved_) OutOfResources();
}

TSaveDC::~TSaveDC() { RestoreDC(dc_, saved_); }

TClipRect::TClipRect(HDC dc, const TRect& rect) : dc_(dc), previous_(GdiCheck(CreateRectRgn(0, 0, 0, 0))) {
  // GetClipRgn answers 0 for a context without clipping; restoring must then
  // remove the clipping rather than select the empty region.
  hadClip_ = GetClipRgn(dc, previous_.Get()) == 1;
  IntersectClipRect(dc, rect.left, rect.top, rect.right, rect.bottom);
}

TClipRect::~TClipRect() { SelectClipRgn(dc_, hadClip_ ? previous_.Get() : nullptr); }

static_assert(sizeof(PAINTSTRUCT) <= 72 && alignof(PAINTSTRUCT) <= 8);

TPaintDC::TPaintDC(HWND window) : window_(window) {
  auto* paint = new (paint_) PAINTSTRUCT{};
  dc_ = BeginPaint(window, paint);
  if (!dc_) OutOfResources();
  paintRect_ = {paint->rcPaint.left, paint->rcPaint.top, paint->rcPaint.right, paint->rcPaint.bottom};
}

TPaintDC::~TPaintDC() { EndPaint(window_, reinterpret_cast<PAINTSTRUCT*>(paint_)); }

}  // namespace hv
