#pragma once
// TTeBitmap: the engine's off-screen image. A 32-bit top-down DIB section
// whose pixels (ARGB, 0xAARRGGBB) are directly addressable and which is also
// selected into its own memory device context, so that it takes canvas and
// text drawing as well as pixel loops. Skins live in it, controls and frames
// paint through it.

#include <cstdint>
#include <memory>

#include "framework/component.h"
#include "framework/event.h"
#include "framework/gdi.h"
#include "framework/types.h"
#include "framework/winhandles.h"
#include "theme/core/pixels.h"

namespace hv {

class TCanvas;
class TFont;
class TBitmap;
class TStream;

// The bitmap information header handed to the system (the platform's
// 40-byte BITMAPINFOHEADER, field for field).
struct TTeBitmapHeader {
  uint32_t size = 40;
  int32_t width = 0;
  int32_t height = 0;  // negative: rows top down
  uint16_t planes = 1;
  uint16_t bitCount = 32;
  uint32_t compression = 0;
  uint32_t sizeImage = 0;
  int32_t xPelsPerMeter = 0;
  int32_t yPelsPerMeter = 0;
  uint32_t clrUsed = 0;
  uint32_t clrImportant = 0;
};
static_assert(sizeof(TTeBitmapHeader) == 40);

namespace detail {
struct TDeleteDC {
  static void Free(HDC dc) noexcept;
};
}  // namespace detail
using TDCHandle = TOwnedHandle<HDC, detail::TDeleteDC>;

// A skin made from its PCX image in one pass: the colour of a corner pixel
// keys the image (colours within the tolerance become the transparent
// marker) and the others are tinted, all on the 256 palette entries before
// the pixels are written through them. The pixels come out exactly as
// LoadFromPcx, MakeTransparent, ApplyHueShift and ApplyBrightnessShift one
// after the other would leave them.
struct TTePcxSkin {
  bool key = false;
  bool keyBottomLeft = false;  // key colour from pixel (0, height - 1), else (0, 0)
  int deltaHue = 0;
  int deltaBrightness = 0;
};

class TTeBitmap : public TPersistent {
  HV_CLASS_NO_PROPERTIES(TTeBitmap, TPersistent)

 public:
  TTeBitmap();
  ~TTeBitmap() override;
  TTeBitmap(const TTeBitmap&) = delete;
  TTeBitmap& operator=(const TTeBitmap&) = delete;

  // Absolute values are taken; a zero side or the current size changes
  // nothing. Otherwise the old pixels go (OnFreeHandle first) and new zero
  // pixels come. EOutOfResources "Can't allocate the DIB handle", "Can't
  // create compatible DC" or "Can't select an object into DC" leaves the
  // bitmap empty; OnChange fires after the release either way.
  void SetSize(int width, int height);
  bool Empty() const { return !handle_; }

  const TTeBitmapHeader& Header() const { return header_; }
  HBITMAP Handle() const { return handle_.Get(); }
  HDC DC() const { return dc_.Get(); }
  uint32_t* Bits() const { return bits_; }
  int Width() const { return width_; }
  int Height() const { return height_; }
  TRect Bounds() const { return {0, 0, width_, height_}; }
  // The pixels for the loops of pixels.h, with pending GDI drawing finished.
  TPixelBuffer Pixels() const;

  TFont* Font() const { return font_.get(); }
  bool AlphaBlend() const { return alphaBlend_; }
  void SetAlphaBlend(bool alphaBlend) { alphaBlend_ = alphaBlend; }
  // Made on first use (UpdateCachedBitmap); null before.
  TBitmap* CachedBitmap() const { return cachedBitmap_.get(); }

  TNotifyEvent OnChange;
  TNotifyEvent OnFreeHandle;

  // --- pixels -----------------------------------------------------------
  void Fill(uint32_t value);
  // With AlphaBlend value is blended over each pixel.
  void FillRect(const TRect& rect, uint32_t value);
  void SetAlpha(uint8_t alpha);
  void SetAlphaRect(uint8_t alpha, const TRect& rect);
  // Red, green and blue each within 5 of key's: the pixel becomes the marker.
  void MakeTransparent(uint32_t key);
  // Pixels with alpha 0 are left alone; CachedBitmap is refreshed after.
  void ApplyHueShift(int delta);
  void ApplyBrightnessShift(int delta);
  void UpdateCachedBitmap();
  uint32_t* PixelPtr(int x, int y) const { return bits_ + static_cast<ptrdiff_t>(y) * width_ + x; }
  // Opaque black outside the bitmap or when it is empty.
  uint32_t GetPixel(int x, int y) const;

  // --- drawing onto a device context ----------------------------------------
  // Transparent drawing skips the transparent marker: through the platform's
  // TransparentBlt where it is available, else by the engine's keyed copy
  // over the destination's own pixels read back.
  void Draw(HDC dc, int x, int y, bool transparent) const;
  void DrawRect(HDC dc, int x, int y, const TRect& srcRect, bool transparent) const;
  void StretchDraw(HDC dc, const TRect& destRect, const TRect& srcRect, bool transparent) const;
  void Tile(HDC dc, const TRect& destRect, const TRect& srcRect, bool transparent) const;
  void DrawStretchOrTile(HDC dc, const TRect& srcRect, const TRect& destRect, bool stretch, bool transparent) const;
  void DrawMargins(HDC dc, const TRect& destRect, const TRect& srcRect, int left, int top, int right, int bottom,
                   bool stretch, bool transparent) const;

  void Draw(TCanvas& canvas, int x, int y, bool transparent) const;
  void DrawRect(TCanvas& canvas, int x, int y, const TRect& srcRect, bool transparent) const;
  void StretchDraw(TCanvas& canvas, const TRect& destRect, const TRect& srcRect, bool transparent) const;
  void Tile(TCanvas& canvas, const TRect& destRect, const TRect& srcRect, bool transparent) const;
  void DrawStretchOrTile(TCanvas& canvas, const TRect& srcRect, const TRect& destRect, bool stretch,
                         bool transparent) const;
  void DrawMargins(TCanvas& canvas, const TRect& destRect, const TRect& srcRect, int left, int top, int right,
                   int bottom, bool stretch, bool transparent) const;

  // --- copies between bitmaps ---------------------------------------------
  // Plain block transfers, or per-pixel alpha when this bitmap's AlphaBlend
  // is on (alpha 0 keeps the target pixel, 255 replaces it).
  void CopyRectTo(TTeBitmap& target, int x, int y, const TRect& srcRect) const;
  void StretchCopyTo(TTeBitmap& target, const TRect& destRect, const TRect& srcRect) const;
  // This bitmap's translucent pixels made opaque over source's srcRect
  // placed at (x, y).
  void UnderlayFrom(const TTeBitmap& source, int x, int y, const TRect& srcRect);

  // From another TTeBitmap: its size and pixels, alpha and all. From a
  // framework bitmap, any other framework graphic or a picture's graphic:
  // their size and look, every alpha made 255.
  void Assign(const TPersistent* source) override;

  // An 8-bit PCX image read from the stream's position. Anything that is
  // not PCX (first byte neither 10 nor 205) leaves the bitmap as it was;
  // a damaged one raises EReadError or EInvalidGraphic and leaves it too,
  // and so does a stream shorter than the 128-byte header.
  void LoadFromPcx(TStream& stream);
  void LoadFromPcx(TStream& stream, const TTePcxSkin& skin);
  // The same from a raw data resource; EResNotFound when there is none.
  void LoadFromPcxResource(HINSTANCE instance, const char* name, const TTePcxSkin& skin = {});

  // Makes step 3, 4 or 5 of the next SetSize calls fail as if the system
  // had refused (0: none), so that the failure paths can be tested.
  static void SetFailStepForTesting(int step);

 protected:
  void AssignTo(TPersistent* dest) const override;

 private:
  void FreeHandle();
  void CopyPixelsFrom(const uint32_t* pixels, int width, int height);
  void KeyedDraw(HDC dc, const TRect& destRect, const TRect& srcRect) const;

  TTeBitmapHeader header_;
  TBitmapHandle handle_;
  TDCHandle dc_;
  void* originalBitmap_ = nullptr;
  uint32_t* bits_ = nullptr;
  int height_ = 0;
  int width_ = 0;
  std::unique_ptr<TFont> font_;
  bool alphaBlend_ = false;
  std::unique_ptr<TBitmap> cachedBitmap_;
};

}  // namespace hv
