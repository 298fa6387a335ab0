#include "pageview/pagepart.h"

#include "pageview/htmlcharset.h"

namespace hv::html {

std::string_view FirstPart(std::string_view bytes, size_t limit) {
  if (bytes.size() <= limit) return bytes;
  const CharsetInfo info = DetectCharset(bytes.substr(0, limit));
  const size_t start = info.bomLength;
  if (info.charset == Charset::Utf16LE || info.charset == Charset::Utf16BE) {
    // Code units sit at even offsets after the two-byte mark.
    size_t end = start + ((limit - start) & ~size_t{1});
    const bool little = info.charset == Charset::Utf16LE;
    for (size_t at = end; at >= start + 2 + (limit - start) / 2; at -= 2) {
      const char low = little ? bytes[at - 2] : bytes[at - 1];
      const char high = little ? bytes[at - 1] : bytes[at - 2];
      if (low == '<' && high == '\0') return bytes.substr(0, at - 2);
    }
    // Not between the halves of a surrogate pair.
    if (end >= start + 2) {
      const unsigned char high = static_cast<unsigned char>(little ? bytes[end - 1] : bytes[end - 2]);
      if (high >= 0xD8 && high <= 0xDB) end -= 2;
    }
    return bytes.substr(0, end);
  }
  const size_t tag = bytes.substr(0, limit + 1).rfind('<');
  if (tag != std::string_view::npos && tag >= limit / 2 && tag > start) return bytes.substr(0, tag);
  // No tag near: the end must not fall inside a UTF-8 sequence. Other
  // charsets split no better anywhere else.
  size_t end = limit;
  for (int back = 0; back < 3 && end > start && (static_cast<unsigned char>(bytes[end]) & 0xC0) == 0x80; ++back) --end;
  return bytes.substr(0, end);
}

}  // namespace hv::html
