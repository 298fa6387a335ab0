#include <windows.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <utility>

#include "framework/bmpcodec.h"
#include "framework/graphics.h"
#include "framework/stream.h"
#include "framework/sysutils.h"
#include "framework/winstring.h"

namespace hv {

namespace {

int BitCount(TPixelFormat format) {
  static constexpr int kBits[] = {1, 4, 8, 24, 32};
  return kBits[format];
}

TPixelFormat FormatOfBits(int bits) {
  return bits <= 1 ? pf1bit : bits <= 4 ? pf4bit : bits <= 8 ? pf8bit : bits == 24 ? pf24bit : pf32bit;
}

// Colour table entries (0x00RRGGBB) and framework colours (0x00BBGGRR) are
// the same bytes in the other order.
uint32_t SwapRedBlue(uint32_t c) { return ((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF); }

// The sixteen colours every palette-based display knows, in their usual order.
constexpr uint32_t kVgaColors[16] = {0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080, 0x008080, 0xC0C0C0,
                                     0x808080, 0xFF0000, 0x00FF00, 0xFFFF00, 0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF};

std::vector<uint32_t> DefaultPalette(TPixelFormat format) {
  switch (format) {
    case pf1bit:
      return {0x000000, 0xFFFFFF};
    case pf4bit:
      return {std::begin(kVgaColors), std::end(kVgaColors)};
    case pf8bit: {
      // The VGA colours, a 6x6x6 colour cube, then a ramp of greys.
      std::vector<uint32_t> palette(std::begin(kVgaColors), std::end(kVgaColors));
      for (uint32_t r = 0; r < 6; ++r)
        for (uint32_t g = 0; g < 6; ++g)
          for (uint32_t b = 0; b < 6; ++b) palette.push_back((r * 51) << 16 | (g * 51) << 8 | (b * 51));
      for (uint32_t i = 1; palette.size() < 256; ++i) {
        uint32_t v = i * 255 / 25;
        palette.push_back(v << 16 | v << 8 | v);
      }
      return palette;
    }
    default:
      return {};
  }
}

struct TDibInfo {
  BITMAPINFOHEADER header;
  RGBQUAD colors[256];
};

TBitmapHandle CreateDib(int width, int height, TPixelFormat format, const std::vector<uint32_t>& palette,
                        uint8_t*& bits) {
  TDibInfo info{};
  info.header.biSize = sizeof(BITMAPINFOHEADER);
  info.header.biWidth = width;
  info.header.biHeight = -height;  // top row first
  info.header.biPlanes = 1;
  info.header.biBitCount = static_cast<WORD>(BitCount(format));
  info.header.biCompression = BI_RGB;
  info.header.biClrUsed = static_cast<DWORD>(palette.size());
  std::memcpy(info.colors, palette.data(), std::min<size_t>(palette.size(), 256) * sizeof(RGBQUAD));
  void* pixels = nullptr;
  TBitmapHandle dib(
      CreateDIBSection(nullptr, reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS, &pixels, nullptr, 0));
  if (!dib || !pixels) OutOfResources();
  bits = static_cast<uint8_t*>(pixels);
  return dib;
}

}  // namespace

// The bitmap's canvas draws into its memory context, and every drawing call
// counts as a change of the bitmap.
class TBitmapCanvas : public TCanvas {
 public:
  explicit TBitmapCanvas(TBitmap* bitmap) : bitmap_(bitmap) {}

 protected:
  void CreateHandle() override { SetHandle(bitmap_->DC()); }
  void Changed() override {
    TCanvas::Changed();
    bitmap_->Changed();
  }

 private:
  TBitmap* bitmap_;
};

TBitmap::TBitmap() = default;

TBitmap::TBitmap(int width, int height, TPixelFormat format) : pixelFormat_(format), palette_(DefaultPalette(format)) {
  SetSize(width, height);
}

TBitmap::~TBitmap() {
  canvas_.reset();
  FreeDC();
}

HDC TBitmap::DC() const {
  if (!dc_) {
    auto dc = std::make_unique<TMemoryDC>();
    dcOriginalBitmap_ = GetCurrentObject(dc->Get(), OBJ_BITMAP);
    if (dib_) SelectObject(dc->Get(), dib_.Get());
    dc_ = std::move(dc);
  }
  return dc_->Get();
}

void TBitmap::FreeDC() const {
  if (!dc_) return;
  if (canvas_) canvas_->SetHandle(nullptr);
  SelectObject(dc_->Get(), dcOriginalBitmap_);
  dc_.reset();
}

TCanvas* TBitmap::Canvas() const {
  if (!canvas_) canvas_ = std::make_unique<TBitmapCanvas>(const_cast<TBitmap*>(this));
  return canvas_.get();
}

void TBitmap::Changed() { TGraphic::Changed(); }

void TBitmap::Replace(TBitmapHandle dib, uint8_t* bits, TPixelFormat format, int width, int height,
                      std::vector<uint32_t> palette) {
  // The memory context (and with it the canvas's selections) stays; only
  // the bitmap inside it changes, before the old one dies.
  if (dc_) SelectObject(dc_->Get(), dib ? static_cast<HGDIOBJ>(dib.Get()) : dcOriginalBitmap_);
  dib_ = std::move(dib);
  bits_ = bits;
  pixelFormat_ = format;
  width_ = width;
  height_ = height;
  palette_ = std::move(palette);
}

void TBitmap::SetSize(int width, int height) {
  width = std::max(width, 0);
  height = std::max(height, 0);
  if (width == width_ && height == height_) return;
  TBitmapHandle dib;
  uint8_t* bits = nullptr;
  if (width > 0 && height > 0) {
    dib = CreateDib(width, height, pixelFormat_, palette_, bits);
    if (bits_) {
      GdiFlush();
      int oldStride = BytesPerScanLine();
      int newStride = DibStride(width, BitCount(pixelFormat_));
      int bytes = std::min(DibStride(std::min(width, width_), BitCount(pixelFormat_)), newStride);
      for (int y = 0; y < std::min(height, height_); ++y)
        std::memcpy(bits + static_cast<size_t>(y) * newStride, bits_ + static_cast<size_t>(y) * oldStride,
                    static_cast<size_t>(bytes));
    }
  }
  Replace(std::move(dib), bits, pixelFormat_, width, height, palette_);
  Changed();
}

void TBitmap::SetPixelFormat(TPixelFormat format) {
  if (format > pf32bit) throw EInvalidGraphic("Invalid pixel format");
  if (format == pixelFormat_) return;
  std::vector<uint32_t> palette = DefaultPalette(format);
  // Going up between palettised formats keeps every colour exactly.
  if (palette.size() >= palette_.size()) std::copy(palette_.begin(), palette_.end(), palette.begin());
  TBitmapHandle dib;
  uint8_t* bits = nullptr;
  if (dib_) {
    dib = CreateDib(width_, height_, format, palette, bits);
    TMemoryDC target;
    TSelectObject select(target, dib.Get());
    BitBlt(target, 0, 0, width_, height_, DC(), 0, 0, SRCCOPY);
    GdiFlush();
  }
  Replace(std::move(dib), bits, format, width_, height_, std::move(palette));
  Changed();
}

std::vector<TColor> TBitmap::PaletteColors() const {
  std::vector<TColor> colors;
  colors.reserve(palette_.size());
  for (uint32_t entry : palette_) colors.push_back(static_cast<TColor>(SwapRedBlue(entry)));
  return colors;
}

void TBitmap::SetPaletteColors(std::span<const TColor> colors) {
  size_t count = std::min(colors.size(), palette_.size());
  bool changed = false;
  for (size_t i = 0; i < count; ++i) {
    uint32_t entry = SwapRedBlue(static_cast<uint32_t>(ColorToRGB(colors[i])) & 0xFFFFFF);
    changed |= palette_[i] != entry;
    palette_[i] = entry;
  }
  if (!changed) return;
  if (dib_) {
    static_assert(sizeof(RGBQUAD) == sizeof(uint32_t));
    SetDIBColorTable(DC(), 0, static_cast<UINT>(palette_.size()), reinterpret_cast<const RGBQUAD*>(palette_.data()));
  }
  Changed();
}

int TBitmap::BytesPerScanLine() const { return DibStride(width_, BitCount(pixelFormat_)); }

void* TBitmap::ScanLine(int y) { return const_cast<void*>(std::as_const(*this).ScanLine(y)); }

const void* TBitmap::ScanLine(int y) const {
  if (!bits_ || y < 0 || y >= height_) throw EInvalidGraphic("Scan line index out of range");
  GdiFlush();
  return bits_ + static_cast<size_t>(y) * static_cast<size_t>(BytesPerScanLine());
}

TColor TBitmap::TransparentColor() const {
  if (transparentMode_ == tmFixed) return transparentColor_;
  if (!bits_) return clDefault;
  const uint8_t* row = static_cast<const uint8_t*>(ScanLine(height_ - 1));
  switch (pixelFormat_) {
    case pf1bit:
      return static_cast<TColor>(SwapRedBlue(palette_[row[0] >> 7]));
    case pf4bit:
      return static_cast<TColor>(SwapRedBlue(palette_[row[0] >> 4]));
    case pf8bit:
      return static_cast<TColor>(SwapRedBlue(palette_[row[0]]));
    default:
      return static_cast<TColor>(row[2] | row[1] << 8 | row[0] << 16);
  }
}

void TBitmap::SetTransparentColor(TColor color) {
  TTransparentMode mode = color == clDefault ? tmAuto : tmFixed;
  if (color == transparentColor_ && mode == transparentMode_) return;
  transparentColor_ = color;
  transparentMode_ = mode;
  Changed();
}

void TBitmap::SetTransparentMode(TTransparentMode mode) {
  if (mode == transparentMode_) return;
  if (mode == tmFixed && transparentColor_ == clDefault) transparentColor_ = TransparentColor();
  transparentMode_ = mode;
  Changed();
}

void TBitmap::LoadDib(const TDibImage& image) {
  TPixelFormat format = FormatOfBits(image.bitCount);
  uint8_t* bits = nullptr;
  TBitmapHandle dib = CreateDib(image.width, image.height, format, image.palette, bits);
  std::memcpy(bits, image.pixels.data(),
              std::min(image.pixels.size(), static_cast<size_t>(image.Stride()) * static_cast<size_t>(image.height)));
  Replace(std::move(dib), bits, format, image.width, image.height, image.palette);
  Changed();
}

void TBitmap::LoadFromHandle(HBITMAP bitmap) {
  BITMAP info{};
  if (!bitmap || !GetObjectW(bitmap, sizeof info, &info)) throw EInvalidGraphic("Invalid bitmap handle");
  TDibImage image;
  image.width = info.bmWidth;
  image.height = std::abs(info.bmHeight);
  image.bitCount = BitCount(FormatOfBits(info.bmBitsPixel * info.bmPlanes));
  if (image.width <= 0 || image.height <= 0) {
    SetSize(0, 0);
    return;
  }
  TDibInfo header{};
  header.header.biSize = sizeof(BITMAPINFOHEADER);
  header.header.biWidth = image.width;
  header.header.biHeight = -image.height;
  header.header.biPlanes = 1;
  header.header.biBitCount = static_cast<WORD>(image.bitCount);
  header.header.biCompression = BI_RGB;
  image.pixels.resize(static_cast<size_t>(image.Stride()) * static_cast<size_t>(image.height));
  TScreenDC screen;
  if (GetDIBits(screen, bitmap, 0, static_cast<UINT>(image.height), image.pixels.data(),
                reinterpret_cast<BITMAPINFO*>(&header), DIB_RGB_COLORS) == 0)
    throw EInvalidGraphic("Invalid bitmap handle");
  if (image.bitCount <= 8) {
    image.palette.resize(size_t{1} << image.bitCount);
    std::memcpy(image.palette.data(), header.colors, image.palette.size() * sizeof(RGBQUAD));
  }
  LoadDib(image);
}

void TBitmap::LoadFromResourceName(HINSTANCE module, std::string_view name) {
  std::wstring wide = Widen(name);
  HRSRC resource = FindResourceW(module, wide.c_str(), MAKEINTRESOURCEW(2));  // RT_BITMAP
  HGLOBAL data = resource ? LoadResource(module, resource) : nullptr;
  const void* bytes = data ? LockResource(data) : nullptr;
  if (!bytes) throw EResNotFound(Format("Resource %.*s not found", static_cast<int>(name.size()), name.data()));
  LoadDib(DecodePackedDib({static_cast<const uint8_t*>(bytes), SizeofResource(module, resource)}));
}

void TBitmap::LoadFromResourceID(HINSTANCE module, int id) {
  HRSRC resource = FindResourceW(module, MAKEINTRESOURCEW(id), MAKEINTRESOURCEW(2));
  HGLOBAL data = resource ? LoadResource(module, resource) : nullptr;
  const void* bytes = data ? LockResource(data) : nullptr;
  if (!bytes) throw EResNotFound(Format("Resource %d not found", id));
  LoadDib(DecodePackedDib({static_cast<const uint8_t*>(bytes), SizeofResource(module, resource)}));
}

void TBitmap::LoadFromBytes(std::span<const uint8_t> file) {
  if (file.empty()) {
    SetSize(0, 0);
    return;
  }
  LoadDib(DecodeBmpFile(file));
}

void TBitmap::LoadFromStream(TStream& stream) {
  // A bitmap may be followed by other data: the file header says how much is ours.
  int64_t left = stream.Size() - stream.Position();
  if (left <= 0) {
    SetSize(0, 0);
    return;
  }
  std::vector<uint8_t> file(14);
  if (left < 14) throw EInvalidGraphic("Bitmap image is not valid: not a bitmap file");
  stream.ReadBuffer(file.data(), file.size());
  uint32_t size = static_cast<uint32_t>(file[2] | file[3] << 8 | file[4] << 16) | static_cast<uint32_t>(file[5]) << 24;
  int64_t rest = size >= 14 + 12 && size - 14 <= left - 14 ? size - 14 : left - 14;
  if (rest > static_cast<int64_t>(TMemoryStream::kMaxSize))
    throw EInvalidGraphic("Bitmap image is not valid: too large");
  file.resize(14 + static_cast<size_t>(rest));
  stream.ReadBuffer(file.data() + 14, static_cast<size_t>(rest));
  LoadDib(DecodeBmpFile(file));
}

std::vector<uint8_t> TBitmap::SaveToBytes() const {
  if (!bits_) return {};
  GdiFlush();
  TDibImage image;
  image.width = width_;
  image.height = height_;
  image.bitCount = BitCount(pixelFormat_);
  image.palette = palette_;
  image.pixels.assign(bits_, bits_ + static_cast<size_t>(BytesPerScanLine()) * static_cast<size_t>(height_));
  return EncodeBmpFile(image);
}

void TBitmap::SaveToStream(TStream& stream) const {
  std::vector<uint8_t> bytes = SaveToBytes();
  stream.WriteBuffer(bytes.data(), bytes.size());
}

void TBitmap::Assign(const TPersistent* source) {
  if (!source) {
    Replace(TBitmapHandle(), nullptr, pixelFormat_, 0, 0, palette_);
    Changed();
    return;
  }
  if (source == this) return;
  if (auto bitmap = dynamic_cast<const TBitmap*>(source)) {
    TBitmapHandle dib;
    uint8_t* bits = nullptr;
    if (bitmap->bits_) {
      dib = CreateDib(bitmap->width_, bitmap->height_, bitmap->pixelFormat_, bitmap->palette_, bits);
      GdiFlush();
      std::memcpy(bits, bitmap->bits_,
                  static_cast<size_t>(bitmap->BytesPerScanLine()) * static_cast<size_t>(bitmap->height_));
    }
    Replace(std::move(dib), bits, bitmap->pixelFormat_, bitmap->width_, bitmap->height_, bitmap->palette_);
    transparentColor_ = bitmap->transparentColor_;
    transparentMode_ = bitmap->transparentMode_;
    if (Transparent() != bitmap->Transparent()) TGraphic::SetTransparent(bitmap->Transparent());
    Changed();
    return;
  }
  if (auto graphic = dynamic_cast<const TGraphic*>(source)) {
    // Any other graphic is rendered: on black, at its own size.
    Replace(TBitmapHandle(), nullptr, pixelFormat_, 0, 0, palette_);
    SetSize(graphic->Width(), graphic->Height());
    if (bits_) Canvas()->Draw(0, 0, graphic);
    return;
  }
  TGraphic::Assign(source);
}

void TBitmap::Draw(TCanvas& canvas, const TRect& rect) const {
  if (!dib_) return;
  HDC dest = canvas.Handle();
  if (Transparent()) {
    DrawTransparent(dest, rect);
    return;
  }
  int w = rect.Width(), h = rect.Height();
  if (w == width_ && h == height_) {
    BitBlt(dest, rect.left, rect.top, w, h, DC(), 0, 0, canvas.CopyMode());
  } else {
    int mode = SetStretchBltMode(dest, COLORONCOLOR);
    StretchBlt(dest, rect.left, rect.top, w, h, DC(), 0, 0, width_, height_, canvas.CopyMode());
    SetStretchBltMode(dest, mode);
  }
}

// Keyed drawing done by hand: the platform's TransparentBlt is optional and,
// under Wine, matches only pixels whose alpha byte is zero. The destination
// pixels are fetched, the non-key source pixels laid over them (nearest
// neighbour when stretching) and the block put back.
void TBitmap::DrawTransparent(HDC dest, const TRect& rect) const {
  if (rect.Width() <= 0 || rect.Height() <= 0) return;
  RECT clip{};
  int clipKind = GetClipBox(dest, &clip);
  if (clipKind == NULLREGION) return;
  TRect area = clipKind == ERROR ? rect : Intersect(rect, TRect{clip.left, clip.top, clip.right, clip.bottom});
  if (area.IsEmpty()) return;

  // The source as 32-bit pixels, converted through the platform when it has another format.
  const uint32_t* source = nullptr;
  TBitmapHandle converted;
  if (pixelFormat_ == pf32bit) {
    GdiFlush();
    source = reinterpret_cast<const uint32_t*>(bits_);
  } else {
    uint8_t* bits = nullptr;
    converted = CreateDib(width_, height_, pf32bit, {}, bits);
    TMemoryDC dc;
    TSelectObject select(dc, converted.Get());
    BitBlt(dc, 0, 0, width_, height_, DC(), 0, 0, SRCCOPY);
    GdiFlush();
    source = reinterpret_cast<const uint32_t*>(bits);
  }
  const uint32_t key = SwapRedBlue(static_cast<uint32_t>(ColorToRGB(TransparentColor())) & 0xFFFFFF);

  const int aw = area.Width(), ah = area.Height();
  uint8_t* blockBits = nullptr;
  TBitmapHandle block = CreateDib(aw, ah, pf32bit, {}, blockBits);
  TMemoryDC blockDC(dest);
  TSelectObject select(blockDC, block.Get());
  BitBlt(blockDC, 0, 0, aw, ah, dest, area.left, area.top, SRCCOPY);
  GdiFlush();
  auto* target = reinterpret_cast<uint32_t*>(blockBits);
  const int64_t w = rect.Width(), h = rect.Height();
  for (int y = 0; y < ah; ++y) {
    int sy = static_cast<int>((area.top + y - rect.top) * int64_t{height_} / h);
    const uint32_t* srcRow = source + static_cast<size_t>(sy) * static_cast<size_t>(width_);
    uint32_t* dstRow = target + static_cast<size_t>(y) * static_cast<size_t>(aw);
    for (int x = 0; x < aw; ++x) {
      int sx = static_cast<int>((area.left + x - rect.left) * int64_t{width_} / w);
      uint32_t pixel = srcRow[sx];
      if ((pixel & 0xFFFFFF) != key) dstRow[x] = pixel;
    }
  }
  BitBlt(dest, area.left, area.top, aw, ah, blockDC, 0, 0, SRCCOPY);
}

}  // namespace hv
