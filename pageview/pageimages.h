#pragma once
// The images of the page shown: decoded through the platform's imaging
// component (PNG, GIF's first frame, JPEG, BMP, ICO) into 32-bit bitmaps
// with premultiplied alpha, once per source, and released with the page.
// The layout of a page may run on a worker thread while the window draws
// the same page: the images are shared between them, and an image decoded
// for one is there for the other.

#include <windows.h>

#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

#include "framework/types.h"

namespace hv {

// COM for the imaging component on the calling thread, for the life of the
// scope; a thread that has COM already keeps its mode.
class TImagingScope {
 public:
  TImagingScope();
  ~TImagingScope();
  TImagingScope(const TImagingScope&) = delete;
  TImagingScope& operator=(const TImagingScope&) = delete;

 private:
  bool started_;
};

class TPageImages {
 public:
  // No image with more pixels than this is decoded (a page's 30,000 x 30,000
  // picture would need gigabytes); it shows its alt text instead.
  static constexpr long long kMaxPixels = 16LL << 20;
  // Nor any file larger than this.
  static constexpr long long kMaxFileBytes = 64LL << 20;

  TPageImages();
  ~TPageImages();
  TPageImages(const TPageImages&) = delete;
  TPageImages& operator=(const TPageImages&) = delete;

  // The folder-relative sources of a page resolve against the page's path.
  void SetPage(const std::wstring& pagePath);
  // Releases every decoded image; only while no other thread measures or
  // draws.
  void Clear();

  // The natural size of the image; empty when it cannot be read.
  TSize Size(std::string_view src);
  // Draws the image stretched to `dest`, blending its alpha over what is
  // there; nothing when it cannot be read.
  void Draw(HDC dc, std::string_view src, const RECT& dest);

  int Count() const;
  // The bytes of pixels held, for bounding memory.
  long long PixelBytes() const;

 private:
  struct Entry;
  const Entry& Find(std::string_view src);
  std::unique_ptr<Entry> Decode(std::string_view src) const;

  std::string pagePath_;
  mutable std::mutex mutex_;  // guards the list; an entry never changes once in it
  std::vector<std::unique_ptr<Entry>> entries_;
};

}  // namespace hv
