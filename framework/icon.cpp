#include <windows.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "framework/bmpcodec.h"
#include "framework/graphics.h"
#include "framework/stream.h"
#include "framework/sysutils.h"
#include "framework/winstring.h"

namespace hv {

namespace {

[[noreturn]] void InvalidIcon() { throw EInvalidGraphic("Icon image is not valid"); }

uint16_t U16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | p[1] << 8); }
uint32_t U32(const uint8_t* p) {
  return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 | static_cast<uint32_t>(p[2]) << 16 |
         static_cast<uint32_t>(p[3]) << 24;
}
void Put16(std::vector<uint8_t>& out, uint32_t v) {
  out.push_back(static_cast<uint8_t>(v));
  out.push_back(static_cast<uint8_t>(v >> 8));
}
void Put32(std::vector<uint8_t>& out, uint32_t v) {
  Put16(out, v & 0xFFFF);
  Put16(out, v >> 16);
}

constexpr size_t kDirHeader = 6;
constexpr size_t kDirEntry = 16;

// The pixels of a bitmap handle as 32-bit rows, bottom row first (as icon
// files keep them).
std::vector<uint8_t> BottomUpPixels(HDC dc, HBITMAP bitmap, int width, int height) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  std::vector<uint8_t> pixels(static_cast<size_t>(width) * static_cast<size_t>(height) * 4);
  if (!GetDIBits(dc, bitmap, 0, static_cast<UINT>(height), pixels.data(), &info, DIB_RGB_COLORS)) InvalidIcon();
  return pixels;
}

// A one-image 32-bit .ico file of an icon handle.
std::vector<uint8_t> EncodeIcon(HICON icon) {
  ICONINFO info{};
  if (!GetIconInfo(icon, &info)) InvalidIcon();
  TBitmapHandle color(info.hbmColor);
  TBitmapHandle mask(info.hbmMask);
  BITMAP maskInfo{};
  if (!mask || !GetObjectW(mask.Get(), sizeof maskInfo, &maskInfo)) InvalidIcon();
  const int width = maskInfo.bmWidth;
  // Monochrome icons stack the AND mask over the XOR image in one bitmap.
  const int height = color ? maskInfo.bmHeight : maskInfo.bmHeight / 2;
  if (width <= 0 || height <= 0) InvalidIcon();
  TScreenDC screen;
  // Mask and image as 32-bit rows, bottom-up; for a monochrome icon the
  // image is the lower half of the mask bitmap, which comes first bottom-up.
  std::vector<uint8_t> maskPixels = BottomUpPixels(screen, mask.Get(), width, maskInfo.bmHeight);
  std::vector<uint8_t> image;
  if (color) {
    image = BottomUpPixels(screen, color.Get(), width, height);
  } else {
    image.assign(maskPixels.begin(), maskPixels.begin() + static_cast<ptrdiff_t>(width) * height * 4);
    maskPixels.erase(maskPixels.begin(), maskPixels.begin() + static_cast<ptrdiff_t>(width) * height * 4);
  }
  const size_t pixelCount = static_cast<size_t>(width) * static_cast<size_t>(height);
  bool hasAlpha = false;
  for (size_t i = 0; i < pixelCount && !hasAlpha; ++i) hasAlpha = image[4 * i + 3] != 0;
  const size_t maskStride = static_cast<size_t>(DibStride(width, 1));
  std::vector<uint8_t> andMask(maskStride * static_cast<size_t>(height), 0);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      size_t i = static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x);
      bool transparent = maskPixels[4 * i] != 0;
      if (transparent) andMask[static_cast<size_t>(y) * maskStride + static_cast<size_t>(x) / 8] |= 0x80 >> (x % 8);
      if (!hasAlpha) image[4 * i + 3] = transparent ? 0 : 255;
    }

  const uint32_t bytes = static_cast<uint32_t>(40 + image.size() + andMask.size());
  std::vector<uint8_t> out;
  Put16(out, 0);
  Put16(out, 1);
  Put16(out, 1);
  out.push_back(static_cast<uint8_t>(width >= 256 ? 0 : width));
  out.push_back(static_cast<uint8_t>(height >= 256 ? 0 : height));
  out.push_back(0);
  out.push_back(0);
  Put16(out, 1);
  Put16(out, 32);
  Put32(out, bytes);
  Put32(out, static_cast<uint32_t>(kDirHeader + kDirEntry));
  Put32(out, 40);
  Put32(out, static_cast<uint32_t>(width));
  Put32(out, static_cast<uint32_t>(height * 2));
  Put16(out, 1);
  Put16(out, 32);
  Put32(out, BI_RGB);
  Put32(out, static_cast<uint32_t>(image.size() + andMask.size()));
  for (int i = 0; i < 4; ++i) Put32(out, 0);
  out.insert(out.end(), image.begin(), image.end());
  out.insert(out.end(), andMask.begin(), andMask.end());
  return out;
}

}  // namespace

TIcon::TIcon() = default;
TIcon::~TIcon() = default;

void TIcon::Adopt(HICON icon, std::vector<uint8_t> data) {
  TIconHandle owned(icon);
  int width = 0, height = 0;
  if (icon) {
    ICONINFO info{};
    if (!GetIconInfo(icon, &info)) throw EInvalidGraphic("Invalid icon handle");
    TBitmapHandle color(info.hbmColor);
    TBitmapHandle mask(info.hbmMask);
    BITMAP bitmap{};
    if (mask && GetObjectW(mask.Get(), sizeof bitmap, &bitmap)) {
      width = bitmap.bmWidth;
      height = color ? bitmap.bmHeight : bitmap.bmHeight / 2;
    }
  }
  handle_ = std::move(owned);
  width_ = width;
  height_ = height;
  data_ = std::move(data);
  Changed();
}

void TIcon::SetHandle(HICON icon) {
  if (icon == handle_.Get()) return;
  Adopt(icon, {});
}

HICON TIcon::ReleaseHandle() {
  HICON icon = handle_.Release();
  width_ = height_ = 0;
  data_.clear();
  Changed();
  return icon;
}

void TIcon::SetWidth(int) { throw EInvalidGraphic("Cannot change the size of an icon"); }
void TIcon::SetHeight(int) { throw EInvalidGraphic("Cannot change the size of an icon"); }

void TIcon::LoadFromResourceName(HINSTANCE module, std::string_view name, int size) {
  std::wstring wide = Widen(name);
  auto icon = static_cast<HICON>(LoadImageW(module, wide.c_str(), IMAGE_ICON, size, size, size ? 0 : LR_DEFAULTSIZE));
  if (!icon) throw EResNotFound(Format("Resource %.*s not found", static_cast<int>(name.size()), name.data()));
  Adopt(icon, {});
}

void TIcon::LoadFromResourceID(HINSTANCE module, int id, int size) {
  auto icon =
      static_cast<HICON>(LoadImageW(module, MAKEINTRESOURCEW(id), IMAGE_ICON, size, size, size ? 0 : LR_DEFAULTSIZE));
  if (!icon) throw EResNotFound(Format("Resource %d not found", id));
  Adopt(icon, {});
}

void TIcon::LoadFromStream(TStream& stream) {
  uint8_t header[kDirHeader];
  if (stream.Read(header, sizeof header) != sizeof header) InvalidIcon();
  const size_t count = U16(header + 4);
  if (U16(header) != 0 || U16(header + 2) != 1 || count == 0) InvalidIcon();
  if (static_cast<uint64_t>(std::max<int64_t>(stream.Size() - stream.Position(), 0)) < count * kDirEntry) InvalidIcon();
  std::vector<uint8_t> file(header, header + kDirHeader);
  file.resize(kDirHeader + count * kDirEntry);
  stream.ReadBuffer(file.data() + kDirHeader, count * kDirEntry);

  // Our bytes end where the last image ends; anything after belongs to others.
  uint64_t end = file.size();
  for (size_t i = 0; i < count; ++i) {
    const uint8_t* entry = file.data() + kDirHeader + i * kDirEntry;
    uint64_t size = U32(entry + 8), offset = U32(entry + 12);
    if (size == 0 || offset < file.size()) InvalidIcon();
    end = std::max(end, offset + size);
  }
  const uint64_t extra = end - file.size();
  if (extra > static_cast<uint64_t>(std::max<int64_t>(stream.Size() - stream.Position(), 0))) InvalidIcon();
  std::vector<uint8_t> images(static_cast<size_t>(extra));
  stream.ReadBuffer(images.data(), images.size());
  file.insert(file.end(), images.begin(), images.end());

  // The image nearest the system's icon size, the deepest of those.
  const int wanted = GetSystemMetrics(SM_CXICON);
  size_t best = 0;
  for (size_t i = 1; i < count; ++i) {
    const uint8_t* a = file.data() + kDirHeader + i * kDirEntry;
    const uint8_t* b = file.data() + kDirHeader + best * kDirEntry;
    int da = std::abs((a[0] ? a[0] : 256) - wanted), db = std::abs((b[0] ? b[0] : 256) - wanted);
    if (da < db || (da == db && U16(a + 6) > U16(b + 6))) best = i;
  }
  const uint8_t* entry = file.data() + kDirHeader + best * kDirEntry;
  int width = entry[0] ? entry[0] : 256, height = entry[1] ? entry[1] : 256;
  HICON icon = CreateIconFromResourceEx(file.data() + U32(entry + 12), U32(entry + 8), TRUE, 0x00030000, width, height,
                                        LR_DEFAULTCOLOR);
  if (!icon) InvalidIcon();
  Adopt(icon, std::move(file));
}

void TIcon::SaveToStream(TStream& stream) const {
  if (!handle_) return;
  if (!data_.empty()) {
    stream.WriteBuffer(data_.data(), data_.size());
    return;
  }
  std::vector<uint8_t> bytes = EncodeIcon(handle_.Get());
  stream.WriteBuffer(bytes.data(), bytes.size());
}

void TIcon::Draw(TCanvas& canvas, const TRect& rect) const {
  if (!handle_) return;
  DrawIconEx(canvas.Handle(), rect.left, rect.top, handle_.Get(), rect.Width(), rect.Height(), 0, nullptr, DI_NORMAL);
}

void TIcon::Assign(const TPersistent* source) {
  if (!source) {
    Adopt(nullptr, {});
    return;
  }
  if (source == this) return;
  if (auto icon = dynamic_cast<const TIcon*>(source)) {
    HICON copy = icon->handle_ ? CopyIcon(icon->handle_.Get()) : nullptr;
    if (icon->handle_ && !copy) OutOfResources();
    Adopt(copy, icon->data_);
    return;
  }
  TGraphic::Assign(source);
}

}  // namespace hv
