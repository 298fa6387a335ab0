#include "framework/bmpcodec.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <optional>

#include "framework/sysutils.h"

namespace hv {

namespace {

constexpr uint32_t kBiRgb = 0;
constexpr uint32_t kBiRle8 = 1;
constexpr uint32_t kBiRle4 = 2;
constexpr uint32_t kBiBitfields = 3;
constexpr uint32_t kBiAlphaBitfields = 6;
constexpr size_t kFileHeaderSize = 14;
constexpr size_t kInfoHeaderSize = 40;
constexpr size_t kCoreHeaderSize = 12;

[[noreturn]] void Invalid(const char* reason) {
  throw EInvalidGraphic(Format("Bitmap image is not valid: %s", reason));
}

// Little-endian reads that refuse to look past the end.
class TByteReader {
 public:
  explicit TByteReader(std::span<const uint8_t> data) : data_(data) {}
  bool Has(size_t at, size_t count) const { return at <= data_.size() && count <= data_.size() - at; }
  uint8_t U8(size_t at) const {
    if (!Has(at, 1)) Invalid("truncated");
    return data_[at];
  }
  uint16_t U16(size_t at) const {
    if (!Has(at, 2)) Invalid("truncated header");
    return static_cast<uint16_t>(data_[at] | data_[at + 1] << 8);
  }
  uint32_t U32(size_t at) const {
    if (!Has(at, 4)) Invalid("truncated header");
    return static_cast<uint32_t>(data_[at]) | static_cast<uint32_t>(data_[at + 1]) << 8 |
           static_cast<uint32_t>(data_[at + 2]) << 16 | static_cast<uint32_t>(data_[at + 3]) << 24;
  }
  int32_t I32(size_t at) const { return static_cast<int32_t>(U32(at)); }
  size_t Size() const { return data_.size(); }
  const uint8_t* At(size_t at) const { return data_.data() + at; }

 private:
  std::span<const uint8_t> data_;
};

struct THeader {
  int width = 0;
  int height = 0;  // always positive; topDown says which row comes first
  bool topDown = false;
  int bitCount = 0;
  uint32_t compression = kBiRgb;
  uint32_t colorsUsed = 0;
  uint32_t masks[4] = {};  // red, green, blue, alpha
  size_t tableOffset = 0;  // where the colour table starts
  size_t entrySize = 4;    // RGBQUAD, or RGBTRIPLE after a core header
};

THeader ReadHeader(const TByteReader& in) {
  THeader h;
  uint32_t size = in.U32(0);
  if (size == kCoreHeaderSize) {
    h.width = in.U16(4);
    h.height = in.U16(6);
    h.bitCount = in.U16(10);
    h.entrySize = 3;
    h.tableOffset = kCoreHeaderSize;
  } else if (size >= kInfoHeaderSize && size <= 4096) {
    int32_t width = in.I32(4);
    int32_t height = in.I32(8);
    if (width <= 0 || height == 0 || height == INT32_MIN) Invalid("bad size");
    h.width = width;
    h.topDown = height < 0;
    h.height = height < 0 ? -height : height;
    h.bitCount = in.U16(14);
    h.compression = in.U32(16);
    h.colorsUsed = in.U32(32);
    h.tableOffset = size;
    if (h.compression == kBiBitfields || h.compression == kBiAlphaBitfields) {
      // An info header of 40 bytes is followed by the masks; larger headers hold them.
      int count = h.compression == kBiAlphaBitfields ? 4 : 3;
      size_t at = kInfoHeaderSize;
      for (int i = 0; i < count; ++i) h.masks[i] = in.U32(at + 4 * static_cast<size_t>(i));
      if (size >= 56) h.masks[3] = in.U32(52);
      if (size == kInfoHeaderSize) h.tableOffset += 4 * static_cast<size_t>(count);
    }
  } else {
    Invalid("unknown header");
  }
  if (h.width <= 0 || h.height <= 0 || h.width > kMaxDibSide || h.height > kMaxDibSide) Invalid("bad size");
  if (int64_t{h.width} * h.height > kMaxDibPixels) Invalid("image too large");
  if (h.colorsUsed > 65536) Invalid("colour table too large");
  switch (h.compression) {
    case kBiRgb:
      if (h.bitCount != 1 && h.bitCount != 4 && h.bitCount != 8 && h.bitCount != 16 && h.bitCount != 24 &&
          h.bitCount != 32)
        Invalid("unsupported bit count");
      break;
    case kBiRle8:
      if (h.bitCount != 8 || h.topDown) Invalid("bad RLE8 image");
      break;
    case kBiRle4:
      if (h.bitCount != 4 || h.topDown) Invalid("bad RLE4 image");
      break;
    case kBiBitfields:
    case kBiAlphaBitfields:
      if (h.bitCount != 16 && h.bitCount != 32) Invalid("bad bit fields image");
      break;
    default:
      Invalid("unsupported compression");
  }
  return h;
}

// A channel described by a bit mask, scaled to 0..255.
struct TChannel {
  uint32_t mask = 0;
  int shift = 0;
  uint64_t max = 0;
  explicit TChannel(uint32_t m) : mask(m) {
    if (m) {
      shift = std::countr_zero(m);
      max = (uint64_t{1} << std::bit_width(m >> shift)) - 1;
    }
  }
  uint32_t Get(uint32_t pixel) const {
    if (!mask) return 0;
    return static_cast<uint32_t>(((pixel & mask) >> shift) * 255 / max);
  }
};

void DecodeRle(const TByteReader& in, size_t at, const THeader& h, TDibImage& image) {
  const bool rle4 = h.compression == kBiRle4;
  const int stride = image.Stride();
  int x = 0;
  int y = 0;  // counted from the bottom row, as the data runs
  auto put = [&](int value) {
    if (x < h.width && y < h.height) {
      uint8_t* row = image.pixels.data() + static_cast<size_t>(h.height - 1 - y) * static_cast<size_t>(stride);
      if (rle4) {
        uint8_t& byte = row[x / 2];
        byte = (x & 1) ? static_cast<uint8_t>((byte & 0xF0) | (value & 0x0F))
                       : static_cast<uint8_t>((byte & 0x0F) | (value << 4));
      } else {
        row[x] = static_cast<uint8_t>(value);
      }
    }
    if (x < h.width) ++x;
  };
  // Data that ends without the end-of-bitmap code keeps what was decoded.
  while (y < h.height && in.Has(at, 2)) {
    int count = in.U8(at);
    int code = in.U8(at + 1);
    at += 2;
    if (count > 0) {
      for (int i = 0; i < count; ++i) put(rle4 ? ((i & 1) ? code & 0x0F : code >> 4) : code);
    } else if (code == 0) {
      x = 0;
      ++y;
    } else if (code == 1) {
      break;
    } else if (code == 2) {
      x = std::min(x + in.U8(at), h.width);
      y += in.U8(at + 1);
      at += 2;
    } else {
      size_t bytes = rle4 ? (static_cast<size_t>(code) + 1) / 2 : static_cast<size_t>(code);
      if (!in.Has(at, bytes)) Invalid("truncated RLE data");
      for (int i = 0; i < code; ++i) {
        int byte = in.U8(at + (rle4 ? static_cast<size_t>(i / 2) : static_cast<size_t>(i)));
        put(rle4 ? ((i & 1) ? byte & 0x0F : byte >> 4) : byte);
      }
      at += (bytes + 1) & ~size_t{1};
    }
  }
}

void DecodeRows(const TByteReader& in, size_t at, const THeader& h, TDibImage& image) {
  const size_t inStride = static_cast<size_t>(DibStride(h.width, h.bitCount));
  if (!in.Has(at, inStride * static_cast<size_t>(h.height))) Invalid("truncated pixel data");
  const size_t outStride = static_cast<size_t>(image.Stride());
  bool standard32 =
      h.bitCount == 32 &&
      (h.compression == kBiRgb || (h.masks[0] == 0x00FF0000 && h.masks[1] == 0x0000FF00 && h.masks[2] == 0x000000FF));
  uint32_t masks[4] = {h.masks[0], h.masks[1], h.masks[2], h.masks[3]};
  if (h.bitCount == 16 && h.compression == kBiRgb) {
    masks[0] = 0x7C00;
    masks[1] = 0x03E0;
    masks[2] = 0x001F;
    masks[3] = 0;
  }
  const TChannel red(masks[0]), green(masks[1]), blue(masks[2]), alpha(masks[3]);
  for (int row = 0; row < h.height; ++row) {
    const uint8_t* src = in.At(at + static_cast<size_t>(row) * inStride);
    int outRow = h.topDown ? row : h.height - 1 - row;
    uint8_t* dst = image.pixels.data() + static_cast<size_t>(outRow) * outStride;
    if (h.bitCount <= 8 || h.bitCount == 24 || standard32) {
      std::memcpy(dst, src, outStride);
    } else if (h.bitCount == 16) {
      for (int x = 0; x < h.width; ++x) {
        uint32_t p = static_cast<uint32_t>(src[2 * x] | src[2 * x + 1] << 8);
        dst[3 * x] = static_cast<uint8_t>(blue.Get(p));
        dst[3 * x + 1] = static_cast<uint8_t>(green.Get(p));
        dst[3 * x + 2] = static_cast<uint8_t>(red.Get(p));
      }
    } else {
      for (int x = 0; x < h.width; ++x) {
        uint32_t p;
        std::memcpy(&p, src + 4 * x, 4);
        dst[4 * x] = static_cast<uint8_t>(blue.Get(p));
        dst[4 * x + 1] = static_cast<uint8_t>(green.Get(p));
        dst[4 * x + 2] = static_cast<uint8_t>(red.Get(p));
        dst[4 * x + 3] = static_cast<uint8_t>(alpha.Get(p));
      }
    }
  }
}

// pixelOffset: where the file header says the pixels start, relative to the
// DIB; without it they follow the colour table.
TDibImage Decode(std::span<const uint8_t> dib, std::optional<size_t> pixelOffset) {
  TByteReader in(dib);
  THeader h = ReadHeader(in);
  TDibImage image;
  image.width = h.width;
  image.height = h.height;
  image.bitCount = h.bitCount == 16 ? 24 : h.bitCount;

  size_t tableEntries = 0;
  if (h.bitCount <= 8) {
    tableEntries = h.colorsUsed ? h.colorsUsed : size_t{1} << h.bitCount;
    if (h.entrySize == 3) tableEntries = size_t{1} << h.bitCount;
    image.palette.assign(size_t{1} << h.bitCount, 0);
    size_t used = std::min(tableEntries, image.palette.size());
    if (!in.Has(h.tableOffset, used * h.entrySize)) Invalid("truncated colour table");
    for (size_t i = 0; i < used; ++i) {
      const uint8_t* e = in.At(h.tableOffset + i * h.entrySize);
      image.palette[i] =
          static_cast<uint32_t>(e[0]) | static_cast<uint32_t>(e[1]) << 8 | static_cast<uint32_t>(e[2]) << 16;
    }
  } else {
    tableEntries = h.colorsUsed;  // an optimisation palette we do not need
  }
  size_t at = h.tableOffset + tableEntries * h.entrySize;
  // Some writers leave gaps before the pixels; the file header knows. An
  // offset into the headers is a lie, so the computed one wins then.
  if (pixelOffset && *pixelOffset >= at) at = *pixelOffset;
  if (at > dib.size()) Invalid("truncated pixel data");

  image.pixels.assign(static_cast<size_t>(image.Stride()) * static_cast<size_t>(h.height), 0);
  if (h.compression == kBiRle8 || h.compression == kBiRle4)
    DecodeRle(in, at, h, image);
  else
    DecodeRows(in, at, h, image);
  return image;
}

void Put16(std::vector<uint8_t>& out, uint32_t v) {
  out.push_back(static_cast<uint8_t>(v));
  out.push_back(static_cast<uint8_t>(v >> 8));
}
void Put32(std::vector<uint8_t>& out, uint32_t v) {
  Put16(out, v & 0xFFFF);
  Put16(out, v >> 16);
}

}  // namespace

int DibStride(int width, int bitCount) {
  return static_cast<int>(((static_cast<int64_t>(width) * bitCount + 31) / 32) * 4);
}

int TDibImage::Stride() const { return DibStride(width, bitCount); }

TDibImage DecodeBmpFile(std::span<const uint8_t> file) {
  if (file.size() < kFileHeaderSize || file[0] != 'B' || file[1] != 'M') Invalid("not a bitmap file");
  uint32_t offset = TByteReader(file).U32(10);
  std::optional<size_t> pixelOffset;
  if (offset >= kFileHeaderSize) pixelOffset = offset - kFileHeaderSize;
  return Decode(file.subspan(kFileHeaderSize), pixelOffset);
}

TDibImage DecodePackedDib(std::span<const uint8_t> dib) { return Decode(dib, std::nullopt); }

std::vector<uint8_t> EncodeBmpFile(const TDibImage& image) {
  const int bits = image.bitCount;
  if (bits != 1 && bits != 4 && bits != 8 && bits != 24 && bits != 32) Invalid("unsupported bit count");
  if (image.width <= 0 || image.height <= 0 || image.width > kMaxDibSide || image.height > kMaxDibSide)
    Invalid("bad size");
  const size_t stride = static_cast<size_t>(image.Stride());
  const size_t imageSize = stride * static_cast<size_t>(image.height);
  if (image.pixels.size() != imageSize) Invalid("pixel data does not match the size");
  const size_t entries = bits <= 8 ? size_t{1} << bits : 0;
  if (bits <= 8 && image.palette.size() > entries) Invalid("colour table too large");
  const size_t offset = kFileHeaderSize + kInfoHeaderSize + entries * 4;

  std::vector<uint8_t> out;
  out.reserve(offset + imageSize);
  out.push_back('B');
  out.push_back('M');
  Put32(out, static_cast<uint32_t>(offset + imageSize));
  Put32(out, 0);
  Put32(out, static_cast<uint32_t>(offset));
  Put32(out, kInfoHeaderSize);
  Put32(out, static_cast<uint32_t>(image.width));
  Put32(out, static_cast<uint32_t>(image.height));
  Put16(out, 1);
  Put16(out, static_cast<uint32_t>(bits));
  Put32(out, kBiRgb);
  Put32(out, static_cast<uint32_t>(imageSize));
  Put32(out, 0);
  Put32(out, 0);
  Put32(out, static_cast<uint32_t>(entries));
  Put32(out, 0);
  for (size_t i = 0; i < entries; ++i) Put32(out, i < image.palette.size() ? image.palette[i] & 0xFFFFFF : 0);
  for (int row = image.height - 1; row >= 0; --row) {
    const uint8_t* src = image.pixels.data() + static_cast<size_t>(row) * stride;
    out.insert(out.end(), src, src + stride);
  }
  return out;
}

}  // namespace hv
