#include "theme/core/tebitmap.h"

#include <windows.h>

#include <algorithm>
#include <climits>
#include <cstring>
#include <mutex>
#include <optional>
#include <span>
#include <vector>

#include "framework/filestream.h"
#include "framework/graphics.h"
#include "framework/stream.h"
#include "framework/sysutils.h"
#include "theme/core/colors.h"
#include "theme/core/msimg32.h"
#include "theme/core/rects.h"
#include "theme/core/sizedpool.h"
#include "theme/styles/pcx.h"

namespace hv {

void detail::TDeleteDC::Free(HDC dc) noexcept { DeleteDC(dc); }

namespace {

int failStepForTesting = 0;

// A PCX stream larger than this is not a skin; the decoder refuses bigger
// images anyway (kPcxMaxPixels bytes of indices at most, plus the palette).
constexpr size_t kMaxPcxStream = static_cast<size_t>(kPcxMaxPixels) * 2 + 4096;

// The DIB sections of released bitmaps, for the next bitmap of the same
// size: a skin reloaded, a theme made again, a buffer of the same window.
// Writing memory that is already the process's runs at memory speed, while
// the first write to each page of a new DIB section costs a page fault
// that under Wine outweighs decoding a whole skin. Bounded, so that a
// window resized through many sizes keeps little; freed on demand through
// ReleaseIdleGdiCaches.
struct TReleasedDib {
  TBitmapHandle handle;
  uint32_t* bits = nullptr;
};

constexpr size_t kPooledDibs = 6;
constexpr size_t kPooledDibBytes = size_t{12} << 20;

// Bitmaps of static lifetime may give their memory back during exit, after
// the pool is gone; they free it then.
bool dibPoolGone = false;

struct TDibPool {
  TDibPool();
  ~TDibPool() { dibPoolGone = true; }
  TDibPool(const TDibPool&) = delete;
  TDibPool& operator=(const TDibPool&) = delete;

  std::mutex lock;
  TSizedPool<TReleasedDib> pool{kPooledDibs, kPooledDibBytes};
};

TDibPool& DibPool() {
  static TDibPool pool;
  return pool;
}

void ReleasePooledDibs() {
  if (dibPoolGone) return;
  std::vector<TReleasedDib> all;  // freed after the lock is let go
  TDibPool& pool = DibPool();
  std::lock_guard guard(pool.lock);
  all = pool.pool.TakeAll();
}

TDibPool::TDibPool() { AddIdleGdiCache(&ReleasePooledDibs); }

void PoolDib(TBitmapHandle handle, uint32_t* bits, int width, int height) {
  if (dibPoolGone || !handle || !bits) return;
  const size_t bytes = static_cast<size_t>(width) * static_cast<size_t>(height) * sizeof(uint32_t);
  std::vector<TReleasedDib> dropped;  // freed after the lock is let go
  TDibPool& pool = DibPool();
  std::lock_guard guard(pool.lock);
  dropped = pool.pool.Put(width, height, bytes, {std::move(handle), bits});
}

std::optional<TReleasedDib> PooledDib(int width, int height) {
  if (dibPoolGone) return std::nullopt;
  TDibPool& pool = DibPool();
  std::lock_guard guard(pool.lock);
  return pool.pool.Take(width, height);
}

TRect Offset(const TRect& r, int dx, int dy) { return r.Offset(dx, dy); }

// The part of a device context that drawing can reach, in its logical
// coordinates; everything outside is clipped by the system anyway, so the
// engine's own keyed copy never reads back more than this.
TRect ReachableArea(HDC dc, const TRect& area) {
  RECT clip;
  const int kind = GetClipBox(dc, &clip);
  if (kind == NULLREGION) return {area.left, area.top, area.left, area.top};
  if (kind == ERROR) return area;
  return Intersect(area, TRect{clip.left, clip.top, clip.right, clip.bottom});
}

// The engine's keyed drawing reads the destination back into memory, paints
// there and writes the result back. One scratch bitmap, grown to the
// largest area asked for, saves a DIB section per draw; painting runs on the
// GUI thread only and never re-enters here.
TTeBitmap& Scratch(int width, int height) {
  static TTeBitmap scratch;
  if (scratch.Width() < width || scratch.Height() < height)
    scratch.SetSize(std::max(width, scratch.Width()), std::max(height, scratch.Height()));
  return scratch;
}

// Reads `area` of dc back, lets paint draw into it (given the view and the
// offset that turns dc coordinates into view coordinates), writes it back.
template <class Paint>
void PaintThroughMemory(HDC dc, const TRect& wanted, Paint&& paint) {
  const TRect area = ReachableArea(dc, wanted);
  if (RectIsEmpty(area)) return;
  const int w = RectWidth(area);
  const int h = RectHeight(area);
  TTeBitmap& scratch = Scratch(w, h);
  BitBlt(scratch.DC(), 0, 0, w, h, dc, area.left, area.top, SRCCOPY);
  TPixelBuffer view = scratch.Pixels();
  view.width = w;
  view.height = h;
  paint(view, -area.left, -area.top);
  BitBlt(dc, area.left, area.top, w, h, scratch.DC(), 0, 0, SRCCOPY);
}

// Nearest-neighbour stretching for plain transfers: the default mode of a
// device context ANDs colours together when shrinking.
class TStretchMode {
 public:
  explicit TStretchMode(HDC dc) : dc_(dc), previous_(SetStretchBltMode(dc, COLORONCOLOR)) {}
  ~TStretchMode() {
    if (previous_) SetStretchBltMode(dc_, previous_);
  }
  TStretchMode(const TStretchMode&) = delete;
  TStretchMode& operator=(const TStretchMode&) = delete;

 private:
  HDC dc_;
  int previous_;
};

void PlainTransfer(HDC dest, const TRect& destRect, HDC source, const TRect& srcRect) {
  const int dw = RectWidth(destRect), dh = RectHeight(destRect);
  const int sw = RectWidth(srcRect), sh = RectHeight(srcRect);
  if (dw == sw && dh == sh) {
    BitBlt(dest, destRect.left, destRect.top, dw, dh, source, srcRect.left, srcRect.top, SRCCOPY);
  } else {
    TStretchMode mode(dest);
    StretchBlt(dest, destRect.left, destRect.top, dw, dh, source, srcRect.left, srcRect.top, sw, sh, SRCCOPY);
  }
}

}  // namespace

TTeBitmap::TTeBitmap() : font_(std::make_unique<TFont>()) {}

TTeBitmap::~TTeBitmap() {
  if (OnFreeHandle) OnFreeHandle(this);
  cachedBitmap_.reset();
  if (dc_ && originalBitmap_) SelectObject(dc_.Get(), originalBitmap_);
  dc_.Reset();
  PoolDib(std::move(handle_), bits_, width_, height_);
}

void TTeBitmap::SetFailStepForTesting(int step) { failStepForTesting = step; }

void TTeBitmap::FreeHandle() {
  if (OnFreeHandle) OnFreeHandle(this);
  if (dc_ && originalBitmap_) SelectObject(dc_.Get(), originalBitmap_);
  originalBitmap_ = nullptr;
  dc_.Reset();
  PoolDib(std::move(handle_), bits_, width_, height_);
  bits_ = nullptr;
  width_ = 0;
  height_ = 0;
}

void TTeBitmap::SetSize(int width, int height) {
  // The most negative int has no positive counterpart; no system has that
  // much memory anyway, so it becomes the largest size and fails to allocate.
  auto magnitude = [](int v) { return v == INT_MIN ? INT_MAX : v < 0 ? -v : v; };
  width = magnitude(width);
  height = magnitude(height);
  if (width == 0 || height == 0 || (width == width_ && height == height_)) return;

  FreeHandle();
  try {
    header_.width = width;
    header_.height = -height;
    BITMAPINFO info{};
    static_assert(sizeof(info.bmiHeader) == sizeof(header_));
    std::memcpy(&info.bmiHeader, &header_, sizeof(header_));
    void* bits = nullptr;
    TBitmapHandle dib;
    if (std::optional<TReleasedDib> released = failStepForTesting == 3 ? std::nullopt : PooledDib(width, height)) {
      // Drawing still batched for the released bitmap lands before the
      // pixels are cleared, as for a new one.
      GdiFlush();
      dib = std::move(released->handle);
      bits = released->bits;
      std::memset(bits, 0, static_cast<size_t>(width) * static_cast<size_t>(height) * sizeof(uint32_t));
    } else if (failStepForTesting != 3) {
      dib.Reset(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    }
    if (!dib || !bits) throw EOutOfResources("Can't allocate the DIB handle");
    TDCHandle dc(failStepForTesting == 4 ? nullptr : CreateCompatibleDC(nullptr));
    if (!dc) throw EOutOfResources("Can't create compatible DC");
    HGDIOBJ original = failStepForTesting == 5 ? nullptr : SelectObject(dc.Get(), dib.Get());
    if (!original || original == HGDI_ERROR) throw EOutOfResources("Can't select an object into DC");
    handle_ = std::move(dib);
    dc_ = std::move(dc);
    originalBitmap_ = original;
    bits_ = static_cast<uint32_t*>(bits);
    width_ = width;
    height_ = height;
  } catch (...) {
    if (OnChange) OnChange(this);
    throw;
  }
  if (OnChange) OnChange(this);
}

TPixelBuffer TTeBitmap::Pixels() const {
  if (!bits_) return {};
  // GDI may still hold drawing for the DIB section in its batch.
  GdiFlush();
  return {bits_, width_, height_, width_};
}

// --- pixels -------------------------------------------------------------------

void TTeBitmap::Fill(uint32_t value) { FillPixels(Pixels(), value); }

void TTeBitmap::FillRect(const TRect& rect, uint32_t value) { FillRectPixels(Pixels(), rect, value, alphaBlend_); }

void TTeBitmap::SetAlpha(uint8_t alpha) { SetAlphaPixels(Pixels(), alpha); }

void TTeBitmap::SetAlphaRect(uint8_t alpha, const TRect& rect) { SetAlphaRectPixels(Pixels(), alpha, rect); }

void TTeBitmap::MakeTransparent(uint32_t key) { MakeTransparentPixels(Pixels(), key); }

void TTeBitmap::ApplyHueShift(int delta) {
  if (!bits_) return;
  HueShiftPixels(Pixels(), delta);
  UpdateCachedBitmap();
}

void TTeBitmap::ApplyBrightnessShift(int delta) {
  if (!bits_) return;
  BrightnessShiftPixels(Pixels(), delta);
  UpdateCachedBitmap();
}

void TTeBitmap::UpdateCachedBitmap() {
  if (!cachedBitmap_) cachedBitmap_ = std::make_unique<TBitmap>();
  cachedBitmap_->SetPixelFormat(pf32bit);
  cachedBitmap_->SetSize(width_, height_);
  const TPixelBuffer pixels = Pixels();
  if (pixels.IsEmpty()) return;
  for (int y = 0; y < height_; ++y)
    std::memcpy(cachedBitmap_->ScanLine(y), pixels.Row(y), static_cast<size_t>(width_) * sizeof(uint32_t));
}

uint32_t TTeBitmap::GetPixel(int x, int y) const { return GetPixelAt(Pixels(), x, y); }

void TTeBitmap::CopyPixelsFrom(const uint32_t* pixels, int width, int height) {
  SetSize(width, height);
  if (width_ != width || height_ != height) return;
  std::memcpy(Pixels().bits, pixels, static_cast<size_t>(width) * static_cast<size_t>(height) * sizeof(uint32_t));
}

// --- drawing onto a device context --------------------------------------------

void TTeBitmap::Draw(HDC dc, int x, int y, bool transparent) const { DrawRect(dc, x, y, Bounds(), transparent); }

void TTeBitmap::DrawRect(HDC dc, int x, int y, const TRect& srcRect, bool transparent) const {
  StretchDraw(dc, TRect{x, y, x + RectWidth(srcRect), y + RectHeight(srcRect)}, srcRect, transparent);
}

void TTeBitmap::StretchDraw(HDC dc, const TRect& destRect, const TRect& srcRect, bool transparent) const {
  if (Empty() || !dc || RectIsEmpty(destRect) || RectIsEmpty(srcRect)) return;
  TRect dst = destRect;
  TRect src = srcRect;
  // A source part reaching outside the bitmap must paint nothing there, but
  // the system's transfers either refuse it or paint black. At equal sizes
  // cut it off; stretched and keyed, leave it to the engine's own copy,
  // which clips without moving a pixel.
  if (RectWidth(dst) == RectWidth(src) && RectHeight(dst) == RectHeight(src)) {
    const TRect clipped = Intersect(src, Bounds());
    if (RectIsEmpty(clipped)) return;
    dst = Offset(clipped, dst.left - src.left, dst.top - src.top);
    src = clipped;
  }
  GdiFlush();
  if (!transparent) {
    PlainTransfer(dc, dst, DC(), src);
    return;
  }
  const bool inside = src.left >= 0 && src.top >= 0 && src.right <= width_ && src.bottom <= height_;
  if (inside && PlatformTransparentBlt(dc, dst.left, dst.top, RectWidth(dst), RectHeight(dst), DC(), src.left,
                                       src.top, RectWidth(src), RectHeight(src), kTransparentMarker & 0xFFFFFFu))
    return;
  KeyedDraw(dc, destRect, srcRect);
}

void TTeBitmap::KeyedDraw(HDC dc, const TRect& destRect, const TRect& srcRect) const {
  TRect wanted = destRect;
  if (RectWidth(destRect) == RectWidth(srcRect) && RectHeight(destRect) == RectHeight(srcRect)) {
    // The bitmap placed at the destination, and the source part there.
    const TRect placed = Offset(Bounds(), destRect.left - srcRect.left, destRect.top - srcRect.top);
    wanted = Intersect(wanted, placed);
  }
  if (RectIsEmpty(wanted)) return;
  const TConstPixelBuffer source = Pixels();
  PaintThroughMemory(dc, wanted, [&](TPixelBuffer view, int dx, int dy) {
    KeyedCopyPixels(view, Offset(destRect, dx, dy), source, srcRect);
  });
}

void TTeBitmap::Tile(HDC dc, const TRect& destRect, const TRect& srcRect, bool transparent) const {
  if (Empty() || !dc || RectIsEmpty(srcRect) || RectIsEmpty(destRect)) return;
  if (transparent && !TransparentBltAvailable()) {
    // One read-back for all the tiles rather than one per tile.
    const TConstPixelBuffer source = Pixels();
    PaintThroughMemory(dc, destRect, [&](TPixelBuffer view, int dx, int dy) {
      TilePixels(view, Offset(destRect, dx, dy), source, srcRect, true);
    });
    return;
  }
  const TRect visible = ReachableArea(dc, destRect);
  for (const TTilePiece& piece : TilePieces(destRect, srcRect, visible))
    StretchDraw(dc, piece.dst, piece.src, transparent);
}

void TTeBitmap::DrawStretchOrTile(HDC dc, const TRect& srcRect, const TRect& destRect, bool stretch,
                                  bool transparent) const {
  if (RectIsEmpty(srcRect)) return;
  if (stretch)
    StretchDraw(dc, destRect, srcRect, transparent);
  else
    Tile(dc, destRect, srcRect, transparent);
}

void TTeBitmap::DrawMargins(HDC dc, const TRect& destRect, const TRect& srcRect, int left, int top, int right,
                            int bottom, bool stretch, bool transparent) const {
  if (Empty() || !dc) return;
  const std::vector<TMarginPiece> pieces = MarginPieces(destRect, srcRect, left, top, right, bottom);
  if (transparent && !TransparentBltAvailable()) {
    // Margins wider than destRect put corners and edges past it, at their
    // own size, as the platform path draws them: read all of that back.
    TRect reach{};
    for (const TMarginPiece& piece : pieces)
      reach = RectIsEmpty(reach)
                  ? piece.dst
                  : TRect{std::min(reach.left, piece.dst.left), std::min(reach.top, piece.dst.top),
                          std::max(reach.right, piece.dst.right), std::max(reach.bottom, piece.dst.bottom)};
    const TConstPixelBuffer source = Pixels();
    PaintThroughMemory(dc, reach, [&](TPixelBuffer view, int dx, int dy) {
      DrawMarginsPixels(view, Offset(destRect, dx, dy), source, srcRect, left, top, right, bottom, stretch, true);
    });
    return;
  }
  for (const TMarginPiece& piece : pieces) {
    switch (piece.draw) {
      case kmdStretch:
        StretchDraw(dc, piece.dst, piece.src, transparent);
        break;
      case kmdStretchOrTile:
        DrawStretchOrTile(dc, piece.src, piece.dst, stretch, transparent);
        break;
      case kmdUnscaled:
        DrawRect(dc, piece.dst.left, piece.dst.top, piece.src, transparent);
        break;
    }
  }
}

void TTeBitmap::Draw(TCanvas& canvas, int x, int y, bool transparent) const {
  Draw(canvas.Handle(), x, y, transparent);
}

void TTeBitmap::DrawRect(TCanvas& canvas, int x, int y, const TRect& srcRect, bool transparent) const {
  DrawRect(canvas.Handle(), x, y, srcRect, transparent);
}

void TTeBitmap::StretchDraw(TCanvas& canvas, const TRect& destRect, const TRect& srcRect, bool transparent) const {
  StretchDraw(canvas.Handle(), destRect, srcRect, transparent);
}

void TTeBitmap::Tile(TCanvas& canvas, const TRect& destRect, const TRect& srcRect, bool transparent) const {
  Tile(canvas.Handle(), destRect, srcRect, transparent);
}

void TTeBitmap::DrawStretchOrTile(TCanvas& canvas, const TRect& srcRect, const TRect& destRect, bool stretch,
                                  bool transparent) const {
  DrawStretchOrTile(canvas.Handle(), srcRect, destRect, stretch, transparent);
}

void TTeBitmap::DrawMargins(TCanvas& canvas, const TRect& destRect, const TRect& srcRect, int left, int top,
                            int right, int bottom, bool stretch, bool transparent) const {
  DrawMargins(canvas.Handle(), destRect, srcRect, left, top, right, bottom, stretch, transparent);
}

// --- copies between bitmaps -----------------------------------------------------

void TTeBitmap::CopyRectTo(TTeBitmap& target, int x, int y, const TRect& srcRect) const {
  if (Empty() || target.Empty() || RectIsEmpty(srcRect)) return;
  if (!alphaBlend_) {
    GdiFlush();
    BitBlt(target.DC(), x, y, RectWidth(srcRect), RectHeight(srcRect), DC(), srcRect.left, srcRect.top, SRCCOPY);
    return;
  }
  BlendCopyPixels(target.Pixels(), x, y, Pixels(), srcRect);
}

void TTeBitmap::StretchCopyTo(TTeBitmap& target, const TRect& destRect, const TRect& srcRect) const {
  if (Empty() || target.Empty() || RectIsEmpty(srcRect) || RectIsEmpty(destRect)) return;
  if (!alphaBlend_) {
    GdiFlush();
    PlainTransfer(target.DC(), destRect, DC(), srcRect);
    return;
  }
  if (RectWidth(destRect) == RectWidth(srcRect) && RectHeight(destRect) == RectHeight(srcRect))
    CopyRectTo(target, destRect.left, destRect.top, srcRect);
  else
    StretchBlendCopyPixels(target.Pixels(), destRect, Pixels(), srcRect);
}

void TTeBitmap::UnderlayFrom(const TTeBitmap& source, int x, int y, const TRect& srcRect) {
  UnderlayPixels(Pixels(), x, y, source.Pixels(), srcRect);
}

// --- assignment -----------------------------------------------------------------

void TTeBitmap::Assign(const TPersistent* source) {
  if (const auto* other = dynamic_cast<const TTeBitmap*>(source)) {
    if (other == this) return;
    if (other->Empty()) return;
    CopyPixelsFrom(other->Pixels().bits, other->Width(), other->Height());
    return;
  }
  if (const auto* bitmap = dynamic_cast<const TBitmap*>(source)) {
    if (bitmap->Empty()) return;
    SetSize(bitmap->Width(), bitmap->Height());
    GdiFlush();
    BitBlt(DC(), 0, 0, width_, height_, bitmap->DC(), 0, 0, SRCCOPY);
    SetAlpha(255);
    return;
  }
  if (const auto* graphic = dynamic_cast<const TGraphic*>(source)) {
    if (graphic->Width() <= 0 || graphic->Height() <= 0) return;
    SetSize(graphic->Width(), graphic->Height());
    TCanvas canvas;
    canvas.SetHandle(DC());
    graphic->Draw(canvas, Bounds());
    canvas.SetHandle(nullptr);
    SetAlpha(255);
    return;
  }
  if (const auto* picture = dynamic_cast<const TPicture*>(source)) {
    if (picture->Graphic()) Assign(picture->Graphic());
    return;
  }
  inherited::Assign(source);
}

void TTeBitmap::AssignTo(TPersistent* dest) const {
  TBitmap* bitmap = dynamic_cast<TBitmap*>(dest);
  if (auto* picture = dynamic_cast<TPicture*>(dest)) bitmap = picture->Bitmap();
  if (bitmap) {
    bitmap->SetSize(width_, height_);
    if (!Empty()) Draw(*bitmap->Canvas(), 0, 0, false);
    GdiFlush();
    return;
  }
  TBitmap temporary;
  AssignTo(&temporary);
  dest->Assign(&temporary);
}

// --- skin images ------------------------------------------------------------------

void TTeBitmap::LoadFromPcx(TStream& stream) { LoadFromPcx(stream, TTePcxSkin{}); }

void TTeBitmap::LoadFromPcx(TStream& stream, const TTePcxSkin& skin) {
  // The marker decides before the rest is read, so that a stream that is no
  // PCX image is left alone however long it is.
  const int64_t start = stream.Position();
  uint8_t header[kPcxHeaderSize];
  stream.ReadBuffer(header, sizeof header);
  if (!IsPcxMarker(header[0])) return;
  // Resources are memory already: decode them where they lie.
  std::vector<uint8_t> copy;
  std::span<const uint8_t> data;
  if (const auto* memory = dynamic_cast<const TCustomMemoryStream*>(&stream)) {
    data = std::span<const uint8_t>(memory->Memory(), static_cast<size_t>(stream.Size()))
               .subspan(static_cast<size_t>(start));
    if (data.size() > kMaxPcxStream) throw EReadError("Stream read error");
    stream.SetPosition(start + static_cast<int64_t>(data.size()));
  } else {
    stream.SetPosition(start);
    copy = stream.ReadRest(kMaxPcxStream);
    data = copy;
  }
  const std::optional<PcxLayout> layout = ReadPcxLayout(data);
  if (!layout) return;
  PcxColorTable colors = ReadPcxColors(data, *layout);
  if (skin.key)
    colors = KeyPcxColors(colors, colors[PcxIndexAt(data, *layout, 0, skin.keyBottomLeft ? layout->height - 1 : 0)]);
  // The tints of the pixel operations, on the palette entries.
  const TPixelBuffer table{colors.data(), static_cast<int>(colors.size()), 1, static_cast<int>(colors.size())};
  HueShiftPixels(table, skin.deltaHue);
  BrightnessShiftPixels(table, skin.deltaBrightness);
  SetSize(layout->width, layout->height);
  if (width_ != layout->width || height_ != layout->height) return;
  DecodePcxPixels(data, *layout, colors, Pixels());
}

void TTeBitmap::LoadFromPcxResource(HINSTANCE instance, const char* name, const TTePcxSkin& skin) {
  TResourceStream stream(instance, name);
  LoadFromPcx(stream, skin);
}

}  // namespace hv
