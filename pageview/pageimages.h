#pragma once
// The images of the page shown: decoded through the platform's imaging
// component (PNG, GIF's first frame, JPEG, BMP, ICO) into 32-bit bitmaps
// with premultiplied alpha, once per source, and released with the page.

#include <windows.h>

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "framework/types.h"

namespace hv {

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
  // Releases every decoded image.
  void Clear();

  // The natural size of the image; empty when it cannot be read.
  TSize Size(std::string_view src);
  // Draws the image stretched to `dest`, blending its alpha over what is
  // there; nothing when it cannot be read.
  void Draw(HDC dc, std::string_view src, const RECT& dest);

  int Count() const { return static_cast<int>(entries_.size()); }
  // The bytes of pixels held, for bounding memory.
  long long PixelBytes() const;

 private:
  struct Entry;
  const Entry& Find(std::string_view src);

  std::string pagePath_;
  std::vector<std::unique_ptr<Entry>> entries_;
  bool comStarted_ = false;
};

}  // namespace hv
