#include "tools/pagecompare/pagerender.h"

#include <windows.h>
#include <wincodec.h>

#include <algorithm>
#include <memory>

#include "framework/gdi.h"
#include "framework/sysutils.h"
#include "framework/winstring.h"
#include "pageview/htmlview.h"

namespace hv::pagecompare {

namespace {

// A page view taller than any page we keep: the page then never needs a
// vertical scroll bar, and is laid out at the full width asked for.
constexpr int kViewHeight = 30000;

template <typename T>
class ComRef {
 public:
  ComRef() = default;
  ~ComRef() {
    if (p_) p_->Release();
  }
  ComRef(const ComRef&) = delete;
  ComRef& operator=(const ComRef&) = delete;
  T* operator->() const { return p_; }
  T* Get() const { return p_; }
  T** Put() { return &p_; }

 private:
  T* p_ = nullptr;
};

class ComScope {
 public:
  ComScope() : started_(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {}
  ~ComScope() {
    if (started_) CoUninitialize();
  }
  ComScope(const ComScope&) = delete;
  ComScope& operator=(const ComScope&) = delete;

 private:
  bool started_;
};

// The page view wants a parent; this one is never shown.
class HostWindow {
 public:
  HostWindow() {
    static constexpr wchar_t kClass[] = L"PageRenderHost";
    WNDCLASSW wc{};
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = kClass;
    if (!RegisterClassW(&wc) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS)
      throw EOSError("Cannot register the renderer's window class");
    hwnd_ = CreateWindowExW(0, kClass, L"PageRender", WS_POPUP, 0, 0, 100, 100, nullptr, nullptr, wc.hInstance,
                            nullptr);
    if (!hwnd_) throw EOSError(Format("Cannot create the renderer's window (error %lu)", GetLastError()));
  }
  ~HostWindow() { DestroyWindow(hwnd_); }
  HostWindow(const HostWindow&) = delete;
  HostWindow& operator=(const HostWindow&) = delete;
  HWND Get() const { return hwnd_; }

 private:
  HWND hwnd_ = nullptr;
};

int ParseNumber(const std::wstring& option, const std::wstring& text, int low, int high) {
  const std::string value = Narrow(text);
  int n = 0;
  try {
    n = StrToInt(value);
  } catch (const EConvertError&) {
    throw EConvertError(Format("%s needs a whole number, not '%s'", Narrow(option).c_str(), value.c_str()));
  }
  if (n < low || n > high)
    throw EConvertError(Format("%s must be from %d to %d, not %d", Narrow(option).c_str(), low, high, n));
  return n;
}

// What the view posted to itself while showing the page is handled before
// the picture is taken, as a window on the screen would have handled it.
void DispatchPending() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

void Check(HRESULT hr, const char* what) {
  if (FAILED(hr)) throw EWriteError(Format("Cannot write the PNG: %s failed (0x%08lx)", what, static_cast<unsigned long>(hr)));
}

}  // namespace

RenderRequest ParseArguments(const std::vector<std::wstring>& args) {
  RenderRequest request;
  std::vector<std::wstring> files;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::wstring& arg = args[i];
    if (arg == L"--width" || arg == L"--max-height") {
      if (i + 1 >= args.size()) throw EConvertError(Format("%s needs a value", Narrow(arg).c_str()));
      if (arg == L"--width")
        request.width = ParseNumber(arg, args[++i], kMinWidth, kMaxWidth);
      else
        request.maxHeight = ParseNumber(arg, args[++i], 1, kMaxMaxHeight);
    } else if (arg.starts_with(L"--")) {
      throw EConvertError(Format("Unknown option %s", Narrow(arg).c_str()));
    } else {
      files.push_back(arg);
    }
  }
  if (files.size() != 2)
    throw EConvertError("Usage: PageRender <page.htm> <output.png> [--width N] [--max-height N]");
  request.page = files[0];
  request.output = files[1];
  return request;
}

PageShot RenderPage(const std::wstring& page, int width, int maxHeight) {
  width = std::clamp(width, kMinWidth, kMaxWidth);
  maxHeight = std::clamp(maxHeight, 1, kMaxMaxHeight);
  HostWindow host;
  THtmlView view;
  std::string failure;
  // A message box would wait for a reader that a batch run does not have.
  view.SetErrorHandler([&failure](const std::string& message) {
    if (failure.empty()) failure = message;
  });
  view.Create(host.Get(), RECT{0, 0, width, kViewHeight});
  if (!view.Navigate(page)) throw EFOpenError(Format("Cannot read the page %s", Narrow(page).c_str()));
  DispatchPending();
  // A long page shows its first part at once and the rest once a worker has
  // read and laid it out: the picture is of the whole page.
  while (view.Loading()) {
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
    DispatchPending();
  }
  if (!failure.empty()) throw Exception(failure);

  RECT client{};
  GetClientRect(view.Handle(), &client);
  PageShot shot;
  shot.pageHeight = view.Layout().height;
  shot.width = width;
  shot.height = std::clamp(shot.pageHeight, 1, maxHeight);

  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = shot.width;
  info.bmiHeader.biHeight = -shot.height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  TMemoryDC dc;
  TBitmapHandle bitmap(CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!dc.Get() || !bitmap || !bits) throw EOutOfResources("Not enough memory for the page's picture");
  TSelectObject keep(dc, bitmap.Get());
  RECT all{0, 0, shot.width, shot.height};
  FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  // A page taller than the view gets a scroll bar and a narrower page; what
  // lies right of the page then stays white.
  RECT area{0, 0, std::min<int>(shot.width, client.right), shot.height};
  view.PaintTo(dc, area);
  GdiFlush();
  if (!failure.empty()) throw Exception(failure);
  const auto* first = static_cast<const uint32_t*>(bits);
  shot.pixels.assign(first, first + static_cast<size_t>(shot.width) * static_cast<size_t>(shot.height));
  for (uint32_t& p : shot.pixels) p &= 0xFFFFFF;
  return shot;
}

void SavePng(const PageShot& shot, const std::wstring& file) {
  if (shot.width <= 0 || shot.height <= 0 ||
      shot.pixels.size() != static_cast<size_t>(shot.width) * static_cast<size_t>(shot.height))
    throw EWriteError("Cannot write the PNG: the picture is empty");
  ComScope com;
  ComRef<IWICImagingFactory> factory;
  Check(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                         reinterpret_cast<void**>(factory.Put())),
        "starting the imaging component");
  const std::wstring partial = file + L".part";
  {
    ComRef<IWICStream> stream;
    Check(factory->CreateStream(stream.Put()), "making a stream");
    Check(stream->InitializeFromFilename(partial.c_str(), GENERIC_WRITE), "creating the file");
    ComRef<IWICBitmapEncoder> encoder;
    Check(factory->CreateEncoder(GUID_ContainerFormatPng, nullptr, encoder.Put()), "making the PNG encoder");
    Check(encoder->Initialize(stream.Get(), WICBitmapEncoderNoCache), "starting the encoder");
    ComRef<IWICBitmapFrameEncode> frame;
    Check(encoder->CreateNewFrame(frame.Put(), nullptr), "making the frame");
    Check(frame->Initialize(nullptr), "starting the frame");
    Check(frame->SetSize(static_cast<UINT>(shot.width), static_cast<UINT>(shot.height)), "sizing the frame");
    WICPixelFormatGUID format = GUID_WICPixelFormat24bppBGR;
    Check(frame->SetPixelFormat(&format), "choosing the pixel format");
    if (format != GUID_WICPixelFormat24bppBGR) throw EWriteError("Cannot write the PNG: no 24-bit pixel format");
    const UINT stride = static_cast<UINT>(shot.width) * 3;
    std::vector<BYTE> row(stride);
    for (int y = 0; y < shot.height; ++y) {
      const uint32_t* source = &shot.pixels[static_cast<size_t>(y) * static_cast<size_t>(shot.width)];
      for (int x = 0; x < shot.width; ++x) {
        row[static_cast<size_t>(x) * 3] = static_cast<BYTE>(source[x]);
        row[static_cast<size_t>(x) * 3 + 1] = static_cast<BYTE>(source[x] >> 8);
        row[static_cast<size_t>(x) * 3 + 2] = static_cast<BYTE>(source[x] >> 16);
      }
      Check(frame->WritePixels(1, stride, stride, row.data()), "writing the pixels");
    }
    Check(frame->Commit(), "finishing the frame");
    Check(encoder->Commit(), "finishing the file");
  }
  if (!MoveFileExW(partial.c_str(), file.c_str(), MOVEFILE_REPLACE_EXISTING)) {
    DeleteFileW(partial.c_str());
    throw EWriteError(Format("Cannot write the PNG %s (error %lu)", Narrow(file).c_str(), GetLastError()));
  }
}

}  // namespace hv::pagecompare
