#pragma once
// Reading and laying out pages away from the window: one worker thread per
// page view, started on first use, which reads, decodes, parses and lays out
// a page (or lays a page out anew at another width or zoom) while the window
// goes on answering. A newer request makes the older one come to nothing as
// soon as the work reaches a point where it can stop. The worker measures
// with fonts and a memory DC of its own; what it hands back holds no DC and
// no font, only the page's images, which the page's views share.

#include <windows.h>

#include <atomic>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <type_traits>

#include "pageview/bigblock.h"
#include "pageview/htmldocument.h"
#include "pageview/htmllayout.h"

namespace hv {

class TPageImages;

// A page bigger than this is no help page; reading it would only take
// memory and time.
constexpr long long kMaxPageBytes = 32LL << 20;

struct PageFileCloser {
  void operator()(HANDLE file) const { CloseHandle(file); }
};
using PageFile = std::unique_ptr<std::remove_pointer_t<HANDLE>, PageFileCloser>;

// Opens a page for reading and gives its size; null when it is missing, a
// folder, unreadable or bigger than kMaxPageBytes.
PageFile OpenPageFile(const std::wstring& path, long long& size);
// Reads up to `count` bytes from the start of the file; false when reading
// fails. A file that shrank meanwhile gives what it still has.
bool ReadPageBytes(HANDLE file, size_t count, BigString& out);
bool ReadWholePage(const std::wstring& path, std::string& out);

// Decodes and parses a page's bytes; its style sheets are local files beside
// it, read as they are met (nothing is fetched from the web).
html::Document ParsePage(std::string_view bytes, const std::wstring& path);

// What the worker hands back.
struct TLaidOutPage {
  uint64_t ticket = 0;
  bool failed = false;  // the file could not be read, or memory ran out: the page shown stays
  std::shared_ptr<const html::Document> document;
  html::PageLayout layout;
  html::LayoutOptions options;
};

class TPageLoader {
 public:
  // Each result is announced by posting `message` to `notify`; Take() then
  // gives it.
  TPageLoader(HWND notify, UINT message);
  // Whatever is under way comes to nothing. The worker is waited for a
  // moment; one busy past that (parsing a huge page) finishes on its own,
  // owning all it uses, and frees it.
  ~TPageLoader();
  TPageLoader(const TPageLoader&) = delete;
  TPageLoader& operator=(const TPageLoader&) = delete;

  // Reads the whole of an open page and lays it out; the file is the
  // worker's from here. Gives the request's ticket.
  uint64_t Load(PageFile file, const std::wstring& path, std::shared_ptr<TPageImages> images,
                const html::LayoutOptions& options);
  // Lays a page out anew.
  uint64_t Relayout(std::shared_ptr<const html::Document> document, std::shared_ptr<TPageImages> images,
                    const html::LayoutOptions& options);
  // Nothing asked for so far is wanted any more.
  void Cancel();
  // A request is asked for and its result not yet taken.
  bool Busy() const;
  // The result of the latest request, once it is there; null otherwise (and
  // for the results of requests given up since).
  std::unique_ptr<TLaidOutPage> Take();

 private:
  struct Shared;
  struct Request;
  static void Work(std::shared_ptr<Shared> shared);
  uint64_t Ask(std::unique_ptr<Request> request);

  std::shared_ptr<Shared> shared_;
  bool started_ = false;
};

}  // namespace hv
