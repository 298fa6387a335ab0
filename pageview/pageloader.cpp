#include "pageview/pageloader.h"

#include <algorithm>
#include <chrono>
#include <climits>
#include <condition_variable>
#include <mutex>
#include <optional>
#include <thread>

#include "framework/winstring.h"
#include "pageview/htmllink.h"
#include "pageview/pagefonts.h"
#include "pageview/pageimages.h"

namespace hv {

namespace {

// How long a view going away waits for its worker to stop.
constexpr auto kStopWait = std::chrono::milliseconds(500);

// The code pages the portable decoder has no tables for, decoded into
// buffers that go back to the system; empty for the other charsets.
BigString DecodeWithCodePage(std::string_view bytes, html::Charset charset) {
  UINT codePage;
  switch (charset) {
    case html::Charset::Gbk:
      codePage = 936;
      break;
    case html::Charset::Windows1252:
      codePage = 1252;
      break;
    case html::Charset::Ansi:
      codePage = CP_ACP;
      break;
    default:
      return {};
  }
  if (bytes.empty() || bytes.size() > INT_MAX) return {};
  int count = MultiByteToWideChar(codePage, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
  if (count <= 0) return {};
  BigWString wide(static_cast<size_t>(count), L'\0');
  MultiByteToWideChar(codePage, 0, bytes.data(), static_cast<int>(bytes.size()), wide.data(), count);
  const int size = WideCharToMultiByte(CP_UTF8, 0, wide.data(), count, nullptr, 0, nullptr, nullptr);
  if (size <= 0) return {};
  BigString text(static_cast<size_t>(size), '\0');
  WideCharToMultiByte(CP_UTF8, 0, wide.data(), count, text.data(), size, nullptr, nullptr);
  return text;
}

// Reads from the start of the file into `out`, up to `count` bytes.
template <typename String>
bool ReadFromStart(HANDLE file, size_t count, String& out) {
  LARGE_INTEGER zero{};
  LARGE_INTEGER size{};
  if (!SetFilePointerEx(file, zero, nullptr, FILE_BEGIN) || !GetFileSizeEx(file, &size) || size.QuadPart < 0)
    return false;
  count = static_cast<size_t>(std::min<long long>({static_cast<long long>(count), size.QuadPart, kMaxPageBytes}));
  String bytes(count, '\0');
  size_t done = 0;
  while (done < bytes.size()) {
    DWORD chunk = static_cast<DWORD>(std::min<size_t>(bytes.size() - done, 1u << 20));
    DWORD got = 0;
    if (!ReadFile(file, bytes.data() + done, chunk, &got, nullptr)) return false;
    if (got == 0) break;  // the file shrank while we read it
    done += got;
  }
  bytes.resize(done);
  out = std::move(bytes);
  return true;
}

}  // namespace

PageFile OpenPageFile(const std::wstring& path, long long& size) {
  size = 0;
  if (path.empty()) return nullptr;
  HANDLE raw = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                           OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (raw == INVALID_HANDLE_VALUE) return nullptr;
  PageFile file(raw);
  LARGE_INTEGER bytes{};
  if (!GetFileSizeEx(raw, &bytes) || bytes.QuadPart < 0 || bytes.QuadPart > kMaxPageBytes) return nullptr;
  size = bytes.QuadPart;
  return file;
}

bool ReadPageBytes(HANDLE file, size_t count, BigString& out) { return ReadFromStart(file, count, out); }

bool ReadWholePage(const std::wstring& path, std::string& out) {
  long long size = 0;
  PageFile file = OpenPageFile(path, size);
  return file && ReadFromStart(file.get(), static_cast<size_t>(size), out);
}

html::Document ParsePage(std::string_view bytes, const std::wstring& path) {
  const std::string page = Narrow(path);
  html::SheetLoader sheets = [&page](std::string_view href) -> std::optional<std::string> {
    std::optional<std::string> file = html::ResolveLocalLink(page, href);
    std::string text;
    if (!file || !ReadWholePage(Widen(*file), text)) return std::nullopt;
    if (text.starts_with("\xEF\xBB\xBF")) text.erase(0, 3);
    return text;
  };
  // Most pages are ASCII or sound UTF-8 and are parsed where they lie; the
  // others are decoded once, the way html::DecodePage would.
  const html::CharsetInfo info = html::DetectCharset(bytes);
  const std::string_view body = bytes.substr(info.bomLength);
  html::Document document;
  if (html::DecodesUnchanged(body, info.charset)) {
    document = html::ParseHtml(body, sheets);
  } else if (BigString text = DecodeWithCodePage(body, info.charset); !text.empty()) {
    document = html::ParseHtml(text, sheets);
  } else {
    document = html::ParseHtml(html::DecodeToUtf8(body, info.charset), sheets);
  }
  document.charset = info.charset;
  return document;
}

struct TPageLoader::Request {
  uint64_t ticket = 0;
  PageFile file;  // Load: the page to read; else the document is given
  std::wstring path;
  std::shared_ptr<const html::Document> document;
  std::shared_ptr<TPageImages> images;
  html::LayoutOptions options;
};

struct TPageLoader::Shared {
  HWND notify = nullptr;
  UINT message = 0;
  std::mutex mutex;
  std::condition_variable wake;
  std::condition_variable ended;
  std::unique_ptr<Request> pending;
  std::unique_ptr<TLaidOutPage> done;
  std::atomic<uint64_t> latest{0};  // the ticket of the request still wanted
  uint64_t settled = 0;             // the latest ticket whose result is taken or given up
  bool stop = false;
  bool finished = false;
};

TPageLoader::TPageLoader(HWND notify, UINT message) : shared_(std::make_shared<Shared>()) {
  shared_->notify = notify;
  shared_->message = message;
}

TPageLoader::~TPageLoader() {
  std::unique_ptr<Request> pending;
  std::unique_ptr<TLaidOutPage> done;
  std::unique_lock<std::mutex> lock(shared_->mutex);
  shared_->stop = true;
  shared_->latest.fetch_add(1);
  pending = std::move(shared_->pending);
  done = std::move(shared_->done);
  shared_->wake.notify_all();
  if (started_) shared_->ended.wait_for(lock, kStopWait, [this] { return shared_->finished; });
}

uint64_t TPageLoader::Load(PageFile file, const std::wstring& path, std::shared_ptr<TPageImages> images,
                           const html::LayoutOptions& options) {
  auto request = std::make_unique<Request>();
  request->file = std::move(file);
  request->path = path;
  request->images = std::move(images);
  request->options = options;
  return Ask(std::move(request));
}

uint64_t TPageLoader::Relayout(std::shared_ptr<const html::Document> document, std::shared_ptr<TPageImages> images,
                               const html::LayoutOptions& options) {
  auto request = std::make_unique<Request>();
  request->document = std::move(document);
  request->images = std::move(images);
  request->options = options;
  return Ask(std::move(request));
}

uint64_t TPageLoader::Ask(std::unique_ptr<Request> request) {
  std::unique_ptr<Request> replaced;
  std::unique_ptr<TLaidOutPage> stale;
  uint64_t ticket;
  {
    std::lock_guard<std::mutex> lock(shared_->mutex);
    ticket = shared_->latest.fetch_add(1) + 1;
    request->ticket = ticket;
    replaced = std::move(shared_->pending);
    stale = std::move(shared_->done);
    shared_->pending = std::move(request);
  }
  if (!started_) {
    std::thread(Work, shared_).detach();
    started_ = true;
  }
  shared_->wake.notify_all();
  return ticket;  // what was replaced goes here, outside the lock
}

void TPageLoader::Cancel() {
  std::unique_ptr<Request> replaced;
  std::unique_ptr<TLaidOutPage> stale;
  std::lock_guard<std::mutex> lock(shared_->mutex);
  shared_->settled = shared_->latest.fetch_add(1) + 1;
  replaced = std::move(shared_->pending);
  stale = std::move(shared_->done);
}

bool TPageLoader::Busy() const {
  std::lock_guard<std::mutex> lock(shared_->mutex);
  return shared_->latest.load() != shared_->settled;
}

std::unique_ptr<TLaidOutPage> TPageLoader::Take() {
  std::lock_guard<std::mutex> lock(shared_->mutex);
  if (!shared_->done || shared_->done->ticket != shared_->latest.load()) return nullptr;
  shared_->settled = shared_->done->ticket;
  return std::move(shared_->done);
}

void TPageLoader::Work(std::shared_ptr<Shared> shared) {
  {
    // The worker decodes images for their sizes.
    TImagingScope com;
    std::optional<TPageFonts> fonts;
    for (;;) {
      std::unique_ptr<Request> request;
      {
        std::unique_lock<std::mutex> lock(shared->mutex);
        shared->wake.wait(lock, [&] { return shared->stop || shared->pending; });
        if (shared->stop) break;
        request = std::move(shared->pending);
      }
      auto wanted = [&] { return shared->latest.load() == request->ticket; };
      std::unique_ptr<TLaidOutPage> result;
      try {
        result = std::make_unique<TLaidOutPage>();
        result->ticket = request->ticket;
        result->options = request->options;
        if (!fonts) fonts.emplace();
        if (request->file) {
          BigString bytes;
          if (!ReadPageBytes(request->file.get(), static_cast<size_t>(kMaxPageBytes), bytes)) {
            result->failed = true;
          } else {
            request->file.reset();
            if (!wanted()) continue;
            result->document = std::make_shared<const html::Document>(ParsePage(bytes, request->path));
          }
        } else {
          result->document = request->document;
        }
        if (result->document) {
          if (!wanted()) continue;
          fonts->SetZoom(request->options.zoom);
          fonts->Trim();
          TPageMeasurer measurer(*fonts, request->images.get());
          measurer.AbandonWhenStale(&shared->latest, request->ticket);
          result->layout = html::LayoutDocument(*result->document, measurer, request->options);
        }
      } catch (const TLayoutAbandoned&) {
        continue;
      } catch (...) {
        // Out of memory or resources: the page shown stays as it is.
        if (!result) continue;
        result->failed = true;
        result->document.reset();
      }
      std::lock_guard<std::mutex> lock(shared->mutex);
      if (!shared->stop && wanted()) {
        shared->done = std::move(result);
        PostMessageW(shared->notify, shared->message, 0, 0);
      }
    }
  }
  std::lock_guard<std::mutex> lock(shared->mutex);
  shared->finished = true;
  shared->ended.notify_all();
}

}  // namespace hv
