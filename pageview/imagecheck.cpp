#include "pageview/imagecheck.h"

#include <cstdint>

namespace hv::html {

namespace {

uint32_t Le16(std::string_view s, size_t at) {
  return static_cast<uint8_t>(s[at]) | static_cast<uint32_t>(static_cast<uint8_t>(s[at + 1])) << 8;
}
uint32_t Le32(std::string_view s, size_t at) { return Le16(s, at) | Le16(s, at + 2) << 16; }
uint32_t Be32(std::string_view s, size_t at) {
  uint32_t v = 0;
  for (size_t i = 0; i < 4; ++i) v = v << 8 | static_cast<uint8_t>(s[at + i]);
  return v;
}
int32_t Signed32(std::string_view s, size_t at) { return static_cast<int32_t>(Le32(s, at)); }

bool StartsWith(std::string_view s, std::string_view magic) { return s.substr(0, magic.size()) == magic; }

// Bytes of one row of `bits`-per-pixel pixels, padded to 32 bits.
uint64_t RowBytes(uint64_t width, uint32_t bits) { return (width * bits + 31) / 32 * 4; }

constexpr int64_t kMaxSide = 1 << 16;

// A Windows bitmap's info header at `at`, with `room` bytes from there on
// for header, colour table and pixels (and, in an icon, the mask after
// them). `icon`: the height counts the colour rows and the mask rows.
bool BitmapFits(std::string_view s, size_t at, uint64_t room, bool icon) {
  if (room < 40 || at + 40 > s.size()) return false;
  const uint32_t size = Le32(s, at);
  if (size != 40 && size != 52 && size != 56 && size != 108 && size != 124) return false;
  if (room < size) return false;
  const int64_t width = Signed32(s, at + 4);
  int64_t height = Signed32(s, at + 8);
  const uint32_t planes = Le16(s, at + 12), bits = Le16(s, at + 14), compression = Le32(s, at + 16);
  uint32_t colours = Le32(s, at + 32);
  if (planes != 1 || width <= 0 || width > kMaxSide || height == 0) return false;
  if (height < 0) {
    if (icon) return false;
    height = -height;
  }
  if (height > kMaxSide * (icon ? 2 : 1)) return false;
  if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32) return false;
  const bool rle = compression == 1 || compression == 2;
  if (compression > 3 || (rle && (icon || bits != (compression == 1 ? 8u : 4u))) || (compression == 3 && bits < 16))
    return false;
  if (bits > 8 && colours > 256) return false;
  if (bits <= 8) {
    if (colours == 0) colours = 1u << bits;
    if (colours > (1u << bits)) return false;
  }
  const uint64_t masks = compression == 3 && size == 40 ? 12 : 0;
  const uint64_t table = static_cast<uint64_t>(colours) * 4;
  uint64_t rows = static_cast<uint64_t>(height), maskRows = 0;
  if (icon) {
    rows = static_cast<uint64_t>(height) / 2;
    maskRows = rows;
    if (rows == 0) return false;
  }
  const uint64_t pixels = rle ? 0 : RowBytes(static_cast<uint64_t>(width), bits) * rows;
  const uint64_t mask = RowBytes(static_cast<uint64_t>(width), 1) * maskRows;
  return size + masks + table + pixels + mask <= room;
}

bool BmpFits(std::string_view s) {
  if (s.size() < 14 + 40) return false;
  const uint64_t offset = Le32(s, 10);
  if (!BitmapFits(s, 14, s.size() - 14, false)) return false;
  // The pixels start where the file header says and must be there in full.
  const uint32_t size = Le32(s, 14), bits = Le16(s, 28), compression = Le32(s, 30);
  const int64_t height = Signed32(s, 22);
  const uint64_t rows = static_cast<uint64_t>(height < 0 ? -height : height);
  const uint64_t pixels =
      compression == 1 || compression == 2 ? 1 : RowBytes(static_cast<uint64_t>(Signed32(s, 18)), bits) * rows;
  return offset >= 14 + size && offset <= s.size() && pixels <= s.size() - offset;
}

bool IcoFits(std::string_view s) {
  if (s.size() < 6) return false;
  const uint32_t count = Le16(s, 4);
  if (count == 0 || 6 + 16ull * count > s.size()) return false;
  for (uint32_t i = 0; i < count; ++i) {
    const size_t entry = 6 + 16 * static_cast<size_t>(i);
    const uint64_t bytes = Le32(s, entry + 8), offset = Le32(s, entry + 12);
    if (offset < 6 + 16ull * count || offset > s.size() || bytes > s.size() - offset) return false;
    const std::string_view image = s.substr(static_cast<size_t>(offset), static_cast<size_t>(bytes));
    // The icon's own size, 0 for 256 (or more, in a PNG), is the picture's:
    // decoders size their buffers by the one and fill them by the other.
    const uint32_t width = static_cast<uint8_t>(s[entry]) ? static_cast<uint8_t>(s[entry]) : 256;
    const uint32_t height = static_cast<uint8_t>(s[entry + 1]) ? static_cast<uint8_t>(s[entry + 1]) : 256;
    if (StartsWith(image, "\x89PNG\r\n\x1A\n")) {
      if (image.size() < 24) return false;
      const uint32_t pngWidth = Be32(image, 16), pngHeight = Be32(image, 20);
      if (width == 256 ? pngWidth < 256 || pngWidth > kMaxSide : pngWidth != width) return false;
      if (height == 256 ? pngHeight < 256 || pngHeight > kMaxSide : pngHeight != height) return false;
      continue;
    }
    if (!BitmapFits(s, static_cast<size_t>(offset), bytes, true)) return false;
    if (Le32(s, offset + 4) != width || Le32(s, offset + 8) != 2 * height) return false;
  }
  return true;
}

// Whether the first picture of a GIF has colours to draw with: a table of
// the whole file's or one of its own. Decoders read a missing table as if
// it were there.
bool GifHasColours(std::string_view s) {
  if (s.size() < 13) return false;
  const uint8_t screen = static_cast<uint8_t>(s[10]);
  const bool global = screen & 0x80;
  size_t at = 13 + (global ? 3 * (size_t{2} << (screen & 7)) : 0);
  while (at < s.size()) {
    const uint8_t kind = static_cast<uint8_t>(s[at]);
    if (kind == 0x2C) {  // the first picture
      if (at + 10 > s.size()) return false;
      return global || (static_cast<uint8_t>(s[at + 9]) & 0x80);
    }
    if (kind != 0x21 || at + 2 > s.size()) return false;
    at += 2;  // an extension: its label, then sub-blocks up to an empty one
    while (at < s.size() && s[at] != 0) at += 1 + static_cast<uint8_t>(s[at]);
    ++at;
  }
  return false;
}

}  // namespace

PageImageFormat CheckPageImage(std::string_view s) {
  if (StartsWith(s, "\x89PNG\r\n\x1A\n")) return PageImageFormat::Png;
  if (StartsWith(s, "GIF87a") || StartsWith(s, "GIF89a"))
    return GifHasColours(s) ? PageImageFormat::Gif : PageImageFormat::None;
  if (StartsWith(s, "\xFF\xD8\xFF")) return PageImageFormat::Jpeg;
  if (StartsWith(s, "BM")) return BmpFits(s) ? PageImageFormat::Bmp : PageImageFormat::None;
  if (StartsWith(s, std::string_view("\0\0\1\0", 4))) return IcoFits(s) ? PageImageFormat::Ico : PageImageFormat::None;
  return PageImageFormat::None;
}

}  // namespace hv::html
