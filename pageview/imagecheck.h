#pragma once
// What an image file of a page is, judged from its bytes before any decoder
// sees them. Pages show PNG, GIF, JPEG, BMP and ICO; a file of another kind,
// a BMP or ICO whose headers claim more than the file holds, or a GIF whose
// first picture has no colour table, is not an image a page can show
// (decoders of some systems write past their buffers or read through a null
// palette on such files). Portable.

#include <string_view>

namespace hv::html {

enum class PageImageFormat { None, Png, Gif, Jpeg, Bmp, Ico };

// The format the file is in, or None when it is none of the five, or when
// its headers cannot be trusted.
PageImageFormat CheckPageImage(std::string_view file);

}  // namespace hv::html
