#include "theme/styles/pcx.h"

#include <algorithm>
#include <string>
#include <unordered_map>

#include "framework/sysutils.h"

namespace hv {
namespace {

constexpr uint8_t kMarkerZsoft = 10;
constexpr uint8_t kMarkerAlternate = 205;
constexpr uint8_t kVersionWithoutPalette = 3;
constexpr uint8_t kVersionWithPalette = 5;
constexpr uint8_t kEncodingRle = 1;
constexpr uint8_t kPaletteBlockMarker = 12;
constexpr uint8_t kRunFlag = 0xC0;
constexpr int kMaxRun = 0x3F;

// The platform's default 16-colour palette, which version 3 files (no
// palette of their own) are shown with.
constexpr std::array<uint32_t, 16> kSystemPalette16 = {
    0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080, 0x008080, 0xC0C0C0,
    0x808080, 0xFF0000, 0x00FF00, 0xFFFF00, 0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF,
};

uint16_t ReadWord(std::span<const uint8_t> data, size_t offset) {
  return static_cast<uint16_t>(data[offset] | (data[offset + 1] << 8));
}

void WriteWord(std::vector<uint8_t>& out, size_t offset, uint32_t value) {
  out[offset] = static_cast<uint8_t>(value & 0xFF);
  out[offset + 1] = static_cast<uint8_t>((value >> 8) & 0xFF);
}

using ColorTable = std::array<uint32_t, 256>;

ColorTable ReadColorTable(std::span<const uint8_t> data, bool hasPalette) {
  ColorTable table;
  table.fill(0xFF000000u);
  if (!hasPalette) {
    for (size_t i = 0; i < kSystemPalette16.size(); ++i) table[i] = 0xFF000000u | kSystemPalette16[i];
    return table;
  }
  // The block is found by its position alone; its marker byte is not checked.
  std::span<const uint8_t> rgb = data.subspan(data.size() - kPcxPaletteBlockSize + 1);
  for (size_t i = 0; i < table.size(); ++i)
    table[i] = 0xFF000000u | (uint32_t{rgb[3 * i]} << 16) | (uint32_t{rgb[3 * i + 1]} << 8) | rgb[3 * i + 2];
  return table;
}

// Places decoded bytes into the image one run at a time. Bytes beyond the
// image's width (line padding, further planes) are dropped; runs may cross
// line ends.
class PixelSink {
 public:
  PixelSink(PcxImage& image, const ColorTable& colors, uint32_t lineSize)
      : image_(image), colors_(colors), lineSize_(lineSize), remaining_(uint64_t{lineSize} * image.height) {}

  uint64_t Remaining() const { return remaining_; }

  void Put(uint8_t index, uint64_t count) {
    count = std::min(count, remaining_);
    remaining_ -= count;
    const uint32_t color = colors_[index];
    const auto width = static_cast<uint32_t>(image_.width);
    while (count > 0) {
      const uint64_t take = std::min<uint64_t>(count, lineSize_ - column_);
      if (column_ < width) {
        const auto end = static_cast<uint32_t>(std::min<uint64_t>(column_ + take, width));
        uint32_t* row = image_.pixels.data() + static_cast<size_t>(row_) * width;
        std::fill(row + column_, row + end, color);
      }
      column_ += static_cast<uint32_t>(take);
      count -= take;
      if (column_ == lineSize_) {
        column_ = 0;
        ++row_;
      }
    }
  }

 private:
  PcxImage& image_;
  const ColorTable& colors_;
  const uint32_t lineSize_;
  uint64_t remaining_;
  uint32_t row_ = 0;
  uint32_t column_ = 0;
};

size_t DecodeRunLength(std::span<const uint8_t> body, PixelSink& sink) {
  size_t in = 0;
  while (sink.Remaining() > 0 && in < body.size()) {
    const uint8_t b = body[in++];
    if ((b & kRunFlag) != kRunFlag) {
      sink.Put(b, 1);
      continue;
    }
    // A run whose value byte lies past the end is a truncated file: stop
    // there rather than invent a value.
    if (in >= body.size()) break;
    sink.Put(body[in++], b & kMaxRun);
  }
  return in;
}

size_t DecodeRaw(std::span<const uint8_t> body, PixelSink& sink) {
  const size_t used = static_cast<size_t>(std::min<uint64_t>(body.size(), sink.Remaining()));
  for (size_t i = 0; i < used; ++i) sink.Put(body[i], 1);
  return used;
}

void AppendRun(std::vector<uint8_t>& out, uint8_t value, int count) {
  if (count == 1 && (value & kRunFlag) != kRunFlag) {
    out.push_back(value);
    return;
  }
  out.push_back(static_cast<uint8_t>(kRunFlag | count));
  out.push_back(value);
}

void EncodeLine(std::vector<uint8_t>& out, std::span<const uint8_t> line) {
  size_t i = 0;
  while (i < line.size()) {
    const uint8_t value = line[i];
    int count = 1;
    while (i + count < line.size() && count < kMaxRun && line[i + count] == value) ++count;
    AppendRun(out, value, count);
    i += static_cast<size_t>(count);
  }
}

}  // namespace

bool IsPcxMarker(uint8_t firstByte) { return firstByte == kMarkerZsoft || firstByte == kMarkerAlternate; }

std::optional<PcxImage> DecodePcx(std::span<const uint8_t> data) {
  // The header is read whole before its first byte is looked at.
  if (data.size() < kPcxHeaderSize)
    throw EReadError(Format("PCX image truncated: %s bytes, the header alone takes %d",
                            std::to_string(data.size()).c_str(), int{kPcxHeaderSize}));
  if (!IsPcxMarker(data[0])) return std::nullopt;

  const uint8_t version = data[1];
  const uint8_t encoding = data[2];
  const int xMin = ReadWord(data, 4);
  const int yMin = ReadWord(data, 6);
  const int xMax = ReadWord(data, 8);
  const int yMax = ReadWord(data, 10);
  const uint32_t planes = data[65];
  const uint32_t bytesPerLine = ReadWord(data, 66);

  if (xMax < xMin || yMax < yMin)
    throw EInvalidGraphic(Format("Invalid PCX image extent: (%d, %d) to (%d, %d)", xMin, yMin, xMax, yMax));
  const int width = xMax - xMin + 1;
  const int height = yMax - yMin + 1;
  if (int64_t{width} * height > kPcxMaxPixels)
    throw EInvalidGraphic(Format("PCX image too large: %d x %d pixels", width, height));
  const uint32_t lineSize = planes * bytesPerLine;
  if (lineSize < static_cast<uint32_t>(width))
    throw EInvalidGraphic(Format("Invalid PCX image: lines of %u bytes cannot hold %d pixels (%u planes of %u bytes)",
                                 lineSize, width, planes, bytesPerLine));
  const bool hasPalette = version != kVersionWithoutPalette;
  if (hasPalette && data.size() < kPcxHeaderSize + kPcxPaletteBlockSize)
    throw EInvalidGraphic(Format("PCX image truncated: %s bytes leave no room for the %d-byte palette block",
                                 std::to_string(data.size()).c_str(), int{kPcxPaletteBlockSize}));

  const ColorTable colors = ReadColorTable(data, hasPalette);
  PcxImage image;
  image.width = width;
  image.height = height;
  // Pixels the data never reaches read as index 0.
  image.pixels.assign(static_cast<size_t>(width) * static_cast<size_t>(height), colors[0]);

  // The palette block is part of the pixel data as far as the decoder is
  // concerned: in a well-formed file the lines end right before it anyway.
  const std::span<const uint8_t> body = data.subspan(kPcxHeaderSize);
  PixelSink sink(image, colors, lineSize);
  image.dataBytesRead = encoding == kEncodingRle ? DecodeRunLength(body, sink) : DecodeRaw(body, sink);
  return image;
}

std::vector<uint8_t> EncodePcx(const PcxIndexedImage& image) {
  const int width = image.width;
  const int height = image.height;
  // Xmax and Ymax are words, and the padded line length must fit a word too.
  if (width <= 0 || height <= 0 || width > 0xFFFE || height > 0x10000)
    throw EInvalidGraphic(Format("Cannot write a PCX image of %d x %d pixels", width, height));
  if (int64_t{width} * height > kPcxMaxPixels)
    throw EInvalidGraphic(Format("PCX image too large: %d x %d pixels", width, height));
  const size_t pixelCount = static_cast<size_t>(width) * static_cast<size_t>(height);
  if (image.indices.size() != pixelCount)
    throw EInvalidGraphic(Format("PCX image of %d x %d pixels given %s palette indices", width, height,
                                 std::to_string(image.indices.size()).c_str()));

  const auto bytesPerLine = static_cast<uint32_t>(width + (width & 1));
  std::vector<uint8_t> out(kPcxHeaderSize, 0);
  out[0] = kMarkerZsoft;
  out[1] = kVersionWithPalette;
  out[2] = kEncodingRle;
  out[3] = 8;
  WriteWord(out, 8, static_cast<uint32_t>(width - 1));
  WriteWord(out, 10, static_cast<uint32_t>(height - 1));
  WriteWord(out, 12, 72);
  WriteWord(out, 14, 72);
  out[65] = 1;
  WriteWord(out, 66, bytesPerLine);
  WriteWord(out, 68, 1);  // colour palette, not grey scale

  std::vector<uint8_t> line(bytesPerLine, 0);
  for (int y = 0; y < height; ++y) {
    const auto first = image.indices.begin() + static_cast<ptrdiff_t>(static_cast<size_t>(y) * width);
    std::copy(first, first + width, line.begin());
    EncodeLine(out, line);
  }

  out.push_back(kPaletteBlockMarker);
  for (uint32_t rgb : image.palette) {
    out.push_back(static_cast<uint8_t>((rgb >> 16) & 0xFF));
    out.push_back(static_cast<uint8_t>((rgb >> 8) & 0xFF));
    out.push_back(static_cast<uint8_t>(rgb & 0xFF));
  }
  return out;
}

PcxIndexedImage IndexPcxColors(int width, int height, std::span<const uint32_t> argb) {
  if (width <= 0 || height <= 0 || argb.size() != static_cast<size_t>(width) * static_cast<size_t>(height))
    throw EInvalidGraphic(
        Format("PCX image of %d x %d pixels given %s pixels", width, height, std::to_string(argb.size()).c_str()));
  PcxIndexedImage image;
  image.width = width;
  image.height = height;
  image.indices.resize(argb.size());
  std::unordered_map<uint32_t, uint8_t> indexOf;
  int used = 0;
  for (size_t i = 0; i < argb.size(); ++i) {
    const uint32_t rgb = argb[i] & 0x00FFFFFFu;
    auto [it, added] = indexOf.try_emplace(rgb, static_cast<uint8_t>(used));
    if (added) {
      if (used == 256) throw EInvalidGraphic("PCX image needs more than 256 colours");
      image.palette[static_cast<size_t>(used++)] = rgb;
    }
    image.indices[i] = it->second;
  }
  return image;
}

}  // namespace hv
