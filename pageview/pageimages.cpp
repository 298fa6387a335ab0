#include "pageview/pageimages.h"

#include <wincodec.h>

#include <algorithm>
#include <optional>
#include <type_traits>

#include "framework/lazymodule.h"
#include "framework/winstring.h"
#include "pageview/htmllink.h"
#include "pageview/imagecheck.h"

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

// The whole file, or nothing when it cannot be read.
std::optional<std::string> ReadWhole(const std::wstring& path, long long bytes) {
  HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return std::nullopt;
  std::string data(static_cast<size_t>(bytes), '\0');
  DWORD got = 0;
  const bool read = ReadFile(file, data.data(), static_cast<DWORD>(data.size()), &got, nullptr) != 0;
  CloseHandle(file);
  if (!read) return std::nullopt;
  data.resize(got);
  return data;
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
  if (bytes <= 0 || bytes > kMaxFileBytes) return entry;
  // The format is the content's, never the name's; the imaging component
  // would try every decoder it has, and some (TIFF among them) spend
  // seconds on a damaged file of a few hundred bytes, while others write
  // past their buffers on a bitmap or icon whose headers lie.
  std::optional<std::string> data = ReadWhole(path, bytes);
  if (!data || html::CheckPageImage(*data) == html::PageImageFormat::None) return entry;

  ComPtr<IWICImagingFactory> factory;
  if (FAILED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                              reinterpret_cast<void**>(factory.Put()))))
    return entry;
  ComPtr<IWICStream> stream;
  if (FAILED(factory->CreateStream(stream.Put())) ||
      FAILED(stream->InitializeFromMemory(reinterpret_cast<BYTE*>(data->data()), static_cast<DWORD>(data->size()))))
    return entry;
  ComPtr<IWICBitmapDecoder> decoder;
  if (FAILED(factory->CreateDecoderFromStream(stream.Get(), nullptr, WICDecodeMetadataCacheOnDemand, decoder.Put())))
    return entry;
  ComPtr<IWICBitmapFrameDecode> frame;
  if (FAILED(decoder->GetFrame(0, frame.Put()))) return entry;
  UINT width = 0, height = 0;
  if (FAILED(frame->GetSize(&width, &height)) || width == 0 || height == 0) return entry;
  if (static_cast<long long>(width) * height > kMaxPixels) return entry;
  ComPtr<IWICBitmapSource> converted;
  // The imaging library is loaded with the first picture, not at start; a
  // system without it shows alt texts.
  using TConvert = HRESULT(WINAPI*)(REFWICPixelFormatGUID, IWICBitmapSource*, IWICBitmapSource**);
  static const auto convert = WindowsCodecsModule().TryEntry<TConvert>("WICConvertBitmapSource");
  if (!convert || FAILED(convert(GUID_WICPixelFormat32bppPBGRA, frame.Get(), converted.Put()))) return entry;

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
