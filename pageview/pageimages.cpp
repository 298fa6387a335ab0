#include "pageview/pageimages.h"

#include <wincodec.h>

#include <algorithm>
#include <initializer_list>
#include <optional>
#include <type_traits>

#include "framework/winstring.h"
#include "pageview/htmllink.h"

namespace hv {

namespace {

// Releases a COM interface when it goes out of scope.
template <typename T>
class ComPtr {
 public:
  ComPtr() = default;
  ~ComPtr() { Reset(); }
  ComPtr(const ComPtr&) = delete;
  ComPtr& operator=(const ComPtr&) = delete;
  T* operator->() const { return p_; }
  T* Get() const { return p_; }
  T** Put() {
    Reset();
    return &p_;
  }
  void Reset() {
    if (p_) p_->Release();
    p_ = nullptr;
  }

 private:
  T* p_ = nullptr;
};

struct BitmapDeleter {
  void operator()(HBITMAP bitmap) const { DeleteObject(bitmap); }
};
using BitmapHandle = std::unique_ptr<std::remove_pointer_t<HBITMAP>, BitmapDeleter>;

struct DcDeleter {
  void operator()(HDC dc) const { DeleteDC(dc); }
};
using MemoryDc = std::unique_ptr<std::remove_pointer_t<HDC>, DcDeleter>;

long long FileBytes(const std::wstring& path) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)) return -1;
  if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) return -1;
  return static_cast<long long>(data.nFileSizeHigh) << 32 | data.nFileSizeLow;
}

// Whether the file starts as a PNG, GIF, JPEG, BMP or ICO file does. The
// imaging component would try every decoder it has, and some of the others
// (TIFF among them) spend seconds on a damaged file of a few hundred bytes.
bool IsPageImageFormat(const std::wstring& path) {
  HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  unsigned char head[8] = {};
  DWORD got = 0;
  const bool read = ReadFile(file, head, sizeof head, &got, nullptr) != 0;
  CloseHandle(file);
  if (!read) return false;
  auto starts = [&](std::initializer_list<unsigned char> magic) {
    return got >= magic.size() && std::equal(magic.begin(), magic.end(), head);
  };
  return starts({0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'}) || starts({'G', 'I', 'F', '8'}) ||
         starts({0xFF, 0xD8, 0xFF}) || starts({'B', 'M'}) || starts({0, 0, 1, 0});
}

}  // namespace

struct TPageImages::Entry {
  std::string src;
  BitmapHandle bitmap;  // a top-down 32-bit DIB section, premultiplied; null when unreadable
  int width = 0;
  int height = 0;
};

TImagingScope::TImagingScope() : started_(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {}

TImagingScope::~TImagingScope() {
  if (started_) CoUninitialize();
}

TPageImages::TPageImages() = default;

TPageImages::~TPageImages() = default;

void TPageImages::SetPage(const std::wstring& pagePath) {
  Clear();
  pagePath_ = Narrow(pagePath);
}

void TPageImages::Clear() {
  std::lock_guard<std::mutex> lock(mutex_);
  entries_.clear();
}

int TPageImages::Count() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return static_cast<int>(entries_.size());
}

long long TPageImages::PixelBytes() const {
  std::lock_guard<std::mutex> lock(mutex_);
  long long bytes = 0;
  for (const auto& e : entries_)
    if (e->bitmap) bytes += 4LL * e->width * e->height;
  return bytes;
}

TSize TPageImages::Size(std::string_view src) {
  const Entry& entry = Find(src);
  return entry.bitmap ? TSize{entry.width, entry.height} : TSize{};
}

void TPageImages::Draw(HDC dc, std::string_view src, const RECT& dest) {
  const Entry& entry = Find(src);
  if (!entry.bitmap || dest.right <= dest.left || dest.bottom <= dest.top) return;
  MemoryDc source(CreateCompatibleDC(dc));
  if (!source) return;
  HGDIOBJ old = SelectObject(source.get(), entry.bitmap.get());
  BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
  AlphaBlend(dc, dest.left, dest.top, dest.right - dest.left, dest.bottom - dest.top, source.get(), 0, 0, entry.width,
             entry.height, blend);
  SelectObject(source.get(), old);
}

const TPageImages::Entry& TPageImages::Find(std::string_view src) {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    for (const auto& e : entries_)
      if (e->src == src) return *e;
  }
  // Decoding takes long for a big image; the other thread goes on meanwhile.
  std::unique_ptr<Entry> entry = Decode(src);
  std::lock_guard<std::mutex> lock(mutex_);
  for (const auto& e : entries_)
    if (e->src == src) return *e;  // the other thread was first
  entries_.push_back(std::move(entry));
  return *entries_.back();
}

std::unique_ptr<TPageImages::Entry> TPageImages::Decode(std::string_view src) const {
  auto entry = std::make_unique<Entry>();
  entry->src = std::string(src);
  Entry& result = *entry;
  // The imaging component is COM, on whichever thread asks; released before
  // COM is.
  TImagingScope com;

  std::optional<std::string> file = html::ResolveLocalLink(pagePath_, src);
  if (!file) return entry;  // only local files are read; the web is never fetched
  std::wstring path = Widen(*file);
  long long bytes = FileBytes(path);
  if (bytes <= 0 || bytes > kMaxFileBytes || !IsPageImageFormat(path)) return entry;

  ComPtr<IWICImagingFactory> factory;
  if (FAILED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                              reinterpret_cast<void**>(factory.Put()))))
    return entry;
  ComPtr<IWICBitmapDecoder> decoder;
  // The decoder is chosen by the file's content, never by its name.
  if (FAILED(factory->CreateDecoderFromFilename(path.c_str(), nullptr, GENERIC_READ, WICDecodeMetadataCacheOnDemand,
                                                decoder.Put())))
    return entry;
  ComPtr<IWICBitmapFrameDecode> frame;
  if (FAILED(decoder->GetFrame(0, frame.Put()))) return entry;
  UINT width = 0, height = 0;
  if (FAILED(frame->GetSize(&width, &height)) || width == 0 || height == 0) return entry;
  if (static_cast<long long>(width) * height > kMaxPixels) return entry;
  ComPtr<IWICBitmapSource> converted;
  if (FAILED(WICConvertBitmapSource(GUID_WICPixelFormat32bppPBGRA, frame.Get(), converted.Put()))) return entry;

  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = static_cast<LONG>(width);
  info.bmiHeader.biHeight = -static_cast<LONG>(height);
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  BitmapHandle bitmap(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!bitmap || !bits) return entry;
  const UINT stride = width * 4;
  // A truncated or damaged file fails here, and the alt text stands in.
  if (FAILED(converted->CopyPixels(nullptr, stride, stride * height, static_cast<BYTE*>(bits)))) return entry;
  GdiFlush();
  result.bitmap = std::move(bitmap);
  result.width = static_cast<int>(width);
  result.height = static_cast<int>(height);
  return entry;
}

}  // namespace hv
